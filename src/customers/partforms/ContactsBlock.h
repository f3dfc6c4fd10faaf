#pragma once

#include "customers/parts/DepartmentContacts.h"

#include <QTabWidget>

class QLineEdit;

namespace kv::ui {
class TMailit;
}

namespace kv::customers {

// The department contacts of one entity as a notebook, one tab per
// department: five plain edits and a mail-link label each. Leaving a
// department's e-mail edit shows the address on its label at once and moves
// to the next department's tab; leaving the last one signals the form.
class ContactsBlock : public QTabWidget {
    Q_OBJECT
public:
    explicit ContactsBlock(DepartmentContacts contacts, QWidget* parent = nullptr);

    const DepartmentContacts& contacts() const { return m_contacts; }

    // Empties every edit and label, then shows the blocks (one per department).
    void setBlocks(const QList<ContactDetails>& blocks);
    void clear();
    QList<ContactDetails> blocks() const;

Q_SIGNALS:
    // The last department's e-mail edit was left.
    void lastDepartmentLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Block {
        QLineEdit* contact = nullptr;
        QLineEdit* telephone = nullptr;
        QLineEdit* fax = nullptr;
        QLineEdit* mobile = nullptr;
        QLineEdit* email = nullptr;
        kv::ui::TMailit* mail = nullptr;
    };

    DepartmentContacts m_contacts;
    QList<Block> m_blocks;
};

} // namespace kv::customers
