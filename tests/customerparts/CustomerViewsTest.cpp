#include "customers/partforms/CustomerViews.h"

#include "platform/text/NumberText.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QChartView>
#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QTabWidget>
#include <QTableWidget>

using kv::customers::CustomerViews;
using kv::test::Engine;

namespace {

class ViewsTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        kv::test::insertRows(
            *db, "CLIVALCOB",
            {"CODIGO", "DEB0", "DEB30", "DEB3060", "DEB6090", "DEB90120", "DEB120180", "DEB180", "TITULOS", "PREDAT"},
            {{45, 10.0, 20.0, 0.0, 0.0, 0.0, 0.0, 5.0, 100.0, 50.0}});
        kv::test::insertRows(*db, "FACMOVIM", {"TIPDOC", "DOCNRO", "CLINRO", "DATEMI"},
                             {{"FT", 1, 45, QDateTime(QDate(2023, 5, 1), QTime())},
                              {"FT", 2, 45, QDateTime(QDate(2024, 2, 1), QTime())}});
        kv::test::insertRows(*db, "FACMOVDET", {"TIPDOC", "DOCNRO", "DETAIL", "VAL_VENDA"},
                             {{"FT", 1, 1, 10.0}, {"FT", 2, 1, 20.0}});
    }

    QStringList figures(const CustomerViews& views)
    {
        QStringList texts;
        for (int i = 1; i <= 9; ++i)
            texts << views.findChild<QLabel*>(QStringLiteral("Figura%1").arg(i))->text();
        return texts;
    }
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

QString money(double value) { return kv::text::money(value, 2); }

TEST_P(ViewsTest, ReceivablesShowTheNineFiguresAndTheChart)
{
    CustomerViews views(db, "ANA", true);
    views.showCustomer(45);
    EXPECT_EQ(figures(views), (QStringList{money(10), money(20), money(0), money(0), money(0), money(0), money(5),
                                           money(100), money(35)}));
    auto* series =
        qobject_cast<QLineSeries*>(views.findChild<QChartView*>("ChartCorrente")->chart()->series().value(0));
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->count(), 9);
    EXPECT_DOUBLE_EQ(series->at(8).y(), 50.0); // post-dated cheques
    EXPECT_EQ(series->color(), QColor(Qt::red));

    // The sales grids open on the latest year.
    auto* byYear = views.findChild<QTableWidget*>("GridVendAno");
    ASSERT_EQ(byYear->rowCount(), 2);
    EXPECT_EQ(byYear->currentRow(), 1);
    EXPECT_EQ(byYear->item(1, 0)->text(), "2024");

    // A customer without a receivables row: zeros and an empty chart.
    views.showCustomer(46);
    EXPECT_EQ(figures(views), QStringList(9, money(0)));
    EXPECT_EQ(series->count(), 0);
    EXPECT_EQ(byYear->rowCount(), 0);
}

TEST_P(ViewsTest, WithoutTheTreasuryLinkNineZerosAndAnEmptyChart)
{
    CustomerViews views(db, "ANA", false);
    views.showCustomer(45);
    EXPECT_EQ(figures(views), QStringList(9, money(0)));
    auto* series =
        qobject_cast<QLineSeries*>(views.findChild<QChartView*>("ChartCorrente")->chart()->series().value(0));
    EXPECT_EQ(series->count(), 0);
}

TEST_P(ViewsTest, UntickedViewsAreHiddenAndNotRebuilt)
{
    kv::test::insertRows(*db, "WORKVENDASANO", {"UTIL", "CLINRO", "ANO", "VALOR"}, {{"ANA", 7, "2020", 1.0}});
    CustomerViews views(db, "ANA", true);
    views.show();
    views.findChild<QCheckBox*>("CheckVendas")->setChecked(false);
    views.showCustomer(45);
    EXPECT_FALSE(views.notebook()->isVisible());
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM WORKVENDASANO WHERE UTIL = 'ANA' AND CLINRO = 7").toInt(), 1);
}

KV_ENGINE_SUITE(ViewsTest);

} // namespace
