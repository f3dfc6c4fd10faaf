#include "production/core/OrderConsultation.h"

#include "quotes/core/ChartRows.h"

#include "domain/CostClass.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"

#include <QDateTime>

namespace kv::production {

using kv::db::Connection;
using kv::db::Dialect;
using kv::db::Params;

namespace {

const QString OrderGone = QStringLiteral("A O.F. nº %1 já foi eliminada por outro utilizador.");

QDateTime dayStart(const QDate& date) { return QDateTime(date, QTime(0, 0)); }

// Machine time is kept as hours.minutes; the statistics add minutes.
QString minutesOf(Dialect dialect, const QString& hoursMinutes)
{
    const QString hours = dialect == Dialect::Postgres ? QStringLiteral("TRUNC(%1)").arg(hoursMinutes)
                                                       : QStringLiteral("CAST(%1 AS INTEGER)").arg(hoursMinutes);
    return QStringLiteral("(%1 * 60 + ROUND((%2 - %1) * 100))").arg(hours, hoursMinutes);
}

} // namespace

OrderSelection OrderSelection::defaults(const QDate& workingDate)
{
    OrderSelection s;
    s.deliveryFrom = s.productionFrom = workingDate.addDays(-30);
    s.deliveryTo = s.productionTo = workingDate.addDays(365);
    return s;
}

QString OrderConsultation::tableOf(OrderModel model)
{
    return model == OrderModel::Slots ? QStringLiteral("ORDFABDET") : QStringLiteral("ORDFABRICO");
}

QStringList OrderConsultation::listColumns(OrderModel model)
{
    QStringList columns{QStringLiteral("ANO"),        QStringLiteral("ORDNRO"),   QStringLiteral("SUBORC"),
                        QStringLiteral("DETAIL"),     QStringLiteral("ORCNRO"),   QStringLiteral("CLINRO"),
                        QStringLiteral("CLISIGLA"),   QStringLiteral("ARTIGO"),   QStringLiteral("DESIGNACAO"),
                        QStringLiteral("QUANTIDADE"), QStringLiteral("UNVEND"),   QStringLiteral("DATAENT"),
                        QStringLiteral("IMPR")};
    if (model == OrderModel::Slots)
        columns << QStringLiteral("SEMANA") << QStringLiteral("DATAPROD") << QStringLiteral("SEMANAPROD");
    return columns;
}

QString OrderConsultation::where(OrderModel model, const OrderSelection& s, Dialect dialect, const QString& prefix)
{
    // An SQLite database has no statistics to choose an index by: a narrow
    // number range reads the order number's index, any other the open
    // orders' date index ("+COL" keeps a column's value but not its index).
    const bool byNumber = s.numberTo - s.numberFrom < 10000;
    auto column = [&](const char* name, bool indexed) {
        return (dialect == Dialect::Sqlite && !indexed ? QStringLiteral("+") : QString()) + prefix
               + QLatin1String(name);
    };
    // The order number is the customer order's.
    const QString number = column("ORDNRO", byNumber);
    const QString open = column("PRODUZ", !byNumber);
    const QString delivery = column("DATAENT", !byNumber && model == OrderModel::PerLine);
    QString text = QStringLiteral("%1 = 'N' AND %2CLINRO >= :WCliNro1 AND %2CLINRO <= :WCliNro2 "
                                  "AND %3 >= :WDocNro1 AND %3 <= :WDocNro2 "
                                  "AND %4 >= :WDatEnt1 AND %4 < :WDatEnt2 "
                                  "AND %2ARTIGO >= :WArtNro1 AND %2ARTIGO <= :WArtNro2")
                       .arg(open, prefix, number, delivery);
    if (model == OrderModel::Slots)
        text += QStringLiteral(" AND %1 >= :WDatProd1 AND %1 < :WDatProd2").arg(column("DATAPROD", !byNumber));
    return text;
}

QStringList OrderConsultation::listOrder(OrderModel model)
{
    if (model == OrderModel::Slots)
        return {QStringLiteral("DATAPROD"), QStringLiteral("ANO"),    QStringLiteral("SEMANA"),
                QStringLiteral("ORDNRO"),   QStringLiteral("DETAIL"), QStringLiteral("SUBORC")};
    return {QStringLiteral("DATAENT"), QStringLiteral("ANO"), QStringLiteral("ORDNRO"), QStringLiteral("DETAIL"),
            QStringLiteral("SUBORC")};
}

kv::db::WindowedList::Shape OrderConsultation::listShape(OrderModel model, const OrderSelection& selection,
                                                         Dialect dialect)
{
    return {listColumns(model).join(QStringLiteral(", ")), tableOf(model), where(model, selection, dialect, {}),
            listOrder(model)};
}

QString OrderConsultation::listSql(OrderModel model, const OrderSelection& selection, Dialect dialect)
{
    const kv::db::WindowedList::Shape shape = listShape(model, selection, dialect);
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
        .arg(shape.columns, shape.table, shape.where, shape.order.join(QStringLiteral(", ")));
}

Params OrderConsultation::params(OrderModel model, const OrderSelection& s)
{
    Params p;
    p.set(QStringLiteral("WCliNro1"), s.customerFrom);
    p.set(QStringLiteral("WCliNro2"), s.customerTo);
    p.set(QStringLiteral("WDocNro1"), s.numberFrom);
    p.set(QStringLiteral("WDocNro2"), s.numberTo);
    // A day counts whole whatever the time stored with it.
    p.set(QStringLiteral("WDatEnt1"), dayStart(s.deliveryFrom));
    p.set(QStringLiteral("WDatEnt2"), dayStart(s.deliveryTo.addDays(1)));
    if (model == OrderModel::Slots) {
        p.set(QStringLiteral("WDatProd1"), dayStart(s.productionFrom));
        p.set(QStringLiteral("WDatProd2"), dayStart(s.productionTo.addDays(1)));
    }
    p.set(QStringLiteral("WArtNro1"), s.articleFrom);
    p.set(QStringLiteral("WArtNro2"), s.articleTo);
    return p;
}

void OrderConsultation::open(kv::db::WindowedList& list, OrderModel model, const OrderSelection& selection)
{
    kv::db::Dataset& rows = list.dataset();
    rows.close();
    list.setShape(listShape(model, selection, rows.connection()->dialect()));
    const Params p = params(model, selection);
    for (const QString& name : p.names())
        rows.setParam(name, p.value(name));
    list.openFirst();
}

QVariantList OrderConsultation::listKey(Connection& application, OrderModel model, const OrderKey& key, int subQuote)
{
    const bool bySlots = model == OrderModel::Slots;
    Params p{{QStringLiteral("ANO"), key.year},
             {QStringLiteral("ORDNRO"), key.number},
             {QStringLiteral("DETAIL"), key.slot},
             {QStringLiteral("SUBORC"), subQuote}};
    if (bySlots)
        p.set(QStringLiteral("SEMANA"), key.week);
    const auto row = application.query(
        QStringLiteral("SELECT %1 FROM %2 WHERE ANO = :ANO AND ORDNRO = :ORDNRO AND DETAIL = :DETAIL "
                       "AND SUBORC = :SUBORC%3")
            .arg(listOrder(model).join(QStringLiteral(", ")), tableOf(model),
                 bySlots ? QStringLiteral(" AND SEMANA = :SEMANA") : QString()),
        p);
    if (row.isEmpty())
        return {};
    return QVariantList(row.rows[0].begin(), row.rows[0].end());
}

long long OrderConsultation::count(Connection& application, OrderModel model, const OrderSelection& selection)
{
    return application
        .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                    .arg(tableOf(model), where(model, selection, application.dialect(), {})),
                params(model, selection))
        .toLongLong();
}

long long OrderConsultation::count(kv::db::WindowedList& list, OrderModel model, const OrderSelection& selection)
{
    if (!list.moreBefore() && !list.moreAfter())
        return list.dataset().recordCount();
    return count(*list.dataset().connection(), model, selection);
}

QString OrderConsultation::consumptionSql()
{
    return QStringLiteral("SELECT * FROM ORCCONSUMOS WHERE ANO = :WOfAno AND CODIGO = :WOfOrdNro "
                          "AND SUBCODIGO = :WSubOrc AND ENCDETAIL = :WOfDetail "
                          "ORDER BY ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL");
}

void OrderConsultation::openConsumption(kv::db::Dataset& consumption, const QString& year, int number,
                                        int subQuote, int slot)
{
    consumption.close();
    consumption.setSql(consumptionSql());
    consumption.setParam(QStringLiteral("WOfAno"), year);
    consumption.setParam(QStringLiteral("WOfOrdNro"), number);
    consumption.setParam(QStringLiteral("WSubOrc"), subQuote);
    consumption.setParam(QStringLiteral("WOfDetail"), slot);
    consumption.open();
}

void OrderConsultation::clearStatistics(Connection& application, const QString& user)
{
    kv::db::Transaction transaction(application);
    for (const char* table : {"OFESTAT", "OFCONSUMOS", "OFTRANSFORM"})
        application.exec(QStringLiteral("DELETE FROM %1 WHERE UTIL = :WUtil").arg(QLatin1String(table)),
                         {{QStringLiteral("WUtil"), user}});
    using kv::quotes::ChartRows;
    ChartRows(application, ChartRows::Table::Saldos, user, chartProgram()).clear();
    ChartRows(application, ChartRows::Table::Saldos1, user, chartProgram()).clear();
    transaction.commit();
}

void OrderConsultation::process(Connection& application, const QString& user, const OrderSelection& selection)
{
    const Dialect dialect = application.dialect();
    Params p = params(OrderModel::Slots, selection);
    p.set(QStringLiteral("WUtil"), user);
    p.set(QStringLiteral("WMp"), kv::domain::costClassCode(kv::domain::CostClass::RawMaterial));
    p.set(QStringLiteral("WCm"), kv::domain::costClassCode(kv::domain::CostClass::Machines));
    // An order without a production week, or a consumption row without an
    // article, still counts: under an empty key, never a NULL one.
    const QString week = QStringLiteral("COALESCE(O.SEMANAPROD, '')");
    const QString user15 = QStringLiteral("CAST(:WUtil AS VARCHAR(15))");
    const QString condition = where(OrderModel::Slots, selection, dialect, QStringLiteral("O."));
    const QString orders = QStringLiteral("FROM ORDFABDET O WHERE %1").arg(condition);
    const QString withConsumption =
        QStringLiteral("FROM ORDFABDET O JOIN ORCCONSUMOS C ON C.ANO = O.ANO AND C.CODIGO = O.ORDNRO "
                       "AND C.SUBCODIGO = O.SUBORC AND C.ENCDETAIL = O.DETAIL WHERE %1")
            .arg(condition);

    kv::db::Transaction transaction(application);
    clearStatistics(application, user);
    application.exec(QStringLiteral("INSERT INTO OFESTAT (UTIL, ANO, SEMANA, NROOFS, QUANTID) "
                                    "SELECT %1, O.ANO, %2, COUNT(*), SUM(COALESCE(O.QUANTIDADE, 0)) %3 "
                                    "GROUP BY O.ANO, %2")
                         .arg(user15, week, orders),
                     p);
    application.exec(
        QStringLiteral("INSERT INTO OFCONSUMOS (UTIL, ANO, SEMANA, ARTIGO, QUANTID, DESIGNACAO, UNIDADE) "
                       "SELECT %1, O.ANO, %2, COALESCE(C.ARTIGO, ''), SUM(COALESCE(C.CONSUMO, 0)), "
                       "MIN(SUBSTR(C.DESIGN, 1, 35)), MIN(SUBSTR(C.UNIDADE, 1, 3)) %3 AND C.TIPOCUSTO = :WMp "
                       "GROUP BY O.ANO, %2, COALESCE(C.ARTIGO, '')")
            .arg(user15, week, withConsumption),
        p);
    application.exec(QStringLiteral("INSERT INTO OFTRANSFORM (UTIL, ANO, SEMANA, QUANTID, DESIGNACAO, UNIDADE) "
                                    "SELECT %1, O.ANO, %2, SUM(%3), MIN(SUBSTR(C.DESIGN, 1, 35)), "
                                    "MIN(SUBSTR(C.UNIDADE, 1, 3)) %4 AND C.TIPOCUSTO = :WCm GROUP BY O.ANO, %2")
                         .arg(user15, week, minutesOf(dialect, QStringLiteral("COALESCE(C.CONSUMO, 0)")),
                              withConsumption),
                     p);

    // One slice per production week: the same week of two years adds up.
    using kv::quotes::ChartRows;
    auto chart = [&](const char* table, ChartRows::Table rows) {
        ChartRows slices(application, rows, user, chartProgram());
        const auto result = application.query(
            QStringLiteral("SELECT SEMANA, QUANTID FROM %1 WHERE UTIL = :WUtil ORDER BY ANO, SEMANA")
                .arg(QLatin1String(table)),
            {{QStringLiteral("WUtil"), user}});
        for (const auto& row : result.rows) {
            const QString weekText = row[0].toString();
            slices.addSlice(weekText.toInt(), weekText, row[1].toDouble(), 2);
        }
    };
    chart("OFESTAT", ChartRows::Table::Saldos);
    chart("OFTRANSFORM", ChartRows::Table::Saldos1);
    transaction.commit();
}

QString OrderConsultation::deletionNotice(int number)
{
    return QStringLiteral("Todas as O.F. com o nº") + QString::number(number) + QStringLiteral(" serão eliminadas !!");
}

QString OrderConsultation::deletionQuestion() { return QStringLiteral("Eliminação Ordem de Fabrico !!! Confirma ?"); }

QString OrderConsultation::issuedQuestion()
{
    return QStringLiteral("Esta OF já foi emitida Confirma a sua Eliminação !!! Confirma ?");
}

QString OrderConsultation::deletionKindName() { return QStringLiteral("OF.ELIMINACAO"); }

namespace {

bool slotModel(const kv::db::TwoDatabaseOperation& operation)
{
    return operation.data.value(QStringLiteral("model")).toString() == QLatin1String("S");
}

// The customer-order lines of the order: its year and number, and in the
// slot model its week.
QString linesOf(bool bySlots)
{
    return bySlots ? QStringLiteral("ANO = :ANO AND SEMANA = :SEMANA AND ENCNRO = :NUMERO")
                 : QStringLiteral("ANO = :ANO AND ENCNRO = :NUMERO");
}

Params keyParams(const QVariantMap& d)
{
    return {{QStringLiteral("ANO"), d.value(QStringLiteral("year")).toString()},
            {QStringLiteral("SEMANA"), d.value(QStringLiteral("week")).toString()},
            {QStringLiteral("NUMERO"), d.value(QStringLiteral("number")).toInt()}};
}

// The application side: the order's rows of its year (every slot and
// sub-quote), its planned consumption and the records of its generated
// lines. An order no longer there was deleted by another workstation.
void deleteRows(Connection& application, const kv::db::TwoDatabaseOperation& operation)
{
    const bool bySlots = slotModel(operation);
    const Params key = keyParams(operation.data);
    try {
        long long deleted = 0;
        if (bySlots) {
            deleted = application.exec(
                QStringLiteral("DELETE FROM ORDFABDET WHERE ANO = :ANO AND SEMANA = :SEMANA AND ORDNRO = :NUMERO"),
                key);
            application.exec(QStringLiteral("DELETE FROM ORCCONSUMOS WHERE ANO = :ANO AND CODIGO = :NUMERO"), key);
            application.exec(
                QStringLiteral("DELETE FROM ORDFABENC WHERE ANO = :ANO AND SEMANA = :SEMANA AND ORDNRO = :NUMERO"),
                key);
        } else {
            deleted = application.exec(QStringLiteral("DELETE FROM ORDFABRICO WHERE ANO = :ANO AND ORDNRO = :NUMERO"),
                                       key);
            application.exec(QStringLiteral("DELETE FROM ORDFABRICODET WHERE ANO = :ANO AND ORDNRO = :NUMERO"), key);
        }
        if (deleted == 0)
            throw kv::db::TwoDatabaseRefusal(OrderGone.arg(key.value(QStringLiteral("NUMERO")).toInt()));
    } catch (const kv::db::DbError& error) {
        // A lost connection or a wait that ran out is tried again later;
        // what the database refuses now it would refuse at every replay.
        if (error.kind() == kv::db::DbError::Kind::Connection || error.kind() == kv::db::DbError::Kind::Busy
            || error.kind() == kv::db::DbError::Kind::State)
            throw;
        throw kv::db::TwoDatabaseRefusal(error.fullText());
    }
}

// The marks back as they were, unless the order is gone: then the lines
// must stay free for a new generation.
void restoreMarks(Connection& invoicing, const kv::db::TwoDatabaseOperation& operation, const QString& reason)
{
    const Params key = keyParams(operation.data);
    if (reason == OrderGone.arg(key.value(QStringLiteral("NUMERO")).toInt()))
        return;
    for (const QVariant& mark : operation.data.value(QStringLiteral("marks")).toList()) {
        const QVariantMap m = mark.toMap();
        invoicing.exec(QStringLiteral("UPDATE ENCCLIDET SET ORDFAB = :ORDFAB WHERE ENCNRO = :ENCNRO AND DETAIL = :DETAIL "
                                      "AND ORDFAB = 0"),
                       {{QStringLiteral("ORDFAB"), m.value(QStringLiteral("ORDFAB")).toInt()},
                        {QStringLiteral("ENCNRO"), key.value(QStringLiteral("NUMERO")).toInt()},
                        {QStringLiteral("DETAIL"), m.value(QStringLiteral("DETAIL")).toInt()}});
    }
}

} // namespace

kv::db::TwoDatabaseKind OrderConsultation::deletionKind()
{
    kv::db::TwoDatabaseKind kind;
    kind.name = deletionKindName();
    kind.first = kv::db::role::invoicing();
    kind.second = kv::db::role::application();
    kind.secondStep = deleteRows;
    kind.compensate = restoreMarks;
    return kind;
}

OrderDeletion OrderConsultation::deleteOrder(kv::db::TwoDatabaseWork& work, OrderModel model, const OrderKey& key,
                                             const QString& user)
{
    const bool bySlots = model == OrderModel::Slots;
    QVariantMap data{{QStringLiteral("model"), bySlots ? QStringLiteral("S") : QStringLiteral("T")},
                     {QStringLiteral("year"), key.year},
                     {QStringLiteral("week"), key.week},
                     {QStringLiteral("number"), key.number}};
    const kv::db::TwoDatabaseResult result =
        work.run(deletionKindName(), QStringLiteral("Eliminação da O.F. %1").arg(key.number), user,
                 [&](Connection& invoicing) {
                     const Params lines = keyParams(data);
                     const auto marked = invoicing.query(
                         QStringLiteral("SELECT DETAIL, ORDFAB FROM ENCCLIDET WHERE %1 AND ORDFAB <> 0").arg(linesOf(bySlots)),
                         lines);
                     QVariantList marks;
                     for (const auto& row : marked.rows)
                         marks << QVariantMap{{QStringLiteral("DETAIL"), row[0]}, {QStringLiteral("ORDFAB"), row[1]}};
                     data.insert(QStringLiteral("marks"), marks);
                     invoicing.exec(QStringLiteral("UPDATE ENCCLIDET SET ORDFAB = 0 WHERE %1").arg(linesOf(bySlots)), lines);
                     return data;
                 });
    OrderDeletion deletion;
    deletion.message = result.message;
    switch (result.status) {
    case kv::db::TwoDatabaseResult::Status::Done: break;
    case kv::db::TwoDatabaseResult::Status::Pending: deletion.status = OrderDeletion::Status::Pending; break;
    case kv::db::TwoDatabaseResult::Status::Refused:
        if (result.message.contains(OrderGone.arg(key.number))) {
            deletion.status = OrderDeletion::Status::Gone;
            deletion.message = OrderGone.arg(key.number);
        } else {
            deletion.status = OrderDeletion::Status::Refused;
        }
        break;
    }
    return deletion;
}

} // namespace kv::production
