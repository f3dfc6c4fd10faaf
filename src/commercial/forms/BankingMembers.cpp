#include "commercial/forms/BankingMembers.h"

namespace kv::commercial {

using kv::text::FieldRule;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// A plain edit of a banking form; on a page when one is given.
CommercialField edit(const char* name, const char* column, const char* caption, const QString& page = {})
{
    CommercialField f;
    f.name = U(name);
    f.column = U(column);
    f.caption = U(caption);
    f.page = page;
    return f;
}

CommercialField beside(CommercialField f)
{
    f.besidePrevious = true;
    return f;
}

// A required text: leaving it empty beeps and keeps the focus, without a message.
CommercialField required(CommercialField f)
{
    f.rule = FieldRule::notEmpty({});
    return f;
}

CommercialTableDescription accountKinds()
{
    CommercialTableDescription m;
    m.formClass = U("TFACF023");
    m.caption = U("Contas Bancárias");
    m.dataset = U("DTTABELAS.BANCOSTABSALDOS");
    m.keyColumn = U("CLASSIF");
    m.keyEdit = U("Edit_Classif");
    m.keyCaption = U("Código : ");
    m.keyLength = 1;
    m.textKeyLow = U("0");
    m.textKeyHigh = U("9");
    m.rangeMessage = U("Digite de [0] a [9]");
    m.duplicateMessage = U("Registo já Existe ... <ENTER>");
    m.rightsProgram = U("Contas Bancarias");
    m.rights = kv::shell::RightsVariant::R2;
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = U("Edit_Descri");
    m.focusAfterNewKey = U("Edit_Descri");
    m.discardOnClose = true;
    CommercialField description = edit("Edit_Descri", "SALDO_DESCRI", "Descrição : ");
    description.rule = FieldRule::notEmpty(U("DDesignação Inválida"));
    description.needsInsertRight = true;
    m.fields = {description};
    m.grid = {{U("CLASSIF"), U("Código"), 6}, {U("SALDO_DESCRI"), U("Descrição"), 18}};
    m.report = {U("TFACFPR023"),
                U("Contas Bancárias"),
                U("Contas Bancárias"),
                {{U("Código"), U("CLASSIF"), 20, Qt::AlignHCenter}, {U("Descrição"), U("SALDO_DESCRI"), 60}}};
    return m;
}

// The files kept as commercial table members: a code from 1 to 99999 typed
// (or proposed), the name first after it, rights under "Ficheiros Base".
CommercialTableDescription file(const char* formClass, CommercialFormKind kind, const char* caption,
                                const char* dataset, const char* keyCaption, const char* duplicate, const char* program)
{
    CommercialTableDescription m;
    m.formClass = U(formClass);
    m.kind = kind;
    m.caption = U(caption);
    m.dataset = U(dataset);
    m.keyColumn = U("CODIGO");
    m.keyEdit = U("Edit_Codigo");
    m.keyCaption = U(keyCaption);
    m.numericKey = true;
    m.high = 99999;
    m.rangeMessage = U("DIGITE DE [1] a [99999]");
    m.duplicateMessage = U(duplicate);
    m.rightsProgram = U(program);
    m.rights = kv::shell::RightsVariant::R3;
    m.keyDisabledOnGridExit = true;
    m.focusAfterGridExit = U("Edit_Nome");
    m.focusAfterNewKey = U("Edit_Nome");
    return m;
}

CommercialTableDescription banks()
{
    CommercialTableDescription m = file("TFACF030A", CommercialFormKind::Banks, "Ficheiro de Bancos", "DTFILES.BANCOS",
                                        "Cód. Banco : ", "BANCO JÁ FOI ABERTO ... <ENTER>", "Bancos");
    m.lookupDatasets = {U("DTTABELAS.BANCOSTABSALDOS"), U("DTTABELAS.PAISES"), U("DTTABELAS.CODPOSTAL")};
    const QString a = U("&A - Identificação ");
    m.fields = {required(edit("Edit_Nome", "NOME", "Nome : ")),
                beside(required(edit("Edit_Sigla", "SIGLA", "Sigla : "))),
                edit("Edit_Agencia", "AGENCIA", "Agência : ", a),
                edit("Edit_Morada1", "MORADA1", "Morada 1 : ", a),
                edit("Edit_Morada2", "MORADA2", "Morada 2 : ", a),
                edit("Edit_CodPostal", "CODPOSTAL", "Código Postal : ", a),
                edit("Edit_Pais", "PAIS", "País : ", a),
                beside(edit("Edit_TelCodPais", "TELCODPAIS", "Indicativos : ", a)),
                beside(edit("Edit_TelCodZona", "TELCODZONA", "", a)),
                edit("Edit_Telefone1", "TELEFONE1", "Telefone : ", a),
                beside(edit("Edit_Telefone2", "TELEFONE2", "", a)),
                edit("Edit_Fax", "FAX", "Fax : ", a),
                edit("Edit_SaldoRecon", "SALDO_RECON", "Saldo Reconciliado : ", a)};
    m.pagesName = U("PageControl1");
    m.grid = {{U("CODIGO"), U("Cód.Banco"), 0},
              {U("NOME"), U("Instituição Bancária"), 0},
              {U("TELEFONE1"), U("Telefone"), 0},
              {U("AGENCIA"), U("Agência"), 0}};
    return m;
}

CommercialTableDescription agents()
{
    CommercialTableDescription m = file("TFACF031", CommercialFormKind::Agents, "Ficheiro de Agentes",
                                        "DTFILES.AGENTES", "Código : ", "AGENTE JÁ FOI ABERTO ... <ENTER>", "Agentes");
    m.lookupDatasets = {U("DTTABELAS.COMISSOES"), U("DTTABELAS.PAISES"), U("DTFILES.BANCOS"), U("DTTABELAS.CODPOSTAL")};
    m.proposeKey = true;
    m.applyOnReturn = ApplyOnReturn::UnlessSkipped;
    m.skipsApplyAfterDelete = true;
    m.statusPanels = 3;
    const QString office = U("Expediente");
    const QString business = U("Inf.Comerciais");
    m.fields = {required(edit("Edit_Nome", "NOME", "Nome : ")),
                beside(edit("Edit_Sigla", "SIGLA", "Sigla : ")),
                edit("Edit_Morada1", "MORADA1", "Morada : "),
                edit("Edit_Morada2", "MORADA2", ""),
                edit("Edit_CodPostal", "CODPOSTAL", "Código Postal :"),
                edit("Edit_DataAbertura", "DATAABERTURA", "Abertura : "),
                edit("Edit_TelCodPais", "TELCODPAIS", "Pais/Zona (TEL) :", office),
                beside(edit("Edit_TelCodZona", "TELCODZONA", "", office)),
                edit("Edit_Telefone", "TELEFONE", "Telefone(s) :", office),
                beside(edit("Edit_Telefone2", "TELEFONE2", "", office)),
                edit("Edit_Fax", "FAX", "Telefax :", office),
                edit("Edit_SiglaNif", "SIGLANIF", "N.I.F. :", business),
                beside(edit("Edit_Nif", "NIF", "", business)),
                edit("Edit_Banco", "BANCO", "Banco :", business),
                edit("Edit_Comissao", "COMISSAO", "Comissão :", business)};
    m.pagesName = U("TabControl");
    m.grid = {{U("CODIGO"), U("Agente Nº"), 0},      {U("NOME"), U("Nome do Agente"), 0},
              {U("TELCODPAIS"), U("Cod.pais"), 0},   {U("TELCODZONA"), U("Cod.Zona"), 0},
              {U("TELEFONE"), U("Telefone - 1"), 0}, {U("FAX"), U("Telefax"), 0}};
    return m;
}

} // namespace

const std::vector<CommercialTableDescription>& bankingMembers()
{
    static const std::vector<CommercialTableDescription> members{accountKinds(), banks(), agents()};
    return members;
}

} // namespace kv::commercial
