// The quote issue TORCF022 on the demo company: its defaults, the selection
// rules, a run over several quotes and copies checked page by page, the
// letterhead of the pages, and the runs that must mark nothing.
#include "quotes/forms/QuoteForms.h"

#include "support/Scenario.h"

#include "platform/report/Document.h"
#include "platform/report/PreviewWindow.h"
#include "platform/text/DateText.h"

#include <gtest/gtest.h>

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

// The demo company with its first two quotes issued on the working date, not
// yet issued, and no other quote; its copy names are slots 1 to 3. As
// delivered, the demo company's quotes are left as they are.
struct Issue {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
    std::shared_ptr<kv::db::Connection> invoicing;

    explicit Issue(Engine engine, bool asDelivered = false)
    {
        scenario.login(engine, Company::Demo);
        registerQuoteForms(scenario.session(), scenario.forms());
        db = scenario.session().dataModules().connections().DbKavorime;
        invoicing = scenario.session().dataModules().connections().DbFacturacao;
        if (!asDelivered) {
            for (const char* table : {"ORCDET", "ORCMAS"})
                db->exec(QStringLiteral("DELETE FROM %1 WHERE CODIGO > 2").arg(QLatin1String(table)));
            db->exec("UPDATE ORCMAS SET DATEMI = :D, PRINTE = 'N'",
                     {{"D", QDateTime(scenario.session().state().WData, QTime(0, 0))}});
        }
        scenario.messages().clear();
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF022");
        scenario.settle();
        return form;
    }

    QString printed(int quote)
    {
        return db->scalar("SELECT PRINTE FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = 99", {{"C", quote}}).toString();
    }
    long long queued() { return db->scalar("SELECT COUNT(*) FROM ORCAMIMPR").toLongLong(); }

    // Clicks "&Imprimir" and returns what the preview showed.
    kv::report::Document print(FormDriver& form)
    {
        kv::report::Document shown;
        scenario.onDialog([&](FormDriver& preview) {
            shown = qobject_cast<kv::report::PreviewWindow*>(preview.window())->document();
            EXPECT_EQ(queued(), static_cast<long long>(shown.pageCount())); // rows exist while it is open
            preview.close();
        });
        form.click("BitPrint");
        scenario.settle();
        return shown;
    }
};

QString itemText(const kv::report::RenderedPage& page, int index)
{
    QStringList all;
    for (const auto& band : page.bands)
        for (const auto& item : band.items)
            all << item.text;
    return all.value(index);
}

QStringList pageTexts(const kv::report::RenderedPage& page)
{
    QStringList all;
    for (const auto& band : page.bands)
        for (const auto& item : band.items)
            if (!item.text.isEmpty())
                all << item.text;
    return all;
}

class QuoteIssueForm : public ::testing::TestWithParam<Engine> {};

TEST_P(QuoteIssueForm, showsItsDefaultsAndTheDaysUnissuedQuotes)
{
    KV_SKIP_WITHOUT(GetParam());
    Issue w(GetParam());
    FormDriver form = w.open();
    EXPECT_EQ(form.caption(), "Emissão de Orçamentos");
    EXPECT_EQ(form.text("Edit_CliNro"), "");
    EXPECT_EQ(form.text("Edit_OrcNro1"), "1");
    EXPECT_EQ(form.text("Edit_OrcNro2"), "999999999");
    EXPECT_EQ(form.text("Edit_Data1"), kv::text::date(w.scenario.session().state().WData));
    EXPECT_TRUE(form.isChecked("ChkVia1"));
    EXPECT_TRUE(form.isChecked("ChkVia3"));
    EXPECT_FALSE(form.isChecked("ChkVia4")); // no name
    EXPECT_FALSE(form.isChecked("ChkImpress"));
    EXPECT_EQ(form.gridTitles("DBGrid1"), (QStringList{"Orçamento", "Data ", "Cliente", "Artigo", "Imp?"}));
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    EXPECT_EQ(form.focused(), "Edit_CliNro");
}

// The demo company's quotes of its working date: the unissued ones are
// offered at once, the issued one only for a reprint.
TEST_P(QuoteIssueForm, demoCompanyOffersItsDaysQuotes)
{
    KV_SKIP_WITHOUT(GetParam());
    Issue w(GetParam(), true);
    FormDriver form = w.open();
    EXPECT_EQ(w.scenario.messages().transcript(), QStringList{});
    auto listed = [&form] { return form.gridColumn("DBGrid1", 0); };
    EXPECT_EQ(listed(), (QStringList{"3", "5"}));
    form.click("ChkImpress");
    w.scenario.settle();
    EXPECT_EQ(listed(), (QStringList{"3", "4", "5"}));
    EXPECT_EQ(w.printed(4), "S");
}

TEST_P(QuoteIssueForm, printButtonFollowsThePrintRight)
{
    KV_SKIP_WITHOUT(GetParam());
    Issue w(GetParam());
    {
        FormDriver form = w.open();
        EXPECT_TRUE(form.isVisible("BitPrint"));
        form.close();
    }
    w.db->exec("UPDATE APLICACAODET SET IMPRIMIR = 'N' WHERE PROGRAMA = 'Emissao Orc.Cliente'");
    w.scenario.session().dataModules().dataset("DTEMPRESAS.APLICACAODET").refresh();
    FormDriver form = w.open();
    EXPECT_FALSE(form.isVisible("BitPrint"));
}

TEST_P(QuoteIssueForm, missingCopyNamesWarnAndMissingYearParametersClose)
{
    KV_SKIP_WITHOUT(GetParam());
    Issue w(GetParam());
    w.db->exec("DELETE FROM ORCPARGER");
    {
        FormDriver form = w.open();
        EXPECT_EQ(w.scenario.messages().transcript(),
                  (QStringList{"<beep>", "ERRO NA PARAMETRIZAÇÃO DA VIAS DO DOCUMENTO"}));
        EXPECT_TRUE(form.window()->isVisible());
        EXPECT_FALSE(form.isChecked("ChkVia1"));
        form.close();
    }
    w.scenario.messages().clear();
    w.invoicing->exec("DELETE FROM PARGER");
    FormDriver form = w.open();
    EXPECT_EQ(w.scenario.messages().lastText(), "PARÂMETROS GERAIS DE BASE INEXISTENTES !!!");
    EXPECT_FALSE(form.window()->isVisible());
}

TEST_P(QuoteIssueForm, runQueuesEveryCopyMarksTheQuotesAndComesBackToItsDefaults)
{
    KV_SKIP_WITHOUT(GetParam());
    Issue w(GetParam());
    FormDriver form = w.open();
    form.click("ChkVia2"); // two copies of three
    form.type("Edit_OrcNro1", "1");
    const kv::report::Document shown = w.print(form);
    ASSERT_EQ(shown.pageCount(), 4); // quotes 1 and 2, copies 1 and 3
    const QString first = w.db->scalar("SELECT ORCVIA1 FROM ORCPARGER WHERE CODIGO = 1").toString();
    const QString third = w.db->scalar("SELECT ORCVIA3 FROM ORCPARGER WHERE CODIGO = 1").toString();
    EXPECT_TRUE(pageTexts(shown.pages[0]).contains(first));
    EXPECT_TRUE(pageTexts(shown.pages[1]).contains(third));
    EXPECT_TRUE(pageTexts(shown.pages[2]).contains("2")); // the second quote
    EXPECT_TRUE(pageTexts(shown.pages[2]).contains("Doçaria Conventual de Aveiro, Lda"));
    // The year's letterhead on every page, its first line in its place.
    const QString line1 =
        w.invoicing
            ->scalar("SELECT LOGODES1 FROM FACTURAOBS WHERE ANO = :A", {{"A", w.scenario.session().state().WAno}})
            .toString();
    EXPECT_EQ(itemText(shown.pages[3], 0), line1);
    EXPECT_EQ(w.printed(1), "S");
    EXPECT_EQ(w.printed(2), "S");
    EXPECT_EQ(w.queued(), 0);
    // Defaults again, and the issued quotes are out of the fresh selection.
    EXPECT_TRUE(form.isChecked("ChkVia2"));
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
    form.click("ChkImpress");
    w.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
}

TEST_P(QuoteIssueForm, oneCustomerAndAnInvertedRangeSelect)
{
    KV_SKIP_WITHOUT(GetParam());
    Issue w(GetParam());
    FormDriver form = w.open();
    form.type("Edit_CliNro", "102");
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(form.text("NomeCliente"), w.invoicing->scalar("SELECT NOME FROM CLIENTES WHERE CODIGO = 102").toString());
    form.type("Edit_Data1", kv::text::date(w.scenario.session().state().WData));
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 1);
    form.type("Edit_Data1", kv::text::date(w.scenario.session().state().WData.addDays(1)));
    form.enter();
    w.scenario.settle();
    EXPECT_EQ(w.scenario.messages().transcript(), (QStringList{"<beep>", "LIMITE DE DATAS INVÁLIDO"}));
    EXPECT_EQ(form.focused(), "Edit_Data1");
    // A print started anyway selects nothing and marks nothing.
    w.scenario.messages().clear();
    EXPECT_EQ(w.print(form).pageCount(), 0);
    EXPECT_EQ(w.printed(2), "N");
}

// Runs that cannot reach their preview are refused before anything is
// queued or marked.
struct RefusedCase {
    const char* label;
    std::function<void(Issue&)> spoil;
    QString message;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.label; }

class QuoteIssueRefused : public ::testing::TestWithParam<std::tuple<RefusedCase, Engine>> {};

TEST_P(QuoteIssueRefused, marksNothing)
{
    const RefusedCase& c = std::get<0>(GetParam());
    KV_SKIP_WITHOUT(std::get<1>(GetParam()));
    Issue w(std::get<1>(GetParam()));
    FormDriver form = w.open();
    c.spoil(w);
    w.scenario.messages().clear();
    form.click("BitPrint");
    w.scenario.settle();
    EXPECT_TRUE(w.scenario.messages().lastText().startsWith(c.message))
        << w.scenario.messages().lastText().toStdString();
    EXPECT_EQ(w.printed(1), "N");
    EXPECT_EQ(w.printed(2), "N");
}

const RefusedCase refusedCases[] = {
    {"unknownLayout", [](Issue& w) { w.scenario.session().state().WTipoOrcam = "X"; }, "TIPO DE ORÇAMENTO INVÁLIDO"},
    {"yearWithoutLetterhead", [](Issue& w) { w.invoicing->exec("DELETE FROM FACTURAOBS"); },
     "CABEÇALHO DOS DOCUMENTOS"},
    {"queueUnwritable", [](Issue& w) { w.db->exec("DROP TABLE ORCAMIMPR"); }, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, QuoteIssueRefused,
                         ::testing::Combine(::testing::ValuesIn(refusedCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<RefusedCase>);

KV_ENGINE_SUITE(QuoteIssueForm);

} // namespace
