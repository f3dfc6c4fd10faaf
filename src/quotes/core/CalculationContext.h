#pragma once

#include "quotes/core/CostLine.h"

#include <QString>

namespace kv::quotes {

// `calculation stage`: how far a calculation got with its printing machines.
enum class CalculationStage : char {
    Started = '0', // no printing machine line has run yet
    SheetsComputed = '1', // the first printing machine computed the sheet counts; boards pending
    BoardsAdded = '2', // board lines added, or a recalculation is running
    SheetsRecomputed = '3', // a later printing machine computed the counts again
};

// The values the routines share while one sub-quote is calculated. It is
// built afresh at the start of every calculation.
struct CalculationContext {
    // Quote inputs, from the sub-quote row.
    int quoteNumber = 0;
    int subQuote = 0;
    Triple quantities{};
    QString unit; // UNIDADE
    int unitsPerSheet = 1; // UNDPLANO
    double formatLength[2] = {0, 0}; // PLNCOMPRIM1/2, cm
    double formatWidth[2] = {0, 0}; // PLNLARGURA1/2, cm
    int colours = 0; // NROCORES
    int boards[3] = {0, 0, 0}; // CARTOLINA, MICROCANAL, PLACA
    QString normalFinishing; // ACABNORMAL
    bool embossed = false; // RELEVO "S"
    int glueKind = 0; // C_COLTIPO
    double printedSurface = 0; // SUPERFIMPR, %
    double windowWeight = 0; // PESOJANELAS
    int priceDecimals = 2;

    // Results shared by the lines.
    Triple sheets{};

    // Control.
    bool createMode = true;
    CalculationStage stage = CalculationStage::Started;
    int formatPass = 1; // `sheet format pass`
    double sheetArea = 0; // m² of the current pass

    // The line being calculated, and its consumption rate in kg per m² (or
    // per unit), 0 while not set.
    CostLine line;
    double rate = 0;

    double formatArea(int pass) const { return formatLength[pass - 1] / 100.0 * (formatWidth[pass - 1] / 100.0); }
};

} // namespace kv::quotes
