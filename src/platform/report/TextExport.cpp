#include "platform/report/ExportSupport.h"

#include <cmath>

namespace kv::report {

namespace {

// One character cell of the text page: about 12 characters per inch.
constexpr double kCellMm = 2.1;

void putAt(QString& line, int column, const QString& text)
{
    column = std::max(column, line.isEmpty() ? 0 : static_cast<int>(line.size()) + 1);
    if (line.size() < column)
        line += QString(column - line.size(), u' ');
    line += text;
}

} // namespace

QByteArray textBytes(const Document& document)
{
    QString out;
    bool firstPage = true;
    for (const RenderedPage& page : document.pages) {
        if (!firstPage)
            out += u'\f';
        firstPage = false;
        for (const RenderedBand& band : page.bands) {
            for (const TextLine& items : textLines(band)) {
                QString line;
                for (const RenderedItem* item : items) {
                    const QString text = QString(item->text).replace(u'\n', u' ');
                    int column = static_cast<int>(std::lround(item->rect.left() / kCellMm));
                    if (item->flags & Qt::AlignRight)
                        column =
                            static_cast<int>(std::lround(item->rect.right() / kCellMm)) - static_cast<int>(text.size());
                    else if (item->flags & Qt::AlignHCenter)
                        column = static_cast<int>(std::lround(item->rect.center().x() / kCellMm))
                                 - static_cast<int>(text.size()) / 2;
                    putAt(line, std::max(column, 0), text);
                }
                out += line + u'\n';
            }
        }
    }
    return out.toUtf8();
}

} // namespace kv::report
