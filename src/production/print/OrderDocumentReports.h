#pragma once

#include "production/core/OrderDocuments.h"

#include "platform/report/Document.h"

#include <QString>
#include <memory>

class QWidget;

namespace kv::ui {
class FormRegistry;
}

namespace kv::production {

// What every production-order document prints besides its rows.
struct DocumentLook {
    QString company; // "Empresa : " EMPNOM
    QString makerLine; // WRodape
    QString logoFile; // the company logo, local path; empty or missing: no logo
};

// The four shop-floor documents of an ORDFABDET queue, one preview with the
// pages numbered through it: the production order (one per queue row,
// TORCFPR102MICRO), the cutting requisition (TORCFPR102CORTE), the
// inspection and test record (TORCFPR102REGISTO) and the label
// (TORCFPR102ETIQ), the last three one per order item.
class OrderDocumentReports {
public:
    static const QString kTitle; // "Emissão de Ordens de Fabrico"
    static const QStringList& reportClasses();

    OrderDocumentReports(const OrderDocumentData& data, DocumentLook look);
    ~OrderDocumentReports();

    kv::report::Document render();
    // Opens the preview (maximised, page width) and waits until it closes.
    void preview(QWidget* parent);

private:
    struct Parts;
    std::unique_ptr<Parts> d;
};

// The model-"T" production order (TORCFPR106CONT): two pages per queue row,
// headed " 1 " and " 2".
class ModelTDocumentReport {
public:
    static const QString kClass; // "TORCFPR106CONT"

    ModelTDocumentReport(const DocumentRows& rows, DocumentLook look);
    ~ModelTDocumentReport();

    kv::report::Document render();
    void preview(QWidget* parent);

private:
    struct Parts;
    std::unique_ptr<Parts> d;
};

// The report forms the planning menu creates by class name before the issue
// form; they are never shown themselves.
void registerOrderDocumentForms(kv::ui::FormRegistry& forms);

} // namespace kv::production
