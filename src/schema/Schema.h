#pragma once

#include "platform/db/Connection.h"
#include "platform/db/FieldDef.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <stdexcept>
#include <vector>

namespace kv::schema {

// The four databases of an installation: the general one and, per company,
// the application, invoicing and accounting databases.
enum class Database { General, Application, Invoicing, Accounting };

const std::vector<Database>& allDatabases();
QString databaseKey(Database database); // "general", "application", "invoicing", "accounting"

struct Column {
    QString name;
    kv::db::FieldType type = kv::db::FieldType::Text;
    int size = 0; // declared characters of a Text column
    bool key = false; // part of the primary key
};

// A secondary index: the lookups that filter and order on its columns read
// only the rows they show.
struct Index {
    QString name;
    QStringList columns;
};

struct Table {
    QString name;
    Database database = Database::Application;
    QString subsystem; // the definition file it comes from ("costing", "shell", ...)
    std::vector<Column> columns;
    std::vector<Index> indexes;

    const Column* column(const QString& name) const; // without regard to case
    QStringList keyColumns() const;
    QStringList columnNames() const;
};

// Which installations hold a row set: every one, or only demo installations,
// either once or once per working year (its rows then name the year "${ANO}").
enum class RowScope { Installation, Demo, DemoYear };

// Rows that a fresh installation holds. Values are text as written in the
// definition; "${NAME}" takes the value of a placeholder and NULL is null.
struct RowSet {
    QString table;
    Database database = Database::Application;
    QStringList columns;
    std::vector<QStringList> values;
    QString origin; // file and line, for messages
    RowScope scope = RowScope::Installation;
};

// A definition that cannot be read, or rows that do not fit their table.
class SchemaError : public std::runtime_error {
public:
    explicit SchemaError(const QString& text);
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// The one schema definition of the system, written in a neutral form (the
// *.ddl files of ddl/<database>/, one per owning subsystem) and turned into
// each engine's DDL.
//
//   table PAPEIS                 -- comments run from "--" to the end of the line,
//                                -- except on a row's values, where only whole lines are comments
//     CODIGO     int16 key
//     DESIGNACAO text 40
//     PRECO      float
//     index PAPEIS_NOME (DESIGNACAO, CODIGO)     -- a secondary index
//   rows TIPOTAB (CODIGO, DESIGNACAO)
//     1 | Máquinas
//   demo rows UTILIZADORES (NRO, PASSWOR)        -- demo installations only
//     ${UTIL} | ${PASSWOR}
//   demo yearly rows ENCPARGER (ANO, ENCNRO1)    -- and once per working year
//     ${ANO} | 0
//
// Types: text N, memo, int16, int32, int64, float, datetime, blob. Values
// are separated by "|"; a date-time is written 2024-02-29 or 2024-02-29T10:30.
class Schema {
public:
    // The definition compiled into the program.
    static const Schema& standard();

    Schema() = default;
    // Adds the definition text of one subsystem's file; throws SchemaError.
    void addDefinition(Database database, const QString& subsystem, const QString& text, const QString& origin = {});

    std::vector<const Table*> tables(Database database) const;
    const Table* table(Database database, const QString& name) const;
    std::vector<const RowSet*> rows(Database database) const;
    std::vector<const RowSet*> rows(Database database, RowScope scope) const;

    // CREATE TABLE statements of a database, each followed by its table's
    // CREATE INDEX statements, in definition order.
    QStringList createStatements(Database database, kv::db::Dialect dialect) const;
    QString createStatement(const Table& table, kv::db::Dialect dialect) const;
    // CREATE INDEX statements of one table.
    QStringList indexStatements(const Table& table) const;

    // Creates the tables of `database` and inserts the rows of every
    // installation, and with `demo` those of demo installations too (not the
    // yearly ones), all in one transaction; placeholders fill "${NAME}"
    // values. Throws SchemaError for rows that do not fit and
    // kv::db::DbError for what the engine refuses.
    void create(kv::db::Connection& connection, Database database, const QHash<QString, QVariant>& placeholders = {},
                bool demo = false) const;

    // Inserts the rows of `scope` whose key `database` does not hold yet, in
    // one transaction; rows already there are left as they are, and so are
    // the rows of a table or column the database does not have yet. With
    // `tables`, only the rows of those tables.
    void addMissingRows(kv::db::Connection& connection, Database database, RowScope scope,
                        const QHash<QString, QVariant>& placeholders, const QStringList& tables = {}) const;

    // Throws SchemaError when a row set names a table or column that no
    // definition has.
    void checkRows() const;

private:
    void insertRows(kv::db::Connection& connection, const RowSet& rows, const QHash<QString, QVariant>& placeholders,
                    bool skipExisting) const;

    std::vector<Table> m_tables;
    std::vector<RowSet> m_rows;
};

// Column type of a field type on an engine; text types carry the collation
// that makes them compare without regard to case.
QString sqlType(kv::db::FieldType type, int size, kv::db::Dialect dialect);

} // namespace kv::schema
