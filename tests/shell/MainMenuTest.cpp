#include "shell/MainMenu.h"

#include <gtest/gtest.h>

using kv::shell::LoginState;
using kv::shell::MainMenu;

namespace {

struct OpeningCase {
    const char* item;
    const char* letterLayout; // WTipoOrcam
    const char* productionModel; // WTipoOrdFab
    QString form;
    QStringList reports;
    QStringList freeOrder;
};

void PrintTo(const OpeningCase& c, std::ostream* os)
{
    *os << c.item << " " << c.letterLayout << "/" << c.productionModel;
}

class MenuOpenings : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(MenuOpenings, ReportsFirstThenTheForm)
{
    const OpeningCase& c = GetParam();
    LoginState state;
    state.WTipoOrcam = c.letterLayout;
    state.WTipoOrdFab = c.productionModel;
    const auto opening = MainMenu::opening(c.item, state);
    EXPECT_EQ(opening.form, c.form);
    EXPECT_EQ(opening.reports, c.reports);
    EXPECT_EQ(opening.reportFreeOrder, c.freeOrder.isEmpty() ? c.reports : c.freeOrder);
}

const QStringList MicroReports{"TORCFPR102MICRO", "TORCFPR102CORTE", "TORCFPR102REGISTO", "TORCFPR102ETIQ"};

INSTANTIATE_TEST_SUITE_P(
    Menu, MenuOpenings,
    ::testing::Values(
        OpeningCase{"ORC002", "1", "M", "TORCF022", {"TORCFPR022QUAL"}, {}},
        OpeningCase{"ORC002", "M", "M", "TORCF022", {"TORCFPR022MICRO"}, {}},
        OpeningCase{"ORC002", "T", "M", "TORCF022", {"TORCFPR022CONT"}, {}},
        OpeningCase{"ORC002", "X", "M", "TORCF022", {}, {}}, OpeningCase{"PLANO002", "1", "T", "TORCF105", {}, {}},
        OpeningCase{"PLANO002", "1", "M", "TORCF101", {}, {}},
        OpeningCase{"PLANO003", "1", "T", "TORCF106", {"TORCFPR106CONT"}, {}},
        OpeningCase{"PLANO003", "1", "M", "TORCF102", MicroReports, {}},
        OpeningCase{"PLANO003", "1", "", "TORCF102", {}, {}},
        OpeningCase{"ORC004",
                    "1",
                    "M",
                    "TORCF032",
                    {"TORCFPR032ENC_ZADOV", "TORCFPR032micro", "TORCFPR032Amicro", "TORCFPR032Bmicro"},
                    {"TORCFPR032micro", "TORCFPR032Amicro", "TORCFPR032Bmicro", "TORCFPR032ENC_ZADOV"}},
        OpeningCase{
            "PLANO009", "1", "M", "TORCF041", {"TORCFPR041", "TORCFPR041MICRO"}, {"TORCFPR041MICRO", "TORCFPR041"}},
        OpeningCase{"TABORC016", "1", "M", "TORCF016", {"TORCFPR016"}, {}},
        OpeningCase{"GERALSAIR", "1", "M", "", {}, {}}));

// Every function with a toolbar button sits on one of the four pages, and
// every item name is used once.
TEST(MainMenu, ItemsAreUniqueAndButtonsHaveAPage)
{
    QStringList items;
    for (const auto& menu : MainMenu::menus())
        for (const auto* list : {&menu.functions, &menu.submenuFunctions, &menu.afterSubmenu})
            for (const auto& f : *list) {
                EXPECT_FALSE(items.contains(f.item)) << f.item.toStdString();
                items << f.item;
                if (!f.button.isEmpty()) {
                    EXPECT_TRUE(MainMenu::pages().contains(f.page)) << f.item.toStdString();
                }
            }
    EXPECT_TRUE(MainMenu::pages().contains(MainMenu::startPage()));
}

} // namespace
