// The order documents read for the user's whole queue and rendered: pages
// per copy and item, page numbers running through the preview, finishing
// slots and their shading, later deliveries blanked, planned times as hh:mm,
// the item kind, packing products, the order's own year, and a PDF export.
#include "production/IssueOrders.h"

#include "production/core/OrderDocuments.h"
#include "production/core/OrderIssue.h"
#include "production/print/OrderDocumentReports.h"

#include "platform/report/Export.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

using namespace kv::production;
using namespace kv::production::test;
using kv::test::Engine;

namespace {

const QColor docShade(231, 231, 231);

QStringList docTexts(const kv::report::RenderedPage& page)
{
    QStringList texts;
    for (const auto& band : page.bands)
        for (const auto& item : band.items)
            if (item.kind == kv::report::RenderedItem::Kind::Text && !item.text.isEmpty())
                texts << item.text;
    return texts;
}

// The texts of the pages of one report of the job.
std::vector<QStringList> docPagesOf(const kv::report::Document& document, int report)
{
    std::vector<QStringList> pages;
    for (const auto& page : document.pages)
        if (page.reportIndex == report)
            pages.push_back(docTexts(page));
    return pages;
}

class OrderDocumentsRun : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        app = scenario.applicationDatabase();
        invoicing = scenario.invoicingDatabase();
        issueStoreOrders(*app, *invoicing);
    }

    kv::report::Document renderQueue(const std::vector<IssueItem>& items, const QStringList& copies)
    {
        OrderIssue issue(*app, QStringLiteral("ANA"), IssueModel::Detail);
        issue.queue(items, copies);
        const OrderDocumentData data = readOrderDocuments(*app, *invoicing, QStringLiteral("ANA"));
        return OrderDocumentReports(data, {QStringLiteral("Cartonagem do Vale, Lda"), QStringLiteral("Rodapé"), {}})
            .render();
    }

    const std::vector<IssueItem> threeItems{{"2024", "11", 100, 1, 0}, {"2024", "11", 100, 1, 3}, {"2024", "11", 103, 1, 0}};
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> invoicing;
};

TEST_P(OrderDocumentsRun, printTheOrderPerCopyAndTheOthersPerItem)
{
    const kv::report::Document document = renderQueue(threeItems, {"Produção", "Qualidade"});
    // Two pages per copy of the order; one cutting requisition, two inspection
    // pages and one label per item.
    EXPECT_EQ(docPagesOf(document, 0).size(), 12u);
    EXPECT_EQ(docPagesOf(document, 1).size(), 3u);
    EXPECT_EQ(docPagesOf(document, 2).size(), 6u);
    EXPECT_EQ(docPagesOf(document, 3).size(), 3u);
    // Page numbers run on through the copies of the order document.
    const auto order = docPagesOf(document, 0);
    for (std::size_t p = 0; p < order.size(); ++p)
        EXPECT_TRUE(order[p].contains(QStringLiteral("Página :%1").arg(p + 1))) << p;
    // Copies in REGISTO order: item 100/1/0 twice, then its accessory twice.
    EXPECT_TRUE(order[0].contains(QStringLiteral("Artigo Base")));
    EXPECT_TRUE(order[2].contains(QStringLiteral("Artigo Base")));
    EXPECT_EQ(order[4].count(QStringLiteral("Acessório")), 1);
    EXPECT_EQ(order[5].count(QStringLiteral("Acessório")), 1);
    EXPECT_TRUE(order[8].contains(QStringLiteral("Artigo Base")));
    EXPECT_EQ(docPagesOf(document, 1)[0].filter(QStringLiteral("Requisição Para Corte de Matéria Prima")).size(), 1);
    EXPECT_EQ(document.title, QStringLiteral("Emissão de Ordens de Fabrico"));
}

TEST_P(OrderDocumentsRun, anEmptyQueuePrintsNothing)
{
    const kv::report::Document document = renderQueue({}, {"Produção"});
    EXPECT_TRUE(document.isEmpty());
}

TEST_P(OrderDocumentsRun, packFinishingSlotsShadeThemAndBlankFreeDeliveries)
{
    const kv::report::Document document = renderQueue({threeItems[0], threeItems[2]}, {"Produção"});
    const auto order = docPagesOf(document, 0);
    ASSERT_EQ(order.size(), 4u);
    int shaded = 0;
    QStringList shadedTexts;
    for (const auto& band : document.pages[0].bands)
        for (const auto& item : band.items)
            if (item.fill == docShade) {
                ++shaded;
                shadedTexts << item.text;
            }
    EXPECT_EQ(shadedTexts, (QStringList{"TAMPA", "CAIXA", "MANGA"}));
    for (const auto& band : document.pages[2].bands)
        for (const auto& item : band.items)
            EXPECT_NE(item.fill, docShade) << item.text.toStdString();
    // Delivery 2 prints in the plan and in the quantities band; delivery 3
    // equals delivery 1, so it and delivery 4 after it are blank.
    const QString later = issueDay.addDays(7).toString(QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(order[0].count(later) + order[1].count(later), 2);
    // Customer order by the order's own number and the quote's postal code with its locality.
    EXPECT_TRUE(order[0].contains(QStringLiteral("PO-100")));
    EXPECT_TRUE(order[0].contains(QStringLiteral("4000-001 PORTO")));
    EXPECT_FALSE(order[2].contains(QStringLiteral("9999-999")));
    EXPECT_TRUE(order[2].contains(QStringLiteral("SIM")));
}

TEST_P(OrderDocumentsRun, packingLinesAndTheOrdersOwnConsumption)
{
    const kv::report::Document document = renderQueue({threeItems[0]}, {"Produção"});
    const auto order = docPagesOf(document, 0);
    ASSERT_EQ(order.size(), 2u);
    const QStringList& pageTwo = order[1];
    // Pallet line 1: 4 of 30 = 120; outer line 1 has no count, line 2: 3 of 25 = 75.
    for (const char* figure : {"4", "30", "120", "3", "25", "75"})
        EXPECT_TRUE(pageTwo.contains(QLatin1String(figure))) << figure;
    EXPECT_FALSE(pageTwo.contains(QStringLiteral("50")));
    EXPECT_TRUE(pageTwo.contains(QStringLiteral("Colagem manual")));
    EXPECT_FALSE(pageTwo.contains(QStringLiteral("Operacao de 2023")));
    EXPECT_TRUE(order[0].contains(QStringLiteral("Cartolina 350")));
    // The cutting requisition's cardstock grammage.
    EXPECT_TRUE(docPagesOf(document, 1)[0].contains(QStringLiteral("350")));
}

TEST_P(OrderDocumentsRun, theSameNumberOfTwoYearsPrintsTwoItems)
{
    kv::test::insertRows(*app, QStringLiteral("ORDFABDET"),
                         {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "CLINRO", "ARTIGO", "PRODUZ", "IMPR"},
                         {{"2023", "40", 100, 0, 1, 10, "ART-OLD", "N", "N"}});
    const kv::report::Document document =
        renderQueue({threeItems[0], {"2023", "40", 100, 1, 0}}, {"Produção"});
    EXPECT_EQ(docPagesOf(document, 1).size(), 2u);
    EXPECT_EQ(docPagesOf(document, 3).size(), 2u);
}

TEST_P(OrderDocumentsRun, exportsAsPdf)
{
    const kv::report::Document document = renderQueue({threeItems[0]}, {"Produção"});
    const QString path = scenario.tempPath(QStringLiteral("ordens.pdf"));
    kv::report::exportDocument(document, kv::report::ExportFormat::Pdf, path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4).startsWith("%PDF"));
}

KV_ENGINE_SUITE(OrderDocumentsRun);

// Planned machine times print as hh:mm whatever the workstation's decimal
// separator.
struct PlannedTimeCase {
    const char* label;
    QLocale::Language language;
};

class PlannedTimes : public ::testing::TestWithParam<PlannedTimeCase> {};

TEST_P(PlannedTimes, printAsHoursAndMinutes)
{
    kv::test::application();
    const QLocale previous;
    QLocale::setDefault(QLocale(GetParam().language));
    OrderDocumentData data;
    data.items.fields = orderDocumentFields();
    data.items.rows.push_back(std::vector<QVariant>(static_cast<std::size_t>(data.items.fields.size())));
    data.copies.push_back({1, 0});
    data.consumption.push_back({{"CM", 1, "Impressora", 1.5}, {"CM", 2, "Cortante", 12.45}, {"CM", 3, "Nada", 0.0},
                                {"CM", 4, "Duas horas", 2.0}});
    const kv::report::Document document = OrderDocumentReports(data, {}).render();
    QLocale::setDefault(previous);
    const QStringList page = docTexts(document.pages.at(0));
    for (const char* time : {"01:50", "12:45", "00:00", "02:00"})
        EXPECT_TRUE(page.contains(QLatin1String(time))) << time;
}

INSTANTIATE_TEST_SUITE_P(Separators, PlannedTimes,
                         ::testing::Values(PlannedTimeCase{"comma", QLocale::Portuguese},
                                           PlannedTimeCase{"point", QLocale::English}),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

// The helpers behind the order document's computed texts.
TEST(OrderDocumentRules, laterDeliveriesStopAtTheFirstFreeOne)
{
    const QDate first(2024, 3, 15);
    const QDate other(2024, 3, 22);
    const auto texts = laterDeliveryTexts(first, {other, first, other, other});
    EXPECT_EQ(texts[0], QStringLiteral("22/03/2024"));
    EXPECT_TRUE(texts[1].isEmpty() && texts[2].isEmpty() && texts[3].isEmpty());
    EXPECT_EQ(laterDeliveryTexts(first, {first, first, first, first}), (std::array<QString, 4>{}));
}

} // namespace
