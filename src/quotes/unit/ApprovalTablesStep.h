#pragma once

namespace kv::shell {
class VersionStepContext;
}

namespace kv::quotes {

// Brings an older company's invoicing database to what the quote approval
// writes and reads: the customer orders with their keyed reads' indexes, the
// order print's queue, the customers' ordered values, the chart rows and the
// commercial parameters' quantity decimals.
void addApprovalTables(kv::shell::VersionStepContext& step);

} // namespace kv::quotes
