#pragma once

namespace kv::shell {
class VersionStepContext;
}

namespace kv::customers {

// Brings an older company's invoicing database to what the article form
// reads: the automatic-coding switch and the base country of the
// customisation parameters, the record claims of new codes and the
// per-country rows of the articles.
void addArticleFileColumns(kv::shell::VersionStepContext& step);

} // namespace kv::customers
