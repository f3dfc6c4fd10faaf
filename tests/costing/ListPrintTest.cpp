// The inks list print: TORCFSPR002 rewrites the shared dataset's statement
// for the order and range chosen and previews TORCFPR002; the inks form puts
// its own statement back afterwards.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

#include "costing/forms/CodeTableForm.h"
#include "platform/db/Dataset.h"
#include "support/QtPrinters.h"

using namespace kv::costing;
using namespace kv::costing::test;
using kv::report::BandKind;
using kv::report::Document;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// The first column of each detail line: the ink's code.
QStringList listedCodes(const Document& document)
{
    QStringList codes;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == BandKind::Detail && !band.items.empty())
                codes << band.items.front().text;
    return codes;
}

struct PrintCase {
    const char* label;
    bool alphabetic;
    std::optional<QString> from; // typed and left; none: the dialog's default left untouched
    std::optional<QString> to;
    QStringList codes;
    QStringList header; // the range and the order the header shows
};

class ListPrint : public ::testing::TestWithParam<std::tuple<PrintCase, Engine>> {};

TEST_P(ListPrint, ListsTheRangeInTheOrderChosen)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Inks inks(engine);
    // Its article sorts between the others' while its code and designation come first.
    inks.session.addInk(5, "TI-OUR01", "Amarelo Ouro", 2.0, 32.0);
    FormDriver form = inks.open();

    QString dialogCaption;
    QString dialogStatus;
    const Document document = printList(inks.scenario, form, c.alphabetic, [&](FormDriver& dialog) {
        dialogCaption = dialog.caption();
        dialogStatus = dialog.statusPanel(0);
        if (c.from)
            dialog.type("Edit_Artigo1", *c.from);
        if (c.to) {
            dialog.type("Edit_Artigo2", *c.to);
            dialog.tab();
        }
    });

    EXPECT_EQ(dialogCaption, "Tabela de Tintas");
    EXPECT_EQ(dialogStatus, inks.session.state().WMarca);
    EXPECT_EQ(listedCodes(document), c.codes);
    const QStringList header = bandTexts(document, BandKind::PageHeader);
    for (const QString& text : c.header)
        EXPECT_TRUE(header.contains(text)) << text.toStdString() << " not in the header";
    if (!c.codes.isEmpty()) {
        EXPECT_TRUE(header.contains("Tabela de Tintas"));
        EXPECT_EQ(bandTexts(document, BandKind::ColumnHeader),
                  (QStringList{"Código", "Referência", "Designação do artigo", "Gram.M2", "Preço"}));
        const QStringList footer = bandTexts(document, BandKind::PageFooter);
        EXPECT_TRUE(footer.contains("Empresa : Cartonagem do Vale, Lda"));
        EXPECT_TRUE(footer.contains(inks.session.state().WRodape));
        EXPECT_TRUE(footer.contains("Página : 1"));
    }

    // Back in the form, the whole table in code order again.
    EXPECT_EQ(inks.session.dataset("ZURIVAVEZA.TINTAS").sql(), "Select * From TINTAS Order By CODIGO");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 4);
    EXPECT_EQ(form.gridCell("DBGrid1", 0, 0), "5");
}

const QString AllCodes = QString(16, 'Z');

INSTANTIATE_TEST_SUITE_P(
    Costing, ListPrint,
    ::testing::Combine(::testing::Values(
                           // The header shows the range the rows were selected by, also when
                           // the fields were never left.
                           PrintCase{"default range by article",
                                     false,
                                     std::nullopt,
                                     std::nullopt,
                                     {"10", "20", "5", "40"},
                                     {AllCodes, "Ord.Numérica"}},
                           PrintCase{"default range by designation",
                                     true,
                                     std::nullopt,
                                     std::nullopt,
                                     {"5", "10", "20", "40"},
                                     {AllCodes, "Ord.Alfabética"}},
                           PrintCase{"range of articles",
                                     false,
                                     "TI-MAG01",
                                     "TI-OUR01",
                                     {"20", "5"},
                                     {"TI-MAG01", "TI-OUR01", "Ord.Numérica"}},
                           PrintCase{"range of unknown codes", false, "TI-D", "TI-N", {"20"}, {"TI-D", "TI-N"}},
                           PrintCase{"inverted range", false, "TI-PRE01", "TI-CIA01", {}, {}}),
                       ::testing::ValuesIn(engines())),
    caseName<PrintCase>);

class RangeFields : public ::testing::TestWithParam<Engine> {};

// A 'to' code of a known article before the 'from' code sends the focus
// back to 'from', without a message; known codes show their designation.
TEST_P(RangeFields, SendTheFocusBackOnAnInvertedRange)
{
    SKIP_WITHOUT(GetParam());
    Inks inks(GetParam());
    FormDriver form = inks.open();
    QString focusAfterInverted;
    QString designationFrom;
    inks.scenario.onDialog([&](FormDriver& dialog) {
        EXPECT_EQ(dialog.text("Edit_Artigo1"), "");
        EXPECT_EQ(dialog.text("Edit_Artigo2"), QString(16, 'Z'));
        EXPECT_TRUE(dialog.isChecked("RadNumerica"));
        dialog.type("Edit_Artigo1", "TI-PRE01");
        dialog.type("Edit_Artigo2", "TI-CIA01");
        dialog.tab();
        inks.scenario.wait();
        focusAfterInverted = dialog.focused();
        designationFrom = dialog.text("Label_Designacao1");
        dialog.click("BitTerminar");
    });
    form.click("BotPrint");
    inks.scenario.wait();
    EXPECT_EQ(focusAfterInverted, "Edit_Artigo1");
    EXPECT_EQ(designationFrom, "Tinta Offset Preto");
    EXPECT_TRUE(inks.scenario.messages().transcript().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Costing, RangeFields, ::testing::ValuesIn(engines()), kv::test::engineTestName);

struct OrderCase {
    const char* label;
    bool alphabetic;
    QStringList codes;
    QString orderText;
};

class OrderOnly : public ::testing::TestWithParam<std::tuple<OrderCase, Engine>> {};

TEST_P(OrderOnly, ListsTheWholeTableInTheOrderChosen)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    CostingSession session(scenario, engine);
    session.grant("Operacoes de Corte", "S");
    kv::test::insertRows(*session.application(), "OPERCORTE", {"CODIGO", "DESIGNACAO", "CUSTOPPLANO", "UNIDADE"},
                         {{1, "Vincar", 0.02, "U"}, {2, "Cortar e vincar", 0.035, "U"}, {3, "Abrir janela", 15, "M"}});
    FormDriver form = scenario.open("TORCF008");
    scenario.wait();

    bool rangeFields = true;
    const Document document = printList(scenario, form, c.alphabetic, [&](FormDriver& dialog) {
        rangeFields = dialog.has("Edit_Artigo1") || dialog.has("Edit_Artigo2");
    });

    EXPECT_FALSE(rangeFields);
    EXPECT_EQ(listedCodes(document), c.codes);
    const QStringList header = bandTexts(document, BandKind::PageHeader);
    EXPECT_EQ(header, (QStringList{"Tabela de Operações de Corte", c.orderText}));
    EXPECT_EQ(session.dataset("ZURIVAVEZA.OPERCORTE").sql(), "Select * From OPERCORTE Order By CODIGO");
    EXPECT_EQ(form.gridCell("DBGrid1", 0, 1), "Vincar");
}

INSTANTIATE_TEST_SUITE_P(
    Costing, OrderOnly,
    ::testing::Combine(::testing::Values(OrderCase{"by code", false, {"1", "2", "3"}, "Ord.Numérica"},
                                         OrderCase{"by designation", true, {"3", "2", "1"}, "Ord.Alfabética"}),
                       ::testing::ValuesIn(engines())),
    caseName<OrderCase>);

} // namespace
