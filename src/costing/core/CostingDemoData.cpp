#include "CostingDemoData.h"

#include "SqlName.h"

#include <QStringList>

namespace kv::costing {

using kv::db::Connection;
using kv::db::Params;

namespace {

struct Ink {
    int code;
    const char* article;
    const char* designation;
    double grams;        // per square metre
    double price;        // per kilogram
};

// Offset process and special colours, and the water-based flexo inks of the
// corrugated line.
const Ink Inks[] = {
    {1, "TI-CIA01", "Tinta Offset Ciano Processo", 1.2, 8.95},
    {2, "TI-MAG01", "Tinta Offset Magenta Processo", 1.2, 9.40},
    {3, "TI-AMA01", "Tinta Offset Amarelo Processo", 1.2, 8.60},
    {4, "TI-PRE01", "Tinta Offset Preto Processo", 1.1, 6.85},
    {5, "TI-BRA01", "Tinta Branco Opaco", 1.8, 11.20},
    {6, "TI-PAN01", "Tinta Pantone Especial (Mistura)", 1.5, 18.50},
    {7, "TI-OUR01", "Tinta Metalizada Ouro", 2.0, 32.00},
    {8, "TI-PRA01", "Tinta Metalizada Prata", 2.0, 29.50},
    {9, "TI-FLX01", "Tinta Flexo Base Água Preto", 2.5, 4.90},
    {10, "TI-FLX02", "Tinta Flexo Base Água Azul", 2.5, 5.30},
};

// Inserts the row unless one with the same key exists.
void insertMissing(Connection& db, const QString& table, const QStringList& key, const Params& row)
{
    QStringList where;
    Params keyParams;
    for (const QString& column : key) {
        where << QStringLiteral("%1 = :%1").arg(sqlName(column));
        keyParams.set(column, row.value(column));
    }
    const QString exists = QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(sqlName(table), where.join(QStringLiteral(" AND ")));
    if (!db.query(exists, keyParams).isEmpty())
        return;
    const QStringList columns = sqlNames(row.names());
    QStringList values;
    for (const QString& column : columns)
        values << QLatin1Char(':') + column;
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))),
            row);
}

void addParameters(Connection& db)
{
    insertMissing(db, QStringLiteral("ORCPARGER"), {QStringLiteral("CODIGO")},
                  {{"CODIGO", 1},
                   {"CNDPGT1", QStringLiteral("Pagamento a 60 dias da data da factura")},
                   {"CNDPGT2", QStringLiteral("Desconto de 2% para pagamento a pronto")},
                   {"TRANSPORTE", QStringLiteral("Por nossa conta, no Continente")},
                   {"PRZENT", QStringLiteral("15 dias úteis após aprovação")},
                   {"OBSERV1", QStringLiteral("Preços válidos por 30 dias. Tolerância de +/- 10% na quantidade entregue.")},
                   {"OBSERV2", QStringLiteral("Cortantes, cunhos e chapas de impressão facturados à parte.")},
                   {"OBSERV3", QStringLiteral("Aos preços indicados acresce o IVA à taxa legal em vigor.")},
                   {"ORCNRO1", 1250}, {"ORCNRO2", 40}, {"ORCNRO3", 0}, {"ORCNRO4", 0}, {"ORCNRO5", 0},
                   {"ORCVIA1", QStringLiteral("Original")}, {"ORCVIA2", QStringLiteral("Duplicado")},
                   {"ORCVIA3", QStringLiteral("Arquivo")},
                   {"OFNRO1", 830}, {"OFNRO2", 0}, {"OFNRO3", 0}, {"OFNRO4", 0}, {"OFNRO5", 0},
                   {"OFVIA1", QStringLiteral("Produção")}, {"OFVIA2", QStringLiteral("Armazém")},
                   {"OFVIA3", QStringLiteral("Qualidade")},
                   {"DESIGNCOM1", QStringLiteral("Comissão Vendedor")}, {"COMISSAO1", 3.0},
                   {"DESIGNCOM2", QStringLiteral("Custos Financeiros")}, {"COMISSAO2", 1.5},
                   {"DESIGNCOM3", QStringLiteral("Margem Líquida")}, {"COMISSAO3", 12.0},
                   {"COMPS1", QStringLiteral("N")},
                   {"TIPINCID1", QStringLiteral("P")}, {"TIPINCID2", QStringLiteral("P")},
                   {"TIPINCID3", QStringLiteral("C")},
                   {"TIPOORCAM", QStringLiteral("1")}, {"TIPOORDFAB", QStringLiteral("M")},
                   {"PRINTPAG1", QStringLiteral("S")}, {"PRINTPAG2", QStringLiteral("S")},
                   {"PRINTPAG3", QStringLiteral("S")},
                   {"DEPARTAMENTO", QStringLiteral("Compras")},
                   {"TRS_ENTRADA", 10}, {"TRS_SAIDA", 20}, {"ARM_ENTRADA", 1}, {"ARM_SAIDA", 2}});
}

} // namespace

void addCostingDemoData(Connection& application, Connection& invoicing)
{
    {
        kv::db::Transaction transaction(invoicing);
        for (const Ink& ink : Inks)
            insertMissing(invoicing, QStringLiteral("ARTIGOSCLS"), {QStringLiteral("CODIGO")},
                          {{"CODIGO", QString::fromUtf8(ink.article)},
                           {"DESIGNACAO", QString::fromUtf8(ink.designation)},
                           {"TIPOARTIGO", QStringLiteral("6")},
                           {"UNVENDA", QStringLiteral("KG")},
                           {"UNCOMPRA", QStringLiteral("KG")},
                           {"PMCUSTO", ink.price},
                           {"CUSTOPADRAO", ink.price}});
        insertMissing(invoicing, QStringLiteral("STKARMAZEM"), {QStringLiteral("CODIGO")},
                      {{"CODIGO", 1}, {"NOME", QStringLiteral("Armazém de Produto Acabado")}});
        insertMissing(invoicing, QStringLiteral("STKARMAZEM"), {QStringLiteral("CODIGO")},
                      {{"CODIGO", 2}, {"NOME", QStringLiteral("Armazém de Matérias Primas")}});
        insertMissing(invoicing, QStringLiteral("STKTRS"), {QStringLiteral("TRSCOD")},
                      {{"TRSCOD", 10}, {"TRSNOM", QStringLiteral("Entrada de Produto Acabado")},
                       {"TRSTIP", QStringLiteral("E")}});
        insertMissing(invoicing, QStringLiteral("STKTRS"), {QStringLiteral("TRSCOD")},
                      {{"TRSCOD", 20}, {"TRSNOM", QStringLiteral("Consumo de Matéria Prima")},
                       {"TRSTIP", QStringLiteral("S")}});
        insertMissing(invoicing, QStringLiteral("DEP_COMPRAS"), {QStringLiteral("DEPARTAMENTO")},
                      {{"DEPARTAMENTO", QStringLiteral("Compras")}});
        transaction.commit();
    }
    kv::db::Transaction transaction(application);
    for (const Ink& ink : Inks)
        insertMissing(application, QStringLiteral("TINTAS"), {QStringLiteral("CODIGO")},
                      {{"CODIGO", ink.code},
                       {"ARTIGO", QString::fromUtf8(ink.article)},
                       {"DESIGNACAO", QString::fromUtf8(ink.designation)},
                       {"GRAMAGEM", ink.grams},
                       {"PRECO", ink.price}});
    addParameters(application);
    transaction.commit();
}

} // namespace kv::costing
