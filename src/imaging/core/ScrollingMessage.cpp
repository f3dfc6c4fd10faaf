#include "imaging/core/ScrollingMessage.h"

namespace kv::imaging {

QColor colourFromStored(int value) { return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff); }

MessageSettings parseHorizontalMessage(const QString& text)
{
    MessageSettings m;
    static const char* const tags[] = {"/fc|", "/fh|", "/fn|", "/fs|", "/ft|", "/bc|", "/sp|", "/sm|", "/eo|"};
    constexpr int count = int(std::size(tags));
    for (int i = 0; i + 1 < count; ++i) {
        const qsizetype at = text.indexOf(QLatin1String(tags[i]));
        if (at < 1)
            continue;
        const qsizetype from = at + 4;
        const qsizetype next = text.indexOf(QLatin1String(tags[i + 1]), from);
        if (next < 0)
            continue;
        const QString value = text.mid(from, next - from);
        if (value.isEmpty())
            continue;
        bool ok = true;
        switch (i) {
        case 0: {
            const int v = value.trimmed().toInt(&ok);
            if (ok)
                m.fontColour = v;
            break;
        }
        case 1: {
            const int v = value.trimmed().toInt(&ok);
            if (ok)
                m.fontHeight = v;
            break;
        }
        case 2: m.fontName = value; break;
        case 3: {
            const int v = value.trimmed().toInt(&ok);
            if (ok)
                m.fontSize = v;
            break;
        }
        case 4: m.fontStyle = value.left(4); break;
        case 5: {
            const int v = value.trimmed().toInt(&ok);
            if (ok)
                m.background = v;
            break;
        }
        case 6: {
            const int v = value.trimmed().toInt(&ok);
            if (ok)
                m.speed = v;
            break;
        }
        case 7: m.text = value; break;
        }
    }
    return m;
}

MessageSettings parseVerticalMessage(const QStringList& lines)
{
    MessageSettings m;
    auto number = [&](int index, int& target) {
        bool ok = false;
        const int v = index < lines.size() ? lines[index].trimmed().toInt(&ok) : 0;
        if (ok)
            target = v;
    };
    number(1, m.fontColour);
    number(2, m.fontHeight);
    if (lines.size() > 3 && !lines[3].trimmed().isEmpty())
        m.fontName = lines[3].trimmed();
    number(4, m.fontSize);
    if (lines.size() > 5)
        m.fontStyle = lines[5].trimmed().left(4);
    number(6, m.background);
    number(7, m.speed);
    m.text.clear();
    for (int i = 8; i < lines.size(); ++i)
        m.lines << lines[i];
    while (!m.lines.isEmpty() && m.lines.last().isEmpty())
        m.lines.removeLast();
    return m;
}

QString preparedMessageLine(const QString& line)
{
    QString shown = line;
    if (!shown.startsWith(QLatin1Char(' ')))
        shown.prepend(QStringLiteral("  "));
    if (!shown.endsWith(QLatin1Char(' ')))
        shown.append(QLatin1Char(' '));
    return shown;
}

} // namespace kv::imaging
