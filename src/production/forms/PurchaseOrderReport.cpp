#include "production/forms/PurchaseOrderReport.h"

#include "production/forms/SupplierReportParts.h"
#include "quotes/print/QuoteLetterReport.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/Report.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <memory>

namespace kv::production {

using kv::report::Band;
using kv::report::BandContext;
using kv::report::TextElement;

const QString PurchaseOrderReport::kClass = QStringLiteral("TORCFPR041MICRO");
const QString PurchaseOrderReport::kCaption = QStringLiteral("Emissão Nota de Encomenda");

namespace {

QString orderMoney(double value) { return kv::text::money(value, 2); }

// The state of one document while it prints.
struct OrderRun {
    int page = 0;
    bool totalsPrinted = false;
};

} // namespace

PurchaseOrderReport::PurchaseOrderReport(PurchaseOrderPrint print, std::optional<kv::quotes::Letterhead> letterhead,
                                         bool training)
    : m_print(std::move(print)), m_letterhead(std::move(letterhead)), m_training(training)
{
}

kv::report::Document PurchaseOrderReport::render() const
{
    const QStringList fields{QStringLiteral("VOSREF"),  QStringLiteral("ARTIGO"),  QStringLiteral("DESIGNACAO"),
                             QStringLiteral("QUANTID"), QStringLiteral("PRECO"),   QStringLiteral("PRCDESCRI"),
                             QStringLiteral("VALOR"),   QStringLiteral("ENTREGA"), QStringLiteral("NET")};
    std::vector<std::unique_ptr<kv::report::Report>> reports;
    std::vector<std::unique_ptr<kv::report::MemoryRowSource>> sources;
    for (const PurchaseOrderPrint::Document& document : m_print.documents) {
        const PurchaseOrderPrint::Order& order = m_print.orders[static_cast<std::size_t>(document.order)];
        auto source = std::make_unique<kv::report::MemoryRowSource>(fields);
        for (const PurchaseOrderPrint::Line& l : order.lines) {
            const bool known = l.articleKnown;
            QString designation = l.designation;
            if (known && !l.composition.isEmpty())
                designation += QLatin1Char('\n') + l.composition;
            source->append({l.supplierReference, l.article, designation,
                            kv::text::number(l.quantity, 3) + QLatin1Char(' ') + l.unit, kv::text::money(l.price, 4),
                            l.discountText, known ? orderMoney(l.net) : QString(),
                            known ? kv::text::date(l.delivery) + QLatin1Char(' ') + l.week : QString(), l.net});
        }
        auto run = std::make_shared<OrderRun>();
        auto report = std::make_unique<kv::report::Report>(kCaption);
        report->page().setMargins(6, 10, 3, 10);
        report->setPageFooterOnLastPage(true);
        report->setBeforePrint([run](kv::report::Report&) { *run = OrderRun{}; });

        Band& header = report->pageHeader();
        header.setHeight(100);
        addLetterheadLines(header);
        boxedText(header, document.copy, QRectF(130, 0, 71, 7), QStringLiteral("QRVia"), true);
        boxedText(header, QStringLiteral("N/ENCOMENDA Nº "), QRectF(130, 9, 30, 6));
        boxedText(header, QStringLiteral("Data Emissão "), QRectF(160, 9, 26, 6));
        boxedText(header, QStringLiteral("Pág"), QRectF(186, 9, 15, 6));
        boxedText(header, QString::number(order.number), QRectF(130, 15, 30, 6));
        boxedText(header, kv::text::date(order.issued), QRectF(160, 15, 26, 6));
        boxedText(header, QString(), QRectF(186, 15, 15, 6), QStringLiteral("QRPagina"));
        header
            .addText(m_training ? QStringLiteral("DOCUMENTO EMITIDO PARA FINS DE FORMAÇÃO") : QString(),
                     QRectF(110, 23, 91, 5))
            .setBold(true);
        const QStringList to{QStringLiteral("Exmo(s) Sr(s)."), order.supplierName, order.address1, order.address2,
                             order.locality};
        for (int i = 0; i < to.size(); ++i)
            header.addText(to[i], QRectF(110, 30 + i * 5.0, 91, 5));
        header.addText(QStringLiteral("Fornecedor Nº : ") + QString::number(order.supplier), QRectF(0, 45, 100, 5));
        header.addText(QStringLiteral("Condições de Pagamento : Habituais"), QRectF(0, 50, 100, 5));
        header.addText(QStringLiteral("Local de Entrega da Mercadoria "), QRectF(0, 57, 100, 5)).setBold(true);
        const QStringList place{order.deliveryAddress1, order.deliveryAddress2,
                                (order.deliveryPostalCode + QLatin1Char(' ') + order.deliveryLocality).trimmed()};
        for (int i = 0; i < place.size(); ++i)
            header.addText(place[i], QRectF(0, 62 + i * 5.0, 100, 5));
        const QStringList titles{QStringLiteral("V/REFERENCIA"), QStringLiteral("N/REFERÊNCIA"),
                                 QStringLiteral("DESIGNAÇÃO"),   QStringLiteral("QUANTIDADE"),
                                 QStringLiteral("PREÇO"),        QStringLiteral("DESCONTO"),
                                 QStringLiteral("VAL.LÍQUIDO"),  QStringLiteral("ENTREGA")};
        const double lefts[] = {0, 22, 44, 100, 125, 145, 160, 180, 201};
        for (int i = 0; i < titles.size(); ++i)
            boxedText(header, titles[i], QRectF(lefts[i], 92, lefts[i + 1] - lefts[i], 7));
        header.setBeforePrint([run](BandContext& context) {
            ++run->page;
            if (auto* page = context.report.find<TextElement>(QStringLiteral("QRPagina")))
                page->setText(QString::number(run->page));
        });

        kv::report::DataBand& detail = report->detail();
        detail.setSource(source.get());
        detail.setHeight(4.5);
        detail.setStretch(true);
        for (int i = 0; i < 8; ++i) {
            auto& item = detail.addField(fields[i], QRectF(lefts[i], 0, lefts[i + 1] - lefts[i] - 0.5, 4.5));
            item.setPointSize(8);
            if (i == 2)
                item.setWordWrap(true);
            if (i == 3 || i == 4 || i == 6)
                item.setAlignment(Qt::AlignRight | Qt::AlignTop);
        }

        Band& totals = report->summary();
        totals.setHeight(30);
        const std::pair<QString, double> sums[] = {{QStringLiteral("ÍLIQUIDO"), order.merchandise},
                                                   {QStringLiteral("DESCONTOS"), order.discounts},
                                                   {QStringLiteral("TOTAL ( € )"), order.total}};
        for (int i = 0; i < 3; ++i) {
            boxedText(totals, sums[i].first, QRectF(120 + i * 27.0, 2, 27, 6));
            boxedText(totals, orderMoney(sums[i].second), QRectF(120 + i * 27.0, 8, 27, 6));
        }
        totals.addText(order.observation1, QRectF(0, 2, 115, 5));
        totals.addText(order.observation2, QRectF(0, 8, 115, 5));
        totals.addText(m_print.closing1, QRectF(0, 18, 201, 5));
        totals.addText(m_print.closing2, QRectF(0, 23, 201, 5));
        totals.setBeforePrint([run](BandContext&) { run->totalsPrinted = true; });

        Band& footer = report->pageFooter();
        footer.setHeight(6);
        footer.addText(QStringLiteral("Processado por Computador"), QRectF(0, 1, 80, 4)).setPointSize(6);
        // The net values of the lines printed so far, counted once each line's page is known.
        footer.addText(QStringLiteral("A TRANSPORTAR ... "), QRectF(110, 1, 60, 4), QStringLiteral("QRTransportar"))
            .setAlignment(Qt::AlignRight);
        auto& carried = footer.add(std::make_unique<kv::report::TotalElement>(
            QStringLiteral("NET"), QRectF(170, 1, 31, 4), kv::report::FieldFormat::money(2),
            QStringLiteral("QRTransportado")));
        carried.setResetAfterPrint(false);
        carried.setAlignment(Qt::AlignRight);
        footer.setBeforePrint([run](BandContext& context) {
            for (const char* name : {"QRTransportar", "QRTransportado"})
                if (auto* item = context.report.find<TextElement>(QString::fromLatin1(name)))
                    item->setVisible(!run->totalsPrinted);
        });
        if (m_letterhead && order.dressedLetterhead)
            kv::quotes::applyLogoDes(*report, *m_letterhead);
        sources.push_back(std::move(source));
        reports.push_back(std::move(report));
    }
    return renderRuns(reports);
}

void PurchaseOrderReport::preview(QWidget* parent) const
{
    if (m_print.documents.empty())
        return;
    previewPrint(render(), kCaption, parent);
}

} // namespace kv::production
