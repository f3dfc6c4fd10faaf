#pragma once

#include <QDate>
#include <QString>
#include <array>

namespace kv::db {
class Connection;
}

namespace kv::quotes::approval {

// The summary row (SUBCODIGO 99) of the quote being approved: what the form
// shows and what the approval writes besides the typed values.
struct ApprovalSummary {
    QDate issued; // DATEMI
    int customer = 0; // CLINRO, 0 when the quote has no customer yet
    QString customerName; // NOME
    QString article; // NOSREF, empty when the article is not coded yet
    QString articleDesignation; // DESIGN1
    int salesman = 0; // VNDNRO
    QString unit; // UNIDADE: "U" units, else thousands
    std::array<double, 3> quantities{}; // QTDORC1..3
    std::array<double, 3> clientPrices{}; // PRECOCLI1..3
    std::array<double, 3> marginValues{}; // VALCOM3A..C
    double marginPercent = 0; // MARGEMPRC
    double commission1 = 0; // PRCCOM1, percent
    double commission2 = 0; // PRCCOM2, percent
    bool approved = false; // APROVADO "S": a first approval happened
};

// What the approval list hands the approval form: the quote, its summary row
// as the list shows it and the year's money decimals. The form reads the
// article, the customer and the cost lines itself.
struct ApprovalContext {
    int quoteNumber = 0; // CODIGO
    ApprovalSummary summary;
    int moneyDecimals = 2; // PRC_DECIMAIS of the working year

    // The context of a quote read from its summary row; quoteNumber stays 0
    // (and the summary empty) when the quote has none.
    static ApprovalContext read(kv::db::Connection& application, int quoteNumber, int moneyDecimals);
};

// What the approval form hands back when it closes.
struct ApprovalOutcome {
    bool approved = false; // the order and the quote marks are written
    int orderNumber = 0; // ENCNRO of the order written
    int customer = 0; // the order's customer (set by the hand-over when the quote had none)
    QString article; // the order's article code
    double marginPercent = 0; // of the approval, 2 decimals
};

} // namespace kv::quotes::approval
