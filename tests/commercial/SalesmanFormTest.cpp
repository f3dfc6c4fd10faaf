// The commission rates and the salesmen file driven as a user would: keys,
// field checks with what they name and copy, the stamp of a change, the
// checks before an apply, the Insert lookups and the objectives' button.
#include "commercial/SalesForce.h"

#include "platform/db/Connection.h"
#include "support/ScriptedMessages.h"

using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

// ------------------------------------------------------------------ keys

struct KeyCase {
    const char* label;
    const char* form;
    QString typed;
    QStringList transcript;
    QString focus;
};

class SalesKey : public ::testing::TestWithParam<std::tuple<KeyCase, Engine>> {};

TEST_P(SalesKey, IsCheckedWhenTheKeyEditIsLeft)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    SalesForce s(engine);
    FormDriver form = s.scenario.open(c.form);
    form.click("BotInserir");
    form.type("Edit_Codigo", c.typed);
    form.enter();
    s.scenario.settle();
    EXPECT_EQ(s.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    SalesForce, SalesKey,
    ::testing::Combine(
        ::testing::Values(
            KeyCase{"rate taken", "TFACF004", "1", refused("CÓDIGO DE COMISSÃO JÁ EXISTE ... <ENTER>"), "DBGrid1"},
            KeyCase{"rate above its range", "TFACF004", "1000", refused("DIGITE DE [1] a [999]"), "Edit_Codigo"},
            KeyCase{"rate not a whole number", "TFACF004", "2,5", refused("DIGITE DE [1] a [999]"), "Edit_Codigo"},
            KeyCase{"rate free", "TFACF004", "7", {}, "Edit_PrcCom"},
            KeyCase{"salesman empty", "TFACF030", "", {Beep}, "Edit_Codigo"},
            KeyCase{"salesman zero", "TFACF030", "0", refused("Digite de [1] a [99999]"), "Edit_Codigo"},
            KeyCase{"salesman above its range", "TFACF030", "100000", refused("Digite de [1] a [99999]"),
                    "Edit_Codigo"},
            KeyCase{"salesman taken", "TFACF030", "1", refused("Vendedor já foi aberto ... <ENTER>"), "DBGrid1"},
            KeyCase{"salesman free", "TFACF030", "99999", {}, "Edit_Nome"}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<KeyCase>);

class CommissionRates : public ::testing::TestWithParam<Engine> {};

TEST_P(CommissionRates, AreProposedFromTheLastCode)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = s.scenario.open("TFACF004");
    form.click("BotInserir");
    s.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), "3");
    // A duplicate leaves no new row behind.
    form.type("Edit_Codigo", "2");
    form.enter();
    s.scenario.settle();
    form.close();
    s.scenario.settle();
    EXPECT_EQ(s.count("SELECT COUNT(*) FROM COMISSOES"), 2);
}

TEST_P(CommissionRates, CannotBeLeftWithoutAPercentage)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = s.scenario.open("TFACF004");
    form.click("BotInserir");
    form.type("Edit_Codigo", "7");
    form.enter();
    form.type("Edit_PrcCom", "");
    form.enter();
    s.scenario.settle();
    EXPECT_EQ(s.scenario.messages().transcript(), refused("% COMISSÃO INVÁLIDA INVÁLIDA ..."));
    EXPECT_EQ(form.focused(), "Edit_PrcCom");
    form.type("Edit_PrcCom", "4,5");
    form.enter();
    s.scenario.settle();
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_DOUBLE_EQ(s.value("SELECT PRCCOM FROM COMISSOES WHERE CODIGO = 7").toDouble(), 4.5);
}

// Without the right to insert nothing can be typed, and leaving the grid
// starts no edit: the grid keeps the focus.
TEST_P(CommissionRates, AreOnlyViewedWithoutTheRightToInsert)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    s.grant(QStringLiteral("Tabelas"), QStringLiteral("Comissoes"), QStringLiteral("N"), QStringLiteral("S"),
            QStringLiteral("N"));
    FormDriver form = s.scenario.open("TFACF004");
    s.scenario.settle();
    EXPECT_FALSE(form.isVisible("BotInserir"));
    EXPECT_FALSE(form.isVisible("BotCancelar"));
    EXPECT_FALSE(form.isVisible("BotPrint"));
    EXPECT_TRUE(form.isVisible("BotDelete"));
    EXPECT_FALSE(form.isEnabled("Edit_Codigo"));
    EXPECT_FALSE(form.isEnabled("Edit_PrcCom"));
    form.focus("DBGrid1");
    form.enter();
    s.scenario.settle();
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_TRUE(s.scenario.messages().transcript().isEmpty());
}

// A rate the salesmen still name is deleted all the same; the salesman then
// shows no percentage beside its code.
TEST_P(CommissionRates, StillNamedBySalesmenAreDeleted)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver rates = s.scenario.open("TFACF004");
    s.scenario.messages().answer(true);
    rates.click("BotDelete");
    s.scenario.settle();
    rates.close();
    s.scenario.settle();
    EXPECT_EQ(s.count("SELECT COUNT(*) FROM COMISSOES WHERE CODIGO = 1"), 0);
    FormDriver salesmen = s.scenario.open("TFACF030");
    s.scenario.settle();
    EXPECT_EQ(salesmen.text("Edit_Comissao"), "1");
    EXPECT_EQ(salesmen.text("Edit_PrcCom"), "");
}

KV_ENGINE_SUITE(CommissionRates);

// ------------------------------------------------------------------ salesmen's fields

// The salesmen file with a new salesman 5 begun: the focus in his name.
FormDriver newSalesman(SalesForce& s)
{
    FormDriver form = s.scenario.open("TFACF030");
    form.click("BotInserir");
    form.type("Edit_Codigo", "5");
    form.enter();
    s.scenario.settle();
    return form;
}

struct FieldCase {
    const char* label;
    std::vector<std::pair<QString, QString>> typed; // after key 5 and the name; each left with Enter
    QStringList transcript;
    QString focus;
    std::vector<std::pair<QString, QString>> shown; // control, text
};

class SalesmanField : public ::testing::TestWithParam<std::tuple<FieldCase, Engine>> {};

TEST_P(SalesmanField, IsCheckedAndNamed)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    SalesForce s(engine);
    FormDriver form = newSalesman(s);
    s.scenario.settle();
    for (const auto& [field, text] : c.typed) {
        form.type(field, text);
        form.enter();
        s.scenario.settle();
    }
    EXPECT_EQ(s.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    for (const auto& [control, text] : c.shown)
        EXPECT_EQ(form.text(control), text) << control.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    SalesForce, SalesmanField,
    ::testing::Combine(
        ::testing::Values(
            FieldCase{"name empty", {{"Edit_Nome", ""}}, {Beep}, "Edit_Nome", {}},
            FieldCase{"postal code unknown",
                      {{"Edit_Nome", "Ana"}, {"Edit_CodPostal", "9999-999"}},
                      {Beep},
                      "Edit_CodPostal",
                      {{"Edit_CodPostal", ""}, {"Edit_Localidade", ""}}},
            FieldCase{
                "postal code empty", {{"Edit_Nome", "Ana"}, {"Edit_CodPostal", ""}}, {Beep}, "Edit_CodPostal", {}},
            FieldCase{"postal code with its area",
                      {{"Edit_Nome", "Ana"}, {"Edit_CodPostal", "3800-160"}},
                      {},
                      "Edit_SiglaNif",
                      {{"Edit_Localidade", "AVEIRO"}, {"Edit_TelCodZona", "234"}}},
            FieldCase{"manager flag refused", {{"Edit_Nome", "Ana"}, {"Edit_Chefe", "X"}}, {Beep}, "Edit_Chefe", {}},
            FieldCase{"manager flag made capital",
                      {{"Edit_Nome", "Ana"}, {"Edit_Chefe", "s"}},
                      {},
                      "Edit_ChefeNro",
                      {{"Edit_Chefe", "S"}}},
            FieldCase{"rate empty",
                      {{"Edit_Nome", "Ana"}, {"Edit_Comissao", ""}},
                      {},
                      "Edit_RedComissao",
                      {{"Edit_PrcCom", ""}}},
            FieldCase{"rate unknown",
                      {{"Edit_Nome", "Ana"}, {"Edit_Comissao", "9"}},
                      {Beep},
                      "Edit_Comissao",
                      {{"Edit_PrcCom", ""}}},
            FieldCase{"rate with its percentage",
                      {{"Edit_Nome", "Ana"}, {"Edit_Comissao", "2"}},
                      {},
                      "Edit_RedComissao",
                      {{"Edit_PrcCom", "5"}}}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<FieldCase>);

class Salesmen : public ::testing::TestWithParam<Engine> {};

TEST_P(Salesmen, NewOneHasDefaultsAndNoStamp)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = s.scenario.open("TFACF030");
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "");
    form.type("Edit_Codigo", "5");
    form.enter();
    form.type("Edit_Nome", "Ana");
    form.type("Edit_CodPostal", "3800-160");
    form.enter();
    // Not a click, which would pick the line under the mouse.
    form.find<QWidget>("DBGrid1")->setFocus();
    s.scenario.settle();
    EXPECT_TRUE(s.scenario.messages().transcript().isEmpty());
    const auto rows = s.scenario.rows(s.session.invoicing(),
                                      "SELECT CHEFE, REDCOMISSAO, TELCODZONA, DATAABERTURA, DTULTALTER, UTILALTER "
                                      "FROM VENDEDORES WHERE CODIGO = 5");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.value(0, "CHEFE").toString(), "N");
    EXPECT_EQ(rows.value(0, "REDCOMISSAO").toString(), "N");
    EXPECT_EQ(rows.value(0, "TELCODZONA").toString(), "234");
    EXPECT_EQ(rows.value(0, "DATAABERTURA").toDateTime().date(), QDate::currentDate());
    EXPECT_TRUE(rows.value(0, "DTULTALTER").isNull());
    EXPECT_TRUE(rows.value(0, "UTILALTER").isNull());
    // The grid stands on him.
    EXPECT_EQ(form.text("Edit_Codigo"), "5");
}

TEST_P(Salesmen, AreStampedOnMereEntry)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = s.scenario.open("TFACF030");
    form.focus("DBGrid1");
    form.enter();
    s.scenario.settle();
    EXPECT_EQ(form.focused(), "Edit_Nome");
    form.focus("DBGrid1");
    s.scenario.settle();
    EXPECT_EQ(s.value("SELECT UTILALTER FROM VENDEDORES WHERE CODIGO = 1").toString(), s.session.state().WUtil);
    EXPECT_EQ(s.value("SELECT DTULTALTER FROM VENDEDORES WHERE CODIGO = 1").toDateTime().date(), QDate::currentDate());
}

// Cancelar leaves an empty name unchecked, and nothing is written.
TEST_P(Salesmen, CancelledLeaveNoCheckAndNoRow)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = newSalesman(s);
    s.scenario.settle();
    EXPECT_FALSE(form.isEnabled("BotComVend"));
    form.click("BotCancelar");
    s.scenario.settle();
    EXPECT_TRUE(s.scenario.messages().transcript().isEmpty());
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_TRUE(form.isEnabled("BotComVend"));
    form.close();
    s.scenario.settle();
    EXPECT_EQ(s.count("SELECT COUNT(*) FROM VENDEDORES"), 1);
}

// A row is not applied past a field it was never checked in: not by a
// return to the grid, not by the close box.
TEST_P(Salesmen, UncheckedAreNotApplied)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = newSalesman(s);
    form.type("Edit_Nome", "Ana");
    form.focus("DBGrid1");
    s.scenario.settle();
    EXPECT_EQ(s.scenario.messages().transcript(), QStringList{Beep});
    EXPECT_EQ(form.focused(), "Edit_CodPostal");
    form.close();
    s.scenario.settle();
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(s.count("SELECT COUNT(*) FROM VENDEDORES"), 1);
}

// Without the right to insert, existing salesmen can still be changed.
TEST_P(Salesmen, AreChangedWithoutTheRightToInsert)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    s.grant(QStringLiteral("Ficheiros Base"), QStringLiteral("Vendedores"), QStringLiteral("N"), QStringLiteral("N"),
            QStringLiteral("N"));
    FormDriver form = s.scenario.open("TFACF030");
    s.scenario.settle();
    EXPECT_FALSE(form.isVisible("BotInserir"));
    EXPECT_FALSE(form.isVisible("BotDelete"));
    EXPECT_TRUE(form.isEnabled("Edit_Codigo"));
    EXPECT_TRUE(form.isVisible("BotComVend"));
    form.focus("DBGrid1");
    form.enter();
    form.type("Edit_Nome", "Rui Marques");
    form.focus("DBGrid1");
    s.scenario.settle();
    EXPECT_EQ(s.value("SELECT NOME FROM VENDEDORES WHERE CODIGO = 1").toString(), "Rui Marques");
}

KV_ENGINE_SUITE(Salesmen);

// The Insert key's lists: OK takes the row chosen, Cancel changes nothing.
struct LookupCase {
    const char* label;
    const char* field;
    const char* search;
    const char* button;
    const char* companion;
    QString code;
    QString named;
};

class SalesmanLookup : public ::testing::TestWithParam<std::tuple<LookupCase, Engine>> {};

TEST_P(SalesmanLookup, TakesOnlyWhatIsChosen)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    SalesForce s(engine);
    FormDriver form = s.scenario.open("TFACF030");
    form.focus("DBGrid1");
    form.enter();
    form.focus(c.field);
    s.scenario.settle();
    s.scenario.onDialog([&](FormDriver& lookup) {
        lookup.type("SearchText", c.search);
        lookup.clickButton(c.button);
    });
    form.insert();
    s.scenario.settle();
    EXPECT_EQ(form.text(c.field), c.code);
    EXPECT_EQ(form.text(c.companion), c.named);
}

INSTANTIATE_TEST_SUITE_P(
    SalesForce, SalesmanLookup,
    ::testing::Combine(::testing::Values(LookupCase{"postal code chosen", "Edit_CodPostal", "3800", "OK",
                                                    "Edit_Localidade", "3800-160", "AVEIRO"},
                                         LookupCase{"postal code cancelled", "Edit_CodPostal", "3800", "Cancelar",
                                                    "Edit_Localidade", "4000-123", "PORTO"},
                                         LookupCase{"rate chosen", "Edit_Comissao", "2", "OK", "Edit_PrcCom", "2", "5"},
                                         LookupCase{"rate cancelled", "Edit_Comissao", "2", "Cancelar", "Edit_PrcCom",
                                                    "1", "2,5"}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<LookupCase>);

// "&Quota Anual" opens the objectives of the salesman the grid stands on.
class SalesmanObjectives : public ::testing::TestWithParam<Engine> {};

TEST_P(SalesmanObjectives, AreOpenedForTheCurrentSalesman)
{
    KV_SKIP_WITHOUT(GetParam());
    SalesForce s(GetParam());
    FormDriver form = s.scenario.open("TFACF030");
    s.scenario.settle();
    EXPECT_FALSE(form.isVisible("BotPrint")); // a file without a list report
    QString code, name, heading;
    s.scenario.onDialog([&](FormDriver& objectives) {
        s.scenario.settle();
        code = objectives.text("Edit_VndNro");
        name = objectives.text("Label_VndNome");
        heading = objectives.text("Label_Objectivo");
        objectives.close();
    });
    form.click("BotComVend");
    s.scenario.settle();
    EXPECT_EQ(code, "1");
    EXPECT_EQ(name, "Rui");
    EXPECT_EQ(heading, "Objectivo Mensal de Vendas para o Ano " + s.session.state().WAno);
    EXPECT_TRUE(s.session.dataset(QStringLiteral("DTTABELAS.COMISSOES")).isOpen());
}

KV_ENGINE_SUITE(SalesmanObjectives);

} // namespace
