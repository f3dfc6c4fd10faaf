#include "platform/report/ListReportDialog.h"

#include "platform/report/DatasetRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/TextElement.h"

namespace kv::report {

ListReportDialog::ListReportDialog(QString reportClass, const QString& reportTitle, OpenReports& openReports,
                                   QWidget* parent)
    : QDialog(parent), m_reportClass(std::move(reportClass)), m_openReports(openReports), m_report(reportTitle)
{
    setObjectName(m_reportClass);
    setWindowTitle(reportTitle);
    m_openReports[m_reportClass] = this;
}

ListReportDialog::~ListReportDialog()
{
    const auto it = m_openReports.find(m_reportClass);
    if (it != m_openReports.end() && it->second == this)
        m_openReports.erase(it);
}

void ListReportDialog::fillFooter(Report& report, const QString& companyName, const QString& footerText)
{
    if (auto* footer = report.find<TextElement>(QStringLiteral("Label_Rodape")))
        footer->setText(footerText);
    if (auto* company = report.find<TextElement>(QStringLiteral("Label_Empresa")))
        company->setText(QStringLiteral("Empresa : ") + companyName);
}

void ListReportDialog::setUpPage(QPageLayout::Orientation orientation, double left, double top, double right,
                                 double bottom)
{
    m_report.page().setSize(QPageSize::A4).setOrientation(orientation).setMargins(left, top, right, bottom);
    m_report.setPageHeaderOnFirstPage(true);
    m_report.setPageFooterOnLastPage(true);
}

Document ListReportDialog::renderRows(kv::db::Dataset& dataset)
{
    m_rows = std::make_unique<DatasetRowSource>(dataset);
    m_report.detail().setSource(m_rows.get());
    return ReportEngine::render(m_report);
}

void ListReportDialog::showPreview(Document document, QWidget* parent,
                                   const std::function<void(const QString&)>& messages)
{
    PreviewWindow window(std::move(document), parent);
    window.setWindowTitle(windowTitle());
    window.setMessageHandler(messages);
    window.exec();
}

} // namespace kv::report
