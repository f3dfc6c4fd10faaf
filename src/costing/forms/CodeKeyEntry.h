#pragma once

#include <QtGlobal>

class QLineEdit;

namespace kv::costing {

class CodeTableForm;

// The key of a new row of the code table form: Inserir offers the highest
// code + 1 (or an empty key where the member types its keys), and leaving
// the key checks what was typed: empty, invalid and taken keys are refused,
// a free one starts the row.
class CodeKeyEntry {
public:
    CodeKeyEntry(CodeTableForm& form, QLineEdit* key) : m_form(form), m_key(key) {}

    // After Inserir's own work: the key offered, the focus in it.
    void offer();
    // Edit_Codigo's exit check while a row is being inserted.
    void check();
    // True when another row of the table has the code.
    bool exists(qint64 code) const;

private:
    CodeTableForm& m_form;
    QLineEdit* m_key;
};

} // namespace kv::costing
