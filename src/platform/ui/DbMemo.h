#pragma once

#include <QPlainTextEdit>

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class FieldLink;

// A multi-line text bound to a text or memo field; what is typed goes into
// the current row (put into edit), cut to the column size when it has one.
class DbMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DbMemo(QWidget* parent = nullptr);

    void setField(kv::db::Dataset* dataset, const QString& fieldName);

private:
    void refresh();
    void typed();

    FieldLink* m_link;
    bool m_refreshing = false;
};

} // namespace kv::ui
