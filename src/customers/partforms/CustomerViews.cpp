#include "customers/partforms/CustomerViews.h"

#include "platform/text/NumberText.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace kv::customers {

namespace {

// The workstation's currency decimals.
constexpr int MoneyDecimals = 2;

const char* const FigureCaptions[] = {
    "No Prazo : ",       "0 a 30 Dias : ", "30 a 60 Dias : ", "60 a 90 Dias : ", "90 a 120 Dias : ",
    "120 a 180 Dias : ", "+ 180 Dias : ",  "Títulos : ",      "Respons.Total"};
const char* const PointLabels[] = {"Prazo",   "  0  30", " 30  60", " 60  90", " 90 120",
                                   "120 180", "  +180",  "Tit.",    "Pré-Dat."};

QTableWidget* grid(const QString& name, const QStringList& titles, QWidget* parent)
{
    auto* table = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QString money(double value) { return kv::text::money(value, MoneyDecimals); }

} // namespace

CustomerViews::CustomerViews(std::shared_ptr<kv::db::Connection> invoicing, QString user, bool treasury,
                             QCheckBox* showSales, QWidget* parent)
    : QWidget(parent), m_invoicing(std::move(invoicing)), m_user(std::move(user)), m_treasury(treasury)
{
    setObjectName(QStringLiteral("CustomerViews"));
    m_enabled = showSales;
    if (!m_enabled) {
        m_enabled = new QCheckBox(QStringLiteral("Visual. Vendas?"), this);
        m_enabled->setObjectName(QStringLiteral("CheckVendas"));
        m_enabled->setToolTip(QStringLiteral("Visualização Totais por Ano e Mês das Vendas"));
        m_enabled->setChecked(true);
    }
    build(Host::CustomerFile);
}

CustomerViews::CustomerViews(Host host, std::shared_ptr<kv::db::Connection> invoicing, QString user, QWidget* parent)
    : QWidget(parent), m_invoicing(std::move(invoicing)), m_user(std::move(user)), m_treasury(true)
{
    setObjectName(QStringLiteral("CustomerViews"));
    // Always shown: the list hides the whole notebook while it is closed.
    m_enabled = new QCheckBox(this);
    m_enabled->setChecked(true);
    m_enabled->hide();
    build(host);
}

void CustomerViews::build(Host host)
{
    const bool approval = host == Host::ApprovalList;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_enabled->parent() == this && !approval)
        layout->addWidget(m_enabled);

    m_notebook = new QTabWidget(this);
    m_notebook->setObjectName(QStringLiteral("TBCons"));
    layout->addWidget(m_notebook, 1);

    m_chart = new QChart;
    m_chart->legend()->hide();
    m_series = new QLineSeries;
    m_series->setColor(Qt::red);
    m_series->setPointsVisible(true);
    m_series->setPointLabelsVisible(true);
    m_series->setPointLabelsFormat(QStringLiteral("@yPoint"));
    m_series->setPointLabelsClipping(false);
    m_chart->addSeries(m_series);
    auto* categories = new QCategoryAxis;
    categories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int i = 0; i < 9; ++i)
        categories->append(QString::fromUtf8(PointLabels[i]), i);
    categories->setRange(0, 8);
    // Upright, so that every age's caption shows on a narrow chart.
    categories->setLabelsAngle(-90);
    m_chart->addAxis(categories, Qt::AlignBottom);
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.2f"));
    m_chart->addAxis(values, Qt::AlignLeft);
    m_series->attachAxis(categories);
    m_series->attachAxis(values);
    auto* chartView = new QChartView(m_chart, m_notebook);
    chartView->setObjectName(QStringLiteral("ChartCorrente"));
    chartView->setRenderHint(QPainter::Antialiasing);
    m_notebook->addTab(chartView, approval ? QStringLiteral("C/Corrente ") : QStringLiteral(" C/Corrente "));

    auto* figures = new QWidget(m_notebook);
    auto* figureGrid = new QGridLayout(figures);
    for (int i = 0; i < 9; ++i) {
        figureGrid->addWidget(new QLabel(QString::fromUtf8(FigureCaptions[i]), figures), i, 0);
        m_figures[static_cast<std::size_t>(i)] = new QLabel(figures);
        m_figures[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Figura%1").arg(i + 1));
        m_figures[static_cast<std::size_t>(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figureGrid->addWidget(m_figures[static_cast<std::size_t>(i)], i, 1);
    }
    figureGrid->setRowStretch(9, 1);
    figureGrid->setColumnStretch(2, 1);
    m_notebook->addTab(figures, approval ? QStringLiteral("C/C.Idades ") : QStringLiteral(" C/C.Idades "));

    const auto twoGrids = [&](const QString& caption, QTableWidget* left, QTableWidget* right) {
        auto* page = new QWidget(m_notebook);
        auto* row = new QHBoxLayout(page);
        row->addWidget(left, 3);
        row->addWidget(right, 2);
        m_notebook->addTab(page, caption);
    };
    m_receiptsByMonth = grid(QStringLiteral("GridRecMes"), {"Ano", "Mês", "Valor Recebido"}, this);
    m_receiptsByYear = grid(QStringLiteral("GridRecAno"), {"Ano", "Valor Recebido"}, this);
    twoGrids(approval ? QStringLiteral("Recebim.") : QStringLiteral(" Recebimentos "), m_receiptsByMonth, m_receiptsByYear);
    m_salesByMonth = grid(QStringLiteral("GridVendMes"), {"Ano", "Mês", "Valor"}, this);
    m_salesByYear = grid(QStringLiteral("GridVendAno"), {"Ano", "Valor"}, this);
    twoGrids(approval ? QStringLiteral("Vendas ") : QStringLiteral(" Vendas "), m_salesByMonth, m_salesByYear);
    if (approval) {
        m_orderBook = grid(QStringLiteral("GridCarteira"), {"Ano", "Mês", "Qtd.Carteira", "Valor Carteira"}, this);
        m_notebook->addTab(m_orderBook, QStringLiteral("Cart.Encom."));
    }

    connect(m_enabled, &QCheckBox::toggled, m_notebook, &QWidget::setVisible);
}

bool CustomerViews::enabled() const { return m_enabled->isChecked(); }

void CustomerViews::showCustomer(int customer)
{
    if (!enabled()) {
        m_notebook->hide();
        return;
    }
    m_notebook->show();
    CustomerTotals::rebuild(*m_invoicing, m_user, customer);
    QList<QStringList> rows;
    for (const MonthTotal& total : CustomerTotals::salesByMonth(*m_invoicing, m_user, customer))
        rows.append({total.year, QString::number(total.month), money(total.value)});
    fillGrid(m_salesByMonth, rows);
    rows.clear();
    for (const YearTotal& total : CustomerTotals::salesByYear(*m_invoicing, m_user, customer))
        rows.append({total.year, money(total.value)});
    fillGrid(m_salesByYear, rows);
    rows.clear();
    for (const MonthTotal& total : CustomerTotals::receiptsByMonth(*m_invoicing, m_user, customer))
        rows.append({total.year, QString::number(total.month), money(total.value)});
    fillGrid(m_receiptsByMonth, rows);
    rows.clear();
    for (const YearTotal& total : CustomerTotals::receiptsByYear(*m_invoicing, m_user, customer))
        rows.append({total.year, money(total.value)});
    fillGrid(m_receiptsByYear, rows);
    if (m_orderBook) {
        rows.clear();
        for (const OrderBookMonth& month : CustomerOrderValues::orderBook(*m_invoicing, customer))
            rows.append({QString::number(month.year), QString::number(month.month),
                         kv::text::plain(month.quantity), money(month.value)});
        fillGrid(m_orderBook, rows);
        // The newest month is the first row.
        if (!rows.isEmpty())
            m_orderBook->selectRow(0);
    }
    showReceivables(customer);
}

void CustomerViews::showReceivables(int customer)
{
    const Receivables receivables = CustomerTotals::receivables(*m_invoicing, customer, m_treasury);
    for (std::size_t i = 0; i < 8; ++i)
        m_figures[i]->setText(money(receivables.amounts[i]));
    m_figures[8]->setText(money(receivables.total()));
    m_series->clear();
    if (!receivables.found)
        return;
    double highest = 0;
    for (std::size_t i = 0; i < receivables.amounts.size(); ++i) {
        m_series->append(static_cast<double>(i), receivables.amounts[i]);
        highest = std::max(highest, receivables.amounts[i]);
    }
    if (auto* axis = qobject_cast<QValueAxis*>(m_chart->axes(Qt::Vertical).value(0)))
        axis->setRange(0, highest > 0 ? highest * 1.1 : 1);
}

void CustomerViews::fillGrid(QTableWidget* table, const QList<QStringList>& rows)
{
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    // The latest month or year, as the list is opened on it.
    if (!rows.isEmpty())
        table->selectRow(static_cast<int>(rows.size()) - 1);
}

} // namespace kv::customers
