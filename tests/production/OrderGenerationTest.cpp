// Generation of production orders from customer-order lines, on both engines.
#include "production/GenerationBed.h"

#include "platform/db/Connection.h"

using kv::production::test::GenerationBed;
using kv::test::Engine;

namespace {

const QDate GenMarch11(2024, 3, 11);
const QDate GenMarch18(2024, 3, 18);

class Generation : public ::testing::TestWithParam<Engine> {};

QString genDate(const QVariant& v) { return v.toDateTime().date().toString(Qt::ISODate); }

TEST_P(Generation, TwoLinesOfOneSlotMergeIntoOneOrderPerSubQuote)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.addLine(3001, 1, 10, GenMarch11);
    bed.addLine(3001, 2, 6, GenMarch18);
    auto generation = bed.generation();
    ASSERT_EQ(bed.buildWorkList(*generation), 2);
    EXPECT_EQ(generation->generate(), 2); // one row per sub-quote; the merge is not counted

    const auto rows = bed.scenario().rows(
        bed.scenario().applicationDatabase(),
        "SELECT SUBORC, DETAIL, QUANTIDADE, QUANTFINAL, QTD1, QTD2, QTD3, DATAENT, DATENT2, DATENT3, NPLANOS, NROENT, "
        "SEMANAPROD, DESIGNACAO, CLISIGLA, ORCNRO, ENCNRO, PRODUZ, IMPR FROM ORDFABDET WHERE ANO = '2024' AND "
        "ORDNRO = 3001 ORDER BY SUBORC");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.value(0, "QUANTIDADE").toDouble(), 16);
    EXPECT_EQ(rows.value(0, "QUANTFINAL").toDouble(), 16);
    EXPECT_EQ(rows.value(0, "QTD1").toDouble(), 10);
    EXPECT_EQ(rows.value(0, "QTD2").toDouble(), 6);
    EXPECT_EQ(rows.value(0, "QTD3").toDouble(), 0);
    EXPECT_EQ(genDate(rows.value(0, "DATAENT")), "2024-03-11");
    EXPECT_EQ(genDate(rows.value(0, "DATENT2")), "2024-03-18");
    EXPECT_EQ(genDate(rows.value(0, "DATENT3")), "2024-03-11");
    // 16 thousand at 4 per sheet: 4000 + 10 % + 2 % for one pass.
    EXPECT_EQ(rows.value(0, "NPLANOS").toDouble(), 4488);
    EXPECT_EQ(rows.value(0, "NROENT").toInt(), 1);
    EXPECT_EQ(rows.value(0, "SEMANAPROD").toString(), "11");
    EXPECT_EQ(rows.value(0, "DESIGNACAO").toString(), QString::fromUtf8("Caixa da geração"));
    EXPECT_EQ(rows.value(0, "CLISIGLA").toString(), "CARTGER");
    EXPECT_EQ(rows.value(0, "PRODUZ").toString(), "N");
    EXPECT_EQ(rows.value(0, "IMPR").toString(), "N");
    EXPECT_EQ(rows.value(0, "DETAIL").toInt(), 1);
    // The accessory at half the base quote's quantity.
    EXPECT_EQ(rows.value(1, "QUANTIDADE").toDouble(), 8);
    EXPECT_EQ(rows.value(1, "QTD2").toDouble(), 3);
    EXPECT_EQ(rows.value(1, "DESIGNACAO").toString(), QString::fromUtf8("Tabuleiro acessório"));

    // The consumption was rewritten for the merged quantity.
    const auto consumption = bed.scenario().rows(
        bed.scenario().applicationDatabase(),
        "SELECT DETAIL, QTDAPROV, CONSUMO, UNIDADE, ARTIGO, ENTRADA FROM ORCCONSUMOS WHERE ANO = '2024' AND "
        "CODIGO = 3001 AND SUBCODIGO = 0 AND ENCDETAIL = 1 ORDER BY DETAIL");
    ASSERT_EQ(consumption.rows.size(), 2u);
    EXPECT_EQ(consumption.value(0, "QTDAPROV").toDouble(), 16);
    EXPECT_NEAR(consumption.value(0, "CONSUMO").toDouble(), 4488 * 0.7 * 0.3, 1e-6);
    EXPECT_EQ(consumption.value(0, "ARTIGO").toString(), "CART-GER");
    EXPECT_EQ(consumption.value(0, "UNIDADE").toString(), "KGS");
    EXPECT_EQ(consumption.value(0, "ENTRADA").toInt(), 1);
    EXPECT_EQ(consumption.value(1, "QTDAPROV").toDouble(), 16);

    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET WHERE ENCNRO = 3001 AND ORDFAB = 3001"), 2);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM TEMPENCCLIDET WHERE UTIL = 'ANA'"), 0);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORDFABENC WHERE ENCNRO = 3001"), 2);
    EXPECT_TRUE(bed.messages.texts.isEmpty()) << bed.messages.texts.join('\n').toStdString();
}

TEST_P(Generation, ASixthLineAddsItsQuantityButNoDelivery)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    for (int detail = 1; detail <= 6; ++detail)
        bed.addLine(3002, detail, 1, GenMarch11.addDays(detail));
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    EXPECT_EQ(generation->generate(), 2);
    const auto row = bed.scenario().rows(bed.scenario().applicationDatabase(),
                                         "SELECT QUANTIDADE, QTD1, QTD2, QTD3, QTD4, QTD5, DATENT5 FROM ORDFABDET "
                                         "WHERE ORDNRO = 3002 AND SUBORC = 0");
    ASSERT_EQ(row.rows.size(), 1u);
    EXPECT_EQ(row.value(0, "QUANTIDADE").toDouble(), 6);
    for (const char* column : {"QTD1", "QTD2", "QTD3", "QTD4", "QTD5"})
        EXPECT_EQ(row.value(0, column).toDouble(), 1) << column;
    EXPECT_EQ(genDate(row.value(0, "DATENT5")), "2024-03-16");
}

TEST_P(Generation, AMergedDeliveryDatedLikeTheFirstStaysApart)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    for (int detail = 1; detail <= 3; ++detail)
        bed.addLine(3003, detail, detail, GenMarch11);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    generation->generate();
    const auto row = bed.scenario().rows(bed.scenario().applicationDatabase(),
                                         "SELECT QUANTIDADE, QTD1, QTD2, QTD3 FROM ORDFABDET WHERE ORDNRO = 3003 "
                                         "AND SUBORC = 0");
    ASSERT_EQ(row.rows.size(), 1u);
    EXPECT_EQ(row.value(0, "QUANTIDADE").toDouble(), 6);
    EXPECT_EQ(row.value(0, "QTD1").toDouble() + row.value(0, "QTD2").toDouble() + row.value(0, "QTD3").toDouble(), 6);
}

TEST_P(Generation, TwoSlotsGiveTwoOrdersOfOneNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.addLine(3004, 1, 10, GenMarch11);
    bed.addLine(3004, 2, 4, GenMarch18);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    bed.routeTo("ANA", 3004, 2, 2);
    EXPECT_EQ(generation->generate(), 4);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO = 3004 AND DETAIL = 1"), 2);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO = 3004 AND DETAIL = 2 "
                                            "AND QUANTIDADE = 4 AND SUBORC = 0"),
              1);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORCCONSUMOS WHERE CODIGO = 3004 AND ENCDETAIL = 2"),
              4);
}

// The accessory's factor comes from the quote rows read: a base quantity of
// 0 gives the line's own quantity, never a division by zero.
TEST_P(Generation, ABaseQuantityOfZeroGivesFactorOne)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.application().exec("UPDATE ORCMAS SET QTDORC1 = 0 WHERE CODIGO = 8001 AND SUBCODIGO = 0");
    bed.addLine(3005, 1, 10, GenMarch11);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    EXPECT_EQ(generation->generate(), 2);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT QUANTIDADE FROM ORDFABDET WHERE ORDNRO = 3005 AND SUBORC = 1"), 10);
}

// Rows that cannot be generated are skipped with their message; their lines
// stay open and the other rows are generated.
struct SkipCase {
    const char* label;
    void (*prepare)(GenerationBed& bed);
    const char* message;
};

const SkipCase GenSkipCases[] = {
    {"no_calendar_day",
     [](GenerationBed& bed) {
         bed.invoicing().exec("DELETE FROM CALENDARIO WHERE DATA = :D", {{"D", GenMarch18.startOfDay()}});
     },
     "Data Inexistente no Ficheiro de Calendário 18-03-2024"},
    {"no_customer",
     [](GenerationBed& bed) { bed.invoicing().exec("UPDATE ENCCLIDET SET CLINRO = 799 WHERE ENCNRO = 3010 AND DETAIL = 2"); },
     "Cliente Inexistente 799"},
    {"no_slot",
     [](GenerationBed& bed) { bed.routeTo("ANA", 3010, 2, 0); },
     "A encomenda 3010, linha 2 não tem O.F. escolhida"},
    {"quote_without_rows",
     [](GenerationBed& bed) { bed.invoicing().exec("UPDATE ENCCLIDET SET ORCNRO = 8999 WHERE ENCNRO = 3010 AND DETAIL = 2"); },
     "O orçamento 8999 não existe"},
    {"occupied_slot_of_another_quote",
     [](GenerationBed& bed) {
         bed.invoicing().exec("UPDATE ENCCLIDET SET ORCNRO = 8002, ARTIGO = 'ART-OUTRO' WHERE ENCNRO = 3010 AND DETAIL = 2");
     },
     "A O.F. 3010 (OF-1) já é do orçamento 8001, artigo ART-GER"},
    // The slot's planned consumption has no week in its key: another week's
    // order row in the same slot would take it over.
    {"slot_used_in_another_week",
     [](GenerationBed& bed) {
         bed.invoicing().exec("UPDATE ENCCLIDET SET SEMANA = '13' WHERE ENCNRO = 3010 AND DETAIL = 2");
         bed.application().exec("UPDATE TEMPENCCLIDET SET SEMANA = '13' WHERE ENCNRO = 3010 AND DETAIL = 2");
     },
     "A O.F. 3010 (OF-1) já existe na semana"},
    {"line_gone",
     [](GenerationBed& bed) { bed.invoicing().exec("DELETE FROM ENCCLIDET WHERE ENCNRO = 3010 AND DETAIL = 2"); },
     "Encomenda Inexistente 3010"},
};

class GenerationSkips : public ::testing::TestWithParam<std::tuple<Engine, SkipCase>> {};

TEST_P(GenerationSkips, OnlyTheirRow)
{
    const auto& [engine, c] = GetParam();
    KV_SKIP_WITHOUT(engine);
    GenerationBed bed(engine);
    bed.addLine(3010, 1, 10, GenMarch11);
    bed.addLine(3010, 2, 6, GenMarch18);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    c.prepare(bed);
    EXPECT_EQ(generation->generate(), 2);
    ASSERT_EQ(bed.messages.texts.size(), 1) << bed.messages.texts.join('\n').toStdString();
    EXPECT_TRUE(bed.messages.texts[0].startsWith(QString::fromUtf8(c.message))) << bed.messages.texts[0].toStdString();
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT SUM(QUANTIDADE) FROM ORDFABDET WHERE ORDNRO = 3010 AND SUBORC = 0"),
              10);
    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET WHERE ENCNRO = 3010 AND ORDFAB = 3010"), 1);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORDFABENC WHERE ENCNRO = 3010"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, GenerationSkips,
                         ::testing::Combine(::testing::ValuesIn(kv::test::engines()), ::testing::ValuesIn(GenSkipCases)),
                         [](const auto& testCase) {
                             return std::string(std::get<1>(testCase.param).label) + "_"
                                    + kv::test::engineName(std::get<0>(testCase.param));
                         });

// A statement that fails half-way through a row (its accessory's order row)
// leaves nothing of the row: no order, consumption, record or mark.
TEST_P(Generation, AFailureMidRowLeavesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.addLine(3020, 1, 10, GenMarch11);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    if (GetParam() == Engine::Postgres) {
        bed.application().exec("CREATE FUNCTION GEN_FALHA() RETURNS trigger AS $$ BEGIN IF NEW.SUBORC = 1 THEN "
                               "RAISE EXCEPTION 'falha simulada'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql");
        bed.application().exec("CREATE TRIGGER GEN_FALHA BEFORE INSERT ON ORDFABDET FOR EACH ROW EXECUTE FUNCTION "
                               "GEN_FALHA()");
    } else {
        bed.application().exec("CREATE TRIGGER GEN_FALHA BEFORE INSERT ON ORDFABDET WHEN NEW.SUBORC = 1 BEGIN "
                               "SELECT RAISE(ABORT, 'falha simulada'); END");
    }
    EXPECT_EQ(generation->generate(), 0);
    ASSERT_EQ(bed.messages.texts.size(), 1);
    EXPECT_TRUE(bed.messages.texts[0].startsWith(QString::fromUtf8("A encomenda 3020, linha 1 não foi gerada")));
    for (const char* sql : {"SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO = 3020",
                            "SELECT COUNT(*) FROM ORCCONSUMOS WHERE CODIGO = 3020",
                            "SELECT COUNT(*) FROM ORDFABENC WHERE ENCNRO = 3020", "SELECT COUNT(*) FROM OPERPENDENTE"})
        EXPECT_EQ(bed.scalar(bed.application(), sql), 0) << sql;
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM TEMPENCCLIDET WHERE ENCNRO = 3020"), 1);
    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT ORDFAB FROM ENCCLIDET WHERE ENCNRO = 3020"), 0);
}

TEST_P(Generation, ASecondRunGeneratesNothingTwice)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.addLine(3030, 1, 10, GenMarch11);
    bed.addLine(3031, 1, 10, GenMarch11);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    // Another workstation's rows: a line of this user's list already generated there.
    auto other = bed.generation(QStringLiteral("RUI"));
    bed.buildWorkList(*other);
    EXPECT_EQ(generation->generate(), 4);
    EXPECT_EQ(other->generate(), 0);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM TEMPENCCLIDET"), 0);
    // A line recorded whose mark was not written gets its mark only.
    bed.addLine(3032, 1, 10, GenMarch11);
    EXPECT_EQ(bed.buildWorkList(*generation), 1);
    bed.application().exec("INSERT INTO ORDFABENC (ANO, ENCNRO, ENCDETAIL, SEMANA, ORDNRO, DETAIL) "
                           "VALUES ('2024', 3032, 1, '10', 3032, 1)");
    EXPECT_EQ(generation->generate(), 0);
    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT ORDFAB FROM ENCCLIDET WHERE ENCNRO = 3032"), 3032);
    EXPECT_EQ(bed.buildWorkList(*generation), 0);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO BETWEEN 3030 AND 3032"), 4);
    EXPECT_TRUE(bed.messages.texts.isEmpty()) << bed.messages.texts.join('\n').toStdString();
}

TEST_P(Generation, WorkListsAreEachUsersOwn)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.addLine(3040, 1, 10, GenMarch11);
    bed.addLine(3040, 2, 10, GenMarch11, -5); // a quote below 0 is listed but not worked
    auto ana = bed.generation();
    auto rui = bed.generation(QStringLiteral("RUI"));
    EXPECT_EQ(bed.buildWorkList(*rui), 1);
    EXPECT_EQ(bed.buildWorkList(*ana), 1);
    EXPECT_EQ(bed.buildWorkList(*ana), 1);
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM TEMPENCCLIDET WHERE UTIL = 'RUI'"), 1);
    const auto row = bed.scenario().rows(bed.scenario().applicationDatabase(),
                                         "SELECT DESIGNACAO, GERAR, FICTEC, OFNRO1, OFNRO2 FROM TEMPENCCLIDET "
                                         "WHERE UTIL = 'ANA'");
    EXPECT_EQ(row.value(0, "DESIGNACAO").toString().size(), 40);
    EXPECT_EQ(row.value(0, "GERAR").toString(), "S");
    EXPECT_EQ(row.value(0, "OFNRO1").toString(), "S");
    EXPECT_TRUE(row.value(0, "OFNRO2").isNull());
    // An unticked row is not generated and its line stays open.
    bed.application().exec("UPDATE TEMPENCCLIDET SET GERAR = 'N' WHERE UTIL = 'ANA'");
    EXPECT_EQ(ana->generate(), 0);
    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT ORDFAB FROM ENCCLIDET WHERE ENCNRO = 3040 AND DETAIL = 1"), 0);
}

TEST_P(Generation, ModelTInsertsTheMissingSubQuotesOnly)
{
    KV_SKIP_WITHOUT(GetParam());
    GenerationBed bed(GetParam());
    bed.addLine(3050, 1, 10, GenMarch11);
    bed.addLine(3051, 1, 10, GenMarch11);
    bed.application().exec("INSERT INTO ORDFABRICO (ANO, ORDNRO, SUBORC, DETAIL, QUANTIDADE) VALUES "
                           "('2024', 3050, 0, 1, 99)");
    for (int sub : {0, 1})
        bed.application().exec("INSERT INTO ORDFABRICO (ANO, ORDNRO, SUBORC, DETAIL, QUANTIDADE) VALUES "
                               "('2024', 3051, :S, 1, 99)",
                               {{"S", sub}});
    auto generation = bed.generation(QStringLiteral("ANA"), true);
    bed.buildWorkList(*generation);
    EXPECT_EQ(generation->generate(), 1);
    const auto rows = bed.scenario().rows(bed.scenario().applicationDatabase(),
                                          "SELECT SUBORC, QUANTIDADE, PRODUZ, ACTSTK, IMPR, QTDPROD, CLISIGLA FROM "
                                          "ORDFABRICO WHERE ORDNRO = 3050 ORDER BY SUBORC");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.value(0, "QUANTIDADE").toDouble(), 99); // left alone
    EXPECT_EQ(rows.value(1, "QUANTIDADE").toDouble(), 5);
    EXPECT_EQ(rows.value(1, "ACTSTK").toString(), "N");
    EXPECT_EQ(rows.value(1, "CLISIGLA").toString(), "CARTGER");
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORCCONSUMOS WHERE CODIGO IN (3050, 3051)"), 0);
    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT COUNT(*) FROM ENCCLIDET WHERE ENCNRO IN (3050, 3051) AND ORDFAB > 0"),
              2);
}

// Two workstations on one line at once: the record's key admits the one
// that holds it; the other waits, gives up and writes nothing. (SQLite lets
// one writer in at a time, so there the second simply finds the record.)
TEST_P(Generation, ASecondWorkstationAtOnceWritesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    if (GetParam() != Engine::Postgres)
        GTEST_SKIP() << "one writer at a time";
    GenerationBed bed(GetParam());
    bed.addLine(3060, 1, 10, GenMarch11);
    auto generation = bed.generation();
    bed.buildWorkList(*generation);
    auto other = kv::db::Connection::open(bed.application().settings());
    {
        kv::db::Transaction holding(*other);
        other->exec("INSERT INTO ORDFABENC (ANO, ENCNRO, ENCDETAIL, SEMANA, ORDNRO, DETAIL) "
                    "VALUES ('2024', 3060, 1, '10', 3060, 1)");
        bed.application().exec("SET lock_timeout = '300ms'");
        EXPECT_EQ(generation->generate(), 0);
        bed.application().exec("SET lock_timeout = 0");
    }
    ASSERT_EQ(bed.messages.texts.size(), 1);
    EXPECT_TRUE(bed.messages.texts[0].startsWith(QString::fromUtf8("A encomenda 3060, linha 1 não foi gerada")));
    EXPECT_EQ(bed.scalar(bed.application(), "SELECT COUNT(*) FROM ORDFABDET WHERE ORDNRO = 3060"), 0);
    EXPECT_EQ(bed.scalar(bed.invoicing(), "SELECT ORDFAB FROM ENCCLIDET WHERE ENCNRO = 3060"), 0);
    // The other workstation gave up: the line is generated now.
    EXPECT_EQ(generation->generate(), 2);
}

KV_ENGINE_SUITE(Generation);

} // namespace
