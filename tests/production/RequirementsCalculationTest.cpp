// The requirements calculation on both engines: the pre-selection, the
// netting of both variants, and the supplier proposal.
#include "production/RequirementsFixture.h"

#include "support/TableRows.h"

#include <cmath>
#include <functional>
#include <map>
#include <optional>

using namespace kv::production;
using kv::production::test::RequirementsFixture;
using kv::test::Engine;
using kv::test::insertRows;

namespace {

class PreselectionTest : public ::testing::TestWithParam<Engine> {};

TEST_P(PreselectionTest, PairsOfOpenLinesInsideTheLimits)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    // a second line of the same pair adds up; stock of the finished article
    // comes off; other dates, delivered lines and other customers stay out
    f.addOrderLine(100, 2, "CX-A", 500, 2);
    f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = 200 WHERE CODIGO = 'CX-A'");
    insertRows(f.inv(), "ENCCLIDET",
               {"ENCNRO", "DETAIL", "CLINRO", "ARTIGO", "TIPOREG", "TOTENT", "QTDCAR", "DATAENTRG"},
               {{100, 3, 10, "CX-A", "A", "N", 700, QDate(2024, 3, 18).startOfDay()},
                {100, 4, 10, "CX-A", "A", "S", 900, QDate(2024, 3, 15).startOfDay()}});
    f.addOrderLine(200, 1, "CX-A", 300, 1, 77); // a customer missing from the file

    RequirementLimits limits = f.limits();
    limits.customerTo = 50;
    RequirementsCalculation calc = f.calculation(RequirementVariant::Requisition);
    ASSERT_TRUE(calc.preselect(limits));
    const auto rows = f.scenario.rows(f.scenario.applicationDatabase(),
                                      "SELECT CLINRO, ARTIGO, CLISIGLA, DESIGN, QTDENC, EXIQTD, QUANTIDADE, PROCESSAR, "
                                      "COMPRIM FROM LOGSELENC ORDER BY CLINRO");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.value(0, "CLISIGLA").toString(), "QNOVA");
    EXPECT_EQ(rows.value(0, "DESIGN").toString(), "Caixa A");
    EXPECT_DOUBLE_EQ(rows.value(0, "QTDENC").toDouble(), 1500);
    EXPECT_DOUBLE_EQ(rows.value(0, "EXIQTD").toDouble(), 200);
    EXPECT_DOUBLE_EQ(rows.value(0, "QUANTIDADE").toDouble(), 1300);
    EXPECT_EQ(rows.value(0, "PROCESSAR").toString(), "S");
    EXPECT_DOUBLE_EQ(rows.value(0, "COMPRIM").toDouble(), 30);
}

TEST_P(PreselectionTest, StockCoveringTheOrderGivesNothingToProcessUnticked)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = 1200 WHERE CODIGO = 'CX-A'");
    ASSERT_TRUE(f.calculation(RequirementVariant::Requisition).preselect(f.limits()));
    EXPECT_DOUBLE_EQ(f.app().scalar("SELECT QUANTIDADE FROM LOGSELENC").toDouble(), 0);
    EXPECT_EQ(f.app().scalar("SELECT PROCESSAR FROM LOGSELENC").toString(), "N");
}

TEST_P(PreselectionTest, NoLineInsideTheLimitsLeavesTheUserWithoutRows)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    // another user's rows are neither counted nor touched
    insertRows(f.app(), "LOGSELENC", {"UTIL", "CLINRO", "ARTIGO", "PROCESSAR"}, {{"OUTRO", 10, "CX-A", "S"}});
    RequirementLimits limits = f.limits();
    limits.articleFrom = "CX-B";
    EXPECT_FALSE(f.calculation(RequirementVariant::Requisition).preselect(limits));
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGSELENC"), 1);
}

KV_ENGINE_SUITE(PreselectionTest);

// One case of the netting: what the fixture gets besides its order, the
// variant, and the requirement of board "MP-1" (nullopt: no row).
struct NettingCase {
    const char* label;
    RequirementVariant variant;
    std::function<void(RequirementsFixture&)> setUp;
    std::optional<double> toProcess; // TOTCONSUMO
    double consumption = 0; // QUANTIDADE
};

void tickOnly(RequirementsFixture& f, const char* processar, double quantity)
{
    f.app().exec(QStringLiteral("UPDATE LOGSELENC SET PROCESSAR = '%1', QUANTIDADE = %2").arg(processar).arg(quantity));
}

const auto Req = RequirementVariant::Requisition;
const auto Man = RequirementVariant::Manufacture;

const NettingCase nettingCases[] = {
    {"consumption_alone", Req, [](auto&) {}, 500, 500},
    {"stock_comes_off", Req, [](auto& f) { f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = 120 WHERE CODIGO = 'MP-1'"); },
     380, 500},
    {"negative_stock_adds", Req,
     [](auto& f) { f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = -50 WHERE CODIGO = 'MP-1'"); }, 550, 500},
    {"open_supplier_lines_come_off_delivered_do_not", Req,
     [](auto& f) {
         insertRows(f.inv(), "FRNENCDET", {"ENCNRO", "DETAIL", "ARTIGO", "TIPOREG", "TOTENT", "QUANTID", "QTDCAR"},
                    {{5, 1, "MP-1", "A", "N", 100, 100}, {5, 2, "MP-1", "A", "S", 80, 50}});
     },
     400, 500},
    {"unapproved_requisitions_come_off_approved_do_not", Req,
     [](auto& f) {
         insertRows(f.inv(), "FRNREQDET", {"UTILIZADOR", "REQNRO", "DETAIL", "ARTIGO", "QUANTID", "APROVADO"},
                    {{"OUTRO", 1, 1, "MP-1", 70, "N"}, {"OUTRO", 1, 2, "MP-1", 30, "S"}});
     },
     430, 500},
    {"more_than_needed_gives_zero", Req,
     [](auto& f) { f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = 600 WHERE CODIGO = 'MP-1'"); }, 0, 500},
    {"more_than_needed_drops_the_article_for_manufacture", Man,
     [](auto& f) { f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = 600 WHERE CODIGO = 'MP-1'"); }, std::nullopt},
    {"unticked_row_does_not_count", Req, [](auto& f) { tickOnly(f, "N", 1000); }, std::nullopt},
    {"ticked_row_without_quantity_does_not_count", Req, [](auto& f) { tickOnly(f, "S", 0); }, std::nullopt},
    {"two_lines_in_one_slot_count_its_consumption_once", Req, [](auto& f) { f.addOrderLine(100, 2, "CX-A", 400, 1); },
     500, 500},
    {"line_not_generated_has_no_consumption", Req,
     [](auto& f) {
         f.app().exec("DELETE FROM ORDFABENC");
         f.addOrderLine(100, 2, "CX-A", 400, 2);
     },
     std::nullopt},
    {"other_materials_count_for_requisitions", Req,
     [](auto& f) { f.addConsumption(100, 1, 0, 2, "MP-1", 20, 1000, {}, 6); }, 520, 520},
    {"only_boards_count_for_manufacture", Man, [](auto& f) { f.addConsumption(100, 1, 0, 2, "MP-1", 20, 1000, {}, 6); },
     500, 500},
    {"manufacture_counts_what_is_still_to_consume", Man,
     [](auto& f) {
         f.app().exec("UPDATE ORDFABDET SET QTDPROD = 400");
         f.app().exec("UPDATE ORCCONSUMOS SET CONSUMIDO = 100");
     },
     240, 240},
    {"manufacture_pairs_each_sub_quote_with_its_own_row", Man,
     [](auto& f) {
         f.addProductionRow(100, 1, 1, 2000);
         f.addConsumption(100, 1, 1, 1, "MP-1", 300, 2000);
     },
     800, 800},
    {"produced_order_does_not_count", Man, [](auto& f) { f.app().exec("UPDATE ORDFABDET SET PRODUZ = 'S'"); },
     std::nullopt},
    {"row_without_approved_quantity_counts_its_rest_whole", Man,
     [](auto& f) { f.addConsumption(100, 1, 0, 2, "MP-1", 60, QVariant(), 10); }, 550, 550},
    {"missing_article_is_left_out", Req, [](auto& f) { f.addConsumption(100, 1, 0, 2, "MP-9", 60, 1000); }, 500, 500},
    // 1/16 of one unit, 0.0625 exactly: the half rounds away from zero
    {"rounding_half_at_three_decimals", Man,
     [](auto& f) {
         f.app().exec("DELETE FROM ORCCONSUMOS");
         f.app().exec("UPDATE ORDFABDET SET QUANTFINAL = 1");
         f.addConsumption(100, 1, 0, 1, "MP-1", 1, 16);
     },
     0.063, 0.063},
};

class NettingTest : public ::testing::TestWithParam<std::tuple<NettingCase, Engine>> {};

TEST_P(NettingTest, RequirementOfTheBoard)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    RequirementsFixture f(engine);
    RequirementsCalculation calc = f.calculation(c.variant);
    ASSERT_TRUE(calc.preselect(f.limits()));
    c.setUp(f);
    calc.calculate(f.limits());
    const QVariant toProcess = f.requirement("MP-1", "TOTCONSUMO");
    ASSERT_EQ(toProcess.isValid(), c.toProcess.has_value());
    if (!c.toProcess)
        return;
    EXPECT_NEAR(toProcess.toDouble(), *c.toProcess, 1e-9);
    EXPECT_NEAR(f.requirement("MP-1", "QUANTIDADE").toDouble(), c.consumption, 1e-9);
    EXPECT_EQ(f.requirement("MP-1", "UNIDADE").toString(), "KG");
    EXPECT_FALSE(f.requirement("MP-9", "ARTIGO").isValid());
}

INSTANTIATE_TEST_SUITE_P(Cases, NettingTest,
                         ::testing::Combine(::testing::ValuesIn(nettingCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<NettingCase>);

class RequirementsTest : public ::testing::TestWithParam<Engine> {};

// The columns of the order limits: supplier lines bought for orders inside
// them and stock reserved for those orders; "A Processar" nets all of them.
TEST_P(RequirementsTest, OrderLimitColumnsAndTheOpenSupplierLines)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    insertRows(f.inv(), "FRNENCMAS", {"ENCNRO", "FRNNRO", "FRNNOM", "DATEMI"},
               {{5, 12, "Cartonagem", QDate(2024, 3, 1).startOfDay()}});
    insertRows(f.inv(), "FRNENCDET",
               {"ENCNRO", "DETAIL", "ARTIGO", "TIPOREG", "TOTENT", "QUANTID", "QTDCAR", "ENCCLINRO"},
               {{5, 1, "MP-1", "A", "N", 40, 40, 100},
                {5, 2, "MP-1", "A", "N", 60, 60, 900},
                {5, 3, "MP-2", "A", "N", 10, 10, 0}});
    insertRows(f.inv(), "STKENCEXIST", {"ANO", "ENCNRO", "ARTIGO", "EXTRA", "EXIQTD"},
               {{"2024", 100, "MP-1", "", 25}, {"2024", 900, "MP-1", "", 1000}});
    RequirementLimits limits = f.limits();
    limits.orderTo = 500;
    RequirementsCalculation calc = f.calculation(RequirementVariant::Requisition);
    ASSERT_TRUE(calc.preselect(limits));
    calc.calculate(limits);

    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "TOTQTDENCFRN").toDouble(), 100);
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "QTDENCFRN").toDouble(), 40);
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "EXIQTD").toDouble(), 25);
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "QTDAENC").toDouble(), 435);
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "TOTCONSUMO").toDouble(), 400);
    // the open lines of the requirement articles only
    const auto lines = f.scenario.rows(f.scenario.applicationDatabase(),
                                       "SELECT CODIGOMP, ENCDETAIL, FRNNOME, QTDCAR FROM LOGFRNENC ORDER BY ENCDETAIL");
    ASSERT_EQ(lines.rows.size(), 2u);
    EXPECT_EQ(lines.value(0, "FRNNOME").toString(), "Cartonagem");
    EXPECT_EQ(lines.value(1, "ENCDETAIL").toInt(), 2);
}

// A new calculation replaces the user's rows; another user's stay.
TEST_P(RequirementsTest, RecalculationReplacesOnlyTheUsersRows)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    insertRows(f.app(), "LOGARTIGOS", {"UTIL", "ARTIGO", "TOTCONSUMO"}, {{"OUTRO", "MP-1", 7}});
    RequirementsCalculation calc = f.calculation(RequirementVariant::Requisition);
    ASSERT_TRUE(calc.preselect(f.limits()));
    calc.calculate(f.limits());
    f.inv().exec("UPDATE ARTIGOSCLS SET EXIQTD = 100 WHERE CODIGO = 'MP-1'");
    calc.calculate(f.limits());
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "TOTCONSUMO").toDouble(), 400);
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGARTIGOS"), 2);
}

// Where each proposal takes its price from, and what it ticks.
TEST_P(RequirementsTest, ProposalPricesFromEachSource)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    insertRows(f.app(), "LOGARTIGOS", {"UTIL", "ARTIGO", "DESIGN", "TOTCONSUMO"},
               {{f.session.state().WUtil, "MP-1", "Cartão", 300},
                {f.session.state().WUtil, "MP-2", "Tinta", 10},
                {f.session.state().WUtil, "MP-3", "Cola", 5},
                {f.session.state().WUtil, "MP-4", "Filme", 0}});
    insertRows(f.inv(), "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "CUSTOPADRAO", "PMCUSTO"},
               {{"MP-3", "Cola", 0, 2.34565}, {"MP-4", "Filme", 0, 0}});
    f.inv().exec("UPDATE ARTIGOSCLS SET CUSTOPADRAO = 1.23456, PMCUSTO = 9 WHERE CODIGO = 'MP-2'");
    insertRows(f.inv(), "STKARTGFORN", {"CODARTG", "CODFORN", "NOME", "PRECO", "PRCDESC", "VOSREF"},
               {{"MP-1", 30, "Papeleira", 0.8, 0, "P-30"},
                {"MP-1", 12, "Cartonagem", 0.71504, 2, "C-12"},
                {"MP-2", 45, "Tintas", 0, 0, "T-45"}});
    f.calculation(RequirementVariant::Requisition).propose(RequirementsFixture::WorkingDate);

    struct Expected {
        const char* article;
        int supplier;
        double price;
        double discount;
        const char* ticked;
    };
    for (const Expected& e : {Expected{"MP-1", 12, 0.715, 2, "S"}, Expected{"MP-2", 45, 1.2346, 0, "S"},
                              Expected{"MP-3", 0, 2.3457, 0, "N"}, Expected{"MP-4", 0, 0, 0, "N"}}) {
        SCOPED_TRACE(e.article);
        const auto row = f.scenario.rows(f.scenario.applicationDatabase(),
                                         "SELECT FORNECEDOR, PRECO, DESCTO, PROCESSAR, DATAENTRG FROM LOGARTGFORN "
                                         "WHERE ARTIGO = :A",
                                         {{"A", e.article}});
        ASSERT_EQ(row.rows.size(), 1u);
        EXPECT_EQ(row.value(0, "FORNECEDOR").toInt(), e.supplier);
        EXPECT_DOUBLE_EQ(row.value(0, "PRECO").toDouble(), e.price);
        EXPECT_DOUBLE_EQ(row.value(0, "DESCTO").toDouble(), e.discount);
        EXPECT_EQ(row.value(0, "PROCESSAR").toString(), e.ticked);
        EXPECT_EQ(row.value(0, "DATAENTRG").toDateTime(), RequirementsFixture::WorkingDate.startOfDay());
    }
}

TEST_P(RequirementsTest, ManufactureProposesOnlyWhatIsToBuy)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    insertRows(f.app(), "LOGARTIGOS", {"UTIL", "ARTIGO", "TOTCONSUMO"},
               {{f.session.state().WUtil, "MP-1", 300}, {f.session.state().WUtil, "MP-2", 0}});
    f.calculation(RequirementVariant::Manufacture).propose(RequirementsFixture::WorkingDate);
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGARTGFORN"), 1);
}

KV_ENGINE_SUITE(RequirementsTest);

// The tiers (100, 5 %), (500, 8 %), empty, empty over a base of 2 %.
struct TierCase {
    const char* label;
    double quantity;
    double discount;
};
const TierCase tierCases[] = {
    {"below_both_tiers_the_last_wins", 50, 8},
    {"between_the_tiers", 300, 8},
    {"on_a_tier_quantity", 500, 8},
    {"above_every_tier_keeps_the_base", 600, 2},
    {"nothing_ordered_reaches_the_empty_tiers", 0, 0},
};
class TierTest : public ::testing::TestWithParam<TierCase> {};
TEST_P(TierTest, DiscountOfAQuantity)
{
    const DiscountTiers tiers{2, {100, 500, 0, 0}, {5, 8, 0, 0}};
    EXPECT_DOUBLE_EQ(tierDiscount(tiers, GetParam().quantity), GetParam().discount);
}
INSTANTIATE_TEST_SUITE_P(Tiers, TierTest, ::testing::ValuesIn(tierCases),
                         [](const auto& tier) { return std::string(tier.param.label); });

// The supplier and price editors' exits on one proposal row (supplier 12
// "Cartonagem" at 0.715, ticked), with the supplier file knowing 12 and 30.
struct ExitCase {
    const char* label;
    bool price; // the price editor left, else the supplier editor
    int supplier;
    double typedPrice;
    const char* message;
    ProposalChoice after;
};
const ExitCase exitCases[] = {
    {"known_supplier_names_and_ticks_keeping_the_price", false, 30, 0.715, "", {30, "Papeleira", 0.715, true}},
    {"unknown_supplier_clears_the_row", false, 99, 0.715, "FORNECEDOR INEXISTENTE !!!", {0, "", 0, false}},
    {"no_supplier_unticks", false, 0, 0.715, "", {0, "", 0, false}},
    {"price_given_ticks", true, 12, 0.8, "", {12, "Cartonagem", 0.8, true}},
    {"supplier_without_price_is_refused",
     true,
     12,
     0,
     "INSIRA O PREÇO PARA ESTE ARTIGO !!!",
     {12, "Cartonagem", 0, false}},
};
class ProposalExitTest : public ::testing::TestWithParam<ExitCase> {};
TEST_P(ProposalExitTest, RowAfterTheExit)
{
    const ExitCase& c = GetParam();
    ProposalChoice row{c.supplier, "Cartonagem", c.typedPrice, !c.price};
    if (c.price)
        row.ticked = false;
    const std::map<int, QString> suppliers{{12, "Cartonagem"}, {30, "Papeleira"}};
    const auto known = suppliers.find(c.supplier);
    const QString message =
        c.price ? leavePrice(row)
                : leaveSupplier(row, known == suppliers.end() ? std::nullopt : std::optional<QString>(known->second));
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(row.supplier, c.after.supplier);
    EXPECT_EQ(row.name, c.after.name);
    EXPECT_DOUBLE_EQ(row.price, c.after.price);
    EXPECT_EQ(row.ticked, c.after.ticked);
}
INSTANTIATE_TEST_SUITE_P(Exits, ProposalExitTest, ::testing::ValuesIn(exitCases),
                         [](const auto& exit) { return std::string(exit.param.label); });

} // namespace
