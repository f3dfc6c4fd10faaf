#include "production/core/ProductionClosing.h"

#include "platform/db/DbError.h"

#include <stdexcept>

namespace kv::production {
namespace {

using kv::db::Connection;
using kv::db::DbError;
using kv::db::TwoDatabaseOperation;

// Step 1 found the order closed: another workstation got there first.
class ClosedElsewhere : public std::runtime_error {
public:
    ClosedElsewhere() : std::runtime_error("closed elsewhere") {}
};

constexpr int ClashRetries = 5;

QVariantMap encode(const ClosingOrder& order, const ClosingSettings& settings, bool consumptionYear, int document)
{
    QVariantList consumptions;
    for (const ClosingConsumption& c : order.consumptions)
        consumptions << QVariantMap{{"line", c.line}, {"article", c.article}, {"quantity", c.quantity}};
    QVariantList movements;
    for (const StockMovement& m : order.movements)
        movements << QVariantMap{{"article", m.article},         {"quantity", m.quantity},
                                 {"transaction", m.transaction}, {"warehouse", m.warehouse},
                                 {"customer", m.customer},       {"order", m.order},
                                 {"date", m.date.toString(Qt::ISODate)}};
    return {{"model", settings.model == ClosingModel::WholeOrders ? "T" : "D"},
            {"user", settings.user},
            {"workingYear", settings.workingYear},
            {"year", order.year},
            {"week", order.week},
            {"order", order.orderNumber},
            {"subQuote", order.subQuote},
            {"detail", order.detail},
            {"produced", order.produced},
            {"consumptionYear", consumptionYear},
            {"consumptions", consumptions},
            {"movements", movements},
            {"document", document}};
}

bool wholeOrders(const QVariantMap& data) { return data.value("model").toString() == QLatin1String("T"); }

kv::db::Params orderKey(const QVariantMap& data)
{
    kv::db::Params key{{"ANO", data.value("year").toString()},
                       {"ORDNRO", data.value("order").toInt()},
                       {"SUBORC", data.value("subQuote").toInt()},
                       {"DETAIL", data.value("detail").toInt()}};
    if (!wholeOrders(data))
        key.set(QStringLiteral("SEMANA"), data.value("week").toString());
    return key;
}

QString orderCondition(const QVariantMap& data)
{
    return wholeOrders(data)
               ? QStringLiteral("ANO = :ANO AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC AND DETAIL = :DETAIL")
               : QStringLiteral("ANO = :ANO AND SEMANA = :SEMANA AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC AND "
                                "DETAIL = :DETAIL");
}

// Raises (sign 1) or lowers (sign -1) the planned-consumption lines.
void changeConsumed(Connection& app, const QVariantMap& data, double sign)
{
    const QString year = data.value("consumptionYear").toBool() ? QStringLiteral(" AND ANO = :ANO") : QString();
    for (const QVariant& item : data.value("consumptions").toList()) {
        const QVariantMap c = item.toMap();
        kv::db::Params params{{"Q", sign * c.value("quantity").toDouble()},
                              {"CODIGO", data.value("order").toInt()},
                              {"SUBCODIGO", data.value("subQuote").toInt()},
                              {"ENCDETAIL", data.value("detail").toInt()},
                              {"DETAIL", c.value("line").toInt()},
                              {"ARTIGO", c.value("article").toString()}};
        if (!year.isEmpty())
            params.set(QStringLiteral("ANO"), data.value("year").toString());
        app.exec(QStringLiteral("UPDATE ORCCONSUMOS SET CONSUMIDO = COALESCE(CONSUMIDO, 0) + :Q WHERE CODIGO = :CODIGO "
                                "AND SUBCODIGO = :SUBCODIGO AND ENCDETAIL = :ENCDETAIL AND DETAIL = :DETAIL AND "
                                "ARTIGO = :ARTIGO")
                     + year,
                 params);
    }
}

// The order's changes, under the condition that only the first workstation
// to close it meets.
void closeOrder(Connection& app, const ClosingOrder& order, const QVariantMap& data)
{
    kv::db::Params key = orderKey(data);
    long long changed = 0;
    if (wholeOrders(data)) {
        changed = app.exec(QStringLiteral("UPDATE ORDFABRICO SET PRODUZ = 'S' WHERE ") + orderCondition(data)
                               + QStringLiteral(" AND PRODUZ = 'N'"),
                           key);
    } else {
        key.set(QStringLiteral("P"), order.produced);
        key.set(QStringLiteral("LISTED"), order.listedProduced);
        key.set(QStringLiteral("TICKED"), order.ticked ? QStringLiteral("S") : QStringLiteral("N"));
        changed = app.exec(
            QStringLiteral("UPDATE ORDFABDET SET QTDPROD = COALESCE(QTDPROD, 0) + :P, PRODUZ = CASE WHEN :TICKED = 'S' "
                           "OR COALESCE(QTDPROD, 0) + :P >= COALESCE(QUANTFINAL, 0) THEN 'S' ELSE 'N' END WHERE ")
                + orderCondition(data)
                + QStringLiteral(" AND PRODUZ = 'N' AND ABS(COALESCE(QTDPROD, 0) - :LISTED) < 0.0000001"),
            key);
    }
    if (changed == 0)
        throw ClosedElsewhere();
    changeConsumed(app, data, 1);
}

StockMovement decodeMovement(const QVariantMap& m)
{
    return {m.value("article").toString(),
            m.value("quantity").toDouble(),
            m.value("transaction").toInt(),
            m.value("warehouse").toInt(),
            m.value("customer").toInt(),
            m.value("order").toInt(),
            QDate::fromString(m.value("date").toString(), Qt::ISODate)};
}

// Step 2: the order's movements in one document. A key clash with another
// workstation writing the same document rolls the order's movements back to
// the savepoint and takes the line numbers again.
int postMovements(Connection& inv, const TwoDatabaseOperation& operation)
{
    const QVariantMap& data = operation.data;
    const QVariantList movements = data.value("movements").toList();
    if (movements.isEmpty())
        return 0;
    const QString year = data.value("workingYear").toString();
    StockPosting posting(inv, data.value("user").toString(), year, StockPosting::costMethodOf(inv, year));
    for (int attempt = 1;; ++attempt) {
        try {
            kv::db::Transaction savepoint(inv);
            int document = data.value("document").toInt();
            if (document == 0) {
                if (!posting.userExists())
                    throw kv::db::TwoDatabaseRefusal(
                        QStringLiteral("Utilizador Inexistente : %1").arg(data.value("user").toString()));
                document = posting.takeDocument();
            }
            int line = posting.nextLine(document);
            for (const QVariant& m : movements)
                posting.post(document, line++, decodeMovement(m.toMap()));
            savepoint.commit();
            return document;
        } catch (const DbError& error) {
            if (error.kind() == DbError::Kind::NotFound)
                throw kv::db::TwoDatabaseRefusal(error.text());
            if (error.kind() != DbError::Kind::Constraint || attempt == ClashRetries)
                throw;
        }
    }
}

void undoClosing(Connection& app, const TwoDatabaseOperation& operation, const QString&)
{
    const QVariantMap& data = operation.data;
    kv::db::Params key = orderKey(data);
    if (wholeOrders(data)) {
        app.exec(QStringLiteral("UPDATE ORDFABRICO SET PRODUZ = 'N' WHERE ") + orderCondition(data), key);
    } else {
        key.set(QStringLiteral("P"), data.value("produced").toDouble());
        app.exec(QStringLiteral("UPDATE ORDFABDET SET QTDPROD = COALESCE(QTDPROD, 0) - :P, PRODUZ = 'N' WHERE ")
                     + orderCondition(data),
                 key);
    }
    changeConsumed(app, data, -1);
}

void markStockPosted(Connection& app, const TwoDatabaseOperation& operation)
{
    if (wholeOrders(operation.data))
        app.exec(QStringLiteral("UPDATE ORDFABRICO SET ACTSTK = 'S' WHERE ") + orderCondition(operation.data),
                 orderKey(operation.data));
}

} // namespace

QString ProductionClosing::kindName() { return QStringLiteral("PRODUCAO.FECHO"); }

kv::db::TwoDatabaseKind ProductionClosing::kind()
{
    return {kindName(), kv::db::role::application(), kv::db::role::invoicing(),
            [](Connection& inv, const TwoDatabaseOperation& operation) { postMovements(inv, operation); },
            undoClosing, markStockPosted};
}

ProductionClosing::ProductionClosing(const kv::db::TwoDatabaseKinds& known,
                                     std::shared_ptr<kv::db::Connection> application,
                                     std::shared_ptr<kv::db::Connection> invoicing, ClosingSettings settings,
                                     kv::notify::MessageSink& messages)
    : m_kinds(known), m_application(std::move(application)), m_invoicing(std::move(invoicing)),
      m_settings(std::move(settings)), m_messages(messages)
{
    kv::db::TwoDatabaseKind own = kind();
    // The run's own closings tell it the document their movements went into.
    own.secondStep = [this](Connection& inv, const TwoDatabaseOperation& operation) {
        if (const int document = postMovements(inv, operation))
            m_lastDocument = document;
    };
    m_kinds.add(std::move(own));
    m_consumptionYear = m_application->columnExists(QStringLiteral("ORCCONSUMOS"), QStringLiteral("ANO"));
}

kv::db::TwoDatabaseWork ProductionClosing::work()
{
    return kv::db::TwoDatabaseWork(
        m_kinds, {{kv::db::role::application(), m_application}, {kv::db::role::invoicing(), m_invoicing}});
}

bool ProductionClosing::finishPending()
{
    bool finished = true;
    for (const kv::db::TwoDatabaseResult& result : work().recover()) {
        if (!result.message.isEmpty())
            m_messages.error(result.message);
        finished = finished && result.status != kv::db::TwoDatabaseResult::Status::Pending;
    }
    return finished;
}

ClosingOutcome ProductionClosing::run(const std::vector<ClosingOrder>& orders, const std::function<void(int)>& progress,
                                      const std::function<void(int)>& working)
{
    ClosingOutcome outcome;
    outcome.stopped = true;
    if (!finishPending())
        return outcome;
    StockPosting posting(*m_invoicing, m_settings.user, m_settings.workingYear, {});
    if (!posting.userExists()) {
        m_messages.fail(QStringLiteral("Utilizador Inexistente : %1").arg(m_settings.user));
        return outcome;
    }
    kv::db::TwoDatabaseWork twoDatabases = work();
    int done = 0;
    for (const ClosingOrder& order : orders) {
        if (working)
            working(order.orderNumber);
        const QVariantMap data = encode(order, m_settings, m_consumptionYear, outcome.document);
        m_lastDocument = 0;
        kv::db::TwoDatabaseResult result;
        try {
            result = twoDatabases.run(kindName(), QStringLiteral("Fecho da O.F. %1").arg(order.orderNumber),
                                      m_settings.user, [&](Connection& app) {
                                          closeOrder(app, order, data);
                                          return data;
                                      });
        } catch (const ClosedElsewhere&) {
            m_messages.information(
                QStringLiteral("A O.F. %1 já foi fechada noutro posto de trabalho.").arg(order.orderNumber));
            ++outcome.skipped;
            result.status = kv::db::TwoDatabaseResult::Status::Done;
        }
        if (result.status != kv::db::TwoDatabaseResult::Status::Done) {
            m_messages.fail(result.message);
            return outcome;
        }
        if (!result.id.isEmpty())
            ++outcome.closed;
        if (m_lastDocument != 0)
            outcome.document = m_lastDocument;
        ++done;
        if (progress)
            progress(done * 100 / static_cast<int>(orders.size()));
    }
    outcome.stopped = false;
    return outcome;
}

void ProductionClosing::cleanUp()
{
    StockPosting(*m_invoicing, m_settings.user, m_settings.workingYear, {}).cleanUp();
}

} // namespace kv::production
