#pragma once

#include "schema/Schema.h"

#include "platform/install/Installation.h"

#include <QDate>
#include <QString>

namespace kv::schema {

// The demo company of a demo installation: its user and password, and the
// rows of its working years. A demo installation is created with the demo
// rows of the definition (InstallationOptions::demo); its workstation's login
// row names the user below, and its working date follows the day the program
// is started on (moveToDate).
class DemoInstallation {
public:
    static QString user() { return QStringLiteral("DEMO"); }
    static QString password() { return QStringLiteral("DEMO"); }

    // Adds to `database` the demo rows of `year` it does not hold yet: the
    // definition's yearly demo rows and, in the invoicing database, the
    // calendar of the year (every day with its weekday, "TB" Monday to
    // Friday and "FS" at the weekend, and its ISO week). One transaction.
    static void addYear(kv::db::Connection& connection, Database database, int year,
                        const Schema& schema = Schema::standard());

    // Logs the demo user in at the workstation as the company's other
    // programs would: his login rows of the main program get the working date
    // `date`, its year and the password he has now (DEMO until he changes it),
    // after the rows of that year are added to the companies those rows name.
    // False, with nothing changed, when no login row is the demo user's: the
    // installation is not a demo. Throws kv::db::DbError and SchemaError.
    static bool moveToDate(const kv::install::Installation& installation, const QDate& date,
                           const Schema& schema = Schema::standard());
};

} // namespace kv::schema
