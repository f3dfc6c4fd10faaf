// The VAT codes with their purchase rows, on the demo company (accounting
// link on, VAT codes 1 to 4, purchase rows for 1 to 4).
#include "commercial/CommercialSession.h"

#include "commercial/forms/CommercialListReport.h"
#include "platform/db/Connection.h"
#include "platform/report/Document.h"
#include "platform/ui/FormRegistry.h"
#include "support/ScriptedMessages.h"

#include <QDialog>
#include <QTabWidget>
#include <memory>

using namespace kv::commercial;
using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

struct Vat {
    explicit Vat(Engine engine, bool linkOn = true) : session(scenario, engine, kv::test::Company::Demo)
    {
        if (!linkOn)
            session.invoicing()->exec("UPDATE PARGER SET CONTABILIDADE = 'N'");
        form = scenario.open("TFACF003");
        scenario.settle();
        scenario.messages().clear();
    }

    int count(const QString& sql) { return session.invoicing()->scalar(sql).toInt(); }
    void showPurchases() { form.find<QTabWidget>("NB")->setCurrentIndex(1); }
    void stand(int code)
    {
        kv::db::Dataset& codes = session.dataset("DTTABELAS.IVA");
        ASSERT_TRUE(codes.locate("CODIGO", code));
        scenario.settle();
    }

    kv::test::Scenario scenario;
    CommercialSession session;
    FormDriver form;
};

class VatCodes : public ::testing::TestWithParam<Engine> {};

// A new code is saved with its purchase row under the same number.
TEST_P(VatCodes, NewCodeIsSavedWithItsPurchaseRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Vat v(GetParam());
    v.form.click("BotInserir");
    v.scenario.settle();
    EXPECT_EQ(v.form.text("Edit_Codigo"), "5");
    v.form.enter();
    v.form.type("Edit_PrcIva", "21");
    v.form.enter();
    v.scenario.settle();
    v.showPurchases();
    v.scenario.settle();
    v.form.type("Edit_MN_Exi", "24321");
    v.form.focus("DBGrid1");
    v.scenario.settle();
    EXPECT_EQ(v.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVA WHERE CODIGO = 5 AND PRCIVA = 21"), 1);
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS WHERE CODIVA = 5 AND CONTACOMPRASMN_EXI = '24321'"), 1);
}

// A code without a purchase row shows empty purchase fields, not another
// code's accounts, and gets its row (empty) when it is edited.
TEST_P(VatCodes, CodeWithoutPurchaseRowShowsNoneAndGetsOne)
{
    KV_SKIP_WITHOUT(GetParam());
    Vat v(GetParam());
    v.form.close();
    v.scenario.settle();
    v.session.invoicing()->exec("DELETE FROM IVACOMPRAS WHERE CODIVA = 3");
    v.form = v.scenario.open("TFACF003");
    v.scenario.settle();
    v.stand(2);
    v.showPurchases();
    EXPECT_EQ(v.form.text("Edit_MN_Exi"), "24321");
    v.stand(3);
    EXPECT_EQ(v.form.text("Edit_MN_Exi"), "");
    EXPECT_EQ(v.form.text("Edit_MI_Lq"), "");
    v.form.focus("Edit_PrcIva");
    v.form.focus("DBGrid1");
    v.scenario.settle();
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS WHERE CODIVA = 3 AND CONTACOMPRASMN_EXI IS NULL"), 1);
}

// A purchase row the database refuses (another workstation took its code
// meanwhile) keeps the VAT row from being written as well: nothing of the
// pair is saved, the database's message is shown, the changes stay pending.
TEST_P(VatCodes, RefusedPurchaseRowWritesNeitherRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Vat v(GetParam());
    v.form.click("BotInserir");
    v.form.enter();
    v.form.type("Edit_PrcIva", "21");
    v.form.enter();
    v.scenario.settle();
    v.session.invoicing()->exec("INSERT INTO IVACOMPRAS (CODIVA) VALUES (5)");
    v.form.focus("DBGrid1");
    v.scenario.settle();
    const QStringList texts = v.scenario.messages().texts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("A base de dados"))) << texts[0].toStdString();
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVA WHERE CODIGO = 5"), 0);
    EXPECT_TRUE(v.session.dataset("DTTABELAS.IVA").hasPendingChanges());
    // Once the other workstation's row is gone the same changes go through.
    v.session.invoicing()->exec("DELETE FROM IVACOMPRAS WHERE CODIVA = 5");
    v.scenario.messages().clear();
    v.form.close();
    v.scenario.settle();
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVA WHERE CODIGO = 5"), 1);
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS WHERE CODIVA = 5"), 1);
}

// Eliminar removes the code and its purchase row together.
TEST_P(VatCodes, DeletionTakesThePurchaseRowAlong)
{
    KV_SKIP_WITHOUT(GetParam());
    Vat v(GetParam());
    v.stand(2);
    v.scenario.messages().answer(true);
    v.form.click("BotDelete");
    v.scenario.settle();
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVA WHERE CODIGO = 2"), 0);
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS WHERE CODIVA = 2"), 0);
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS"), 3);
}

// A refused key leaves no row of either table behind.
TEST_P(VatCodes, TakenCodeLeavesNoNewRows)
{
    KV_SKIP_WITHOUT(GetParam());
    Vat v(GetParam());
    v.form.click("BotInserir");
    v.form.type("Edit_Codigo", "2");
    v.form.enter();
    v.scenario.settle();
    EXPECT_EQ(v.scenario.messages().transcript(),
              (QStringList{kv::test::ScriptedMessages::BeepEntry, "CÓDIGO DE IVA JÁ EXISTE ... <ENTER>"}));
    EXPECT_EQ(v.form.focused(), "DBGrid1");
    v.form.close();
    v.scenario.settle();
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVA"), 4);
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS"), 4);
}

// With the accounting link off the sales side cannot be reached and no
// label is filled; the purchase accounts are typed freely.
TEST_P(VatCodes, LinkOffLeavesPurchasesTypedUnchecked)
{
    KV_SKIP_WITHOUT(GetParam());
    Vat v(GetParam(), false);
    EXPECT_EQ(v.form.text("Label_ContaVendas"), "");
    v.stand(1);
    v.form.focus("Edit_PrcIva");
    v.showPurchases();
    v.form.type("Edit_MN_Exi", "999");
    v.form.enter();
    v.scenario.settle();
    EXPECT_EQ(v.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(v.form.focused(), "Edit_MN_Imb");
    v.form.focus("DBGrid1");
    v.scenario.settle();
    EXPECT_EQ(v.count("SELECT COUNT(*) FROM IVACOMPRAS WHERE CODIVA = 1 AND CONTACOMPRASMN_EXI = '999'"), 1);
}

KV_ENGINE_SUITE(VatCodes);

// The account and accounting-code fields checked on leaving them.
struct VatFieldCase {
    const char* label;
    const char* field;
    bool purchasePage;
    QString typed;
    QStringList transcript;
    QString labelText; // "" where the field has no label
    bool focusStays;
};

class VatField : public ::testing::TestWithParam<std::tuple<VatFieldCase, Engine>> {};

TEST_P(VatField, IsCheckedOnLeaving)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Vat v(engine);
    v.stand(1);
    v.form.focus("Edit_PrcIva");
    if (c.purchasePage)
        v.showPurchases();
    const QString field = QString::fromLatin1(c.field);
    v.form.type(field, c.typed);
    v.form.enter();
    v.scenario.settle();
    EXPECT_EQ(v.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(v.form.focused() == field, c.focusStays);
    if (!c.purchasePage) {
        EXPECT_EQ(v.form.text(QStringLiteral("Label_") + field.mid(5)), c.labelText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commercial, VatField,
    ::testing::Combine(
        ::testing::Values(
            VatFieldCase{"sales above range", "Edit_ContaVendas", false, "2439", {"CONTA INEXISTENTE"}, "", true},
            VatFieldCase{"sales below range", "Edit_ContaVendas", false, "242", {"CONTA INEXISTENTE"}, "", true},
            VatFieldCase{"sales not posting",
                         "Edit_ContaVendas",
                         false,
                         "2432",
                         {QString::fromUtf8("CONTA NÃO É DE LANÇAMENTO")},
                         "",
                         true},
            VatFieldCase{
                "returns found", "Edit_ContaDevoluc", false, "24332", {}, "IVA Liquidado - Taxa Normal", false},
            VatFieldCase{"accounting code unknown",
                         "Edit_CodIva",
                         false,
                         "9",
                         {QString::fromUtf8("Código de IVA Inexistente")},
                         "",
                         true},
            VatFieldCase{"accounting code found", "Edit_CodIva_OU", false, "5", {}, "Isento Intracomunit.", false},
            VatFieldCase{"purchase unknown", "Edit_MN_Exi", true, "999", {"Conta Inexistente ..."}, "", true},
            VatFieldCase{"purchase not posting",
                         "Edit_MI_Lq",
                         true,
                         "2433",
                         {QString::fromUtf8("Conta não é de Lançamento ...")},
                         "",
                         true}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<VatFieldCase>);

// The key's range: the member's message for a number out of it and for a
// text that is not a whole number.
struct VatKeyCase {
    const char* label;
    QString typed;
};

class VatKey : public ::testing::TestWithParam<std::tuple<VatKeyCase, Engine>> {};

TEST_P(VatKey, OutsideTheRangeIsRefused)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Vat v(engine);
    v.form.click("BotInserir");
    v.form.type("Edit_Codigo", c.typed);
    v.form.enter();
    v.scenario.settle();
    EXPECT_EQ(v.scenario.messages().transcript(),
              (QStringList{kv::test::ScriptedMessages::BeepEntry, "Digite de [1...999]"}));
    EXPECT_EQ(v.form.focused(), "Edit_Codigo");
}

INSTANTIATE_TEST_SUITE_P(Commercial, VatKey,
                         ::testing::Combine(::testing::Values(VatKeyCase{"zero", "0"}, VatKeyCase{"too large", "1000"},
                                                              VatKeyCase{"not whole", "2,5"}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<VatKeyCase>);

} // namespace
