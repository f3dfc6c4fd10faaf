#include "quotes/print/ChartRowsPie.h"

#include "platform/text/NumberText.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>

namespace kv::quotes {

// The view is made with its chart: a chart set later would leave the view's first one behind.
ChartRowsPie::ChartRowsPie(QWidget* parent) : QChartView(new QChart, parent)
{
    QChart* pie = chart();
    pie->legend()->setAlignment(Qt::AlignBottom);
    QFont legendFont = pie->legend()->font();
    legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
    pie->legend()->setFont(legendFont);
    pie->setBackgroundRoundness(0);
    pie->setMargins(QMargins(2, 2, 2, 2));
    m_series = new QPieSeries(pie);
    pie->addSeries(m_series);
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(460, 250);
}

void ChartRowsPie::showRows(ChartRows& rows) { showSlices(rows.slices()); }

void ChartRowsPie::showSlices(const std::vector<ChartRows::Slice>& slices)
{
    m_series->clear();
    double whole = 0;
    for (const ChartRows::Slice& s : slices)
        if (s.value > 0)
            whole += s.value;
    for (const ChartRows::Slice& s : slices) {
        const bool drawn = s.value > 0 && whole > 0;
        QPieSlice* slice = m_series->append(s.label, drawn ? s.value : 0.0);
        slice->setLabel(drawn ? kv::text::formatted(s.value / whole * 100, QStringLiteral("##0.0")) + QLatin1Char('%')
                              : QString());
        slice->setLabelVisible(drawn);
    }
    // The legend names each slice with its value, the drawn ones and the others alike.
    const auto markers = chart()->legend()->markers(m_series);
    for (int i = 0; i < markers.size() && i < static_cast<int>(slices.size()); ++i) {
        const ChartRows::Slice& s = slices[static_cast<std::size_t>(i)];
        markers[i]->setLabel(s.label + QStringLiteral("  ") + kv::text::formatted(s.value, QStringLiteral("#,##0.0")));
    }
}

} // namespace kv::quotes
