#pragma once

#include "platform/report/Band.h"
#include "platform/report/Document.h"
#include "platform/report/Report.h"

#include <QString>

class QWidget;

namespace kv::production::documents {

// Millimetre helpers of the production-order documents' layouts.
constexpr double Line = 4.0;

kv::report::TextElement& text(kv::report::Band& band, const QString& caption, double x, double y, double w,
                              double h = Line);
kv::report::FieldElement& field(kv::report::Band& band, const QString& name, double x, double y, double w,
                                double h = Line, const kv::report::FieldFormat& format = {});
// A caption followed by its field.
kv::report::FieldElement& pair(kv::report::Band& band, const QString& caption, const QString& name, double x,
                               double y, double captionWidth, double fieldWidth);
void box(kv::report::Band& band, double x, double y, double w, double h);
void rule(kv::report::Band& band, double x, double y, double w);

// A4 portrait in millimetres, the documents' margins.
void setUpDocument(kv::report::Report& report);

// The footer of a document: "Página :" (when asked), "Empresa : ", "Data :"
// with the print date and time, the maker line and the form code.
void addFooter(kv::report::Report& report, const QString& company, const QString& makerLine,
               const QString& formCode, bool pageNumber);

// The preview of the documents, maximised at the page width.
void showDocuments(kv::report::Document document, const QString& title, QWidget* parent);

} // namespace kv::production::documents
