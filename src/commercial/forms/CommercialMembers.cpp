#include "commercial/forms/CommercialMembers.h"

#include "commercial/core/TransportModes.h"

#include "platform/report/RowSource.h"

namespace kv::commercial {

using kv::text::FieldRule;

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }

CommercialField field(const char* name, const char* column, const char* caption)
{
    CommercialField f;
    f.name = S(name);
    f.column = S(column);
    f.caption = S(caption);
    return f;
}

CommercialField lookupField(const char* name, const char* column, const char* caption, const char* dataset,
                            const char* title, const char* sideDoor, const char* form, const char* program)
{
    CommercialField f = field(name, column, caption);
    const QString number = S(form).mid(5);
    f.lookup = LookupSpec{S(dataset), S(column), S(title), S(sideDoor), S(form), S("TFACFPR") + number, S(program)};
    f.needsInsertRight = true;
    return f;
}

CommercialReportColumn reportColumn(const char* title, const char* column, double width,
                                    Qt::Alignment alignment = Qt::AlignLeft)
{
    return {S(title), S(column), width, alignment};
}

// The members whose only column is their name: a new name is saved as soon
// as it is accepted.
CommercialTableDescription nameList(const char* formClass, const char* table, const char* keyEdit, const char* caption,
                                    const char* gridTitle, const char* duplicate, const char* program)
{
    CommercialTableDescription m;
    m.formClass = S(formClass);
    m.dataset = S("DTTABELAS.") + S(table);
    m.keyColumn = S(table);
    m.keyEdit = S(keyEdit);
    m.keyCaption = S(caption);
    m.duplicateMessage = S(duplicate);
    m.rightsProgram = S(program);
    m.focusAfterGridExit = m.keyEdit;
    m.focusAfterNewKey = SaveRow;
    m.grid = {{S(table), S(gridTitle), 0}};
    return m;
}

CommercialTableDescription postalCodes()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF008");
    m.dataset = S("DTTABELAS.CODPOSTAL");
    m.lookupDatasets = {S("DTTABELAS.PAISES"), S("DTTABELAS.REGIOES"), S("DTTABELAS.PROVINCIAS"),
                        S("DTTABELAS.ZONAGEOGRAF")};
    m.keyColumn = S("CODPOSTAL");
    m.keyEdit = S("Edit_CodPostal");
    m.keyCaption = S("Cód.Postal : ");
    m.keyLength = 8;
    m.duplicateMessage = S("CÓDIGO POSTAL JÁ EXISTE ... <ENTER>");
    m.rightsProgram = S("Codigos Postais");
    m.focusAfterGridExit = S("Edit_Localidade");
    m.focusAfterNewKey = S("Edit_Localidade");
    CommercialField locality = field("Edit_Localidade", "LOCALIDADE", "Localidade : ");
    locality.rule = FieldRule::notEmpty({});
    locality.needsInsertRight = true;
    m.fields = {
        locality,
        lookupField("Edit_Pais", "PAIS", "País : ", "DTTABELAS.PAISES", "PAÍS", "BotPaises", "TFACF005", "Paises"),
        lookupField("Edit_Regiao", "REGIAO", "Região : ", "DTTABELAS.REGIOES", "REGIÃO", "BotRegiao", "TFACF006",
                    "Regioes"),
        lookupField("Edit_Provincia", "PROVINCIA", "Província : ", "DTTABELAS.PROVINCIAS", "PROVÍNCIA", "BotProvincia",
                    "TFACF007", "Provincias"),
        lookupField("Edit_ZonaGeograf", "ZONAGEOGRAF", "Zona Geográfica : ", "DTTABELAS.ZONAGEOGRAF", "ZONA GEOGRÁFICA",
                    "BotZonaGeograf", "TFACF007A", "Zonas Geograficas"),
        field("DBEdit1", "TELCODZONA", "Indicativo (TEL) : ")};
    m.grid = {{S("CODPOSTAL"), S("Cód.Postal"), 0},
              {S("LOCALIDADE"), S("Localidade"), 0},
              {S("ZONAGEOGRAF"), S("Zona Geográfica"), 0},
              {S("REGIAO"), S("Região"), 0}};
    m.report = {S("TFACFPR008"),
                S("Tabela de Códigos Postais"),
                S("Códigos Postais"),
                {reportColumn("Cód.Postal", "CODPOSTAL", 18), reportColumn("Localidade", "LOCALIDADE", 42),
                 reportColumn("Indic..Zona (Tel)", "TELCODZONA", 22, Qt::AlignHCenter),
                 reportColumn("Zona Geográfica", "ZONAGEOGRAF", 27), reportColumn("Província", "PROVINCIA", 27),
                 reportColumn("Região", "REGIAO", 27), reportColumn("País", "PAIS", 27)}};
    return m;
}

CommercialTableDescription regions()
{
    CommercialTableDescription m = nameList("TFACF006", "REGIOES", "Edit_Regiao", "Região : ", "Região",
                                            "REGIÃO JÁ FOI ABERTA ... <ENTER>", "Regioes");
    m.keyColumn = S("REGIAO");
    m.grid.front().column = m.keyColumn;
    m.focusAfterGridExit = StayForEnter;
    m.deletionAtOnce = false;
    m.report = {S("TFACFPR006"), S("Tabela de Regiões"), S("Regiões"), {reportColumn("Região", "REGIAO", 60)}};
    return m;
}

CommercialTableDescription provinces()
{
    CommercialTableDescription m = nameList("TFACF007", "PROVINCIAS", "Edit_Provincia", "Provincia : ", "Província",
                                            "PROVÍNCIA JÁ FOI ABERTA ... <ENTER>", "Provincias");
    m.keyColumn = S("PROVINCIA");
    m.grid.front().column = m.keyColumn;
    m.report = {
        S("TFACFPR007"), S("Tabela de Províncias"), S("Províncias"), {reportColumn("Província", "PROVINCIA", 60)}};
    return m;
}

CommercialTableDescription zones()
{
    CommercialTableDescription m =
        nameList("TFACF007A", "ZONAGEOGRAF", "Edit_ZonaGeo", "Zona Geográfica : ", "Zona Geográfica",
                 "Zona Geográfica já Existe ... <ENTER>", "Zonas Geograficas");
    m.report = {S("TFACFPR007A"),
                S("Tabela de Zonas Geográficas"),
                S("Zonas Geográficas"),
                {reportColumn("Zona Geografica", "ZONAGEOGRAF", 60)}};
    return m;
}

CommercialTableDescription businessSectors()
{
    CommercialTableDescription m =
        nameList("TFACF004A", "RAMOACTIV", "Edit_RamoActiv", "Ramo de Actividade : ", "Ramo de Actividade",
                 "Ramo de Actividade já Existe ... <ENTER>", "Ramo de Actividade");
    m.caption = S("Tabela de Ramos de Actividade");
    m.report = {S("TFACFPR004A"),
                S("Tabela de Ramos de Actividade"),
                S("Ramos de Actividade"),
                {reportColumn("Ramos de Actividade", "RAMOACTIV", 60)}};
    return m;
}

// The numbered members whose Inserir proposes the last number + 1.
CommercialTableDescription numbered(const char* formClass, const char* table, qint64 high, const char* range,
                                    const char* duplicate, const char* program)
{
    CommercialTableDescription m;
    m.formClass = S(formClass);
    m.dataset = S("DTTABELAS.") + S(table);
    m.keyColumn = S("CODIGO");
    m.keyEdit = S("Edit_Codigo");
    m.keyCaption = S("Código :");
    m.numericKey = true;
    m.proposeKey = true;
    m.high = high;
    m.rangeMessage = S(range);
    m.duplicateMessage = S(duplicate);
    m.rightsProgram = S(program);
    return m;
}

CommercialTableDescription paymentConditions()
{
    CommercialTableDescription m =
        numbered("TFACF003A", "CNDPGT", 9999, "CÓDIGO DE REGISTO INVÁLIDO... DIGITE DE [1] a [9999]",
                 "REGISTO JÁ FOI ABERTO ... <ENTER>", "Condicoes de Pagamento");
    m.applyOnReturn = ApplyOnReturn::UnlessSkipped;
    m.skipsApplyAfterDelete = true;
    m.applyOnCloseWhileEditing = true;
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = S("Edit_NrDias");
    m.focusAfterNewKey = S("Edit_NrDias");
    m.newRowDefaults = {{S("TIPDOC"), S("C")}, {S("VENCDOC"), S("F")}};
    CommercialField settlement = field("Edit_TipDoc", "TIPDOC", "Tipo Liquidação :");
    settlement.upperCase = true;
    settlement.hint = S("DIGITE [C ; L ; T ; D ; V ; M]");
    settlement.rule = FieldRule::oneOf({S("C"), S("L"), S("T"), S("D"), S("V"), S("M")}, settlement.hint);
    CommercialField due = field("Edit_VencDoc", "VENCDOC", "Venc. s/ Documento :");
    due.upperCase = true;
    due.hint = S("DIGITE [F ; V ; P ; R ; G]");
    due.rule = FieldRule::oneOf({S("F"), S("V"), S("P"), S("R"), S("G")}, due.hint);
    CommercialField discount = field("Edit_PrcDesc", "PRCDESC", "Desconto :");
    discount.suffix = S("%");
    CommercialField commercialCost = field("DBEdit1", "PERCCOM", "C.Comercial : ");
    commercialCost.suffix = S("%");
    m.fields = {field("Edit_NrDias", "NRDIAS", "Nº de Dias :"),
                settlement,
                field("DBEdit4", "DESCRI", "Designação :"),
                due,
                discount,
                commercialCost};
    m.grid = {{S("CODIGO"), S("Código"), 0},      {S("NRDIAS"), S("Nº Dias"), 0},
              {S("TIPDOC"), S("Tipo Doc."), 0},   {S("VENCDOC"), S("Venc.S/ Tipo Doc."), 0},
              {S("DESCRI"), S("Designação"), 0},  {S("PRCDESC"), S("% Descto"), 0},
              {S("PERCCOM"), S("C.Comercial"), 0}};
    m.report = {S("TFACFPR003A"),
                S("Tabela de Condições de Pagamento"),
                S("Condições de Pagamento"),
                {reportColumn("Código", "CODIGO", 15), reportColumn("Doc.Liq.", "TIPDOC", 18, Qt::AlignHCenter),
                 reportColumn("Doc.Vencc.", "VENCDOC", 20, Qt::AlignHCenter), reportColumn("Designação", "DESCRI", 55),
                 reportColumn("% Desconto", "PRCDESC", 25, Qt::AlignRight),
                 reportColumn("% C.Comercial", "PERCCOM", 28, Qt::AlignRight)}};
    return m;
}

CommercialTableDescription transportConditions()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF003B");
    m.caption = S("Condições de Transporte");
    m.dataset = S("DTTABELAS.FORMAS");
    m.keyColumn = S("FORMA");
    m.keyEdit = S("Edit_Forma");
    m.keyCaption = S("Código :");
    m.keyLength = 5;
    m.duplicateMessage = S("REGISTO JÁ FOI ABERTO ... <ENTER>");
    m.rightsProgram = S("Condicoes de Transporte");
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = S("Edit_DesignForma");
    m.focusAfterNewKey = S("Edit_DesignForma");
    m.applyOnReturn = ApplyOnReturn::WhileEditing;
    m.applyOnCloseWhileEditing = true;
    m.deletionKeepsFocus = true;
    CommercialField place = field("Edit_DesignLocalidade", "DESIGNLOCALIDADE", "");
    place.besidePrevious = true;
    CommercialField commercialCost = field("DBEdit1", "PERCCOM", "C.Comercial : ");
    commercialCost.suffix = S("%");
    m.fields = {field("Edit_DesignForma", "DESIGNFORMA", "Forma/Localid. :"), place, commercialCost};
    m.grid = {{S("FORMA"), S("Código"), 0},
              {S("DESIGNFORMA"), S("Forma"), 0},
              {S("DESIGNLOCALIDADE"), S("Localidade"), 0},
              {S("PERCCOM"), S("C.Comercial"), 0}};
    m.report = {S("TFACFPR003B"),
                S("Tabela de Condições de Transporte"),
                S("Condições de Transporte"),
                {reportColumn("Código", "FORMA", 18), reportColumn("Forma", "DESIGNFORMA", 60),
                 reportColumn("Localidade", "DESIGNLOCALIDADE", 40),
                 reportColumn("% C.Comercial", "PERCCOM", 28, Qt::AlignHCenter)}};
    return m;
}

CommercialTableDescription shippingMethods()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF017");
    m.caption = S("Tabela de Metodos de Expedição");
    m.dataset = S("DTTABELAS.METEXPEDICAO");
    m.keyColumn = S("METEXPEDICAO");
    m.keyEdit = S("Edit_MetExp");
    m.keyCaption = S("Mét.Expedição : ");
    m.duplicateMessage = S("MÉT.EXPEDIÇÃO JÁ EXISTE ... <ENTER>");
    m.rightsProgram = S("Metodos Expedicao");
    m.rights = kv::shell::RightsVariant::R3;
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = S("Edit_tipo");
    m.focusAfterNewKey = StayForEnter;
    CommercialField mode = field("Edit_tipo", "TIPO", "Modo Transporte : ");
    mode.rule = FieldRule::oneOf(transportModeCodes(), S("Modo de Transporte Inválido !!!"));
    mode.helpPanel = S("Panel_ModoTransporte");
    mode.helpTitle = S("Modo de Transporte");
    for (const auto& [code, name] : transportModes())
        mode.helpLines << QStringLiteral("( %1 ) %2").arg(code, name);
    CommercialField cost = field("Edit_Custo", "PERCUSTO", "(%) Custo : ");
    cost.savesRow = true;
    m.fields = {mode, cost};
    m.grid = {
        {S("METEXPEDICAO"), S("Met.Expedição"), 0}, {S("TIPO"), S("Tipo"), 0}, {S("PERCUSTO"), S("(%) Custo"), 0}};
    CommercialReportColumn modeName = reportColumn("Modo de Transporte", "", 60);
    modeName.text = [](const kv::report::RowView& row) {
        return transportModeName(row.value(QStringLiteral("TIPO")).toString());
    };
    m.report = {S("TFACFPR017"),
                S("Tabela de Métodos de Expedição"),
                S("Métodos de Expedição"),
                {reportColumn("Mét.Expedição", "METEXPEDICAO", 50), modeName,
                 reportColumn("(%) Custo", "PERCUSTO", 25, Qt::AlignRight)}};
    return m;
}

CommercialTableDescription goodsDiscounts()
{
    CommercialTableDescription m = numbered("TFACF002", "DESCMERC", 999, "DIGITE DE [1] a [999]",
                                            "CÓDIGO DE DESCONTO JÁ EXISTE ... <ENTER>", "Descontos de Mercadorias");
    m.caption = S("Descontos de Mercadoria");
    m.rights = kv::shell::RightsVariant::R2;
    m.focusAfterGridExit = S("Edit_Desc01");
    m.focusAfterNewKey = S("Edit_Desc01");
    CommercialField first = field("Edit_Desc01", "DESC01", "% Desconto :");
    first.rule = FieldRule::notEmpty(S("% DE DESCONTO INVÁLIDA ..."));
    first.needsInsertRight = true;
    m.fields = {first};
    for (const char* name : {"Edit_Desc02", "Edit_Desc03", "Edit_Desc04"}) {
        CommercialField more = field(name, "", "+");
        more.column = QStringLiteral("DESC") + more.name.right(2);
        more.besidePrevious = true;
        more.needsInsertRight = true;
        m.fields.push_back(more);
    }
    CommercialField description = field("Edit_Descri", "DESCRI", "Descrição :");
    description.warnIfEmpty = S("DESIGNAÇÃO INVÁLIDA");
    description.needsInsertRight = true;
    m.fields.push_back(description);
    m.grid = {{S("CODIGO"), S("Código"), 0},     {S("DESCRI"), S("Descrição"), 0},  {S("DESC01"), S("Descto - 1"), 0},
              {S("DESC02"), S("Descto - 2"), 0}, {S("DESC03"), S("Descto - 3"), 0}, {S("DESC04"), S("Descto - 4"), 0}};
    m.report = {S("TFACFPR002"),
                S("Tabela de Descontos de Mercadorias"),
                S("Tabela de Descontos de Mercadorias"),
                {reportColumn("Código", "CODIGO", 15), reportColumn("% DESC.01", "DESC01", 22, Qt::AlignRight),
                 reportColumn("% DESC.02", "DESC02", 22, Qt::AlignRight),
                 reportColumn("% DESC.03", "DESC03", 22, Qt::AlignRight),
                 reportColumn("% DESC.04", "DESC04", 22, Qt::AlignRight), reportColumn("Descritivo", "DESCRI", 45)}};
    return m;
}

CommercialTableDescription compositions()
{
    CommercialTableDescription m = numbered("TFACF026", "ARTGCOMP", 9999, "DIGITE DE [1] a [9999]",
                                            "CÓDIGO DE COMPOSIÇÃO JÁ EXISTE ... <ENTER>", "Composicoes de Artigos");
    m.caption = S("Tabela de Composições de Artigos");
    m.rights = kv::shell::RightsVariant::R3;
    m.keyTakenAtOnce = true;
    m.keyDisabledOnGridExit = true;
    m.keyDisabledOnlyWhenCodeNotZero = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = S("Edit_Design");
    m.focusAfterNewKey = S("Edit_Design");
    m.fields = {field("Edit_Design", "DESIGNACAO", "Composição :"),
                field("Edit_ReduzCodigo", "REDUZCODIGO", "Desc.ReduzCódigo :"),
                field("Edit_ReduzDesign", "REDUZDESIGN", "Desc.Reduz.Designação :")};
    m.grid = {{S("CODIGO"), S("Código"), 0},
              {S("DESIGNACAO"), S("Composição"), 0},
              {S("REDUZCODIGO"), S("Desc.Redz.Cód."), 0},
              {S("REDUZDESIGN"), S("Desc.Reduz.Design."), 0}};
    m.report = {S("TFACFPR026"),
                S("Tabela de Composições de Artigos"),
                S("Tabela de Composições de artigos"),
                {reportColumn("Código", "CODIGO", 15), reportColumn("Composição", "DESIGNACAO", 60),
                 reportColumn("Desc.Reduz.Código", "REDUZCODIGO", 30),
                 reportColumn("Desc.Reduz.Designação", "REDUZDESIGN", 60)}};
    return m;
}

CommercialTableDescription tariffPositions()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF019");
    m.caption = S("Tabela de Posição Pautal");
    m.dataset = S("DTTABELAS.PPAUTAL");
    m.keyColumn = S("CODIGO");
    m.keyEdit = S("Edit_PPautal");
    m.keyCaption = S("Pos.Pautal : ");
    m.keyLength = 18;
    m.duplicateMessage = S("CÓDIGO JÁ FOI ABERTO ... <ENTER>");
    m.rightsProgram = S("Posicoes Pautais");
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = S("Edit_Design");
    m.focusAfterNewKey = StayForEnter;
    CommercialField designation = field("Edit_Design", "DESIGN", "Designação : ");
    designation.rule = FieldRule::notEmpty(S("Insira a Designação !!!"));
    CommercialField netMass = field("Edit_ML", "MLIQUIDA", "Massa Liquida : ");
    netMass.suffix = S("( S/N )");
    netMass.rule = FieldRule::oneOf({S("S"), S("N")}, {});
    netMass.savesRow = true;
    m.fields = {designation, netMass};
    m.grid = {{S("CODIGO"), S("Código"), 0}, {S("DESIGN"), S("Designação"), 0}, {S("MLIQUIDA"), S("M.L."), 0}};
    m.report = {S("TFACFPR019"),
                S("Tabela de Posicões Pautais"),
                S("Tabela de Posicões Pautais"),
                {reportColumn("P.Pautal", "CODIGO", 40), reportColumn("Designação", "DESIGN", 90)}};
    return m;
}

CommercialTableDescription currencies()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF009");
    m.caption = S("Tabela de Moedas");
    m.dataset = S("DTTABELAS.MOEDAS");
    m.keyColumn = S("DESCRI");
    m.keyEdit = S("Edit_Moeda");
    m.keyCaption = S("Moeda : ");
    m.keyLength = 3;
    m.workingYearKey = true;
    m.duplicateMessage = S("MOEDA JÁ FOI ABERTA ... <ENTER>");
    m.rightsProgram = S("Moedas");
    m.applyOnReturn = ApplyOnReturn::UnlessSkipped;
    m.focusAfterGridExit = S("Edit_CambEuro");
    m.focusAfterNewKey = StayForEnter;
    m.keyEnabledOnReturn = true;
    m.fields = {field("Edit_CambEuro", "CAMBEURO", "Valor Euro : ")};
    m.grid = {{S("DESCRI"), S("Moeda"), 0}, {S("CAMBEURO"), S("Taxa Conversão"), 0}};
    m.report = {S("TFACFPR009"),
                S("Tabela de Moedas"),
                S("Tabela de Moedas"),
                {reportColumn("Moeda", "DESCRI", 20), reportColumn("Valor Euro", "CAMBEURO", 30, Qt::AlignRight)}};
    return m;
}

CommercialTableDescription vatCodes()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF003");
    m.kind = CommercialFormKind::VatCodes;
    m.caption = S("Tabela do IVA");
    m.dataset = S("DTTABELAS.IVA");
    m.lookupDatasets = {S("DTTABELAS.IVACOMPRAS")};
    m.keyColumn = S("CODIGO");
    m.keyEdit = S("Edit_Codigo");
    m.keyCaption = S("Código : ");
    m.numericKey = true;
    m.proposeKey = true;
    m.high = 999;
    m.rangeMessage = S("Digite de [1...999]");
    m.duplicateMessage = S("CÓDIGO DE IVA JÁ EXISTE ... <ENTER>");
    m.rightsProgram = S("I.V.A.");
    m.rights = kv::shell::RightsVariant::R3;
    m.workingYearMessage = S("PARAMETROS GERAIS INEXISTENTES");
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = S("Edit_PrcIva");
    m.focusAfterNewKey = S("Edit_PrcIva");
    CommercialField rate;
    rate.name = S("Edit_PrcIva");
    rate.column = S("PRCIVA");
    rate.caption = S("Taxa do I.V.A. : ");
    rate.rule = kv::text::FieldRule::notEmpty(S("Taxo do IVA Inválida ..."));
    rate.needsInsertRight = true;
    rate.width = 8;
    m.fields = {rate};
    m.grid = {{S("CODIGO"), S("Código"), 0},
              {S("PRCIVA"), S("Taxa"), 8},
              {S("CODIVA"), S("Nac"), 4},
              {S("CODIVA_MC"), S("Com"), 4},
              {S("CODIVA_OU"), S("Out"), 4},
              {S("CONTAVENDAS"), S("Conta IVA Vendas"), 0},
              {S("CONTADEVOLUC"), S("Conta IVA Devoluc"), 0}};
    m.report = {S("TFACFPR003"),
                S("Tabela do I.V.A."),
                S("Tabela do I.V.A."),
                {{S("Código"), S("CODIGO"), 20, Qt::AlignRight}, {S("Taxa"), S("PRCIVA"), 30, Qt::AlignRight}}};
    return m;
}

CommercialTableDescription countries()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF005");
    m.kind = CommercialFormKind::Countries;
    m.dataset = S("DTTABELAS.PAISES");
    m.keyColumn = S("PAIS");
    m.keyEdit = S("Edit_Pais");
    m.keyCaption = S("País : ");
    m.duplicateMessage = S("País já foi Aberto ...");
    m.rightsProgram = S("Paises");
    m.workingYearMessage = S("PARAMETROS GERAIS INEXISTENTES");
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = StayForEnter;
    m.focusAfterNewKey = S("Edit_Sigla");
    // The first root of each group opens with a new customer or supplier; the others on request.
    for (const char* group : {"CLIOPEN", "FRNOPEN", "FRNOPENI", "FRNOPENA", "FRNOPENO"})
        for (int row = 1; row <= 5; ++row)
            m.newRowDefaults.emplace_back(S(group) + QString::number(row), row == 1 ? S("S") : S("N"));
    const QString identification = S("Identificação");
    CommercialField abbreviation = field("Edit_Sigla", "SIGLA", "Sigla :");
    abbreviation.page = identification;
    CommercialField dialling = field("Edit_Indicativo", "TELCODPAIS", "Indicativo (TEL) :");
    dialling.page = identification;
    CommercialField market = field("Edit_Mercado", "MERCADO", "Mercado : ");
    market.page = identification;
    market.upperCase = true;
    market.rule = FieldRule::oneOf({S("N"), S("E"), S("O")}, S("DIGITE [N];[E];[O]"));
    market.helpPanel = S("PanelMercado");
    market.helpLines = {S("(N) - Nacional"), S("(E) - Comunidade Europeia"), S("(O) - Outros Paises")};
    m.fields = {abbreviation, dialling, market};
    m.pagesName = S("TabControl");
    m.grid = {{S("PAIS"), S("Páis"), 0},
              {S("SIGLA"), S("Sigla"), 5},
              {S("TELCODPAIS"), S("Indic.País"), 8},
              {S("MERCADO"), S("Mercado"), 7}};
    m.report = {S("TFACFPR005"),
                S("Tabela de Países"),
                S("Paises"),
                {reportColumn("País", "PAIS", 50), reportColumn("Sigla", "SIGLA", 20),
                 reportColumn("Indicativo (Tel.)", "TELCODPAIS", 30, Qt::AlignHCenter),
                 reportColumn("Mercado", "MERCADO", 20, Qt::AlignHCenter)}};
    return m;
}

CommercialTableDescription families()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF011");
    m.kind = CommercialFormKind::Families;
    m.caption = S("Tabela de Famílias de Artigos");
    m.dataset = S("DTTABELAS.FAMILIAS");
    m.keyColumn = S("FAMILIA");
    m.keyEdit = S("Edit_Familia");
    m.keyCaption = S("Família : ");
    m.duplicateMessage = S("FAMÍLIA JÁ FOI ABERTA ... <ENTER>");
    m.rightsProgram = S("Familias de Artigos");
    m.workingYearMessage = S("Parâmetros Gerais Inexistentes ...");
    m.keyDisabledOnGridExit = true;
    m.keyEnabledOnReturn = true;
    m.focusAfterGridExit = StayForEnter;
    m.focusAfterNewKey = StayForEnter;
    m.grid = {{S("FAMILIA"), S("Familia"), 0}};
    m.report = {S("TFACFPR011"),
                S("Tabela de Famílias de Artigos"),
                S("Tabela de Familia de Artigos"),
                // Titles only: the families' list lays its lines out itself.
                {reportColumn("Família", "", 38), reportColumn("C/Custo", "", 16), reportColumn("T.A.", "", 14),
                 reportColumn("Mercado Nacional", "", 40), reportColumn("Mercado Intracom.", "", 40),
                 reportColumn("Outros Mercados", "", 40)}};
    return m;
}

CommercialTableDescription commissionRates()
{
    CommercialTableDescription m = numbered("TFACF004", "COMISSOES", 999, "DIGITE DE [1] a [999]",
                                            "CÓDIGO DE COMISSÃO JÁ EXISTE ... <ENTER>", "Comissoes");
    m.caption = S("Tabela de Comissões");
    m.keyCaption = S("Código : ");
    m.keyDisabledOnGridExit = true;
    m.keyDisabledOnlyWhenCodeNotZero = true;
    m.keyEnabledOnReturn = true;
    m.editNeedsInsertRight = true;
    m.focusAfterGridExit = S("Edit_PrcCom");
    m.focusAfterNewKey = S("Edit_PrcCom");
    CommercialField rate = field("Edit_PrcCom", "PRCCOM", "% Comissão : ");
    rate.rule = FieldRule::notEmpty(S("% COMISSÃO INVÁLIDA INVÁLIDA ..."));
    rate.needsInsertRight = true;
    rate.width = 9;
    m.fields = {rate};
    m.grid = {{S("CODIGO"), S("Código"), 0}, {S("PRCCOM"), S("(%) Comiss."), 0}};
    m.report = {S("TFACFPR004"),
                S("Tabela de Comissoes"),
                S("Comissões"),
                {reportColumn("Código", "CODIGO", 20, Qt::AlignHCenter),
                 reportColumn("COMISSÃO", "PRCCOM", 30, Qt::AlignRight)}};
    return m;
}

// A code of another table typed or chosen with the Insert key, its side
// door beside it and what the code names after them.
CommercialField codeField(const char* name, const char* column, const char* caption, const char* dataset,
                          const char* listColumn, std::vector<std::pair<QString, QString>> list,
                          std::vector<int> widths, const char* sideDoor, const char* form, const char* program,
                          const char* companion, int companionWidth)
{
    CommercialField f = field(name, column, caption);
    const QString number = S(form).mid(5);
    f.lookup = LookupSpec{S(dataset), S(listColumn), {}, S(sideDoor), S(form), S("TFACFPR") + number, S(program)};
    f.lookup->byInsertKey = true;
    f.lookup->listColumns = std::move(list);
    f.lookup->listWidths = std::move(widths);
    f.hint = S("Tecla <Insert>, Procurar");
    f.companion = S(companion);
    f.companionWidth = companionWidth;
    return f;
}

CommercialTableDescription salesmen()
{
    CommercialTableDescription m;
    m.formClass = S("TFACF030");
    m.kind = CommercialFormKind::Salesmen;
    m.caption = S("Ficheiro de Vendedores");
    m.dataset = S("DTFILES.VENDEDORES");
    m.lookupDatasets = {S("DTTABELAS.COMISSOES"), S("DTTABELAS.CODPOSTAL")};
    m.keyColumn = S("CODIGO");
    m.keyEdit = S("Edit_Codigo");
    m.keyCaption = S("Código :");
    m.numericKey = true;
    m.high = 99999;
    m.rangeMessage = S("Digite de [1] a [99999]");
    m.duplicateMessage = S("Vendedor já foi aberto ... <ENTER>");
    m.rightsProgram = S("Vendedores");
    m.rightsChapter = S("Ficheiros Base");
    m.keyAlwaysEnabled = true;
    m.applyOnReturn = ApplyOnReturn::UnlessSkipped;
    m.deletionKeepsFocus = true;
    m.focusAfterGridExit = S("Edit_Nome");
    m.focusAfterNewKey = S("Edit_Nome");
    m.newRowDefaults = {{S("CHEFE"), S("N")}, {S("REDCOMISSAO"), S("N")}};
    auto flag = [](const char* name, const char* column, const char* caption) {
        CommercialField f = field(name, column, caption);
        f.upperCase = true;
        f.suffix = S("( S/N )");
        f.rule = FieldRule::oneOf({S("S"), S("N")}, {});
        return f;
    };
    auto beside = [](CommercialField f) {
        f.besidePrevious = true;
        return f;
    };
    auto right = [](CommercialField f) {
        f.formColumn = 1;
        return f;
    };
    CommercialField rateCode = codeField("Edit_Comissao", "COMISSAO", "% Comissão :", "DTTABELAS.COMISSOES", "CODIGO",
                                         {{S("CODIGO"), S("CÓDIGO")}, {S("PRCCOM"), S("% COMISSÃO")}}, {5, 9},
                                         "BotComissao", "TFACF004", "Comissoes", "Edit_PrcCom", 7);
    rateCode.companionSuffix = S("%");
    m.fields = {field("Edit_Nome", "NOME", "Nome :"),
                field("Edit_Morada1", "MORADA1", "Morada 1 :"),
                field("Edit_Morada2", "MORADA2", "Morada 2 :"),
                codeField("Edit_CodPostal", "CODPOSTAL", "Código Postal :", "DTTABELAS.CODPOSTAL", "CODPOSTAL",
                          {{S("CODPOSTAL"), S("COD.POSTAL")}, {S("LOCALIDADE"), S("LOCALIDADE")}}, {7, 30},
                          "BotCodPostal", "TFACF008", "Codigos Postais", "Edit_Localidade", 24),
                field("Edit_SiglaNif", "SIGLANIF", "N.I.F. :"),
                beside(field("Edit_Nif", "NIF", "")),
                field("Edit_Contacto", "CONTACTO", "Contacto :"),
                flag("Edit_Chefe", "CHEFE", "Chefe de Vendas ?"),
                field("Edit_ChefeNro", "CHEFENRO", "Nº Chefe Vendas :"),
                rateCode,
                flag("Edit_RedComissao", "REDCOMISSAO", "Red.Comissão :"),
                field("Edit_RedComFixa", "REDCOMFIXA", "% Red.Comissão :"),
                right(field("Edit_TelCodZona", "TELCODZONA", "Zona (TEL) :")),
                right(field("Edit_Telefone", "TELEFONE", "Telefone - 1 :")),
                right(field("Edit_Telefone2", "TELEFONE2", "Telefone - 2 :")),
                right(field("Edit_RedeMovel", "REDEMOVEL", "Telemóvel :")),
                beside(right(field("Edit_TeleMovel", "TELEMOVEL", ""))),
                right(field("Edit_Bip", "BIP", "Bip :")),
                right(field("Edit_Fax", "FAX", "Fax :")),
                right(field("Edit_Email", "EMAIL", "EMail :"))};
    for (int scale = 1; scale <= 5; ++scale) {
        CommercialField sales = right(field("", "", ""));
        sales.name = QStringLiteral("Edit_EscVendas%1").arg(scale);
        sales.column = QStringLiteral("ESCVENDAS%1").arg(scale);
        sales.caption = QStringLiteral("%1º Escalão :").arg(scale);
        sales.width = 12;
        if (scale == 1)
            sales.heading = S("Escalões de Vendas ( € e %)");
        CommercialField commission = beside(right(field("", "", "")));
        commission.name = QStringLiteral("Edit_EscComissao%1").arg(scale);
        commission.column = QStringLiteral("ESCCOMISSAO%1").arg(scale);
        commission.width = 6;
        commission.suffix = S("%");
        m.fields.push_back(sales);
        m.fields.push_back(commission);
    }
    m.grid = {{S("CODIGO"), S("Vend.Nº"), 0},
              {S("NOME"), S("Nome do vendedor"), 0},
              {S("CHEFE"), S("Chefe ?"), 0},
              {S("CHEFENRO"), S("Chefe Nº"), 0},
              {S("TELEFONE"), S("Telefone - 1"), 0}};
    return m;
}

} // namespace

const std::vector<CommercialTableDescription>& commercialTableMembers()
{
    static const std::vector<CommercialTableDescription> members{
        postalCodes(),         regions(),         provinces(),      zones(),           paymentConditions(),
        transportConditions(), shippingMethods(), goodsDiscounts(), businessSectors(), compositions(),
        tariffPositions(),     currencies(),      vatCodes(),       countries(),    families(),
        commissionRates(),     salesmen()};
    return members;
}

const CommercialField* CommercialTableDescription::field(const QString& name) const
{
    for (const CommercialField& f : fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

} // namespace kv::commercial
