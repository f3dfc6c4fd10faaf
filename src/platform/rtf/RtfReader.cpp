#include "platform/rtf/RtfReader.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <cctype>
#include <utility>
#include <vector>

namespace kv::rtf {

namespace {

enum class Destination { Text, Skip, FontTable, ColourTable, BulletText };

struct CharState {
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    bool bullet = false;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharState chars;
    int unicodeSkip = 1;
};

struct Run {
    QString text;
    CharState chars;
};

struct Paragraph {
    ParaState para;
    std::vector<Run> runs;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's
};

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 0; // symbol fonts: the bytes as they stand
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 238: return 1250;
    default: return 1252;
    }
}

class Parser {
public:
    explicit Parser(const QByteArray& data) : m_data(data) {}

    std::vector<Paragraph> parse()
    {
        m_groups.push_back({});
        while (m_pos < m_data.size()) {
            const char c = m_data.at(m_pos);
            if (c == '{') {
                ++m_pos;
                flushBytes();
                m_groups.push_back(m_groups.back());
                m_groupStart = true;
                continue;
            }
            if (c == '}') {
                ++m_pos;
                flushBytes();
                endGroup();
                if (m_groups.size() > 1)
                    m_groups.pop_back();
                continue;
            }
            if (c == '\\') {
                controlWord();
                m_groupStart = false;
                continue;
            }
            ++m_pos;
            if (c == '\r' || c == '\n')
                continue;
            if (m_skipBytes > 0) {
                --m_skipBytes;
                continue;
            }
            m_groupStart = false;
            m_bytes.append(c);
        }
        flushBytes();
        if (!m_current.runs.empty() || m_paragraphs.empty())
            endParagraph();
        return std::move(m_paragraphs);
    }

    QColor colour(int index) const
    {
        return index > 0 && index < static_cast<int>(m_colours.size()) ? m_colours[index] : QColor();
    }
    QString fontName(int index) const { return m_fonts.value(index).name; }

private:
    GroupState& group() { return m_groups.back(); }

    void controlWord()
    {
        ++m_pos; // the backslash
        if (m_pos >= m_data.size())
            return;
        const char c = m_data.at(m_pos);
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_data.size() && std::isalpha(static_cast<unsigned char>(m_data.at(m_pos))))
            ++m_pos;
        const QByteArray word = m_data.mid(start, m_pos - start);
        bool hasValue = false;
        int value = 0;
        const qsizetype numberStart = m_pos;
        if (m_pos < m_data.size()
            && (m_data.at(m_pos) == '-' || std::isdigit(static_cast<unsigned char>(m_data.at(m_pos))))) {
            ++m_pos;
            while (m_pos < m_data.size() && std::isdigit(static_cast<unsigned char>(m_data.at(m_pos))))
                ++m_pos;
            bool ok = false;
            value = m_data.mid(numberStart, m_pos - numberStart).toInt(&ok);
            hasValue = ok;
        }
        if (m_pos < m_data.size() && m_data.at(m_pos) == ' ')
            ++m_pos;
        if (m_skipBytes > 0) {
            // a control word counts as one character of a "\u" fallback
            --m_skipBytes;
            return;
        }
        flushBytes();
        apply(word, hasValue, value);
    }

    void controlSymbol(char c)
    {
        if (c == '\'') {
            const QByteArray hex = m_data.mid(m_pos, 2);
            m_pos += hex.size();
            if (m_skipBytes > 0) {
                --m_skipBytes;
                return;
            }
            bool ok = false;
            const int byte = hex.toInt(&ok, 16);
            if (ok)
                m_bytes.append(static_cast<char>(byte));
            return;
        }
        if (m_skipBytes > 0) {
            --m_skipBytes;
            return;
        }
        if (c != '\\' && c != '{' && c != '}')
            flushBytes();
        switch (c) {
        case '\\':
        case '{':
        case '}': m_bytes.append(c); break;
        case '~': appendText(QString(QChar(0x00A0))); break;
        case '_': appendText(QString(QChar(0x2011))); break;
        case '-': break; // optional hyphen
        case '*':
            if (group().destination == Destination::Text)
                m_optionalDestination = true;
            break;
        case '\r':
        case '\n': endParagraph(); break;
        default: break;
        }
    }

    void apply(const QByteArray& word, bool hasValue, int value)
    {
        const bool starts = m_groupStart;
        m_groupStart = false;
        GroupState& g = group();
        CharState& ch = g.chars;
        const bool on = !hasValue || value != 0;

        // Destinations: the first word of a group decides what its text is.
        if (starts || m_optionalDestination) {
            const bool optional = m_optionalDestination;
            m_optionalDestination = false;
            if (word == "fonttbl") {
                setDestination(Destination::FontTable);
                return;
            }
            if (word == "colortbl") {
                setDestination(Destination::ColourTable);
                m_colours.clear();
                return;
            }
            if (word == "pntext" || word == "listtext") {
                setDestination(Destination::BulletText);
                return;
            }
            if (word == "pn") {
                // the paragraph numbering group: its text is not the document's
                setDestination(Destination::Skip);
                m_inNumbering = true;
                return;
            }
            static const QList<QByteArray> skipped{"stylesheet",
                                                   "info",
                                                   "pict",
                                                   "object",
                                                   "header",
                                                   "footer",
                                                   "headerl",
                                                   "headerr",
                                                   "footerl",
                                                   "footerr",
                                                   "listtable",
                                                   "listoverridetable",
                                                   "rsidtbl",
                                                   "generator",
                                                   "xmlnstbl",
                                                   "themedata",
                                                   "colorschememapping",
                                                   "latentstyles",
                                                   "datastore",
                                                   "fldinst",
                                                   "footnote",
                                                   "annotation",
                                                   "filetbl",
                                                   "revtbl"};
            if (optional || skipped.contains(word)) {
                setDestination(Destination::Skip);
                return;
            }
        }

        if (g.destination == Destination::FontTable) {
            if (word == "f" && hasValue)
                m_fontIndex = value;
            else if (word == "fcharset" && hasValue)
                m_fonts[m_fontIndex].codePage = codePageOfCharset(value);
            return;
        }
        if (g.destination == Destination::ColourTable) {
            if (word == "red")
                m_colour.setRed(value);
            else if (word == "green")
                m_colour.setGreen(value);
            else if (word == "blue")
                m_colour.setBlue(value);
            else
                return;
            m_colourSet = true;
            return;
        }
        if (g.destination == Destination::Skip) {
            if (m_inNumbering && word == "pnlvlblt")
                m_para.bullet = true;
            return;
        }
        if (g.destination == Destination::BulletText)
            return;

        if (word == "par") {
            endParagraph();
        } else if (word == "pard") {
            m_para = ParaState{};
        } else if (word == "plain") {
            ch = CharState{};
            ch.font = m_defaultFont;
        } else if (word == "b") {
            ch.bold = on;
        } else if (word == "i") {
            ch.italic = on;
        } else if (word == "ul") {
            ch.underline = on;
        } else if (word == "ulnone") {
            ch.underline = false;
        } else if (word == "f" && hasValue) {
            ch.font = value;
        } else if (word == "fs" && hasValue) {
            ch.halfPoints = value;
        } else if (word == "cf" && hasValue) {
            ch.colour = value;
        } else if (word == "deff" && hasValue) {
            m_defaultFont = value;
            ch.font = value;
        } else if (word == "ansicpg" && hasValue) {
            m_codePage = value;
        } else if (word == "ql") {
            m_para.alignment = Qt::AlignLeft;
        } else if (word == "qc") {
            m_para.alignment = Qt::AlignHCenter;
        } else if (word == "qr") {
            m_para.alignment = Qt::AlignRight;
        } else if (word == "qj") {
            m_para.alignment = Qt::AlignJustify;
        } else if (word == "li" && hasValue) {
            m_para.leftTwips = value;
        } else if (word == "ri" && hasValue) {
            m_para.rightTwips = value;
        } else if (word == "fi" && hasValue) {
            m_para.firstTwips = value;
        } else if (word == "ls" && hasValue) {
            m_para.bullet = true;
        } else if (word == "uc" && hasValue) {
            g.unicodeSkip = value;
        } else if (word == "u" && hasValue) {
            flushBytes();
            const char16_t unit = static_cast<char16_t>(value < 0 ? value + 65536 : value);
            appendText(QString(QChar(unit)));
            m_skipBytes = g.unicodeSkip;
        } else if (word == "tab") {
            appendText(QStringLiteral("\t"));
        } else if (word == "line") {
            appendText(QString(QChar::LineSeparator));
        } else if (word == "emdash") {
            appendText(QString(QChar(0x2014)));
        } else if (word == "endash") {
            appendText(QString(QChar(0x2013)));
        } else if (word == "lquote") {
            appendText(QString(QChar(0x2018)));
        } else if (word == "rquote") {
            appendText(QString(QChar(0x2019)));
        } else if (word == "ldblquote") {
            appendText(QString(QChar(0x201C)));
        } else if (word == "rdblquote") {
            appendText(QString(QChar(0x201D)));
        } else if (word == "bullet") {
            appendText(QString(QChar(0x2022)));
        }
    }

    void setDestination(Destination destination)
    {
        flushBytes();
        group().destination = destination;
    }

    // The bytes read since the last change of state, decoded by the code page
    // of the run's font or of the document.
    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QByteArray bytes = std::exchange(m_bytes, {});
        const Destination destination = group().destination;
        if (destination == Destination::FontTable) {
            QString name = QString::fromLatin1(bytes);
            m_fontName += name;
            if (m_fontName.contains(u';')) {
                m_fonts[m_fontIndex].name = m_fontName.section(u';', 0, 0).trimmed();
                m_fontName.clear();
            }
            return;
        }
        if (destination == Destination::ColourTable) {
            for (const char c : bytes) {
                if (c == ';') {
                    m_colours.push_back(m_colourSet ? m_colour : QColor());
                    m_colour = QColor(0, 0, 0);
                    m_colourSet = false;
                }
            }
            return;
        }
        if (destination != Destination::Text)
            return;
        int codePage = m_codePage;
        const auto font = m_fonts.constFind(group().chars.font);
        if (font != m_fonts.constEnd() && font->codePage != 0 && font->codePage != 1252)
            codePage = font->codePage;
        appendText(decode(bytes, codePage));
    }

    static QString decode(const QByteArray& bytes, int codePage)
    {
        const QByteArray name = "windows-" + QByteArray::number(codePage > 0 ? codePage : 1252);
        QStringDecoder decoder(name.constData());
        if (!decoder.isValid())
            decoder = QStringDecoder("windows-1252");
        if (!decoder.isValid())
            return QString::fromLatin1(bytes);
        return decoder.decode(bytes);
    }

    void appendText(const QString& text)
    {
        if (group().destination != Destination::Text || text.isEmpty())
            return;
        const CharState& ch = group().chars;
        if (!m_current.runs.empty()) {
            Run& last = m_current.runs.back();
            if (last.chars.font == ch.font && last.chars.halfPoints == ch.halfPoints && last.chars.bold == ch.bold
                && last.chars.italic == ch.italic && last.chars.underline == ch.underline
                && last.chars.colour == ch.colour) {
                last.text += text;
                return;
            }
        }
        m_current.runs.push_back({text, ch});
    }

    void endGroup()
    {
        if (group().destination == Destination::Skip && m_inNumbering && m_groups.size() > 1) {
            const Destination outer = m_groups[m_groups.size() - 2].destination;
            if (outer != Destination::Skip)
                m_inNumbering = false;
        }
        if (group().destination == Destination::FontTable && !m_fontName.isEmpty()) {
            m_fonts[m_fontIndex].name = m_fontName.trimmed();
            m_fontName.clear();
        }
    }

    void endParagraph()
    {
        flushBytes();
        m_current.para = m_para;
        m_paragraphs.push_back(std::move(m_current));
        m_current = Paragraph{};
    }

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_groups;
    bool m_groupStart = false;
    bool m_optionalDestination = false;
    bool m_inNumbering = false;
    int m_skipBytes = 0;
    QByteArray m_bytes;
    int m_codePage = 1252;
    int m_defaultFont = 0;
    QHash<int, Font> m_fonts;
    int m_fontIndex = 0;
    QString m_fontName;
    std::vector<QColor> m_colours;
    QColor m_colour{0, 0, 0};
    bool m_colourSet = false;
    ParaState m_para;
    Paragraph m_current;
    std::vector<Paragraph> m_paragraphs;
};

} // namespace

bool RtfReader::isRtf(const QByteArray& data)
{
    qsizetype start = 0;
    while (start < data.size() && std::isspace(static_cast<unsigned char>(data.at(start))))
        ++start;
    return data.mid(start, 5) == "{\\rtf";
}

bool RtfReader::read(const QByteArray& data, QTextDocument& document)
{
    if (!isRtf(data))
        return false;
    Parser parser(data);
    const std::vector<Paragraph> paragraphs = parser.parse();

    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    bool first = true;
    for (const Paragraph& paragraph : paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(paragraph.para.alignment);
        block.setLeftMargin(paragraph.para.leftTwips / TwipsPerPoint);
        block.setRightMargin(paragraph.para.rightTwips / TwipsPerPoint);
        block.setTextIndent(paragraph.para.firstTwips / TwipsPerPoint);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        if (paragraph.para.bullet) {
            if (list)
                list->add(cursor.block());
            else
                list = cursor.createList(QTextListFormat::ListDisc);
        } else {
            list = nullptr;
        }
        for (const Run& run : paragraph.runs) {
            QTextCharFormat format;
            const QString family = parser.fontName(run.chars.font);
            if (!family.isEmpty())
                format.setFontFamilies({family});
            format.setFontPointSize(run.chars.halfPoints / 2.0);
            format.setFontWeight(run.chars.bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run.chars.italic);
            format.setFontUnderline(run.chars.underline);
            const QColor colour = parser.colour(run.chars.colour);
            if (colour.isValid())
                format.setForeground(colour);
            cursor.insertText(run.text, format);
        }
    }
    cursor.endEditBlock();
    return true;
}

} // namespace kv::rtf
