// The consumption lines of an order item without widgets: each table type's
// formula with the order's figures, machine time, numbering, the order's own
// year and the recalculation's scope, on both engines.
#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "production/core/ConsumptionLines.h"
#include "quotes/core/CostTables.h"
#include "support/Scenario.h"

#include <QDate>

#include <gtest/gtest.h>

using kv::production::ConsumptionLine;
using kv::production::ConsumptionLines;
using kv::production::OrderFigures;
using kv::test::Engine;

namespace {

// 1000 sheets of 0.7 m², 5 thousand units, window weight 0.002.
OrderFigures consFigures(const char* unit = "M", double quantity = 5)
{
    OrderFigures f;
    f.sheetArea = 0.7;
    f.sheets = 1000;
    f.quantity = quantity;
    f.quoteUnit = QLatin1String(unit);
    f.windowWeight = 0.002;
    f.delivery = QDate(2024, 3, 29);
    return f;
}

class ConsLinesDatabase : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        app = scenario.applicationDatabase();
        kv::test::insertFillRows(*app, *scenario.invoicingDatabase());
        tables = std::make_unique<kv::quotes::CostTables>(kv::quotes::CostTables::load(*app));
        lines = std::make_unique<ConsumptionLines>(*app, kv::test::fillOrder());
    }

    // A line as generation leaves it, of the order's year unless told.
    void consGenerated(int detail, int type, int code, const char* costClass, double consumption, double surface = 0,
                       const char* year = "2024")
    {
        app->exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, CODTAB, DESIGN, "
                  "TIPOCUSTO, CONSUMO, SUPIMPRESS, ENTRADA) VALUES (:A, 501, 0, 1, :D, :T, :C, 'gerada', :K, :Q, :S, 1)",
                  {{"A", QLatin1String(year)}, {"D", detail}, {"T", type}, {"C", code}, {"K", QLatin1String(costClass)},
                   {"Q", consumption}, {"S", surface}});
    }

    double consStored(int detail, const char* year = "2024")
    {
        return app
            ->scalar("SELECT CONSUMO FROM ORCCONSUMOS WHERE ANO = :A AND CODIGO = 501 AND DETAIL = :D",
                     {{"A", QLatin1String(year)}, {"D", detail}})
            .toDouble();
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::unique_ptr<kv::quotes::CostTables> tables;
    std::unique_ptr<ConsumptionLines> lines;
};

struct FormulaCase {
    const char* label;
    int type;
    int code;
    double surface;
    const char* unit;
    double quantity;
    double consumption;
    const char* costClass;
    const char* message; // a code its table lacks
};

const FormulaCase kFormulas[] = {
    {"ink", 2, 701, 40, "M", 5, 0.56, "MP", ""},
    {"varnish", 3, 711, 0, "M", 5, 3.5, "MP", ""},
    {"film", 5, 721, 0, "M", 5, 7.0, "MP", ""},
    {"pvc", 6, 731, 0, "M", 5, 0.01, "MP", ""},
    {"glueByArea", 4, 741, 0, "M", 5, 14.0, "MP", ""},
    {"glueByQuantityThousands", 4, 742, 0, "M", 5, 0.1, "MP", ""},
    {"glueByQuantityUnits", 4, 742, 0, "U", 5000, 0.1, "MP", ""},
    {"glueByPercentage", 4, 743, 0, "M", 5, 0.3, "MP", ""},
    {"glueByAreaHundredth", 4, 744, 0, "M", 5, 0.14, "MP", ""},
    {"glueOtherRule", 4, 745, 0, "M", 5, 0, "MP", ""},
    {"boardByWeight", 8, 751, 0, "M", 5, 210, "MP", ""},
    {"boardBySheet", 8, 752, 0, "M", 5, 1000, "MP", ""},
    {"finishLabour", 7, 761, 0, "M", 5, 0, "MO", ""},
    {"finishPackaging", 7, 762, 0, "M", 5, 0, "EM", ""},
    {"fixedCostRawMaterial", 10, 771, 0, "M", 5, 0, "MP", ""},
    {"fixedCostLabour", 10, 772, 0, "M", 5, 0, "MO", ""},
    {"cuttingNotLookedUp", 9, 1, 0, "M", 5, 0, "", ""},
    {"inkMissing", 2, 799, 0, "M", 5, 0, "", "Erro Grave, Referência da Tinta Inexistente !!!"},
    {"boardMissing", 8, 799, 0, "M", 5, 0, "", "Erro Grave, Tipo de Papel Inexistente !!!"},
    {"glueMissing", 4, 799, 0, "M", 5, 0, "", "Erro Grave, Referência de Cola Inexistente !!!"},
};

TEST_P(ConsLinesDatabase, EachTableTypeComputesWithTheOrdersFigures)
{
    for (const FormulaCase& c : kFormulas) {
        const auto r = ConsumptionLines::calculate(*tables, c.type, c.code, c.surface, consFigures(c.unit, c.quantity));
        EXPECT_EQ(r.found, *c.message == '\0') << c.label;
        EXPECT_EQ(r.message, QString::fromUtf8(c.message)) << c.label;
        EXPECT_NEAR(r.consumption, c.consumption, 1e-9) << c.label;
        EXPECT_EQ(r.costClass, QLatin1String(c.costClass)) << c.label;
    }
    // A finish its table lacks has no message, but is not found.
    const auto finish = ConsumptionLines::calculate(*tables, 7, 799, 0, consFigures());
    EXPECT_FALSE(finish.found);
    EXPECT_TRUE(finish.message.isEmpty());
}

struct MachineCase {
    const char* label;
    int machineType;
    int passes;
    double perHour;
    double makeReady;
    double time;
};

TEST(ConsMachineTime, RunningAndMakeReadyTimesThePasses)
{
    const MachineCase cases[] = {
        {"printingOnePass", 1, 1, 2000, 0, 0.30},
        {"makeReadyAndTwoPasses", 1, 2, 2000, 1, 3.00},
        {"exactlyAnHour", 2, 1, 1000, 0, 1.00},
        {"noPassesIsOne", 4, 0, 2000, 0, 0.30},
        {"gluerByQuantityUnconverted", 3, 1, 10, 0, 0.30},
        {"otherTypeOnlyMakeReady", 5, 1, 100, 0.5, 0.30},
    };
    for (const MachineCase& c : cases) {
        kv::quotes::MachineRow machine;
        machine.machineType = c.machineType;
        EXPECT_NEAR(ConsumptionLines::machineTime(machine, consFigures(), c.passes, c.perHour, c.makeReady), c.time, 1e-9)
            << c.label;
    }
}

TEST_P(ConsLinesDatabase, AddedLinesAreNumberedAfterTheHighestOfTheirYear)
{
    consGenerated(4, 8, 751, "MP", 0, 0, "2023"); // the same number a year before
    EXPECT_EQ(lines->nextDetail(), 1);
    ConsumptionLine varnish;
    varnish.tableType = 3;
    varnish.code = 711;
    varnish.costClass = "MP";
    varnish.consumption = 3.5;
    EXPECT_EQ(lines->insert(varnish, consFigures()), 1);
    EXPECT_EQ(lines->insert(varnish, consFigures()), 2);
    const auto read = lines->read();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].article, "MP-VERNIZ");
    EXPECT_EQ(read[0].approvedQuantity.toDouble(), 5.0);
    EXPECT_EQ(read[0].deliveryDate.toDate(), QDate(2024, 3, 29));
    lines->remove(1);
    EXPECT_EQ(lines->read().size(), 1u);
    EXPECT_EQ(lines->nextDetail(), 3);
    EXPECT_EQ(consStored(4, "2023"), 0.0); // the other year's line is still there
    EXPECT_EQ(app->scalar("SELECT COUNT(*) FROM ORCCONSUMOS WHERE ANO = '2023'").toInt(), 1);
}

TEST_P(ConsLinesDatabase, RecalculationTouchesOnlyRawMaterialLinesOfTheItem)
{
    consGenerated(1, 2, 701, "MP", 99, 40); // ink with its own printed surface
    consGenerated(2, 1, 781, "CM", 1.30); // machine time stays
    consGenerated(3, 10, 771, "MP", 50); // a raw-material fixed cost goes to 0
    consGenerated(4, 7, 761, "MO", 8); // a finish stays
    consGenerated(5, 3, 799, "MP", 7); // a varnish no longer in its table goes to 0
    consGenerated(1, 2, 701, "MP", 99, 40, "2023"); // another year's order of the same number
    const QStringList missing = lines->recalculate(*tables, consFigures());
    EXPECT_EQ(missing, QStringList{"Erro Grave, Referência do Verniz Inexistente !!!"});
    EXPECT_NEAR(consStored(1), 0.56, 1e-9);
    EXPECT_EQ(consStored(2), 1.30);
    EXPECT_EQ(consStored(3), 0.0);
    EXPECT_EQ(consStored(4), 8.0);
    EXPECT_EQ(consStored(5), 0.0);
    EXPECT_EQ(consStored(1, "2023"), 99.0);
    EXPECT_EQ(app->scalar("SELECT ARTIGO FROM ORCCONSUMOS WHERE ANO = '2024' AND DETAIL = 1").toString(), "MP-TINTA");
}

KV_ENGINE_SUITE(ConsLinesDatabase);

} // namespace
