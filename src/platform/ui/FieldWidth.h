#pragma once

#include "platform/db/FieldDef.h"

class QLineEdit;
class QWidget;

namespace kv::ui {

// How wide an edit field is: as many average characters of its font as its
// value needs, plus its frame. A field is never stretched across its form,
// and never squeezed below that width.

// Characters a column's value needs when the form gives no width: a text
// column its declared size (long texts are capped: they scroll inside the
// field), a number its digits with sign and separators.
int fieldCharacters(const kv::db::FieldDef& def);

// Pixels of an edit `characters` average characters wide in its font.
int editWidth(const QLineEdit* edit, int characters);

// Makes the edit exactly `characters` wide. The width is kept on the edit,
// so that whoever lays the form out (or checks it) can read it back.
void setFieldWidth(QLineEdit* edit, int characters);

// The width in pixels that setFieldWidth gave the edit; 0 when none was given.
int declaredFieldWidth(const QWidget* edit);

} // namespace kv::ui
