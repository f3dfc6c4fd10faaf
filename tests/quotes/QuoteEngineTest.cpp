#include "quotes/CollectingMessages.h"
#include "quotes/QuoteDatabase.h"
#include "quotes/QuoteFixture.h"

#include "quotes/core/ChartRows.h"
#include "quotes/core/CommercialPricing.h"
#include "quotes/core/QuoteEngine.h"
#include "quotes/core/QuoteHeader.h"
#include "quotes/core/QuoteRepository.h"

#include <gtest/gtest.h>

using namespace kv::quotes;
using namespace kv::quotes::test;
using kv::db::Dialect;

namespace {

// Writes the plant's cost tables into the database, as the costing forms would.
void storeTables(kv::db::Connection& db, const CostTables& t)
{
    for (const auto& [code, m] : t.machines) {
        kv::db::Params p{{"CODIGO", code},
                         {"DESIGNACAO", m.designation},
                         {"NROCORES", m.coloursPerPass},
                         {"CUSTOHORA", m.costPerHour},
                         {"UNDPROD", m.productionUnit},
                         {"TIPOMAQUINA", m.machineType},
                         {"ACEMAQMIN", m.machineMin},
                         {"ACEMAQMAX", m.machineMax},
                         {"ACECOLLATERALMIN", m.sideSeamMin},
                         {"ACEFUNDOAUTOMIN", m.autoBottomMin},
                         {"CODIGOCOLA", m.glueCode},
                         {"CONSUMCOLA", m.glueConsumption}};
        QStringList columns = p.names();
        for (int k = 1; k <= 3; ++k) {
            p.set(QStringLiteral("FACTOR%1").arg(k), m.factor[k - 1]);
            p.set(QStringLiteral("ACECORTANTEMIN%1").arg(k), m.dieMin[k - 1]);
            p.set(QStringLiteral("CONSUMCOLA%1").arg(k), m.glueConsumptionByKind[k - 1]);
        }
        for (int k = 1; k <= 4; ++k) {
            p.set(QStringLiteral("ACEPASSMIN%1").arg(k), m.passMin[k - 1]);
            p.set(QStringLiteral("ACEPASSMAX%1").arg(k), m.passMax[k - 1]);
        }
        columns = p.names();
        QStringList params;
        for (const QString& c : columns)
            params << QLatin1Char(':') + c;
        db.exec(QStringLiteral("INSERT INTO MAQUINAS (%1) VALUES (%2)").arg(columns.join(','), params.join(',')), p);
    }
    for (const auto& [code, b] : t.boards)
        db.exec("INSERT INTO PAPEIS (CODIGO, DESIGNACAO, GRAMAGEM, PRECO, TIPOCALC) VALUES (:C, :D, :G, :P, :T)",
                {{"C", code}, {"D", b.designation}, {"G", b.grammage}, {"P", b.price}, {"T", b.calculation}});
    auto materials = [&db](const char* table, const std::unordered_map<int, MaterialRow>& rows) {
        for (const auto& [code, m] : rows)
            db.exec(QStringLiteral("INSERT INTO %1 (CODIGO, DESIGNACAO, GRAMAGEM, PRECO) VALUES (:C, :D, :G, :P)")
                        .arg(QLatin1String(table)),
                    {{"C", code}, {"D", m.designation}, {"G", m.grammage}, {"P", m.price}});
    };
    materials("TINTAS", t.inks);
    materials("VERNIZES", t.varnishes);
    materials("FILMEPLAS", t.films);
    materials("PVC", t.pvcs);
    for (const auto& [code, g] : t.glues)
        db.exec(
            "INSERT INTO COLAS (CODIGO, DESIGNACAO, GRAMAGEM, PERC, PRECO, TIPOCALC) VALUES (:C, :D, :G, :R, :P, :T)",
            {{"C", code},
             {"D", g.designation},
             {"G", g.grammage},
             {"R", g.percentage},
             {"P", g.price},
             {"T", g.calculation}});
    for (const auto& [code, f] : t.finishes)
        db.exec("INSERT INTO ACABAMENTO (CODIGO, DESIGNACAO, CUSTOFIXO, PERC, TIPOCUSTO, UNIDADE) "
                "VALUES (:C, :D, :F, :R, :T, :U)",
                {{"C", code},
                 {"D", f.designation},
                 {"F", f.fixedCost},
                 {"R", f.percentage},
                 {"T", f.costType},
                 {"U", f.unit}});
    for (const auto& [code, c] : t.cuttings)
        db.exec("INSERT INTO OPERCORTE (CODIGO, DESIGNACAO, CUSTOPPLANO, UNIDADE) VALUES (:C, :D, :P, :U)",
                {{"C", code}, {"D", c.designation}, {"P", c.cost}, {"U", c.unit}});
    auto flag = [](bool b) { return b ? QStringLiteral("S") : QStringLiteral("N"); };
    for (const auto& [code, f] : t.fixedCosts)
        db.exec(
            "INSERT INTO CUSTFIXOS (CODIGO, DESIGNACAO, PRECO, LUCROBRUTO, MATPRIMA, MAOOBRA, EMBALAGEM, PRODSUBSID) "
            "VALUES (:C, :D, :P, :L, :MP, :MO, :EM, :PS)",
            {{"C", code},
             {"D", f.designation},
             {"P", f.price},
             {"L", flag(f.excludedInRepeats)},
             {"MP", flag(f.rawMaterial)},
             {"MO", flag(f.labour)},
             {"EM", flag(f.packaging)},
             {"PS", flag(f.subsidiary)}});
    for (const auto& [code, s] : t.subcontracts)
        db.exec("INSERT INTO SUBCONTRATO (CODIGO, DESIGNACAO, PRECO, GRS_M2, ACESSORIO, UNIDADE) "
                "VALUES (:C, :D, :P, :G, 'N', :U)",
                {{"C", code}, {"D", s.designation}, {"P", s.price}, {"G", s.gramsPerM2}, {"U", s.unit}});
    for (const auto& [code, tr] : t.transports)
        db.exec("INSERT INTO CUSTRANSP (CODIGO, PROVINCIA, PRCORCAM, CUSTOKM) VALUES (:C, :P, :R, :K)",
                {{"C", code}, {"P", tr.province}, {"R", tr.percentage}, {"K", tr.costPerKm}});
    for (const WasteBand& b : t.wasteBands)
        db.exec("INSERT INTO TIRAGLIQ (CODIGO, QTD1, QTD2, PRCACAB1A, PRCACAB2A, PRCIMPR1A, PRCIMPR2A, PRCIMPR3A, "
                "PRCIMPR4A) VALUES (:C, :F, :T, :A1, :A2, :I1, :I2, :I3, :I4)",
                {{"C", b.code},
                 {"F", static_cast<qint64>(b.from)},
                 {"T", static_cast<qint64>(b.to)},
                 {"A1", b.finishingNormal},
                 {"A2", b.finishingOther},
                 {"I1", b.printing[0]},
                 {"I2", b.printing[1]},
                 {"I3", b.printing[2]},
                 {"I4", b.printing[3]}});
}

template <class Param>
class EngineFixture : public ::testing::TestWithParam<Param> {
protected:
    virtual Dialect dialect() const = 0;

    void SetUp() override
    {
        m_database = std::make_unique<QuoteDatabase>(dialect());
        if (!m_database->available())
            GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
        db = &m_database->connection();
        storeTables(*db, plantTables());
        tables = CostTables::load(*db);
        // Procedure 5: ink, printing machine, cutting and creasing, fixed cost, finish.
        db->exec("INSERT INTO PROCMAS (CODIGO, DESIGNACAO) VALUES (5, 'Caixa impressa')");
        db->exec("INSERT INTO PROCMAS (CODIGO, DESIGNACAO) VALUES (6, 'Só custo fixo')");
        const int lines[][2] = {{2, 1}, {1, 1}, {1, 2}, {10, 1}, {7, 1}};
        for (int i = 0; i < 5; ++i)
            db->exec("INSERT INTO PROCDET (CODIGO, DETAIL, TIPOTABELA, CODTAB, DESTAB) VALUES (5, :D, :T, :C, 'x')",
                     {{"D", i + 1}, {"T", lines[i][0]}, {"C", lines[i][1]}});
        db->exec("INSERT INTO PROCDET (CODIGO, DETAIL, TIPOTABELA, CODTAB, DESTAB) VALUES (6, 1, 10, 1, 'x')");
        db->exec("INSERT INTO ORCPARGER (CODIGO, DESIGNCOM1, DESIGNCOM2, DESIGNCOM3, TIPINCID1, TIPINCID2, "
                 "TIPINCID3, COMPS1) VALUES (1, 'Estrutura', 'Comissão', 'Margem', 'C', 'P', 'P', 'S')");
    }

    QuoteEngine engine()
    {
        QuoteSession s;
        s.application = db;
        s.tables = &tables;
        s.messages = &messages;
        s.user = QStringLiteral("ANA");
        s.priceDecimals = 2;
        return QuoteEngine(s);
    }

    std::unique_ptr<QuoteDatabase> m_database;
    kv::db::Connection* db = nullptr;
    CostTables tables;
    CollectingMessages messages;
};

class QuoteEngineTest : public EngineFixture<Dialect> {
protected:
    Dialect dialect() const override { return GetParam(); }
};

// A whole sub-quote from a small procedure through totals, commercial costs
// and closing, every stored value checked to the cent.
TEST_P(QuoteEngineTest, wholeSubQuoteToTheCent)
{
    QuoteEngine e = engine();
    ASSERT_TRUE(e.start(plantQuoteRow(), 5));
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();

    QuoteRepository repo(*db);
    EXPECT_EQ(repo.chosenProcedures("ANA"), std::vector<int>{5});
    const auto lines = repo.lines(7, 0);
    ASSERT_EQ(lines.size(), 6u);
    struct Expected {
        int type;
        const char* costClass;
        double price;
        Triple value;
        Triple consumption;
    };
    const Expected expected[] = {
        {2, "MP", 10, {0.04, 0.07, 0}, {0.0035, 0.007, 0}},
        {1, "CM", 60, {47.33, 64.66, 0}, {0, 0, 0}},
        {8, "MP", 0.8, {242.59, 485.18, 0}, {303.24, 606.48, 0}},
        {1, "CM", 50, {56.1, 92.2, 0}, {0, 0, 0}},
        {10, "MP", 25, {25, 25, 0}, {0, 0, 0}},
        {7, "EM", 12, {60, 120, 0}, {0, 0, 0}},
    };
    for (std::size_t i = 0; i < 6; ++i) {
        const CostLine& l = lines[i];
        const Expected& x = expected[i];
        EXPECT_EQ(l.detail, static_cast<int>(i + 1));
        EXPECT_EQ(l.tableType, x.type) << i;
        EXPECT_EQ(l.costClass, x.costClass) << i;
        EXPECT_DOUBLE_EQ(l.price, x.price) << i;
        for (std::size_t n = 0; n < 3; ++n) {
            EXPECT_DOUBLE_EQ(l.value[n], x.value[n]) << "line " << i + 1 << " value " << n + 1;
            EXPECT_DOUBLE_EQ(l.consumption[n], x.consumption[n]) << "line " << i + 1 << " consumption " << n + 1;
        }
    }
    EXPECT_EQ(lines[1].designation, "Impressora 4 Cores");
    EXPECT_DOUBLE_EQ(lines[1].makeReadyHm, 0.30);
    EXPECT_DOUBLE_EQ(lines[1].factor, 5000);

    auto row = repo.row(7, 0);
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row->number("VALORORC1"), 431.06);
    EXPECT_DOUBLE_EQ(row->number("VALORORC2"), 787.11);
    EXPECT_DOUBLE_EQ(row->number("NPLANOS1"), 1444);
    EXPECT_EQ(row->text("APROVADO"), "N");

    // Totals page: sub-quote totals and the summary row.
    auto summary = e.totals(7, 0, QVariant(2));
    ASSERT_TRUE(summary);
    const auto stored = repo.row(7, 99);
    ASSERT_TRUE(stored);
    EXPECT_DOUBLE_EQ(stored->number("VALORORC1"), 431.06);
    EXPECT_DOUBLE_EQ(stored->number("VALMP1"), 267.63);
    EXPECT_DOUBLE_EQ(stored->number("VALCM1"), 103.43);
    EXPECT_DOUBLE_EQ(stored->number("VALEM1"), 60);
    EXPECT_DOUBLE_EQ(stored->number("PRECOORC1"), 86.212);
    EXPECT_DOUBLE_EQ(stored->number("PRECOCLI2"), 78.711);
    EXPECT_EQ(stored->text("NOME"), "Cliente de Teste");
    EXPECT_EQ(stored->text("UNDVND"), "Mil");

    // Commercial costs: structure 10 % on cost, commission 5 % and margin 20 % on the price.
    const auto parameters = repo.commercialParameters();
    ASSERT_TRUE(parameters);
    summary->set("PRCCOM1", 10.0);
    summary->set("PRCCOM2", 5.0);
    summary->set("PRCCOM3", 20.0);
    CommercialPricing pricing;
    pricing.calculate(*summary, *parameters, 2);
    EXPECT_DOUBLE_EQ(summary->number("VALCOM1A"), 43.11);
    EXPECT_DOUBLE_EQ(summary->number("VALCOM2A"), 31.61);
    EXPECT_DOUBLE_EQ(summary->number("VALCOM3A"), 126.44);
    EXPECT_DOUBLE_EQ(summary->number("VALORORC1"), 632.22);
    EXPECT_DOUBLE_EQ(summary->number("PRECOCLI1"), 126.44);
    EXPECT_DOUBLE_EQ(summary->number("VALCOM2B"), 57.72);
    EXPECT_DOUBLE_EQ(summary->number("VALORORC2"), 1154.43);
    EXPECT_DOUBLE_EQ(summary->number("PRECOCLI2"), 115.44);

    // The estimator asks 130.00 for quantity 1 and keeps the proposal for quantity 2.
    CommercialPricing::setClientPrice(*summary, 1, 130.0, 2);
    CommercialPricing::setClientPrice(*summary, 2, summary->number("PRECOCLI2"), 2);
    const QuoteRow closed = e.close(*summary, 0);
    const auto final = repo.row(7, 99);
    ASSERT_TRUE(final);
    EXPECT_DOUBLE_EQ(final->number("VALORCLI1"), 650);
    EXPECT_DOUBLE_EQ(final->number("MARGEMLIQ1"), 144.22); // 650 - 431.06 - 43.11 - 31.61
    EXPECT_DOUBLE_EQ(final->number("MARGEMPRC1"), 22.19);
    EXPECT_DOUBLE_EQ(final->number("MARGEMVALOR"), 144.22);
    EXPECT_DOUBLE_EQ(final->number("VALORCLI2"), 1154.40);
    EXPECT_DOUBLE_EQ(final->number("MARGEMLIQ2"), 230.86);
    EXPECT_DOUBLE_EQ(final->number("MARGEMPRC2"), 20);
    EXPECT_EQ(final->text("MANUAL_AUTO"), "M");
    const auto sub = repo.row(7, 0);
    EXPECT_DOUBLE_EQ(sub->number("PRCCOM3"), 20);
    EXPECT_DOUBLE_EQ(sub->number("PRECOCLI1"), 130);

    ChartRows chart(*db, ChartRows::Table::Saldos, "ANA", QuoteEngine::kChartProgram);
    const auto slices = chart.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_EQ(slices[0].label, "C.Base");
    EXPECT_DOUBLE_EQ(slices[0].value, 431.06);
    EXPECT_DOUBLE_EQ(slices[1].value, 74.72);
    EXPECT_DOUBLE_EQ(slices[2].value, 144.22);

    // Changing a quantity and starting again recalculates the stored lines.
    QuoteRow changed = *repo.row(7, 0);
    changed.set("QTDORC1", 10.0);
    ASSERT_TRUE(e.start(changed));
    const auto again = repo.lines(7, 0);
    ASSERT_EQ(again.size(), 6u);
    EXPECT_DOUBLE_EQ(again[2].consumption[0], 606.48);
    EXPECT_DOUBLE_EQ(repo.row(7, 0)->number("NPLANOS1"), 2888);
}

TEST_P(QuoteEngineTest, unknownProcedureStopsBeforeAnythingIsWritten)
{
    QuoteEngine e = engine();
    EXPECT_FALSE(e.start(plantQuoteRow(), 404));
    EXPECT_EQ(messages.errors, QStringList{"Procedimento Inexistente"});
    QuoteRepository repo(*db);
    EXPECT_FALSE(repo.row(7, 0));
    EXPECT_TRUE(repo.chosenProcedures("ANA").empty());
}

TEST_P(QuoteEngineTest, proceduresAreCalculatedInCodeOrderAndChosenOnce)
{
    QuoteRepository repo(*db);
    repo.addChosenProcedure("ANA", 6, "Só custo fixo");
    QuoteEngine e = engine();
    ASSERT_TRUE(e.start(plantQuoteRow(), 6)); // already chosen: not added twice
    EXPECT_EQ(repo.chosenProcedures("ANA"), std::vector<int>{6});
    const auto lines = repo.lines(7, 0);
    ASSERT_EQ(lines.size(), 2u); // the fixed cost and the board
    EXPECT_EQ(lines[0].tableType, 10);
    EXPECT_EQ(lines[1].tableType, 8);
}

// The summary row is replaced in one transaction: when the new row is
// refused, the previous one stays.
TEST_P(QuoteEngineTest, refusedSummaryRowKeepsThePreviousOne)
{
    QuoteEngine e = engine();
    ASSERT_TRUE(e.start(plantQuoteRow(), 6));
    ASSERT_TRUE(e.totals(7, 0, QVariant(2)));
    if (GetParam() == Dialect::Sqlite) {
        db->exec("CREATE TRIGGER recusa BEFORE INSERT ON ORCMAS WHEN NEW.SUBCODIGO = 99 "
                 "BEGIN SELECT RAISE(ABORT, 'recusado'); END");
    } else {
        db->exec("CREATE FUNCTION recusa() RETURNS trigger AS $$ BEGIN "
                 "IF NEW.SUBCODIGO = 99 THEN RAISE EXCEPTION 'recusado'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql");
        db->exec("CREATE TRIGGER recusa BEFORE INSERT ON ORCMAS FOR EACH ROW EXECUTE FUNCTION recusa()");
    }
    EXPECT_THROW(e.totals(7, 0, QVariant(2)), kv::db::DbError);
    QuoteRepository repo(*db);
    const auto summary = repo.row(7, 99);
    ASSERT_TRUE(summary);
    EXPECT_DOUBLE_EQ(summary->number("VALMP1"), repo.row(7, 0)->number("VALMP1"));
}

TEST_P(QuoteEngineTest, chartRowsAreRebuiltNotAddedUp)
{
    QuoteRow summary;
    summary.set("VALMP1", 100.0);
    summary.set("VALCM1", 50.0);
    summary.set("VALTR1", 5.0);
    summary.set("VALCOM1A", 10.0);
    summary.set("MARGEMVALOR", -7.5);
    ChartRows other(*db, ChartRows::Table::Saldos, "ANA", "ORCP041");
    other.addSlice(1, "Outro", 1, 2);
    QuoteEngine e = engine();
    e.showChart(summary);
    e.showChart(summary);
    ChartRows chart(*db, ChartRows::Table::Saldos, "ANA", QuoteEngine::kChartProgram);
    const auto slices = chart.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].value, 150);
    EXPECT_DOUBLE_EQ(slices[1].value, 15);
    EXPECT_DOUBLE_EQ(slices[2].value, -7.5);
    EXPECT_EQ(other.slices().size(), 1u);
    // The same sequence written twice within one rebuild adds up.
    chart.addSlice(3, "Margem", 0.11, 2);
    EXPECT_DOUBLE_EQ(chart.slices()[2].value, -7.39);
    ChartRows second(*db, ChartRows::Table::Saldos1, "ANA", "ORCP032LIST");
    second.addSlice(1, "Aprovados", 3, 2);
    EXPECT_EQ(second.slices().size(), 1u);
}

// The closing gives the closed quote's missing second formats 0 and leaves
// every other quote as it is.
TEST_P(QuoteEngineTest, closingSetsMissingSecondFormatsToZeroInItsQuoteOnly)
{
    QuoteRow other = plantQuoteRow();
    other.set("CODIGO", 8);
    other.setNull("PLNCOMPRIM2");
    other.setNull("PLNLARGURA2");
    QuoteRepository repo(*db);
    repo.insertRow(other);
    QuoteRow row = plantQuoteRow();
    row.setNull("PLNCOMPRIM2");
    row.setNull("PLNLARGURA2");
    QuoteEngine e = engine();
    ASSERT_TRUE(e.start(row, 6));
    auto summary = e.totals(7, 0, QVariant(2));
    ASSERT_TRUE(summary);
    e.close(*summary, 0);
    const auto closed = repo.row(7, 0);
    EXPECT_FALSE(closed->isNull("PLNCOMPRIM2"));
    EXPECT_DOUBLE_EQ(closed->number("PLNLARGURA2"), 0);
    EXPECT_TRUE(repo.row(8, 0)->isNull("PLNCOMPRIM2"));
    EXPECT_TRUE(repo.row(8, 0)->isNull("PLNLARGURA2"));
}

// "&Iniciar" on a new quote inserts its first row under the number shown,
// or under the series' next free number when another workstation stored a
// quote under it meanwhile; that quote is not touched.
TEST_P(QuoteEngineTest, newQuoteNeverWritesOverAnotherOnesNumber)
{
    db->exec("UPDATE ORCPARGER SET ORCNRO1 = 6");
    QuoteRow theirs = plantQuoteRow();
    theirs.set("NOME", "Da outra estação");
    QuoteRepository repo(*db);
    repo.insertRow(theirs); // quote 7, stored by another workstation after 7 was proposed here
    QuoteRow mine = plantQuoteRow();
    QuoteEngine e = engine();
    ASSERT_TRUE(e.startNew(mine, 1, 6));
    EXPECT_EQ(mine.quoteNumber(), 8);
    EXPECT_EQ(messages.notices, QStringList{"Nº de Orçamento já utilizado !!! O orçamento fica com o nº 8"});
    EXPECT_EQ(repo.row(7, 0)->text("NOME"), "Da outra estação");
    EXPECT_TRUE(repo.lines(7, 0).empty());
    EXPECT_EQ(repo.lines(8, 0).size(), 2u);
    EXPECT_EQ(*repo.seriesCounter(1), 8);
}

TEST_P(QuoteEngineTest, refusedNewQuoteConsumesNoNumber)
{
    db->exec("UPDATE ORCPARGER SET ORCNRO1 = 6");
    QuoteRow mine = plantQuoteRow();
    QuoteEngine e = engine();
    EXPECT_FALSE(e.startNew(mine, 1, 404));
    QuoteRepository repo(*db);
    EXPECT_FALSE(repo.row(7, 0));
    EXPECT_EQ(*repo.seriesCounter(1), 6);
    ASSERT_TRUE(e.startNew(mine, 1, 6));
    EXPECT_EQ(mine.quoteNumber(), 7);
    EXPECT_EQ(*repo.seriesCounter(1), 7);
}

// A line entered by hand on a copied quote: written in place (an added one
// after the last line), the copied lines left as they are, and the stored
// totals counting every line once.
struct EnteredLineCase {
    const char* label;
    int detail; // 0: added
    int tableCode;
    double price;
    bool stored;
    std::vector<double> values; // VALQTD1 of the lines afterwards, DETAIL order
};

class EnteredLine : public EngineFixture<std::tuple<EnteredLineCase, Dialect>> {
protected:
    Dialect dialect() const override { return std::get<1>(GetParam()); }
};

TEST_P(EnteredLine, onACopiedQuoteIsWrittenInPlace)
{
    const EnteredLineCase& c = std::get<0>(GetParam());
    QuoteEngine e = engine();
    ASSERT_TRUE(e.start(plantQuoteRow(), 6)); // a fixed cost of 25 and the board line
    db->exec("UPDATE ORCPARGER SET ORCNRO1 = 19");
    ASSERT_EQ(QuoteHeader(*db, messages).copy(20, 7, 1, QDate(2024, 3, 1)), 20);

    CostLine line;
    line.detail = c.detail;
    line.tableType = 10;
    line.tableCode = c.tableCode;
    line.price = c.price;
    EXPECT_EQ(e.enterLine(20, 0, line).has_value(), c.stored) << c.label;

    QuoteRepository repo(*db);
    const auto lines = repo.lines(20, 0);
    std::vector<double> values;
    double total = 0;
    for (const CostLine& l : lines) {
        values.push_back(l.value[0]);
        total += l.value[0];
    }
    EXPECT_EQ(values, c.values) << c.label;
    EXPECT_DOUBLE_EQ(repo.row(20, 0)->number("VALORORC1"), total) << c.label;
    EXPECT_DOUBLE_EQ(repo.row(20, 0)->number("VALMP1"), total) << c.label;
    ASSERT_EQ(repo.lines(7, 0).size(), 2u); // the base quote is not touched
    EXPECT_DOUBLE_EQ(repo.lines(7, 0)[0].value[0], 25);
}

const EnteredLineCase kEnteredLines[] = {
    {"added after the copied lines", 0, 1, 40, true, {25, 220.58, 40}},
    {"copied line changed, counted once", 1, 1, 30, true, {30, 220.58}},
    {"changed line that is not there", 9, 1, 30, false, {25, 220.58}},
    {"added line of a missing table row", 0, 77, 40, false, {25, 220.58}},
};

INSTANTIATE_TEST_SUITE_P(Cases, EnteredLine,
                         ::testing::Combine(::testing::ValuesIn(kEnteredLines),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<EnteredLineCase>);

// A line deleted from the grid is stored together with the recalculation of
// its sub-quote: the stored totals are those of the lines left.
struct DeletedLineCase {
    const char* label;
    int detail;
    bool stored;
    std::vector<int> left; // DETAIL of the lines afterwards
};

class DeletedLine : public EngineFixture<std::tuple<DeletedLineCase, Dialect>> {
protected:
    Dialect dialect() const override { return std::get<1>(GetParam()); }
};

TEST_P(DeletedLine, isStoredWithItsRecalculation)
{
    const DeletedLineCase& c = std::get<0>(GetParam());
    QuoteEngine e = engine();
    ASSERT_TRUE(e.start(plantQuoteRow(), 5)); // lines 1 to 6
    EXPECT_EQ(e.deleteLine(7, 0, c.detail).has_value(), c.stored) << c.label;
    QuoteRepository repo(*db);
    std::vector<int> left;
    Triple total{};
    for (const CostLine& l : repo.lines(7, 0)) {
        left.push_back(l.detail);
        for (std::size_t n = 0; n < 3; ++n)
            total[n] += l.value[n];
    }
    EXPECT_EQ(left, c.left) << c.label;
    const QuoteRow row = *repo.row(7, 0);
    for (int n = 1; n <= 3; ++n)
        EXPECT_NEAR(row.number(quantityColumn("VALORORC", n)), total[static_cast<std::size_t>(n - 1)], 1e-9)
            << c.label << " " << n;
}

const DeletedLineCase kDeletedLines[] = {
    {"fixedCost", 5, true, {1, 2, 3, 4, 6}},
    {"printingMachine", 2, true, {1, 3, 4, 5, 6}},
    {"lineThatIsNotThere", 9, false, {1, 2, 3, 4, 5, 6}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DeletedLine,
                         ::testing::Combine(::testing::ValuesIn(kDeletedLines),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<DeletedLineCase>);

// A machine line is priced at its machine's rate per hour; the price it
// stores is that rate, also after the rate changed and when a price was typed.
TEST_P(QuoteEngineTest, machineLineStoresTheRateItWasPricedAt)
{
    {
        QuoteEngine e = engine();
        ASSERT_TRUE(e.start(plantQuoteRow(), 5));
    }
    QuoteRepository repo(*db);
    const CostLine before = repo.lines(7, 0)[1];
    ASSERT_EQ(before.tableType, 1);
    ASSERT_DOUBLE_EQ(before.price, 60);
    tables.machines.at(1).costPerHour = 90;
    QuoteEngine e = engine();
    ASSERT_TRUE(e.recalculate(7, 0));
    const CostLine recalculated = repo.lines(7, 0)[1];
    EXPECT_DOUBLE_EQ(recalculated.price, 90);
    EXPECT_NEAR(recalculated.value[0], before.value[0] * 1.5, 0.011);

    CostLine typed = recalculated;
    typed.price = 10;
    ASSERT_TRUE(e.enterLine(7, 0, typed));
    EXPECT_DOUBLE_EQ(repo.lines(7, 0)[1].price, 90);
    EXPECT_DOUBLE_EQ(repo.lines(7, 0)[1].value[0], recalculated.value[0]);
}

// A line typed by hand on a quote with a second sheet format: a board line
// carries both formats, a machine line only the first.
TEST_P(QuoteEngineTest, enteredBoardLineTakesBothFormatsAndMachineLineOne)
{
    QuoteEngine e = engine();
    QuoteRow one = plantQuoteRow();
    QuoteRow two = plantQuoteRow();
    two.set("CODIGO", 8);
    two.set("PLNCOMPRIM2", 100.0);
    two.set("PLNLARGURA2", 70.0);
    ASSERT_TRUE(e.start(one, 6));
    ASSERT_TRUE(e.start(two, 6));
    CostLine board;
    board.tableType = 8;
    board.tableCode = 1;
    board.price = 0.8;
    CostLine machine;
    machine.tableType = 1;
    machine.tableCode = 2;
    machine.grade = 1;
    machine.makeReadyChoice = 1;
    for (int number : {7, 8}) {
        ASSERT_TRUE(e.enterLine(number, 0, board));
        ASSERT_TRUE(e.enterLine(number, 0, machine));
    }
    QuoteRepository repo(*db);
    const auto oneFormat = repo.lines(7, 0);
    const auto twoFormats = repo.lines(8, 0);
    ASSERT_EQ(oneFormat.size(), 4u);
    ASSERT_EQ(twoFormats.size(), 4u);
    EXPECT_NEAR(twoFormats[2].value[0], 2 * oneFormat[2].value[0], 0.011);
    EXPECT_NEAR(twoFormats[2].consumption[0], 2 * oneFormat[2].consumption[0], 0.0002);
    EXPECT_DOUBLE_EQ(twoFormats[3].value[0], oneFormat[3].value[0]);
}

// A recalculation names each line it is on, then clears the status.
TEST_P(QuoteEngineTest, recalculationShowsTheLineItIsOn)
{
    QuoteEngine first = engine();
    ASSERT_TRUE(first.start(plantQuoteRow(), 6)); // the fixed cost and the board
    QStringList status;
    QuoteSession s;
    s.application = db;
    s.tables = &tables;
    s.messages = &messages;
    s.user = QStringLiteral("ANA");
    s.status = [&status](const QString& text) { status << text; };
    ASSERT_TRUE(QuoteEngine(s).recalculate(7, 0));
    EXPECT_EQ(status, (QStringList{"orçamento nº 7Cliché", "orçamento nº 7Cartolina 300g", ""}));
}

TEST_P(QuoteEngineTest, costTablesReadBack)
{
    EXPECT_EQ(tables.machines.size(), plantTables().machines.size());
    ASSERT_TRUE(tables.machine(3));
    EXPECT_EQ(tables.machine(3)->glueCode, 1);
    EXPECT_DOUBLE_EQ(tables.machine(3)->glueConsumptionByKind[1], 200);
    EXPECT_DOUBLE_EQ(tables.machine(1)->passMin[1], 0.8);
    ASSERT_EQ(tables.wasteBands.size(), 2u);
    EXPECT_DOUBLE_EQ(tables.wasteBands[1].printing[3], 16);
    EXPECT_EQ(tables.board(2)->calculation, "2");
    EXPECT_EQ(tables.subcontract(1)->unit, "UN");
    EXPECT_EQ(tables.fixedCost(1)->rawMaterial, true);
}

KV_ENGINE_SUITE(QuoteEngineTest);

} // namespace
