// What the quote viewers read and write without widgets, on both engines:
// the consultation's selection and count, the values chart rows, the
// article classification and the article picture paths.
#include "quotes/QuoteDatabase.h"

#include "quotes/core/ArticleClassification.h"
#include "quotes/core/ArticlePictures.h"
#include "quotes/core/ChartRows.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/core/QuoteValues.h"

#include "platform/db/Dataset.h"
#include "platform/install/Installation.h"
#include "schema/Schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::quotes;
using kv::test::Engine;
using Origin = ConsultationSelection::Origin;
using Approval = ConsultationSelection::Approval;

namespace {

const QDate Today(2024, 3, 15);

struct Quote {
    int number;
    QDate date;
    int customer;
    int salesman;
    const char* article;
    const char* origin;
    const char* approved;
};

const Quote Quotes[] = {
    {1, Today, 10, 1, "PR-A", "M", "N"},
    {2, Today, 20, 2, "PR-B", "M", "S"},
    {3, Today, 30, 0, "PR-C", "M", "N"},
    {4, Today, 10, 1, "PR-O'1", "A", "N"},
    {5, Today.addDays(-1), 10, 1, "PR-A", "M", "N"},
    {6, Today, 40, 3, "PR-Z", "M", "S"},
};

// The quotes above as summary rows, each with a sub-quote 0 that is never
// listed.
void insertQuotes(kv::db::Connection& c)
{
    for (const Quote& q : Quotes)
        for (int sub : {0, 99})
            c.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, VNDNRO, NOSREF, MANUAL_AUTO, APROVADO) "
                   "VALUES (:C, :S, :D, :Cli, :Vnd, :Art, :M, :A)",
                   {{"C", q.number},
                    {"S", sub},
                    // a time of day does not take a quote out of its day
                    {"D", QDateTime(q.date, QTime(17, 30))},
                    {"Cli", q.customer},
                    {"Vnd", q.salesman},
                    {"Art", QString::fromLatin1(q.article)},
                    {"M", QString::fromLatin1(q.origin)},
                    {"A", QString::fromLatin1(q.approved)}});
}

QList<int> listed(const std::shared_ptr<kv::db::Connection>& db, const ConsultationSelection& s)
{
    kv::db::Dataset list(QStringLiteral("ORCMAS"));
    list.setConnection(db);
    QuoteConsultation::open(list, s);
    QList<int> numbers;
    for (bool more = list.first(); more; more = list.next())
        numbers << static_cast<int>(list.value("CODIGO").toLongLong());
    EXPECT_EQ(QuoteConsultation::count(*db, s), numbers.size());
    return numbers;
}

struct ConsultationSelectionCase {
    std::string label;
    std::function<void(ConsultationSelection&)> change;
    QList<int> expected;
};

class ConsultationSelectionTest : public ::testing::TestWithParam<std::tuple<ConsultationSelectionCase, Engine>> {};

TEST_P(ConsultationSelectionTest, listsAndCountsTheSummaryRowsWithinTheLimits)
{
    const auto& [c, engine] = GetParam();
    kv::quotes::test::QuoteDatabase db(engine);
    if (!db.available())
        GTEST_SKIP() << "engine not available";
    insertQuotes(db.connection());
    ConsultationSelection s = ConsultationSelection::defaults(Today);
    c.change(s);
    const std::shared_ptr<kv::db::Connection> shared(&db.connection(), [](kv::db::Connection*) {});
    EXPECT_EQ(listed(shared, s), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsultationSelectionTest,
                         ::
                             testing::Combine(::
                                                  testing::
                                                      Values(
                                                          // manual quotes of the day, approved or not; salesman 0 left
                                                          // out
                                                          ConsultationSelectionCase{
                                                              "defaults", [](ConsultationSelection&) {}, {1, 2, 6}},
                                                          ConsultationSelectionCase{
                                                              "salesmanZero",
                                                              [](ConsultationSelection& s) { s.salesmanFrom = 0; },
                                                              {1, 2, 3, 6}},
                                                          ConsultationSelectionCase{"automatic",
                                                                        [](ConsultationSelection& s) {
                                                                            s.origin = Origin::Automatic;
                                                                        },
                                                                        {4}},
                                                          ConsultationSelectionCase{
                                                              "bothOrigins",
                                                              [](ConsultationSelection& s) { s.origin = Origin::Both; },
                                                              {1, 2, 4, 6}},
                                                          ConsultationSelectionCase{"approvedOnly",
                                                                        [](ConsultationSelection& s) {
                                                                            s.approval = Approval::Approved;
                                                                        },
                                                                        {2, 6}},
                                                          ConsultationSelectionCase{"notApproved",
                                                                        [](ConsultationSelection& s) {
                                                                            s.approval = Approval::NotApproved;
                                                                        },
                                                                        {1}},
                                                          ConsultationSelectionCase{"oneCustomer",
                                                                        [](ConsultationSelection& s) {
                                                                            s.customerFrom = s.customerTo = 10;
                                                                            s.dateFrom = Today.addDays(-1);
                                                                        },
                                                                        {1, 5}},
                                                          ConsultationSelectionCase{"invertedCustomersEmpty",
                                                                        [](ConsultationSelection& s) {
                                                                            s.customerFrom = 40;
                                                                            s.customerTo = 10;
                                                                        },
                                                                        {}},
                                                          ConsultationSelectionCase{"invertedDatesEmpty",
                                                                        [](ConsultationSelection& s) {
                                                                            s.dateTo = Today.addDays(-1);
                                                                        },
                                                                        {}},
                                                          ConsultationSelectionCase{"numbers",
                                                                        [](ConsultationSelection& s) { s.numberTo = 2; },
                                                                        {1, 2}},
                                                          // an apostrophe is a character of the limit, not of the
                                                          // statement
                                                          ConsultationSelectionCase{"articleWithApostrophe",
                                                                        [](ConsultationSelection& s) {
                                                                            s.origin = Origin::Both;
                                                                            s.articleFrom = s.articleTo =
                                                                                QStringLiteral("PR-O'1");
                                                                        },
                                                                        {4}},
                                                          ConsultationSelectionCase{"articlePrefixBelow",
                                                                        [](ConsultationSelection& s) {
                                                                            s.articleFrom = QStringLiteral("PR-B");
                                                                            s.articleTo = QStringLiteral("PR-C");
                                                                        },
                                                                        {2}},
                                                          // the approval list's orders, from the day before
                                                          ConsultationSelectionCase{"byDate",
                                                                        [](ConsultationSelection& s) {
                                                                            s.dateFrom = Today.addDays(-1);
                                                                            s.order = ConsultationSelection::Order::Date;
                                                                        },
                                                                        {5, 1, 2, 6}},
                                                          ConsultationSelectionCase{"byArticleThenDate",
                                                                        [](ConsultationSelection& s) {
                                                                            s.dateFrom = Today.addDays(-1);
                                                                            s.origin = Origin::Both;
                                                                            s.order = ConsultationSelection::Order::Article;
                                                                        },
                                                                        {5, 1, 2, 4, 6}},
                                                          ConsultationSelectionCase{"bySalesmanThenNumber",
                                                                        [](ConsultationSelection& s) {
                                                                            s.dateFrom = Today.addDays(-1);
                                                                            s.order = ConsultationSelection::Order::Salesman;
                                                                        },
                                                                        {1, 5, 2, 6}}),
                                              ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ConsultationSelectionCase>);

TEST(ConsultationWordingTest, approvalFilterAsThePrintedListSaysIt)
{
    ConsultationSelection s;
    const std::pair<Approval, const char*> cases[] = {{Approval::Approved, "Só Aprovados"},
                                                      {Approval::NotApproved, "Só não Aprovados"},
                                                      {Approval::Both, "Aprovados e não Aprovados"}};
    for (const auto& [approval, text] : cases) {
        s.approval = approval;
        EXPECT_EQ(s.approvalWording(), QString::fromUtf8(text));
    }
}

// --- the values chart

class ValuesChartTest : public ::testing::TestWithParam<Engine> {};

TEST_P(ValuesChartTest, eachQuantityReplacesTheUsersRowsOfTheProgram)
{
    kv::quotes::test::QuoteDatabase db(GetParam());
    if (!db.available())
        GTEST_SKIP() << "engine not available";
    QuoteRow r;
    r.set("VALMP1", 100.004);
    r.set("VALTR1", 10.0);
    r.set("MARGEMLIQ1", -5.0); // a loss is a negative slice
    r.set("VALMP2", 200.0);
    r.set("VALCOM1B", 20.0);
    r.set("MARGEMLIQ2", 30.0);
    const QuoteValues values = QuoteValues::of(r);
    auto& c = db.connection();
    ChartRows other(c, ChartRows::Table::Saldos, "RUI", "ORCP031");
    other.addSlice(1, "Outro", 1.0, 2);

    values.writeChart(c, "ANA", "ORCP031", 1);
    ChartRows ana(c, ChartRows::Table::Saldos, "ANA", "ORCP031");
    auto slices = ana.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_EQ(slices[0].label, "Cust.Base");
    EXPECT_DOUBLE_EQ(slices[0].value, 100.0); // rounded to cents
    EXPECT_EQ(slices[1].label, "C.Comerc.");
    EXPECT_DOUBLE_EQ(slices[1].value, 10.0);
    EXPECT_EQ(slices[2].label, "Margem");
    EXPECT_DOUBLE_EQ(slices[2].value, -5.0);

    values.writeChart(c, "ANA", "ORCP031", 2);
    slices = ana.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].value, 200.0);
    EXPECT_DOUBLE_EQ(slices[1].value, 20.0);
    EXPECT_DOUBLE_EQ(slices[2].value, 30.0);
    EXPECT_EQ(other.slices().size(), 1u); // another user's chart is left alone
}

INSTANTIATE_TEST_SUITE_P(Engines, ValuesChartTest, ::testing::ValuesIn(kv::test::engines()), kv::test::engineTestName);

// --- the article classification

// An invoicing database with group "A" for article type 1 (tables 1 to 5
// only), type 2 without a group, and a few values of the group.
struct ClassificationDatabase {
    explicit ClassificationDatabase(Engine engine)
    {
        if (!kv::test::engineAvailable(engine))
            return;
        scratch.emplace(engine, QStringLiteral("classif"));
        db = scratch->open(QStringLiteral("BDFACTURACAO"));
        kv::schema::Schema::standard().create(*db, kv::schema::Database::Invoicing);
        db->exec("INSERT INTO PARCUSTOM (CODIGO, GRUPOTIPO1, GRUPOTIPO2, GRUPOTIPO11) VALUES ('1', 'A', '', 'A')");
        for (int n = 1; n <= 5; ++n)
            db->exec("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM) VALUES ('A', :N, :Nome)",
                     {{"N", QString::number(n)}, {"Nome", QStringLiteral("Tabela %1").arg(n)}});
        const std::tuple<const char*, const char*, int, const char*> values[] = {{"1", "PORTUGAL", 3, "Canelado"},
                                                                                 {"2", "PORTUGAL", 7, "Branco"},
                                                                                 {"4", "PORTUGAL", 0, "Nenhum"},
                                                                                 {"5", "ESPANHA", 9, "Solo Espanha"},
                                                                                 {"3", "PORTUGAL", 1, "Offset"}};
        for (const auto& [table, country, code, name] : values)
            db->exec("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO) VALUES ('A', :P, :T, :C, :D)",
                     {{"P", QString::fromLatin1(country)},
                      {"T", QString::fromLatin1(table)},
                      {"C", code},
                      {"D", QString::fromUtf8(name)}});
        article("ART-1", "1", {3, 7, 1, 0, 9});
        article("ART-11", "11", {3, 7, 1, 0, 9});
        article("ART-SEM", "", {3, 7, 1, 0, 9});
        article("ART-2", "2", {3, 7, 1, 0, 9});
    }

    void article(const char* code, const char* type, std::array<int, 5> codes)
    {
        db->exec(
            "INSERT INTO ARTIGOSCLS (CODIGO, TIPOARTIGO, CUSTOPADRAO, CUSTOM1, CUSTOM2, CUSTOM3, CUSTOM4, CUSTOM5) "
            "VALUES (:C, :T, 1.5, :C1, :C2, :C3, :C4, :C5)",
            {{"C", QString::fromLatin1(code)},
             {"T", QString::fromLatin1(type)},
             {"C1", codes[0]},
             {"C2", codes[1]},
             {"C3", codes[2]},
             {"C4", codes[3]},
             {"C5", codes[4]}});
    }

    std::optional<kv::test::ScratchDatabase> scratch;
    std::shared_ptr<kv::db::Connection> db;
};

class ClassificationTest : public ::testing::TestWithParam<Engine> {};

TEST_P(ClassificationTest, namesTheTablesAndValuesOfTheArticlesGroup)
{
    ClassificationDatabase data(GetParam());
    if (!data.db)
        GTEST_SKIP() << "engine not available";
    ArticleClassification classification(*data.db);
    ASSERT_TRUE(classification.readGroups());
    const ClassifiedArticle a = classification.article("ART-1");
    ASSERT_TRUE(a.found);
    EXPECT_EQ(a.group, "A");
    const std::array<const char*, 9> tables{"Tabela 1", "Tabela 2", "Tabela 3", "Tabela 4", "Tabela 5", "", "", "", ""};
    // code 0 names nothing even with a row 0; a value of another country is not shown
    const std::array<const char*, 9> names{"Canelado", "Branco", "Offset", "", "", "", "", "", ""};
    for (int n = 0; n < 9; ++n) {
        EXPECT_EQ(a.tableNames[n], QString::fromLatin1(tables[n])) << n + 1;
        EXPECT_EQ(a.valueNames[n], QString::fromUtf8(names[n])) << n + 1;
    }
}

struct NoNamesCase {
    std::string label;
    const char* article;
    bool withoutParameters;
    bool found;
};

class ClassificationWithoutNamesTest : public ::testing::TestWithParam<std::tuple<NoNamesCase, Engine>> {};

// Whatever the reason, the names of another article never show.
TEST_P(ClassificationWithoutNamesTest, givesNoNames)
{
    const auto& [c, engine] = GetParam();
    ClassificationDatabase data(engine);
    if (!data.db)
        GTEST_SKIP() << "engine not available";
    if (c.withoutParameters)
        data.db->exec("DELETE FROM PARCUSTOM");
    ArticleClassification classification(*data.db);
    EXPECT_EQ(classification.readGroups(), !c.withoutParameters);
    classification.article("ART-1"); // a classified article first
    const ClassifiedArticle a = classification.article(QString::fromLatin1(c.article));
    EXPECT_EQ(a.found, c.found);
    for (int n = 0; n < 9; ++n) {
        EXPECT_TRUE(a.tableNames[n].isEmpty()) << n + 1;
        EXPECT_TRUE(a.valueNames[n].isEmpty()) << n + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ClassificationWithoutNamesTest,
                         ::testing::Combine(::testing::Values(NoNamesCase{"type11", "ART-11", false, true},
                                                              NoNamesCase{"emptyType", "ART-SEM", false, true},
                                                              NoNamesCase{"typeWithoutGroup", "ART-2", false, true},
                                                              NoNamesCase{"missingArticle", "NAO-EXISTE", false, false},
                                                              NoNamesCase{"emptyCode", "", false, false},
                                                              NoNamesCase{"noParameterRow", "ART-1", true, true}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<NoNamesCase>);

INSTANTIATE_TEST_SUITE_P(Engines, ClassificationTest, ::testing::ValuesIn(kv::test::engines()),
                         kv::test::engineTestName);

// --- article pictures

TEST(ArticlePicturesTest, findsTheFileWithoutRegardToCaseAndNoneForAnEmptyCode)
{
    QTemporaryDir dir;
    const QString root = dir.path() + "/inst";
    QDir().mkpath(root);
    QDir().mkpath(dir.path() + "/fotos");
    for (const char* name : {"PR-A1.bmp", "1.Bmp"}) {
        QFile f(dir.path() + "/fotos/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile aliases(root + "/aliases.ini");
    ASSERT_TRUE(aliases.open(QIODevice::WriteOnly));
    aliases.write("[drives]\nX: = ../fotos\n");
    aliases.close();
    const kv::install::Installation installation(root);

    EXPECT_EQ(articlePicturePath(installation, "X:", "PR-A", 1), QDir::cleanPath(dir.path() + "/fotos/PR-A1.bmp"));
    EXPECT_FALSE(QFile::exists(articlePicturePath(installation, "X:", "PR-A", 2)));
    // "1.Bmp" belongs to no article
    EXPECT_TRUE(articlePicturePath(installation, "X:", "", 1).isEmpty());
}

} // namespace
