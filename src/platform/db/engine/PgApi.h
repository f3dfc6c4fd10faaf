#pragma once

#include <libpq-fe.h>

namespace kv::db {

// The libpq functions the PostgreSQL connection calls, bound when the first
// PostgreSQL connection opens. A program whose aliases are all SQLite never
// loads the PostgreSQL client, nor the Kerberos, LDAP and TLS libraries it
// brings, which would otherwise cost every start.
struct PgApi {
    decltype(&::PQclear) PQclear;
    decltype(&::PQcmdTuples) PQcmdTuples;
    decltype(&::PQerrorMessage) PQerrorMessage;
    decltype(&::PQexec) PQexec;
    decltype(&::PQexecParams) PQexecParams;
    decltype(&::PQexecPrepared) PQexecPrepared;
    decltype(&::PQfmod) PQfmod;
    decltype(&::PQfname) PQfname;
    decltype(&::PQfreemem) PQfreemem;
    decltype(&::PQftype) PQftype;
    decltype(&::PQgetResult) PQgetResult;
    decltype(&::PQgetisnull) PQgetisnull;
    decltype(&::PQgetlength) PQgetlength;
    decltype(&::PQgetvalue) PQgetvalue;
    decltype(&::PQnfields) PQnfields;
    decltype(&::PQntuples) PQntuples;
    decltype(&::PQprepare) PQprepare;
    decltype(&::PQresultErrorField) PQresultErrorField;
    decltype(&::PQresultErrorMessage) PQresultErrorMessage;
    decltype(&::PQresultStatus) PQresultStatus;
    decltype(&::PQsendQuery) PQsendQuery;
    decltype(&::PQtransactionStatus) PQtransactionStatus;
    decltype(&::PQunescapeBytea) PQunescapeBytea;

    // Loads libpq on the first call; throws DbError (Connection) when it
    // cannot be loaded or lacks a function.
    static const PgApi& get();
};

inline const PgApi& pq() { return PgApi::get(); }

} // namespace kv::db
