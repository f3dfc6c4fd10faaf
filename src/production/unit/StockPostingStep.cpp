#include "production/unit/StockPostingStep.h"

#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::production {

using kv::schema::Database;

namespace {

// The demo company posts its closings with these transactions and
// warehouses, the demo user's stock documents numbered from 901, and its
// boards, glues and inks in stock at their cost. Rows another part of the
// demo already made are left as they are.
void addStockDemo(kv::shell::VersionStepContext& step, kv::db::Connection& invoicing)
{
    kv::db::Connection& application = step.db();
    const auto insertMissing = [](kv::db::Connection& db, const QString& exists, const QString& insert,
                                  const kv::db::Params& params) {
        if (!db.scalar(exists, params).isValid())
            db.exec(insert, params);
    };
    for (const auto& [code, name] : {std::pair{1, "Armazém de Matérias-Primas"}, {2, "Armazém de Produto Acabado"}})
        insertMissing(invoicing, QStringLiteral("SELECT CODIGO FROM STKARMAZEM WHERE CODIGO = :CODIGO"),
                      QStringLiteral("INSERT INTO STKARMAZEM (CODIGO, NOME) VALUES (:CODIGO, :NOME)"),
                      {{"CODIGO", code}, {"NOME", QString::fromUtf8(name)}});
    struct DemoTransaction {
        int code;
        const char* name;
        const char* shortName;
        const char* direction;
        const char* pricing;
        const char* lastEntryPrice;
        const char* consumption;
    };
    for (const DemoTransaction& t : {DemoTransaction{51, "Saída para Produção", "Saída Prod.", "S", "3", "N", "S"},
                                 DemoTransaction{52, "Entrada de Produção", "Entrada Prod.", "E", "1", "S", "N"}})
        insertMissing(invoicing, QStringLiteral("SELECT TRSCOD FROM STKTRS WHERE TRSCOD = :TRSCOD"),
                      QStringLiteral("INSERT INTO STKTRS (TRSCOD, TRSNOM, REDNOM, TRSTIP, DEVOLUCAO, TRSCALC, PMCUST, "
                                     "PULENT, CONSUMO) VALUES (:TRSCOD, :TRSNOM, :REDNOM, :TRSTIP, 'N', :TRSCALC, 'S', "
                                     ":PULENT, :CONSUMO)"),
                      {{"TRSCOD", t.code},
                       {"TRSNOM", QString::fromUtf8(t.name)},
                       {"REDNOM", QString::fromUtf8(t.shortName)},
                       {"TRSTIP", QString::fromLatin1(t.direction)},
                       {"TRSCALC", QString::fromLatin1(t.pricing)},
                       {"PULENT", QString::fromLatin1(t.lastEntryPrice)},
                       {"CONSUMO", QString::fromLatin1(t.consumption)}});
    application.exec(QStringLiteral("UPDATE ORCPARGER SET TRS_ENTRADA = 52, TRS_SAIDA = 51, ARM_ENTRADA = 2, "
                                    "ARM_SAIDA = 1 WHERE CODIGO = 1 AND TRS_ENTRADA IS NULL AND TRS_SAIDA IS NULL"));

    const kv::db::Params user{{"NRO", step.state().WUtil}};
    insertMissing(invoicing, QStringLiteral("SELECT NRO FROM UTILIZADORES WHERE NRO = :NRO"),
                  QStringLiteral("INSERT INTO UTILIZADORES (NRO, STKMTPDOCNRO) VALUES (:NRO, 900)"), user);
    invoicing.exec(QStringLiteral("UPDATE UTILIZADORES SET STKMTPDOCNRO = 900 WHERE NRO = :NRO AND STKMTPDOCNRO IS NULL"),
                   user);

    // Boards and papers by the sheet or kilogram, glues and inks by the kilogram.
    const QString materials = QStringLiteral("FAMILIA IN ('CARTÕES E PAPÉIS', 'COLAS', 'TINTAS E VERNIZES')");
    invoicing.exec(QStringLiteral("UPDATE ARTIGOSCLS SET EXIQTD = CASE FAMILIA WHEN 'CARTÕES E PAPÉIS' THEN 5000 "
                                  "WHEN 'COLAS' THEN 400 ELSE 250 END WHERE EXIQTD IS NULL AND ")
                   + materials);
    invoicing.exec(QStringLiteral("UPDATE ARTIGOSCLS SET EXIVAL = EXIQTD * CASE WHEN PMCUSTO <> 0 THEN PMCUSTO "
                                  "ELSE COALESCE(CUSTOPADRAO, 0) END WHERE EXIVAL IS NULL AND ")
                   + materials);
    const QString year = QStringLiteral("%1").arg(step.state().WData.year(), 4, 10, QLatin1Char('0'));
    if (step.state().WData.isValid())
        invoicing.exec(QStringLiteral("INSERT INTO STKARTGARMZ (ARTIGO, ANO, CODIGO, EXIQTD00, EXIVAL00, EXIQTD, EXIVAL) "
                                      "SELECT CODIGO, :YEAR, 1, EXIQTD, EXIVAL, EXIQTD, EXIVAL FROM ARTIGOSCLS A WHERE ")
                           + materials
                           + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM STKARTGARMZ S WHERE S.ARTIGO = A.CODIGO "
                                            "AND S.ANO = :ANO AND S.CODIGO = 1)"),
                       {{"YEAR", year}, {"ANO", year}});
}

} // namespace

void addStockPostingTables(kv::shell::VersionStepContext& step)
{
    step.createMissingTables(
        {QStringLiteral("ACTUALFECHOOF"), QStringLiteral("IMPCONSUMOS"), QStringLiteral("WORKRELCXA")});
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    if (!invoicing || !invoicing->tableExists(QStringLiteral("STKMOV")))
        return;
    // Movements kept by the stock application before this version lack the
    // indexes each posting's sequence and month marker are read on.
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    if (const kv::schema::Table* movements = definition.table(Database::Invoicing, QStringLiteral("STKMOV")))
        for (const QString& index : definition.indexStatements(*movements))
            invoicing->exec(index);
    if (step.demoCompany())
        addStockDemo(step, *invoicing);
}

} // namespace kv::production
