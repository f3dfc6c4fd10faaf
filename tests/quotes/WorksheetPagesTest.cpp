// The quote worksheet's customer and product page and its production page
// on the demo company: exit rules and their messages, lookups, labels,
// pictures and side doors.
#include "quotes/forms/QuoteForms.h"
#include "quotes/forms/TORCF021.h"

#include "commercial/forms/CommercialForms.h"
#include "imaging/forms/TPictureBox.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

#include "platform/db/Dataset.h"
#include "platform/text/NumberText.h"

#include <QDir>
#include <QImage>
#include <QTabWidget>

#include <gtest/gtest.h>

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

const QStringList NoMessages;

// The demo company with its customers (101 "Quinta do Vale Douro" at
// 4050-123 Porto, payment condition 2, salesman 1), products (PR-VIN06 with
// VAT code 2) and boards, and a new quote 50 open on the customer field.
struct Pages {
    kv::test::Scenario scenario;

    explicit Pages(Engine engine, bool commercialForms = false)
    {
        scenario.login(engine, Company::Demo);
        registerQuoteForms(scenario.session(), scenario.forms());
        if (commercialForms)
            kv::commercial::registerCommercialForms(scenario.session(), scenario.forms());
        scenario.messages().clear();
    }

    FormDriver newQuote()
    {
        FormDriver form = scenario.open("TORCF021");
        scenario.settle();
        for (const auto& [field, text] : {std::pair{"Edit_Serie", "1"}, {"Edit_Codigo", "50"}, {"Edit_SubCodigo", "0"}})
            enter(form, field, text);
        form.enter(); // the date
        scenario.settle();
        form.enter(); // no base quote
        scenario.settle();
        EXPECT_EQ(form.focused(), "Edit_CliNro");
        return form;
    }

    void enter(FormDriver& form, const char* field, const QString& text)
    {
        form.type(field, text);
        form.enter();
        scenario.settle();
    }

    // A quote with the demo customer and product, its production page open.
    FormDriver onProductionPage()
    {
        FormDriver form = newQuote();
        enter(form, "Edit_CliNro", "101");
        enter(form, "Edit_NosRef", "PR-VIN06");
        enter(form, "Edit_Observ3", "");
        EXPECT_EQ(form.find<QTabWidget>("Tb")->currentIndex(), ProductionPage);
        EXPECT_EQ(form.focused(), "Edit_UndPlano");
        scenario.messages().clear();
        return form;
    }

    const WorksheetState& state(FormDriver& form) { return qobject_cast<TORCF021*>(form.window())->worksheet(); }

    // The article's first picture in the demo pictures folder (X:\Fotos),
    // named in another case than the code.
    QString writePicture(const QString& fileName)
    {
        const QString folder = scenario.installation().root() + QStringLiteral("/Fotos");
        QDir().mkpath(folder);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString path = folder + QLatin1Char('/') + fileName;
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    kv::imaging::TPictureBox* picture(FormDriver& form, int n)
    {
        return form.find<kv::imaging::TPictureBox>(QStringLiteral("ML%1").arg(n));
    }
};

class WorksheetPages : public ::testing::TestWithParam<Engine> {};
KV_ENGINE_SUITE(WorksheetPages);

// ------------------------------------------------------------------ page 1

struct RefusalCase {
    const char* label;
    const char* field;
    const char* typed;
    const char* message; // "" : a bare beep
};

class CustomerPageRefusal : public ::testing::TestWithParam<std::tuple<RefusalCase, Engine>> {};

TEST_P(CustomerPageRefusal, keepsTheFocusWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Pages p(engine);
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    p.scenario.messages().clear();
    p.enter(form, c.field, QString::fromUtf8(c.typed));
    EXPECT_EQ(p.scenario.messages().transcript(), (QStringList{"<beep>", QString::fromUtf8(c.message)}));
    EXPECT_EQ(form.focused(), c.field);
}

const RefusalCase kCustomerRefusals[] = {
    {"customerUnknown", "Edit_CliNro", "999", "Cliente Inexistente !!!"},
    {"customerNotANumber", "Edit_CliNro", "1O1", "Cliente Inexistente !!!"},
    {"nameEmpty", "Edit_Nome", "", "Nome do Cliente Inválido !!! "},
    {"postalCodeEmpty", "Edit_CodPostal", "", "Código Postal Inválido"},
    {"postalCodeUnknown", "Edit_CodPostal", "9999-999", "Código Postal Inexistente"},
    {"paymentZero", "Edit_CndPgt", "0", "Condição de Pagamento Inválida"},
    {"paymentNotANumber", "Edit_CndPgt", "3a", "Condição de Pagamento Inválida"},
    {"paymentUnknown", "Edit_CndPgt", "77", "Condição de Pagamento Inexistente"},
    {"salesmanEmpty", "Edit_VndNro", "", "Vendedor Inválido"},
    {"salesmanUnknown", "Edit_VndNro", "77", "Vendedor Inexistente"},
    {"articleUnknown", "Edit_NosRef", "PR-NADA", "Artigo Inexistente !!!"},
    {"designationEmpty", "Edit_Design1", "", "A Designação do Artigo Tem que ser Preenchida !!!"},
    {"vatEmpty", "Edit_CodIva", "", "Código IVA Inválido"},
    {"vatUnknown", "Edit_CodIva", "77", "Código IVA Inexistente"},
    {"measureNotANumber", "Edit_Largura", "12x", "\"12x\" não é um número válido."},
};
INSTANTIATE_TEST_SUITE_P(Cases, CustomerPageRefusal,
                         ::testing::Combine(::testing::ValuesIn(kCustomerRefusals),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<RefusalCase>);

// "&Cancelar" leaves a field holding a wrong value without its check.
class CustomerPageCancel : public ::testing::TestWithParam<std::tuple<RefusalCase, Engine>> {};

TEST_P(CustomerPageCancel, skipsTheCheck)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Pages p(engine);
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    p.scenario.messages().clear();
    form.type(c.field, QString::fromUtf8(c.typed));
    form.click("BotCancelar");
    p.scenario.settle();
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(form.focused(), "Edit_Serie");
    EXPECT_FALSE(p.state(form).quoteOpen);
}

const RefusalCase kCancelled[] = {
    {"name", "Edit_Nome", "", ""},           {"postalCode", "Edit_CodPostal", "9999-999", ""},
    {"payment", "Edit_CndPgt", "0", ""},     {"salesman", "Edit_VndNro", "77", ""},
    {"designation", "Edit_Design1", "", ""}, {"vat", "Edit_CodIva", "", ""},
};
INSTANTIATE_TEST_SUITE_P(Cases, CustomerPageCancel,
                         ::testing::Combine(::testing::ValuesIn(kCancelled), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<RefusalCase>);

TEST_P(WorksheetPages, enteringTheCustomerOpensTheQuote)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.newQuote();
    EXPECT_TRUE(p.state(form).quoteOpen);
    EXPECT_FALSE(form.isEnabled("Edit_Serie"));
    EXPECT_FALSE(form.isEnabled("BitTerminar"));
    EXPECT_EQ(form.statusPanel(0), "Tecla <Insert> Procura Numérica -- <Ctrl+Insert> Procura Alfabética");
}

TEST_P(WorksheetPages, emptyCustomerGoesToTheName)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "");
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(form.focused(), "Edit_Nome");
    EXPECT_TRUE(p.state(form).row->isNull("CLINRO"));
}

TEST_P(WorksheetPages, customerOverwritesWhatWasTyped)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "");
    p.enter(form, "Edit_Nome", "Cliente de passagem");
    p.enter(form, "Edit_Morada1", "Rua Nova");
    form.type("Edit_CndPgt", "1");
    p.enter(form, "Edit_CliNro", "101");
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(form.text("Edit_Nome"), "Quinta do Vale Douro - Vinhos, S.A.");
    EXPECT_EQ(form.text("Edit_Morada1"), "Rua da Adega, 12");
    EXPECT_EQ(form.text("Edit_CodPostal"), "4050-123");
    EXPECT_EQ(form.text("Edit_Localidade"), "Porto");
    EXPECT_EQ(form.text("Edit_Regiao"), "NORTE");
    EXPECT_EQ(form.text("Edit_Provincia"), "PORTO");
    EXPECT_EQ(form.text("Edit_CndPgt"), "2");
    EXPECT_EQ(form.text("Label_CndPgt"), "30 30 Dias Data da Factura 0%");
    EXPECT_EQ(form.text("Edit_VndNro"), "1");
    EXPECT_EQ(form.text("Label_Vendedor"), "Rui Marques");
    const QuoteRow& row = *p.state(form).row;
    EXPECT_EQ(row.integer("CLINRO"), 101);
    EXPECT_EQ(row.integer("CNDPGT"), 2);
    EXPECT_EQ(row.integer("VNDNRO"), 1);
    EXPECT_EQ(row.text("CODPOSTAL"), "4050-123");
}

TEST_P(WorksheetPages, unknownArticleEmptiesOnlyItsField)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    p.enter(form, "Edit_Design1", "Caixa de teste");
    p.enter(form, "Edit_CodIva", "1");
    p.enter(form, "Edit_NosRef", "PR-NADA");
    EXPECT_EQ(form.text("Edit_NosRef"), "");
    EXPECT_EQ(form.text("Edit_Design1"), "Caixa de teste");
    EXPECT_EQ(form.text("Edit_CodIva"), "1");
    EXPECT_EQ(form.text("Label_Iva"), "6%");
    EXPECT_TRUE(p.state(form).row->isNull("NOSREF"));
}

TEST_P(WorksheetPages, knownArticleReplacesItsFieldsAndShowsItsPictureOnEveryPage)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    const QString path = p.writePicture("pr-vin061.BMP");
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    p.enter(form, "Edit_Design1", "Caixa de teste");
    p.enter(form, "Edit_NosRef", "PR-VIN06");
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(form.text("Edit_Design1"), "Caixa 6 Garrafas Vinho 75cl Impressa");
    EXPECT_EQ(form.text("Edit_CodIva"), "2");
    EXPECT_EQ(form.text("Label_Iva"), "23%");
    EXPECT_EQ(form.text("Edit_UndVnd"), "UN");
    EXPECT_EQ(form.text("Edit_Comprim"), "320");
    EXPECT_EQ(form.text("Edit_Largura"), "240");
    EXPECT_EQ(form.text("Edit_Altura"), "330");
    EXPECT_EQ(p.state(form).row->text("DESIGN1"), "Caixa 6 Garrafas Vinho 75cl Impressa");
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(QFileInfo(p.picture(form, n)->getImageName()), QFileInfo(path)) << n;
        EXPECT_EQ(p.picture(form, n)->text(), "(01)") << n;
    }
    // An article without a picture leaves every box empty, the other pages' too.
    p.enter(form, "Edit_NosRef", "PR-VIN01");
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(p.picture(form, n)->getImageName(), "") << n;
        EXPECT_EQ(p.picture(form, n)->text(), "") << n;
    }
}

// A stored row shows its values and its article's picture; its boards are
// not taken as chosen in this opening, so the colours still ask for one.
TEST_P(WorksheetPages, storedRowIsLoadedWithItsPicture)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    const QString path = p.writePicture("PR-OVOS121.bmp");
    p.scenario.applicationDatabase()->exec("UPDATE ORCMAS SET NOSREF = 'PR-OVOS12', CARTOLINA = 1 WHERE CODIGO = 2");
    FormDriver form = p.scenario.open("TORCF021");
    p.scenario.settle();
    for (const auto& [field, text] : {std::pair{"Edit_Serie", "1"}, {"Edit_Codigo", "2"}, {"Edit_SubCodigo", "0"}})
        p.enter(form, field, text);
    EXPECT_EQ(form.text("Edit_CliNro"), "102");
    EXPECT_EQ(form.text("Edit_NosRef"), "PR-OVOS12");
    EXPECT_EQ(form.text("Label_Iva"), "23%");
    EXPECT_EQ(QFileInfo(p.picture(form, 3)->getImageName()), QFileInfo(path));
    const WorksheetState& state = p.state(form);
    EXPECT_EQ(state.boards[0], 0);
    form.enter(); // the date
    p.scenario.settle();
    p.enter(form, "Edit_Observ3", "");
    p.scenario.messages().clear();
    form.focus("Edit_NroCores");
    p.scenario.settle();
    EXPECT_EQ(p.scenario.messages().texts(), QStringList{"Seleccione a Matéria Prima por Favor !!!"});
}

// --------------------------------------------------------------- lookups

TEST_P(WorksheetPages, customerLookupCancelledChangesNothingAndAChoiceIsTakenAtOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.newQuote();
    form.type("Edit_CliNro", "");
    for (bool byName : {false, true}) {
        p.scenario.onDialog([](FormDriver& dialog) { dialog.click("CancelBtn"); });
        byName ? form.ctrlInsert() : form.insert();
        p.scenario.settle();
    }
    EXPECT_EQ(form.text("Edit_CliNro"), "");
    EXPECT_EQ(form.text("Edit_Nome"), "");
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    p.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"Nome do Cliente", "Cliente Nº", "Mercado"}));
        dialog.clickRow("Grid", 1); // by name, after "Conservas": "Doçaria"
        dialog.click("OKBtn");
    });
    form.ctrlInsert();
    p.scenario.settle();
    EXPECT_EQ(form.text("Edit_CliNro"), "102");
    EXPECT_EQ(form.text("Edit_Nome"), "Doçaria Conventual de Aveiro, Lda");
    EXPECT_EQ(form.text("Edit_Localidade"), "Aveiro");
    EXPECT_EQ(form.text("Label_Vendedor"), "Sofia Lopes");
}

// The article lookups offer types 1 and 2 compared as numbers; once one has
// been used, a typed code is checked among the articles it offers.
TEST_P(WorksheetPages, articleLookupOffersProductTypesAsNumbers)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    kv::test::addArticles(
        *p.scenario.invoicingDatabase(),
        {{"AA-SEMI", "Semi-acabado", "2"}, {"AA-CONS", "Embalagem de consumo", "10"}, {"AA-SERV", "Serviço", "3"}});
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    p.enter(form, "Edit_NosRef", "AA-CONS"); // typed before any lookup: any article
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    QStringList offered;
    p.scenario.onDialog([&offered](FormDriver& dialog) {
        offered = dialog.gridColumn("Grid", 0);
        dialog.click("OKBtn");
    });
    form.type("Edit_NosRef", "");
    form.insert();
    p.scenario.settle();
    EXPECT_TRUE(offered.contains("AA-SEMI"));
    EXPECT_TRUE(offered.contains("PR-VIN06"));
    EXPECT_FALSE(offered.contains("AA-CONS"));
    EXPECT_FALSE(offered.contains("AA-SERV"));
    EXPECT_EQ(form.text("Edit_NosRef"), offered.value(0));
    p.enter(form, "Edit_NosRef", "AA-CONS");
    EXPECT_EQ(p.scenario.messages().transcript(), (QStringList{"<beep>", "Artigo Inexistente !!!"}));
}

// ------------------------------------------------------------------ page 2

struct ProductionCase {
    const char* label;
    const char* board; // chosen first, "" none
    const char* colours; // typed after it, "" none
    const char* field;
    const char* typed;
    const char* message; // "" : a bare beep
};

class ProductionPageRefusal : public ::testing::TestWithParam<std::tuple<ProductionCase, Engine>> {};

TEST_P(ProductionPageRefusal, keepsTheFocusWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Pages p(engine);
    FormDriver form = p.onProductionPage();
    if (*c.board)
        p.enter(form, "Edit_Cartolina", QString::fromLatin1(c.board));
    if (*c.colours)
        p.enter(form, "Edit_NroCores", QString::fromLatin1(c.colours));
    p.enter(form, c.field, QString::fromUtf8(c.typed));
    QStringList expected{"<beep>"};
    if (*c.message)
        expected << QString::fromUtf8(c.message);
    EXPECT_EQ(p.scenario.messages().transcript(), expected);
    EXPECT_EQ(form.focused(), c.field);
}

const ProductionCase kProductionRefusals[] = {
    {"unitsEmpty", "", "", "Edit_UndPlano", "", ""},
    {"unitsZero", "", "", "Edit_UndPlano", "0", ""},
    {"lengthEmpty", "", "", "Edit_Comprim1", "", "Insira o comprimento do plano !!!"},
    {"widthEmpty", "", "", "Edit_Largura1", "", "Insira a Largura do plano !!!"},
    {"windowWeightText", "", "", "Edit_PesoJanelas", "1a", "\"1a\" não é um número válido."},
    {"cartolinaNegative", "", "", "Edit_Cartolina", "-1", "Referência de Cartolina Inválida"},
    {"cartolinaUnknown", "", "", "Edit_Cartolina", "999", "Referência de Cartolina Inexistente"},
    {"microCanalUnknown", "", "", "Edit_MicroCanal", "999", "Referência de MicroCanal Inexistente"},
    {"placaText", "", "", "Edit_Placa", "x", "Referência de Placa Inválida"},
    {"coloursTen", "1", "", "Edit_NroCores", "10", "Nº de Côres Inválida"},
    {"surfaceZero", "1", "4", "Edit_SuperfImpr", "0", "Superficie de Impressão Inválida"},
    {"embossingOther", "", "", "Edit_Relevo", "X", "Digite [S]im ou [N]ão !!!"},
    {"finishingEmpty", "", "", "Edit_AcabNormal", "", "Digite [S]im ou [N]ão !!!"},
    {"cuttingGradeZero", "", "", "Edit_PrdHoraCv", "0", "Digite de [1...3]"},
    {"cuttingMakeReadyFour", "", "", "Edit_AcertoCv", "4", "Digite de [1...3]"},
    {"printingMakeReadyThree", "", "", "Edit_AcertoImp", "3", "Digite de [1...2]"},
    {"gluerGradeFour", "", "", "Edit_PrdHoraCol", "4", "Digite de [1...3]"},
    {"counterGluerMakeReadyThree", "", "", "Edit_AcertoC_Col", "3", "Digite de [1...2]"},
    {"counterGluingFour", "", "", "Edit_C_ColTipo", "4", "Digite de [1...3]"},
};
INSTANTIATE_TEST_SUITE_P(Cases, ProductionPageRefusal,
                         ::testing::Combine(::testing::ValuesIn(kProductionRefusals),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ProductionCase>);

TEST_P(WorksheetPages, machineFieldsTakeTheirHighestGrade)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    for (const auto& [field, value] : {std::pair{"Edit_PrdHoraCv", "3"},
                                       {"Edit_AcertoCv", "3"},
                                       {"Edit_PrdHoraImp", "3"},
                                       {"Edit_AcertoImp", "2"},
                                       {"Edit_AcertoC_Col", "2"}})
        p.enter(form, field, value);
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(p.state(form).row->integer("ACERTOC_COL"), 2);
    EXPECT_EQ(p.state(form).row->integer("PRDHORACV"), 3);
}

TEST_P(WorksheetPages, boardsFillTheirLabelsAndEmptyIsNone)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    const QString designation =
        p.scenario.applicationDatabase()->scalar("SELECT DESIGNACAO FROM PAPEIS WHERE CODIGO = 1").toString().trimmed();
    p.enter(form, "Edit_Cartolina", "1");
    EXPECT_EQ(form.text("Label_Cartolina"), designation);
    EXPECT_EQ(p.state(form).boards[0], 1);
    p.enter(form, "Edit_Cartolina", "");
    EXPECT_EQ(form.text("Label_Cartolina"), "");
    EXPECT_EQ(p.state(form).boards[0], 0);
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
}

TEST_P(WorksheetPages, coloursNeedABoardOfThisOpening)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    form.focus("Edit_NroCores");
    p.scenario.settle();
    EXPECT_EQ(p.scenario.messages().transcript(), (QStringList{"<beep>", "Seleccione a Matéria Prima por Favor !!!"}));
    EXPECT_EQ(form.focused(), "Edit_Cartolina");
}

TEST_P(WorksheetPages, coloursEmptyZeroAndSome)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    p.enter(form, "Edit_Cartolina", "1");
    // Empty: no printing, the surface set to 0 and skipped.
    p.enter(form, "Edit_NroCores", "");
    EXPECT_EQ(form.text("Edit_NroCores"), "0");
    EXPECT_EQ(form.text("Edit_SuperfImpr"), "0");
    EXPECT_FALSE(form.isEnabled("Edit_SuperfImpr"));
    EXPECT_EQ(form.focused(), "Edit_Relevo");
    // 0 typed: the surface is reachable and not checked.
    p.enter(form, "Edit_NroCores", "0");
    EXPECT_EQ(form.focused(), "Edit_SuperfImpr");
    p.enter(form, "Edit_SuperfImpr", "");
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    p.enter(form, "Edit_NroCores", "4");
    p.enter(form, "Edit_SuperfImpr", "60");
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(p.state(form).colours, 4);
    EXPECT_EQ(p.state(form).row->number("SUPERFIMPR"), 60.0);
}

TEST_P(WorksheetPages, sheetAreaOfOneAndTwoFormats)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    p.enter(form, "Edit_UndPlano", "4");
    p.enter(form, "Edit_Comprim1", "120");
    p.enter(form, "Edit_Largura1", "80");
    EXPECT_NEAR(p.state(form).sheetArea, 0.96, 1e-9);
    p.enter(form, "Edit_Comprim2", "50");
    p.enter(form, "Edit_Largura2", "70");
    EXPECT_NEAR(p.state(form).sheetArea, 1.31, 1e-9);
    EXPECT_EQ(p.state(form).unitsPerSheet, 4);
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
}

TEST_P(WorksheetPages, validCounterGluingTypeOpensTheDetailPage)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    p.enter(form, "Edit_C_ColTipo", "2");
    EXPECT_EQ(form.find<QTabWidget>("Tb")->currentIndex(), DetailPage);
    EXPECT_EQ(p.state(form).row->integer("C_COLTIPO"), 2);
}

// A new quote typed from the customer page to the calculation: the demo
// customer and product, the production page and quantity of demo quote 1 and
// its procedure. "&Iniciar" creates the procedure's lines (the board before
// the printing machine priced on the quantity as sheets); once recalculated
// on the same quantity they are the lines the engine gave demo quote 1.
TEST_P(WorksheetPages, startAfterTheFirstTwoPagesPricesTheQuote)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam());
    FormDriver form = p.onProductionPage();
    const std::pair<const char*, const char*> production[] = {
        {"Edit_UndPlano", "4"},    {"Edit_Comprim1", "100"}, {"Edit_Largura1", "70"},   {"Edit_Comprim2", ""},
        {"Edit_Largura2", ""},     {"Edit_PesoJanelas", ""}, {"Edit_Cartolina", "6"},   {"Edit_MicroCanal", ""},
        {"Edit_Placa", ""},        {"Edit_NroCores", "4"},   {"Edit_SuperfImpr", "60"}, {"Edit_Relevo", "N"},
        {"Edit_AcabNormal", "S"},  {"Edit_PrdHoraCv", "1"},  {"Edit_AcertoCv", "1"},    {"Edit_PrdHoraImp", "1"},
        {"Edit_AcertoImp", "1"},   {"Edit_PrdHoraCol", "1"}, {"Edit_AcertoCol", "1"},   {"Edit_PrdHoraC_Col", "1"},
        {"Edit_AcertoC_Col", "1"}, {"Edit_C_ColTipo", "1"}};
    for (const auto& [field, value] : production)
        p.enter(form, field, QString::fromLatin1(value));
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    ASSERT_EQ(form.find<QTabWidget>("Tb")->currentIndex(), DetailPage);
    auto quantities = [&] {
        const std::pair<const char*, const char*> detail[] = {
            {"Edit_QtdOrc1", "2000"}, {"Edit_QtdOrc2", ""}, {"Edit_QtdOrc3", ""}, {"Edit_Unidade", "U"}};
        for (const auto& [field, value] : detail)
            p.enter(form, field, QString::fromLatin1(value));
    };
    quantities();
    p.enter(form, "Edit_Procedim", "1");
    form.click("BotIniciar");
    p.scenario.settle();
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);

    auto db = p.scenario.applicationDatabase();
    auto lines = [&db](int number, const char* columns) {
        return db
            ->query(QStringLiteral("SELECT %1 FROM ORCDET WHERE CODIGO = :N AND SUBCODIGO = 0 ORDER BY DETAIL")
                        .arg(QLatin1String(columns)),
                    {{"N", number}})
            .rows;
    };
    auto total = [&db](int number) {
        return db->scalar("SELECT VALORORC1 FROM ORCMAS WHERE CODIGO = :N AND SUBCODIGO = 0", {{"N", number}})
            .toDouble();
    };
    const auto created = lines(50, "DETAIL, TIPOTABELA, CODTAB");
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created, lines(1, "DETAIL, TIPOTABELA, CODTAB"));
    const double sum = db->scalar("SELECT SUM(VALQTD1) FROM ORCDET WHERE CODIGO = 50 AND SUBCODIGO = 0").toDouble();
    EXPECT_NEAR(total(50), sum, 0.005);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), static_cast<int>(created.size()));
    EXPECT_EQ(form.focused(), "DBGrid1");
    // The quote is stored now: the grid offers its line buttons and the quantities.
    for (const char* button : {"BotQtds", "BotInserirLinha", "BotAlterarLinha"})
        EXPECT_TRUE(form.isEnabled(button)) << button;

    form.click("BotQtds");
    p.scenario.settle();
    quantities();
    form.click("BotIniciar");
    p.scenario.settle();
    EXPECT_EQ(p.scenario.messages().transcript(), NoMessages);
    EXPECT_EQ(lines(50, "DETAIL, TIPOTABELA, CODTAB, VALQTD1"), lines(1, "DETAIL, TIPOTABELA, CODTAB, VALQTD1"));
    EXPECT_EQ(total(50), total(1));
}

// ------------------------------------------------------------- side doors

TEST_P(WorksheetPages, sideDoorsShownByRightAndForm)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam(), true);
    p.scenario.applicationDatabase()->exec(
        "UPDATE APLICACAODET SET ACEDER = 'N' WHERE PROGRAMA = 'Condicoes de Pagamento'");
    p.scenario.session().dataModules().dataset("DTEMPRESAS.APLICACAODET").refresh();
    FormDriver form = p.newQuote();
    EXPECT_TRUE(form.isVisible("BotCodPostal"));
    EXPECT_FALSE(form.isVisible("BotCndPgt")); // refused
    EXPECT_TRUE(form.isVisible("BotVendedor"));
}

TEST_P(WorksheetPages, salesmenDoorGivesTheWorksheetItsSalesmenBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam(), true);
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    auto invoicing = p.scenario.invoicingDatabase();
    p.scenario.onDialog([invoicing](FormDriver& door) {
        EXPECT_EQ(door.window()->objectName(), "TFACF030");
        invoicing->exec("INSERT INTO VENDEDORES (CODIGO, NOME, CHEFE, REDCOMISSAO) VALUES (7, 'Paulo Reis', 'N', 'N')");
        door.close();
    });
    form.click("BotVendedor");
    p.scenario.settle();
    EXPECT_TRUE(p.scenario.session().dataModules().dataset("DTFILES.VENDEDORES").isOpen());
    p.enter(form, "Edit_VndNro", "7");
    EXPECT_EQ(form.text("Label_Vendedor"), "Paulo Reis");
}

TEST_P(WorksheetPages, postalCodeDoorGivesTheWorksheetItsCodesBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Pages p(GetParam(), true);
    FormDriver form = p.newQuote();
    p.enter(form, "Edit_CliNro", "101");
    auto invoicing = p.scenario.invoicingDatabase();
    p.scenario.onDialog([invoicing](FormDriver& door) {
        EXPECT_EQ(door.window()->objectName(), "TFACF008");
        invoicing->exec("INSERT INTO CODPOSTAL (CODPOSTAL, LOCALIDADE, REGIAO, PROVINCIA) "
                        "VALUES ('4700-001', 'Braga', 'NORTE', 'BRAGA')");
        door.close();
    });
    form.click("BotCodPostal");
    p.scenario.settle();
    EXPECT_TRUE(p.scenario.session().dataModules().dataset("DTTABELAS.CODPOSTAL").isOpen());
    p.enter(form, "Edit_CodPostal", "4700-001");
    EXPECT_EQ(form.text("Edit_Localidade"), "Braga");
    p.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_TRUE(dialog.gridRowCount("Grid") > 0);
        dialog.click("CancelBtn");
    });
    form.focus("Edit_CodPostal");
    form.insert();
    p.scenario.settle();
    EXPECT_EQ(form.text("Edit_CodPostal"), "4700-001");
}

} // namespace
