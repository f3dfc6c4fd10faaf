#pragma once

#include <QString>

namespace kv::ui {
class Form;
}

namespace kv::quotes {

// The worksheet's notebook pages.
enum WorksheetPage { CustomerPage = 0, ProductionPage = 1, DetailPage = 2, TotalsPage = 3 };

// What a page of the worksheet asks of the form that holds it: the field
// handlers and the focus are the form's, and so are the page changes, the
// header and the article pictures shown on every page.
class WorksheetPageHost {
public:
    virtual ~WorksheetPageHost() = default;

    virtual kv::ui::Form& form() = 0;
    // Shows `page` and runs the page-change step.
    virtual void changePage(WorksheetPage page) = 0;
    // The header's series field gets the focus (the header-reset mark).
    virtual void focusSeries() = 0;
    // The quote is opened for work: the header and "&Terminar" disabled,
    // the quote-open mark set.
    virtual void openQuote() = 0;
    // Clears the pictures of every page and shows the article's first
    // picture on each when it has one.
    virtual void showPictures(const QString& articleCode) = 0;
};

} // namespace kv::quotes
