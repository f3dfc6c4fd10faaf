// Saving the general costing parameters from two workstations: the form's
// connection writes only what its user changed, and never takes back a
// quote or production-order number that the other workstation gave out
// while the form was open.
#include "costing/CostingSession.h"

#include "costing/core/GeneralParameters.h"

#include <gtest/gtest.h>

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::Scenario;

namespace {

struct CounterCase {
    const char* label;
    const char* column;
    qint64 read; // what the form read
    std::optional<qint64> elsewhere; // what the other workstation wrote meanwhile
    qint64 typed; // what the user left in the field
    qint64 stored;
};
void PrintTo(const CounterCase& c, std::ostream* os) { *os << c.label; }

class CounterSave : public ::testing::TestWithParam<std::tuple<CounterCase, Engine>> {};

TEST_P(CounterSave, NeverGivesANumberOutTwice)
{
    const auto& [c, engine] = GetParam();
    if (!CostingSession::available(engine))
        GTEST_SKIP() << "sem servidor PostgreSQL de teste";
    Scenario scenario;
    CostingSession session(scenario, engine);
    auto form = session.environment().application();
    auto other = session.application();
    session.removeParameterRow();
    form->exec(QStringLiteral("INSERT INTO ORCPARGER (CODIGO, %1, TRANSPORTE) VALUES (1, :V, 'Por nossa conta')")
                   .arg(c.column),
               {{"V", c.read}});
    if (c.elsewhere)
        other->exec(QStringLiteral("UPDATE ORCPARGER SET %1 = :V WHERE CODIGO = 1").arg(c.column),
                    {{"V", *c.elsewhere}});

    const auto kept = GeneralParameters(*form).save(
        {{c.column, c.read, c.typed}, {"TRANSPORTE", QString("Por nossa conta"), QString("Cliente levanta")}});
    // The caller hears of a typed counter that another workstation had passed.
    if (c.typed != c.read && c.stored != c.typed) {
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].column, c.column);
        EXPECT_EQ(kept[0].typed, c.typed);
        EXPECT_EQ(kept[0].stored, c.stored);
    } else {
        EXPECT_TRUE(kept.empty());
    }

    const auto row = other->query(QStringLiteral("SELECT %1, TRANSPORTE FROM ORCPARGER").arg(c.column));
    ASSERT_EQ(row.rows.size(), 1u);
    EXPECT_EQ(row.rows[0][0].toLongLong(), c.stored);
    EXPECT_EQ(row.rows[0][1].toString(), "Cliente levanta");
}

INSTANTIATE_TEST_SUITE_P(
    Costing, CounterSave,
    ::testing::Combine(
        ::testing::Values(CounterCase{"raised elsewhere, left alone here", "ORCNRO1", 1250, 1260, 1250, 1260},
                          CounterCase{"raised here only", "ORCNRO2", 40, std::nullopt, 45, 45},
                          CounterCase{"lowered here on purpose", "ORCNRO3", 10, std::nullopt, 5, 5},
                          CounterCase{"raised in both, higher elsewhere", "OFNRO1", 830, 850, 840, 850},
                          CounterCase{"raised in both, higher here", "OFNRO2", 830, 850, 900, 900},
                          CounterCase{"lowered here, raised elsewhere", "ORCNRO5", 1250, 1260, 1000, 1260},
                          CounterCase{"empty counter given its first number", "OFNRO5", 0, std::nullopt, 1, 1}),
        ::testing::ValuesIn(engines())),
    [](const auto& testInfo) {
        std::string name = std::get<0>(testInfo.param).label;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
        return name + "_" + engineName(std::get<1>(testInfo.param));
    });

class ParameterRow : public ::testing::TestWithParam<Engine> {};

// Columns nobody changed here keep what the other workstation wrote.
TEST_P(ParameterRow, WritesOnlyTheColumnsChangedHere)
{
    if (!CostingSession::available(GetParam()))
        GTEST_SKIP() << "sem servidor PostgreSQL de teste";
    Scenario scenario;
    CostingSession session(scenario, GetParam());
    auto form = session.environment().application();
    auto other = session.application();
    session.removeParameterRow();
    form->exec("INSERT INTO ORCPARGER (CODIGO, TRANSPORTE, PRZENT, COMISSAO1) VALUES (1, 'A', 'B', 3)");
    other->exec("UPDATE ORCPARGER SET PRZENT = '8 dias', COMISSAO1 = 4 WHERE CODIGO = 1");

    GeneralParameters(*form).save({{"TRANSPORTE", QString("A"), QString("Por conta do cliente")},
                                   {"PRZENT", QString("B"), QString("B")},
                                   {"COMISSAO1", 3.0, 3.0}});

    const auto row = other->query("SELECT TRANSPORTE, PRZENT, COMISSAO1 FROM ORCPARGER");
    EXPECT_EQ(row.rows[0][0].toString(), "Por conta do cliente");
    EXPECT_EQ(row.rows[0][1].toString(), "8 dias");
    EXPECT_DOUBLE_EQ(row.rows[0][2].toDouble(), 4.0);
}

TEST_P(ParameterRow, IsCreatedOnceAndASaveWithoutItFails)
{
    if (!CostingSession::available(GetParam()))
        GTEST_SKIP() << "sem servidor PostgreSQL de teste";
    Scenario scenario;
    CostingSession session(scenario, GetParam());
    session.removeParameterRow();
    auto db = session.application();
    GeneralParameters parameters(*db);
    EXPECT_THROW(parameters.save({{"TRANSPORTE", QVariant(), QString("X")}}), kv::db::DbError);
    EXPECT_TRUE(parameters.ensureRow());
    EXPECT_FALSE(parameters.ensureRow());
    const auto rows = db->query("SELECT CODIGO, TIPOORCAM, ORCNRO1 FROM ORCPARGER");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0][0].toInt(), 1);
    EXPECT_TRUE(rows.rows[0][1].isNull());
    EXPECT_TRUE(rows.rows[0][2].isNull());
}

INSTANTIATE_TEST_SUITE_P(Costing, ParameterRow, ::testing::ValuesIn(engines()), kv::test::engineTestName);

} // namespace
