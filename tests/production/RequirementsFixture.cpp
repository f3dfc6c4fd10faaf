#include "production/RequirementsFixture.h"

#include "support/TableRows.h"

#include "shell/LoginState.h"
#include "shell/Session.h"
#include "shell/ShellDataModules.h"

namespace kv::production::test {

using kv::test::insertRows;

const QDate RequirementsFixture::WorkingDate(2024, 3, 15);

RequirementsFixture::RequirementsFixture(kv::test::Engine engine) : session(scenario.login(engine))
{
    const auto connections = session.dataModules().connections();
    m_application = connections.DbKavorime;
    m_invoicing = connections.DbFacturacao;
    kv::db::Connection& i = inv();
    insertRows(i, "CLIENTES", {"CODIGO", "NOME", "SIGLA"}, {{10, "Quinta Nova, Lda", "QNOVA"}});
    insertRows(i, "ARTIGOSCLS",
               {"CODIGO", "DESIGNACAO", "UNVENDA", "UNCOMPRA", "EXIQTD", "COMPRIM", "LARGURA", "ALTURA"},
               {{"CX-A", "Caixa A", "MIL", "MIL", 0, 30, 20, 10},
                {"MP-1", "Cartão Micro E", "KG", "KG", 0, 1600, 1200, 0},
                {"MP-2", "Tinta Preta", "KG", "KG", 0, QVariant(), QVariant(), QVariant()}});
    insertRows(i, "CALENDARIO", {"DATA", "ANO", "DIASEM", "TIPODIA", "SEMANA"},
               {{QDate(2024, 3, 15).startOfDay(), "2024", "Sex", "TB", 11},
                {QDate(2024, 3, 16).startOfDay(), "2024", "Sáb", "FS", 11},
                {QDate(2024, 3, 18).startOfDay(), "2024", "Seg", "TB", 12}});
    insertRows(i, "ENCCLIMAS", {"ENCNRO", "CLINRO", "CLINOM", "TOTENT"}, {{100, 10, "Quinta Nova, Lda", "N"}});
    addOrderLine(100, 1, "CX-A", 1000, 1);
    addProductionRow(100, 1, 0, 1000);
    addConsumption(100, 1, 0, 1, "MP-1", 500, 1000);
}

RequirementsCalculation RequirementsFixture::calculation(RequirementVariant variant)
{
    return RequirementsCalculation(app(), inv(), session.state().WUtil, variant);
}

SupplierDocuments RequirementsFixture::documents()
{
    return SupplierDocuments(app(), inv(), messages, {session.state().WUtil, QStringLiteral("2024"), WorkingDate});
}

void RequirementsFixture::addOrderLine(int order, int line, const QString& article, double outstanding, int slot,
                                       int customer)
{
    if (!inv().scalar(QStringLiteral("SELECT 1 FROM ENCCLIMAS WHERE ENCNRO = %1").arg(order)).isValid())
        insertRows(inv(), "ENCCLIMAS", {"ENCNRO", "CLINRO", "TOTENT"}, {{order, customer, "N"}});
    insertRows(inv(), "ENCCLIDET",
               {"ENCNRO", "DETAIL", "CLINRO", "ARTIGO", "TIPOREG", "TOTENT", "QTDCAR", "QUANTID", "DATAENTRG"},
               {{order, line, customer, article, "A", "N", outstanding, outstanding, WorkingDate.startOfDay()}});
    insertRows(app(), "ORDFABENC", {"ENCNRO", "ENCDETAIL", "ANO", "SEMANA", "ORDNRO", "DETAIL"},
               {{order, line, "2024", "11", order, slot}});
}

void RequirementsFixture::addProductionRow(int order, int slot, int subQuote, double toProduce, double produced,
                                           const QString& produce)
{
    insertRows(app(), "ORDFABDET",
               {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "ENCNRO", "CLINRO", "QUANTFINAL", "QTDPROD", "PRODUZ"},
               {{"2024", "11", order, subQuote, slot, order, 10, toProduce, produced, produce}});
}

void RequirementsFixture::addConsumption(int order, int slot, int subQuote, int detail, const QString& article,
                                         QVariant consumption, QVariant approved, QVariant consumed, int tableType)
{
    insertRows(app(), "ORCCONSUMOS",
               {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "TIPOCUSTO", "ARTIGO", "CONSUMO",
                "QTDAPROV", "CONSUMIDO"},
               {{"2024", order, subQuote, slot, detail, tableType, "MP", article, consumption, approved, consumed}});
}

void RequirementsFixture::addProposal(const QString& article, double quantity, int supplier, const QString& name,
                                      double price, double discount, const QDate& delivery)
{
    insertRows(app(), "LOGARTGFORN",
               {"UTIL", "ARTIGO", "DESIGN", "QUANTIDADE", "FORNECEDOR", "NOME", "PRECO", "DESCTO", "VOSREF",
                "DATAENTRG", "PROCESSAR", "TIPOREG"},
               {{session.state().WUtil, article, article + " desc", quantity, supplier, name, price, discount,
                 "REF-" + article, delivery.isValid() ? QVariant(delivery.startOfDay()) : QVariant(), "S", "A"}});
}

void RequirementsFixture::addSupplier(int code, const QString& name)
{
    insertRows(
        inv(), "FORNECEDORES",
        {"CODIGO", "NOME", "MORADA1", "CODPOSTAL", "PAIS", "CNDPGT", "SIGLANIF", "NIF", "ISEIVA", "MOEDA"},
        {{code, name, "Rua " + name, "4470-000", "PORTUGAL", 1, "PT", "5000000" + QString::number(code), "N", "EUR"}});
}

QVariant RequirementsFixture::requirement(const QString& article, const QString& column)
{
    return app().scalar(QStringLiteral("SELECT %1 FROM LOGARTIGOS WHERE UTIL = :UTIL AND ARTIGO = :ARTIGO").arg(column),
                        {{QStringLiteral("UTIL"), session.state().WUtil}, {QStringLiteral("ARTIGO"), article}});
}

} // namespace kv::production::test
