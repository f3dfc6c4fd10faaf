#pragma once

#include <QString>

namespace kv::ui {

// A control bound to a dataset field that may hold text its field cannot
// take (a number that is not one, a value out of range). The form asks it
// when the focus leaves it and keeps the focus there while it refuses, the
// way a field exit check does.
class BoundControl {
public:
    virtual ~BoundControl() = default;
    // Writes the pending text into the field; false with the reason when the
    // field refuses it.
    virtual bool commitPending(QString* error) = 0;
};

} // namespace kv::ui
