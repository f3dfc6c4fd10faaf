#include "platform/ui/StatusBar.h"

#include <QLabel>

namespace kv::ui {

StatusBar::StatusBar(int panels, QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    for (int i = 0; i < panels; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        if (i == 0) {
            // The hints come and go while the user works: they take the
            // room the bar has and never widen the window.
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            addWidget(label, 1);
        } else {
            addPermanentWidget(label);
        }
        m_panels.push_back(label);
    }
}

void StatusBar::setText(int panel, const QString& text)
{
    if (QLabel* label = this->panel(panel))
        label->setText(text);
}

QString StatusBar::text(int panel) const
{
    QLabel* label = this->panel(panel);
    return label ? label->text() : QString();
}

QLabel* StatusBar::panel(int index) const
{
    if (index < 0 || index >= panelCount())
        return nullptr;
    return m_panels[static_cast<std::size_t>(index)];
}

} // namespace kv::ui
