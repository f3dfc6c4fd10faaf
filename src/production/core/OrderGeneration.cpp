#include "production/core/OrderGeneration.h"

#include "platform/db/Connection.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"
#include "production/core/PlannedConsumption.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/QuoteRepository.h"

#include <set>
#include <stdexcept>
#include <tuple>

namespace kv::production {

namespace {

// A work-list row that cannot be generated as it stands; nothing of it is kept.
class RowRefused : public std::runtime_error {
public:
    explicit RowRefused(const QString& text)
        : std::runtime_error(text.toStdString())
        , message(text)
    {
    }
    QString message;
};

// Another workstation generated the line since it was read.
class AlreadyRecorded : public std::runtime_error {
public:
    AlreadyRecorded()
        : std::runtime_error("recorded")
    {
    }
};

void writeMark(kv::db::Connection& invoicing, const QString& year, const QString& week, int order, int detail)
{
    invoicing.exec(QStringLiteral("UPDATE ENCCLIDET SET ORDFAB = :ENCNRO WHERE ANO = :ANO AND SEMANA = :SEMANA AND "
                                  "ENCNRO = :ENCNRO AND DETAIL = :DETAIL"),
                   {{"ANO", year}, {"SEMANA", week}, {"ENCNRO", order}, {"DETAIL", detail}});
}

// The sub-quote factor of each row read: its first quantity over the base
// quote's, 1 for the base, for a base of 0 and for a factor of 0.
double subQuoteFactor(const std::vector<kv::quotes::QuoteRow>& rows, const kv::quotes::QuoteRow& row)
{
    if (row.subQuote() == 0)
        return 1.0;
    double base = 0.0;
    for (const kv::quotes::QuoteRow& r : rows)
        if (r.subQuote() == 0)
            base = r.number(QStringLiteral("QTDORC1"));
    if (base == 0.0)
        return 1.0;
    const double factor = row.number(QStringLiteral("QTDORC1")) / base;
    return factor == 0.0 ? 1.0 : factor;
}

QString lineName(int order, int detail) { return QStringLiteral("encomenda %1, linha %2").arg(order).arg(detail); }

} // namespace

OrderGeneration::OrderGeneration(kv::db::Connection& application, kv::db::Connection& invoicing,
                                 kv::db::TwoDatabaseWork& work, kv::notify::MessageSink& messages,
                                 GenerationSettings settings)
    : m_application(application)
    , m_invoicing(invoicing)
    , m_work(work)
    , m_messages(messages)
    , m_settings(std::move(settings))
    , m_repository(application)
{
}

QString OrderGeneration::kindName() { return QStringLiteral("OF.GERACAO"); }

kv::db::TwoDatabaseKind OrderGeneration::kind()
{
    kv::db::TwoDatabaseKind kind;
    kind.name = kindName();
    kind.first = kv::db::role::application();
    kind.second = kv::db::role::invoicing();
    kind.secondStep = [](kv::db::Connection& invoicing, const kv::db::TwoDatabaseOperation& operation) {
        const QVariantMap& d = operation.data;
        writeMark(invoicing, d.value(QStringLiteral("ANO")).toString(), d.value(QStringLiteral("SEMANA")).toString(),
                  d.value(QStringLiteral("ENCNRO")).toInt(), d.value(QStringLiteral("DETAIL")).toInt());
    };
    // The mark is never refused: there is nothing to undo.
    kind.compensate = [](kv::db::Connection&, const kv::db::TwoDatabaseOperation&, const QString&) {};
    return kind;
}

QString OrderGeneration::openLinesSql()
{
    return QStringLiteral("SELECT * FROM ENCCLIDET WHERE CLINRO BETWEEN :WCliNro1 AND :WCliNro2 AND "
                          "ENCNRO BETWEEN :WDocNro1 AND :WDocNro2 AND ORCNRO <> 0 AND DATEMI BETWEEN :WData1 AND "
                          ":WData2 AND DATAENTRG BETWEEN :WDatEnt1 AND :WDatEnt2 AND TOTENT = 'N' AND ANULA = 'N' AND "
                          "COALESCE(ORDFAB, 0) < 1 ORDER BY DATAENTRG, ENCNRO");
}

kv::db::Params OrderGeneration::openLineParams(const GenerationLimits& limits)
{
    return {{"WCliNro1", limits.customerFrom},
            {"WCliNro2", limits.customerTo},
            {"WDocNro1", limits.orderFrom},
            {"WDocNro2", limits.orderTo},
            {"WData1", dateParameter(limits.issuedFrom)},
            {"WData2", dateParameter(limits.issuedTo)},
            {"WDatEnt1", dateParameter(limits.deliveryFrom)},
            {"WDatEnt2", dateParameter(limits.deliveryTo)}};
}

kv::db::QueryResult OrderGeneration::openLines(const GenerationLimits& limits)
{
    return m_invoicing.query(openLinesSql(), openLineParams(limits));
}

bool OrderGeneration::commercialParametersExist(const QString& year)
{
    return m_invoicing.scalar(QStringLiteral("SELECT ANO FROM PARGER WHERE ANO = :ANO"), {{"ANO", year}}).isValid();
}

int OrderGeneration::buildWorkList(const kv::db::QueryResult& lines, const GenerationProgress& progress)
{
    kv::db::Transaction transaction(m_application);
    m_repository.clearWorkList(m_settings.user);
    std::set<std::tuple<QString, QString, int, int>> written;
    const std::size_t count = lines.rows.size();
    for (std::size_t i = 0; i < count; ++i) {
        const OrderLine line = OrderLine::fromRow(lines, i);
        if (line.quoteNumber > 0 && written.emplace(line.year, line.week, line.orderNumber, line.detail).second)
            m_repository.insertWorkListRow(m_settings.user, line);
        if (progress)
            progress(static_cast<int>((i + 1) * 100 / count));
    }
    transaction.commit();
    return static_cast<int>(written.size());
}

QString OrderGeneration::calendarWeek(const QDate& date)
{
    if (!date.isValid())
        return QString();
    const QVariant week =
        m_invoicing.scalar(QStringLiteral("SELECT SEMANA FROM CALENDARIO WHERE DATA = :DATA"), {{"DATA", dateParameter(date)}});
    if (!week.isValid())
        return QString();
    return QStringLiteral("%1").arg(week.toInt(), 2, 10, QLatin1Char('0'));
}

std::optional<OrderLine> OrderGeneration::line(const WorkListRow& row)
{
    const kv::db::QueryResult r =
        m_invoicing.query(QStringLiteral("SELECT * FROM ENCCLIDET WHERE ANO = :ANO AND SEMANA = :SEMANA AND "
                                         "ENCNRO = :ENCNRO AND DETAIL = :DETAIL"),
                          {{"ANO", row.year}, {"SEMANA", row.week}, {"ENCNRO", row.orderNumber}, {"DETAIL", row.detail}});
    if (r.isEmpty())
        return std::nullopt;
    return OrderLine::fromRow(r, 0);
}

std::optional<QString> OrderGeneration::customerShortName(int customer)
{
    const kv::db::QueryResult r =
        m_invoicing.query(QStringLiteral("SELECT SIGLA FROM CLIENTES WHERE CODIGO = :CODIGO"), {{"CODIGO", customer}});
    if (r.isEmpty())
        return std::nullopt;
    return r.value(0, QStringLiteral("SIGLA")).toString().trimmed();
}

bool OrderGeneration::markLine(const OrderLine& line)
{
    writeMark(m_invoicing, line.year, line.week, line.orderNumber, line.detail);
    return true;
}

int OrderGeneration::generate(const GenerationProgress& progress)
{
    const kv::quotes::CostTables tables = kv::quotes::CostTables::load(m_application);
    const std::vector<WorkListRow> rows = m_repository.workList(m_settings.user);
    std::map<int, QuoteItems> quotes;
    int created = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].generate)
            generateRow(rows[i], tables, quotes, created);
        if (progress)
            progress(static_cast<int>((i + 1) * 100 / rows.size()));
    }
    return created;
}

OrderGeneration::RowOutcome OrderGeneration::generateRow(const WorkListRow& row, const kv::quotes::CostTables& tables,
                                                         std::map<int, QuoteItems>& quotes, int& created)
{
    const bool modelT = m_settings.modelT;
    if (!modelT && row.slot == 0) {
        m_messages.fail(QStringLiteral("A %1 não tem O.F. escolhida (OF-1 a OF-5): não foi gerada.")
                            .arg(lineName(row.orderNumber, row.detail)));
        return RowOutcome::Skipped;
    }
    const std::optional<OrderLine> found = line(row);
    if (!found) {
        m_messages.fail(QStringLiteral("Encomenda Inexistente ") + QString::number(row.orderNumber));
        return RowOutcome::Skipped;
    }
    const OrderLine& l = *found;
    // A line generated before (by this or another workstation) is not
    // generated again; a record without its mark only gets the mark.
    if (l.productionOrder >= 1 || (!modelT && m_repository.lineRecorded(l.year, l.orderNumber, l.detail))) {
        if (l.productionOrder < 1)
            markLine(l);
        m_repository.removeWorkListRow(m_settings.user, row);
        return RowOutcome::Skipped;
    }
    QString week;
    if (!modelT) {
        week = calendarWeek(l.production);
        if (week.isEmpty()) {
            m_messages.fail(QStringLiteral("Data Inexistente no Ficheiro de Calendário ")
                            + l.production.toString(QStringLiteral("dd-MM-yyyy")));
            return RowOutcome::Skipped;
        }
    }
    const std::optional<QString> shortName = customerShortName(l.customer);
    if (!shortName) {
        m_messages.fail(QStringLiteral("Cliente Inexistente ") + QString::number(l.customer));
        return RowOutcome::Skipped;
    }
    auto cached = quotes.find(l.quoteNumber);
    if (cached == quotes.end()) {
        kv::quotes::QuoteRepository repository(m_application);
        QuoteItems items;
        items.rows = repository.subQuoteRows(l.quoteNumber);
        for (const kv::quotes::CostLine& costLine : repository.quoteLines(l.quoteNumber))
            items.lines[costLine.subQuote].push_back(costLine);
        cached = quotes.emplace(l.quoteNumber, std::move(items)).first;
    }
    const std::vector<kv::quotes::QuoteRow>& quoteRows = cached->second.rows;
    if (quoteRows.empty()) {
        m_messages.fail(QStringLiteral("O orçamento %1 não existe: a %2 fica por gerar.")
                            .arg(l.quoteNumber)
                            .arg(lineName(l.orderNumber, l.detail)));
        return RowOutcome::Skipped;
    }

    int inserted = 0;
    auto firstStep = [&](kv::db::Connection& application) {
        ProductionRepository repository(application);
        inserted = 0;
        if (!modelT) {
            if (repository.lineRecorded(l.year, l.orderNumber, l.detail))
                throw AlreadyRecorded();
            repository.recordLine(l, row.slot, m_settings.user, m_settings.date);
        }
        const PlannedConsumption planner(tables, m_messages);
        for (const kv::quotes::QuoteRow& quote : quoteRows) {
            const int sub = quote.subQuote();
            const double quantity = row.quantity * subQuoteFactor(quoteRows, quote);
            if (modelT) {
                if (repository.modelTRowExists(l.year, l.orderNumber, sub, l.detail))
                    continue;
                repository.insertModelTRow(l, sub, quote, *shortName, m_settings.date, row.delivery, quantity);
                ++inserted;
                continue;
            }
            const OrderRowKey key{l.year, l.week, l.orderNumber, sub, row.slot};
            const std::vector<kv::quotes::CostLine>& costLines = cached->second.lines[sub];
            if (const std::optional<StoredOrderRow> stored = repository.lockOrderRow(key)) {
                if (stored->quoteNumber != l.quoteNumber
                    || stored->article.compare(l.article, Qt::CaseInsensitive) != 0)
                    throw RowRefused(
                        QStringLiteral("A O.F. %1 (OF-%2) já é do orçamento %3, artigo %4: a %5 fica por gerar.")
                            .arg(l.orderNumber)
                            .arg(row.slot)
                            .arg(stored->quoteNumber)
                            .arg(stored->article, lineName(l.orderNumber, l.detail)));
                const ConsumptionPlan plan = planner.compute(quote, costLines, stored->quantity + quantity);
                repository.rewriteConsumption(key, plan);
                repository.mergeIntoOrderRow(key, *stored, quantity, plan.sheets, row.delivery);
            } else {
                // Planned consumption is keyed without the week: a slot of this
                // number already used in another week of the year is refused, or
                // its consumption would be replaced.
                if (const QString other = repository.otherWeekOfSlot(key); !other.isEmpty())
                    throw RowRefused(QStringLiteral("A O.F. %1 (OF-%2) já existe na semana %3: a %4 fica por gerar.")
                                         .arg(l.orderNumber)
                                         .arg(row.slot)
                                         .arg(other, lineName(l.orderNumber, l.detail)));
                const ConsumptionPlan plan = planner.compute(quote, costLines, quantity);
                repository.createConsumption(key, row.delivery, plan);
                repository.insertOrderRow(key, l, quote, *shortName, m_settings.date, row.delivery, week, quantity,
                                          plan);
                ++inserted;
            }
        }
        repository.removeWorkListRow(m_settings.user, row);
        return QVariantMap{{QStringLiteral("ANO"), l.year},
                           {QStringLiteral("SEMANA"), l.week},
                           {QStringLiteral("ENCNRO"), l.orderNumber},
                           {QStringLiteral("DETAIL"), l.detail}};
    };
    try {
        const kv::db::TwoDatabaseResult result =
            m_work.run(kindName(), QStringLiteral("Geração de O.F. da ") + lineName(l.orderNumber, l.detail),
                       m_settings.user, firstStep);
        created += inserted;
        if (result.status != kv::db::TwoDatabaseResult::Status::Done && !result.message.isEmpty())
            m_messages.fail(result.message);
        return RowOutcome::Generated;
    } catch (const RowRefused& refused) {
        m_messages.fail(refused.message);
    } catch (const AlreadyRecorded&) {
        markLine(l);
        m_repository.removeWorkListRow(m_settings.user, row);
    } catch (const kv::db::DbError& error) {
        m_messages.fail(QStringLiteral("A %1 não foi gerada; nada dela ficou gravado.\n")
                            .arg(lineName(l.orderNumber, l.detail))
                        + error.fullText());
    }
    return RowOutcome::Skipped;
}

} // namespace kv::production
