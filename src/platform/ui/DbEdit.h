#pragma once

#include "platform/ui/BoundControl.h"

#include <QLineEdit>

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class FieldLink;

// An edit bound to a field of a dataset: shows the current row's value and
// writes what is typed into it (putting the row into edit). Text columns
// limit the length to the column size; numbers and dates accept only their
// characters, and a text that is still not a value keeps the focus in the
// edit with the reason when the user leaves it.
class DbEdit : public QLineEdit, public BoundControl {
    Q_OBJECT
public:
    enum class CharCase { Normal, Upper, Lower };

    explicit DbEdit(QWidget* parent = nullptr);
    ~DbEdit() override;

    void setField(kv::db::Dataset* dataset, const QString& fieldName);
    kv::db::Dataset* dataset() const;
    QString fieldName() const;

    void setCharCase(CharCase charCase);
    CharCase charCase() const { return m_charCase; }
    // Shows every typed character as `echo` ("#" for passwords); a null
    // character shows the text.
    void setPasswordChar(QChar echo);
    // The field's width in characters; without one, the column's kind and
    // size give it once the dataset is open.
    void setDisplayWidth(int characters);

    bool commitPending(QString* error) override;

private:
    void refresh();
    void typed(const QString& text);
    void applyFieldKind();

    FieldLink* m_link;
    CharCase m_charCase = CharCase::Normal;
    int m_displayWidth = 0;
    QString m_pendingError;
    bool m_refreshing = false;
};

} // namespace kv::ui
