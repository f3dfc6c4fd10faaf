// A quote approved as a customer order on both engines: the order's header
// and lines, the quote rows' approval marks after a first approval and a
// re-approval, the counter, the calendar, the refusals before any write, two
// workstations confirming one number, and a failure forced at each write.
#include "quotes/approval/ApprovalFixture.h"

#include "quotes/approval/core/OrderCalendar.h"

#include "platform/db/DbError.h"
#include "platform/db/NumberAllocator.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace kv::quotes::approval;
using kv::quotes::approval::test::ApprovalFixture;
using kv::test::Engine;

namespace {

class QuoteApprovalTest : public ::testing::TestWithParam<Engine> {};

QVariant headerValue(ApprovalFixture& f, int number, const char* column)
{
    return f.invoicing().scalar(QStringLiteral("SELECT %1 FROM ENCCLIMAS WHERE ENCNRO = :N").arg(QLatin1String(column)),
                                {{"N", number}});
}

QVariant quoteValue(ApprovalFixture& f, int subQuote, const char* column)
{
    return f.application().scalar(
        QStringLiteral("SELECT %1 FROM ORCMAS WHERE CODIGO = 700 AND SUBCODIGO = :S").arg(QLatin1String(column)),
        {{"S", subQuote}});
}

TEST_P(QuoteApprovalTest, FirstApprovalWritesTheOrderAndTheQuoteMarks)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalFixture f(GetParam());
    ASSERT_EQ(f.approve(f.request()).status, ApprovalSave::Status::Approved)
        << f.messages.errors.join("; ").toStdString();

    const std::pair<const char*, QVariant> header[] = {{"DATEMI", QDate(2024, 3, 15)},
                                                       {"ANO", "2024"},
                                                       {"MES", 3},
                                                       {"CLINRO", 10},
                                                       {"CLINOM", "Quinta Nova, Lda"},
                                                       {"MORADA1", "Rua Direita 1"},
                                                       {"MORADA2", "Apartado 5"},
                                                       {"CODPOSTAL", "4000-123"},
                                                       {"PAIS", "PORTUGAL"},
                                                       {"CNDPGT", 1},
                                                       {"SIGLA", "PT"},
                                                       {"NIF", "500100200"},
                                                       {"VENDEDOR", 7},
                                                       {"AGENTE", 3},
                                                       {"METEXPEDICAO", "Transportadora"},
                                                       {"CODDES", 2},
                                                       {"DESFIX", 1.5},
                                                       {"ISEIVA", "N"},
                                                       {"MOEDA", "EUR"},
                                                       {"FORMA", "CHQ"},
                                                       {"VALMERC", 1800.0},
                                                       {"VALDESC", 0.0},
                                                       {"VALTOT", 1800.0},
                                                       {"TOTQTD", 12.0},
                                                       {"QTDCAR", 12.0},
                                                       {"VALLIQUIDO", 1800.0},
                                                       {"VALLIQCAR", 1800.0},
                                                       {"VALILIQCAR", 1800.0},
                                                       {"DESC_MORADA1", "Armazém 3"},
                                                       {"DESC_MORADA2", "Zona Industrial"},
                                                       {"DESC_CODPOSTAL", "4470-000"},
                                                       {"DESC_LOCALIDADE", "MAIA"},
                                                       {"VOSENC", "PED-77"},
                                                       {"ACTFAC", "N"},
                                                       {"TIPFAC", "N"},
                                                       {"TOTENT", "N"},
                                                       {"ANULA", "N"},
                                                       {"PRINTCONF", "N"},
                                                       {"OFPRINT", "N"},
                                                       {"CONFENCNRO", 0},
                                                       {"UTILIZADOR", f.session.state().WUtil}};
    for (const auto& [column, expected] : header) {
        const QVariant value = headerValue(f, 11, column);
        if (expected.typeId() == QMetaType::QDate)
            EXPECT_EQ(value.toDate(), expected.toDate()) << column;
        else if (expected.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(value.toDouble(), expected.toDouble()) << column;
        else
            EXPECT_EQ(value.toString(), expected.toString()) << column;
    }

    const kv::db::QueryResult lines = f.rows(
        f.invoicing(), "SELECT DETAIL, ANO, SEMANA, DATAENTRG, DATAPROD, DATENTPEDIDA, SEMANAPEDIDA, QUANTID, QTDCAR, "
                       "ANTQTDCAR, DATEMI, CLINRO, ARTIGO, DESIGNACAO, PRECOVENDA, UNVEND, COMPRI, LARGUR, ALTURA, "
                       "VOSREF, VALLIQUIDO, VALILIQUIDO, VALLIQCAR, VALILIQCAR, TIPOREG, TOTENT, ANULA, MARGEMPRC, "
                       "MARGEMVALOR, ORCNRO, ORDFAB FROM ENCCLIDET WHERE ENCNRO = 11 ORDER BY DETAIL");
    ASSERT_EQ(lines.rows.size(), 2u);
    const struct {
        int detail;
        QDate date;
        double quantity, value;
    } expected[] = {{1, QDate(2024, 3, 15), 8, 1200}, {3, QDate(2024, 3, 22), 4, 600}};
    for (std::size_t r = 0; r < 2; ++r) {
        const auto v = [&](const char* c) { return lines.value(r, QString::fromLatin1(c)); };
        EXPECT_EQ(v("DETAIL").toInt(), expected[r].detail);
        EXPECT_EQ(v("ANO").toString(), "2024");
        EXPECT_EQ(v("SEMANA").toString(), "11");
        EXPECT_EQ(v("SEMANAPEDIDA").toString(), "11");
        for (const char* c : {"DATAENTRG", "DATAPROD", "DATENTPEDIDA"})
            EXPECT_EQ(v(c).toDate(), expected[r].date) << c;
        for (const char* c : {"QUANTID", "QTDCAR", "ANTQTDCAR"})
            EXPECT_DOUBLE_EQ(v(c).toDouble(), expected[r].quantity) << c;
        for (const char* c : {"VALLIQUIDO", "VALILIQUIDO", "VALLIQCAR", "VALILIQCAR"})
            EXPECT_DOUBLE_EQ(v(c).toDouble(), expected[r].value) << c;
        EXPECT_EQ(v("DATEMI").toDate(), f.session.state().WData);
        EXPECT_EQ(v("CLINRO").toInt(), 10);
        EXPECT_EQ(v("ARTIGO").toString(), "ART-1");
        EXPECT_EQ(v("DESIGNACAO").toString(), "Caixa 30x20");
        EXPECT_DOUBLE_EQ(v("PRECOVENDA").toDouble(), 150);
        EXPECT_EQ(v("UNVEND").toString(), "MIL");
        EXPECT_DOUBLE_EQ(v("COMPRI").toDouble(), 30);
        EXPECT_DOUBLE_EQ(v("LARGUR").toDouble(), 20);
        EXPECT_DOUBLE_EQ(v("ALTURA").toDouble(), 10);
        EXPECT_EQ(v("VOSREF").toString(), "REF-C");
        EXPECT_EQ(v("TIPOREG").toString(), "A");
        EXPECT_EQ(v("TOTENT").toString(), "N");
        EXPECT_EQ(v("ANULA").toString(), "N");
        EXPECT_DOUBLE_EQ(v("MARGEMPRC").toDouble(), 65.87);
        EXPECT_DOUBLE_EQ(v("MARGEMVALOR").toDouble(), 1185.64);
        EXPECT_EQ(v("ORCNRO").toInt(), 700);
        EXPECT_EQ(v("ORDFAB").toInt(), 0);
    }

    // The sub-quote takes the approval typed now, the summary row its first approval.
    for (const int sub : {0, 99}) {
        EXPECT_DOUBLE_EQ(quoteValue(f, sub, "QTDADJUD").toDouble(), 12) << sub;
        EXPECT_DOUBLE_EQ(quoteValue(f, sub, "PRECOADJUD").toDouble(), 150) << sub;
        EXPECT_DOUBLE_EQ(quoteValue(f, sub, "VALORADJUD").toDouble(), 1800) << sub;
        EXPECT_DOUBLE_EQ(quoteValue(f, sub, "MARGEMVALOR").toDouble(), 1185.64) << sub;
        EXPECT_DOUBLE_EQ(quoteValue(f, sub, "MARGEMPRC").toDouble(), 65.87) << sub;
        EXPECT_EQ(quoteValue(f, sub, "DATADJUD").toDate(), f.session.state().WData) << sub;
        EXPECT_EQ(quoteValue(f, sub, "ANO").toString(), "2024") << sub;
        EXPECT_EQ(quoteValue(f, sub, "SEMANA").toString(), "11") << sub;
        EXPECT_EQ(quoteValue(f, sub, "ENCNRO").toInt(), 11) << sub;
    }
    EXPECT_EQ(quoteValue(f, 99, "APROVADO").toString(), "S");
    EXPECT_EQ(f.invoicing().scalar("SELECT ENCNRO1 FROM ENCPARGER WHERE ANO = '2024'").toInt(), 11);
    EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
}

TEST_P(QuoteApprovalTest, ApprovingAgainMakesASecondOrderAndKeepsTheFirstApproval)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalFixture f(GetParam());
    ASSERT_EQ(f.approve(f.request()).status, ApprovalSave::Status::Approved);
    OrderRequest again = f.request();
    again.orderNumber = 12;
    again.input = {6, 160, true, false};
    again.deliveries = {};
    again.deliveries[0] = {ApprovalFixture::OrderDate, 6};
    ASSERT_EQ(f.approve(again).status, ApprovalSave::Status::Approved) << f.messages.errors.join("; ").toStdString();

    EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIMAS"), 2);
    EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET WHERE ENCNRO = 11"), 2); // untouched
    EXPECT_DOUBLE_EQ(headerValue(f, 12, "VALMERC").toDouble(), 960);
    EXPECT_DOUBLE_EQ(quoteValue(f, 99, "QTDADJUD").toDouble(), 12);
    EXPECT_DOUBLE_EQ(quoteValue(f, 99, "PRECOADJUD").toDouble(), 150);
    EXPECT_EQ(quoteValue(f, 99, "ENCNRO").toInt(), 11);
    EXPECT_DOUBLE_EQ(quoteValue(f, 0, "QTDADJUD").toDouble(), 6);
    EXPECT_DOUBLE_EQ(quoteValue(f, 0, "PRECOADJUD").toDouble(), 160);
    EXPECT_EQ(quoteValue(f, 0, "ENCNRO").toInt(), 12);
    EXPECT_EQ(f.invoicing().scalar("SELECT ENCNRO1 FROM ENCPARGER WHERE ANO = '2024'").toInt(), 12);
}

TEST_P(QuoteApprovalTest, LineValuesFollowTheMoneyDecimals)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        int decimals;
        double price, value;
    };
    const Case cases[] = {{2, 0.1234, 123.40}, {2, 0.123456, 123.46}, {4, 0.123456, 123.456}, {0, 0.5555, 556}};
    ApprovalFixture f(GetParam());
    int number = 20;
    for (const Case& c : cases) {
        QuoteApproval approval(f.application(), f.invoicing(), f.messages,
                               {f.session.state().WUtil, f.session.state().WData, "2024", c.decimals});
        OrderRequest r = f.request();
        r.orderNumber = ++number;
        r.input = {1000, c.price, false, true};
        r.deliveries = {};
        r.deliveries[0] = {ApprovalFixture::OrderDate, 1000};
        const auto prepared = approval.prepare(r, f.tables);
        ASSERT_TRUE(prepared) << f.messages.errors.join("; ").toStdString();
        kv::db::TwoDatabaseWork work = f.work();
        ASSERT_EQ(approval.save(work, *prepared).status, ApprovalSave::Status::Approved);
        EXPECT_DOUBLE_EQ(
            f.invoicing().scalar("SELECT VALLIQUIDO FROM ENCCLIDET WHERE ENCNRO = :N", {{"N", number}}).toDouble(),
            c.value)
            << c.decimals << " " << c.price;
        EXPECT_DOUBLE_EQ(headerValue(f, number, "VALMERC").toDouble(), c.value) << c.decimals << " " << c.price;
    }
}

TEST_P(QuoteApprovalTest, TheCounterIsRaisedToTheNumberNeverLowered)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        const char* series;
        int number, counter;
    };
    // series 1 stands at 10, series 2 at 0
    const Case cases[] = {{"1", 5, 10}, {"1", 25, 25}, {"2", 3, 3}};
    ApprovalFixture f(GetParam());
    for (const Case& c : cases) {
        OrderRequest r = f.request();
        r.series = QString::fromLatin1(c.series);
        r.orderNumber = c.number;
        ASSERT_EQ(f.approve(r).status, ApprovalSave::Status::Approved) << c.number;
        EXPECT_EQ(f.invoicing()
                      .scalar(QStringLiteral("SELECT ENCNRO%1 FROM ENCPARGER WHERE ANO = '2024'").arg(c.series))
                      .toInt(),
                  c.counter)
            << c.number;
    }
    QuoteApproval approval = f.approval(f.application(), f.invoicing());
    EXPECT_EQ(approval.proposeNumber("1"), 26);
    EXPECT_EQ(approval.proposeNumber("2"), 4);
    EXPECT_EQ(approval.proposeNumber("6"), 0);
}

TEST_P(QuoteApprovalTest, TheOrderDateGoesThroughTheCalendar)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        QDate date;
        CalendarDay::Status status;
        QString week, text;
    };
    const Case cases[] = {
        {QDate(2024, 3, 15), CalendarDay::Status::WorkingDay, "11", {}},
        {QDate(2024, 2, 14), CalendarDay::Status::WorkingDay, "07", {}},
        {QDate(2024, 3, 16), CalendarDay::Status::NotWorkingDay, {}, "O Dia seleccionado não é um dia ÚTIL"},
        {QDate(2025, 1, 2), CalendarDay::Status::NotInCalendar, {}, "Calendário não está parametrizado, ANO = 2025"},
    };
    ApprovalFixture f(GetParam());
    for (const Case& c : cases) {
        const CalendarDay day = readCalendar(f.invoicing(), c.date);
        EXPECT_EQ(day.status, c.status) << c.date.toString().toStdString();
        EXPECT_EQ(day.week, c.week) << c.date.toString().toStdString();
        EXPECT_EQ(day.statusText, c.text) << c.date.toString().toStdString();
    }
}

struct Refusal {
    const char* label;
    std::function<void(ApprovalFixture&, OrderRequest&)> change;
    QString message;
};

class ApprovalRefusalTest : public ::testing::TestWithParam<std::tuple<Refusal, Engine>> {};

TEST_P(ApprovalRefusalTest, NothingIsWritten)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ApprovalFixture f(engine);
    OrderRequest r = f.request();
    c.change(f, r);
    QuoteApproval approval = f.approval(f.application(), f.invoicing());
    EXPECT_FALSE(approval.prepare(r, f.tables));
    EXPECT_EQ(f.messages.errors, QStringList{c.message});
    EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET"), 0);
    EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM ORCMAS WHERE APROVADO = 'S'"), 0);
    EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM ORCMAS WHERE ENCNRO <> 0"), 0);
    EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCPARGER WHERE ENCNRO1 <> 10"), 0);
}

const Refusal refusals[] = {
    {"quote_zero", [](auto&, OrderRequest& r) { r.quoteNumber = 0; }, "Erro Fatal .. Aprovação mal gerada <Orc 0>"},
    {"no_article", [](auto&, OrderRequest& r) { r.article.clear(); },
     "Aprovação de Orçamento não viável p/falta de codificação de Artigo!!!"},
    {"no_customer", [](auto&, OrderRequest& r) { r.customer = 0; },
     "Aprovação de Orçamento não viável p/falta de codificação de Cliente!!!"},
    {"series", [](auto&, OrderRequest& r) { r.series = "7"; }, "ESCOLHA A SÉRIE DE NUMERAÇÃO DE [1] A [5]"},
    {"number_zero", [](auto&, OrderRequest& r) { r.orderNumber = 0; }, "INSIRA O Nº DA ENCOMENDA !!!"},
    {"no_counters", [](ApprovalFixture& f, OrderRequest&) { f.invoicing().exec("DELETE FROM ENCPARGER"); },
     "NÃO ESTÃO DEFINIDOS PARÂMETROS GERAIS DE ENCOMENDAS"},
    {"no_date", [](auto&, OrderRequest& r) { r.orderDate = QDate(); }, "Data Inválida !!!"},
    {"not_working_day", [](auto&, OrderRequest& r) { r.orderDate = QDate(2024, 3, 16); },
     "O Dia seleccionado não é um dia ÚTIL"},
    {"not_in_calendar", [](auto&, OrderRequest& r) { r.orderDate = QDate(2025, 1, 2); },
     "Calendário não está parametrizado, ANO = 2025"},
    {"number_exists",
     [](ApprovalFixture& f, OrderRequest&) { f.invoicing().exec("INSERT INTO ENCCLIMAS (ENCNRO) VALUES (11)"); },
     "ESTA ENCOMENDA JÁ EXISTE !!!"},
    {"deliveries_above_approved", [](auto&, OrderRequest& r) { r.deliveries[2].quantity = 5; },
     "NÃO PODE INSERIR UMA QTD.SUPERIOR À APROVADA!!!"},
    {"delivery_without_date",
     [](auto&, OrderRequest& r) {
         r.deliveries[1] = {std::nullopt, 1};
     },
     "DATA INVÁLIDA!!!"},
    {"customer_deleted", [](ApprovalFixture& f, OrderRequest&) { f.invoicing().exec("DELETE FROM CLIENTES"); },
     "Este Cliente foi Eliminado !!! 10"},
    {"customer_postal_code_unknown",
     [](ApprovalFixture& f, OrderRequest&) { f.invoicing().exec("UPDATE CLIENTES SET CODPOSTAL = '9999-999'"); },
     "Código Postal Inexistente"},
    {"article_unknown", [](auto&, OrderRequest& r) { r.article = "ART-9"; }, "Artigo Inexistente ART-9"},
    {"no_waste_band", [](ApprovalFixture& f, OrderRequest&) { f.tables.wasteBands.clear(); },
     "Erro Grave, Nº de Planos (3000) fora dos Escalões de Tiragem no Orçamento nº 700/0 !!!"},
    {"price_zero", [](auto&, OrderRequest& r) { r.input.price = 0; }, "Insira o preço por Favor ..."},
};

INSTANTIATE_TEST_SUITE_P(Approval, ApprovalRefusalTest,
                         ::testing::Combine(::testing::ValuesIn(refusals), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<Refusal>);

// Two workstations confirm the same number: the second waits while the
// first holds its transaction, then finds the number taken and writes
// nothing; the next free number is proposed.
TEST_P(QuoteApprovalTest, TwoWorkstationsNeverWriteOneNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalFixture f(GetParam());
    // Workstation B: the scenario's own connections, another quote of its own.
    auto otherInvoicing = f.scenario.invoicingDatabase();
    kv::db::Transaction holding(*otherInvoicing);
    kv::db::NumberAllocator numbers(*otherInvoicing);
    ASSERT_TRUE(
        numbers.claim({"ENCPARGER", "ENCNRO2", "ANO = :ANO", {{"ANO", "2024"}}}, 11, {"ENCCLIMAS", "ENCNRO", {}, {}}));
    otherInvoicing->exec("INSERT INTO ENCCLIMAS (ENCNRO, CLINRO) VALUES (11, 99)");

    QuoteApproval approval = f.approval(f.application(), f.invoicing());
    const auto prepared = approval.prepare(f.request(), f.tables);
    ASSERT_TRUE(prepared) << f.messages.errors.join("; ").toStdString();
    ApprovalSave saved;
    std::thread first([&] {
        kv::db::TwoDatabaseWork work = f.work();
        saved = approval.save(work, *prepared);
    });
    QThread::msleep(300);
    holding.commit();
    first.join();

    EXPECT_EQ(saved.status, ApprovalSave::Status::NumberTaken);
    EXPECT_EQ(saved.message, "ESTA ENCOMENDA JÁ EXISTE !!!");
    EXPECT_EQ(saved.nextNumber, 12);
    EXPECT_EQ(headerValue(f, 11, "CLINRO").toInt(), 99); // the other's order stands
    EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET"), 0);
    EXPECT_EQ(quoteValue(f, 99, "APROVADO").toString(), "N");
    EXPECT_EQ(quoteValue(f, 0, "ENCNRO").toInt(), 0);
    EXPECT_DOUBLE_EQ(quoteValue(f, 0, "QTDADJUD").toDouble(), 0);
    EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
}

KV_ENGINE_SUITE(QuoteApprovalTest);

// A write refused at each step leaves both databases as they were.
struct ForcedFailure {
    const char* label;
    bool application; // the database the failure is forced in
    const char* sqlite;
    const char* postgres;
    bool throwsAtFirstStep;
};

class ApprovalFailureTest : public ::testing::TestWithParam<std::tuple<ForcedFailure, Engine>> {};

QString snapshot(ApprovalFixture& f)
{
    QStringList parts;
    for (const QString& sql :
         {QStringLiteral("SELECT SUBCODIGO, CLINRO, NOSREF, VALORADJUD, MARGEMVALOR, MARGEMPRC, DATADJUD, QTDADJUD, "
                         "PRECOADJUD, ANO, SEMANA, ENCNRO, APROVADO FROM ORCMAS WHERE CODIGO = 700 ORDER BY SUBCODIGO"),
          QStringLiteral("SELECT COUNT(*) FROM OPERPENDENTE")})
        for (const auto& row : f.application().query(sql).rows)
            for (const QVariant& v : row)
                parts << v.toString();
    for (const QString& sql :
         {QStringLiteral("SELECT ENCNRO1 FROM ENCPARGER"), QStringLiteral("SELECT COUNT(*) FROM ENCCLIMAS"),
          QStringLiteral("SELECT COUNT(*) FROM ENCCLIDET")})
        for (const auto& row : f.invoicing().query(sql).rows)
            for (const QVariant& v : row)
                parts << v.toString();
    return parts.join(QLatin1Char('|'));
}

TEST_P(ApprovalFailureTest, LeavesBothDatabasesUnchanged)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ApprovalFixture f(engine);
    kv::db::Connection& target = c.application ? f.application() : f.invoicing();
    if (engine == Engine::Postgres)
        target.exec("CREATE FUNCTION kv_forced_failure() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'falha forçada'; "
                    "END $$ LANGUAGE plpgsql");
    target.exec(QString::fromUtf8(engine == Engine::Postgres ? c.postgres : c.sqlite));
    const QString before = snapshot(f);

    QuoteApproval approval = f.approval(f.application(), f.invoicing());
    const auto prepared = approval.prepare(f.request(), f.tables);
    ASSERT_TRUE(prepared);
    kv::db::TwoDatabaseWork work = f.work();
    if (c.throwsAtFirstStep) {
        EXPECT_THROW(approval.save(work, *prepared), kv::db::DbError);
    } else {
        const ApprovalSave saved = approval.save(work, *prepared);
        EXPECT_EQ(saved.status, ApprovalSave::Status::Refused);
        EXPECT_TRUE(saved.message.contains("Aprovação do orçamento 700")) << saved.message.toStdString();
    }
    EXPECT_EQ(snapshot(f), before);
}

const ForcedFailure failures[] = {
    {"sub_quote_rows", true,
     "CREATE TRIGGER kv_fail BEFORE UPDATE ON ORCMAS WHEN NEW.SUBCODIGO <> 99 BEGIN SELECT RAISE(ABORT, 'falha'); END",
     "CREATE TRIGGER kv_fail BEFORE UPDATE ON ORCMAS FOR EACH ROW WHEN (NEW.SUBCODIGO <> 99) "
     "EXECUTE FUNCTION kv_forced_failure()",
     true},
    {"summary_row", true,
     "CREATE TRIGGER kv_fail BEFORE UPDATE OF APROVADO ON ORCMAS BEGIN SELECT RAISE(ABORT, 'falha'); END",
     "CREATE TRIGGER kv_fail BEFORE UPDATE OF APROVADO ON ORCMAS FOR EACH ROW EXECUTE FUNCTION kv_forced_failure()",
     true},
    {"pending_record", true,
     "CREATE TRIGGER kv_fail BEFORE INSERT ON OPERPENDENTE BEGIN SELECT RAISE(ABORT, 'falha'); END",
     "CREATE TRIGGER kv_fail BEFORE INSERT ON OPERPENDENTE FOR EACH ROW EXECUTE FUNCTION kv_forced_failure()", true},
    {"counter", false, "CREATE TRIGGER kv_fail BEFORE UPDATE ON ENCPARGER BEGIN SELECT RAISE(ABORT, 'falha'); END",
     "CREATE TRIGGER kv_fail BEFORE UPDATE ON ENCPARGER FOR EACH ROW EXECUTE FUNCTION kv_forced_failure()", false},
    {"order_header", false, "CREATE TRIGGER kv_fail BEFORE INSERT ON ENCCLIMAS BEGIN SELECT RAISE(ABORT, 'falha'); END",
     "CREATE TRIGGER kv_fail BEFORE INSERT ON ENCCLIMAS FOR EACH ROW EXECUTE FUNCTION kv_forced_failure()", false},
    {"order_line", false,
     "CREATE TRIGGER kv_fail BEFORE INSERT ON ENCCLIDET WHEN NEW.DETAIL = 3 BEGIN SELECT RAISE(ABORT, 'falha'); END",
     "CREATE TRIGGER kv_fail BEFORE INSERT ON ENCCLIDET FOR EACH ROW WHEN (NEW.DETAIL = 3) "
     "EXECUTE FUNCTION kv_forced_failure()",
     false},
};

INSTANTIATE_TEST_SUITE_P(Approval, ApprovalFailureTest,
                         ::testing::Combine(::testing::ValuesIn(failures), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ForcedFailure>);

} // namespace

namespace {

// On the demo company the demo quote 2 is approved at once: its customer and
// article are coded, the customer's earlier order of the article is found,
// and the proposal passes over the demo's orders.
class DemoApprovalTest : public ::testing::TestWithParam<Engine> {};

TEST_P(DemoApprovalTest, TheDemoQuoteIsApprovedWithTheNextNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    kv::shell::Session& session = scenario.login(GetParam(), kv::test::Company::Demo);
    const auto connections = session.dataModules().connections();
    kv::db::Connection& app = *connections.DbKavorime;
    kv::db::Connection& inv = *connections.DbFacturacao;
    kv::quotes::test::CollectingMessages messages;
    const kv::shell::LoginState& state = session.state();
    QuoteApproval approval(app, inv, messages, {state.WUtil, state.WData, state.WAno, 2});
    ASSERT_TRUE(approval.countersExist());
    ASSERT_TRUE(approval.commercialParametersExist());
    EXPECT_EQ(approval.proposeNumber("1"), 3);

    const ApprovalContext context = ApprovalContext::read(app, 2, 2);
    EXPECT_EQ(context.summary.customer, 102);
    EXPECT_EQ(context.summary.article, "PR-OVOS12");
    EXPECT_FALSE(context.summary.approved);
    const kv::db::QueryResult earlier =
        inv.query(previousOrdersSql(), {{"WCLINRO", context.summary.customer}, {"WARTNRO", context.summary.article}});
    ASSERT_EQ(earlier.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(earlier.value(0, "PRECOVENDA").toDouble(), 640);

    const QDate day = inv.scalar("SELECT MIN(DATA) FROM CALENDARIO WHERE DATA >= :D AND TIPODIA = 'TB'",
                                 {{"D", state.WData.startOfDay()}})
                          .toDate();
    ASSERT_TRUE(day.isValid());
    OrderRequest r;
    r.quoteNumber = 2;
    r.customer = context.summary.customer;
    r.article = context.summary.article;
    r.orderNumber = approval.proposeNumber("1");
    r.orderDate = day;
    r.deliveries[0] = {day, 3};
    r.deliveries[1] = {day.addDays(14), 2};
    r.input = {5, 700, true, true};
    const auto prepared = approval.prepare(r, kv::quotes::CostTables::load(app));
    ASSERT_TRUE(prepared) << messages.errors.join("; ").toStdString();
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join("; ").toStdString();
    kv::db::TwoDatabaseKinds kinds;
    kinds.add(approvalKind());
    kv::db::TwoDatabaseWork work(kinds, {{kv::db::role::application(), connections.DbKavorime},
                                         {kv::db::role::invoicing(), connections.DbFacturacao}});
    ASSERT_EQ(approval.save(work, *prepared).status, ApprovalSave::Status::Approved);
    EXPECT_EQ(approval.proposeNumber("1"), 4);
    EXPECT_EQ(app.scalar("SELECT APROVADO FROM ORCMAS WHERE CODIGO = 2 AND SUBCODIGO = 99").toString(), "S");
    EXPECT_EQ(inv.scalar("SELECT COUNT(*) FROM ENCCLIDET WHERE ENCNRO = 3").toInt(), 2);
}

KV_ENGINE_SUITE(DemoApprovalTest);

} // namespace

namespace {

// A workstation killed between the two databases leaves the quote marked and
// the order pending; the recovery writes the order once, however often it runs.
class ApprovalRecoveryTest : public ::testing::TestWithParam<Engine> {};

TEST_P(ApprovalRecoveryTest, AKillBetweenTheDatabasesIsFinishedOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalFixture f(GetParam());
    QProcess child;
    child.start(QStringLiteral(KV_APPROVAL_CHILD),
                {GetParam() == Engine::Postgres ? "postgres" : "sqlite", f.application().settings().database,
                 f.invoicing().settings().database, f.session.state().WUtil});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();

    EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 1);
    EXPECT_EQ(quoteValue(f, 99, "APROVADO").toString(), "S");
    EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIMAS"), 0);

    for (int run = 0; run < 2; ++run) {
        kv::db::TwoDatabaseWork work = f.work();
        const auto results = work.recover();
        EXPECT_EQ(results.size(), run == 0 ? 1u : 0u) << run;
        EXPECT_TRUE(kv::db::TwoDatabaseWork::messages(results).isEmpty()) << run;
        EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIMAS WHERE ENCNRO = 11"), 1) << run;
        EXPECT_EQ(f.count(f.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET WHERE ENCNRO = 11"), 2) << run;
        EXPECT_DOUBLE_EQ(headerValue(f, 11, "VALMERC").toDouble(), 1800) << run;
        EXPECT_EQ(f.invoicing().scalar("SELECT ENCNRO1 FROM ENCPARGER WHERE ANO = '2024'").toInt(), 11) << run;
        EXPECT_EQ(f.count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0) << run;
    }
}

KV_ENGINE_SUITE(ApprovalRecoveryTest);

} // namespace
