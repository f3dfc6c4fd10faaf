#include "production/unit/ProductionUnit.h"

#include "production/core/ProductionClosing.h"
#include "production/forms/ProductionForms.h"
#include "production/unit/ProductionRecordsStep.h"
#include "production/unit/StockPostingStep.h"
#include "shell/Session.h"
#include "shell/VersionStepContext.h"

namespace kv::production {
namespace {

using kv::shell::CompanyDatabase;
using kv::shell::declareDataset;
using kv::shell::FormOpening;
using kv::shell::formOpening;
using kv::shell::menuFunction;

// The production-order model "T" has forms of its own; "M" prints the
// micro-flute order documents.
FormOpening planningOpening(const QString& item, const kv::shell::LoginState& state)
{
    if (item == QLatin1String("PLANO001"))
        return formOpening("TORCF100");
    if (item == QLatin1String("PLANO002"))
        return formOpening(state.productionModelT() ? "TORCF105" : "TORCF101");
    if (item == QLatin1String("PLANO003")) {
        if (state.productionModelT())
            return formOpening("TORCF106", {"TORCFPR106CONT"});
        if (state.WTipoOrdFab == QLatin1String("M"))
            return formOpening("TORCF102",
                               {"TORCFPR102MICRO", "TORCFPR102CORTE", "TORCFPR102REGISTO", "TORCFPR102ETIQ"});
        return formOpening("TORCF102");
    }
    if (item == QLatin1String("PLANO006"))
        return formOpening("TORCF107");
    if (item == QLatin1String("PLANO004"))
        return formOpening("TORCF104", {"TORCFPR104"});
    if (item == QLatin1String("PLANO005"))
        return formOpening("TORCF040", {"TORCFPR040REQ", "TORCFPR040REQMedidas"});
    if (item == QLatin1String("PLANO009"))
        return formOpening("TORCF041", {"TORCFPR041", "TORCFPR041MICRO"}, {"TORCFPR041MICRO", "TORCFPR041"});
    if (item == QLatin1String("PLANO010"))
        return formOpening("TORCF108");
    if (item == QLatin1String("PLANO008"))
        return formOpening("TORCF110", {"TORCFPR110"});
    return {};
}

kv::shell::MainMenu::Menu planningMenu()
{
    const char* Planeamento = "Planeamento";
    const char* Stock = "Gestão Stock Materiais";
    kv::shell::MainMenu::Menu menu;
    menu.title = QStringLiteral("&D - Planeamento");
    menu.functions = {
        menuFunction("PLANO001", "&A -Geração Ordens de Fabrico", "BotGeraOf", Planeamento, "Geração de O.F."),
        menuFunction("PLANO002", "&B - Consulta Ordens de Fabrico", "BotConsOf", Planeamento, "Consulta de O.Fabrico"),
        menuFunction("PLANO003", "&C - Emissão Ordens de Fabrico", "", "", "", true),
        menuFunction("PLANO006", "&D - Fecho Ord.Fabrico", "BotFecho", Planeamento, "Fecho de Ordem de Fabrico", true),
        menuFunction("PLANO004", "&E - Mapa de Previsão de Consumos", "", "", "", true),
        menuFunction("PLANO005", "&F - Cálculo de Necessidades", "", "", "", true)};
    menu.submenu = QStringLiteral("&G - Gestão do Stock de Materiais");
    menu.submenuFunctions = {menuFunction("PLANO009", "&1 - Necessidades para Fabrico", "BotCalc", Stock, ""),
                             menuFunction("PLANO010", "&2 - Fecho de O.F. ( registo de consumos )", "BotFechoOf", Stock,
                                          "Fecho de O.F. ( registo de consumos )")};
    menu.separatorAfterSubmenu = true;
    menu.afterSubmenu = {menuFunction("PLANO008", "&H - Mapa de Existências por Cliente")};
    return menu;
}

} // namespace

kv::shell::SubsystemUnit productionUnit()
{
    using kv::db::FieldType;
    using kv::shell::VersionStepContext;
    constexpr auto App = CompanyDatabase::Application;
    kv::shell::SubsystemUnit unit;
    unit.name = QStringLiteral("production");
    unit.datasets = {declareDataset("ZURIVAVEZA", App, "ORDFABDET", "ORDFABDET", 'R', "ANO,SEMANA,ORDNRO"),
                     declareDataset("ZURIVAVEZA", App, "ORCCONSUMOS", "ORCCONSUMOS", 'R', "CODIGO,SUBCODIGO,DETAIL")};
    unit.createdTables = {kv::shell::createdTable("WORKORDFABDET", "production",
                                                  {{QStringLiteral("UTIL"), FieldType::Text, 15, true},
                                                   {QStringLiteral("ANO"), FieldType::Text, 4, true},
                                                   {QStringLiteral("SEMANA"), FieldType::Text, 2, true},
                                                   {QStringLiteral("ORDNRO"), FieldType::Int32, 0, true},
                                                   {QStringLiteral("SUBORC"), FieldType::Int32, 0, true},
                                                   {QStringLiteral("DETAIL"), FieldType::Int32, 0, true},
                                                   {QStringLiteral("WRK_DETAIL"), FieldType::Int32, 0, true},
                                                   {QStringLiteral("ARTIGO"), FieldType::Text, 16, false},
                                                   {QStringLiteral("DESIGNACAO"), FieldType::Text, 40, false},
                                                   {QStringLiteral("QUANTIDADE"), FieldType::Float, 0, false}}),
                          kv::shell::createdTable("ORDFABIMPR", "production",
                                                  {{QStringLiteral("UTIL"), FieldType::Text, 15, true},
                                                   {QStringLiteral("REGISTO"), FieldType::Int32, 0, true},
                                                   {QStringLiteral("ANO"), FieldType::Text, 4, false},
                                                   {QStringLiteral("SEMANA"), FieldType::Text, 2, false},
                                                   {QStringLiteral("ORDNRO"), FieldType::Int32, 0, false},
                                                   {QStringLiteral("DETAIL"), FieldType::Int32, 0, false},
                                                   {QStringLiteral("VIA"), FieldType::Text, 15, false},
                                                   {QStringLiteral("SUBORC"), FieldType::Int32, 0, false},
                                                   {QStringLiteral("ORDFABRICO"), FieldType::Text, 12, false}})};
    unit.versionSteps = {
        // The production order's second sheet format.
        {5, unit.name,
         [](VersionStepContext& step) {
             step.addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("PLCOMPRI2"), FieldType::Float);
             step.addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("PLLARGUR2"), FieldType::Float);
         }},
        // The order's material lines, and what a planned consumption used.
        {6, unit.name, [](VersionStepContext& step) {
             step.createTable(QStringLiteral("WORKORDFABDET"));
             step.addColumn(QStringLiteral("ORCCONSUMOS"), QStringLiteral("CONSUMIDO"), FieldType::Float);
         }},
        // The production-order records and their generation.
        {11, unit.name, addProductionRecords},
        // The production orders' print queue.
        {11, unit.name, [](VersionStepContext& step) { step.createTable(QStringLiteral("ORDFABIMPR")); }},
        // Stock posting and the closing of production orders.
        {11, unit.name, addStockPostingTables},
        // The closing lists name each order by its whole key and keep the
        // produced quantity they found. Their rows last one listing, so an
        // older company's tables are made again with the new key.
        {11, unit.name, [](VersionStepContext& step) {
             for (const char* table : {"WORKORDFAB", "WORKORDFABDET"})
                 step.db().exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(QString::fromLatin1(table)));
             step.createMissingTables({QStringLiteral("WORKORDFAB")});
             step.createTable(QStringLiteral("WORKORDFABDET"));
             step.addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("PLCOMPRI2"), FieldType::Float);
             step.addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("PLLARGUR2"), FieldType::Float);
             step.addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("LISTQTDPROD"), FieldType::Float);
         }},
        // Materials requirements: the users' work tables, the requisitions,
        // purchase orders and their print queue, and delivery place 1's address.
        {11, unit.name, [](VersionStepContext& step) {
             step.createMissingTables({QStringLiteral("LOGSELENC"), QStringLiteral("LOGARTIGOS"),
                                       QStringLiteral("LOGFRNENC"), QStringLiteral("LOGARTGFORN"),
                                       QStringLiteral("FRNREQMAS"), QStringLiteral("FRNREQDET"),
                                       QStringLiteral("FRNENCMAS"), QStringLiteral("FRNENCDET"),
                                       QStringLiteral("FRNENCIMPR")});
             constexpr auto Inv = kv::schema::Database::Invoicing;
             step.addColumn(Inv, QStringLiteral("LOCCARGA"), QStringLiteral("MORADA1"), FieldType::Text, 30);
             step.addColumn(Inv, QStringLiteral("LOCCARGA"), QStringLiteral("MORADA2"), FieldType::Text, 30);
             step.addColumn(Inv, QStringLiteral("LOCCARGA"), QStringLiteral("CODPOSTAL"), FieldType::Text, 8);
             // Older purchase-order headers lack the order's observation lines.
             step.addColumn(Inv, QStringLiteral("FRNENCMAS"), QStringLiteral("OBSERV1"), FieldType::Text, 90);
             step.addColumn(Inv, QStringLiteral("FRNENCMAS"), QStringLiteral("OBSERV2"), FieldType::Text, 90);
         }}};
    unit.menus = {planningMenu()};
    unit.opening = planningOpening;
    unit.registerForms = [](kv::shell::Session& session, kv::ui::FormRegistry& forms) {
        registerProductionForms(session, forms);
        // A later process finishes a closing this one left half-written.
        session.twoDatabaseKinds().add(ProductionClosing::kind());
    };
    return unit;
}

} // namespace kv::production
