#include "production/core/SlotClosing.h"

#include "platform/db/Connection.h"
#include "production/core/StockPosting.h"

#include <QDateTime>

namespace kv::production {

using kv::db::Params;

namespace {

QDateTime slotDayStart(const QDate& date) { return QDateTime(date, QTime(0, 0)); }

} // namespace

SlotClosing::SlotClosing(kv::db::Connection& application, QString user) : m_db(application), m_user(std::move(user))
{
}

void SlotClosing::rebuild(const ClosingLimits& limits)
{
    const Params user{{"WUtil", m_user}};
    Params selection{{"WUtil", m_user},
                     {"WCliNro1", limits.customerFrom},
                     {"WCliNro2", limits.customerTo},
                     {"WDocNro1", limits.orderFrom},
                     {"WDocNro2", limits.orderTo},
                     {"WDatEnt1", slotDayStart(limits.deliveryFrom)},
                     {"WDatEnt2", slotDayStart(limits.deliveryTo.addDays(1))},
                     {"WArtNro1", limits.articleFrom},
                     {"WArtNro2", limits.articleTo}};
    const QString open = QStringLiteral(
        "D.PRODUZ = 'N' AND D.CLINRO >= :WCliNro1 AND D.CLINRO <= :WCliNro2 AND D.ORDNRO >= :WDocNro1 "
        "AND D.ORDNRO <= :WDocNro2 AND D.DATAENT >= :WDatEnt1 AND D.DATAENT < :WDatEnt2 "
        "AND D.ARTIGO >= :WArtNro1 AND D.ARTIGO <= :WArtNro2");
    kv::db::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM WORKORDFAB WHERE UTIL = :WUtil"), user);
    m_db.exec(QStringLiteral("DELETE FROM WORKORDFABDET WHERE UTIL = :WUtil"), user);
    m_db.exec(QStringLiteral("INSERT INTO WORKORDFAB (UTIL, ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ORCNRO, CLINRO, "
                             "CLISIGLA, ARTIGO, DESIGNACAO, UNVEND, DATAEMI, DATAENT, NPLANOS, DATAPROD, PRODUZ, "
                             "QUANTIDADE, PLCOMPRI, PLLARGUR, PLCOMPRI2, PLLARGUR2, QTDPROD, CCOL_MAT1, CCOL_MAT2, "
                             "CCOL_MAT3, CCOL_TMAT1, CCOL_TMAT2, CCOL_TMAT3, LISTQTDPROD) "
                             "SELECT :WUtil, D.ANO, D.SEMANA, D.ORDNRO, D.SUBORC, D.DETAIL, D.ORCNRO, D.CLINRO, "
                             "D.CLISIGLA, D.ARTIGO, D.DESIGNACAO, D.UNVEND, D.DATAEMI, D.DATAENT, D.NPLANOS, "
                             "D.DATAPROD, D.PRODUZ, COALESCE(D.QUANTIDADE, 0) - COALESCE(D.QTDPROD, 0), "
                             "D.PLNCOMPRIM1, D.PLNLARGURA1, D.PLNCOMPRIM2, D.PLNLARGURA2, 0, O.CARTOLINA, "
                             "O.MICROCANAL, O.PLACA, 8, 8, 8, COALESCE(D.QTDPROD, 0) "
                             "FROM ORDFABDET D JOIN ORCMAS O ON O.CODIGO = D.ORCNRO AND O.SUBCODIGO = D.SUBORC "
                             "WHERE ")
                  + open,
              selection);
    const bool consumptionYear = m_db.columnExists(QStringLiteral("ORCCONSUMOS"), QStringLiteral("ANO"));
    m_db.exec(QStringLiteral("INSERT INTO WORKORDFABDET (UTIL, ANO, SEMANA, ORDNRO, SUBORC, DETAIL, WRK_DETAIL, "
                             "ARTIGO, DESIGNACAO, QUANTIDADE) "
                             "SELECT :WUtil, D.ANO, D.SEMANA, D.ORDNRO, D.SUBORC, D.DETAIL, C.DETAIL, C.ARTIGO, "
                             "C.DESIGN, 0 FROM ORDFABDET D "
                             "JOIN ORCMAS O ON O.CODIGO = D.ORCNRO AND O.SUBCODIGO = D.SUBORC "
                             "JOIN ORCCONSUMOS C ON C.CODIGO = D.ORDNRO AND C.SUBCODIGO = D.SUBORC "
                             "AND C.ENCDETAIL = D.DETAIL AND C.TIPOTABELA = 8")
                  + (consumptionYear ? QStringLiteral(" AND C.ANO = D.ANO") : QString()) + QStringLiteral(" WHERE ")
                  + open,
              selection);
    transaction.commit();
}

void SlotClosing::cancel()
{
    const Params user{{"WUtil", m_user}};
    kv::db::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("UPDATE WORKORDFAB SET QTDPROD=0, PRODUZ='N' WHERE UTIL=:WUtil"), user);
    m_db.exec(QStringLiteral("UPDATE WORKORDFABDET SET QUANTIDADE = 0 WHERE UTIL=:WUtil"), user);
    transaction.commit();
}

QString SlotClosing::checkProduced()
{
    const QVariant unproduced = m_db.scalar(
        QStringLiteral("SELECT ORDNRO FROM WORKORDFAB WHERE UTIL = :WUtil AND PRODUZ = 'S' AND COALESCE(QTDPROD, 0) = 0"),
        {{"WUtil", m_user}});
    return unproduced.isValid() ? QStringLiteral("Verifique as confirmações de Produção - Qtd.Produzida = 0") : QString();
}

ClosingParameters ClosingParameters::read(kv::db::Connection& application)
{
    const kv::db::QueryResult row = application.query(
        QStringLiteral("SELECT TRS_ENTRADA, TRS_SAIDA, ARM_ENTRADA, ARM_SAIDA FROM ORCPARGER WHERE CODIGO = 1"));
    if (row.isEmpty())
        return {};
    auto code = [&row](const char* column) { return row.value(0, QLatin1String(column)).toInt(); };
    return {code("TRS_ENTRADA"), code("TRS_SAIDA"), code("ARM_ENTRADA"), code("ARM_SAIDA"), true};
}

int SlotClosing::checkConsumptions(StockPosting& posting)
{
    const Params user{{"WUtil", m_user}};
    const ClosingParameters issue = ClosingParameters::read(m_db);
    const kv::db::QueryResult lines = m_db.query(
        QStringLiteral("SELECT L.ORDNRO, L.ARTIGO FROM WORKORDFAB W JOIN WORKORDFABDET L ON L.UTIL = W.UTIL "
                       "AND L.ANO = W.ANO AND L.SEMANA = W.SEMANA AND L.ORDNRO = W.ORDNRO AND L.SUBORC = W.SUBORC "
                       "AND L.DETAIL = W.DETAIL WHERE W.UTIL = :WUtil AND COALESCE(L.QUANTIDADE, 0) <> 0 "
                       "ORDER BY W.DATAENT, W.ANO, W.SEMANA, W.ORDNRO, W.SUBORC, W.DETAIL, L.WRK_DETAIL"),
        user);
    kv::db::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM ACTUALFECHOOF WHERE UTIL = :WUtil"), user);
    int errors = 0;
    auto insertError = [&](const QVariant& order, const QString& text) {
        m_db.exec(QStringLiteral("INSERT INTO ACTUALFECHOOF (UTIL, ORDNRO, CODTAB, DETAIL, DESIGNACAO, ERRO) "
                                 "VALUES (:WUtil, :ORDNRO, 0, :DETAIL, '', :ERRO)"),
                  {{"WUtil", m_user}, {"ORDNRO", order}, {"DETAIL", ++errors}, {"ERRO", text.left(50)}});
    };
    // Without the issue transaction or the raw-material warehouse no
    // consumption could be posted: say so before anything is written.
    if (!lines.isEmpty() && !posting.transaction(issue.issueTransaction))
        insertError(lines.value(0, QStringLiteral("ORDNRO")),
                    QStringLiteral("Cod.Movimento de Saida inexistente ...") + QString::number(issue.issueTransaction));
    if (!lines.isEmpty() && !posting.warehouseExists(issue.issueWarehouse))
        insertError(lines.value(0, QStringLiteral("ORDNRO")),
                    QStringLiteral("Armazem Matéria Prima Inexistente ") + QString::number(issue.issueWarehouse));
    for (std::size_t i = 0; i < lines.rows.size(); ++i) {
        const QString article = lines.value(i, QStringLiteral("ARTIGO")).toString();
        if (!posting.article(article))
            insertError(lines.value(i, QStringLiteral("ORDNRO")), QStringLiteral("Artigo Inexistente -> ") + article);
    }
    transaction.commit();
    return errors;
}

std::vector<ClosingOrder> SlotClosing::orders(const QDate& movementDate)
{
    const Params user{{"WUtil", m_user}};
    const ClosingParameters issue = ClosingParameters::read(m_db);
    const kv::db::QueryResult listed = m_db.query(
        QStringLiteral("SELECT ANO, SEMANA, ORDNRO, SUBORC, DETAIL, CLINRO, PRODUZ, QTDPROD, LISTQTDPROD FROM WORKORDFAB "
                       "WHERE UTIL = :WUtil ORDER BY DATAENT, ANO, SEMANA, ORDNRO, SUBORC, DETAIL"),
        user);
    const kv::db::QueryResult lines = m_db.query(
        QStringLiteral("SELECT ANO, SEMANA, ORDNRO, SUBORC, DETAIL, WRK_DETAIL, ARTIGO, QUANTIDADE FROM WORKORDFABDET "
                       "WHERE UTIL = :WUtil AND COALESCE(QUANTIDADE, 0) <> 0 ORDER BY WRK_DETAIL"),
        user);
    std::vector<ClosingOrder> orders;
    for (std::size_t i = 0; i < listed.rows.size(); ++i) {
        auto text = [&](const char* column) { return listed.value(i, QLatin1String(column)).toString(); };
        auto number = [&](const char* column) { return listed.value(i, QLatin1String(column)).toInt(); };
        ClosingOrder order;
        order.year = text("ANO");
        order.week = text("SEMANA");
        order.orderNumber = number("ORDNRO");
        order.subQuote = number("SUBORC");
        order.detail = number("DETAIL");
        order.ticked = text("PRODUZ") == QLatin1String("S");
        order.produced = listed.value(i, QStringLiteral("QTDPROD")).toDouble();
        order.listedProduced = listed.value(i, QStringLiteral("LISTQTDPROD")).toDouble();
        for (std::size_t j = 0; j < lines.rows.size(); ++j) {
            auto lineText = [&](const char* column) { return lines.value(j, QLatin1String(column)).toString(); };
            if (lineText("ANO") != order.year || lineText("SEMANA") != order.week
                || lines.value(j, QStringLiteral("ORDNRO")).toInt() != order.orderNumber
                || lines.value(j, QStringLiteral("SUBORC")).toInt() != order.subQuote
                || lines.value(j, QStringLiteral("DETAIL")).toInt() != order.detail)
                continue;
            const double quantity = lines.value(j, QStringLiteral("QUANTIDADE")).toDouble();
            order.consumptions.push_back(
                {lines.value(j, QStringLiteral("WRK_DETAIL")).toInt(), lineText("ARTIGO"), quantity});
            order.movements.push_back({lineText("ARTIGO"), quantity, issue.issueTransaction, issue.issueWarehouse,
                                       number("CLINRO"), order.orderNumber, movementDate});
        }
        orders.push_back(std::move(order));
    }
    return orders;
}

QStringList SlotClosing::setupProblems(kv::db::Connection& application, kv::db::Connection& invoicing,
                                       StockPosting& posting, const QString& workingYear)
{
    const Params year{{"ANO", workingYear}};
    if (!invoicing.scalar(QStringLiteral("SELECT ANO FROM STKPARGER WHERE ANO = :ANO"), year).isValid())
        return {QStringLiteral("<PARAMETROS GERAIS> ... INEXISTENTES")};
    const QString check = QStringLiteral("Verifique Parâmetros Gerais ...");
    const ClosingParameters parameters = ClosingParameters::read(application);
    if (!parameters.found)
        return {check};
    if (!posting.transaction(parameters.entryTransaction) || !posting.transaction(parameters.issueTransaction))
        return {QStringLiteral("Parametrização de Movimentos Inexistente ..."), check};
    if (!posting.warehouseExists(parameters.entryWarehouse))
        return {QStringLiteral("Parametrização de Armazém Produtos Acabados Inexistente ..."), check};
    if (!posting.warehouseExists(parameters.issueWarehouse))
        return {QStringLiteral("Parametrização de Armazém Matéria Prima Inexistente ..."), check};
    if (!invoicing.scalar(QStringLiteral("SELECT ANO FROM PARGER WHERE ANO = :ANO"), year).isValid())
        return {QStringLiteral("PARAMETROS GERAIS, Inexistentes")};
    return {};
}

QString SlotClosing::errorListSql()
{
    return QStringLiteral("SELECT * FROM ACTUALFECHOOF WHERE UTIL = :WUtil ORDER BY ORDNRO, DETAIL");
}

} // namespace kv::production
