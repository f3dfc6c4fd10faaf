#pragma once

#include "production/core/SelectedOrder.h"
#include "support/CompanySession.h"

#include <memory>

namespace kv::production {
struct ProductionSessionState;
}

namespace kv::test {

// The plain company with the filling rows and the production forms, the
// session's selected order set as a consultation would.
class FillingSession : public CompanySession {
public:
    // `orderTable`: where the order lives ("ORDFABDET" or "ORDFABRICO").
    FillingSession(Scenario& scenario, Engine engine, const kv::production::SelectedOrder& order,
                   const char* orderTable);
    ~FillingSession() override;

    FormDriver open(const char* form);
    // Types a text and leaves the field with Enter, as the user does.
    void leave(FormDriver& form, const char* field, const QString& text);
    // A column of the order row as stored.
    QVariant stored(const char* column);

    Scenario& scenario;
    std::shared_ptr<kv::production::ProductionSessionState> state;

private:
    QString m_orderTable;
};

} // namespace kv::test
