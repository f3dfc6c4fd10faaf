// The filling of a model-"T" order without widgets: what the stored row
// shows, the material rows' kind, code and unit rules by the row's own kind,
// and the save, on both engines.
#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "production/core/ModelTFilling.h"
#include "support/Scenario.h"

#include <QDate>

#include <gtest/gtest.h>

using kv::production::ModelTFilling;
using kv::test::Engine;

namespace {

class ModelTDatabase : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        app = scenario.applicationDatabase();
        kv::test::insertFillRows(*app, *scenario.invoicingDatabase());
        filling = std::make_unique<ModelTFilling>(*app, *scenario.invoicingDatabase(), kv::test::modelTOrder());
        texts = filling->shownTexts(*filling->readOrder());
    }
    QVariant tStored(const char* column)
    {
        return app->scalar(QStringLiteral("SELECT %1 FROM ORDFABRICO WHERE ORDNRO = 601").arg(QLatin1String(column)));
    }
    // The texts of a filled order: date, quantity, format and sheets.
    void tFilled()
    {
        texts["DATAPROD"] = "14/02/2024";
        texts["PLCOMPRI"] = "70";
        texts["PLLARGUR"] = "100";
        texts["NPLANOS"] = "1000";
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::unique_ptr<ModelTFilling> filling;
    QHash<QString, QString> texts;
};

TEST_P(ModelTDatabase, ShowsTheStoredRowWithDeletedCodesNamed)
{
    const std::pair<const char*, const char*> shown[] = {
        {"DATAPROD", ""}, // never filled: no date
        {"KIND1", "P"},   {"DESIGN1", "Cartolina em bobine"},       {"CCOL_UND1", "K"},
        {"KIND2", "P"},   {"DESIGN2", "Tipo de papel Eliminado ..."}, {"KIND3", "C"},
        {"DESIGN3", "Cola por quantidade"},                           {"KIND4", ""},
        {"COLDESIGN1", "Tipo de Cola Eliminado ..."},
    };
    for (const auto& [key, text] : shown)
        EXPECT_EQ(texts.value(QLatin1String(key)), QString::fromUtf8(text)) << key;
}

struct LeaveCase {
    const char* label;
    std::vector<std::pair<const char*, const char*>> typed;
    const char* left;
    const char* message; // "" when accepted
    std::vector<std::pair<const char*, const char*>> after;
};

TEST_P(ModelTDatabase, MaterialRowsFollowTheirOwnKind)
{
    const LeaveCase cases[] = {
        {"lowerCaseKind", {{"KIND4", "p"}}, "KIND4",
         "Insira o tipo de tabela [P] - Papeis / Cartolinas ... ; [C] - Colas", {}},
        {"emptyKindClearsTheRow", {{"KIND1", ""}}, "KIND1", "", {{"CCOL_MAT1", ""}, {"CCOL_UND1", ""}, {"DESIGN1", ""}}},
        {"boardByWeight", {{"KIND4", "P"}, {"CCOL_MAT4", "751"}}, "CCOL_MAT4", "", {{"CCOL_UND4", "K"}}},
        {"boardBySheet", {{"KIND4", "P"}, {"CCOL_MAT4", "752"}}, "CCOL_MAT4", "",
         {{"CCOL_UND4", "P"}, {"DESIGN4", "Cartolina em folha"}}},
        // Row 3 is a glue whatever kind row 4 was given last.
        {"glueByItsRowsKind", {{"KIND4", "P"}, {"CCOL_MAT3", "741"}}, "CCOL_MAT3", "", {{"CCOL_UND3", "K"}}},
        {"missingBoard", {{"KIND4", "P"}, {"CCOL_MAT4", "799"}}, "CCOL_MAT4", "Tipo de papel inexistente ...", {}},
        {"missingGlue", {{"KIND4", "C"}, {"CCOL_MAT4", "799"}}, "CCOL_MAT4", "Cola inexistente ...", {}},
        {"glueInSheets", {{"CCOL_UND3", "P"}}, "CCOL_UND3", "Insira - Tipo de Unidade [K] - Kgs", {}},
        {"boardInSheets", {{"CCOL_UND1", "P"}}, "CCOL_UND1", "", {}},
        {"unknownUnit", {{"CCOL_UND1", "x"}}, "CCOL_UND1", "Insira - Tipo de Unidade  [P]  - Planos ; [K] - Kgs", {}},
        {"missingGluingCode", {{"COL_MAT2", "799"}}, "COL_MAT2", "Cola inexistente ...", {}},
        {"gluingCode", {{"COL_MAT2", "743"}}, "COL_MAT2", "", {{"COLDESIGN2", "Cola por percentagem"}}},
        {"pauseDay", {{"DATAPROD", "17/02/2024"}}, "DATAPROD", "Escolheu um dia de PAUSA para a Empresa", {}},
        {"sheetsZero", {{"NPLANOS", "0"}}, "NPLANOS", "TEM QUE INSERIR O Nº DE FOLHAS!!!", {}},
    };
    const QHash<QString, QString> shown = texts;
    for (const LeaveCase& c : cases) {
        texts = shown;
        for (const auto& [key, text] : c.typed)
            texts[QLatin1String(key)] = QString::fromUtf8(text);
        const auto refusal = filling->leave(QLatin1String(c.left), texts);
        EXPECT_EQ(refusal ? refusal->message : QString(), QString::fromUtf8(c.message)) << c.label;
        for (const auto& [key, text] : c.after)
            EXPECT_EQ(texts.value(QLatin1String(key)), QString::fromUtf8(text)) << c.label << " " << key;
    }
}

TEST_P(ModelTDatabase, SaveWritesKindsAndUnitsAndAnEmptyCodeKeepsNoKind)
{
    tFilled();
    texts["CCOL_MAT2"] = ""; // the deleted board taken out
    texts["KIND4"] = "C";
    texts["CCOL_MAT4"] = "744";
    texts["CCOL_UND4"] = "K";
    texts["CCOL_UND1"] = "P"; // a board turned to sheets
    texts["COL_MAT1"] = "741";
    EXPECT_FALSE(filling->save(texts));
    EXPECT_EQ(tStored("DATAPROD").toDate(), QDate(2024, 2, 14));
    EXPECT_EQ(tStored("PLCOMPRI").toDouble(), 70.0);
    EXPECT_EQ(tStored("CCOL_UND1").toString(), "P");
    EXPECT_EQ(tStored("CCOL_TMAT2").toInt(), 0);
    EXPECT_EQ(tStored("CCOL_TMAT4").toInt(), 4);
    EXPECT_EQ(tStored("CCOL_MAT4").toInt(), 744);
    EXPECT_EQ(tStored("COL_MAT1").toInt(), 741);
}

TEST_P(ModelTDatabase, SaveIsRefusedAtTheFirstRuleAndWritesNothing)
{
    tFilled();
    texts["KIND5"] = "c";
    // In the form's order: the deleted board of row 2, the kind of row 5, the deleted gluing code.
    const std::pair<const char*, const char*> refusals[] = {{"CCOL_MAT2", "Tipo de papel inexistente ..."},
                                                            {"KIND5", "Insira o tipo de tabela [P] - Papeis / "
                                                                      "Cartolinas ... ; [C] - Colas"},
                                                            {"COL_MAT1", "Cola inexistente ..."}};
    for (const auto& [focus, message] : refusals) {
        const auto refusal = filling->save(texts);
        ASSERT_TRUE(refusal) << focus;
        EXPECT_EQ(refusal->focus, QLatin1String(focus));
        EXPECT_EQ(refusal->message, QString::fromUtf8(message));
        texts[QLatin1String(focus)] = QString(); // the planner clears it
    }
    EXPECT_EQ(tStored("PLCOMPRI").toDouble(), 0.0);
    EXPECT_FALSE(filling->save(texts));
    EXPECT_EQ(tStored("PLCOMPRI").toDouble(), 70.0);
}

KV_ENGINE_SUITE(ModelTDatabase);

} // namespace
