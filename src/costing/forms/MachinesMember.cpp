#include "costing/forms/MachinesMember.h"

#include "costing/forms/CodeTableForm.h"
#include "costing/forms/FieldLookup.h"
#include "costing/forms/MachinesReport.h"

#include "platform/db/DbError.h"
#include "costing/core/MachineRules.h"
#include "platform/ui/MessageService.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace kv::costing {

namespace {

const QString ProductionPage = QStringLiteral("Produção");
const QString GluePage = QStringLiteral("Consumo de Colas");
const QString SetupPage = QStringLiteral("Tempos de Acerto");
const QString GluesDataset = QStringLiteral("ZURIVAVEZA.COLAS");

// What the machine form keeps open besides its table: the cost centres of
// the working year. The list report reads it while the form is open.
class MachineLookups : public QObject, public MachineNames {
public:
    MachineLookups(CodeTableForm& form)
        : QObject(&form), centres(form.environment().modules().connections().DbContab),
          glues(&form.environment().dataset(GluesDataset)), m_session(form.environment().session())
    {
        setObjectName(QStringLiteral("MachineLookups"));
        m_session.openMachineForm = this;
    }
    ~MachineLookups() override
    {
        if (m_session.openMachineForm == this)
            m_session.openMachineForm = nullptr;
    }

    std::optional<QString> costCentreName(const QString& code) override { return centres.name(code); }

    std::optional<QString> glueName(const QVariant& code) override
    {
        if (!glues->isOpen() || code.isNull() || !glues->locate(QStringLiteral("CODIGO"), code.toInt()))
            return std::nullopt;
        return glues->value(QStringLiteral("DESIGNACAO")).toString();
    }

    CostCentres centres;
    kv::db::Dataset* glues;

private:
    CostingSessionState& m_session;
};

MachineLookups* lookups(CodeTableForm& form)
{
    return form.findChild<MachineLookups*>(QStringLiteral("MachineLookups"), Qt::FindDirectChildrenOnly);
}

QString text(CodeTableForm& form, const QString& field)
{
    auto* edit = qobject_cast<QLineEdit*>(form.control(field));
    return edit ? edit->text() : QString();
}

void setLabel(CodeTableForm& form, const QString& name, const QString& value)
{
    if (auto* label = qobject_cast<QLabel*>(form.control(name)))
        label->setText(value);
}

int typeShown(CodeTableForm& form)
{
    const auto type = domain::machineTypeFromText(text(form, QStringLiteral("Edit_TipoMaquina")));
    return type ? domain::typeCode(*type) : 0;
}

// The page rule: the glue page of a machine without glue leads on to the
// make-ready page; the focus goes to the first field of the page shown.
void showPage(CodeTableForm& form, int page)
{
    auto* pages = qobject_cast<QTabWidget*>(form.control(QStringLiteral("Tb")));
    if (!pages)
        return;
    if (page == 1 && !usesGlue(typeShown(form)))
        page = 2;
    pages->setCurrentIndex(page);
    static const char* const first[] = {"Edit_Factor1", "Edit_ConsumoCola", "Edit_AceMaqMin"};
    form.moveFocus(QString::fromLatin1(first[page]));
}

void showPageOnly(CodeTableForm& form, int page)
{
    if (auto* pages = qobject_cast<QTabWidget*>(form.control(QStringLiteral("Tb"))))
        pages->setCurrentIndex(page);
}

bool readCostCentre(CodeTableForm& form, const QString& code)
{
    MachineLookups* own = lookups(form);
    const auto name = own ? own->centres.name(code) : std::nullopt;
    setLabel(form, QStringLiteral("Label_CCusto"), name.value_or(QString()));
    return name.has_value();
}

bool readGlue(CodeTableForm& form, const QVariant& code)
{
    MachineLookups* own = lookups(form);
    const auto name = own ? own->glueName(code) : std::nullopt;
    setLabel(form, QStringLiteral("Label_Cola"), name.value_or(QString()));
    return name.has_value();
}

// A search puts the row chosen with OK into the field; Cancel changes nothing.
void search(CodeTableForm& form, kv::db::Dataset& list, std::vector<kv::ui::GridColumn> columns, const QString& column)
{
    if (!list.isOpen())
        return;
    if (!runLookup(list, std::move(columns), &form) || list.isEmpty())
        return;
    try {
        if (form.table().state() == kv::db::DatasetState::Browse)
            form.table().edit();
        form.table().setValue(column, list.value(QStringLiteral("CODIGO")));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

FieldSpec field(const char* name, const char* column, const char* caption, const QString& page = {})
{
    FieldSpec f;
    f.name = QString::fromLatin1(name);
    f.column = QString::fromLatin1(column);
    f.caption = QString::fromUtf8(caption);
    f.page = page;
    return f;
}

bool activate(CodeTableForm& form)
{
    auto* own = lookups(form);
    if (!own)
        own = new MachineLookups(form);
    try {
        own->centres.open(form.environment().state().WAno);
        own->glues->close();
        own->glues->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    if (QWidget* field = form.control(QStringLiteral("Edit_CCusto")); field && !field->property("kvSearch").toBool()) {
        field->setProperty("kvSearch", true);
        // The designation has no label of its own: the key's lights up for it.
        form.setCaptionLabel(form.control(QStringLiteral("Edit_Designacao")),
                             qobject_cast<QLabel*>(form.control(QStringLiteral("Label_Codigo"))));
        addFieldAction(field, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert), [&form, own] {
            search(form, own->centres.list(),
                   {{QStringLiteral("CODIGO"), QStringLiteral("C.Custo Nº"), 10, {}},
                    {QStringLiteral("DESIGN"), QStringLiteral("Designação"), 35, {}}},
                   QStringLiteral("CCUSTO"));
        });
        addFieldAction(form.control(QStringLiteral("Edit_CodigoCola")), QStringLiteral("Procura Numérica"),
                       QKeySequence(Qt::Key_Insert), [&form, own] {
                           search(form, *own->glues,
                                  {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 8, {}},
                                   {QStringLiteral("ARTIGO"), QStringLiteral("Artigo Nº"), 16, {}},
                                   {QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNACAO"), 40, {}}},
                                  QStringLiteral("CODIGOCOLA"));
                       });
        auto* pages = qobject_cast<QTabWidget*>(form.control(QStringLiteral("Tb")));
        // The rule runs once the click has shown its page.
        QObject::connect(pages, &QTabWidget::tabBarClicked, &form, [&form, pages](int index) {
            if (index >= 0)
                QTimer::singleShot(0, &form, [&form, pages] { showPage(form, pages->currentIndex()); });
        });
    }
    showPageOnly(form, 0);
    return true;
}

// Refuses a row whose values cannot price a machine, with the focus in the
// field to mend.
bool refuseRow(CodeTableForm& form, const QString& message, const char* fieldName, int page)
{
    showPageOnly(form, page);
    kv::ui::messages().beep();
    kv::ui::messages().error(message);
    form.moveFocus(QString::fromLatin1(fieldName));
    return false;
}

bool beforeSave(CodeTableForm& form)
{
    showPageOnly(form, 0);
    if (form.table().state() == kv::db::DatasetState::Browse)
        return true;
    if (!validProductionUnit(text(form, QStringLiteral("Edit_UndProd"))))
        return refuseRow(form, productionUnitMessage(), "Edit_UndProd", 0);
    if (!validFactor(text(form, QStringLiteral("Edit_Factor1"))))
        return refuseRow(form, invalidFactorMessage(), "Edit_Factor1", 0);
    if (!validColoursPerPass(typeShown(form), text(form, QStringLiteral("Edit_Cores"))))
        return refuseRow(form, invalidColoursMessage(), "Edit_Cores", 0);
    return true;
}

} // namespace

CodeTableDescription machinesMember()
{
    CodeTableDescription m;
    m.formClass = QStringLiteral("TORCF009");
    m.caption = QStringLiteral("Tabela de Máquinas");
    m.table = QStringLiteral("MAQUINAS");
    m.dataset = QStringLiteral("ZURIVAVEZA.MAQUINAS");
    m.rightsProgram = QStringLiteral("Maquinas");

    FieldSpec designation = field("Edit_Designacao", "DESIGNACAO", "Designação : ");
    FieldSpec centre = field("Edit_CCusto", "CCUSTO", "C.Custo : ");
    centre.hint = QStringLiteral("Tecla <Insert> Para Procurar !!!");
    centre.nameLabel = QStringLiteral("Label_CCusto");
    centre.onExit = [](CodeTableForm& form) {
        const QString code = text(form, QStringLiteral("Edit_CCusto"));
        if (code.isEmpty()) {
            setLabel(form, QStringLiteral("Label_CCusto"), {});
            return true;
        }
        if (readCostCentre(form, code))
            return true;
        form.refuse(unknownCostCentreMessage());
        return false;
    };
    FieldSpec type = field("Edit_TipoMaquina", "TIPOMAQUINA", "Tipo Máquina : ");
    type.suffix = QStringLiteral("(1-Impressão) (2-Corte e Vinco) (3-Coladora) (4-C.Coladora)");
    type.rule = FieldRule::integerRange(domain::typeCode(domain::FirstMachineType),
                                        domain::typeCode(domain::LastMachineType), invalidMachineTypeMessage());
    type.onExit = [](CodeTableForm& form) {
        showPage(form, 0);
        return true;
    };
    FieldSpec colours = field("Edit_Cores", "NROCORES", "Nº de Côres : ");
    colours.onExit = [](CodeTableForm& form) {
        if (validColoursPerPass(typeShown(form), text(form, QStringLiteral("Edit_Cores"))))
            return true;
        form.refuse(invalidColoursMessage());
        return false;
    };
    FieldSpec length = field("Edit_Comprim", "COMPRIM", "Formato (CxL) : ");
    FieldSpec width = field("Edit_Largura", "LARGURA", "x");
    width.besidePrevious = true;

    FieldSpec factor1 = field("Edit_Factor1", "FACTOR1", "Factor I : ", ProductionPage);
    factor1.onExit = [](CodeTableForm& form) {
        if (validFactor(text(form, QStringLiteral("Edit_Factor1"))))
            return true;
        form.refuse(invalidFactorMessage());
        return false;
    };
    FieldSpec unit = field("Edit_UndProd", "UNDPROD", "Unid.Produção : ", ProductionPage);
    unit.rule = FieldRule::oneOf({QStringLiteral("U"), QStringLiteral("M")}, productionUnitMessage());
    unit.helpPanel = QStringLiteral("Panel3");
    unit.helpLines = {QStringLiteral("(U) - Unidades"), QStringLiteral("(M) - Milhares")};
    FieldSpec hourCost = field("Edit_CustoHora", "CUSTOHORA", "Custo Hora : ", ProductionPage);
    hourCost.onExit = [](CodeTableForm& form) {
        showPage(form, 1);
        return true;
    };
    FieldSpec glueGrams = field("Edit_ConsumoCola", "CONSUMCOLA", "Consumo Cola : ", GluePage);
    glueGrams.suffix = QStringLiteral("(Grs)");
    FieldSpec glue = field("Edit_CodigoCola", "CODIGOCOLA", "Código Cola : ", GluePage);
    glue.hint = QStringLiteral("Tecla <Insert> Para Procurar !!!");
    glue.nameLabel = QStringLiteral("Label_Cola");
    glue.onExit = [](CodeTableForm& form) {
        const QString code = text(form, QStringLiteral("Edit_CodigoCola"));
        // The 0 of a new row names no glue.
        if (code.isEmpty() || !readGlue(form, code.toInt())) {
            form.refuse(unknownGlueMessage());
            return false;
        }
        showPage(form, 2);
        return true;
    };

    m.fields = {designation,
                centre,
                type,
                colours,
                length,
                width,
                factor1,
                field("Edit_Factor2", "FACTOR2", "Factor II : ", ProductionPage),
                field("Edit_Factor3", "FACTOR3", "Factor III : ", ProductionPage),
                unit,
                field("Edit_PercDesper", "PERCDESPER", "(%) Desperd. : ", ProductionPage),
                hourCost,
                glueGrams,
                field("Edit_ConsumoCola1", "CONSUMCOLA1", "Cons.Cola c/ Micro : ", GluePage),
                field("Edit_ConsumoCola2", "CONSUMCOLA2", "Cons.Cola c/ Canal B : ", GluePage),
                field("Edit_ConsumoCola3", "CONSUMCOLA3", "Cons.Cola c/ Placa Cartão : ", GluePage),
                glue};
    const std::tuple<const char*, const char*, const char*> setup[] = {
        {"MaqMin", "ACEMAQMIN", "Acerto Máq. (Min) : "},
        {"MaqMax", "ACEMAQMAX", "Acerto Máq. (Max) : "},
        {"PassMin1", "ACEPASSMIN1", "Ace.c/ 1 Passag. (Min) : "},
        {"PassMax1", "ACEPASSMAX1", "Ace.c/ 1 Passag. (Max) : "},
        {"PassMin2", "ACEPASSMIN2", "Ace.c/ 2 Passag. (Min) : "},
        {"PassMax2", "ACEPASSMAX2", "Ace.c/ 2 Passag. (Max) : "},
        {"PassMin3", "ACEPASSMIN3", "Ace.c/ 3 Passag. (Min) : "},
        {"PassMax3", "ACEPASSMAX3", "Ace.c/ 3 Passag. (Max) : "},
        {"PassMin4", "ACEPASSMIN4", "Ace.c/ 4 Passag. (Min) : "},
        {"PassMax4", "ACEPASSMAX4", "Ace.c/ 4 Passag. (Max) : "},
        {"FundoAutoMin", "ACEFUNDOAUTOMIN", "Ace.Fundo Autom. (Min) : "},
        {"FundoAutoMax", "ACEFUNDOAUTOMAX", "Ace.Fundo Autom. (Max) : "},
        {"ColLateralMin", "ACECOLLATERALMIN", "Ace.Colagem Lateral (Min) : "},
        {"ColLateralMax", "ACECOLLATERALMAX", "Ace.Colagem Lateral (Max) : "},
        {"CortanteMin1", "ACECORTANTEMIN1", "Ace.c/ Cortante I (Min) : "},
        {"CortanteMax1", "ACECORTANTEMAX1", "Ace.c/ Cortante I (Max) : "},
        {"CortanteMin2", "ACECORTANTEMIN2", "Ace.c/ Cortante II (Min) : "},
        {"CortanteMax2", "ACECORTANTEMAX2", "Ace.c/ Cortante II (Max) : "},
        {"CortanteMin3", "ACECORTANTEMIN3", "Ace.c/ Cortante III (Min) : "},
        {"CortanteMax3", "ACECORTANTEMAX3", "Ace.c/ Cortante III (Max) : "}};
    for (const auto& [name, column, caption] : setup) {
        FieldSpec f = field("", column, caption, SetupPage);
        f.name = QStringLiteral("Edit_Ace") + QString::fromLatin1(name);
        // Each maximum on the line of its minimum.
        f.besidePrevious = f.name.contains(QLatin1String("Max"));
        m.fields.push_back(f);
    }

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Máquina Nº"), 6},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("CCUSTO"), QStringLiteral("C.Custo"), 10},
              {QStringLiteral("CUSTOHORA"), QStringLiteral("Custo Hora"), 12, ValueFormat::Money}};

    m.beforeOpen = activate;
    m.rowShown = [](CodeTableForm& form) {
        setLabel(form, QStringLiteral("Label_CCusto"), {});
        setLabel(form, QStringLiteral("Label_Cola"), {});
        if (form.table().isEmpty())
            return;
        readCostCentre(form, form.table().value(QStringLiteral("CCUSTO")).toString());
        readGlue(form, form.table().value(QStringLiteral("CODIGOCOLA")));
    };
    m.rowStarted = [](CodeTableForm& form) {
        for (const char* column : {"CONSUMCOLA", "CONSUMCOLA1", "CONSUMCOLA2", "CONSUMCOLA3", "CODIGOCOLA"})
            form.table().setValue(QString::fromLatin1(column), 0);
    };
    m.beforeSave = beforeSave;
    m.closed = [](CodeTableForm& form) {
        if (auto* own = lookups(form)) {
            own->centres.close();
            own->glues->close();
        }
    };

    ListPrintSpec print;
    print.dialogClass = QStringLiteral("TORCFSPR009");
    print.dialogCaption = m.caption;
    print.reportClass = QStringLiteral("TORCFPR009");
    print.reportTitle = m.caption;
    print.articleRange = false;
    print.customise = layoutMachinesReport;
    m.print = print;
    return m;
}

} // namespace kv::costing
