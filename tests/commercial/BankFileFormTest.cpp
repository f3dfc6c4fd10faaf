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
    // The accounts page of a bank being edited (the grid left for its name).
    void editAccountsOf(FormDriver& form, int bank)
    {
        stand("DTFILES.BANCOS", "CODIGO", bank);
        form.focus("Edit_Nome");
        form.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
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

// The keys of the three forms: a kind is one character between "0" and "9"
// compared as text (its first kept), a bank or an agent a whole number
// from 1 to 99999; a taken key sends the focus back to the grid.
struct KeyCase {
    const char* label;
    const char* form;
    QString typed;
    QStringList transcript;
    QString focus;
};

class TypedKey : public ::testing::TestWithParam<std::tuple<KeyCase, Engine>> {};

TEST_P(TypedKey, IsCheckedOnLeavingIt)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Banking b(engine);
    FormDriver form = b.open(c.form);
    b.scenario.messages().clear();
    form.click("BotInserir");
    const QString keyEdit = QLatin1String(c.form) == QLatin1String("TFACF023") ? "Edit_Classif" : "Edit_Codigo";
    form.type(keyEdit, c.typed);
    form.enter();
    b.scenario.settle();
    EXPECT_EQ(b.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

const QStringList OutOfRange = refused("DIGITE DE [1] a [99999]");

INSTANTIATE_TEST_SUITE_P(
    Banking, TypedKey,
    ::testing::Combine(
        ::testing::Values(
            KeyCase{"kind free", "TFACF023", "7", {}, "Edit_Descri"},
            KeyCase{"kind of two digits", "TFACF023", "57", {}, "Edit_Descri"},
            KeyCase{"kind taken", "TFACF023", "2", refused("Registo já Existe ... <ENTER>"), "DBGrid1"},
            KeyCase{"kind letter", "TFACF023", "A", refused("Digite de [0] a [9]"), "Edit_Classif"},
            KeyCase{"kind empty", "TFACF023", "", refused("Digite de [0] a [9]"), "Edit_Classif"},
            KeyCase{"bank free", "TFACF030A", "7", {}, "Edit_Nome"},
            KeyCase{"bank empty", "TFACF030A", "", {Beep}, "Edit_Codigo"},
            KeyCase{"bank zero", "TFACF030A", "0", OutOfRange, "Edit_Codigo"},
            KeyCase{"bank negative", "TFACF030A", "-3", OutOfRange, "Edit_Codigo"},
            KeyCase{"bank too large", "TFACF030A", "100000", OutOfRange, "Edit_Codigo"},
            KeyCase{"bank not whole", "TFACF030A", "2,5", OutOfRange, "Edit_Codigo"},
            KeyCase{"bank taken", "TFACF030A", "2", refused("BANCO JÁ FOI ABERTO ... <ENTER>"), "DBGrid1"},
            KeyCase{"agent free", "TFACF031", "3", {}, "Edit_Nome"},
            KeyCase{"agent empty", "TFACF031", "", {Beep}, "Edit_Codigo"},
            KeyCase{"agent zero", "TFACF031", "0", OutOfRange, "Edit_Codigo"},
            KeyCase{"agent negative", "TFACF031", "-1", OutOfRange, "Edit_Codigo"},
            KeyCase{"agent too large", "TFACF031", "100000", OutOfRange, "Edit_Codigo"},
            KeyCase{"agent taken", "TFACF031", "1", refused("AGENTE JÁ FOI ABERTO ... <ENTER>"), "DBGrid1"}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<KeyCase>);

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

// ------------------------------------------------------------------ banks

class Banks : public ::testing::TestWithParam<Engine> {};

// The new bank and its demand-deposit account are stored together; the
// postal code gave the country and both telephone prefixes, and an empty
// reconciled balance is stored as 0.
TEST_P(Banks, NewBankGetsItsDemandAccount)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    b.typeNewBank(form, "7");
    EXPECT_EQ(form.text("Edit_Localidade"), "Porto");
    EXPECT_EQ(form.text("Edit_Pais"), "PORTUGAL");
    EXPECT_EQ(form.text("Edit_TelCodPais"), "351");
    EXPECT_EQ(form.text("Edit_TelCodZona"), "22");
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 7"), 0);
    b.returnToGrid(form);
    EXPECT_EQ(b.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOS WHERE CODIGO = 7 AND PAIS = 'PORTUGAL' AND TELCODPAIS = '351' "
                      "AND TELCODZONA = '22' AND SALDO_RECON = 0"),
              1);
    EXPECT_EQ(b.value("SELECT SALDO_DESCRI FROM BANCOSSALDOS WHERE CODIGO = 7 AND CLASSIF = '0' "
                      "AND DATABE IS NOT NULL"),
              QString::fromUtf8("Depósitos Ordem"));
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 7"), 1);
}

// A bank the database refuses (its code taken meanwhile by another
// workstation) leaves no account behind.
TEST_P(Banks, RefusedBankLeavesNoAccount)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    b.typeNewBank(form, "8");
    kv::test::insertRows(*b.session.invoicing(), "BANCOS", {"CODIGO", "NOME", "SIGLA"}, {{8, "Outro Banco", "OB"}});
    b.returnToGrid(form);
    EXPECT_GE(b.scenario.messages().beeps(), 1);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 8"), 0);
    EXPECT_EQ(b.value("SELECT NOME FROM BANCOS WHERE CODIGO = 8"), "Outro Banco");
}

// The checks of the fields are made again before the save: a bank without
// its short name or postal code is not stored.
TEST_P(Banks, UncheckedBankIsNotSaved)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    form.click("BotInserir");
    form.type("Edit_Codigo", "9");
    form.enter();
    form.type("Edit_Nome", "Sem Sigla");
    b.returnToGrid(form);
    EXPECT_EQ(b.scenario.messages().transcript(), QStringList{Beep});
    EXPECT_EQ(form.focused(), "Edit_Sigla");
    form.type("Edit_Sigla", "SS");
    b.returnToGrid(form);
    EXPECT_EQ(b.scenario.messages().transcript(), (QStringList{Beep, Beep}));
    EXPECT_EQ(form.focused(), "Edit_CodPostal");
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOS WHERE CODIGO = 9"), 0);
}

// A postal code whose country is not in the countries table is refused.
TEST_P(Banks, PostalCodeWithoutItsCountry)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    kv::test::insertRows(*b.session.invoicing(), "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS", "TELCODZONA"},
                         {{"1000-001", "Lisboa", "PORTUGALIA", "21"}});
    FormDriver form = b.open("TFACF030A");
    b.typeNewBank(form, "7", "1000-001");
    EXPECT_EQ(b.scenario.messages().transcript(), refused("PAÍS INEXISTENTE"));
    EXPECT_EQ(form.focused(), "Edit_CodPostal");
    EXPECT_EQ(form.text("Edit_Pais"), "");
}

// The buttons of the kinds defined, with their descriptions as hints; a
// kind added through the side door gets its button at once.
TEST_P(Banks, KindButtonsFollowTheKinds)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    form.focus("Edit_Nome");
    form.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    b.scenario.settle();
    for (int digit = 0; digit < 10; ++digit)
        EXPECT_EQ(form.isVisible(QStringLiteral("BotSaldo%1").arg(digit)), digit <= 3) << digit;
    EXPECT_EQ(form.find("BotSaldo3")->toolTip(), "Desconto Letras");
    b.scenario.onDialog([&](FormDriver& kinds) {
        EXPECT_EQ(kinds.window()->objectName(), "TFACF023");
        kinds.click("BotInserir");
        kinds.type("Edit_Classif", "4");
        kinds.enter();
        kinds.type("Edit_Descri", "Leasing");
        kinds.find("DBGrid1")->setFocus(Qt::TabFocusReason);
        b.scenario.settle();
        kinds.close();
    });
    form.click("BotTabSaldos");
    b.scenario.settle();
    EXPECT_TRUE(form.isVisible("BotSaldo4"));
    EXPECT_EQ(form.find("BotSaldo4")->toolTip(), "Leasing");
}

// A kind button creates the bank's account of that kind at once, with the
// kind's description, before anything is typed.
TEST_P(Banks, KindButtonCreatesTheAccount)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    b.editAccountsOf(form, 2);
    form.click("BotSaldo1");
    b.scenario.settle();
    EXPECT_EQ(b.value("SELECT SALDO_DESCRI FROM BANCOSSALDOS WHERE CODIGO = 2 AND CLASSIF = '1'"),
              QString::fromUtf8("Depósitos Prazo"));
    EXPECT_EQ(form.text("Edit_CodSaldo"), "1");
    EXPECT_EQ(form.focused(), "Edit_GestorConta");
}

// An account is saved on leaving its accounting account, which must be in
// the year's chart below '20'; with the link off, on leaving the plafond.
struct AccountSaveCase {
    const char* label;
    bool linkOn;
    QString ledger;
    QStringList transcript;
    bool saved;
};

class AccountSave : public ::testing::TestWithParam<std::tuple<AccountSaveCase, Engine>> {};

TEST_P(AccountSave, OnLeavingItsLastField)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Banking b(engine);
    if (!c.linkOn)
        b.session.invoicing()->exec("UPDATE PARGER SET CONTABILIDADE = 'N'");
    FormDriver form = b.open("TFACF030A");
    b.editAccountsOf(form, 2);
    form.click("BotSaldo0");
    form.type("Edit_GestorConta", "Nova Gestora");
    form.type("Edit_SaldoPlafond", "2500,5");
    if (c.linkOn) {
        form.enter();
        form.type("Edit_Contab", c.ledger);
    }
    form.enter();
    b.scenario.settle();
    EXPECT_EQ(b.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 2 AND CLASSIF = '0' "
                      "AND GESTORCONTA = 'Nova Gestora' AND SALDO_PLAFOND = 2500.5"),
              c.saved ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Banking, AccountSave,
                         ::testing::Combine(::testing::Values(AccountSaveCase{"chart account", true, "1202", {}, true},
                                                              AccountSaveCase{"not in the chart", true, "1299",
                                                                              refused("Conta Inexistente"), false},
                                                              AccountSaveCase{"above the banks", true, "2111",
                                                                              refused("Conta Inexistente"), false},
                                                              AccountSaveCase{"link off", false, "", {}, true}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<AccountSaveCase>);

// An amount that is not a number stops the account's save with a message.
TEST_P(Banks, AmountThatIsNotANumber)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    b.editAccountsOf(form, 2);
    form.click("BotSaldo0");
    form.type("Edit_GestorConta", "Outro");
    form.type("Edit_SaldoActual", "muito");
    form.focus("Edit_Contab");
    form.type("Edit_Contab", "1202");
    form.enter();
    EXPECT_EQ(b.scenario.messages().transcript(), refused("VALOR INVÁLIDO ... <ENTER>"));
    EXPECT_EQ(form.focused(), "Edit_SaldoActual");
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE GESTORCONTA = 'Outro'"), 0);
}

// The demand-deposit account is never deleted alone; another kind is.
TEST_P(Banks, DeletingAnAccount)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    b.editAccountsOf(form, 1);
    ASSERT_EQ(form.gridRowCount("DBGrid2"), 2);
    form.clickRow("DBGrid2", 0);
    b.scenario.messages().answer(true);
    form.press(Qt::Key_Delete);
    EXPECT_EQ(b.scenario.messages().transcript(),
              (QStringList{QString::fromUtf8("Eliminar Conta !!! Confirma ?"), Beep,
                           QString::fromUtf8("Não pode eliminar a Conta de Depósitos à Ordem")}));
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 1"), 2);
    b.scenario.messages().clear();
    form.focus("Edit_Nome");
    form.find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    form.clickRow("DBGrid2", 1);
    b.scenario.messages().answer(true);
    form.press(Qt::Key_Delete);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 1"), 1);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 1 AND CLASSIF = '0'"), 1);
}

// A bank goes with all of its accounts.
TEST_P(Banks, BankDeletedWithItsAccounts)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    FormDriver form = b.open("TFACF030A");
    b.stand("DTFILES.BANCOS", "CODIGO", 1);
    b.scenario.messages().answer(true);
    form.click("BotDelete");
    b.scenario.settle();
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOS WHERE CODIGO = 1"), 0);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 1"), 0);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 2"), 1);
}

// Without kind "0" every bank that becomes current says so, and none gets an account.
TEST_P(Banks, MissingDemandKindWhileScrolling)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    b.session.invoicing()->exec("DELETE FROM BANCOSTABSALDOS WHERE CLASSIF = '0'");
    b.session.invoicing()->exec("DELETE FROM BANCOSSALDOS WHERE CLASSIF = '0'");
    FormDriver form = b.open("TFACF030A");
    b.scenario.messages().clear();
    b.stand("DTFILES.BANCOS", "CODIGO", 2);
    b.stand("DTFILES.BANCOS", "CODIGO", 1);
    EXPECT_EQ(b.scenario.messages().transcript(),
              (QStringList{Beep, QString::fromUtf8("Código Inválido, Tabela de Saldos - < 0 >"), Beep,
                           QString::fromUtf8("Código Inválido, Tabela de Saldos - < 0 >")}));
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CLASSIF = '0'"), 0);
}

// A bank found without its demand-deposit account gets it as it becomes current.
TEST_P(Banks, MissingDemandAccountIsCreated)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    b.session.invoicing()->exec("DELETE FROM BANCOSSALDOS WHERE CODIGO = 2");
    FormDriver form = b.open("TFACF030A");
    b.stand("DTFILES.BANCOS", "CODIGO", 2);
    EXPECT_EQ(b.count("SELECT COUNT(*) FROM BANCOSSALDOS WHERE CODIGO = 2 AND CLASSIF = '0'"), 1);
    EXPECT_EQ(form.text("Edit_CodSaldo"), "0");
}

// Without the year's parameters the form does not open.
TEST_P(Banks, MissingYearRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Banking b(GetParam());
    b.session.invoicing()->exec("DELETE FROM PARGER");
    FormDriver form = b.open("TFACF030A");
    EXPECT_EQ(b.scenario.messages().transcript(), refused("PARÂMETROS GERAIS INEXISTENTES"));
    EXPECT_FALSE(form.isOpen());
}

KV_ENGINE_SUITE(Banks);

} // namespace
