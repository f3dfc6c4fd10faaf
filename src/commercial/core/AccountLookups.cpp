#include "commercial/core/AccountLookups.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

namespace kv::commercial {

namespace {

const QString PostingType = QStringLiteral("L");

// Plain comparison of the characters, never the collation of the database:
// the limits of the ranges are text limits ("7" lies above "68").
int compareCodes(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseSensitive); }

} // namespace

bool accountingLinkOn(const QVariant& contabilidade)
{
    return !contabilidade.isNull() && contabilidade.toString() == QLatin1String("S");
}

bool accountingLinkOn(kv::db::Connection& invoicing, const QString& year)
{
    return accountingLinkOn(invoicing.scalar(QStringLiteral("SELECT CONTABILIDADE FROM PARGER WHERE ANO = :ANO"),
                                             {{QStringLiteral("ANO"), year}}));
}

bool AccountRange::admits(const QString& code, const QString& accountType) const
{
    if (!type.isEmpty() && accountType != type)
        return false;
    if (!from.isEmpty() && compareCodes(code, from) < 0)
        return false;
    if (!through.isEmpty() && compareCodes(code, through) > 0)
        return false;
    if (!below.isEmpty() && compareCodes(code, below) >= 0)
        return false;
    return !excluded.contains(code);
}

AccountRange AccountRange::familySales() { return {QStringLiteral("68"), {}, {}, {}, {}}; }

AccountRange AccountRange::familyPurchases() { return {QStringLiteral("30"), {}, {}, {}, {}}; }

AccountRange AccountRange::countryRoots()
{
    return {QStringLiteral("21"), {}, {}, QStringLiteral("I"), {QStringLiteral("27")}};
}

AccountRange AccountRange::vatAccounts()
{
    return {QStringLiteral("243"), QStringLiteral("2438999999999"), {}, {}, {}};
}

AccountRange AccountRange::bankAccounts() { return {{}, {}, QStringLiteral("20"), {}, {}}; }

// ---------------------------------------------------------------- LookupSet

LookupSet::LookupSet(Kind kind, std::shared_ptr<kv::db::Connection> accounting, const QString& year,
                     const AccountRange& range)
    : m_kind(kind), m_range(range), m_list(std::make_unique<kv::db::Dataset>())
{
    kv::db::Dataset& list = *m_list;
    list.setConnection(std::move(accounting));
    list.setMode(kv::db::DatasetMode::ReadOnly);
    switch (kind) {
    case Kind::Accounts:
        list.setSql(
            QStringLiteral("SELECT ANO, CONTA, NOME, TIPO FROM PLANOIDENT WHERE ANO = :ANO ORDER BY ANO, CONTA"));
        list.setFilter([this](const kv::db::Dataset& row) {
            return m_range.admits(row.value(QStringLiteral("CONTA")).toString(),
                                  row.value(QStringLiteral("TIPO")).toString());
        });
        break;
    case Kind::CostCentres:
        list.setSql(
            QStringLiteral("SELECT ANO, CODIGO, DESIGN, TIPO FROM CCUSTO WHERE ANO = :ANO ORDER BY ANO, CODIGO"));
        list.setFilter(
            [](const kv::db::Dataset& row) { return row.value(QStringLiteral("TIPO")).toString() == PostingType; });
        break;
    case Kind::VatCodes:
        list.setSql(
            QStringLiteral("SELECT ANO, CODIGO, PRCIVA, DESCRICAO FROM IVA WHERE ANO = :ANO ORDER BY ANO, CODIGO"));
        break;
    }
    list.setFiltered(kind != Kind::VatCodes);
    list.setParam(QStringLiteral("ANO"), year);
    list.open();

    const int count = list.recordCount();
    const int codeAt = list.fieldIndex(codeColumn());
    const int nameAt = list.fieldIndex(nameColumn());
    const int typeAt = list.fieldIndex(QStringLiteral("TIPO"));
    m_codes.reserve(static_cast<std::size_t>(count));
    m_rows.reserve(count);
    for (int row = 0; row < count; ++row) {
        LinkedCode entry{key(list.valueAt(row, codeAt).toString()), list.valueAt(row, nameAt).toString(),
                         typeAt < 0 ? QString() : list.valueAt(row, typeAt).toString()};
        m_rows.insert(entry.code, row);
        m_codes.push_back(std::move(entry));
    }
    list.first();
}

LookupSet::~LookupSet() = default;

QString LookupSet::codeColumn() const
{
    return m_kind == Kind::Accounts ? QStringLiteral("CONTA") : QStringLiteral("CODIGO");
}

QString LookupSet::nameColumn() const
{
    switch (m_kind) {
    case Kind::Accounts: return QStringLiteral("NOME");
    case Kind::CostCentres: return QStringLiteral("DESIGN");
    case Kind::VatCodes: return QStringLiteral("DESCRICAO");
    }
    return {};
}

QString LookupSet::key(const QString& code) const
{
    if (m_kind != Kind::VatCodes)
        return code;
    bool ok = false;
    const long long number = code.trimmed().toLongLong(&ok);
    return ok ? QString::number(number) : code;
}

const LinkedCode* LookupSet::find(const QString& code) const
{
    const auto at = m_rows.constFind(key(code));
    return at == m_rows.constEnd() ? nullptr : &m_codes[static_cast<std::size_t>(*at)];
}

LinkStatus LookupSet::check(const QString& code, bool postingOnly, const LinkedCode** entry) const
{
    const LinkedCode* found = code.isEmpty() ? nullptr : find(code);
    if (entry)
        *entry = found;
    if (code.isEmpty())
        return LinkStatus::Empty;
    if (!found)
        return LinkStatus::NotFound;
    if (postingOnly && found->type != PostingType)
        return LinkStatus::NotPosting;
    return LinkStatus::Found;
}

bool LookupSet::position(const QString& code)
{
    const auto at = m_rows.constFind(key(code));
    return at != m_rows.constEnd() && m_list->moveTo(*at);
}

// ---------------------------------------------------------------- AccountLookups

AccountLookups::AccountLookups(std::shared_ptr<kv::db::Connection> accounting, QString year, bool linkOn)
    : m_accounting(std::move(accounting)), m_year(std::move(year)), m_linkOn(linkOn)
{
}

AccountLookups::~AccountLookups() = default;

LookupSet* AccountLookups::set(LookupSet::Kind kind, const AccountRange& range)
{
    if (!m_linkOn)
        return nullptr;
    for (const auto& existing : m_sets)
        if (existing->kind() == kind && existing->m_range == range)
            return existing.get();
    m_sets.push_back(std::unique_ptr<LookupSet>(new LookupSet(kind, m_accounting, m_year, range)));
    return m_sets.back().get();
}

LookupSet* AccountLookups::accounts(const AccountRange& range) { return set(LookupSet::Kind::Accounts, range); }

LookupSet* AccountLookups::costCentres() { return set(LookupSet::Kind::CostCentres, {}); }

LookupSet* AccountLookups::vatCodes() { return set(LookupSet::Kind::VatCodes, {}); }

void AccountLookups::close() { m_sets.clear(); }

} // namespace kv::commercial
