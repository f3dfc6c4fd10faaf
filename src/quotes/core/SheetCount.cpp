#include "quotes/core/SheetCount.h"

#include "platform/text/DecimalRounding.h"

namespace kv::quotes {

const WasteBand* findWasteBand(const std::vector<WasteBand>& bands, double netSheets)
{
    for (const WasteBand& band : bands)
        if (band.from <= netSheets && netSheets <= band.to)
            return &band;
    return nullptr;
}

double netSheets(double quantity, const QString& unit, int unitsPerSheet)
{
    const double units = unit == QLatin1String("U") ? quantity : quantity * 1000.0;
    return units / static_cast<double>(unitsPerSheet);
}

double addWaste(double sheets, const WasteBand& band, const SheetJob& job)
{
    auto add = [&sheets](double percent) { sheets = sheets + percent * sheets / 100.0; };
    const bool normal = job.normalFinishing == QLatin1String("S");
    const bool other = job.normalFinishing == QLatin1String("N");
    if (!normal && !other)
        return sheets;
    if (job.colours < 0)
        return sheets;
    add(normal ? band.finishingNormal : band.finishingOther);
    if (job.colours > 0 && job.passes >= 1 && job.passes <= 4)
        add(band.printing[job.passes - 1]);
    return sheets;
}

std::optional<double> sheetCount(const std::vector<WasteBand>& bands, const SheetJob& job, double quantity)
{
    const double net = netSheets(quantity, job.unit, job.unitsPerSheet);
    const WasteBand* band = findWasteBand(bands, net);
    if (!band)
        return std::nullopt;
    return kv::text::roundDecimal(addWaste(net, *band, job), 0, kv::text::kSheetCountPrecision);
}

std::array<bool, 3> computeSheetCounts(const std::vector<WasteBand>& bands, const SheetJob& job,
                                       const Triple& quantities, Triple& sheets)
{
    std::array<bool, 3> found{};
    for (std::size_t n = 0; n < 3; ++n) {
        if (const auto count = sheetCount(bands, job, quantities[n])) {
            sheets[n] = *count;
            found[n] = true;
        }
    }
    return found;
}

} // namespace kv::quotes
