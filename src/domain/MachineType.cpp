#include "domain/MachineType.h"

namespace kv::domain {

std::optional<MachineType> machineTypeFromCode(int storedCode)
{
    if (storedCode < typeCode(FirstMachineType) || storedCode > typeCode(LastMachineType))
        return std::nullopt;
    return static_cast<MachineType>(storedCode);
}

std::optional<MachineType> machineTypeFromText(const QString& text)
{
    bool ok = false;
    const int storedCode = text.trimmed().toInt(&ok);
    return ok ? machineTypeFromCode(storedCode) : std::nullopt;
}

} // namespace kv::domain
