#include "quotes/core/QuoteLookupList.h"

#include "quotes/core/WorksheetReferences.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

namespace kv::quotes {

namespace {

struct ListShape {
    QString columns;
    QString from; // FROM and WHERE without the window's key condition
    QString key; // the column the window is cut on
    QString ascending; // the list's order
    QString descending;
};

ListShape shape(QuoteLookupList::Kind kind, const kv::db::Connection& connection)
{
    using Kind = QuoteLookupList::Kind;
    switch (kind) {
    case Kind::Quotes:
        // Neither the row nor its quote's summary row approved; the key's
        // order walks the primary key and stops when the screen is full.
        return {QStringLiteral("M.CODIGO, M.SUBCODIGO, M.CLINRO, M.NOME, M.NOSREF"),
                QStringLiteral("FROM ORCMAS M WHERE M.SUBCODIGO <> 99 AND (M.APROVADO IS NULL OR M.APROVADO <> 'S') "
                               "AND NOT EXISTS (SELECT 1 FROM ORCMAS T WHERE T.CODIGO = M.CODIGO "
                               "AND T.SUBCODIGO = 99 AND T.APROVADO = 'S')"),
                QStringLiteral("M.CODIGO"), QStringLiteral("M.CODIGO, M.SUBCODIGO"),
                QStringLiteral("M.CODIGO DESC, M.SUBCODIGO DESC")};
    case Kind::BaseByNumber:
        return {QStringLiteral("CODIGO, NOME, SUBCODIGO, DESIGN1"), QStringLiteral("FROM ORCMAS WHERE SUBCODIGO = 99"),
                QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), QStringLiteral("CODIGO DESC")};
    case Kind::BaseByName:
        return {QStringLiteral("CODIGO, NOME, SUBCODIGO, DESIGN1"), QStringLiteral("FROM ORCMAS WHERE SUBCODIGO = 99"),
                QStringLiteral("NOME"), QStringLiteral("NOME, CODIGO"), QStringLiteral("NOME DESC, CODIGO DESC")};
    case Kind::CustomersByCode:
        return {QStringLiteral("CODIGO, NOME, MERCADO"), QStringLiteral("FROM CLIENTES WHERE 1 = 1"),
                QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), QStringLiteral("CODIGO DESC")};
    case Kind::CustomersByName:
        return {QStringLiteral("CODIGO, NOME, MERCADO"), QStringLiteral("FROM CLIENTES WHERE 1 = 1"),
                QStringLiteral("NOME"), QStringLiteral("NOME, CODIGO"), QStringLiteral("NOME DESC, CODIGO DESC")};
    case Kind::ArticlesByCode:
        return {QStringLiteral("CODIGO, DESIGNACAO"),
                QStringLiteral("FROM ARTIGOSCLS WHERE ") + WorksheetReferences::productCondition(connection),
                QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), QStringLiteral("CODIGO DESC")};
    case Kind::ArticlesByDesignation:
        return {QStringLiteral("CODIGO, DESIGNACAO"),
                QStringLiteral("FROM ARTIGOSCLS WHERE ") + WorksheetReferences::productCondition(connection),
                QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNACAO, CODIGO"),
                QStringLiteral("DESIGNACAO DESC, CODIGO DESC")};
    case Kind::PostalCodes:
        return {QStringLiteral("CODPOSTAL, LOCALIDADE, PROVINCIA, REGIAO"), QStringLiteral("FROM CODPOSTAL WHERE 1 = 1"),
                QStringLiteral("CODPOSTAL"), QStringLiteral("CODPOSTAL"), QStringLiteral("CODPOSTAL DESC")};
    }
    return {};
}

QString datasetName(QuoteLookupList::Kind kind)
{
    using Kind = QuoteLookupList::Kind;
    switch (kind) {
    case Kind::Quotes: return QStringLiteral("ORCMAS");
    case Kind::BaseByNumber:
    case Kind::BaseByName: return QStringLiteral("ORCBASE");
    case Kind::CustomersByCode:
    case Kind::CustomersByName: return QStringLiteral("CLIENTES");
    case Kind::ArticlesByCode:
    case Kind::ArticlesByDesignation: return QStringLiteral("ARTIGOSCLS");
    case Kind::PostalCodes: return QStringLiteral("CODPOSTAL");
    }
    return {};
}

// The outer order names the result's columns, without the table's alias.
QString resultOrder(const ListShape& s) { return QString(s.ascending).remove(QStringLiteral("M.")); }

} // namespace

QuoteLookupList::QuoteLookupList(std::shared_ptr<kv::db::Connection> application, Kind kind)
    : m_kind(kind), m_list(std::make_unique<kv::db::Dataset>(datasetName(kind)))
{
    m_list->setConnection(std::move(application));
}

QuoteLookupList::~QuoteLookupList() = default;

QString QuoteLookupList::keyField() const
{
    switch (m_kind) {
    case Kind::BaseByName:
    case Kind::CustomersByName: return QStringLiteral("NOME");
    case Kind::ArticlesByDesignation: return QStringLiteral("DESIGNACAO");
    case Kind::PostalCodes: return QStringLiteral("CODPOSTAL");
    default: return QStringLiteral("CODIGO");
    }
}

bool QuoteLookupList::numericKey() const
{
    return m_kind == Kind::Quotes || m_kind == Kind::BaseByNumber || m_kind == Kind::CustomersByCode;
}

void QuoteLookupList::open()
{
    const ListShape s = shape(m_kind, *m_list->connection());
    m_list->close();
    m_list->setSql(QStringLiteral("SELECT %1, 1 AS JANELA %2 ORDER BY %3 LIMIT %4")
                       .arg(s.columns, s.from, s.ascending)
                       .arg(RowsBefore + RowsAfter));
    m_list->open();
}

void QuoteLookupList::openWindow(const QVariant& key)
{
    const ListShape s = shape(m_kind, *m_list->connection());
    // JANELA tells the rows before the key (0) from those at or after it (1).
    m_list->close();
    m_list->setSql(QStringLiteral("SELECT * FROM (SELECT %1, 0 AS JANELA %2 AND %3 < :CHAVE ORDER BY %4 LIMIT %6) B "
                                  "UNION ALL "
                                  "SELECT * FROM (SELECT %1, 1 AS JANELA %2 AND %3 >= :CHAVE ORDER BY %5 LIMIT %7) A "
                                  "ORDER BY %8")
                       .arg(s.columns, s.from, s.key, s.descending, s.ascending)
                       .arg(RowsBefore)
                       .arg(RowsAfter)
                       .arg(resultOrder(s)));
    m_list->setParam(QStringLiteral("CHAVE"), key);
    m_list->open();
    m_list->first();
    while (!m_list->eof() && m_list->value(QStringLiteral("JANELA")).toInt() == 0)
        m_list->next();
    if (m_list->eof())
        m_list->last();
}

bool QuoteLookupList::position(const QString& typed)
{
    if (!numericKey()) {
        openWindow(typed);
        return true;
    }
    bool ok = false;
    const int number = typed.trimmed().toInt(&ok);
    if (!ok)
        return false;
    openWindow(number);
    return true;
}

} // namespace kv::quotes
