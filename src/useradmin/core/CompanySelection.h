#pragma once

#include "useradmin/core/AdminSession.h"

#include <QString>
#include <QVariant>

namespace kv::useradmin {

// What "Ok" in the company selection does with the current row.
struct SelectionCheck {
    bool accepted = false;
    bool beep = false;
    QString message;
    CompanyChoice company; // when accepted
};

class CompanySelection {
public:
    static constexpr int FirstCompany = 1;
    static constexpr int LastCompany = 9999;

    // The company list of the general database.
    static QString listSql();

    // The row's EMPNRO, NOME and BDESPECIF01; a null number (an empty list)
    // counts as 0.
    static SelectionCheck check(const QVariant& number, const QString& name, const QString& alias);
};

} // namespace kv::useradmin
