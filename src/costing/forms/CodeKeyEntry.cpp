#include "costing/forms/CodeKeyEntry.h"

#include "costing/forms/CodeTableForm.h"

#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/MessageService.h"

#include <QLineEdit>
#include <optional>

namespace kv::costing {

using kv::db::DbError;

void CodeKeyEntry::offer()
{
    CodeTableForm& f = m_form;
    const CodeTableDescription& member = f.member();
    kv::db::Dataset& table = f.table();
    if (!member.proposeKey) {
        m_key->clear();
        f.focusField(m_key);
        return;
    }
    std::optional<qint64> highest;
    if (table.last())
        highest = table.value(member.keyColumn).toLongLong();
    try {
        // The new row goes in before the last one; saved, it takes its place
        // in code order.
        table.insert();
    } catch (const DbError& error) {
        f.m_insertMark = false;
        f.showError(error);
        return;
    }
    m_key->setText(QString::number(proposeKey(highest)));
    f.focusField(m_key);
}

bool CodeKeyEntry::exists(qint64 code) const
{
    kv::db::Dataset& table = m_form.table();
    const int key = table.fieldIndex(m_form.member().keyColumn);
    const int rows = table.recordCount();
    const bool newRow = table.state() == kv::db::DatasetState::Insert;
    for (int row = 0; row < rows; ++row) {
        if (newRow && row == table.currentRow())
            continue;
        const QVariant value = table.valueAt(row, key);
        if (!value.isNull() && value.toLongLong() == code)
            return true;
    }
    return false;
}

void CodeKeyEntry::check()
{
    CodeTableForm& f = m_form;
    const CodeTableDescription& member = f.member();
    kv::db::Dataset& table = f.table();
    if (!f.m_insertMark || f.m_cancelling)
        return;
    const int key = table.fieldIndex(member.keyColumn);
    const auto taken = [this](qint64 code) { return exists(code); };
    const KeyCheck check = member.keyCheck ? member.keyCheck(f, m_key->text(), taken)
                                           : checkKey(m_key->text(), member.keyBounds, table.fieldDef(key).type, taken);
    switch (check.verdict) {
    case KeyVerdict::Empty: f.refuse({}); return;
    case KeyVerdict::Invalid: f.refuse(check.message.isEmpty() ? invalidKeyMessage() : check.message); return;
    case KeyVerdict::Taken:
        // The grid, on its return, stands on the row that has the code.
        f.remember(check.code);
        table.cancel();
        f.focusField(f.grid());
        kv::ui::messages().fail(takenKeyMessage());
        return;
    case KeyVerdict::Free: break;
    }
    f.remember(check.code);
    try {
        if (table.state() != kv::db::DatasetState::Insert)
            table.insert();
        table.setValue(member.keyColumn, check.code);
    } catch (const DbError& error) {
        f.refuse(error.text());
        return;
    }
    if (member.rowStarted)
        member.rowStarted(f);
    f.focusField(member.afterKeyField.isEmpty() ? f.firstField() : f.control(member.afterKeyField));
}

} // namespace kv::costing
