#include "commercial/forms/CommercialListReport.h"

#include "platform/report/DatasetRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportEngine.h"
#include "platform/ui/MessageService.h"

namespace kv::commercial {

using kv::report::SystemElement;
using kv::report::TextElement;

namespace {

// The column titles' background (15724527 as the report colour stores it).
const QColor TitleGrey(0xEF, 0xEF, 0xEF);

} // namespace

CommercialListReport::CommercialListReport(CommercialReportSpec spec, CommercialEnvironment environment,
                                           QWidget* parent)
    : QDialog(parent), m_spec(std::move(spec)), m_environment(environment), m_report(m_spec.reportTitle)
{
    setObjectName(m_spec.reportClass);
    setWindowTitle(m_spec.reportTitle);
    m_environment.session().openReports[m_spec.reportClass] = this;
    build();
}

CommercialListReport::~CommercialListReport()
{
    auto& open = m_environment.session().openReports;
    auto it = open.find(m_spec.reportClass);
    if (it != open.end() && it->second == this)
        open.erase(it);
}

CommercialListReport* CommercialListReport::instance(const CommercialEnvironment& environment,
                                                     const QString& reportClass)
{
    const auto& open = environment.session().openReports;
    auto it = open.find(reportClass);
    return it == open.end() ? nullptr : it->second;
}

void CommercialListReport::build()
{
    m_report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(10, 10, 10, 20);
    m_report.setPageHeaderOnFirstPage(true);
    m_report.setPageFooterOnLastPage(true);
    m_report.setPrintIfEmpty(false);
    const double width = m_report.page().contentWidth();

    kv::report::Band& header = m_report.pageHeader();
    header.setHeight(9);
    header.addText(m_spec.pageTitle, QRectF(0, 1, width, 6), QStringLiteral("Titulo"))
        .setFontFamily(QStringLiteral("Arial Narrow"))
        .setPointSize(11)
        .setBold(true)
        .setItalic(true)
        .setAlignment(Qt::AlignLeft | Qt::AlignTop);
    header.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 8, width, 0));

    kv::report::Band& titles = m_report.columnHeader();
    titles.setHeight(5).setColor(TitleGrey);
    kv::report::DataBand& detail = m_report.detail();
    detail.setHeight(4);
    double x = 0;
    for (const CommercialReportColumn& column : m_spec.columns) {
        const QRectF cell(x, 0.5, column.width - 1, 3.8);
        titles.addText(column.title, QRectF(x, 0.5, column.width - 1, 4))
            .setFontFamily(QStringLiteral("Arial"))
            .setPointSize(8)
            .setBold(true)
            .setAlignment(column.alignment);
        if (column.text) {
            auto text = column.text;
            detail.addExpression([text](const kv::report::RowView& row) { return QVariant(text(row)); }, cell)
                .setPointSize(7)
                .setAlignment(column.alignment);
        } else {
            detail.addField(column.column, cell, {}, column.column).setPointSize(7).setAlignment(column.alignment);
        }
        x += column.width;
    }

    kv::report::Band& footer = m_report.pageFooter();
    footer.setHeight(14);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, width, 0));
    footer.addText({}, QRectF(0, 1.5, width * 0.7, 4), QStringLiteral("Label_Empresa")).setPointSize(7).setBold(true);
    footer.addSystem(SystemElement::Field::DateTime, QRectF(0, 5.5, width * 0.5, 4)).setPointSize(7);
    footer.addText({}, QRectF(0, 9.5, width * 0.8, 4), QStringLiteral("Label_Rodape")).setPointSize(7);
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 30, 1.5, 30, 4), QStringLiteral("Página :"))
        .setPointSize(8)
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_report.setBeforePrint([this](kv::report::Report&) { ReportBeforePrint(); });
}

void CommercialListReport::ReportBeforePrint()
{
    if (auto* footer = m_report.find<TextElement>(QStringLiteral("Label_Rodape")))
        footer->setText(m_environment.state().WRodape);
    if (auto* company = m_report.find<TextElement>(QStringLiteral("Label_Empresa")))
        company->setText(QStringLiteral("Empresa : ") + m_environment.companyName());
}

kv::report::Document CommercialListReport::render(kv::db::Dataset& dataset)
{
    m_rows = std::make_unique<kv::report::DatasetRowSource>(dataset);
    m_report.detail().setSource(m_rows.get());
    return kv::report::ReportEngine::render(m_report);
}

void CommercialListReport::preview(kv::db::Dataset& dataset, QWidget* parent)
{
    kv::report::PreviewWindow window(render(dataset), parent);
    window.setWindowTitle(m_spec.reportTitle);
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
}

} // namespace kv::commercial
