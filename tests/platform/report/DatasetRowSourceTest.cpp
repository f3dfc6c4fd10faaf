#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/report/DatasetRowSource.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ReportTestSupport.h"

#include <QTemporaryDir>

using namespace kv::report;
using namespace kv::report::test;
using kv::db::Dataset;

namespace {

// Sub-quotes and their cost lines, as the internal quote prints them.
class DatasetReport : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        kv::db::ConnectionSettings settings;
        settings.alias = QStringLiteral("TESTE");
        settings.database = m_dir.filePath(QStringLiteral("orcamentos.db"));
        m_db = kv::db::Connection::open(settings);
        m_db->exec(QStringLiteral("CREATE TABLE ORCMAS (CODIGO INTEGER, SUBCODIGO INTEGER, NOME VARCHAR(40))"));
        m_db->exec(QStringLiteral(
            "CREATE TABLE ORCDET (CODIGO INTEGER, SUBCODIGO INTEGER, DESIGN VARCHAR(40), VALQTD1 FLOAT)"));
        for (int sub : {0, 1, 2})
            m_db->exec(QStringLiteral("INSERT INTO ORCMAS VALUES (7, :S, 'Cliente')"), {{"S", sub}});
        const std::tuple<int, const char*, double> lines[] = {
            {0, "Cartolina", 10.5}, {0, "Tinta", 2.25}, {2, "Cola", 1.0}};
        for (const auto& [sub, design, value] : lines)
            m_db->exec(QStringLiteral("INSERT INTO ORCDET VALUES (7, :S, :D, :V)"),
                       {{"S", sub}, {"D", QString::fromLatin1(design)}, {"V", value}});
    }

    QTemporaryDir m_dir;
    std::shared_ptr<kv::db::Connection> m_db;
};

} // namespace

TEST_F(DatasetReport, DetailDatasetsFollowTheReportsRows)
{
    Dataset master(QStringLiteral("ORCMAS"));
    master.setConnection(m_db);
    master.setSql(QStringLiteral("SELECT * FROM ORCMAS WHERE CODIGO = :WOrcNro ORDER BY SUBCODIGO"));
    master.setParam(QStringLiteral("WOrcNro"), 7);
    Dataset lines(QStringLiteral("ORCDET"));
    lines.setConnection(m_db);
    lines.setSql(
        QStringLiteral("SELECT * FROM ORCDET WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO ORDER BY DESIGN"));
    lines.setMaster(&master, {{QStringLiteral("CODIGO"), QStringLiteral("CODIGO")},
                              {QStringLiteral("SUBCODIGO"), QStringLiteral("SUBCODIGO")}});
    master.open();
    lines.open();

    DatasetRowSource masterRows(master);
    DatasetRowSource lineRows(lines);
    Report report;
    report.detail().setSource(&masterRows);
    report.detail().addField(QStringLiteral("SUBCODIGO"), {0, 0, 20, 5},
                             FieldFormat::pattern(QStringLiteral("\"Sub \"0")));
    DataBand& section = report.detail().addSubDetail(&lineRows, QStringLiteral("Linhas"));
    section.addField(QStringLiteral("DESIGN"), {10, 0, 40, 5});
    section.addField(QStringLiteral("VALQTD1"), {60, 0, 30, 5}, FieldFormat::money(2));
    section.footer().addTotal(QStringLiteral("VALQTD1"), {60, 0, 30, 5}, FieldFormat::money(2)).setSource(&section);
    report.summary().addTotal(QStringLiteral("SUBCODIGO"), {0, 0, 20, 5}).setKind(TotalElement::Kind::Count);

    const Document document = ReportEngine::render(report);
    ASSERT_EQ(document.pageCount(), 1);
    EXPECT_EQ(pageTexts(document.pages[0]), (QStringList{"Sub 0", "Cartolina", "10,50 €", "Tinta", "2,25 €", "12,75 €",
                                                         "Sub 1", "Sub 2", "Cola", "1,00 €", "1,00 €", "3"}));
}

TEST_F(DatasetReport, AClosedOrEmptyDatasetPrintsNothing)
{
    Dataset master(QStringLiteral("ORCMAS"));
    master.setConnection(m_db);
    master.setSql(QStringLiteral("SELECT * FROM ORCMAS WHERE CODIGO = :WOrcNro"));
    master.setParam(QStringLiteral("WOrcNro"), 8);
    DatasetRowSource rows(master);
    Report report;
    report.detail().setSource(&rows);
    report.detail().addField(QStringLiteral("NOME"), {0, 0, 40, 5});
    EXPECT_TRUE(ReportEngine::render(report).isEmpty()); // not open
    master.open();
    EXPECT_TRUE(ReportEngine::render(report).isEmpty()); // no rows
}
