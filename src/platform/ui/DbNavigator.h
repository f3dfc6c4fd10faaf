#pragma once

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace kv::db {
class Dataset;
}

namespace kv::ui {

// First, prior, next and last row of a dataset. Its buttons take no focus,
// so using them never runs a field's exit check; they are off where the move
// is impossible. Buttons "First", "Prior", "Next", "Last".
class DbNavigator : public QWidget {
    Q_OBJECT
public:
    explicit DbNavigator(QWidget* parent = nullptr);

    void setDataset(kv::db::Dataset* dataset);
    kv::db::Dataset* dataset() const { return m_dataset; }

    QToolButton* button(const QString& name) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& hint, int arrow);
    void move(int which);
    void updateButtons();

    QPointer<kv::db::Dataset> m_dataset;
    QToolButton* m_first;
    QToolButton* m_prior;
    QToolButton* m_next;
    QToolButton* m_last;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace kv::ui
