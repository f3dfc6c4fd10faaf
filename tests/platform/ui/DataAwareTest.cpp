// The data-aware controls over a real dataset: grid and dataset in step both
// ways, titles and widths, bound edits, check box, navigator, the lookup
// dialog on OK and on Cancel, the lookup field, and a long list that opens,
// scrolls and searches without reading everything first.
#include "platform/db/Dataset.h"
#include "platform/ui/DatasetModel.h"
#include "platform/ui/DbCheckBox.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbMemo.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/Form.h"
#include "platform/ui/LookupDialog.h"
#include "support/Scenario.h"
#include "platform/ui/TDBLookupComboDlg.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

using kv::db::Dataset;
using kv::db::DatasetMode;
using kv::db::DatasetState;
using kv::test::FormDriver;
using kv::test::Scenario;
using kv::ui::GridColumn;

namespace {

// A table of inks and a table of articles in a database of the scenario's own.
struct Tables {
    Scenario scenario;
    std::shared_ptr<kv::db::Connection> db = scenario.emptyDatabase();

    Tables()
    {
        db->exec(QStringLiteral("CREATE TABLE TINTAS (CODIGO SMALLINT PRIMARY KEY, ARTIGO VARCHAR(16), "
                                "DESIGNACAO VARCHAR(40), GRAMAGEM DOUBLE PRECISION, PRECO DOUBLE PRECISION, "
                                "ACTIVO VARCHAR(1))"));
        const char* rows[][3] = {{"10", "MP001", "Tinta Azul"},
                                 {"20", "MP002", "Tinta Branca"},
                                 {"30", "MP003", "Tinta Cyan"},
                                 {"40", "MP004", "Verniz"}};
        for (const auto& row : rows)
            db->exec(QStringLiteral("INSERT INTO TINTAS VALUES (:C, :A, :D, 1.5, 12.25, 'S')"),
                     {{QStringLiteral("C"), QString::fromUtf8(row[0]).toInt()},
                      {QStringLiteral("A"), QString::fromUtf8(row[1])},
                      {QStringLiteral("D"), QString::fromUtf8(row[2])}});
        db->exec(QStringLiteral("CREATE TABLE ARTIGOS (CODIGO VARCHAR(16) PRIMARY KEY, DESIGNACAO VARCHAR(40))"));
        const char* articles[][2] = {{"MP001", "Papel Kraft"},
                                     {"MP002", "Cartolina"},
                                     {"MP003", "Micro Canelado"},
                                     {"MP004", "Tinta Preta"},
                                     {"MP005", "Cola Branca"}};
        for (const auto& row : articles)
            db->exec(
                QStringLiteral("INSERT INTO ARTIGOS VALUES (:C, :D)"),
                {{QStringLiteral("C"), QString::fromUtf8(row[0])}, {QStringLiteral("D"), QString::fromUtf8(row[1])}});
    }

    std::unique_ptr<Dataset> dataset(const QString& sql, DatasetMode mode = DatasetMode::CachedWithoutUpdateObject)
    {
        auto ds = std::make_unique<Dataset>(QStringLiteral("TESTE"));
        ds->setConnection(db);
        ds->setSql(sql);
        ds->setMode(mode);
        ds->open();
        return ds;
    }
    std::unique_ptr<Dataset> tintas() { return dataset(QStringLiteral("SELECT * FROM TINTAS ORDER BY CODIGO")); }
    std::unique_ptr<Dataset> artigos(const QString& order = QStringLiteral("CODIGO"))
    {
        return dataset(QStringLiteral("SELECT CODIGO, DESIGNACAO FROM ARTIGOS ORDER BY ") + order,
                       DatasetMode::ReadOnly);
    }
};

// A form with the bound controls over the inks, and an article field whose
// Insert / Ctrl+Insert open the lookups and take the list's row whatever the
// answer.
class TintasForm : public kv::ui::Form {
public:
    TintasForm(Dataset& tintas, Dataset& numeric, Dataset& alphabetic) : m_numeric(numeric), m_alphabetic(alphabetic)
    {
        setObjectName(QStringLiteral("TTINTAS"));
        auto* layout = new QGridLayout(body());
        Edit_Artigo = new QLineEdit(body());
        Edit_Artigo->setObjectName(QStringLiteral("Edit_Artigo"));
        Edit_Designacao = new kv::ui::DbEdit(body());
        Edit_Designacao->setObjectName(QStringLiteral("Edit_Designacao"));
        Edit_Designacao->setField(&tintas, QStringLiteral("DESIGNACAO"));
        Edit_Preco = new kv::ui::DbEdit(body());
        Edit_Preco->setObjectName(QStringLiteral("Edit_Preco"));
        Edit_Preco->setField(&tintas, QStringLiteral("PRECO"));
        Activo = new kv::ui::DbCheckBox(QStringLiteral("Activo"), body());
        Activo->setObjectName(QStringLiteral("Check_Activo"));
        Activo->setField(&tintas, QStringLiteral("ACTIVO"));
        DBGrid1 = new kv::ui::DbGrid(body());
        DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
        DBGrid1->setDataset(&tintas, {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6, {}},
                                      {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 30, {}},
                                      {QStringLiteral("PRECO"), QStringLiteral("Preço"), 10, {}}});
        BotNavig = new kv::ui::DbNavigator(body());
        BotNavig->setObjectName(QStringLiteral("BotNavig"));
        BotNavig->setDataset(&tintas);
        layout->addWidget(new QLabel(QStringLiteral("Referência Artigo : "), body()), 0, 0);
        layout->addWidget(Edit_Artigo, 0, 1);
        layout->addWidget(Edit_Designacao, 1, 1);
        layout->addWidget(Edit_Preco, 2, 1);
        layout->addWidget(Activo, 3, 1);
        layout->addWidget(DBGrid1, 4, 0, 1, 2);
        layout->addWidget(BotNavig, 5, 0, 1, 2);

        auto addLookup = [this](const QString& text, QKeySequence key, Dataset& list, std::vector<GridColumn> columns) {
            auto* action = new QAction(text, Edit_Artigo);
            action->setShortcut(key);
            action->setShortcutContext(Qt::WidgetShortcut);
            Edit_Artigo->addAction(action);
            connect(action, &QAction::triggered, this, [this, &list, columns] {
                kv::ui::LookupDialog dialog(list, columns, this);
                const int before = list.currentRow();
                if (dialog.exec() != QDialog::Accepted) {
                    listMovedOnCancel = list.currentRow() != before;
                    return;
                }
                lookups << list.value(QStringLiteral("CODIGO")).toString();
                Edit_Artigo->setText(lookups.last());
            });
        };
        Edit_Artigo->setContextMenuPolicy(Qt::ActionsContextMenu);
        addLookup(QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert), m_numeric,
                  {{QStringLiteral("CODIGO"), QStringLiteral("Artigo Nº"), 16, {}},
                   {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}}});
        addLookup(QStringLiteral("Procura Alfabética"), QKeySequence(Qt::ControlModifier | Qt::Key_Insert),
                  m_alphabetic,
                  {{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                   {QStringLiteral("CODIGO"), QStringLiteral("Artigo Nº"), 16, {}}});
        addLookup(QStringLiteral("Procura Cliente"), QKeySequence(Qt::ShiftModifier | Qt::Key_Insert), m_alphabetic,
                  {{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}}});
    }

    QStringList lookups;
    bool listMovedOnCancel = false;
    QLineEdit* Edit_Artigo;
    kv::ui::DbEdit* Edit_Designacao;
    kv::ui::DbEdit* Edit_Preco;
    kv::ui::DbCheckBox* Activo;
    kv::ui::DbGrid* DBGrid1;
    kv::ui::DbNavigator* BotNavig;

protected:
    void FormActivate() override { EnableEvents(); }

private:
    Dataset& m_numeric;
    Dataset& m_alphabetic;
};

struct Opened : Tables {
    std::unique_ptr<Dataset> inks = tintas();
    std::unique_ptr<Dataset> numeric = artigos();
    std::unique_ptr<Dataset> alphabetic = artigos(QStringLiteral("DESIGNACAO"));
    TintasForm* form = new TintasForm(*inks, *numeric, *alphabetic);
    FormDriver driver = scenario.show(form);
};

enum class Mover { DatasetNext, DatasetLast, DatasetLocate, GridClick, GridKeyDown, NavigatorLast, NavigatorPrior };

struct StepCase {
    const char* name;
    Mover mover;
    int expectedRow;
};
void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class GridInStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(GridInStep, GridAndDatasetShowTheSameRow)
{
    Opened o;
    o.inks->moveTo(2);
    switch (GetParam().mover) {
    case Mover::DatasetNext: o.inks->next(); break;
    case Mover::DatasetLast: o.inks->last(); break;
    case Mover::DatasetLocate: o.inks->locate(QStringLiteral("CODIGO"), 10); break;
    case Mover::GridClick: o.driver.clickRow(QStringLiteral("DBGrid1"), 1); break;
    case Mover::GridKeyDown:
        o.driver.focus(QStringLiteral("DBGrid1"));
        o.driver.press(Qt::Key_Down);
        break;
    case Mover::NavigatorLast: o.driver.click(QStringLiteral("BotNavig/Last")); break;
    case Mover::NavigatorPrior: o.driver.click(QStringLiteral("BotNavig/Prior")); break;
    }
    EXPECT_EQ(o.inks->currentRow(), GetParam().expectedRow);
    EXPECT_EQ(o.driver.gridCurrentRow(QStringLiteral("DBGrid1")), GetParam().expectedRow);
    // The bound edits show the same row.
    EXPECT_EQ(o.driver.text(QStringLiteral("Edit_Designacao")), o.inks->value(QStringLiteral("DESIGNACAO")).toString());
}

INSTANTIATE_TEST_SUITE_P(Moves, GridInStep,
                         ::testing::Values(StepCase{"DatasetNext", Mover::DatasetNext, 3},
                                           StepCase{"DatasetLast", Mover::DatasetLast, 3},
                                           StepCase{"DatasetLocate", Mover::DatasetLocate, 0},
                                           StepCase{"GridClick", Mover::GridClick, 1},
                                           StepCase{"GridKeyDown", Mover::GridKeyDown, 3},
                                           StepCase{"NavigatorLast", Mover::NavigatorLast, 3},
                                           StepCase{"NavigatorPrior", Mover::NavigatorPrior, 1}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DbGrid, TitlesWidthsAndCellTextComeFromTheColumns)
{
    Opened o;
    EXPECT_EQ(o.driver.gridTitles(QStringLiteral("DBGrid1")), QStringList({"Código", "Designação", "Preço"}));
    EXPECT_EQ(o.form->DBGrid1->columnWidth(1), o.form->DBGrid1->charactersWidth(30));
    EXPECT_EQ(o.driver.gridRowCount(QStringLiteral("DBGrid1")), 4);
    EXPECT_EQ(o.driver.gridCell(QStringLiteral("DBGrid1"), 1, 1), "Tinta Branca");
    EXPECT_EQ(o.driver.gridCell(QStringLiteral("DBGrid1"), 1, 2), "12,25");
    EXPECT_EQ(o.form->DBGrid1->datasetModel()->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>()
                  & Qt::AlignRight,
              Qt::AlignRight);
}

TEST(DbGrid, ChangesOfTheDatasetShowAtOnce)
{
    Opened o;
    const QString grid = QStringLiteral("DBGrid1");
    o.inks->moveTo(1);
    o.inks->edit();
    o.inks->setValue(QStringLiteral("DESIGNACAO"), QStringLiteral("Tinta Amarela"));
    o.inks->post();
    EXPECT_EQ(o.driver.gridCell(grid, 1, 1), "Tinta Amarela");

    o.inks->append();
    o.inks->setValue(QStringLiteral("CODIGO"), 50);
    o.inks->setValue(QStringLiteral("DESIGNACAO"), QStringLiteral("Nova"));
    o.inks->post();
    EXPECT_EQ(o.driver.gridRowCount(grid), 5);
    EXPECT_EQ(o.driver.gridCell(grid, 4, 1), "Nova");
    EXPECT_EQ(o.driver.gridCurrentRow(grid), 4);

    o.inks->moveTo(0);
    o.inks->deleteRecord();
    EXPECT_EQ(o.driver.gridRowCount(grid), 4);
    EXPECT_EQ(o.driver.gridCell(grid, 0, 1), "Tinta Amarela");

    o.inks->close();
    EXPECT_EQ(o.driver.gridRowCount(grid), 0);
    o.inks->open();
    EXPECT_EQ(o.driver.gridRowCount(grid), 4);
    EXPECT_EQ(o.driver.gridCurrentRow(grid), 0);
}

// A date typed into an editable date-time cell, as the grid shows it.
TEST(DbGrid, TypedDateCellTakesTheDayOrIsRefused)
{
    Tables t;
    t.db->exec(QStringLiteral("CREATE TABLE ENTREGAS (CODIGO SMALLINT PRIMARY KEY, DATAENTRG TIMESTAMP)"));
    t.db->exec(QStringLiteral("INSERT INTO ENTREGAS VALUES (1, NULL)"));
    auto deliveries = t.dataset(QStringLiteral("SELECT CODIGO, DATAENTRG FROM ENTREGAS"));
    kv::ui::DatasetModel model;
    model.setDataset(deliveries.get());
    model.setEditableFields({QStringLiteral("DATAENTRG")});
    const QModelIndex cell = model.index(0, 1);
    EXPECT_TRUE(model.setCellText(cell, QStringLiteral("16/03/2024")));
    EXPECT_EQ(deliveries->value(QStringLiteral("DATAENTRG")).toDateTime(), QDate(2024, 3, 16).startOfDay());
    t.scenario.messages().clear();
    EXPECT_FALSE(model.setCellText(cell, QStringLiteral("31/02/2024")));
    EXPECT_EQ(t.scenario.messages().texts(), QStringList{QStringLiteral("\"31/02/2024\" não é uma data válida.")});
    EXPECT_EQ(deliveries->value(QStringLiteral("DATAENTRG")).toDateTime(), QDate(2024, 3, 16).startOfDay());
}

TEST(DbNavigator, HintsAndButtonsFollowThePosition)
{
    Opened o;
    const QStringList names = {"First", "Prior", "Next", "Last"};
    const QStringList hints = {"Primeiro Registo", "Registo Anterior", "Próximo Registo", "Último Registo"};
    for (int i = 0; i < 4; ++i) {
        auto* button = o.form->BotNavig->button(names[i]);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), hints[i]);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    auto enabled = [&] {
        QString flags;
        for (const QString& name : names)
            flags += o.form->BotNavig->button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return flags;
    };
    o.inks->first();
    EXPECT_EQ(enabled(), "0011");
    o.inks->moveTo(2);
    EXPECT_EQ(enabled(), "1111");
    o.inks->last();
    EXPECT_EQ(enabled(), "1100");
    o.form->BotNavig->setEnabled(false);
    o.form->BotNavig->setEnabled(true);
    EXPECT_EQ(enabled(), "1100");
}

struct EditCase {
    const char* name;
    const char* field;
    kv::ui::DbEdit::CharCase charCase;
    const char* typed;
    const char* shown;
    QVariant stored;
};
void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class DbEditTyping : public ::testing::TestWithParam<EditCase> {};

TEST_P(DbEditTyping, TypedTextGoesIntoTheRow)
{
    const EditCase& c = GetParam();
    Tables t;
    auto inks = t.tintas();
    auto* form = new kv::ui::Form;
    auto* edit = new kv::ui::DbEdit(form->body());
    edit->setObjectName(QStringLiteral("Edit"));
    edit->setField(inks.get(), QString::fromUtf8(c.field));
    edit->setCharCase(c.charCase);
    (new QGridLayout(form->body()))->addWidget(edit, 0, 0);
    auto driver = t.scenario.show(form);
    driver.type(QStringLiteral("Edit"), QString::fromUtf8(c.typed));
    EXPECT_EQ(driver.text(QStringLiteral("Edit")), QString::fromUtf8(c.shown));
    EXPECT_EQ(inks->state(), DatasetState::Edit);
    const QVariant stored = inks->value(QString::fromUtf8(c.field));
    if (c.stored.isNull())
        EXPECT_TRUE(stored.isNull()) << "stored " << stored.toString().toStdString();
    else
        EXPECT_EQ(stored, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DbEditTyping,
    ::testing::Values(
        EditCase{"UpperCase", "DESIGNACAO", kv::ui::DbEdit::CharCase::Upper, "tinta ç", "TINTA Ç",
                 QStringLiteral("TINTA Ç")},
        EditCase{"AsTyped", "DESIGNACAO", kv::ui::DbEdit::CharCase::Normal, "Tinta ç", "Tinta ç",
                 QStringLiteral("Tinta ç")},
        EditCase{"CutToTheColumnSize", "ARTIGO", kv::ui::DbEdit::CharCase::Normal, "ABCDEFGHIJKLMNOPQRST",
                 "ABCDEFGHIJKLMNOP", QStringLiteral("ABCDEFGHIJKLMNOP")},
        EditCase{"DecimalComma", "PRECO", kv::ui::DbEdit::CharCase::Normal, "12,5", "12,5", QVariant(12.5)},
        EditCase{"LettersRefusedInANumber", "PRECO", kv::ui::DbEdit::CharCase::Normal, "7x", "7", QVariant(7.0)},
        EditCase{"EmptyNumberIsNull", "GRAMAGEM", kv::ui::DbEdit::CharCase::Normal, "", "", QVariant()}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DbEdit, PasswordShowsHashes)
{
    Tables t;
    auto inks = t.tintas();
    kv::ui::DbEdit edit;
    edit.setField(inks.get(), QStringLiteral("ARTIGO"));
    edit.setPasswordChar(QLatin1Char('#'));
    edit.ensurePolished();
    EXPECT_EQ(edit.text(), "MP001");
    EXPECT_EQ(edit.displayText(), "#####");
}

TEST(DbEdit, ATextThatIsNoNumberKeepsTheFocus)
{
    Opened o;
    o.driver.type(QStringLiteral("Edit_Preco"), QStringLiteral("1,2,3"));
    o.driver.enter();
    o.scenario.settle();
    EXPECT_EQ(o.driver.focused(), "Edit_Preco");
    ASSERT_EQ(o.scenario.messages().beeps(), 1);
    EXPECT_FALSE(o.scenario.messages().lastText().isEmpty());
    o.driver.type(QStringLiteral("Edit_Preco"), QStringLiteral("1,23"));
    o.driver.enter();
    EXPECT_EQ(o.driver.focused(), "Check_Activo");
    EXPECT_DOUBLE_EQ(o.inks->value(QStringLiteral("PRECO")).toDouble(), 1.23);
}

TEST(DbEdit, CancelShowsTheOldValueAgain)
{
    Opened o;
    o.driver.type(QStringLiteral("Edit_Designacao"), QStringLiteral("Outra"));
    o.inks->cancel();
    EXPECT_EQ(o.driver.text(QStringLiteral("Edit_Designacao")), "Tinta Azul");
}

TEST(DbMemo, WritesWhatIsTypedCutToTheColumnSize)
{
    Tables t;
    auto inks = t.tintas();
    auto* form = new kv::ui::Form;
    auto* memo = new kv::ui::DbMemo(form->body());
    memo->setObjectName(QStringLiteral("Memo"));
    memo->setField(inks.get(), QStringLiteral("DESIGNACAO"));
    (new QGridLayout(form->body()))->addWidget(memo, 0, 0);
    auto driver = t.scenario.show(form);
    EXPECT_EQ(driver.text(QStringLiteral("Memo")), "Tinta Azul");
    driver.type(QStringLiteral("Memo"), QString(45, QLatin1Char('x')));
    EXPECT_EQ(driver.text(QStringLiteral("Memo")), QString(40, QLatin1Char('x')));
    EXPECT_EQ(inks->value(QStringLiteral("DESIGNACAO")).toString(), QString(40, QLatin1Char('x')));
    inks->cancel();
    EXPECT_EQ(driver.text(QStringLiteral("Memo")), "Tinta Azul");
}

TEST(DbCheckBox, ShowsAndWritesTheFlag)
{
    Opened o;
    EXPECT_TRUE(o.driver.isChecked(QStringLiteral("Check_Activo")));
    o.driver.click(QStringLiteral("Check_Activo"));
    EXPECT_EQ(o.inks->value(QStringLiteral("ACTIVO")).toString(), "N");
    EXPECT_FALSE(o.driver.isChecked(QStringLiteral("Check_Activo")));
}

struct LookupCase {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    const char* search;
    const char* answer; // button
    const char* written; // the field afterwards: the row chosen with OK, nothing on Cancel
};
void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class LookupAnswer : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupAnswer, OkLeavesTheListOnTheRowChosenCancelWhereItWas)
{
    const LookupCase& c = GetParam();
    Opened o;
    QString caption;
    QStringList titles;
    o.scenario.onDialog([&](FormDriver& dialog) {
        caption = dialog.caption();
        titles = dialog.gridTitles(QStringLiteral("Grid"));
        dialog.typeText(QString::fromUtf8(c.search));
        dialog.click(QString::fromUtf8(c.answer));
    });
    o.driver.focus(QStringLiteral("Edit_Artigo"));
    o.driver.press(Qt::Key_Insert, c.modifiers);
    EXPECT_EQ(caption, "Localizar");
    EXPECT_FALSE(titles.isEmpty());
    EXPECT_EQ(o.driver.text(QStringLiteral("Edit_Artigo")), QString::fromUtf8(c.written));
    EXPECT_EQ(o.driver.focused(), "Edit_Artigo");
    EXPECT_FALSE(o.form->listMovedOnCancel);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LookupAnswer,
    ::testing::Values(LookupCase{"NumericOk", Qt::NoModifier, "MP003", "OKBtn", "MP003"},
                      LookupCase{"NumericCancel", Qt::NoModifier, "mp004", "CancelBtn", ""},
                      LookupCase{"AlphabeticOk", Qt::ControlModifier, "cola", "OKBtn", "MP005"},
                      LookupCase{"AlphabeticCancel", Qt::ControlModifier, "Micro", "CancelBtn", ""},
                      LookupCase{"ShiftInsertOk", Qt::ShiftModifier, "papel", "OKBtn", "MP001"},
                      LookupCase{"NothingFoundStaysOnTheFirst", Qt::NoModifier, "ZZ", "OKBtn", "MP001"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(LookupDialog, SearchByAnotherColumnAndMenuEntries)
{
    Opened o;
    o.scenario.onDialog([&](FormDriver& dialog) {
        dialog.find<QComboBox>(QStringLiteral("SearchBy"))->setCurrentIndex(1);
        dialog.typeText(QStringLiteral("tinta"));
        dialog.press(Qt::Key_Return);
    });
    o.driver.focus(QStringLiteral("Edit_Artigo"));
    o.driver.triggerMenu(QStringLiteral("Procura Numérica"));
    EXPECT_EQ(o.driver.text(QStringLiteral("Edit_Artigo")), "MP004");
}

TEST(TDBLookupComboDlg, OkWritesTheChosenNameCancelChangesNothing)
{
    Tables t;
    auto inks = t.tintas();
    auto list = t.artigos(QStringLiteral("DESIGNACAO"));
    auto* form = new kv::ui::Form;
    auto* lookup = new kv::ui::TDBLookupComboDlg(form->body());
    lookup->setObjectName(QStringLiteral("Edit_Artigo"));
    lookup->setField(inks.get(), QStringLiteral("ARTIGO"));
    lookup->setLookup(list.get(), QStringLiteral("CODIGO"),
                      {{QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNAÇÃO"), 40, {}},
                       {QStringLiteral("CODIGO"), QStringLiteral("ARTIGO"), 16, {}}});
    (new QGridLayout(form->body()))->addWidget(lookup, 0, 0);
    auto driver = t.scenario.show(form);
    EXPECT_EQ(driver.text(QStringLiteral("Edit_Artigo")), "MP001");

    QString caption;
    t.scenario.onDialog([&](FormDriver& dialog) {
        caption = dialog.caption();
        dialog.find<QComboBox>(QStringLiteral("SearchBy"))->setCurrentIndex(0);
        dialog.typeText(QStringLiteral("cart"));
        dialog.click(QStringLiteral("OKBtn"));
    });
    driver.click(QStringLiteral("Edit_Artigo/Button"));
    EXPECT_EQ(caption, "Seleccione");
    EXPECT_EQ(driver.text(QStringLiteral("Edit_Artigo")), "MP002");
    EXPECT_EQ(inks->value(QStringLiteral("ARTIGO")).toString(), "MP002");
    EXPECT_EQ(inks->state(), DatasetState::Edit);

    // Typing in the field opens the dialog with what was typed.
    QString searched;
    t.scenario.onDialog([&](FormDriver& dialog) {
        searched = dialog.text(QStringLiteral("SearchText"));
        dialog.click(QStringLiteral("CancelBtn"));
    });
    driver.type(QStringLiteral("Edit_Artigo"), QStringLiteral("m"));
    EXPECT_EQ(searched, "m");
    EXPECT_EQ(inks->value(QStringLiteral("ARTIGO")).toString(), "MP002");

    // No key clears the value.
    driver.press(Qt::Key_Delete);
    driver.press(Qt::Key_Backspace);
    EXPECT_EQ(driver.text(QStringLiteral("Edit_Artigo")), "MP002");
}

TEST(DbGrid, HundredThousandRowsOpenScrollAndSearchWithoutAStall)
{
    Tables t;
    t.db->exec(QStringLiteral("CREATE TABLE GRANDE (CODIGO INTEGER PRIMARY KEY, DESIGNACAO VARCHAR(40))"));
    t.db->exec(QStringLiteral("INSERT INTO GRANDE (CODIGO, DESIGNACAO) "
                              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                              "SELECT i, 'Artigo ' || CAST(i AS VARCHAR(10)) FROM n"));
    auto list =
        t.dataset(QStringLiteral("SELECT CODIGO, DESIGNACAO FROM GRANDE ORDER BY CODIGO"), DatasetMode::ReadOnly);

    QElapsedTimer clock;
    clock.start();
    kv::ui::LookupDialog* dialog =
        new kv::ui::LookupDialog(*list, {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 8, {}},
                                         {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}}});
    auto driver = t.scenario.show(dialog);
    EXPECT_LT(list->fetchedCount(), 100000) << "opening must not read the whole list";
    const qint64 opened = clock.restart();

    dialog->grid()->scrollToBottom();
    t.scenario.wait();
    dialog->grid()->scrollToBottom();
    const qint64 scrolled = clock.restart();

    dialog->setSearchColumn(1);
    driver.typeText(QStringLiteral("artigo 99998"));
    const qint64 searched = clock.elapsed();
    EXPECT_EQ(list->value(QStringLiteral("CODIGO")).toInt(), 99998);
    EXPECT_EQ(driver.gridCurrentRow(QStringLiteral("Grid")), 99997);
    // Generous bounds: sanitizer builds on a small machine are slow, a stall is far slower.
    EXPECT_LT(opened, 3000);
    EXPECT_LT(scrolled, 3000);
    EXPECT_LT(searched, 10000);
    dialog->close();
}

} // namespace
