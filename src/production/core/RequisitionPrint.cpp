#include "production/core/RequisitionPrint.h"

#include "platform/db/Connection.h"

namespace kv::production {

namespace {
double printNum(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }
} // namespace

RequisitionPrint RequisitionPrint::read(kv::db::Connection& invoicing, const QString& user, int number,
                                        const QString& year)
{
    const kv::db::Params key{{QStringLiteral("UTIL"), user}, {QStringLiteral("REQNRO"), number}};
    RequisitionPrint print;
    print.number = number;
    print.user = user;
    const auto queue = invoicing.query(QStringLiteral("SELECT VIA FROM FRNENCIMPR WHERE DOCNRO = :REQNRO AND "
                                                      "UTIL = :UTIL AND TIPDOC = 1 ORDER BY DOCNRO, VIA"),
                                       key);
    for (const auto& row : queue.rows)
        print.copies << row[0].toString();
    const auto header = invoicing.query(QStringLiteral("SELECT DATEMI, DEPARTAMENTO FROM FRNREQMAS "
                                                       "WHERE UTILIZADOR = :UTIL AND REQNRO = :REQNRO"),
                                        key);
    if (!header.isEmpty()) {
        print.issued = header.rows.front()[0].toDate();
        print.department = header.rows.front()[1].toString();
    }
    const QVariant decimals = invoicing.scalar(QStringLiteral("SELECT PRC_DECIMAIS FROM STKPARGER WHERE ANO = :ANO"),
                                               {{QStringLiteral("ANO"), year}});
    if (decimals.isValid() && !decimals.isNull())
        print.priceDecimals = decimals.toInt();
    const auto lines = invoicing.query(
        QStringLiteral("SELECT D.ARTIGO, D.DESIGNACAO, D.QUANTID, D.UNVEND, D.PRECOVENDA, D.MOEDA, D.PRCDESCRI, "
                       "D.VALLIQUIDO, D.DATAENTRG, D.SEMANA, A.CODIGO, A.CORDES, A.TAMDES, A.COMPRIM, A.LARGURA, "
                       "A.ALTURA FROM FRNREQDET D LEFT JOIN ARTIGOSCLS A ON A.CODIGO = D.ARTIGO "
                       "WHERE D.UTILIZADOR = :UTIL AND D.REQNRO = :REQNRO ORDER BY D.REQNRO, D.DETAIL"),
        key);
    for (const auto& r : lines.rows) {
        Line line;
        line.article = r[0].toString();
        line.designation = r[1].toString();
        line.quantity = printNum(r[2]);
        line.unit = r[3].toString();
        line.price = printNum(r[4]);
        line.currency = r[5].toString().trimmed();
        line.discountText = r[6].toString();
        line.net = printNum(r[7]);
        line.delivery = r[8].toDate();
        line.week = r[9].toString();
        line.articleKnown = !r[10].isNull();
        line.colour = r[11].toString();
        line.size = r[12].toString();
        line.length = printNum(r[13]);
        line.width = printNum(r[14]);
        line.height = printNum(r[15]);
        print.lines.push_back(line);
    }
    return print;
}

} // namespace kv::production
