// The consumption forecast and the stock map per customer built on both
// engines: what each row holds, what is left out, and that one user's map
// never touches another's.
#include "production/core/ConsumptionForecast.h"
#include "production/core/CustomerStockMap.h"
#include "production/StockMapTestSupport.h"
#include "shell/LoginState.h"
#include "shell/VersionUpdate.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QDate>
#include <QDateTime>

using kv::test::Engine;

namespace {

QDateTime mapsAt(int day, int hour = 0) { return QDateTime(QDate(2024, 5, day), QTime(hour, 30)); }

class StockMaps : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        app = scenario.applicationDatabase();
        inv = scenario.invoicingDatabase();
        ensureSupplierOrderLines(*inv);
        for (const char* table : {"ORCCONSUMOS", "PLN_FICTEC", "IMPCONSUMOS", "WORKRELCXA"})
            app->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        for (const char* table : {"FRNENCDET", "ENCCLIDET"})
            inv->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    }

    void setStock(const std::vector<std::pair<QString, double>>& stock)
    {
        std::vector<kv::test::Article> articles;
        for (const auto& [code, quantity] : stock)
            if (!inv->scalar(QStringLiteral("SELECT COUNT(*) FROM ARTIGOSCLS WHERE CODIGO = :C"), {{"C", code}})
                     .toInt())
                articles.push_back({code, code, QStringLiteral("6")});
        kv::test::addArticles(*inv, articles);
        for (const auto& [code, quantity] : stock)
            inv->exec(QStringLiteral("UPDATE ARTIGOSCLS SET EXIQTD = :Q WHERE CODIGO = :C"),
                      {{"Q", quantity}, {"C", code}});
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> inv;
};

// Ink and varnish of one article (typed in two cases) sum into one row under
// the first line's designation; machines, finishes, cutting and fixed costs
// are left out; the last day counts whole; only undelivered
// supplier lines of the range count as on order.
TEST_P(StockMaps, ForecastGroupsMaterialsWithStockAndOpenSupplierOrders)
{
    kv::test::insertRows(
        *app, "ORCCONSUMOS",
        {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "ARTIGO", "DESIGN", "CONSUMO", "DATAENT"},
        {{"2024", 11, 0, 1, 1, 4, "tinta01", "Verniz brilho", 1.5, mapsAt(11)},
         {"2024", 10, 0, 1, 1, 3, "TINTA01", "Tinta azul", 2.5, mapsAt(10)},
         {"2024", 10, 0, 1, 2, 1, "MAQ01", "Máquina", 3.0, mapsAt(10)},
         {"2024", 10, 0, 1, 3, 7, "ACB01", "Acabamento", 1.0, mapsAt(10)},
         {"2024", 10, 0, 1, 4, 9, "CRT01", "Corte", 1.0, mapsAt(10)},
         {"2024", 10, 0, 1, 5, 10, "FIX01", "Custo fixo", 1.0, mapsAt(10)},
         {"2024", 12, 0, 1, 1, 2, "CART01", "Cartolina", 100.0, mapsAt(12, 17)},
         {"2024", 13, 0, 1, 1, 2, "CART01", "Cartolina", 50.0, mapsAt(13)},
         {"2024", 12, 0, 1, 2, 6, "COLA01", "Cola", 0.25, mapsAt(12)}});
    setStock({{"TINTA01", 30}, {"CART01", 1000}});
    kv::test::insertRows(*inv, "FRNENCDET", {"ENCNRO", "DETAIL", "DATAENTRG", "ARTIGO", "QTDCAR", "TOTENT"},
                         {{900, 1, mapsAt(11), "CART01", 200.0, "N"},
                          {900, 2, mapsAt(11), "CART01", 300.0, "S"},
                          {901, 1, mapsAt(20), "CART01", 400.0, "N"},
                          {901, 2, mapsAt(12, 18), "tinta01", 5.0, "N"}});

    std::vector<int> gauge;
    kv::production::ConsumptionForecast forecast(*app, *inv);
    const auto outcome = forecast.build("ANA", QDate(2024, 5, 10), QDate(2024, 5, 12),
                                        [&](int percent, int) { gauge.push_back(percent); });
    EXPECT_EQ(outcome.articles, 3);
    EXPECT_EQ(gauge.back(), 100);

    struct Expected {
        const char* article;
        const char* designation;
        double consumption;
        double stock;
        double onOrder;
    };
    const Expected expected[] = {{"CART01", "Cartolina", 100.0, 1000.0, 200.0},
                                 {"COLA01", "Cola", 0.25, 0.0, 0.0},
                                 {"TINTA01", "Tinta azul", 4.0, 30.0, 5.0}};
    const auto rows =
        scenario.rows(app, "SELECT UPPER(ARTIGO) AS ARTIGO, DESIGNACAO, CONSUMO, EXIQTD, QTDENC, UNIDADE, "
                           "PROGRAMA FROM IMPCONSUMOS WHERE UTIL = 'ANA' ORDER BY 1");
    ASSERT_EQ(rows.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].article);
        EXPECT_EQ(rows.value(i, "ARTIGO").toString(), expected[i].article);
        EXPECT_EQ(rows.value(i, "DESIGNACAO").toString(), QString::fromUtf8(expected[i].designation));
        EXPECT_DOUBLE_EQ(rows.value(i, "CONSUMO").toDouble(), expected[i].consumption);
        EXPECT_DOUBLE_EQ(rows.value(i, "EXIQTD").toDouble(), expected[i].stock);
        EXPECT_DOUBLE_EQ(rows.value(i, "QTDENC").toDouble(), expected[i].onOrder);
        EXPECT_EQ(rows.value(i, "UNIDADE").toString(), "Kgs");
        EXPECT_EQ(rows.value(i, "PROGRAMA").toString(), "ORCP104");
    }
}

// Built twice by one user, the map is the same; another user's rows and
// another program's rows of the same user stay as they were.
TEST_P(StockMaps, ForecastReplacesOnlyTheUsersOwnRows)
{
    kv::test::insertRows(
        *app, "ORCCONSUMOS",
        {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "ARTIGO", "DESIGN", "CONSUMO", "DATAENT"},
        {{"2024", 10, 0, 1, 1, 2, "CART01", "Cartolina", 10.0, mapsAt(10)}});
    kv::test::insertRows(*app, "IMPCONSUMOS", {"UTIL", "PROGRAMA", "ARTIGO", "CONSUMO"},
                         {{"RUI", "ORCP104", "CART01", 77.0}, {"ANA", "OUTRO", "CART01", 66.0}});
    kv::production::ConsumptionForecast forecast(*app, *inv);
    for (int run = 0; run < 2; ++run)
        forecast.build("ANA", QDate(2024, 5, 1), QDate(2024, 5, 31));
    const auto rows = scenario.rows(app, "SELECT UTIL, PROGRAMA, CONSUMO FROM IMPCONSUMOS ORDER BY UTIL, PROGRAMA");
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(rows.value(0, "PROGRAMA").toString(), "ORCP104");
    EXPECT_DOUBLE_EQ(rows.value(0, "CONSUMO").toDouble(), 10.0);
    EXPECT_DOUBLE_EQ(rows.value(1, "CONSUMO").toDouble(), 66.0);
    EXPECT_EQ(rows.value(2, "UTIL").toString(), "RUI");
    EXPECT_DOUBLE_EQ(rows.value(2, "CONSUMO").toDouble(), 77.0);
    // An empty range leaves the user with no rows.
    EXPECT_EQ(forecast.build("ANA", QDate(2023, 1, 1), QDate(2023, 1, 2)).articles, 0);
    EXPECT_EQ(scenario.rows(app, "SELECT * FROM IMPCONSUMOS WHERE PROGRAMA = 'ORCP104' AND UTIL = 'ANA'").rows.size(),
              0u);
}

class CustomerStockMaps : public StockMaps {
protected:
    void SetUp() override
    {
        StockMaps::SetUp();
        if (IsSkipped())
            return;
        kv::test::insertRows(*app, "PLN_FICTEC", {"CLIENTE", "ARTIGO", "DESIGNACAO", "MATPRIMA", "MATDESCRI", "NOME"},
                             {{100, "CX-A", "CAIXA A", "PL-1", "Plano 1", "O'Neil, Lda"},
                              {100, "CX-B", "CAIXA B", "PL-1", "Plano 1", "O'Neil, Lda"},
                              {200, "ETQ-1", "ETIQUETA", QVariant(), QVariant(), "Beta 50% SA"},
                              {300, "CX-A", "caixa a", "PL-2", "Plano 2", "Gama"}});
        setStock({{"CX-A", 500}, {"PL-1", 2000}, {"CX-B", 80}, {"ETQ-1", 7}});
        kv::test::insertRows(*inv, "ENCCLIDET", {"ENCNRO", "DETAIL", "CLINRO", "ARTIGO", "QTDCAR"},
                             {{950, 1, 100, "CX-A", 300.0},
                              {950, 2, 100, "cx-a", 400.0},
                              {951, 1, 200, "CX-B", 50.0},
                              {952, 1, 300, "NAO-STOCK", 9.0}});
    }
};

// Finished-product stock whether ordered or not; every order line of the
// customer counts, also for an article that is no stock article; a customer's order of the article says nothing of
// another customer's; a sheet without raw material has none in stock.
TEST_P(CustomerStockMaps, RowsHoldStocksOrdersAndDifference)
{
    // Customer 300's order of an article that is no stock article still counts.
    kv::test::insertRows(*app, "PLN_FICTEC", {"CLIENTE", "ARTIGO", "DESIGNACAO", "MATPRIMA", "NOME"},
                         {{300, "NAO-STOCK", "CAIXA X", "", "Gama"}});
    kv::production::CustomerStockMap map(*app, *inv);
    EXPECT_EQ(map.build("ANA", {}), 5);
    struct Expected {
        int customer;
        const char* article;
        double product;
        double raw;
        double ordered;
        double difference;
    };
    const Expected expected[] = {{100, "CX-A", 500, 2000, 700, 1800},
                                 {100, "CX-B", 80, 2000, 0, 2080},
                                 {200, "ETQ-1", 7, 0, 0, 7},
                                 {300, "CX-A", 500, 0, 0, 500},
                                 {300, "NAO-STOCK", 0, 0, 9, -9}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(e.customer).arg(QLatin1String(e.article)).toStdString());
        const auto rows = map.articles("ANA", e.customer);
        int found = -1;
        for (std::size_t i = 0; i < rows.rows.size(); ++i)
            if (rows.value(i, "ARTIGO").toString() == QLatin1String(e.article))
                found = static_cast<int>(i);
        ASSERT_GE(found, 0);
        const auto row = static_cast<std::size_t>(found);
        EXPECT_DOUBLE_EQ(rows.value(row, "EXIQTD_PRD").toDouble(), e.product);
        EXPECT_DOUBLE_EQ(rows.value(row, "EXIQTD_MTP").toDouble(), e.raw);
        EXPECT_DOUBLE_EQ(rows.value(row, "QTDENC").toDouble(), e.ordered);
        EXPECT_DOUBLE_EQ(rows.value(row, "QTD_DIF").toDouble(), e.difference);
    }
    const auto customers = map.customers("ANA");
    ASSERT_EQ(customers.rows.size(), 3u);
    EXPECT_EQ(customers.value(0, "NOME").toString(), "O'Neil, Lda");
    EXPECT_EQ(map.articles("ANA", 100).value(0, "MATDESCRI").toString(), "Plano 1");
}

// Limits and typed patterns (quotes, the user's wildcards, any letter case)
// choose the technical sheets; the values are bound, never pasted.
TEST_P(CustomerStockMaps, LimitsAndPatternsChooseTheSheets)
{
    struct Case {
        const char* label;
        kv::production::StockMapLimits limits;
        const char* expected; // customer/article of the rows, in order
    };
    kv::production::StockMapLimits base;
    auto with = [&](auto change) {
        kv::production::StockMapLimits limits = base;
        change(limits);
        return limits;
    };
    const Case cases[] = {
        {"all", base, "100/CX-A 100/CX-B 200/ETQ-1 300/CX-A"},
        {"designation prefix, any case", with([](auto& l) { l.designation = QStringLiteral("caixa%"); }),
         "100/CX-A 100/CX-B 300/CX-A"},
        {"name with a quote", with([](auto& l) { l.customerName = QStringLiteral("O'N%"); }), "100/CX-A 100/CX-B"},
        {"quote alone", with([](auto& l) { l.customerName = QStringLiteral("'"); }), ""},
        {"text as typed with a wildcard", with([](auto& l) { l.customerName = QStringLiteral("%50%"); }), "200/ETQ-1"},
        {"customer range", with([](auto& l) {
             l.firstCustomer = 150;
             l.lastCustomer = 300;
         }),
         "200/ETQ-1 300/CX-A"},
        {"article range", with([](auto& l) {
             l.firstArticle = QStringLiteral("CX-B");
             l.lastArticle = QStringLiteral("ETQ-1");
         }),
         "100/CX-B 200/ETQ-1"},
        {"article range in lower case", with([](auto& l) {
             l.firstArticle = QStringLiteral("cx-a");
             l.lastArticle = QStringLiteral("cx-a");
         }),
         "100/CX-A 300/CX-A"},
    };
    kv::production::CustomerStockMap map(*app, *inv);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        map.build("ANA", c.limits);
        QStringList got;
        for (const auto& row : scenario
                                   .rows(app, "SELECT CLIENTE, ARTIGO FROM WORKRELCXA WHERE UTIL = 'ANA' "
                                              "ORDER BY CLIENTE, ARTIGO")
                                   .rows)
            got << QStringLiteral("%1/%2").arg(row.at(0).toInt()).arg(row.at(1).toString());
        EXPECT_EQ(got.join(' '), QString::fromUtf8(c.expected));
    }
}

TEST_P(CustomerStockMaps, TwoUsersKeepSeparateRows)
{
    kv::production::CustomerStockMap map(*app, *inv);
    kv::production::StockMapLimits onlyBeta;
    onlyBeta.firstCustomer = 200;
    onlyBeta.lastCustomer = 200;
    map.build("RUI", onlyBeta);
    map.build("ANA", {});
    map.build("ANA", {});
    EXPECT_EQ(map.customers("RUI").rows.size(), 1u);
    EXPECT_EQ(map.customers("ANA").rows.size(), 3u);
    EXPECT_EQ(scenario.rows(app, "SELECT * FROM WORKRELCXA WHERE UTIL = 'ANA'").rows.size(), 4u);
}

// An older company gets both maps' tables from the version update.
TEST_P(StockMaps, OlderCompanyGetsTheMapTables)
{
    for (const char* table : {"IMPCONSUMOS", "WORKRELCXA"})
        app->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    kv::shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    kv::shell::VersionUpdate(*app, state).readRecordedVersion();
    app->exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.010'");
    kv::shell::VersionUpdate update(*app, state);
    update.readRecordedVersion();
    ASSERT_TRUE(update.run().isEmpty());
    kv::production::ConsumptionForecast(*app, *inv).build("ANA", QDate(2024, 5, 1), QDate(2024, 5, 31));
    EXPECT_EQ(kv::production::CustomerStockMap(*app, *inv).build("ANA", {}), 0);
}

KV_ENGINE_SUITE(StockMaps);
KV_ENGINE_SUITE(CustomerStockMaps);

} // namespace
