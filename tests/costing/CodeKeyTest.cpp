// The key rules of the costing tables, without a form: what a typed key
// gives in a table whose key is a 16-bit or a 32-bit column.
#include "costing/core/CodeKey.h"
#include "platform/text/FieldRule.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kv::costing;
using kv::db::FieldType;
using kv::text::FieldRule;

namespace {

struct KeyCase {
    const char* label;
    QString typed;
    FieldType keyType;
    KeyBounds bounds;
    KeyVerdict verdict;
    qint64 code;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.label; }

class TypedKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TypedKey, GivesItsVerdict)
{
    const KeyCase& c = GetParam();
    const KeyCheck check = checkKey(c.typed, c.bounds, c.keyType, [](qint64 code) { return code == 40; });
    EXPECT_EQ(check.verdict, c.verdict);
    if (c.verdict == KeyVerdict::Free || c.verdict == KeyVerdict::Taken) {
        EXPECT_EQ(check.code, c.code);
    }
}

const KeyBounds Standard{};
const KeyBounds Bands{1, 999};

INSTANTIATE_TEST_SUITE_P(
    Costing, TypedKey,
    ::testing::Values(
        KeyCase{"nothing typed", "", FieldType::Int16, Standard, KeyVerdict::Empty, 0},
        KeyCase{"blanks only", "  ", FieldType::Int16, Standard, KeyVerdict::Empty, 0},
        KeyCase{"zero", "0", FieldType::Int16, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"negative", "-3", FieldType::Int16, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"lowest", "1", FieldType::Int16, Standard, KeyVerdict::Free, 1},
        KeyCase{"highest a 16-bit key holds", "32767", FieldType::Int16, Standard, KeyVerdict::Free, 32767},
        KeyCase{"above what a 16-bit key holds", "32768", FieldType::Int16, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"the member's highest in a 32-bit key", "999999", FieldType::Int32, Standard, KeyVerdict::Free, 999999},
        KeyCase{"above the member's bounds", "1000000", FieldType::Int32, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"narrower member bounds", "1000", FieldType::Int16, Bands, KeyVerdict::Invalid, 0},
        KeyCase{"not a whole number", "12a", FieldType::Int16, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"decimal", "12,5", FieldType::Int16, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"too long for any integer", "99999999999999999999", FieldType::Int32, Standard, KeyVerdict::Invalid, 0},
        KeyCase{"a code in use", "40", FieldType::Int16, Standard, KeyVerdict::Taken, 40},
        KeyCase{"blanks around", " 41 ", FieldType::Int16, Standard, KeyVerdict::Free, 41}));

TEST(KeyProposal, IsTheHighestCodePlusOneOrOne)
{
    EXPECT_EQ(proposeKey(std::nullopt), 1);
    EXPECT_EQ(proposeKey(40), 41);
}

struct RuleCase {
    const char* label;
    FieldRule rule;
    QString text;
    bool passes;
};
void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.label; }

class FieldText : public ::testing::TestWithParam<RuleCase> {};

TEST_P(FieldText, PassesOrNot) { EXPECT_EQ(GetParam().rule.passes(GetParam().text), GetParam().passes); }

const FieldRule Required = FieldRule::notEmpty("Designação Inválida !!!");
const FieldRule PaperType = FieldRule::oneOf({"P", "C"}, "Tipo de Papel Inválido !!!");
const FieldRule MachineType = FieldRule::integerRange(1, 4, "Tipo de Máquina Inválida !!!");

INSTANTIATE_TEST_SUITE_P(Costing, FieldText,
                         ::testing::Values(RuleCase{"empty required", Required, "", false},
                                           RuleCase{"zero is not empty", Required, "0", true},
                                           RuleCase{"accepted code", PaperType, "C", true},
                                           RuleCase{"code in the wrong case", PaperType, "c", false},
                                           RuleCase{"empty code", PaperType, "", false},
                                           RuleCase{"number in range", MachineType, "4", true},
                                           RuleCase{"number out of range", MachineType, "5", false},
                                           RuleCase{"not a number", MachineType, "x", false},
                                           RuleCase{"no rule", FieldRule{}, "", true}));

} // namespace
