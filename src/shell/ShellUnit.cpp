#include "shell/ShellUnit.h"

#include "shell/VersionStepContext.h"

namespace kv::shell {
namespace {

constexpr auto Inv = CompanyDatabase::Invoicing;
constexpr auto Acc = CompanyDatabase::Accounting;
constexpr auto App = CompanyDatabase::Application;

// The base module's shared datasets (users and rights, commercial tables,
// files, receivables, stock) until their subsystems declare their own, and
// the general costing parameters the login reads.
std::vector<DatasetDeclaration> shellDatasets()
{
    std::vector<DatasetDeclaration> c;
    auto add = [&c](DatasetDeclaration d) -> DatasetDeclaration& {
        c.push_back(std::move(d));
        return c.back();
    };
    const char* E = "DTEMPRESAS";
    add(declareDataset(E, App, "UTIL", "UTILIZADORES", 'R'));
    add(declareDataset(E, App, "APLICACAOCAP", "APLICACAOCAP", 'R'));
    add(declareDataset(E, App, "APLICACAOMST", "APLICACAOMST", 'R'));
    add(declareDataset(E, App, "APLICACAODET", "APLICACAODET", 'R'));
    add(declareDataset(E, App, "PARAMTMP", "PARAMTMP", 'N'));

    const char* T = "DTTABELAS";
    add(declareDataset(T, Inv, "FACPARGER", "PARGER", 'C', "ANO"));
    add(declareDataset(T, Inv, "COMISSOES", "COMISSOES", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "CUSTARTG", "CUSTARTG", 'C', "TABGRUPO,PAIS,TABCOD,CODIGO",
                       "TABGRUPO = :WtabGrupo AND TABCOD = :WtabCod"))
        .filter = DatasetFilter::TableCode;
    add(declareDataset(T, Inv, "CORES", "CORES", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "DESCMERC", "DESCMERC", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "IVA", "IVA", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "CUSTCLI", "CUSTCLI", 'C', "TABCOD,CODIGO")).filter = DatasetFilter::TableCode;
    add(declareDataset(T, Inv, "TAMANHOS", "TAMANHOS", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "PAISES", "PAISES", 'C', "PAIS"));
    add(declareDataset(T, Acc, "MOEDAS", "CNTPMOEDA", 'C', "ANO,DESCRI")).filter = DatasetFilter::WorkingYear;
    add(declareDataset(T, Inv, "DOCPARAM", "DOCPARAM", 'C'));
    add(declareDataset(T, Inv, "CUSTFORN", "CUSTFORN", 'C', "TABCOD,CODIGO")).filter = DatasetFilter::TableCode;
    add(declareDataset(T, Inv, "REGIOES", "REGIOES", 'C', "REGIAO"));
    add(declareDataset(T, Inv, "EXTRAS", "EXTRAS", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "CNDPGT", "CNDPGT", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "FORMAS", "FORMAS", 'C', "FORMA"));
    add(declareDataset(T, Inv, "EMBALAGEM", "EMBALAGEM", 'C', "TIPOEMBALAGEM"));
    add(declareDataset(T, Inv, "CUSTAGENTE", "CUSTAGENTE", 'C', "TABCOD,CODIGO"));
    add(declareDataset(T, Inv, "PROVINCIAS", "PROVINCIAS", 'C', "PROVINCIA"));
    add(declareDataset(T, Inv, "VIATURAS", "VIATURAS", 'C', "VIATURA"));
    add(declareDataset(T, Inv, "FAMILIAS", "FAMILIAS", 'C', "FAMILIA"));
    add(declareDataset(T, Inv, "CODPOSTAL", "CODPOSTAL", 'C', "CODPOSTAL"));
    add(declareDataset(T, Inv, "METEXPEDICAO", "METEXPEDICAO", 'C', "METEXPEDICAO"));
    add(declareDataset(T, Inv, "ARTGCOMP", "ARTGCOMP", 'C', "CODIGO"));
    add(declareDataset(T, Inv, "FACTURAOBS", "FACTURAOBS", 'N'));
    add(declareDataset(T, Inv, "FACDESCRI", "FACDESCRI", 'N'));
    add(declareDataset(T, Inv, "FICTAM", "FICTAM", 'N'));
    add(declareDataset(T, Inv, "CONTABLIG", "CONTABLIG", 'R'));
    add(declareDataset(T, Inv, "PARCUSTOM", "PARCUSTOM", 'N'));
    add(declareDataset(T, Inv, "PARGRUPOS", "PARGRUPOS", 'N', "TABGRUPO,TABCOD"));
    add(declareDataset(T, Inv, "PPAUTAL", "PPAUTAL", 'N'));
    add(declareDataset(T, Inv, "BANCOSTABSALDOS", "BANCOSTABSALDOS", 'N', "CLASSIF"));
    add(declareDataset(T, Inv, "NUMERDOCS", "NUMERDOCS", 'N', "ANO"));
    add(declareDataset(T, Inv, "GRUPOCREDITO", "GRUPOCREDITO", 'C'));
    add(declareDataset(T, Inv, "AVISLANCANX", "AVISLANCANX", 'N', "CODIGO"));
    add(declareDataset(T, Inv, "IVACOMPRAS", "IVACOMPRAS", 'N', "CODIVA"));
    add(declareDataset(T, Inv, "ZONAGEOGRAF", "ZONAGEOGRAF", 'C', "ZONAGEOGRAF"));
    add(declareDataset(T, Inv, "RAMOACTIV", "RAMOACTIV", 'C', "RAMOACTIV"));
    add(declareDataset(T, Inv, "CORESBASE", "CORESBASE", 'N', "CODIGO"));
    add(declareDataset(T, Inv, "MEDIDAS", "MEDIDAS", 'N', "CODIGO"));
    add(declareDataset(T, Inv, "GRAMAGENS", "GRAMAGENS", 'N', "CODIGO"));
    add(declareDataset(T, Inv, "TAB_SERVICOS", "TAB_SERVICOS", 'N', "CODIGO"));
    add(declareDataset(T, Inv, "CODIGOSSIC", "CODIGOSSIC", 'N', "CODIGO"));

    const char* F = "DTFILES";
    add(declareDataset(F, Inv, "BANCOS", "BANCOS", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "CLIENTES", "CLIENTES", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "LOCDESCARGA", "LOCDESCARGA", 'C', "CLINRO,CODIGO"));
    add(declareDataset(F, Inv, "AGENTES", "AGENTES", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "FORNECEDORES", "FORNECEDORES", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "VENDEDORES", "VENDEDORES", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "ARTIGOSCOR", "ARTIGOSCOR", 'R')).columns =
        QStringLiteral("Artigo, SeqNro, Codigo, Cor");
    add(declareDataset(F, Inv, "LOCCARGA", "LOCCARGA", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "ARTIGOSMOE", "ARTIGOSMOE", 'C', "ARTIGO,MOEDA", "ARTIGO = :WMoeArtigo"));
    add(declareDataset(F, Inv, "FACTORING", "FACTORING", 'N', "CODIGO"));
    add(declareDataset(F, Inv, "WORKTAM", "WORKTAM", 'R'));
    add(declareDataset(F, Inv, "ARTGVNDCOM", "ARTGVNDCOM", 'N', "ARTIGO,VENDEDOR"));
    add(declareDataset(F, Inv, "ARTIGOSPAIS", "ARTIGOSPAIS", 'N', "ARTIGO,PAIS", "ARTIGO = :WMoeArtigo"));
    add(declareDataset(F, Inv, "STKARTGFORN", "STKARTGFORN", 'N', "CODARTG,CODFORN", "CODARTG = :CODARTG"));
    add(declareDataset(F, Inv, "FACVALCLI", "FACVALCLI", 'R', "CODIGO,ANO"));
    add(declareDataset(F, Inv, "FRNLOCDESCARGA", "FRNLOCDESCARGA", 'C', "FRNNRO,CODIGO"));
    add(declareDataset(F, Inv, "ENTIDADES", "ENTIDADES", 'C', "CODIGO"));
    add(declareDataset(F, Inv, "WORKEMAIL", "WORKEMAIL", 'R', "UTIL,TIPO,CODIGO", "UTIL = :WUtil"));
    add(declareDataset(F, Inv, "BANCOSSALDOS", "BANCOSSALDOS", 'C', "CODIGO,CLASSIF", "CODIGO = :CODIGO"));
    add(declareDataset(F, Inv, "CONTACTOS", "CONTACTOS", 'C', "TIPOENT,ENTIDADE",
                       "TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo"));
    add(declareDataset(F, Inv, "CLIFACAUTO", "CLIFACAUTO", 'C', "CODIGO,DETAIL", "CODIGO = :WCliNro"));
    add(declareDataset(F, Inv, "VNDQUOTA", "VNDQUOTAS", 'N', "Ano,Codigo", "Ano = :WAno"));
    add(declareDataset(F, Inv, "ARTIGOSCLS", "ARTIGOSCLS", 'N', "CODIGO"));
    add(declareDataset(F, Inv, "CLIENTESDOCS", "CLIENTESDOCS", 'N', "CODIGO,DATA,HORA", "CODIGO = :CODIGO"));
    add(declareDataset(F, Inv, "FORNECEDORESDOCS", "FORNECEDORESDOCS", 'N', "CODIGO,DATA,HORA", "CODIGO = :CODIGO"));
    add(declareDataset(F, Inv, "ARTIGOSDOCS", "ARTIGOSDOCS", 'N', "CODIGO,DATA,HORA", "CODIGO = :CODIGO"));

    const char* G = "DTGTS";
    for (const char* table : {"CCDOCPARAM", "CLICOBDET", "GTSPARGER", "GTSFRNPARGER", "FCDOCPARAM", "FLIQDOCPARAM",
                              "FRNCOBMAS", "FRNVALCOB", "FRNCOBDET", "FRNAVISOPAG", "AVISOOBS"})
        add(declareDataset(G, Inv, table, table, 'C'));
    add(declareDataset(G, Inv, "CLICOBMAS", "CLICOBMAS", 'C', "CLIENTE"));
    add(declareDataset(G, Inv, "CLICOBREC", "CLICOBREC", 'C', "RECIBO"));
    add(declareDataset(G, Inv, "LIQDOCPARAM", "LIQDOCPARAM", 'C', "CODIGO"));
    add(declareDataset(G, Inv, "CLIVALCOB", "CLIVALCOB", 'C', "CODIGO"));
    add(declareDataset(G, Inv, "RECCOBMAS", "RECCOBMAS", 'C', "RECIBO"));
    add(declareDataset(G, Inv, "RECCOBDET", "RECCOBDET", 'C', "CLIENTE,TIPDOC,DOCNRO"));
    add(declareDataset(G, Inv, "SALDOS", "SALDOS", 'R', "UTIL,FRNCLI,SEQUENCIA",
                       "UTIL = :WUtil AND FRNCLI = :WFrnCli"));

    const char* S = "DTSTKPRD";
    add(declareDataset(S, Inv, "STKTRS", "STKTRS", 'C', "TRSCOD"));
    add(declareDataset(S, Inv, "STKARMZ", "STKARMAZEM", 'C', "CODIGO"));
    add(declareDataset(S, Inv, "STKMOVIM", "STKMOV", 'C', "DOCNRO,DETAIL"));
    add(declareDataset(S, Inv, "STKMOVARTG", "STKMOV", 'C', "ARTNRO,DATMOV"));
    add(declareDataset(S, Inv, "STKARTGARMZ", "STKARTGARMZ", 'R', "ARTIGO,ANO,CODIGO", "ANO = :WAno")).columns =
        QStringLiteral("ARTIGO, ANO, CODIGO, EXIQTD00, EXIVAL00, EXIQTD, EXIVAL");
    add(declareDataset(S, Inv, "STKTIPDOC", "STKTIPDOC", 'N', "TIPDOC"));
    add(declareDataset(S, Inv, "ARTIGOSMES", "ARTIGOSMES", 'N', "ARTIGO,ANO,MES"));
    add(declareDataset(S, Inv, "SERVICOS", "SERVICOS", 'N'));
    add(declareDataset(S, Inv, "STKPARGER", "STKPARGER", 'N'));
    add(declareDataset(S, Inv, "STKEXIST", "STKEXIST", 'N', "CODIGO"));
    add(declareDataset(S, Inv, "STKARTGEXIST", "STKARTGEXIST", 'N', "CODIGO,ARTIGO,ANO,ARMAZEM,DESCRI", "ANO = :WANO"));
    add(declareDataset(S, Inv, "LOCTERMINAL", "LOCTERMINAL", 'N', "Codigo"));
    add(declareDataset(S, Inv, "STKENCEXIST", "STKENCEXIST", 'N', "ANO,ENCNRO,ARTIGO,EXTRA", "ANO = :WANO"));
    add(declareDataset(S, Inv, "DEP_COMPRAS", "DEP_COMPRAS", 'N', "Departamento"));
    add(declareDataset(S, Inv, "DEP_COMPRASDET", "DEP_COMPRASDET", 'N', "Departamento,Ano", "Ano = :WAno"));
    add(declareDataset(S, Inv, "STKTIPOCUSTO", "STKTIPOCUSTO", 'N', "TipoCusto"));
    add(declareDataset(S, Inv, "STKCCUSTO", "STKCCUSTO", 'R', "ANO,CODIGO", "ANO = :WAno"));
    add(declareDataset(S, Inv, "STKDESCRI", "STKDESCRI", 'N', "Pais"));

    add(declareDataset("ZURIVAVEZA", App, "ORCPARGER", "ORCPARGER", 'C', "CODIGO"));

    const auto codigo = std::vector<std::pair<QString, QString>>{{"CODIGO", "CODIGO"}};
    linkToMaster(c, "BANCOSSALDOS", "BANCOS", codigo);
    linkToMaster(c, "CLIENTESDOCS", "CLIENTES", codigo);
    linkToMaster(c, "FORNECEDORESDOCS", "FORNECEDORES", codigo);
    linkToMaster(c, "ARTIGOSDOCS", "ARTIGOSCLS", codigo);
    return c;
}

// Users get the update permission, without taking back one already given.
void addUpgradeLicence(VersionStepContext& step)
{
    step.addColumn(QStringLiteral("UTILIZADORES"), QStringLiteral("UPGRADE_LICENSE"), db::FieldType::Text, 1);
    step.db().exec(QStringLiteral("UPDATE UTILIZADORES SET UPGRADE_LICENSE = 'N' "
                                  "WHERE UPGRADE_LICENSE IS NULL"));
}

} // namespace

namespace {

// The pending records and journal of work that spans two databases, in every
// company database.
void addTwoDatabaseWorkTables(VersionStepContext& context)
{
    context.createMissingTables({QStringLiteral("OPERPENDENTE"), QStringLiteral("OPERDIARIO")});
}

} // namespace

SubsystemUnit shellUnit()
{
    using db::FieldType;
    SubsystemUnit unit;
    unit.name = QStringLiteral("shell");
    unit.datasets = shellDatasets();
    unit.createdTables = {createdTable("ACTUAL_VERSAO", "shell",
                                       {{QStringLiteral("EMPRESA"), FieldType::Int32, 0, false},
                                        {QStringLiteral("PROGRAMA"), FieldType::Text, 10, false},
                                        {QStringLiteral("VERSAO"), FieldType::Text, 6, false},
                                        {QStringLiteral("DATULTACT"), FieldType::DateTime, 0, false}})};
    unit.versionSteps = {{2, unit.name, addUpgradeLicence}, {7, unit.name, addTwoDatabaseWorkTables}};
    MainMenu::Menu general;
    general.title = QStringLiteral("&A - Geral");
    general.functions = {menuFunction("GERALPDF", "&C -Informação s/ últimas alterações", "", "", "", true),
                         menuFunction("GERALSAIR", "&C - Sair")};
    unit.menus = {general};
    return unit;
}

} // namespace kv::shell
