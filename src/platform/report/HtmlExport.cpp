#include "platform/report/ExportSupport.h"

#include <QBuffer>

namespace kv::report {

namespace {

QString mm(double value) { return QString::number(value, 'f', 2) + QStringLiteral("mm"); }

QString box(const QRectF& r)
{
    return QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
        .arg(mm(r.left()), mm(r.top()), mm(r.width()), mm(r.height()));
}

QString fontStyle(const QFont& font)
{
    return QStringLiteral("font-family:'%1',sans-serif;font-size:%2pt;%3%4%5")
        .arg(font.family().toHtmlEscaped(), QString::number(font.pointSizeF(), 'f', 1),
             font.bold() ? QStringLiteral("font-weight:bold;") : QString(),
             font.italic() ? QStringLiteral("font-style:italic;") : QString(),
             font.underline() ? QStringLiteral("text-decoration:underline;") : QString());
}

QString alignStyle(int flags)
{
    if (flags & Qt::AlignRight)
        return QStringLiteral("text-align:right;");
    if (flags & Qt::AlignHCenter)
        return QStringLiteral("text-align:center;");
    return {};
}

QString pngDataUri(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
}

} // namespace

QByteArray htmlBytes(const Document& document)
{
    QString out;
    out +=
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"pt-PT\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n")
            .arg(document.title.toHtmlEscaped());
    out +=
        QStringLiteral("<style>\nbody{background:#888;margin:0;padding:8mm 0}\n"
                       ".page{position:relative;margin:0 auto 8mm;background:#fff;overflow:hidden}\n"
                       ".page div{position:absolute;box-sizing:border-box}\n"
                       ".t{white-space:pre;overflow:visible}\n.w{white-space:pre-wrap}\n</style>\n</head>\n<body>\n");
    for (const RenderedPage& page : document.pages) {
        const QSizeF size = page.setup.sizeMm();
        out += QStringLiteral("<div class=\"page\" style=\"width:%1;height:%2\">\n")
                   .arg(mm(size.width()), mm(size.height()));
        for (const RenderedBand& band : page.bands) {
            if (band.color.isValid())
                out += QStringLiteral("<div style=\"%1background:%2\"></div>\n").arg(box(band.rect), band.color.name());
            for (const RenderedItem& item : band.items) {
                switch (item.kind) {
                case RenderedItem::Kind::Text:
                    out += QStringLiteral("<div class=\"%1\" style=\"%2%3%4color:%5;%6\">%7</div>\n")
                               .arg((item.flags & Qt::TextWordWrap) ? QStringLiteral("w") : QStringLiteral("t"),
                                    box(item.rect), fontStyle(item.font), alignStyle(item.flags), item.color.name(),
                                    item.fill.isValid() ? QStringLiteral("background:%1;").arg(item.fill.name())
                                                        : QString(),
                                    item.text.toHtmlEscaped());
                    break;
                case RenderedItem::Kind::Rectangle:
                case RenderedItem::Kind::Ellipse:
                    out += QStringLiteral("<div style=\"%1border:%2 solid %3;%4%5\"></div>\n")
                               .arg(box(item.rect), mm(item.penWidth), item.color.name(),
                                    item.fill.isValid() ? QStringLiteral("background:%1;").arg(item.fill.name())
                                                        : QString(),
                                    item.kind == RenderedItem::Kind::Ellipse ? QStringLiteral("border-radius:50%;")
                                                                             : QString());
                    break;
                case RenderedItem::Kind::Line: {
                    const bool vertical = item.rect.width() < item.rect.height();
                    QRectF r = item.rect;
                    out += QStringLiteral("<div style=\"%1border-%2:%3 solid %4\"></div>\n")
                               .arg(box(r), vertical ? QStringLiteral("left") : QStringLiteral("top"),
                                    mm(item.penWidth), item.color.name());
                    break;
                }
                case RenderedItem::Kind::Image:
                    out +=
                        QStringLiteral(
                            "<div style=\"%1\"><img src=\"%2\" style=\"width:100%;height:100%;%3\" alt=\"\"></div>\n")
                            .arg(box(item.rect), pngDataUri(item.image),
                                 item.keepAspect ? QStringLiteral("object-fit:contain") : QString());
                    break;
                }
            }
        }
        out += QStringLiteral("</div>\n");
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out.toUtf8();
}

} // namespace kv::report
