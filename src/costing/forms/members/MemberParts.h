#pragma once

#include "costing/forms/CodeTableDescription.h"

#include <QLineEdit>

namespace kv::costing {

class CodeTableForm;

// Pieces the costing table members are put together from.

// A member over table `table`, kept in its dataset of ZURIVAVEZA.
CodeTableDescription tableMember(const QString& formClass, const QString& caption, const QString& table,
                                 const QString& rightsProgram);

// A bound edit field after the key.
FieldSpec editField(const QString& name, const QString& column, const QString& caption, FieldRule rule = {});
// The article reference and the designation every article-linked member opens with.
FieldSpec articleField();
FieldSpec designationField();

// A list print dialog and report of a member.
ListPrintSpec listPrint(const QString& dialogClass, const QString& reportClass, const QString& caption,
                        const QString& title, bool articleRange);

// The text of one of the form's fields, and the text of one of its labels.
QString fieldText(const CodeTableForm& form, const QString& field);
void setLabel(const CodeTableForm& form, const QString& label, const QString& text);

} // namespace kv::costing
