#pragma once

#include <QString>
#include <memory>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::quotes {

// The list behind one of the worksheet's quote lookups. `ORCMAS` grows by
// thousands of rows a year, so the list never holds it whole: it reads, on
// an index, a window of the rows in the lookup's order (the first screen, or
// a few rows before and a screenful after a typed key), and a typed search
// moves the window by a query instead of reading up to the row wanted.
class QuoteLookupList {
public:
    enum class Kind {
        Quotes, // sub-quote rows open for change, by number ("Orcam.Nº", ...)
        BaseByNumber, // summary rows by number
        BaseByName, // summary rows by customer name, then number
    };

    static constexpr int RowsBefore = 20;
    static constexpr int RowsAfter = 80;

    QuoteLookupList(std::shared_ptr<kv::db::Connection> application, Kind kind);
    ~QuoteLookupList();

    kv::db::Dataset& dataset() { return *m_list; }
    // The column the window is positioned on: CODIGO, or NOME by name.
    QString keyField() const;

    // The first rows in the list's order.
    void open();
    // Reopens the window around the typed key and stands on the first row at
    // or after it. False, the list unchanged, for a number that is not one.
    bool position(const QString& typed);

private:
    void openWindow(const QVariant& key);

    Kind m_kind;
    std::unique_ptr<kv::db::Dataset> m_list;
};

} // namespace kv::quotes
