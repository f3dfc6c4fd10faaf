#pragma once

#include "customers/parts/CustomerAccounts.h"

class QWidget;

namespace kv::customers {

// "Conta&b" on a form: the confirmation, the run with a progress dialog, and
// the gathered messages shown once at its end. True when it ran; the caller
// then reads its customer list again, so that no later save writes back the
// accounts the run replaced.
class BulkAccountsRun {
public:
    static bool run(QWidget* parent, CustomerAccounts& accounts, kv::db::TwoDatabaseWork& work, const QString& user);
};

} // namespace kv::customers
