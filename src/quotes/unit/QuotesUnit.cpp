#include "quotes/unit/QuotesUnit.h"

#include "quotes/approval/core/QuoteApproval.h"
#include "quotes/forms/QuoteForms.h"
#include "quotes/unit/ApprovalTablesStep.h"

#include "shell/Session.h"
#include "shell/VersionStepContext.h"

#include <QHash>

namespace kv::quotes {
namespace {

using kv::shell::CompanyDatabase;
using kv::shell::DatasetDeclaration;
using kv::shell::declareDataset;
using kv::shell::FormOpening;
using kv::shell::formOpening;
using kv::shell::menuFunction;

std::vector<DatasetDeclaration> quoteDatasets()
{
    constexpr auto App = CompanyDatabase::Application;
    const char* Z = "ZURIVAVEZA";
    std::vector<DatasetDeclaration> c;
    c.push_back(declareDataset(Z, App, "ORCMAS", "ORCMAS", 'C', "CODIGO,SUBCODIGO"));
    c.push_back(declareDataset(Z, App, "ORCDET", "ORCDET", 'C', "Codigo,SubCodigo,Detail",
                               "Codigo = :Codigo AND SubCodigo = :SubCodigo"));
    c.push_back(declareDataset(Z, App, "PROCMASTEMP", "PROCMASTEMP", 'X', "UTIL,CODIGO", "UTIL = :WUtil"));
    for (const char* table : {"SALDOS", "SALDOS1", "SALDOS2"})
        c.push_back(declareDataset(Z, App, table, table, 'R', "Util,Programa,Sequencia",
                                   "Util = :WUtil AND Programa = :WProg"));
    kv::shell::linkToMaster(c, "ORCDET", "ORCMAS", {{"Codigo", "CODIGO"}, {"SubCodigo", "SUBCODIGO"}});
    return c;
}

// The quote row gets the subcontracts' class totals.
void addSubcontractTotals(kv::shell::VersionStepContext& step)
{
    for (const char* c : {"VALSUB1", "VALSUB2", "VALSUB3"})
        step.addColumn(QStringLiteral("ORCMAS"), QString::fromLatin1(c), kv::db::FieldType::Float);
}

// The quote lookups read a window of rows on these indexes; without them an
// older company's lookup would scan the whole quote table at every key typed.
void addQuoteLookupIndexes(kv::shell::VersionStepContext& step) { step.createMissingIndexes(QStringLiteral("ORCMAS")); }

// The quote letters' print queue, and the indexes of the issue's and the
// consultation's selections.
void addQuoteIssueTables(kv::shell::VersionStepContext& step)
{
    step.createMissingTables({QStringLiteral("ORCAMIMPR")});
    step.createMissingIndexes(QStringLiteral("ORCMAS"));
}

kv::shell::MainMenu::Menu quotesMenu()
{
    const char* Orcamentos = "Orçamentos";
    kv::shell::MainMenu::Menu menu;
    menu.title = QStringLiteral("&C - Orçamentos");
    menu.functions = {
        menuFunction("ORC001", "&A - Elaboração de Orçamentos", "BotOrcam", Orcamentos, "Elaboração de Orçamentos",
                     true),
        menuFunction("ORC002", "&B - Emissão Orçamento Cliente"),
        menuFunction("ORC003", "&C - Consulta de Orçamentos", "BotConsOrc", Orcamentos, "Consulta de Orçamentos", true),
        menuFunction("ORC004", "&D - Aprovação de Orçamentos", "BotAprova", Orcamentos, "Aprovação de Orçamentos")};
    return menu;
}

// The customer's quote letter follows the quote layout of the login.
FormOpening quotesOpening(const QString& item, const kv::shell::LoginState& state)
{
    if (item == QLatin1String("ORC001"))
        return formOpening("TORCF021", {"TORCFPR021micro", "TORCFPR021Amicro", "TORCFPR021Bmicro"});
    if (item == QLatin1String("ORC002")) {
        static const QHash<QString, const char*> letters{
            {"1", "TORCFPR022QUAL"}, {"M", "TORCFPR022MICRO"}, {"T", "TORCFPR022CONT"}};
        const char* letter = letters.value(state.WTipoOrcam);
        return letter ? formOpening("TORCF022", {QString::fromLatin1(letter)}) : formOpening("TORCF022");
    }
    if (item == QLatin1String("ORC003"))
        return formOpening("TORCF031", {"TORCFPR031A", "TORCFPR031micro", "TORCFPR031Amicro", "TORCFPR031Bmicro"});
    if (item == QLatin1String("ORC004"))
        return formOpening("TORCF032",
                           {"TORCFPR032ENC_ZADOV", "TORCFPR032micro", "TORCFPR032Amicro", "TORCFPR032Bmicro"},
                           {"TORCFPR032micro", "TORCFPR032Amicro", "TORCFPR032Bmicro", "TORCFPR032ENC_ZADOV"});
    return {};
}

} // namespace

kv::shell::SubsystemUnit quotesUnit()
{
    kv::shell::SubsystemUnit unit;
    unit.name = QStringLiteral("quotes");
    unit.datasets = quoteDatasets();
    unit.versionSteps = {{4, unit.name, addSubcontractTotals}, {8, unit.name, addQuoteLookupIndexes},
                         {9, unit.name, addQuoteIssueTables}, {10, unit.name, addApprovalTables}};
    unit.menus = {quotesMenu()};
    unit.opening = quotesOpening;
    unit.registerForms = [](kv::shell::Session& session, kv::ui::FormRegistry& forms) {
        registerQuoteForms(session, forms);
        // A later process finishes an approval this one left half-written.
        session.twoDatabaseKinds().add(approval::approvalKind());
    };
    return unit;
}

} // namespace kv::quotes
