// The issue of the customer quote letters without widgets: the copies a run
// queues, the selection, the queue and the issued mark in one transaction,
// and the letter pages read back from the queue.
#include "quotes/QuoteDatabase.h"

#include "quotes/core/QuoteIssue.h"

#include "platform/db/DbError.h"
#include "platform/db/PrintQueue.h"

#include <gtest/gtest.h>

using namespace kv::quotes;
using namespace kv::quotes::test;
using kv::db::PrintQueue;

namespace {

const QDate issueDay(2024, 3, 15);

// --- the copies of a run ---

struct CopyCase {
    const char* label;
    QStringList names;
    std::array<bool, PrintQueue::CopySlots> ticked;
    QStringList copies;
};

const CopyCase copyCases[] = {
    {"slotOrder", {"Original", "Duplicado", "Triplicado"}, {true, true, true}, {"Original", "Duplicado", "Triplicado"}},
    {"nameTwiceIsOneCopy", {"Original", "Arquivo", "Original"}, {true, true, true}, {"Original", "Arquivo"}},
    {"tickedWithoutName", {"Original", "", "Arquivo"}, {true, true, true}, {"Original", "Arquivo"}},
    {"namedButUnticked", {"Original", "Duplicado"}, {false, true}, {"Duplicado"}},
    {"noCopy", {"", ""}, {true, true}, {}},
};

class IssueCopies : public ::testing::TestWithParam<CopyCase> {};

TEST_P(IssueCopies, followTheTickedNamedSlots)
{
    EXPECT_EQ(PrintQueue::chosenCopies(GetParam().names, GetParam().ticked), GetParam().copies);
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueCopies, ::testing::ValuesIn(copyCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

// --- on a database ---

// Summary rows (and a sub-quote row that is never selected): quote, issue
// day offset, customer, issued flag.
void storeIssueQuotes(kv::db::Connection& db)
{
    struct Quote {
        int number;
        int dayOffset;
        int customer;
        const char* printed;
    };
    const Quote quotes[] = {{1, 0, 10, "N"}, {2, 0, 20, "N"}, {3, 0, 10, "S"}, {4, -1, 10, "N"}, {5, 1, 20, "N"}};
    kv::db::Transaction transaction(db);
    for (const Quote& q : quotes)
        for (int subQuote : {0, 99})
            db.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, PRINTE, CODPOSTAL, UNDVND, UNIDADE, "
                    "QTDORC1, PRECOCLI1, QTDORC2, PRECOCLI2, QTDORC3, PRECOCLI3, COMPRIM, LARGURA, ALTURA) "
                    "VALUES (:C, :S, :D, :K, :N, :P, :CP, 'Mil', :U, 1500, 12.345, 0, 9, 3000.5, 11, 300, 200, 100)",
                    {{"C", q.number},
                     {"S", subQuote},
                     {"D", QDateTime(issueDay.addDays(q.dayOffset), QTime(0, 0))},
                     {"K", q.customer},
                     {"N", QStringLiteral("Cliente %1").arg(q.customer)},
                     {"P", QString::fromLatin1(q.printed)},
                     {"CP", q.number == 2 ? QStringLiteral("9999-999") : QStringLiteral("4000-001")},
                     {"U", q.number == 1 ? QStringLiteral("U") : QStringLiteral("K")}});
    transaction.commit();
}

IssueSelection issueDayOf(qint64 customer = 0, bool reprint = false)
{
    IssueSelection s;
    s.customer = customer;
    s.fromDate = issueDay;
    s.toDate = issueDay;
    s.reprint = reprint;
    return s;
}

struct SelectionCase {
    const char* label;
    IssueSelection selection;
    std::vector<qint64> quotes;
};

IssueSelection issueNumbers(qint64 from, qint64 to)
{
    IssueSelection s = issueDayOf();
    s.fromNumber = from;
    s.toNumber = to;
    return s;
}

IssueSelection issueDates(int fromOffset, int toOffset)
{
    IssueSelection s = issueDayOf();
    s.fromDate = issueDay.addDays(fromOffset);
    s.toDate = issueDay.addDays(toOffset);
    return s;
}

const SelectionCase selectionCases[] = {
    {"defaultsTheDaysUnissued", issueDayOf(), {1, 2}},
    {"reprintTakesTheIssuedToo", issueDayOf(0, true), {1, 2, 3}},
    {"oneCustomer", issueDayOf(10), {1}},
    {"numberRange", issueNumbers(2, 3), {2}},
    {"invertedNumbersSelectNothing", issueNumbers(3, 2), {}},
    {"datesIncludeBothEnds", issueDates(-1, 1), {1, 2, 4, 5}},
    {"invertedDatesSelectNothing", issueDates(1, -1), {}},
};

class IssueSelectionTest : public ::testing::TestWithParam<std::tuple<SelectionCase, kv::test::Engine>> {};

TEST_P(IssueSelectionTest, selectsTheSummaryRows)
{
    const SelectionCase& c = std::get<0>(GetParam());
    QuoteDatabase database(std::get<1>(GetParam()));
    if (!database.available())
        GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    storeIssueQuotes(database.connection());
    EXPECT_EQ(QuoteIssue(database.connection(), "ANA").selectedQuotes(c.selection), c.quotes);
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueSelectionTest,
                         ::testing::Combine(::testing::ValuesIn(selectionCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<SelectionCase>);

class IssueQueue : public ::testing::TestWithParam<kv::test::Engine> {
protected:
    void SetUp() override
    {
        database.emplace(GetParam());
        if (!database->available())
            GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
        storeIssueQuotes(db());
    }
    kv::db::Connection& db() { return database->connection(); }
    long long count(const QString& sql) { return db().scalar(sql).toLongLong(); }
    QString printed(int quote)
    {
        return db().scalar("SELECT PRINTE FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = 99", {{"C", quote}}).toString();
    }

    std::optional<QuoteDatabase> database;
};

TEST_P(IssueQueue, queuesEachCopyMarksOnlyPrinteAndLeavesOtherUsersAlone)
{
    db().exec("INSERT INTO ORCAMIMPR (ORCNRO, UTIL, VIA) VALUES (1, 'RUI', 'Original'), (7, 'ANA', 'Velho')");
    // Another workstation renames the customer of quote 2 after the selection was read.
    QuoteIssue issue(db(), "ANA");
    const IssueSelection selection = issueDayOf();
    std::vector<qint64> progress;
    database->openAnother()->exec("UPDATE ORCMAS SET NOME = 'Outro' WHERE CODIGO = 2 AND SUBCODIGO = 99");
    const auto queued = issue.queue(selection, {"Original", "Arquivo"}, [&progress](int done, int total, qint64) {
        progress.push_back(done * 100 / total);
    });
    EXPECT_EQ(queued, (std::vector<qint64>{1, 2}));
    EXPECT_EQ(progress, (std::vector<qint64>{50, 100}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR WHERE UTIL = 'ANA'"), 4); // the old row of 7 is gone
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR WHERE UTIL = 'RUI'"), 1);
    EXPECT_EQ(printed(1), "S");
    EXPECT_EQ(printed(2), "S");
    EXPECT_EQ(printed(4), "N");
    EXPECT_EQ(db().scalar("SELECT NOME FROM ORCMAS WHERE CODIGO = 2 AND SUBCODIGO = 99").toString(), "Outro");
    EXPECT_EQ(db().scalar("SELECT PRINTE FROM ORCMAS WHERE CODIGO = 1 AND SUBCODIGO = 0").toString(), "N");

    issue.emptyQueue();
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR WHERE UTIL = 'ANA'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR WHERE UTIL = 'RUI'"), 1);
    // Issued, they are out of the next default selection.
    EXPECT_TRUE(issue.selectedQuotes(selection).empty());
}

TEST_P(IssueQueue, aQuoteWithoutCopyIsStillMarked)
{
    QuoteIssue issue(db(), "ANA");
    issue.queue(issueDayOf(10), {});
    EXPECT_EQ(printed(1), "S");
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR"), 0);
}

TEST_P(IssueQueue, aFailedRunQueuesAndMarksNothing)
{
    db().exec("INSERT INTO ORCAMIMPR (ORCNRO, UTIL, VIA) VALUES (7, 'ANA', 'Velho')");
    PrintQueue queue(db(), QuoteIssue::queueTable(), "ANA");
    const auto mark = [](kv::db::Connection& connection, qint64 quote) {
        connection.exec("UPDATE ORCMAS SET PRINTE = 'S' WHERE CODIGO = :C AND SUBCODIGO = 99", {{"C", quote}});
        if (quote == 2)
            connection.exec("UPDATE TABELA_QUE_NAO_EXISTE SET X = 1");
    };
    EXPECT_THROW(queue.fill({1, 2}, {"Original"}, mark), kv::db::DbError);
    EXPECT_EQ(printed(1), "N");
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR WHERE ORCNRO = 1"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM ORCAMIMPR WHERE ORCNRO = 7"), 1);
}

// The letter pages: quote by quote, each copy in slot order; the postal code
// missing from the table blanks only the locality line.
TEST_P(IssueQueue, lettersReadBackPageByPage)
{
    kv::test::ScratchDatabase invoicingDatabase(GetParam(), QStringLiteral("cp"));
    auto invoicing = invoicingDatabase.open(QStringLiteral("BDFACTURACAO"));
    invoicing->exec("CREATE TABLE CODPOSTAL (CODPOSTAL VARCHAR(8) PRIMARY KEY, LOCALIDADE VARCHAR(30))");
    invoicing->exec("INSERT INTO CODPOSTAL VALUES ('4000-001', 'PORTO')");

    QuoteIssue issue(db(), "ANA");
    const QStringList copies{"Original", "Arquivo"};
    issue.queue(issueDayOf(), copies);
    LetterTexts texts;
    texts.paymentConditions = {"30 dias", "", "", "", ""};
    texts.transport = "Por nossa conta";
    texts.saleConditions = {"Preços sem IVA"};
    texts.priceDecimals = 2;

    struct PageCase {
        LetterLayout layout;
        std::size_t row;
        const char* field;
        QString text;
    };
    const PageCase cases[] = {
        {LetterLayout::Quality, 0, "VIA", "Original"},
        {LetterLayout::Quality, 1, "VIA", "Arquivo"},
        {LetterLayout::Quality, 2, "CODIGO", "2"},
        {LetterLayout::Quality, 0, "LOCALIDADE", "4000-001 PORTO"},
        {LetterLayout::Quality, 0, "QTDHEAD", "Quantidades (Mil)"},
        {LetterLayout::Quality, 0, "QTD1", "1.500"}, // unit "U": whole
        {LetterLayout::Quality, 2, "QTD1", "1.500,000"},
        {LetterLayout::Quality, 0, "QTD2", ""}, // quantity 0: no quantity, no price
        {LetterLayout::Quality, 0, "PRECO2", ""},
        {LetterLayout::Quality, 0, "PRECO1", "12,35 €"},
        {LetterLayout::Quality, 0, "MEDIDAS", "300 x 200 x 100"},
        {LetterLayout::Micro, 0, "QTD2", "0"},
        {LetterLayout::Micro, 0, "QTD3", "3000,5"},
        {LetterLayout::Carton, 2, "LOCALIDADE", ""},
        {LetterLayout::Carton, 2, "PRECO3", "11,00 €"},
        {LetterLayout::Carton, 2, "CNDPGT1", "30 dias"},
        {LetterLayout::Carton, 2, "TRANSPORTE", "Por nossa conta"},
        {LetterLayout::Carton, 2, "CONDVENDA1", "Preços sem IVA"},
        {LetterLayout::Carton, 2, "DATEMI", "15/03/2024"},
    };
    for (const PageCase& c : cases) {
        const LetterPages pages = issue.pages(issueDayOf(), copies, texts, c.layout, *invoicing);
        ASSERT_EQ(pages.rows.size(), 4u);
        EXPECT_EQ(pages.value(c.row, QString::fromLatin1(c.field)).toString(), c.text)
            << c.field << " row " << c.row << " layout " << static_cast<int>(c.layout);
    }
}

KV_ENGINE_SUITE(IssueQueue);

TEST(LetterLayoutTest, onlyTheThreeLayoutsPrint)
{
    EXPECT_EQ(letterLayout("1"), LetterLayout::Quality);
    EXPECT_EQ(letterLayout("M"), LetterLayout::Micro);
    EXPECT_EQ(letterLayout("T"), LetterLayout::Carton);
    EXPECT_EQ(letterLayout("m"), std::nullopt);
    EXPECT_EQ(letterLayout(""), std::nullopt);
}

} // namespace
