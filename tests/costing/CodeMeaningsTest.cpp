// The codes of the costing tables and the texts the forms and list reports
// show for them.
#include "costing/core/CodeMeanings.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kv::costing;

namespace {

// A case prints as its label, and names its test by it.
template <class Case>
requires requires(const Case& c) { c.label; }
std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.label; }

template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.label;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

struct MeaningCase {
    const char* label;
    std::function<QString(const QString&)> text;
    QString code;
    QString expected;
};

class CodeText : public ::testing::TestWithParam<MeaningCase> {};

TEST_P(CodeText, IsTheOneOfItsCode)
{
    const MeaningCase& c = GetParam();
    EXPECT_EQ(c.text(c.code), c.expected);
}

QString paperForm(const QString& code) { return meaningOf(paperTypes(), code); }
QString calculationForm(const QString& code) { return meaningOf(boardCalculations(), code); }
QString glueRule(const QString& code) { return meaningOf(glueRules(), code); }
QString costType(const QString& code) { return meaningOf(finishCostTypes(), code); }

INSTANTIATE_TEST_SUITE_P(
    Costing, CodeText,
    ::testing::Values(MeaningCase{"paper in the form", paperForm, "P", "Papel"},
                      MeaningCase{"cardstock in the form", paperForm, "C", "Cartolina"},
                      MeaningCase{"lower case is no paper type", paperForm, "p", ""},
                      MeaningCase{"reels in the form", calculationForm, "1", "Bobinas"},
                      MeaningCase{"unknown calculation in the form", calculationForm, "3", ""},
                      // The list knows two of each: anything but paper is cardstock, anything but reels is reams.
                      MeaningCase{"paper in the list", paperTypeListText, "P", "Papel"},
                      MeaningCase{"empty paper type in the list", paperTypeListText, "", "Cartolinas"},
                      MeaningCase{"unknown paper type in the list", paperTypeListText, "X", "Cartolinas"},
                      MeaningCase{"reels in the list", boardCalculationListText, "1", "Bobinas"},
                      MeaningCase{"empty calculation in the list", boardCalculationListText, "", "Resmas"},
                      MeaningCase{"glue rule 1", glueRule, "1", "Área x Consumo(Gr) x Nº Planos x Preço"},
                      MeaningCase{"glue rule 4", glueRule, "4", "(Área x Consumo(Kgs) x Nº Planos x Preço)/100"},
                      MeaningCase{"glue rule 5", glueRule, "5", ""}, MeaningCase{"no glue rule", glueRule, "", ""},
                      MeaningCase{"labour", costType, "1", "Mão de Obra"},
                      MeaningCase{"packaging", costType, "2", "Embalagem"},
                      MeaningCase{"cost type 3", costType, "3", ""}),
    caseName<MeaningCase>);

struct UnitCase {
    const char* label;
    QString fixedCost;
    QString unit;
    bool accepted;
};

class FinishUnit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(FinishUnit, IsNeededOnlyWithAFixedCost)
{
    const UnitCase& c = GetParam();
    EXPECT_EQ(finishUnitAccepted(c.fixedCost, c.unit), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, FinishUnit,
    ::testing::Values(UnitCase{"no fixed cost", "", "", true}, UnitCase{"per unit", "12,5", "U", true},
                      UnitCase{"per thousand", "0", "M", true}, UnitCase{"fixed cost without unit", "12,5", "", false},
                      UnitCase{"lower case unit", "12,5", "u", false}, UnitCase{"unknown unit", "12,5", "X", false}),
    caseName<UnitCase>);

TEST(GlueRuleLines, NumberEachRuleForTheHelpPanel)
{
    EXPECT_EQ(glueRuleLines(),
              (QStringList{"1 - Área x Consumo(Gr) x Nº Planos x Preço", "2 - Consumo(Kgs) p/ 1000 Caixas x Preço",
                           "3 - (%) * Consumo(Kgs) p/ 1000 Caixas x Preço",
                           "4 - (Área x Consumo(Kgs) x Nº Planos x Preço)/100"}));
}

} // namespace
