#include "support/FormDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include "platform/ui/Form.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/TDBLookupComboDlg.h"
#include "platform/ui/TGlyphButton.h"

#include <gtest/gtest.h>

namespace kv::test {

namespace {

void settle()
{
    // Queued focus moves and deferred work of the controls run here.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

QWidget* findPath(QWidget* root, const QString& path)
{
    QWidget* current = root;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        if (!current)
            return nullptr;
        if (current->objectName() == part && current == root)
            continue;
        current = current->findChild<QWidget*>(part);
    }
    return current;
}

QString withoutAmpersands(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

QAbstractItemView* itemView(QWidget* widget)
{
    auto* view = qobject_cast<QAbstractItemView*>(widget);
    if (!view && widget)
        ADD_FAILURE() << widget->objectName().toStdString() << " não é uma grelha";
    return view;
}

} // namespace

QString FormDriver::caption() const { return m_window ? m_window->windowTitle() : QString(); }

QWidget* FormDriver::find(const QString& name) const
{
    if (!m_window) {
        ADD_FAILURE() << "Janela já fechada ao procurar " << name.toStdString();
        return nullptr;
    }
    QWidget* widget = findPath(m_window, name);
    if (!widget)
        ADD_FAILURE() << "Controlo inexistente: " << name.toStdString() << " em "
                      << m_window->objectName().toStdString();
    return widget;
}

bool FormDriver::has(const QString& name) const { return m_window && findPath(m_window, name) != nullptr; }

bool FormDriver::isVisible(const QString& name) const
{
    QWidget* widget = find(name);
    return widget && widget->isVisible();
}

bool FormDriver::isEnabled(const QString& name) const
{
    QWidget* widget = find(name);
    return widget && widget->isEnabled();
}

QWidget* FormDriver::focusTarget() const
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && m_window && focus->window() == m_window)
        return focus;
    return m_window;
}

QString FormDriver::focused() const
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !m_window || focus->window() != m_window)
        return {};
    // The named control around an inner edit that stands in for it.
    for (QWidget* parent = focus->parentWidget(); parent; parent = parent->parentWidget()) {
        QWidget* proxy = parent->focusProxy();
        while (proxy && proxy != focus)
            proxy = proxy->focusProxy();
        if (proxy != focus)
            break;
        focus = parent;
    }
    return focus->objectName();
}

QWidget* FormDriver::usable(const QString& name) const
{
    QWidget* widget = find(name);
    if (widget && (!widget->isVisible() || !widget->isEnabled())) {
        ADD_FAILURE() << "Controlo escondido ou desactivado: " << name.toStdString();
        return nullptr;
    }
    return widget;
}

void FormDriver::focus(const QString& name)
{
    QWidget* widget = usable(name);
    if (!widget)
        return;
    QWidget* target = widget;
    while (target->focusProxy())
        target = target->focusProxy();
    if (auto* view = qobject_cast<QAbstractItemView*>(target)) {
        // A click on the current line keeps it current.
        const QModelIndex current = view->currentIndex();
        const QPoint at = current.isValid() ? view->visualRect(current).center() : QPoint(1, 1);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else {
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
    }
    settle();
}

void FormDriver::type(const QString& name, const QString& text)
{
    focus(name);
    QWidget* target = focusTarget();
    // Select what the control holds and type over it; nothing typed clears it.
    if (qobject_cast<QLineEdit*>(target) || qobject_cast<QPlainTextEdit*>(target)) {
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(target, Qt::Key_Delete);
        settle();
    }
    typeText(text);
}

void FormDriver::typeText(const QString& text)
{
    for (const QChar ch : text) {
        QWidget* target = focusTarget();
        if (!target)
            return;
        const QChar upper = ch.toUpper();
        const Qt::Key key = upper.unicode() < 0x100 ? static_cast<Qt::Key>(upper.unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, QString(ch), Qt::NoModifier);
        settle();
    }
}

void FormDriver::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = focusTarget();
    if (!target) {
        ADD_FAILURE() << "Nenhuma janela para receber a tecla";
        return;
    }
    QTest::keyClick(target, key, modifiers);
    settle();
}

void FormDriver::click(const QString& name)
{
    QWidget* widget = usable(name);
    if (!widget)
        return;
    QPoint at = widget->rect().center();
    if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
        at = QPoint(std::min(8, widget->width() / 2), widget->height() / 2); // on the box itself
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    settle();
}

void FormDriver::clickButton(const QString& caption)
{
    if (!m_window)
        return;
    for (QAbstractButton* button : m_window->findChildren<QAbstractButton*>()) {
        if (withoutAmpersands(button->text()) == caption && button->isVisible()) {
            if (!button->isEnabled()) {
                ADD_FAILURE() << "Botão desactivado: " << caption.toStdString();
                return;
            }
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
            settle();
            return;
        }
    }
    ADD_FAILURE() << "Botão inexistente: " << caption.toStdString();
}

void FormDriver::doubleClick(const QString& name)
{
    QWidget* widget = find(name);
    if (!widget)
        return;
    // As the window system delivers it: press, release, double click, release.
    const QPoint at = widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
    settle();
}

void FormDriver::triggerMenu(const QString& text)
{
    if (!m_window)
        return;
    QList<QAction*> actions = m_window->actions();
    for (QWidget* child : m_window->findChildren<QWidget*>())
        actions += child->actions();
    for (QAction* action : actions) {
        if (withoutAmpersands(action->text()) == text) {
            if (!action->isEnabled() || !action->isVisible()) {
                ADD_FAILURE() << "Entrada de menu desactivada: " << text.toStdString();
                return;
            }
            action->trigger();
            settle();
            return;
        }
    }
    ADD_FAILURE() << "Entrada de menu inexistente: " << text.toStdString();
}

void FormDriver::clickRow(const QString& grid, int row)
{
    auto* view = itemView(find(grid));
    if (!view)
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QRect cell = view->visualRect(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    settle();
}

QString FormDriver::text(const QString& name) const
{
    QWidget* widget = find(name);
    if (auto* lookup = qobject_cast<kv::ui::TDBLookupComboDlg*>(widget))
        return lookup->text();
    if (auto* button = qobject_cast<kv::ui::TGlyphButton*>(widget))
        return button->Caption();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        return memo->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return rich->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (widget)
        ADD_FAILURE() << name.toStdString() << " não mostra texto";
    return {};
}

bool FormDriver::isChecked(const QString& name) const
{
    auto* button = qobject_cast<QAbstractButton*>(find(name));
    return button && button->isChecked();
}

QColor FormDriver::colour(const QString& name) const
{
    for (QWidget* widget = find(name); widget; widget = widget->parentWidget()) {
        if (widget->autoFillBackground())
            return widget->palette().color(QPalette::Window);
    }
    return {};
}

QString FormDriver::statusPanel(int panel) const
{
    if (auto* form = qobject_cast<kv::ui::Form*>(m_window.data()))
        return form->statusText(panel);
    auto* bar = m_window ? m_window->findChild<kv::ui::StatusBar*>(QStringLiteral("StatusBar")) : nullptr;
    if (!bar) {
        ADD_FAILURE() << "Janela sem barra de estado";
        return {};
    }
    return bar->text(panel);
}

int FormDriver::gridRowCount(const QString& grid) const
{
    auto* view = itemView(find(grid));
    return view ? view->model()->rowCount() : 0;
}

int FormDriver::gridCurrentRow(const QString& grid) const
{
    auto* view = itemView(find(grid));
    return view && view->currentIndex().isValid() ? view->currentIndex().row() : -1;
}

QString FormDriver::gridCell(const QString& grid, int row, int column) const
{
    auto* view = itemView(find(grid));
    if (!view)
        return {};
    return view->model()->index(row, column).data(Qt::DisplayRole).toString();
}

QStringList FormDriver::gridColumn(const QString& grid, int column) const
{
    QStringList cells;
    for (int row = 0; row < gridRowCount(grid); ++row)
        cells << gridCell(grid, row, column);
    return cells;
}

QStringList FormDriver::gridTitles(const QString& grid) const
{
    QStringList titles;
    auto* view = itemView(find(grid));
    if (!view)
        return titles;
    for (int i = 0; i < view->model()->columnCount(); ++i)
        titles << view->model()->headerData(i, Qt::Horizontal).toString();
    return titles;
}

bool FormDriver::screenshot(const QString& path) const { return m_window && m_window->grab().save(path, "PNG"); }

void FormDriver::close()
{
    if (m_window)
        m_window->close();
    settle();
}

} // namespace kv::test
