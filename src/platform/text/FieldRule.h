#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace kv::text {

// The check a table form's field makes on its text when the user leaves it.
// A refused text keeps the focus in the field, with a beep (unless the
// form says otherwise) and the rule's message (none when empty).
struct FieldRule {
    enum class Kind {
        None, // any text
        NotEmpty, // the text must not be empty ("0" passes)
        OneOf, // the text must be exactly one of `accepted`
        IntegerRange // a whole number from `low` to `high`
    };

    Kind kind = Kind::None;
    QStringList accepted;
    qint64 low = 0;
    qint64 high = 0;
    QString message;
    bool beep = true;

    bool passes(const QString& text) const;

    static FieldRule notEmpty(const QString& message);
    static FieldRule oneOf(const QStringList& accepted, const QString& message);
    static FieldRule integerRange(qint64 low, qint64 high, const QString& message);
};

} // namespace kv::text
