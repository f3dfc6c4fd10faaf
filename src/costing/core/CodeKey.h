#pragma once

#include "platform/db/FieldDef.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace kv::costing {

// The codes a costing table accepts as its key, as the member states them.
struct KeyBounds {
    qint64 minimum = 1;
    qint64 maximum = 999999;
};

// The bounds narrowed to what the key column can hold: a 16-bit key stores
// at most 32767, so a larger code is refused like any code out of range
// instead of reaching the database without a key.
KeyBounds storableBounds(const KeyBounds& bounds, kv::db::FieldType keyType);

enum class KeyVerdict {
    Empty, // nothing typed: a beep, no message
    Invalid, // not a whole number, or outside the bounds
    Taken, // a row with this code exists
    Free
};

struct KeyCheck {
    KeyVerdict verdict = KeyVerdict::Empty;
    qint64 code = 0; // the code read, for Taken and Free
    QString message; // Invalid: a member's own message; empty: invalidKeyMessage()
};

// Checks a key typed for a new row. `exists` answers whether a row already
// holds the code.
KeyCheck checkKey(const QString& text, const KeyBounds& bounds, kv::db::FieldType keyType,
                  const std::function<bool(qint64)>& exists);

// The code offered to a new row: the highest code + 1, or 1 on an empty table.
qint64 proposeKey(std::optional<qint64> highest);

QString invalidKeyMessage(); // "Codigo Inválido ... <ENTER>"
QString takenKeyMessage(); // "REGISTO JÁ FOI ABERTO ... <ENTER>"

} // namespace kv::costing
