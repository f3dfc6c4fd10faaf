#pragma once

#include <QCheckBox>
#include <QVariant>

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class FieldLink;

// A check box bound to a flag field: checked while the field holds the
// checked value ("S" unless told otherwise); a click writes the checked or
// unchecked value ("N") into the current row.
class DbCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DbCheckBox(const QString& text = {}, QWidget* parent = nullptr);

    void setField(kv::db::Dataset* dataset, const QString& fieldName);
    void setValues(const QVariant& checked, const QVariant& unchecked);

private:
    void refresh();
    void clickedByUser(bool checked);

    FieldLink* m_link;
    QVariant m_checked = QStringLiteral("S");
    QVariant m_unchecked = QStringLiteral("N");
};

} // namespace kv::ui
