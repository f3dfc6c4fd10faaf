#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::costing {

// A one-letter code of a costing table and what it stands for.
struct CodeMeaning {
    QString code;
    QString text;
};

// The text of `code` in `meanings` (exact match), empty when it has none.
QString meaningOf(const std::vector<CodeMeaning>& meanings, const QString& code);
// The codes that `meanings` accepts, in their order.
QStringList codesOf(const std::vector<CodeMeaning>& meanings);

// Boards and papers: the paper type ("P" "Papel", "C" "Cartolina") and how a
// quote costs the board ("1" "Bobinas", "2" "Resmas"), as the form names them.
const std::vector<CodeMeaning>& paperTypes();
const std::vector<CodeMeaning>& boardCalculations();
// The list report knows only two of each: any type but "P" prints as
// cardstock, any calculation but "1" as reams.
QString paperTypeListText(const QString& code);
QString boardCalculationListText(const QString& code);

// Glues: the four costing rules and the formula text a row stores with its rule.
const std::vector<CodeMeaning>& glueRules();
// The rule's help lines: "1 - Área x Consumo(Gr) x Nº Planos x Preço", ...
QStringList glueRuleLines();

// Finishes: the cost type ("1" labour, "2" packaging) in the list report.
const std::vector<CodeMeaning>& finishCostTypes();
// A finish's fixed cost is given per unit ("U") or per thousand ("M"); a
// finish without a fixed cost needs no unit.
bool finishUnitAccepted(const QString& fixedCost, const QString& unit);

} // namespace kv::costing
