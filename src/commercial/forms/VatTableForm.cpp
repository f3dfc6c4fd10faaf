#include "commercial/forms/VatTableForm.h"

#include "commercial/forms/AccountLinkField.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

namespace kv::commercial {

using kv::db::DatasetState;
using kv::db::DbError;

namespace {

AccountLinkSpec salesAccount(const char* edit, const char* label)
{
    AccountLinkSpec spec{QString::fromUtf8(edit), QString::fromUtf8(label)};
    spec.notFound = spec.labelNotFound = QString::fromUtf8("CONTA INEXISTENTE");
    spec.notPosting = spec.labelNotPosting = QString::fromUtf8("CONTA NÃO É DE LANÇAMENTO");
    spec.lookupCaption = QString::fromUtf8("Procurar Conta");
    return spec;
}

AccountLinkSpec accountingCode(const char* edit, const char* label)
{
    AccountLinkSpec spec{QString::fromUtf8(edit), QString::fromUtf8(label), 20};
    spec.postingOnly = false;
    spec.notFound = spec.labelNotFound = QString::fromUtf8("Código de IVA Inexistente");
    spec.hint = QString::fromUtf8("Tecla <Insert> Procurar Código de Taxa");
    spec.lookupCaption = QString::fromUtf8("Procurar Conta");
    return spec;
}

// Purchase accounts are checked on leaving as the sales accounts are, with
// their own texts; with the switch off they are still typed, unchecked.
AccountLinkSpec purchaseAccount(const char* edit)
{
    AccountLinkSpec spec{QString::fromUtf8(edit), {}};
    spec.lookupCaption = QString::fromUtf8("Procurar Conta");
    spec.notPosting = QString::fromUtf8("Conta não é de Lançamento ...");
    spec.typedWhileOff = true;
    return spec;
}

} // namespace

VatTableForm::VatTableForm(const CommercialTableDescription& member, CommercialEnvironment environment, QWidget* parent)
    : CommercialTableForm(member, environment, parent), m_purchases(environment.dataset(member.lookupDatasets.front()))
{
    m_pages = new QTabWidget(body());
    m_pages->setObjectName(QStringLiteral("NB"));

    auto* sales = new QWidget(m_pages);
    auto* salesGrid = new QGridLayout(sales);
    const struct {
        const char* caption;
        const char* column;
        AccountLinkSpec spec;
    } salesFields[] = {
        {"Vendas (MN) : ", "CONTAVENDAS", salesAccount("Edit_ContaVendas", "Label_ContaVendas")},
        {"Devoluções (MN) : ", "CONTADEVOLUC", salesAccount("Edit_ContaDevoluc", "Label_ContaDevoluc")},
        {"Taxa Iva (Merc.Nac) : ", "CODIVA", accountingCode("Edit_CodIva", "Label_CodIva")},
        {"Taxa Iva (Merc.Comu) : ", "CODIVA_MC", accountingCode("Edit_CodIva_MC", "Label_CodIva_MC")},
        {"Taxa Iva (Outros Merc.) : ", "CODIVA_OU", accountingCode("Edit_CodIva_OU", "Label_CodIva_OU")},
    };
    QWidget* previous = control(member.fields.front().name);
    for (const auto& f : salesFields) {
        auto* link = new AccountLinkField(*this, f.spec, sales);
        link->setField(&table(), QString::fromUtf8(f.column));
        const int row = salesGrid->rowCount();
        salesGrid->addWidget(new QLabel(QString::fromUtf8(f.caption), sales), row, 0);
        salesGrid->addWidget(link, row, 1);
        QWidget::setTabOrder(previous, link->edit());
        previous = link->edit();
        m_salesSide.push_back(link);
    }
    salesGrid->setRowStretch(salesGrid->rowCount(), 1);
    m_pages->addTab(sales, QString::fromUtf8(" Vendas "));

    auto* purchases = new QWidget(m_pages);
    auto* purchaseGrid = new QGridLayout(purchases);
    const char* heads[] = {"Existências", "Imobilizado", "Out.Bens Serviços", "Iva Liquidado (MI)"};
    for (int column = 0; column < 4; ++column)
        purchaseGrid->addWidget(new QLabel(QString::fromUtf8(heads[column]), purchases), 0, column + 1);
    const struct {
        const char* caption;
        const char* market; // edit names and columns
        const char* columnMarket;
    } markets[] = {
        {"Compras (MN) : ", "MN", "MN"}, {"Compras (MI) Ex : ", "MI", "MI"}, {"Compras (OU) : ", "Ou", "OU"}};
    for (const auto& market : markets) {
        const int row = purchaseGrid->rowCount();
        purchaseGrid->addWidget(new QLabel(QString::fromUtf8(market.caption), purchases), row, 0);
        QStringList kinds{QString::fromUtf8("Exi"), QString::fromUtf8("Imb"), QString::fromUtf8("Obs")};
        if (QString::fromUtf8(market.market) == QLatin1String("MI"))
            kinds << QString::fromUtf8("Lq");
        for (int k = 0; k < kinds.size(); ++k) {
            const QString edit = QStringLiteral("Edit_%1_%2").arg(QString::fromUtf8(market.market), kinds[k]);
            auto* link = new AccountLinkField(*this, purchaseAccount(edit.toUtf8().constData()), purchases);
            link->setField(
                &m_purchases,
                QStringLiteral("CONTACOMPRAS%1_%2").arg(QString::fromUtf8(market.columnMarket), kinds[k].toUpper()));
            purchaseGrid->addWidget(link, row, k + 1);
            QWidget::setTabOrder(previous, link->edit());
            previous = link->edit();
            m_purchaseSide.push_back(link);
        }
    }
    purchaseGrid->setRowStretch(purchaseGrid->rowCount(), 1);
    m_pages->addTab(purchases, QString::fromUtf8(" Compras "));
    addBelowFields(m_pages);
    // The tabs stand between the last field and the grid: a field hidden with
    // its page hands the focus to them, not to the grid, which would save.
    QWidget::setTabOrder(previous, m_pages->tabBar());
    QWidget::setTabOrder(m_pages->tabBar(), grid());

    // Only the purchase row of the code shown is visible: a code without
    // one shows empty fields, never another code's accounts.
    m_purchases.setFilter(
        [this](const kv::db::Dataset& rows) { return rows.value(QStringLiteral("CODIVA")).toLongLong() == m_code; });
}

VatTableForm::~VatTableForm()
{
    m_purchases.setFiltered(false);
    m_purchases.setFilter({});
}

void VatTableForm::FormActivate()
{
    m_code = table().isOpen() ? table().value(QStringLiteral("CODIGO")).toLongLong() : 0;
    m_purchases.setFiltered(true);
    CommercialTableForm::FormActivate();
    if (!table().isOpen())
        return;
    const auto& env = environment();
    try {
        m_lookups = std::make_unique<AccountLookups>(env.accounting(), env.state().WAno,
                                                     accountingLinkOn(*env.invoicing(), env.state().WAno));
        LookupSet* accounts = m_lookups->accounts(AccountRange::vatAccounts());
        LookupSet* codes = m_lookups->vatCodes();
        for (std::size_t i = 0; i < m_salesSide.size(); ++i)
            m_salesSide[i]->activate(i < 2 ? accounts : codes);
        for (AccountLinkField* link : m_purchaseSide)
            link->activate(accounts);
    } catch (const DbError& error) {
        showError(error);
    }
    showPurchasesOf(table().value(QStringLiteral("CODIGO")).toLongLong());
}

void VatTableForm::FormClose()
{
    // The fields let go of the sets before they are dropped.
    for (AccountLinkField* field : m_salesSide)
        field->activate(nullptr);
    for (AccountLinkField* field : m_purchaseSide)
        field->activate(nullptr);
    if (m_lookups)
        m_lookups->close();
    m_purchases.setFiltered(false);
    CommercialTableForm::FormClose();
}

void VatTableForm::showPurchasesOf(qint64 code)
{
    if (!m_purchases.isOpen() || editing(m_purchases))
        return;
    m_code = code;
    m_purchases.setFiltered(true);
    refreshLabels();
}

void VatTableForm::refreshLabels()
{
    // Each label on its own: an empty account does not leave the codes unnamed.
    for (AccountLinkField* link : m_salesSide)
        link->refresh();
}

void VatTableForm::rowShown()
{
    if (!inserting())
        showPurchasesOf(table().value(QStringLiteral("CODIGO")).toLongLong());
}

void VatTableForm::BotInserirClick()
{
    CommercialTableForm::BotInserirClick();
    if (table().state() != DatasetState::Insert)
        return;
    m_pages->setCurrentIndex(0);
    for (AccountLinkField* link : m_salesSide)
        if (link->nameLabel())
            link->nameLabel()->clear();
}

void VatTableForm::checkKey()
{
    CommercialTableForm::checkKey();
    if (table().state() != DatasetState::Insert) {
        // A refused code drops the new purchase row with the new VAT row.
        m_purchases.cancel();
        showPurchasesOf(table().value(QStringLiteral("CODIGO")).toLongLong());
        return;
    }
    const QVariant code = table().value(QStringLiteral("CODIGO"));
    if (code.isNull())
        return;
    try {
        m_purchases.cancel();
        m_code = code.toLongLong();
        m_purchases.setFiltered(true);
        m_purchases.append();
        m_purchases.setValue(QStringLiteral("CODIVA"), code);
    } catch (const DbError& error) {
        showError(error);
    }
}

void VatTableForm::BotCancelarClick()
{
    m_purchases.cancel();
    CommercialTableForm::BotCancelarClick();
    showPurchasesOf(table().value(QStringLiteral("CODIGO")).toLongLong());
}

void VatTableForm::editStarted()
{
    // The row just put into edit: its purchase row with it, started when missing.
    if (!inserting() && !table().isEmpty() && !editing(m_purchases)) {
        const QVariant code = table().value(QStringLiteral("CODIGO"));
        try {
            showPurchasesOf(code.toLongLong());
            if (m_purchases.isEmpty()) {
                m_purchases.append();
                m_purchases.setValue(QStringLiteral("CODIVA"), code);
            } else {
                m_purchases.edit();
            }
        } catch (const DbError& error) {
            showError(error);
        }
    }
    CommercialTableForm::editStarted();
}

bool VatTableForm::checkFields()
{
    if (!CommercialTableForm::checkFields())
        return false;
    if (!editing(table()) && !editing(m_purchases))
        return true;
    for (AccountLinkField* link : m_salesSide)
        if (!link->verify())
            return false;
    for (AccountLinkField* link : m_purchaseSide)
        if (!link->verify())
            return false;
    return true;
}

bool VatTableForm::applyBoth(bool purchasesFirst)
{
    return purchasesFirst ? applyWithCompanions({&m_purchases, &table()})
                          : applyWithCompanions({&table(), &m_purchases});
}

bool VatTableForm::applyChanges() { return applyBoth(false); }

void VatTableForm::afterApply()
{
    m_purchases.close();
    m_purchases.open();
    CommercialTableForm::afterApply();
    showPurchasesOf(table().value(QStringLiteral("CODIGO")).toLongLong());
}

void VatTableForm::deleteCurrent()
{
    const QVariant code = table().value(QStringLiteral("CODIGO"));
    try {
        showPurchasesOf(code.toLongLong());
        if (!m_purchases.isEmpty())
            m_purchases.deleteRecord();
        table().deleteRecord();
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    // The purchase row first, then the code, in one transaction.
    if (applyBoth(true)) {
        try {
            m_purchases.close();
            m_purchases.open();
            table().close();
            table().open();
        } catch (const DbError& error) {
            showError(error);
        }
    }
    showPurchasesOf(table().value(QStringLiteral("CODIGO")).toLongLong());
    focusField(grid());
}

} // namespace kv::commercial
