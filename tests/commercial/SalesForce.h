#pragma once

#include "commercial/CommercialSession.h"
#include "support/Scenario.h"

namespace kv::commercial::test {

// A plain company with two commission rates (1: 2,5 %, 2: 5 %), two postal
// codes and salesman 1 "Rui" on the first of them with rate 1, and every
// right on the rates, the postal codes and the salesmen.
struct SalesForce {
    explicit SalesForce(Engine engine);

    // The user's rights row of a program, replaced ("S" or "N" per flag).
    void grant(const QString& chapter, const QString& program, const QString& inserir = "S",
               const QString& eliminar = "S", const QString& imprimir = "S");
    int count(const QString& sql, const kv::db::Params& params = {});
    QVariant value(const QString& sql, const kv::db::Params& params = {});

    kv::test::Scenario scenario;
    CommercialSession session;
};

inline const QString Beep = QStringLiteral("<beep>");

inline QStringList refused(const char* message) { return {Beep, QString::fromUtf8(message)}; }

} // namespace kv::commercial::test
