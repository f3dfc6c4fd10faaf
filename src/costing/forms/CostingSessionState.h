#pragma once

#include "platform/report/ListReportDialog.h"
#include "platform/ui/TableForm.h"

#include <QString>
#include <QVariant>
#include <map>
#include <optional>

namespace kv::costing {

// The names the machines list prints beside a machine's cost centre and
// glue, read through the lookups the open machine form keeps.
class MachineNames {
public:
    virtual ~MachineNames() = default;
    virtual std::optional<QString> costCentreName(const QString& code) = 0;
    virtual std::optional<QString> glueName(const QVariant& code) = 0;
};

// What the costing forms keep from one form to the next for one session, so
// that nothing of a finished session reaches the next: made with the
// session's form registrations and gone with them.
struct CostingSessionState {
    kv::ui::RememberedKeys rememberedCodes; // by form class: the code a table form returns to
    kv::report::OpenReports openReports; // by report class, while the report form lives
    MachineNames* openMachineForm = nullptr; // while a machine form is open
};

} // namespace kv::costing
