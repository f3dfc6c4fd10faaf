// The automatic-invoicing lines' writes: positions within an invoice, the
// settings a new line takes over, two lines of one invoice, and a changed
// line found by the key it was read with.
#include "customers/core/InvoicingLines.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::customers::InvoicingLine;
using kv::customers::InvoicingLines;
using kv::test::Engine;

namespace {

class Lines : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        kv::test::insertRows(*db, "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "PRECO1"}, {{"SERV-01", "Avença", 120.5}});
    }

    InvoicingLine line(int invoice, const char* article = "SERV-01")
    {
        InvoicingLine l;
        l.customer = 101;
        l.invoice = invoice;
        l.article = QString::fromLatin1(article);
        l.designation = "Avença";
        l.quantity = 1;
        l.price = 120.5;
        l.period = "M";
        l.day = 5;
        l.contractStart = QDate(2024, 1, 1);
        l.contractEnd = QDate(2024, 12, 31);
        return l;
    }

    QList<int> positions(int invoice)
    {
        const auto rows = scenario.rows(
            db, "SELECT POSICAO FROM CLIFACAUTO WHERE CODIGO = 101 AND DETAIL = :D ORDER BY POSICAO", {{"D", invoice}});
        QList<int> found;
        for (std::size_t i = 0; i < rows.rows.size(); ++i)
            found << rows.value(i, "POSICAO").toInt();
        return found;
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

TEST_P(Lines, TwoLinesOfOneInvoiceAreBothStored)
{
    InvoicingLines lines(db);
    EXPECT_EQ(lines.insert(line(1)), 1);
    // Same invoice, same article: another line, not a clash on the key.
    EXPECT_EQ(lines.insert(line(1)), 2);
    EXPECT_EQ(lines.insert(line(2)), 1);
    EXPECT_EQ(positions(1), (QList<int>{1, 2}));
    EXPECT_EQ(positions(2), (QList<int>{1}));
}

TEST_P(Lines, AFreeTextLineHasAnEmptyArticle)
{
    InvoicingLines lines(db);
    InvoicingLine free = line(5);
    free.article = QString(); // an edit left empty
    free.quantity = 0;
    free.price = 0;
    EXPECT_EQ(lines.insert(free), 1);
    lines.remove(101, 5, 1, QString());
    EXPECT_TRUE(positions(5).isEmpty());
}

TEST_P(Lines, ANewLineFollowsTheHighestPositionWhateverGapsDeletionsLeft)
{
    InvoicingLines lines(db);
    for (int i = 0; i < 3; ++i)
        lines.insert(line(1));
    lines.remove(101, 1, 2, "SERV-01");
    EXPECT_EQ(lines.insert(line(1)), 4);
    lines.remove(101, 1, 4, "SERV-01");
    lines.remove(101, 1, 3, "SERV-01");
    EXPECT_EQ(lines.insert(line(1)), 2);
    EXPECT_EQ(positions(1), (QList<int>{1, 2}));
}

TEST_P(Lines, ANewLineTakesOverItsInvoicesSettings)
{
    InvoicingLines lines(db);
    InvoicingLine first = line(3);
    first.period = "T";
    first.day = 15;
    first.lastInvoice = QDate(2024, 3, 15);
    lines.insert(first);
    InvoicingLine second = line(3);
    second.period = "A";
    lines.insert(second);

    const kv::customers::InvoiceSettings taken = lines.invoiceSettings(101, 3);
    EXPECT_EQ(taken.period, "T");
    EXPECT_EQ(taken.day, 15);
    EXPECT_EQ(taken.lastInvoice, QDate(2024, 3, 15));
    EXPECT_EQ(taken.contractStart, QDate(2024, 1, 1));
    EXPECT_EQ(taken.contractEnd, QDate(2024, 12, 31));

    const kv::customers::InvoiceSettings none = lines.invoiceSettings(101, 9);
    EXPECT_TRUE(none.period.isEmpty());
    EXPECT_EQ(none.day, 0);
    EXPECT_FALSE(none.contractStart.isValid());
}

TEST_P(Lines, AChangedLineKeepsItsPositionAndIsFoundByItsOldArticle)
{
    InvoicingLines lines(db);
    lines.insert(line(1));
    InvoicingLine changed = line(1, "");
    changed.position = 1;
    changed.designation = "Linha livre";
    changed.quantity = 0;
    changed.price = 0;
    lines.update(changed, "SERV-01");
    const auto rows = scenario.rows(db, "SELECT POSICAO, ARTIGO, DESIGN FROM CLIFACAUTO WHERE CODIGO = 101");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.value(0, "POSICAO").toInt(), 1);
    EXPECT_TRUE(rows.value(0, "ARTIGO").toString().trimmed().isEmpty());
    EXPECT_EQ(rows.value(0, "DESIGN").toString().trimmed(), "Linha livre");
    // A line another workstation removed meanwhile is reported, not silently lost.
    lines.remove(101, 1, 1, "");
    EXPECT_THROW(lines.update(changed, ""), kv::db::DbError);
}

TEST_P(Lines, AnArticleGivesItsDesignationAndFirstPrice)
{
    InvoicingLines lines(db);
    const auto found = lines.article("SERV-01");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->first, "Avença");
    EXPECT_DOUBLE_EQ(found->second, 120.5);
    EXPECT_FALSE(lines.article("NADA").has_value());
}

KV_ENGINE_SUITE(Lines);

} // namespace
