#pragma once

#include <QString>
#include <ostream>

// Shows texts in failure messages instead of raw bytes.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
