#pragma once

#include "platform/db/TwoDatabaseWork.h"

#include <functional>

namespace kv::db::test {

// The example operation of the two-database tests: approving a quote in the
// first database ("application") writes its order in the second
// ("invoicing"). The second database refuses quotes listed in TST_BLOQUEIO;
// the compensation takes the approval back and counts itself in ANULACOES.
inline constexpr const char* ExampleKind = "TESTE.APROVACAO";

// Creates the example's tables and the work tables of both databases.
void createExampleTables(Connection& first, Connection& second);

// `inSecondStep` runs at the start of every second step (a child process
// blocks or dies there); `delayMs` lengthens each second step and compensation.
TwoDatabaseKind exampleKind(std::function<void(const TwoDatabaseOperation&)> inSecondStep = {}, int delayMs = 0);

// Step 1 of approving quote `number` worth `value`.
TwoDatabaseWork::FirstStep approveQuote(int number, double value);

QString quoteDescription(int number);

} // namespace kv::db::test
