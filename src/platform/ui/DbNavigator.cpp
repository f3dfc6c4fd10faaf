#include "platform/ui/DbNavigator.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace kv::ui {

using kv::db::Dataset;

namespace {
enum Move { First, Prior, Next, Last };
}

DbNavigator::DbNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_first = addButton(QStringLiteral("First"), QStringLiteral("Primeiro Registo"), First);
    m_prior = addButton(QStringLiteral("Prior"), QStringLiteral("Registo Anterior"), Prior);
    m_next = addButton(QStringLiteral("Next"), QStringLiteral("Próximo Registo"), Next);
    m_last = addButton(QStringLiteral("Last"), QStringLiteral("Último Registo"), Last);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateButtons();
}

QToolButton* DbNavigator::addButton(const QString& name, const QString& hint, int which)
{
    static const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward,
                                                   QStyle::SP_MediaSeekForward, QStyle::SP_MediaSkipForward};
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(style()->standardIcon(icons[which]));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this, which] { move(which); });
    return button;
}

QToolButton* DbNavigator::button(const QString& name) const
{
    return findChild<QToolButton*>(name, Qt::FindDirectChildrenOnly);
}

void DbNavigator::setDataset(Dataset* dataset)
{
    for (const auto& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_dataset = dataset;
    if (dataset) {
        for (auto signal : {&Dataset::opened, &Dataset::closed, &Dataset::reset})
            m_connections << connect(dataset, signal, this, &DbNavigator::updateButtons);
        m_connections << connect(dataset, &Dataset::currentChanged, this, &DbNavigator::updateButtons)
                      << connect(dataset, &Dataset::rowsFetched, this, &DbNavigator::updateButtons)
                      << connect(dataset, &Dataset::rowInserted, this, &DbNavigator::updateButtons)
                      << connect(dataset, &Dataset::rowRemoved, this, &DbNavigator::updateButtons)
                      << connect(dataset, &Dataset::stateChanged, this, &DbNavigator::updateButtons);
    }
    updateButtons();
}

void DbNavigator::move(int which)
{
    if (!m_dataset || !m_dataset->isOpen())
        return;
    try {
        switch (which) {
        case First: m_dataset->first(); break;
        case Prior: m_dataset->prior(); break;
        case Next: m_dataset->next(); break;
        case Last: m_dataset->last(); break;
        }
    } catch (const kv::db::DbError& e) {
        messages().fail(e.text());
    }
    updateButtons();
}

void DbNavigator::updateButtons()
{
    const bool active = isEnabled() && m_dataset && m_dataset->isOpen() && !m_dataset->isEmpty();
    const int row = active ? m_dataset->currentRow() : -1;
    const bool atStart = !active || row <= 0;
    const bool atEnd = !active || (row >= m_dataset->fetchedCount() - 1 && !m_dataset->canFetchMore());
    m_first->setEnabled(!atStart);
    m_prior->setEnabled(!atStart);
    m_next->setEnabled(!atEnd);
    m_last->setEnabled(!atEnd);
}

void DbNavigator::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updateButtons();
}

} // namespace kv::ui
