// An older company's production records brought to the records with a year
// in every order key and the per-user generation work list.
#include "shell/LoginState.h"
#include "shell/VersionUpdate.h"
#include "support/Scenario.h"

#include <QDate>

using kv::test::Engine;

namespace {

class ProductionRecordsStep : public ::testing::TestWithParam<Engine> {};

TEST_P(ProductionRecordsStep, OlderCompanyKeepsItsConsumptionUnderTheYear)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    scenario.createInstallation(GetParam());
    auto db = scenario.applicationDatabase();
    for (const char* table : {"ORCCONSUMOS", "ORDFABRICO", "ORDFABRICODET", "TEMPENCCLIDET", "ORDFABENC", "OFESTAT",
                              "OFCONSUMOS", "OFTRANSFORM"})
        db->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    db->exec("CREATE TABLE ORCCONSUMOS (CODIGO INTEGER NOT NULL, SUBCODIGO INTEGER NOT NULL, "
             "ENCDETAIL INTEGER NOT NULL, DETAIL INTEGER NOT NULL, TIPOTABELA INTEGER, CODTAB INTEGER, "
             "DESIGN VARCHAR(40), UNIDADE VARCHAR(3), TIPOCUSTO VARCHAR(2), QTDAPROV DOUBLE PRECISION, "
             "NROPASSAGENS INTEGER, PRDHOR DOUBLE PRECISION, ACERTO DOUBLE PRECISION, CONSUMO DOUBLE PRECISION, "
             "SUPIMPRESS DOUBLE PRECISION, DATAENT TIMESTAMP, ARTIGO VARCHAR(16), ENTRADA SMALLINT, "
             "CONSUMIDO DOUBLE PRECISION, CONSTRAINT PK_ORCCONSUMOS PRIMARY KEY (CODIGO, SUBCODIGO, ENCDETAIL, DETAIL))");
    // Order 40 exists in two years; order 41 has no order row left.
    for (const char* year : {"2023", "2024"})
        db->exec("INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL) VALUES (:A, '10', 40, 0, 1)",
                 {{"A", QString::fromLatin1(year)}});
    db->exec("INSERT INTO ORCCONSUMOS (CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, DESIGN, CONSUMO, CONSUMIDO) "
             "VALUES (40, 0, 1, 1, 'Cartolina', 12.5, 3)");
    db->exec("INSERT INTO ORCCONSUMOS (CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, DESIGN, CONSUMO, CONSUMIDO) "
             "VALUES (41, 0, 1, 1, 'Tinta', 2, NULL)");

    kv::shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    kv::shell::VersionUpdate(*db, state).readRecordedVersion();
    db->exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.010'");
    kv::shell::VersionUpdate update(*db, state);
    update.readRecordedVersion();
    ASSERT_TRUE(update.run().isEmpty());

    const auto rows = scenario.rows(db, "SELECT ANO, CODIGO, DESIGN, CONSUMO, CONSUMIDO FROM ORCCONSUMOS ORDER BY CODIGO");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.value(0, "ANO").toString(), "2024");
    EXPECT_EQ(rows.value(0, "CONSUMO").toDouble(), 12.5);
    EXPECT_EQ(rows.value(0, "CONSUMIDO").toDouble(), 3);
    EXPECT_EQ(rows.value(1, "ANO").toString(), "");
    EXPECT_TRUE(rows.value(1, "CONSUMIDO").isNull());
    EXPECT_FALSE(db->tableExists("ORCCONSUMOS_ANTERIOR"));
    // The same order number of the other year now has rows of its own.
    db->exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL) VALUES ('2023', 40, 0, 1, 1)");
    for (const char* table : {"ORDFABRICO", "ORDFABRICODET", "TEMPENCCLIDET", "ORDFABENC", "OFESTAT", "OFCONSUMOS",
                              "OFTRANSFORM"})
        EXPECT_TRUE(db->tableExists(QLatin1String(table))) << table;
    // Two users' work lists hold the same customer-order line.
    for (const char* user : {"ANA", "RUI"})
        db->exec("INSERT INTO TEMPENCCLIDET (UTIL, ANO, SEMANA, ENCNRO, DETAIL) VALUES (:U, '2024', '10', 40, 1)",
                 {{"U", QString::fromLatin1(user)}});
}

KV_ENGINE_SUITE(ProductionRecordsStep);

} // namespace
