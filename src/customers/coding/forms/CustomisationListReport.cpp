#include "customers/coding/forms/CustomisationListReport.h"

#include "platform/report/TextElement.h"
#include "platform/ui/MessageService.h"

#include <QFileInfo>

namespace kv::customers {

using kv::report::SystemElement;

namespace {

const QColor TitleGrey(0xEF, 0xEF, 0xEF);

struct Column {
    const char* title;
    const char* field;
    double width;
};

const Column Columns[] = {{"País", "PAIS", 35},
                          {"Código", "CODIGO", 18},
                          {"Designação", "DESIGNACAO", 45},
                          {"Desc.Red.Código", "REDUZCODIGO", 25},
                          {"Desc.Red.Design.", "REDUZDESIGN", 55}};

} // namespace

CustomisationListReport::Options CustomisationListReport::articleFormList(const QString& title)
{
    return {QStringLiteral("TORCFPR032CUSTARTG"), title, false, QPageLayout::Portrait, true, {}};
}

CustomisationListReport::Options CustomisationListReport::codingFormList(const QString& title, bool quality,
                                                                         QPageLayout::Orientation orientation)
{
    return {QStringLiteral("TORCFPR032CUSTCOD"), title, quality, orientation, false, QStringLiteral("Data : ")};
}

CustomisationListReport::CustomisationListReport(Options options, kv::shell::FormEnvironment environment,
                                                 kv::report::OpenReports& openReports, QWidget* parent)
    : ListReportDialog(options.reportClass, options.title, openReports, parent), m_options(std::move(options)),
      m_environment(environment)
{
    build();
}

CustomisationListReport::~CustomisationListReport() = default;

void CustomisationListReport::build()
{
    kv::report::Report& list = report();
    setUpPage(m_options.orientation, 10, 10, 10, 20);
    list.setPrintIfEmpty(false);
    const double width = list.page().contentWidth();

    kv::report::Band& header = list.pageHeader();
    header.setHeight(16);
    const QString logo = m_environment.state().WPathFotosLogo + QStringLiteral(".Bmp");
    const bool withLogo = m_options.quality && QFileInfo::exists(logo);
    if (withLogo)
        header.addImage(logo, QRectF(0, 0, 40, 14), QStringLiteral("Logo"));
    header
        .addText(m_options.title, QRectF(withLogo ? 45 : 0, 4, withLogo ? width - 45 : width, 7),
                 QStringLiteral("Titulo"))
        .setFontFamily(QStringLiteral("Arial"))
        .setPointSize(12)
        .setBold(true)
        .setAlignment((m_options.quality ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop);
    header.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 15, width, 0));

    kv::report::Band& titles = list.columnHeader();
    titles.setHeight(5).setColor(TitleGrey);
    kv::report::DataBand& detail = list.detail();
    detail.setHeight(4);
    double x = 0;
    for (const Column& column : Columns) {
        titles.addText(QString::fromUtf8(column.title), QRectF(x, 0.5, column.width - 1, 4))
            .setFontFamily(QStringLiteral("Arial"))
            .setPointSize(8)
            .setBold(true);
        detail
            .addField(QString::fromLatin1(column.field), QRectF(x, 0.5, column.width - 1, 3.8), {},
                      QString::fromLatin1(column.field))
            .setPointSize(7);
        x += column.width;
    }

    kv::report::Band& footer = list.pageFooter();
    footer.setHeight(14);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, width, 0));
    footer.addText({}, QRectF(0, 1.5, width * 0.7, 4), QStringLiteral("Label_Empresa")).setPointSize(7).setBold(true);
    footer.addSystem(SystemElement::Field::DateTime, QRectF(0, 5.5, width * 0.5, 4), m_options.dateCaption)
        .setPointSize(7);
    if (m_options.footerText)
        footer.addText({}, QRectF(0, 9.5, width * 0.8, 4), QStringLiteral("Label_Rodape")).setPointSize(7);
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 30, 1.5, 30, 4), QStringLiteral("Página :"))
        .setPointSize(8)
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    list.setBeforePrint([this](kv::report::Report& printed) {
        fillFooter(printed, m_environment.companyName(),
                   m_options.footerText ? m_environment.state().WRodape : QString());
    });
}

kv::report::Document CustomisationListReport::render(kv::db::Dataset& rows) { return renderRows(rows); }

void CustomisationListReport::preview(kv::db::Dataset& rows, QWidget* parent)
{
    showPreview(render(rows), parent, [](const QString& text) { kv::ui::messages().fail(text); });
}

} // namespace kv::customers
