// The consultation's statements on both engines: the week lookup, the
// range's open orders, an order row's consumption, the statistics with their
// chart rows, and the deletion of an order across the two databases.
#include "production/ConsultationFixture.h"

#include "production/core/CalculaSemana.h"
#include "production/core/OrderConsultation.h"

#include "platform/db/Dataset.h"
#include "platform/notify/MessageSink.h"
#include "shell/Session.h"
#include "support/QtPrinters.h"
#include "support/Scenario.h"

#include <QStringList>

using kv::production::CalculaSemana;
using kv::production::OrderConsultation;
using kv::production::OrderDeletion;
using kv::production::OrderKey;
using kv::production::OrderModel;
using kv::production::OrderSelection;
using kv::production::test::ConsultationFixture;
using kv::test::Engine;

namespace {

struct ConsMessages : kv::notify::MessageSink {
    void beep() override { texts << QStringLiteral("<beep>"); }
    void error(const QString& text) override { texts << text; }
    void information(const QString& text) override { texts << text; }
    QStringList texts;
};

// The rows of a statement as "a|b|c" texts.
QStringList consRows(kv::db::Connection& db, const QString& sql)
{
    QStringList out;
    for (const auto& row : db.query(sql).rows) {
        QStringList values;
        for (const QVariant& v : row)
            values << v.toString();
        out << values.join(QLatin1Char('|'));
    }
    return out;
}

QStringList consListed(kv::db::Dataset& list)
{
    QStringList keys;
    for (bool more = list.first(); more && !list.eof(); more = list.next()) {
        QString key = list.value(QStringLiteral("ANO")).toString() + QLatin1Char('/')
                      + list.value(QStringLiteral("ORDNRO")).toString() + QLatin1Char('/')
                      + list.value(QStringLiteral("SUBORC")).toString() + QLatin1Char('/')
                      + list.value(QStringLiteral("DETAIL")).toString();
        keys << key;
    }
    return keys;
}

class OrderConsultationTest : public ::testing::TestWithParam<Engine> {};

TEST_P(OrderConsultationTest, CalculaSemanaReadsTheCalendarByDate)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    struct Case {
        QDate date;
        bool found;
        QString week;
        QString weekday;
    };
    for (const Case& c : {Case{QDate(2024, 3, 15), true, "11", "Sex"}, Case{QDate(2024, 2, 14), true, "07", "Qua"},
                          Case{QDate(2024, 3, 16), false, "", ""}, Case{QDate(), false, "", ""}}) {
        ConsMessages messages;
        const auto week = CalculaSemana(*f.invoicing(), c.date, messages);
        EXPECT_EQ(week.found, c.found) << c.date.toString().toStdString();
        EXPECT_EQ(week.week, c.week) << c.date.toString().toStdString();
        EXPECT_EQ(week.weekday, c.weekday) << c.date.toString().toStdString();
        const QStringList said = c.found ? QStringList{}
                                         : QStringList{"<beep>", "Data Inexistente no Ficheiro de Calendário"};
        EXPECT_EQ(messages.texts, said);
    }
}

TEST_P(OrderConsultationTest, ListsTheOpenOrdersOfTheRanges)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    f.addModelTOrders();
    const OrderSelection all = OrderSelection::defaults(QDate(2024, 3, 15));
    struct Case {
        const char* label;
        OrderModel model;
        std::function<void(OrderSelection&)> narrow;
        QStringList keys;
    };
    const std::vector<Case> cases{
        {"production date order, produced left out", OrderModel::Slots, [](OrderSelection&) {},
         {"2024/11/0/1", "2024/11/1/1", "2024/12/0/1", "2023/11/0/1", "2024/11/0/2"}},
        {"customers", OrderModel::Slots, [](OrderSelection& s) { s.customerFrom = s.customerTo = 20; },
         {"2024/12/0/1"}},
        {"numbers", OrderModel::Slots, [](OrderSelection& s) { s.numberFrom = s.numberTo = 11; },
         {"2024/11/0/1", "2024/11/1/1", "2023/11/0/1", "2024/11/0/2"}},
        {"articles", OrderModel::Slots, [](OrderSelection& s) { s.articleFrom = s.articleTo = "ART-2"; },
         {"2024/12/0/1"}},
        {"delivery dates", OrderModel::Slots,
         [](OrderSelection& s) { s.deliveryFrom = s.deliveryTo = QDate(2024, 3, 20); },
         {"2024/11/0/1", "2024/11/1/1"}},
        {"production dates", OrderModel::Slots,
         [](OrderSelection& s) { s.productionFrom = s.productionTo = QDate(2024, 3, 25); }, {"2024/11/0/2"}},
        {"model T by delivery date", OrderModel::PerLine, [](OrderSelection&) {},
         {"2024/11/0/1", "2023/11/0/9", "2024/11/0/2"}},
    };
    kv::db::Dataset list(QStringLiteral("ORDFABDET"));
    list.setConnection(f.application());
    kv::db::WindowedList window(list, {});
    for (const Case& c : cases) {
        OrderSelection s = all;
        c.narrow(s);
        OrderConsultation::open(window, c.model, s);
        EXPECT_EQ(consListed(list), c.keys) << c.label;
        EXPECT_EQ(OrderConsultation::count(*f.application(), c.model, s), c.keys.size()) << c.label;
    }
}

TEST_P(OrderConsultationTest, ReadsTheConsumptionOfOneOrderRowOfItsYear)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    kv::db::Dataset consumption(QStringLiteral("ORCCONSUMOS"));
    consumption.setConnection(f.application());
    OrderConsultation::openConsumption(consumption, "2024", 11, 0, 1);
    EXPECT_EQ(consumption.recordCount(), 3);
    OrderConsultation::openConsumption(consumption, "2023", 11, 0, 1);
    EXPECT_EQ(consumption.recordCount(), 2);
    EXPECT_EQ(consumption.value(QStringLiteral("CONSUMO")).toDouble(), 70);
}

TEST_P(OrderConsultationTest, StatisticsPairYearAndProductionWeek)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    kv::db::Connection& app = *f.application();
    // Another user's rows stay; the user's old rows go.
    app.exec("INSERT INTO OFESTAT (UTIL, ANO, SEMANA, NROOFS, QUANTID) VALUES ('RUI', '2024', '12', 9, 9)");
    app.exec("INSERT INTO OFESTAT (UTIL, ANO, SEMANA, NROOFS, QUANTID) VALUES ('ANA', '1999', '01', 9, 9)");
    OrderConsultation::process(app, "ANA", OrderSelection::defaults(QDate(2024, 3, 15)));

    EXPECT_EQ(consRows(app, "SELECT ANO, SEMANA, NROOFS, QUANTID FROM OFESTAT WHERE UTIL = 'ANA' ORDER BY ANO, SEMANA"),
              (QStringList{"2023|12|1|700", "2024|12|3|1700", "2024|13|1|300"}));
    EXPECT_EQ(f.count(app, "SELECT COUNT(*) FROM OFESTAT WHERE UTIL = 'RUI'"), 1);
    // A consumption row without an article sums under "".
    EXPECT_EQ(consRows(app, "SELECT ANO, SEMANA, ARTIGO, QUANTID, DESIGNACAO, UNIDADE FROM OFCONSUMOS "
                            "WHERE UTIL = 'ANA' ORDER BY ANO, SEMANA, ARTIGO"),
              (QStringList{"2023|12|PAP-1|70|Cartolina|KGS", "2024|12||5|Tinta|KGS", "2024|12|PAP-1|170|Cartolina|KGS",
                           "2024|13|PAP-2|30|Canelado|KGS"}));
    // Machine times add as minutes: 1h30 + 0h45 is 135 minutes, not 1.75.
    EXPECT_EQ(consRows(app, "SELECT ANO, SEMANA, QUANTID FROM OFTRANSFORM WHERE UTIL = 'ANA' ORDER BY ANO, SEMANA"),
              (QStringList{"2023|12|135", "2024|12|135"}));
    // One slice per week: week 12 of both years together.
    EXPECT_EQ(consRows(app, "SELECT SEQUENCIA, LEGENDA, VALOR FROM SALDOS WHERE UTIL = 'ANA' AND PROGRAMA = 'ORCP101' "
                            "ORDER BY SEQUENCIA"),
              (QStringList{"12|12|2400", "13|13|300"}));
    EXPECT_EQ(consRows(app, "SELECT SEQUENCIA, LEGENDA, VALOR FROM SALDOS1 WHERE UTIL = 'ANA' AND PROGRAMA = 'ORCP101'"),
              (QStringList{"12|12|270"}));

    // Processed again, nothing doubles; cleared, nothing of the user stays.
    OrderConsultation::process(app, "ANA", OrderSelection::defaults(QDate(2024, 3, 15)));
    EXPECT_EQ(f.count(app, "SELECT SUM(NROOFS) FROM OFESTAT WHERE UTIL = 'ANA'"), 5);
    OrderConsultation::clearStatistics(app, "ANA");
    for (const char* table : {"OFESTAT", "OFCONSUMOS", "OFTRANSFORM", "SALDOS", "SALDOS1"})
        EXPECT_EQ(f.count(app, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE UTIL = 'ANA'").arg(table)), 0) << table;
}

kv::db::TwoDatabaseWork consWork(ConsultationFixture& f)
{
    return f.session().twoDatabaseWork();
}

TEST_P(OrderConsultationTest, DeletingAnOrderKeepsToItsYear)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    kv::db::Connection& app = *f.application();
    kv::db::Connection& inv = *f.invoicing();
    kv::db::TwoDatabaseWork work = consWork(f);
    // Slot 2 chosen: every slot and sub-quote of the order goes.
    const auto deletion = OrderConsultation::deleteOrder(work, OrderModel::Slots, {"2024", "11", 11, 2}, "ANA");
    EXPECT_EQ(deletion.status, OrderDeletion::Status::Deleted) << deletion.message.toStdString();
    EXPECT_EQ(consRows(app, "SELECT ANO, ORDNRO FROM ORDFABDET ORDER BY ANO, ORDNRO"),
              (QStringList{"2023|11", "2024|12", "2024|13"}));
    EXPECT_EQ(consRows(app, "SELECT DISTINCT ANO, CODIGO FROM ORCCONSUMOS ORDER BY ANO, CODIGO"),
              (QStringList{"2023|11", "2024|12"}));
    EXPECT_EQ(consRows(app, "SELECT ANO, ENCDETAIL FROM ORDFABENC"), (QStringList{"2023|9"}));
    EXPECT_EQ(consRows(inv, "SELECT ANO, DETAIL, ORDFAB FROM ENCCLIDET ORDER BY ENCNRO, DETAIL"),
              (QStringList{"2024|1|0", "2024|2|0", "2023|9|11", "2024|1|12"}));
}

TEST_P(OrderConsultationTest, AModelTOrderGoesWithItsDetailRowsOfItsYear)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    f.addModelTOrders();
    kv::db::Connection& app = *f.application();
    kv::db::TwoDatabaseWork work = consWork(f);
    const auto deletion = OrderConsultation::deleteOrder(work, OrderModel::PerLine, {"2024", {}, 11, 1}, "ANA");
    EXPECT_EQ(deletion.status, OrderDeletion::Status::Deleted) << deletion.message.toStdString();
    EXPECT_EQ(consRows(app, "SELECT ANO, DETAIL FROM ORDFABRICO"), (QStringList{"2023|9"}));
    EXPECT_EQ(consRows(app, "SELECT ANO, DETAIL FROM ORDFABRICODET"), (QStringList{"2023|9"}));
    EXPECT_EQ(consRows(*f.invoicing(), "SELECT DETAIL, ORDFAB FROM ENCCLIDET WHERE ENCNRO = 11 ORDER BY DETAIL"),
              (QStringList{"1|0", "2|0", "9|11"}));
    // The slot model's orders of that number are not the model "T" ones.
    EXPECT_EQ(f.count(app, "SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO = 11"), 4);
}

TEST_P(OrderConsultationTest, TwoWorkstationsDeletingOneOrder)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    kv::db::TwoDatabaseWork first = consWork(f);
    EXPECT_EQ(OrderConsultation::deleteOrder(first, OrderModel::Slots, {"2024", "11", 11, 1}, "ANA").status,
              OrderDeletion::Status::Deleted);
    // The second workstation, on its own connections, finds the order gone:
    // it says so and the lines stay free for a new generation.
    kv::db::TwoDatabaseKinds kinds;
    kinds.add(OrderConsultation::deletionKind());
    kv::db::TwoDatabaseWork second(kinds, {{kv::db::role::application(), f.connect(f.state().WBdEspecif01)},
                                           {kv::db::role::invoicing(), f.connect(f.state().WBdFactura)}});
    const auto late = OrderConsultation::deleteOrder(second, OrderModel::Slots, {"2024", "11", 11, 1}, "RUI");
    EXPECT_EQ(late.status, OrderDeletion::Status::Gone);
    EXPECT_EQ(late.message, "A O.F. nº 11 já foi eliminada por outro utilizador.");
    EXPECT_EQ(consRows(*f.invoicing(), "SELECT DETAIL, ORDFAB FROM ENCCLIDET WHERE ENCNRO = 11 ORDER BY DETAIL"),
              (QStringList{"1|0", "2|0", "9|11"}));
    EXPECT_EQ(f.count(*f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
}

TEST_P(OrderConsultationTest, AFailedDeletionPutsTheMarksBack)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ConsultationFixture f(scenario, GetParam());
    kv::db::Connection& app = *f.application();
    // The records' table refuses the statement: the order rows stay.
    app.exec("DROP TABLE ORDFABENC");
    kv::db::TwoDatabaseWork work = consWork(f);
    const auto deletion = OrderConsultation::deleteOrder(work, OrderModel::Slots, {"2024", "11", 11, 1}, "ANA");
    EXPECT_EQ(deletion.status, OrderDeletion::Status::Refused);
    EXPECT_EQ(f.count(app, "SELECT COUNT(*) FROM ORDFABDET WHERE ANO = '2024' AND ORDNRO = 11"), 3);
    EXPECT_EQ(f.count(app, "SELECT COUNT(*) FROM ORCCONSUMOS WHERE ANO = '2024' AND CODIGO = 11"), 5);
    EXPECT_EQ(consRows(*f.invoicing(), "SELECT DETAIL, ORDFAB FROM ENCCLIDET WHERE ENCNRO = 11 ORDER BY DETAIL"),
              (QStringList{"1|11", "2|11", "9|11"}));
}

KV_ENGINE_SUITE(OrderConsultationTest);

} // namespace
