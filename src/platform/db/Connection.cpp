#include "platform/db/Connection.h"

#include "platform/db/engine/NativeConnection.h"
#include "platform/db/engine/PgConnection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

namespace kv::db {

int QueryResult::columnIndex(const QString& name) const
{
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QVariant QueryResult::value(std::size_t row, const QString& column) const
{
    const int index = columnIndex(column);
    if (row >= rows.size() || index < 0)
        return {};
    return rows[row][std::size_t(index)];
}

struct Connection::Impl {
    ConnectionSettings settings;
    QString qtName;
    std::unique_ptr<NativeConnection> native;
    int transactionDepth = 0;

    ~Impl()
    {
        native.reset();
        if (!qtName.isEmpty()) {
            {
                QSqlDatabase db = QSqlDatabase::database(qtName, false);
                db.close();
            }
            QSqlDatabase::removeDatabase(qtName);
        }
    }

    long long exec(const QString& sql, const Params& params = {})
    {
        const NamedSql named(sql, settings.dialect);
        return native->exec(named, named.bind(params));
    }
};

namespace {

[[noreturn]] void refuse(const ConnectionSettings& settings, const QString& driverText)
{
    throw DbError(DbError::Kind::Connection,
                  QStringLiteral("Não foi possível ligar à base de dados «%1».").arg(settings.alias), driverText);
}

} // namespace

std::shared_ptr<Connection> Connection::open(const ConnectionSettings& settings)
{
    static QAtomicInt counter;
    auto impl = std::make_unique<Impl>();
    impl->settings = settings;
    const bool sqlite = settings.dialect == Dialect::Sqlite;
    if (sqlite && settings.mustExist && !QFileInfo::exists(settings.database))
        throw DbError(DbError::Kind::Connection,
                      QStringLiteral("A base de dados «%1» não existe: falta o ficheiro «%2».")
                          .arg(settings.alias, settings.database));

    const QString name = QStringLiteral("kv_db_%1_%2").arg(counter.fetchAndAddRelaxed(1) + 1).arg(settings.alias);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name);
        impl->qtName = name;
        if (!db.isValid())
            refuse(settings, QStringLiteral("O controlador %1 não está instalado.").arg(db.driverName()));
        db.setDatabaseName(settings.database);
        if (!sqlite) {
            db.setHostName(settings.host);
            db.setPort(settings.port);
            db.setUserName(settings.user);
            db.setPassword(settings.password);
            db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        }
        if (!db.open())
            refuse(settings, db.lastError().text());
        impl->native = NativeConnection::create(settings.dialect, db.driver()->handle(), settings.alias);
    }

    std::shared_ptr<Connection> connection(new Connection(std::move(impl)));
    try {
        if (sqlite) {
            // Readers do not block writers of other connections under WAL: a
            // dataset still reading on one workstation must not stop another's
            // apply. A file that cannot take it (read-only folder) keeps its journal.
            try {
                connection->query(QStringLiteral("PRAGMA journal_mode = WAL"));
            } catch (const DbError&) {
            }
        } else {
            connection->exec(QStringLiteral("SET client_min_messages = warning"));
            const QString collation = sql::textCollation(Dialect::Postgres);
            if (!connection
                     ->scalar(QStringLiteral("SELECT 1 FROM pg_collation WHERE collname = :NAME"),
                              {{QStringLiteral("NAME"), collation}})
                     .isValid()) {
                try {
                    connection->exec(QStringLiteral("CREATE COLLATION IF NOT EXISTS %1 (provider = icu, "
                                                    "locale = 'pt-PT-u-ks-level2', deterministic = false)")
                                         .arg(collation));
                } catch (const DbError&) {
                    // Without the right to create it the schema cannot use it either;
                    // the DDL that names it reports that clearly.
                }
            }
        }
    } catch (const DbError& e) {
        refuse(settings, e.fullText());
    }
    return connection;
}

Connection::Connection(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

Connection::~Connection() = default;

const ConnectionSettings& Connection::settings() const { return d->settings; }

long long Connection::exec(const QString& sql, const Params& params) { return d->exec(sql, params); }

QueryResult Connection::query(const QString& sql, const Params& params)
{
    const NamedSql named(sql, d->settings.dialect);
    return d->native->query(named, named.bind(params));
}

QVariant Connection::scalar(const QString& sql, const Params& params)
{
    const QueryResult result = query(sql, params);
    if (result.rows.empty() || result.rows.front().empty())
        return {};
    return result.rows.front().front();
}

bool Connection::tableExists(const QString& table)
{
    const QString sql =
        dialect() == Dialect::Sqlite
            ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = :T COLLATE NOCASE")
            : QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                             "AND lower(table_name) = lower(:T)");
    return scalar(sql, {{QStringLiteral("T"), table}}).isValid();
}

bool Connection::columnExists(const QString& table, const QString& column)
{
    const QString sql =
        dialect() == Dialect::Sqlite
            ? QStringLiteral("SELECT 1 FROM pragma_table_info(:T) WHERE name = :C COLLATE NOCASE")
            : QStringLiteral("SELECT 1 FROM information_schema.columns WHERE table_schema = current_schema() "
                             "AND lower(table_name) = lower(:T) AND lower(column_name) = lower(:C)");
    return scalar(sql, {{QStringLiteral("T"), table}, {QStringLiteral("C"), column}}).isValid();
}

QHash<QString, QStringList> Connection::tableColumns()
{
    const QString sql =
        dialect() == Dialect::Sqlite
            ? QStringLiteral("SELECT m.name, c.name FROM sqlite_master m, pragma_table_info(m.name) c "
                             "WHERE m.type IN ('table', 'view') ORDER BY m.name, c.cid")
            : QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                             "WHERE table_schema = current_schema() ORDER BY table_name, ordinal_position");
    const bool postgres = dialect() == Dialect::Postgres;
    QHash<QString, QStringList> tables;
    for (const std::vector<QVariant>& row : query(sql).rows) {
        const QString column = row[1].toString();
        tables[row[0].toString().toUpper()].append(postgres ? pgColumnName(column) : column);
    }
    return tables;
}

bool Connection::inTransaction() const { return d->transactionDepth > 0; }

NativeConnection& Connection::native() { return *d->native; }

// Nested transactions become savepoints, so a write sequence of the core can
// include an apply of cached updates, which opens its own transaction.
// On SQLite a transaction that will write takes the write lock as it begins:
// one that read first and wrote later would fail at once ("database is
// locked") when another workstation committed in between, without the busy
// timeout ever applying; taken up front, workstations wait their turn instead.
Transaction::Transaction(Connection& connection, TransactionMode mode) : m_connection(connection)
{
    auto& d = *connection.d;
    const bool immediate = mode == TransactionMode::Write && d.settings.dialect == Dialect::Sqlite;
    d.exec(d.transactionDepth == 0 ? (immediate ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"))
                                   : QStringLiteral("SAVEPOINT kv_sp_%1").arg(d.transactionDepth));
    ++d.transactionDepth;
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    if (!m_open)
        throw DbError(DbError::Kind::State, QStringLiteral("A transação já terminou."));
    auto& d = *m_connection.d;
    m_open = false;
    --d.transactionDepth;
    try {
        d.exec(d.transactionDepth == 0 ? QStringLiteral("COMMIT")
                                       : QStringLiteral("RELEASE SAVEPOINT kv_sp_%1").arg(d.transactionDepth));
    } catch (...) {
        try {
            d.exec(d.transactionDepth == 0
                       ? QStringLiteral("ROLLBACK")
                       : QStringLiteral("ROLLBACK TO SAVEPOINT kv_sp_%1; RELEASE SAVEPOINT kv_sp_%1")
                             .arg(d.transactionDepth));
        } catch (...) {
        }
        throw;
    }
}

void Transaction::rollback()
{
    if (!m_open)
        return;
    auto& d = *m_connection.d;
    m_open = false;
    --d.transactionDepth;
    d.exec(d.transactionDepth == 0
               ? QStringLiteral("ROLLBACK")
               : QStringLiteral("ROLLBACK TO SAVEPOINT kv_sp_%1; RELEASE SAVEPOINT kv_sp_%1").arg(d.transactionDepth));
}

} // namespace kv::db
