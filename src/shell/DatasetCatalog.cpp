#include "shell/DatasetCatalog.h"

namespace kv::shell {
namespace {

using db::DatasetMode;
constexpr auto Inv = CompanyDatabase::Invoicing;
constexpr auto Acc = CompanyDatabase::Accounting;
constexpr auto App = CompanyDatabase::Application;

// Modes as the declarations below write them: R read-only, C cached with the
// update-error dialog, N cached without it (errors reach the caller), X cached
// without update object (changes never written).
DatasetDeclaration entry(const char* module, CompanyDatabase database, const char* name,
                         const char* table, char mode, const char* order = "",
                         const char* where = "")
{
    DatasetDeclaration d;
    d.module = QString::fromLatin1(module);
    d.name = QString::fromLatin1(name);
    d.database = database;
    d.table = QString::fromLatin1(table);
    switch (mode) {
    case 'R': d.mode = DatasetMode::ReadOnly; d.errorHandler = false; break;
    case 'C': d.mode = DatasetMode::Cached; d.errorHandler = true; break;
    case 'N': d.mode = DatasetMode::Cached; d.errorHandler = false; break;
    default: d.mode = DatasetMode::CachedWithoutUpdateObject; d.errorHandler = false; break;
    }
    const QString o = QString::fromLatin1(order);
    if (!o.isEmpty())
        d.orderBy = o.split(QLatin1Char(','));
    d.where = QString::fromLatin1(where);
    return d;
}

std::vector<DatasetDeclaration> buildCatalog()
{
    std::vector<DatasetDeclaration> c;
    auto add = [&c](DatasetDeclaration d) -> DatasetDeclaration& {
        c.push_back(std::move(d));
        return c.back();
    };
    const char* E = "DTEMPRESAS";
    add(entry(E, App, "UTIL", "UTILIZADORES", 'R'));
    add(entry(E, App, "APLICACAOCAP", "APLICACAOCAP", 'R'));
    add(entry(E, App, "APLICACAOMST", "APLICACAOMST", 'R'));
    add(entry(E, App, "APLICACAODET", "APLICACAODET", 'R'));
    add(entry(E, App, "PARAMTMP", "PARAMTMP", 'N'));

    const char* T = "DTTABELAS";
    add(entry(T, Inv, "FACPARGER", "PARGER", 'C', "ANO"));
    add(entry(T, Inv, "COMISSOES", "COMISSOES", 'C', "CODIGO"));
    add(entry(T, Inv, "CUSTARTG", "CUSTARTG", 'C', "TABGRUPO,PAIS,TABCOD,CODIGO",
              "TABGRUPO = :WtabGrupo AND TABCOD = :WtabCod"))
        .filter = DatasetFilter::TableCode;
    add(entry(T, Inv, "CORES", "CORES", 'C', "CODIGO"));
    add(entry(T, Inv, "DESCMERC", "DESCMERC", 'C', "CODIGO"));
    add(entry(T, Inv, "IVA", "IVA", 'C', "CODIGO"));
    add(entry(T, Inv, "CUSTCLI", "CUSTCLI", 'C', "TABCOD,CODIGO")).filter = DatasetFilter::TableCode;
    add(entry(T, Inv, "TAMANHOS", "TAMANHOS", 'C', "CODIGO"));
    add(entry(T, Inv, "PAISES", "PAISES", 'C', "PAIS"));
    add(entry(T, Acc, "MOEDAS", "CNTPMOEDA", 'C', "ANO,DESCRI")).filter = DatasetFilter::WorkingYear;
    add(entry(T, Inv, "DOCPARAM", "DOCPARAM", 'C'));
    add(entry(T, Inv, "CUSTFORN", "CUSTFORN", 'C', "TABCOD,CODIGO")).filter = DatasetFilter::TableCode;
    add(entry(T, Inv, "REGIOES", "REGIOES", 'C', "REGIAO"));
    add(entry(T, Inv, "EXTRAS", "EXTRAS", 'C', "CODIGO"));
    add(entry(T, Inv, "CNDPGT", "CNDPGT", 'C', "CODIGO"));
    add(entry(T, Inv, "FORMAS", "FORMAS", 'C', "FORMA"));
    add(entry(T, Inv, "EMBALAGEM", "EMBALAGEM", 'C', "TIPOEMBALAGEM"));
    add(entry(T, Inv, "CUSTAGENTE", "CUSTAGENTE", 'C', "TABCOD,CODIGO"));
    add(entry(T, Inv, "PROVINCIAS", "PROVINCIAS", 'C', "PROVINCIA"));
    add(entry(T, Inv, "VIATURAS", "VIATURAS", 'C', "VIATURA"));
    add(entry(T, Inv, "FAMILIAS", "FAMILIAS", 'C', "FAMILIA"));
    add(entry(T, Inv, "CODPOSTAL", "CODPOSTAL", 'C', "CODPOSTAL"));
    add(entry(T, Inv, "METEXPEDICAO", "METEXPEDICAO", 'C', "METEXPEDICAO"));
    add(entry(T, Inv, "ARTGCOMP", "ARTGCOMP", 'C', "CODIGO"));
    add(entry(T, Inv, "FACTURAOBS", "FACTURAOBS", 'N'));
    add(entry(T, Inv, "FACDESCRI", "FACDESCRI", 'N'));
    add(entry(T, Inv, "FICTAM", "FICTAM", 'N'));
    add(entry(T, Inv, "CONTABLIG", "CONTABLIG", 'R'));
    add(entry(T, Inv, "PARCUSTOM", "PARCUSTOM", 'N'));
    add(entry(T, Inv, "PARGRUPOS", "PARGRUPOS", 'N', "TABGRUPO,TABCOD"));
    add(entry(T, Inv, "PPAUTAL", "PPAUTAL", 'N'));
    add(entry(T, Inv, "BANCOSTABSALDOS", "BANCOSTABSALDOS", 'N', "CLASSIF"));
    add(entry(T, Inv, "NUMERDOCS", "NUMERDOCS", 'N', "ANO"));
    add(entry(T, Inv, "GRUPOCREDITO", "GRUPOCREDITO", 'C'));
    add(entry(T, Inv, "AVISLANCANX", "AVISLANCANX", 'N', "CODIGO"));
    add(entry(T, Inv, "IVACOMPRAS", "IVACOMPRAS", 'N', "CODIVA"));
    add(entry(T, Inv, "ZONAGEOGRAF", "ZONAGEOGRAF", 'C', "ZONAGEOGRAF"));
    add(entry(T, Inv, "RAMOACTIV", "RAMOACTIV", 'C', "RAMOACTIV"));
    add(entry(T, Inv, "CORESBASE", "CORESBASE", 'N', "CODIGO"));
    add(entry(T, Inv, "MEDIDAS", "MEDIDAS", 'N', "CODIGO"));
    add(entry(T, Inv, "GRAMAGENS", "GRAMAGENS", 'N', "CODIGO"));
    add(entry(T, Inv, "TAB_SERVICOS", "TAB_SERVICOS", 'N', "CODIGO"));
    add(entry(T, Inv, "CODIGOSSIC", "CODIGOSSIC", 'N', "CODIGO"));

    const char* F = "DTFILES";
    add(entry(F, Inv, "BANCOS", "BANCOS", 'C', "CODIGO"));
    add(entry(F, Inv, "CLIENTES", "CLIENTES", 'C', "CODIGO"));
    add(entry(F, Inv, "LOCDESCARGA", "LOCDESCARGA", 'C', "CLINRO,CODIGO"));
    add(entry(F, Inv, "AGENTES", "AGENTES", 'C', "CODIGO"));
    add(entry(F, Inv, "FORNECEDORES", "FORNECEDORES", 'C', "CODIGO"));
    add(entry(F, Inv, "VENDEDORES", "VENDEDORES", 'C', "CODIGO"));
    add(entry(F, Inv, "ARTIGOSCOR", "ARTIGOSCOR", 'R')).columns =
        QStringLiteral("Artigo, SeqNro, Codigo, Cor");
    add(entry(F, Inv, "LOCCARGA", "LOCCARGA", 'C', "CODIGO"));
    add(entry(F, Inv, "ARTIGOSMOE", "ARTIGOSMOE", 'C', "ARTIGO,MOEDA", "ARTIGO = :WMoeArtigo"));
    add(entry(F, Inv, "FACTORING", "FACTORING", 'N', "CODIGO"));
    add(entry(F, Inv, "WORKTAM", "WORKTAM", 'R'));
    add(entry(F, Inv, "ARTGVNDCOM", "ARTGVNDCOM", 'N', "ARTIGO,VENDEDOR"));
    add(entry(F, Inv, "ARTIGOSPAIS", "ARTIGOSPAIS", 'N', "ARTIGO,PAIS", "ARTIGO = :WMoeArtigo"));
    add(entry(F, Inv, "STKARTGFORN", "STKARTGFORN", 'N', "CODARTG,CODFORN", "CODARTG = :CODARTG"));
    add(entry(F, Inv, "FACVALCLI", "FACVALCLI", 'R', "CODIGO,ANO"));
    add(entry(F, Inv, "FRNLOCDESCARGA", "FRNLOCDESCARGA", 'C', "FRNNRO,CODIGO"));
    add(entry(F, Inv, "ENTIDADES", "ENTIDADES", 'C', "CODIGO"));
    add(entry(F, Inv, "WORKEMAIL", "WORKEMAIL", 'R', "UTIL,TIPO,CODIGO", "UTIL = :WUtil"));
    add(entry(F, Inv, "BANCOSSALDOS", "BANCOSSALDOS", 'C', "CODIGO,CLASSIF", "CODIGO = :CODIGO"));
    add(entry(F, Inv, "CONTACTOS", "CONTACTOS", 'C', "TIPOENT,ENTIDADE",
              "TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo"));
    add(entry(F, Inv, "CLIFACAUTO", "CLIFACAUTO", 'C', "CODIGO,DETAIL", "CODIGO = :WCliNro"));
    add(entry(F, Inv, "VNDQUOTA", "VNDQUOTAS", 'N', "Ano,Codigo", "Ano = :WAno"));
    add(entry(F, Inv, "ARTIGOSCLS", "ARTIGOSCLS", 'N', "CODIGO"));
    add(entry(F, Inv, "CLIENTESDOCS", "CLIENTESDOCS", 'N', "CODIGO,DATA,HORA", "CODIGO = :CODIGO"));
    add(entry(F, Inv, "FORNECEDORESDOCS", "FORNECEDORESDOCS", 'N', "CODIGO,DATA,HORA",
              "CODIGO = :CODIGO"));
    add(entry(F, Inv, "ARTIGOSDOCS", "ARTIGOSDOCS", 'N', "CODIGO,DATA,HORA", "CODIGO = :CODIGO"));

    const char* G = "DTGTS";
    for (const char* table : {"CCDOCPARAM", "CLICOBDET", "GTSPARGER", "GTSFRNPARGER", "FCDOCPARAM",
                              "FLIQDOCPARAM", "FRNCOBMAS", "FRNVALCOB", "FRNCOBDET", "FRNAVISOPAG",
                              "AVISOOBS"})
        add(entry(G, Inv, table, table, 'C'));
    add(entry(G, Inv, "CLICOBMAS", "CLICOBMAS", 'C', "CLIENTE"));
    add(entry(G, Inv, "CLICOBREC", "CLICOBREC", 'C', "RECIBO"));
    add(entry(G, Inv, "LIQDOCPARAM", "LIQDOCPARAM", 'C', "CODIGO"));
    add(entry(G, Inv, "CLIVALCOB", "CLIVALCOB", 'C', "CODIGO"));
    add(entry(G, Inv, "RECCOBMAS", "RECCOBMAS", 'C', "RECIBO"));
    add(entry(G, Inv, "RECCOBDET", "RECCOBDET", 'C', "CLIENTE,TIPDOC,DOCNRO"));
    add(entry(G, Inv, "SALDOS", "SALDOS", 'R', "UTIL,FRNCLI,SEQUENCIA",
              "UTIL = :WUtil AND FRNCLI = :WFrnCli"));

    const char* S = "DTSTKPRD";
    add(entry(S, Inv, "STKTRS", "STKTRS", 'C', "TRSCOD"));
    add(entry(S, Inv, "STKARMZ", "STKARMAZEM", 'C', "CODIGO"));
    add(entry(S, Inv, "STKMOVIM", "STKMOV", 'C', "DOCNRO,DETAIL"));
    add(entry(S, Inv, "STKMOVARTG", "STKMOV", 'C', "ARTNRO,DATMOV"));
    add(entry(S, Inv, "STKARTGARMZ", "STKARTGARMZ", 'R', "ARTIGO,ANO,CODIGO", "ANO = :WAno"))
        .columns = QStringLiteral("ARTIGO, ANO, CODIGO, EXIQTD00, EXIVAL00, EXIQTD, EXIVAL");
    add(entry(S, Inv, "STKTIPDOC", "STKTIPDOC", 'N', "TIPDOC"));
    add(entry(S, Inv, "ARTIGOSMES", "ARTIGOSMES", 'N', "ARTIGO,ANO,MES"));
    add(entry(S, Inv, "SERVICOS", "SERVICOS", 'N'));
    add(entry(S, Inv, "STKPARGER", "STKPARGER", 'N'));
    add(entry(S, Inv, "STKEXIST", "STKEXIST", 'N', "CODIGO"));
    add(entry(S, Inv, "STKARTGEXIST", "STKARTGEXIST", 'N', "CODIGO,ARTIGO,ANO,ARMAZEM,DESCRI",
              "ANO = :WANO"));
    add(entry(S, Inv, "LOCTERMINAL", "LOCTERMINAL", 'N', "Codigo"));
    add(entry(S, Inv, "STKENCEXIST", "STKENCEXIST", 'N', "ANO,ENCNRO,ARTIGO,EXTRA", "ANO = :WANO"));
    add(entry(S, Inv, "DEP_COMPRAS", "DEP_COMPRAS", 'N', "Departamento"));
    add(entry(S, Inv, "DEP_COMPRASDET", "DEP_COMPRASDET", 'N', "Departamento,Ano", "Ano = :WAno"));
    add(entry(S, Inv, "STKTIPOCUSTO", "STKTIPOCUSTO", 'N', "TipoCusto"));
    add(entry(S, Inv, "STKCCUSTO", "STKCCUSTO", 'R', "ANO,CODIGO", "ANO = :WAno"));
    add(entry(S, Inv, "STKDESCRI", "STKDESCRI", 'N', "Pais"));

    const char* Z = "ZURIVAVEZA";
    add(entry(Z, App, "ORCPARGER", "ORCPARGER", 'C', "CODIGO"));
    for (const char* table : {"PAPEIS", "TINTAS", "VERNIZES", "COLAS", "FILMEPLAS", "PVC",
                              "ACABAMENTO", "OPERCORTE", "MAQUINAS", "TIRAGLIQ", "CUSTFIXOS"})
        add(entry(Z, App, table, table, 'C', "CODIGO"));
    add(entry(Z, App, "CUSTRANSP", "CUSTRANSP", 'C', "PAIS,REGIAO,PROVINCIA"));
    add(entry(Z, App, "SUBCONT", "SUBCONTRATO", 'C', "CODIGO"));
    add(entry(Z, App, "PROCMAS", "PROCMAS", 'N', "CODIGO"));
    add(entry(Z, App, "TIPOTAB", "TIPOTAB", 'N', "CODIGO"));
    add(entry(Z, App, "PROCDET", "PROCDET", 'N', "CODIGO", "CODIGO = :CODIGO"));
    add(entry(Z, App, "ORCMAS", "ORCMAS", 'C', "CODIGO,SUBCODIGO"));
    add(entry(Z, App, "ORCDET", "ORCDET", 'C', "Codigo,SubCodigo,Detail",
              "Codigo = :Codigo AND SubCodigo = :SubCodigo"));
    add(entry(Z, App, "PROCMASTEMP", "PROCMASTEMP", 'X', "UTIL,CODIGO", "UTIL = :WUtil"));
    for (const char* table : {"SALDOS", "SALDOS1", "SALDOS2"})
        add(entry(Z, App, table, table, 'R', "Util,Programa,Sequencia",
                  "Util = :WUtil AND Programa = :WProg"));
    add(entry(Z, App, "ORDFABDET", "ORDFABDET", 'R', "ANO,SEMANA,ORDNRO"));
    add(entry(Z, App, "ORCCONSUMOS", "ORCCONSUMOS", 'R', "CODIGO,SUBCODIGO,DETAIL"));
    add(entry(Z, App, "PLN_FICTEC", "PLN_FICTEC", 'N', "CLIENTE,ARTIGO"));

    // Details that follow their master's current row.
    auto link = [&c](const char* detail, const char* master,
                     std::vector<std::pair<QString, QString>> params) {
        for (DatasetDeclaration& d : c)
            if (d.name == QLatin1String(detail)) {
                d.master = QString::fromLatin1(master);
                d.masterParams = std::move(params);
                return;
            }
    };
    const auto codigo = std::vector<std::pair<QString, QString>>{{"CODIGO", "CODIGO"}};
    link("BANCOSSALDOS", "BANCOS", codigo);
    link("CLIENTESDOCS", "CLIENTES", codigo);
    link("FORNECEDORESDOCS", "FORNECEDORES", codigo);
    link("ARTIGOSDOCS", "ARTIGOSCLS", codigo);
    link("PROCDET", "PROCMAS", codigo);
    link("ORCDET", "ORCMAS", {{"Codigo", "CODIGO"}, {"SubCodigo", "SUBCODIGO"}});
    return c;
}

} // namespace

QString DatasetDeclaration::selectSql(const QStringList& key) const
{
    QString sql = QStringLiteral("SELECT %1 FROM %2")
                      .arg(columns.isEmpty() ? QStringLiteral("*") : columns, table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    const QStringList order = orderBy.isEmpty() ? key : orderBy;
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    return sql;
}

const QStringList& dataModuleNames()
{
    static const QStringList names{"DTDATABASE", "DTEMPRESAS", "DTTABELAS", "DTFILES",
                                   "DTGTS",      "DTSTKPRD",   "ZURIVAVEZA", "DTVERSAO"};
    return names;
}

const QStringList& shutdownFreeOrder()
{
    static const QStringList names{"DTEMPRESAS", "DTFILES", "DTGTS",
                                   "DTSTKPRD",   "DTTABELAS", "DTDATABASE"};
    return names;
}

const std::vector<DatasetDeclaration>& datasetCatalog()
{
    static const std::vector<DatasetDeclaration> catalog = buildCatalog();
    return catalog;
}

} // namespace kv::shell
