// The filling of a production order row without widgets: its field rules,
// packing plan and sheet area, the calendar and the save, on both engines.
#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "production/core/OrderFilling.h"
#include "support/Scenario.h"

#include <QDate>

#include <gtest/gtest.h>

using kv::production::FillRefusal;
using kv::production::OrderFilling;
using kv::test::Engine;

namespace {

struct FieldCase {
    const char* label;
    const char* column;
    const char* text;
    const char* message; // "" when accepted
    const char* focus;
    bool beep;
};

class FillFieldRule : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FillFieldRule, RefusesWithItsMessage)
{
    const FieldCase& c = GetParam();
    const auto refusal = OrderFilling::fieldRefusal(QLatin1String(c.column), QString::fromUtf8(c.text));
    if (*c.message == '\0') {
        EXPECT_FALSE(refusal) << refusal->message.toStdString();
        return;
    }
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, QString::fromUtf8(c.message));
    EXPECT_EQ(refusal->focus, QLatin1String(c.focus));
    EXPECT_EQ(refusal->beep, c.beep);
}

INSTANTIATE_TEST_SUITE_P(
    Filling, FillFieldRule,
    ::testing::Values(FieldCase{"quantityEmpty", "QUANTFINAL", "", "Quantidade Inexistente", "QUANTFINAL", true},
                      FieldCase{"quantityZero", "QUANTFINAL", "0,0", "Quantidade Inexistente", "QUANTFINAL", true},
                      FieldCase{"quantityGiven", "QUANTFINAL", "5", "", "", true},
                      FieldCase{"sheetsZero", "NPLANOS", "0", "TEM QUE INSERIR O Nº DE FOLHAS!!!", "NPLANOS", true},
                      FieldCase{"sheetsGiven", "NPLANOS", "1000", "", "", true},
                      FieldCase{"passesZero", "NROENT", "0", "INDIQUE O Nº DE PASSAGENS!!", "NROENT", false},
                      FieldCase{"sheetLengthEmpty", "PLNCOMPRIM1", "", "Insira o comprimento do plano !!!",
                                "PLNCOMPRIM1", true},
                      FieldCase{"sheetWidthEmpty", "PLNLARGURA1", " ", "Insira a Largura do plano !!!", "PLNLARGURA1",
                                true},
                      FieldCase{"secondFormatFree", "PLNLARGURA2", "", "", "", true},
                      FieldCase{"flagLowerCase", "REPETICAO", "s", "Digite [S]/[N] ", "REPETICAO", true},
                      FieldCase{"flagEmpty", "MANGA", "", "Digite [S]/[N] ", "MANGA", true},
                      FieldCase{"flagYes", "TAMPA", "S", "", "", true},
                      FieldCase{"oneCharacterFree", "FUNDO", "x", "", "", true},
                      FieldCase{"packUnitsZero", "QTDEXT2B", "0", "A Quantidade Não Pode Ser ZERO!!!", "QTDEXT2A",
                                true},
                      FieldCase{"notANumber", "QUANTFINAL", "cinco", "\"cinco\" não é um número válido.",
                                "QUANTFINAL", true}),
    [](const auto& c) { return std::string(c.param.label); });

struct PackCase {
    const char* label;
    const char* unit;
    const char* quantity;
    bool refused;
};

class FillPackedTotal : public ::testing::TestWithParam<PackCase> {};

// Outer rows 10 a 400 and 2 a 500, no pallets: 5000 units packed.
TEST_P(FillPackedTotal, MatchesTheQuantityInUnits)
{
    const PackCase& c = GetParam();
    const QHash<QString, QString> texts = {{"QTDEXT1A", "10"}, {"QTDEXT1B", "400"}, {"QTDEXT2A", "2"},
                                           {"QTDEXT2B", "500"}, {"QUANTFINAL", QLatin1String(c.quantity)}};
    EXPECT_EQ(OrderFilling::packedTotal(texts), 5000.0);
    const auto refusal = OrderFilling::packedTotalRefusal(texts, QLatin1String(c.unit));
    EXPECT_EQ(refusal.has_value(), c.refused);
    if (refusal) {
        EXPECT_EQ(refusal->message, QStringLiteral("QUANTIDADES A EMBALAR DIFERENTES DA QTD. A PRODUZIR !!!"));
        EXPECT_EQ(refusal->focus, QStringLiteral("QTDEXT1A"));
    }
}

INSTANTIATE_TEST_SUITE_P(Filling, FillPackedTotal,
                         ::testing::Values(PackCase{"thousands", "M", "5", false}, PackCase{"units", "U", "5", true},
                                           PackCase{"unitsEqual", "U", "5000", false}),
                         [](const auto& c) { return std::string(c.param.label); });

TEST(FillPackedTotal, NoPackingPlanPasses)
{
    EXPECT_FALSE(OrderFilling::packedTotalRefusal({{"QUANTFINAL", "7"}}, QStringLiteral("M")));
}

TEST(FillSheetArea, AddsTheSecondFormatOnlyWhenItHasALength)
{
    EXPECT_DOUBLE_EQ(OrderFilling::sheetArea(70, 100, 0, 50), 0.7);
    EXPECT_DOUBLE_EQ(OrderFilling::sheetArea(70, 100, 50, 20), 0.8);
}

// The order and its rows on a company of each engine.
class FillingDatabase : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        app = scenario.applicationDatabase();
        inv = scenario.invoicingDatabase();
        kv::test::insertFillRows(*app, *inv);
        filling = std::make_unique<OrderFilling>(*app, *inv, kv::test::fillOrder());
    }

    // The texts of the fields as the stored row fills them.
    QHash<QString, QString> storedTexts()
    {
        QHash<QString, QString> t;
        for (const auto& f : kv::production::filledColumns())
            t.insert(QLatin1String(f.column), QStringLiteral("N"));
        for (const char* c : {"CD", "MAQUETA", "MODELO", "DIAPOSITIVOS", "FOTOLITOS", "PROVAS", "CORTANTENRO",
                              "CORTANTESIMALTERNRO", "FUNDO", "CAIXA", "OBSERV1", "OBSERV2", "OBSERV3", "OBSERV4"})
            t[QLatin1String(c)] = QString();
        for (const char* c : {"QTDEXT1A", "QTDEXT1B", "QTDEXT2A", "QTDEXT2B", "QTDEXT3A", "QTDEXT3B", "QTDEXT4A",
                              "QTDEXT4B", "QTDPLT1A", "QTDPLT1B", "QTDPLT2A", "QTDPLT2B", "QTDPLT3A", "QTDPLT3B",
                              "QTDPLT4A", "QTDPLT4B"})
            t[QLatin1String(c)] = QStringLiteral("0");
        const std::pair<const char*, const char*> values[] = {
            {"DATAPROD", "15/03/2024"}, {"QUANTFINAL", "5"},     {"NPLANOS", "1000"},     {"NROENT", "1"},
            {"COMPRIM", "300"},         {"LARGURA", "200"},      {"ALTURA", "100"},       {"PLNCOMPRIM1", "70"},
            {"PLNLARGURA1", "100"},     {"PLNCOMPRIM2", "0"},    {"PLNLARGURA2", "0"}};
        for (const auto& [c, v] : values)
            t[QLatin1String(c)] = QLatin1String(v);
        return t;
    }

    QVariant stored(const char* column)
    {
        return app->scalar(QStringLiteral("SELECT %1 FROM ORDFABDET WHERE ORDNRO = 501").arg(QLatin1String(column)));
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> inv;
    std::unique_ptr<OrderFilling> filling;
};

TEST_P(FillingDatabase, ProductionDayIsAWorkingDayOfTheCalendar)
{
    const struct {
        const char* text;
        const char* message;
        const char* week;
    } days[] = {{"14/02/2024", "", "07"},
                {"17/02/2024", "Escolheu um dia de PAUSA para a Empresa", ""},
                {"18/02/2024", "Data Inexistente no Ficheiro de Calendário", ""},
                {"31/02/2024", "\"31/02/2024\" não é uma data válida.", ""}};
    for (const auto& d : days) {
        const auto day = filling->productionDay(QLatin1String(d.text));
        EXPECT_EQ(day.refusal ? day.refusal->message : QString(), QString::fromUtf8(d.message)) << d.text;
        EXPECT_EQ(day.week, QLatin1String(d.week)) << d.text;
    }
}

TEST_P(FillingDatabase, ReadsTheOrderRowAndItsQuoteByKey)
{
    const auto row = filling->readOrder();
    ASSERT_TRUE(row);
    EXPECT_EQ(row->value("QUANTFINAL").toDouble(), 5.0);
    const auto quote = filling->readQuote();
    ASSERT_TRUE(quote);
    EXPECT_EQ(quote->unit, "M");
    app->exec("DELETE FROM ORCMAS WHERE CODIGO = 515");
    EXPECT_FALSE(filling->readQuote());
    EXPECT_EQ(OrderFilling::quoteDeletedMessage(515, 0), QStringLiteral("ERRO FATAL !!! Orçamento Eliminado : 515 0"));
}

TEST_P(FillingDatabase, SaveWritesTheRowWithTheWeekOfItsDay)
{
    QHash<QString, QString> t = storedTexts();
    t["DATAPROD"] = "14/02/2024";
    t["REPETICAO"] = "S";
    t["QTDEXT1A"] = "10";
    t["QTDEXT1B"] = "500";
    t["OBSERV1"] = "Paletes de 1,2 m";
    EXPECT_FALSE(filling->save(t, "M"));
    EXPECT_EQ(stored("DATAPROD").toDate(), QDate(2024, 2, 14));
    EXPECT_EQ(stored("SEMANAPROD").toString(), "07");
    EXPECT_EQ(stored("REPETICAO").toString(), "S");
    EXPECT_EQ(stored("QTDEXT1B").toInt(), 500);
    EXPECT_EQ(stored("OBSERV1").toString(), "Paletes de 1,2 m");
    // The key week stays, so the consultation finds the row again.
    EXPECT_EQ(stored("SEMANA").toString(), "10");
}

struct RefusedSave {
    const char* label;
    const char* column;
    const char* text;
    const char* message;
    const char* focus;
};

TEST_P(FillingDatabase, SaveStopsAtTheFirstRefusalAndWritesNothing)
{
    const RefusedSave cases[] = {
        {"pauseDay", "DATAPROD", "17/02/2024", "Escolheu um dia de PAUSA para a Empresa", "DATAPROD"},
        {"lowerCase", "TAMPA", "s", "Digite [S]/[N] ", "TAMPA"},
        {"sheets", "NPLANOS", "0", "TEM QUE INSERIR O Nº DE FOLHAS!!!", "NPLANOS"},
        {"packUnits", "QTDPLT2A", "3", "A Quantidade Não Pode Ser ZERO!!!", "QTDPLT2A"},
        {"packedTotal", "QTDEXT1A", "4", "QUANTIDADES A EMBALAR DIFERENTES DA QTD. A PRODUZIR !!!", "QTDEXT1A"},
    };
    for (const RefusedSave& c : cases) {
        QHash<QString, QString> t = storedTexts();
        t["QUANTFINAL"] = "9"; // would be written if the save went on
        t["QTDEXT1B"] = "1000"; // a first outer row so that a count alone is a packing plan
        t[QLatin1String(c.column)] = QString::fromUtf8(c.text);
        const auto refusal = filling->save(t, "M");
        ASSERT_TRUE(refusal) << c.label;
        EXPECT_EQ(refusal->message, QString::fromUtf8(c.message)) << c.label;
        EXPECT_EQ(refusal->focus, QLatin1String(c.focus)) << c.label;
        EXPECT_EQ(stored("QUANTFINAL").toDouble(), 5.0) << c.label;
    }
}

TEST_P(FillingDatabase, SaveOfAnOrderDeletedMeanwhileSaysSo)
{
    app->exec("DELETE FROM ORDFABDET");
    const auto refusal = filling->save(storedTexts(), "M");
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(refusal->message.contains("501"));
}

KV_ENGINE_SUITE(FillingDatabase);

} // namespace
