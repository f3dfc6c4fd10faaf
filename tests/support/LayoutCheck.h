#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QScreen;
class QWidget;

namespace kv::test {

// The screens the offscreen test platform has: the smallest the program
// serves (1366 x 768, the primary one) and a common large one (1920 x 1080).
QSize smallScreen();
QSize largeScreen();
// The test platform's screen of that size, or nullptr when the platform has
// none (a real display).
QScreen* screenOfSize(QSize size);

// Puts a window that is not shown yet on that screen.
void placeOn(QWidget* window, QScreen* screen);

// What makes an open window look unfinished, one text per fault, each naming
// the widget: a window larger than its screen; a caption, button text, check
// box text, tab text or grid title wider than the room its widget gives it;
// a tool bar whose entries do not all fit;
// an edit field with no declared width (kv::ui::setFieldWidth), or not as
// wide as it;
// a form's body that needs its scroll bars; two visible widgets of one
// layout overlapping; a button outside the window.
// Every page of a notebook is looked at, the notebooks left as they were.
QStringList layoutFaults(QWidget* window);

// Saves PNG pictures of the window into `folder`: `name`.png, and one per
// further page of its notebooks (`name`-2.png ...). Returns the files written.
QStringList savePages(QWidget* window, const QString& folder, const QString& name);

} // namespace kv::test
