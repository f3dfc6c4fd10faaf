#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace kv::ui {

// A column of a grid or of a lookup list over a dataset.
struct GridColumn {
    QString field;
    QString title; // "" shows the field name
    int width = 0; // in characters; 0 takes the column size (at most 40) or 10
    // The text of a value; by default numbers and dates in Portuguese text.
    std::function<QString(const QVariant&)> format;
    // A check box the user may tick: ticked for "S", empty for anything else;
    // a tick writes "S", clearing it "N". The grid's other columns stay read-only.
    bool checkBox = false;
    // Where the text stands in the cell; by default numbers right, texts left.
    Qt::Alignment alignment = {};
};

} // namespace kv::ui
