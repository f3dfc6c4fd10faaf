// The article form opened by the quote approval, driven as a user would:
// the new article pre-filled from the quote row and the approved price, the
// field checks, the customisation fields of the type's group, the save when
// it closes (refused, failed, retried, two workstations), the pictures and
// the notes of the article.
#include "customers/articleforms/ArticleForms.h"
#include "customers/articleforms/ArticleSessionState.h"
#include "customers/articles/ArticleFile.h"
#include "customers/coding/forms/ArticleCodingForms.h"
#include "imaging/forms/TPictureBox.h"
#include "platform/db/Dataset.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/QtMessageService.h"
#include "shell/Session.h"
#include "shell/ShellDataModules.h"
#include "support/Scenario.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QAction>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

const QString Beep = QStringLiteral("<beep>");

// Closes every window a test left open; an article form left with a code
// asks its save question, answered No.
void closeForms(kv::test::Scenario& scenario)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("ORCF032ART") && window->isVisible())
            if (auto* code = window->findChild<QLineEdit*>("Edit_Codigo"); code && !code->text().isEmpty())
                scenario.messages().answer(false);
    QList<QPointer<QDialog>> dialogs;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialogs.append(dialog);
    for (const QPointer<QDialog>& dialog : dialogs)
        if (dialog) {
            dialog->close();
            delete dialog.data();
        }
    scenario.forms().clear();
}

struct Approval {
    explicit Approval(Engine engine) : session(scenario.login(engine))
    {
        state = kv::customers::registerArticleForms(session, scenario.forms());
        inv = scenario.invoicingDatabase();
        pictures = scenario.tempPath("fotos");
        notes = scenario.tempPath("notas");
        QDir().mkpath(pictures);
        QDir().mkpath(notes);
        const QString year = session.state().WAno;
        kv::test::insertRows(*inv, "PARGER",
                             {"ANO", "COMARTIGO", "STOCKS", "CONTABILIDADE", "PATHFOTO", "PATHINFARTIGOS"},
                             {{year, "S", "N", "S", pictures, notes}});
        kv::test::insertRows(*inv, "PARCUSTOM", {"CODIGO", "GRUPOTIPO1", "GRUPOTIPO2", "REFARTIGO"},
                             {{"1", "C", "D", "N"}});
        kv::test::insertRows(
            *inv, "PARGRUPOS", {"TABGRUPO", "TABCOD", "TABNOM"},
            {{"C", "1", "Estilo"}, {"C", "2", "Cartão"}, {"C", "4", "Impressão"}, {"D", "1", "Forma"}});
        kv::test::insertRows(*inv, "CUSTARTG", {"TABGRUPO", "PAIS", "TABCOD", "CODIGO", "DESIGNACAO"},
                             {{"C", "PORTUGAL", "1", 10, "Americana"}, {"C", "PORTUGAL", "4", 3, "Offset"}});
        kv::test::insertRows(*inv, "FAMILIAS", {"FAMILIA", "CCUSTO"}, {{"CAIXAS", "PROD"}, {"TOTAIS", "TOTAL"}});
        kv::test::insertRows(*scenario.accountingDatabase(), "CCUSTO", {"ANO", "CODIGO", "DESIGN", "TIPO"},
                             {{year, "PROD", "Produção", "L"}, {year, "TOTAL", "Total", "T"}});
        kv::test::insertRows(*inv, "IVA", {"CODIGO", "PRCIVA"}, {{2, 23.0}});
        kv::test::insertRows(*inv, "COMISSOES", {"CODIGO", "PRCCOM"}, {{1, 5.0}});
        kv::test::insertRows(*inv, "ARTGCOMP", {"CODIGO", "DESIGNACAO"}, {{1, "Kraft"}});
        kv::test::insertRows(*inv, "PPAUTAL", {"CODIGO", "DESIGN"}, {{"4819", "Caixas de cartão"}});
        kv::test::insertRows(*inv, "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "ROTURA"}, {{"A1", "Caixa antiga", "S"}});
        // The quote being approved, without an article.
        kv::test::insertRows(
            *scenario.applicationDatabase(), "ORCMAS",
            {"CODIGO", "SUBCODIGO", "DESIGN1", "VOSREF", "UNDVND", "COMPRIM", "LARGURA", "ALTURA", "CODIVA", "NOSREF"},
            {{500, 99, "Caixa vinho 3 garrafas", "REF-77", "MIL", 300.0, 200.5, 100.0, 2, ""}});
        kv::db::Dataset& quotes = session.dataModules().dataset("ZURIVAVEZA.ORCMAS");
        quotes.close();
        quotes.open();
        quotes.locate({"CODIGO", "SUBCODIGO"}, {500, 99});
        session.state().WNosRefAprov.clear();
        session.state().WPrecoAdjud = 12.5;
    }
    ~Approval() { closeForms(scenario); }

    void grant(const QString& chapter, const QString& program, const QString& scanner = "N")
    {
        grantIn(session.state().WAplicacao, chapter, program, scanner);
    }
    void grantIn(const QString& application, const QString& chapter, const QString& program,
                 const QString& scanner = "N")
    {
        scenario.applicationDatabase()->exec(
            "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, ALTERAR, "
            "ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, :C, :P, 1, :U, 'S', 'S', 'S', 'N', "
            "'N', 'N', 'N', 'N', :S)",
            {{"A", application}, {"C", chapter}, {"P", program}, {"U", session.state().WUtil}, {"S", scanner}});
        kv::db::Dataset& rights = session.dataModules().dataset("DTEMPRESAS.APLICACAODET");
        rights.close();
        rights.open();
    }

    FormDriver open() { return scenario.open("TORCF032ART"); }
    int count(const QString& sql) { return inv->scalar(sql).toInt(); }
    QString article(const char* column, const char* code)
    {
        return inv
            ->scalar(QStringLiteral("SELECT %1 FROM ARTIGOSCLS WHERE CODIGO = :C").arg(QLatin1String(column)),
                     {{"C", QString::fromLatin1(code)}})
            .toString();
    }
    void showPage(FormDriver& form, int page) { form.find<QTabWidget>("TabControl")->setCurrentIndex(page); }
    // Types a code and leaves the field, as the user does.
    void acceptCode(FormDriver& form, const QString& code)
    {
        form.type("Edit_Codigo", code);
        form.enter();
    }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    std::shared_ptr<kv::customers::ArticleSessionState> state;
    std::shared_ptr<kv::db::Connection> inv;
    QString pictures;
    QString notes;
};

class ArticleForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ArticleForm, OpensPrefilledFromTheQuoteRowAndThePrice)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    EXPECT_EQ(form.caption(), "Abertura de Artigo");
    EXPECT_EQ(form.focused(), "Edit_Codigo");
    const std::pair<const char*, const char*> expected[] = {
        {"Edit_Codigo", ""},       {"Edit_Design", "Caixa vinho 3 garrafas"},
        {"Edit_VosRef", "REF-77"}, {"Edit_TipoArtigo", "1"},
        {"Edit_FactConv", "1"},    {"Edit_UnConv", "MIL"},
        {"Edit_UnVenda", "MIL"},   {"Edit_UnCompra", "UND"},
        {"Edit_Compri", "300"},    {"Edit_Largur", "200,5"},
        {"Edit_Altura", "100"},    {"Edit_Codiva", "2"},
        {"Edit_Preco1", "12,5"},   {"Edit_ArtDescont1", "N"},
        {"Edit_Comissao", ""},     {"Label_Design", ""},
    };
    for (const auto& [field, value] : expected)
        EXPECT_EQ(form.text(field), QString::fromUtf8(value)) << field;
    // The group of the type in the field gives the captions from the start.
    EXPECT_EQ(form.text("LabelArtigo1"), "Estilo");
    EXPECT_EQ(form.text("LabelArtigo4"), "Impressão");
    EXPECT_TRUE(form.text("LabelArtigo3").isEmpty());
    EXPECT_TRUE(form.isEnabled("Edit_Custom4"));
    EXPECT_FALSE(form.isEnabled("Edit_Custom3"));
    EXPECT_EQ(a.state->WArtTabGrupo, "C");
}

struct MissingRow {
    const char* label;
    const char* sql;
    const char* message;
};

class ArticleFormWithout : public ::testing::TestWithParam<std::tuple<MissingRow, Engine>> {};

TEST_P(ArticleFormWithout, ParameterRowsClosesAndHandsNothingBack)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Approval a(engine);
    a.inv->exec(QString::fromLatin1(c.sql));
    FormDriver form = a.open();
    a.scenario.settle();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.scenario.messages().lastText(), QString::fromUtf8(c.message));
    EXPECT_TRUE(a.session.state().WNosRefAprov.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Articles, ArticleFormWithout,
    ::testing::Combine(::testing::Values(MissingRow{"customisation", "DELETE FROM PARCUSTOM",
                                                    "PARAMETROS DE CUSTOMIZAÇÃO DE ARTIGOS INEXISTENTES !!!"},
                                         MissingRow{"year", "DELETE FROM PARGER", "PARAMETROS GERAIS INEXISTENTES"}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<MissingRow>);

struct FieldCase {
    const char* label;
    int page;
    const char* field;
    const char* typed;
    QStringList transcript; // what leaving the field says
    bool refused; // the focus stays in the field
};

class ArticleFields : public ::testing::TestWithParam<std::tuple<FieldCase, Engine>> {};

TEST_P(ArticleFields, AreCheckedOnLeaving)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Approval a(engine);
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    a.showPage(form, c.page);
    a.scenario.messages().clear();
    form.type(c.field, QString::fromUtf8(c.typed));
    form.tab();
    EXPECT_EQ(a.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused() == QLatin1String(c.field), c.refused) << form.focused().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Articles, ArticleFields,
    ::testing::Combine(
        ::testing::Values(
            FieldCase{"empty_code", 0, "Edit_Codigo", "", {Beep, "ARTIGO INVALIDO ... <ENTER>"}, true},
            FieldCase{"stored_code", 0, "Edit_Codigo", "A1", {Beep, "ARTIGO JÁ FOI ABERTO ... <ENTER>"}, true},
            FieldCase{"empty_designation", 0, "Edit_Design", "", {Beep}, true},
            FieldCase{"type_11", 0, "Edit_TipoArtigo", "11", {Beep, "DIGITE DE [1] A [10] PARA TIPO DE ARTIGO"}, true},
            FieldCase{"type_2", 0, "Edit_TipoArtigo", "2", {}, false},
            FieldCase{"unknown_tariff", 0, "Edit_PosPautal", "9999", {Beep, "Posição Pautal Inválida ..."}, true},
            FieldCase{"tariff", 0, "Edit_PosPautal", "4819", {}, false},
            FieldCase{"unknown_family", 0, "Edit_Familia", "XPTO", {Beep}, true},
            FieldCase{"empty_family", 0, "Edit_Familia", "", {Beep}, true},
            FieldCase{"summary_centre", 0, "Edit_CCusto", "TOTAL", {Beep, "CENTRO DE CUSTO INEXISTENTE !!!"}, true},
            FieldCase{"posting_centre", 0, "Edit_CCusto", "PROD", {}, false},
            FieldCase{"unknown_composition", 0, "Edit_Composicao", "9", {Beep}, true},
            FieldCase{"weight_not_number", 0, "Edit_Peso", "dois", {Beep, "\"dois\" não é um número válido."}, true},
            FieldCase{"price_not_number", 1, "Edit_Preco2", "doze", {Beep, "\"doze\" não é um número válido."}, true},
            FieldCase{"unknown_vat", 1, "Edit_Codiva", "7", {Beep}, true},
            FieldCase{"unknown_commission", 1, "Edit_Comissao", "4", {Beep}, true},
            FieldCase{"lower_case_flag", 1, "Edit_ArtDescont1", "s", {Beep, "DIGITE [S] ou [N]"}, true}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<FieldCase>);

// The rate beside the VAT code is the rate of whatever code the field holds,
// however the code got there.
struct VatCase {
    const char* label;
    void (*change)(Approval&, FormDriver&);
    const char* code;
    const char* rate;
};

class ArticleVatRate : public ::testing::TestWithParam<std::tuple<VatCase, Engine>> {};

TEST_P(ArticleVatRate, FollowsEveryChangeOfTheCode)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Approval a(engine);
    kv::test::insertRows(*a.inv, "IVA", {"CODIGO", "PRCIVA"}, {{6, 6.5}});
    a.grant("Tabelas", "I.V.A.");
    // The VAT table kept through the side door: code 2 gets another rate, code 6 goes.
    a.scenario.forms().add("TFACF003", [&a](QWidget* parent) -> QDialog* {
        auto* dialog = new QDialog(parent);
        QObject::connect(dialog, &QDialog::finished, [&a] {
            a.inv->exec("UPDATE IVA SET PRCIVA = 13 WHERE CODIGO = 2");
            a.inv->exec("DELETE FROM IVA WHERE CODIGO = 6");
        });
        return dialog;
    });
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    a.showPage(form, 1);
    EXPECT_EQ(form.text("Edit_PrcIva"), "23"); // the quote's code 2
    a.scenario.messages().clear();
    c.change(a, form);
    EXPECT_EQ(form.text("Edit_Codiva"), QString::fromLatin1(c.code));
    EXPECT_EQ(form.text("Edit_PrcIva"), QString::fromLatin1(c.rate));
}

void chooseSecondRow(Approval& a, FormDriver& form)
{
    form.focus("Edit_Codiva");
    a.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 1);
        lookup.click("OKBtn");
    });
    form.insert();
}

void keepVatTable(Approval& a, FormDriver& form)
{
    a.scenario.onDialog([](FormDriver& table) { table.close(); });
    form.click("BotIva");
}

INSTANTIATE_TEST_SUITE_P(
    Articles, ArticleVatRate,
    ::testing::Combine(
        ::testing::Values(
            VatCase{"typed", [](Approval&, FormDriver& f) { f.type("Edit_Codiva", "6"); }, "6", "6,5"},
            VatCase{"typed_unknown", [](Approval&, FormDriver& f) { f.type("Edit_Codiva", "7"); }, "7", ""},
            VatCase{"typed_empty", [](Approval&, FormDriver& f) { f.type("Edit_Codiva", ""); }, "", ""},
            VatCase{"typed_and_left",
                    [](Approval&, FormDriver& f) {
                        f.type("Edit_Codiva", "6");
                        f.tab();
                    },
                    "6", "6,5"},
            VatCase{"unknown_left",
                    [](Approval&, FormDriver& f) {
                        f.type("Edit_Codiva", "7");
                        f.tab();
                    },
                    "", ""},
            VatCase{"chosen_in_the_lookup", chooseSecondRow, "6", "6,5"},
            VatCase{"rate_changed_by_the_side_door", keepVatTable, "2", "13"},
            VatCase{"code_removed_by_the_side_door",
                    [](Approval& a, FormDriver& f) {
                        f.type("Edit_Codiva", "6");
                        keepVatTable(a, f);
                    },
                    "", ""}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<VatCase>);

TEST_P(ArticleForm, TheFamilyProposesItsCostCentreUntilACodeIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    form.type("Edit_Familia", "CAIXAS");
    form.tab();
    EXPECT_EQ(form.text("Edit_CCusto"), "PROD");
    EXPECT_EQ(form.text("Label_CCustoNome"), "Produção");
    // A refused code: from then on the family proposes nothing.
    a.scenario.messages().clear();
    form.type("Edit_Codigo", "A1");
    form.enter();
    EXPECT_EQ(a.scenario.messages().lastText(), QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>"));
    a.acceptCode(form, "NOVO1");
    form.type("Edit_CCusto", "");
    form.type("Edit_Familia", "TOTAIS");
    form.tab();
    EXPECT_TRUE(form.text("Edit_CCusto").isEmpty());
}

TEST_P(ArticleForm, TheYearsSwitchesCloseTheCommissionAndTheCostCentre)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    a.inv->exec("UPDATE PARGER SET COMARTIGO = 'N', CONTABILIDADE = 'N'");
    FormDriver form = a.open();
    EXPECT_FALSE(form.isEnabled("Edit_Comissao"));
    EXPECT_FALSE(form.isEnabled("Edit_CCusto"));
    a.acceptCode(form, "NOVO1");
    form.type("Edit_Familia", "CAIXAS");
    form.tab();
    EXPECT_TRUE(form.text("Edit_CCusto").isEmpty());
}

TEST_P(ArticleForm, ALookupCancelledChangesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    form.type("Edit_Familia", "TOTAIS");
    a.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 0);
        lookup.click("CancelBtn");
    });
    form.insert();
    EXPECT_EQ(form.text("Edit_Familia"), "TOTAIS");
    a.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 0);
        lookup.click("OKBtn");
    });
    form.insert();
    EXPECT_EQ(form.text("Edit_Familia"), "CAIXAS");
    // A customisation value chosen shows its name.
    form.focus("Edit_Custom1");
    a.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 0);
        lookup.click("OKBtn");
    });
    form.insert();
    EXPECT_EQ(form.text("Edit_Custom1"), "10");
    EXPECT_EQ(form.text("Edit_NomeCustom1"), "Americana");
}

TEST_P(ArticleForm, TheDesignationsAreCutTo40WithTheirLength)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    a.scenario.messages().clear();
    form.type("Edit_Design", QString(45, QLatin1Char('d')));
    form.tab();
    EXPECT_EQ(a.scenario.messages().transcript(),
              (QStringList{Beep, "Excedeu o tamanho de Designação ... [40 caracteres] ..."}));
    EXPECT_EQ(form.text("LabelTam1"), "45");
    EXPECT_EQ(form.text("Edit_Design"), QString(40, QLatin1Char('d')));
}

TEST_P(ArticleForm, CustomisationFieldsFollowTheGroupOfTheType)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    auto* tabs = form.find<QTabWidget>("TabControl");
    // Leaving field 2 does not leave the page: table 4 follows.
    form.type("Edit_Custom2", "5");
    form.tab();
    EXPECT_EQ(tabs->currentIndex(), 0);
    form.type("Edit_Custom4", "3");
    EXPECT_EQ(form.text("Edit_NomeCustom4"), "Offset");
    form.tab();
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(form.focused(), "Edit_Preco1");
    // An unknown value is kept with no name.
    a.showPage(form, 0);
    form.type("Edit_Custom1", "99");
    EXPECT_TRUE(form.text("Edit_NomeCustom1").isEmpty());
    // Another type, another group.
    form.type("Edit_TipoArtigo", "2");
    form.tab();
    EXPECT_EQ(a.state->WArtTabGrupo, "D");
    EXPECT_EQ(form.text("LabelArtigo1"), "Forma");
    EXPECT_FALSE(form.isEnabled("Edit_Custom4"));
}

TEST_P(ArticleForm, ATableButtonShowsWithItsCaptionAndItsRight)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    for (const char* program : {"Custom. Artigos 1", "Custom. Artigos 3"})
        a.grant("Tabelas", program);
    FormDriver form = a.open();
    // Table 1: caption and right; 2 and 4: no right; 3: no table in the group.
    const std::pair<const char*, bool> shown[] = {
        {"BotCustom1", true}, {"BotCustom2", false}, {"BotCustom3", false}, {"BotCustom4", false}};
    for (const auto& [name, visible] : shown)
        EXPECT_EQ(form.isVisible(name), visible) << name;
}

// The table buttons are the article form's: they follow its rights rows
// (WAplicacao, the table's number). The table they open keeps its values
// under the base module's rows (WModuloBase, the group).
struct TableRight {
    bool articleForm; // the row is the article form's application's, else the base module's
    const char* program;
};

struct TableRightsCase {
    const char* label;
    std::vector<TableRight> rights;
    bool button; // BotCustom1 shows and opens the table
    bool insert; // the table opened lets values be added
};

class ArticleTableRights : public ::testing::TestWithParam<std::tuple<TableRightsCase, Engine>> {};

TEST_P(ArticleTableRights, ButtonAndTableFollowTheirOwnRows)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Approval a(engine);
    a.inv->exec("UPDATE PARGRUPOS SET PAIS = 'N' WHERE TABGRUPO = 'C' AND TABCOD = '1'");
    for (const TableRight& right : c.rights)
        a.grantIn(right.articleForm ? a.session.state().WAplicacao : a.session.state().WModuloBase, "Tabelas",
                  QString::fromLatin1(right.program));
    FormDriver form = a.open();
    EXPECT_EQ(form.isVisible("BotCustom1"), c.button);
    if (!c.button)
        return;
    QString opened;
    bool insert = false;
    a.scenario.onDialog([&](FormDriver& table) {
        opened = table.caption();
        insert = table.isVisible("BotInserir");
        table.close();
    });
    form.click("BotCustom1");
    EXPECT_FALSE(opened.isEmpty());
    EXPECT_EQ(insert, c.insert);
}

INSTANTIATE_TEST_SUITE_P(
    Articles, ArticleTableRights,
    ::testing::Combine(::testing::Values(TableRightsCase{"no_rows", {}, false, false},
                                         TableRightsCase{"button_only", {{true, "Custom. Artigos 1"}}, true, false},
                                         TableRightsCase{"button_and_table",
                                                         {{true, "Custom. Artigos 1"}, {false, "Custom. Artigos C"}},
                                                         true,
                                                         true},
                                         TableRightsCase{"button_under_the_base_module",
                                                         {{false, "Custom. Artigos 1"}, {false, "Custom. Artigos C"}},
                                                         false,
                                                         false},
                                         TableRightsCase{"table_under_the_article_form",
                                                         {{true, "Custom. Artigos 1"}, {true, "Custom. Artigos C"}},
                                                         true,
                                                         false}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<TableRightsCase>);

TEST_P(ArticleForm, CountriesAreRefusedUntilACodeIsAccepted)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    kv::test::insertRows(*a.inv, "PAISES", {"PAIS"}, {{"PORTUGAL"}, {"ESPANHA"}});
    FormDriver form = a.open();
    form.type("Edit_Codigo", "NOVO1"); // typed, never left
    a.scenario.messages().clear();
    form.click("BotDesignPais");
    EXPECT_EQ(a.scenario.messages().transcript(), (QStringList{Beep, "ARTIGO INVALIDO ... <ENTER>"}));
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM ARTIGOSPAIS"), 0);
}

// --- save -------------------------------------------------------------------------------

TEST_P(ArticleForm, AnsweringNoSavesNothingAndFreesTheCode)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS WHERE CHAVE = 'NOVO1'"), 1);
    a.scenario.messages().answer(false);
    form.click("BitTerminar");
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.scenario.messages().lastText(), QStringLiteral("GRAVAÇÃO DE ARTIGO !!! Confirma ?"));
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM ARTIGOSCLS WHERE CODIGO = 'NOVO1'"), 0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 0);
    EXPECT_TRUE(a.session.state().WNosRefAprov.isEmpty());
}

TEST_P(ArticleForm, YesStoresTheArticleAndHandsItsCodeBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    // A designation never left is cut at the save.
    form.type("Edit_Design", QString(45, QLatin1Char('d')));
    a.showPage(form, 1);
    form.type("Edit_ArtDescont1", "S");
    a.scenario.messages().answer(true);
    form.click("BitTerminar");
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.session.state().WNosRefAprov, "NOVO1");
    EXPECT_EQ(a.article("DESIGNACAO", "NOVO1"), QString(40, QLatin1Char('d')));
    EXPECT_EQ(a.article("DESCONTINUADO", "NOVO1"), "N");
    EXPECT_EQ(a.article("UNVENDA", "NOVO1"), "MIL");
    EXPECT_DOUBLE_EQ(a.article("PRECO1", "NOVO1").toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(a.article("LARGURA", "NOVO1").toDouble(), 200.5);
    EXPECT_EQ(a.article("CODIVA", "NOVO1").toInt(), 2);
    EXPECT_EQ(a.article("PESO", "NOVO1").toDouble(), 0.0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

// The save question on the program's own box: only "Não" gives the article
// up; the box closed without an answer saves as "Sim" does.
struct QuestionCase {
    const char* label;
    void (*answer)(FormDriver& box);
    bool saved;
};

class ArticleSaveQuestion : public ::testing::TestWithParam<std::tuple<QuestionCase, Engine>> {};

TEST_P(ArticleSaveQuestion, OnlyNoGivesTheArticleUp)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Approval a(engine);
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    auto previous = kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());
    QString asked;
    a.scenario.onDialog([&](FormDriver& box) {
        asked = box.window()->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        c.answer(box);
    });
    form.click("BitTerminar");
    a.scenario.settle();
    kv::ui::MessageService::install(previous);
    EXPECT_EQ(asked, QStringLiteral("GRAVAÇÃO DE ARTIGO !!! Confirma ?"));
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM ARTIGOSCLS WHERE CODIGO = 'NOVO1'"), c.saved ? 1 : 0);
    EXPECT_EQ(a.session.state().WNosRefAprov, c.saved ? QStringLiteral("NOVO1") : QString());
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Articles, ArticleSaveQuestion,
    ::testing::Combine(
        ::testing::Values(QuestionCase{"yes", [](FormDriver& box) { box.clickButton(QStringLiteral("Sim")); }, true},
                          QuestionCase{"no", [](FormDriver& box) { box.clickButton(QStringLiteral("Não")); }, false},
                          QuestionCase{"escape", [](FormDriver& box) { box.escape(); }, true},
                          QuestionCase{"close_box", [](FormDriver& box) { box.close(); }, true}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<QuestionCase>);

TEST_P(ArticleForm, AStoredCodeTypedAndNeverLeftIsNotWrittenOver)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    form.type("Edit_Codigo", "A1");
    a.scenario.messages().answer(true);
    form.click("BitTerminar");
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(a.scenario.messages().lastText(), QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>"));
    EXPECT_EQ(form.focused(), "Edit_Codigo");
    EXPECT_EQ(a.article("DESIGNACAO", "A1"), "Caixa antiga");
    EXPECT_EQ(a.article("ROTURA", "A1"), "S");
    EXPECT_TRUE(a.session.state().WNosRefAprov.isEmpty());
}

TEST_P(ArticleForm, AFailedSaveLeavesNoRowAndClosingAgainRetries)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.open();
    a.acceptCode(form, "NOVO1");
    // The database refuses the row: a column the save writes is missing.
    a.inv->exec("ALTER TABLE ARTIGOSCLS RENAME COLUMN VOLUME TO VOLUME_X");
    a.scenario.messages().answer(true);
    form.click("BitTerminar");
    EXPECT_TRUE(form.isOpen());
    EXPECT_FALSE(a.scenario.messages().lastText().isEmpty());
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM ARTIGOSCLS WHERE CODIGO = 'NOVO1'"), 0);
    EXPECT_TRUE(a.session.state().WNosRefAprov.isEmpty());
    a.inv->exec("ALTER TABLE ARTIGOSCLS RENAME COLUMN VOLUME_X TO VOLUME");
    a.scenario.messages().answer(true);
    form.click("BitTerminar");
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM ARTIGOSCLS WHERE CODIGO = 'NOVO1'"), 1);
    EXPECT_EQ(a.session.state().WNosRefAprov, "NOVO1");
}

TEST_P(ArticleForm, ACodeOpenedOnAnotherWorkstationIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    kv::customers::ArticleFile other(a.inv, "OUTRO-POSTO", "RUI");
    ASSERT_EQ(other.acceptCode("NOVO1"), kv::customers::ArticleCodeCheck::Accepted);
    FormDriver form = a.open();
    form.type("Edit_Codigo", "NOVO1");
    form.enter();
    EXPECT_EQ(a.scenario.messages().lastText(), QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>"));
    EXPECT_EQ(form.focused(), "Edit_Codigo");
}

TEST_P(ArticleForm, TheYearParametersStandOnTheWorkingYearAfterTheFamilyDoor)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    a.grant("Tabelas", "Familias de Artigos");
    // The family form closes the shared year parameters when it closes.
    a.scenario.forms().add("TFACF011", [&a](QWidget* parent) -> QDialog* {
        auto* dialog = new QDialog(parent);
        QObject::connect(dialog, &QDialog::finished,
                         [&a] { a.session.dataModules().dataset("DTTABELAS.FACPARGER").close(); });
        return dialog;
    });
    FormDriver form = a.open();
    a.scenario.onDialog([](FormDriver& family) { family.close(); });
    form.click("BotFamilia");
    kv::db::Dataset& year = a.session.dataModules().dataset("DTTABELAS.FACPARGER");
    EXPECT_TRUE(year.isOpen());
    EXPECT_EQ(year.value("ANO").toString(), a.session.state().WAno);
    // The pages that need the year's folders still open.
    a.acceptCode(form, "NOVO1");
    a.showPage(form, 2);
    EXPECT_EQ(form.find<QTabWidget>("TabControl")->currentIndex(), 2);
}

// --- pictures and notes ---------------------------------------------------------------

struct Pictures : Approval {
    explicit Pictures(Engine engine) : Approval(engine)
    {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        source = scenario.tempPath("escolhida.bmp");
        image.save(source, "BMP");
    }
    QString file(const QString& name) const { return pictures + QLatin1Char('/') + name; }
    void choose(const QString& path)
    {
        scenario.onDialog([path](FormDriver& dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog.window());
            ASSERT_NE(files, nullptr);
            EXPECT_TRUE(files->nameFilters().join(' ').contains("*.bmp"));
            // Typed, as a user picks a file by name.
            auto* name = files->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(path);
            static_cast<QDialog*>(files)->accept();
        });
    }
    QString source;
};

class ArticlePictures : public ::testing::TestWithParam<Engine> {};

TEST_P(ArticlePictures, AnImportWritesThePictureOfTheNumberChosen)
{
    KV_SKIP_WITHOUT(GetParam());
    Pictures p(GetParam());
    p.grant("Ficheiros Base", "Artigos", "S");
    FormDriver form = p.open();
    p.acceptCode(form, "N1");
    p.showPage(form, 2);
    form.find<QSpinBox>("Edit_NextPage")->setValue(2);
    p.choose(p.source);
    form.click("BotLocalizar");
    EXPECT_TRUE(QFile::exists(p.file("N12.Bmp")));
    EXPECT_EQ(form.find<kv::imaging::TPictureBox>("ML2")->text(), QStringLiteral("(02)"));
    EXPECT_EQ(form.find<kv::imaging::TPictureBox>("M1")->text(), QStringLiteral("PÁGINA (02)"));

    // Over an existing picture, answered Yes: the chosen one replaces it.
    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const QString second = p.scenario.tempPath("azul.BMP"); // an upper-case extension
    blue.save(second, "BMP");
    p.scenario.messages().answer(true);
    p.choose(second);
    form.click("BotLocalizar");
    EXPECT_EQ(p.scenario.messages().texts().last(), QStringLiteral("ESTA FOTOGRAFIA JÁ EXISTE !!! Deseja Continuar ?"));
    EXPECT_EQ(QImage(p.file("N12.Bmp")).size(), QSize(4, 4));

    // Cancelled: nothing copied.
    form.find<QSpinBox>("Edit_NextPage")->setValue(3);
    p.scenario.onDialog([](FormDriver& dialog) { qobject_cast<QDialog*>(dialog.window())->reject(); });
    form.click("BotLocalizar");
    EXPECT_FALSE(QFile::exists(p.file("N13.Bmp")));
}

TEST_P(ArticlePictures, AScanReplacesThePictureOfTheNumberWithoutAQuestion)
{
    KV_SKIP_WITHOUT(GetParam());
    Pictures p(GetParam());
    p.grant("Ficheiros Base", "Artigos", "S");
    // SANE's test device through a private configuration: an 80 x 100 mm page at 50 dpi.
    const QString sane = p.scenario.tempPath("sane");
    QDir().mkpath(sane);
    for (const auto& [name, text] :
         {std::pair{"dll.conf", "test\n"},
          std::pair{"test.conf",
                    "number_of_devices 1\nresolution 50.0\ntl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\n"}}) {
        QFile file(sane + QLatin1Char('/') + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    qputenv("SANE_CONFIG_DIR", sane.toUtf8());
    QFile::copy(p.source, p.file("N13.Bmp"));
    FormDriver form = p.open();
    p.acceptCode(form, "N1");
    p.showPage(form, 2);
    form.find<QSpinBox>("Edit_NextPage")->setValue(3);
    p.scenario.messages().clear();
    form.click("BotScan");
    qunsetenv("SANE_CONFIG_DIR");
    EXPECT_TRUE(p.scenario.messages().texts().isEmpty()) << p.scenario.messages().texts().join('|').toStdString();
    EXPECT_EQ(QImage(p.file("N13.Bmp")).size(), QSize(157, 196));
    EXPECT_EQ(form.find<kv::imaging::TPictureBox>("ML3")->getImageName(), p.file("N13.Bmp"));
    EXPECT_EQ(form.find<kv::imaging::TPictureBox>("M1")->getImageName(), p.file("N13.Bmp"));
}

TEST_P(ArticlePictures, ExistingPicturesShowAtTheFirstVisitAndOnlyTheirsAreDeleted)
{
    KV_SKIP_WITHOUT(GetParam());
    Pictures p(GetParam());
    QFile::copy(p.source, p.file("n11.BMP"));
    QFile::copy(p.source, p.file("N14.Bmp"));
    FormDriver form = p.open();
    p.acceptCode(form, "N1");
    p.showPage(form, 2);
    auto* large = form.find<kv::imaging::TPictureBox>("M1");
    EXPECT_EQ(large->getImageName(), p.file("n11.BMP"));
    EXPECT_EQ(large->text(), QStringLiteral("PÁGINA (01)"));
    EXPECT_EQ(form.find<kv::imaging::TPictureBox>("ML4")->text(), QStringLiteral("(04)"));
    EXPECT_TRUE(form.find<kv::imaging::TPictureBox>("ML2")->text().isEmpty());

    p.scenario.messages().answer(true);
    form.click("BotDeleteImage");
    EXPECT_FALSE(QFile::exists(p.file("n11.BMP")));
    EXPECT_TRUE(QFile::exists(p.file("N14.Bmp")));
    EXPECT_TRUE(large->getImageName().isEmpty());
    // Nothing shown: nothing deleted.
    p.scenario.messages().answer(true);
    form.click("BotDeleteImage");
    EXPECT_EQ(p.scenario.messages().lastText(), QStringLiteral("Ficheiro : , Não foi encontrado"));
    EXPECT_TRUE(QFile::exists(p.file("N14.Bmp")));
}

TEST_P(ArticlePictures, ACodeWithAPathSeparatorGetsNoFile)
{
    KV_SKIP_WITHOUT(GetParam());
    Pictures p(GetParam());
    p.grant("Ficheiros Base", "Artigos", "S");
    FormDriver form = p.open();
    p.acceptCode(form, "../N1");
    p.showPage(form, 2);
    p.scenario.messages().clear();
    form.click("BotLocalizar");
    EXPECT_EQ(form.statusPanel(0), QStringLiteral("O ARTIGO AINDA NÃO FOI REFERENCIADO !!!"));
    EXPECT_EQ(p.scenario.messages().transcript(), QStringList{Beep});
    // Nor a notes file: the notes page does not open.
    p.showPage(form, 3);
    EXPECT_EQ(form.find<QTabWidget>("TabControl")->currentIndex(), 0);
    EXPECT_TRUE(QDir(p.notes).entryList(QDir::Files).isEmpty());
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(QFile::exists(p.scenario.tempPath(QStringLiteral("N1%1.Bmp").arg(n))));
}

TEST_P(ArticlePictures, TheScannerButtonsFollowTheScannerRight)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        bool row;
        const char* scanner;
        bool shown;
    };
    for (const Case& c : {Case{false, "S", false}, Case{true, "N", false}, Case{true, "S", true}}) {
        Pictures p(GetParam());
        if (c.row)
            p.grant("Ficheiros Base", "Artigos", c.scanner);
        FormDriver form = p.open();
        p.acceptCode(form, "N1");
        p.showPage(form, 2);
        for (const char* name : {"BotScan", "BotScanSelect", "BotLocalizar"})
            EXPECT_EQ(form.isVisible(name), c.shown) << name << " " << c.scanner;
        p.scenario.messages().answer(false);
        form.close();
    }
}

TEST_P(ArticlePictures, TheNotesFileIsCreatedForTheCode)
{
    KV_SKIP_WITHOUT(GetParam());
    Pictures p(GetParam());
    FormDriver form = p.open();
    p.acceptCode(form, "N1");
    p.showPage(form, 3);
    EXPECT_EQ(form.find<QTabWidget>("TabControl")->currentIndex(), 3);
    EXPECT_TRUE(QFile::exists(p.notes + "/ARTGN1.Rtf"));
    // The toolbar follows the caret and the text's changes as they happen.
    auto* editor = form.find<QTextEdit>("RichEditInform");
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor cursor(editor->document());
    cursor.insertText(QStringLiteral("normal "));
    cursor.insertText(QStringLiteral("negrito"), bold);
    auto* boldButton = form.window()->findChild<QAction*>("BotBold");
    ASSERT_NE(boldButton, nullptr);
    cursor.setPosition(3);
    editor->setTextCursor(cursor);
    EXPECT_FALSE(boldButton->isChecked());
    cursor.setPosition(10);
    editor->setTextCursor(cursor);
    EXPECT_TRUE(boldButton->isChecked());
    EXPECT_EQ(form.statusPanel(1), QStringLiteral("Alterado"));
    // Leaving the page asks to keep the changes.
    p.scenario.messages().answer(true);
    p.showPage(form, 0);
    EXPECT_EQ(p.scenario.messages().lastText(),
              QStringLiteral("DESEJA GRAVAR ALTERAÇÕES DAS INFORMAÇÕES !!! Confirma ?"));
    QFile saved(p.notes + "/ARTGN1.Rtf");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("negrito"));
}

KV_ENGINE_SUITE(ArticleForm);
KV_ENGINE_SUITE(ArticlePictures);

// --- the demo company, which codes its articles automatically ------------------------

struct DemoApproval {
    explicit DemoApproval(Engine engine) : session(scenario.login(engine, kv::test::Company::Demo))
    {
        kv::customers::registerArticleCodingForms(session, scenario.forms());
        state = kv::customers::registerArticleForms(session, scenario.forms());
        // The demo quote 2 is approved without an article code.
        kv::db::Dataset& quotes = session.dataModules().dataset("ZURIVAVEZA.ORCMAS");
        if (!quotes.isOpen())
            quotes.open();
        quotes.locate({"CODIGO", "SUBCODIGO"}, {2, 99});
        session.state().WNosRefAprov.clear();
        session.state().WPrecoAdjud = 0.55;
    }
    ~DemoApproval() { closeForms(scenario); }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    std::shared_ptr<kv::customers::ArticleSessionState> state;
};

class ArticleCodingFlow : public ::testing::TestWithParam<Engine> {};

TEST_P(ArticleCodingFlow, ACodeBuiltByTheCodingIsSavedAndReachesTheApproval)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoApproval a(GetParam());
    a.scenario.onDialog([](FormDriver& coding) {
        coding.type("Edit_RefTipArt", "1");
        coding.tab();
        int n = 1;
        for (const char* value : {"1", "1", "3", "2"}) {
            coding.type(QStringLiteral("Edit_RefCustom%1").arg(n++), QString::fromLatin1(value));
            coding.tab();
        }
        coding.click("BitTerminar");
    });
    FormDriver form = a.scenario.open("TORCF032ART");
    const QString code = form.text("Edit_Codigo");
    EXPECT_FALSE(code.isEmpty());
    EXPECT_EQ(form.text("Edit_Design"), form.text("Label_Design"));
    EXPECT_FALSE(form.text("Label_Design").isEmpty());
    EXPECT_EQ(form.text("Edit_TipoArtigo"), "1");
    for (const auto& [field, value] : {std::pair{"Edit_Custom1", "1"}, std::pair{"Edit_Custom3", "3"},
                                       std::pair{"Edit_Custom4", "2"}, std::pair{"Edit_Custom5", ""}})
        EXPECT_EQ(form.text(field), QString::fromLatin1(value)) << field;
    EXPECT_FALSE(form.text("Edit_NomeCustom1").isEmpty());
    // The quote's other values stay.
    EXPECT_EQ(form.text("Edit_Preco1"), QStringLiteral("0,55"));

    a.scenario.messages().answer(true);
    form.click("BitTerminar");
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.session.state().WNosRefAprov, code);
    auto inv = a.scenario.invoicingDatabase();
    EXPECT_EQ(inv->scalar("SELECT CUSTOM4 FROM ARTIGOSCLS WHERE CODIGO = :C", {{"C", code}}).toInt(), 2);
    EXPECT_EQ(inv->scalar("SELECT DESIGNACAO1 FROM ARTIGOSCLS WHERE CODIGO = :C", {{"C", code}}).toString(),
              form.text("Label_Design"));
    EXPECT_EQ(inv->scalar("SELECT COUNT(*) FROM RESERVAS").toInt(), 0);
}

TEST_P(ArticleCodingFlow, TheCodingClosedHandsNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoApproval a(GetParam());
    a.scenario.onDialog([](FormDriver& coding) { coding.close(); });
    FormDriver form = a.scenario.open("TORCF032ART");
    EXPECT_TRUE(form.text("Edit_Codigo").isEmpty());
    EXPECT_TRUE(form.text("Label_Design").isEmpty());
    EXPECT_EQ(form.text("Edit_Design"), QStringLiteral("Caixa de ovos moles com janela"));
}

KV_ENGINE_SUITE(ArticleCodingFlow);

} // namespace
