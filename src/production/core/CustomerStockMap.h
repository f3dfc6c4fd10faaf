#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <functional>

namespace kv::production {

// The limits of the stock map per customer as the form holds them.
struct StockMapLimits {
    int firstCustomer = 1;
    int lastCustomer = 99999999;
    QString firstArticle;
    QString lastArticle = QStringLiteral("ZZZZZZZZZZZZZZZZ");
    QString designation = QStringLiteral("%"); // LIKE pattern, the user's wildcards
    QString customerName = QStringLiteral("%"); // LIKE pattern
};

// The stock map per customer: for the customer articles of the technical
// sheets (PLN_FICTEC) within the limits, the finished-product stock, the
// raw-material stock, what the customer ordered and the difference, built
// in the user's rows of WORKRELCXA.
class CustomerStockMap {
public:
    using Progress = std::function<void(int percent)>;

    CustomerStockMap(kv::db::Connection& application, kv::db::Connection& invoicing);

    // Replaces the user's rows (other users' stay) and returns how many it
    // wrote. The finished-product stock is the article's EXIQTD whether the
    // customer ordered it or not; every order line of the customer for the
    // article counts, delivered or not.
    int build(const QString& user, const StockMapLimits& limits, const Progress& progress = {});

    // The statements of the form's two lists: the user's customers (:WUTIL)
    // and, as its detail, one customer's rows (:WUTIL, :CLIENTE).
    static QString customersSql();
    static QString articlesSql();

    // The user's customers: CLIENTE, NOME.
    kv::db::QueryResult customers(const QString& user);
    // One customer's rows: ARTIGO, DESIGNACAO, MATPRM, MATDESCRI, EXIQTD_PRD,
    // EXIQTD_MTP, QTDENC, QTD_DIF, in article order.
    kv::db::QueryResult articles(const QString& user, int customer);

    // The report's rows: CLIENTE, NOME, ARTIGO, DESIGNACAO and the four
    // quantities, by customer and article.
    kv::db::QueryResult reportRows(const QString& user);

    // The article codes compared character by character, as typed.
    static bool articleRangeValid(const StockMapLimits& limits) { return limits.lastArticle >= limits.firstArticle; }
    static bool customerRangeValid(const StockMapLimits& limits) { return limits.lastCustomer >= limits.firstCustomer; }

private:
    kv::db::Connection& m_application;
    kv::db::Connection& m_invoicing;
};

} // namespace kv::production
