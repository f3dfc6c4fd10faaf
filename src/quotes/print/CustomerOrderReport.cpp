#include "quotes/print/CustomerOrderReport.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageService.h"

namespace kv::quotes {

namespace {

using kv::report::Band;
using kv::report::FieldFormat;
using kv::report::SystemElement;

constexpr double OrderLineHeight = 4.5;
constexpr double OrderWidth = 277;
// The workstation's currency decimals, for the order's money.
constexpr int OrderMoneyDecimals = 2;

struct OrderColumn {
    const char* title;
    const char* field;
    double x;
    double width;
    FieldFormat format;
    bool right;
};

std::vector<OrderColumn> orderColumns(int quantityDecimals)
{
    const FieldFormat quantity = FieldFormat::number(quantityDecimals);
    const FieldFormat money = FieldFormat::money(OrderMoneyDecimals);
    return {{"Artigo", "ARTIGO", 0, 28, {}, false},
            {"Designação", "DESIGNACAO", 29, 70, {}, false},
            {"Compri", "COMPRI", 100, 13, {}, true},
            {"Larg.", "LARGUR", 114, 13, {}, true},
            {"Altura", "ALTURA", 128, 13, {}, true},
            {"Data Entrg", "DATAENTRG", 142, 18, FieldFormat::date(), false},
            {"Quant.", "QUANTID", 161, 22, quantity, true},
            {"", "UNVEND", 184, 8, {}, false},
            {"Quant.Cv", "QTDENCCV", 193, 18, quantity, true},
            {"Preço (Eur)", "PRECOVENDA", 212, 20, FieldFormat::number(4), true},
            {"Descto", "PRCDESCRI", 233, 14, {}, false},
            {"Valor (Eur)", "VALLIQUIDO", 248, 22, money, true},
            {"Sem", "SEMANA", 271, 6, {}, true}};
}

void addHeadingPair(Band& band, const QString& caption, const QString& value, double x, double y, double captionWidth,
                    double valueWidth)
{
    band.addText(caption, QRectF(x, y, captionWidth, OrderLineHeight)).setBold(true);
    band.addText(value, QRectF(x + captionWidth, y, valueWidth, OrderLineHeight));
}

void buildOrderHeading(Band& header, const CustomerOrderPrint& order, const std::vector<OrderColumn>& columns)
{
    header.setHeight(11 * OrderLineHeight + 6);
    header.addText(QStringLiteral("Emissão de N/Encomenda"), QRectF(0, 0, OrderWidth, 7))
        .setAlignment(Qt::AlignHCenter | Qt::AlignTop)
        .setPointSize(12)
        .setBold(true);
    double y = 8;
    const double cw = 38;
    const double vw = 100;
    addHeadingPair(header, QStringLiteral("N/ Nº Encomenda : "), QString::number(order.number), 0, y, cw, vw);
    addHeadingPair(header, QStringLiteral("Data : "), kv::text::date(order.date), 0, y += OrderLineHeight, cw, vw);
    addHeadingPair(header, QStringLiteral("V/Nº Encomenda : "), order.customerOrder, 0, y += OrderLineHeight, cw, vw);
    addHeadingPair(header, QStringLiteral("Vendedor : "), order.salesman, 0, y += OrderLineHeight, cw, vw);
    addHeadingPair(header, QStringLiteral("Agente (1) : "), order.agent1, 0, y += OrderLineHeight, cw, vw);
    addHeadingPair(header, QStringLiteral("Agente (2) : "), order.agent2, 0, y += OrderLineHeight, cw, vw);
    addHeadingPair(header, QStringLiteral("Cond.Pagamento  : "), order.paymentCondition, 0, y += OrderLineHeight, cw,
                   vw);
    addHeadingPair(header, QStringLiteral("Transporte (Incoterm)"),
                   order.transport + QLatin1Char(' ') + order.transportPlace, 0, y += OrderLineHeight, cw + 4, vw);

    const double x = 160;
    double right = 8;
    for (const QString& text : {order.customerName, order.address1, order.address2,
                                order.postalCode + QLatin1Char(' ') + order.locality, order.country})
        header.addText(text, QRectF(x, right += OrderLineHeight, 117, OrderLineHeight));
    header.addText(QStringLiteral("Morada de Entrega : "), QRectF(x, right += OrderLineHeight, 117, OrderLineHeight))
        .setBold(true);
    for (const QString& text : {order.deliveryAddress1, order.deliveryAddress2,
                                order.deliveryPostalCode + QLatin1Char(' ') + order.deliveryLocality})
        header.addText(text, QRectF(x, right += OrderLineHeight, 117, OrderLineHeight));

    const double titles = std::max(y, right) + OrderLineHeight + 1;
    header.setHeight(titles + OrderLineHeight + 1);
    for (const OrderColumn& c : columns)
        header.addText(QString::fromUtf8(c.title), QRectF(c.x, titles, c.width, OrderLineHeight))
            .setAlignment((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop)
            .setBold(true)
            .setUnderline(true);
}

void buildOrderTotals(Band& summary, const CustomerOrderPrint& order)
{
    const auto quantity = [&order](double value) { return kv::text::money(value, order.quantityDecimals); };
    const auto money = [](double value) { return kv::text::money(value, OrderMoneyDecimals); };
    summary.setHeight(7 * OrderLineHeight + 2);
    double y = 1;
    summary.addText(QStringLiteral("Total Quantidades : "), QRectF(110, y, 50, OrderLineHeight)).setBold(true);
    summary
        .addText(quantity(order.quantityTotal()), QRectF(161, y, 22, OrderLineHeight), QStringLiteral("TotalQuantid"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    summary
        .addText(quantity(order.quantityCvTotal()), QRectF(190, y, 21, OrderLineHeight),
                 QStringLiteral("TotalQtdEncCv"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    const std::pair<const char*, double> rows[] = {{"Mercadoria  : ", order.goods},
                                                   {"Desc.Comerciais : ", order.discounts},
                                                   {"Valor Bruto : ", order.gross},
                                                   {"Desconto Financeiro : ", order.financialDiscount()},
                                                   {"Total da Encomenda : ", order.orderTotal()}};
    for (const auto& [caption, value] : rows) {
        y += OrderLineHeight;
        summary.addText(QString::fromUtf8(caption), QRectF(200, y, 46, OrderLineHeight)).setBold(true);
        summary.addText(money(value), QRectF(246, y, 31, OrderLineHeight)).setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
}

} // namespace

const QString CustomerOrderReport::kClass = QStringLiteral("TORCFPR032ENC_ZADOV");
const QString CustomerOrderReport::kTitle = QStringLiteral("Emissão de N/ Encomenda");

kv::report::Document CustomerOrderReport::render(const CustomerOrderPrint& order, const QString& companyName)
{
    kv::report::Report report(kTitle);
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Landscape).setMargins(10, 10, 10, 10);
    report.setPrintIfEmpty(true);
    const std::vector<OrderColumn> columns = orderColumns(order.quantityDecimals);
    buildOrderHeading(report.pageHeader(), order, columns);

    kv::report::MemoryRowSource lines({"ARTIGO", "DESIGNACAO", "COMPRI", "LARGUR", "ALTURA", "DATAENTRG", "QUANTID",
                                       "UNVEND", "QTDENCCV", "PRECOVENDA", "PRCDESCRI", "VALLIQUIDO", "SEMANA"});
    for (const PrintedOrderLine& l : order.lines)
        lines.append({l.article, l.designation, l.length, l.width, l.height, l.delivery, l.quantity, l.unit,
                      l.quantityCv, l.price, l.discount, l.value, l.week});
    kv::report::DataBand& detail = report.detail();
    detail.setSource(&lines).setHeight(OrderLineHeight + 1);
    for (const OrderColumn& c : columns)
        detail.addField(QString::fromLatin1(c.field), QRectF(c.x, 0.5, c.width, OrderLineHeight), c.format)
            .setAlignment((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    buildOrderTotals(report.summary(), order);

    Band& footer = report.pageFooter();
    footer.setHeight(7);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, OrderWidth, 0));
    footer.addText(QStringLiteral("Empresa : ") + companyName, QRectF(0, 1.5, 120, OrderLineHeight));
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(130, 1.5, 40, OrderLineHeight),
                     QStringLiteral("Página :"));
    footer.addSystem(SystemElement::Field::DateTime, QRectF(200, 1.5, 77, OrderLineHeight), QStringLiteral("Data :"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    report.forEachBand([](Band& band) {
        for (const auto& element : band.elements())
            if (auto* text = dynamic_cast<kv::report::TextElement*>(element.get()); text && !text->font().bold())
                text->setPointSize(8);
    });
    return kv::report::ReportEngine::render(report);
}

void CustomerOrderReport::preview(const CustomerOrderPrint& order, const QString& companyName, QWidget* parent)
{
    kv::report::PreviewWindow window(render(order, companyName), parent);
    window.setWindowTitle(kTitle);
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
}

} // namespace kv::quotes
