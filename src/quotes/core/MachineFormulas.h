#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/CostTables.h"

#include <QString>
#include <optional>

namespace kv::quotes {

// Printing passes of a quote on a printing machine: the colours over the
// machine's colours per pass, rounded up; one pass when the quote has fewer
// colours than the machine. Empty when the machine prints no colour per pass.
std::optional<int> printingPasses(int colours, int coloursPerPass);

// Make-ready hours written as hours and minutes, h.mm (1.75 h -> 1.45).
double makeReadyHoursMinutes(double hours);
// The whole minutes of a time written as hours and minutes, h.mm (95 -> 1.35).
double minutesAsHoursMinutes(double minutes);

// The pieces a gluer's output is counted in: the quantity converted from
// the quote's unit ("U" units, "M" thousands) to the machine's UNDPROD.
double gluingPieces(const MachineRow& machine, double quantity, const QString& unit);

// Hourly output of the production grade (1 to 3); 0 for any other grade.
double productionFactor(const MachineRow& machine, int grade);

// How a printing machine's make-ready follows the passes: the worksheet takes
// the column of the number of passes (ACEPASSMIN/MAXn, the fourth for any
// other number); an approval adds the columns of passes 1 to n (at most four,
// all four when the line has no passes), one make-ready per pass.
enum class PrintingMakeReady { ColumnOfPasses, SummedOverPasses };

// Make-ready hours of a machine line by the machine's type.
double makeReadyHours(const MachineRow& machine, int makeReadyChoice, int passes, bool embossed,
                      PrintingMakeReady printing = PrintingMakeReady::ColumnOfPasses);

// Whether a make-ready choice is one of the machine type's levels (printing,
// gluing and counter-gluing 1 or 2, cutting-creasing 1 to 3).
bool validMakeReadyChoice(const MachineRow& machine, int makeReadyChoice);

struct MachineJob {
    int grade = 0; // production grade 1 to 3
    int makeReadyChoice = 0; // make-ready choice
    int passes = 0; // printing passes
    Triple sheets{};
    Triple quantities{};
    QString unit; // quote unit
    bool embossed = false; // RELEVO "S"
    PrintingMakeReady printingMakeReady = PrintingMakeReady::ColumnOfPasses;
};

struct MachineValues {
    Triple value{};
    double factor = 0; // PRDHOR
    double makeReady = 0; // ACERTO, hours
};

// Values of a machine line for the three quantities. The caller makes sure
// the production factor of the grade is not 0.
MachineValues machineValues(const MachineRow& machine, const MachineJob& job);

} // namespace kv::quotes
