#pragma once

#include "platform/report/Document.h"
#include "platform/report/Report.h"

#include <QDialog>
#include <QPageLayout>
#include <functional>
#include <map>
#include <memory>

namespace kv::db {
class Dataset;
}

namespace kv::report {

class DatasetRowSource;
class ListReportDialog;

// The report forms open in one session, by report class: a table form
// finds the list report its opener created before it.
using OpenReports = std::map<QString, ListReportDialog*>;

// The base of the list reports of the table forms: one A4 report over a
// table's shared dataset, registered in the session's open reports while the
// form lives, with the page footer's company and footer text filled before
// each printing. The subclass lays out the title, the columns and the
// footer's place.
class ListReportDialog : public QDialog {
    Q_OBJECT
public:
    ListReportDialog(QString reportClass, const QString& reportTitle, OpenReports& openReports,
                     QWidget* parent = nullptr);
    ~ListReportDialog() override;

    // The session's open report form of a class, or nullptr.
    template <class T>
    static T* instance(const OpenReports& openReports, const QString& reportClass)
    {
        const auto it = openReports.find(reportClass);
        return it == openReports.end() ? nullptr : qobject_cast<T*>(it->second);
    }

    Report& report() { return m_report; }

    // The footer's "Empresa : " line and footer text (the elements named
    // "Label_Empresa" and "Label_Rodape").
    static void fillFooter(Report& report, const QString& companyName, const QString& footerText);

protected:
    // A4 with the page header on the first page and the footer on the last.
    void setUpPage(QPageLayout::Orientation orientation, double left, double top, double right, double bottom);
    // Lays the report out over the dataset's rows from its first.
    Document renderRows(kv::db::Dataset& dataset);
    // The preview, from which the user prints or exports; its failures reach `messages`.
    void showPreview(Document document, QWidget* parent, const std::function<void(const QString&)>& messages);

private:
    QString m_reportClass;
    OpenReports& m_openReports;
    Report m_report;
    std::unique_ptr<DatasetRowSource> m_rows;
};

} // namespace kv::report
