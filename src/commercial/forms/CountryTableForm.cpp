#include "commercial/forms/CountryTableForm.h"

#include "commercial/forms/AccountLinkField.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbCheckBox.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

namespace kv::commercial {

using kv::db::DbError;

namespace {

// A supplier group: its tab, the middle of its column names, of its edits' names.
struct SupplierGroup {
    const char* tab;
    const char* columns; // FRNCONTA<x>n, FRNDIG<x>n, FRNOPEN<x>n
    const char* edits; // Edit_FrnConta<x>n
};

constexpr SupplierGroup SupplierGroups[] = {{"C/Corrente", "", ""},
                                            {"Imobilizado", "I", "I"},
                                            {"Consult./Acess. Interm.", "A", "A"},
                                            {"Outros Dev. e Credores", "O", "O"}};

AccountLinkSpec rootSpec(const QString& edit, const QString& label)
{
    AccountLinkSpec spec{edit, label};
    spec.postingOnly = false; // the set holds integration accounts only
    spec.notFound = spec.labelNotFound = QString::fromUtf8("CONTA INEXISTENTE");
    spec.refreshOnChange = true;
    spec.typedWhileOff = true;
    spec.hint = QString::fromUtf8("Tecla <Insert> Procurar Tabela");
    spec.lookupCaption = QString::fromUtf8("Localizar");
    return spec;
}

} // namespace

CountryTableForm::CountryTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                                   QWidget* parent)
    : CommercialTableForm(member, environment, parent)
{
    QTabWidget* tabs = pages();
    tabs->addTab(rootsPage(QString::fromUtf8("CLI"), QString::fromUtf8("Edit_CliConta"), false, tabs),
                 QString::fromUtf8("Contab. / Clientes"));

    m_suppliers = new QTabWidget(tabs);
    m_suppliers->setObjectName(QStringLiteral("TbFornecedor"));
    for (const SupplierGroup& group : SupplierGroups)
        m_suppliers->addTab(rootsPage(QString::fromUtf8("FRN") + QString::fromUtf8(group.columns),
                                      QString::fromUtf8("Edit_FrnConta") + QString::fromUtf8(group.edits), true,
                                      m_suppliers),
                            QString::fromUtf8(group.tab));
    tabs->addTab(m_suppliers, QString::fromUtf8("Contab. / Fornecedores"));
    // After the market the roots, page by page; then the tabs, then the grid:
    // a field hidden with its page hands the focus to the tabs, not to the
    // grid, which would save.
    m_chain.insert(m_chain.begin(), control(member.fields.back().name));
    m_chain.push_back(tabs->tabBar());
    m_chain.push_back(grid());
    for (std::size_t i = 1; i < m_chain.size(); ++i)
        QWidget::setTabOrder(m_chain[i - 1], m_chain[i]);
    // Showing the supplier page starts on its first group.
    connect(tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 2)
            m_suppliers->setCurrentIndex(0);
    });
}

CountryTableForm::~CountryTableForm() = default;

QWidget* CountryTableForm::rootsPage(const QString& group, const QString& editPrefix, bool byColumn, QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* grid = new QGridLayout(page);
    const char* heads[] = {"Conta Nº", "Nome da Conta", "Digitos", "Auto"};
    auto* rootHead = new QLabel(QString::fromUtf8(heads[0]), page);
    grid->addWidget(rootHead, 0, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(heads[1]), page), 0, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(heads[2]), page), 0, 2);
    grid->addWidget(new QLabel(QString::fromUtf8(heads[3]), page), 0, 3);
    // Columns: CLICONTA1 / CLIDIG1 / CLIOPEN1, or FRNCONTAI1 / FRNDIGI1 / FRNOPENI1.
    const QString prefix = group.left(3);
    const QString suffix = group.mid(3);
    std::vector<QWidget*> roots, digits, flags;
    for (int row = 1; row <= 5; ++row) {
        const QString n = QString::number(row);
        auto* root = new AccountLinkField(
            *this, rootSpec(editPrefix + n, QStringLiteral("Label_") + editPrefix.mid(5) + n), page);
        root->setField(&table(), prefix + QStringLiteral("CONTA") + suffix + n);
        auto* count = new kv::ui::DbEdit(page);
        count->setObjectName(editPrefix.left(editPrefix.size() - 5) + QStringLiteral("Dig") + suffix + n);
        count->setField(&table(), prefix + QStringLiteral("DIG") + suffix + n);
        count->setDisplayWidth(3);
        auto* open = new kv::ui::DbCheckBox(QString(), page);
        open->setObjectName(editPrefix.left(editPrefix.size() - 5) + QStringLiteral("Open") + suffix + n);
        open->setField(&table(), prefix + QStringLiteral("OPEN") + suffix + n);
        open->setValues(QString::fromUtf8("S"), QString::fromUtf8("N"));
        open->setToolTip(QString::fromUtf8("ABRIR POR DEFEITO ?"));
        // The root and its name label share the first two columns.
        grid->addWidget(root, row, 0, 1, 2);
        grid->addWidget(count, row, 2);
        grid->addWidget(open, row, 3);
        roots.push_back(root->edit());
        digits.push_back(count);
        flags.push_back(open);
        m_roots.push_back(root);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);
    std::vector<QWidget*> order;
    if (byColumn) {
        order = roots;
        order.insert(order.end(), digits.begin(), digits.end());
        order.insert(order.end(), flags.begin(), flags.end());
    } else {
        for (std::size_t i = 0; i < roots.size(); ++i)
            order.insert(order.end(), {roots[i], digits[i], flags[i]});
    }
    m_chain.insert(m_chain.end(), order.begin(), order.end());
    return page;
}

void CountryTableForm::FormActivate()
{
    CommercialTableForm::FormActivate();
    if (!table().isOpen())
        return;
    const auto& env = environment();
    LookupSet* set = nullptr;
    try {
        m_lookups = std::make_unique<AccountLookups>(env.accounting(), env.state().WAno,
                                                     accountingLinkOn(*env.invoicing(), env.state().WAno));
        set = m_lookups->accounts(AccountRange::countryRoots());
    } catch (const DbError& error) {
        showError(error);
    }
    for (AccountLinkField* root : m_roots)
        root->activate(set);
    // With the link off the pages can still be shown by the market, not clicked.
    pages()->tabBar()->setEnabled(set != nullptr);
    m_suppliers->tabBar()->setEnabled(set != nullptr);
    pages()->setCurrentIndex(0);
}

void CountryTableForm::FormClose()
{
    // The fields let go of the sets before they are dropped.
    for (AccountLinkField* field : m_roots)
        field->activate(nullptr);
    if (m_lookups)
        m_lookups->close();
    CommercialTableForm::FormClose();
}

void CountryTableForm::BotInserirClick()
{
    pages()->setCurrentIndex(0);
    CommercialTableForm::BotInserirClick();
}

bool CountryTableForm::fieldPassed(std::size_t index)
{
    if (!CommercialTableForm::fieldPassed(index))
        return false;
    // A market accepted goes on to the customers' roots, link or no link.
    if (member().fields[index].column == QLatin1String("MERCADO")) {
        pages()->setCurrentIndex(1);
        moveFocus(m_roots.front()->edit()->objectName());
    }
    return true;
}

bool CountryTableForm::checkFields()
{
    if (!CommercialTableForm::checkFields())
        return false;
    if (!editing(table()))
        return true;
    for (AccountLinkField* root : m_roots) {
        if (root->code().isEmpty() || !root->linked())
            continue;
        // The refused root's page is shown with it.
        QWidget* page = root->parentWidget();
        if (m_suppliers->indexOf(page) >= 0) {
            pages()->setCurrentWidget(m_suppliers);
            m_suppliers->setCurrentWidget(page);
        } else if (pages()->indexOf(page) >= 0) {
            pages()->setCurrentWidget(page);
        }
        if (!root->verify())
            return false;
    }
    return true;
}

void CountryTableForm::returned(bool applied)
{
    CommercialTableForm::returned(applied);
    pages()->setCurrentIndex(0);
}

} // namespace kv::commercial
