// An older company's automatic-invoicing lines under the key of one line
// per invoice, brought to the key of one line per position and article.
#include "shell/LoginState.h"
#include "shell/VersionUpdate.h"
#include "support/Scenario.h"

#include <QDate>

using kv::test::Engine;

namespace {

class InvoicingLinesKey : public ::testing::TestWithParam<Engine> {};

TEST_P(InvoicingLinesKey, OlderCompanyKeepsItsLinesUnderTheNewKey)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    scenario.createInstallation(GetParam());
    auto application = scenario.applicationDatabase();
    auto invoicing = scenario.invoicingDatabase();
    invoicing->exec("DROP TABLE CLIFACAUTO");
    invoicing->exec("CREATE TABLE CLIFACAUTO (CODIGO INTEGER NOT NULL, DETAIL INTEGER NOT NULL, POSICAO SMALLINT, "
                    "ARTIGO VARCHAR(16), DESIGN VARCHAR(40), QUANTID DOUBLE PRECISION, PRECO DOUBLE PRECISION, "
                    "PERIOD VARCHAR(2), DIA SMALLINT, DATULTFAC TIMESTAMP, DATINICONTRACTO TIMESTAMP, "
                    "DATFIMCONTRACTO TIMESTAMP, CONSTRAINT PK_CLIFACAUTO PRIMARY KEY (CODIGO, DETAIL))");
    const struct {
        int customer;
        int invoice;
        QVariant position;
        QVariant article;
        const char* design;
    } stored[] = {
        {7, 1, 1, "ART1", "Caixas"},
        {7, 2, QVariant(), "ART2", "Sem posição"},
        {9, 1, 3, QVariant(), "Texto livre"},
    };
    for (const auto& s : stored)
        invoicing->exec("INSERT INTO CLIFACAUTO (CODIGO, DETAIL, POSICAO, ARTIGO, DESIGN, QUANTID, PRECO, PERIOD) "
                        "VALUES (:C, :D, :P, :A, :N, 2, 1.5, 'M')",
                        {{"C", s.customer},
                         {"D", s.invoice},
                         {"P", s.position},
                         {"A", s.article},
                         {"N", QString::fromUtf8(s.design)}});

    kv::shell::LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate(2024, 5, 17);
    kv::shell::VersionUpdate(*application, state).readRecordedVersion();
    application->exec("UPDATE ACTUAL_VERSAO SET VERSAO = '01.009'");
    kv::shell::VersionUpdate update(*application, state);
    update.readRecordedVersion();
    update.addCompanyDatabase(kv::schema::Database::Invoicing, *invoicing);
    update.addCompanyDatabase(kv::schema::Database::Accounting, *scenario.accountingDatabase());
    ASSERT_TRUE(update.run().isEmpty());

    const struct {
        int customer;
        int invoice;
        int position;
        const char* article;
        const char* design;
    } kept[] = {
        {7, 1, 1, "ART1", "Caixas"},
        {7, 2, 1, "ART2", "Sem posição"},
        {9, 1, 3, "", "Texto livre"},
    };
    EXPECT_EQ(invoicing->scalar("SELECT COUNT(*) FROM CLIFACAUTO").toInt(), 3);
    for (const auto& k : kept) {
        const kv::db::Params key{
            {"C", k.customer}, {"D", k.invoice}, {"P", k.position}, {"A", QString::fromUtf8(k.article)}};
        EXPECT_EQ(invoicing
                      ->scalar("SELECT DESIGN FROM CLIFACAUTO WHERE CODIGO = :C AND DETAIL = :D AND POSICAO = :P "
                               "AND ARTIGO = :A AND QUANTID = 2 AND PERIOD = 'M'",
                               key)
                      .toString(),
                  QString::fromUtf8(k.design))
            << k.design;
    }
    // A second line of one invoice is now stored beside the first.
    invoicing->exec("INSERT INTO CLIFACAUTO (CODIGO, DETAIL, POSICAO, ARTIGO) VALUES (7, 1, 2, 'ART1')");
    EXPECT_EQ(invoicing->scalar("SELECT COUNT(*) FROM CLIFACAUTO WHERE CODIGO = 7 AND DETAIL = 1").toInt(), 2);
    EXPECT_FALSE(invoicing->tableExists("CLIFACAUTO_ANTERIOR"));
}

KV_ENGINE_SUITE(InvoicingLinesKey);

} // namespace
