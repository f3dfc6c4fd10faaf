// The article families with their purchase rows and the articles' cost
// centres, on the demo company (accounting link on; CAIXAS CANELADO with
// cost centres CC10, CC11, CC12 and a goods purchase row; COLAS without one).
#include "commercial/CommercialSession.h"

#include "commercial/core/ArticleFamilies.h"
#include "platform/db/Connection.h"
#include "platform/ui/MessageServiceSink.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QTabWidget>

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

KV_ENGINE_SUITE(FamilyForm);

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
