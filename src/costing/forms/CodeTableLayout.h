#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "platform/ui/TableButtons.h"

#include <optional>
#include <utility>
#include <vector>

class QLineEdit;
class QString;
class QWidget;

namespace kv::ui {
class DbGrid;
} // namespace kv::ui

namespace kv::costing {

class ArticleLink;
class CodeTableForm;

// The controls of the code table form, laid out from its member's
// description: the key with its caption, each field on its line (or beside
// the field before) with its caption, suffix and name label, on the form or
// on a page of the notebook "Tb", the note, the grid at its columns' widths
// and the button bar. Fields are as wide as their values; what is left of a
// line stays empty on its right.
class CodeTableLayout {
public:
    CodeTableLayout(CodeTableForm& form, ArticleLink* article);

    QLineEdit* Edit_Codigo = nullptr;
    std::vector<std::pair<const FieldSpec*, QWidget*>> fields;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    std::optional<kv::ui::TableButtons> buttons;

private:
    QWidget* buildField(const FieldSpec& spec, QWidget* parent);

    CodeTableForm& m_form;
    ArticleLink* m_article;
};

// Shows a field's key hint: in status panel 0 while the field has the focus,
// or as its tooltip on members that keep the maker tag in panel 0.
void showFieldHint(CodeTableForm& form, QWidget* field, const QString& hint);

} // namespace kv::costing
