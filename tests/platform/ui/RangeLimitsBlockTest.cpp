// The range-limits block on a small selection form: warnings and focus moves
// through the form, the reopening of a valid to-date, the lookups of the
// popup menus and keys (OK takes the row, Cancel changes nothing) and the
// date lookup over a calendar.
#include "platform/db/Dataset.h"
#include "platform/ui/Form.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "support/Scenario.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using kv::test::FormDriver;
using kv::test::Scenario;
using kv::text::RangeLimits;
using kv::ui::LimitFields;

namespace {

const QDate selectionDay(2024, 3, 15);

class SelectionForm : public kv::ui::Form {
public:
    kv::ui::RangeLimitsBlock* block;
    int reopened = 0;

    SelectionForm(kv::db::Dataset& customers, kv::db::Dataset& calendar)
    {
        setObjectName(QStringLiteral("TSELECAO"));
        auto* layout = new QVBoxLayout(body());
        auto list = [](kv::db::Dataset& ds) { return [&ds] { return &ds; }; };
        LimitFields customerFields(QStringLiteral("customers"), QStringLiteral("Lim.Clientes : "),
                                   QStringLiteral("Edit_CliNro1"), QStringLiteral("Edit_CliNro2"), 10);
        customerFields.simple.list = list(customers);
        customerFields.simple.columns = {{QStringLiteral("CODIGO"), QStringLiteral("CÓDIGO"), 8, {}, false, {}},
                                         {QStringLiteral("NOME"), QStringLiteral("NOME"), 35, {}, false, {}}};
        customerFields.simple.keyField = QStringLiteral("CODIGO");
        LimitFields articleFields(QStringLiteral("articles"), QStringLiteral("Lim.Artigos  : "),
                                  QStringLiteral("Edit_ArtNro1"), QStringLiteral("Edit_ArtNro2"), 16);
        articleFields.maxLength = 16;
        LimitFields numberFields(QStringLiteral("numbers"), QStringLiteral("Lim.Orçam. : "),
                                 QStringLiteral("Edit_OrcNro1"), QStringLiteral("Edit_OrcNro2"), 10);
        LimitFields dateFields(QStringLiteral("dates"), QStringLiteral("Lim.Datas : "), QStringLiteral("Edit_Data1"),
                               QStringLiteral("Edit_Data2"), 10);
        dateFields.inputMask = QStringLiteral("!99/99/0000;_");
        dateFields.dateLookup = true;
        block = new kv::ui::RangeLimitsBlock(*this,
                                             {RangeLimits::customers(), RangeLimits::articles(), RangeLimits::numbers(),
                                              RangeLimits::dates(selectionDay)},
                                             {customerFields, articleFields, numberFields, dateFields}, body());
        kv::ui::DateLookup dates;
        dates.calendar = [&calendar] { return &calendar; };
        dates.columns = {{QStringLiteral("DATA"), QStringLiteral("Data"), 10, {}, false, {}},
                         {QStringLiteral("SEMANA"), QStringLiteral("Semana"), 10, {}, false, {}}};
        block->setDateLookup(dates);
        block->setReopen([this] { ++reopened; });
        layout->addWidget(block);
    }

protected:
    void FormActivate() override
    {
        block->showDefaults();
        EnableEvents();
    }
};

struct OpenedSelection {
    Scenario scenario;
    std::shared_ptr<kv::db::Connection> db = scenario.emptyDatabase();
    kv::db::Dataset customers{QStringLiteral("CLIENTES")};
    kv::db::Dataset calendar{QStringLiteral("CALENDARIO")};
    SelectionForm* form;
    FormDriver driver;

    OpenedSelection() : form(prepare()), driver(scenario.show(form)) { scenario.settle(); }

    SelectionForm* prepare()
    {
        db->exec(QStringLiteral("CREATE TABLE CLIENTES (CODIGO INTEGER PRIMARY KEY, NOME VARCHAR(40))"));
        for (int code : {10, 20, 30})
            db->exec(QStringLiteral("INSERT INTO CLIENTES VALUES (:C, :N)"),
                     {{QStringLiteral("C"), code}, {QStringLiteral("N"), QStringLiteral("Cliente %1").arg(code)}});
        db->exec(QStringLiteral("CREATE TABLE CALENDARIO (DATA DATE PRIMARY KEY, SEMANA INTEGER)"));
        for (int day = 10; day <= 20; ++day)
            db->exec(QStringLiteral("INSERT INTO CALENDARIO VALUES (:D, 11)"),
                     {{QStringLiteral("D"), QDate(2024, 3, day)}});
        customers.setConnection(db);
        customers.setSql(QStringLiteral("SELECT CODIGO, NOME FROM CLIENTES ORDER BY CODIGO"));
        customers.open();
        calendar.setConnection(db);
        calendar.setSql(QStringLiteral("SELECT DATA, SEMANA FROM CALENDARIO ORDER BY DATA"));
        calendar.open();
        return new SelectionForm(customers, calendar);
    }

    // Types into a field and leaves it with Enter, as the user does.
    void leaveWith(const QString& field, const QString& text)
    {
        driver.type(field, text);
        driver.enter();
        scenario.settle();
    }
};

TEST(RangeLimitsBlock, showsItsDefaults)
{
    OpenedSelection o;
    EXPECT_EQ(o.driver.text("Edit_CliNro1"), "0");
    EXPECT_EQ(o.driver.text("Edit_CliNro2"), "99999999");
    EXPECT_EQ(o.driver.text("Edit_ArtNro2"), "ZZZZZZZZZZZZZZZZ");
    EXPECT_EQ(o.driver.text("Edit_OrcNro2"), "999999999");
    EXPECT_EQ(o.driver.text("Edit_Data1"), "15/03/2024");
}

struct FieldExitCase {
    const char* label;
    QString fromField;
    QString fromText;
    QString toField;
    QString toText;
    QStringList transcript;
    QString status;
    QString focusAfter;
    int reopened;
};

void PrintTo(const FieldExitCase& c, std::ostream* os) { *os << c.label; }

const FieldExitCase fieldExitCases[] = {
    {"customerInverted",
     "Edit_CliNro1",
     "50",
     "Edit_CliNro2",
     "40",
     {"<beep>", "Limite de Clientes Inválido ..."},
     {},
     "Edit_CliNro1",
     0},
    {"articleInverted",
     "Edit_ArtNro1",
     "CX10",
     "Edit_ArtNro2",
     "CX1",
     {"<beep>", "LIMITE DE ARTIGOS INVÁLIDO"},
     {},
     "Edit_ArtNro1",
     0},
    {"numberEmpty", "Edit_OrcNro1", "5", "Edit_OrcNro2", "", {"<beep>"}, "Limite inválido !!!", "Edit_OrcNro2", 0},
    {"numberInverted",
     "Edit_OrcNro1",
     "5",
     "Edit_OrcNro2",
     "4",
     {"<beep>"},
     "Selecção inválida !!!",
     "Edit_OrcNro1",
     0},
    {"numberUnreadable",
     "Edit_OrcNro1",
     "5",
     "Edit_OrcNro2",
     "5x",
     {"<beep>", "\"5x\" não é um número inteiro válido."},
     "<INS> Seleccione a Data",
     "Edit_Data1",
     0},
    {"dateInverted",
     "Edit_Data1",
     "16/03/2024",
     "Edit_Data2",
     "15/03/2024",
     {"<beep>", "LIMITE DE DATAS INVÁLIDO"},
     "<INS> Seleccione a Data",
     "Edit_Data1",
     0},
    {"dateValidReopens", "Edit_Data1", "14/03/2024", "Edit_Data2", "15/03/2024", {}, {}, "Edit_CliNro1", 1},
};

class RangeLimitsBlockExit : public ::testing::TestWithParam<FieldExitCase> {};

TEST_P(RangeLimitsBlockExit, warnsAndMovesTheFocus)
{
    const FieldExitCase& c = GetParam();
    OpenedSelection o;
    o.leaveWith(c.fromField, c.fromText);
    o.scenario.messages().clear();
    o.leaveWith(c.toField, c.toText);
    EXPECT_EQ(o.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(o.driver.statusPanel(0), c.status);
    EXPECT_EQ(o.driver.focused(), c.focusAfter);
    EXPECT_EQ(o.form->reopened, c.reopened);
}

INSTANTIATE_TEST_SUITE_P(Cases, RangeLimitsBlockExit, ::testing::ValuesIn(fieldExitCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(RangeLimitsBlock, emptiedCustomerShowsZeroAndDateEntryShowsItsKey)
{
    OpenedSelection o;
    o.leaveWith("Edit_CliNro1", "");
    EXPECT_EQ(o.driver.text("Edit_CliNro1"), "0");
    o.driver.focus("Edit_Data2");
    o.scenario.settle();
    EXPECT_EQ(o.driver.statusPanel(0), "<INS> Seleccione a Data");
    EXPECT_EQ(o.form->block->activeDateField()->objectName(), "Edit_Data2");
}

TEST(RangeLimitsBlock, customerLookupTakesTheRowAtOnceAndCancelTakesNothing)
{
    OpenedSelection o;
    o.driver.focus("Edit_CliNro2");
    o.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.caption(), "Procurar");
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"CÓDIGO", "NOME"}));
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    o.driver.insert();
    o.scenario.settle();
    EXPECT_EQ(o.driver.text("Edit_CliNro2"), "20");
    EXPECT_EQ(o.form->block->limits().toInteger("customers"), 20); // before the field is left

    o.scenario.onDialog([](FormDriver& dialog) {
        dialog.clickRow("Grid", 2);
        dialog.click("CancelBtn");
    });
    o.driver.triggerMenu("Procura Simples");
    o.scenario.settle();
    EXPECT_EQ(o.driver.text("Edit_CliNro2"), "20");
    EXPECT_EQ(o.form->block->limits().toInteger("customers"), 20);
}

TEST(RangeLimitsBlock, dateLookupStartsOnTheFieldsDateAndWritesTheChosenOne)
{
    OpenedSelection o;
    o.driver.type("Edit_Data2", "18/03/2024");
    o.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.caption(), "Selecione a Data");
        EXPECT_EQ(dialog.gridCurrentRow("Grid"), 8); // 18/03 of a calendar from 10/03
        dialog.clickRow("Grid", 2);
        dialog.click("OKBtn");
    });
    o.driver.insert();
    o.scenario.settle();
    EXPECT_EQ(o.driver.text("Edit_Data2"), "12/03/2024");
    EXPECT_EQ(o.driver.text("Edit_Data1"), "15/03/2024");
}

} // namespace
