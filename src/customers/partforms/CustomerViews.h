#pragma once

#include "customers/parts/CustomerOrderValues.h"
#include "customers/parts/CustomerTotals.h"

#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QTabWidget;
class QTableWidget;
class QLineSeries;
class QChart;

namespace kv::db {
class Connection;
}

namespace kv::customers {

// The views beside the customer list: receivables by age as a chart and as
// figures, receipts and sales by month and by year. "Visual. Vendas?"
// decides whether they are shown and rebuilt. Beside a quote to approve they
// show the customer's open orders as well, always.
class CustomerViews : public QWidget {
    Q_OBJECT
public:
    enum class Host { CustomerFile, ApprovalList };

    // `treasury`: the year's TESOURARIA is "S"; without it the customer shows
    // no receivables.
    // `showSales`: the form's own "Visual. Vendas?" box, when it places one.
    CustomerViews(std::shared_ptr<kv::db::Connection> invoicing, QString user, bool treasury,
                  QCheckBox* showSales = nullptr, QWidget* parent = nullptr);
    // The approval list's notebook: its own page captions and "Cart.Encom.".
    CustomerViews(Host host, std::shared_ptr<kv::db::Connection> invoicing, QString user, QWidget* parent = nullptr);

    void setTreasury(bool treasury) { m_treasury = treasury; }

    // Rebuilds the views for a customer (nothing while the box is unticked).
    void showCustomer(int customer);
    bool enabled() const;

    QTabWidget* notebook() const { return m_notebook; }

private:
    void build(Host host);
    void showReceivables(int customer);
    void fillGrid(QTableWidget* grid, const QList<QStringList>& rows);

    std::shared_ptr<kv::db::Connection> m_invoicing;
    QString m_user;
    bool m_treasury;
    QCheckBox* m_enabled;
    QTabWidget* m_notebook;
    QChart* m_chart;
    QLineSeries* m_series;
    std::array<QLabel*, 9> m_figures{};
    QTableWidget* m_receiptsByMonth;
    QTableWidget* m_receiptsByYear;
    QTableWidget* m_salesByMonth;
    QTableWidget* m_salesByYear;
    QTableWidget* m_orderBook = nullptr;
};

} // namespace kv::customers
