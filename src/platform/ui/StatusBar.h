#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;

namespace kv::ui {

// The status bar of the forms: fixed, centred panels. Panel 0 takes the spare
// width (the key hints of the field being edited); the others keep the width
// of their text. Object name "StatusBar"; panels "Panel0", "Panel1", ...
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(int panels = 2, QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(m_panels.size()); }
    void setText(int panel, const QString& text);
    QString text(int panel) const;
    QLabel* panel(int index) const;

private:
    std::vector<QLabel*> m_panels;
};

} // namespace kv::ui
