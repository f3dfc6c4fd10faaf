#pragma once

#include "platform/db/RecordClaims.h"

#include <QDate>
#include <QString>
#include <QVariantMap>
#include <array>
#include <map>
#include <memory>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// The texts of a new article's fields as the article form holds them, keyed
// by the `ARTIGOSCLS` column each one is saved to. Columns missing from the
// map are saved empty (texts) or 0 (numbers).
using ArticleTexts = std::map<QString, QString>;

// What a code typed in the code field (or built by the coding form) meets.
enum class ArticleCodeCheck {
    Accepted, // now claimed by this workstation
    Empty,
    Stored, // an article with this code exists
    HeldElsewhere, // another workstation is opening it
};

struct ArticleSaveResult {
    enum class Outcome {
        Saved,
        Stored, // the code belongs to a stored article: nothing written
        Refused, // a field cannot be saved: nothing written
    };
    Outcome outcome = Outcome::Saved;
    QString column; // the refused field's column
    QString message;
};

// The article file's writes on the invoicing database: the codes of new
// articles with their claims, checked by key, and the save of a new article
// with all its columns in one transaction. A stored article is never
// written over.
class ArticleFile {
public:
    static const QString Table; // "ARTIGOSCLS"

    // `accounting` holds the cost centres (may be null where none are read).
    ArticleFile(std::shared_ptr<kv::db::Connection> invoicing, QString workstation, QString user,
                std::shared_ptr<kv::db::Connection> accounting = {});

    kv::db::Connection& connection() const { return *m_db; }
    std::shared_ptr<kv::db::Connection> invoicing() const { return m_db; }
    std::shared_ptr<kv::db::Connection> accounting() const { return m_accounting; }

    // --- the keyed reads of the form's checks ---
    // The row of an invoicing table found by its key columns; empty when
    // there is none or a key is empty.
    QVariantMap codeRow(const QString& table, const QStringList& keyColumns, const QVariantList& keys);
    // The customisation parameters (`PARCUSTOM` row "1"); empty when missing.
    QVariantMap customisationParameters();
    // The group of an article type "1" .. "10" in those parameters; empty
    // for any other type.
    static QString groupOfType(const QVariantMap& parameters, const QString& type);
    // The names of the group's tables 1 .. 9 (empty where it has none).
    std::array<QString, 9> groupTables(const QString& group);
    // The designation of a customisation value of the group's table `table`
    // (country "PORTUGAL"); empty when there is none.
    QString customisationName(const QString& group, int table, long long value);
    // A posting cost centre (type "L") of the year; empty when there is none.
    QString costCentreName(const QString& year, const QString& code);

    // Leaving the code field: refused when empty, stored, or being opened on
    // another workstation; otherwise claimed for this one (a claim it already
    // holds is kept).
    ArticleCodeCheck acceptCode(const QString& code);
    // The code is given up (another one typed, the form closed unsaved).
    void releaseCode(const QString& code);
    bool isStored(const QString& code);

    // Stores a new article: the designations cut to 40 characters and every
    // text to its column, empty numbers as 0, the constant columns (grid
    // "N", break "N", discontinued "N", measures "S", grid code 0, 0
    // pictures) and `openingDate`; the code's claim ends in the same
    // transaction. A code already stored, or a number that cannot be read
    // or does not fit its column, writes nothing. Database errors reach the
    // caller with nothing written.
    ArticleSaveResult save(const ArticleTexts& fields, const QDate& openingDate);

    // How a field's text is saved (cut to its column); used by the form to
    // show what the save will store.
    static int textWidth(const QString& column);

private:
    std::shared_ptr<kv::db::Connection> m_db;
    std::shared_ptr<kv::db::Connection> m_accounting;
    kv::db::RecordClaims m_claims;
};

} // namespace kv::customers
