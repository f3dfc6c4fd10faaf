#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "costing/forms/CostingEnvironment.h"

#include "platform/report/ListReportDialog.h"

namespace kv::costing {

// The page footer of the costing lists: a rule, the company, the date and
// page, and the login's footer text, filled before each printing.
void addListFooter(kv::report::Report& report);
void fillListFooter(kv::report::Report& report, const CostingEnvironment& environment);

// The list report of a costing table (TORCFPR002 for the inks): the table's
// title, the range and order of the list, the column titles, one line per
// row of the table's shared dataset and the page footer. Created by the menu
// before the table form and freed after it; while it lives, the print dialog
// finds it by its class name.
class ListReportForm : public kv::report::ListReportDialog {
    Q_OBJECT
public:
    ListReportForm(ListPrintSpec spec, CostingEnvironment environment, QWidget* parent = nullptr);
    ~ListReportForm() override;

    // The session's open report form of a class (its form instance variable), or nullptr.
    static ListReportForm* instance(const CostingEnvironment& environment, const QString& reportClass);

    kv::report::Report& TabelasRep() { return report(); }

    // Lays the report out over the dataset as its statement selected the
    // rows, with the range and the order that statement used.
    kv::report::Document render(kv::db::Dataset& dataset, ListOrder order, const QString& from = {},
                                const QString& to = {});
    // Shows the laid-out report in the preview, from which the user prints or exports.
    void preview(kv::db::Dataset& dataset, ListOrder order, const QString& from, const QString& to, QWidget* parent);

private:
    void build();
    void PageHeaderBand1BeforePrint();
    void TabelasRepBeforePrint();

    ListPrintSpec m_spec;
    CostingEnvironment m_environment;
    ListOrder m_order = ListOrder::Numeric;
    QString m_from;
    QString m_to;
};

} // namespace kv::costing
