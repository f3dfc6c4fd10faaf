#include "commercial/SalesForce.h"

#include "platform/db/Connection.h"
#include "support/TableRows.h"

namespace kv::commercial::test {

SalesForce::SalesForce(Engine engine) : session(scenario, engine)
{
    grant(QStringLiteral("Tabelas"), QStringLiteral("Comissoes"));
    grant(QStringLiteral("Tabelas"), QStringLiteral("Codigos Postais"));
    grant(QStringLiteral("Ficheiros Base"), QStringLiteral("Vendedores"));
    kv::db::Connection& inv = *session.invoicing();
    kv::test::insertRows(inv, "COMISSOES", {"CODIGO", "PRCCOM"}, {{1, 2.5}, {2, 5.0}});
    kv::test::insertRows(inv, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "TELCODZONA"},
                         {{"4000-123", "PORTO", "22"}, {"3800-160", "AVEIRO", "234"}});
    kv::test::insertRows(inv, "VENDEDORES",
                         {"CODIGO", "NOME", "CODPOSTAL", "TELCODZONA", "CHEFE", "REDCOMISSAO", "COMISSAO"},
                         {{1, "Rui", "4000-123", "22", "N", "N", 1}});
}

void SalesForce::grant(const QString& chapter, const QString& program, const QString& inserir, const QString& eliminar,
                       const QString& imprimir)
{
    session.application()->exec(QStringLiteral("DELETE FROM APLICACAODET WHERE CAPITULO = :CH AND PROGRAMA = :P"),
                                {{QStringLiteral("CH"), chapter}, {QStringLiteral("P"), program}});
    session.grantRights(session.state().WModuloBase, chapter, program, QStringLiteral("S"), inserir, eliminar,
                        imprimir);
}

int SalesForce::count(const QString& sql, const kv::db::Params& params) { return value(sql, params).toInt(); }

QVariant SalesForce::value(const QString& sql, const kv::db::Params& params)
{
    return session.invoicing()->scalar(sql, params);
}

} // namespace kv::commercial::test
