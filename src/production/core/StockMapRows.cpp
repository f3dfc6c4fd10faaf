#include "production/core/StockMapRows.h"

#include "platform/db/Connection.h"

namespace kv::production {
namespace {

// Well under the engines' limits on bound parameters per statement, and
// small enough that naming the parameters stays cheap (a statement's
// parameters are looked up by name).
constexpr int stockMapReadBatch = 250;
constexpr int stockMapInsertParameters = 96;

} // namespace

QString articleKey(const QString& code) { return code.toUpper(); }

QString stockMapKey(const QStringList& parts) { return articleKey(parts.join(QLatin1Char('\t'))); }

void addFigures(QHash<QString, double>& figures, const kv::db::QueryResult& rows)
{
    for (const auto& row : rows.rows) {
        QStringList parts;
        for (std::size_t c = 0; c + 1 < row.size(); ++c)
            parts << row.at(c).toString();
        figures[stockMapKey(parts)] += row.back().toDouble();
    }
}

QHash<QString, double> figuresByArticle(kv::db::Connection& db, const QString& sql, const QStringList& codes,
                                        const kv::db::Params& params)
{
    QHash<QString, double> figures;
    for (qsizetype start = 0; start < codes.size(); start += stockMapReadBatch) {
        kv::db::Params bound = params;
        QStringList names;
        const qsizetype end = std::min<qsizetype>(codes.size(), start + stockMapReadBatch);
        for (qsizetype i = start; i < end; ++i) {
            const QString name = QStringLiteral("BATCHCODE%1").arg(i - start);
            names << QLatin1Char(':') + name;
            bound.set(name, codes.at(i));
        }
        addFigures(figures, db.query(sql.arg(names.join(QStringLiteral(", "))), bound));
    }
    return figures;
}

void insertRowBatches(kv::db::Connection& db, const QString& table, const QStringList& columns,
                      const std::vector<std::vector<QVariant>>& rows)
{
    if (columns.isEmpty())
        return;
    const std::size_t perStatement = std::max<std::size_t>(1, stockMapInsertParameters / columns.size());
    for (std::size_t start = 0; start < rows.size(); start += perStatement) {
        const std::size_t end = std::min(rows.size(), start + perStatement);
        QStringList tuples;
        kv::db::Params bound;
        for (std::size_t r = start; r < end; ++r) {
            QStringList names;
            for (qsizetype c = 0; c < columns.size(); ++c) {
                const QString name = QStringLiteral("R%1_%2").arg(r - start).arg(c);
                names << QLatin1Char(':') + name;
                bound.set(name, rows[r].at(static_cast<std::size_t>(c)));
            }
            tuples << QLatin1Char('(') + names.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                    .arg(table, columns.join(QStringLiteral(", ")), tuples.join(QStringLiteral(", "))),
                bound);
    }
}

} // namespace kv::production
