#include "costing/forms/members/ParameterRowMembers.h"

#include "costing/forms/CodeTableForm.h"
#include "costing/forms/members/MemberParts.h"

#include "costing/core/CostTableChecks.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

namespace kv::costing {

namespace {

bool parametersDefined(CodeTableForm& form)
{
    bool defined = false;
    try {
        defined = generalParametersDefined(form.environment().dataset(QStringLiteral("ZURIVAVEZA.ORCPARGER")));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    if (!defined)
        kv::ui::messages().fail(parametersUndefinedMessage());
    return defined;
}

// A list with the order choice alone, by code or by designation.
ListPrintSpec orderOnlyPrint(const QString& number, const QString& title)
{
    return listPrint(QStringLiteral("TORCFSPR") + number, QStringLiteral("TORCFPR") + number, title, title, false);
}

CodeTableDescription parameterRowMember(const QString& number, const QString& caption, const QString& table,
                                        const QString& rightsProgram)
{
    CodeTableDescription m = tableMember(QStringLiteral("TORCF") + number, caption, table, rightsProgram);
    m.firstField = QStringLiteral("Edit_Designacao");
    m.beforeOpen = parametersDefined;
    m.print = orderOnlyPrint(number, caption);
    return m;
}

FieldSpec field(const char* name, const char* column, const QString& caption, FieldRule rule = {})
{
    return editField(QString::fromLatin1(name), QString::fromLatin1(column), caption, std::move(rule));
}

} // namespace

CodeTableDescription fixedCostsMember()
{
    CodeTableDescription m = parameterRowMember(QStringLiteral("012"), QStringLiteral("Tabela de Custos Fixos"),
                                                QStringLiteral("CUSTFIXOS"), QStringLiteral("Custos Fixos"));
    const FieldRule flag = FieldRule::oneOf(yesNo(), fixedCostFlagMessage());
    FieldSpec repeats = field("DBEdit1", "LUCROBRUTO", QStringLiteral("Excluido em Repetições ? : "));
    repeats.labelLightsUp = false;
    m.fields = {designationField(),
                field("Edit_CustoFixo", "PRECO", QStringLiteral("Preço : ")),
                field("Edit_ServTerc", "SERVTERC", QStringLiteral("Serv.Terceiros? : "), flag),
                repeats,
                field("Edit_MatPrima", "MATPRIMA", QStringLiteral("Matérias Primas : "), flag),
                field("Edit_Embalagem", "EMBALAGEM", QStringLiteral("Embalagem : "), flag),
                field("Edit_MaoObra", "MAOOBRA", QStringLiteral("Mão de Obra : "), flag),
                field("Edit_ProdSubsid", "PRODSUBSID", QStringLiteral("Mat.Subsidiárias : "), flag)};
    // The cost class flags stand in their own frame after the grid: Enter on
    // "Excluido em Repetições ?" saves the row, the flags are reached with the mouse.
    for (std::size_t i = 4; i < m.fields.size(); ++i) {
        m.fields[i].page = QStringLiteral("Grupo de Custo");
        m.fields[i].afterGrid = true;
    }
    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("PRECO"), QStringLiteral("Preço"), 12, ValueFormat::Money}};
    m.print->columns = {
        {QStringLiteral("Código"), QStringLiteral("CODIGO"), 13, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 62},
        {QStringLiteral("Preco"), QStringLiteral("PRECO"), 22, ValueFormat::Money, Qt::AlignRight},
        {QStringLiteral("Serv.Terc."), QStringLiteral("SERVTERC"), 15, ValueFormat::Plain, Qt::AlignHCenter},
        {QStringLiteral("Mát.Prima"), QStringLiteral("MATPRIMA"), 15, ValueFormat::Plain, Qt::AlignHCenter},
        {QStringLiteral("Embalagem"), QStringLiteral("EMBALAGEM"), 16, ValueFormat::Plain, Qt::AlignHCenter},
        {QStringLiteral("Mão Obra"), QStringLiteral("MAOOBRA"), 14, ValueFormat::Plain, Qt::AlignHCenter},
        {QStringLiteral("Prod.Subsid."), QStringLiteral("PRODSUBSID"), 17, ValueFormat::Plain, Qt::AlignHCenter},
        {QStringLiteral("Exc.Repetições "), QStringLiteral("LUCROBRUTO"), 22, ValueFormat::Plain, Qt::AlignHCenter}};
    return m;
}

CodeTableDescription subcontractsMember()
{
    CodeTableDescription m = parameterRowMember(QStringLiteral("016"), QStringLiteral("Tabela de Subcontratos"),
                                                QStringLiteral("SUBCONTRATO"), QStringLiteral("Subcontratos"));
    // The data module names its dataset SUBCONT, not after the table.
    m.dataset = QStringLiteral("ZURIVAVEZA.SUBCONT");
    FieldSpec accessory = field("Edit_Acessorio", "ACESSORIO", QStringLiteral("Acessório ? :"),
                                FieldRule::oneOf(yesNo(), accessoryFlagMessage()));
    accessory.suffix = QStringLiteral("( S/N )");
    accessory.labelLightsUp = false;
    FieldSpec grams = field("Edit_GrsM2", "GRS_M2", QStringLiteral("Consumo p/ M2 : "));
    grams.suffix = QStringLiteral("( Grs )");
    grams.labelLightsUp = false;
    FieldSpec unit = field("Edit_UndCalc", "UNIDADE", QStringLiteral("Un.Cálculo : "));
    unit.helpPanel = QStringLiteral("Panel_UndCalc");
    unit.helpLines = {QStringLiteral("Unidade de Cálculo"), QStringLiteral("UN - Custo Fixo"),
                      QStringLiteral("UND - P/ Embalagem"), QStringLiteral("MIL - P/ Milheiro"),
                      QStringLiteral("M2 - P/ m2"),         QStringLiteral("KG - P/ Kg")};
    // The unit's messages come without a beep; "KG" sends the user back to
    // the consumption, which comes before the unit.
    unit.onExit = [](CodeTableForm& form) {
        const UnitVerdict verdict = checkSubcontractUnit(fieldText(form, QStringLiteral("Edit_UndCalc")),
                                                         fieldText(form, QStringLiteral("Edit_GrsM2")));
        if (verdict == UnitVerdict::Accepted)
            return true;
        form.refuse(unitVerdictMessage(verdict), false);
        if (verdict == UnitVerdict::NoConsumption)
            form.moveFocus(QStringLiteral("Edit_GrsM2"));
        return false;
    };
    m.fields = {designationField(), accessory, field("Edit_CustoFixo", "PRECO", QStringLiteral("Preço : ")), grams,
                unit};
    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 8},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("PRECO"), QStringLiteral("Preço"), 12, ValueFormat::Money}};
    m.print->columns = {
        {QStringLiteral("Código"), QStringLiteral("CODIGO"), 15, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 75},
        {QStringLiteral("Preco"), QStringLiteral("PRECO"), 25, ValueFormat::Money, Qt::AlignRight},
        {QStringLiteral("Un"), QStringLiteral("UNIDADE"), 12, ValueFormat::Plain, Qt::AlignHCenter},
        {QStringLiteral("Consumo Grs/M2"), QStringLiteral("GRS_M2"), 28, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Acessório"), QStringLiteral("ACESSORIO"), 20, ValueFormat::Plain, Qt::AlignHCenter}};
    return m;
}

} // namespace kv::costing
