#include "production/forms/SupplierReportParts.h"

#include "quotes/core/Letterhead.h"

#include "platform/report/Band.h"

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

} // namespace kv::production
