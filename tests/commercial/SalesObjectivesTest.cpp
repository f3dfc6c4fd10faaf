// The rules of a salesman's monthly objectives, without a form.
#include "commercial/core/SalesObjectives.h"

#include <gtest/gtest.h>

#include <set>

using namespace kv::commercial;

namespace {

struct TierValue {
    int tier;
    int month;
    std::optional<double> value;
    std::optional<qint64> rate;
};

struct FaultCase {
    const char* label;
    std::vector<TierValue> tiers;
    std::optional<ObjectiveFault::Kind> kind;
    int tier = 0;
    int month = 0;
};

class WholeRowCheck : public ::testing::TestWithParam<FaultCase> {};

TEST_P(WholeRowCheck, FindsTheFirstFault)
{
    const FaultCase& c = GetParam();
    ObjectiveRow row;
    for (const TierValue& t : c.tiers)
        row.at(t.tier, t.month) = ObjectiveTier{t.value, t.rate};
    const std::set<qint64> rates{1, 2};
    const auto fault = firstObjectiveFault(row, [&](qint64 code) { return rates.count(code) > 0; });
    ASSERT_EQ(fault.has_value(), c.kind.has_value());
    if (!fault)
        return;
    EXPECT_EQ(fault->kind, *c.kind);
    EXPECT_EQ(fault->tier, c.tier);
    EXPECT_EQ(fault->month, c.month);
}

using K = ObjectiveFault::Kind;

INSTANTIATE_TEST_SUITE_P(
    SalesObjectives, WholeRowCheck,
    ::testing::Values(
        FaultCase{"empty row", {}, std::nullopt},
        FaultCase{"rising tiers", {{1, 3, 100.0, 1}, {2, 3, 200.0, 2}, {3, 3, 300.0, 1}}, std::nullopt},
        FaultCase{"cleared tiers are no values", {{1, 3, 100.0, 1}, {2, 3, 0.0, 0}, {3, 3, 0.0, 0}}, std::nullopt},
        FaultCase{"equal tier", {{1, 3, 100.0, 1}, {2, 3, 100.0, 1}}, K::NotRising, 2, 3},
        // Over a cleared tier a value is compared with the last one held.
        FaultCase{"lower past a cleared tier", {{1, 3, 100.0, 1}, {2, 3, 0.0, 0}, {3, 3, 80.0, 1}}, K::NotRising, 3, 3},
        FaultCase{"value without a rate", {{1, 5, 100.0, std::nullopt}}, K::NoRate, 1, 5},
        FaultCase{"rate 0", {{1, 5, 100.0, 0}}, K::NoRate, 1, 5},
        FaultCase{"unknown rate", {{2, 5, 200.0, 9}, {1, 5, 100.0, 1}}, K::UnknownRate, 2, 5},
        FaultCase{"earlier month first", {{1, 9, 100.0, 9}, {1, 2, 100.0, std::nullopt}}, K::NoRate, 1, 2}),
    [](const auto& param) {
        std::string name = param.param.label;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(SalesObjectivesRules, ClearingATierClearsThoseAboveIt)
{
    ObjectiveRow row;
    for (int tier = 1; tier <= ObjectiveTiers; ++tier)
        row.at(tier, 4) = ObjectiveTier{100.0 * tier, 1};
    row.clearFrom(2, 4);
    EXPECT_EQ(row.at(1, 4).value, 100.0);
    for (int tier = 2; tier <= ObjectiveTiers; ++tier) {
        EXPECT_EQ(row.at(tier, 4).value, 0.0);
        EXPECT_EQ(row.at(tier, 4).rate, 0);
    }
    EXPECT_FALSE(row.at(1, 5).value.has_value());
}

TEST(SalesObjectivesRules, ARiseIsOverTheTierBelowOnly)
{
    ObjectiveRow row;
    row.at(1, 1) = ObjectiveTier{100.0, 1};
    row.at(2, 1) = ObjectiveTier{400.0, 1};
    row.at(3, 1) = ObjectiveTier{300.0, 1};
    EXPECT_TRUE(objectiveRises(row, 2, 1));
    EXPECT_FALSE(objectiveRises(row, 3, 1));
    // An empty tier below counts as 0.
    row.at(1, 2) = ObjectiveTier{};
    row.at(2, 2) = ObjectiveTier{50.0, 1};
    EXPECT_TRUE(objectiveRises(row, 2, 2));
    EXPECT_EQ(followingMonth(12), 1);
    EXPECT_EQ(followingMonth(1), 2);
}

} // namespace
