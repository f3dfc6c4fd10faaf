// The quote worksheet TORCF021 on a logged-in company: its activation, the
// rights, the header's fields, the copy, cancel, deletion and the totals page.
#include "quotes/core/QuoteRepository.h"
#include "quotes/forms/QuoteForms.h"
#include "quotes/forms/TORCF021.h"

#include "support/Scenario.h"

#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageServiceSink.h"

#include <QTabWidget>

#include <gtest/gtest.h>

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

// The demo company (every right, its cost tables and procedures, and its
// closed quotes: 1, a wine box in units with an accessory insert 1; 2, a box
// with a window in thousands, three quantities; 3 to 5 the same for its
// customers' products; series 1 at 5).
struct Worksheet {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;

    explicit Worksheet(Engine engine)
    {
        scenario.login(engine, Company::Demo);
        registerQuoteForms(scenario.session(), scenario.forms());
        db = scenario.session().dataModules().connections().DbKavorime;
        scenario.messages().clear();
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF021");
        scenario.settle();
        return form;
    }

    // Series, number and sub-quote typed as a user does, then Enter.
    void header(FormDriver& form, const QString& series, const QString& number, const QString& subQuote)
    {
        form.type("Edit_Serie", series);
        form.enter();
        scenario.settle();
        form.type("Edit_Codigo", number);
        form.enter();
        scenario.settle();
        form.type("Edit_SubCodigo", subQuote);
        form.enter();
        scenario.settle();
    }

    long long rows(int number)
    {
        return db->scalar("SELECT COUNT(*) FROM ORCMAS WHERE CODIGO = :N", {{"N", number}}).toLongLong();
    }
    long long lines(int number)
    {
        return db->scalar("SELECT COUNT(*) FROM ORCDET WHERE CODIGO = :N", {{"N", number}}).toLongLong();
    }
    QVariant stored(int number, int subQuote, const char* column)
    {
        return db->scalar(
            QStringLiteral("SELECT %1 FROM ORCMAS WHERE CODIGO = :N AND SUBCODIGO = :S").arg(QLatin1String(column)),
            {{"N", number}, {"S", subQuote}});
    }
    long long counter() { return db->scalar("SELECT ORCNRO1 FROM ORCPARGER WHERE CODIGO = 1").toLongLong(); }
    TORCF021* worksheet(FormDriver& form) { return qobject_cast<TORCF021*>(form.window()); }
};

class WorksheetForm : public ::testing::TestWithParam<Engine> {};

TEST_P(WorksheetForm, activationProposesTheNextNumberOfSeriesOne)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    EXPECT_EQ(w.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(form.text("Edit_Serie"), "1");
    EXPECT_EQ(form.text("Edit_Codigo"), QString::number(w.counter() + 1));
    EXPECT_EQ(form.focused(), "Edit_Serie");
    EXPECT_TRUE(form.isVisible("BotCancelar"));
    EXPECT_TRUE(form.isVisible("BotDelete"));
}

struct MissingCase {
    const char* label;
    const char* statement;
    bool invoicing;
    const char* message;
};

class WorksheetActivation : public ::testing::TestWithParam<std::tuple<MissingCase, Engine>> {};

TEST_P(WorksheetActivation, missingParametersCloseTheForm)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Worksheet w(engine);
    auto db = c.invoicing ? w.scenario.session().dataModules().connections().DbFacturacao : w.db;
    db->exec(QString::fromLatin1(c.statement));
    FormDriver form = w.open();
    EXPECT_EQ(w.scenario.messages().texts(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_FALSE(form.isOpen());
}

const MissingCase kMissing[] = {
    {"generalParameters", "DELETE FROM ORCPARGER", false, "PARÂMETROS GERAIS NÃO ESTÃO DEFINIDOS !!!"},
    {"workingYear", "DELETE FROM PARGER", true, "PARÂMETROS GERAIS - GESTÃO COMERCIAL - NÃO ESTÃO DEFINIDOS !!!"}};
INSTANTIATE_TEST_SUITE_P(Cases, WorksheetActivation,
                         ::testing::Combine(::testing::ValuesIn(kMissing), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<MissingCase>);

TEST_P(WorksheetForm, withoutInsertRightNoQuoteIsEntered)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    w.db->exec("UPDATE APLICACAODET SET INSERIR = 'N', ELIMINAR = 'N' WHERE PROGRAMA = 'Elaboracao de Orcamentos'");
    w.scenario.session().dataModules().dataset("DTEMPRESAS.APLICACAODET").refresh();
    FormDriver form = w.open();
    EXPECT_FALSE(form.isVisible("BotCancelar"));
    EXPECT_FALSE(form.isVisible("BotDelete"));
    form.type("Edit_Codigo", "1");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().transcript(),
              (QStringList{"<beep>", "Não tem privilégios para inserir Orçamentos"}));
    EXPECT_EQ(form.focused(), "Edit_Codigo");
}

// Text the header fields cannot take, each with its field's message.
struct FieldCase {
    const char* label;
    const char* field;
    const char* typed;
    const char* message;
};

class WorksheetHeaderField : public ::testing::TestWithParam<std::tuple<FieldCase, Engine>> {};

TEST_P(WorksheetHeaderField, refusesWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Worksheet w(engine);
    FormDriver form = w.open();
    const QString field = QString::fromLatin1(c.field);
    if (field != "Edit_Serie") {
        form.enter(); // series "1" accepted
        w.scenario.settle();
    }
    if (field == "Edit_SubCodigo") {
        form.enter();
        w.scenario.settle();
    }
    ASSERT_EQ(form.focused(), field);
    form.type(field, QString::fromUtf8(c.typed));
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().transcript(), (QStringList{"<beep>", QString::fromUtf8(c.message)}));
    EXPECT_EQ(form.focused(), field);
}

const FieldCase kFields[] = {
    {"series6", "Edit_Serie", "6", "INSIRA O Nº DA SÉRIE DE ORÇAMENTOS DE 1 A 5 !!!"},
    {"seriesEmpty", "Edit_Serie", "", "INSIRA O Nº DA SÉRIE DE ORÇAMENTOS DE 1 A 5 !!!"},
    {"numberZero", "Edit_Codigo", "0", "Nº de Orçamento Inválido"},
    {"numberText", "Edit_Codigo", "12a", "Nº de Orçamento Inválido"},
    {"subQuote10", "Edit_SubCodigo", "10", "Tipo de Orçamento Inválido"},
    {"subQuoteText", "Edit_SubCodigo", "x", "Tipo de Orçamento Inválido"},
    {"accessoryWithoutBase", "Edit_SubCodigo", "3", "Orçamento da Caixa Inexistente !!!"},
};
INSTANTIATE_TEST_SUITE_P(Cases, WorksheetHeaderField,
                         ::testing::Combine(::testing::ValuesIn(kFields), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<FieldCase>);

TEST_P(WorksheetForm, seriesProposesItsCounterAndALookupClosingDoesNotResetTheHeader)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    w.db->exec("UPDATE ORCPARGER SET ORCNRO2 = 40 WHERE CODIGO = 1");
    FormDriver form = w.open();
    form.type("Edit_Serie", "2");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), "41");
    w.scenario.onDialog([](FormDriver& dialog) { dialog.click("CancelBtn"); });
    form.insert();
    w.scenario.settle();
    EXPECT_EQ(form.text("Edit_Serie"), "2");
    EXPECT_EQ(form.text("Edit_Codigo"), "41");
    EXPECT_EQ(w.worksheet(form)->worksheet().series, 2);
}

TEST_P(WorksheetForm, newQuoteTakesTheWorkingDateAndIsNotStored)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    w.header(form, "1", "50", "");
    EXPECT_EQ(w.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(form.text("Edit_SubCodigo"), "0");
    EXPECT_EQ(form.text("Edit_DatEmi"), kv::text::date(w.scenario.session().state().WData));
    const WorksheetState& state = w.worksheet(form)->worksheet();
    EXPECT_TRUE(state.newQuote);
    EXPECT_EQ(state.mode, WorksheetMode::Settled);
    EXPECT_EQ(w.rows(50), 0);
    EXPECT_TRUE(form.isEnabled("BotCancelar"));
}

TEST_P(WorksheetForm, quoteLookupTakesTheChosenRowAndCancelTakesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    form.enter();
    w.scenario.settle();
    const QString proposal = form.text("Edit_Codigo");
    w.scenario.onDialog([](FormDriver& dialog) { dialog.click("CancelBtn"); });
    form.insert();
    w.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), proposal);
    w.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid"),
                  (QStringList{"Orcam.Nº", "Tipo OrÇam.", "Cliente Nº", "Nome Cliente", "N/ Referª"}));
        EXPECT_EQ(dialog.gridRowCount("Grid"), 7); // the sub-quotes of the five demo quotes, no summary row
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    form.insert();
    w.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), "1");
    EXPECT_EQ(form.text("Edit_SubCodigo"), "1");
}

TEST_P(WorksheetForm, approvedQuoteIsLeftOutOfTheLookupAndRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    w.db->exec("UPDATE ORCMAS SET APROVADO = 'S' WHERE CODIGO = 1 AND SUBCODIGO = 99");
    FormDriver form = w.open();
    form.enter();
    w.scenario.settle();
    w.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridRowCount("Grid"), 5); // the sub-quotes of quotes 2 to 5 only
        dialog.click("CancelBtn");
    });
    form.insert();
    w.scenario.settle();
    form.type("Edit_Codigo", "1");
    form.enter();
    w.scenario.settle();
    form.type("Edit_SubCodigo", "1");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().texts(), QStringList{"Orçamento já foi aprovado !!Não pode alterar! 1"});
    EXPECT_EQ(form.focused(), "Edit_SubCodigo");
}

TEST_P(WorksheetForm, copyMakesANewQuoteInCopiedModeAndCancelKeepsIt)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    w.header(form, "1", "6", "0");
    EXPECT_EQ(form.focused(), "Edit_DatEmi");
    form.enter();
    w.scenario.settle();
    ASSERT_EQ(form.focused(), "Edit_OrcBase");
    form.type("Edit_OrcBase", "1");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(w.rows(6), 3);
    EXPECT_EQ(w.lines(6), w.lines(1));
    EXPECT_EQ(w.counter(), 6);
    const WorksheetState& state = w.worksheet(form)->worksheet();
    EXPECT_EQ(state.mode, WorksheetMode::Copied);
    EXPECT_FALSE(state.newQuote);
    EXPECT_EQ(form.focused(), "Edit_CliNro");
    EXPECT_TRUE(state.quoteOpen);
    form.close(); // an open quote keeps the form
    w.scenario.settle();
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(w.scenario.messages().texts(),
              QStringList{"Não pode desligar o Programa sem Fechar ou Cancelar o Orçamento !!!"});
    form.click("BotCancelar");
    w.scenario.settle();
    EXPECT_EQ(w.rows(6), 3);
    EXPECT_EQ(form.focused(), "Edit_Serie");
    EXPECT_TRUE(form.isEnabled("BitTerminar"));
}

TEST_P(WorksheetForm, baseQuoteLookupDismissedStartsNoCopy)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    w.header(form, "1", "6", "0");
    form.enter();
    w.scenario.settle();
    ASSERT_EQ(form.focused(), "Edit_OrcBase");
    w.scenario.onDialog([](FormDriver& dialog) { dialog.click("CancelBtn"); });
    form.insert();
    w.scenario.settle();
    w.scenario.onDialog([](FormDriver& dialog) { dialog.click("CancelBtn"); });
    form.ctrlInsert();
    w.scenario.settle();
    EXPECT_EQ(form.text("Edit_OrcBase"), "");
    EXPECT_EQ(w.rows(6), 0);
}

// The alphabetic base-quote lookup lists the summary rows by customer; a
// typed name moves the list to it, and OK takes its number.
TEST_P(WorksheetForm, baseQuoteLookupByNameFindsTheTypedCustomer)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    w.header(form, "1", "6", "0");
    form.enter();
    w.scenario.settle();
    ASSERT_EQ(form.focused(), "Edit_OrcBase");
    w.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"Cliente", "Orc.Nrº", "Artigo"}));
        EXPECT_EQ(dialog.gridRowCount("Grid"), 5);
        dialog.type("SearchText", "quinta");
        dialog.click("OKBtn");
    });
    form.ctrlInsert();
    w.scenario.settle();
    EXPECT_EQ(form.text("Edit_OrcBase"), "1");
    EXPECT_EQ(w.rows(6), 0); // the copy runs when the field is left
}

TEST_P(WorksheetForm, missingBaseQuoteIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = w.open();
    w.header(form, "1", "6", "0");
    form.enter();
    w.scenario.settle();
    form.type("Edit_OrcBase", "77");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().transcript(), (QStringList{"<beep>", "Orçamento Base Inexistente !!!"}));
    EXPECT_EQ(form.focused(), "Edit_OrcBase");
    EXPECT_EQ(w.rows(6), 0);
    EXPECT_EQ(w.counter(), 5);
}

struct DeleteCase {
    const char* label;
    bool answer;
    const char* summaryUpdate; // "" for none
    long long rowsAfter;
    QStringList texts;
};

class WorksheetDeletion : public ::testing::TestWithParam<std::tuple<DeleteCase, Engine>> {};

TEST_P(WorksheetDeletion, asksOnceAndDeletesTheWholeQuote)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Worksheet w(engine);
    if (*c.summaryUpdate)
        w.db->exec(QString::fromLatin1(c.summaryUpdate));
    FormDriver form = w.open();
    w.header(form, "1", "1", "0");
    w.scenario.messages().clear();
    w.scenario.messages().answer(c.answer);
    form.click("BotDelete");
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().texts(), c.texts);
    EXPECT_EQ(w.rows(1), c.rowsAfter);
    if (c.rowsAfter == 0) {
        EXPECT_EQ(w.lines(1), 0);
        EXPECT_EQ(form.focused(), "Edit_Serie");
    }
}

const DeleteCase kDeletions[] = {
    {"answeredNo", false, "", 3, {"ELIMINAÇÃO !!! Confirma ?"}},
    {"answeredYes", true, "", 0, {"ELIMINAÇÃO !!! Confirma ?"}},
    {"refusedWithOrder",
     true,
     "UPDATE ORCMAS SET ENCNRO = 12 WHERE CODIGO = 1 AND SUBCODIGO = 99",
     3,
     {"ELIMINAÇÃO !!! Confirma ?", "Orçamento já foi aprovado !!Não pode eliminar! 1"}},
};
INSTANTIATE_TEST_SUITE_P(Cases, WorksheetDeletion,
                         ::testing::Combine(::testing::ValuesIn(kDeletions), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<DeleteCase>);

// Opens demo quote 2 and goes to "Totais" through "&Finalização".
FormDriver toTotals(Worksheet& w)
{
    FormDriver form = w.open();
    w.header(form, "1", "2", "0");
    form.enter(); // the date: a stored quote goes on to the customer
    w.scenario.settle();
    form.find<QTabWidget>("Tb")->setCurrentIndex(2);
    w.scenario.settle();
    form.click("BotTotais");
    w.scenario.settle();
    return form;
}

TEST_P(WorksheetForm, totalsClosedWithClientPricesAndSaved)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = toTotals(w);
    EXPECT_EQ(form.focused(), "Edit_PrcCom1");
    EXPECT_EQ(form.text("Label_Comiss1"), "Comissão Vendedor");
    EXPECT_EQ(form.text("Label_Quant1"), "5,00");
    EXPECT_EQ(form.text("Edit_PrcCom3"), "12");
    const QString cost = form.text("Label_Custo1");
    // Percentage 1 typed twice: the commercial costs are never added twice.
    for (const char* percentage : {"5", "4"}) {
        form.focus("Edit_PrcCom1");
        form.type("Edit_PrcCom1", QString::fromLatin1(percentage));
        for (int i = 0; i < 3; ++i) {
            form.enter();
            w.scenario.settle();
        }
        EXPECT_EQ(form.focused(), "Edit_PrcCli1");
        EXPECT_EQ(form.text("Label_Custo1"), cost);
    }
    const double proposed = kv::text::parseNumber(form.text("Edit_PrcCli1")).value();
    EXPECT_GT(proposed, 0);
    w.scenario.messages().answer(true); // FECHO
    w.scenario.messages().answer(false); // no internal print
    form.type("Edit_PrcCli1", "300");
    form.enter();
    w.scenario.settle();
    form.type("Edit_PrcCli2", "280");
    form.enter();
    w.scenario.settle();
    form.type("Edit_PrcCli3", "260");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().texts(),
              (QStringList{"FECHO DO ORÇAMENTO !!! Confirma ?", "EMISSÃO DO ORÇAMENTO INTERNO !!! Confirma ?"}));
    EXPECT_DOUBLE_EQ(w.stored(2, 99, "PRCCOM1").toDouble(), 4);
    EXPECT_DOUBLE_EQ(w.stored(2, 99, "VALORCLI1").toDouble(), 1500);
    EXPECT_DOUBLE_EQ(w.stored(2, 0, "PRECOCLI2").toDouble(), 280);
    EXPECT_FALSE(w.stored(2, 99, "MARGEMLIQ3").isNull());
    EXPECT_EQ(form.focused(), "Edit_Serie");
    EXPECT_FALSE(w.worksheet(form)->worksheet().quoteOpen);
    form.click("BitTerminar");
    w.scenario.settle();
    EXPECT_FALSE(form.isOpen());
}

TEST_P(WorksheetForm, declinedClosingStoresNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    FormDriver form = toTotals(w);
    const QVariant before = w.stored(2, 99, "PRECOCLI1"); // as the totals rebuilt it
    for (int i = 0; i < 3; ++i) {
        form.enter();
        w.scenario.settle();
    }
    w.scenario.messages().answer(false);
    form.type("Edit_PrcCli1", "999");
    for (int i = 0; i < 3; ++i) {
        form.enter();
        w.scenario.settle();
    }
    EXPECT_EQ(w.scenario.messages().texts(), QStringList{"FECHO DO ORÇAMENTO !!! Confirma ?"});
    EXPECT_EQ(form.focused(), "Edit_PrcCom1");
    EXPECT_EQ(w.stored(2, 99, "PRECOCLI1").toDouble(), before.toDouble());
}

TEST_P(WorksheetForm, unnamedCommercialCostIsSkippedAtZero)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    w.db->exec("UPDATE ORCPARGER SET DESIGNCOM2 = '' WHERE CODIGO = 1");
    FormDriver form = toTotals(w);
    EXPECT_FALSE(form.isEnabled("Edit_PrcCom2"));
    EXPECT_EQ(form.text("Edit_PrcCom2"), "0");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(form.focused(), "Edit_PrcCom3");
}

// The demo quotes are what the engine calculates from the demo cost tables:
// recalculating their sub-quotes changes no line and no total.
TEST_P(WorksheetForm, demoQuotesAreTheEnginesOwn)
{
    KV_SKIP_WITHOUT(GetParam());
    Worksheet w(GetParam());
    CostTables tables = CostTables::load(*w.db);
    kv::ui::MessageServiceSink sink;
    QuoteSession session;
    session.application = w.db.get();
    session.tables = &tables;
    session.messages = &sink;
    QuoteEngine engine(session);
    const char* lines = "SELECT SUBCODIGO, DETAIL, PRECO, VALQTD1, VALQTD2, VALQTD3 FROM ORCDET WHERE CODIGO = :N "
                        "ORDER BY SUBCODIGO, DETAIL";
    const char* totals = "SELECT SUBCODIGO, VALORORC1, VALORORC2, VALORORC3, NPLANOS1 FROM ORCMAS WHERE CODIGO = :N "
                         "AND SUBCODIGO <> 99 ORDER BY SUBCODIGO";
    const std::vector<std::pair<int, std::vector<int>>> quotes{{1, {0, 1}}, {2, {0}}, {3, {0}}, {4, {0, 1}}, {5, {0}}};
    for (const auto& [number, subQuotes] : quotes) {
        const auto linesBefore = w.db->query(QString::fromLatin1(lines), {{"N", number}}).rows;
        const auto totalsBefore = w.db->query(QString::fromLatin1(totals), {{"N", number}}).rows;
        ASSERT_FALSE(linesBefore.empty());
        for (int subQuote : subQuotes)
            ASSERT_TRUE(engine.recalculate(number, subQuote));
        EXPECT_EQ(w.db->query(QString::fromLatin1(lines), {{"N", number}}).rows, linesBefore) << number;
        EXPECT_EQ(w.db->query(QString::fromLatin1(totals), {{"N", number}}).rows, totalsBefore) << number;
    }
    EXPECT_EQ(w.counter(), 5);
}

KV_ENGINE_SUITE(WorksheetForm);

} // namespace
