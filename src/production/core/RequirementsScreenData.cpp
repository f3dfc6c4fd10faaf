#include "production/core/RequirementsScreenData.h"

#include "platform/db/Connection.h"
#include "platform/text/NumberText.h"

namespace kv::production::RequirementsScreenData {

QString preselection()
{
    return QStringLiteral("SELECT UTIL, CLINRO, ARTIGO, CLISIGLA, DESIGN, COMPRIM, LARGURA, ALTURA, QTDENC, EXIQTD, "
                          "QUANTIDADE, PROCESSAR FROM LOGSELENC WHERE UTIL = :WUTIL ORDER BY UTIL, CLINRO, ARTIGO");
}

QString requirements()
{
    return QStringLiteral("SELECT UTIL, ARTIGO, DESIGN, UNIDADE, QUANTIDADE, TOTEXIQTD, TOTQTDENCFRN, QTDREQINT, "
                          "TOTCONSUMO, QTDENCFRN, EXIQTD, QTDAENC FROM LOGARTIGOS WHERE UTIL = :WUTIL "
                          "ORDER BY UTIL, ARTIGO");
}

QString supplierLines()
{
    return QStringLiteral("SELECT CODIGOMP, ENCNRO, ENCDETAIL, DATEMI, DATAENTRG, FRNNRO, FRNNOME, QTDENC, QTDCAR "
                          "FROM LOGFRNENC WHERE UTIL = :WUTIL AND CODIGOMP = :ARTIGO "
                          "ORDER BY CODIGOMP, ENCNRO, ENCDETAIL");
}

QString proposal()
{
    return QStringLiteral("SELECT UTIL, ARTIGO, DESIGN, QUANTIDADE, FORNECEDOR, NOME, PRECO, DESCTO, VOSREF, "
                          "DATAENTRG, PROCESSAR FROM LOGARTGFORN WHERE UTIL = :WUTIL AND PROCESSAR <> 'T' "
                          "ORDER BY UTIL, FORNECEDOR, ARTIGO");
}

QString limitArticles()
{
    return QStringLiteral("SELECT ENCNRO, DETAIL, ARTIGO, DESIGNACAO FROM ENCCLIDET WHERE ENCNRO BETWEEN :E1 AND :E2 "
                          "AND ARTIGO BETWEEN :A1 AND :A2 AND TIPOREG = 'A' AND TOTENT = 'N' ORDER BY ENCNRO, DETAIL");
}

QString openLines()
{
    return QStringLiteral("SELECT ORCNRO, ENCNRO, DATEMI, DATAENTRG, SEMANA, UNVEND, PRECOVENDA, QTDCAR, VALLIQCAR "
                          "FROM ENCCLIDET WHERE CLINRO = :CLINRO AND ARTIGO = :ARTIGO AND ENCNRO BETWEEN :E1 AND :E2 "
                          "AND DATAENTRG >= :D1 AND DATAENTRG < :D2 AND TOTENT = 'N' ORDER BY ENCNRO, DETAIL");
}

QString supplierOrder()
{
    return QStringLiteral("SELECT ENCNRO, DATEMI, FRNNRO, FRNNOM, MORADA1, MORADA2, CODPOSTAL, SIGLA, NIF, CODDES, "
                          "DESFIX, CNDPGT, MOEDA, CAMBIO, VALMERC, VALDESC, VALTOT, VALMERC_EST, VALDESC_EST, "
                          "VALTOT_EST, TOTQTD FROM FRNENCMAS WHERE ENCNRO = :ENCNRO");
}

QString supplierOrderLines()
{
    return QStringLiteral("SELECT ARTIGO, DESIGNACAO, COMPRI, LARGUR, ALTURA, DATAENTRG, QUANTID, UNVEND, "
                          "PRCDESCRI, PRECOVENDA, VALLIQUIDO FROM FRNENCDET WHERE ENCNRO = :ENCNRO "
                          "ORDER BY ENCNRO, DETAIL");
}

QString priceList()
{
    return QStringLiteral("SELECT CODARTG, CODFORN, NOME, PRECO, PRCDESC, DESCQTD1, DESCQTD2, DESCQTD3, DESCQTD4, "
                          "DESCPRCDESC1, DESCPRCDESC2, DESCPRCDESC3, DESCPRCDESC4, VOSREF FROM STKARTGFORN "
                          "WHERE CODARTG = :CODARTG ORDER BY CODARTG, CODFORN");
}

QString suppliers(bool byName)
{
    return byName ? QStringLiteral("SELECT CODIGO, NOME FROM FORNECEDORES ORDER BY NOME")
                  : QStringLiteral("SELECT CODIGO, NOME FROM FORNECEDORES ORDER BY CODIGO");
}

QString openOrders(OrderLookupOrder order)
{
    static const char* const clauses[] = {"ORDER BY ENCNRO", "ORDER BY CLINOM, ENCNRO, DATEMI",
                                          "ORDER BY DATEMI, CLINRO, CLINOM, ENCNRO", "ORDER BY DATEMI, CLINOM, ENCNRO"};
    return QStringLiteral("SELECT ENCNRO, DATEMI, CLINRO, CLINOM FROM ENCCLIMAS WHERE TOTENT = 'N' ")
           + QLatin1String(clauses[static_cast<int>(order)]);
}

namespace {
std::optional<QString> nameOf(kv::db::Connection& db, const QString& table, int code)
{
    const auto rows = db.query(QStringLiteral("SELECT NOME FROM %1 WHERE CODIGO = :CODIGO").arg(table),
                               {{QStringLiteral("CODIGO"), code}});
    if (rows.isEmpty())
        return std::nullopt;
    return rows.value(0, QStringLiteral("NOME")).toString();
}

QVariant yearValue(kv::db::Connection& invoicing, const QString& column, const QString& year)
{
    return invoicing.scalar(QStringLiteral("SELECT %1 FROM PARGER WHERE ANO = :ANO").arg(column),
                            {{QStringLiteral("ANO"), year}});
}
} // namespace

std::optional<QString> customerName(kv::db::Connection& invoicing, int customer)
{
    return nameOf(invoicing, QStringLiteral("CLIENTES"), customer);
}

std::optional<QString> supplierName(kv::db::Connection& invoicing, int supplier)
{
    return nameOf(invoicing, QStringLiteral("FORNECEDORES"), supplier);
}

QString paymentConditionText(kv::db::Connection& invoicing, int code)
{
    const auto rows =
        invoicing.query(QStringLiteral("SELECT NRDIAS, TIPDOC, DESCRI, PRCDESC FROM CNDPGT WHERE CODIGO = :CODIGO"),
                        {{QStringLiteral("CODIGO"), code}});
    if (rows.isEmpty())
        return {};
    const auto& r = rows.rows.front();
    QString text =
        kv::text::plain(r[0].toDouble()) + QLatin1Char(' ') + r[1].toString() + QLatin1Char(' ') + r[2].toString();
    if (r[3].toDouble() > 0)
        text += QLatin1Char(' ') + kv::text::plain(r[3].toDouble()) + QLatin1Char('%');
    return text;
}

QString locality(kv::db::Connection& invoicing, const QString& postalCode)
{
    return invoicing
        .scalar(QStringLiteral("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :CODPOSTAL"),
                {{QStringLiteral("CODPOSTAL"), postalCode}})
        .toString();
}

QString pictureFolder(kv::db::Connection& invoicing, const QString& year)
{
    return yearValue(invoicing, QStringLiteral("PATHFOTO"), year).toString();
}

bool printsColoursAndSizes(kv::db::Connection& invoicing, const QString& year)
{
    return yearValue(invoicing, QStringLiteral("CORESTAMANHOS"), year).toString() == QLatin1String("S");
}

} // namespace kv::production::RequirementsScreenData
