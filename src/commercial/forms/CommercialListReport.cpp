#include "commercial/forms/CommercialListReport.h"

#include "platform/report/TextElement.h"
#include "platform/ui/MessageService.h"

namespace kv::commercial {

using kv::report::SystemElement;

namespace {

// The column titles' background (15724527 as the report colour stores it).
const QColor TitleGrey(0xEF, 0xEF, 0xEF);

} // namespace

CommercialListReport::CommercialListReport(CommercialReportSpec spec, CommercialEnvironment environment,
                                           QWidget* parent)
    : ListReportDialog(spec.reportClass, spec.reportTitle, environment.session().openReports, parent),
      m_spec(std::move(spec)), m_environment(environment)
{
    build();
}

CommercialListReport::~CommercialListReport() = default;

CommercialListReport* CommercialListReport::instance(const CommercialEnvironment& environment,
                                                     const QString& reportClass)
{
    return ListReportDialog::instance<CommercialListReport>(environment.session().openReports, reportClass);
}

void CommercialListReport::build()
{
    kv::report::Report& list = report();
    setUpPage(QPageLayout::Portrait, 10, 10, 10, 20);
    list.setPrintIfEmpty(false);
    const double width = list.page().contentWidth();

    kv::report::Band& header = list.pageHeader();
    header.setHeight(9);
    header.addText(m_spec.pageTitle, QRectF(0, 1, width, 6), QStringLiteral("Titulo"))
        .setFontFamily(QStringLiteral("Arial Narrow"))
        .setPointSize(11)
        .setBold(true)
        .setItalic(true)
        .setAlignment(Qt::AlignLeft | Qt::AlignTop);
    header.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 8, width, 0));

    kv::report::Band& titles = list.columnHeader();
    titles.setHeight(5).setColor(TitleGrey);
    kv::report::DataBand& detail = list.detail();
    detail.setHeight(4);
    double x = 0;
    for (const CommercialReportColumn& column : m_spec.columns) {
        const QRectF cell(x, 0.5, column.width - 1, 3.8);
        titles.addText(column.title, QRectF(x, 0.5, column.width - 1, 4))
            .setFontFamily(QStringLiteral("Arial"))
            .setPointSize(8)
            .setBold(true)
            .setAlignment(column.alignment);
        if (column.column.isEmpty() && !column.text) {
            // A title only: the member lays its lines out itself.
        } else if (column.text) {
            auto text = column.text;
            detail.addExpression([text](const kv::report::RowView& row) { return QVariant(text(row)); }, cell)
                .setPointSize(7)
                .setAlignment(column.alignment);
        } else {
            detail.addField(column.column, cell, {}, column.column).setPointSize(7).setAlignment(column.alignment);
        }
        x += column.width;
    }

    kv::report::Band& footer = list.pageFooter();
    footer.setHeight(14);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, width, 0));
    footer.addText({}, QRectF(0, 1.5, width * 0.7, 4), QStringLiteral("Label_Empresa")).setPointSize(7).setBold(true);
    footer.addSystem(SystemElement::Field::DateTime, QRectF(0, 5.5, width * 0.5, 4)).setPointSize(7);
    footer.addText({}, QRectF(0, 9.5, width * 0.8, 4), QStringLiteral("Label_Rodape")).setPointSize(7);
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 30, 1.5, 30, 4), QStringLiteral("Página :"))
        .setPointSize(8)
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    list.setBeforePrint([this](kv::report::Report&) { ReportBeforePrint(); });
}

void CommercialListReport::ReportBeforePrint()
{
    fillFooter(report(), m_environment.companyName(), m_environment.state().WRodape);
}

kv::report::Document CommercialListReport::render(kv::db::Dataset& dataset) { return renderRows(dataset); }

void CommercialListReport::preview(kv::db::Dataset& dataset, QWidget* parent)
{
    showPreview(render(dataset), parent, [](const QString& text) { kv::ui::messages().fail(text); });
}

} // namespace kv::commercial
