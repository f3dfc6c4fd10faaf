#pragma once

#include "shell/LoginState.h"

#include "platform/db/Connection.h"
#include "schema/Schema.h"

#include <QString>
#include <functional>
#include <vector>

namespace kv::shell {

// What the recorded version asks of the login.
struct VersionPlan {
    enum class Kind {
        UpToDate, // the database is at the program's version
        Chain, // steps firstStep .. lastStep bring it there
        Newer, // a newer program wrote it: nothing may run
        Unknown // matches no step: nothing may run
    };
    Kind kind = Kind::UpToDate;
    int firstStep = 0;
    int lastStep = 0;
};

// Brings a company's application database to the program's version through
// numbered steps, which the subsystems' units contribute (Subsystems), and
// keeps the rights catalogue complete.
//
// Every step checks what already exists before it adds a table, column or
// row, and runs in one transaction together with the recording of the
// version it reaches; a step that fails leaves the database as the previous
// step left it and the recorded version says so. A recorded version that no
// step leads from (a newer program's, or an unknown one) changes nothing.
class VersionUpdate {
public:
    VersionUpdate(db::Connection& application, LoginState& state);

    // Makes sure ACTUAL_VERSAO exists with its unique key and a row for the
    // company, and reads the recorded version into WVersaoBd.
    void readRecordedVersion();
    VersionPlan plan() const { return planFor(m_state.WVersaoBd, m_state.WVersao); }
    static VersionPlan planFor(const QString& recorded, const QString& programVersion);

    // The company's other databases, for the steps that add tables to every
    // one of them; those tables are created outside the step's transaction.
    void addCompanyDatabase(schema::Database database, db::Connection& connection);

    // Runs the plan's steps in order. `progress` hears the version each step
    // is about to reach. Returns an empty text when every step ran, else the
    // database's message; the steps after the failing one do not run.
    using Progress = std::function<void(const QString& version)>;
    QString run(const Progress& progress = {});

    // Why the login cannot go on with a plan of kind Newer or Unknown.
    QString refusal() const;

    // Adds the rights chapters and programs that are missing (one transaction).
    void addRightsCatalogue();

    // The tables the units' steps create, for their key and DDL.
    static const std::vector<schema::Table>& createdTables();
    static QString versionText(int step); // 4 -> "01.004"
    // The highest step of the assembled units; the program's version names it.
    static int lastStep();

private:
    void runStep(int step);
    void createTable(const QString& name);
    void insertIfMissing(const QString& table, const db::Params& row);

    // Starts a version transaction's turn: see the .cpp.
    void takeTurn();
    db::DbError busy(const db::DbError& error) const;

    db::Connection& m_db;
    LoginState& m_state;
    QString m_table; // the table being changed, for the message when another workstation holds it
    std::vector<std::pair<schema::Database, db::Connection*>> m_otherDatabases;
};

} // namespace kv::shell
