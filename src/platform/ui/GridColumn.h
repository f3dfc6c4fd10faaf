#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace kv::ui {

// A column of a grid or of a lookup list over a dataset.
struct GridColumn {
    QString field;
    QString title;      // "" shows the field name
    int width = 0;      // in characters; 0 takes the column size (at most 40) or 10
    // The text of a value; by default numbers and dates in Portuguese text.
    std::function<QString(const QVariant&)> format;
};

} // namespace kv::ui
