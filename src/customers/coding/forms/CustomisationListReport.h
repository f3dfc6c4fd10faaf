#pragma once

#include "platform/report/ListReportDialog.h"
#include "shell/FormEnvironment.h"

#include <QPageLayout>

namespace kv::db {
class Dataset;
}

namespace kv::customers {

// The list of a customisation table: "TABELA DE <name> (ARTIGOS)" over the
// page and the title band, one line per value (country, number,
// designation, reduced code and designation) and the page footer.
// TORCFPR032CUSTARTG lists the country its form shows, with the login's
// footer text; TORCFPR032CUSTCOD every country, with the company logo
// beside a right-aligned title in the "Qualidade" presentation.
class CustomisationListReport : public kv::report::ListReportDialog {
    Q_OBJECT
public:
    struct Options {
        QString reportClass;
        QString title; // "TABELA DE ... (ARTIGOS)"
        bool quality = false; // the logo beside a right-aligned title
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        bool footerText = false; // the login's footer text (WRodape)
        QString dateCaption; // before the date in the footer
    };
    static Options articleFormList(const QString& title);
    static Options codingFormList(const QString& title, bool quality, QPageLayout::Orientation orientation);

    CustomisationListReport(Options options, kv::shell::FormEnvironment environment,
                            kv::report::OpenReports& openReports, QWidget* parent = nullptr);
    ~CustomisationListReport() override;

    // The report over the rows from the first; an empty table gives no page.
    kv::report::Document render(kv::db::Dataset& rows);
    void preview(kv::db::Dataset& rows, QWidget* parent);

private:
    void build();

    Options m_options;
    kv::shell::FormEnvironment m_environment;
};

} // namespace kv::customers
