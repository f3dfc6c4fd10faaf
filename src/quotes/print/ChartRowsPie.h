#pragma once

#include "quotes/core/ChartRows.h"

#include <QChartView>
#include <vector>

class QPieSeries;

namespace kv::quotes {

// A pie chart of chart rows (`SALDOS` or `SALDOS1` of a user and program
// id): slices in sequence order labelled from `LEGENDA` with `VALOR`,
// marks in percent, the legend at the bottom, no title and no axes. A slice
// of 0 or below takes no area but keeps its legend entry with its value, so
// a loss shows as a negative margin.
class ChartRowsPie : public QChartView {
    Q_OBJECT
public:
    explicit ChartRowsPie(QWidget* parent = nullptr);

    // Redraws from the rows as they are stored now.
    void showRows(ChartRows& rows);
    void showSlices(const std::vector<ChartRows::Slice>& slices);

    QPieSeries* series() const { return m_series; }

private:
    QPieSeries* m_series = nullptr;
};

} // namespace kv::quotes
