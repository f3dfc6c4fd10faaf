#pragma once

#include "quotes/core/QuoteValues.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLabel;

namespace kv::db {
class Connection;
}
namespace kv::ui {
class TGlyphButton;
}

namespace kv::quotes {

class ChartRowsPie;

// The values page of a quote viewer (the consultation, the approval list
// and the production-order consultation): the sixteen rows of the three
// quantities, "Margem (%) : ", the unit line and the pie chart of the
// user's chart rows of the viewer's program, one quantity at a time.
class QuoteValuesPage : public QWidget {
    Q_OBJECT
public:
    explicit QuoteValuesPage(QWidget* parent = nullptr);

    // Where the chart rows go: the user's rows of `program` ("ORCP031").
    void setChartRows(std::shared_ptr<kv::db::Connection> application, QString user, QString program);
    void setPriceDecimals(int decimals) { m_priceDecimals = decimals; }
    // Without its own chart (the approval list): the chart rows of quantity 1
    // are still written, the pie is hidden and the buttons only carry the
    // quantities.
    void hideOwnChart();
    // The page as a production order shows its quote (no subcontract row,
    // no unit line; see QuoteValues::Variant).
    void setVariant(QuoteValues::Variant variant);

    // ShowValores: the page of a summary row, then the chart of quantity 1;
    // no row empties the page and leaves the chart as it was.
    void showValues(const std::optional<QuoteRow>& summary);
    // ShowOrcChart, ShowOrcChart2, ShowOrcChart3.
    void showChart(int quantity);

    QLabel* value(int row, int quantity) const { return m_values[row][quantity - 1]; }
    ChartRowsPie* chart() const { return DBChart2; }

private:
    void clear();

    std::shared_ptr<kv::db::Connection> m_application;
    QString m_user;
    QString m_program;
    int m_priceDecimals = 2;
    std::optional<QuoteValues> m_shown;
    bool m_ownChart = true;
    QuoteValues::Variant m_variant = QuoteValues::Variant::Consultation;
    QLabel* m_rowLabels[QuoteValues::kRows] = {};

    QLabel* m_values[QuoteValues::kRows][3] = {};
    QLabel* Label_Margem = nullptr;
    QLabel* Label_Unidade = nullptr;
    ChartRowsPie* DBChart2 = nullptr;
    kv::ui::TGlyphButton* BotChart[3] = {};
};

} // namespace kv::quotes
