#pragma once

#include <QString>
#include <optional>

namespace kv::domain {

// The kinds of machine a quote prices differently (`TIPOMAQUINA`).
enum class MachineType : int {
    Printing = 1,
    CuttingCreasing = 2,
    Gluing = 3,
    CounterGluing = 4,
};

inline constexpr int typeCode(MachineType type) { return static_cast<int>(type); }
inline constexpr MachineType FirstMachineType = MachineType::Printing;
inline constexpr MachineType LastMachineType = MachineType::CounterGluing;

// The type of a stored code; nothing outside 1 to 4.
std::optional<MachineType> machineTypeFromCode(int storedCode);
// The type typed in its field: a whole number from 1 to 4, or nothing.
std::optional<MachineType> machineTypeFromText(const QString& text);
// Whether a stored code is this type.
inline constexpr bool isMachineType(int storedCode, MachineType type) { return storedCode == typeCode(type); }

} // namespace kv::domain
