#include "platform/ui/FieldWidth.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace kv::ui {

namespace {

const char* const CharactersProperty = "kvFieldCharacters";

// Long texts show this much and scroll inside their field.
constexpr int LongestField = 50;

} // namespace

int fieldCharacters(const kv::db::FieldDef& def)
{
    using kv::db::FieldType;
    switch (def.type) {
    case FieldType::Int16: return 6;
    case FieldType::Int32: return 11;
    case FieldType::Int64: return 14;
    case FieldType::Float: return 12; // "-1.234.567,89"
    case FieldType::DateTime: return 10; // "31/12/2024"
    case FieldType::Text: return def.size > 0 ? std::clamp(def.size, 2, LongestField) : 30;
    case FieldType::Memo:
    case FieldType::Blob: return LongestField;
    }
    return 10;
}

int editWidth(const QLineEdit* edit, int characters)
{
    const QFontMetrics metrics = edit->fontMetrics();
    // The widest of the average character and a digit: numbers are all digits.
    const int character = std::max(metrics.averageCharWidth(), metrics.horizontalAdvance(QLatin1Char('0')));
    const QMargins margins = edit->textMargins();
    // The edit's own inner margin of 2 pixels each side, and the cursor.
    const int text = character * std::max(characters, 1) + margins.left() + margins.right() + 4 + 2;
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    const QSize size =
        edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, metrics.height()), edit);
    return size.width();
}

void setFieldWidth(QLineEdit* edit, int characters)
{
    edit->setProperty(CharactersProperty, characters);
    edit->setFixedWidth(editWidth(edit, characters));
}

int declaredFieldWidth(const QWidget* edit)
{
    const auto* line = qobject_cast<const QLineEdit*>(edit);
    const QVariant characters = edit->property(CharactersProperty);
    if (!line || !characters.isValid())
        return 0;
    return editWidth(line, characters.toInt());
}

} // namespace kv::ui
