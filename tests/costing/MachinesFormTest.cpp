// The machines form TORCF009 driven as a user would: the keyboard path over
// the three pages by machine type, the field checks (cost centre of the
// working year, type, production unit, glue, the divisors of the quote), the
// refusal to save a row without production unit, and the report's blocks.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

#include "platform/db/Dataset.h"
#include "costing/core/MachineRules.h"
#include "platform/report/PreviewWindow.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// A plant with two cost centres of the working year (2024) and one of 2023
// only, two glues, a printing machine (1), a gluer with its glue (3) and a
// cutting machine without production unit, glue or cost centre (7).
struct Machines {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Machines(Engine engine) : session(scenario, engine)
    {
        session.grant("Maquinas", "S");
        auto accounting = session.environment().modules().connections().DbContab;
        for (const auto& [year, code, name] :
             {std::tuple{"2024", "CC01", "Impressão Offset"}, std::tuple{"2024", "CC02", "Acabamentos"},
              std::tuple{"2023", "CC99", "Secção Extinta"}})
            accounting->exec("INSERT INTO CCUSTO (ANO, CODIGO, DESIGN) VALUES (:A, :C, :D)",
                             {{"A", year}, {"C", code}, {"D", name}});
        auto app = session.application();
        kv::test::insertRows(*app, "COLAS", {"CODIGO", "ARTIGO", "DESIGNACAO"},
                             {{3, "CO-PVA01", "Cola PVA Rápida"}, {4, "CO-HOT01", "Cola Hot-Melt"}});
        kv::test::insertRows(*app, "MAQUINAS",
                             {"CODIGO", "DESIGNACAO", "CCUSTO", "NROCORES", "TIPOMAQUINA", "UNDPROD", "FACTOR1",
                              "CUSTOHORA", "CODIGOCOLA"},
                             {{1, "Offset 4 Cores", "CC01", 4, 1, "U", 8000, 95, 0},
                              {3, "Coladora Linear", "CC02", 0, 3, "M", 12, 60, 3}});
        kv::test::insertRows(*app, "MAQUINAS", {"CODIGO", "DESIGNACAO", "TIPOMAQUINA", "FACTOR1"},
                             {{7, "Cortante Plano", 2, 3000}});
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF009");
        scenario.wait();
        return form;
    }

    void showPage(FormDriver& form, int page)
    {
        form.find<QTabWidget>("Tb")->setCurrentIndex(page);
        scenario.wait();
    }

    // Moves the grid to a row and leaves it: the row is being edited.
    void editRow(FormDriver& form, int row)
    {
        form.clickRow("DBGrid1", row);
        form.focus("Edit_Designacao");
        scenario.wait();
    }

    QVariant stored(int machine, const char* column)
    {
        return session.application()->scalar(QStringLiteral("SELECT %1 FROM MAQUINAS WHERE CODIGO = :C").arg(column),
                                             {{"C", machine}});
    }
};

// ------------------------------------------------------------------ keyboard path

struct PathCase {
    const char* label;
    QString type;
    QString afterHourCost; // where the focus goes after "Custo Hora"
    int page; // the page shown then
};

class MachineKeyboardPath : public ::testing::TestWithParam<std::tuple<PathCase, Engine>> {};

TEST_P(MachineKeyboardPath, FollowsTheMachineType)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Machines m(engine);
    FormDriver form = m.open();
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "8");
    form.type("Edit_Codigo", "5");
    form.enter();
    m.scenario.wait();
    ASSERT_EQ(form.focused(), "Edit_Designacao");
    form.typeText("Nova Máquina");
    form.enter();
    m.scenario.wait();
    EXPECT_EQ(form.focused(), "Edit_CCusto");
    EXPECT_EQ(form.statusPanel(0), "Tecla <Insert> Para Procurar !!!");
    form.enter(); // no cost centre
    m.scenario.wait();
    ASSERT_EQ(form.focused(), "Edit_TipoMaquina");
    form.typeText(c.type);
    form.enter();
    m.scenario.wait();
    // The type leads straight to the production page, past colours and format.
    EXPECT_EQ(form.focused(), "Edit_Factor1");
    EXPECT_EQ(form.find<QTabWidget>("Tb")->currentIndex(), 0);
    for (const char* value : {"5000", "4000", "3000", "U", "2", "80"}) {
        form.typeText(value);
        form.enter();
        m.scenario.wait();
    }
    EXPECT_EQ(form.focused(), c.afterHourCost);
    EXPECT_EQ(form.find<QTabWidget>("Tb")->currentIndex(), c.page);
    EXPECT_TRUE(m.scenario.messages().transcript().isEmpty())
        << m.scenario.messages().transcript().join('|').toStdString();
    // A new row starts with no glue consumption and glue 0.
    EXPECT_EQ(form.text("Edit_ConsumoCola"), "0");
    EXPECT_EQ(form.text("Edit_CodigoCola"), "0");
}

INSTANTIATE_TEST_SUITE_P(Costing, MachineKeyboardPath,
                         ::testing::Combine(::testing::Values(PathCase{"printing", "1", "Edit_AceMaqMin", 2},
                                                              PathCase{"cutting", "2", "Edit_AceMaqMin", 2},
                                                              PathCase{"gluing", "3", "Edit_ConsumoCola", 1},
                                                              PathCase{"counter gluing", "4", "Edit_ConsumoCola", 1}),
                                            ::testing::ValuesIn(engines())),
                         caseName<PathCase>);

// ------------------------------------------------------------------ field checks

struct CheckCase {
    const char* label;
    int row; // grid row edited: 0 printing (1), 1 gluer (3), 2 cutting (7)
    int page; // the page the field is on
    QString field;
    QString typed;
    QStringList transcript;
    QString focus; // after Enter
    QString nameLabel = {};
    QString name = {};
};

class MachineFieldCheck : public ::testing::TestWithParam<std::tuple<CheckCase, Engine>> {};

TEST_P(MachineFieldCheck, RefusesWhatCannotPriceAMachine)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Machines m(engine);
    FormDriver form = m.open();
    m.editRow(form, c.row);
    m.showPage(form, c.page);
    form.type(c.field, c.typed);
    form.enter();
    m.scenario.wait();
    EXPECT_EQ(m.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    if (!c.nameLabel.isEmpty()) {
        EXPECT_EQ(form.text(c.nameLabel), c.name);
    }
}

const QStringList Type{"<beep>", "Tipo de Máquina Inválida !!!"};
const QStringList Unit{"<beep>", "INSIRA A UNIDADE DE PRODUÇÃO - UND - MIL !!"};
const QStringList Centre{"<beep>", "C.Custo Inexistente"};
const QStringList Glue{"<beep>", "Código de Cola Inexistente"};

INSTANTIATE_TEST_SUITE_P(
    Costing, MachineFieldCheck,
    ::testing::Combine(
        ::testing::Values(
            CheckCase{"type empty", 0, 0, "Edit_TipoMaquina", "", Type, "Edit_TipoMaquina"},
            CheckCase{"type 0", 0, 0, "Edit_TipoMaquina", "0", Type, "Edit_TipoMaquina"},
            CheckCase{"type 5", 0, 0, "Edit_TipoMaquina", "5", Type, "Edit_TipoMaquina"},
            CheckCase{"type 4", 0, 0, "Edit_TipoMaquina", "4", {}, "Edit_Factor1"},
            CheckCase{"unit small letter", 0, 0, "Edit_UndProd", "u", Unit, "Edit_UndProd"},
            CheckCase{"unit other", 0, 0, "Edit_UndProd", "UN", Unit, "Edit_UndProd"},
            CheckCase{"unit empty", 0, 0, "Edit_UndProd", "", Unit, "Edit_UndProd"},
            CheckCase{"unit thousands", 0, 0, "Edit_UndProd", "M", {}, "Edit_PercDesper"},
            CheckCase{"cost centre of another year", 0, 0, "Edit_CCusto", "CC99", Centre, "Edit_CCusto", "Label_CCusto",
                      ""},
            CheckCase{"cost centre unknown", 0, 0, "Edit_CCusto", "XX", Centre, "Edit_CCusto"},
            CheckCase{"cost centre of the year",
                      0,
                      0,
                      "Edit_CCusto",
                      "CC02",
                      {},
                      "Edit_TipoMaquina",
                      "Label_CCusto",
                      "Acabamentos"},
            CheckCase{"no cost centre", 0, 0, "Edit_CCusto", "", {}, "Edit_TipoMaquina"},
            CheckCase{"factor I zero", 0, 0, "Edit_Factor1", "0", {"<beep>", "Factor Inválido !!!"}, "Edit_Factor1"},
            CheckCase{"factor I empty", 0, 0, "Edit_Factor1", "", {"<beep>", "Factor Inválido !!!"}, "Edit_Factor1"},
            CheckCase{
                "factor I negative", 0, 0, "Edit_Factor1", "-10", {"<beep>", "Factor Inválido !!!"}, "Edit_Factor1"},
            CheckCase{"printing without colours",
                      0,
                      0,
                      "Edit_Cores",
                      "0",
                      {"<beep>", "Nº de Côres Inválido !!!"},
                      "Edit_Cores"},
            CheckCase{"gluer without colours", 1, 0, "Edit_Cores", "0", {}, "Edit_Comprim"},
            CheckCase{"glue 0", 1, 1, "Edit_CodigoCola", "0", Glue, "Edit_CodigoCola", "Label_Cola", ""},
            CheckCase{"glue empty", 1, 1, "Edit_CodigoCola", "", Glue, "Edit_CodigoCola"},
            CheckCase{"glue unknown", 1, 1, "Edit_CodigoCola", "9", Glue, "Edit_CodigoCola"},
            CheckCase{"glue known", 1, 1, "Edit_CodigoCola", "4", {}, "Edit_AceMaqMin", "Label_Cola", "Cola Hot-Melt"}),
        ::testing::ValuesIn(engines())),
    caseName<CheckCase>);

// ------------------------------------------------------------------ page rule

TEST(MachinePages, TheGluePageOfAMachineWithoutGlueLeadsToTheMakeReadyPage)
{
    Machines m(Engine::Sqlite);
    FormDriver form = m.open();
    for (const auto& [row, page, focus] : {std::tuple{0, 2, "Edit_AceMaqMin"}, std::tuple{1, 1, "Edit_ConsumoCola"}}) {
        m.editRow(form, row);
        QTabBar* tabs = form.find<QTabWidget>("Tb")->tabBar();
        ASSERT_TRUE(tabs->isVisible());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        m.scenario.wait();
        EXPECT_EQ(form.find<QTabWidget>("Tb")->currentIndex(), page) << row;
        EXPECT_EQ(form.focused(), focus) << row;
        form.click("BotCancelar");
        m.scenario.wait();
    }
}

// ------------------------------------------------------------------ saving

struct SaveCase {
    const char* label;
    int row;
    QString field; // emptied or set before returning to the grid
    QString typed;
    QStringList transcript;
    QString focus;
    const char* column;
    QVariant storedAfter;
};

class MachineSaving : public ::testing::TestWithParam<std::tuple<SaveCase, Engine>> {};

TEST_P(MachineSaving, ARowThatCannotPriceIsNotSaved)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    Machines m(engine);
    FormDriver form = m.open();
    m.editRow(form, c.row);
    form.type("Edit_Designacao", "Alterada");
    if (!c.field.isEmpty()) {
        // Set through the row, as a value the form never checked on exit.
        form.find<QLineEdit>(c.field)->setText(c.typed);
    }
    form.focus("DBGrid1");
    m.scenario.wait();
    EXPECT_EQ(m.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    const int machine = QList<int>{1, 3, 7}.at(c.row);
    EXPECT_EQ(m.stored(machine, c.column).toString(), c.storedAfter.toString());
}

INSTANTIATE_TEST_SUITE_P(
    Costing, MachineSaving,
    ::testing::Combine(::testing::Values(SaveCase{"without production unit", 2, "", "", Unit, "Edit_UndProd",
                                                  "DESIGNACAO", "Cortante Plano"},
                                         SaveCase{"printing without colours",
                                                  0,
                                                  "Edit_Cores",
                                                  "0",
                                                  {"<beep>", "Nº de Côres Inválido !!!"},
                                                  "Edit_Cores",
                                                  "DESIGNACAO",
                                                  "Offset 4 Cores"},
                                         SaveCase{"a valid row", 0, "", "", {}, "DBGrid1", "DESIGNACAO", "Alterada"}),
                       ::testing::ValuesIn(engines())),
    caseName<SaveCase>);

// ------------------------------------------------------------------ searches

TEST(MachineSearches, TheRowOfTheListGoesIntoTheField)
{
    Machines m(Engine::Sqlite);
    FormDriver form = m.open();
    m.editRow(form, 2);
    form.focus("Edit_CCusto");
    m.scenario.onDialog([](FormDriver& lookup) {
        lookup.press(Qt::Key_Down);
        lookup.clickButton("OK");
    });
    form.insert();
    m.scenario.wait();
    EXPECT_EQ(form.text("Edit_CCusto"), "CC02");
    EXPECT_EQ(form.focused(), "Edit_CCusto");
}

// ------------------------------------------------------------------ report

QStringList detailTexts(const kv::report::Document& document)
{
    QStringList texts;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands)
            if (band.kind == kv::report::BandKind::Detail)
                for (const auto& item : band.items)
                    if (!item.text.isEmpty())
                        texts << item.text;
    return texts;
}

TEST(MachineReport, PrintsTheNamesOfCostCentreAndGlueOrThatTheyAreMissing)
{
    Machines m(Engine::Sqlite);
    FormDriver form = m.open();
    kv::report::Document document;
    m.scenario.onDialog([&](FormDriver& dialog) {
        m.scenario.onDialog([&](FormDriver& preview) {
            document = qobject_cast<kv::report::PreviewWindow*>(preview.window())->document();
            preview.close();
        });
        dialog.click("BitPrint");
        dialog.click("BitTerminar");
    });
    form.click("BotPrint");
    m.scenario.wait();
    const QStringList texts = detailTexts(document);
    for (const char* expected : {"CC01 Impressão Offset", "0 Cola Inexistente", "CC02 Acabamentos", "3 Cola PVA Rápida",
                                 " C.Custo Inexistente", "Máquina : ", "Tempos de Acerto", "Ace.c/ Cortante III : "})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
    // A block per machine, the machine type not printed.
    EXPECT_EQ(texts.count("Máquina : "), 3);
    EXPECT_FALSE(texts.contains("Tipo Máquina : "));
}

} // namespace
