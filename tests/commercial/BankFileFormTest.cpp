// The kinds of bank account and the banks with their accounts, on the demo
// company (kinds 0 to 3; bank 1 with accounts of kinds 0 and 2, bank 2 with
// its kind 0 account; the accounting link on, the chart's 1201 and 1202).
#include "commercial/CommercialSession.h"

#include "platform/db/Connection.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QTabWidget>

using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

const QString Beep = QStringLiteral("<beep>");

QStringList refused(const char* message) { return {Beep, QString::fromUtf8(message)}; }

struct Banking {
    explicit Banking(Engine engine) : session(scenario, engine, kv::test::Company::Demo) {}

    int count(const QString& sql) { return session.invoicing()->scalar(sql).toInt(); }
    QString value(const QString& sql) { return session.invoicing()->scalar(sql).toString(); }
    FormDriver open(const char* form)
    {
        FormDriver opened = scenario.open(form);
        scenario.settle();
        return opened;
    }
    // Back to the grid from the keyboard, as Tab from the last field: a click
    // would also choose the line clicked.
    void returnToGrid(FormDriver& form)
    {
        form.find("DBGrid1")->setFocus(Qt::TabFocusReason);
        scenario.settle();
    }
    void stand(const char* dataset, const char* column, const QVariant& key)
    {
        ASSERT_TRUE(session.dataset(QString::fromUtf8(dataset)).locate(QString::fromUtf8(column), key));
        scenario.settle();
    }
    // A new bank typed up to its postal code, not yet saved.
    void typeNewBank(FormDriver& form, const QString& code, const QString& postal = QStringLiteral("4050-123"))
    {
        form.click("BotInserir");
        form.type("Edit_Codigo", code);
        form.enter();
        form.type("Edit_Nome", "Banco Novo");
        form.enter();
        form.type("Edit_Sigla", "BN");
        form.enter();
        form.type("Edit_CodPostal", postal);
        form.enter();
        scenario.settle();
    }

    kv::test::Scenario scenario;
    CommercialSession session;
};

// ------------------------------------------------------------------ kinds of account

struct KindKeyCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
};

class KindKey : public ::testing::TestWithParam<std::tuple<KindKeyCase, Engine>> {};

TEST_P(KindKey, IsOneDigitCheckedAsText)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Banking b(engine);
    FormDriver form = b.open("TFACF023");
    b.scenario.messages().clear();
    form.click("BotInserir");
    form.type("Edit_Classif", c.typed);
    form.enter();
    b.scenario.settle();
    EXPECT_EQ(b.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Banking, KindKey,
    ::testing::Combine(::testing::Values(KindKeyCase{"free", "7", {}, "Edit_Descri"},
                                         KindKeyCase{"two digits", "57", {}, "Edit_Descri"},
                                         KindKeyCase{"taken", "2", refused("Registo já Existe ... <ENTER>"), "DBGrid1"},
                                         KindKeyCase{"letter", "A", refused("Digite de [0] a [9]"), "Edit_Classif"},
                                         KindKeyCase{"empty", "", refused("Digite de [0] a [9]"), "Edit_Classif"}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<KindKeyCase>);

class AccountKinds : public ::testing::TestWithParam<Engine> {};

// Only the first character is kept; the grid stands on the new kind.
TEST_P(AccountKinds, NewKindIsSavedAtTheGrid)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF023");
    form.click("BotInserir");
    form.type("Edit_Classif", "57");
    form.enter();
    form.type("Edit_Descri", "");
    form.enter();
    EXPECT_EQ(b.scenario.messages().transcript(), refused("DDesignação Inválida"));
    EXPECT_EQ(form.focused(), "Edit_Descri");
    form.type("Edit_Descri", "Leasing");
    b.returnToGrid(form);
    EXPECT_EQ(b.value("SELECT SALDO_DESCRI FROM BANCOSTABSALDOS WHERE CLASSIF = '5'"), "Leasing");
    EXPECT_EQ(b.session.dataset("DTTABELAS.BANCOSTABSALDOS").value("CLASSIF").toString(), "5");
    EXPECT_EQ(form.text("Edit_Classif"), "5");
}

// Closing drops what a return to the grid did not save, new or changed.
TEST_P(AccountKinds, CloseSavesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF023");
    form.focus("Edit_Descri");
    form.type("Edit_Descri", "Outra");
    form.close();
    b.scenario.settle();
    EXPECT_EQ(b.value("SELECT SALDO_DESCRI FROM BANCOSTABSALDOS WHERE CLASSIF = '0'"),
              QString::fromUtf8("Depósitos Ordem"));

    form = b.open("TFACF023");
    form.click("BotInserir");
    form.type("Edit_Classif", "8");
    form.enter();
    form.type("Edit_Descri", "Nova");
    form.close();
    b.scenario.settle();
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSTABSALDOS WHERE CLASSIF = '8'"), 0);
}

// Without a rights row: "INVALID KEY", and the kinds can only be browsed.
TEST_P(AccountKinds, NoRightsRowOnlyBrowses)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CommercialSession plain(scenario, GetParam());
    FormDriver form = scenario.open("TFACF023");
    scenario.settle();
    EXPECT_EQ(scenario.messages().transcript(), QStringList{"INVALID KEY"});
    EXPECT_FALSE(form.isVisible("BotInserir"));
    EXPECT_FALSE(form.isVisible("BotDelete"));
    EXPECT_FALSE(form.isEnabled("Edit_Descri"));
}

KV_ENGINE_SUITE(AccountKinds);

} // namespace
