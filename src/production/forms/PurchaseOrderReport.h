#pragma once

#include "production/core/PurchaseOrderPrint.h"
#include "quotes/core/Letterhead.h"

#include "platform/report/Document.h"

#include <optional>

class QWidget;

namespace kv::production {

// "Emissão Nota de Encomenda" (TORCFPR041MICRO): one document per queued
// copy of an order, each from a new page numbered from 1; the lines with the
// article's composition; "A TRANSPORTAR ... " with the net values printed so
// far at the foot of every page but the one holding the totals.
class PurchaseOrderReport {
public:
    static const QString kClass; // "TORCFPR041MICRO"
    static const QString kCaption;

    // `training`: the company is a training one (its mark on every page).
    PurchaseOrderReport(PurchaseOrderPrint print, std::optional<kv::quotes::Letterhead> letterhead, bool training);

    kv::report::Document render() const;
    void preview(QWidget* parent) const;

private:
    PurchaseOrderPrint m_print;
    std::optional<kv::quotes::Letterhead> m_letterhead;
    bool m_training = false;
};

} // namespace kv::production
