// Leaving a limit field: what is stored, what is shown, which warning and
// where the focus goes, for the pairs of the listing forms.
#include "platform/text/RangeLimits.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace kv::text;

namespace {

const QDate limitsDay(2024, 3, 15);

RangeLimits referenceLimits()
{
    return RangeLimits({RangeLimits::customers(), RangeLimits::salesmen(), RangeLimits::articles(),
                        RangeLimits::numbers(), RangeLimits::dates(limitsDay)});
}

struct ExitCase {
    const char* label;
    const char* pair;
    LimitSide side;
    QString fromText;
    QString toText;
    LimitExit::Outcome outcome;
    QString message;
    bool inStatusBar;
    bool focusFrom;
    bool reopen;
    QVariant stored; // the limit of the side left
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.label; }

using O = LimitExit::Outcome;
const LimitSide F = LimitSide::From;
const LimitSide T = LimitSide::To;

const ExitCase limitExitCases[] = {
    {"customerFromEmptyIsZero", "customers", F, "", "9", O::Valid, {}, false, false, false, qint64(0)},
    {"customerFromUnreadableLeavesZero", "customers", F, "12a", "9", O::Unreadable, {}, false, false, false, qint64(0)},
    {"customerToBelowFrom", "customers", T, "50", "49", O::Invalid, "Limite de Clientes Inválido ...", false, true,
     false, qint64(49)},
    {"customerToEqualFrom", "customers", T, "50", "50", O::Valid, {}, false, false, false, qint64(50)},
    {"customerToEmptyIsUnreadable", "customers", T, "0", "", O::Unreadable, {}, false, false, false, qint64(0)},
    {"salesmanFromEmptyIsUnreadable", "salesmen", F, "", "9", O::Unreadable, {}, false, false, false, qint64(0)},
    {"salesmanToBelowFrom", "salesmen", T, "3", "2", O::Invalid, "Limite de Vendedores Inválido ...", false, true,
     false, qint64(2)},
    {"articleLongerToIsValid", "articles", T, "CX10", "CX100", O::Valid, {}, false, false, false, "CX100"},
    {"articleLowerCaseToIsValid", "articles", T, "CX10", "cx10", O::Valid, {}, false, false, false, "cx10"},
    {"articleShorterPrefixIsInvalid", "articles", T, "CX10", "CX1", O::Invalid, "LIMITE DE ARTIGOS INVÁLIDO", false,
     true, false, "CX1"},
    {"articleWithApostropheIsText", "articles", F, "O'BRIEN", "", O::Valid, {}, false, false, false, "O'BRIEN"},
    {"numberFromEmptyIsZero", "numbers", F, "", "5", O::Valid, {}, false, false, false, qint64(0)},
    {"numberToEmptyStaysInField", "numbers", T, "1", "", O::Invalid, "Limite inválido !!!", true, false, false,
     qint64(0)},
    {"numberToBelowFrom", "numbers", T, "10", "9", O::Invalid, "Selecção inválida !!!", true, true, false, qint64(9)},
    {"numberToUnreadableLeavesZero", "numbers", T, "1", "x", O::Unreadable, {}, false, false, false, qint64(0)},
    {"dateToSameDayReopens",
     "dates",
     T,
     "15/03/2024",
     "15/03/2024",
     O::Valid,
     {},
     false,
     false,
     true,
     QDate(2024, 3, 15)},
    {"dateToBeforeFrom", "dates", T, "15/03/2024", "14/03/2024", O::Invalid, "LIMITE DE DATAS INVÁLIDO", false, true,
     false, QDate(2024, 3, 14)},
    {"dateFromDoesNotReopen",
     "dates",
     F,
     "01/03/2024",
     "15/03/2024",
     O::Valid,
     {},
     false,
     false,
     false,
     QDate(2024, 3, 1)},
    {"dateUnreadableKeepsTheLimit",
     "dates",
     T,
     "15/03/2024",
     "31/02/2024",
     O::Unreadable,
     {},
     false,
     false,
     false,
     limitsDay},
};

class RangeLimitsExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(RangeLimitsExit, storesWarnsAndMovesTheFocus)
{
    const ExitCase& c = GetParam();
    RangeLimits limits = referenceLimits();
    // The from-limit as leaving the from-field with its text left it.
    if (c.side == T)
        limits.leave(c.pair, F, c.fromText, c.toText);
    const LimitExit exit = limits.leave(c.pair, c.side, c.fromText, c.toText);
    EXPECT_EQ(exit.outcome, c.outcome);
    if (c.outcome == O::Unreadable)
        EXPECT_TRUE(exit.message.contains(c.side == F ? c.fromText : c.toText));
    else
        EXPECT_EQ(exit.message, c.message);
    EXPECT_EQ(exit.inStatusBar, c.inStatusBar);
    EXPECT_EQ(exit.focusFrom, c.focusFrom);
    EXPECT_EQ(exit.reopen, c.reopen);
    EXPECT_EQ(c.side == F ? limits.from(c.pair) : limits.to(c.pair), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, RangeLimitsExit, ::testing::ValuesIn(limitExitCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

struct ApprovalCustomerCase {
    const char* label;
    LimitSide side;
    QString fromText;
    QString toText;
    LimitExit::Outcome outcome;
    bool reopen;
    QVariant stored; // the limit of the side left
};

void PrintTo(const ApprovalCustomerCase& c, std::ostream* os) { *os << c.label; }

const ApprovalCustomerCase approvalCustomerCases[] = {
    {"fromEmptyIsZeroAndStaysEmpty", F, "", "9", O::Valid, false, qint64(0)},
    {"toEmptyKeepsTheLimitAndOpensNothing", T, "0", "", O::Valid, false, qint64(999999999)},
    {"toBelowFromIsAcceptedAndReopens", T, "50", "49", O::Valid, true, qint64(49)},
    {"toUnreadable", T, "0", "x", O::Unreadable, false, qint64(0)},
};

class ApprovalCustomersExit : public ::testing::TestWithParam<ApprovalCustomerCase> {};

TEST_P(ApprovalCustomersExit, storesAndReopens)
{
    const ApprovalCustomerCase& c = GetParam();
    RangeLimits limits({RangeLimits::approvalCustomers()});
    const LimitExit exit = limits.leave("customers", c.side, c.fromText, c.toText);
    EXPECT_EQ(exit.outcome, c.outcome);
    EXPECT_EQ(exit.reopen, c.reopen);
    EXPECT_FALSE(exit.shows);
    EXPECT_EQ(c.side == F ? limits.from("customers") : limits.to("customers"), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApprovalCustomersExit, ::testing::ValuesIn(approvalCustomerCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(RangeLimits, emptiedCustomerFromShowsZeroOnlyThere)
{
    RangeLimits limits = referenceLimits();
    const LimitExit customer = limits.leave("customers", F, " ", "9");
    EXPECT_TRUE(customer.shows);
    EXPECT_EQ(customer.shownText, "0");
    EXPECT_FALSE(limits.leave("numbers", F, "", "9").shows);
}

TEST(RangeLimits, defaultsAndTheirTexts)
{
    RangeLimits limits = referenceLimits();
    limits.leave("salesmen", F, "7", "9");
    limits.leave("dates", T, "15/03/2024", "20/03/2024");
    limits.reset();
    EXPECT_EQ(limits.fromInteger("salesmen"), 1); // quotes without a salesman are left out
    EXPECT_EQ(limits.toDate("dates"), limitsDay);
    EXPECT_EQ(limits.defaultText("customers", F), "0");
    EXPECT_EQ(limits.defaultText("articles", T), "ZZZZZZZZZZZZZZZZ");
    EXPECT_EQ(limits.defaultText("numbers", T), "999999999");
    EXPECT_EQ(limits.defaultText("dates", F), "15/03/2024");
}

// The quote issue: one customer field (empty = every customer, shown empty)
// and dates checked and reopened from either field.
TEST(RangeLimits, singleCustomerAndDatesCheckedFromEitherField)
{
    LimitPair customer{"customer", LimitKind::Integer, qint64(0), qint64(0)};
    customer.single = true;
    customer.emptyFrom = LimitPair::EmptyFrom::Zero;
    LimitPair dates = RangeLimits::dates(limitsDay);
    dates.checksOnEitherExit = true;
    RangeLimits limits({customer, dates});

    EXPECT_EQ(limits.defaultText("customer", F), "");
    limits.leave("customer", F, "42", {});
    EXPECT_EQ(limits.fromInteger("customer"), 42);
    const LimitExit emptied = limits.leave("customer", F, "", {});
    EXPECT_FALSE(emptied.shows);
    EXPECT_EQ(limits.fromInteger("customer"), 0);

    const LimitExit inverted = limits.leave("dates", F, "16/03/2024", "15/03/2024");
    EXPECT_EQ(inverted.outcome, O::Invalid);
    EXPECT_EQ(limits.fromDate("dates"), QDate(2024, 3, 16));
    const LimitExit valid = limits.leave("dates", F, "10/03/2024", "15/03/2024");
    EXPECT_EQ(valid.outcome, O::Valid);
    EXPECT_TRUE(valid.reopen);
}

TEST(RangeLimits, anEmptyFromFieldRefusedKeepsItsLimit)
{
    LimitPair customers{"customers", LimitKind::Integer, qint64(1), qint64(99999999)};
    customers.emptyFromRefused = LimitWarning::box("Cliente Inválido");
    customers.reopensSelection = true;
    RangeLimits limits({customers});
    limits.leave("customers", F, "7", "99999999");
    const LimitExit refused = limits.leave("customers", F, "", "99999999");
    EXPECT_EQ(refused.outcome, O::Invalid);
    EXPECT_EQ(refused.message, "Cliente Inválido");
    EXPECT_TRUE(refused.focusFrom);
    EXPECT_FALSE(refused.reopen);
    EXPECT_EQ(limits.fromInteger("customers"), 7);
}

} // namespace
