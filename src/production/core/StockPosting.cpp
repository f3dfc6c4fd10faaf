#include "production/core/StockPosting.h"

#include "platform/db/DbError.h"
#include "platform/db/NumberAllocator.h"

namespace kv::production {
namespace {

using kv::db::Connection;
using kv::db::DbError;

QString rowLock(const Connection& db)
{
    return db.dialect() == kv::db::Dialect::Postgres ? QStringLiteral(" FOR UPDATE") : QString();
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// The movement columns other programs expect filled: the posting writes
// them as the clean-up would.
const char* const PostingInsert =
    "INSERT INTO STKMOV (DOCNRO, DETAIL, ARTNRO, DATMOV, SEQNRO, ARTIGOSMES, ANO, MES, TRSCOD, TRSTIP, "
    "FORNEC, QUANTIDADE, PRECO, VALOR, EXIQTD, EXIVAL, PMC, PUE, ARMNRO_1, ARMNRO_2, MOEDA, VALCAMB, "
    "TRSDESCRI, DOCAUXTIPDOC, DOCAUXDOCNRO, DOCAUXREDNOM, CONSUMO, CCUSTO, ENCNROCLI, ENCFFRNNRO, "
    "ENCFRNDETAIL, ENCFRNANO, ENCFRNSEMANA, PREVISAO, FRNFACNRO, CONFER, ORDFAB, CLINRO, UTIL, TERMNRO, "
    "ENCCLIDET, MAT_DETAIL, DESPERD, EXTRA, UPC_DIARIO, UPC_DOCNRO, UPC_SEQNRO, TC, PRECO_M2, PRECO_MOEM2, "
    "CNT_DIARIO, CNT_DOCNRO, CNT_SEQNRO, ACTCNT_INV, QTD_CONSUMO, VAL_CONSUMO) VALUES ("
    ":DOCNRO, :DETAIL, :ARTNRO, :DATMOV, :SEQNRO, 0, :ANO, :MES, :TRSCOD, :TRSTIP, "
    "0, :QUANTIDADE, :PRECO, :VALOR, :EXIQTD, :EXIVAL, :PMC, :PUE, :ARMNRO, 0, '', 0, "
    ":TRSDESCRI, '', 0, '', :CONSUMO, '', 0, 0, "
    "0, '', '0', 0, 0, 'N', :ORDFAB, :CLINRO, '', 0, "
    "0, 0, 0, '0', '', 0, 0, 0, 0, 0, "
    "'', 0, 0, 'N', :QTD_CONSUMO, :VAL_CONSUMO)";

} // namespace

QString StockTransaction::movementType() const
{
    if (direction == QLatin1String("E"))
        return QStringLiteral("ENT");
    return returned == QLatin1String("S") ? QStringLiteral("DEV") : QStringLiteral("SAI");
}

ArticleChange applyMovement(const StockTransaction& transaction, const StockArticle& before, double quantity,
                            const QString& costMethod)
{
    ArticleChange change;
    change.after = before;
    double price = before.standardCost;
    if (transaction.pricing == QLatin1String("5"))
        price = 0;
    else if (transaction.pricing == QLatin1String("3") && before.averageCost != 0)
        price = before.averageCost;
    change.price = price;
    change.value = quantity * price;
    if (change.value == 0 && quantity == 0)
        return change;
    change.stockChanges = true;

    const QString type = transaction.movementType();
    if (type == QLatin1String("ENT")) {
        change.quantityDelta = quantity;
        change.valueDelta = change.value;
    } else if (type == QLatin1String("SAI")) {
        change.quantityDelta = -quantity;
        change.valueDelta = -change.value;
    }
    StockArticle& after = change.after;
    after.quantity += change.quantityDelta;
    after.value += change.valueDelta;
    if (transaction.lastEntryPrice == QLatin1String("S") && type == QLatin1String("ENT"))
        after.lastEntryPrice = price;
    if (transaction.averageCost != QLatin1String("N")) {
        if (costMethod == QLatin1String("1")) {
            after.averageCost = after.value != 0 && after.quantity != 0 ? after.value / after.quantity : price;
        } else if (price != 0) {
            after.averageCost = after.averageCost != 0 ? (after.averageCost + price) / 2 : price;
        }
        if (after.averageCost < 0)
            after.averageCost = price;
    }
    return change;
}

StockPosting::StockPosting(Connection& invoicing, QString user, QString workingYear, QString costMethod)
    : m_db(invoicing), m_user(std::move(user)), m_year(std::move(workingYear)), m_costMethod(std::move(costMethod))
{
}

QString StockPosting::costMethodOf(Connection& invoicing, const QString& workingYear)
{
    return invoicing.scalar(QStringLiteral("SELECT CALCULOPMC FROM PARGER WHERE ANO = :ANO"), {{"ANO", workingYear}})
        .toString();
}

std::optional<StockTransaction> StockPosting::transaction(int code)
{
    const kv::db::QueryResult rows =
        m_db.query(QStringLiteral("SELECT TRSTIP, DEVOLUCAO, TRSCALC, PMCUST, PULENT, CONSUMO, REDNOM FROM STKTRS "
                                  "WHERE TRSCOD = :TRSCOD"),
                   {{"TRSCOD", code}});
    if (rows.isEmpty())
        return std::nullopt;
    const auto text = [&](const char* column) { return rows.value(0, QString::fromLatin1(column)).toString(); };
    return StockTransaction{code,         text("TRSTIP"),  text("DEVOLUCAO"), text("TRSCALC"),
                            text("PMCUST"), text("PULENT"), text("CONSUMO"),   text("REDNOM")};
}

bool StockPosting::warehouseExists(int code)
{
    return m_db.scalar(QStringLiteral("SELECT CODIGO FROM STKARMAZEM WHERE CODIGO = :CODIGO"), {{"CODIGO", code}})
        .isValid();
}

std::optional<StockArticle> StockPosting::article(const QString& code)
{
    const kv::db::QueryResult rows = m_db.query(
        QStringLiteral("SELECT CODIGO, DESIGNACAO, EXIQTD, EXIVAL, PMCUSTO, PULENTRA, CUSTOPADRAO FROM ARTIGOSCLS "
                       "WHERE CODIGO = :CODIGO AND COALESCE(TIPOARTIGO, '') <> '3' AND COALESCE(GRELHA, 'N') = 'N'")
            + (m_db.inTransaction() ? rowLock(m_db) : QString()),
        {{"CODIGO", code}});
    if (rows.isEmpty())
        return std::nullopt;
    const auto number = [&](const char* column) { return rows.value(0, QString::fromLatin1(column)).toDouble(); };
    return StockArticle{rows.value(0, QStringLiteral("CODIGO")).toString(),
                        rows.value(0, QStringLiteral("DESIGNACAO")).toString(),
                        number("EXIQTD"),
                        number("EXIVAL"),
                        number("PMCUSTO"),
                        number("PULENTRA"),
                        number("CUSTOPADRAO")};
}

bool StockPosting::userExists()
{
    return m_db.scalar(QStringLiteral("SELECT NRO FROM UTILIZADORES WHERE NRO = :NRO"), {{"NRO", m_user}}).isValid();
}

int StockPosting::takeDocument()
{
    return static_cast<int>(kv::db::NumberAllocator(m_db).next(
        {QStringLiteral("UTILIZADORES"), QStringLiteral("STKMTPDOCNRO"), QStringLiteral("NRO = :NRO"),
         {{"NRO", m_user}}}));
}

int StockPosting::nextLine(int document)
{
    return m_db.scalar(QStringLiteral("SELECT MAX(DETAIL) FROM STKMOV WHERE DOCNRO = :DOCNRO"), {{"DOCNRO", document}})
               .toInt()
           + 1;
}

PostedMovement StockPosting::post(int document, int line, const StockMovement& movement)
{
    const std::optional<StockTransaction> trs = transaction(movement.transaction);
    if (!trs)
        throw DbError(DbError::Kind::NotFound,
                      QStringLiteral("Cod.Movimento de Saida inexistente ... %1").arg(movement.transaction));
    // Read under the row's lock: the totals below start from what is stored now.
    const std::optional<StockArticle> before = article(movement.article);
    if (!before)
        throw DbError(DbError::Kind::NotFound, QStringLiteral("Artigo Inexistente : %1").arg(movement.article));

    const ArticleChange change = applyMovement(*trs, *before, movement.quantity, m_costMethod);
    if (change.stockChanges) {
        const kv::db::Params key{{"ARTIGO", movement.article}, {"ANO", m_year}, {"CODIGO", movement.warehouse}};
        m_db.exec(QStringLiteral("INSERT INTO STKARTGARMZ (ARTIGO, ANO, CODIGO, EXIQTD00, EXIVAL00, EXIQTD, EXIVAL) "
                                 "VALUES (:ARTIGO, :ANO, :CODIGO, 0, 0, 0, 0) ON CONFLICT (ARTIGO, ANO, CODIGO) DO NOTHING"),
                  key);
        if (change.quantityDelta != 0 || change.valueDelta != 0) {
            kv::db::Params delta = key;
            delta.set(QStringLiteral("Q"), change.quantityDelta);
            delta.set(QStringLiteral("V"), change.valueDelta);
            m_db.exec(QStringLiteral("UPDATE STKARTGARMZ SET EXIQTD = COALESCE(EXIQTD, 0) + :Q, "
                                     "EXIVAL = COALESCE(EXIVAL, 0) + :V "
                                     "WHERE ARTIGO = :ARTIGO AND ANO = :ANO AND CODIGO = :CODIGO"),
                      delta);
        }
    }

    PostedMovement posted;
    posted.document = document;
    posted.line = line;
    posted.type = trs->movementType();
    posted.price = change.price;
    posted.value = change.value;
    const QDateTime date = movement.date.startOfDay();
    posted.sequence = m_db
                          .scalar(QStringLiteral("SELECT MAX(SEQNRO) FROM STKMOV WHERE ARTNRO = :ARTNRO AND DATMOV = :DATMOV"),
                                  {{"ARTNRO", movement.article}, {"DATMOV", date}})
                          .toInt()
                      + 1;
    double consumedQuantity = 0;
    double consumedValue = 0;
    if (trs->consumption == QLatin1String("S")) {
        const double sign = trs->direction == QLatin1String("E") ? -1 : 1;
        consumedQuantity = sign * movement.quantity;
        consumedValue = sign * change.value;
    }
    m_db.exec(QString::fromLatin1(PostingInsert),
              {{"DOCNRO", document},
               {"DETAIL", line},
               {"ARTNRO", movement.article},
               {"DATMOV", date},
               {"SEQNRO", posted.sequence},
               {"ANO", QString::number(movement.date.year())},
               {"MES", twoDigits(movement.date.month())},
               {"TRSCOD", movement.transaction},
               {"TRSTIP", posted.type},
               {"QUANTIDADE", movement.quantity},
               {"PRECO", change.price},
               {"VALOR", change.value},
               {"EXIQTD", change.after.quantity},
               {"EXIVAL", change.after.value},
               {"PMC", change.after.averageCost},
               {"PUE", change.after.lastEntryPrice},
               {"ARMNRO", movement.warehouse},
               {"TRSDESCRI", trs->shortName},
               {"CONSUMO", trs->consumption},
               {"ORDFAB", movement.order},
               {"CLINRO", movement.customer},
               {"QTD_CONSUMO", consumedQuantity},
               {"VAL_CONSUMO", consumedValue}});
    markLastOfMonth(movement);

    if (change.stockChanges)
        m_db.exec(QStringLiteral("UPDATE ARTIGOSCLS SET EXIQTD = COALESCE(EXIQTD, 0) + :Q, "
                                 "EXIVAL = COALESCE(EXIVAL, 0) + :V, PMCUSTO = :PMCUSTO, PULENTRA = :PULENTRA "
                                 "WHERE CODIGO = :CODIGO"),
                  {{"Q", change.quantityDelta},
                   {"V", change.valueDelta},
                   {"PMCUSTO", change.after.averageCost},
                   {"PULENTRA", change.after.lastEntryPrice},
                   {"CODIGO", movement.article}});
    return posted;
}

void StockPosting::markLastOfMonth(const StockMovement& movement)
{
    // Only the marked rows are written, and the last one is found on the
    // (ANO, MES, ARTNRO) index: the month's other movements stay untouched.
    const kv::db::Params month{
        {"ANO", m_year}, {"MES", twoDigits(movement.date.month())}, {"ARTNRO", movement.article}};
    m_db.exec(QStringLiteral("UPDATE STKMOV SET ARTIGOSMES = 0 WHERE ANO = :ANO AND MES = :MES AND ARTNRO = :ARTNRO "
                             "AND ARTIGOSMES <> 0"),
              month);
    const kv::db::QueryResult last =
        m_db.query(QStringLiteral("SELECT DOCNRO, DETAIL, SEQNRO FROM STKMOV WHERE ANO = :ANO AND MES = :MES AND "
                                  "ARTNRO = :ARTNRO ORDER BY DATMOV DESC, SEQNRO DESC LIMIT 1"),
                   month);
    if (last.isEmpty() || last.value(0, QStringLiteral("SEQNRO")).toInt() == 0)
        return;
    m_db.exec(QStringLiteral("UPDATE STKMOV SET ARTIGOSMES = 1 WHERE DOCNRO = :DOCNRO AND DETAIL = :DETAIL"),
              {{"DOCNRO", last.value(0, QStringLiteral("DOCNRO"))}, {"DETAIL", last.value(0, QStringLiteral("DETAIL"))}});
}

void StockPosting::cleanUp()
{
    m_db.exec(QStringLiteral(
                  "UPDATE STKMOV SET FORNEC = COALESCE(FORNEC, 0), ARMNRO_2 = COALESCE(ARMNRO_2, 0), "
                  "MOEDA = COALESCE(MOEDA, ''), VALCAMB = COALESCE(VALCAMB, 0), "
                  "DOCAUXREDNOM = COALESCE(DOCAUXREDNOM, ''), CCUSTO = COALESCE(CCUSTO, ''), "
                  "ENCNROCLI = COALESCE(ENCNROCLI, 0), ENCFFRNNRO = COALESCE(ENCFFRNNRO, 0), "
                  "ENCFRNDETAIL = COALESCE(ENCFRNDETAIL, 0), ENCFRNANO = COALESCE(ENCFRNANO, ''), "
                  "ENCFRNSEMANA = COALESCE(ENCFRNSEMANA, '0'), PREVISAO = COALESCE(PREVISAO, 0), "
                  "FRNFACNRO = COALESCE(FRNFACNRO, 0), CONFER = COALESCE(CONFER, 'N'), ORDFAB = COALESCE(ORDFAB, 0), "
                  "UTIL = COALESCE(UTIL, ''), TERMNRO = COALESCE(TERMNRO, 0), ENCCLIDET = COALESCE(ENCCLIDET, 0), "
                  "MAT_DETAIL = COALESCE(MAT_DETAIL, 0), DESPERD = COALESCE(DESPERD, 0), "
                  "EXTRA = COALESCE(EXTRA, '0'), UPC_DIARIO = COALESCE(UPC_DIARIO, ''), "
                  "UPC_DOCNRO = COALESCE(UPC_DOCNRO, 0), UPC_SEQNRO = COALESCE(UPC_SEQNRO, 0), TC = COALESCE(TC, 0), "
                  "PRECO_M2 = COALESCE(PRECO_M2, 0), PRECO_MOEM2 = COALESCE(PRECO_MOEM2, 0) "
                  "WHERE ANO = :ANO AND (FORNEC IS NULL OR ARMNRO_2 IS NULL OR MOEDA IS NULL OR VALCAMB IS NULL OR "
                  "DOCAUXREDNOM IS NULL OR CCUSTO IS NULL OR ENCNROCLI IS NULL OR ENCFFRNNRO IS NULL OR "
                  "ENCFRNDETAIL IS NULL OR ENCFRNANO IS NULL OR ENCFRNSEMANA IS NULL OR PREVISAO IS NULL OR "
                  "FRNFACNRO IS NULL OR CONFER IS NULL OR ORDFAB IS NULL OR UTIL IS NULL OR TERMNRO IS NULL OR "
                  "ENCCLIDET IS NULL OR MAT_DETAIL IS NULL OR DESPERD IS NULL OR EXTRA IS NULL OR "
                  "UPC_DIARIO IS NULL OR UPC_DOCNRO IS NULL OR UPC_SEQNRO IS NULL OR TC IS NULL OR "
                  "PRECO_M2 IS NULL OR PRECO_MOEM2 IS NULL)"),
              {{"ANO", m_year}});
}

} // namespace kv::production
