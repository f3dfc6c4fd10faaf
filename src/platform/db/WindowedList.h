#pragma once

#include "platform/db/Dataset.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace kv::db {

// A list over a table that grows without bound (customers, articles), read
// a window at a time: the first rows in its order, the last ones, or a few
// rows before and a page after a key, always on an index, so that opening or
// positioning the list never reads the table whole. The rows are those of
// `dataset()`, whose statement the list replaces; a row's key is the list's
// order columns, the last of them unique.
class WindowedList {
public:
    struct Shape {
        QString columns; // the select list ("*" or named columns)
        QString table;
        QString where; // may be empty
        QStringList order; // ascending, ending with a unique column
    };

    static constexpr int RowsBefore = 20;
    static constexpr int RowsAfter = 200;

    // The dataset is the caller's (a shared dataset of a data module, or one
    // of its own) and outlives the list.
    WindowedList(Dataset& dataset, Shape shape);

    Dataset& dataset() const { return m_dataset; }
    const Shape& shape() const { return m_shape; }
    void setShape(Shape shape) { m_shape = std::move(shape); }

    void openFirst(); // stands on the first row
    void openLast(); // stands on the last row
    // Stands on the first row at or after `key` (one value per order column;
    // fewer values compare the leading columns); on the last row when every
    // row is before it. Parameters the shape's `where` names are the dataset's.
    void openAt(const QVariantList& key);
    // The current row's key, for reopening the list on it.
    QVariantList currentKey() const;
    // Whether the list holds rows before or after the window read.
    bool moreBefore() const { return m_moreBefore; }
    bool moreAfter() const { return m_moreAfter; }
    // On the last row of the window with rows after it (or the first with
    // rows before it): reads the window again around the current row, most
    // of it in the direction of the move, so that the rows beyond follow as
    // the user scrolls on. The current row stays the current row. True when
    // the window was read again.
    bool follow();
    // The current row is where follow() reads on.
    bool atEdge();
    // The number of rows of the whole list, counted by the database.
    long long count();

private:
    void openWindow(const QVariantList& key, int before, int after);
    QString whereWith(const QString& condition) const;
    QString orderText(bool descending) const;
    QString keyCondition(const QString& op, int columns) const;

    Dataset& m_dataset;
    Shape m_shape;
    bool m_moreBefore = false;
    bool m_moreAfter = false;
};

} // namespace kv::db
