#include "production/forms/SupplierReportParts.h"

#include "quotes/core/Letterhead.h"

#include "platform/report/Band.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/ui/MessageService.h"

namespace kv::production {

void boxedText(kv::report::Band& band, const QString& text, const QRectF& rectMm, const QString& name, bool bold)
{
    band.addShape(kv::report::ShapeElement::Shape::Rectangle, rectMm);
    kv::report::TextElement& item = band.addText(text, rectMm.adjusted(0.8, 0.3, -0.8, -0.3), name);
    item.setAlignment(Qt::AlignCenter);
    item.setBold(bold);
}

void addLetterheadLines(kv::report::Band& band)
{
    for (int i = 1; i <= kv::quotes::Letterhead::Lines; ++i)
        band.addText({}, QRectF(0, (i - 1) * 5.0, 110, 5), QStringLiteral("QRLogoDes%1").arg(i));
}

kv::report::Document renderRuns(const std::vector<std::unique_ptr<kv::report::Report>>& runs)
{
    std::vector<kv::report::Report*> job;
    for (const auto& run : runs)
        job.push_back(run.get());
    return kv::report::ReportEngine::render(job);
}

void previewPrint(kv::report::Document document, const QString& caption, QWidget* parent)
{
    kv::report::PreviewWindow window(std::move(document), parent);
    window.setWindowTitle(caption);
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
}

} // namespace kv::production
