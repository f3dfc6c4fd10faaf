// The filling form on a logged-in company: its rules and messages, the
// packing plan, the save, the deleted quote and the consumption lines page.
#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "production/FillingSession.h"

#include <QDate>
#include <QTabWidget>

#include <gtest/gtest.h>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

class FillSession : public kv::test::FillingSession {
public:
    FillSession(kv::test::Scenario& s, Engine engine) : FillingSession(s, engine, kv::test::fillOrder(), "ORDFABDET") {}

    FormDriver open() { return FillingSession::open("TORCF101A"); }
    QVariant line(const char* column, int detail)
    {
        return application()->scalar(
            QStringLiteral("SELECT %1 FROM ORCCONSUMOS WHERE ANO = '2024' AND CODIGO = 501 AND DETAIL = :D")
                .arg(QLatin1String(column)),
            {{"D", detail}});
    }
    void showPage(FormDriver& form, int page)
    {
        form.find<QTabWidget>(QStringLiteral("TabControl"))->setCurrentIndex(page);
        scenario.settle();
    }
    // "&Ins." on the lines page.
    void startLine(FormDriver& form)
    {
        showPage(form, 2);
        form.click("Btn_Ins");
        scenario.settle();
    }
};

class FillForm : public ::testing::TestWithParam<Engine> {};

TEST_P(FillForm, OpensOnTheHandedOrder)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    EXPECT_EQ(form.caption(), QStringLiteral("Preenchimento O.F."));
    EXPECT_EQ(form.text("Label_OrdNro"), "501");
    EXPECT_EQ(form.text("Label_Tipo"), "( Artigo Base )");
    EXPECT_TRUE(form.text("Label_Artigo").contains("Caixa de 6 garrafas"));
    EXPECT_TRUE(form.text("Label_Cliente").contains("Vinhos do Douro, SA"));
    EXPECT_EQ(form.text("Edit_DATAPROD"), "15/03/2024");
    EXPECT_EQ(form.text("Edit_SEMANAPROD"), "11");
    EXPECT_EQ(form.text("Edit_QUANTFINAL"), "5");
    EXPECT_EQ(form.focused(), "Edit_DATAPROD");
}

TEST_P(FillForm, ADeletedQuoteClosesTheFormAndWritesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    f.application()->exec("DELETE FROM ORCMAS");
    FormDriver form = f.open();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(s.messages().transcript(),
              (QStringList{"<beep>", QString::fromUtf8("ERRO FATAL !!! Orçamento Eliminado : 515 0")}));
}

struct FillRuleCase {
    const char* label;
    const char* field;
    const char* text;
    const char* message;
};

TEST_P(FillForm, FieldRulesHoldTheFocusWithTheirMessage)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    const FillRuleCase cases[] = {
        {"pauseDay", "Edit_DATAPROD", "17/02/2024", "Escolheu um dia de PAUSA para a Empresa"},
        {"notInCalendar", "Edit_DATAPROD", "18/02/2024", "Data Inexistente no Ficheiro de Calendário"},
        {"quantityZero", "Edit_QUANTFINAL", "0", "Quantidade Inexistente"},
        {"lowerCase", "Edit_REPETICAO", "s", "Digite [S]/[N] "},
    };
    for (const FillRuleCase& c : cases) {
        s.messages().clear();
        f.leave(form, c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(s.messages().lastText(), QString::fromUtf8(c.message)) << c.label;
        EXPECT_EQ(form.focused(), QLatin1String(c.field)) << c.label;
        form.type(QLatin1String(c.field), c.field == std::string("Edit_DATAPROD") ? "15/03/2024"
                                          : c.field == std::string("Edit_QUANTFINAL") ? "5"
                                                                                      : "N");
    }
    // A working day of week 7 shows its week.
    s.messages().clear();
    f.leave(form, "Edit_DATAPROD", "14/02/2024");
    EXPECT_TRUE(s.messages().texts().isEmpty());
    EXPECT_EQ(form.text("Edit_SEMANAPROD"), "07");
}

TEST_P(FillForm, AnEmptyCountClearsTheRestOfItsBlock)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    f.showPage(form, 1);
    EXPECT_EQ(form.text("Label_TotalProduzir"), "5.000");
    f.leave(form, "Edit_QTDEXT1A", "10");
    f.leave(form, "Edit_QTDEXT1B", "400");
    f.leave(form, "Edit_QTDEXT2A", "2");
    f.leave(form, "Edit_QTDEXT2B", "500");
    f.leave(form, "Edit_QTDEXT3A", "1");
    f.leave(form, "Edit_QTDEXT3B", "7");
    EXPECT_EQ(form.text("Label_TotalEXT"), "5.007");
    EXPECT_EQ(form.focused(), "Edit_QTDEXT4A");
    f.leave(form, "Edit_QTDEXT4A", "0"); // the last row clears only itself
    EXPECT_EQ(form.focused(), "Edit_QTDPLT1A");
    EXPECT_EQ(form.text("Edit_QTDEXT3A"), "1");
    form.typeText("1");
    f.leave(form, "Edit_QTDEXT2A", "0");
    for (const char* cleared : {"Edit_QTDEXT2A", "Edit_QTDEXT2B", "Edit_QTDEXT3A", "Edit_QTDEXT3B"})
        EXPECT_EQ(form.text(QLatin1String(cleared)), "0") << cleared;
    EXPECT_EQ(form.text("Edit_QTDEXT1B"), "400");
    EXPECT_EQ(form.text("Label_TotalEXT"), "4.000");
    EXPECT_EQ(form.focused(), "Edit_QTDPLT1A");
}

TEST_P(FillForm, SaveIsRefusedAtTheFirstBrokenRuleAndWritesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    form.type("Edit_NPLANOS", "1200");
    form.type("Edit_TAMPA", "s"); // never left, so never checked until the save
    form.click("BitBtn_Gravar");
    s.settle();
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(s.messages().transcript(), (QStringList{"<beep>", "Digite [S]/[N] "}));
    EXPECT_EQ(form.focused(), "Edit_TAMPA");
    EXPECT_EQ(f.stored("NPLANOS").toDouble(), 1000.0);
    // Packed 4000 of the 5000 to produce: refused on the packing page.
    form.type("Edit_TAMPA", "S");
    f.showPage(form, 1);
    form.type("Edit_QTDEXT1A", "4");
    form.type("Edit_QTDEXT1B", "1000");
    s.messages().clear();
    form.click("BitBtn_Gravar");
    s.settle();
    EXPECT_EQ(s.messages().lastText(), "QUANTIDADES A EMBALAR DIFERENTES DA QTD. A PRODUZIR !!!");
    EXPECT_EQ(form.focused(), "Edit_QTDEXT1A");
    form.type("Edit_QTDEXT1A", "5");
    form.click("BitBtn_Gravar");
    s.settle();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(f.stored("NPLANOS").toDouble(), 1200.0);
    EXPECT_EQ(f.stored("TAMPA").toString(), "S");
    EXPECT_EQ(f.stored("QTDEXT1A").toInt(), 5);
}

TEST_P(FillForm, CancelDiscardsTheRowButKeepsAddedLines)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    form.type("Edit_NPLANOS", "1200");
    f.startLine(form);
    f.leave(form, "Edit_TipoTab", "3");
    f.leave(form, "Edit_CodTab", "711");
    EXPECT_EQ(form.focused(), "Edit_Consumo");
    EXPECT_EQ(form.text("Edit_Consumo"), "4,2"); // 5 g on the 1200 sheets typed, of 0.7 m²
    form.enter();
    s.settle();
    EXPECT_EQ(form.gridRowCount("Grid_Consumos"), 1);
    form.click("BitBtn_Cancelar");
    s.settle();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(f.stored("NPLANOS").toDouble(), 1000.0);
    EXPECT_NEAR(f.line("CONSUMO", 1).toDouble(), 4.2, 1e-9);
    EXPECT_EQ(f.line("ARTIGO", 1).toString(), "MP-VERNIZ");
    EXPECT_EQ(f.line("QTDAPROV", 1).toDouble(), 5.0);
    EXPECT_EQ(f.line("DATAENT", 1).toDate(), QDate(2024, 3, 29));
}

TEST_P(FillForm, CancelLineDropsOnlyTheLineInProgress)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    form.type("Edit_NPLANOS", "1200");
    f.startLine(form);
    f.leave(form, "Edit_TipoTab", "8");
    form.click("Btn_C");
    s.settle();
    EXPECT_EQ(form.gridRowCount("Grid_Consumos"), 0);
    EXPECT_TRUE(form.isEnabled("Grid_Consumos"));
    EXPECT_EQ(form.text("Edit_NPLANOS"), "1200");
    EXPECT_EQ(f.line("COUNT(*)", 1).toInt(), 0);
}

TEST_P(FillForm, MachineLineTimesSetUpAndPasses)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    f.startLine(form);
    f.leave(form, "Edit_TipoTab", "1");
    EXPECT_FALSE(form.isEnabled("Edit_Consumo"));
    f.leave(form, "Edit_CodTab", "781");
    f.leave(form, "Edit_NroPass", "2");
    s.messages().clear();
    f.leave(form, "Edit_PrdHor", "0"); // no running time: refused like an empty one
    EXPECT_EQ(s.messages().transcript(), QStringList{"<beep>"});
    EXPECT_EQ(form.focused(), "Edit_PrdHor");
    f.leave(form, "Edit_PrdHor", "2000");
    f.leave(form, "Edit_Acerto", "1");
    f.leave(form, "Edit_Entrada", "3");
    EXPECT_EQ(form.gridRowCount("Grid_Consumos"), 1);
    EXPECT_NEAR(f.line("CONSUMO", 1).toDouble(), 3.00, 1e-9);
    EXPECT_EQ(f.line("TIPOCUSTO", 1).toString(), "CM");
    EXPECT_EQ(f.line("ENTRADA", 1).toInt(), 3);
    EXPECT_EQ(f.line("DESIGN", 1).toString(), "Impressora 4 cores");
}

TEST_P(FillForm, AMissingCodeKeepsTheFocusAndAddsNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    f.startLine(form);
    f.leave(form, "Edit_TipoTab", "12");
    EXPECT_EQ(s.messages().lastText(), QString::fromUtf8("Tipo de Tabela Inválida"));
    f.leave(form, "Edit_TipoTab", "8");
    f.leave(form, "Edit_CodTab", "799");
    EXPECT_EQ(s.messages().lastText(), "Erro Grave, Tipo de Papel Inexistente !!!");
    EXPECT_EQ(form.focused(), "Edit_CodTab");
    f.leave(form, "Edit_CodTab", "752"); // a board counted by sheet
    form.enter();
    s.settle();
    EXPECT_EQ(f.line("CONSUMO", 1).toDouble(), 1000.0);
    EXPECT_EQ(form.gridRowCount("Grid_Consumos"), 1);
}

TEST_P(FillForm, LeavingTheSecondWidthRecomputesRawMaterials)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    f.application()->exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, CODTAB, "
                          "TIPOCUSTO, CONSUMO, ENTRADA) VALUES ('2024', 501, 0, 1, 1, 3, 711, 'MP', 1, 1)");
    FormDriver form = f.open();
    form.type("Edit_PLNCOMPRIM2", "50");
    f.leave(form, "Edit_PLNLARGURA2", "20");
    // 5 g on 1000 sheets of 0.7 + 0.1 m².
    EXPECT_NEAR(f.line("CONSUMO", 1).toDouble(), 4.0, 1e-9);
    // An empty second width recomputes nothing.
    f.application()->exec("UPDATE ORCCONSUMOS SET CONSUMO = 1");
    f.leave(form, "Edit_PLNLARGURA2", "");
    EXPECT_EQ(f.line("CONSUMO", 1).toDouble(), 1.0);
    // Leaving the first width again keeps both formats in the area a new line takes.
    form.type("Edit_PLNLARGURA2", "20");
    f.leave(form, "Edit_PLNLARGURA1", "100");
    f.startLine(form);
    f.leave(form, "Edit_TipoTab", "3");
    f.leave(form, "Edit_CodTab", "711");
    EXPECT_EQ(form.text("Edit_Consumo"), "4");
}

TEST_P(FillForm, SearchesFillTheTypeAndTheCodeAndCancelChangesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    FormDriver form = f.open();
    f.startLine(form);
    s.onDialog([](FormDriver& search) {
        EXPECT_EQ(search.caption(), "Procurar");
        search.clickRow("Grid", 2); // type 3, the varnishes
        search.click("OKBtn");
    });
    form.insert();
    s.settle();
    EXPECT_EQ(form.text("Edit_TipoTab"), "3");
    EXPECT_EQ(form.text("Label_NomeTab"), "Vernizes");
    form.enter();
    s.settle();
    EXPECT_EQ(form.focused(), "Edit_CodTab");
    s.onDialog([](FormDriver& search) { search.click("CancelBtn"); });
    form.ctrlInsert();
    s.settle();
    EXPECT_EQ(form.text("Edit_CodTab"), "");
    s.onDialog([](FormDriver& search) {
        EXPECT_EQ(search.gridRowCount("Grid"), 1);
        search.click("OKBtn");
    });
    form.ctrlInsert();
    s.settle();
    EXPECT_EQ(form.text("Edit_CodTab"), "711");
}

TEST_P(FillForm, TheGridShowsTheCurrentLineAndKeepsFixedClassesFromChange)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    FillSession f(s, GetParam());
    f.application()->exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, CODTAB, "
                          "DESIGN, TIPOCUSTO, CONSUMO, ENTRADA) VALUES ('2024', 501, 0, 1, 1, 3, 711, 'Verniz', 'MP', "
                          "3.5, 1), ('2024', 501, 0, 1, 2, 7, 761, 'Embalar', 'MO', 0, 1)");
    FormDriver form = f.open();
    f.showPage(form, 2);
    EXPECT_EQ(form.gridRowCount("Grid_Consumos"), 2);
    EXPECT_EQ(form.text("Edit_CodTab"), "711");
    EXPECT_EQ(form.text("Label_NomeTab"), "Vernizes");
    EXPECT_TRUE(form.isEnabled("Btn_Alt"));
    form.click("Navigator4");
    s.settle();
    EXPECT_EQ(form.gridCurrentRow("Grid_Consumos"), 1);
    EXPECT_EQ(form.text("Edit_CodTab"), "761");
    EXPECT_FALSE(form.isEnabled("Btn_Alt")); // a labour line is not changed here
    form.click("Btn_Eli"); // deleted at once, without a question
    s.settle();
    EXPECT_EQ(form.gridRowCount("Grid_Consumos"), 1);
    EXPECT_EQ(f.line("COUNT(*)", 2).toInt(), 0);
}

KV_ENGINE_SUITE(FillForm);

} // namespace
