#pragma once

namespace kv::quotes {

// What the worksheet's `worksheet mode` says entering the line grid and
// page 3 must do.
enum class WorksheetMode {
    Settled = 0, // nothing pending
    Recalculate = 1, // entering the grid recalculates the sub-quote
    CreatedSubQuote = 2, // a sub-quote was just created from the summary row
    BackFromTotals = 4, // page 3 re-entered from "Totais": the unit stays
    Copied = 5, // a copied quote: the line being entered is written in place
};

// Entering the line grid recalculates the whole sub-quote only while a
// recalculation is pending; a copied quote's lines stand as copied.
constexpr bool gridEntryRecalculates(WorksheetMode mode) { return mode == WorksheetMode::Recalculate; }

} // namespace kv::quotes
