#include "costing/core/ArticleLists.h"

#include "costing/core/SqlName.h"

namespace kv::costing {

using kv::db::Dataset;
using kv::db::DatasetMode;
using kv::db::Dialect;

namespace {

// The article type as a number; text that is not a number counts as 0, on
// both engines (PostgreSQL refuses to cast it, and matches patterns only
// under a deterministic collation).
QString articleTypeNumber(Dialect dialect)
{
    if (dialect == Dialect::Postgres)
        return QStringLiteral("CAST(CASE WHEN TRIM(TIPOARTIGO) COLLATE \"C\" ~ '^[0-9]{1,9}$' "
                              "THEN TRIM(TIPOARTIGO) ELSE '0' END AS INTEGER)");
    return QStringLiteral("CAST(TRIM(TIPOARTIGO) AS INTEGER)");
}

QString listSql(const QStringList& columns, const ArticleTypeCondition& condition, Dialect dialect,
                const QString& order)
{
    return QStringLiteral("SELECT %1 FROM ARTIGOSCLS WHERE %2 ORDER BY %3")
        .arg(sqlNames(columns).join(QStringLiteral(", ")), condition.sql(dialect), order);
}

std::unique_ptr<Dataset> readOnlyList(const QString& name, std::shared_ptr<kv::db::Connection> connection,
                                      const QString& sql)
{
    auto list = std::make_unique<Dataset>(name);
    list->setConnection(std::move(connection));
    list->setMode(DatasetMode::ReadOnly);
    list->setSql(sql);
    return list;
}

} // namespace

QString ArticleTypeCondition::sql(Dialect dialect) const
{
    const char* comparison = op == Op::Above ? ">" : op == Op::NotEqual ? "<>" : "=";
    return QStringLiteral("%1 %2 %3").arg(articleTypeNumber(dialect), QLatin1String(comparison)).arg(value);
}

ArticleLists::ArticleLists(std::shared_ptr<kv::db::Connection> invoicing, ArticleListSpec spec)
{
    const Dialect dialect = invoicing->dialect();
    m_numeric = readOnlyList(QStringLiteral("ARTIGOSCLS"), invoicing, numericSql(spec, dialect));
    m_alphabetic = readOnlyList(QStringLiteral("ARTIGOSALFA"), invoicing, alphabeticSql(spec, dialect));
}

ArticleLists::~ArticleLists() = default;

QString ArticleLists::numericSql(const ArticleListSpec& spec, Dialect dialect)
{
    return listSql(spec.numericColumns, spec.condition, dialect, QStringLiteral("CODIGO"));
}

QString ArticleLists::alphabeticSql(const ArticleListSpec& spec, Dialect dialect)
{
    return listSql(spec.alphabeticColumns, spec.condition, dialect, QStringLiteral("DESIGNACAO"));
}

void ArticleLists::open()
{
    m_numeric->open();
    m_alphabetic->open();
}

void ArticleLists::close()
{
    m_numeric->close();
    m_alphabetic->close();
}

bool ArticleLists::locate(const QString& code)
{
    if (code.isEmpty() || !m_numeric->isOpen())
        return false;
    return m_numeric->locate(QStringLiteral("CODIGO"), code);
}

std::vector<std::pair<QString, QVariant>> ArticleLists::copiedValues(const std::vector<CopiedColumn>& columns) const
{
    std::vector<std::pair<QString, QVariant>> values;
    for (const CopiedColumn& column : columns) {
        if (column.cost)
            values.emplace_back(column.target, articleCost(m_numeric->value(QStringLiteral("PMCUSTO")),
                                                           m_numeric->value(QStringLiteral("CUSTOPADRAO"))));
        else
            values.emplace_back(column.target, m_numeric->value(column.source));
    }
    return values;
}

double articleCost(const QVariant& averageCost, const QVariant& standardCost)
{
    const double average = averageCost.isNull() ? 0.0 : averageCost.toDouble();
    return average > 0.0 ? average : (standardCost.isNull() ? 0.0 : standardCost.toDouble());
}

QString unknownArticleMessage(const QString& typed)
{
    return QStringLiteral("Artigo Inexistente ou Inválido !!! ") + typed;
}

} // namespace kv::costing
