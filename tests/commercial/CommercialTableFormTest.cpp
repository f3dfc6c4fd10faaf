// The commercial table form's members driven as a user would: keys typed
// and proposed, field checks, what the returns to the grid and the close
// apply, the side doors of the postal codes, rights and the list reports.
#include "commercial/CommercialSession.h"

#include "commercial/forms/CommercialListReport.h"
#include "commercial/forms/CommercialMembers.h"
#include "platform/report/Document.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/SideDoor.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QDialog>
#include <memory>

using namespace kv::commercial;
using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

const QString Beep = QStringLiteral("<beep>");

// A company whose commercial tables hold a few rows, with every right on them.
struct Tables {
    explicit Tables(Engine engine) : session(scenario, engine)
    {
        session.grantAll();
        kv::db::Connection& inv = *session.invoicing();
        kv::test::insertRows(inv, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS", "REGIAO", "PROVINCIA"},
                             {{"4000-123", "PORTO", "PORTUGAL", "NORTE", "PORTO"}});
        kv::test::insertRows(inv, "REGIOES", {"REGIAO"}, {{"CENTRO"}, {"NORTE"}});
        kv::test::insertRows(inv, "PROVINCIAS", {"PROVINCIA"}, {{"PORTO"}});
        kv::test::insertRows(inv, "ZONAGEOGRAF", {"ZONAGEOGRAF"}, {{"LITORAL"}});
        kv::test::insertRows(inv, "PAISES", {"PAIS", "SIGLA", "MERCADO"}, {{"PORTUGAL", "PT", "N"}});
        kv::test::insertRows(inv, "CNDPGT", {"CODIGO", "NRDIAS", "TIPDOC", "VENCDOC", "DESCRI"},
                             {{1, 30.0, "C", "F", "30 dias"}});
        kv::test::insertRows(inv, "FORMAS", {"FORMA", "DESIGNFORMA"}, {{"EXW", "À porta"}});
        kv::test::insertRows(inv, "METEXPEDICAO", {"METEXPEDICAO", "TIPO", "PERCUSTO"},
                             {{"CAMIAO", "3", 2.5}, {"PONTE", "6", 1.0}});
        kv::test::insertRows(inv, "DESCMERC", {"CODIGO", "DESC01", "DESCRI"}, {{1, 5.0, "Cinco"}});
        kv::test::insertRows(inv, "RAMOACTIV", {"RAMOACTIV"}, {{"ALIMENTAR"}});
        kv::test::insertRows(inv, "ARTGCOMP", {"CODIGO", "DESIGNACAO"}, {{1, "Cartão canelado"}});
        kv::test::insertRows(inv, "PPAUTAL", {"CODIGO", "DESIGN", "MLIQUIDA"}, {{"4819100000", "Caixas", "S"}});
        kv::test::insertRows(*session.accounting(), "CNTPMOEDA", {"ANO", "DESCRI", "CAMBEURO"},
                             {{session.state().WAno, "EUR", 1.0}, {QStringLiteral("1999"), "USD", 0.9}});
    }

    int count(kv::db::Connection& db, const QString& sql, const kv::db::Params& params = {})
    {
        return db.scalar(sql, params).toInt();
    }

    kv::test::Scenario scenario;
    CommercialSession session;
};

// ------------------------------------------------------------------ keys

struct KeyCase {
    const char* label;
    const char* form;
    QString typed;
    QStringList transcript;
    QString focus;
};

class TypedKey : public ::testing::TestWithParam<std::tuple<KeyCase, Engine>> {};

TEST_P(TypedKey, IsCheckedWhenTheKeyEditIsLeft)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Tables t(engine);
    const CommercialTableDescription& member =
        *std::find_if(commercialTableMembers().begin(), commercialTableMembers().end(),
                      [&](const CommercialTableDescription& m) { return m.formClass == QLatin1String(c.form); });
    FormDriver form = t.scenario.open(c.form);
    form.click("BotInserir");
    form.type(member.keyEdit, c.typed);
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(t.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

QStringList refused(const char* message) { return {Beep, QString::fromUtf8(message)}; }

INSTANTIATE_TEST_SUITE_P(
    Commercial, TypedKey,
    ::testing::Combine(
        ::testing::Values(
            KeyCase{"empty", "TFACF007", "", {Beep}, "Edit_Provincia"},
            KeyCase{"postal code taken", "TFACF008", "4000-123", refused("CÓDIGO POSTAL JÁ EXISTE ... <ENTER>"),
                    "DBGrid1"},
            // The edit keeps the column's eight characters: the code stored is the one compared.
            KeyCase{"postal code longer than its column", "TFACF008", "4000-1234",
                    refused("CÓDIGO POSTAL JÁ EXISTE ... <ENTER>"), "DBGrid1"},
            KeyCase{"new postal code", "TFACF008", "4100-001", {}, "Edit_Localidade"},
            KeyCase{"region taken", "TFACF006", "NORTE", refused("REGIÃO JÁ FOI ABERTA ... <ENTER>"), "DBGrid1"},
            KeyCase{"zone taken", "TFACF007A", "LITORAL", refused("Zona Geográfica já Existe ... <ENTER>"), "DBGrid1"},
            KeyCase{"sector taken", "TFACF004A", "ALIMENTAR", refused("Ramo de Actividade já Existe ... <ENTER>"),
                    "DBGrid1"},
            KeyCase{"discount above its range", "TFACF002", "1000", refused("DIGITE DE [1] a [999]"), "Edit_Codigo"},
            KeyCase{"discount not a whole number", "TFACF002", "2,5", refused("DIGITE DE [1] a [999]"), "Edit_Codigo"},
            KeyCase{"discount taken", "TFACF002", "1", refused("CÓDIGO DE DESCONTO JÁ EXISTE ... <ENTER>"), "DBGrid1"},
            KeyCase{"payment condition not a number", "TFACF003A", "x1",
                    refused("CÓDIGO DE REGISTO INVÁLIDO... DIGITE DE [1] a [9999]"), "Edit_Codigo"},
            KeyCase{"payment condition free", "TFACF003A", "5", {}, "Edit_NrDias"},
            KeyCase{"transport condition taken", "TFACF003B", "EXW", refused("REGISTO JÁ FOI ABERTO ... <ENTER>"),
                    "DBGrid1"},
            KeyCase{"shipping method taken", "TFACF017", "CAMIAO", refused("MÉT.EXPEDIÇÃO JÁ EXISTE ... <ENTER>"),
                    "DBGrid1"},
            KeyCase{"tariff position taken", "TFACF019", "4819100000", refused("CÓDIGO JÁ FOI ABERTO ... <ENTER>"),
                    "DBGrid1"},
            KeyCase{"currency cut to three letters", "TFACF009", "EURO", refused("MOEDA JÁ FOI ABERTA ... <ENTER>"),
                    "DBGrid1"},
            // Another year's currency is not this year's.
            KeyCase{"currency of another year", "TFACF009", "USD", {}, "Edit_CambEuro"}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<KeyCase>);

// A one-column table applies a new name as soon as it is accepted. The same
// name in other letter case passes the form's check; the database, which
// holds keys without regard to case, refuses it at the apply.
class OneColumnTable : public ::testing::TestWithParam<Engine> {};

TEST_P(OneColumnTable, OtherLetterCaseIsRefusedAtTheApply)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver form = t.scenario.open("TFACF006");
    form.click("BotInserir");
    form.type("Edit_Regiao", "norte");
    form.enter();
    t.scenario.settle();
    const QStringList transcript = t.scenario.messages().transcript();
    ASSERT_EQ(transcript.size(), 2);
    EXPECT_EQ(transcript[0], Beep);
    EXPECT_TRUE(transcript[1].startsWith(QStringLiteral("A base de dados"))) << transcript[1].toStdString();
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM REGIOES"), 2);
}

KV_ENGINE_SUITE(OneColumnTable);

// Proposed keys: the last + 1; the compositions take it at once.
struct ProposalCase {
    const char* label;
    const char* form;
    const char* table;
    bool empty;
    QString proposed;
    QString focus;
    QStringList transcript;
};

class ProposedKey : public ::testing::TestWithParam<std::tuple<ProposalCase, Engine>> {};

TEST_P(ProposedKey, IsTheLastPlusOne)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Tables t(engine);
    if (c.empty)
        t.session.invoicing()->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(c.table)));
    else
        kv::test::insertRows(*t.session.invoicing(), c.table, {"CODIGO"}, {{999}});
    FormDriver form = t.scenario.open(c.form);
    form.click("BotInserir");
    t.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), c.proposed);
    EXPECT_EQ(form.focused(), c.focus);
    EXPECT_EQ(t.scenario.messages().transcript(), c.transcript);
}

INSTANTIATE_TEST_SUITE_P(
    Commercial, ProposedKey,
    ::testing::Combine(
        ::testing::Values(
            ProposalCase{"discount on an empty table", "TFACF002", "DESCMERC", true, "1", "Edit_Codigo", {}},
            ProposalCase{"discount after the top", "TFACF002", "DESCMERC", false, "1000", "Edit_Codigo", {}},
            ProposalCase{"first composition", "TFACF026", "ARTGCOMP", true, "1", "Edit_Design", {}},
            ProposalCase{"composition after 999", "TFACF026", "ARTGCOMP", false, "1000", "Edit_Design", {}}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<ProposalCase>);

// ------------------------------------------------------------------ field checks

struct FieldCase {
    const char* label;
    const char* form;
    QString key;
    std::vector<std::pair<QString, QString>> typed; // in order; the last one is left with Enter
    QStringList transcript;
    QString focus;
};

class FieldCheck : public ::testing::TestWithParam<std::tuple<FieldCase, Engine>> {};

TEST_P(FieldCheck, RefusesWhatTheTableDoesNotTake)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Tables t(engine);
    const CommercialTableDescription& member =
        *std::find_if(commercialTableMembers().begin(), commercialTableMembers().end(),
                      [&](const CommercialTableDescription& m) { return m.formClass == QLatin1String(c.form); });
    FormDriver form = t.scenario.open(c.form);
    form.click("BotInserir");
    if (!c.key.isEmpty())
        form.type(member.keyEdit, c.key);
    form.enter();
    t.scenario.settle();
    for (const auto& [field, text] : c.typed) {
        form.type(field, text);
        form.enter();
        t.scenario.settle();
    }
    EXPECT_EQ(t.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Commercial, FieldCheck,
    ::testing::Combine(
        ::testing::Values(
            FieldCase{"locality empty", "TFACF008", "4100-001", {{"Edit_Localidade", ""}}, {Beep}, "Edit_Localidade"},
            FieldCase{"settlement letter made capital and refused",
                      "TFACF003A",
                      "5",
                      {{"Edit_TipDoc", "x"}},
                      refused("DIGITE [C ; L ; T ; D ; V ; M]"),
                      "Edit_TipDoc"},
            FieldCase{"due-date document refused",
                      "TFACF003A",
                      "5",
                      {{"Edit_VencDoc", "Q"}},
                      refused("DIGITE [F ; V ; P ; R ; G]"),
                      "Edit_VencDoc"},
            FieldCase{"transport mode 6",
                      "TFACF017",
                      "BARCO",
                      {{"Edit_tipo", "6"}},
                      refused("Modo de Transporte Inválido !!!"),
                      "Edit_tipo"},
            FieldCase{"first discount empty",
                      "TFACF002",
                      "",
                      {{"Edit_Desc01", ""}},
                      refused("% DE DESCONTO INVÁLIDA ..."),
                      "Edit_Desc01"},
            FieldCase{"tariff designation empty",
                      "TFACF019",
                      "48191",
                      {{"Edit_Design", ""}},
                      refused("Insira a Designação !!!"),
                      "Edit_Design"},
            FieldCase{"net mass in lower case",
                      "TFACF019",
                      "48191",
                      {{"Edit_Design", "Caixas"}, {"Edit_ML", "s"}},
                      {Beep},
                      "Edit_ML"},
            FieldCase{"net mass saves the row",
                      "TFACF019",
                      "48191",
                      {{"Edit_Design", "Caixas"}, {"Edit_ML", "S"}},
                      {},
                      "DBGrid1"},
            // Only a warning: the focus goes on, to the grid, which saves.
            FieldCase{"discount description empty",
                      "TFACF002",
                      "",
                      {{"Edit_Desc01", "5"}, {"Edit_Descri", ""}},
                      refused("DESIGNAÇÃO INVÁLIDA"),
                      "DBGrid1"}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<FieldCase>);

// ------------------------------------------------------------------ applying

// No row is written that its own checks refuse: neither a return to the
// grid past a field never visited nor the close box.
class UncheckedRow : public ::testing::TestWithParam<Engine> {};

TEST_P(UncheckedRow, IsNotAppliedByAReturnToTheGrid)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver form = t.scenario.open("TFACF019");
    form.click("BotInserir");
    form.type("Edit_PPautal", "48192");
    form.enter();
    form.type("Edit_Design", "Tabuleiros");
    form.focus("DBGrid1");
    t.scenario.settle();
    EXPECT_EQ(t.scenario.messages().transcript(), QStringList{Beep});
    EXPECT_EQ(form.focused(), "Edit_ML");
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM PPAUTAL WHERE CODIGO = '48192'"), 0);
}

TEST_P(UncheckedRow, IsNotAppliedByTheCloseBox)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver form = t.scenario.open("TFACF002");
    form.click("BotInserir");
    form.enter();
    form.close();
    t.scenario.settle();
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(t.scenario.messages().transcript(), refused("% DE DESCONTO INVÁLIDA ..."));
    EXPECT_EQ(form.focused(), "Edit_Desc01");
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM DESCMERC"), 1);
    // Typed in full, the row goes with the close.
    form.type("Edit_Desc01", "7");
    form.enter();
    form.close();
    t.scenario.settle();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM DESCMERC WHERE CODIGO = 2 AND DESC01 = 7"), 1);
}

KV_ENGINE_SUITE(UncheckedRow);

class Deletion : public ::testing::TestWithParam<Engine> {};

// The regions' deletion waits for the next apply; the provinces' is at once.
TEST_P(Deletion, OfARegionIsAppliedAtTheClose)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver regions = t.scenario.open("TFACF006");
    t.scenario.messages().answer(true);
    regions.click("BotDelete");
    t.scenario.settle();
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM REGIOES"), 2);
    regions.close();
    t.scenario.settle();
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM REGIOES"), 1);

    FormDriver provinces = t.scenario.open("TFACF007");
    t.scenario.messages().answer(true);
    provinces.click("BotDelete");
    t.scenario.settle();
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM PROVINCIAS"), 0);
}

// Cancelar in the payment conditions skips the next apply and re-read.
TEST_P(Deletion, CancelDropsTheNewRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver form = t.scenario.open("TFACF003A");
    form.click("BotInserir");
    form.type("Edit_Codigo", "7");
    form.enter();
    form.type("Edit_NrDias", "60");
    form.click("BotCancelar");
    t.scenario.settle();
    EXPECT_EQ(form.focused(), "DBGrid1");
    form.close();
    t.scenario.settle();
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM CNDPGT"), 1);
}

KV_ENGINE_SUITE(Deletion);

// ------------------------------------------------------------------ side doors

class PostalCodes : public ::testing::TestWithParam<Engine> {};

// A region added through the side door can be chosen at once; the postal
// code being typed stays as it was; nothing of the form is left open.
TEST_P(PostalCodes, SideDoorAddsARegionToChooseAtOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver form = t.scenario.open("TFACF008");
    form.click("BotInserir");
    form.type("Edit_CodPostal", "4700-001");
    form.enter();
    form.type("Edit_Localidade", "BRAGA");
    t.scenario.onDialog([&](FormDriver& regions) {
        EXPECT_EQ(regions.window()->objectName(), "TFACF006");
        regions.click("BotInserir");
        regions.type("Edit_Regiao", "MINHO");
        regions.enter();
        t.scenario.settle();
        regions.close();
    });
    form.click("BotRegiao");
    t.scenario.settle();
    kv::db::Dataset& list = t.session.dataset("DTTABELAS.REGIOES");
    ASSERT_TRUE(list.isOpen());
    EXPECT_TRUE(list.locate("REGIAO", "MINHO"));
    EXPECT_EQ(form.text("Edit_Localidade"), "BRAGA");
    t.scenario.onDialog([](FormDriver& lookup) {
        lookup.type("SearchText", "MINHO");
        lookup.clickButton("OK");
    });
    form.click("Edit_Regiao/Button");
    t.scenario.settle();
    EXPECT_EQ(form.text("Edit_Regiao"), "MINHO");
    form.focus("DBGrid1");
    form.click("BitTerminar");
    t.scenario.settle();
    EXPECT_EQ(t.count(*t.session.invoicing(),
                      "SELECT COUNT(*) FROM CODPOSTAL WHERE CODPOSTAL = '4700-001' AND REGIAO = 'MINHO'"),
              1);
    for (const char* name : {"CODPOSTAL", "PAISES", "REGIOES", "PROVINCIAS", "ZONAGEOGRAF"})
        EXPECT_FALSE(t.session.dataset(QStringLiteral("DTTABELAS.") + QLatin1String(name)).isOpen()) << name;
}

// Cancel in a lookup leaves the field as it was.
TEST_P(PostalCodes, CancelInTheLookupChangesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    FormDriver form = t.scenario.open("TFACF008");
    form.focus("Edit_Localidade");
    t.scenario.onDialog([](FormDriver& lookup) {
        lookup.type("SearchText", "CENTRO");
        lookup.clickButton("Cancelar");
    });
    form.click("Edit_Regiao/Button");
    t.scenario.settle();
    EXPECT_EQ(form.text("Edit_Regiao"), "NORTE");
    form.focus("DBGrid1");
    form.close();
    t.scenario.settle();
    EXPECT_EQ(t.count(*t.session.invoicing(), "SELECT COUNT(*) FROM CODPOSTAL WHERE REGIAO = 'NORTE'"), 1);
}

// Without the regions' rights row the side door is hidden, the lookup works;
// without INSERIR the key, the locality and the lookups are disabled.
TEST_P(PostalCodes, RightsHideAndDisable)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CommercialSession session(scenario, GetParam());
    session.grant("Codigos Postais", "N", "N", "S");
    session.grant("Paises", "S", "S", "S", "N");
    FormDriver form = scenario.open("TFACF008");
    EXPECT_FALSE(form.isVisible("BotRegiao"));
    EXPECT_FALSE(form.isVisible("BotPaises"));
    EXPECT_FALSE(form.isVisible("BotInserir"));
    EXPECT_FALSE(form.isVisible("BotDelete"));
    EXPECT_TRUE(form.isVisible("BotPrint"));
    EXPECT_FALSE(form.isEnabled("Edit_CodPostal"));
    EXPECT_FALSE(form.isEnabled("Edit_Localidade"));
    EXPECT_FALSE(form.isEnabled("Edit_Regiao"));
    EXPECT_TRUE(form.isEnabled("DBEdit1"));
}

KV_ENGINE_SUITE(PostalCodes);

class Rights : public ::testing::TestWithParam<Engine> {};

// The discounts say they found no rights row, and open for viewing.
TEST_P(Rights, MissingRowOfTheDiscounts)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CommercialSession session(scenario, GetParam());
    FormDriver form = scenario.open("TFACF002");
    scenario.settle();
    EXPECT_EQ(scenario.messages().texts(), QStringList{"INVALID KEY"});
    EXPECT_TRUE(form.isOpen());
    EXPECT_FALSE(form.isVisible("BotInserir"));
    EXPECT_FALSE(form.isEnabled("Edit_Desc01"));
}

KV_ENGINE_SUITE(Rights);

// A side door leaves its opener's dataset open, with its parameters, on its row.
class SideDoor : public ::testing::TestWithParam<Engine> {};

TEST_P(SideDoor, LeavesTheOpenersDatasetOnItsRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    kv::db::Dataset& regions = t.session.dataset("DTTABELAS.REGIOES");
    regions.open();
    ASSERT_TRUE(regions.locate("REGIAO", "NORTE"));
    t.scenario.onDialog([](FormDriver& form) { form.close(); });
    ASSERT_TRUE(kv::ui::openFromSideDoor(t.scenario.forms(), nullptr, "TFACF006", "TFACFPR006", {&regions}));
    ASSERT_TRUE(regions.isOpen());
    EXPECT_EQ(regions.value("REGIAO").toString(), "NORTE");
}

KV_ENGINE_SUITE(SideDoor);

// ------------------------------------------------------------------ list reports

QStringList detailLines(const kv::report::Document& document)
{
    QStringList lines;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kv::report::BandKind::Detail) {
                QStringList cells;
                for (const auto& item : band.items)
                    cells << item.text;
                lines << cells.join(QLatin1Char('|'));
            }
    return lines;
}

class ListReport : public ::testing::TestWithParam<Engine> {};

// The shipping methods print their mode's name, empty for an unknown code.
TEST_P(ListReport, NamesTheTransportModes)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    std::unique_ptr<QDialog> report(t.scenario.forms().create("TFACFPR017"));
    auto* list = qobject_cast<CommercialListReport*>(report.get());
    ASSERT_NE(list, nullptr);
    kv::db::Dataset& rows = t.session.dataset("DTTABELAS.METEXPEDICAO");
    rows.open();
    const QStringList lines = detailLines(list->render(rows));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("CAMIAO|Rodoviário|"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("PONTE||"))) << lines[1].toStdString();
}

// An empty table prints nothing.
TEST_P(ListReport, OfAnEmptyTableHasNoPage)
{
    KV_SKIP_WITHOUT(GetParam());
    Tables t(GetParam());
    t.session.invoicing()->exec(QStringLiteral("DELETE FROM RAMOACTIV"));
    std::unique_ptr<QDialog> report(t.scenario.forms().create("TFACFPR004A"));
    kv::db::Dataset& rows = t.session.dataset("DTTABELAS.RAMOACTIV");
    rows.open();
    EXPECT_EQ(qobject_cast<CommercialListReport*>(report.get())->render(rows).pageCount(), 0);
}

KV_ENGINE_SUITE(ListReport);

} // namespace
