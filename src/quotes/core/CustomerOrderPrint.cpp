#include "quotes/core/CustomerOrderPrint.h"

#include "quotes/core/ChartRows.h"

#include "customers/parts/CustomerOrderValues.h"
#include "platform/db/Connection.h"
#include "platform/db/PrintQueue.h"
#include "platform/text/Fixed4.h"
#include "platform/text/NumberText.h"

#include <limits>

namespace kv::quotes {

namespace {

using kv::text::Fixed4;

QString lookupName(kv::db::Connection& invoicing, const QString& sql, const QVariant& key)
{
    if (key.isNull())
        return {};
    return invoicing.scalar(sql, {{QStringLiteral("K"), key}}).toString();
}

const char* const MonthLegends[] = {"Jan", "Fev", "Mar", "Abr", "Mai", "Jun", "Jul", "Ago", "Set", "Out", "Nov", "Dez"};

} // namespace

double CustomerOrderPrint::quantityTotal() const
{
    Fixed4 total;
    for (const PrintedOrderLine& line : lines)
        total += Fixed4::fromDouble(line.quantity);
    return total.toDouble();
}

double CustomerOrderPrint::quantityCvTotal() const
{
    Fixed4 total;
    for (const PrintedOrderLine& line : lines)
        total += Fixed4::fromDouble(line.quantityCv);
    return total.toDouble();
}

double CustomerOrderPrint::financialDiscount() const
{
    if (financialDiscountPercent <= 0)
        return 0;
    return (Fixed4::fromDouble(gross * financialDiscountPercent / 100.0)).toDouble();
}

double CustomerOrderPrint::orderTotal() const
{
    return (Fixed4::fromDouble(gross) - Fixed4::fromDouble(financialDiscount())).toDouble();
}

QString CustomerOrderPrint::paymentText(double days, const QString& description, double discountPercent)
{
    QString text = kv::text::plain(days) + QLatin1Char(' ') + description;
    if (discountPercent > 0)
        text += QLatin1Char(' ') + kv::text::plain(discountPercent) + QLatin1Char('%');
    return text;
}

std::optional<CustomerOrderPrint> CustomerOrderPrint::load(kv::db::Connection& invoicing, qint64 number,
                                                           const QString& year)
{
    const auto header = invoicing.query(
        QStringLiteral(
            "SELECT ENCNRO, CLINRO, DATEMI, VOSENC, VENDEDOR, AGENTE, AGENTE2, CNDPGT, FORMA, CLINOM, MORADA1, "
            "MORADA2, CODPOSTAL, PAIS, DESC_MORADA1, DESC_MORADA2, DESC_CODPOSTAL, DESC_LOCALIDADE, "
            "VALMERC, VALDESC, VALLIQUIDO FROM ENCCLIMAS WHERE ENCNRO = :WEncNro"),
        {{QStringLiteral("WEncNro"), number}});
    if (header.isEmpty())
        return std::nullopt;
    auto h = [&header](const char* column) { return header.value(0, QString::fromLatin1(column)); };
    CustomerOrderPrint order;
    order.number = number;
    order.customer = h("CLINRO").toInt();
    order.date = h("DATEMI").toDate();
    order.customerOrder = h("VOSENC").toString();
    order.customerName = h("CLINOM").toString();
    order.address1 = h("MORADA1").toString();
    order.address2 = h("MORADA2").toString();
    order.postalCode = h("CODPOSTAL").toString();
    order.country = h("PAIS").toString();
    order.deliveryAddress1 = h("DESC_MORADA1").toString();
    order.deliveryAddress2 = h("DESC_MORADA2").toString();
    order.deliveryPostalCode = h("DESC_CODPOSTAL").toString();
    order.deliveryLocality = h("DESC_LOCALIDADE").toString();
    order.goods = h("VALMERC").toDouble();
    order.discounts = h("VALDESC").toDouble();
    order.gross = h("VALLIQUIDO").toDouble();

    order.locality =
        lookupName(invoicing, QStringLiteral("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :K"), h("CODPOSTAL"));
    order.salesman =
        lookupName(invoicing, QStringLiteral("SELECT NOME FROM VENDEDORES WHERE CODIGO = :K"), h("VENDEDOR"));
    order.agent1 = lookupName(invoicing, QStringLiteral("SELECT NOME FROM AGENTES WHERE CODIGO = :K"), h("AGENTE"));
    order.agent2 = lookupName(invoicing, QStringLiteral("SELECT NOME FROM AGENTES WHERE CODIGO = :K"), h("AGENTE2"));
    // A condition that is not in the table gives no text and no discount.
    const auto condition =
        invoicing.query(QStringLiteral("SELECT NRDIAS, DESCRI, PRCDESC FROM CNDPGT WHERE CODIGO = :K"),
                        {{QStringLiteral("K"), h("CNDPGT")}});
    if (!condition.isEmpty()) {
        order.financialDiscountPercent = condition.rows[0][2].toDouble();
        order.paymentCondition = paymentText(condition.rows[0][0].toDouble(), condition.rows[0][1].toString(),
                                             order.financialDiscountPercent);
        order.financialDiscountPercent = std::max(0.0, order.financialDiscountPercent);
    }
    const auto transport =
        invoicing.query(QStringLiteral("SELECT DESIGNFORMA, DESIGNLOCALIDADE FROM FORMAS WHERE FORMA = :K"),
                        {{QStringLiteral("K"), h("FORMA")}});
    if (!transport.isEmpty()) {
        order.transport = transport.rows[0][0].toString();
        order.transportPlace = transport.rows[0][1].toString();
    }
    order.quantityDecimals = invoicing
                                 .scalar(QStringLiteral("SELECT DECIMAISQTD FROM PARGER WHERE ANO = :WAno"),
                                         {{QStringLiteral("WAno"), year}})
                                 .toInt();

    const auto lines = invoicing.query(
        QStringLiteral("SELECT ARTIGO, DESIGNACAO, UNVEND, COMPRI, LARGUR, ALTURA, DATAENTRG, QUANTID, QTDENCCV, "
                       "PRECOVENDA, PRCDESCRI, VALLIQUIDO, SEMANA FROM ENCCLIDET WHERE ENCNRO = :WEncNro "
                       "ORDER BY ENCNRO, DETAIL"),
        {{QStringLiteral("WEncNro"), number}});
    for (const auto& r : lines.rows)
        order.lines.push_back({r[0].toString(), r[1].toString(), r[2].toString(), r[3].toDouble(), r[4].toDouble(),
                               r[5].toDouble(), r[6].toDate(), r[7].toDouble(), r[8].toDouble(), r[9].toDouble(),
                               r[10].toString(), r[11].toDouble(), r[12].toInt()});
    return order;
}

namespace {

const kv::db::PrintQueueTable OrderQueue{
    QStringLiteral("ENCCLIIMPR"), QStringLiteral("DOCNRO"), QStringLiteral("UTIL"), {}};

} // namespace

void CustomerOrderPrint::prepareRun(kv::db::Connection& invoicing, const QString& user, const CustomerOrderPrint& order,
                                    const QString& year, const QString& program)
{
    const int customer = order.customer;
    kv::db::Transaction transaction(invoicing);
    kv::db::PrintQueue(invoicing, OrderQueue, user).fill({order.number}, {}, {});
    ChartRows chart(invoicing, ChartRows::Table::FacSaldos, user, program);
    chart.clear();
    if (const auto values = kv::customers::CustomerOrderValues::monthly(invoicing, user, year, customer))
        for (int month = 0; month < 12; ++month)
            chart.addSlice(month + 1, QString::fromLatin1(MonthLegends[month]),
                           values->months[static_cast<std::size_t>(month)], 1);
    transaction.commit();
}

std::vector<qint64> CustomerOrderPrint::queued(kv::db::Connection& invoicing, const QString& user)
{
    std::vector<qint64> orders;
    for (const kv::db::PrintQueueRow& row :
         kv::db::PrintQueue(invoicing, OrderQueue, user).rows(0, std::numeric_limits<qint32>::max(), {}))
        orders.push_back(row.document);
    return orders;
}

} // namespace kv::quotes
