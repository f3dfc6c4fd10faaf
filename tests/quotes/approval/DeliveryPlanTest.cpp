// The spreading of an approved quantity over five deliveries: what leaving
// each quantity field does, and the check made again as the order is saved.
#include "quotes/approval/core/DeliveryPlan.h"

#include <gtest/gtest.h>

using namespace kv::quotes::approval;

namespace {

struct Entry {
    int index;
    const char* text;
};

struct StepCase {
    const char* label;
    std::vector<Entry> before; // accepted entries first
    Entry entry;
    bool accepted;
    QString message;
    std::optional<double> proposeNext;
    bool complete;
};

class DeliveryQuantities : public ::testing::TestWithParam<StepCase> {};

TEST_P(DeliveryQuantities, LeavingTheField)
{
    const StepCase& c = GetParam();
    DeliveryPlan plan;
    plan.setApproved(1000);
    for (const Entry& e : c.before)
        ASSERT_TRUE(plan.enterQuantity(e.index, QString::fromLatin1(e.text)).accepted);
    const double before = plan.quantity(c.entry.index);
    const DeliveryPlan::Step step = plan.enterQuantity(c.entry.index, QString::fromLatin1(c.entry.text));
    EXPECT_EQ(step.accepted, c.accepted);
    EXPECT_EQ(step.message, c.message);
    EXPECT_EQ(step.proposeNext, c.proposeNext);
    EXPECT_EQ(step.complete, c.complete);
    if (!c.accepted) {
        EXPECT_EQ(plan.quantity(c.entry.index), before); // a refused value is not kept
    }
}

const StepCase stepCases[] = {
    {"part_proposes_the_rest", {}, {0, "600"}, true, {}, 400.0, false},
    {"rest_completes", {{0, "600"}}, {1, "400"}, true, {}, std::nullopt, true},
    {"decimal_comma", {{0, "600,5"}}, {1, "399,5"}, true, {}, std::nullopt, true},
    {"empty", {}, {0, ""}, false, QStringLiteral("Insira a Quantidade"), std::nullopt, false},
    {"zero", {}, {2, "0"}, false, QStringLiteral("Insira a Quantidade"), std::nullopt, false},
    {"first_above_approved",
     {},
     {0, "1200"},
     false,
     QStringLiteral("Não pode inserir uma Qtd. Superior à aprovada !!!"),
     std::nullopt,
     false},
    {"later_above_approved",
     {{0, "600"}},
     {1, "500"},
     false,
     QStringLiteral("NÃO PODE INSERIR UMA QTD.SUPERIOR À APROVADA!!!"),
     std::nullopt,
     false},
    {"fifth_leaves_a_rest",
     {{0, "100"}, {1, "100"}, {2, "100"}, {3, "100"}},
     {4, "100"},
     false,
     QStringLiteral("SÓ DISPÕE DE 5 LINHAS DE ENCOMENDA !!!"),
     std::nullopt,
     false},
    {"fifth_completes", {{0, "100"}, {1, "100"}, {2, "100"}, {3, "100"}}, {4, "600"}, true, {}, std::nullopt, true},
};

INSTANTIATE_TEST_SUITE_P(Plan, DeliveryQuantities, ::testing::ValuesIn(stepCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST(DeliveryPlanOrderDate, FirstDeliveryTakesTheApprovedQuantity)
{
    DeliveryPlan plan;
    plan.setApproved(1000);
    ASSERT_TRUE(plan.enterQuantity(0, QStringLiteral("600")).accepted);
    ASSERT_TRUE(plan.enterQuantity(1, QStringLiteral("300")).accepted);
    EXPECT_EQ(plan.takeOrderDate(), 1000.0);
    EXPECT_EQ(plan.quantity(1), 0.0);
    EXPECT_EQ(plan.remaining(), 0.0);
}

struct CheckCase {
    const char* label;
    Deliveries deliveries;
    std::optional<int> index;
    bool dateField;
    QString message;
};

const QDate Day(2026, 3, 10);

Delivery at(double quantity) { return Delivery{Day, quantity}; }

class DeliveryCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DeliveryCheck, AtTheSave)
{
    const CheckCase& c = GetParam();
    const auto refusal = DeliveryPlan::check(c.deliveries, 1000);
    ASSERT_EQ(refusal.has_value(), c.index.has_value());
    if (refusal) {
        EXPECT_EQ(refusal->index, *c.index);
        EXPECT_EQ(refusal->dateField, c.dateField);
        EXPECT_EQ(refusal->message, c.message);
    }
}

const CheckCase checkCases[] = {
    {"all_in_one", {at(1000)}, std::nullopt, false, {}},
    {"gap_keeps_positions", {at(600), Delivery{}, at(400)}, std::nullopt, false, {}},
    {"less_than_approved", {at(600)}, std::nullopt, false, {}},
    {"first_without_quantity", {Delivery{Day, 0}}, 0, false, QStringLiteral("Insira a Quantidade")},
    {"first_without_date", {Delivery{std::nullopt, 1000}}, 0, true, QStringLiteral("DATA INVÁLIDA!!!")},
    {"third_dated_without_quantity",
     {at(600), at(400), Delivery{Day, 0}},
     2,
     false,
     QStringLiteral("Insira a Quantidade")},
    {"fifth_without_date",
     {at(100), at(100), at(100), at(100), Delivery{std::nullopt, 100}},
     4,
     true,
     QStringLiteral("Data Inválida !!!")},
    {"sum_above_approved",
     {at(600), at(500)},
     1,
     false,
     QStringLiteral("NÃO PODE INSERIR UMA QTD.SUPERIOR À APROVADA!!!")},
    {"negative_quantity", {at(600), at(-100)}, 1, false, QStringLiteral("Insira a Quantidade")},
};

INSTANTIATE_TEST_SUITE_P(Plan, DeliveryCheck, ::testing::ValuesIn(checkCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

} // namespace
