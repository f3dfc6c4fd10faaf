// The fixed costs (TORCF012) and subcontracts (TORCF016) forms: both open
// only over the general costing parameters' row 1; the fixed costs' "S"/"N"
// flags, the subcontracts' accessory mark and calculation unit, their keys
// and their lists.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

#include "costing/forms/CodeTableForm.h"
#include "shell/VersionUpdate.h"

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// A company as the login leaves it: brought to the program's version (the
// subcontracts table comes from a version step), with the general
// parameters' row 1 unless told otherwise, and two rows in each table.
struct ChargeTables {
    kv::test::Scenario scenario;
    CostingSession session;

    ChargeTables(Engine engine, bool parameterRow = true) : session(scenario, engine)
    {
        kv::shell::VersionUpdate update(*session.environment().application(), session.state());
        update.readRecordedVersion();
        EXPECT_EQ(update.run(), "");
        session.environment().modules().refreshUpdateStatements();
        session.removeParameterRow();
        if (parameterRow)
            session.application()->exec("INSERT INTO ORCPARGER (CODIGO) VALUES (1)");
        session.grant("Custos Fixos", "S");
        session.grant("Subcontratos", "S");
        kv::test::insertRows(*session.application(), "CUSTFIXOS",
                             {"CODIGO", "DESIGNACAO", "PRECO", "SERVTERC", "CEV", "EXTRACEV", "LUCROBRUTO", "MATPRIMA",
                              "MAOOBRA", "EMBALAGEM", "PRODSUBSID"},
                             {{1, "Cunho de gravação", 85, "S", "X", "Y", "S", "N", "N", "N", "S"},
                              {2, "Arte final", 40, "N", QVariant(), QVariant(), "N", "N", "S", "N", "N"}});
        kv::test::insertRows(*session.application(), "SUBCONTRATO",
                             {"CODIGO", "DESIGNACAO", "PRECO", "GRS_M2", "ACESSORIO", "UNIDADE"},
                             {{1, "Plastificação exterior", 0.18, QVariant(), "N", "M2"},
                              {2, "Pega de cordão", 35, QVariant(), "S", "MIL"}});
    }

    FormDriver open(const QString& formClass)
    {
        FormDriver form = scenario.open(formClass);
        scenario.wait();
        return form;
    }

    // The first row of the grid, being edited.
    FormDriver editFirstRow(const QString& formClass)
    {
        FormDriver form = open(formClass);
        form.clickRow("DBGrid1", 0);
        form.focus("Edit_Designacao");
        scenario.wait();
        return form;
    }
};

// ------------------------------------------------------------------ the parameter row

struct FormCase {
    const char* label;
    const char* formClass;
};

class GeneralParametersRow : public ::testing::TestWithParam<std::tuple<FormCase, Engine>> {};

TEST_P(GeneralParametersRow, TheFormSaysSoAndCloses)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    ChargeTables tables(engine, false);
    FormDriver form = tables.open(c.formClass);
    tables.scenario.wait();
    EXPECT_EQ(tables.scenario.messages().transcript(),
              (QStringList{"<beep>", "Parâmetros Gerais não estão Definidos !!"}));
    EXPECT_FALSE(form.isOpen());
}

TEST_P(GeneralParametersRow, OpensOverRowOne)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    ChargeTables tables(engine);
    FormDriver form = tables.open(c.formClass);
    EXPECT_TRUE(form.isOpen());
    EXPECT_TRUE(tables.scenario.messages().transcript().isEmpty());
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    form.close();
    // The form reads nothing from the row and leaves the parameters open.
    EXPECT_TRUE(tables.session.dataset("ZURIVAVEZA.ORCPARGER").isOpen());
}

INSTANTIATE_TEST_SUITE_P(Costing, GeneralParametersRow,
                         ::testing::Combine(::testing::Values(FormCase{"fixed costs", "TORCF012"},
                                                              FormCase{"subcontracts", "TORCF016"}),
                                            ::testing::ValuesIn(engines())),
                         caseName<FormCase>);

// ------------------------------------------------------------------ keys

struct ParameterKeyCase {
    const char* label;
    const char* formClass;
    QString typed;
    QStringList transcript;
    QString focus;
};

class ChargeTableKey : public ::testing::TestWithParam<std::tuple<ParameterKeyCase, Engine>> {};

TEST_P(ChargeTableKey, IsCheckedAgainstTheKeyColumn)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    ChargeTables tables(engine);
    FormDriver form = tables.open(c.formClass);
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "3");
    form.type("Edit_Codigo", c.typed);
    form.enter();
    tables.scenario.wait();
    EXPECT_EQ(tables.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

const QStringList ParameterInvalidCode{"<beep>", "Codigo Inválido ... <ENTER>"};

INSTANTIATE_TEST_SUITE_P(
    Costing, ChargeTableKey,
    ::testing::Combine(
        ::testing::Values(
            ParameterKeyCase{"fixed cost above 16 bits", "TORCF012", "40000", ParameterInvalidCode, "Edit_Codigo"},
            ParameterKeyCase{"fixed cost free", "TORCF012", "7", {}, "Edit_Designacao"},
            ParameterKeyCase{"subcontract of 32 bits", "TORCF016", "40000", {}, "Edit_Designacao"},
            ParameterKeyCase{"subcontract above the bounds", "TORCF016", "1000000", ParameterInvalidCode, "Edit_Codigo"},
            ParameterKeyCase{"subcontract taken", "TORCF016", "2", {"<beep>", "REGISTO JÁ FOI ABERTO ... <ENTER>"}, "DBGrid1"}),
        ::testing::ValuesIn(engines())),
    caseName<ParameterKeyCase>);

// ------------------------------------------------------------------ field checks

struct ParameterFieldCase {
    const char* label;
    const char* formClass;
    QString field;
    QString typed;
    QStringList transcript; // empty: the field is left
    QString focus = {}; // where the focus goes when refused: the field itself when empty
};

class ChargeTableField : public ::testing::TestWithParam<std::tuple<ParameterFieldCase, Engine>> {};

TEST_P(ChargeTableField, KeepsTheUserUntilTheTextPasses)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    ChargeTables tables(engine);
    FormDriver form = tables.editFirstRow(c.formClass);
    form.focus(c.field);
    form.type(c.field, c.typed);
    form.tab();
    tables.scenario.wait();
    EXPECT_EQ(tables.scenario.messages().transcript(), c.transcript);
    if (c.transcript.isEmpty())
        EXPECT_NE(form.focused(), c.field);
    else
        EXPECT_EQ(form.focused(), c.focus.isEmpty() ? c.field : c.focus);
}

const QStringList NoDesignation{"<beep>", "Designação Inválida !!!"};
const QStringList FlagRefused{"<beep>", "Digite [S] ou [N] !!!"};
const QStringList AccessoryRefused{"<beep>", "Digite S ou N "};
const QStringList UnknownUnit{"Insira a unidade de cálculo para o subcontrato ..."};

INSTANTIATE_TEST_SUITE_P(
    Costing, ChargeTableField,
    ::testing::Combine(
        ::testing::Values(ParameterFieldCase{"fixed cost without designation", "TORCF012", "Edit_Designacao", "", NoDesignation},
                          ParameterFieldCase{"fixed cost without price", "TORCF012", "Edit_CustoFixo", "", {}},
                          ParameterFieldCase{"third parties yes", "TORCF012", "Edit_ServTerc", "S", {}},
                          ParameterFieldCase{"third parties lower case", "TORCF012", "Edit_ServTerc", "s", FlagRefused},
                          ParameterFieldCase{"third parties empty", "TORCF012", "Edit_ServTerc", "", FlagRefused},
                          ParameterFieldCase{"third parties other letter", "TORCF012", "Edit_ServTerc", "X", FlagRefused},
                          ParameterFieldCase{"repeats left empty", "TORCF012", "DBEdit1", "", {}},
                          ParameterFieldCase{"raw material lower case", "TORCF012", "Edit_MatPrima", "s", FlagRefused},
                          ParameterFieldCase{"packaging empty", "TORCF012", "Edit_Embalagem", "", FlagRefused},
                          ParameterFieldCase{"labour no", "TORCF012", "Edit_MaoObra", "N", {}},
                          ParameterFieldCase{"subsidiary other letter", "TORCF012", "Edit_ProdSubsid", "1", FlagRefused},
                          ParameterFieldCase{"subcontract without designation", "TORCF016", "Edit_Designacao", "",
                                    NoDesignation},
                          ParameterFieldCase{"accessory lower case", "TORCF016", "Edit_Acessorio", "n", AccessoryRefused},
                          ParameterFieldCase{"accessory empty", "TORCF016", "Edit_Acessorio", "", AccessoryRefused},
                          ParameterFieldCase{"accessory yes", "TORCF016", "Edit_Acessorio", "S", {}},
                          ParameterFieldCase{"unit in small letters", "TORCF016", "Edit_UndCalc", "kg", UnknownUnit},
                          ParameterFieldCase{"unit unknown", "TORCF016", "Edit_UndCalc", "CX", UnknownUnit},
                          ParameterFieldCase{"unit empty", "TORCF016", "Edit_UndCalc", "", UnknownUnit},
                          ParameterFieldCase{"kilograms without consumption",
                                    "TORCF016",
                                    "Edit_UndCalc",
                                    "KG",
                                    {"Não inseriu o consumo p/ M2"},
                                    "Edit_GrsM2"},
                          ParameterFieldCase{"per thousand", "TORCF016", "Edit_UndCalc", "MIL", {}},
                          ParameterFieldCase{"per piece", "TORCF016", "Edit_UndCalc", "UND", {}}),
        ::testing::ValuesIn(engines())),
    caseName<ParameterFieldCase>);

// Only some labels light up while their field has the focus: the repeats
// mark, the accessory mark and the consumption keep the form colour.
struct LabelCase {
    const char* label;
    const char* formClass;
    QString field;
    QString caption; // the label beside the field
    bool lightsUp;
};

class ChargeTableLabel : public ::testing::TestWithParam<std::tuple<LabelCase, Engine>> {};

TEST_P(ChargeTableLabel, LightsUpOnEntryOnlyWhereItShould)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    ChargeTables tables(engine);
    FormDriver form = tables.editFirstRow(c.formClass);
    const QColor normal = form.colour(c.caption);
    form.focus(c.field);
    tables.scenario.wait();
    ASSERT_EQ(form.focused(), c.field);
    EXPECT_EQ(form.colour(c.caption) != normal, c.lightsUp);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, ChargeTableLabel,
    ::testing::Combine(
        ::testing::Values(LabelCase{"fixed cost price", "TORCF012", "Edit_CustoFixo", "Label_CustoFixo", true},
                          LabelCase{"third parties", "TORCF012", "Edit_ServTerc", "Label_ServTerc", true},
                          LabelCase{"repeats mark", "TORCF012", "DBEdit1", "Label_DBEdit1", false},
                          LabelCase{"accessory mark", "TORCF016", "Edit_Acessorio", "Label_Acessorio", false},
                          LabelCase{"subcontract price", "TORCF016", "Edit_CustoFixo", "Label_CustoFixo", true},
                          LabelCase{"consumption", "TORCF016", "Edit_GrsM2", "Label_GrsM2", false},
                          LabelCase{"unit", "TORCF016", "Edit_UndCalc", "Label_UndCalc", true}),
        ::testing::ValuesIn(engines())),
    caseName<LabelCase>);

// "KG" passes once a consumption is typed, "0" included, and the row is saved
// with it on the return to the grid.
TEST(SubcontractUnit, KilogramsWithAConsumptionTypedAreSaved)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        ChargeTables tables(engine);
        FormDriver form = tables.editFirstRow("TORCF016");
        form.type("Edit_GrsM2", "0");
        form.type("Edit_UndCalc", "KG");
        form.enter();
        tables.scenario.wait();
        EXPECT_TRUE(tables.scenario.messages().transcript().isEmpty()) << engineName(engine);
        const auto rows =
            tables.session.application()->query("SELECT GRS_M2, UNIDADE FROM SUBCONTRATO WHERE CODIGO = 1");
        ASSERT_EQ(rows.rows.size(), 1u);
        EXPECT_EQ(rows.value(0, "UNIDADE").toString(), "KG") << engineName(engine);
        EXPECT_EQ(rows.value(0, "GRS_M2").toDouble(), 0.0) << engineName(engine);
    }
}

// ------------------------------------------------------------------ saving

// A new fixed cost keeps the columns the form does not show as the row held
// them, and an edited one keeps CEV and EXTRACEV.
TEST(FixedCosts, AnEditedRowKeepsTheColumnsTheFormDoesNotShow)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        ChargeTables tables(engine);
        FormDriver form = tables.editFirstRow("TORCF012");
        form.type("Edit_Designacao", "Cunho de gravação a quente");
        form.focus("DBGrid1");
        tables.scenario.wait();
        const auto rows = tables.session.application()->query(
            "SELECT DESIGNACAO, CEV, EXTRACEV, LUCROBRUTO FROM CUSTFIXOS WHERE CODIGO = 1");
        ASSERT_EQ(rows.rows.size(), 1u);
        EXPECT_EQ(rows.value(0, "DESIGNACAO").toString(), "Cunho de gravação a quente");
        EXPECT_EQ(rows.value(0, "CEV").toString(), "X");
        EXPECT_EQ(rows.value(0, "EXTRACEV").toString(), "Y");
        EXPECT_EQ(rows.value(0, "LUCROBRUTO").toString(), "S");
    }
}

// Enter on "Excluido em Repetições ?" returns to the grid and saves the row
// without passing through the cost class flags.
TEST(FixedCosts, EnterOnTheRepeatsMarkSaves)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        ChargeTables tables(engine);
        FormDriver form = tables.editFirstRow("TORCF012");
        form.type("DBEdit1", "N");
        form.enter();
        tables.scenario.wait();
        EXPECT_EQ(form.focused(), "DBGrid1") << engineName(engine);
        EXPECT_EQ(tables.session.application()->scalar("SELECT LUCROBRUTO FROM CUSTFIXOS WHERE CODIGO = 1").toString(),
                  "N")
            << engineName(engine);
    }
}

// ------------------------------------------------------------------ lists

struct ParameterListCase {
    const char* label;
    const char* formClass;
    bool alphabetic;
    QStringList titles; // the column header
    QStringList firstLine; // the first detail line
};

QStringList nthBandTexts(const kv::report::Document& document, kv::report::BandKind kind, int which = 0)
{
    QStringList texts;
    int seen = 0;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kind && seen++ == which)
                for (const auto& item : band.items)
                    texts << item.text;
    return texts;
}

class ChargeTableList : public ::testing::TestWithParam<std::tuple<ParameterListCase, Engine>> {};

TEST_P(ChargeTableList, PrintsEveryColumnOfTheRows)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    ChargeTables tables(engine);
    FormDriver form = tables.open(c.formClass);
    const kv::report::Document document = printList(tables.scenario, form, c.alphabetic);
    EXPECT_EQ(nthBandTexts(document, kv::report::BandKind::ColumnHeader), c.titles);
    EXPECT_EQ(nthBandTexts(document, kv::report::BandKind::Detail), c.firstLine);
    // The form lists its table by code again.
    EXPECT_EQ(form.gridCell("DBGrid1", 0, 0), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Costing, ChargeTableList,
    ::testing::Combine(::testing::Values(ParameterListCase{"fixed costs by designation",
                                                  "TORCF012",
                                                  true,
                                                  {"Código", "Designação do artigo", "Preco", "Serv.Terc.", "Mát.Prima",
                                                   "Embalagem", "Mão Obra", "Prod.Subsid.", "Exc.Repetições "},
                                                  {"2", "Arte final", "40,00 €", "N", "N", "N", "S", "N", "N"}},
                                         ParameterListCase{"subcontracts by code",
                                                  "TORCF016",
                                                  false,
                                                  {"Código", "Designação do artigo", "Preco", "Un", "Consumo Grs/M2",
                                                   "Acessório"},
                                                  {"1", "Plastificação exterior", "0,18 €", "M2", "", "N"}}),
                       ::testing::ValuesIn(engines())),
    caseName<ParameterListCase>);

} // namespace
