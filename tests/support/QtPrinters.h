#pragma once

// Readable Qt values in test failure messages.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
    *os << '}';
}

inline void PrintTo(const QColor& colour, std::ostream* os)
{
    *os << "rgba(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ", " << colour.alpha() << ')';
}

inline void PrintTo(const QVariant& value, std::ostream* os)
{
    if (value.isNull())
        *os << "null";
    else
        *os << value.typeName() << '(' << value.toString().toStdString() << ')';
}
