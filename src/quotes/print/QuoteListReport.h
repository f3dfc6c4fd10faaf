#pragma once

#include "quotes/core/QuoteConsultation.h"

#include "platform/report/Document.h"

class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::quotes {

// What the list of quotes prints besides its rows.
struct QuoteListInputs {
    ConsultationSelection selection; // the limits and the approval filter
    QString companyName; // of the login row
    int priceDecimals = 2;
};

// "Listagem de Orçamentos" (TORCFPR031A): A4 landscape, one line per quote
// of the consultation's list as the form leaves it; the page header carries
// the customer, salesman, article and date limits and the approval filter
// (the number limits and the origin filter are not printed).
class QuoteListReport {
public:
    static const QString kClass; // "TORCFPR031A"
    static const QString kTitle; // "Listagem de Orçamentos"
    static kv::report::Document render(kv::db::Dataset& list, const QuoteListInputs& inputs);
    // Previews the list; false when there was nothing to print.
    static bool preview(kv::db::Dataset& list, const QuoteListInputs& inputs, QWidget* parent);
};

} // namespace kv::quotes
