#pragma once

namespace kv::shell {
class VersionStepContext;
}

namespace kv::commercial {

// Brings a company made before the accounting link to it: the chart of
// accounts and the VAT codes of its accounting database, the type of its
// cost centres, the purchase rows of its article families.
void addAccountingLinkTables(kv::shell::VersionStepContext& step);

} // namespace kv::commercial
