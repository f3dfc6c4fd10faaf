#pragma once

namespace kv::shell {
class VersionStepContext;
}

namespace kv::production {

// Brings an older company the production-order records: the model "T"
// orders, the per-user generation work list, the generation records, the
// consultation's statistics tables, the year in the planned consumption's key
// (its rows kept) and the indexes the lists read through.
void addProductionRecords(kv::shell::VersionStepContext& step);

} // namespace kv::production
