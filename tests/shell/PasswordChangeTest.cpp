#include "shell/PasswordChange.h"

#include <gtest/gtest.h>

using kv::shell::PasswordChange;

namespace {

struct PasswordCase {
    const char* label;
    QString typedNew;
    QString typedConfirmation;
    QString message; // of "Confirmar"; empty when accepted
    int focusField;
    QString stored; // what is written when accepted
};

void PrintTo(const PasswordCase& c, std::ostream* os) { *os << c.label; }

class PasswordCases : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(PasswordCases, ConfirmChecksBothFields)
{
    const PasswordCase& c = GetParam();
    const auto check = PasswordChange::confirm(c.typedNew, c.typedConfirmation);
    EXPECT_EQ(check.message, c.message);
    EXPECT_EQ(check.focusField, c.focusField);
    if (check.ok()) {
        EXPECT_EQ(PasswordChange::stored(c.typedNew), c.stored);
    }
}

const QString Invalid = "Palavra passe inválida ...";
const QString TooLong = "Excedeu o Nº de caracteres = 15 ...";
const QString Differs = "Confirmação <> da nova palavra passe, tente novamente ...";

INSTANTIATE_TEST_SUITE_P(
    Password, PasswordCases,
    ::testing::Values(PasswordCase{"equal", "NOVA1", "NOVA1", "", 0, "NOVA1"},
                      PasswordCase{"letter case differs", "nova1", "NOVA1", "", 0, "NOVA1"},
                      PasswordCase{"fifteen characters", QString(15, 'x'), QString(15, 'X'), "", 0, QString(15, 'X')},
                      PasswordCase{"sixteen in the first", QString(16, 'X'), QString(16, 'X'), TooLong, 1, ""},
                      PasswordCase{"sixteen in the second", "NOVA1", QString(16, 'X'), TooLong, 2, ""},
                      PasswordCase{"first empty", "", "NOVA1", Invalid, 1, ""},
                      PasswordCase{"second empty", "NOVA1", "", Invalid, 2, ""},
                      PasswordCase{"confirmation differs: back to the first", "NOVA1", "NOVA2", Differs, 1, ""}));

TEST(PasswordChange, LeavingTheFirstFieldChecksOnlyIt)
{
    EXPECT_TRUE(PasswordChange::checkNew("NOVA1").ok());
    EXPECT_EQ(PasswordChange::checkNew("").focusField, 1);
    EXPECT_EQ(PasswordChange::checkConfirmation("NOVA1", "").focusField, 2);
}

} // namespace
