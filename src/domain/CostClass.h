#pragma once

#include <QString>
#include <array>

namespace kv::domain {

// The cost class of a cost line (`TIPOCUSTO`); None is the empty class of a
// fixed cost without any class flag, counted in no class.
enum class CostClass { None, RawMaterial, Labour, Subsidiary, Machines, Packaging, Subcontract, Transport };

inline constexpr std::array<CostClass, 7> kCostClasses = {
    CostClass::RawMaterial, CostClass::Labour,      CostClass::Subsidiary, CostClass::Machines,
    CostClass::Packaging,   CostClass::Subcontract, CostClass::Transport};

QString costClassCode(CostClass costClass); // "MP", "MO", "PS", "CM", "EM", "SB", "TR", ""
CostClass costClassFromCode(const QString& code); // unknown or empty text: None

// A finish's own cost type (`ACABAMENTO.TIPOCUSTO`): "1" is labour, anything
// else packaging.
CostClass finishCostClass(const QString& finishCostType);

} // namespace kv::domain
