// The general costing parameters form TORCF000: the row created when
// missing, the field checks of its pages, rights variant R2, saving only
// through Terminar, and the counters another workstation raised meanwhile.
#include "costing/FormFixtures.h"

#include "support/QtPrinters.h"

#include <QTabWidget>

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// A company with its parameters, two warehouses, an entry and an issue
// transaction, and the rights row of "Parametros Gerais".
struct Parameters {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Parameters(Engine engine, bool withRights = true) : session(scenario, engine)
    {
        if (withRights)
            session.grant("Parametros Gerais", "S");
        session.removeParameterRow();
        session.application()->exec(
            "INSERT INTO ORCPARGER (CODIGO, TRANSPORTE, ORCNRO1, ORCNRO2, OFNRO1, TIPOORCAM, TIPOORDFAB, "
            "TIPINCID1, TIPINCID2, TIPINCID3, TRS_ENTRADA, TRS_SAIDA, ARM_ENTRADA, ARM_SAIDA) "
            "VALUES (1, 'Por nossa conta', 1250, 40, 830, '1', 'M', 'P', 'P', 'C', 10, 20, 1, 2)");
        auto stock = session.invoicing();
        stock->exec("INSERT INTO STKARMAZEM (CODIGO, NOME) VALUES (1, 'Produto Acabado'), (2, 'Matérias Primas')");
        stock->exec("INSERT INTO STKTRS (TRSCOD, TRSNOM, TRSTIP) VALUES (10, 'Entrada de Fabrico', 'E'), "
                    "(20, 'Consumo de Fabrico', 'S')");
        stock->exec("INSERT INTO DEP_COMPRAS (DEPARTAMENTO) VALUES ('Compras'), ('Manutenção')");
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF000");
        scenario.wait();
        return form;
    }

    QVariant stored(const QString& column)
    {
        return session.application()->scalar(QStringLiteral("SELECT %1 FROM ORCPARGER WHERE CODIGO = 1").arg(column));
    }
};

void showPage(FormDriver& form, int page) { form.find<QTabWidget>("Tb")->setCurrentIndex(page); }

struct CheckCase {
    const char* label;
    int page;
    QString field;
    QString typed;
    QStringList transcript; // empty: accepted
    QString nameLabel; // the label beside a stock field, and what it shows afterwards
    QString name;
};

class ParameterCheck : public ::testing::TestWithParam<std::tuple<CheckCase, Engine>> {};

TEST_P(ParameterCheck, RefusesWhatThePageCannotTake)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Parameters parameters(engine);
    FormDriver form = parameters.open();
    showPage(form, c.page);
    form.focus(c.field);
    form.type(c.field, c.typed);
    form.tab();
    parameters.scenario.wait();
    EXPECT_EQ(parameters.scenario.messages().transcript(), c.transcript);
    if (c.transcript.isEmpty())
        EXPECT_NE(form.focused(), c.field);
    else
        EXPECT_EQ(form.focused(), c.field);
    if (!c.nameLabel.isEmpty()) {
        EXPECT_EQ(form.text(c.nameLabel), c.name);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Costing, ParameterCheck,
    ::testing::Combine(
        ::testing::Values(
            CheckCase{"incidence other than P or C", 0, "Edit_TipIncid1", "X", {"<beep>"}, "", ""},
            CheckCase{"incidence empty", 0, "Edit_TipIncid2", "", {"<beep>"}, "", ""},
            CheckCase{"incidence typed in lower case", 0, "Edit_TipIncid3", "c", {}, "", ""},
            CheckCase{"department not in the list", 0, "Edit_Depart", "Armazém", {}, "", ""},
            CheckCase{"no finished goods warehouse", 2, "Edit_ArmEnt", "0", {}, "Label_ArmEnt", ""},
            CheckCase{"empty raw material warehouse", 2, "Edit_ArmSai", "", {}, "Label_ArmSai", ""},
            CheckCase{
                "unknown warehouse", 2, "Edit_ArmEnt", "7", {"<beep>", "ARMAZÉM INEXISTENTE !!!"}, "Label_ArmEnt", ""},
            CheckCase{"known warehouse", 2, "Edit_ArmSai", "1", {}, "Label_ArmSai", "Produto Acabado"},
            CheckCase{"transaction zero",
                      2,
                      "Edit_TrsEnt",
                      "0",
                      {"<beep>", "Transacção Inexistente ..."},
                      "Label_TrsEnt",
                      ""},
            CheckCase{"issue transaction as entry",
                      2,
                      "Edit_TrsEnt",
                      "20",
                      {"<beep>", "Esta transacção não é de entrada em armazém..."},
                      "Label_TrsEnt",
                      ""},
            CheckCase{"issue transaction as issue", 2, "Edit_TrsSai", "20", {}, "Label_TrsSai", "Consumo de Fabrico"},
            CheckCase{"entry transaction as issue",
                      2,
                      "Edit_TrsSai",
                      "10",
                      {"<beep>", "Esta transacção não é de saída de armazém..."},
                      "Label_TrsSai",
                      ""}),
        ::testing::ValuesIn(engines())),
    caseName<CheckCase>);

class ParametersForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ParametersForm, ShowsTheNamesOfTheStockLinkOnItsPage)
{
    SKIP_WITHOUT(GetParam());
    Parameters parameters(GetParam());
    FormDriver form = parameters.open();
    EXPECT_EQ(form.statusPanel(1), parameters.session.state().WMarca);
    showPage(form, 2);
    EXPECT_EQ(form.text("Label_TrsEnt"), "Entrada de Fabrico");
    EXPECT_EQ(form.text("Label_TrsSai"), "Consumo de Fabrico");
    EXPECT_EQ(form.text("Label_ArmEnt"), "Produto Acabado");
    EXPECT_EQ(form.text("Label_ArmSai"), "Matérias Primas");
}

TEST_P(ParametersForm, CreatesTheMissingRowEmpty)
{
    SKIP_WITHOUT(GetParam());
    Parameters parameters(GetParam());
    parameters.session.application()->exec("DELETE FROM ORCPARGER");
    FormDriver form = parameters.open();
    EXPECT_TRUE(parameters.scenario.messages().transcript().isEmpty());
    EXPECT_EQ(parameters.session.application()->scalar("SELECT COUNT(*) FROM ORCPARGER").toInt(), 1);
    EXPECT_TRUE(parameters.stored("TIPOORCAM").isNull());
    EXPECT_EQ(form.text("Edit_Transporte"), "");
    EXPECT_EQ(parameters.session.dataset("ZURIVAVEZA.ORCPARGER").state(), kv::db::DatasetState::Edit);
}

TEST_P(ParametersForm, WithoutRightsTheRowIsOnlyShown)
{
    SKIP_WITHOUT(GetParam());
    Parameters parameters(GetParam(), false);
    FormDriver form = parameters.open();
    EXPECT_EQ(parameters.scenario.messages().transcript(), QStringList{"INVALID KEY"});
    EXPECT_FALSE(form.isEnabled("Body/Panel1"));
    EXPECT_FALSE(form.isEnabled("BitTerminar"));
    EXPECT_EQ(form.text("Edit_Transporte"), "Por nossa conta");
}

struct CloseCase {
    const char* label;
    bool terminar;
    QString stored;
};

class ParametersClose : public ::testing::TestWithParam<std::tuple<CloseCase, Engine>> {};

TEST_P(ParametersClose, SavesOnlyThroughTerminar)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Parameters parameters(engine);
    FormDriver form = parameters.open();
    form.type("Edit_Transporte", "Cliente levanta");
    if (c.terminar)
        form.click("BitTerminar");
    else
        form.close();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(parameters.stored("TRANSPORTE").toString(), c.stored);
    EXPECT_FALSE(parameters.session.dataset("ZURIVAVEZA.ORCPARGER").isOpen());
}

INSTANTIATE_TEST_SUITE_P(Costing, ParametersClose,
                         ::testing::Combine(::testing::Values(CloseCase{"Terminar", true, "Cliente levanta"},
                                                              CloseCase{"close box", false, "Por nossa conta"}),
                                            ::testing::ValuesIn(engines())),
                         caseName<CloseCase>);

// While the form is open another workstation numbers a quote and a
// production order; Terminar writes the user's change and keeps them.
TEST_P(ParametersForm, TerminarKeepsTheCountersRaisedElsewhere)
{
    SKIP_WITHOUT(GetParam());
    Parameters parameters(GetParam());
    FormDriver form = parameters.open();
    auto other = parameters.session.application();
    other->exec("UPDATE ORCPARGER SET ORCNRO1 = 1251, OFNRO1 = 831 WHERE CODIGO = 1");
    form.type("Edit_Transporte", "Cliente levanta");
    showPage(form, 1);
    form.type("Edit_OrcNro2", "45");
    form.click("BitTerminar");
    EXPECT_TRUE(parameters.scenario.messages().transcript().isEmpty())
        << parameters.scenario.messages().lastText().toStdString();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(parameters.stored("ORCNRO1").toInt(), 1251);
    EXPECT_EQ(parameters.stored("OFNRO1").toInt(), 831);
    EXPECT_EQ(parameters.stored("ORCNRO2").toInt(), 45);
    EXPECT_EQ(parameters.stored("TRANSPORTE").toString(), "Cliente levanta");
}

// The user typed a quote number that another workstation has meanwhile
// passed: the higher number stays, and Terminar says so.
TEST_P(ParametersForm, TerminarTellsOfACounterPassedElsewhere)
{
    SKIP_WITHOUT(GetParam());
    Parameters parameters(GetParam());
    FormDriver form = parameters.open();
    parameters.session.application()->exec("UPDATE ORCPARGER SET ORCNRO2 = 60 WHERE CODIGO = 1");
    showPage(form, 1);
    form.type("Edit_OrcNro2", "45");
    form.click("BitTerminar");
    EXPECT_EQ(parameters.scenario.messages().transcript(),
              QStringList{"Outro posto de trabalho já deu o número 60 do contador ORCNRO2: o contador fica em 60 "
                          "e não em 45."});
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(parameters.stored("ORCNRO2").toInt(), 60);
}

TEST_P(ParametersForm, LookupsTakeTheRowChosenWithOkAndNothingOnCancel)
{
    SKIP_WITHOUT(GetParam());
    Parameters parameters(GetParam());
    FormDriver form = parameters.open();
    form.focus("Edit_Depart");
    EXPECT_EQ(form.statusPanel(0), "Tecla <INS> Localizar Departamento");
    const QString before = form.text("Edit_Depart");
    parameters.scenario.onDialog([](FormDriver& dialog) {
        dialog.clickRow("Grid", 1);
        dialog.click("CancelBtn");
    });
    form.insert();
    parameters.scenario.wait();
    EXPECT_EQ(form.text("Edit_Depart"), before);
    parameters.scenario.onDialog([](FormDriver& dialog) {
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    form.insert();
    parameters.scenario.wait();
    EXPECT_EQ(form.text("Edit_Depart"), "Manutenção");

    showPage(form, 2);
    form.focus("Edit_ArmEnt");
    parameters.scenario.onDialog([](FormDriver& dialog) {
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    form.insert();
    parameters.scenario.wait();
    EXPECT_EQ(form.text("Edit_ArmEnt"), "2");
    EXPECT_EQ(form.text("Label_ArmEnt"), "Matérias Primas");
    form.click("BitTerminar");
    EXPECT_EQ(parameters.stored("DEPARTAMENTO").toString(), "Manutenção");
    EXPECT_EQ(parameters.stored("ARM_ENTRADA").toInt(), 2);
}

INSTANTIATE_TEST_SUITE_P(Costing, ParametersForm, ::testing::ValuesIn(engines()), kv::test::engineTestName);

} // namespace
