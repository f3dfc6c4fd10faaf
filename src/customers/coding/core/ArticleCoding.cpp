#include "customers/coding/core/ArticleCoding.h"

#include "platform/db/Connection.h"

namespace kv::customers {

namespace {

const QString Articles = QStringLiteral("ARTIGOSCLS");
const QString CodeColumn = QStringLiteral("CODIGO");
const QString Portugal = QStringLiteral("PORTUGAL");

// Free tables bound nothing but what the numbering has always looked at.
constexpr std::pair<int, int> FreeBounds{0, 999};

// How many stored or claimed codes of a series the numbering passes over
// before it leaves the duplicate to the confirmation.
constexpr int MaxPassedOver = 1000;

NumberMode modeOf(const QString& refer)
{
    if (refer == QLatin1String("N"))
        return NumberMode::None;
    if (refer == QLatin1String("M"))
        return NumberMode::Manual;
    return NumberMode::Automatic;
}

int groupDigit(const QString& group)
{
    if (group.size() != 1 || group[0] < QLatin1Char('1') || group[0] > QLatin1Char('9'))
        return 0;
    return group[0].digitValue();
}

} // namespace

SequenceSettings CodingParameters::sequence(const QString& group) const
{
    const int digit = groupDigit(group);
    return digit == 0 ? SequenceSettings{} : sequences[digit - 1];
}

ArticleCoding::ArticleCoding(std::shared_ptr<kv::db::Connection> invoicing, QString workstation, QString user)
    : m_db(std::move(invoicing)), m_claims(*m_db, std::move(workstation), std::move(user))
{
}

std::optional<CodingParameters> ArticleCoding::readParameters()
{
    const auto result = m_db->query(QStringLiteral("SELECT * FROM PARCUSTOM WHERE CODIGO = :Codigo"),
                                    {{QStringLiteral("Codigo"), QStringLiteral("1")}});
    if (result.isEmpty())
        return std::nullopt;
    const auto text = [&result](const QString& column) { return result.value(0, column).toString().trimmed(); };
    CodingParameters parameters;
    for (int type = 1; type <= 11; ++type)
        parameters.groups[type - 1] = text(QStringLiteral("GRUPOTIPO%1").arg(type));
    for (int group = 1; group <= 9; ++group) {
        SequenceSettings& s = parameters.sequences[group - 1];
        s.mode = modeOf(text(QStringLiteral("REFER%1").arg(group)));
        s.position = result.value(0, QStringLiteral("SEQREFINI%1").arg(group)).toInt();
        s.width = result.value(0, QStringLiteral("REFDIG%1").arg(group)).toInt();
    }
    // Read where the column is there: an older company may not have it yet.
    if (result.columnIndex(QStringLiteral("PAISBASE")) >= 0)
        parameters.baseCountry = text(QStringLiteral("PAISBASE"));
    return parameters;
}

std::optional<QString> ArticleCoding::groupOfType(const CodingParameters& parameters, const QString& type)
{
    bool number = false;
    const int value = type.toInt(&number);
    if (!number || value < 1 || value > 10 || type != QString::number(value))
        return std::nullopt;
    return parameters.groups[value - 1].left(1);
}

std::vector<CodingTable> ArticleCoding::tables(const QString& group)
{
    const auto result = m_db->query(QStringLiteral("SELECT TABCOD, TABNOM, SEQREF, REFER, PAIS FROM PARGRUPOS "
                                                   "WHERE TABGRUPO = :WtabGrupo ORDER BY TABGRUPO, SEQREF, TABCOD"),
                                    {{QStringLiteral("WtabGrupo"), group}});
    std::vector<CodingTable> tables;
    for (const auto& row : result.rows) {
        const QString code = row[0].toString().trimmed();
        bool number = false;
        const int n = code.toInt(&number);
        if (!number || n < 1 || n > 9 || code.size() != 1)
            continue;
        tables.push_back({n, row[1].toString().trimmed(), row[2].toString().trimmed(),
                          row[3].toString().trimmed() == QLatin1String("S"),
                          row[4].toString().trimmed() != QLatin1String("N")});
    }
    return tables;
}

std::optional<CodingValue> ArticleCoding::value(const QString& group, int table, int number)
{
    const auto result =
        m_db->query(QStringLiteral("SELECT DESIGNACAO, REDUZCODIGO, REDUZDESIGN FROM CUSTARTG WHERE TABGRUPO = "
                                   ":WtabGrupo AND PAIS = :Pais AND TABCOD = :WTabCod AND CODIGO = :Codigo"),
                    {{QStringLiteral("WtabGrupo"), group},
                     {QStringLiteral("Pais"), Portugal},
                     {QStringLiteral("WTabCod"), QString::number(table)},
                     {QStringLiteral("Codigo"), number}});
    if (result.isEmpty())
        return std::nullopt;
    const auto& row = result.rows[0];
    return CodingValue{row[0].toString().trimmed(), row[1].toString().trimmed(), row[2].toString().trimmed()};
}

BuiltCode ArticleCoding::build(const QString& group, const SequenceSettings& sequence, const CodingFields& fields,
                               const QString& manualNumber)
{
    BuiltCode built;
    std::array<bool, 9> inScope;
    inScope.fill(true);
    qsizetype numberAt = -1;
    const auto place = [&] {
        if (numberAt >= 0 || !sequence.placesNumber())
            return;
        numberAt = built.code.size();
        for (std::size_t n = 0; n < 9; ++n)
            built.bounds[n] = inScope[n] && fields[n] ? std::pair{*fields[n], *fields[n]} : FreeBounds;
    };

    if (sequence.position == 1)
        place();
    for (const CodingTable& table : tables(group)) {
        if (!table.hasPart())
            continue;
        const std::size_t n = static_cast<std::size_t>(table.table - 1);
        if (!table.inScope)
            inScope[n] = false;
        if (!fields[n])
            continue;
        const auto part = value(group, table.table, *fields[n]);
        if (!part)
            continue;
        if (part->reducedCode.isEmpty()) {
            built.badlyParameterised = true;
            break;
        }
        built.code += part->reducedCode;
        built.designation = built.designation.isEmpty()
                                ? part->reducedDesignation
                                : built.designation + QLatin1Char(' ') + part->reducedDesignation;
        if (built.code.size() + 1 == sequence.position)
            place();
    }
    if (numberAt < 0)
        return built;

    const QString before = built.code.left(numberAt);
    const QString after = built.code.mid(numberAt);
    built.code =
        before
        + (sequence.mode == NumberMode::Manual ? manualNumber : nextNumber(before, after, sequence, built.bounds))
        + after;
    built.numberPlaced = true;
    return built;
}

QString ArticleCoding::numberText(long long number, const SequenceSettings& sequence) const
{
    // Padded to the width; a number that outgrew it stays whole.
    return QStringLiteral("%1").arg(number, sequence.width, 10, QLatin1Char('0'));
}

QString ArticleCoding::nextNumber(const QString& codeSoFar, const QString& rest, const SequenceSettings& sequence,
                                  const std::array<std::pair<int, int>, 9>& bounds)
{
    long long candidate = greatestNumber(sequence, bounds) + 1;
    // A code of the series that is stored outside the matching articles, or
    // that another workstation is opening, is passed over.
    for (int passed = 0; passed < MaxPassedOver && codeTaken(codeSoFar + numberText(candidate, sequence) + rest);
         ++passed)
        ++candidate;
    return numberText(candidate, sequence);
}

QString ArticleCoding::valueListSql()
{
    return QStringLiteral("SELECT CODIGO, DESIGNACAO, REDUZCODIGO, REDUZDESIGN FROM CUSTARTG WHERE TABGRUPO = "
                          ":WtabGrupo AND TABCOD = :WTabCod AND PAIS = 'PORTUGAL' ORDER BY CODIGO");
}

QString ArticleCoding::matchingCondition()
{
    QString condition = QStringLiteral("GRELHA = :Grelha");
    for (int n = 1; n <= 9; ++n)
        condition += QStringLiteral(" AND CUSTOM%1 BETWEEN :WTab%1%2 AND :WTab%1%3").arg(n).arg(1).arg(2);
    return condition;
}

QVariantList ArticleCoding::matchingParameters(const std::array<std::pair<int, int>, 9>& bounds)
{
    QVariantList values{QStringLiteral("N")};
    for (const auto& [low, high] : bounds)
        values << low << high;
    return values;
}

long long ArticleCoding::greatestNumber(const SequenceSettings& sequence,
                                        const std::array<std::pair<int, int>, 9>& bounds)
{
    if (sequence.width <= 0 || sequence.position <= 0)
        return 0;
    // The digits at the sequence position, as a number: the greatest value
    // counts, not the digits of the last code in text order.
    const QString digits = QStringLiteral("SUBSTR(CODIGO, :Posicao, :Largura)");
    const QString onlyDigits =
        m_db->dialect() == kv::db::Dialect::Postgres
            ? digits + QStringLiteral(" COLLATE \"C\" ~ '^[0-9]+$'")
            : digits + QStringLiteral(" <> '' AND ") + digits + QStringLiteral(" NOT GLOB '*[^0-9]*'");
    kv::db::Params params{{QStringLiteral("Posicao"), sequence.position},
                          {QStringLiteral("Largura"), std::min(sequence.width, CodeLength)}};
    const QVariantList values = matchingParameters(bounds);
    params.set(QStringLiteral("Grelha"), values[0]);
    for (int n = 1; n <= 9; ++n) {
        params.set(QStringLiteral("WTab%1%2").arg(n).arg(1), values[2 * n - 1]);
        params.set(QStringLiteral("WTab%1%2").arg(n).arg(2), values[2 * n]);
    }
    const QVariant greatest =
        m_db->scalar(QStringLiteral("SELECT MAX(CAST(%1 AS BIGINT)) FROM ARTIGOSCLS WHERE %2 AND %3")
                         .arg(digits, matchingCondition(), onlyDigits),
                     params);
    return greatest.isNull() ? 0 : greatest.toLongLong();
}

bool ArticleCoding::codeTaken(const QString& code)
{
    if (!m_db->query(QStringLiteral("SELECT 1 FROM ARTIGOSCLS WHERE CODIGO = :Codigo"),
                     {{QStringLiteral("Codigo"), code}})
             .isEmpty())
        return true;
    return m_claims.heldElsewhere(Articles, code);
}

ArticleCoding::Confirmation ArticleCoding::confirm(const QString& code)
{
    if (code.isEmpty())
        return Confirmation::Empty;
    if (code.size() > CodeLength)
        return Confirmation::TooLong;
    return m_claims.claim(Articles, CodeColumn, code) == kv::db::RecordClaims::Outcome::Claimed ? Confirmation::Accepted
                                                                                                : Confirmation::Taken;
}

void ArticleCoding::release(const QString& code) { m_claims.release(Articles, code); }

} // namespace kv::customers
