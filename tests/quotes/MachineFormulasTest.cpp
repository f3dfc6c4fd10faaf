#include "quotes/core/MachineFormulas.h"

#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

TEST(PrintingPassesTest, coloursOverColoursPerPassRoundedUp)
{
    struct Case {
        int colours, perPass;
        std::optional<int> passes;
    };
    const Case cases[] = {{4, 4, 1},           {3, 4, 1}, {0, 4, 1},
                          {5, 4, 2},           {6, 4, 2}, {8, 4, 2},
                          {9, 4, 3},           {1, 1, 1}, {2, 0, std::nullopt},
                          {0, 0, std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(printingPasses(c.colours, c.perPass), c.passes) << c.colours << " / " << c.perPass;
}

TEST(MakeReadyHoursMinutesTest, decimalHoursAsHoursAndMinutes)
{
    struct Case {
        double hours, hm;
    };
    const Case cases[] = {{0, 0},       {1.75, 1.45}, {1.0, 1.00}, {0.1, 0.06},   {0.5, 0.30},
                          {0.75, 0.45}, {0.7, 0.42},  {2.5, 2.30}, {1.999, 1.59}, {0.005, 0.00}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(makeReadyHoursMinutes(c.hours), c.hm) << c.hours;
}

MachineRow machine(int type)
{
    MachineRow m;
    m.code = 10 + type;
    m.machineType = type;
    m.coloursPerPass = 4;
    m.costPerHour = 60;
    m.factor[0] = 5000;
    m.factor[1] = 4000;
    m.factor[2] = 2000;
    for (int i = 0; i < 4; ++i) {
        m.passMin[i] = 0.5 + 0.1 * i; // 0.5, 0.6, 0.7, 0.8
        m.passMax[i] = 1.0 + 0.1 * i;
    }
    m.dieMin[0] = 0.2;
    m.dieMin[1] = 0.4;
    m.dieMin[2] = 0.6;
    m.sideSeamMin = 0.25;
    m.autoBottomMin = 0.35;
    return m;
}

struct MachineCase {
    const char* name;
    MachineRow machine;
    MachineJob job;
    double makeReady;
    Triple value;
};

class MachineValuesTest : public ::testing::TestWithParam<MachineCase> {};

TEST_P(MachineValuesTest, valuesByMachineType)
{
    const MachineCase& c = GetParam();
    const MachineValues v = machineValues(c.machine, c.job);
    EXPECT_DOUBLE_EQ(v.makeReady, c.makeReady);
    for (std::size_t n = 0; n < 3; ++n)
        EXPECT_NEAR(v.value[n], c.value[n], 1e-9) << "quantity " << n + 1;
}

MachineJob job(int grade, int choice, int passes, Triple sheets, Triple quantities = {5, 0, 0}, const char* unit = "M",
               bool embossed = false)
{
    MachineJob j;
    j.grade = grade;
    j.makeReadyChoice = choice;
    j.passes = passes;
    j.sheets = sheets;
    j.quantities = quantities;
    j.unit = QString::fromLatin1(unit);
    j.embossed = embossed;
    return j;
}

MachineRow gluer(const char* productionUnit)
{
    MachineRow m = machine(3);
    m.costPerHour = 40;
    m.productionUnit = QString::fromLatin1(productionUnit);
    m.factor[0] = productionUnit[0] == 'U' ? 10000 : 10;
    return m;
}

MachineRow counterGluer(double machineMin, double machineMax)
{
    MachineRow m = machine(4);
    m.costPerHour = 30;
    m.factor[0] = 1000;
    m.machineMin = machineMin;
    m.machineMax = machineMax;
    m.sideSeamMin = 0.3;
    m.autoBottomMin = 0;
    return m;
}

INSTANTIATE_TEST_SUITE_P(
    Machines, MachineValuesTest,
    ::testing::Values(
        // 60 x 0.5 + 60 x (1443 / 5000) x 1 = 47.316; quantities 2 and 3 not quoted.
        MachineCase{"printingOnePass", machine(1), job(1, 1, 1, {1443, 0, 0}), 0.5, {47.316, 0, 0}},
        MachineCase{"printingTwoPasses",
                    machine(1),
                    job(1, 1, 2, {1443, 2000, 3000}),
                    0.6,
                    {60 * 0.6 + 60 * (1443.0 / 5000) * 2, 60 * 0.6 + 60 * (2000.0 / 5000) * 2,
                     60 * 0.6 + 60 * (3000.0 / 5000) * 2}},
        MachineCase{"printingMaxColumnGrade3",
                    machine(1),
                    job(3, 2, 3, {1000, 0, 0}),
                    1.2,
                    {60 * 1.2 + 60 * (1000.0 / 2000) * 3, 0, 0}},
        MachineCase{"printingFivePassesTakesColumn4",
                    machine(1),
                    job(1, 1, 5, {1000, 0, 0}),
                    0.8,
                    {60 * 0.8 + 60 * (1000.0 / 5000) * 5, 0, 0}},
        MachineCase{"printingUnknownChoiceNoMakeReady",
                    machine(1),
                    job(1, 3, 1, {1000, 0, 0}),
                    0,
                    {60 * (1000.0 / 5000), 0, 0}},
        MachineCase{"cuttingDieGrade2",
                    machine(2),
                    job(2, 2, 1, {1000, 500, 0}),
                    0.4,
                    {60 * 0.4 + 60 * 1000.0 / 4000, 60 * 0.4 + 60 * 500.0 / 4000, 0}},
        MachineCase{"cuttingEmbossedCountsTwice",
                    machine(2),
                    job(2, 3, 1, {1000, 0, 0}, {5, 0, 0}, "M", true),
                    1.2,
                    {60 * 1.2 + 60 * 1000.0 / 4000, 0, 0}},
        // 5 thousand on a gluer counting units: 5000 pieces.
        MachineCase{"gluerUnitsOnThousands",
                    gluer("U"),
                    job(1, 1, 1, {0, 0, 0}, {5, 10, 0}, "M"),
                    0.25,
                    {40 * (0.5 + 0.25), 40 * (1.0 + 0.25), 0}},
        MachineCase{"gluerThousandsOnUnits",
                    gluer("M"),
                    job(1, 2, 1, {0, 0, 0}, {5000, 0, 0}, "U"),
                    0.35,
                    {40 * (0.5 + 0.35), 0, 0}},
        MachineCase{"counterGluerMachineMakeReady",
                    counterGluer(0.4, 0.6),
                    job(1, 2, 1, {1500, 0, 0}),
                    0.6,
                    {30 * (1.5 + 0.6), 0, 0}},
        MachineCase{"counterGluerFallsBackToSideSeam",
                    counterGluer(0, 0),
                    job(1, 1, 1, {1500, 0, 0}),
                    0.3,
                    {30 * (1.5 + 0.3), 0, 0}},
        MachineCase{
            "counterGluerNothingToFallBackTo", counterGluer(0, 0), job(1, 2, 1, {1500, 0, 0}), 0, {30 * 1.5, 0, 0}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ProductionFactorTest, gradeOutsideOneToThreeHasNoFactor)
{
    const MachineRow m = machine(1);
    EXPECT_DOUBLE_EQ(productionFactor(m, 1), 5000);
    EXPECT_DOUBLE_EQ(productionFactor(m, 3), 2000);
    EXPECT_DOUBLE_EQ(productionFactor(m, 0), 0);
    EXPECT_DOUBLE_EQ(productionFactor(m, 4), 0);
}

} // namespace
