#include "costing/unit/CostingUnit.h"

#include "costing/forms/CostingForms.h"

#include "domain/TableType.h"
#include "shell/VersionStepContext.h"

#include <QHash>

namespace kv::costing {
namespace {

using kv::shell::CompanyDatabase;
using kv::shell::DatasetDeclaration;
using kv::shell::declareDataset;
using kv::shell::FormOpening;
using kv::shell::menuFunction;

std::vector<DatasetDeclaration> costingDatasets()
{
    constexpr auto App = CompanyDatabase::Application;
    const char* Z = "ZURIVAVEZA";
    std::vector<DatasetDeclaration> c;
    for (const char* table : {"PAPEIS", "TINTAS", "VERNIZES", "COLAS", "FILMEPLAS", "PVC", "ACABAMENTO", "OPERCORTE",
                              "MAQUINAS", "TIRAGLIQ", "CUSTFIXOS"})
        c.push_back(declareDataset(Z, App, table, table, 'C', "CODIGO"));
    c.push_back(declareDataset(Z, App, "CUSTRANSP", "CUSTRANSP", 'C', "PAIS,REGIAO,PROVINCIA"));
    c.push_back(declareDataset(Z, App, "SUBCONT", "SUBCONTRATO", 'C', "CODIGO"));
    c.push_back(declareDataset(Z, App, "PROCMAS", "PROCMAS", 'N', "CODIGO"));
    c.push_back(declareDataset(Z, App, "TIPOTAB", "TIPOTAB", 'N', "CODIGO"));
    c.push_back(declareDataset(Z, App, "PROCDET", "PROCDET", 'N', "CODIGO", "CODIGO = :CODIGO"));
    c.push_back(declareDataset(Z, App, "PLN_FICTEC", "PLN_FICTEC", 'N', "CLIENTE,ARTIGO"));
    kv::shell::linkToMaster(c, "PROCDET", "PROCMAS", {{"CODIGO", "CODIGO"}});
    return c;
}

// Subcontracts become table type 11, transport costs move to 99; the demo
// company gets a few subcontracts to price with.
void addSubcontracts(kv::shell::VersionStepContext& step)
{
    using kv::domain::TableType;
    using kv::domain::typeCode;
    kv::db::Connection& db = step.db();
    // Type 11 becomes 99 once only: after the step, 11 means subcontracts,
    // and lines of that type must keep it.
    if (!step.rowExists(QStringLiteral("TIPOTAB"), QStringLiteral("CODIGO"), typeCode(TableType::Transport))) {
        db.exec(QStringLiteral("DELETE FROM TIPOTAB WHERE CODIGO = :OLD"), {{"OLD", typeCode(TableType::Subcontract)}});
        for (const char* table : {"ORCDET", "ORCCONSUMOS", "PROCDET"})
            db.exec(QStringLiteral("UPDATE %1 SET TIPOTABELA = :NEW WHERE TIPOTABELA = :OLD").arg(QLatin1String(table)),
                    {{"NEW", typeCode(TableType::Transport)}, {"OLD", typeCode(TableType::Subcontract)}});
    }
    const bool created = !db.tableExists(QStringLiteral("SUBCONTRATO"));
    step.createTable(QStringLiteral("SUBCONTRATO"));
    const std::pair<TableType, QString> rows[] = {{TableType::Subcontract, QStringLiteral("Subcontratação")},
                                                  {TableType::Transport, QStringLiteral("Custos de Transporte")}};
    for (const auto& [type, designation] : rows)
        if (!step.rowExists(QStringLiteral("TIPOTAB"), QStringLiteral("CODIGO"), typeCode(type)))
            db.exec(QStringLiteral("INSERT INTO TIPOTAB (CODIGO, DESIGNACAO) VALUES (:CODIGO, :DESIGNACAO)"),
                    {{"CODIGO", typeCode(type)}, {"DESIGNACAO", designation}});
    if (!created || !step.demoCompany())
        return;
    struct Subcontract {
        int code;
        const char* designation;
        double price;
        double gramsPerM2;
        const char* accessory;
        const char* unit;
    };
    const Subcontract demo[] = {{1, "Estampagem a quente (exterior)", 18.50, 0, "N", "MIL"},
                                {2, "Contracolagem de microcanal", 0.35, 0, "N", "M2"},
                                {3, "Aplicação de janela PVC", 0.02, 0, "S", "UND"},
                                {4, "Verniz de relevo serigráfico", 6.40, 12, "N", "KG"}};
    for (const Subcontract& s : demo)
        db.exec(QStringLiteral("INSERT INTO SUBCONTRATO (CODIGO, DESIGNACAO, PRECO, GRS_M2, ACESSORIO, UNIDADE) "
                               "VALUES (:CODIGO, :DESIGNACAO, :PRECO, :GRS_M2, :ACESSORIO, :UNIDADE)"),
                {{"CODIGO", s.code},
                 {"DESIGNACAO", QString::fromUtf8(s.designation)},
                 {"PRECO", s.price},
                 {"GRS_M2", s.gramsPerM2},
                 {"ACESSORIO", QString::fromLatin1(s.accessory)},
                 {"UNIDADE", QString::fromLatin1(s.unit)}});
}

kv::shell::MainMenu::Menu tablesMenu()
{
    const char* Tabelas = "Tabelas";
    kv::shell::MainMenu::Menu menu;
    menu.title = QStringLiteral("&B - Tabelas");
    menu.functions = {
        menuFunction("TABORC000", "&A - Parâmetros Gerais", "", "", "", true),
        menuFunction("TABORC001", "&B - Micro; Canal B; Placa; Cartolinas", "BotPapeis", Tabelas,
                     "Micro; Canal B; Placa; Cartolinas"),
        menuFunction("TABORC002", "&C - Tintas", "BotTintas", Tabelas, "Tintas"),
        menuFunction("TABORC003", "&D - Vernizes", "BotVernizes", Tabelas, "Vernizes"),
        menuFunction("TABORC004", "&E - Colas", "BotColas", Tabelas, "Colas"),
        menuFunction("TABORC005", "&F -  Filme de Plasticizar", "BotFilme", Tabelas, "Filme de Plasticizar"),
        menuFunction("TABORC006", "&G - P.V.C. ( Janelas )", "BotPVC", Tabelas, "P.V.C. ( Janelas )"),
        menuFunction("TABORC007", "&H - Acabamentos", "BotAcabamentos", Tabelas, "Acabamentos"),
        menuFunction("TABORC008", "&I - Operações de Corte", "BotOperCorte", Tabelas, "Operações de Corte"),
        menuFunction("TABORC009", "&J - Máquinas", "BotMaquinas", Tabelas, "Máquinas"),
        menuFunction("TABORC010", "&K - Tiragem Líquida", "BotTiragemLiq", Tabelas, "Tiragem Líquida"),
        menuFunction("TABORC011", "&L - Custos de Transporte", "BotCustosTransp", Tabelas, "Custos de Transporte"),
        menuFunction("TABORC012", "&M - Custos Fixos", "BotCustosFixos", Tabelas, "Custos Fixos"),
        menuFunction("TABORC016", "&N- Subcontratos", "BotSubCont", Tabelas, "Subcontratos"),
        menuFunction("TABORC013", "&O - Procedimentos", "BotProcedim", Tabelas, "Procedimentos"),
        menuFunction("TABORC014", "&P - Parametrização de Procedimentos", "BotParProcedim", Tabelas,
                     "Parametrização de Procedimentos", true),
        menuFunction("TABORC015", "&Q - Artigo / Mat.Prima p/ Cliente")};
    return menu;
}

// Each table entry opens its form after creating its list report.
FormOpening tablesOpening(const QString& item, const kv::shell::LoginState&)
{
    static const QHash<QString, FormOpening> openings = [] {
        QHash<QString, FormOpening> o;
        o.insert(QStringLiteral("TABORC000"), FormOpening{QStringLiteral("TORCF000"), {}, {}});
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 13, 14, 15}) {
            const QString number = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
            const QStringList reports{QStringLiteral("TORCFPR") + number};
            o.insert(QStringLiteral("TABORC") + number,
                     FormOpening{QStringLiteral("TORCF") + number, reports, reports});
        }
        return o;
    }();
    return openings.value(item);
}

} // namespace

kv::shell::SubsystemUnit costingUnit()
{
    using kv::db::FieldType;
    kv::shell::SubsystemUnit unit;
    unit.name = QStringLiteral("costing");
    unit.datasets = costingDatasets();
    unit.createdTables = {kv::shell::createdTable("SUBCONTRATO", "costing",
                                                  {{QStringLiteral("CODIGO"), FieldType::Int32, 0, true},
                                                   {QStringLiteral("DESIGNACAO"), FieldType::Text, 40, false},
                                                   {QStringLiteral("PRECO"), FieldType::Float, 0, false},
                                                   {QStringLiteral("GRS_M2"), FieldType::Float, 0, false},
                                                   {QStringLiteral("ACESSORIO"), FieldType::Text, 1, false},
                                                   {QStringLiteral("UNIDADE"), FieldType::Text, 3, false}})};
    unit.versionSteps = {{4, unit.name, addSubcontracts}};
    unit.menus = {tablesMenu()};
    unit.opening = tablesOpening;
    unit.registerForms = [](kv::shell::Session& session, kv::ui::FormRegistry& forms) {
        registerCostingForms(session, forms);
    };
    return unit;
}

} // namespace kv::costing
