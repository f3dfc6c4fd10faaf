#include "production/forms/RequisitionReport.h"

#include "production/forms/SupplierReportParts.h"

#include "quotes/print/QuoteLetterReport.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/Report.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageService.h"

#include <memory>

namespace kv::production {

using kv::report::Band;
using kv::report::BandContext;
using kv::report::ShapeElement;
using kv::report::TextElement;

const QString RequisitionReport::kColoursAndSizes = QStringLiteral("TORCFPR040REQ");
const QString RequisitionReport::kDimensions = QStringLiteral("TORCFPR040REQMedidas");
const QString RequisitionReport::kCaption = QStringLiteral("Emissão de Requisição Interna");

namespace {

constexpr double LineHeight = 4.5;

// The columns of a line, left to right, in millimetres.
struct ReqColumn {
    const char* field;
    double left;
    double width;
    bool right;
};

// A dimension shown only when it is not 0, as a plain number.
QString dimension(double value) { return value == 0 ? QString() : kv::text::plain(value); }

QString amount(double value, const QString& currency, int decimals)
{
    return kv::text::number(value, currency.isEmpty() ? decimals : 2);
}

} // namespace

RequisitionReport::RequisitionReport(RequisitionPrint print, std::optional<kv::quotes::Letterhead> letterhead,
                                     bool coloursAndSizes)
    : m_print(std::move(print)), m_letterhead(std::move(letterhead)), m_coloursAndSizes(coloursAndSizes)
{
}

kv::report::Document RequisitionReport::render(const std::function<void(const QString&)>& missingArticle) const
{
    const std::vector<ReqColumn> columns =
        m_coloursAndSizes ? std::vector<ReqColumn>{{"ARTIGO", 0, 24, false},      {"DESIGNACAO", 24, 50, false},
                                                   {"CELL1", 74, 17, false},      {"CELL2", 91, 11, false},
                                                   {"QUANTID", 102, 17, true},    {"UNVEND", 120, 7, false},
                                                   {"PRECO", 127, 17, true},      {"MOEDA", 145, 7, false},
                                                   {"PRCDESCRI", 152, 12, false}, {"VALOR", 162, 17, true},
                                                   {"DATAENTRG", 181, 15, false}, {"SEMANA", 196, 5, true}}
                          : std::vector<ReqColumn>{{"ARTIGO", 0, 24, false},  {"DESIGNACAO", 24, 44, false},
                                                   {"CELL1", 68, 10, true},   {"CELL2", 79, 10, true},
                                                   {"CELL3", 90, 10, true},   {"QUANTID", 101, 18, true},
                                                   {"UNVEND", 120, 7, false}, {"PRECO", 127, 17, true},
                                                   {"MOEDA", 145, 7, false},  {"PRCDESCRI", 152, 12, false},
                                                   {"VALOR", 162, 17, true},  {"DATAENTRG", 181, 15, false},
                                                   {"SEMANA", 196, 5, true}};
    QStringList fields;
    for (const ReqColumn& c : columns)
        fields << QString::fromLatin1(c.field);

    // One run per copy (a copy's pages numbered from 1); nothing queued
    // prints the heading alone.
    QStringList copies = m_print.copies;
    const bool empty = copies.isEmpty();
    if (empty)
        copies << QString();
    std::vector<std::unique_ptr<kv::report::Report>> reports;
    std::vector<std::unique_ptr<kv::report::MemoryRowSource>> sources;
    auto pageCounter = std::make_shared<int>(0);
    for (const QString& copy : copies) {
        auto source = std::make_unique<kv::report::MemoryRowSource>(fields);
        if (!empty)
            for (const RequisitionPrint::Line& l : m_print.lines) {
                QString cell1, cell2, cell3, price, value;
                if (!l.article.isEmpty()) {
                    price = amount(l.price, l.currency, m_print.priceDecimals);
                    value = amount(l.net, l.currency, m_print.priceDecimals);
                    if (m_coloursAndSizes) {
                        cell1 = l.colour;
                        cell2 = l.size;
                    } else {
                        cell1 = dimension(l.length);
                        cell2 = dimension(l.width);
                        cell3 = dimension(l.height);
                    }
                    if (!l.articleKnown)
                        cell1 = cell2 = cell3 = QString();
                }
                std::vector<QVariant> row{l.article, l.designation, cell1, cell2};
                if (!m_coloursAndSizes)
                    row.push_back(cell3);
                row.insert(row.end(), {kv::text::number(l.quantity, 3), l.unit, price, l.currency, l.discountText,
                                       value, kv::text::date(l.delivery), l.week});
                source->append(std::move(row));
            }
        auto report = std::make_unique<kv::report::Report>(QStringLiteral("Requisição Interna"));
        report->page().setMargins(6, 10, 3, 10);
        report->setPrintIfEmpty(true);

        Band& header = report->pageHeader();
        header.setHeight(72);
        addLetterheadLines(header);
        boxedText(header, copy, QRectF(130, 0, 71, 7), QStringLiteral("QRVia"), true);
        boxedText(header, QStringLiteral("Requisição Nº "), QRectF(130, 9, 30, 6));
        boxedText(header, QStringLiteral("Data Emissão "), QRectF(160, 9, 26, 6));
        boxedText(header, QStringLiteral("Pág"), QRectF(186, 9, 15, 6));
        boxedText(header, QString::number(m_print.number), QRectF(130, 15, 30, 6), QStringLiteral("QRReqNro"));
        boxedText(header, kv::text::date(m_print.issued), QRectF(160, 15, 26, 6));
        boxedText(header, QString(), QRectF(186, 15, 15, 6), QStringLiteral("QRPagina"));
        header.addText(QStringLiteral("Utilizador : ") + m_print.user, QRectF(0, 46, 100, 5));
        header.addText(QStringLiteral("Departamento : ") + m_print.department, QRectF(0, 52, 100, 5));
        const QStringList titles = m_coloursAndSizes
                                       ? QStringList{QStringLiteral("N/Referência"),
                                                     QStringLiteral("Designação"),
                                                     QStringLiteral("Côr              Tamanho"),
                                                     QStringLiteral("Quantidade"),
                                                     QStringLiteral("Preço     Moe"),
                                                     QStringLiteral("Descto."),
                                                     QStringLiteral("Valor Líquido"),
                                                     QStringLiteral("Entrega")}
                                       : QStringList{QStringLiteral("N/Referência"),
                                                     QStringLiteral("Designação"),
                                                     QStringLiteral(" Comp.   x   Largura   x  Altura   "),
                                                     QStringLiteral("Quantidade"),
                                                     QStringLiteral("Preço      Moe"),
                                                     QStringLiteral("Descto."),
                                                     QStringLiteral("Valor Líquido"),
                                                     QStringLiteral("Entrega")};
        const double titleLeft[] = {
            0, 24, m_coloursAndSizes ? 74.0 : 68.0, m_coloursAndSizes ? 102.0 : 101.0, 127, 152, 164, 182};
        const double titleRight[] = {
            24, m_coloursAndSizes ? 74.0 : 68.0, m_coloursAndSizes ? 102.0 : 101.0, 127, 152, 164, 182, 201};
        for (int i = 0; i < titles.size(); ++i)
            boxedText(header, titles[i], QRectF(titleLeft[i], 62, titleRight[i] - titleLeft[i], 7));
        header.setBeforePrint([pageCounter](BandContext& context) {
            ++*pageCounter;
            if (auto* page = context.report.find<TextElement>(QStringLiteral("QRPagina")))
                page->setText(QString::number(*pageCounter));
        });
        report->setBeforePrint([pageCounter](kv::report::Report&) { *pageCounter = 0; });

        kv::report::DataBand& detail = report->detail();
        detail.setSource(source.get());
        detail.setHeight(LineHeight);
        for (const ReqColumn& c : columns) {
            auto& item = detail.addField(QString::fromLatin1(c.field), QRectF(c.left, 0, c.width, LineHeight));
            item.setPointSize(8);
            if (c.right)
                item.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (QLatin1String(c.field) == QLatin1String("ARTIGO"))
                item.setBold(true);
        }
        if (missingArticle) {
            detail.setBeforePrint([this, missingArticle](BandContext& context) {
                const QString article = context.value(QStringLiteral("ARTIGO")).toString();
                if (article.isEmpty())
                    return;
                for (const RequisitionPrint::Line& l : m_print.lines)
                    if (l.article == article && !l.articleKnown) {
                        missingArticle(article);
                        return;
                    }
            });
        }
        if (!m_coloursAndSizes) {
            Band& footer = report->pageFooter();
            footer.setHeight(6);
            footer.addShape(ShapeElement::Shape::HorizontalLine, QRectF(0, 0, 201, 0.3));
            footer.addText(QStringLiteral("Processado por Computador"), QRectF(0, 1, 80, 4)).setPointSize(6);
        }
        if (m_letterhead)
            kv::quotes::applyLogoDes(*report, *m_letterhead);
        sources.push_back(std::move(source));
        reports.push_back(std::move(report));
    }
    return renderRuns(reports);
}

void RequisitionReport::preview(QWidget* parent) const
{
    previewPrint(render([](const QString& article) {
                     kv::ui::messages().beep();
                     kv::ui::messages().error(QStringLiteral("Artigo Inexistente : ") + article);
                 }),
                 kCaption, parent);
}

} // namespace kv::production
