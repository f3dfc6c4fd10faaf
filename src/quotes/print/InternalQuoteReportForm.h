#pragma once

#include "quotes/print/InternalQuotePages.h"
#include "quotes/print/QuoteReportForm.h"

namespace kv::quotes {

// A page of the internal quote print as a report form of its own class
// (TORCFPR021micro, TORCFPR021Amicro, TORCFPR021Bmicro for the worksheet;
// the consultation and approval list hold the same pages under theirs).
class InternalQuoteReportForm : public QuoteReportForm {
    Q_OBJECT
public:
    InternalQuoteReportForm(const QString& className, InternalPage page, QWidget* parent = nullptr);

    InternalPage page() const { return m_page; }
    // Previews the page of a quote; false when it prints nothing.
    bool preview(const QuotePrintData& quote, const InternalPrintInputs& inputs, QWidget* parent) const;

private:
    InternalPage m_page;
};

// The three page classes of a printing form: `prefix` + "micro", "Amicro"
// and "Bmicro" ("TORCFPR021" for the worksheet).
void registerInternalQuoteReports(kv::ui::FormRegistry& forms, const QString& prefix);

} // namespace kv::quotes
