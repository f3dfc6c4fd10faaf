#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::quotes {

// What the customer fields take from a customer.
struct CustomerFacts {
    int code = 0;
    QString name;
    QString address1;
    QString address2;
    QString postalCode;
    QVariant paymentCondition; // CNDPGT, null when the customer has none
    QVariant salesman; // VENDEDOR, null when none
};

// Where a postal code is, for the three read-only boxes beside it.
struct PostalPlace {
    QString locality;
    QString region;
    QString province;
};

// What an accepted article gives the product fields.
struct ArticleFacts {
    QString code;
    QString designation;
    QVariant vatCode; // CODIVA
    QString salesUnit; // UNVENDA
    QString customerReference; // VOSREF
    QVariant length;
    QVariant width;
    QVariant height;
};

// The keyed reads behind the worksheet's customer, product and production
// fields: each check reads the one row of its code, never a whole table.
// The customer and article files, postal codes, payment conditions,
// salesmen and VAT rates are the invoicing database's; the boards the
// application's.
class WorksheetReferences {
public:
    WorksheetReferences(kv::db::Connection& invoicing, kv::db::Connection& application);

    std::optional<CustomerFacts> customer(qint64 code) const;
    std::optional<PostalPlace> postalCode(const QString& code) const;
    // The label of a payment condition: days, description and discount.
    std::optional<QString> paymentCondition(qint64 code) const;
    std::optional<QString> salesman(qint64 code) const;
    // The label of a VAT code: its rate and "%".
    std::optional<QString> vatRate(qint64 code) const;
    // An article by its exact code; with `productsOnly` only one of the
    // types the article lookup offers (1 and 2, compared as numbers).
    std::optional<ArticleFacts> article(const QString& code, bool productsOnly) const;
    // The designation of a board or paper of `PAPEIS`.
    std::optional<QString> board(qint64 code) const;

    // The pictures folder (`PATHFOTO`) of the working year, as stored.
    QString pictureFolder(const QString& year) const;

    // The boards and papers by designation, for the alphabetic board lookup.
    static std::unique_ptr<kv::db::Dataset> boardsByDesignation(std::shared_ptr<kv::db::Connection> application);

    // The condition of the articles the lookup offers, on `ARTIGOSCLS`.
    static QString productCondition(const kv::db::Connection& invoicing);

private:
    kv::db::Connection& m_invoicing;
    kv::db::Connection& m_application;
};

} // namespace kv::quotes
