#pragma once

#include "commercial/forms/CommercialEnvironment.h"
#include "commercial/forms/CommercialTableDescription.h"

#include "platform/report/ListReportDialog.h"

namespace kv::db {
class Dataset;
}

namespace kv::commercial {

// The list report of a commercial table (TFACFPR008 for the postal codes):
// the page title, the column titles on grey, one line per row of the
// table's shared dataset in its order and the page footer (company, date
// and time, the login's footer text, the page). Created by the opener
// before the table form and freed after it; while it lives, the table form
// finds it by its class name.
class CommercialListReport : public kv::report::ListReportDialog {
    Q_OBJECT
public:
    CommercialListReport(CommercialReportSpec spec, CommercialEnvironment environment, QWidget* parent = nullptr);
    ~CommercialListReport() override;

    // The session's open report form of a class, or nullptr.
    static CommercialListReport* instance(const CommercialEnvironment& environment, const QString& reportClass);

    // Lays the report out over the dataset from its first row; an empty table gives no page.
    kv::report::Document render(kv::db::Dataset& dataset);
    // The preview, from which the user prints or exports.
    void preview(kv::db::Dataset& dataset, QWidget* parent);

private:
    void build();
    void ReportBeforePrint();

    CommercialReportSpec m_spec;
    CommercialEnvironment m_environment;
};

} // namespace kv::commercial
