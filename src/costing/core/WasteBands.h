#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QtGlobal>

namespace kv::costing {

// The waste bands always held by the table: codes 1 to 100.
constexpr int FixedWasteBands = 100;

// Creates the fixed bands that are missing, with their code alone, in one
// transaction and one statement; returns how many were created. A refusal of
// the database throws and leaves the table as it was.
int createMissingWasteBands(kv::db::Connection& application);

// What leaving a band's quantity field leads to.
enum class BandQuantity {
    Accepted, // the focus moves on
    BeepOnly, // a beep, and the focus moves on
    BackToFrom, // a beep, the focus goes back to the 'from' quantity
    Refused // a beep, the message, the focus stays in the field
};

// The lowest count of a band: empty or "0" is a band starting at 0 sheets;
// any other text must be a whole number above 0.
BandQuantity checkBandFrom(const QString& text);
// The highest count: above the lowest one; empty or "0" sends the user back
// to the lowest.
BandQuantity checkBandTo(const QString& text, qint64 from);

QString invalidQuantityMessage(); // "Quantidade Inválida !!!"

} // namespace kv::costing
