#include "production/core/RequirementsCalculation.h"

#include "production/core/RequirementsSql.h"

#include "platform/db/BulkTransfer.h"
#include "platform/db/Connection.h"
#include "platform/text/DecimalRounding.h"

#include <QHash>
#include <vector>

namespace kv::production {

using kv::db::Connection;
using kv::db::FieldType;
using kv::db::Params;
using kv::db::Transaction;
using kv::text::roundDecimal;

namespace {

// The consumption of the selected order lines summed per raw-material
// article, on the invoicing side for the netting.
const QString ConsumptionTable = QStringLiteral("KV_REQCONSUMO");
// The selected customer-order lines, on the application side for the
// consumption.
const QString LinesTable = QStringLiteral("KV_REQLINHAS");
// The requirement articles to propose, on the invoicing side.
const QString ProposalTable = QStringLiteral("KV_REQPROPOSTA");

double num(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }

Params limitParams(const RequirementLimits& limits)
{
    return {{QStringLiteral("E1"), limits.orderFrom},
            {QStringLiteral("E2"), limits.orderTo},
            {QStringLiteral("C1"), limits.customerFrom},
            {QStringLiteral("C2"), limits.customerTo},
            {QStringLiteral("A1"), limits.articleFrom},
            {QStringLiteral("A2"), limits.articleTo},
            {QStringLiteral("D1"), limits.deliveryFrom.startOfDay()},
            // both ends included: the whole last day
            {QStringLiteral("D2"), limits.deliveryTo.addDays(1).startOfDay()}};
}

// The order lines inside the limits (the header's customer).
const char* const LineLimits = "D.ENCNRO >= :E1 AND D.ENCNRO <= :E2 AND D.ARTIGO >= :A1 AND D.ARTIGO <= :A2 "
                               "AND M.CLINRO >= :C1 AND M.CLINRO <= :C2 "
                               "AND D.DATAENTRG >= :D1 AND D.DATAENTRG < :D2";

} // namespace

RequirementsCalculation::RequirementsCalculation(Connection& application, Connection& invoicing, QString user,
                                                 RequirementVariant variant)
    : m_app(application), m_inv(invoicing), m_user(std::move(user)), m_variant(variant)
{
}

void RequirementsCalculation::clearSelection()
{
    Transaction transaction(m_app);
    const Params user{{QStringLiteral("UTIL"), m_user}};
    m_app.exec(QStringLiteral("DELETE FROM LOGSELENC WHERE UTIL = :UTIL"), user);
    m_app.exec(QStringLiteral("DELETE FROM LOGARTIGOS WHERE UTIL = :UTIL"), user);
    transaction.commit();
}

bool RequirementsCalculation::preselect(const RequirementLimits& limits)
{
    Params params = limitParams(limits);
    params.set(QStringLiteral("UTIL"), m_user);
    const QString select =
        QStringLiteral(
            "SELECT CAST(:UTIL AS VARCHAR(15)) AS UTIL, G.CLINRO, G.ARTIGO, G.CLISIGLA, G.DESIGN, G.QTDENC, G.EXIQTD, "
            "CASE WHEN G.QTDENC - G.EXIQTD < 0 THEN 0 ELSE G.QTDENC - G.EXIQTD END AS QUANTIDADE, "
            "CASE WHEN G.QTDENC - G.EXIQTD < 0 THEN 'N' ELSE 'S' END AS PROCESSAR, "
            "G.COMPRIM, G.LARGURA, G.ALTURA, '' AS FICTEC "
            "FROM (SELECT M.CLINRO, D.ARTIGO, MAX(C.SIGLA) AS CLISIGLA, MAX(A.DESIGNACAO) AS DESIGN, "
            "SUM(D.QTDCAR) AS QTDENC, COALESCE(MAX(A.EXIQTD), 0) AS EXIQTD, MAX(A.COMPRIM) AS COMPRIM, "
            "MAX(A.LARGURA) AS LARGURA, MAX(A.ALTURA) AS ALTURA "
            "FROM ENCCLIDET D JOIN ENCCLIMAS M ON M.ENCNRO = D.ENCNRO "
            "LEFT JOIN ARTIGOSCLS A ON A.CODIGO = D.ARTIGO LEFT JOIN CLIENTES C ON C.CODIGO = M.CLINRO "
            "WHERE COALESCE(D.TOTENT, 'N') <> 'S' AND D.QTDCAR > 0 AND %1 "
            "GROUP BY M.CLINRO, D.ARTIGO) G")
            .arg(QLatin1String(LineLimits));
    Transaction transaction(m_app);
    m_app.exec(QStringLiteral("DELETE FROM LOGSELENC WHERE UTIL = :UTIL"), {{QStringLiteral("UTIL"), m_user}});
    kv::db::transferRows(m_inv, select, params, m_app, QStringLiteral("LOGSELENC"));
    transaction.commit();
    return m_app
        .scalar(QStringLiteral("SELECT 1 FROM LOGSELENC WHERE UTIL = :UTIL"), {{QStringLiteral("UTIL"), m_user}})
        .isValid();
}

void RequirementsCalculation::calculate(const RequirementLimits& limits, const std::function<void(int, int)>& progress)
{
    constexpr int Steps = 5;
    const auto step = [&progress](int done) {
        if (progress)
            progress(done, Steps);
    };
    const bool manufacture = m_variant == RequirementVariant::Manufacture;
    const Params user{{QStringLiteral("UTIL"), m_user}};
    Params params = limitParams(limits);
    params.set(QStringLiteral("UTIL"), m_user);

    kv::db::prepareWorkTable(m_app, LinesTable,
                             {{QStringLiteral("ENCNRO"), FieldType::Int32},
                              {QStringLiteral("DETAIL"), FieldType::Int32},
                              {QStringLiteral("CLINRO"), FieldType::Int32},
                              {QStringLiteral("ARTIGO"), FieldType::Text, 16}});
    kv::db::prepareWorkTable(
        m_inv, ConsumptionTable,
        {{QStringLiteral("ARTIGO"), FieldType::Text, 16}, {QStringLiteral("QUANTIDADE"), FieldType::Float}});

    Transaction transaction(m_app);
    m_app.exec(QStringLiteral("DELETE FROM LOGSELENC WHERE UTIL = :UTIL AND PROCESSAR = 'N' AND QUANTIDADE = 0"), user);

    // The open order lines inside the limits, moved to the application
    // database where the production orders and their consumption are.
    kv::db::transferRows(m_inv,
                         QStringLiteral("SELECT D.ENCNRO, D.DETAIL, M.CLINRO, D.ARTIGO FROM ENCCLIDET D "
                                        "JOIN ENCCLIMAS M ON M.ENCNRO = D.ENCNRO WHERE D.TOTENT = 'N' AND %1")
                             .arg(QLatin1String(LineLimits)),
                         params, m_app, LinesTable);
    step(1);

    // Each consumption row once, reached through the order rows generation
    // recorded for the selected lines of ticked pre-selection rows.
    const kv::db::QueryResult consumption = m_app.query(requirementConsumptionSql(manufacture, LinesTable), user);
    QHash<QString, int> articleAt;
    std::vector<std::vector<QVariant>> sums;
    for (const auto& row : consumption.rows) {
        const QString article = row[0].toString();
        double quantity = 0;
        if (manufacture) {
            const double remaining = num(row[1]) - num(row[2]);
            const double approved = num(row[3]);
            // A row without an approved quantity (a line added by hand) counts
            // what it still has to consume whole.
            quantity = approved == 0.0 ? roundDecimal(remaining, 3)
                                       : roundDecimal(remaining / approved * (num(row[4]) - num(row[5])), 3);
        } else {
            quantity = num(row[1]);
        }
        const QString key = article.toUpper();
        auto it = articleAt.find(key);
        if (it == articleAt.end()) {
            articleAt.insert(key, static_cast<int>(sums.size()));
            sums.push_back({article, quantity});
        } else {
            auto& total = sums[static_cast<std::size_t>(*it)][1];
            total = total.toDouble() + quantity;
        }
    }
    kv::db::insertRows(m_inv, ConsumptionTable, {QStringLiteral("ARTIGO"), QStringLiteral("QUANTIDADE")}, sums);
    step(2);

    // The netting, on the invoicing side: stock, undelivered supplier-order
    // lines and unapproved requisitions of every user; articles missing from
    // the article file are left out.
    const kv::db::QueryResult netting = m_inv.query(requirementNettingSql(ConsumptionTable), params);
    std::vector<std::vector<QVariant>> rows;
    std::vector<std::vector<QVariant>> kept;
    rows.reserve(netting.rows.size());
    for (const auto& r : netting.rows) {
        const double quantity = num(r[3]);
        const double stock = num(r[4]);
        const double ordered = num(r[5]);
        const double requested = num(r[6]);
        const double orderedForLimits = num(r[7]);
        const double reserved = num(r[8]);
        double toOrder = quantity - (reserved + orderedForLimits + requested);
        double toProcess = quantity - (stock + ordered + requested);
        if (manufacture) {
            toOrder = roundDecimal(toOrder, 3);
            toProcess = roundDecimal(toProcess, 3);
        }
        toOrder = std::max(0.0, toOrder);
        toProcess = std::max(0.0, toProcess);
        if (manufacture && toProcess == 0.0)
            continue;
        rows.push_back({m_user, r[0], r[1], r[2], quantity, stock, ordered, requested, toProcess, orderedForLimits,
                        reserved, toOrder, r[9], r[10], r[11]});
        kept.push_back({r[0], quantity});
    }
    m_app.exec(QStringLiteral("DELETE FROM LOGARTIGOS WHERE UTIL = :UTIL"), user);
    kv::db::insertRows(m_app, QStringLiteral("LOGARTIGOS"),
                       {QStringLiteral("UTIL"), QStringLiteral("ARTIGO"), QStringLiteral("DESIGN"),
                        QStringLiteral("UNIDADE"), QStringLiteral("QUANTIDADE"), QStringLiteral("TOTEXIQTD"),
                        QStringLiteral("TOTQTDENCFRN"), QStringLiteral("QTDREQINT"), QStringLiteral("TOTCONSUMO"),
                        QStringLiteral("QTDENCFRN"), QStringLiteral("EXIQTD"), QStringLiteral("QTDAENC"),
                        QStringLiteral("COMPRIM"), QStringLiteral("LARGURA"), QStringLiteral("ALTURA")},
                       rows);
    step(3);

    // The open supplier-order lines of the requirement articles only (the
    // only ones the screen shows).
    m_inv.exec(QStringLiteral("DELETE FROM %1").arg(ConsumptionTable));
    kv::db::insertRows(m_inv, ConsumptionTable, {QStringLiteral("ARTIGO"), QStringLiteral("QUANTIDADE")}, kept);
    m_app.exec(QStringLiteral("DELETE FROM LOGFRNENC WHERE UTIL = :UTIL"), user);
    kv::db::transferRows(m_inv,
                         QStringLiteral("SELECT CAST(:UTIL AS VARCHAR(15)) AS UTIL, D.ARTIGO AS CODIGOMP, D.ENCNRO, "
                                        "D.DETAIL AS ENCDETAIL, M.DATEMI, D.DATAENTRG, M.FRNNRO, M.FRNNOM AS FRNNOME, "
                                        "D.QUANTID AS QTDENC, D.QTDCAR, 0 AS NRDIAS, D.ENCCLINRO "
                                        "FROM FRNENCDET D JOIN FRNENCMAS M ON M.ENCNRO = D.ENCNRO "
                                        "JOIN %1 K ON K.ARTIGO = D.ARTIGO WHERE D.TIPOREG = 'A' AND D.TOTENT = 'N'")
                             .arg(ConsumptionTable),
                         user, m_app, QStringLiteral("LOGFRNENC"));
    step(4);
    transaction.commit();
    step(5);
}

void RequirementsCalculation::propose(const QDate& today)
{
    kv::db::prepareWorkTable(m_inv, ProposalTable,
                             {{QStringLiteral("ARTIGO"), FieldType::Text, 16},
                              {QStringLiteral("DESIGN"), FieldType::Text, 40},
                              {QStringLiteral("QUANTIDADE"), FieldType::Float}});
    const Params user{{QStringLiteral("UTIL"), m_user}};
    kv::db::transferRows(
        m_app,
        QStringLiteral("SELECT ARTIGO, DESIGN, TOTCONSUMO AS QUANTIDADE FROM LOGARTIGOS "
                       "WHERE UTIL = :UTIL%1")
            .arg(m_variant == RequirementVariant::Manufacture ? QStringLiteral(" AND TOTCONSUMO <> 0") : QString()),
        user, m_inv, ProposalTable);
    const kv::db::QueryResult read = m_inv.query(
        QStringLiteral("SELECT P.ARTIGO, P.DESIGN, P.QUANTIDADE, S.CODFORN, S.NOME, S.PRECO, S.PRCDESC, S.VOSREF, "
                       "A.CUSTOPADRAO, A.PMCUSTO FROM %1 P "
                       "LEFT JOIN STKARTGFORN S ON S.CODARTG = P.ARTIGO AND S.CODFORN = "
                       "(SELECT MIN(S2.CODFORN) FROM STKARTGFORN S2 WHERE S2.CODARTG = P.ARTIGO) "
                       "LEFT JOIN ARTIGOSCLS A ON A.CODIGO = P.ARTIGO")
            .arg(ProposalTable));
    const QDateTime delivery = today.startOfDay();
    std::vector<std::vector<QVariant>> rows;
    rows.reserve(read.rows.size());
    for (const auto& r : read.rows) {
        const double quantity = num(r[2]);
        const int supplier = r[3].isNull() ? 0 : r[3].toInt();
        const QString name = r[4].toString();
        double price = roundDecimal(num(r[5]), 4);
        if (price == 0.0)
            price = roundDecimal(num(r[8]), 4);
        if (price == 0.0)
            price = roundDecimal(num(r[9]), 4);
        const bool ticked = price != 0.0 && supplier > 0 && !name.isEmpty() && quantity != 0.0;
        rows.push_back({m_user, r[0], r[1], quantity, supplier, name, price, num(r[6]), r[7], delivery,
                        ticked ? QStringLiteral("S") : QStringLiteral("N"), QStringLiteral("A")});
    }
    Transaction transaction(m_app);
    m_app.exec(QStringLiteral("DELETE FROM LOGARTGFORN WHERE UTIL = :UTIL"), user);
    kv::db::insertRows(m_app, QStringLiteral("LOGARTGFORN"),
                       {QStringLiteral("UTIL"), QStringLiteral("ARTIGO"), QStringLiteral("DESIGN"),
                        QStringLiteral("QUANTIDADE"), QStringLiteral("FORNECEDOR"), QStringLiteral("NOME"),
                        QStringLiteral("PRECO"), QStringLiteral("DESCTO"), QStringLiteral("VOSREF"),
                        QStringLiteral("DATAENTRG"), QStringLiteral("PROCESSAR"), QStringLiteral("TIPOREG")},
                       rows);
    transaction.commit();
}

double tierDiscount(const DiscountTiers& tiers, double quantity)
{
    double discount = tiers.baseDiscount;
    for (std::size_t i = 0; i < tiers.quantity.size(); ++i)
        if (tiers.quantity[i] >= quantity)
            discount = tiers.discount[i];
    return discount;
}

QString leaveSupplier(ProposalChoice& row, const std::optional<QString>& name)
{
    if (row.supplier != 0 && name) {
        row.name = *name;
        row.ticked = true;
        return {};
    }
    const bool unknown = row.supplier != 0;
    row.supplier = 0;
    row.name.clear();
    row.price = 0;
    row.ticked = false;
    return unknown ? QStringLiteral("FORNECEDOR INEXISTENTE !!!") : QString();
}

QString leavePrice(ProposalChoice& row)
{
    if (row.supplier != 0 && row.price == 0.0)
        return QStringLiteral("INSIRA O PREÇO PARA ESTE ARTIGO !!!");
    row.ticked = true;
    return {};
}

} // namespace kv::production
