#pragma once

#include <QString>
#include <QVariant>

namespace kv::report {

// How a field or a total is written on the page, and which number format
// the spreadsheet export gives the cell.
class FieldFormat {
public:
    enum class Kind { Auto, Money, Number, Fixed, Pattern, Percent, Date, DateTime, HoursMinutes };

    FieldFormat() = default; // numbers as plain text, dates dd/mm/yyyy, texts as they are

    static FieldFormat money(int decimals); // "1.234,50 €"
    static FieldFormat number(int decimals); // "1.234,500"
    static FieldFormat fixed(int decimals); // "1234,50"
    static FieldFormat pattern(const QString& format); // display format "#,##0.00;(#,##0.00)"
    static FieldFormat percent(); // "12,5 %"
    static FieldFormat date();
    static FieldFormat dateTime();
    static FieldFormat hoursMinutes(); // stored h.mm shown as "hh:mm"

    Kind kind() const { return m_kind; }
    QString text(const QVariant& value) const;
    // True when the written text stands for a number a spreadsheet can add.
    bool isNumeric(const QVariant& value) const;
    // The cell's number format in a spreadsheet.
    QString sheetFormat() const;

private:
    FieldFormat(Kind kind, int decimals, QString pattern = {});
    Kind m_kind = Kind::Auto;
    int m_decimals = 0;
    QString m_pattern;
};

} // namespace kv::report
