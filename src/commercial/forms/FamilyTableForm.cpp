#include "commercial/forms/FamilyTableForm.h"

#include "commercial/core/ArticleFamilies.h"
#include "commercial/forms/AccountLinkField.h"
#include "commercial/forms/FamilyListReport.h"

#include "platform/db/DbError.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/TGlyphButton.h"

#include <QAction>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::commercial {

using kv::db::DatasetState;
using kv::db::DbError;

namespace {

const QString Family = QStringLiteral("FAMILIA");
const QString ArticleType = QStringLiteral("TIPOART");

AccountLinkSpec centreSpec(const QString& edit, bool purchase)
{
    AccountLinkSpec spec{edit, QStringLiteral("Label_") + edit.mid(5), 30};
    spec.beep = true;
    spec.lookupCaption = QString::fromUtf8("Localizar");
    spec.hint = QString::fromUtf8("Tecla <Insert> Procurar");
    if (purchase) {
        spec.notFound = QString::fromUtf8("Centro de Custo Inexistente !!!");
        spec.notPosting = QString::fromUtf8("Centro de Custo não é de Lançamento !!!");
        spec.labelNotFound.clear();
        spec.labelNotPosting.clear();
    } else {
        spec.checksTypedText = false;
        spec.notFound = spec.labelNotFound = QString::fromUtf8("CENTRO DE CUSTO INEXISTENTE !!!");
        spec.notPosting = spec.labelNotPosting = QString::fromUtf8("CENTRO DE CUSTO NÃO É DE LANÇAMENTO !!!");
    }
    return spec;
}

void setAllEnabled(const std::vector<AccountLinkField*>& fields, bool on)
{
    for (AccountLinkField* field : fields)
        field->setEnabled(on);
}

} // namespace

FamilyTableForm::FamilyTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                                 QWidget* parent)
    : CommercialTableForm(member, environment, parent), m_purchases(QStringLiteral("CONTAB_FAMILIAS")),
      m_copySource(QStringLiteral("FAMILIAS1"))
{
    m_purchases.setConnection(environment.invoicing());
    m_purchases.setSql(QStringLiteral("Select * From CONTAB_FAMILIAS Where FAMILIA = :WFamilia Order By TIPOART"));
    m_purchases.setMode(kv::db::DatasetMode::Cached);
    m_purchases.setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("CONTAB_FAMILIAS"),
        {"FAMILIA", "TIPOART", "CCUSTO", "CONTACOMPRAS", "CONTACOMPRAS_MI", "CONTACOMPRAS_O", "CONTADEVOLUCOES",
         "CONTADEVOLUCOES_MI", "CONTADEVOLUCOES_O", "CONTADESCONTOS", "CONTADESCONTOS_MI", "CONTADESCONTOS_O",
         "CCUSTOCONSUMOS", "CONTACONSUMOS", "CONTACONSUMOS_MI", "CONTACONSUMOS_OU", "CONTAREGINV", "CONTAREGINV_MI",
         "CONTAREGINV_OU"},
        {"FAMILIA", "TIPOART"}));
    // Only the row of the type chosen is shown: none until a type is chosen.
    m_purchases.setFilter([this](const kv::db::Dataset& rows) {
        return !m_type.isEmpty() && rows.value(ArticleType).toString().trimmed() == m_type;
    });

    auto* holder = new QWidget(body());
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    auto* link = new QGroupBox(QString::fromUtf8("Integração c/ Contabilidade"), holder);
    auto* linkLine = new QHBoxLayout(link);
    m_articles = new kv::ui::TGlyphButton(link);
    m_articles->setObjectName(QStringLiteral("BotActualArtigos"));
    m_articles->SetCaption(QString::fromUtf8("&Artigos"));
    m_articles->SetHint(QString::fromUtf8("Colocar Centros de Custo nos Artigos"));
    connect(m_articles, &kv::ui::TGlyphButton::clicked, this, [this] { BotActualArtigosClick(); });
    linkLine->addWidget(m_articles);
    linkLine->addStretch(1);
    column->addWidget(link);
    m_sides = new QTabWidget(holder);
    m_sides->setObjectName(QStringLiteral("TabVndCmp"));
    m_sides->addTab(salesPage(m_sides), QString::fromUtf8("Vendas"));
    m_sides->addTab(purchasePage(m_sides), QString::fromUtf8("Compras"));
    auto* sidesLine = new QHBoxLayout;
    sidesLine->addWidget(m_sides, 1);
    // The families to copy from, read as stored when a copy is asked for.
    m_copySource.setConnection(environment.invoicing());
    m_copySource.setSql(QStringLiteral("Select * from familias  ORDER BY FAMILIA"));
    m_copyList = new kv::ui::DbGrid(holder);
    m_copyList->setObjectName(QStringLiteral("DBGridFamilias"));
    m_copyList->setToolTip(QString::fromUtf8("Click 2 vezes para seleccionar"));
    m_copyList->setDataset(&m_copySource, {{QStringLiteral("FAMILIA"), QStringLiteral("Familia"), 20, {}}});
    m_copyList->setVisible(false);
    connect(m_copyList, &kv::ui::DbGrid::rowActivated, this, [this](int) { DBGridFamiliasDblClick(); });
    sidesLine->addWidget(m_copyList);
    column->addLayout(sidesLine);
    addBelowFields(holder);

    grid()->setToolTip(QString::fromUtf8("Tecla <F1>, Copiar Família"));
    auto* copyFamily = new QAction(QString::fromUtf8("Copiar Família"), grid());
    copyFamily->setShortcut(Qt::Key_F1);
    copyFamily->setShortcutContext(Qt::WidgetShortcut);
    connect(copyFamily, &QAction::triggered, this, [this] { showCopyList(); });
    grid()->addAction(copyFamily);
    grid()->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (AccountLinkField* field : m_salesAccounts) {
        auto* copy = new QAction(QString::fromUtf8("Copiar Parametros"), field->edit());
        copy->setShortcut(Qt::Key_F1);
        copy->setShortcutContext(Qt::WidgetShortcut);
        connect(copy, &QAction::triggered, this, [this] { showCopyList(); });
        field->edit()->addAction(copy);
    }

    QWidget* previous = keyEdit();
    for (const auto* group : {&m_salesCentres, &m_salesAccounts, &m_purchaseCentres, &m_purchaseAccounts})
        for (AccountLinkField* field : *group) {
            QWidget::setTabOrder(previous, field->edit());
            previous = field->edit();
        }
    // The tabs stand between the last field and the grid: a field hidden with
    // its page hands the focus to them, not to the grid, which would save.
    QWidget::setTabOrder(previous, m_sides->tabBar());
    QWidget::setTabOrder(m_sides->tabBar(), grid());
}

FamilyTableForm::~FamilyTableForm() = default;

QWidget* FamilyTableForm::salesPage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* centres = new QGridLayout;
    const char* centreFields[][3] = {{"Edit_CCusto", "CCUSTO", "C.C.Produtos : "},
                                     {"Edit_CCustoMerc", "CCUSTOMERC", "C.C.Mercadorias : "},
                                     {"Edit_CCustoServ", "CCUSTOSERV", "C.C.Serviços : "}};
    for (const auto& f : centreFields) {
        auto* field = new AccountLinkField(*this, centreSpec(QString::fromUtf8(f[0]), false), page);
        field->setField(&table(), QString::fromUtf8(f[1]));
        m_copiedColumns << QString::fromUtf8(f[1]);
        const int row = centres->rowCount();
        centres->addWidget(new QLabel(QString::fromUtf8(f[2]), page), row, 0);
        centres->addWidget(field, row, 1);
        m_salesCentres.push_back(field);
    }
    layout->addLayout(centres);

    // The 27 accounts: a page per market, a block per class, a line per kind.
    auto* markets = new QTabWidget(page);
    markets->setObjectName(QStringLiteral("TB"));
    const char* marketTabs[] = {" Merc.Nacional ", " Merc.Intracom. ", " Outros Mercados "};
    const char* marketCodes[] = {"", "MI", "O"};
    const char* classTitles[] = {"Produtos", "Mercadorias", "Serviços"};
    const char* classCodes[] = {"", "_M", "_S"};
    const char* kindCaptions[] = {"Vendas :", "Devoluções :", "Descontos :"};
    const char* kindEdits[] = {"Vendas", "Devoluc", "Descontos"};
    const char* kindColumns[] = {"VENDAS", "DEVOLUCOES", "DESCONTOS"};
    for (int market = 0; market < 3; ++market) {
        auto* sheet = new QWidget(markets);
        auto* grid = new QGridLayout(sheet);
        for (int cls = 0; cls < 3; ++cls) {
            auto* title = new QLabel(QString::fromUtf8(classTitles[cls]), sheet);
            title->setStyleSheet(QStringLiteral("font-weight: bold"));
            grid->addWidget(title, 0, cls * 2, 1, 2);
            for (int kind = 0; kind < 3; ++kind) {
                const QString suffix = QString::fromUtf8(marketCodes[market]) + QString::fromUtf8(classCodes[cls]);
                AccountLinkSpec spec{QStringLiteral("Edit_Conta") + QString::fromUtf8(kindEdits[kind]) + suffix,
                                     QStringLiteral("Label_Conta") + QString::fromUtf8(kindEdits[kind]) + suffix, 34};
                // Three blocks side by side: each account's name under it, whole.
                spec.labelBelow = true;
                auto* field = new AccountLinkField(*this, spec, sheet);
                const QString accountColumn = QStringLiteral("CONTA") + QString::fromUtf8(kindColumns[kind]) + suffix;
                field->setField(&table(), accountColumn);
                m_copiedColumns << accountColumn;
                grid->addWidget(new QLabel(QString::fromUtf8(kindCaptions[kind]), sheet), kind + 1, cls * 2,
                                Qt::AlignLeft | Qt::AlignTop);
                grid->addWidget(field, kind + 1, cls * 2 + 1);
                m_salesAccounts.push_back(field);
            }
        }
        grid->setRowStretch(4, 1);
        markets->addTab(sheet, QString::fromUtf8(marketTabs[market]));
    }
    layout->addWidget(markets);
    return page;
}

AccountLinkField* FamilyTableForm::purchaseAccount(const QString& edit, const QString& column, QWidget* parent)
{
    AccountLinkSpec spec{edit, QStringLiteral("Label_") + edit.mid(5), 30};
    spec.labelNotFound.clear(); // a code not found leaves its label empty, with no type check
    spec.labelNotPosting.clear();
    spec.refreshChecksType = false;
    auto* field = new AccountLinkField(*this, spec, parent);
    field->setField(&m_purchases, column);
    // The purchase rows are read only when a family is edited: the width is the column's.
    field->edit()->setDisplayWidth(20);
    m_purchaseAccounts.push_back(field);
    return field;
}

QWidget* FamilyTableForm::purchasePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* buttons = new QGridLayout;
    const auto& types = purchaseArticleTypes();
    for (std::size_t i = 0; i < types.size(); ++i) {
        auto* button = new kv::ui::TGlyphButton(page);
        button->setObjectName(QString::fromUtf8(types[i].button));
        button->SetCaption(QString::fromUtf8(types[i].caption));
        button->SetGroupIndex(types[i].group);
        button->SetAllowAllUp(true);
        connect(button, &kv::ui::TGlyphButton::clicked, this, [this, i] { chooseType(i); });
        buttons->addWidget(button, static_cast<int>(i / 5), static_cast<int>(i % 5));
        m_typeButtons.push_back(button);
    }
    layout->addLayout(buttons);

    auto* centres = new QGridLayout;
    const char* centreFields[][3] = {{"Edit_CCustoCmp", "CCUSTO", "C.Custo Compras : "},
                                     {"Edit_CCustoCons", "CCUSTOCONSUMOS", "C.Custo Consumos : "}};
    for (const auto& f : centreFields) {
        auto* field = new AccountLinkField(*this, centreSpec(QString::fromUtf8(f[0]), true), page);
        field->setField(&m_purchases, QString::fromUtf8(f[1]));
        field->edit()->setDisplayWidth(8);
        const int row = centres->rowCount();
        centres->addWidget(new QLabel(QString::fromUtf8(f[2]), page), row, 0);
        centres->addWidget(field, row, 1);
        m_purchaseCentres.push_back(field);
    }
    layout->addLayout(centres);

    m_purchaseMarkets = new QTabWidget(page);
    m_purchaseMarkets->setObjectName(QStringLiteral("TabMercado"));
    const char* tabs[] = {"MercNacional", "Merc.Intracom.", "Outros Mercados"};
    const char* captions[] = {"Compras : ", "Devoluções :", "Descontos :", "Consumos : ", "Regul.Inventário : "};
    const char* edits[3][5] = {
        {"Edit_ComprasCmp", "Edit_DevCmp", "Edit_DescCmp", "Edit_Consumos", "Edit_RegInv"},
        {"Edit_ComprasCmp_I", "Edit_DevCmp_I", "Edit_DescCmp_I", "Edit_Consumos_MI", "Edit_RegInv_MI"},
        {"Edit_ComprasCmp_O", "Edit_DevCmp_O", "Edit_DescCmp_O", "Edit_Consumos_OU", "Edit_RegInv_OU"}};
    const char* columns[3][5] = {
        {"CONTACOMPRAS", "CONTADEVOLUCOES", "CONTADESCONTOS", "CONTACONSUMOS", "CONTAREGINV"},
        {"CONTACOMPRAS_MI", "CONTADEVOLUCOES_MI", "CONTADESCONTOS_MI", "CONTACONSUMOS_MI", "CONTAREGINV_MI"},
        {"CONTACOMPRAS_O", "CONTADEVOLUCOES_O", "CONTADESCONTOS_O", "CONTACONSUMOS_OU", "CONTAREGINV_OU"}};
    for (int market = 0; market < 3; ++market) {
        auto* sheet = new QWidget(m_purchaseMarkets);
        auto* grid = new QGridLayout(sheet);
        for (int kind = 0; kind < 5; ++kind) {
            grid->addWidget(new QLabel(QString::fromUtf8(captions[kind]), sheet), kind, 0);
            AccountLinkField* field = purchaseAccount(QString::fromUtf8(edits[market][kind]),
                                                      QString::fromUtf8(columns[market][kind]), sheet);
            grid->addWidget(field, kind, 1);
        }
        grid->setRowStretch(5, 1);
        m_purchaseMarkets->addTab(sheet, QString::fromUtf8(tabs[market]));
    }
    // The inventory adjustment, accepted, goes on to the next market's purchases.
    for (int market = 0; market < 3; ++market) {
        AccountLinkField* inventory = m_purchaseAccounts[static_cast<std::size_t>(market * 5 + 4)];
        const int next = (market + 1) % 3;
        inventory->setAccepted([this, next] {
            m_purchaseMarkets->setCurrentIndex(next);
            moveFocus(m_purchaseAccounts[static_cast<std::size_t>(next * 5)]->edit()->objectName());
        });
    }
    layout->addWidget(m_purchaseMarkets);
    return page;
}

// ------------------------------------------------------------------ open / close

void FamilyTableForm::FormActivate()
{
    CommercialTableForm::FormActivate();
    if (!table().isOpen())
        return;
    const auto& env = environment();
    LookupSet* sales = nullptr;
    LookupSet* purchases = nullptr;
    LookupSet* centres = nullptr;
    try {
        m_lookups = std::make_unique<AccountLookups>(env.accounting(), env.state().WAno,
                                                     accountingLinkOn(*env.invoicing(), env.state().WAno));
        sales = m_lookups->accounts(AccountRange::familySales());
        purchases = m_lookups->accounts(AccountRange::familyPurchases());
        centres = m_lookups->costCentres();
    } catch (const DbError& error) {
        showError(error);
    }
    const bool linked = sales != nullptr;
    for (AccountLinkField* field : m_salesCentres)
        field->activate(centres);
    for (AccountLinkField* field : m_salesAccounts)
        field->activate(sales);
    for (AccountLinkField* field : m_purchaseCentres)
        field->activate(centres);
    for (AccountLinkField* field : m_purchaseAccounts)
        field->activate(purchases);
    // With the link off the family codes only: neither page can be reached.
    m_sides->setEnabled(linked);
    m_sides->setCurrentIndex(0);
    m_articles->setVisible(static_cast<const kv::shell::FormEnvironment&>(env).sideDoorVisible(
        env.state().WModuloBase, QString::fromUtf8("Ficheiros Base"), QString::fromUtf8("Artigos")));
    m_articles->setEnabled(linked);
    enablePurchaseFields(false);
    refreshSalesLabels();
}

void FamilyTableForm::FormClose()
{
    closePurchases();
    // The fields let go of the sets before they are dropped.
    for (AccountLinkField* field : m_salesCentres)
        field->activate(nullptr);
    for (AccountLinkField* field : m_salesAccounts)
        field->activate(nullptr);
    for (AccountLinkField* field : m_purchaseCentres)
        field->activate(nullptr);
    for (AccountLinkField* field : m_purchaseAccounts)
        field->activate(nullptr);
    if (m_lookups)
        m_lookups->close();
    CommercialTableForm::FormClose();
}

void FamilyTableForm::openPurchases(const QString& family)
{
    m_type.clear();
    for (kv::ui::TGlyphButton* button : m_typeButtons)
        button->SetDown(false);
    enablePurchaseFields(false);
    try {
        m_purchases.close();
        m_purchases.setParam(QStringLiteral("WFamilia"), family);
        m_purchases.open();
        m_purchases.setFiltered(true);
    } catch (const DbError& error) {
        showError(error);
    }
}

void FamilyTableForm::closePurchases()
{
    m_type.clear();
    for (kv::ui::TGlyphButton* button : m_typeButtons)
        button->SetDown(false);
    m_purchases.close();
    enablePurchaseFields(false);
}

void FamilyTableForm::enablePurchaseFields(bool on, bool consumptionCentre)
{
    setAllEnabled(m_purchaseAccounts, on);
    m_purchaseCentres[0]->setEnabled(on);
    m_purchaseCentres[1]->setEnabled(on && consumptionCentre);
}

// ------------------------------------------------------------------ rows

void FamilyTableForm::refreshSalesLabels()
{
    // Labels only: a stored code no longer valid shows its text there,
    // never a message or a move of the focus out of the grid.
    for (AccountLinkField* field : m_salesCentres)
        field->refresh();
    for (AccountLinkField* field : m_salesAccounts)
        field->refresh();
}

void FamilyTableForm::rowShown()
{
    if (!inserting())
        refreshSalesLabels();
}

void FamilyTableForm::returned(bool applied)
{
    CommercialTableForm::returned(applied);
    m_articles->setEnabled(m_sides->isEnabled());
}

void FamilyTableForm::editStarted()
{
    m_articles->setEnabled(false);
    if (!inserting() && !table().isEmpty())
        openPurchases(table().value(Family).toString());
    CommercialTableForm::editStarted();
    // Asked for a copy from the grid: the focus is the copy list's.
    if (m_sides->isEnabled() && !m_copyList->isVisible())
        focusField(m_sides->tabBar());
}

void FamilyTableForm::BotInserirClick()
{
    closePurchases();
    m_sides->setCurrentIndex(0);
    m_articles->setEnabled(false);
    CommercialTableForm::BotInserirClick();
    for (const auto* group : {&m_salesCentres, &m_salesAccounts})
        for (AccountLinkField* field : *group)
            if (field->nameLabel())
                field->nameLabel()->clear();
}

void FamilyTableForm::checkKey()
{
    CommercialTableForm::checkKey();
    if (table().state() != DatasetState::Insert || table().value(Family).isNull())
        return;
    openPurchases(table().value(Family).toString());
    if (m_sides->isEnabled()) {
        m_sides->setCurrentIndex(0);
        focusField(m_sides->tabBar());
    } else {
        focusField(grid());
    }
}

void FamilyTableForm::chooseType(std::size_t index)
{
    const PurchaseArticleType& type = purchaseArticleTypes()[index];
    if (!editing(table()) || !m_purchases.isOpen()) {
        m_typeButtons[index]->SetDown(false);
        return;
    }
    // The row shown so far is checked as its fields would be, and kept for the save.
    if (!m_type.isEmpty() && editing(m_purchases)) {
        for (const auto* group : {&m_purchaseCentres, &m_purchaseAccounts})
            for (AccountLinkField* field : *group)
                if (field->isEnabled() && !field->verify()) {
                    m_typeButtons[index]->SetDown(false);
                    return;
                }
    }
    try {
        if (editing(m_purchases))
            m_purchases.post();
        m_type = QString::fromUtf8(type.type);
        m_purchases.setFiltered(true);
        if (m_purchases.isEmpty()) {
            // Created with the family's next save even when nothing is typed in it.
            m_purchases.append();
            m_purchases.setValue(Family, table().value(Family));
            m_purchases.setValue(ArticleType, m_type);
        } else {
            m_purchases.edit();
        }
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    for (std::size_t i = 0; i < m_typeButtons.size(); ++i)
        m_typeButtons[i]->SetDown(i == index);
    // "Diversos" has no consumption cost centre.
    enablePurchaseFields(true, QLatin1String(type.type) != QLatin1String("11"));
    for (const auto* group : {&m_purchaseCentres, &m_purchaseAccounts})
        for (AccountLinkField* field : *group)
            field->refresh();
    m_purchaseMarkets->setCurrentIndex(0);
    focusField(m_purchaseCentres[0]->edit());
}

bool FamilyTableForm::checkFields()
{
    if (!CommercialTableForm::checkFields())
        return false;
    auto verify = [this](const std::vector<AccountLinkField*>& fields, int page) {
        for (AccountLinkField* field : fields)
            if (field->isEnabled() && field->linked() && !field->code().isEmpty()) {
                m_sides->setCurrentIndex(page);
                if (!field->verify())
                    return false;
            }
        return true;
    };
    if (editing(table()) && (!verify(m_salesCentres, 0) || !verify(m_salesAccounts, 0)))
        return false;
    if (editing(m_purchases) && !m_type.isEmpty() && (!verify(m_purchaseCentres, 1) || !verify(m_purchaseAccounts, 1)))
        return false;
    return true;
}

bool FamilyTableForm::applyBoth(bool purchasesFirst)
{
    std::vector<kv::db::Dataset*> rows{&table()};
    if (m_purchases.isOpen())
        rows.insert(purchasesFirst ? rows.begin() : rows.end(), &m_purchases);
    return applyWithCompanions(rows);
}

bool FamilyTableForm::applyChanges() { return applyBoth(false); }

void FamilyTableForm::afterApply()
{
    closePurchases();
    CommercialTableForm::afterApply();
    m_sides->setCurrentIndex(0);
    refreshSalesLabels();
}

void FamilyTableForm::BotCancelarClick()
{
    if (m_purchases.isOpen())
        m_purchases.cancelUpdates();
    closePurchases();
    CommercialTableForm::BotCancelarClick();
    refreshSalesLabels();
}

void FamilyTableForm::deleteCurrent()
{
    // The family and its purchase rows of every type, in one transaction.
    const QString family = table().value(Family).toString();
    try {
        openPurchases(family);
        m_purchases.setFiltered(false);
        while (!m_purchases.isEmpty()) {
            m_purchases.first();
            m_purchases.deleteRecord();
        }
        table().deleteRecord();
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    if (applyBoth(true)) {
        try {
            table().close();
            table().open();
        } catch (const DbError& error) {
            showError(error);
        }
    }
    closePurchases();
    refreshSalesLabels();
    focusField(grid());
}

// ------------------------------------------------------------------ print

void FamilyTableForm::BotPrintClick()
{
    try {
        // The list compares the purchase accounts as texts: none stays NULL.
        clearEmptyPurchaseAccounts(*environment().invoicing());
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    if (FamilyListReport* report = FamilyListReport::instance(environment(), member().report.reportClass))
        report->preview(table(), this);
}

// ------------------------------------------------------------------ copy

void FamilyTableForm::showCopyList()
{
    // The accounts are the link's: without it there is nothing to copy.
    if (!m_sides->isEnabled() || table().isEmpty())
        return;
    try {
        m_copySource.close();
        m_copySource.open();
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    m_copyList->setVisible(true);
    // Leaving the family grid puts the current family into edit.
    focusField(m_copyList);
}

void FamilyTableForm::DBGridFamiliasDblClick()
{
    if (!m_copySource.isOpen() || m_copySource.isEmpty())
        return;
    const QString from = m_copySource.value(Family).toString();
    if (editing(table()) && from != table().value(Family).toString()) {
        // Empty values too: the family takes the other's accounts as they stand.
        for (const QString& column : m_copiedColumns)
            table().setValue(column, m_copySource.value(column));
        refreshSalesLabels();
    }
    focusField(grid());
    m_copySource.close();
    m_copyList->setVisible(false);
}

// ------------------------------------------------------------------ articles

void FamilyTableForm::BotActualArtigosClick()
{
    if (!kv::ui::messages().question(QString::fromUtf8("ACTUALIZAÇÃO DE ARTIGOS !!! Confirma ?")))
        return;
    setStatusText(0, {});
    kv::ui::MessageServiceSink sink;
    int shown = 0;
    try {
        updateArticleCostCentres(
            *environment().invoicing(), sink, [this, &shown](const QString& article, const QString& centre) {
                // The progress in panel 0, the window kept painted; the user's input waits.
                if (++shown % 200 == 1) {
                    setStatusText(0, QStringLiteral("ARTIGO = ") + article + QStringLiteral(" C.Custo = ") + centre);
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                }
            });
    } catch (const DbError& error) {
        showError(error);
    }
    setStatusText(0, {});
    refreshSalesLabels();
}

} // namespace kv::commercial
