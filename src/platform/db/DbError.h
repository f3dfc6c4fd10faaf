#pragma once

#include <QString>
#include <stdexcept>

namespace kv::db {

// Every failure of the database layer: a refused connection, a statement the
// engine rejects, a value that does not fit its column. `text()` is the
// Portuguese message a form shows; `driverText()` what the engine said.
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Connection,
        Statement,
        Constraint,
        ValueRange,
        TextTooLong,
        State,
        NotFound,
        Changed, // the row was changed by another user since it was read
        Busy // another workstation held what was needed past the wait allowed
    };

    DbError(Kind kind, QString text, QString driverText = {});

    Kind kind() const { return m_kind; }
    const QString& text() const { return m_text; }
    const QString& driverText() const { return m_driverText; }
    // Text and driver text together, as the update-error dialog shows it.
    QString fullText() const;

private:
    Kind m_kind;
    QString m_text;
    QString m_driverText;
};

} // namespace kv::db
