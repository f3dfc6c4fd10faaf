#include "platform/db/NamedSql.h"

#include "platform/db/DbError.h"

namespace kv::db {

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); }

} // namespace

NamedSql::NamedSql(const QString& sql, Dialect dialect) : m_source(sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype end) {
        out += QStringView(sql).mid(i, end - i);
        i = end;
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text or identifier; a doubled quote stays inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            copyUntil(std::min(j + 1, n));
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            copyUntil(j < 0 ? n : j);
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            copyUntil(j < 0 ? n : j + 2);
        } else if (c == QLatin1Char('$') && dialect == Dialect::Postgres && i + 1 < n
                   && (sql[i + 1] == QLatin1Char('$') || isNameStart(sql[i + 1]))) {
            // Dollar-quoted body ($$...$$ or $tag$...$tag$).
            qsizetype j = i + 1;
            while (j < n && sql[j] != QLatin1Char('$') && isNameChar(sql[j]) && sql[j] != QLatin1Char('.'))
                ++j;
            if (j < n && sql[j] == QLatin1Char('$')) {
                const QString tag = sql.mid(i, j - i + 1);
                qsizetype end = sql.indexOf(tag, j + 1);
                copyUntil(end < 0 ? n : end + tag.size());
            } else {
                copyUntil(j);
            }
        } else if (c == QLatin1Char(':')) {
            if (i + 1 < n && sql[i + 1] == QLatin1Char(':')) {
                copyUntil(i + 2);
                continue;
            }
            if (i + 1 < n && isNameStart(sql[i + 1])) {
                qsizetype j = i + 1;
                while (j < n && isNameChar(sql[j]))
                    ++j;
                while (sql[j - 1] == QLatin1Char('.')) // a name never ends with the dot
                    --j;
                const QString name = sql.mid(i + 1, j - i - 1);
                qsizetype index = -1;
                for (qsizetype k = 0; k < m_names.size(); ++k)
                    if (m_names[k].compare(name, Qt::CaseInsensitive) == 0)
                        index = k;
                if (index < 0) {
                    index = m_names.size();
                    m_names << name;
                }
                out += (dialect == Dialect::Sqlite ? QLatin1Char('?') : QLatin1Char('$')) + QString::number(index + 1);
                i = j;
                continue;
            }
            copyUntil(i + 1);
        } else {
            ++i;
            out += c;
        }
    }
    m_text = out.toUtf8();
}

std::vector<QVariant> NamedSql::bind(const Params& params) const
{
    std::vector<QVariant> values;
    values.reserve(static_cast<std::size_t>(m_names.size()));
    for (const QString& name : m_names) {
        if (!params.contains(name))
            throw DbError(DbError::Kind::Statement,
                          QStringLiteral("O parâmetro «%1» da instrução não tem valor.").arg(name), m_source);
        values.push_back(params.value(name));
    }
    return values;
}

} // namespace kv::db
