#include "quotes/core/QuotePrintData.h"

#include "quotes/core/QuoteRepository.h"
#include "quotes/core/Vocabulary.h"

#include "platform/db/Connection.h"
#include "platform/text/NumberText.h"

#include <algorithm>
#include <functional>

namespace kv::quotes {

namespace {

using kv::text::Fixed4;

bool isConsumption(const CostLine& line)
{
    for (TableType type : {TableType::Ink, TableType::Varnish, TableType::Glue, TableType::Board})
        if (isTableType(line.tableType, type))
            return true;
    return false;
}

// The section a line prints in; none for transport, for packaging that is
// not a finish and for lines without a class.
std::optional<PrintSection> sectionOf(const CostLine& line, const QHash<int, bool>& accessorySubcontracts)
{
    switch (costClassFromCode(line.costClass)) {
    case CostClass::RawMaterial: return PrintSection::RawMaterials;
    case CostClass::Subsidiary: return PrintSection::Subsidiary;
    case CostClass::Machines: return PrintSection::Machines;
    case CostClass::Labour: return PrintSection::Labour;
    case CostClass::Subcontract:
        return isTableType(line.tableType, TableType::Subcontract) && accessorySubcontracts.value(line.tableCode)
                   ? PrintSection::Accessories
                   : PrintSection::Subcontracts;
    case CostClass::Packaging:
        if (isTableType(line.tableType, TableType::Finish))
            return PrintSection::Packaging;
        return std::nullopt;
    case CostClass::Transport:
    case CostClass::None: break;
    }
    return std::nullopt;
}

// Texts of one column read by key, cached: the sub-quotes of a quote mostly
// share their postal code and salesman.
class KeyedText {
public:
    KeyedText(kv::db::Connection* db, QString sql) : m_db(db), m_sql(std::move(sql)) {}

    QString operator()(const QVariant& key)
    {
        if (!m_db || key.isNull())
            return {};
        const QString k = key.toString();
        if (auto it = m_cache.constFind(k); it != m_cache.constEnd())
            return *it;
        const QString text = m_db->scalar(m_sql, {{"K", key}}).toString().trimmed();
        m_cache.insert(k, text);
        return text;
    }

private:
    kv::db::Connection* m_db;
    QString m_sql;
    QHash<QString, QString> m_cache;
};

} // namespace

QString sectionTitle(PrintSection section)
{
    switch (section) {
    case PrintSection::RawMaterials: return QStringLiteral("MATÉRIAS PRIMAS");
    case PrintSection::Subsidiary: return QStringLiteral("PRODUTOS SUBSIDIARIOS");
    case PrintSection::Machines: return QStringLiteral("MÁQUINAS");
    case PrintSection::Labour: return QStringLiteral("MÃO DE OBRA");
    case PrintSection::Subcontracts: return QStringLiteral("SUBCONTRATOS");
    case PrintSection::Accessories: return QStringLiteral("ACESSÓRIOS");
    case PrintSection::Packaging: return QStringLiteral("EMBALAGEM");
    }
    return {};
}

QString subQuoteCaption(int subQuote)
{
    return subQuote == 0 ? QStringLiteral("(ORÇAMENTO BASE)") : QStringLiteral("(ACESSÓRIOS)");
}

QString unitCaption(const QString& unit)
{
    return unit.trimmed() == QLatin1String("M") ? QStringLiteral("MILHEIRO") : QStringLiteral("UNIDADES");
}

MachineTimeRow machineTimes(const QuoteRow& sub, const CostLine& line, const PrintedMachine* machine)
{
    MachineTimeRow row;
    row.designation = line.designation;
    row.makeReady = kv::text::hoursMinutesText(line.makeReadyHm);
    // Without its machine the line cannot say how it counts; a machine that
    // produces nothing per hour has no production time.
    if (!machine || line.factor == 0)
        return row;
    std::array<double, 3> quantity{sub.quantity(1), sub.quantity(2), sub.quantity(3)};
    const QString quoteUnit = sub.text(QStringLiteral("UNIDADE")).trimmed();
    const QString machineUnit = machine->productionUnit.trimmed();
    for (double& q : quantity) {
        if (machineUnit == QLatin1String("U") && quoteUnit == QLatin1String("M"))
            q *= 1000;
        else if (machineUnit == QLatin1String("M") && quoteUnit == QLatin1String("U"))
            q /= 1000;
    }
    const bool byQuantity = isMachineType(machine->type, MachineType::Gluing);
    const int passes = line.passes == 0 ? 1 : line.passes;
    for (std::size_t k = 0; k < 3; ++k) {
        const double sheets = sub.number(quantityColumn("NPLANOS", static_cast<int>(k) + 1));
        if (sheets == 0)
            continue;
        const double perPass = (byQuantity ? quantity[k] : sheets) / line.factor * 60;
        const double production = passes * perPass;
        row.production[k] = kv::text::minutesText(production);
        row.total[k] = kv::text::minutesText(production + line.makeReady * 60);
    }
    return row;
}

std::vector<TotalsLine> totalsTable(const QuotePrintData& data)
{
    const QuoteRow* s = data.summary ? &*data.summary : nullptr;
    std::vector<TotalsLine> table;
    auto columns = [s](const QString& caption, auto name) {
        TotalsLine line{caption, {}, {}, {}};
        if (s)
            for (int n = 1; n <= 3; ++n)
                line.column[static_cast<std::size_t>(n - 1)] = s->number(name(n));
        return line;
    };
    auto byQuantity = [](const char* prefix) { return [prefix](int n) { return quantityColumn(prefix, n); }; };
    auto commission = [](int k) {
        return [k](int n) { return QStringLiteral("VALCOM%1%2").arg(k).arg(QLatin1Char(char('A' + n - 1))); };
    };
    auto sum = [s](const QString& caption, const std::vector<std::function<QString(int)>>& parts) {
        TotalsLine line{caption, {}, {}, {}};
        if (s)
            for (int n = 1; n <= 3; ++n) {
                Fixed4 total;
                for (const auto& part : parts)
                    total += Fixed4::fromDouble(s->number(part(n)));
                line.money[static_cast<std::size_t>(n - 1)] = total.toDouble();
            }
        return line;
    };
    auto money = [s](const QString& caption, const char* prefix) {
        TotalsLine line{caption, {}, {}, {}};
        if (s)
            for (int n = 1; n <= 3; ++n)
                line.money[static_cast<std::size_t>(n - 1)] = s->number(quantityColumn(prefix, n));
        return line;
    };
    auto named = [&](int k) {
        TotalsLine line = columns(data.commissionName[static_cast<std::size_t>(k - 1)], commission(k));
        if (s)
            line.percentage = kv::text::plain(s->number(quantityColumn("PRCCOM", k))) + QStringLiteral(" %");
        return line;
    };
    std::vector<std::function<QString(int)>> base;
    const std::pair<const char*, QString> classes[] = {
        {"VALMP", QStringLiteral("MATÉRIAS PRIMAS")}, {"VALPS", QStringLiteral("MATÉRIAS SUBSIDIÁRIAS ")},
        {"VALCM", QStringLiteral("MÁQUINAS")},        {"VALMO", QStringLiteral("MÃO DE OBRA")},
        {"VALEM", QStringLiteral("EMBALAGEM")},       {"VALSUB", QStringLiteral("SUBCONTRATOS")}};
    for (const auto& [prefix, caption] : classes) {
        table.push_back(columns(caption, byQuantity(prefix)));
        base.push_back(byQuantity(prefix));
    }
    table.push_back(sum(QStringLiteral("CUSTO BASE :"), base));
    table.push_back(columns(QStringLiteral("TRANSPORTE :"), byQuantity("VALTR")));
    table.push_back(named(1));
    table.push_back(named(2));
    table.push_back(sum(QStringLiteral("CUSTO COMERCIAL :"), {commission(1), commission(2)}));
    table.push_back(named(3));
    table.push_back(money(QStringLiteral("CÁLCULO DO ORÇAMENTO : "), "PRECOORC"));
    table.push_back(money(QStringLiteral("PREÇO CLIENTE :"), "PRECOCLI"));
    table.push_back({QStringLiteral("PREÇO APROVADO :"), {}, {}, {}});
    return table;
}

void QuotePrintData::arrange(PrintedSubQuote& sub, const std::vector<CostLine>& lines,
                             const QHash<int, PrintedMachine>& machines, const QHash<int, bool>& accessorySubcontracts)
{
    for (const CostLine& line : lines)
        if (isConsumption(line))
            sub.consumptions.push_back(line);
    std::stable_sort(sub.consumptions.begin(), sub.consumptions.end(),
                     [](const CostLine& a, const CostLine& b) { return a.tableType < b.tableType; });

    std::array<SectionLines, 7> sections;
    for (std::size_t i = 0; i < sections.size(); ++i)
        sections[i].section = static_cast<PrintSection>(i);
    for (const CostLine& line : lines) {
        const auto section = sectionOf(line, accessorySubcontracts);
        if (!section)
            continue;
        SectionLines& s = sections[static_cast<std::size_t>(*section)];
        s.lines.push_back(line);
        for (std::size_t k = 0; k < 3; ++k)
            s.total[k] += Fixed4::fromDouble(line.value[k]);
        if (*section == PrintSection::Machines && isTableType(line.tableType, TableType::Machine)) {
            const auto machine = machines.constFind(line.tableCode);
            sub.machineTimes.push_back(
                machineTimes(sub.row, line, machine == machines.constEnd() ? nullptr : &*machine));
        }
    }
    auto& packaging = sections[static_cast<std::size_t>(PrintSection::Packaging)].lines;
    std::stable_sort(packaging.begin(), packaging.end(),
                     [](const CostLine& a, const CostLine& b) { return a.tableCode < b.tableCode; });
    for (SectionLines& s : sections)
        if (!s.lines.empty())
            sub.sections.push_back(std::move(s));
}

QuotePrintData QuotePrintData::load(kv::db::Connection& application, kv::db::Connection* invoicing, int quoteNumber)
{
    QuotePrintData data;
    data.quoteNumber = quoteNumber;
    QuoteRepository quotes(application);
    std::vector<QuoteRow> rows = quotes.quoteRows(quoteNumber);
    const std::vector<CostLine> lines = quotes.quoteLines(quoteNumber);

    QHash<int, PrintedMachine> machines;
    for (const auto& r : application
                             .query(QStringLiteral("SELECT CODIGO, TIPOMAQUINA, UNDPROD FROM MAQUINAS WHERE CODIGO IN "
                                                   "(SELECT CODTAB FROM ORCDET WHERE CODIGO = :WOrcNro AND "
                                                   "TIPOTABELA = :WTipo)"),
                                    {{"WOrcNro", quoteNumber}, {"WTipo", typeCode(TableType::Machine)}})
                             .rows)
        machines.insert(static_cast<int>(r[0].toLongLong()), {static_cast<int>(r[1].toLongLong()), r[2].toString()});
    QHash<int, bool> accessories;
    for (const auto& r : application
                             .query(QStringLiteral("SELECT CODIGO, ACESSORIO FROM SUBCONTRATO WHERE CODIGO IN "
                                                   "(SELECT CODTAB FROM ORCDET WHERE CODIGO = :WOrcNro AND "
                                                   "TIPOTABELA = :WTipo)"),
                                    {{"WOrcNro", quoteNumber}, {"WTipo", typeCode(TableType::Subcontract)}})
                             .rows)
        accessories.insert(static_cast<int>(r[0].toLongLong()),
                           r[1].toString().trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0);

    KeyedText locality(invoicing, QStringLiteral("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :K"));
    KeyedText salesman(invoicing, QStringLiteral("SELECT NOME FROM VENDEDORES WHERE CODIGO = :K"));
    for (QuoteRow& row : rows) {
        if (row.subQuote() == kSummarySubQuote) {
            data.summary = std::move(row);
            continue;
        }
        PrintedSubQuote sub{std::move(row), {}, {}, {}, {}, {}};
        sub.locality = locality(sub.row.value(QStringLiteral("CODPOSTAL")));
        sub.salesman = salesman(sub.row.value(QStringLiteral("VNDNRO")));
        std::vector<CostLine> own;
        for (const CostLine& line : lines)
            if (line.subQuote == sub.row.subQuote())
                own.push_back(line);
        arrange(sub, own, machines, accessories);
        data.subQuotes.push_back(std::move(sub));
    }
    if (const auto parameters = quotes.commercialParameters())
        for (std::size_t k = 0; k < 3; ++k)
            data.commissionName[k] = parameters->name[k];
    return data;
}

} // namespace kv::quotes
