#pragma once

#include "production/core/RequisitionPrint.h"
#include "quotes/core/Letterhead.h"

#include "platform/report/Document.h"

#include <functional>
#include <optional>

class QWidget;

namespace kv::production {

// "Requisição Interna" on A4 portrait: one group of pages per queued copy,
// each starting a new page with its pages numbered from 1, the letterhead
// of the year, and the article's colour and size (TORCFPR040REQ) or its
// dimensions (TORCFPR040REQMedidas) beside each line. Nothing queued: one
// page with the heading and no lines.
class RequisitionReport {
public:
    static const QString kColoursAndSizes; // "TORCFPR040REQ"
    static const QString kDimensions; // "TORCFPR040REQMedidas"
    static const QString kCaption; // "Emissão de Requisição Interna"

    RequisitionReport(RequisitionPrint print, std::optional<kv::quotes::Letterhead> letterhead, bool coloursAndSizes);

    // `missingArticle` is told the code of each line printed whose article
    // is not in the article file.
    kv::report::Document render(const std::function<void(const QString&)>& missingArticle = {}) const;
    // Opens the preview and waits until it closes.
    void preview(QWidget* parent) const;

private:
    RequisitionPrint m_print;
    std::optional<kv::quotes::Letterhead> m_letterhead;
    bool m_coloursAndSizes = true;
};

} // namespace kv::production
