#pragma once

#include "quotes/forms/QuoteFormsEnvironment.h"

#include "platform/ui/GridColumn.h"
#include "platform/ui/RangeLimitsBlock.h"

#include <memory>

namespace kv::db {
class Dataset;
}

namespace kv::quotes {

// The lists behind the limit lookups of the quote viewers (consultation,
// approval list): a numeric search over the data modules' shared list,
// opened again whenever asked since a print may have closed it, and an
// alphabetic one over the viewer's own list; the working year's calendar
// for the dates. The viewer's own lists are read on first use and freed by
// `close`.
class SelectionLookups {
public:
    explicit SelectionLookups(QuoteFormsEnvironment environment);
    ~SelectionLookups();

    static kv::ui::GridColumn column(const char* field, const char* title, int width);

    // Customers ("DTFILES.CLIENTES"), salesmen and articles; the numeric
    // search's name column is `nameWidth` wide.
    void customers(kv::ui::LimitFields& fields, int nameWidth = 35);
    void salesmen(kv::ui::LimitFields& fields, int nameWidth = 35);
    void articles(kv::ui::LimitFields& fields, int nameWidth = 35);
    // "Selecione a Data" over the calendar from the working year on.
    kv::ui::DateLookup calendar();

    void close();

private:
    void add(kv::ui::LimitFields& fields, const QString& shared, const char* codeTitle, int codeWidth,
             const char* nameField, const char* nameTitle, int nameWidth, std::unique_ptr<kv::db::Dataset>& own,
             const QString& ownSql);
    kv::db::Dataset* sharedList(const QString& name);
    kv::db::Dataset* ownList(std::unique_ptr<kv::db::Dataset>& list, const QString& name, const QString& sql);

    QuoteFormsEnvironment m_environment;
    std::unique_ptr<kv::db::Dataset> m_customersByName;
    std::unique_ptr<kv::db::Dataset> m_salesmenByName;
    std::unique_ptr<kv::db::Dataset> m_articlesByName;
    std::unique_ptr<kv::db::Dataset> m_calendar;
};

} // namespace kv::quotes
