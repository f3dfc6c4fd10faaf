#include "platform/db/DbTestFixture.h"

#include "platform/db/DataModule.h"

using namespace kv::db;
using kv::db::test::EngineTest;

namespace {

class DataModuleTest : public EngineTest {};
KV_ENGINE_SUITE(DataModuleTest);

TEST_P(DataModuleTest, DatasetsAreReachedByModuleAndName)
{
    db->exec("CREATE TABLE CLIENTES (CODIGO INTEGER PRIMARY KEY, NOME VARCHAR(40))");
    db->exec("INSERT INTO CLIENTES VALUES (1, 'Cartonagem Lda')");
    DataModule files(QStringLiteral("DTFILES"));
    Dataset& clientes = files.add("CLIENTES", db, "SELECT * FROM CLIENTES ORDER BY CODIGO", DatasetMode::Cached);
    files.add("AGENTES", db, "SELECT 1 AS X", DatasetMode::ReadOnly);
    EXPECT_EQ(files.datasetNames(), (QStringList{"CLIENTES", "AGENTES"}));
    EXPECT_THROW(files.add("clientes", db, "SELECT 1", DatasetMode::ReadOnly), DbError);

    DataModules modules;
    modules.add(&files);
    Dataset& found = modules.dataset(QStringLiteral("dtfiles.Clientes"));
    EXPECT_EQ(&found, &clientes);
    found.open();
    EXPECT_EQ(clientes.value("NOME").toString(), QStringLiteral("Cartonagem Lda")); // one shared current row

    for (const char* missing : {"DTFILES.NADA", "DTNADA.CLIENTES", "CLIENTES"}) {
        try {
            modules.dataset(QString::fromLatin1(missing));
            ADD_FAILURE() << missing;
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbError::Kind::NotFound) << missing;
        }
    }
    files.closeAll();
    EXPECT_FALSE(clientes.isOpen());
    modules.remove(QStringLiteral("DTFILES"));
    EXPECT_EQ(modules.module(QStringLiteral("DTFILES")), nullptr);
}

TEST_P(DataModuleTest, FreeingAModuleWithLinkedDatasetsIsSafe)
{
    db->exec("CREATE TABLE BANCOS (CODIGO INTEGER)");
    db->exec("CREATE TABLE BANCOSSALDOS (CODIGO INTEGER, CLASSIF INTEGER)");
    db->exec("INSERT INTO BANCOS VALUES (1)");
    auto module = std::make_unique<DataModule>(QStringLiteral("DTFILES"));
    Dataset& bancos = module->add("BANCOS", db, "SELECT * FROM BANCOS", DatasetMode::Cached);
    Dataset& saldos =
        module->add("BANCOSSALDOS", db, "SELECT * FROM BANCOSSALDOS WHERE CODIGO = :CODIGO", DatasetMode::Cached);
    saldos.setMaster(&bancos, {{"CODIGO", "CODIGO"}});
    bancos.open();
    saldos.open();
    EXPECT_EQ(saldos.param("CODIGO").toInt(), 1);
    module.reset(); // no dangling link either way
    SUCCEED();
}

} // namespace
