#include "schema/Schema.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace kv::schema {

using kv::db::Dialect;
using kv::db::FieldType;

namespace {

QString stripComment(const QString& line)
{
    const qsizetype at = line.indexOf(QLatin1String("--"));
    return (at < 0 ? line : line.left(at)).trimmed();
}

bool isIdentifier(const QString& name)
{
    const auto letter = [](QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; };
    if (name.isEmpty() || !letter(name.front()))
        return false;
    return std::all_of(name.cbegin(), name.cend(),
                       [&letter](QChar c) { return letter(c) || (c >= u'0' && c <= u'9'); });
}

// "CODIGO int16 key", "DESIGNACAO text 40"
template <class Where> // where() names the line, for messages
Column parseColumn(const QStringList& words, const Where& where)
{
    if (words.size() < 2 || !isIdentifier(words[0]))
        throw SchemaError(QStringLiteral("%1: coluna mal definida").arg(where()));
    Column column;
    column.name = words[0].toUpper();
    const QString type = words[1].toLower();
    int next = 2;
    static const QHash<QString, FieldType> plain = {
        {QStringLiteral("memo"), FieldType::Memo},   {QStringLiteral("int16"), FieldType::Int16},
        {QStringLiteral("int32"), FieldType::Int32}, {QStringLiteral("int64"), FieldType::Int64},
        {QStringLiteral("float"), FieldType::Float}, {QStringLiteral("datetime"), FieldType::DateTime},
        {QStringLiteral("blob"), FieldType::Blob},
    };
    if (type == QLatin1String("text")) {
        bool ok = false;
        column.size = words.value(2).toInt(&ok);
        if (!ok || column.size <= 0)
            throw SchemaError(
                QStringLiteral("%1: a coluna de texto %2 precisa de um tamanho").arg(where(), column.name));
        column.type = FieldType::Text;
        next = 3;
    } else if (plain.contains(type)) {
        column.type = plain.value(type);
    } else {
        throw SchemaError(QStringLiteral("%1: tipo desconhecido \"%2\"").arg(where(), words[1]));
    }
    for (int i = next; i < words.size(); ++i) {
        if (words[i].compare(QLatin1String("key"), Qt::CaseInsensitive) == 0)
            column.key = true;
        else
            throw SchemaError(QStringLiteral("%1: palavra desconhecida \"%2\"").arg(where(), words[i]));
    }
    return column;
}

// "index ORCMAS_NOME (SUBCODIGO, NOME, CODIGO)", columns of the table above.
template <class Where>
Index parseIndex(const QString& line, const Table& table, const Where& where)
{
    static const QRegularExpression re(QStringLiteral("^index\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*\\(([^)]*)\\)$"));
    const auto m = re.match(line);
    if (!m.hasMatch())
        throw SchemaError(QStringLiteral("%1: \"index NOME (COLUNA, ...)\" esperado").arg(where()));
    Index index{m.captured(1).toUpper(), {}};
    for (const QString& c : m.captured(2).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString name = c.trimmed().toUpper();
        if (!table.column(name))
            throw SchemaError(QStringLiteral("%1: o índice %2 nomeia a coluna %3, que %4 não tem")
                                  .arg(where(), index.name, name, table.name));
        index.columns << name;
    }
    if (index.columns.isEmpty())
        throw SchemaError(QStringLiteral("%1: o índice %2 não tem colunas").arg(where(), index.name));
    return index;
}

// The value of one definition text for one column, typed as the column is.
QVariant rowValue(const QString& written, const Column& column, const QHash<QString, QVariant>& placeholders,
                  const QString& where)
{
    static const QRegularExpression placeholder(QStringLiteral("^\\$\\{([A-Za-z_][A-Za-z0-9_]*)\\}$"));
    QVariant value;
    if (written.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QVariant();
    if (const auto m = placeholder.match(written); m.hasMatch()) {
        if (!placeholders.contains(m.captured(1)))
            throw SchemaError(QStringLiteral("%1: valor desconhecido ${%2}").arg(where, m.captured(1)));
        value = placeholders.value(m.captured(1));
        if (value.isNull())
            return QVariant();
    } else {
        value = written;
    }

    bool ok = true;
    switch (column.type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: {
        const qlonglong n = value.toLongLong(&ok);
        const qlonglong limit = column.type == FieldType::Int16   ? 32767
                                : column.type == FieldType::Int32 ? 2147483647LL
                                                                  : std::numeric_limits<qlonglong>::max();
        if (ok && (n > limit || n < -limit - 1))
            ok = false;
        value = n;
        break;
    }
    case FieldType::Float: value = value.toDouble(&ok); break;
    case FieldType::DateTime: {
        if (value.typeId() == QMetaType::QDateTime)
            break;
        if (value.typeId() == QMetaType::QDate) {
            value = value.toDate().startOfDay();
            break;
        }
        const QString text = value.toString();
        QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
        if (!dt.isValid())
            dt = QDate::fromString(text, Qt::ISODate).startOfDay();
        ok = dt.isValid();
        value = dt;
        break;
    }
    case FieldType::Text:
    case FieldType::Memo:
        value = value.toString();
        ok = column.type == FieldType::Memo || value.toString().size() <= column.size;
        break;
    case FieldType::Blob: value = value.toByteArray(); break;
    }
    if (!ok)
        throw SchemaError(
            QStringLiteral("%1: o valor \"%2\" não cabe na coluna %3").arg(where, value.toString(), column.name));
    return value;
}

} // namespace

SchemaError::SchemaError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}

const std::vector<Database>& allDatabases()
{
    static const std::vector<Database> all = {Database::General, Database::Application, Database::Invoicing,
                                              Database::Accounting};
    return all;
}

QString databaseKey(Database database)
{
    switch (database) {
    case Database::General: return QStringLiteral("general");
    case Database::Application: return QStringLiteral("application");
    case Database::Invoicing: return QStringLiteral("invoicing");
    case Database::Accounting: return QStringLiteral("accounting");
    }
    return {};
}

const Column* Table::column(const QString& wanted) const
{
    for (const Column& c : columns)
        if (c.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QStringList Table::keyColumns() const
{
    QStringList keys;
    for (const Column& c : columns)
        if (c.key)
            keys << c.name;
    return keys;
}

QStringList Table::columnNames() const
{
    QStringList names;
    for (const Column& c : columns)
        names << c.name;
    return names;
}

const Schema& Schema::standard()
{
    static const Schema schema = [] {
        Schema s;
        for (Database database : allDatabases()) {
            const QString folder = QStringLiteral(":/schema/") + databaseKey(database);
            const QStringList files = QDir(folder).entryList({QStringLiteral("*.ddl")}, QDir::Files, QDir::Name);
            for (const QString& name : files) {
                QFile file(folder + QLatin1Char('/') + name);
                if (!file.open(QIODevice::ReadOnly))
                    throw SchemaError(QStringLiteral("Não foi possível ler %1").arg(file.fileName()));
                s.addDefinition(database, QFileInfo(name).completeBaseName(), QString::fromUtf8(file.readAll()),
                                databaseKey(database) + QLatin1Char('/') + name);
            }
        }
        s.checkRows();
        return s;
    }();
    return schema;
}

void Schema::addDefinition(Database database, const QString& subsystem, const QString& text, const QString& origin)
{
    const QString source = origin.isEmpty() ? subsystem : origin;
    enum class Block { None, Table, Rows } block = Block::None;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        // Formatted only for a message: the definition is read at every start.
        const auto where = [&source, i] { return QStringLiteral("%1:%2").arg(source).arg(i + 1); };
        const bool indented = lines[i].startsWith(QLatin1Char(' ')) || lines[i].startsWith(QLatin1Char('\t'));
        // A row's values may hold "--"; there only whole-line comments count.
        const QString line = indented && block == Block::Rows && !lines[i].trimmed().startsWith(QLatin1String("--"))
                                 ? lines[i].trimmed()
                                 : stripComment(lines[i]);
        if (line.isEmpty())
            continue;
        // Read at every program start: no pattern matching per line.
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);

        if (!indented && words[0] == QLatin1String("table")) {
            if (words.size() != 2 || !isIdentifier(words[1]))
                throw SchemaError(QStringLiteral("%1: \"table NOME\" esperado").arg(where()));
            if (table(database, words[1]))
                throw SchemaError(QStringLiteral("%1: a tabela %2 já está definida").arg(where(), words[1]));
            m_tables.push_back({words[1].toUpper(), database, subsystem, {}, {}});
            block = Block::Table;
        } else if (!indented && (words[0] == QLatin1String("rows") || words[0] == QLatin1String("demo"))) {
            static const QRegularExpression re(
                QStringLiteral("^(demo\\s+(yearly\\s+)?)?rows\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*\\(([^)]*)\\)$"));
            const auto m = re.match(line);
            if (!m.hasMatch())
                throw SchemaError(
                    QStringLiteral("%1: \"[demo [yearly]] rows TABELA (COLUNA, ...)\" esperado").arg(where()));
            const RowScope scope = m.captured(1).isEmpty()   ? RowScope::Installation
                                   : m.captured(2).isEmpty() ? RowScope::Demo
                                                             : RowScope::DemoYear;
            RowSet rows{m.captured(3).toUpper(), database, {}, {}, where(), scope};
            for (const QString& c : m.captured(4).split(QLatin1Char(','), Qt::SkipEmptyParts))
                rows.columns << c.trimmed().toUpper();
            m_rows.push_back(rows);
            block = Block::Rows;
        } else if (indented && block == Block::Table && words[0] == QLatin1String("index")) {
            m_tables.back().indexes.push_back(parseIndex(line, m_tables.back(), where));
        } else if (indented && block == Block::Table) {
            Table& current = m_tables.back();
            Column column = parseColumn(words, where);
            if (current.column(column.name))
                throw SchemaError(
                    QStringLiteral("%1: a coluna %2 repete-se em %3").arg(where(), column.name, current.name));
            current.columns.push_back(column);
        } else if (indented && block == Block::Rows) {
            RowSet& rows = m_rows.back();
            QStringList values;
            for (const QString& v : line.split(QLatin1Char('|')))
                values << v.trimmed();
            if (values.size() != rows.columns.size())
                throw SchemaError(QStringLiteral("%1: %2 valores para %3 colunas")
                                      .arg(where())
                                      .arg(values.size())
                                      .arg(rows.columns.size()));
            rows.values.push_back(values);
        } else {
            throw SchemaError(QStringLiteral("%1: linha inesperada \"%2\"").arg(where(), line));
        }
    }
    for (const Table& t : m_tables)
        if (t.columns.empty())
            throw SchemaError(QStringLiteral("%1: a tabela %2 não tem colunas").arg(source, t.name));
}

std::vector<const Table*> Schema::tables(Database database) const
{
    std::vector<const Table*> result;
    for (const Table& t : m_tables)
        if (t.database == database)
            result.push_back(&t);
    return result;
}

const Table* Schema::table(Database database, const QString& name) const
{
    for (const Table& t : m_tables)
        if (t.database == database && t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

std::vector<const RowSet*> Schema::rows(Database database) const
{
    std::vector<const RowSet*> result;
    for (const RowSet& r : m_rows)
        if (r.database == database)
            result.push_back(&r);
    return result;
}

std::vector<const RowSet*> Schema::rows(Database database, RowScope scope) const
{
    std::vector<const RowSet*> result;
    for (const RowSet* r : rows(database))
        if (r->scope == scope)
            result.push_back(r);
    return result;
}

QString sqlType(FieldType type, int size, Dialect dialect)
{
    return kv::db::sql::columnType(dialect, type, size);
}

QString Schema::createStatement(const Table& table, Dialect dialect) const
{
    QStringList parts;
    for (const Column& c : table.columns)
        parts << QStringLiteral("%1 %2%3").arg(c.name, sqlType(c.type, c.size, dialect),
                                               c.key ? QStringLiteral(" NOT NULL") : QString());
    const QStringList keys = table.keyColumns();
    if (!keys.isEmpty())
        parts << QStringLiteral("CONSTRAINT PK_%1 PRIMARY KEY (%2)").arg(table.name, keys.join(QStringLiteral(", ")));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, parts.join(QStringLiteral(", ")));
}

QStringList Schema::indexStatements(const Table& table) const
{
    QStringList statements;
    for (const Index& index : table.indexes)
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(index.name, table.name, index.columns.join(QStringLiteral(", ")));
    return statements;
}

QStringList Schema::createStatements(Database database, Dialect dialect) const
{
    QStringList statements;
    for (const Table* t : tables(database))
        statements << createStatement(*t, dialect) << indexStatements(*t);
    return statements;
}

void Schema::checkRows() const
{
    for (const RowSet& rows : m_rows) {
        const Table* target = table(rows.database, rows.table);
        if (!target)
            throw SchemaError(QStringLiteral("%1: tabela %2 desconhecida").arg(rows.origin, rows.table));
        for (const QString& c : rows.columns)
            if (!target->column(c))
                throw SchemaError(QStringLiteral("%1: coluna %2 desconhecida em %3").arg(rows.origin, c, target->name));
    }
}

void Schema::insertRows(kv::db::Connection& connection, const RowSet& rows,
                        const QHash<QString, QVariant>& placeholders, bool skipExisting) const
{
    const Table* target = table(rows.database, rows.table);
    QStringList markers;
    for (const QString& c : rows.columns)
        markers << QLatin1Char(':') + c;
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(target->name, rows.columns.join(QStringLiteral(", ")), markers.join(QStringLiteral(", ")));
    // A row is there already when its whole key is; a set without the whole
    // key cannot tell, and its rows are inserted.
    const QStringList keys = target->keyColumns();
    QStringList keyTest;
    for (const QString& key : keys)
        keyTest << QStringLiteral("%1 = :%1").arg(key);
    const bool canSkip =
        skipExisting && !keys.isEmpty()
        && std::all_of(keys.cbegin(), keys.cend(), [&rows](const QString& key) { return rows.columns.contains(key); });
    const QString exists =
        QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(target->name, keyTest.join(QStringLiteral(" AND ")));
    for (const QStringList& values : rows.values) {
        kv::db::Params params;
        for (int i = 0; i < rows.columns.size(); ++i)
            params.set(rows.columns[i],
                       rowValue(values[i], *target->column(rows.columns[i]), placeholders, rows.origin));
        if (canSkip) {
            kv::db::Params key;
            for (const QString& column : keys)
                key.set(column, params.value(column));
            if (!connection.scalar(exists, key).isNull())
                continue;
        }
        connection.exec(insert, params);
    }
}

void Schema::create(kv::db::Connection& connection, Database database, const QHash<QString, QVariant>& placeholders,
                    bool demo) const
{
    checkRows();
    kv::db::Transaction transaction(connection);
    for (const QString& statement : createStatements(database, connection.dialect()))
        connection.exec(statement);
    for (const RowSet* rows : rows(database)) {
        if (rows->scope == RowScope::Installation || (demo && rows->scope == RowScope::Demo))
            insertRows(connection, *rows, placeholders, false);
    }
    transaction.commit();
}

void Schema::addMissingRows(kv::db::Connection& connection, Database database, RowScope scope,
                            const QHash<QString, QVariant>& placeholders, const QStringList& tables) const
{
    checkRows();
    // The rows of a table or column that a version step of the program adds
    // wait for that step: it adds them itself.
    const QHash<QString, QStringList> present = connection.tableColumns();
    const auto arrived = [&present](const RowSet& rows) {
        const QStringList columns = present.value(rows.table.toUpper());
        return std::all_of(rows.columns.cbegin(), rows.columns.cend(),
                           [&columns](const QString& column) { return columns.contains(column, Qt::CaseInsensitive); });
    };
    kv::db::Transaction transaction(connection);
    for (const RowSet* rows : rows(database, scope))
        if (arrived(*rows) && (tables.isEmpty() || tables.contains(rows->table, Qt::CaseInsensitive)))
            insertRows(connection, *rows, placeholders, true);
    transaction.commit();
}

} // namespace kv::schema
