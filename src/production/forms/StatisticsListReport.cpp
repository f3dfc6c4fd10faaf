#include "production/forms/StatisticsListReport.h"

#include "platform/report/DatasetRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/ui/MessageService.h"

namespace kv::production {

kv::report::Document StatisticsListReport::render(kv::db::Dataset& rows, const QString& title,
                                                  const std::vector<StatisticsColumn>& columns,
                                                  const QString& companyName)
{
    using kv::report::SystemElement;
    kv::report::Report report(title);
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(10, 10, 10, 10);
    report.setPageHeaderOnFirstPage(true);
    report.setPageFooterOnLastPage(true);
    report.setPrintIfEmpty(false);
    const double width = report.page().contentWidth();

    kv::report::Band& header = report.pageHeader();
    header.setHeight(10);
    header.addText(title, QRectF(0, 0, width, 7), QStringLiteral("Titulo"))
        .setFontFamily(QStringLiteral("Arial"))
        .setPointSize(12)
        .setBold(true);

    kv::report::Band& titles = report.columnHeader();
    titles.setHeight(5).setColor(QColor(0xEF, 0xEF, 0xEF));
    kv::report::DataBand& detail = report.detail();
    detail.setHeight(4);
    double x = 0;
    for (const StatisticsColumn& c : columns) {
        titles.addText(c.title, QRectF(x, 0.5, c.width - 1, 4)).setPointSize(8).setBold(true);
        detail.addField(c.field, QRectF(x, 0.2, c.width - 1, 3.6), {}).setPointSize(8);
        x += c.width;
    }

    kv::report::Band& footer = report.pageFooter();
    footer.setHeight(6);
    footer.addText(QStringLiteral("Empresa : ") + companyName, QRectF(0, 1, width * 0.5, 4),
                   QStringLiteral("Label_Empresa"))
        .setPointSize(7);
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 30, 1, 30, 4), QStringLiteral("Página :"))
        .setPointSize(7)
        .setAlignment(Qt::AlignRight | Qt::AlignTop);

    kv::report::DatasetRowSource source(rows);
    detail.setSource(&source);
    return kv::report::ReportEngine::render(report);
}

bool StatisticsListReport::preview(kv::db::Dataset& rows, const QString& title,
                                   const std::vector<StatisticsColumn>& columns, const QString& companyName,
                                   QWidget* parent)
{
    kv::report::Document document = render(rows, title, columns, companyName);
    if (document.pageCount() == 0)
        return false;
    kv::report::PreviewWindow window(std::move(document), parent);
    window.setWindowTitle(title);
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
    return true;
}

} // namespace kv::production
