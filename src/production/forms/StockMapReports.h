#pragma once

#include "platform/db/Connection.h"
#include "platform/report/Document.h"

#include <QDate>
#include <QString>

namespace kv::ui {
class FormRegistry;
}

namespace kv::production {

// What the consumption forecast prints besides its rows.
struct ForecastReportInputs {
    QDate first;
    QDate last;
    QString companyName;
};

// What the stock map per customer prints besides its rows: the limits as
// the form's fields hold them.
struct StockMapReportInputs {
    QString firstArticle;
    QString lastArticle;
    QString firstCustomer;
    QString lastCustomer;
    QString designation;
    QString customerName;
    QString companyName;
    QString footerText; // WRodape
};

// The A4 portrait reports of the two stock maps: "MAPA DE PREVISÃO DE
// CONSUMOS" (TORCFPR104, one line per article) and "Mapa de Existências por
// Cliente" (TORCFPR110, a group per customer). Nothing to print gives no page.
class StockMapReports {
public:
    static const QString kForecastClass; // "TORCFPR104"
    static const QString kCustomerStockClass; // "TORCFPR110"

    static kv::report::Document forecast(const kv::db::QueryResult& rows, const ForecastReportInputs& inputs);
    static kv::report::Document customerStock(const kv::db::QueryResult& rows, const StockMapReportInputs& inputs);

    // The report forms the menu creates before each map and frees after it.
    static void registerReports(kv::ui::FormRegistry& forms);
};

} // namespace kv::production
