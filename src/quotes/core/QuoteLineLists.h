#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::quotes {

// The read-only lists of the worksheet's detail page: the cost lines of the
// open sub-quote (read by key, never the whole table), the user's chosen
// procedures, the procedures to choose from and the names of the cost-table
// types.
class QuoteLineLists {
public:
    QuoteLineLists(std::shared_ptr<kv::db::Connection> application, QString user);
    ~QuoteLineLists();

    kv::db::Dataset& lines() { return *m_lines; } // ORCDET of one sub-quote, DETAIL order
    kv::db::Dataset& chosen() { return *m_chosen; } // PROCMASTEMP of the user, code order
    kv::db::Dataset& procedures() { return *m_procedures; } // PROCMAS, code order
    kv::db::Dataset& tableTypes() { return *m_types; } // TIPOTAB, code order

    // Reopens the lines of a sub-quote, standing on `detail` when it is there.
    void showLines(int quoteNumber, int subQuote, int detail = 0);
    void reopenChosen();

    // The name of a cost-table type; empty when TIPOTAB has no such code.
    std::optional<QString> tableTypeName(int type);

private:
    std::shared_ptr<kv::db::Connection> m_db;
    std::unique_ptr<kv::db::Dataset> m_lines;
    std::unique_ptr<kv::db::Dataset> m_chosen;
    std::unique_ptr<kv::db::Dataset> m_procedures;
    std::unique_ptr<kv::db::Dataset> m_types;
};

} // namespace kv::quotes
