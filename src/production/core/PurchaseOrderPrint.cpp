#include "production/core/PurchaseOrderPrint.h"

#include "platform/db/Connection.h"

#include <map>

namespace kv::production {

namespace {
double orderNum(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }
} // namespace

PurchaseOrderPrint PurchaseOrderPrint::read(kv::db::Connection& invoicing, const QString& user, int first, int last,
                                            const QString& year)
{
    PurchaseOrderPrint print;
    const kv::db::Params range{
        {QStringLiteral("UTIL"), user}, {QStringLiteral("N1"), first}, {QStringLiteral("N2"), last}};
    const auto queue = invoicing.query(QStringLiteral("SELECT DOCNRO, VIA FROM FRNENCIMPR WHERE DOCNRO >= :N1 AND "
                                                      "DOCNRO <= :N2 AND UTIL = :UTIL AND TIPDOC = 1 "
                                                      "ORDER BY DOCNRO, VIA"),
                                       range);
    const auto headers = invoicing.query(
        QStringLiteral("SELECT M.ENCNRO, M.DATEMI, M.FRNNRO, M.FRNNOM, M.MORADA1, M.MORADA2, M.CODPOSTAL, "
                       "C.LOCALIDADE, F.CODIGO, M.DESC_MORADA1, M.DESC_MORADA2, M.DESC_CODPOSTAL, "
                       "M.DESC_LOCALIDADE, M.VALMERC, M.VALDESC, M.VALTOT, M.OBSERV1, M.OBSERV2 FROM FRNENCMAS M "
                       "LEFT JOIN FORNECEDORES F ON F.CODIGO = M.FRNNRO "
                       "LEFT JOIN CODPOSTAL C ON C.CODPOSTAL = M.CODPOSTAL "
                       "WHERE M.ENCNRO >= :N1 AND M.ENCNRO <= :N2 ORDER BY M.ENCNRO"),
        range);
    std::map<int, std::size_t> byNumber;
    for (const auto& r : headers.rows) {
        Order order;
        order.number = r[0].toInt();
        order.issued = r[1].toDate();
        order.supplier = r[2].toInt();
        order.supplierName = r[3].toString();
        order.address1 = r[4].toString();
        order.address2 = r[5].toString();
        order.dressedLetterhead = !r[7].isNull() && !r[8].isNull();
        if (order.dressedLetterhead)
            order.locality = r[6].toString() + QLatin1Char(' ') + r[7].toString();
        order.deliveryAddress1 = r[9].toString();
        order.deliveryAddress2 = r[10].toString();
        order.deliveryPostalCode = r[11].toString();
        order.deliveryLocality = r[12].toString();
        order.merchandise = orderNum(r[13]);
        order.discounts = orderNum(r[14]);
        order.total = orderNum(r[15]);
        order.observation1 = r[16].toString();
        order.observation2 = r[17].toString();
        byNumber[order.number] = print.orders.size();
        print.orders.push_back(order);
    }
    const auto lines = invoicing.query(
        QStringLiteral("SELECT D.ENCNRO, D.VOSREF, D.ARTIGO, D.DESIGNACAO, A.CODIGO, G.DESIGNACAO, D.QUANTID, "
                       "D.UNVEND, D.PRECOVENDA, D.PRCDESCRI, D.VALILIQUIDO, D.VALLIQUIDO, D.DATAENTRG, D.SEMANA "
                       "FROM FRNENCDET D LEFT JOIN ARTIGOSCLS A ON A.CODIGO = D.ARTIGO "
                       "LEFT JOIN ARTGCOMP G ON G.CODIGO = A.COMPOSICAO "
                       "WHERE D.ENCNRO >= :N1 AND D.ENCNRO <= :N2 ORDER BY D.ENCNRO, D.DETAIL"),
        range);
    for (const auto& r : lines.rows) {
        const auto found = byNumber.find(r[0].toInt());
        if (found == byNumber.end())
            continue;
        Line line;
        line.supplierReference = r[1].toString();
        line.article = r[2].toString();
        line.designation = r[3].toString();
        line.articleKnown = !r[4].isNull();
        line.composition = r[5].toString();
        line.quantity = orderNum(r[6]);
        line.unit = r[7].toString();
        line.price = orderNum(r[8]);
        line.discountText = r[9].toString();
        line.gross = orderNum(r[10]);
        line.net = orderNum(r[11]);
        line.delivery = r[12].toDate();
        line.week = r[13].toString();
        print.orders[found->second].lines.push_back(line);
    }
    for (const auto& r : queue.rows) {
        const auto found = byNumber.find(r[0].toInt());
        if (found != byNumber.end())
            print.documents.push_back({r[1].toString(), static_cast<int>(found->second)});
    }
    const auto closing =
        invoicing.query(QStringLiteral("SELECT NENCOBSERV1, NENCOBSERV2 FROM STKPARGER WHERE ANO = :ANO"),
                        {{QStringLiteral("ANO"), year}});
    if (!closing.isEmpty()) {
        print.closing1 = closing.rows.front()[0].toString();
        print.closing2 = closing.rows.front()[1].toString();
    }
    return print;
}

} // namespace kv::production
