#pragma once

namespace kv::shell {
class VersionStepContext;
}

namespace kv::production {

// The closing's error list, the two production maps' work tables, and the
// stock movements' indexes the posting reads on.
void addStockPostingTables(kv::shell::VersionStepContext& step);

} // namespace kv::production
