#pragma once

#include <QList>
#include <QString>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// One department of a contacts block: the name stored in `DESCRICAO`
// (without accents), its caption, and the prefix of its edits' names.
struct Department {
    QString name;
    QString caption;
    QString prefix;
    QString mailLabel;
};

// The five texts of one department's block.
struct ContactDetails {
    QString contact;
    QString telephone;
    QString fax;
    QString mobile;
    QString email;

    bool operator==(const ContactDetails&) const = default;
};

// The department contacts of one kind of entity in `CONTACTOS`: one row per
// entity and department. Rows whose department is not in the list are never
// read, changed or deleted here, except by `remove`, which drops an entity's
// rows as a whole.
class DepartmentContacts {
public:
    DepartmentContacts(QString entityType, QList<Department> departments);
    static DepartmentContacts customers(); // "C", six departments
    static DepartmentContacts agents(); // "A", four departments

    const QString& entityType() const { return m_type; }
    const QList<Department>& departments() const { return m_departments; }

    // Inserts a key-only row for each department the entity lacks; rows
    // already there (a number reused after a dropped new entity) are kept.
    // Returns the rows inserted. Runs in its own transaction unless the
    // connection is already inside one.
    int createMissing(kv::db::Connection& invoicing, int entity) const;

    // One block per department, in the list's order; empty for a department
    // without a row.
    QList<ContactDetails> read(kv::db::Connection& invoicing, int entity) const;

    // Writes every department's block (a missing row is inserted), each text
    // cut to its column's width. Meant for the entity's own save: the caller
    // holds the transaction, so the contacts and the entity row are stored
    // together or not at all; called outside one it takes its own.
    void write(kv::db::Connection& invoicing, int entity, const QList<ContactDetails>& blocks) const;

    // Deletes every contact row of the entity (a new entity dropped).
    void remove(kv::db::Connection& invoicing, int entity) const;

    // The widths of the columns the blocks are stored in.
    static constexpr int ContactWidth = 40;
    static constexpr int PhoneWidth = 9;
    static constexpr int EmailWidth = 50;

private:
    QString m_type;
    QList<Department> m_departments;
};

} // namespace kv::customers
