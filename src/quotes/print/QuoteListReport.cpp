#include "quotes/print/QuoteListReport.h"

#include "platform/report/DatasetRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/DateText.h"
#include "platform/ui/MessageService.h"

namespace kv::quotes {

const QString QuoteListReport::kClass = QStringLiteral("TORCFPR031A");
const QString QuoteListReport::kTitle = QStringLiteral("Listagem de Orçamentos");

using kv::report::FieldFormat;
using kv::report::SystemElement;

namespace {

struct ListColumn {
    const char* title;
    const char* field;
    double width; // mm
    FieldFormat format;
};

std::vector<ListColumn> columns(int priceDecimals)
{
    const FieldFormat money = FieldFormat::money(priceDecimals);
    const FieldFormat quantity = FieldFormat::number(0);
    return {{"Orc.Nº", "CODIGO", 14, {}},
            {"Data", "DATEMI", 16, FieldFormat::date()},
            {"Cliente Nº", "CLINRO", 14, {}},
            {"Nome do Cliente", "NOME", 40, {}},
            {"Artigo Nº", "NOSREF", 22, {}},
            {"Designação do Artigo", "DESIGN1", 42, {}},
            {"Vend.Nº", "VNDNRO", 10, {}},
            {"Und", "UNDVND", 7, {}},
            {"Qtd - 1", "QTDORC1", 14, quantity},
            {"Preço - 1", "PRECOCLI1", 17, money},
            {"Qtd - 2", "QTDORC2", 14, quantity},
            {"Preço - 2", "PRECOCLI2", 17, money},
            {"Qtd - 3", "QTDORC3", 14, quantity},
            {"Preço - 3", "PRECOCLI3", 17, money},
            {"%Marg.", "PRCCOM3", 11, FieldFormat::number(1)},
            {"Apr?", "APROVADO", 7, {}}};
}

// The header's limit pairs, each caption followed by its value.
void addLimit(kv::report::Band& header, double x, double y, const QString& caption, const QString& value)
{
    header.addText(caption + value, QRectF(x, y, 68, 4)).setPointSize(8);
}

} // namespace

kv::report::Document QuoteListReport::render(kv::db::Dataset& list, const QuoteListInputs& inputs)
{
    const ConsultationSelection& s = inputs.selection;
    kv::report::Report report(QuoteListReport::kTitle);
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Landscape).setMargins(10, 10, 10, 10);
    report.setPageHeaderOnFirstPage(true);
    report.setPageFooterOnLastPage(true);
    report.setPrintIfEmpty(false);
    const double width = report.page().contentWidth();

    kv::report::Band& header = report.pageHeader();
    header.setHeight(24);
    header.addText(QuoteListReport::kTitle, QRectF(0, 0, width, 7), QStringLiteral("Titulo"))
        .setFontFamily(QStringLiteral("Arial"))
        .setPointSize(12)
        .setBold(true);
    addLimit(header, 0, 8, QStringLiteral("Do Cliente : "), QString::number(s.customerFrom));
    addLimit(header, 0, 12, QStringLiteral("Ao Cliente : "), QString::number(s.customerTo));
    addLimit(header, 70, 8, QStringLiteral("Do Vendedor : "), QString::number(s.salesmanFrom));
    addLimit(header, 70, 12, QStringLiteral("Ao Vendedor : "), QString::number(s.salesmanTo));
    addLimit(header, 140, 8, QStringLiteral("Do Artigo : "), s.articleFrom);
    addLimit(header, 140, 12, QStringLiteral("Ao Artigo : "), s.articleTo);
    addLimit(header, 210, 8, QStringLiteral("Da Data : "), kv::text::date(s.dateFrom));
    addLimit(header, 210, 12, QStringLiteral("à Data : "), kv::text::date(s.dateTo));
    header.addText(s.approvalWording(), QRectF(0, 17, width, 5), QStringLiteral("Label_Aprovados"))
        .setPointSize(9)
        .setBold(true);

    kv::report::Band& titles = report.columnHeader();
    titles.setHeight(5).setColor(QColor(0xEF, 0xEF, 0xEF));
    kv::report::DataBand& detail = report.detail();
    detail.setHeight(4);
    double x = 0;
    for (const ListColumn& c : columns(inputs.priceDecimals)) {
        const bool number = c.format.kind() != FieldFormat::Kind::Auto || QLatin1String(c.field) == "CODIGO"
                            || QLatin1String(c.field) == "CLINRO" || QLatin1String(c.field) == "VNDNRO";
        const Qt::Alignment align = (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        titles.addText(QString::fromUtf8(c.title), QRectF(x, 0.5, c.width - 1, 4))
            .setPointSize(7)
            .setBold(true)
            .setAlignment(align);
        detail.addField(QString::fromLatin1(c.field), QRectF(x, 0.2, c.width - 1, 3.6), c.format)
            .setPointSize(7)
            .setAlignment(align);
        x += c.width;
    }

    kv::report::Band& footer = report.pageFooter();
    footer.setHeight(6);
    footer
        .addText(QStringLiteral("Empresa : ") + inputs.companyName, QRectF(0, 1, width * 0.5, 4),
                 QStringLiteral("Label_Empresa"))
        .setPointSize(7);
    footer.addSystem(SystemElement::Field::DateTime, QRectF(width * 0.5, 1, width * 0.3, 4), QStringLiteral("Data :"))
        .setPointSize(7);
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 30, 1, 30, 4), QStringLiteral("Página :"))
        .setPointSize(7)
        .setAlignment(Qt::AlignRight | Qt::AlignTop);

    kv::report::DatasetRowSource rows(list);
    detail.setSource(&rows);
    return kv::report::ReportEngine::render(report);
}

bool QuoteListReport::preview(kv::db::Dataset& list, const QuoteListInputs& inputs, QWidget* parent)
{
    kv::report::Document document = render(list, inputs);
    if (document.pageCount() == 0)
        return false;
    kv::report::PreviewWindow window(std::move(document), parent);
    window.setWindowTitle(QuoteListReport::kTitle);
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
    return true;
}

} // namespace kv::quotes
