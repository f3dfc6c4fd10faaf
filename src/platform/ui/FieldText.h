#pragma once

#include "platform/db/FieldDef.h"

#include <QString>
#include <QVariant>

namespace kv::ui {

// A field value as the controls show it: numbers and dates in Portuguese
// (Portugal) text, a date-time without its time when the time is midnight,
// null as "".
QString fieldText(kv::db::FieldType type, const QVariant& value);

// A typed text as a value of the field's type; "" gives null. False, with the
// message a form shows, when the text is not a value of that type.
bool parseFieldText(kv::db::FieldType type, const QString& text, QVariant* value, QString* error);

} // namespace kv::ui
