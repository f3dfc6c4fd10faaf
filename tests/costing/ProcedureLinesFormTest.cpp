// The procedures TORCF013 and their lines TORCF014: the line numbers, a line
// added by each kind of table search with the names it records, a search
// dismissed, the checks of the line fields, a procedure deleted with its
// lines, the statements given back at close and the list of procedures.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

#include "platform/db/Dataset.h"
#include "platform/report/PreviewWindow.h"
#include "costing/core/MachineRules.h"
#include "costing/core/ProcedureLines.h"

#include <set>
#include <thread>

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// Two procedures, the first with lines 1 to 3, and a row in each table the
// tests search (the version step's type names 11 and 99, made at the login, included).
struct Procedures {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Procedures(Engine engine) : session(scenario, engine)
    {
        session.grant("Parametrizacao de Procedimentos", "S");
        session.grant("Procedimentos", "S");
        auto app = session.application();
        kv::test::insertRows(*app, "PROCMAS", {"CODIGO", "DESIGNACAO"},
                             {{1, "Caixa impressa e cortada"}, {2, "Caixa com janela"}});
        for (int detail = 1; detail <= 3; ++detail)
            app->exec("INSERT INTO PROCDET (CODIGO, DETAIL, TIPOTABELA, CODTAB, NOMETABELA, DESTAB) "
                      "VALUES (1, :D, 1, :D, 'Máquinas', 'Linha')",
                      {{"D", detail}});
        app->exec("INSERT INTO PROCDET (CODIGO, DETAIL, TIPOTABELA, CODTAB, NOMETABELA, DESTAB) "
                  "VALUES (2, 1, 2, 4, 'Tintas', 'Preto Processo')");
        kv::test::insertRows(*app, "MAQUINAS", {"CODIGO", "DESIGNACAO", "TIPOMAQUINA"},
                             {{1, "Offset 4 Cores", 1}, {2, "Cortante Automático Grande Formato", 2}});
        session.addInk(4, "TI-PRE01", "Preto Processo", 1.1, 6.85);
        kv::test::insertRows(*app, "ACABAMENTO", {"CODIGO", "DESIGNACAO", "CUSTOFIXO"},
                             {{3, "Plastificação Brilho", 25}});
        kv::test::insertRows(*app, "SUBCONTRATO", {"CODIGO", "DESIGNACAO", "PRECO"},
                             {{1, "Serigrafia", 40}, {2, "Dourado a Quente", 55}});
        kv::test::insertRows(
            *app, "CUSTRANSP", {"CODIGO", "PAIS", "REGIAO", "PROVINCIA", "PRCORCAM", "CUSTOKM"},
            {{5, "Portugal", "Norte", "Braga", 60, 0.9}, {6, "Portugal", "Centro", "Aveiro", 45, 0.8}});
    }

    FormDriver open(const char* form = "TORCF014")
    {
        FormDriver driver = scenario.open(form);
        scenario.wait();
        return driver;
    }

    // A procedure chosen, Inserir from its lines, then the table type typed and left.
    void startLine(FormDriver& form, int procedureRow, const QString& type)
    {
        form.clickRow("DBGrid2", procedureRow);
        scenario.wait();
        form.focus("DBGrid1");
        scenario.wait();
        form.click("BotInserir");
        scenario.wait();
        form.type("Edit_TipoTab", type);
        form.enter();
        scenario.wait();
    }

    kv::db::QueryResult lines(int procedure)
    {
        return session.application()->query(
            "SELECT DETAIL, TIPOTABELA, CODTAB, NOMETABELA, DESTAB FROM PROCDET WHERE CODIGO = :P ORDER BY DETAIL",
            {{"P", procedure}});
    }
};

// ------------------------------------------------------------------ searches

struct SearchCase {
    const char* label;
    QString type;
    bool alphabetic;
    int moves; // rows moved down in the list before OK
    qint64 code;
    QString tableName;
    QString designation;
};

class LineSearch : public ::testing::TestWithParam<std::tuple<SearchCase, Engine>> {};

TEST_P(LineSearch, RecordsTheNamesOfTheRowChosen)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Procedures p(engine);
    FormDriver form = p.open();
    p.startLine(form, 1, c.type);
    ASSERT_EQ(form.focused(), "Edit_CodTab");
    EXPECT_EQ(form.statusPanel(0), "Tecla <INSERT> Busca Numérica -- <CTRL-INSERT> Busca Alfabética");
    QString caption;
    p.scenario.onDialog([&](FormDriver& lookup) {
        caption = lookup.caption();
        for (int i = 0; i < c.moves; ++i)
            lookup.press(Qt::Key_Down);
        lookup.clickButton("OK");
    });
    if (c.alphabetic)
        form.ctrlInsert();
    else
        form.insert();
    p.scenario.wait();
    EXPECT_EQ(caption, "Localiar");
    EXPECT_EQ(form.focused(), "DBGrid1");
    const kv::db::QueryResult lines = p.lines(2);
    ASSERT_EQ(lines.rows.size(), 2u);
    EXPECT_EQ(lines.value(1, "DETAIL").toInt(), 2);
    EXPECT_EQ(lines.value(1, "TIPOTABELA").toString(), c.type);
    EXPECT_EQ(lines.value(1, "CODTAB").toLongLong(), c.code);
    EXPECT_EQ(lines.value(1, "NOMETABELA").toString(), c.tableName);
    EXPECT_EQ(lines.value(1, "DESTAB").toString(), c.designation);
    // The grid stands on the new line.
    EXPECT_EQ(form.gridCell("DBGrid1", form.gridCurrentRow("DBGrid1"), 2), QString::number(c.code));
}

INSTANTIATE_TEST_SUITE_P(
    Costing, LineSearch,
    ::testing::Combine(
        ::testing::Values(SearchCase{"machine", "1", false, 0, 1, "Máquinas", "Offset 4 Cores"},
                          // A designation longer than the line keeps its first 30 characters.
                          SearchCase{"long machine name", "1", false, 1, 2, "Máquinas",
                                     "Cortante Automático Grande For"},
                          SearchCase{"ink", "2", false, 0, 4, "Tintas", "Preto Processo"},
                          SearchCase{"finish", "7", true, 0, 3, "Acabamentos", "Plastificação Brilho"},
                          // By name: "Dourado a Quente" before "Serigrafia".
                          SearchCase{"subcontract by name", "11", true, 0, 2, "Subcontratação", "Dourado a Quente"},
                          SearchCase{"transport by place", "99", true, 0, 6, "Custos de Transporte", "Aveiro"},
                          SearchCase{"transport by code", "99", false, 0, 5, "Custos de Transporte", "Braga"}),
        ::testing::ValuesIn(engines())),
    caseName<SearchCase>);

TEST(LineSearchColumns, TheTransportListShowsTheColumnsTheTableHas)
{
    Procedures p(Engine::Sqlite);
    FormDriver form = p.open();
    p.startLine(form, 0, "99");
    QStringList titles;
    QString firstCell;
    p.scenario.onDialog([&](FormDriver& lookup) {
        titles = lookup.gridTitles("Grid");
        firstCell = lookup.gridCell("Grid", 0, 3);
        lookup.clickButton("OK");
    });
    form.insert();
    p.scenario.wait();
    EXPECT_EQ(titles, (QStringList{"Código", "País", "Região", "Província", "Preço P/Orçam.", "Custo P/Km"}));
    EXPECT_EQ(firstCell, "Braga");
}

TEST(LineSearchCancel, ADismissedSearchAddsNoLine)
{
    Procedures p(Engine::Sqlite);
    FormDriver form = p.open();
    p.startLine(form, 1, "1");
    p.scenario.onDialog([](FormDriver& lookup) { lookup.clickButton("Cancelar"); });
    form.insert();
    p.scenario.wait();
    EXPECT_EQ(form.focused(), "Edit_CodTab");
    EXPECT_TRUE(form.text("Edit_CodTab").isEmpty());
    form.click("BotCancelar");
    p.scenario.wait();
    EXPECT_EQ(p.lines(2).rows.size(), 1u);
    EXPECT_TRUE(p.scenario.messages().transcript().isEmpty());
}

// ------------------------------------------------------------------ field checks

struct FieldCase {
    const char* label;
    int procedureRow; // -1: no procedure at all
    QString type;
    bool leaveCode; // Enter in the code field without a search
    QStringList transcript;
    QString focus;
};

class LineFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(LineFields, AreChecked)
{
    const FieldCase& c = GetParam();
    Procedures p(Engine::Sqlite);
    if (c.procedureRow < 0)
        p.session.application()->exec("DELETE FROM PROCMAS");
    FormDriver form = p.open();
    if (c.procedureRow < 0) {
        form.click("BotInserir");
        p.scenario.wait();
    } else {
        p.startLine(form, c.procedureRow, c.type);
        if (c.leaveCode) {
            form.enter();
            p.scenario.wait();
        }
    }
    EXPECT_EQ(p.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    EXPECT_EQ(p.lines(1).rows.size(), 3u);
    EXPECT_EQ(p.lines(2).rows.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, LineFields,
    ::testing::Values(
        FieldCase{"no_procedure", -1, "", false, {"<beep>", "procedimento Inválido c/ o Nº 0"}, "DBGrid1"},
        FieldCase{"unknown_type", 0, "12", false, {"<beep>", "Tipo de Tabela Inválida"}, "Edit_TipoTab"},
        FieldCase{"known_type", 0, "9", false, {}, "Edit_CodTab"},
        FieldCase{"code_without_search",
                  0,
                  "1",
                  true,
                  {"<beep>", "Prima <Ins> Busca numérica ; <Crtl>+<Ins> Busca Alfabética"},
                  "Edit_CodTab"}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

// ------------------------------------------------------------------ line numbers

struct NumberCase {
    const char* label;
    int procedure;
    QList<int> deleted; // lines deleted first
    int next;
};

class LineNumbers : public ::testing::TestWithParam<std::tuple<NumberCase, Engine>> {};

TEST_P(LineNumbers, NeverCollide)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Procedures p(engine);
    auto app = p.session.application();
    app->exec("INSERT INTO PROCMAS (CODIGO, DESIGNACAO) VALUES (3, 'Caixa plastificada')");
    for (int detail : c.deleted)
        deleteProcedureLine(*app, c.procedure, detail);
    EXPECT_EQ(nextLineNumber(*app, c.procedure), c.next);
    EXPECT_EQ(
        addProcedureLine(*app, c.procedure,
                         {.tableType = 1, .tableCode = 1, .tableName = "Máquinas", .designation = "Offset 4 Cores"}),
        c.next);
    EXPECT_EQ(nextLineNumber(*app, c.procedure), c.next + 1);
}

INSTANTIATE_TEST_SUITE_P(Costing, LineNumbers,
                         ::testing::Combine(::testing::Values(NumberCase{"first line", 3, {}, 1},
                                                              NumberCase{"after three lines", 1, {}, 4},
                                                              NumberCase{"line 2 deleted", 1, {2}, 4},
                                                              NumberCase{"line 3 deleted", 1, {3}, 3},
                                                              NumberCase{"every line deleted", 1, {1, 2, 3}, 1}),
                                            ::testing::ValuesIn(engines())),
                         caseName<NumberCase>);

class LinesTogether : public ::testing::TestWithParam<Engine> {};

// Two workstations adding lines to one procedure at the same moment: every
// line is stored, each under a number of its own.
TEST_P(LinesTogether, TwoWorkstationsAddingLinesAtOnceBothSucceed)
{
    SKIP_WITHOUT(GetParam());
    Procedures p(GetParam());
    constexpr int Lines = 40;
    std::shared_ptr<kv::db::Connection> workstations[2] = {p.session.newApplicationConnection(),
                                                           p.session.newApplicationConnection()};
    std::vector<int> numbers[2];
    std::string failures[2];
    auto add = [&](int which) {
        try {
            for (int i = 0; i < Lines; ++i)
                numbers[which].push_back(addProcedureLine(
                    *workstations[which], 1,
                    {.tableType = 1, .tableCode = 1, .tableName = "Máquinas", .designation = "Linha"}));
        } catch (const kv::db::DbError& e) {
            failures[which] = e.fullText().toStdString();
        }
    };
    std::thread first(add, 0), second(add, 1);
    first.join();
    second.join();
    EXPECT_EQ(failures[0], "");
    EXPECT_EQ(failures[1], "");
    std::set<int> all(numbers[0].begin(), numbers[0].end());
    all.insert(numbers[1].begin(), numbers[1].end());
    EXPECT_EQ(all.size(), std::size_t(2 * Lines));
    EXPECT_EQ(p.lines(1).rows.size(), std::size_t(3 + 2 * Lines));
}

INSTANTIATE_TEST_SUITE_P(Costing, LinesTogether, ::testing::ValuesIn(engines()),
                         [](const auto& testInfo) { return engineName(testInfo.param); });

TEST(LineDelete, DeletesTheLineChosenAndTheNextLineTakesTheHighestNumber)
{
    Procedures p(Engine::Sqlite);
    FormDriver form = p.open();
    form.clickRow("DBGrid2", 0);
    p.scenario.wait();
    form.clickRow("DBGrid1", 1);
    p.scenario.messages().answer(true);
    form.click("BotDelete");
    p.scenario.wait();
    kv::db::QueryResult lines = p.lines(1);
    ASSERT_EQ(lines.rows.size(), 2u);
    EXPECT_EQ(lines.value(0, "DETAIL").toInt(), 1);
    EXPECT_EQ(lines.value(1, "DETAIL").toInt(), 3);

    // Inserir from the line grid adds to the same procedure.
    form.click("BotInserir");
    form.type("Edit_TipoTab", "1");
    form.enter();
    p.scenario.wait();
    p.scenario.onDialog([](FormDriver& lookup) { lookup.clickButton("OK"); });
    form.insert();
    p.scenario.wait();
    lines = p.lines(1);
    ASSERT_EQ(lines.rows.size(), 3u);
    EXPECT_EQ(lines.value(2, "DETAIL").toInt(), 4);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
}

// ------------------------------------------------------------------ procedures

struct DeleteCase {
    const char* label;
    bool confirmed;
    int procedures; // left in the grid
    std::size_t lines; // lines of procedure 1 left
};

class ProcedureDelete : public ::testing::TestWithParam<std::tuple<DeleteCase, Engine>> {};

TEST_P(ProcedureDelete, TakesItsLinesWithIt)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Procedures p(engine);
    {
        FormDriver form = p.open("TORCF013");
        form.clickRow("DBGrid1", 0);
        p.scenario.messages().answer(c.confirmed);
        form.click("BotDelete");
        p.scenario.wait();
        EXPECT_EQ(form.gridRowCount("DBGrid1"), c.procedures);
        form.click("BitTerminar");
    }
    EXPECT_EQ(p.lines(1).rows.size(), c.lines);
    EXPECT_EQ(p.lines(2).rows.size(), 1u);
    if (!c.confirmed)
        return;
    // A new procedure with the same number starts without lines.
    p.session.application()->exec("INSERT INTO PROCMAS (CODIGO, DESIGNACAO) VALUES (1, 'Caixa nova')");
    FormDriver lines = p.open();
    lines.clickRow("DBGrid2", 0);
    p.scenario.wait();
    EXPECT_EQ(lines.gridRowCount("DBGrid1"), 0);
}

INSTANTIATE_TEST_SUITE_P(Costing, ProcedureDelete,
                         ::testing::Combine(::testing::Values(DeleteCase{"confirmed", true, 1, 0},
                                                              DeleteCase{"answered no", false, 2, 3}),
                                            ::testing::ValuesIn(engines())),
                         caseName<DeleteCase>);

TEST(ProcedureName, AnEmptyNameIsRefused)
{
    Procedures p(Engine::Sqlite);
    FormDriver form = p.open("TORCF013");
    form.click("BotInserir");
    form.enter();
    p.scenario.wait();
    ASSERT_EQ(form.focused(), "Edit_Designacao");
    form.enter();
    p.scenario.wait();
    EXPECT_EQ(p.scenario.messages().transcript(), (QStringList{"<beep>", "Designação Inválida !!!"}));
    EXPECT_EQ(form.focused(), "Edit_Designacao");
}

// ------------------------------------------------------------------ close and report

TEST(LineFormClose, GivesTheTablesTheirOwnStatementsBack)
{
    Procedures p(Engine::Sqlite);
    {
        FormDriver form = p.open();
        for (const char* type : {"11", "99"}) {
            p.startLine(form, 1, type);
            p.scenario.onDialog([](FormDriver& lookup) { lookup.clickButton("OK"); });
            form.ctrlInsert();
            p.scenario.wait();
        }
        form.click("BitTerminar");
    }
    EXPECT_EQ(p.session.dataset("ZURIVAVEZA.SUBCONT").sql(), "Select * From SUBCONTRATO Order By CODIGO");
    EXPECT_EQ(p.session.dataset("ZURIVAVEZA.CUSTRANSP").sql(),
              "Select * From CUSTRANSP Order By PAIS,REGIAO,PROVINCIA");
    EXPECT_FALSE(p.session.dataset("ZURIVAVEZA.SUBCONT").isOpen());
}

TEST(ProcedureList, PrintsEachProcedureFollowedByItsLines)
{
    Procedures p(Engine::Sqlite);
    FormDriver form = p.open();
    kv::report::Document document;
    p.scenario.onDialog([&](FormDriver& preview) {
        document = qobject_cast<kv::report::PreviewWindow*>(preview.window())->document();
        preview.close();
    });
    form.click("BotPrint");
    p.scenario.wait();
    QStringList printed;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kv::report::BandKind::Detail || band.kind == kv::report::BandKind::SubDetail)
                for (const auto& item : band.items)
                    if (!item.text.isEmpty() && item.text != "Proc.Nº" && item.text != "Procedimento")
                        printed << item.text;
    EXPECT_EQ(printed,
              (QStringList{"1", "Caixa impressa e cortada", "Máquinas", "1", "Linha", "Máquinas", "2", "Linha",
                           "Máquinas", "3", "Linha", "2", "Caixa com janela", "Tintas", "4", "Preto Processo"}));
}

} // namespace

namespace {

// The demo company's tables as the quote engine will read them: machines it
// can price, bands in code order, procedure lines naming existing rows by
// the names those rows have.
TEST(DemoTables, MachinesBandsAndProceduresHoldTogether)
{
    kv::test::Scenario scenario;
    CostingSession session(scenario, Engine::Sqlite, true);
    auto app = session.application();
    const kv::db::QueryResult machines =
        app->query("SELECT CODIGO, TIPOMAQUINA, NROCORES, FACTOR1, UNDPROD, CODIGOCOLA FROM MAQUINAS");
    ASSERT_FALSE(machines.isEmpty());
    QSet<int> types;
    for (std::size_t i = 0; i < machines.rows.size(); ++i) {
        types << machines.value(i, "TIPOMAQUINA").toInt();
        EXPECT_TRUE(validFactor(machines.value(i, "FACTOR1"))) << i;
        EXPECT_TRUE(validColoursPerPass(machines.value(i, "TIPOMAQUINA"), machines.value(i, "NROCORES"))) << i;
        EXPECT_TRUE(validProductionUnit(machines.value(i, "UNDPROD").toString())) << i;
        const int glue = machines.value(i, "CODIGOCOLA").toInt();
        if (usesGlue(machines.value(i, "TIPOMAQUINA").toInt())) {
            EXPECT_EQ(app->scalar("SELECT COUNT(*) FROM COLAS WHERE CODIGO = :G", {{"G", glue}}).toInt(), 1) << i;
        }
    }
    EXPECT_EQ(types, (QSet<int>{1, 2, 3, 4}));
    // Every machine's cost centre is one of the demo accounting's in each year it has.
    auto accounting = session.environment().modules().connections().DbContab;
    const kv::db::QueryResult years = accounting->query("SELECT DISTINCT ANO FROM CCUSTO");
    for (const auto& year : years.rows)
        for (const auto& centre : app->query("SELECT DISTINCT CCUSTO FROM MAQUINAS").rows)
            EXPECT_EQ(accounting
                          ->scalar("SELECT COUNT(*) FROM CCUSTO WHERE ANO = :A AND CODIGO = :C",
                                   {{"A", year.front()}, {"C", centre.front()}})
                          .toInt(),
                      1);
    EXPECT_GT(app->scalar("SELECT COUNT(*) FROM TIRAGLIQ").toInt(), 0);
    EXPECT_EQ(app->scalar("SELECT COUNT(*) FROM PROCMAS").toInt(), 3);

    const kv::db::QueryResult lines = app->query("SELECT TIPOTABELA, CODTAB, NOMETABELA, DESTAB FROM PROCDET");
    ASSERT_FALSE(lines.isEmpty());
    for (std::size_t i = 0; i < lines.rows.size(); ++i) {
        const TableSearch* search = tableSearch(lines.value(i, "TIPOTABELA").toInt());
        ASSERT_NE(search, nullptr) << i;
        const QVariant name =
            app->scalar(QStringLiteral("SELECT %1 FROM %2 WHERE CODIGO = :C").arg(search->designation, search->table),
                        {{"C", lines.value(i, "CODTAB")}});
        EXPECT_EQ(name.toString().left(30), lines.value(i, "DESTAB").toString()) << i;
        EXPECT_EQ(app->scalar("SELECT DESIGNACAO FROM TIPOTAB WHERE CODIGO = :T", {{"T", search->type}}).toString(),
                  lines.value(i, "NOMETABELA").toString())
            << i;
    }
}

} // namespace
