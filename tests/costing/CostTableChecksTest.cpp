// The checks of the transport, fixed cost, subcontract and raw-material
// tables, without a form: the subcontract units, the transport codes and the
// customer numbers of the raw material per customer article.
#include "costing/core/CostTableChecks.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kv::costing;

namespace {

struct UnitCase {
    const char* label;
    QString unit;
    QString consumption;
    UnitVerdict verdict;
};
void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.label; }

class SubcontractUnit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(SubcontractUnit, GivesItsVerdict)
{
    const UnitCase& c = GetParam();
    EXPECT_EQ(checkSubcontractUnit(c.unit, c.consumption), c.verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Costing, SubcontractUnit,
    ::testing::Values(UnitCase{"fixed", "UN", "", UnitVerdict::Accepted},
                      UnitCase{"per piece", "UND", "", UnitVerdict::Accepted},
                      UnitCase{"per thousand", "MIL", "", UnitVerdict::Accepted},
                      UnitCase{"per square metre", "M2", "", UnitVerdict::Accepted},
                      UnitCase{"per kilogram with consumption", "KG", "35", UnitVerdict::Accepted},
                      UnitCase{"per kilogram with consumption zero", "KG", "0", UnitVerdict::Accepted},
                      UnitCase{"per kilogram without consumption", "KG", "", UnitVerdict::NoConsumption},
                      UnitCase{"small letters", "kg", "35", UnitVerdict::Unknown},
                      UnitCase{"with a blank", "UN ", "", UnitVerdict::Unknown},
                      UnitCase{"empty", "", "", UnitVerdict::Unknown},
                      UnitCase{"other", "CX", "", UnitVerdict::Unknown}),
    [](const auto& testInfo) {
        std::string name = testInfo.param.label;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(SubcontractUnit, MessagesAsTheUserReadsThem)
{
    EXPECT_EQ(unitVerdictMessage(UnitVerdict::NoConsumption), "Não inseriu o consumo p/ M2");
    EXPECT_EQ(unitVerdictMessage(UnitVerdict::Unknown), "Insira a unidade de cálculo para o subcontrato ...");
    EXPECT_EQ(unitVerdictMessage(UnitVerdict::Accepted), "");
}

struct CodeCase {
    const char* label;
    QString typed;
    KeyVerdict verdict;
    qint64 code;
};
void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.label; }

class TransportCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(TransportCode, GivesItsVerdict)
{
    const CodeCase& c = GetParam();
    const KeyCheck check = checkTransportCode(c.typed, [](qint64 code) { return code == 7; });
    EXPECT_EQ(check.verdict, c.verdict);
    if (c.verdict == KeyVerdict::Free || c.verdict == KeyVerdict::Taken) {
        EXPECT_EQ(check.code, c.code);
    }
}

INSTANTIATE_TEST_SUITE_P(Costing, TransportCode,
                         ::testing::Values(CodeCase{"empty", "", KeyVerdict::Empty, 0},
                                           CodeCase{"zero", "0", KeyVerdict::Empty, 0},
                                           CodeCase{"negative", "-5", KeyVerdict::Free, -5},
                                           CodeCase{"above a million", "2000000", KeyVerdict::Free, 2000000},
                                           CodeCase{"beyond 32 bits", "2147483648", KeyVerdict::Invalid, 0},
                                           CodeCase{"not a whole number", "1,5", KeyVerdict::Invalid, 0},
                                           CodeCase{"letters", "ABC", KeyVerdict::Invalid, 0},
                                           CodeCase{"taken", "7", KeyVerdict::Taken, 7}));

class CustomerNumber : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CustomerNumber, GivesItsVerdict)
{
    const CodeCase& c = GetParam();
    const KeyCheck check = checkCustomerNumber(c.typed);
    EXPECT_EQ(check.verdict, c.verdict);
    if (c.verdict == KeyVerdict::Free) {
        EXPECT_EQ(check.code, c.code);
    }
}

INSTANTIATE_TEST_SUITE_P(Costing, CustomerNumber,
                         ::testing::Values(CodeCase{"empty", "", KeyVerdict::Empty, 0},
                                           CodeCase{"zero", "0", KeyVerdict::Invalid, 0},
                                           CodeCase{"first", "1", KeyVerdict::Free, 1},
                                           CodeCase{"last", "999999", KeyVerdict::Free, 999999},
                                           CodeCase{"above", "1000000", KeyVerdict::Invalid, 0},
                                           CodeCase{"not a whole number", "12a", KeyVerdict::Invalid, 0},
                                           CodeCase{"decimal", "12.5", KeyVerdict::Invalid, 0}));

} // namespace
