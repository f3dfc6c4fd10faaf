// The article lists of the costing tables over a real invoicing database:
// the article type is a text compared as a number, on both engines, a new
// row's cost falls back to the standard cost, and the demo inks name
// articles of the list.
#include "costing/CostingSession.h"

#include "costing/core/ArticleLists.h"

#include <gtest/gtest.h>

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::Scenario;

namespace {

struct ConditionCase {
    const char* label;
    ArticleTypeCondition condition;
    QStringList codes; // the numeric list, in code order
};
void PrintTo(const ConditionCase& c, std::ostream* os) { *os << c.label; }

class ArticleTypes : public ::testing::TestWithParam<std::tuple<ConditionCase, Engine>> {};

TEST_P(ArticleTypes, AreComparedAsNumbers)
{
    const auto& [c, engine] = GetParam();
    if (!CostingSession::available(engine))
        GTEST_SKIP() << "sem servidor PostgreSQL de teste";
    Scenario scenario;
    CostingSession session(scenario, engine);
    // Types as the invoicing application writes them, some of them careless.
    session.addArticle("A01", "Produto", "1", 0, 0);
    session.addArticle("A03", "Serviço", "3", 0, 0);
    session.addArticle("A06", "Matéria prima", "6", 0, 0);
    session.addArticle("A10", "Embalagem", "10", 0, 0);
    session.addArticle("A11", "Diversos", "11", 0, 0);
    session.addArticle("AVZ", "Sem tipo", "", 0, 0);
    session.addArticle("AXX", "Tipo estranho", "X", 0, 0);

    ArticleListSpec spec;
    spec.condition = c.condition;
    ArticleLists lists(session.invoicing(), spec);
    lists.open();
    QStringList codes;
    for (bool more = lists.numeric().first(); more; more = lists.numeric().next())
        codes << lists.numeric().value("CODIGO").toString();
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(lists.alphabetic().recordCount(), c.codes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Costing, ArticleTypes,
    ::testing::Combine(
        ::testing::Values(ConditionCase{"above five", {ArticleTypeCondition::Op::Above, 5}, {"A06", "A10", "A11"}},
                          ConditionCase{"not a service",
                                        {ArticleTypeCondition::Op::NotEqual, 3},
                                        {"A01", "A06", "A10", "A11", "AVZ", "AXX"}},
                          ConditionCase{"products", {ArticleTypeCondition::Op::Equal, 1}, {"A01"}}),
        ::testing::ValuesIn(engines())),
    [](const auto& testInfo) {
        std::string name = std::get<0>(testInfo.param).label;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name + "_" + engineName(std::get<1>(testInfo.param));
    });

struct CostCase {
    const char* label;
    QVariant average;
    QVariant standard;
    double cost;
};
void PrintTo(const CostCase& c, std::ostream* os) { *os << c.label; }

class ArticleCost : public ::testing::TestWithParam<CostCase> {};

TEST_P(ArticleCost, IsTheAverageWhenPositiveElseTheStandard)
{
    EXPECT_DOUBLE_EQ(articleCost(GetParam().average, GetParam().standard), GetParam().cost);
}

INSTANTIATE_TEST_SUITE_P(Costing, ArticleCost,
                         ::testing::Values(CostCase{"average", 8.95, 9.5, 8.95},
                                           CostCase{"average zero", 0.0, 6.85, 6.85},
                                           CostCase{"average negative", -1.0, 6.85, 6.85},
                                           CostCase{"average missing", QVariant(), 6.85, 6.85},
                                           CostCase{"neither", QVariant(), QVariant(), 0.0}));

class DemoInks : public ::testing::TestWithParam<Engine> {};

// Every ink of the demo company names an article that the inks form offers.
TEST_P(DemoInks, NameArticlesOfTheInksList)
{
    if (!CostingSession::available(GetParam()))
        GTEST_SKIP() << "sem servidor PostgreSQL de teste";
    Scenario scenario;
    CostingSession session(scenario, GetParam(), true);
    const auto inks = session.application()->query("SELECT ARTIGO, PRECO FROM TINTAS ORDER BY CODIGO");
    ASSERT_EQ(inks.rows.size(), 10u);
    ArticleLists lists(session.invoicing());
    lists.open();
    for (const auto& row : inks.rows) {
        ASSERT_TRUE(lists.locate(row[0].toString())) << row[0].toString().toStdString();
        EXPECT_GT(row[1].toDouble(), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Costing, DemoInks, ::testing::ValuesIn(engines()), kv::test::engineTestName);

} // namespace
