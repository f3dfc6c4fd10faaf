// What a table row gives a cost line typed by hand, and which field is asked
// next, for each cost-table type.
#include "quotes/QuoteFixture.h"

#include "quotes/core/LineEntry.h"

#include <gtest/gtest.h>

using namespace kv::quotes;
using namespace kv::quotes::test;

namespace {

struct StartCase {
    const char* label;
    int type;
    int code;
    bool found;
    const char* designation;
    const char* costClass;
    double price;
    double percentage;
    int grade, choice, passes;
    LineEntry::Field first;
};

class LineEntryStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(LineEntryStart, takesTheRowAndAsksItsField)
{
    const StartCase& c = GetParam();
    const CostTables tables = plantTables();
    QuoteRow row = plantQuoteRow();
    // Each machine kind has its own grade and choice on the quote row.
    row.set("PRDHORAIMP", 2);
    row.set("ACERTOIMP", 1);
    row.set("PRDHORACOL", 3);
    row.set("ACERTOCOL", 2);
    row.set("NROCORES", 6);
    const auto line = LineEntry::start(tables, row, c.type, c.code);
    ASSERT_EQ(line.has_value(), c.found);
    EXPECT_EQ(LineEntry::exists(tables, c.type, c.code), c.found);
    if (!line)
        return;
    EXPECT_EQ(line->tableType, c.type);
    EXPECT_EQ(line->tableCode, c.code);
    EXPECT_EQ(line->designation, QString::fromUtf8(c.designation));
    EXPECT_EQ(line->costClass, QString::fromLatin1(c.costClass));
    EXPECT_DOUBLE_EQ(line->price, c.price);
    EXPECT_DOUBLE_EQ(line->percentage, c.percentage);
    EXPECT_EQ(line->grade, c.grade);
    EXPECT_EQ(line->makeReadyChoice, c.choice);
    EXPECT_EQ(line->passes, c.passes);
    EXPECT_EQ(LineEntry::firstField(tables, *line), c.first);
}

using F = LineEntry::Field;
const StartCase kStarts[] = {
    // 6 colours on a 4-colour machine: two passes.
    {"printingMachine", 1, 1, true, "Impressora 4 Cores", "CM", 60, 0, 2, 1, 2, F::Passes},
    {"gluerWithoutPasses", 1, 3, true, "Coladora", "CM", 40, 0, 3, 2, 0, F::Grade},
    {"ink", 2, 1, true, "Tinta Azul", "MP", 10, 0, 0, 0, 0, F::Price},
    {"board", 8, 2, true, "Micro por Folha", "MP", 0.15, 0, 0, 0, 0, F::Price},
    {"finishByPercentage", 7, 2, true, "Escolha Manual", "MO", 0, 3, 0, 0, 0, F::Percentage},
    {"finishByPrice", 7, 1, true, "Embalagem Caixa", "EM", 12, 0, 0, 0, 0, F::Percentage},
    {"fixedCostWithoutClass", 10, 2, true, "Sem Grupo", "", 10, 0, 0, 0, 0, F::Price},
    {"subcontract", 11, 1, true, "Estampagem", "SB", 75, 0, 0, 0, 0, F::Price},
    {"transport", 99, 1, true, "Custo de Transporte", "TR", 1.5, 0, 0, 0, 0, F::Percentage},
    {"missingRow", 2, 77, false, "", "", 0, 0, 0, 0, 0, F::Price},
    {"unknownType", 12, 1, false, "", "", 0, 0, 0, 0, 0, F::Price},
};
std::string startName(const ::testing::TestParamInfo<StartCase>& param) { return param.param.label; }
INSTANTIATE_TEST_SUITE_P(Cases, LineEntryStart, ::testing::ValuesIn(kStarts), startName);

TEST(LineEntry, aMachineIsCalculatedOnceItsChoicesAreIn)
{
    CostLine machine;
    machine.tableType = 1;
    CostLine finish;
    finish.tableType = 7;
    CostLine glue;
    glue.tableType = 4;
    EXPECT_EQ(LineEntry::afterMachineChoices(machine), F::Calculate);
    EXPECT_EQ(LineEntry::afterMachineChoices(finish), F::Percentage);
    EXPECT_EQ(LineEntry::afterMachineChoices(glue), F::Price);
}

} // namespace
