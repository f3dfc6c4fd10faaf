#include "platform/ui/DbEdit.h"

#include "platform/db/Dataset.h"
#include "platform/ui/FieldLink.h"
#include "platform/ui/FieldText.h"
#include "platform/ui/FieldWidth.h"

#include <QRegularExpression>
#include <QValidator>

namespace kv::ui {

using kv::db::FieldType;

namespace {

// Letter case and the characters a number or a date may hold, applied as the
// user types.
class FieldValidator : public QValidator {
public:
    FieldValidator(DbEdit::CharCase charCase, FieldType type, QObject* parent)
        : QValidator(parent), m_charCase(charCase), m_type(type)
    {
    }

    State validate(QString& input, int&) const override
    {
        if (m_charCase == DbEdit::CharCase::Upper)
            input = input.toUpper();
        else if (m_charCase == DbEdit::CharCase::Lower)
            input = input.toLower();
        static const QRegularExpression integer(QStringLiteral("^\\s*[-+]?\\d*\\s*$"));
        static const QRegularExpression number(QStringLiteral("^\\s*[-+]?[\\d.,]*([eE][-+]?\\d*)?\\s*$"));
        static const QRegularExpression date(QStringLiteral("^[\\d/.\\-\\s:_]*$"));
        switch (m_type) {
        case FieldType::Int16:
        case FieldType::Int32:
        case FieldType::Int64: return integer.match(input).hasMatch() ? Acceptable : Invalid;
        case FieldType::Float: return number.match(input).hasMatch() ? Acceptable : Invalid;
        case FieldType::DateTime: return date.match(input).hasMatch() ? Acceptable : Invalid;
        default: return Acceptable;
        }
    }

private:
    DbEdit::CharCase m_charCase;
    FieldType m_type;
};

} // namespace

DbEdit::DbEdit(QWidget* parent) : QLineEdit(parent), m_link(new FieldLink([this] { refresh(); }, this))
{
    connect(this, &QLineEdit::textEdited, this, &DbEdit::typed);
}

DbEdit::~DbEdit() = default;

void DbEdit::setField(kv::db::Dataset* dataset, const QString& fieldName) { m_link->setField(dataset, fieldName); }

kv::db::Dataset* DbEdit::dataset() const { return m_link->dataset(); }

QString DbEdit::fieldName() const { return m_link->fieldName(); }

void DbEdit::setCharCase(CharCase charCase)
{
    m_charCase = charCase;
    applyFieldKind();
}

void DbEdit::setPasswordChar(QChar echo)
{
    if (echo.isNull()) {
        setEchoMode(QLineEdit::Normal);
        setStyleSheet(QString());
        return;
    }
    setEchoMode(QLineEdit::Password);
    setStyleSheet(QStringLiteral("lineedit-password-character: %1").arg(echo.unicode()));
}

void DbEdit::setDisplayWidth(int characters)
{
    m_displayWidth = characters;
    setFieldWidth(this, characters);
}

void DbEdit::applyFieldKind()
{
    const kv::db::FieldDef* def = m_link->fieldDef();
    if (def && m_displayWidth == 0)
        setFieldWidth(this, fieldCharacters(*def));
    const FieldType type = def ? def->type : FieldType::Text;
    delete validator();
    setValidator(new FieldValidator(m_charCase, type, this));
    if (def && def->type == FieldType::Text && def->size > 0)
        setMaxLength(def->size);
    else
        setMaxLength(32767);
}

void DbEdit::refresh()
{
    m_refreshing = true;
    applyFieldKind();
    m_pendingError.clear();
    const kv::db::FieldDef* def = m_link->fieldDef();
    setText(def ? fieldText(def->type, m_link->value()) : QString());
    m_refreshing = false;
}

void DbEdit::typed(const QString& text)
{
    if (m_refreshing)
        return;
    const kv::db::FieldDef* def = m_link->fieldDef();
    if (!def)
        return;
    QVariant value;
    QString error;
    if (!parseFieldText(def->type, text, &value, &error) || !m_link->write(value, &error))
        m_pendingError = error;
    else
        m_pendingError.clear();
}

bool DbEdit::commitPending(QString* error)
{
    if (m_pendingError.isEmpty())
        return true;
    *error = m_pendingError;
    return false;
}

} // namespace kv::ui
