#include "customers/articles/ArticleFile.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"

#include <limits>

namespace kv::customers {

namespace {

enum class Kind { Text, Float, Int16, Int32 };

struct SavedColumn {
    const char* name;
    Kind kind;
    int width; // texts
};

// The columns the save writes from the form's fields, in the order of the
// insert.
const SavedColumn SavedColumns[] = {
    {"CODIGO", Kind::Text, 16},      {"DESIGNACAO", Kind::Text, 40},  {"DESIGNACAO1", Kind::Text, 40},
    {"DESIGNACAO2", Kind::Text, 40}, {"TIPOARTIGO", Kind::Text, 2},   {"VOSREF", Kind::Text, 15},
    {"POSPAUTAL", Kind::Text, 18},   {"FAMILIA", Kind::Text, 20},     {"CCUSTO", Kind::Text, 8},
    {"UNVENDA", Kind::Text, 3},      {"UNCOMPRA", Kind::Text, 3},     {"UNCONV", Kind::Text, 3},
    {"FACTCONV", Kind::Float, 0},    {"PESO", Kind::Float, 0},        {"VOLUME", Kind::Float, 0},
    {"COMPRIM", Kind::Float, 0},     {"LARGURA", Kind::Float, 0},     {"ALTURA", Kind::Float, 0},
    {"PRECO1", Kind::Float, 0},      {"PRECO2", Kind::Float, 0},      {"PRECO3", Kind::Float, 0},
    {"PRECO4", Kind::Float, 0},      {"CUSTOPADRAO", Kind::Float, 0}, {"STKMIN", Kind::Float, 0},
    {"STKMAX", Kind::Float, 0},      {"PTOENC", Kind::Float, 0},      {"COMPOSICAO", Kind::Int32, 0},
    {"CODIVA", Kind::Int32, 0},      {"COMISSAO", Kind::Int32, 0},    {"CUSTOM1", Kind::Int16, 0},
    {"CUSTOM2", Kind::Int16, 0},     {"CUSTOM3", Kind::Int16, 0},     {"CUSTOM4", Kind::Int16, 0},
    {"CUSTOM5", Kind::Int16, 0},     {"CUSTOM6", Kind::Int16, 0},     {"CUSTOM7", Kind::Int16, 0},
    {"CUSTOM8", Kind::Int16, 0},     {"CUSTOM9", Kind::Int16, 0},
};

ArticleSaveResult refused(const QString& column, const QString& message)
{
    return {ArticleSaveResult::Outcome::Refused, column, message};
}

} // namespace

const QString ArticleFile::Table = QStringLiteral("ARTIGOSCLS");

ArticleFile::ArticleFile(std::shared_ptr<kv::db::Connection> invoicing, QString workstation, QString user,
                         std::shared_ptr<kv::db::Connection> accounting)
    : m_db(std::move(invoicing)), m_accounting(std::move(accounting)),
      m_claims(*m_db, std::move(workstation), std::move(user))
{
}

QVariantMap ArticleFile::codeRow(const QString& table, const QStringList& keyColumns, const QVariantList& keys)
{
    QStringList conditions;
    kv::db::Params params;
    for (int i = 0; i < keyColumns.size() && i < keys.size(); ++i) {
        if (!keys.at(i).isValid() || keys.at(i).toString().trimmed().isEmpty())
            return {};
        conditions << QStringLiteral("%1 = :K%2").arg(keyColumns.at(i)).arg(i);
        params.set(QStringLiteral("K%1").arg(i), keys.at(i));
    }
    const kv::db::QueryResult rows = m_db->query(
        QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table, conditions.join(QStringLiteral(" AND "))), params);
    QVariantMap row;
    if (!rows.isEmpty())
        for (qsizetype c = 0; c < rows.columns.size(); ++c)
            row.insert(rows.columns.at(c).toUpper(), rows.rows.front().at(static_cast<std::size_t>(c)));
    return row;
}

QVariantMap ArticleFile::customisationParameters()
{
    return codeRow(QStringLiteral("PARCUSTOM"), {QStringLiteral("CODIGO")}, {QStringLiteral("1")});
}

QString ArticleFile::groupOfType(const QVariantMap& parameters, const QString& type)
{
    bool ok = false;
    const int n = type.toInt(&ok);
    if (!ok || n < 1 || n > 10 || type != QString::number(n))
        return {};
    return parameters.value(QStringLiteral("GRUPOTIPO%1").arg(n)).toString().trimmed();
}

std::array<QString, 9> ArticleFile::groupTables(const QString& group)
{
    std::array<QString, 9> names;
    if (group.isEmpty())
        return names;
    const kv::db::QueryResult rows =
        m_db->query(QStringLiteral("SELECT TABCOD, TABNOM FROM PARGRUPOS WHERE TABGRUPO = :G"), {{"G", group}});
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        bool ok = false;
        const int n = rows.value(r, QStringLiteral("TABCOD")).toString().trimmed().toInt(&ok);
        if (ok && n >= 1 && n <= 9)
            names[static_cast<std::size_t>(n - 1)] = rows.value(r, QStringLiteral("TABNOM")).toString().trimmed();
    }
    return names;
}

QString ArticleFile::customisationName(const QString& group, int table, long long value)
{
    if (group.isEmpty())
        return {};
    return m_db
        ->scalar(QStringLiteral("SELECT DESIGNACAO FROM CUSTARTG WHERE TABGRUPO = :G AND PAIS = 'PORTUGAL' AND "
                                "TABCOD = :T AND CODIGO = :C"),
                 {{"G", group}, {"T", QString::number(table)}, {"C", value}})
        .toString()
        .trimmed();
}

QString ArticleFile::costCentreName(const QString& year, const QString& code)
{
    if (!m_accounting || code.trimmed().isEmpty())
        return {};
    const kv::db::QueryResult rows =
        m_accounting->query(QStringLiteral("SELECT DESIGN FROM CCUSTO WHERE ANO = :A AND CODIGO = :C AND TIPO = 'L'"),
                            {{"A", year}, {"C", code}});
    if (rows.isEmpty())
        return {};
    const QString name = rows.value(0, QStringLiteral("DESIGN")).toString().trimmed();
    return name.isEmpty() ? QStringLiteral(" ") : name;
}

ArticleCodeCheck ArticleFile::acceptCode(const QString& code)
{
    if (code.trimmed().isEmpty())
        return ArticleCodeCheck::Empty;
    switch (m_claims.claim(Table, QStringLiteral("CODIGO"), code)) {
    case kv::db::RecordClaims::Outcome::Claimed: return ArticleCodeCheck::Accepted;
    case kv::db::RecordClaims::Outcome::Stored: return ArticleCodeCheck::Stored;
    case kv::db::RecordClaims::Outcome::HeldElsewhere: break;
    }
    return ArticleCodeCheck::HeldElsewhere;
}

void ArticleFile::releaseCode(const QString& code)
{
    if (!code.trimmed().isEmpty())
        m_claims.release(Table, code);
}

bool ArticleFile::isStored(const QString& code)
{
    return !m_db->query(QStringLiteral("SELECT 1 FROM ARTIGOSCLS WHERE CODIGO = :CODIGO"), {{"CODIGO", code}})
                .isEmpty();
}

int ArticleFile::textWidth(const QString& column)
{
    for (const SavedColumn& c : SavedColumns)
        if (column == QLatin1String(c.name))
            return c.kind == Kind::Text ? c.width : 0;
    return 0;
}

ArticleSaveResult ArticleFile::save(const ArticleTexts& fields, const QDate& openingDate)
{
    const auto text = [&](const char* column) {
        const auto it = fields.find(QString::fromLatin1(column));
        return it == fields.end() ? QString() : it->second;
    };
    const QString code = text("CODIGO");
    if (code.trimmed().isEmpty())
        return refused(QStringLiteral("CODIGO"), QStringLiteral("ARTIGO INVALIDO ... <ENTER>"));

    // Every value is read before anything is written.
    kv::db::Params values;
    QStringList columns;
    QStringList placeholders;
    for (const SavedColumn& c : SavedColumns) {
        const QString column = QString::fromLatin1(c.name);
        const QString typed = text(c.name);
        QVariant value;
        switch (c.kind) {
        case Kind::Text: value = typed.left(c.width); break;
        case Kind::Float:
            if (typed.trimmed().isEmpty()) {
                value = 0.0;
            } else if (const std::optional<double> number = kv::text::parseNumber(typed)) {
                value = *number;
            } else {
                return refused(column, kv::text::notANumberMessage(typed));
            }
            break;
        case Kind::Int16:
        case Kind::Int32: {
            if (typed.trimmed().isEmpty()) {
                value = 0;
                break;
            }
            const std::optional<qint64> number = kv::text::parseInteger(typed);
            if (!number)
                return refused(column, kv::text::notAnIntegerMessage(typed));
            const qint64 limit =
                c.kind == Kind::Int16 ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
            if (*number > limit || *number < -limit - 1)
                return refused(column,
                               QStringLiteral("\"%1\" excede o valor máximo do campo (%2).").arg(typed).arg(limit));
            value = static_cast<int>(*number);
            break;
        }
        }
        columns << column;
        placeholders << QLatin1Char(':') + column;
        values.set(column, value);
    }
    const std::pair<const char*, QVariant> constants[] = {
        {"CODIGOGRELHA", 0},
        {"GRELHA", QStringLiteral("N")},
        {"ROTURA", QStringLiteral("N")},
        {"DESCONTINUADO", QStringLiteral("N")},
        {"MEDIDAS", QStringLiteral("S")},
        {"NROFOTOS", 0},
        {"DTABERTURA", QDateTime(openingDate, QTime(0, 0))},
    };
    for (const auto& [name, value] : constants) {
        columns << QString::fromLatin1(name);
        placeholders << QLatin1Char(':') + QString::fromLatin1(name);
        values.set(QString::fromLatin1(name), value);
    }

    kv::db::Transaction transaction(*m_db);
    // Checked by key inside the transaction: a stored article is never
    // written over, whatever the form saw when it opened.
    if (isStored(code))
        return {ArticleSaveResult::Outcome::Stored, QStringLiteral("CODIGO"),
                QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>")};
    try {
        m_db->exec(QStringLiteral("INSERT INTO ARTIGOSCLS (%1) VALUES (%2)")
                       .arg(columns.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))),
                   values);
    } catch (const kv::db::DbError& error) {
        // Another workstation stored the code between the check and the insert.
        if (error.kind() == kv::db::DbError::Kind::Constraint)
            return {ArticleSaveResult::Outcome::Stored, QStringLiteral("CODIGO"),
                    QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>")};
        throw;
    }
    m_claims.release(Table, code);
    transaction.commit();
    return {};
}

} // namespace kv::customers
