#include "production/core/WholeOrderClosing.h"

#include "production/core/StockPosting.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/SheetCount.h"

#include <QDateTime>
#include <cmath>

namespace kv::production {

using kv::db::Params;

namespace {

constexpr int GlueTable = 4;
constexpr int BoardTable = 8;

// The material slots of an order row in checking order: (code, table type).
std::vector<std::pair<int, int>> wholeOrderSlots(const kv::db::QueryResult& rows, std::size_t row)
{
    std::vector<std::pair<int, int>> found;
    for (int i = 1; i <= 5; ++i) {
        const int code = rows.value(row, QStringLiteral("CCOL_MAT%1").arg(i)).toInt();
        if (code != 0)
            found.emplace_back(code, rows.value(row, QStringLiteral("CCOL_TMAT%1").arg(i)).toInt());
    }
    for (const char* glue : {"COL_MAT1", "COL_MAT2"}) {
        const int code = rows.value(row, QLatin1String(glue)).toInt();
        if (code != 0)
            found.emplace_back(code, GlueTable);
    }
    return found;
}

} // namespace

std::optional<double> grossSheets(double produced, int unitsPerSheet, const std::vector<kv::quotes::WasteBand>& bands)
{
    if (unitsPerSheet == 0)
        return std::nullopt;
    const double net = produced / unitsPerSheet;
    const kv::quotes::WasteBand* band = kv::quotes::findWasteBand(bands, net);
    if (!band)
        return std::nullopt;
    return std::round(net + net * band->finishingNormal / 100);
}

double glueConsumption(const QString& calculation, double grams, double percentage, const SheetFigures& f)
{
    const double g = grams / 1000;
    if (calculation == QLatin1String("1"))
        return f.grossSheets > 0 ? f.area * g * f.grossSheets : 0;
    if (calculation == QLatin1String("2"))
        return g * f.produced / 1000;
    if (calculation == QLatin1String("3"))
        return percentage * g * f.produced / 1000;
    if (calculation == QLatin1String("4"))
        return f.area * g * f.grossSheets / 100;
    return 0;
}

double boardConsumption(const QString& calculation, double grams, const SheetFigures& f)
{
    if (calculation == QLatin1String("2"))
        return f.grossSheets;
    return f.area * (grams / 1000) * f.grossSheets;
}

WholeOrderClosing::WholeOrderClosing(kv::db::Connection& application, QString user)
    : m_db(application), m_user(std::move(user))
{
}

void WholeOrderClosing::rebuild(const ClosingLimits& limits)
{
    kv::db::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("DELETE FROM WORKORDFAB WHERE UTIL = :WUtil"), {{"WUtil", m_user}});
    m_db.exec(QStringLiteral(
                  "INSERT INTO WORKORDFAB (UTIL, ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ORCNRO, CLINRO, CLISIGLA, ARTIGO, "
                  "DESIGNACAO, QUANTIDADE, UNVEND, DATAEMI, DATAENT, DATAPROD, NPLANOS, PLCOMPRI, PLLARGUR, QTDPROD, "
                  "PRODUZ, CCOL_MAT1, CCOL_MAT2, CCOL_MAT3, CCOL_MAT4, CCOL_MAT5, CCOL_TMAT1, CCOL_TMAT2, CCOL_TMAT3, "
                  "CCOL_TMAT4, CCOL_TMAT5, COL_MAT1, COL_MAT2) "
                  "SELECT :WUtil, ANO, '', ORDNRO, SUBORC, DETAIL, ORCNRO, CLINRO, CLISIGLA, ARTIGO, DESIGNACAO, "
                  "QUANTIDADE, UNVEND, DATAEMI, DATAENT, DATAPROD, NPLANOS, PLCOMPRI, PLLARGUR, 0, PRODUZ, CCOL_MAT1, "
                  "CCOL_MAT2, CCOL_MAT3, CCOL_MAT4, CCOL_MAT5, CCOL_TMAT1, CCOL_TMAT2, CCOL_TMAT3, CCOL_TMAT4, "
                  "CCOL_TMAT5, COL_MAT1, COL_MAT2 FROM ORDFABRICO "
                  "WHERE PRODUZ = 'N' AND COALESCE(PLCOMPRI, 0) <> 0 AND CLINRO >= :WCliNro1 AND CLINRO <= :WCliNro2 "
                  "AND ORDNRO >= :WDocNro1 AND ORDNRO <= :WDocNro2 AND DATAENT >= :WDatEnt1 AND DATAENT < :WDatEnt2 "
                  "AND ARTIGO >= :WArtNro1 AND ARTIGO <= :WArtNro2"),
              {{"WUtil", m_user},
               {"WCliNro1", limits.customerFrom},
               {"WCliNro2", limits.customerTo},
               {"WDocNro1", limits.orderFrom},
               {"WDocNro2", limits.orderTo},
               {"WDatEnt1", QDateTime(limits.deliveryFrom, QTime(0, 0))},
               {"WDatEnt2", QDateTime(limits.deliveryTo.addDays(1), QTime(0, 0))},
               {"WArtNro1", limits.articleFrom},
               {"WArtNro2", limits.articleTo}});
    transaction.commit();
}

void WholeOrderClosing::cancel()
{
    m_db.exec(QStringLiteral("UPDATE WORKORDFAB SET QTDPROD=0, PRODUZ='N' WHERE UTIL=:WUtil"), {{"WUtil", m_user}});
}

QString WholeOrderClosing::checkTyped()
{
    const Params user{{"WUtil", m_user}};
    if (m_db.scalar(QStringLiteral("SELECT ORDNRO FROM WORKORDFAB WHERE UTIL = :WUtil AND PRODUZ = 'S' "
                                   "AND COALESCE(QTDPROD, 0) = 0"),
                    user)
            .isValid())
        return QStringLiteral("Verifique as confirmações de Produção - Qtd.Produzida = 0");
    if (m_db.scalar(QStringLiteral("SELECT ORDNRO FROM WORKORDFAB WHERE UTIL = :WUtil AND PRODUZ = 'S' "
                                   "AND (COALESCE(PLCOMPRI, 0) = 0 OR COALESCE(PLLARGUR, 0) = 0)"),
                    user)
            .isValid())
        return QStringLiteral("O.F. sem formato plano definido ...");
    return {};
}

kv::db::QueryResult WholeOrderClosing::ticked()
{
    return m_db.query(QStringLiteral("SELECT W.*, O.CODIGO AS QUOTE, O.UNDPLANO FROM WORKORDFAB W LEFT JOIN ORCMAS O "
                                     "ON O.CODIGO = W.ORCNRO AND O.SUBCODIGO = W.SUBORC "
                                     "WHERE W.UTIL = :WUtil AND W.PRODUZ = 'S' "
                                     "ORDER BY W.DATAENT, W.ANO, W.ORDNRO, W.SUBORC, W.DETAIL"),
                      {{"WUtil", m_user}});
}

std::vector<kv::quotes::WasteBand> WholeOrderClosing::bands()
{
    std::vector<kv::quotes::WasteBand> bands;
    const kv::db::QueryResult rows =
        m_db.query(QStringLiteral("SELECT CODIGO, QTD1, QTD2, PRCACAB1A FROM TIRAGLIQ ORDER BY CODIGO"));
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        kv::quotes::WasteBand band;
        band.code = rows.value(i, QStringLiteral("CODIGO")).toInt();
        band.from = rows.value(i, QStringLiteral("QTD1")).toDouble();
        band.to = rows.value(i, QStringLiteral("QTD2")).toDouble();
        band.finishingNormal = rows.value(i, QStringLiteral("PRCACAB1A")).toDouble();
        bands.push_back(band);
    }
    return bands;
}

WholeOrderClosing::Material WholeOrderClosing::material(int tableType, int code)
{
    const bool glue = tableType == GlueTable;
    const kv::db::QueryResult row = m_db.query(
        glue ? QStringLiteral("SELECT ARTIGO, DESIGNACAO, GRAMAGEM, PERC, TIPOCALC FROM COLAS WHERE CODIGO = :C")
             : QStringLiteral("SELECT ARTIGO, DESIGNACAO, GRAMAGEM, 0 AS PERC, TIPOCALC FROM PAPEIS WHERE CODIGO = :C"),
        {{"C", code}});
    if (row.isEmpty())
        return {};
    return {true,
            row.value(0, QStringLiteral("ARTIGO")).toString(),
            row.value(0, QStringLiteral("DESIGNACAO")).toString(),
            row.value(0, QStringLiteral("GRAMAGEM")).toDouble(),
            row.value(0, QStringLiteral("PERC")).toDouble(),
            row.value(0, QStringLiteral("TIPOCALC")).toString()};
}

int WholeOrderClosing::checkMaterials(StockPosting& posting, const std::function<void(int)>& working)
{
    const kv::db::QueryResult rows = ticked();
    const std::vector<kv::quotes::WasteBand> waste = bands();
    const ClosingParameters parameters = ClosingParameters::read(m_db);
    kv::db::Transaction transaction(m_db);
    m_db.exec(QStringLiteral("Delete from ACTUALFECHOOF where Util=:WUtil"), {{"WUtil", m_user}});
    int errors = 0;
    auto insertError = [&](const QVariant& order, int code, const QString& designation, const QString& text) {
        m_db.exec(QStringLiteral("INSERT INTO ACTUALFECHOOF (UTIL, ORDNRO, CODTAB, DETAIL, DESIGNACAO, ERRO) "
                                 "VALUES (:WUtil, :ORDNRO, :CODTAB, :DETAIL, :DESIGNACAO, :ERRO)"),
                  {{"WUtil", m_user},
                   {"ORDNRO", order},
                   {"CODTAB", code},
                   {"DETAIL", ++errors},
                   {"DESIGNACAO", designation.left(35)},
                   {"ERRO", text.left(50)}});
    };
    if (!rows.isEmpty()) {
        const QVariant first = rows.value(0, QStringLiteral("ORDNRO"));
        if (!posting.transaction(parameters.issueTransaction))
            insertError(first, 0, {}, QStringLiteral("Cod.Movimento de Saida inexistente ...") + QString::number(parameters.issueTransaction));
        if (!posting.warehouseExists(parameters.issueWarehouse))
            insertError(first, 0, {}, QStringLiteral("Armazem Matéria Prima Inexistente ") + QString::number(parameters.issueWarehouse));
        if (!posting.transaction(parameters.entryTransaction))
            insertError(first, 0, {}, QStringLiteral("Parametrização de Movimentos Inexistente ..."));
        if (!posting.warehouseExists(parameters.entryWarehouse))
            insertError(first, 0, {}, QStringLiteral("Parametrização de Armazém Produtos Acabados Inexistente ..."));
    }
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        const QVariant order = rows.value(i, QStringLiteral("ORDNRO"));
        if (working)
            working(order.toInt());
        // Without the quote's units per sheet or a waste band there is no
        // sheet count: posting the order would issue the wrong quantities.
        if (!rows.value(i, QStringLiteral("QUOTE")).isValid() || rows.value(i, QStringLiteral("QUOTE")).isNull())
            insertError(order, 0, {}, QStringLiteral("Orçamento Inexistente ..."));
        else if (rows.value(i, QStringLiteral("UNDPLANO")).toInt() == 0)
            insertError(order, 0, {}, QStringLiteral("Unidades por Plano Inexistentes ..."));
        else if (!grossSheets(rows.value(i, QStringLiteral("QTDPROD")).toDouble(),
                              rows.value(i, QStringLiteral("UNDPLANO")).toInt(), waste))
            insertError(order, 0, {}, QStringLiteral("Tiragem fora dos escalões de desperdício ..."));
        for (const auto& [code, type] : wholeOrderSlots(rows, i)) {
            if (type != GlueTable && type != BoardTable)
                continue;
            const bool glue = type == GlueTable;
            const Material m = material(type, code);
            if (!m.found)
                insertError(order, code, {}, glue ? QStringLiteral("Cola Inexistente ...")
                                                  : QStringLiteral("Cartolina Inexistente ..."));
            else if (m.grams == 0)
                insertError(order, code, m.designation, glue ? QStringLiteral("Consumo Cola Inexistente ...")
                                                             : QStringLiteral("Consumo Cartolina Inexistente ..."));
            else if (!posting.article(m.article))
                insertError(order, code, m.designation, QStringLiteral("Artigo Inexistente : ") + m.article);
        }
        const QString finished = rows.value(i, QStringLiteral("ARTIGO")).toString();
        if (!posting.article(finished))
            insertError(order, 0, rows.value(i, QStringLiteral("DESIGNACAO")).toString(),
                        QStringLiteral("Artigo Inexistente : ") + finished);
    }
    transaction.commit();
    return errors;
}

std::vector<ClosingOrder> WholeOrderClosing::orders(const QDate& movementDate)
{
    const kv::db::QueryResult rows = ticked();
    const std::vector<kv::quotes::WasteBand> waste = bands();
    const ClosingParameters parameters = ClosingParameters::read(m_db);
    std::vector<ClosingOrder> orders;
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        ClosingOrder order;
        order.year = rows.value(i, QStringLiteral("ANO")).toString();
        order.orderNumber = rows.value(i, QStringLiteral("ORDNRO")).toInt();
        order.subQuote = rows.value(i, QStringLiteral("SUBORC")).toInt();
        order.detail = rows.value(i, QStringLiteral("DETAIL")).toInt();
        order.ticked = true;
        order.produced = rows.value(i, QStringLiteral("QTDPROD")).toDouble();
        const int customer = rows.value(i, QStringLiteral("CLINRO")).toInt();
        SheetFigures figures;
        figures.produced = order.produced;
        figures.area = rows.value(i, QStringLiteral("PLCOMPRI")).toDouble() / 100
                       * rows.value(i, QStringLiteral("PLLARGUR")).toDouble() / 100;
        figures.grossSheets =
            grossSheets(order.produced, rows.value(i, QStringLiteral("UNDPLANO")).toInt(), waste).value_or(0);
        for (const auto& [code, type] : wholeOrderSlots(rows, i)) {
            if (type != GlueTable && type != BoardTable)
                continue;
            const Material m = material(type, code);
            const double quantity = type == GlueTable ? glueConsumption(m.calculation, m.grams, m.percentage, figures)
                                                      : boardConsumption(m.calculation, m.grams, figures);
            if (quantity != 0)
                order.movements.push_back({m.article, quantity, parameters.issueTransaction, parameters.issueWarehouse,
                                           customer, order.orderNumber, movementDate});
        }
        order.movements.push_back({rows.value(i, QStringLiteral("ARTIGO")).toString(), order.produced,
                                   parameters.entryTransaction, parameters.entryWarehouse, customer, order.orderNumber,
                                   movementDate});
        orders.push_back(std::move(order));
    }
    return orders;
}

} // namespace kv::production
