// The customer file's rules that need no database: the save guard with the
// insert mode, the field checks and the invoicing lines' checks.
#include "customers/core/CustomerEntry.h"
#include "customers/core/InvoicingLines.h"

#include <gtest/gtest.h>

using kv::customers::CustomerEntry;
using State = CustomerEntry::State;

namespace {

template <class Case>
std::string labelOf(const ::testing::TestParamInfo<Case>& param)
{
    return param.param.label;
}

enum class Step { Activate, LeaveList, StartInsert, RefuseNumber, Cancel, Searched, EnterList, Saved };

struct EntryCase {
    const char* label;
    std::vector<Step> steps;
    bool lastEntrySaves; // what the last EnterList answered (when there is one)
    State after;
};

class EntryStates : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryStates, SaveOnlyWhenTheGuardIsClear)
{
    const EntryCase& c = GetParam();
    CustomerEntry entry;
    bool saves = false;
    for (Step step : c.steps) {
        switch (step) {
        case Step::Activate: entry.activate(); break;
        case Step::LeaveList: entry.leaveList(); break;
        case Step::StartInsert: entry.startInsert(); break;
        case Step::RefuseNumber: entry.refuseNumber(); break;
        case Step::Cancel: entry.cancel(); break;
        case Step::Searched: entry.searched(); break;
        case Step::EnterList: saves = entry.enterList(); break;
        case Step::Saved: entry.saved(); break;
        }
    }
    EXPECT_EQ(saves, c.lastEntrySaves);
    EXPECT_EQ(entry.state(), c.after);
}

using S = Step;
INSTANTIATE_TEST_SUITE_P(
    Entry, EntryStates,
    ::testing::Values(
        EntryCase{"activation_guards", {S::Activate, S::EnterList}, false, State::Guarded},
        EntryCase{"leaving_the_list_arms", {S::Activate, S::LeaveList, S::EnterList}, true, State::Armed},
        EntryCase{"cancel_guards", {S::Activate, S::LeaveList, S::Cancel, S::EnterList}, false, State::Guarded},
        EntryCase{"search_guards", {S::Activate, S::Searched, S::EnterList}, false, State::Guarded},
        EntryCase{"insert_saves", {S::Activate, S::StartInsert, S::LeaveList, S::EnterList}, true, State::Inserting},
        EntryCase{"refused_number_ends_the_insert",
                  {S::Activate, S::StartInsert, S::LeaveList, S::RefuseNumber, S::EnterList},
                  false,
                  State::Guarded},
        EntryCase{"saved_stays_armed", {S::Activate, S::LeaveList, S::EnterList, S::Saved}, true, State::Armed},
        EntryCase{"refusal_outside_an_insert_changes_nothing",
                  {S::Activate, S::LeaveList, S::RefuseNumber, S::EnterList},
                  true,
                  State::Armed}),
    labelOf<EntryCase>);

TEST(EntryStates, InsertModeLastsUntilTheNextGuardedEntry)
{
    CustomerEntry entry;
    entry.activate();
    entry.startInsert();
    entry.refuseNumber();
    EXPECT_TRUE(entry.inserting());
    EXPECT_TRUE(entry.guarded());
    entry.enterList();
    EXPECT_FALSE(entry.inserting());
}

struct FieldCase {
    const char* label;
    const char* column;
    const char* text;
    bool refused;
    const char* message;
    bool beep;
};

class CustomerFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CustomerFields, AreCheckedOnLeaving)
{
    const FieldCase& c = GetParam();
    const kv::customers::FieldVerdict verdict =
        kv::customers::checkCustomerField(QString::fromLatin1(c.column), QString::fromLatin1(c.text));
    EXPECT_EQ(verdict.refused, c.refused);
    EXPECT_EQ(verdict.message, QString::fromUtf8(c.message));
    if (c.refused) {
        EXPECT_EQ(verdict.beep, c.beep);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, CustomerFields,
                         ::testing::Values(FieldCase{"price_print_S", "IMPPRC", "S", false, "", true},
                                           FieldCase{"price_print_X", "IMPPRC", "X", true, "DIGITE [S] ou [N]", true},
                                           FieldCase{"vat_empty", "ISEIVA", "", true, "DIGITE [S] ou [N]", true},
                                           FieldCase{"reference_print_no_beep", "IMPARTIGO", "s", true,
                                                     "DIGITE <S> ou <N>", false},
                                           FieldCase{"price_code_1", "CODPRC", "1", false, "", true},
                                           FieldCase{"price_code_4", "CODPRC", "4", false, "", true},
                                           FieldCase{"price_code_0", "CODPRC", "0", true, "DIGITE de [1...4]", true},
                                           FieldCase{"price_code_5", "CODPRC", "5", true, "DIGITE de [1...4]", true},
                                           FieldCase{"price_code_text", "CODPRC", "A", true, "DIGITE de [1...4]", true},
                                           FieldCase{"name_empty", "NOME", "  ", true, "", true},
                                           FieldCase{"taxpayer_dot", "NIF", ".", false, "", true},
                                           FieldCase{"free_field", "MORADA1", "", false, "", true}),
                         labelOf<FieldCase>);

struct LineCase {
    const char* label;
    std::function<QString()> check;
    const char* message;
};

class LineFields : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineFields, AreCheckedOnLeaving) { EXPECT_EQ(GetParam().check(), QString::fromUtf8(GetParam().message)); }

namespace lc = kv::customers::lineChecks;
INSTANTIATE_TEST_SUITE_P(
    Lines, LineFields,
    ::testing::Values(
        LineCase{"invoice_0", [] { return lc::invoice("0"); }, "Digite um Valor superior a (1)"},
        LineCase{"invoice_empty", [] { return lc::invoice(""); }, "Digite um Valor superior a (1)"},
        LineCase{"invoice_1", [] { return lc::invoice("1"); }, ""},
        LineCase{"day_28", [] { return lc::day("28"); }, ""},
        LineCase{"day_29", [] { return lc::day("29"); }, "Digite de 1 a 28"},
        LineCase{"day_0", [] { return lc::day("0"); }, "Digite de 1 a 28"},
        LineCase{"day_empty", [] { return lc::day(""); }, "Digite Inválido"},
        LineCase{"period_T", [] { return lc::period("T"); }, ""},
        LineCase{"period_X", [] { return lc::period("X"); }, "Digite (M);(B);(T);(S);(A)"},
        LineCase{"period_empty", [] { return lc::period(""); }, "Digite (M);(B);(T);(S);(A)"},
        LineCase{"free_line_zero_quantity", [] { return lc::amount("0", false, false); }, ""},
        LineCase{"free_line_empty_price", [] { return lc::amount("", false, true); }, ""},
        LineCase{"free_line_quantity", [] { return lc::amount("2", false, false); },
                 "Quantidade Inválida, Preencha o Artigo"},
        LineCase{"free_line_price", [] { return lc::amount("3,5", false, true); }, "Preço Inválido, Preencha o Artigo"},
        LineCase{"article_zero_quantity", [] { return lc::amount("0", true, false); }, "Quantidade Inválida"},
        LineCase{"article_price", [] { return lc::amount("12.50", true, true); }, ""},
        LineCase{"contract_equal_dates", [] { return lc::contract(QDate(2024, 1, 1), QDate(2024, 1, 1)); },
                 "Limite de Datas de Contracto Inválida !!!"},
        LineCase{"contract_reversed", [] { return lc::contract(QDate(2024, 2, 1), QDate(2024, 1, 1)); },
                 "Limite de Datas de Contracto Inválida !!!"},
        LineCase{"contract_blank_end", [] { return lc::contract(QDate(2024, 2, 1), QDate()); },
                 "Limite de Datas de Contracto Inválida !!!"},
        LineCase{"contract_good", [] { return lc::contract(QDate(2024, 1, 1), QDate(2024, 12, 31)); }, ""}),
    labelOf<LineCase>);

} // namespace
