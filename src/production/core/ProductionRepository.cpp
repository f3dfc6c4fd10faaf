#include "production/core/ProductionRepository.h"

#include "platform/db/Connection.h"
#include "quotes/core/QuoteRow.h"

namespace kv::production {

namespace {

QString flag(bool ticked) { return ticked ? QStringLiteral("S") : QStringLiteral("N"); }

kv::db::Params keyParams(const OrderRowKey& key)
{
    return {{"ANO", key.year},
            {"SEMANA", key.week},
            {"ORDNRO", key.orderNumber},
            {"SUBORC", key.subQuote},
            {"DETAIL", key.slot}};
}

const char* const OrderRowWhere =
    " WHERE ANO = :ANO AND SEMANA = :SEMANA AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC AND DETAIL = :DETAIL";

kv::db::Params workListKey(const QString& user, const WorkListRow& row)
{
    return {{"UTIL", user}, {"ANO", row.year}, {"SEMANA", row.week}, {"ENCNRO", row.orderNumber}, {"DETAIL", row.detail}};
}

const char* const WorkListWhere =
    " WHERE UTIL = :UTIL AND ANO = :ANO AND SEMANA = :SEMANA AND ENCNRO = :ENCNRO AND DETAIL = :DETAIL";

} // namespace

QVariant dateParameter(const QDate& date) { return date.isValid() ? QVariant(date.startOfDay()) : QVariant(); }

OrderLine OrderLine::fromRow(const kv::db::QueryResult& rows, std::size_t row)
{
    auto text = [&](const char* column) { return rows.value(row, QLatin1String(column)).toString().trimmed(); };
    auto number = [&](const char* column) { return rows.value(row, QLatin1String(column)).toDouble(); };
    auto integer = [&](const char* column) { return rows.value(row, QLatin1String(column)).toInt(); };
    auto date = [&](const char* column) { return rows.value(row, QLatin1String(column)).toDateTime().date(); };
    OrderLine l;
    l.year = text("ANO");
    l.week = text("SEMANA");
    l.orderNumber = integer("ENCNRO");
    l.detail = integer("DETAIL");
    l.quoteNumber = integer("ORCNRO");
    l.customer = integer("CLINRO");
    l.article = text("ARTIGO");
    l.designation = text("DESIGNACAO");
    l.salesUnit = text("UNVEND");
    l.compri = number("COMPRI");
    l.largur = number("LARGUR");
    l.altura = number("ALTURA");
    l.customerReference = text("VOSREF");
    l.quantity = number("QTDCAR");
    l.issued = date("DATEMI");
    l.delivery = date("DATAENTRG");
    l.production = date("DATAPROD");
    l.productionOrder = integer("ORDFAB");
    return l;
}

ProductionRepository::ProductionRepository(kv::db::Connection& connection)
    : m_db(connection)
{
}

QString ProductionRepository::workListSql()
{
    return QStringLiteral("SELECT * FROM TEMPENCCLIDET WHERE UTIL = :UTIL ORDER BY ANO, SEMANA, ENCNRO, DATENT");
}

void ProductionRepository::clearWorkList(const QString& user)
{
    m_db.exec(QStringLiteral("DELETE FROM TEMPENCCLIDET WHERE UTIL = :UTIL"), {{"UTIL", user}});
}

void ProductionRepository::insertWorkListRow(const QString& user, const OrderLine& line)
{
    m_db.exec(QStringLiteral("INSERT INTO TEMPENCCLIDET (UTIL, ANO, SEMANA, ENCNRO, DETAIL, ARTIGO, DESIGNACAO, "
                             "UNVEND, COMPRI, LARGUR, ALTURA, VOSREF, QTDCAR, DATEMI, DATENT, CLINRO, GERAR, FICTEC, "
                             "OFNRO1) VALUES (:UTIL, :ANO, :SEMANA, :ENCNRO, :DETAIL, :ARTIGO, :DESIGNACAO, :UNVEND, "
                             ":COMPRI, :LARGUR, :ALTURA, :VOSREF, :QTDCAR, :DATEMI, :DATENT, :CLINRO, 'S', 'S', 'S')"),
              {{"UTIL", user},
               {"ANO", line.year},
               {"SEMANA", line.week},
               {"ENCNRO", line.orderNumber},
               {"DETAIL", line.detail},
               {"ARTIGO", line.article},
               {"DESIGNACAO", line.designation.left(40)},
               {"UNVEND", line.salesUnit},
               {"COMPRI", line.compri},
               {"LARGUR", line.largur},
               {"ALTURA", line.altura},
               {"VOSREF", line.customerReference},
               {"QTDCAR", line.quantity},
               {"DATEMI", dateParameter(line.issued)},
               {"DATENT", dateParameter(line.delivery)},
               {"CLINRO", line.customer}});
}

std::vector<WorkListRow> ProductionRepository::workList(const QString& user)
{
    const kv::db::QueryResult r = m_db.query(workListSql(), {{"UTIL", user}});
    std::vector<WorkListRow> rows;
    for (std::size_t i = 0; i < r.rows.size(); ++i) {
        auto text = [&](const QString& column) { return r.value(i, column).toString().trimmed(); };
        WorkListRow w;
        w.year = text("ANO");
        w.week = text("SEMANA");
        w.orderNumber = r.value(i, "ENCNRO").toInt();
        w.detail = r.value(i, "DETAIL").toInt();
        w.article = text("ARTIGO");
        w.designation = text("DESIGNACAO");
        w.salesUnit = text("UNVEND");
        w.compri = r.value(i, "COMPRI").toDouble();
        w.largur = r.value(i, "LARGUR").toDouble();
        w.quantity = r.value(i, "QTDCAR").toDouble();
        w.delivery = r.value(i, "DATENT").toDateTime().date();
        w.customer = r.value(i, "CLINRO").toInt();
        w.generate = text("GERAR") == QLatin1String("S");
        for (int slot = 1; slot <= 5 && w.slot == 0; ++slot)
            if (text(QStringLiteral("OFNRO%1").arg(slot)) == QLatin1String("S"))
                w.slot = slot;
        rows.push_back(w);
    }
    return rows;
}

bool ProductionRepository::setWorkListFlag(const QString& user, const WorkListRow& row, const QString& column,
                                           bool ticked)
{
    static const QStringList columns = {QStringLiteral("GERAR"),  QStringLiteral("OFNRO1"), QStringLiteral("OFNRO2"),
                                        QStringLiteral("OFNRO3"), QStringLiteral("OFNRO4"), QStringLiteral("OFNRO5")};
    if (!columns.contains(column))
        return false;
    kv::db::Params p = workListKey(user, row);
    p.set("VALOR", flag(ticked));
    m_db.exec(QStringLiteral("UPDATE TEMPENCCLIDET SET %1 = :VALOR").arg(column) + QLatin1String(WorkListWhere), p);
    return true;
}

void ProductionRepository::removeWorkListRow(const QString& user, const WorkListRow& row)
{
    m_db.exec(QStringLiteral("DELETE FROM TEMPENCCLIDET") + QLatin1String(WorkListWhere), workListKey(user, row));
}

std::optional<StoredOrderRow> ProductionRepository::lockOrderRow(const OrderRowKey& key)
{
    const QString lock = m_db.dialect() == kv::db::Dialect::Postgres ? QStringLiteral(" FOR UPDATE") : QString();
    const kv::db::QueryResult r = m_db.query(
        QStringLiteral("SELECT ORCNRO, ARTIGO, QUANTIDADE, DATAENT, QTD1, QTD2, QTD3, QTD4, QTD5 FROM ORDFABDET")
            + QLatin1String(OrderRowWhere) + lock,
        keyParams(key));
    if (r.isEmpty())
        return std::nullopt;
    StoredOrderRow s;
    s.quoteNumber = r.value(0, "ORCNRO").toInt();
    s.article = r.value(0, "ARTIGO").toString().trimmed();
    s.quantity = r.value(0, "QUANTIDADE").toDouble();
    s.firstDelivery = r.value(0, "DATAENT").toDateTime().date();
    for (int k = 0; k < 5; ++k)
        s.deliveryQuantity[k] = r.value(0, QStringLiteral("QTD%1").arg(k + 1)).toDouble();
    return s;
}

bool ProductionRepository::orderRowExists(const OrderRowKey& key)
{
    return m_db.scalar(QStringLiteral("SELECT 1 FROM ORDFABDET") + QLatin1String(OrderRowWhere), keyParams(key))
        .isValid();
}

QString ProductionRepository::otherWeekOfSlot(const OrderRowKey& key)
{
    const QVariant week = m_db.scalar(
        QStringLiteral("SELECT MIN(SEMANA) FROM ORDFABDET WHERE ANO = :ANO AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC "
                       "AND DETAIL = :DETAIL AND SEMANA <> :SEMANA"),
        keyParams(key));
    return week.isNull() ? QString() : week.toString();
}

void ProductionRepository::insertOrderRow(const OrderRowKey& key, const OrderLine& line,
                                          const kv::quotes::QuoteRow& quote, const QString& customerShortName,
                                          const QDate& issued, const QDate& delivery, const QString& productionWeek,
                                          double quantity, const ConsumptionPlan& plan)
{
    kv::db::Params p = keyParams(key);
    p.set("ENCNRO", line.orderNumber);
    p.set("ORCNRO", line.quoteNumber);
    p.set("CLINRO", line.customer);
    p.set("CLISIGLA", customerShortName.left(15));
    p.set("ARTIGO", line.article);
    p.set("QUANTIDADE", quantity);
    p.set("DATAEMI", dateParameter(issued));
    p.set("DATAENT", dateParameter(line.delivery));
    p.set("DATAPROD", dateParameter(delivery));
    p.set("SEMANAPROD", productionWeek);
    p.set("UNVEND", line.salesUnit);
    p.set("NPLANOS", plan.sheets);
    p.set("DESIGNACAO", quote.text(QStringLiteral("DESIGN1")).left(40));
    p.set("DATENT", dateParameter(delivery));
    p.set("NROENT", plan.passes);
    for (const char* column : {"PLNCOMPRIM1", "PLNLARGURA1", "PLNCOMPRIM2", "PLNLARGURA2", "COMPRIM", "LARGURA", "ALTURA"})
        p.set(QLatin1String(column), quote.number(QLatin1String(column)));
    m_db.exec(
        QStringLiteral(
            "INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, ORCNRO, CLINRO, CLISIGLA, ARTIGO, "
            "QUANTIDADE, DATAEMI, DATAENT, DATAPROD, SEMANAPROD, QTDPROD, UNVEND, PRODUZ, QUANTFINAL, OBSERV1, OBSERV2, "
            "OBSERV3, OBSERV4, MAQUETA, MODELO, DIAPOSITIVOS, FOTOLITOS, PROVAS, REPETICAO, REPETICAOALTER, "
            "CORTANTESIM, CORTANTENAO, CORTANTESIMALTER, FUNDOAUTO, FUNDOSEMIAUTO, TAMPA, COLAGEMLATERAL, "
            "COLAGEMCANTOS, COLAGEMDUPLA, PLASTICIZAR, IMPR, NPLANOS, DESIGNACAO, DATENT2, DATENT3, DATENT4, DATENT5, "
            "QTD1, QTD2, QTD3, QTD4, QTD5, QTDPLT1A, QTDPLT1B, QTDPLT2A, QTDPLT2B, QTDPLT3A, QTDPLT3B, QTDPLT4A, "
            "QTDPLT4B, QTDEXT1A, QTDEXT1B, QTDEXT2A, QTDEXT2B, QTDEXT3A, QTDEXT3B, QTDEXT4A, QTDEXT4B, FUNDO, CAIXA, "
            "TABULEIRO, AUTO_ARMAVEL, MANGA, PLNCOMPRIM1, PLNLARGURA1, PLNCOMPRIM2, PLNLARGURA2, COMPRIM, LARGURA, "
            "ALTURA, NROENT) VALUES (:ANO, :SEMANA, :ORDNRO, :SUBORC, :DETAIL, :ENCNRO, :ORCNRO, :CLINRO, :CLISIGLA, "
            ":ARTIGO, :QUANTIDADE, :DATAEMI, :DATAENT, :DATAPROD, :SEMANAPROD, 0, :UNVEND, 'N', :QUANTIDADE, '', '', "
            "'', '', '', '', '', '', '', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N', :NPLANOS, "
            ":DESIGNACAO, :DATENT, :DATENT, :DATENT, :DATENT, :QUANTIDADE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
            "0, 0, 0, 0, 0, 0, 'N', 'N', 'N', 'N', 'N', :PLNCOMPRIM1, :PLNLARGURA1, :PLNCOMPRIM2, :PLNLARGURA2, "
            ":COMPRIM, :LARGURA, :ALTURA, :NROENT)"),
        p);
}

void ProductionRepository::mergeIntoOrderRow(const OrderRowKey& key, const StoredOrderRow& stored, double added,
                                             double sheets, const QDate& delivery)
{
    kv::db::Params p = keyParams(key);
    p.set("ADDED", added);
    p.set("NPLANOS", sheets);
    QString deliveries;
    // Deliveries 2 to 5 with no quantity are free; the merged line takes the
    // first of them, and a delivery dated like the first one stays apart by
    // its quantity. With none free only the quantity grows.
    for (int k = 2; k <= 5; ++k) {
        if (stored.deliveryQuantity[k - 1] != 0.0)
            continue;
        deliveries = QStringLiteral(", DATENT%1 = :DATENT, QTD%1 = :ADDED").arg(k);
        p.set("DATENT", dateParameter(delivery));
        break;
    }
    m_db.exec(QStringLiteral("UPDATE ORDFABDET SET QUANTIDADE = COALESCE(QUANTIDADE, 0) + :ADDED, "
                             "QUANTFINAL = COALESCE(QUANTFINAL, 0) + :ADDED, NPLANOS = :NPLANOS")
                  + deliveries + QLatin1String(OrderRowWhere),
              p);
}

void ProductionRepository::createConsumption(const OrderRowKey& key, const QDate& delivery, const ConsumptionPlan& plan)
{
    // Rows under the key of a new order item were left by an order that is
    // gone: they make way for the item's own.
    m_db.exec(QStringLiteral("DELETE FROM ORCCONSUMOS WHERE ANO = :ANO AND CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO "
                             "AND ENCDETAIL = :ENCDETAIL"),
              {{"ANO", key.year}, {"CODIGO", key.orderNumber}, {"SUBCODIGO", key.subQuote}, {"ENCDETAIL", key.slot}});
    for (const ConsumptionRow& row : plan.rows) {
        kv::db::Params k{{"ANO", key.year},
                         {"CODIGO", key.orderNumber},
                         {"SUBCODIGO", key.subQuote},
                         {"ENCDETAIL", key.slot},
                         {"DETAIL", row.detail}};
        k.set("TIPOTABELA", row.tableType);
        k.set("CODTAB", row.tableCode);
        k.set("DESIGN", row.designation.left(40));
        k.set("UNIDADE", row.unit);
        k.set("TIPOCUSTO", row.costClass);
        k.set("QTDAPROV", row.quantity);
        k.set("NROPASSAGENS", row.passes);
        k.set("PRDHOR", row.factor);
        k.set("ACERTO", row.makeReady);
        k.set("CONSUMO", row.consumption);
        k.set("SUPIMPRESS", row.printedSurface);
        k.set("DATAENT", dateParameter(delivery));
        k.set("ARTIGO", row.article);
        m_db.exec(QStringLiteral("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, "
                                 "CODTAB, DESIGN, UNIDADE, TIPOCUSTO, QTDAPROV, NROPASSAGENS, PRDHOR, ACERTO, CONSUMO, "
                                 "SUPIMPRESS, DATAENT, ARTIGO, ENTRADA) VALUES (:ANO, :CODIGO, :SUBCODIGO, :ENCDETAIL, "
                                 ":DETAIL, :TIPOTABELA, :CODTAB, :DESIGN, :UNIDADE, :TIPOCUSTO, :QTDAPROV, "
                                 ":NROPASSAGENS, :PRDHOR, :ACERTO, :CONSUMO, :SUPIMPRESS, :DATAENT, :ARTIGO, 1)"),
                  k);
    }
}

void ProductionRepository::rewriteConsumption(const OrderRowKey& key, const ConsumptionPlan& plan)
{
    for (const ConsumptionRow& row : plan.rows)
        m_db.exec(QStringLiteral("UPDATE ORCCONSUMOS SET QTDAPROV = :QTDAPROV, NROPASSAGENS = :NROPASSAGENS, "
                                 "PRDHOR = :PRDHOR, ACERTO = :ACERTO, CONSUMO = :CONSUMO WHERE ANO = :ANO AND "
                                 "CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO AND ENCDETAIL = :ENCDETAIL AND "
                                 "DETAIL = :DETAIL"),
                  {{"ANO", key.year},
                   {"CODIGO", key.orderNumber},
                   {"SUBCODIGO", key.subQuote},
                   {"ENCDETAIL", key.slot},
                   {"DETAIL", row.detail},
                   {"QTDAPROV", row.quantity},
                   {"NROPASSAGENS", row.passes},
                   {"PRDHOR", row.factor},
                   {"ACERTO", row.makeReady},
                   {"CONSUMO", row.consumption}});
}

bool ProductionRepository::lineRecorded(const QString& year, int orderNumber, int lineDetail)
{
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM ORDFABENC WHERE ANO = :ANO AND ENCNRO = :ENCNRO AND ENCDETAIL = :DETAIL"),
                {{"ANO", year}, {"ENCNRO", orderNumber}, {"DETAIL", lineDetail}})
        .isValid();
}

void ProductionRepository::recordLine(const OrderLine& line, int slot, const QString& user, const QDate& date)
{
    m_db.exec(QStringLiteral("INSERT INTO ORDFABENC (ANO, ENCNRO, ENCDETAIL, SEMANA, ORDNRO, DETAIL, UTIL, DATAGER) "
                             "VALUES (:ANO, :ENCNRO, :ENCDETAIL, :SEMANA, :ENCNRO, :DETAIL, :UTIL, :DATAGER)"),
              {{"ANO", line.year},
               {"ENCNRO", line.orderNumber},
               {"ENCDETAIL", line.detail},
               {"SEMANA", line.week},
               {"DETAIL", slot},
               {"UTIL", user},
               {"DATAGER", dateParameter(date)}});
}

bool ProductionRepository::modelTRowExists(const QString& year, int orderNumber, int subQuote, int lineDetail)
{
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM ORDFABRICO WHERE ANO = :ANO AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC "
                               "AND DETAIL = :DETAIL"),
                {{"ANO", year}, {"ORDNRO", orderNumber}, {"SUBORC", subQuote}, {"DETAIL", lineDetail}})
        .isValid();
}

void ProductionRepository::insertModelTRow(const OrderLine& line, int subQuote, const kv::quotes::QuoteRow& quote,
                                           const QString& customerShortName, const QDate& issued,
                                           const QDate& delivery, double quantity)
{
    m_db.exec(QStringLiteral("INSERT INTO ORDFABRICO (ANO, ORDNRO, SUBORC, DETAIL, ORCNRO, CLINRO, CLISIGLA, ARTIGO, "
                             "DESIGNACAO, QUANTIDADE, UNVEND, DATAEMI, DATAENT, QTDPROD, PRODUZ, ACTSTK, IMPR) VALUES "
                             "(:ANO, :ORDNRO, :SUBORC, :DETAIL, :ORCNRO, :CLINRO, :CLISIGLA, :ARTIGO, :DESIGNACAO, "
                             ":QUANTIDADE, :UNVEND, :DATAEMI, :DATAENT, 0, 'N', 'N', 'N')"),
              {{"ANO", line.year},
               {"ORDNRO", line.orderNumber},
               {"SUBORC", subQuote},
               {"DETAIL", line.detail},
               {"ORCNRO", line.quoteNumber},
               {"CLINRO", line.customer},
               {"CLISIGLA", customerShortName.left(15)},
               {"ARTIGO", line.article},
               {"DESIGNACAO", quote.text(QStringLiteral("DESIGN1")).left(40)},
               {"QUANTIDADE", quantity},
               {"UNVEND", line.salesUnit},
               {"DATAEMI", dateParameter(issued)},
               {"DATAENT", dateParameter(delivery)}});
}

} // namespace kv::production
