// The net print-run waste bands TORCF010: the bands 1 to 100 made when
// missing, the limits of a band, the red label of the field being edited and
// the list of every band.
#include "costing/FormFixtures.h"

#include "platform/report/PreviewWindow.h"
#include "costing/core/WasteBands.h"

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

struct Bands {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Bands(Engine engine) : session(scenario, engine) { session.grant("Tiragem Liquida", "S"); }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF010");
        scenario.wait();
        return form;
    }

    QStringList codes()
    {
        QStringList all;
        for (const auto& row : session.application()->query("SELECT CODIGO FROM TIRAGLIQ ORDER BY CODIGO").rows)
            all << row.front().toString();
        return all;
    }
};

QStringList range(int from, int to)
{
    QStringList codes;
    for (int code = from; code <= to; ++code)
        codes << QString::number(code);
    return codes;
}

// ------------------------------------------------------------------ the fixed bands

struct FixedCase {
    const char* label;
    QList<int> present; // bands in the table before
    int created;
    QStringList after;
};

class FixedBands : public ::testing::TestWithParam<std::tuple<FixedCase, Engine>> {};

TEST_P(FixedBands, AreCreatedWhenMissingAndOnlyThen)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Bands b(engine);
    auto app = b.session.application();
    for (int code : c.present)
        app->exec("INSERT INTO TIRAGLIQ (CODIGO, QTD1, QTD2, PRCACAB1A) VALUES (:C, 1, 10, 5)", {{"C", code}});
    EXPECT_EQ(createMissingWasteBands(*app), c.created);
    EXPECT_EQ(b.codes(), c.after);
    // What was there keeps its values; a new band has its code alone.
    for (int code : c.present)
        EXPECT_EQ(app->scalar("SELECT PRCACAB1A FROM TIRAGLIQ WHERE CODIGO = :C", {{"C", code}}).toDouble(), 5.0);
    EXPECT_TRUE(app->query("SELECT QTD1, QTD2, PRCIMPR4B FROM TIRAGLIQ WHERE CODIGO = 100 AND QTD1 IS NULL AND "
                           "QTD2 IS NULL AND PRCIMPR4B IS NULL")
                    .rows.size()
                == (c.present.contains(100) ? 0u : 1u));
    EXPECT_EQ(createMissingWasteBands(*app), 0);
}

INSTANTIATE_TEST_SUITE_P(Costing, FixedBands,
                         ::testing::Combine(::testing::Values(FixedCase{"empty table", {}, 100, range(1, 100)},
                                                              FixedCase{"band 7 deleted",
                                                                        [] {
                                                                            QList<int> all;
                                                                            for (int code = 1; code <= 100; ++code)
                                                                                if (code != 7)
                                                                                    all << code;
                                                                            return all;
                                                                        }(),
                                                                        1, range(1, 100)},
                                                              FixedCase{"bands of the user above 100",
                                                                        {3, 100, 150, 999},
                                                                        98,
                                                                        range(1, 100) + QStringList{"150", "999"}}),
                                            ::testing::ValuesIn(engines())),
                         caseName<FixedCase>);

TEST(FixedBandsForm, OpeningFillsTheTableOnceAndInserirProposes101)
{
    Bands b(Engine::Sqlite);
    {
        FormDriver form = b.open();
        EXPECT_EQ(form.gridRowCount("DBGrid1"), 100);
        EXPECT_TRUE(form.statusPanel(0).isEmpty());
        form.click("BitTerminar");
    }
    b.session.application()->exec("DELETE FROM TIRAGLIQ WHERE CODIGO = 7");
    FormDriver form = b.open();
    EXPECT_EQ(b.codes(), range(1, 100));
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "101");
}

// ------------------------------------------------------------------ keys and quantities

struct KeyCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
};

class BandKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(BandKey, LiesFrom1To999)
{
    const KeyCase& c = GetParam();
    Bands b(Engine::Sqlite);
    FormDriver form = b.open();
    form.click("BotInserir");
    form.type("Edit_Codigo", c.typed);
    form.enter();
    b.scenario.wait();
    EXPECT_EQ(b.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

const QStringList InvalidKey{"<beep>", "Codigo Inválido ... <ENTER>"};

INSTANTIATE_TEST_SUITE_P(Costing, BandKey,
                         ::testing::Values(KeyCase{"999", "999", {}, "Edit_Qtd1"},
                                           KeyCase{"1000", "1000", InvalidKey, "Edit_Codigo"},
                                           KeyCase{"0", "0", InvalidKey, "Edit_Codigo"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

struct QuantityCase {
    const char* label;
    QString from; // typed into "Quantidade de"
    std::optional<QString> to; // then typed into "Até"
    QStringList transcript;
    QString focus;
};

class BandQuantities : public ::testing::TestWithParam<std::tuple<QuantityCase, Engine>> {};

TEST_P(BandQuantities, AreCheckedWhenLeft)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Bands b(engine);
    FormDriver form = b.open();
    form.clickRow("DBGrid1", 0);
    form.focus("Edit_Qtd1");
    b.scenario.wait();
    form.type("Edit_Qtd1", c.from);
    form.enter();
    b.scenario.wait();
    if (c.to) {
        ASSERT_EQ(form.focused(), "Edit_Qtd2");
        form.type("Edit_Qtd2", *c.to);
        form.enter();
        b.scenario.wait();
    }
    EXPECT_EQ(b.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
}

const QStringList Quantity{"<beep>", "Quantidade Inválida !!!"};

INSTANTIATE_TEST_SUITE_P(
    Costing, BandQuantities,
    ::testing::Combine(::testing::Values(QuantityCase{"from empty", "", std::nullopt, {"<beep>"}, "Edit_Qtd2"},
                                         QuantityCase{"from 0", "0", std::nullopt, {"<beep>"}, "Edit_Qtd2"},
                                         QuantityCase{"from 00", "00", std::nullopt, Quantity, "Edit_Qtd1"},
                                         QuantityCase{"from 500", "500", std::nullopt, {}, "Edit_Qtd2"},
                                         QuantityCase{"to empty", "500", "", {"<beep>"}, "Edit_Qtd1"},
                                         QuantityCase{"to 0", "500", "0", {"<beep>"}, "Edit_Qtd1"},
                                         QuantityCase{"to equal", "500", "500", Quantity, "Edit_Qtd2"},
                                         QuantityCase{"to below", "500", "499", Quantity, "Edit_Qtd2"},
                                         QuantityCase{"to above", "500", "1000", {}, "Edit_PrcAcab1a"},
                                         QuantityCase{"band from 0", "0", "1000", {"<beep>"}, "Edit_PrcAcab1a"}),
                       ::testing::ValuesIn(engines())),
    caseName<QuantityCase>);

TEST(BandLabels, TheLabelOfTheFieldBeingEditedTurnsRed)
{
    Bands b(Engine::Sqlite);
    FormDriver form = b.open();
    form.clickRow("DBGrid1", 0);
    form.focus("Edit_Qtd1");
    b.scenario.wait();
    EXPECT_EQ(form.colour("Label_Qtd1"), QColor(255, 0, 0));
    form.type("Edit_Qtd1", "10");
    form.enter();
    b.scenario.wait();
    EXPECT_EQ(form.colour("Label_Qtd2"), QColor(255, 0, 0));
    EXPECT_NE(form.colour("Label_Qtd1"), QColor(255, 0, 0));
}

// ------------------------------------------------------------------ report

TEST(BandReport, ListsEveryBandInCodeOrderTheEmptyOnesIncluded)
{
    Bands b(Engine::Sqlite);
    createMissingWasteBands(*b.session.application());
    b.session.application()->exec("UPDATE TIRAGLIQ SET QTD1 = 1, QTD2 = 1000, PRCACAB1A = 8, PRCIMPR4B = 3 "
                                  "WHERE CODIGO = 2");
    FormDriver form = b.open();
    kv::report::Document document;
    b.scenario.onDialog([&](FormDriver& dialog) {
        b.scenario.onDialog([&](FormDriver& preview) {
            document = qobject_cast<kv::report::PreviewWindow*>(preview.window())->document();
            preview.close();
        });
        dialog.click("BitPrint");
        dialog.click("BitTerminar");
    });
    form.click("BotPrint");
    b.scenario.wait();
    QStringList codes;
    QStringList second;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kv::report::BandKind::Detail) {
                codes << band.items.front().text;
                if (codes.size() == 2)
                    for (const auto& item : band.items)
                        second << item.text;
            }
    EXPECT_EQ(codes, range(1, 100));
    for (const char* text : {"1", "1000", "Cartolinas : ", "Micro-Canelado : ", "8", "3"})
        EXPECT_TRUE(second.contains(QString::fromUtf8(text))) << text;
}

// ------------------------------------------------------------------ the checks alone

struct RuleCase {
    const char* label;
    QString from;
    std::optional<QString> to;
    BandQuantity verdict;
};

class BandRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(BandRules, Verdict)
{
    const RuleCase& c = GetParam();
    const BandQuantity verdict = c.to ? checkBandTo(*c.to, c.from.toLongLong()) : checkBandFrom(c.from);
    EXPECT_EQ(verdict, c.verdict);
}

INSTANTIATE_TEST_SUITE_P(Costing, BandRules,
                         ::testing::Values(RuleCase{"from_negative", "-5", std::nullopt, BandQuantity::Refused},
                                           RuleCase{"from_text", "abc", std::nullopt, BandQuantity::Refused},
                                           RuleCase{"from_spaces", " 12 ", std::nullopt, BandQuantity::Accepted},
                                           RuleCase{"to_text", "10", "x", BandQuantity::Refused},
                                           RuleCase{"to_00", "0", "00", BandQuantity::Refused}),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

} // namespace
