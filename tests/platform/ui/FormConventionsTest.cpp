// The conventions every form shares, on a small form built here: Enter order,
// exit checks that keep the focus however the field is left, the light-yellow
// caption label, status-bar panels, handlers only between activation and
// close, and buttons that never take the focus.
#include "platform/ui/FieldWidth.h"
#include "platform/ui/Form.h"
#include "platform/ui/QtMessageService.h"
#include "platform/ui/FormColours.h"
#include "support/LayoutCheck.h"
#include "support/Scenario.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using kv::test::FormDriver;
using kv::test::Scenario;
using kv::ui::Form;

namespace {

class TesteForm : public Form {
public:
    QStringList log;
    int activations = 0;
    int closes = 0;
    int clicks = 0;
    int returnsSeen = 0;

    TesteForm()
    {
        setObjectName(QStringLiteral("TTESTE"));
        auto* grid = new QGridLayout(body());
        int row = 0;
        auto addField = [&](const QString& name, const QString& caption) {
            auto* label = new QLabel(caption, body());
            label->setObjectName(QStringLiteral("Label_") + name);
            auto* edit = new QLineEdit(body());
            edit->setObjectName(name);
            grid->addWidget(label, row, 0);
            grid->addWidget(edit, row, 1);
            ++row;
            setCaptionLabel(edit, label);
            setEnterHandler(edit, [this, name] { log << name + QStringLiteral("Enter"); });
            connect(edit, &QLineEdit::returnPressed, this, [this] { ++returnsSeen; });
            return edit;
        };
        codigo = addField(QStringLiteral("Edit_Codigo"), QStringLiteral("Código : "));
        hidden = new QLineEdit(body());
        hidden->setObjectName(QStringLiteral("Edit_Codigo1"));
        hidden->hide();
        grid->addWidget(hidden, row++, 1);
        designacao = addField(QStringLiteral("Edit_Designacao"), QStringLiteral("Designação : "));
        preco = addField(QStringLiteral("Edit_Preco"), QStringLiteral("Preço Kg: "));
        auto* button = new kv::ui::TGlyphButton(QStringLiteral("&Inserir"), body());
        button->setObjectName(QStringLiteral("BotInserir"));
        grid->addWidget(button, row++, 1);
        connect(button, &kv::ui::TGlyphButton::clicked, this, [this] { ++clicks; });

        setKeyHint(designacao, QStringLiteral("Tecla <Insert> Procurar"));
        setExitHandler(codigo, [this] {
            log << QStringLiteral("Edit_CodigoExit");
            if (codigo->text() == QLatin1String("7")) {
                // An existing key: the form goes to another control, not back.
                kv::ui::messages().beep();
                kv::ui::messages().error(QStringLiteral("REGISTO JÁ FOI ABERTO ... <ENTER>"));
                focusField(preco);
            }
        });
        setExitHandler(designacao, [this] {
            log << QStringLiteral("Edit_DesignacaoExit");
            if (designacao->text().isEmpty())
                rejectField(QStringLiteral("Designação Inválida !!!"));
        });
        setExitHandler(preco, [this] { log << QStringLiteral("Edit_PrecoExit"); });
    }

    QLineEdit* codigo;
    QLineEdit* hidden;
    QLineEdit* designacao;
    QLineEdit* preco;

protected:
    void FormActivate() override
    {
        ++activations;
        setMakerTag(QStringLiteral("Marca de Teste"));
        EnableEvents();
    }
    void FormClose() override { ++closes; }
};

struct Opened {
    Scenario scenario;
    TesteForm* form = new TesteForm;
    FormDriver driver = scenario.show(form);

    // Puts the focus in a field the way Enter does from the field before it,
    // so its enter handler has run, and forgets what happened until then.
    void start(const QString& field)
    {
        driver.find(field)->setFocus(Qt::TabFocusReason);
        scenario.wait();
        form->log.clear();
        scenario.messages().clear();
    }
};

TEST(FormConventions, ActivationRunsOnceAndWritesTheMakerTag)
{
    Opened o;
    EXPECT_EQ(o.form->activations, 1);
    EXPECT_TRUE(o.form->eventsEnabled());
    EXPECT_EQ(o.driver.statusPanel(1), "Marca de Teste");

    // Another window taking the focus and giving it back (as a message box
    // does) activates the form again without running its activation.
    auto* other = new QDialog;
    o.scenario.show(other);
    other->close();
    o.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(o.form));
    EXPECT_EQ(o.form->activations, 1);
}

struct EnterCase {
    const char* from;
    const char* to;
};
void PrintTo(const EnterCase& c, std::ostream* os) { *os << c.from << " -> " << c.to; }

class EnterOrder : public ::testing::TestWithParam<EnterCase> {};

TEST_P(EnterOrder, EnterMovesToTheNextControlAndIsSwallowed)
{
    Opened o;
    o.form->designacao->setText(QStringLiteral("Tinta"));
    o.start(QString::fromUtf8(GetParam().from));
    o.driver.enter();
    EXPECT_EQ(o.driver.focused(), QString::fromUtf8(GetParam().to));
    EXPECT_EQ(o.form->returnsSeen, 0) << "the field must not see the Enter key";
    EXPECT_TRUE(o.form->isVisible()) << "Enter must not close the form";
}

// The hidden mirror and the button (no focus) are passed over; the last field wraps.
INSTANTIATE_TEST_SUITE_P(Fields, EnterOrder,
                         ::testing::Values(EnterCase{"Edit_Codigo", "Edit_Designacao"},
                                           EnterCase{"Edit_Designacao", "Edit_Preco"},
                                           EnterCase{"Edit_Preco", "Edit_Codigo"}));

enum class Leave { Enter, Tab, BackTab, Mouse };

void PrintTo(Leave how, std::ostream* os)
{
    static const char* names[] = {"Enter", "Tab", "BackTab", "Mouse"};
    *os << names[static_cast<int>(how)];
}

class FailingExitCheck : public ::testing::TestWithParam<Leave> {};

void leaveBy(Opened& o, Leave how)
{
    switch (how) {
    case Leave::Enter: o.driver.enter(); break;
    case Leave::Tab: o.driver.tab(); break;
    case Leave::BackTab: o.driver.press(Qt::Key_Backtab, Qt::ShiftModifier); break;
    case Leave::Mouse: o.driver.focus(QStringLiteral("Edit_Preco")); break;
    }
}

TEST_P(FailingExitCheck, KeepsTheFocusInTheField)
{
    Opened o;
    o.start(QStringLiteral("Edit_Designacao"));
    leaveBy(o, GetParam());
    o.scenario.settle();

    EXPECT_EQ(o.driver.focused(), "Edit_Designacao");
    EXPECT_EQ(o.scenario.messages().transcript(), QStringList({"<beep>", "Designação Inválida !!!"}));
    // Back in the field: highlighted again, and no other field was entered or left.
    EXPECT_EQ(o.driver.colour(QStringLiteral("Label_Edit_Designacao")), kv::ui::editingLabelColour());
    EXPECT_EQ(o.form->log, QStringList({"Edit_DesignacaoExit", "Edit_DesignacaoEnter"}));

    // Corrected, the same way out now leaves the field.
    o.driver.typeText(QStringLiteral("Tinta azul"));
    o.form->log.clear();
    leaveBy(o, GetParam());
    EXPECT_NE(o.driver.focused(), "Edit_Designacao");
    EXPECT_EQ(o.scenario.messages().beeps(), 1);
    EXPECT_EQ(o.form->log.value(0), "Edit_DesignacaoExit");
}

INSTANTIATE_TEST_SUITE_P(Ways, FailingExitCheck,
                         ::testing::Values(Leave::Enter, Leave::Tab, Leave::BackTab, Leave::Mouse),
                         [](const auto& testInfo) {
                             std::ostringstream name;
                             PrintTo(testInfo.param, &name);
                             return name.str();
                         });

// With the program's real message boxes, the box takes the focus and gives
// it back while the check runs; none of that may run another handler.
class RealMessageBox : public ::testing::TestWithParam<Leave> {};

TEST_P(RealMessageBox, FailingCheckStillKeepsTheFocus)
{
    Opened o;
    auto previous = kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());
    o.start(QStringLiteral("Edit_Designacao"));
    QString shown;
    QString caption;
    o.scenario.onDialog([&](FormDriver& box) {
        shown = box.window()->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        caption = box.caption();
        box.clickButton(QStringLiteral("OK"));
    });
    leaveBy(o, GetParam());
    o.scenario.settle();
    kv::ui::MessageService::install(previous);

    EXPECT_EQ(shown, "Designação Inválida !!!");
    EXPECT_EQ(caption, "Erro");
    EXPECT_EQ(o.driver.focused(), "Edit_Designacao");
    EXPECT_EQ(o.form->log, QStringList({"Edit_DesignacaoExit", "Edit_DesignacaoEnter"}));
    EXPECT_EQ(o.driver.colour(QStringLiteral("Label_Edit_Designacao")), kv::ui::editingLabelColour());
}

INSTANTIATE_TEST_SUITE_P(Ways, RealMessageBox, ::testing::Values(Leave::Enter, Leave::Mouse), [](const auto& testInfo) {
    std::ostringstream name;
    PrintTo(testInfo.param, &name);
    return name.str();
});

TEST(FormConventions, RealQuestionHasPortugueseButtons)
{
    Scenario scenario;
    auto previous = kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());
    QStringList buttons;
    scenario.onDialog([&](FormDriver& box) {
        for (auto* button : box.window()->findChildren<QAbstractButton*>())
            if (button->isVisible())
                buttons << button->text();
        box.clickButton(QStringLiteral("Sim"));
    });
    const bool yes = kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?"));
    scenario.onDialog([&](FormDriver& box) { box.clickButton(QStringLiteral("Não")); });
    const bool no = kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?"));
    kv::ui::MessageService::install(previous);
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"&Não", "&Sim"}));
}

// A question whose box is closed without an answer tells that from "Não"
// to the callers that ask for it; to the others it is "Não".
TEST(FormConventions, RealQuestionClosedWithoutAnAnswer)
{
    using Answer = kv::ui::MessageService::Answer;
    const struct {
        const char* label;
        void (*answer)(FormDriver& box);
        Answer asked;
    } cases[] = {
        {"sim", [](FormDriver& box) { box.clickButton(QStringLiteral("Sim")); }, Answer::Yes},
        {"nao", [](FormDriver& box) { box.clickButton(QStringLiteral("Não")); }, Answer::No},
        {"escape", [](FormDriver& box) { box.escape(); }, Answer::Closed},
        {"close_box", [](FormDriver& box) { box.close(); }, Answer::Closed},
    };
    for (const auto& c : cases) {
        Scenario scenario;
        auto previous = kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());
        scenario.onDialog(c.answer);
        const Answer asked = kv::ui::messages().ask(QStringLiteral("GRAVAÇÃO DE ARTIGO !!! Confirma ?"));
        scenario.onDialog(c.answer);
        const bool yes = kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?"));
        kv::ui::MessageService::install(previous);
        EXPECT_EQ(asked, c.asked) << c.label;
        EXPECT_EQ(yes, c.asked == Answer::Yes) << c.label;
    }
}

// A message of many lines (a bulk run's gathered messages) scrolls in a
// window that fits the screen; a short one stays a message box.
TEST(FormConventions, LongMessageScrollsWithinTheScreen)
{
    const struct {
        int lines;
        bool list;
    } cases[] = {{3, false}, {400, true}};
    for (const auto& c : cases) {
        Scenario scenario;
        auto previous = kv::ui::MessageService::install(std::make_shared<kv::ui::QtMessageService>());
        QStringList lines;
        for (int i = 1; i <= c.lines; ++i)
            lines << QStringLiteral("CODIGO POSTAL INEX,CLIENTE: %1").arg(i);
        QString shown;
        int height = 0;
        int screenHeight = 0;
        scenario.onDialog([&](FormDriver& box) {
            QWidget* window = box.window();
            height = window->frameGeometry().height();
            screenHeight = window->screen()->availableGeometry().height();
            if (auto* list = window->findChild<QPlainTextEdit*>(QStringLiteral("Mensagens")))
                shown = list->toPlainText();
            box.clickButton(QStringLiteral("OK"));
        });
        kv::ui::messages().information(lines.join(QLatin1Char('\n')));
        kv::ui::MessageService::install(previous);
        EXPECT_EQ(shown, c.list ? lines.join(QLatin1Char('\n')) : QString()) << c.lines;
        EXPECT_GT(height, 0) << c.lines;
        EXPECT_LE(height, screenHeight) << c.lines;
    }
}

TEST(FormConventions, AnExitHandlerCanSendTheFocusElsewhere)
{
    Opened o;
    o.start(QStringLiteral("Edit_Codigo"));
    o.driver.typeText(QStringLiteral("7"));
    o.driver.enter();
    o.scenario.settle();
    EXPECT_EQ(o.driver.focused(), "Edit_Preco");
    EXPECT_EQ(o.scenario.messages().texts(), QStringList({"REGISTO JÁ FOI ABERTO ... <ENTER>"}));
    // The field that Enter was heading for was never entered nor checked.
    EXPECT_EQ(o.form->log, QStringList({"Edit_CodigoExit", "Edit_PrecoEnter"}));
}

TEST(FormConventions, ClickingAButtonRunsNoExitCheck)
{
    Opened o;
    o.start(QStringLiteral("Edit_Designacao"));
    o.driver.click(QStringLiteral("BotInserir"));
    EXPECT_EQ(o.form->clicks, 1);
    EXPECT_EQ(o.driver.focused(), "Edit_Designacao");
    EXPECT_TRUE(o.scenario.messages().entries().empty());
    EXPECT_TRUE(o.form->log.isEmpty());
}

struct LabelCase {
    const char* field;
    const char* hint; // panel 0 while the field has the focus
};
void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.field; }

class CaptionLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(CaptionLabel, TurnsLightYellowWhileItsFieldHasTheFocus)
{
    Opened o;
    o.form->designacao->setText(QStringLiteral("Tinta"));
    const QString field = QString::fromUtf8(GetParam().field);
    const QString label = QStringLiteral("Label_") + field;
    o.start(QStringLiteral("Edit_Preco"));
    EXPECT_EQ(o.driver.colour(label), field == "Edit_Preco" ? kv::ui::editingLabelColour() : kv::ui::formColour());

    o.driver.focus(field);
    EXPECT_EQ(o.driver.colour(label), kv::ui::editingLabelColour());
    EXPECT_EQ(o.driver.statusPanel(0), QString::fromUtf8(GetParam().hint));

    o.driver.focus(field == "Edit_Codigo" ? QStringLiteral("Edit_Preco") : QStringLiteral("Edit_Codigo"));
    EXPECT_EQ(o.driver.colour(label), kv::ui::formColour());
    EXPECT_EQ(o.driver.statusPanel(0), "");
    EXPECT_EQ(o.driver.statusPanel(1), "Marca de Teste");
}

INSTANTIATE_TEST_SUITE_P(Fields, CaptionLabel,
                         ::testing::Values(LabelCase{"Edit_Codigo", ""},
                                           LabelCase{"Edit_Designacao", "Tecla <Insert> Procurar"}));

TEST(FormConventions, TheFormColourIsTheBackground)
{
    Opened o;
    EXPECT_EQ(o.form->palette().color(QPalette::Window), QColor(175, 202, 228));
    EXPECT_EQ(kv::ui::editingLabelColour(), QColor(255, 255, 128));
}

TEST(FormConventions, ClosingRunsNoCheckAndTheCloseHandlerOnce)
{
    Opened o;
    o.start(QStringLiteral("Edit_Designacao"));
    o.driver.close();
    EXPECT_FALSE(o.form->isVisible());
    EXPECT_EQ(o.form->closes, 1);
    EXPECT_FALSE(o.form->eventsEnabled());
    EXPECT_TRUE(o.scenario.messages().entries().empty());
    EXPECT_FALSE(o.form->log.contains("Edit_DesignacaoExit"));
}

TEST(FormConventions, HandlersDoNotRunBeforeActivation)
{
    Scenario scenario;
    TesteForm form;
    form.codigo->setFocus();
    form.designacao->setFocus();
    EXPECT_TRUE(form.log.isEmpty());
}

TEST(FormConventions, EscapeDoesNotCloseTheForm)
{
    Opened o;
    o.form->designacao->setText(QStringLiteral("Tinta"));
    o.start(QStringLiteral("Edit_Codigo"));
    o.driver.escape();
    EXPECT_TRUE(o.form->isVisible());
    EXPECT_EQ(o.form->closes, 0);
}

// ---------------------------------------------------------------- size on the screen

// A form of `lines` captioned fields and a Terminar button in its button bar.
class LinesForm : public Form {
public:
    explicit LinesForm(int lines, QWidget* parent = nullptr) : Form(parent)
    {
        setObjectName(QStringLiteral("TLINHAS"));
        auto* grid = new QGridLayout(body());
        for (int i = 0; i < lines; ++i) {
            grid->addWidget(new QLabel(QStringLiteral("Linha %1 : ").arg(i + 1), body()), i, 0);
            auto* edit = new QLineEdit(body());
            edit->setObjectName(QStringLiteral("Edit_%1").arg(i + 1));
            kv::ui::setFieldWidth(edit, 10);
            grid->addWidget(edit, i, 1);
        }
        auto* buttons = new QHBoxLayout(buttonBar());
        buttons->addStretch(1);
        auto* done = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
        done->setObjectName(QStringLiteral("BitTerminar"));
        buttons->addWidget(done);
    }
};

struct SizeCase {
    const char* label;
    int lines;
    bool scrolls;
};
void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.label; }

class FormOnScreen : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FormOnScreen, OpensAtItsNaturalSizeWithinTheScreenCentredOnItsWindow)
{
    const SizeCase& c = GetParam();
    Scenario scenario;
    QScreen* screen = kv::test::screenOfSize(kv::test::smallScreen());
    if (!screen)
        GTEST_SKIP() << "sem o ecrã de teste";
    auto* main = new QWidget;
    main->setScreen(screen);
    main->setGeometry(100, 50, 1000, 600);
    scenario.show(main);
    auto* form = new LinesForm(c.lines, main);
    FormDriver driver = scenario.show(form);
    scenario.wait();
    const QRect available = screen->availableGeometry();
    EXPECT_TRUE(available.contains(form->frameGeometry())) << form->frameGeometry().height();
    EXPECT_TRUE(form->rect().contains(
        QRect(driver.find("BitTerminar")->mapTo(form, QPoint(0, 0)), driver.find("BitTerminar")->size())));
    auto* scroll = driver.find<QScrollArea>(QStringLiteral("BodyScroll"));
    EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), c.scrolls);
    if (!c.scrolls) {
        EXPECT_EQ(form->size(), form->sizeHint());
        EXPECT_LE(std::abs(form->frameGeometry().center().x() - main->frameGeometry().center().x()), 2);
        EXPECT_LE(std::abs(form->frameGeometry().center().y() - main->frameGeometry().center().y()), 2);
    }
    // A body that needs its scroll bars hides fields behind them: the layout
    // check calls it a fault.
    const QStringList faults = kv::test::layoutFaults(form);
    if (c.scrolls) {
        ASSERT_EQ(faults.size(), 1) << faults.join('\n').toStdString();
        EXPECT_TRUE(faults[0].startsWith(QStringLiteral("BodyScroll: precisa de barras de deslocamento")))
            << faults[0].toStdString();
    } else {
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    }

    // A long hint in the status bar does not widen the form.
    const QSize opened = form->size();
    form->setStatusText(0, QString(300, QLatin1Char('x')));
    scenario.wait();
    EXPECT_EQ(form->size(), opened);
}

// A form whose fields get their widths after it has opened: a field on a
// notebook page not shown yet, sized when the form is activated (as a
// dataset opened then sizes its fields), or a field on the page in sight
// widened later.
class SizedLaterForm : public Form {
public:
    SizedLaterForm(int characters, bool onActivation) : m_characters(characters), m_onActivation(onActivation)
    {
        setObjectName(QStringLiteral("TPAGINAS"));
        auto* layout = new QVBoxLayout(body());
        pages = new QTabWidget(body());
        pages->setObjectName(QStringLiteral("Paginas"));
        for (const QString& name : {QStringLiteral("Edit_Primeira"), QStringLiteral("Edit_Segunda")}) {
            auto* page = new QWidget;
            auto* row = new QHBoxLayout(page);
            row->addWidget(new QLabel(QStringLiteral("Valor : "), page));
            auto* edit = new QLineEdit(page);
            edit->setObjectName(name);
            kv::ui::setFieldWidth(edit, 10);
            row->addWidget(edit);
            row->addStretch(1);
            pages->addTab(page, name.mid(5));
        }
        layout->addWidget(pages);
    }

    QLineEdit* edit(const char* name) { return findChild<QLineEdit*>(QString::fromLatin1(name)); }

    QTabWidget* pages = nullptr;

protected:
    void FormActivate() override
    {
        if (m_onActivation)
            kv::ui::setFieldWidth(edit("Edit_Segunda"), m_characters);
    }

private:
    int m_characters;
    bool m_onActivation;
};

struct LaterCase {
    const char* label;
    bool onActivation; // else: the first page's field, widened once open
    int characters;
    bool fits; // within the small screen
};
void PrintTo(const LaterCase& c, std::ostream* os) { *os << c.label; }

class FormGrows : public ::testing::TestWithParam<LaterCase> {};

TEST_P(FormGrows, ToFieldsSizedOnceItIsOpenWithinTheScreen)
{
    const LaterCase& c = GetParam();
    Scenario scenario;
    QScreen* screen = kv::test::screenOfSize(kv::test::smallScreen());
    if (!screen)
        GTEST_SKIP() << "sem o ecrã de teste";
    auto* form = new SizedLaterForm(c.characters, c.onActivation);
    kv::test::placeOn(form, screen);
    FormDriver driver = scenario.show(form);
    scenario.wait();
    if (!c.onActivation) {
        kv::ui::setFieldWidth(form->edit("Edit_Primeira"), c.characters);
        scenario.settle();
    }
    form->pages->setCurrentIndex(c.onActivation ? 1 : 0);
    scenario.settle();
    auto* scroll = driver.find<QScrollArea>(QStringLiteral("BodyScroll"));
    EXPECT_TRUE(screen->availableGeometry().contains(form->frameGeometry()));
    EXPECT_EQ(scroll->horizontalScrollBar()->isVisible(), !c.fits);
    if (c.fits) {
        EXPECT_GE(form->width(), form->sizeHint().width());
        const QStringList faults = kv::test::layoutFaults(form);
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    } else {
        EXPECT_EQ(form->frameGeometry().width(), screen->availableGeometry().width());
    }
}

INSTANTIATE_TEST_SUITE_P(FormConventions, FormGrows,
                         ::testing::Values(LaterCase{"HiddenPageSizedOnActivation", true, 60, true},
                                           LaterCase{"FieldWidenedOnceOpen", false, 60, true},
                                           LaterCase{"FieldWiderThanTheScreen", false, 400, false}),
                         [](const auto& p) { return std::string(p.param.label); });

// A field is as wide as its value: the layout check names one that has no
// width of its own or is not as wide as it.
struct WidthCase {
    const char* label;
    std::function<void(QLineEdit*)> size;
    QString fault; // the start of the one fault after the field's name; empty: none
};
void PrintTo(const WidthCase& c, std::ostream* os) { *os << c.label; }

class FieldWidthCheck : public ::testing::TestWithParam<WidthCase> {};

TEST_P(FieldWidthCheck, NamesAFieldNotAsWideAsItsValue)
{
    Scenario scenario;
    auto* form = new Form;
    auto* row = new QHBoxLayout(form->body());
    row->addWidget(new QLabel(QStringLiteral("Valor : "), form->body()));
    auto* edit = new QLineEdit(form->body());
    edit->setObjectName(QStringLiteral("Edit_Valor"));
    GetParam().size(edit);
    row->addWidget(edit);
    kv::test::placeOn(form, kv::test::screenOfSize(kv::test::smallScreen()));
    FormDriver driver = scenario.show(form);
    scenario.wait();
    const QStringList faults = kv::test::layoutFaults(form);
    if (GetParam().fault.isEmpty()) {
        EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    } else {
        ASSERT_EQ(faults.size(), 1) << faults.join('\n').toStdString();
        EXPECT_TRUE(faults[0].startsWith(QStringLiteral("Body/Edit_Valor: ") + GetParam().fault))
            << faults[0].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormConventions, FieldWidthCheck,
    ::testing::Values(WidthCase{"Declared", [](QLineEdit* e) { kv::ui::setFieldWidth(e, 12); }, {}},
                      WidthCase{"Undeclared", [](QLineEdit*) {}, QStringLiteral("campo sem largura declarada")},
                      WidthCase{"FixedByHand", [](QLineEdit* e) { e->setFixedWidth(120); },
                                QStringLiteral("campo sem largura declarada")},
                      WidthCase{"Stretched",
                                [](QLineEdit* e) {
                                    kv::ui::setFieldWidth(e, 12);
                                    e->setFixedWidth(kv::ui::declaredFieldWidth(e) + 40);
                                },
                                QStringLiteral("campo esticado")},
                      WidthCase{"Squeezed",
                                [](QLineEdit* e) {
                                    kv::ui::setFieldWidth(e, 12);
                                    e->setFixedWidth(kv::ui::declaredFieldWidth(e) - 20);
                                },
                                QStringLiteral("campo com")}),
    [](const auto& p) { return std::string(p.param.label); });

INSTANTIATE_TEST_SUITE_P(FormConventions, FormOnScreen,
                         ::testing::Values(SizeCase{"short", 3, false}, SizeCase{"taller than the screen", 60, true}),
                         [](const auto& p) { return std::string(p.param.lines < 10 ? "Short" : "Tall"); });

} // namespace
