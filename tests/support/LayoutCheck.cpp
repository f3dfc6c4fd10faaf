#include "support/LayoutCheck.h"

#include "platform/ui/FieldWidth.h"
#include "platform/ui/TGlyphButton.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QScrollBar>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace kv::test {

namespace {

QString nameOf(const QWidget* widget)
{
    QString name = widget->objectName();
    if (name.isEmpty()) {
        // Unnamed captions are known by their text.
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            name = QStringLiteral("\"%1\"").arg(label->text());
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            name = QStringLiteral("\"%1\"").arg(button->text());
        else if (const auto* box = qobject_cast<const QGroupBox*>(widget))
            name = QStringLiteral("\"%1\"").arg(box->title());
        else
            name = QString::fromLatin1(widget->metaObject()->className());
    }
    for (const QWidget* parent = widget->parentWidget(); parent && !parent->isWindow();
         parent = parent->parentWidget()) {
        if (!parent->objectName().isEmpty() && !parent->objectName().startsWith(QLatin1String("qt_"))) {
            name = parent->objectName() + QLatin1Char('/') + name;
            break;
        }
    }
    return name;
}

bool shown(const QWidget* widget) { return widget->isVisible() && !widget->size().isEmpty(); }

// The part of a widget that lies inside a scroller's content may be scrolled
// out of sight: that is not a fault of the window.
bool insideScroller(const QWidget* widget)
{
    for (const QWidget* parent = widget->parentWidget(); parent && !parent->isWindow(); parent = parent->parentWidget())
        if (qobject_cast<const QScrollArea*>(parent))
            return true;
    return false;
}

// Widgets that are parts of a compound control (the edit of a combo, the
// buttons of a calendar, the scroll buttons of a tab bar) are that
// control's business.
bool partOfControl(const QWidget* widget)
{
    for (const QWidget* parent = widget->parentWidget(); parent && !parent->isWindow();
         parent = parent->parentWidget()) {
        if (qobject_cast<const QComboBox*>(parent) || qobject_cast<const QAbstractSpinBox*>(parent)
            || qobject_cast<const QCalendarWidget*>(parent) || qobject_cast<const QTabBar*>(parent)
            || qobject_cast<const QScrollBar*>(parent) || qobject_cast<const QHeaderView*>(parent)
            || (qobject_cast<const QAbstractScrollArea*>(parent) && !qobject_cast<const QScrollArea*>(parent)))
            return true;
    }
    return false;
}

void checkTexts(QWidget* window, QStringList& faults)
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!shown(widget) || partOfControl(widget))
            continue;
        const QSize room = widget->size();
        QSize needed;
        QString kind;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            // A label that gives way by design (the status bar's hints) is not measured.
            if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull()
                || label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
                continue;
            needed = label->minimumSizeHint();
            kind = QStringLiteral("legenda");
        } else if (auto* glyph = qobject_cast<kv::ui::TGlyphButton*>(widget)) {
            needed = glyph->sizeHint();
            kind = QStringLiteral("botão");
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (button->text().isEmpty())
                continue;
            needed = button->sizeHint();
            kind = QStringLiteral("botão");
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            if (box->title().isEmpty())
                continue;
            needed = QSize(box->fontMetrics().horizontalAdvance(box->title()) + 16, 0);
            kind = QStringLiteral("moldura");
        } else if (auto* bar = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < bar->count(); ++i) {
                // A tab the form hides is not shown, so not cut.
                if (!bar->isTabVisible(i))
                    continue;
                const int text = bar->fontMetrics().horizontalAdvance(bar->tabText(i));
                const QRect tab = bar->tabRect(i);
                if (tab.width() < text || tab.right() >= bar->width())
                    faults << QStringLiteral("%1: separador \"%2\" cortado (%3 px para %4 px de texto)")
                                  .arg(nameOf(bar), bar->tabText(i))
                                  .arg(std::min(tab.width(), bar->width() - tab.left()))
                                  .arg(text);
            }
            continue;
        } else if (auto* tools = qobject_cast<QToolBar*>(widget)) {
            // Entries that do not fit go behind the bar's extension button.
            for (QToolButton* more : tools->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
                if (more->isVisible())
                    faults << QStringLiteral("%1: entradas escondidas (%2 px para %3 px)")
                                  .arg(nameOf(tools))
                                  .arg(tools->width())
                                  .arg(tools->sizeHint().width());
            continue;
        } else if (auto* table = qobject_cast<QTableView*>(widget)) {
            QHeaderView* header = table->horizontalHeader();
            for (int i = 0; i < header->count(); ++i) {
                if (header->isSectionHidden(i))
                    continue;
                const QString title = table->model()->headerData(i, Qt::Horizontal).toString();
                const int text = header->fontMetrics().horizontalAdvance(title);
                if (header->sectionSize(i) < text)
                    faults << QStringLiteral("%1: título \"%2\" cortado (%3 px para %4 px de texto)")
                                  .arg(nameOf(table), title)
                                  .arg(header->sectionSize(i))
                                  .arg(text);
            }
            continue;
        } else {
            continue;
        }
        if (room.width() < needed.width() || (needed.height() > 0 && room.height() < needed.height()))
            faults << QStringLiteral("%1: %2 cortado(a) (%3x%4 px para %5x%6 px)")
                          .arg(nameOf(widget), kind)
                          .arg(room.width())
                          .arg(room.height())
                          .arg(needed.width())
                          .arg(needed.height());
    }
}

void checkEdits(QWidget* window, QStringList& faults)
{
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
        if (!shown(edit) || partOfControl(edit))
            continue;
        // A field is as wide as its value: without a declared width it takes
        // whatever its layout gives it, stretched across the form or Qt's
        // default, which fits no value in particular.
        const int declared = kv::ui::declaredFieldWidth(edit);
        if (declared == 0)
            faults << QStringLiteral("%1: campo sem largura declarada (%2 px)").arg(nameOf(edit)).arg(edit->width());
        else if (edit->width() < declared)
            faults << QStringLiteral("%1: campo com %2 px, mais estreito do que os seus %3 px")
                          .arg(nameOf(edit))
                          .arg(edit->width())
                          .arg(declared);
        else if (edit->width() > declared)
            faults << QStringLiteral("%1: campo esticado para %2 px, mais largo do que os seus %3 px")
                          .arg(nameOf(edit))
                          .arg(edit->width())
                          .arg(declared);
    }
}

// A scroller that lays its content out as part of the window (a form's
// body) is there for a smaller screen than the program serves: where it
// needs its scroll bars, fields hide behind them. A scroller showing a
// document at its own size (a report preview) scrolls by design.
void checkScrollers(QWidget* window, QStringList& faults)
{
    for (QScrollArea* area : window->findChildren<QScrollArea*>()) {
        if (!shown(area) || !area->widgetResizable() || !area->widget() || partOfControl(area))
            continue;
        const QScrollBar* across = area->horizontalScrollBar();
        const QScrollBar* down = area->verticalScrollBar();
        if (across->maximum() > across->minimum() || down->maximum() > down->minimum())
            faults << QStringLiteral("%1: precisa de barras de deslocamento (%2x%3 px de conteúdo em %4x%5 px)")
                          .arg(nameOf(area))
                          .arg(area->widget()->minimumSizeHint().width())
                          .arg(area->widget()->minimumSizeHint().height())
                          .arg(area->viewport()->width())
                          .arg(area->viewport()->height());
    }
}

void checkOverlaps(QWidget* window, QStringList& faults)
{
    QList<QWidget*> containers = window->findChildren<QWidget*>();
    containers.prepend(window);
    for (QWidget* container : containers) {
        if (!container->layout() || !container->isVisible() || partOfControl(container))
            continue;
        QList<QWidget*> children;
        for (QObject* child : container->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && !widget->isWindow() && shown(widget))
                children << widget;
        }
        for (int i = 0; i < children.size(); ++i)
            for (int j = i + 1; j < children.size(); ++j)
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    faults << QStringLiteral("%1 e %2 sobrepõem-se").arg(nameOf(children[i]), nameOf(children[j]));
    }
}

void checkButtons(QWidget* window, QStringList& faults)
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(widget) && !qobject_cast<kv::ui::TGlyphButton*>(widget))
            continue;
        if (!shown(widget) || partOfControl(widget) || insideScroller(widget))
            continue;
        const QRect placed(widget->mapTo(window, QPoint(0, 0)), widget->size());
        if (!window->rect().contains(placed))
            faults << QStringLiteral("%1: botão fora da janela (%2,%3 %4x%5 numa janela de %6x%7)")
                          .arg(nameOf(widget))
                          .arg(placed.x())
                          .arg(placed.y())
                          .arg(placed.width())
                          .arg(placed.height())
                          .arg(window->width())
                          .arg(window->height());
    }
}

void checkWindow(QWidget* window, QStringList& faults)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    if (frame.width() > available.width() || frame.height() > available.height())
        faults << QStringLiteral("janela de %1x%2 maior do que o ecrã de %3x%4")
                      .arg(frame.width())
                      .arg(frame.height())
                      .arg(available.width())
                      .arg(available.height());
    else if (!available.contains(frame))
        faults << QStringLiteral("janela fora do ecrã (%1,%2)").arg(frame.x()).arg(frame.y());
}

// Lets the layouts that a page change asked for be done, and the scrollers
// learn their content's new size, before anything is measured.
void settleLayouts()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
}

// Runs `look` on every combination of notebook pages, one notebook at a time.
void onEveryPage(QWidget* window, const std::function<void(int)>& look)
{
    settleLayouts();
    look(0);
    int shot = 1;
    for (QTabWidget* pages : window->findChildren<QTabWidget*>()) {
        if (!pages->isVisible())
            continue;
        const int current = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            if (i == current || !pages->isTabEnabled(i))
                continue;
            // Quietly: a page change may have handlers of the form.
            const QSignalBlocker quiet(pages);
            pages->setCurrentIndex(i);
            settleLayouts();
            look(shot++);
        }
        const QSignalBlocker quiet(pages);
        pages->setCurrentIndex(current);
        settleLayouts();
    }
}

} // namespace

QSize smallScreen() { return {1366, 768}; }

QSize largeScreen() { return {1920, 1080}; }

QScreen* screenOfSize(QSize size)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().size() == size)
            return screen;
    return nullptr;
}

void placeOn(QWidget* window, QScreen* screen)
{
    if (!screen)
        return;
    window->setScreen(screen);
    // The platform places a window by where it stands on the desktop.
    window->move(screen->availableGeometry().topLeft());
}

QStringList layoutFaults(QWidget* window)
{
    QStringList faults;
    checkWindow(window, faults);
    onEveryPage(window, [&](int) {
        checkTexts(window, faults);
        checkEdits(window, faults);
        checkScrollers(window, faults);
        checkOverlaps(window, faults);
        checkButtons(window, faults);
    });
    faults.removeDuplicates();
    return faults;
}

QStringList savePages(QWidget* window, const QString& folder, const QString& name)
{
    QStringList files;
    QDir().mkpath(folder);
    onEveryPage(window, [&](int shot) {
        const QString file = QDir(folder).filePath(shot == 0 ? name + QStringLiteral(".png")
                                                             : QStringLiteral("%1-%2.png").arg(name).arg(shot + 1));
        if (window->grab().save(file, "PNG"))
            files << file;
    });
    return files;
}

} // namespace kv::test
