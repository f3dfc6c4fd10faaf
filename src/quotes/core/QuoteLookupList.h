#pragma once

#include <QString>
#include <memory>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::quotes {

// The list behind one of the worksheet's lookups over a table that grows
// without bound: quotes (`ORCMAS` grows by thousands of rows a year), and
// the invoicing database's customers, articles and postal codes (the
// national list). The list never holds its table whole: it reads, on an
// index, a window of the rows in the lookup's order (the first screen, or a
// few rows before and a screenful after a typed key), and a typed search
// moves the window by a query instead of reading up to the row wanted.
class QuoteLookupList {
public:
    enum class Kind {
        Quotes, // sub-quote rows open for change, by number ("Orcam.Nº", ...)
        BaseByNumber, // summary rows by number
        BaseByName, // summary rows by customer name, then number
        CustomersByCode, // `CLIENTES` ("Cliente Nº", "Nome do Cliente", "Mercado")
        CustomersByName,
        ArticlesByCode, // the products of `ARTIGOSCLS` (types 1 and 2)
        ArticlesByDesignation,
        PostalCodes, // `CODPOSTAL` by code
    };

    static constexpr int RowsBefore = 20;
    static constexpr int RowsAfter = 80;

    QuoteLookupList(std::shared_ptr<kv::db::Connection> application, Kind kind);
    ~QuoteLookupList();

    kv::db::Dataset& dataset() { return *m_list; }
    // The column the window is positioned on: CODIGO, or the name,
    // designation or postal code the list is ordered by.
    QString keyField() const;

    // The first rows in the list's order.
    void open();
    // Reopens the window around the typed key and stands on the first row at
    // or after it. False, the list unchanged, for a number that is not one
    // where the key is a number.
    bool position(const QString& typed);

private:
    void openWindow(const QVariant& key);

    bool numericKey() const;

    Kind m_kind;
    std::unique_ptr<kv::db::Dataset> m_list;
};

} // namespace kv::quotes
