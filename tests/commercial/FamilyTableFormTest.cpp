// The article families with their purchase rows and the articles' cost
// centres, on the demo company (accounting link on; CAIXAS CANELADO with
// cost centres CC10, CC11, CC12 and a goods purchase row; COLAS without one).
#include "commercial/CommercialSession.h"

#include "commercial/core/ArticleFamilies.h"
#include "platform/db/Connection.h"
#include "platform/ui/MessageServiceSink.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include "commercial/forms/FamilyListReport.h"
#include "platform/report/Document.h"
#include "platform/ui/DbGrid.h"

#include <QTabWidget>
#include <QTest>

using namespace kv::commercial;
using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

struct Families {
    explicit Families(Engine engine, bool linkOn = true) : session(scenario, engine, kv::test::Company::Demo)
    {
        if (!linkOn)
            session.invoicing()->exec("UPDATE PARGER SET CONTABILIDADE = 'N'");
        form = scenario.open("TFACF011");
        scenario.settle();
        scenario.messages().clear();
    }

    int count(const QString& sql) { return session.invoicing()->scalar(sql).toInt(); }
    void stand(const QString& family)
    {
        ASSERT_TRUE(session.dataset("DTTABELAS.FAMILIAS").locate("FAMILIA", family));
        scenario.settle();
    }
    // Leaves the grid for the family's purchase page.
    void purchasesOf(const QString& family)
    {
        stand(family);
        form.focus("Edit_CCusto");
        form.find<QTabWidget>("TabVndCmp")->setCurrentIndex(1);
        scenario.settle();
    }

    kv::test::Scenario scenario;
    CommercialSession session;
    FormDriver form;
};

class FamilyForm : public ::testing::TestWithParam<Engine> {};

// Until a type is chosen no button is down and the purchase fields are
// empty and disabled; a type pressed gets its row, empty, at the save.
TEST_P(FamilyForm, PressedTypeGetsItsPurchaseRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Families f(GetParam());
    f.purchasesOf("COLAS");
    EXPECT_FALSE(f.form.isEnabled("Edit_ComprasCmp"));
    EXPECT_EQ(f.form.text("Edit_ComprasCmp"), "");
    f.form.click("BotMerc");
    f.scenario.settle();
    EXPECT_TRUE(f.form.isEnabled("Edit_ComprasCmp"));
    EXPECT_EQ(f.form.focused(), "Edit_CCustoCmp");
    f.form.click("BotMatPrm");
    f.scenario.settle();
    f.form.type("Edit_ComprasCmp", "3121");
    f.form.enter();
    f.form.focus("DBGrid1");
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(f.count("SELECT COUNT(*) FROM CONTAB_FAMILIAS WHERE FAMILIA = 'COLAS' AND TIPOART = '2' "
                      "AND CONTACOMPRAS IS NULL"),
              1);
    EXPECT_EQ(f.count("SELECT COUNT(*) FROM CONTAB_FAMILIAS WHERE FAMILIA = 'COLAS' AND TIPOART = '6' "
                      "AND CONTACOMPRAS = '3121'"),
              1);
}

// "Diversos" has no consumption cost centre.
TEST_P(FamilyForm, SundriesLeaveTheConsumptionCentreDisabled)
{
    KV_SKIP_WITHOUT(GetParam());
    Families f(GetParam());
    f.purchasesOf("COLAS");
    f.form.click("BotDiversos");
    f.scenario.settle();
    EXPECT_TRUE(f.form.isEnabled("Edit_CCustoCmp"));
    EXPECT_FALSE(f.form.isEnabled("Edit_CCustoCons"));
    f.form.click("BotDesper");
    f.scenario.settle();
    EXPECT_TRUE(f.form.isEnabled("Edit_CCustoCons"));
}

// A purchase row the database refuses keeps the family's own change from
// being written: nothing of the pair is saved.
TEST_P(FamilyForm, RefusedPurchaseRowWritesNeitherRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Families f(GetParam());
    f.purchasesOf("COLAS");
    f.form.click("BotMerc");
    f.scenario.settle();
    f.form.find<QTabWidget>("TabVndCmp")->setCurrentIndex(0);
    f.form.type("Edit_ContaVendas", "7122");
    f.form.enter();
    f.scenario.settle();
    f.session.invoicing()->exec("INSERT INTO CONTAB_FAMILIAS (FAMILIA, TIPOART) VALUES ('COLAS', '2')");
    f.form.focus("DBGrid1");
    f.scenario.settle();
    const QStringList texts = f.scenario.messages().texts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("A base de dados"))) << texts[0].toStdString();
    EXPECT_EQ(f.count("SELECT COUNT(*) FROM FAMILIAS WHERE FAMILIA = 'COLAS' AND CONTAVENDAS = '7122'"), 0);
}

// Eliminar removes the family and its purchase rows of every type together.
TEST_P(FamilyForm, DeletionTakesEveryPurchaseRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Families f(GetParam());
    f.session.invoicing()->exec("INSERT INTO CONTAB_FAMILIAS (FAMILIA, TIPOART) VALUES ('CAIXAS CANELADO', '9')");
    f.stand("CAIXAS CANELADO");
    f.scenario.messages().answer(true);
    f.form.click("BotDelete");
    f.scenario.settle();
    EXPECT_EQ(f.count("SELECT COUNT(*) FROM FAMILIAS WHERE FAMILIA = 'CAIXAS CANELADO'"), 0);
    EXPECT_EQ(f.count("SELECT COUNT(*) FROM CONTAB_FAMILIAS WHERE FAMILIA = 'CAIXAS CANELADO'"), 0);
    EXPECT_EQ(f.count("SELECT COUNT(*) FROM CONTAB_FAMILIAS WHERE FAMILIA = 'CARTONAGENS'"), 1);
}

// Browsing onto a family whose cost centre the year no longer has names the
// fault in the label, with no message and no move out of the grid.
TEST_P(FamilyForm, BrowsingRefreshesLabelsOnly)
{
    KV_SKIP_WITHOUT(GetParam());
    Families f(GetParam());
    f.session.invoicing()->exec("UPDATE FAMILIAS SET CCUSTOMERC = 'CC99' WHERE FAMILIA = 'COLAS'");
    kv::db::Dataset& rows = f.session.dataset("DTTABELAS.FAMILIAS");
    rows.close();
    rows.open();
    f.stand("COLAS");
    EXPECT_EQ(f.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(f.form.focused(), "DBGrid1");
    EXPECT_EQ(f.form.text("Label_CCustoMerc"), "CENTRO DE CUSTO INEXISTENTE !!!");
}

// With the link off only the family codes are kept.
TEST_P(FamilyForm, LinkOffKeepsCodesOnly)
{
    KV_SKIP_WITHOUT(GetParam());
    Families f(GetParam(), false);
    EXPECT_FALSE(f.form.isEnabled("TabVndCmp"));
    EXPECT_FALSE(f.form.isEnabled("BotActualArtigos"));
    EXPECT_EQ(f.form.text("Label_ContaVendas"), "");
}

// "Copiar Família" (F1 in the grid) and "Copiar Parametros" (F1 in a sales
// account) copy the cost centres and the 27 accounts of the family picked,
// empty ones too; picking the family itself changes nothing.
TEST_P(FamilyForm, CopiesTheAccountsOfTheFamilyPicked)
{
    KV_SKIP_WITHOUT(GetParam());
    const struct {
        const char* label;
        const char* from;
        const char* askedIn; // the field where F1 is pressed
        const char* sales; // COLAS's CONTAVENDAS after the copy
        const char* products; // COLAS's CCUSTO after the copy
    } cases[] = {
        {"empty family", "VAZIA", "DBGrid1", "", ""},
        {"another family", "CAIXAS CANELADO", "Edit_ContaVendas", "7122", "CC10"},
        {"itself", "COLAS", "DBGrid1", "7123", "CC10"},
    };
    for (const auto& c : cases) {
        Families f(GetParam());
        kv::db::Connection& db = *f.session.invoicing();
        db.exec("INSERT INTO FAMILIAS (FAMILIA) VALUES ('VAZIA')");
        db.exec("UPDATE FAMILIAS SET CONTAVENDAS = '7122' WHERE FAMILIA = 'CAIXAS CANELADO'");
        db.exec("UPDATE FAMILIAS SET CONTAVENDAS = '7123' WHERE FAMILIA = 'COLAS'");
        kv::db::Dataset& rows = f.session.dataset("DTTABELAS.FAMILIAS");
        rows.close();
        rows.open();
        f.stand("COLAS");
        f.form.focus(c.askedIn);
        // Leaving the grid gives the account pages' tabs the focus first.
        if (QLatin1String(c.askedIn) != QLatin1String("DBGrid1"))
            f.form.focus(c.askedIn);
        f.form.press(Qt::Key_F1);
        f.scenario.settle();
        ASSERT_TRUE(f.form.isVisible("DBGridFamilias")) << c.label;
        EXPECT_EQ(f.form.focused(), "DBGridFamilias") << c.label;
        auto* list = f.form.find<kv::ui::DbGrid>("DBGridFamilias");
        int row = 0;
        while (row < list->rowCount() && list->cellText(row, 0) != QString::fromUtf8(c.from))
            ++row;
        ASSERT_LT(row, list->rowCount()) << c.label;
        f.form.clickRow("DBGridFamilias", row);
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        f.scenario.settle();
        EXPECT_FALSE(f.form.isVisible("DBGridFamilias")) << c.label;
        EXPECT_EQ(f.form.focused(), "DBGrid1") << c.label;
        EXPECT_EQ(f.scenario.messages().transcript(), QStringList{}) << c.label;
        EXPECT_EQ(db.scalar("SELECT CONTAVENDAS FROM FAMILIAS WHERE FAMILIA = 'COLAS'").toString(),
                  QString::fromLatin1(c.sales))
            << c.label;
        EXPECT_EQ(db.scalar("SELECT CCUSTO FROM FAMILIAS WHERE FAMILIA = 'COLAS'").toString(),
                  QString::fromLatin1(c.products))
            << c.label;
        // The purchase rows are the family's own.
        EXPECT_EQ(f.count("SELECT COUNT(*) FROM CONTAB_FAMILIAS WHERE FAMILIA = 'COLAS'"), 1) << c.label;
    }
}

KV_ENGINE_SUITE(FamilyForm);

// The list: every family with its sales lines, followed by the purchase
// rows that have an account, each named by its type's abbreviation.
class FamilyList : public ::testing::TestWithParam<Engine> {};

TEST_P(FamilyList, PrintsEachFamilyWithItsPurchaseRows)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CommercialSession session(scenario, GetParam(), kv::test::Company::Demo);
    kv::db::Connection& db = *session.invoicing();
    db.exec("DELETE FROM CONTAB_FAMILIAS");
    db.exec("DELETE FROM FAMILIAS WHERE FAMILIA NOT IN ('CAIXAS CANELADO', 'CARTONAGENS', 'COLAS')");
    const char* purchases[] = {
        "('CAIXAS CANELADO', '2', '3111', NULL)", // printed
        "('CAIXAS CANELADO', '5', NULL, NULL)", // no account: not printed
        "('COLAS', '10', NULL, '383')", // printed
        "('COLAS', '12', '3111', NULL)", // printed, a type without a name
        "('CARTONAGENS', '10', NULL, NULL)", // first in type order, not printed
        "('CARTONAGENS', '3', NULL, '383')", // printed: the family's caption shows
    };
    for (const char* row : purchases)
        db.exec(QStringLiteral("INSERT INTO CONTAB_FAMILIAS (FAMILIA, TIPOART, CONTACOMPRAS, CONTAREGINV_OU) VALUES ")
                + QLatin1String(row));
    std::unique_ptr<QDialog> report(scenario.forms().create("TFACFPR011"));
    auto* list = qobject_cast<FamilyListReport*>(report.get());
    ASSERT_NE(list, nullptr);
    kv::db::Dataset& rows = session.dataset("DTTABELAS.FAMILIAS");
    rows.open();
    QStringList printed;
    for (const auto& page : list->render(rows).pages)
        for (const auto& band : page.bands) {
            QStringList texts;
            for (const auto& item : band.items)
                if (!item.text.isEmpty())
                    texts << item.text;
            if (band.kind == kv::report::BandKind::Detail)
                printed << texts.value(0)
                               + (texts.contains(QString::fromUtf8("Ligação à Contabilidade Compras")) ? " +" : "");
            else if (band.kind == kv::report::BandKind::SubDetail)
                // The type, then the first market's purchases and returns.
                printed << QStringLiteral("  ") + QStringList(texts.mid(0, 4)).join(QLatin1Char('|'));
        }
    EXPECT_EQ(printed,
              (QStringList{"CAIXAS CANELADO +", QString::fromUtf8("  MERC|Compras :  |3111|Devoluções : "),
                           "CARTONAGENS +", QString::fromUtf8("  SERV|Compras :  |Devoluções : |Descontos : "),
                           "COLAS +", QString::fromUtf8("  EMBAL|Compras :  |Devoluções : |Descontos : "),
                           QString::fromUtf8("  Compras :  |3111|Devoluções : |Descontos : ")}));
}

// Before printing, the purchase, return and discount accounts stored as
// NULL become empty texts; the others are left as they are.
TEST_P(FamilyList, EmptyTextReplacesNullPurchaseAccounts)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CommercialSession session(scenario, GetParam(), kv::test::Company::Demo);
    kv::db::Connection& db = *session.invoicing();
    db.exec("INSERT INTO CONTAB_FAMILIAS (FAMILIA, TIPOART, CONTADESCONTOS_O) VALUES ('COLAS', '9', '3183')");
    clearEmptyPurchaseAccounts(db);
    const struct {
        const char* column;
        const char* value; // "<null>" for NULL
    } cases[] = {{"CONTACOMPRAS", ""},        {"CONTACOMPRAS_MI", ""},    {"CONTACOMPRAS_O", ""},
                 {"CONTADEVOLUCOES", ""},     {"CONTADEVOLUCOES_MI", ""}, {"CONTADEVOLUCOES_O", ""},
                 {"CONTADESCONTOS", ""},      {"CONTADESCONTOS_MI", ""},  {"CONTADESCONTOS_O", "3183"},
                 {"CONTACONSUMOS", "<null>"}, {"CONTAREGINV_OU", "<null>"}};
    for (const auto& c : cases) {
        const QVariant v = db.scalar(
            QStringLiteral("SELECT %1 FROM CONTAB_FAMILIAS WHERE FAMILIA = 'COLAS' AND TIPOART = '9'").arg(c.column));
        EXPECT_EQ(v.isNull() ? QStringLiteral("<null>") : v.toString(), QString::fromLatin1(c.value)) << c.column;
    }
}

KV_ENGINE_SUITE(FamilyList);

// "&Artigos": the cost centre of each article by its type, from its family.
class ArticleCostCentres : public ::testing::TestWithParam<Engine> {};

TEST_P(ArticleCostCentres, FollowTheArticleType)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CommercialSession session(scenario, GetParam(), kv::test::Company::Demo);
    kv::db::Connection& db = *session.invoicing();
    db.exec("DELETE FROM ARTIGOSCLS");
    const struct {
        const char* code;
        QVariant family;
        const char* type;
        const char* centre; // after the run
    } articles[] = {
        {"A1", "CAIXAS CANELADO", "1", "CC10"}, {"A2", "CAIXAS CANELADO", "2", "CC11"},
        {"A3", "CAIXAS CANELADO", "3", "CC12"}, {"A4", "CAIXAS CANELADO", "4", "CC10"},
        {"A6", "CAIXAS CANELADO", "6", ""},     {"AX", "SEM TAL FAMILIA", "1", "OLD"},
        {"AZ", QVariant(), "1", "OLD"},
    };
    for (const auto& a : articles)
        db.exec("INSERT INTO ARTIGOSCLS (CODIGO, FAMILIA, TIPOARTIGO, CCUSTO) VALUES (:C, :F, :T, 'OLD')",
                {{"C", QString::fromLatin1(a.code)}, {"F", a.family}, {"T", QString::fromLatin1(a.type)}});
    kv::ui::MessageServiceSink sink;
    EXPECT_EQ(updateArticleCostCentres(db, sink), 5);
    EXPECT_EQ(scenario.messages().texts(), (QStringList{QString::fromUtf8("Família Inexistente no Artigo : AX"),
                                                        QString::fromUtf8("Família Inexistente no Artigo : AZ")}));
    for (const auto& a : articles)
        EXPECT_EQ(db.scalar("SELECT CCUSTO FROM ARTIGOSCLS WHERE CODIGO = :C", {{"C", QString::fromLatin1(a.code)}})
                      .toString(),
                  QString::fromLatin1(a.centre))
            << a.code;
}

KV_ENGINE_SUITE(ArticleCostCentres);

} // namespace
