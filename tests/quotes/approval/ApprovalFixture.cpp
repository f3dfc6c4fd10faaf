#include "quotes/approval/ApprovalFixture.h"

#include "quotes/approval/ApprovalRequest.h"
#include "support/TableRows.h"

#include "shell/ShellDataModules.h"

namespace kv::quotes::approval::test {

using kv::test::insertRows;

const QDate ApprovalFixture::OrderDate(2024, 3, 15);

ApprovalFixture::ApprovalFixture(kv::test::Engine engine) : session(scenario.login(engine))
{
    const auto connections = session.dataModules().connections();
    m_application = connections.DbKavorime;
    m_invoicing = connections.DbFacturacao;
    m_kinds.add(approvalKind());
    kv::db::Connection& app = *m_application;
    kv::db::Connection& inv = *m_invoicing;

    app.exec("UPDATE ORCPARGER SET TIPINCID1 = 'P', TIPINCID2 = 'C' WHERE CODIGO = 1");
    insertRows(app, "TIRAGLIQ", {"CODIGO", "QTD1", "QTD2", "PRCACAB1A", "PRCACAB2A"}, {{1, 0, 1e9, 2, 3}});
    insertRows(app, "PAPEIS", {"CODIGO", "DESIGNACAO", "GRAMAGEM", "PRECO", "TIPOCALC"},
               {{1, "Cartolina", 300, 0.8, "1"}});
    insertRows(app, "ORCMAS",
               {"CODIGO", "SUBCODIGO", "UNIDADE", "UNDPLANO", "NROCORES", "ACABNORMAL", "PLNCOMPRIM1", "PLNLARGURA1",
                "PLNCOMPRIM2", "QTDORC1", "CLINRO", "NOSREF"},
               {{Quote, 0, "M", 4, 0, "S", 100, 70, 0, 12, 10, "ART-1"}});
    insertRows(app, "ORCMAS",
               {"CODIGO", "SUBCODIGO", "UNIDADE", "QTDORC1", "CLINRO", "NOME", "NOSREF", "DESIGN1", "VNDNRO", "PRCCOM1",
                "PRCCOM2", "APROVADO", "QTDADJUD", "PRECOADJUD"},
               {{Quote, 99, "M", 12, 10, "Quinta Nova, Lda", "ART-1", "Caixa 30x20", 7, 5, 2, "N", 0, 0}});
    insertRows(app, "ORCDET", {"CODIGO", "SUBCODIGO", "DETAIL", "TIPOTABELA", "CODTAB", "PRECO"},
               {{Quote, 0, 1, 8, 1, 0.8}});

    insertRows(inv, "PARGER", {"ANO", "PRC_DECIMAIS"}, {{"2024", 2}});
    insertRows(inv, "ENCPARGER", {"ANO", "ENCNRO1", "ENCNRO2", "ENCNRO3", "ENCNRO4", "ENCNRO5"},
               {{"2024", 10, 0, 0, 0, 0}});
    insertRows(inv, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS"},
               {{"4000-123", "PORTO", "PORTUGAL"}, {"4470-000", "MAIA", "PORTUGAL"}});
    insertRows(inv, "CLIENTES",
               {"CODIGO", "NOME", "MORADA1", "MORADA2", "CODPOSTAL", "CNDPGT", "SIGLANIF", "NIF", "AGENTE",
                "METEXPEDICAO", "CODDES", "DESFIX", "ISEIVA", "MOEDA", "FORMA"},
               {{10, "Quinta Nova, Lda", "Rua Direita 1", "Apartado 5", "4000-123", 1, "PT", "500100200", 3,
                 "Transportadora", 2, 1.5, "N", "EUR", "CHQ"}});
    insertRows(inv, "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "UNVENDA", "COMPRIM", "LARGURA", "ALTURA", "VOSREF"},
               {{"ART-1", "Caixa 30x20", "MIL", 30, 20, 10, "REF-C"}});
    insertRows(inv, "CALENDARIO", {"DATA", "ANO", "DIASEM", "TIPODIA", "SEMANA"},
               {{QDate(2024, 2, 14).startOfDay(), "2024", "Qua", "TB", 7},
                {QDate(2024, 3, 15).startOfDay(), "2024", "Sex", "TB", 11},
                {QDate(2024, 3, 16).startOfDay(), "2024", "Sáb", "FS", 11},
                {QDate(2024, 3, 22).startOfDay(), "2024", "Sex", "TB", 12}});
    tables = CostTables::load(app);
}

OrderRequest ApprovalFixture::request() const { return fixtureRequest(); }

ApprovalSettings ApprovalFixture::settings() const
{
    return {session.state().WUtil, session.state().WData, QStringLiteral("2024"), 2};
}

QuoteApproval ApprovalFixture::approval(kv::db::Connection& app, kv::db::Connection& inv)
{
    return QuoteApproval(app, inv, messages, settings());
}

kv::db::TwoDatabaseWork ApprovalFixture::work()
{
    return kv::db::TwoDatabaseWork(
        m_kinds, {{kv::db::role::application(), m_application}, {kv::db::role::invoicing(), m_invoicing}});
}

ApprovalSave ApprovalFixture::approve(const OrderRequest& r)
{
    QuoteApproval a = approval(*m_application, *m_invoicing);
    const auto prepared = a.prepare(r, tables);
    if (!prepared)
        return {ApprovalSave::Status::Refused, messages.errors.join(QLatin1Char('\n')), 0};
    kv::db::TwoDatabaseWork w = work();
    return a.save(w, *prepared);
}

kv::db::QueryResult ApprovalFixture::rows(kv::db::Connection& db, const QString& sql, const kv::db::Params& params)
{
    return db.query(sql, params);
}

} // namespace kv::quotes::approval::test
