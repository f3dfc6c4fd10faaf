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

constexpr double Line = 4.5;
constexpr double Width = 277;
// The workstation's currency decimals, for the order's money.
constexpr int CurrencyDecimals = 2;

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
    const FieldFormat money = FieldFormat::money(CurrencyDecimals);
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

void addPair(Band& band, const QString& caption, const QString& value, double x, double y, double captionWidth,
             double valueWidth)
{
    band.addText(caption, QRectF(x, y, captionWidth, Line)).setBold(true);
    band.addText(value, QRectF(x + captionWidth, y, valueWidth, Line));
}

void buildHeading(Band& header, const CustomerOrderPrint& order, const std::vector<OrderColumn>& columns)
{
    header.setHeight(11 * Line + 6);
    header.addText(QStringLiteral("Emissão de N/Encomenda"), QRectF(0, 0, Width, 7))
        .setAlignment(Qt::AlignHCenter | Qt::AlignTop)
        .setPointSize(12)
        .setBold(true);
    double y = 8;
    const double cw = 38;
    const double vw = 100;
    addPair(header, QStringLiteral("N/ Nº Encomenda : "), QString::number(order.number), 0, y, cw, vw);
    addPair(header, QStringLiteral("Data : "), kv::text::date(order.date), 0, y += Line, cw, vw);
    addPair(header, QStringLiteral("V/Nº Encomenda : "), order.customerOrder, 0, y += Line, cw, vw);
    addPair(header, QStringLiteral("Vendedor : "), order.salesman, 0, y += Line, cw, vw);
    addPair(header, QStringLiteral("Agente (1) : "), order.agent1, 0, y += Line, cw, vw);
    addPair(header, QStringLiteral("Agente (2) : "), order.agent2, 0, y += Line, cw, vw);
    addPair(header, QStringLiteral("Cond.Pagamento  : "), order.paymentCondition, 0, y += Line, cw, vw);
    addPair(header, QStringLiteral("Transporte (Incoterm)"), order.transport + QLatin1Char(' ') + order.transportPlace,
            0, y += Line, cw + 4, vw);

    const double x = 160;
    double right = 8;
    for (const QString& text : {order.customerName, order.address1, order.address2,
                                order.postalCode + QLatin1Char(' ') + order.locality, order.country})
        header.addText(text, QRectF(x, right += Line, 117, Line));
    header.addText(QStringLiteral("Morada de Entrega : "), QRectF(x, right += Line, 117, Line)).setBold(true);
    for (const QString& text : {order.deliveryAddress1, order.deliveryAddress2,
                                order.deliveryPostalCode + QLatin1Char(' ') + order.deliveryLocality})
        header.addText(text, QRectF(x, right += Line, 117, Line));

    const double titles = std::max(y, right) + Line + 1;
    header.setHeight(titles + Line + 1);
    for (const OrderColumn& c : columns)
        header.addText(QString::fromUtf8(c.title), QRectF(c.x, titles, c.width, Line))
            .setAlignment((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop)
            .setBold(true)
            .setUnderline(true);
}

void buildTotals(Band& summary, const CustomerOrderPrint& order)
{
    const auto quantity = [&order](double value) { return kv::text::money(value, order.quantityDecimals); };
    const auto money = [](double value) { return kv::text::money(value, CurrencyDecimals); };
    summary.setHeight(7 * Line + 2);
    double y = 1;
    summary.addText(QStringLiteral("Total Quantidades : "), QRectF(110, y, 50, Line)).setBold(true);
    summary.addText(quantity(order.quantityTotal()), QRectF(161, y, 22, Line), QStringLiteral("TotalQuantid"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    summary.addText(quantity(order.quantityCvTotal()), QRectF(190, y, 21, Line), QStringLiteral("TotalQtdEncCv"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    const std::pair<const char*, double> rows[] = {{"Mercadoria  : ", order.goods},
                                                   {"Desc.Comerciais : ", order.discounts},
                                                   {"Valor Bruto : ", order.gross},
                                                   {"Desconto Financeiro : ", order.financialDiscount()},
                                                   {"Total da Encomenda : ", order.orderTotal()}};
    for (const auto& [caption, value] : rows) {
        y += Line;
        summary.addText(QString::fromUtf8(caption), QRectF(200, y, 46, Line)).setBold(true);
        summary.addText(money(value), QRectF(246, y, 31, Line)).setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
}

} // namespace

const QString CustomerOrderReport::kTitle = QStringLiteral("Emissão de N/ Encomenda");

kv::report::Document CustomerOrderReport::render(const CustomerOrderPrint& order, const QString& companyName)
{
    kv::report::Report report(kTitle);
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Landscape).setMargins(10, 10, 10, 10);
    report.setPrintIfEmpty(true);
    const std::vector<OrderColumn> columns = orderColumns(order.quantityDecimals);
    buildHeading(report.pageHeader(), order, columns);

    kv::report::MemoryRowSource lines({"ARTIGO", "DESIGNACAO", "COMPRI", "LARGUR", "ALTURA", "DATAENTRG", "QUANTID",
                                       "UNVEND", "QTDENCCV", "PRECOVENDA", "PRCDESCRI", "VALLIQUIDO", "SEMANA"});
    for (const PrintedOrderLine& l : order.lines)
        lines.append({l.article, l.designation, l.length, l.width, l.height, l.delivery, l.quantity, l.unit,
                      l.quantityCv, l.price, l.discount, l.value, l.week});
    kv::report::DataBand& detail = report.detail();
    detail.setSource(&lines).setHeight(Line + 1);
    for (const OrderColumn& c : columns)
        detail.addField(QString::fromLatin1(c.field), QRectF(c.x, 0.5, c.width, Line), c.format)
            .setAlignment((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    buildTotals(report.summary(), order);

    Band& footer = report.pageFooter();
    footer.setHeight(7);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, Width, 0));
    footer.addText(QStringLiteral("Empresa : ") + companyName, QRectF(0, 1.5, 120, Line));
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(130, 1.5, 40, Line), QStringLiteral("Página :"));
    footer.addSystem(SystemElement::Field::DateTime, QRectF(200, 1.5, 77, Line), QStringLiteral("Data :"))
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
