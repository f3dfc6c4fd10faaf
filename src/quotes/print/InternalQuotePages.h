#pragma once

#include "quotes/core/QuotePrintData.h"

#include "platform/report/Document.h"

#include <QString>

class QWidget;

namespace kv::quotes {

// The three pages of the internal quote print "Emissão Orçamento Interno":
// 1 the technical sheet and consumptions, 2 the cost lines by section with
// the machine times, 3 the totals with commissions and prices.
enum class InternalPage { TechnicalSheet = 1, CostLines = 2, Totals = 3 };

// What the printing form gives the pages besides the quote.
struct InternalPrintInputs {
    QString companyName; // the footers' "Empresa : "
    int priceDecimals = 2; // the caller's money decimals
    // The approval list's totals page: the approved price beside
    // "PREÇO APROVADO :" and the margin below it.
    bool approved = false;
};

// Lays out the pages of one quote as read by `QuotePrintData`; every form
// that prints the internal quote (the worksheet, consultation, approval)
// uses these, each page on its own or the three in turn.
class InternalQuotePages {
public:
    static const QString kTitle; // "Emissão Orçamento Interno"

    InternalQuotePages(const QuotePrintData& data, InternalPrintInputs inputs);

    // Empty when the page has nothing to print (pages 1 and 2 of a quote
    // without rows); page 3 always prints.
    kv::report::Document render(InternalPage page) const;

    // Previews a page (when it prints) and waits until the user closes it;
    // the preview prints and exports. Returns whether a page was shown.
    bool preview(InternalPage page, QWidget* parent) const;
    // The three pages in turn.
    void previewAll(QWidget* parent) const;

private:
    const QuotePrintData& m_data;
    InternalPrintInputs m_inputs;
};

} // namespace kv::quotes
