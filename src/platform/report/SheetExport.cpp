#include "platform/report/ExportSupport.h"
#include "platform/text/NumberText.h"
#include "platform/report/ReportError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kv::report {

namespace {

struct Cell {
    QString text;
    QVariant number;
    QString format;
    bool bold = false;
};

struct Span {
    double left;
    double right;
};

struct Grid {
    std::vector<Span> columns;
    std::vector<std::vector<Cell>> rows;
};

bool exported(const RenderedPage& page, const RenderedBand& band)
{
    if (band.kind == BandKind::PageFooter)
        return false;
    if ((band.kind == BandKind::PageHeader || band.kind == BandKind::ColumnHeader) && page.number != 1)
        return false;
    return true;
}

// Columns follow the texts of the detail lines; other bands' texts go to
// the column they overlap most.
std::vector<Span> columnsOf(const Document& document)
{
    std::vector<Span> spans;
    for (const bool detailOnly : {true, false}) {
        QSet<QString> seen;
        for (const RenderedPage& page : document.pages) {
            for (const RenderedBand& band : page.bands) {
                const bool detail = band.kind == BandKind::Detail || band.kind == BandKind::SubDetail;
                if ((detailOnly && !detail) || !exported(page, band) || seen.contains(band.name))
                    continue;
                seen.insert(band.name);
                for (const TextLine& line : textLines(band))
                    for (const RenderedItem* item : line)
                        spans.push_back({item->rect.left(), item->rect.right()});
            }
        }
        if (!spans.empty())
            break;
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::vector<Span> merged;
    for (const Span& s : spans) {
        if (!merged.empty() && s.left - merged.back().left < 0.5)
            merged.back().right = std::max(merged.back().right, s.right);
        else
            merged.push_back(s);
    }
    return merged;
}

std::size_t columnFor(const std::vector<Span>& columns, const QRectF& rect)
{
    std::size_t best = 0;
    double bestOverlap = 0.0;
    double bestDistance = 1e18;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const double overlap = std::min(rect.right(), columns[i].right) - std::max(rect.left(), columns[i].left);
        const double distance = std::abs(rect.left() - columns[i].left);
        if (overlap > bestOverlap || (bestOverlap <= 0.0 && overlap <= 0.0 && distance < bestDistance)) {
            best = i;
            bestOverlap = std::max(overlap, 0.0);
            bestDistance = distance;
        }
    }
    return best;
}

Grid gridOf(const Document& document)
{
    Grid grid;
    grid.columns = columnsOf(document);
    const std::size_t width = std::max<std::size_t>(grid.columns.size(), 1);
    for (const RenderedPage& page : document.pages) {
        for (const RenderedBand& band : page.bands) {
            if (!exported(page, band))
                continue;
            for (const TextLine& line : textLines(band)) {
                std::vector<Cell> row(width);
                for (const RenderedItem* item : line) {
                    Cell& cell = row[columnFor(grid.columns, item->rect)];
                    if (cell.text.isEmpty()) {
                        cell.text = item->text;
                        cell.number = item->number;
                        cell.format = item->sheetFormat;
                        cell.bold = item->font.bold();
                    } else {
                        cell.text += u' ' + item->text;
                        cell.number = QVariant();
                    }
                }
                grid.rows.push_back(std::move(row));
            }
        }
    }
    return grid;
}

QString csvField(const QString& text)
{
    if (text.contains(u';') || text.contains(u'"') || text.contains(u'\n') || text != text.trimmed())
        return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return text;
}

} // namespace

QByteArray csvBytes(const Document& document)
{
    const Grid grid = gridOf(document);
    QString out = QStringLiteral("\uFEFF");
    for (const auto& row : grid.rows) {
        QStringList fields;
        for (const Cell& cell : row)
            fields.append(cell.number.isValid() ? kv::text::plain(cell.number.toDouble()) : csvField(cell.text));
        out += fields.join(u';') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

void writeXlsx(const Document& document, const QString& path)
{
    const Grid grid = gridOf(document);
    const QFileInfo target(path);
    const QString temporary = target.dir().filePath(QStringLiteral(".~%1.tmp").arg(target.fileName()));
    const QByteArray temporaryName = QFile::encodeName(temporary);
    lxw_workbook* workbook = workbook_new(temporaryName.constData());
    if (!workbook)
        throw ReportError(cannotWriteMessage(path, QStringLiteral("sem memória")));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Relatório");
    QHash<QString, lxw_format*> formats;
    auto formatFor = [&](const Cell& cell) -> lxw_format* {
        const QString key = cell.format + (cell.bold ? QStringLiteral("|b") : QString());
        if (key.isEmpty())
            return nullptr;
        auto found = formats.find(key);
        if (found != formats.end())
            return *found;
        lxw_format* format = workbook_add_format(workbook);
        if (!cell.format.isEmpty() && cell.number.isValid())
            format_set_num_format(format, cell.format.toUtf8().constData());
        if (cell.bold)
            format_set_bold(format);
        formats.insert(key, format);
        return format;
    };
    for (std::size_t c = 0; c < grid.columns.size(); ++c) {
        const double widthMm = grid.columns[c].right - grid.columns[c].left;
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::clamp(widthMm / 2.0, 6.0, 60.0), nullptr);
    }
    for (std::size_t r = 0; r < grid.rows.size(); ++r) {
        for (std::size_t c = 0; c < grid.rows[r].size(); ++c) {
            const Cell& cell = grid.rows[r][c];
            if (cell.text.isEmpty())
                continue;
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (cell.number.isValid())
                worksheet_write_number(sheet, row, col, cell.number.toDouble(), formatFor(cell));
            else
                worksheet_write_string(sheet, row, col, cell.text.toUtf8().constData(), formatFor(cell));
        }
    }
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR) {
        QFile::remove(temporary);
        throw ReportError(cannotWriteMessage(path, QString::fromUtf8(lxw_strerror(error))));
    }
    if (std::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        throw ReportError(cannotWriteMessage(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
}

} // namespace kv::report
