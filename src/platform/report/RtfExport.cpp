#include "platform/report/ExportSupport.h"

#include <QStringList>
#include <cmath>

namespace kv::report {

namespace {

long twips(double mm) { return std::lround(mm * 1440.0 / 25.4); }

QString escaped(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\line ");
        else if (c.unicode() < 128)
            out += c;
        else
            out += QStringLiteral("\\u%1?").arg(static_cast<qint16>(c.unicode()));
    }
    return out;
}

int indexOf(QStringList& list, const QString& value)
{
    int index = static_cast<int>(list.indexOf(value));
    if (index < 0) {
        list.append(value);
        index = static_cast<int>(list.size()) - 1;
    }
    return index;
}

} // namespace

QByteArray rtfBytes(const Document& document)
{
    QStringList fonts;
    QStringList colours;
    QString body;
    bool firstPage = true;
    for (const RenderedPage& page : document.pages) {
        if (!firstPage)
            body += QStringLiteral("\\page\n");
        firstPage = false;
        for (const RenderedBand& band : page.bands) {
            for (const TextLine& line : textLines(band)) {
                QString stops;
                QString text;
                long lastStop = 0;
                for (const RenderedItem* item : line) {
                    long stop = twips(item->rect.left());
                    QString kind;
                    if (item->flags & Qt::AlignRight) {
                        stop = twips(item->rect.right());
                        kind = QStringLiteral("\\tqr");
                    } else if (item->flags & Qt::AlignHCenter) {
                        stop = twips(item->rect.center().x());
                        kind = QStringLiteral("\\tqc");
                    }
                    if (stop > lastStop) {
                        stops += kind + QStringLiteral("\\tx%1").arg(stop);
                        text += QStringLiteral("\\tab ");
                        lastStop = stop;
                    } else {
                        text += u' ';
                    }
                    const QColor colour = item->color.isValid() ? item->color : QColor(Qt::black);
                    const int c = indexOf(colours, QStringLiteral("\\red%1\\green%2\\blue%3;")
                                                       .arg(colour.red())
                                                       .arg(colour.green())
                                                       .arg(colour.blue()));
                    text += QStringLiteral("{\\f%1\\fs%2%3%4%5\\cf%6 %7}")
                                .arg(indexOf(fonts, item->font.family()))
                                .arg(std::lround(item->font.pointSizeF() * 2))
                                .arg(item->font.bold() ? QStringLiteral("\\b") : QString(),
                                     item->font.italic() ? QStringLiteral("\\i") : QString(),
                                     item->font.underline() ? QStringLiteral("\\ul") : QString())
                                .arg(c + 1)
                                .arg(escaped(item->text));
                }
                body += QStringLiteral("\\pard\\plain%1 %2\\par\n").arg(stops, text);
            }
        }
    }
    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl");
    for (int i = 0; i < fonts.size(); ++i)
        out += QStringLiteral("{\\f%1\\fnil %2;}").arg(i).arg(escaped(fonts[i]));
    out += QStringLiteral("}\n{\\colortbl;");
    out += colours.join(QString());
    out += QStringLiteral("}\n");
    if (!document.pages.empty()) {
        const QSizeF size = document.pages.front().setup.sizeMm();
        out += QStringLiteral("\\paperw%1\\paperh%2\\margl0\\margr0\\margt%3\\margb%4%5\n")
                   .arg(twips(size.width()))
                   .arg(twips(size.height()))
                   .arg(twips(document.pages.front().setup.margins().top()))
                   .arg(twips(document.pages.front().setup.margins().bottom()))
                   .arg(size.width() > size.height() ? QStringLiteral("\\landscape") : QString());
    }
    out += body + QStringLiteral("}\n");
    return out.toLatin1();
}

} // namespace kv::report
