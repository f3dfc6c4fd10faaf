#include "costing/forms/TORCF000.h"

#include "costing/forms/FieldLookup.h"

#include "platform/ui/BoundControl.h"
#include "platform/ui/DbCheckBox.h"
#include "platform/ui/DbEdit.h"
#include "platform/db/DbError.h"
#include "costing/core/GeneralParameters.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

namespace kv::costing {

using kv::db::DbError;
using kv::ui::DbEdit;

namespace {

const QString IncidenceHint = QStringLiteral("Digite <P> Para P.V.P ---  <C> para Preço Custo");

QString number(int i) { return QString::number(i); }

} // namespace

TORCF000::TORCF000(CostingEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment),
      m_params(environment.dataset(QStringLiteral("ZURIVAVEZA.ORCPARGER"))),
      m_warehouses(environment.dataset(QStringLiteral("DTSTKPRD.STKARMZ"))),
      m_transactions(environment.dataset(QStringLiteral("DTSTKPRD.STKTRS"))),
      m_departments(departmentList(environment.invoicing()))
{
    setObjectName(QStringLiteral("TORCF000"));
    setWindowTitle(QStringLiteral("Parâmetros Gerais "));
    setModal(true);

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    Panel1 = new QWidget(body());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    outer->addWidget(Panel1);
    auto* layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    Tb = new QTabWidget(Panel1);
    Tb->setObjectName(QStringLiteral("Tb"));
    Tb->addTab(buildGeneralPage(), QStringLiteral("Parâmetros Gerais"));
    Tb->addTab(buildNumberingPage(), QStringLiteral("Num.Documentos"));
    Tb->addTab(buildStockPage(), QStringLiteral("Ligação com Stocks"));
    layout->addWidget(Tb);
    auto* buttons = new QHBoxLayout(buttonBar());
    buttons->addStretch(1);
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(BitTerminar);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &TORCF000::BitTerminarClick);
    connect(Tb, &QTabWidget::currentChanged, this, [this] { TbClick(); });

    for (DbEdit* field : Edit_TipIncid) {
        setEnterHandler(field, [this] {
            if (m_incidenceChecks)
                setStatusText(0, IncidenceHint);
        });
        setExitHandler(field, [this] { Edit_TipIncidExit(); });
    }
    setKeyHint(Edit_Depart, QStringLiteral("Tecla <INS> Localizar Departamento"));
    addFieldAction(Edit_Depart, QStringLiteral("Localizar"), QKeySequence(Qt::Key_Insert),
                   [this] { departmentLookup(); });
    setExitHandler(Edit_ArmEnt, [this] { warehouseExit(Edit_ArmEnt, Label_ArmEnt); });
    setExitHandler(Edit_ArmSai, [this] { warehouseExit(Edit_ArmSai, Label_ArmSai); });
    setExitHandler(Edit_TrsEnt, [this] { transactionExit(Edit_TrsEnt, Label_TrsEnt, TransactionKind::Entry); });
    setExitHandler(Edit_TrsSai, [this] { transactionExit(Edit_TrsSai, Label_TrsSai, TransactionKind::Issue); });
    const kv::ui::GridColumn warehouse{QStringLiteral("CODIGO"), QStringLiteral("Arm.Nº"), 10, {}};
    const kv::ui::GridColumn warehouseName{QStringLiteral("NOME"), QStringLiteral("Localização"), 40, {}};
    const kv::ui::GridColumn transaction{QStringLiteral("TRSCOD"), QStringLiteral("Cód.Transacção"), 10, {}};
    const kv::ui::GridColumn transactionName{QStringLiteral("TRSNOM"), QStringLiteral("Designação"), 30, {}};
    const std::tuple<DbEdit*, QLabel*, kv::db::Dataset*, kv::ui::GridColumn, kv::ui::GridColumn> stockFields[] = {
        {Edit_ArmEnt, Label_ArmEnt, &m_warehouses, warehouse, warehouseName},
        {Edit_ArmSai, Label_ArmSai, &m_warehouses, warehouse, warehouseName},
        {Edit_TrsEnt, Label_TrsEnt, &m_transactions, transaction, transactionName},
        {Edit_TrsSai, Label_TrsSai, &m_transactions, transaction, transactionName}};
    for (const auto& [field, label, list, code, name] : stockFields)
        addFieldAction(field, QStringLiteral("Procurar Tabela"), QKeySequence(Qt::Key_Insert),
                       [this, field = field, label = label, list = list, code = code, name = name] {
                           stockLookup(*list, code, name, field, label);
                       });
}

TORCF000::~TORCF000() = default;

// ------------------------------------------------------------------ layout

QLabel* TORCF000::label(const QString& text, QWidget* parent, const QString& name)
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

DbEdit* TORCF000::edit(const QString& name, const QString& column, QWidget* parent, QLabel* caption)
{
    auto* e = new DbEdit(parent);
    e->setObjectName(name);
    e->setField(&m_params, column);
    if (caption)
        setCaptionLabel(e, caption);
    return e;
}

QWidget* TORCF000::buildGeneralPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    int row = 0;
    QLabel* payment = label(QStringLiteral("Condições Pagamento : "), page);
    grid->addWidget(payment, row, 0);
    for (int i = 1; i <= 5; ++i)
        grid->addWidget(edit("Edit_CndPgt" + number(i), "CNDPGT" + number(i), page, payment), row++, 1);
    QLabel* transport = label(QStringLiteral("Transporte : "), page);
    grid->addWidget(transport, row, 0);
    grid->addWidget(edit(QStringLiteral("Edit_Transporte"), QStringLiteral("TRANSPORTE"), page, transport), row++, 1);
    QLabel* delivery = label(QStringLiteral("Prazo de Entrega : "), page);
    grid->addWidget(delivery, row, 0);
    grid->addWidget(edit(QStringLiteral("Edit_PrzEnt"), QStringLiteral("PRZENT"), page, delivery), row++, 1);
    QLabel* conditions = label(QStringLiteral("Condições de Venda : "), page);
    grid->addWidget(conditions, row, 0);
    for (int i = 1; i <= 4; ++i)
        grid->addWidget(edit("Edit_Observ" + number(i), "OBSERV" + number(i), page, conditions), row++, 1);

    auto* costs = new QGroupBox(QStringLiteral("Custos Comerciais"), page);
    auto* c = new QGridLayout(costs);
    c->setVerticalSpacing(2);
    QLabel* name = label(QStringLiteral("Designação"), costs);
    QLabel* percent = label(QStringLiteral("( % )"), costs);
    QLabel* incidence = label(QStringLiteral("Incidência"), costs);
    c->addWidget(name, 0, 1);
    c->addWidget(percent, 0, 2);
    c->addWidget(incidence, 0, 3);
    for (int i = 1; i <= 3; ++i) {
        if (i == 3)
            c->addWidget(label(QStringLiteral("( Margem Líquida ) "), costs), i, 0);
        c->addWidget(edit("Edit_DesignCom" + number(i), "DESIGNCOM" + number(i), costs, name), i, 1);
        c->addWidget(edit("Edit_Comissao" + number(i), "COMISSAO" + number(i), costs, percent), i, 2);
        Edit_TipIncid[i - 1] = edit("Edit_TipIncid" + number(i), "TIPINCID" + number(i), costs, incidence);
        Edit_TipIncid[i - 1]->setCharCase(DbEdit::CharCase::Upper);
        c->addWidget(Edit_TipIncid[i - 1], i, 3);
    }
    auto* subsidiary = new kv::ui::DbCheckBox(QStringLiteral("Matérias Subsidiárias ?"), costs);
    subsidiary->setObjectName(QStringLiteral("Check_CompS1"));
    subsidiary->setField(&m_params, QStringLiteral("COMPS1"));
    c->addWidget(subsidiary, 3, 4);

    auto* logistics = new QGroupBox(QStringLiteral("Logistica - Requisições Internas"), page);
    auto* l = new QHBoxLayout(logistics);
    QLabel* department = label(QStringLiteral("Departamento : "), logistics);
    Edit_Depart = edit(QStringLiteral("Edit_Depart"), QStringLiteral("DEPARTAMENTO"), logistics, department);
    l->addWidget(department);
    l->addWidget(Edit_Depart);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(costs, 1);
    bottom->addWidget(logistics, 0, Qt::AlignTop);
    grid->addLayout(bottom, row++, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* TORCF000::buildNumberingPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    struct Block {
        const char* title;
        const char* copies;
        const char* counterName;
        const char* counterColumn;
        const char* copyName;
        const char* copyColumn;
        const char* typeName;
        const char* typeColumn;
    };
    const Block blocks[] = {{"Orçamentos", "Vias do Orçamento", "Edit_OrcNro", "ORCNRO", "Edit_OrcVia", "ORCVIA",
                             "Edit_TipoOrcam", "TIPOORCAM"},
                            {"Ordens de Fabrico", "Vias do O.Fabrico", "Edit_OfNro", "OFNRO", "Edit_OfVia", "OFVIA",
                             "Edit_TipoOrdFab", "TIPOORDFAB"}};
    for (const Block& b : blocks) {
        auto* box = new QGroupBox(QString::fromUtf8(b.title), page);
        auto* grid = new QGridLayout(box);
        QLabel* series = label(QStringLiteral("Séries"), box);
        QLabel* copies = label(QString::fromUtf8(b.copies), box);
        grid->addWidget(series, 0, 0);
        grid->addWidget(copies, 0, 1);
        for (int i = 1; i <= 8; ++i) {
            if (i <= 5)
                grid->addWidget(edit(QString::fromLatin1(b.counterName) + number(i),
                                     QString::fromLatin1(b.counterColumn) + number(i), box, series),
                                i, 0);
            grid->addWidget(edit(QString::fromLatin1(b.copyName) + number(i),
                                 QString::fromLatin1(b.copyColumn) + number(i), box, copies),
                            i, 1);
        }
        QLabel* type = label(QStringLiteral("Tipo Impressão : "), box);
        DbEdit* typeEdit = edit(QString::fromLatin1(b.typeName), QString::fromLatin1(b.typeColumn), box, type);
        typeEdit->setCharCase(DbEdit::CharCase::Upper);
        grid->addWidget(type, 9, 0);
        grid->addWidget(typeEdit, 9, 1);
        // As tall as its fields: the page's spare room stays below the boxes.
        layout->addWidget(box, 0, Qt::AlignTop);
    }
    auto* pages = new QGroupBox(QStringLiteral("Páginas de Impressão"), page);
    auto* p = new QVBoxLayout(pages);
    p->addWidget(label(QStringLiteral("( Orçamento Interno )"), pages));
    const char* texts[] = {"1ª - Indentificação e Consumos", "2ª - Grupos de Custos", "3ª - Total do Orçamento"};
    for (int i = 1; i <= 3; ++i) {
        auto* check = new kv::ui::DbCheckBox(QString::fromUtf8(texts[i - 1]), pages);
        check->setObjectName("Check_PrintPag" + number(i));
        check->setField(&m_params, "PRINTPAG" + number(i));
        p->addWidget(check);
    }
    layout->addWidget(pages, 0, Qt::AlignTop);
    layout->addStretch(1);
    return page;
}

QWidget* TORCF000::buildStockPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    struct Side {
        const char* title;
        const char* warehouseCaption;
        DbEdit** transaction;
        QLabel** transactionName;
        DbEdit** warehouse;
        QLabel** warehouseName;
        const char* suffix; // of the control names
        const char* trsColumn;
        const char* armColumn;
    };
    const Side sides[] = {{"Produto Acabado", "Armazém  : ", &Edit_TrsEnt, &Label_TrsEnt, &Edit_ArmEnt, &Label_ArmEnt,
                           "Ent", "TRS_ENTRADA", "ARM_ENTRADA"},
                          {"Matéria Prima", "Armazém : ", &Edit_TrsSai, &Label_TrsSai, &Edit_ArmSai, &Label_ArmSai,
                           "Sai", "TRS_SAIDA", "ARM_SAIDA"}};
    for (const Side& s : sides) {
        auto* box = new QGroupBox(QString::fromUtf8(s.title), page);
        auto* grid = new QGridLayout(box);
        const QString suffix = QString::fromLatin1(s.suffix);
        QLabel* trsCaption = label(QStringLiteral("Cod. Transacção : "), box);
        *s.transaction = edit("Edit_Trs" + suffix, QString::fromLatin1(s.trsColumn), box, trsCaption);
        *s.transactionName = label({}, box, "Label_Trs" + suffix);
        QLabel* armCaption = label(QString::fromUtf8(s.warehouseCaption), box);
        *s.warehouse = edit("Edit_Arm" + suffix, QString::fromLatin1(s.armColumn), box, armCaption);
        *s.warehouseName = label({}, box, "Label_Arm" + suffix);
        grid->addWidget(trsCaption, 0, 0);
        grid->addWidget(*s.transaction, 0, 1);
        grid->addWidget(*s.transactionName, 0, 2);
        grid->addWidget(armCaption, 1, 0);
        grid->addWidget(*s.warehouse, 1, 1);
        grid->addWidget(*s.warehouseName, 1, 2);
        // Room for the names the fields' codes bring.
        for (QLabel* name : {*s.transactionName, *s.warehouseName})
            name->setMinimumWidth(name->fontMetrics().averageCharWidth() * 40);
        grid->setColumnStretch(2, 1);
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

// ------------------------------------------------------------------ open / close

void TORCF000::FormActivate()
{
    setStatusText(1, m_environment.state().WMarca);
    const kv::shell::FormRights rights =
        m_environment.costingRights(kv::shell::RightsVariant::R2, QStringLiteral("Parametros Gerais"));
    if (!rights.message.isEmpty())
        kv::ui::messages().information(rights.message);
    Panel1->setEnabled(rights.enableFields);
    // Terminar sits in the button bar, outside the fields: it saves, so it
    // follows the same right.
    BitTerminar->setEnabled(rights.enableFields);
    try {
        m_warehouses.open();
        m_transactions.open();
        m_departments->open();
        if (!InitiateOrcParger())
            return;
    } catch (const DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    m_incidenceChecks = false;
    m_stockChecks = false;
    Tb->setCurrentIndex(0);
    TbClick(); // the page was perhaps already shown
    EnableEvents();
}

// The row exists, read as it stands now, and is being edited.
bool TORCF000::InitiateOrcParger()
{
    GeneralParameters(*m_environment.application()).ensureRow();
    m_params.close();
    m_params.open();
    if (!m_params.locate(QStringLiteral("CODIGO"), 1)) {
        kv::ui::messages().fail(GeneralParameters::missingRowMessage());
        QTimer::singleShot(0, this, &QDialog::reject);
        return false;
    }
    m_params.edit();
    return true;
}

void TORCF000::FormClose()
{
    // Nothing is saved here: the window's close box discards the changes.
    m_warehouses.close();
    m_transactions.close();
    m_params.close();
    m_departments->close();
}

void TORCF000::TbClick()
{
    switch (Tb->currentIndex()) {
    case 0: m_incidenceChecks = true; break;
    case 1: m_incidenceChecks = false; break;
    default:
        Label_ArmEnt->setText(warehouseName(m_warehouses, m_params.value(QStringLiteral("ARM_ENTRADA"))));
        Label_ArmSai->setText(warehouseName(m_warehouses, m_params.value(QStringLiteral("ARM_SAIDA"))));
        Label_TrsEnt->setText(transactionName(m_transactions, m_params.value(QStringLiteral("TRS_ENTRADA"))));
        Label_TrsSai->setText(transactionName(m_transactions, m_params.value(QStringLiteral("TRS_SAIDA"))));
        m_stockChecks = true;
        break;
    }
}

// ------------------------------------------------------------------ checks

void TORCF000::Edit_TipIncidExit()
{
    auto* field = qobject_cast<DbEdit*>(leavingField());
    if (m_incidenceChecks && field && !isIncidence(field->text()))
        rejectField();
}

void TORCF000::warehouseExit(DbEdit* field, QLabel* name)
{
    if (!m_stockChecks)
        return;
    const StockLinkCheck check = checkWarehouse(m_warehouses, field->text());
    name->setText(check.name);
    if (!check.accepted)
        rejectField(check.message);
}

void TORCF000::transactionExit(DbEdit* field, QLabel* name, TransactionKind kind)
{
    if (!m_stockChecks)
        return;
    const StockLinkCheck check = checkTransaction(m_transactions, field->text(), kind);
    name->setText(check.name);
    if (!check.accepted)
        rejectField(check.message);
}

// ------------------------------------------------------------------ lookups

void TORCF000::departmentLookup()
{
    if (!m_departments->isOpen())
        return;
    if (runLookup(*m_departments, {{QStringLiteral("DEPARTAMENTO"), QStringLiteral("Departamento"), 20, {}}}, this)
        && !m_departments->isEmpty())
        m_params.setValue(QStringLiteral("DEPARTAMENTO"), m_departments->value(QStringLiteral("DEPARTAMENTO")));
}

// The row chosen with OK: its code into the row, its name into the label
// beside the field. Cancel changes nothing.
void TORCF000::stockLookup(kv::db::Dataset& list, const kv::ui::GridColumn& code, const kv::ui::GridColumn& name,
                           DbEdit* field, QLabel* label)
{
    if (!list.isOpen())
        return;
    if (!runLookup(list, {code, name}, this) || list.isEmpty())
        return;
    m_params.setValue(field->fieldName(), list.value(code.field));
    label->setText(list.value(name.field).toString());
}

// ------------------------------------------------------------------ save

void TORCF000::BitTerminarClick()
{
    // A value still refused by its field is not silently dropped.
    for (QWidget* child : findChildren<QWidget*>()) {
        auto* bound = dynamic_cast<kv::ui::BoundControl*>(child);
        QString error;
        if (bound && !bound->commitPending(&error)) {
            kv::ui::messages().fail(error);
            focusField(child);
            return;
        }
    }
    std::vector<CounterKept> kept;
    try {
        m_params.post();
        std::vector<ParameterChange> changes;
        for (int i = 0; i < m_params.fieldCount(); ++i) {
            kv::db::Field field = m_params.field(i);
            changes.push_back({field.name(), field.oldValue(), field.value()});
        }
        kept = GeneralParameters(*m_environment.application()).save(changes);
    } catch (const DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    for (const CounterKept& counter : kept)
        kv::ui::messages().information(GeneralParameters::counterKeptMessage(counter));
    m_params.cancelUpdates();
    m_params.close();
    accept();
}

} // namespace kv::costing
