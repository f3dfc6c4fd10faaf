#include "quotes/core/MachineFormulas.h"

#include "quotes/core/Vocabulary.h"

#include "platform/text/DecimalRounding.h"

#include <cmath>

namespace kv::quotes {

std::optional<int> printingPasses(int colours, int coloursPerPass)
{
    if (coloursPerPass <= 0)
        return std::nullopt;
    if (colours < coloursPerPass)
        return 1;
    return (colours + coloursPerPass - 1) / coloursPerPass;
}

double makeReadyHoursMinutes(double hours)
{
    if (hours == 0.0)
        return 0.0;
    return minutesAsHoursMinutes(hours * 60.0);
}

double minutesAsHoursMinutes(double time)
{
    // Whole minutes; the small allowance keeps 0.7 h from reading as 41.99... minutes.
    const double minutes = std::floor(time + 1e-9);
    double result = 0.0;
    if (minutes == 60.0) {
        result = 1.0;
    } else if (minutes > 60.0) {
        const double h = std::floor(minutes / 60.0);
        const double mm = kv::text::roundDecimal((minutes - 60.0 * h) / 100.0, 2);
        result = mm >= 0.60 ? h + 1.0 + (mm - 0.60) : h + mm;
    } else {
        result = minutes / 100.0;
    }
    return kv::text::roundDecimal(result, 2);
}

double gluingPieces(const MachineRow& machine, double quantity, const QString& unit)
{
    if (machine.productionUnit == QLatin1String("U") && unit == QLatin1String("M"))
        return quantity * 1000.0;
    if (machine.productionUnit == QLatin1String("M") && unit == QLatin1String("U"))
        return quantity / 1000.0;
    return quantity;
}

double productionFactor(const MachineRow& machine, int grade)
{
    return grade >= 1 && grade <= 3 ? machine.factor[grade - 1] : 0.0;
}

double makeReadyHours(const MachineRow& machine, int choice, int passes, bool embossed, PrintingMakeReady printing)
{
    switch (static_cast<MachineType>(machine.machineType)) {
    case MachineType::Printing: {
        if (choice != 1 && choice != 2)
            return 0.0;
        const double* columns = choice == 1 ? machine.passMin : machine.passMax;
        if (printing == PrintingMakeReady::SummedOverPasses) {
            const int last = passes >= 1 && passes <= 4 ? passes : 4;
            double sum = 0.0;
            for (int i = 0; i < last; ++i)
                sum += columns[i];
            return sum;
        }
        return columns[passes >= 1 && passes <= 3 ? passes - 1 : 3];
    }
    case MachineType::CuttingCreasing: {
        const double a = choice >= 1 && choice <= 3 ? machine.dieMin[choice - 1] : 0.0;
        return embossed ? 2.0 * a : a;
    }
    case MachineType::Gluing: return choice == 1 ? machine.sideSeamMin : choice == 2 ? machine.autoBottomMin : 0.0;
    case MachineType::CounterGluing:
        if (choice == 1 && machine.machineMin != 0.0)
            return machine.machineMin;
        if (choice == 2 && machine.machineMax != 0.0)
            return machine.machineMax;
        if (choice == 1 && machine.sideSeamMin != 0.0)
            return machine.sideSeamMin;
        if (choice == 2 && machine.autoBottomMin != 0.0)
            return machine.autoBottomMin;
        return 0.0;
    default: return 0.0;
    }
}

bool validMakeReadyChoice(const MachineRow& machine, int choice)
{
    const int levels = isMachineType(machine.machineType, MachineType::CuttingCreasing) ? 3 : 2;
    return choice >= 1 && choice <= levels;
}

MachineValues machineValues(const MachineRow& machine, const MachineJob& job)
{
    MachineValues r;
    r.factor = productionFactor(machine, job.grade);
    r.makeReady = makeReadyHours(machine, job.makeReadyChoice, job.passes, job.embossed, job.printingMakeReady);
    const double ch = machine.costPerHour;
    const double f = r.factor;
    const double a = r.makeReady;
    switch (static_cast<MachineType>(machine.machineType)) {
    case MachineType::Printing:
        for (std::size_t n = 0; n < 3; ++n)
            if (n == 0 || job.sheets[n] != 0.0)
                r.value[n] = ch * a + ch * (job.sheets[n] / f) * job.passes;
        break;
    case MachineType::CuttingCreasing:
        for (std::size_t n = 0; n < 3; ++n)
            if (n == 0 || job.sheets[n] != 0.0)
                r.value[n] = ch * a + ch * job.sheets[n] / f;
        break;
    case MachineType::Gluing: {
        Triple pieces{};
        for (std::size_t n = 0; n < 3; ++n)
            pieces[n] = gluingPieces(machine, job.quantities[n], job.unit);
        for (std::size_t n = 0; n < 3; ++n)
            if (n == 0 || pieces[n] != 0.0)
                r.value[n] = ch * (pieces[n] / f + a);
        break;
    }
    case MachineType::CounterGluing:
        for (std::size_t n = 0; n < 3; ++n)
            if (n == 0 || job.sheets[n] != 0.0)
                r.value[n] = ch * (job.sheets[n] / f + a);
        break;
    default: break;
    }
    return r;
}

} // namespace kv::quotes
