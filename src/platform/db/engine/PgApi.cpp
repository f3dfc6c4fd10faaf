#include "platform/db/engine/PgApi.h"

#include "platform/db/DbError.h"

#include <QString>
#include <dlfcn.h>

namespace kv::db {

namespace {

// The client library's run-time name: the one QPSQL itself has loaded by the
// time a PostgreSQL connection is open, so this finds it already in memory.
constexpr const char* LibraryName = "libpq.so.5";

[[noreturn]] void refuse(const QString& detail)
{
    throw DbError(
        DbError::Kind::Connection,
        QStringLiteral("Não foi possível carregar o cliente de PostgreSQL (%1).").arg(QString::fromLatin1(LibraryName)),
        detail);
}

template <typename Function>
void bind(void* library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function)
        refuse(QStringLiteral("Falta a função %1.").arg(QString::fromLatin1(name)));
}

PgApi load()
{
    void* library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        refuse(QString::fromLocal8Bit(dlerror()));
    PgApi api{};
#define KV_PQ_BIND(name) bind(library, api.name, #name)
    KV_PQ_BIND(PQclear);
    KV_PQ_BIND(PQcmdTuples);
    KV_PQ_BIND(PQerrorMessage);
    KV_PQ_BIND(PQexec);
    KV_PQ_BIND(PQexecParams);
    KV_PQ_BIND(PQexecPrepared);
    KV_PQ_BIND(PQfmod);
    KV_PQ_BIND(PQfname);
    KV_PQ_BIND(PQfreemem);
    KV_PQ_BIND(PQftype);
    KV_PQ_BIND(PQgetResult);
    KV_PQ_BIND(PQgetisnull);
    KV_PQ_BIND(PQgetlength);
    KV_PQ_BIND(PQgetvalue);
    KV_PQ_BIND(PQnfields);
    KV_PQ_BIND(PQntuples);
    KV_PQ_BIND(PQprepare);
    KV_PQ_BIND(PQresultErrorField);
    KV_PQ_BIND(PQresultErrorMessage);
    KV_PQ_BIND(PQresultStatus);
    KV_PQ_BIND(PQsendQuery);
    KV_PQ_BIND(PQtransactionStatus);
    KV_PQ_BIND(PQunescapeBytea);
#undef KV_PQ_BIND
    // The library stays loaded for the life of the process, as QPSQL keeps it.
    return api;
}

} // namespace

const PgApi& PgApi::get()
{
    static const PgApi api = load();
    return api;
}

} // namespace kv::db
