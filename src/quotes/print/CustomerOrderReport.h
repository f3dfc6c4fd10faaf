#pragma once

#include "quotes/core/CustomerOrderPrint.h"

#include "platform/report/Document.h"

class QWidget;

namespace kv::quotes {

// "Emissão de N/Encomenda" (TORCFPR032ENC_ZADOV, report EncCliPrintRep): a
// customer order on A4 landscape without letterhead; its heading with the
// looked-up texts on every page, one band per line, the quantity and money
// totals after the last line.
class CustomerOrderReport {
public:
    static const QString kClass; // "TORCFPR032ENC_ZADOV"
    static const QString kTitle;

    static kv::report::Document render(const CustomerOrderPrint& order, const QString& companyName);
    // Previews the order and waits until the user closes the preview.
    static void preview(const CustomerOrderPrint& order, const QString& companyName, QWidget* parent);
};

} // namespace kv::quotes
