#include "production/print/DocumentParts.h"

#include "production/print/OrderDocumentReports.h"
#include "quotes/print/QuoteReportForm.h"

#include "platform/report/PreviewWindow.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"

#include <QDialog>

namespace kv::production {

namespace documents {

using kv::report::Band;

kv::report::TextElement& text(Band& band, const QString& caption, double x, double y, double w, double h)
{
    return band.addText(caption, QRectF(x, y, w, h)).setPointSize(8);
}

kv::report::FieldElement& field(Band& band, const QString& name, double x, double y, double w, double h,
                                const kv::report::FieldFormat& format)
{
    auto& element = band.addField(name, QRectF(x, y, w, h), format, name);
    element.setPointSize(8);
    return element;
}

kv::report::FieldElement& pair(Band& band, const QString& caption, const QString& name, double x, double y,
                               double captionWidth, double fieldWidth)
{
    text(band, caption, x, y, captionWidth);
    return field(band, name, x + captionWidth, y, fieldWidth);
}

void box(Band& band, double x, double y, double w, double h)
{
    band.addShape(kv::report::ShapeElement::Shape::Rectangle, QRectF(x, y, w, h));
}

void rule(Band& band, double x, double y, double w)
{
    band.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(x, y, w, 0.2));
}

void setUpDocument(kv::report::Report& report)
{
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(10, 8, 10, 8);
}

void addFooter(kv::report::Report& report, const QString& company, const QString& makerLine, const QString& formCode,
               bool pageNumber)
{
    Band& footer = report.pageFooter();
    footer.setHeight(10);
    rule(footer, 0, 0.5, 190);
    if (pageNumber)
        footer.addSystem(kv::report::SystemElement::Field::PageNumber, QRectF(0, 1.5, 25, Line),
                         QStringLiteral("Página :"), QStringLiteral("Label_Pagina"))
            .setPointSize(7);
    text(footer, QStringLiteral("Empresa : ") + company, 27, 1.5, 80).setPointSize(7);
    footer.addSystem(kv::report::SystemElement::Field::DateTime, QRectF(110, 1.5, 50, Line), QStringLiteral("Data :"))
        .setPointSize(7);
    text(footer, formCode, 165, 1.5, 25).setPointSize(7).setAlignment(Qt::AlignRight | Qt::AlignTop);
    text(footer, makerLine, 0, 5.5, 190).setPointSize(6);
}

void showDocuments(kv::report::Document document, const QString& title, QWidget* parent)
{
    kv::report::PreviewWindow window(std::move(document), parent);
    window.setWindowTitle(title);
    window.setMessageHandler([](const QString& message) { kv::ui::messages().fail(message); });
    window.exec();
}

} // namespace documents

namespace {

// A report form of its own class: created by the menu before the issue form
// and freed after it, never shown; the issue form prints through the
// document classes above.
} // namespace

void registerOrderDocumentForms(kv::ui::FormRegistry& forms)
{
    QStringList classes = OrderDocumentReports::reportClasses();
    classes << ModelTDocumentReport::kClass;
    for (const QString& className : classes)
        forms.add(className, [className](QWidget* parent) -> QDialog* {
            return new kv::quotes::QuoteReportForm(className, OrderDocumentReports::kTitle, parent);
        });
}

} // namespace kv::production
