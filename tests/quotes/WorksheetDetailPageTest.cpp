// Page "Orçamento Detalhado" of the quote worksheet on the demo company:
// quantities, unit and procedures, "&Iniciar", and the cost lines typed,
// changed and deleted by hand.
#include "quotes/forms/QuoteForms.h"
#include "quotes/forms/TORCF021.h"

#include "support/Scenario.h"

#include "platform/text/NumberText.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

// A typed value and Enter; a null text only presses Enter on the field.
struct Step {
    const char* field;
    const char* text;
};

// The demo company's worksheet opened on a stored sub-quote (quote 1, a wine
// box in units with its cost lines; quote 2, a box with a window in
// thousands) and its detail page shown.
struct DetailPage {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
    FormDriver form;

    explicit DetailPage(Engine engine)
    {
        scenario.login(engine, Company::Demo);
        registerQuoteForms(scenario.session(), scenario.forms());
        db = scenario.session().dataModules().connections().DbKavorime;
    }

    void open(int number, int subQuote = 0)
    {
        form = scenario.open("TORCF021");
        scenario.settle();
        for (const auto& [field, text] :
             {std::pair{"Edit_Serie", QStringLiteral("1")}, std::pair{"Edit_Codigo", QString::number(number)},
              std::pair{"Edit_SubCodigo", QString::number(subQuote)}})
            step({field, nullptr}, text);
        form.enter(); // the date: a stored quote goes on to the customer
        scenario.settle();
        form.find<QTabWidget>("Tb")->setCurrentIndex(2);
        scenario.settle();
        scenario.messages().clear();
    }

    void step(const Step& s, const QString& text = {})
    {
        if (s.text || !text.isEmpty())
            form.type(QString::fromLatin1(s.field), s.text ? QString::fromUtf8(s.text) : text);
        else
            form.focus(QString::fromLatin1(s.field));
        form.enter();
        scenario.settle();
    }
    void steps(const std::vector<Step>& list)
    {
        for (const Step& s : list)
            step(s);
    }
    void click(const char* button)
    {
        form.click(QString::fromLatin1(button));
        scenario.settle();
    }
    void toGrid()
    {
        form.focus("DBGrid1");
        scenario.settle();
    }
    // Puts the grid on the line `detail`.
    void chooseLine(int detail)
    {
        for (int row = 0; row < form.gridRowCount("DBGrid1"); ++row)
            if (lineAt(row) == detail) {
                form.clickRow("DBGrid1", row);
                scenario.settle();
                return;
            }
        FAIL() << "no line " << detail;
    }
    int lineAt(int row)
    {
        return db
            ->scalar("SELECT DETAIL FROM ORCDET WHERE CODIGO = :N AND SUBCODIGO = :S ORDER BY DETAIL LIMIT 1 OFFSET "
                         + QString::number(row),
                     {{"N", number()}, {"S", 0}})
            .toInt();
    }
    int number() const { return qobject_cast<TORCF021*>(form.window())->worksheet().quoteNumber; }

    QVariant line(int detail, const char* column)
    {
        return db->scalar(QStringLiteral("SELECT %1 FROM ORCDET WHERE CODIGO = :N AND SUBCODIGO = 0 AND DETAIL = :D")
                              .arg(QLatin1String(column)),
                          {{"N", number()}, {"D", detail}});
    }
    int lastDetail()
    {
        return db->scalar("SELECT MAX(DETAIL) FROM ORCDET WHERE CODIGO = :N AND SUBCODIGO = 0", {{"N", number()}})
            .toInt();
    }
    long long lineCount()
    {
        return db->scalar("SELECT COUNT(*) FROM ORCDET WHERE CODIGO = :N AND SUBCODIGO = 0", {{"N", number()}})
            .toLongLong();
    }
    // The stored value of quantity 1 against the sum of the stored lines:
    // a line counted twice or a deleted line still counted shows here.
    void expectTotalsOfTheLines()
    {
        const double lines =
            db->scalar("SELECT SUM(VALQTD1) FROM ORCDET WHERE CODIGO = :N AND SUBCODIGO = 0", {{"N", number()}})
                .toDouble();
        const double value =
            db->scalar("SELECT VALORORC1 FROM ORCMAS WHERE CODIGO = :N AND SUBCODIGO = 0", {{"N", number()}})
                .toDouble();
        EXPECT_NEAR(value, lines, 0.005);
    }
};

class DetailPageForm : public ::testing::TestWithParam<Engine> {};

// ------------------------------------------------------------ page fields

struct PageFieldCase {
    const char* label;
    std::vector<Step> steps;
    std::vector<const char*> transcript;
    const char* focus;
};

class DetailPageField : public ::testing::TestWithParam<std::tuple<PageFieldCase, Engine>> {};

TEST_P(DetailPageField, refusesWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    DetailPage p(engine);
    p.open(2);
    ASSERT_EQ(p.form.focused(), "Edit_QtdOrc1");
    p.steps(c.steps);
    QStringList transcript;
    for (const char* text : c.transcript)
        transcript << QString::fromUtf8(text);
    EXPECT_EQ(p.scenario.messages().transcript(), transcript);
    EXPECT_EQ(p.form.focused(), QString::fromLatin1(c.focus));
}

const PageFieldCase kPageFields[] = {
    {"quantityEmpty", {{"Edit_QtdOrc1", ""}}, {"<beep>", "Quantidade Inválida"}, "Edit_QtdOrc1"},
    {"quantityText", {{"Edit_QtdOrc1", "5x"}}, {"<beep>", "Quantidade Inválida"}, "Edit_QtdOrc1"},
    {"quantityZero", {{"Edit_QtdOrc1", "0"}}, {"<beep>", "Quantidade Inválida"}, "Edit_QtdOrc1"},
    {"quantityTwoText",
     {{"Edit_QtdOrc1", "5"}, {"Edit_QtdOrc2", "dez"}},
     {"<beep>", "Quantidade Inválida"},
     "Edit_QtdOrc2"},
    {"quantityThreeWithoutTwo",
     {{"Edit_QtdOrc1", "5"}, {"Edit_QtdOrc2", ""}, {"Edit_QtdOrc3", "7"}},
     {"<beep>", "Preencha a Quantidade-2"},
     "Edit_QtdOrc2"},
    {"quantitiesInOrder", {{"Edit_QtdOrc1", "5"}, {"Edit_QtdOrc2", "10"}, {"Edit_QtdOrc3", "20"}}, {}, "Edit_Unidade"},
    {"unitLowerCase",
     {{"Edit_QtdOrc1", "5"}, {"Edit_QtdOrc2", ""}, {"Edit_QtdOrc3", ""}, {"Edit_Unidade", "u"}},
     {"<beep>"},
     "Edit_Unidade"},
    {"procedureMissing", {{"Edit_Procedim", "99"}}, {"<beep>", "Procedimento Inexistente"}, "Edit_Procedim"},
    {"procedureText", {{"Edit_Procedim", "um"}}, {"<beep>", "Procedimento Inexistente"}, "Edit_Procedim"},
    {"procedureTwice",
     {{"Edit_Procedim", "2"}, {"Edit_Procedim", "2"}},
     {"<beep>", "Procedimento já foi Seleccionado !!!"},
     "Edit_Procedim"},
    {"procedureZeroGoesOn", {{"Edit_Procedim", "0"}}, {}, "DBGrid1"},
};
INSTANTIATE_TEST_SUITE_P(Cases, DetailPageField,
                         ::testing::Combine(::testing::ValuesIn(kPageFields), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<PageFieldCase>);

TEST_P(DetailPageForm, unitTitlesTheValueColumnsByQuantity)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(2);
    p.steps({{"Edit_QtdOrc1", "5"}, {"Edit_QtdOrc2", "10"}, {"Edit_QtdOrc3", "12,5"}});
    EXPECT_TRUE(p.form.isVisible("Label_Unidades"));
    p.step({"Edit_Unidade", "M"});
    EXPECT_FALSE(p.form.isVisible("Label_Unidades"));
    const QStringList titles = p.form.gridTitles("DBGrid1");
    EXPECT_EQ(titles.mid(8), (QStringList{"5,00", "10,00", "12,50"}));
    EXPECT_EQ(titles.at(7), "Preço ");
    // Entering the quote number titles them by quantity number again.
    p.click("BotCancelar");
    p.form.focus("Edit_Codigo");
    p.scenario.settle();
    EXPECT_EQ(p.form.focused(), "Edit_Codigo");
    EXPECT_EQ(p.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(p.form.gridTitles("DBGrid1").mid(8), (QStringList{"Quantid - 1", "Quantid - 2", "Quantid - 3"}));
}

TEST_P(DetailPageForm, chosenProcedureIsListedAndDeleted)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(2);
    p.steps({{"Edit_Procedim", "3"}, {"Edit_Procedim", "1"}});
    EXPECT_EQ(p.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(p.form.text("Edit_Procedim"), "");
    ASSERT_EQ(p.form.gridRowCount("DBGrid2"), 2);
    EXPECT_EQ(p.form.gridCell("DBGrid2", 0, 0), "1"); // code order
    EXPECT_EQ(p.form.gridCell("DBGrid2", 1, 1), "Caixa Plastificada");
    p.form.clickRow("DBGrid2", 0);
    p.click("BotDeleteProcedim");
    ASSERT_EQ(p.form.gridRowCount("DBGrid2"), 1);
    EXPECT_EQ(p.form.gridCell("DBGrid2", 0, 0), "3");
    EXPECT_EQ(p.form.focused(), "Edit_Procedim");
    // The selection is emptied on entering the quote number.
    p.click("BotCancelar");
    p.form.focus("Edit_Codigo");
    p.scenario.settle();
    EXPECT_EQ(p.form.gridRowCount("DBGrid2"), 0);
}

TEST_P(DetailPageForm, moneyFieldsAreShownDisabled)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(2);
    for (const char* name : {"Edit_PrecoOrc1", "Edit_ValorOrc3", "Edit_Total1"})
        EXPECT_FALSE(p.form.isEnabled(QString::fromLatin1(name))) << name;
    EXPECT_NE(p.form.text("Edit_ValorOrc1"), "");
}

// "&Iniciar" on a sub-quote without lines creates them from the chosen
// procedure; after "&Quantidades" it prices the same lines on the new
// quantities.
TEST_P(DetailPageForm, startCreatesThenRecalculatesOnTheNewQuantities)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    // A sub-quote whose lines were all deleted: no lines, no totals.
    p.db->exec("DELETE FROM ORCDET WHERE CODIGO = 2");
    QStringList totals;
    for (const char* prefix : {"VALORORC", "VALMP", "VALMO", "VALPS", "VALCM", "VALEM", "VALTR", "VALSUB"})
        for (int n = 1; n <= 3; ++n)
            totals << QStringLiteral("%1%2 = 0").arg(QLatin1String(prefix)).arg(n);
    p.db->exec(QStringLiteral("UPDATE ORCMAS SET %1 WHERE CODIGO = 2 AND SUBCODIGO = 0").arg(totals.join(", ")));
    p.open(2);
    p.steps({{"Edit_QtdOrc1", "5"},
             {"Edit_QtdOrc2", ""},
             {"Edit_QtdOrc3", ""},
             {"Edit_Unidade", "M"},
             {"Edit_Procedim", "2"}});
    p.click("BotIniciar");
    EXPECT_EQ(p.scenario.messages().texts(), QStringList{});
    const long long created = p.lineCount();
    EXPECT_GT(created, 10);
    EXPECT_EQ(p.form.gridRowCount("DBGrid1"), created);
    EXPECT_EQ(p.form.focused(), "DBGrid1");
    EXPECT_FALSE(p.form.isEnabled("Edit_QtdOrc1"));
    EXPECT_FALSE(p.form.isEnabled("Edit_Procedim"));
    EXPECT_TRUE(p.form.isEnabled("BotTotais"));
    p.expectTotalsOfTheLines();
    const double sheets = p.db->scalar("SELECT NPLANOS1 FROM ORCMAS WHERE CODIGO = 2 AND SUBCODIGO = 0").toDouble();

    p.click("BotQtds");
    EXPECT_EQ(p.form.focused(), "Edit_QtdOrc1");
    EXPECT_EQ(p.form.text("Edit_QtdOrc1"), "");
    p.steps({{"Edit_QtdOrc1", "10"}, {"Edit_QtdOrc2", ""}, {"Edit_QtdOrc3", ""}, {"Edit_Unidade", "M"}});
    p.click("BotIniciar");
    EXPECT_EQ(p.lineCount(), created);
    EXPECT_DOUBLE_EQ(p.db->scalar("SELECT QTDORC1 FROM ORCMAS WHERE CODIGO = 2 AND SUBCODIGO = 0").toDouble(), 10);
    EXPECT_GT(p.db->scalar("SELECT NPLANOS1 FROM ORCMAS WHERE CODIGO = 2 AND SUBCODIGO = 0").toDouble(), sheets);
    p.expectTotalsOfTheLines();
}

// A new quote is stored by "&Iniciar" under its number (here without
// procedures, so without lines) and is no longer new.
TEST_P(DetailPageForm, startStoresANewQuoteUnderItsNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(50);
    ASSERT_EQ(p.db->scalar("SELECT COUNT(*) FROM ORCMAS WHERE CODIGO = 50").toInt(), 0);
    p.steps({{"Edit_QtdOrc1", "1000"}, {"Edit_QtdOrc2", ""}, {"Edit_QtdOrc3", ""}, {"Edit_Unidade", "U"}});
    p.click("BotIniciar");
    EXPECT_EQ(p.scenario.messages().texts(), QStringList{});
    EXPECT_EQ(p.db->scalar("SELECT QTDORC1 FROM ORCMAS WHERE CODIGO = 50 AND SUBCODIGO = 0").toDouble(), 1000);
    EXPECT_EQ(p.db->scalar("SELECT ORCNRO1 FROM ORCPARGER WHERE CODIGO = 1").toInt(), 50);
    const WorksheetState& state = qobject_cast<TORCF021*>(p.form.window())->worksheet();
    EXPECT_FALSE(state.newQuote);
    EXPECT_EQ(p.form.text("Edit_Codigo"), "50");
    EXPECT_EQ(p.lineCount(), 0);
}

// Records the text of a label each time it is painted.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_label && event->type() == QEvent::Paint)
            texts << m_label->text();
        return false;
    }

private:
    QLabel* m_label;
};

// The calculation runs inside the button's handler: status panel 0 is
// painted with the line being recalculated while it runs, not only after.
TEST_P(DetailPageForm, recalculationShowsEachLineInTheStatusBarWhileItRuns)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(2);
    PaintedTexts painted(p.form.find<QLabel>("Panel0"));
    p.click("BotIniciar");
    EXPECT_EQ(p.scenario.messages().texts(), QStringList{});
    const QString first = p.line(1, "DESIGN").toString();
    const QString last = p.line(p.lastDetail(), "DESIGN").toString();
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("orçamento nº 2") + first))
        << painted.texts.join('|').toStdString();
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("orçamento nº 2") + last))
        << painted.texts.join('|').toStdString();
}

TEST_P(DetailPageForm, startRefusesAProcedureThatDoesNotExist)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(2);
    const long long lines = p.lineCount();
    p.form.find<QLineEdit>("Edit_Procedim")->setText(QStringLiteral("77"));
    p.click("BotIniciar");
    EXPECT_EQ(p.scenario.messages().transcript(), (QStringList{"<beep>", "Procedimento Inexistente"}));
    EXPECT_EQ(p.form.focused(), "Edit_Procedim");
    EXPECT_EQ(p.lineCount(), lines);
}

// ------------------------------------------------------------ line editing

struct AddCase {
    const char* label;
    std::vector<Step> steps; // from the table type on
    std::vector<const char*> transcript;
    bool stored;
    int type, code;
    double price, percentage, kilometres;
    int passes;
};

class AddedLine : public ::testing::TestWithParam<std::tuple<AddCase, Engine>> {};

TEST_P(AddedLine, followsTheTypesPath)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    DetailPage p(engine);
    // A gap in the line numbers: the new line comes after the last one.
    p.db->exec("DELETE FROM ORCDET WHERE CODIGO = 1 AND SUBCODIGO = 0 AND DETAIL = 2");
    p.open(1);
    p.toGrid();
    p.scenario.messages().clear();
    const int last = p.lastDetail();
    const long long before = p.lineCount();
    p.click("BotInserirLinha");
    EXPECT_EQ(p.form.focused(), "Edit_TipoTab");
    EXPECT_FALSE(p.form.isEnabled("DBGrid1"));
    p.steps(c.steps);
    QStringList transcript;
    for (const char* text : c.transcript)
        transcript << QString::fromUtf8(text);
    EXPECT_EQ(p.scenario.messages().transcript(), transcript);
    if (!c.stored) {
        EXPECT_EQ(p.lineCount(), before);
        return;
    }
    ASSERT_EQ(p.lineCount(), before + 1);
    const int detail = last + 1;
    EXPECT_EQ(p.lastDetail(), detail);
    EXPECT_EQ(p.line(detail, "TIPOTABELA").toInt(), c.type);
    EXPECT_EQ(p.line(detail, "CODTAB").toInt(), c.code);
    EXPECT_DOUBLE_EQ(p.line(detail, "PRECO").toDouble(), c.price);
    EXPECT_DOUBLE_EQ(p.line(detail, "PERC").toDouble(), c.percentage);
    EXPECT_DOUBLE_EQ(p.line(detail, "QUANTID").toDouble(), c.kilometres);
    EXPECT_EQ(p.line(detail, "NROPASSAGENS").toInt(), c.passes);
    EXPECT_NE(p.line(detail, "VALQTD1").toDouble(), 0.0);
    p.expectTotalsOfTheLines();
    EXPECT_EQ(p.form.focused(), "DBGrid1");
    EXPECT_EQ(p.form.gridRowCount("DBGrid1"), before + 1);
}

const AddCase kAdds[] = {
    // Passes from the colours (4 on a 4-colour press), grade and choice
    // from the quote row; the price is the press's rate per hour.
    {"printingMachine",
     {{"Edit_TipoTab", "1"},
      {"Edit_CodTab", "1"},
      {"Edit_NroEnt", nullptr},
      {"Edit_PrdHor", nullptr},
      {"Edit_Acerto", nullptr}},
     {},
     true,
     1,
     1,
     95,
     0,
     0,
     1},
    {"gluerAsksNoPasses",
     {{"Edit_TipoTab", "1"}, {"Edit_CodTab", "6"}, {"Edit_PrdHor", nullptr}, {"Edit_Acerto", nullptr}},
     {},
     true,
     1,
     6,
     70,
     0,
     0,
     0},
    {"finishByPercentage",
     {{"Edit_TipoTab", "7"}, {"Edit_CodTab", "5"}, {"Edit_Perc", "2"}},
     {},
     true,
     7,
     5,
     0,
     2,
     0,
     0},
    {"finishByPrice",
     {{"Edit_TipoTab", "7"}, {"Edit_CodTab", "3"}, {"Edit_Perc", "0"}, {"Edit_Custo", "0,40"}},
     {},
     true,
     7,
     3,
     0.4,
     0,
     0,
     0},
    {"fixedCostAsksThePrice",
     {{"Edit_TipoTab", "10"}, {"Edit_CodTab", "5"}, {"Edit_Custo", "40"}},
     {},
     true,
     10,
     5,
     40,
     0,
     0,
     0},
    {"transportWithKilometres",
     {{"Edit_TipoTab", "99"}, {"Edit_CodTab", "3"}, {"Edit_Perc", ""}, {"Edit_Custo", nullptr}, {"Edit_Qtd", "100"}},
     {},
     true,
     99,
     3,
     0.95,
     0,
     100,
     0},
    {"transportWithoutKilometres",
     {{"Edit_TipoTab", "99"}, {"Edit_CodTab", "3"}, {"Edit_Perc", ""}, {"Edit_Custo", nullptr}, {"Edit_Qtd", "0"}},
     {"<beep>", "Insira o nº de Kms"},
     false,
     0,
     0,
     0,
     0,
     0,
     0},
    {"typeNotInTheList", {{"Edit_TipoTab", "12"}}, {"<beep>", "Tipo de Tabela Inválida"}, false, 0, 0, 0, 0, 0, 0},
    {"codeNotInTheTable", {{"Edit_TipoTab", "2"}, {"Edit_CodTab", "999"}}, {"<beep>"}, false, 0, 0, 0, 0, 0, 0},
    {"emptyPrice",
     {{"Edit_TipoTab", "10"}, {"Edit_CodTab", "5"}, {"Edit_Custo", ""}},
     {"<beep>"},
     false,
     0,
     0,
     0,
     0,
     0,
     0},
    {"emptyCodeAddsNothing", {{"Edit_TipoTab", "2"}, {"Edit_CodTab", ""}}, {}, false, 0, 0, 0, 0, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, AddedLine,
                         ::testing::Combine(::testing::ValuesIn(kAdds), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<AddCase>);

TEST_P(DetailPageForm, cancelledLineStoresNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(1);
    p.toGrid();
    const long long before = p.lineCount();
    p.click("BotInserirLinha");
    p.steps({{"Edit_TipoTab", "10"}, {"Edit_CodTab", "5"}});
    EXPECT_EQ(p.form.focused(), "Edit_Custo");
    p.click("BotCancLinha");
    EXPECT_EQ(p.lineCount(), before);
    EXPECT_EQ(p.form.focused(), "DBGrid1");
    EXPECT_TRUE(p.form.isEnabled("DBGrid1"));
    EXPECT_FALSE(p.form.isEnabled("Edit_TipoTab"));
}

// A changed price is stored with the whole sub-quote recalculated: the
// totals count the line once, with its new value.
TEST_P(DetailPageForm, changedLineIsStoredWithTheRecalculation)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(1);
    p.toGrid();
    const int detail = p.db->scalar("SELECT MIN(DETAIL) FROM ORCDET WHERE CODIGO = 1 AND SUBCODIGO = 0 AND "
                                    "TIPOTABELA = 10")
                           .toInt();
    ASSERT_GT(detail, 0);
    p.chooseLine(detail);
    p.click("BotAlterarLinha");
    EXPECT_EQ(p.form.focused(), "Edit_Custo");
    p.step({"Edit_Custo", "300"});
    EXPECT_EQ(p.scenario.messages().texts(), QStringList{});
    EXPECT_DOUBLE_EQ(p.line(detail, "PRECO").toDouble(), 300);
    EXPECT_DOUBLE_EQ(p.line(detail, "VALQTD1").toDouble(), 300);
    p.expectTotalsOfTheLines();
    EXPECT_EQ(p.form.focused(), "DBGrid1");
    EXPECT_EQ(qobject_cast<TORCF021*>(p.form.window())->worksheet().mode, WorksheetMode::Settled);
}

TEST_P(DetailPageForm, lineWhoseTableRowIsGoneIsNotChanged)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    const int detail = p.db->scalar("SELECT MIN(DETAIL) FROM ORCDET WHERE CODIGO = 1 AND SUBCODIGO = 0 AND "
                                    "TIPOTABELA = 10")
                           .toInt();
    const int code =
        p.db->scalar("SELECT CODTAB FROM ORCDET WHERE CODIGO = 1 AND SUBCODIGO = 0 AND DETAIL = :D", {{"D", detail}})
            .toInt();
    p.db->exec("DELETE FROM CUSTFIXOS WHERE CODIGO = :C", {{"C", code}});
    p.open(1);
    p.toGrid();
    p.scenario.messages().clear();
    p.chooseLine(detail);
    p.click("BotAlterarLinha");
    EXPECT_EQ(p.scenario.messages().transcript(), QStringList{"<beep>"});
    EXPECT_EQ(p.form.focused(), "DBGrid1");
    EXPECT_FALSE(p.form.isEnabled("Edit_Custo"));
}

struct LineDeleteCase {
    const char* label;
    bool yes;
};

class DeletedLineForm : public ::testing::TestWithParam<std::tuple<LineDeleteCase, Engine>> {};

TEST_P(DeletedLineForm, asksOnceAndIsStoredWithTheRecalculation)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    DetailPage p(engine);
    p.open(1);
    p.toGrid();
    p.scenario.messages().clear();
    const long long before = p.lineCount();
    p.chooseLine(1);
    p.scenario.messages().answer(c.yes);
    p.click("BotDeleteLinha");
    EXPECT_EQ(p.scenario.messages().texts(), QStringList{"Eliminar Linha do Orçamento !!! Confirma ?"});
    EXPECT_EQ(p.lineCount(), c.yes ? before - 1 : before);
    EXPECT_EQ(p.line(1, "DETAIL").isNull(), c.yes);
    EXPECT_EQ(p.form.gridRowCount("DBGrid1"), p.lineCount());
    p.expectTotalsOfTheLines();
}

const LineDeleteCase kLineDeletes[] = {{"yes", true}, {"no", false}};
INSTANTIATE_TEST_SUITE_P(Cases, DeletedLineForm,
                         ::testing::Combine(::testing::ValuesIn(kLineDeletes),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<LineDeleteCase>);

// The lookups of a table code: cutting operations alphabetically still in
// code order; Cancel takes nothing.
TEST_P(DetailPageForm, codeLookupsOfTheTableType)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(1);
    p.toGrid();
    p.click("BotInserirLinha");
    p.step({"Edit_TipoTab", "9"});
    ASSERT_EQ(p.form.focused(), "Edit_CodTab");
    p.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"Designação", "Código Nº", "Custo P/Plano"}));
        EXPECT_EQ(dialog.gridCell("Grid", 0, 0), "Corte e Vinco em Plano");
        EXPECT_EQ(dialog.gridCell("Grid", 1, 0), "Corte com Cortante Rotativo");
        dialog.click("CancelBtn");
    });
    p.form.ctrlInsert();
    p.scenario.settle();
    EXPECT_EQ(p.form.text("Edit_CodTab"), "");
    p.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid").first(), "Código Nº");
        dialog.clickRow("Grid", 2);
        dialog.click("OKBtn");
    });
    p.form.insert();
    p.scenario.settle();
    EXPECT_EQ(p.form.text("Edit_CodTab"), "3");
    EXPECT_EQ(p.form.focused(), "Edit_CodTab");
}

// From "Totais" back to the page: entering the grid recalculates the sub-quote.
TEST_P(DetailPageForm, backFromTotalsTheGridRecalculates)
{
    KV_SKIP_WITHOUT(GetParam());
    DetailPage p(GetParam());
    p.open(1);
    p.toGrid();
    p.db->exec("UPDATE ORCDET SET VALQTD1 = 0 WHERE CODIGO = 1 AND SUBCODIGO = 0");
    p.click("BotTotais");
    p.form.find<QTabWidget>("Tb")->setCurrentIndex(2);
    p.scenario.settle();
    EXPECT_EQ(p.form.focused(), "DBGrid1");
    EXPECT_GT(p.db->scalar("SELECT MAX(VALQTD1) FROM ORCDET WHERE CODIGO = 1 AND SUBCODIGO = 0").toDouble(), 0);
    p.expectTotalsOfTheLines();
    EXPECT_EQ(qobject_cast<TORCF021*>(p.form.window())->worksheet().mode, WorksheetMode::Settled);
}

KV_ENGINE_SUITE(DetailPageForm);

} // namespace
