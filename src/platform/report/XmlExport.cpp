#include "platform/report/ExportSupport.h"

#include <QXmlStreamWriter>

namespace kv::report {

namespace {

QString mm(double value) { return QString::number(value, 'f', 2); }

void writeRect(QXmlStreamWriter& xml, const QRectF& r)
{
    xml.writeAttribute(QStringLiteral("x"), mm(r.left()));
    xml.writeAttribute(QStringLiteral("y"), mm(r.top()));
    xml.writeAttribute(QStringLiteral("width"), mm(r.width()));
    xml.writeAttribute(QStringLiteral("height"), mm(r.height()));
}

} // namespace

QByteArray xmlBytes(const Document& document)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("report"));
    xml.writeAttribute(QStringLiteral("title"), document.title);
    xml.writeAttribute(QStringLiteral("unit"), QStringLiteral("mm"));
    for (const RenderedPage& page : document.pages) {
        xml.writeStartElement(QStringLiteral("page"));
        xml.writeAttribute(QStringLiteral("number"), QString::number(page.number));
        if (page.reportIndex > 0)
            xml.writeAttribute(QStringLiteral("report"), QString::number(page.reportIndex + 1));
        xml.writeAttribute(QStringLiteral("width"), mm(page.setup.sizeMm().width()));
        xml.writeAttribute(QStringLiteral("height"), mm(page.setup.sizeMm().height()));
        for (const RenderedBand& band : page.bands) {
            xml.writeStartElement(QStringLiteral("band"));
            xml.writeAttribute(QStringLiteral("kind"), bandKindName(band.kind));
            if (!band.name.isEmpty())
                xml.writeAttribute(QStringLiteral("name"), band.name);
            writeRect(xml, band.rect);
            for (const RenderedItem& item : band.items) {
                switch (item.kind) {
                case RenderedItem::Kind::Text:
                    xml.writeStartElement(QStringLiteral("text"));
                    writeRect(xml, item.rect);
                    if (item.number.isValid())
                        xml.writeAttribute(QStringLiteral("value"), QString::number(item.number.toDouble(), 'g', 17));
                    xml.writeCharacters(item.text);
                    xml.writeEndElement();
                    break;
                case RenderedItem::Kind::Rectangle:
                case RenderedItem::Kind::Ellipse:
                case RenderedItem::Kind::Line:
                case RenderedItem::Kind::Image:
                    xml.writeEmptyElement(item.kind == RenderedItem::Kind::Rectangle ? QStringLiteral("rectangle")
                                          : item.kind == RenderedItem::Kind::Ellipse ? QStringLiteral("ellipse")
                                          : item.kind == RenderedItem::Kind::Line    ? QStringLiteral("line")
                                                                                     : QStringLiteral("image"));
                    writeRect(xml, item.rect);
                    break;
                }
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace kv::report
