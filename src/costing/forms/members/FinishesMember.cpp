#include "costing/core/CodeMeanings.h"
#include "costing/forms/CodeTableForm.h"
#include "costing/forms/members/MemberDescriptions.h"
#include "costing/forms/members/MemberParts.h"

#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"
#include "platform/report/RowSource.h"

namespace kv::costing {

namespace {

const QString UnitField = QStringLiteral("Edit_Unidade");
const QString FinishUnitMessage = QStringLiteral("INSIRA A UNIDADE PARA CÁLCULO DE CUSTO");

// The unit a cost is given in, with its help panel.
FieldSpec unitField(const QString& message, const QStringList& helpLines)
{
    FieldSpec unit = editField(UnitField, QStringLiteral("UNIDADE"), QStringLiteral("Unidade : "),
                               FieldRule::oneOf({QStringLiteral("U"), QStringLiteral("M")}, message));
    unit.helpPanel = QStringLiteral("Panel_Unidade");
    unit.helpLines = helpLines;
    return unit;
}

// A member without an article link: the order choice alone in its list print.
ListPrintSpec orderOnlyPrint(const QString& dialogClass, const QString& reportClass, const QString& caption)
{
    return listPrint(dialogClass, reportClass, caption, caption, false);
}

} // namespace

CodeTableDescription finishesMember()
{
    CodeTableDescription m = tableMember(QStringLiteral("TORCF007"), QStringLiteral("Tabela de Acabamentos"),
                                         QStringLiteral("ACABAMENTO"), QStringLiteral("Acabamentos"));

    // Only a fixed cost has a unit: without one the unit is emptied and
    // cannot be typed.
    FieldSpec fixedCost =
        editField(QStringLiteral("Edit_CustoFixo"), QStringLiteral("CUSTOFIXO"), QStringLiteral("Custo Fixo : "));
    fixedCost.onExit = [](CodeTableForm& form) {
        QWidget* unit = form.control(UnitField);
        const bool hasCost = !fieldText(form, QStringLiteral("Edit_CustoFixo")).isEmpty();
        const bool wasEnabled = unit->isEnabled();
        unit->setEnabled(hasCost);
        if (hasCost) {
            // A cost just given asks for its unit next.
            if (!wasEnabled)
                form.moveFocus(UnitField);
            return true;
        }
        try {
            form.table().setValue(QStringLiteral("UNIDADE"), QString());
        } catch (const kv::db::DbError& error) {
            form.refuse(error.text());
            return false;
        }
        return true;
    };
    FieldSpec costType =
        editField(QStringLiteral("Edit_TipoCusto"), QStringLiteral("TIPOCUSTO"), QStringLiteral("Tipo de Custo : "),
                  FieldRule::oneOf(codesOf(finishCostTypes()), QStringLiteral("Tipo de Custo Inválido Inválido !!!")));
    costType.helpPanel = QStringLiteral("Panel_TipoCusto");
    costType.helpLines = {QStringLiteral("(1) - Mão de Obra"), QStringLiteral("(2) - Embalagem")};

    m.fields = {
        designationField(), fixedCost,
        unitField(FinishUnitMessage, {QStringLiteral("(U) - Unidades"), QStringLiteral("(M) - Milhares")}),
        editField(QStringLiteral("Edit_Perc"), QStringLiteral("PERC"), QStringLiteral("( % ) Incid.Orçamento : ")),
        costType};
    // The unit field follows the fixed cost of the row shown, so that a row
    // with a fixed cost never finds its unit locked by the row before.
    m.rowShown = [](CodeTableForm& form) {
        const bool hasRow = form.table().isOpen() && !form.table().isEmpty();
        form.control(UnitField)->setEnabled(!hasRow || !form.table().value(QStringLiteral("CUSTOFIXO")).isNull());
    };

    // A fixed cost reached the grid without passing the unit field (a click
    // past it): the row would be costed without knowing per what.
    m.beforeSave = [](CodeTableForm& form) {
        if (form.table().state() == kv::db::DatasetState::Browse
            || finishUnitAccepted(fieldText(form, QStringLiteral("Edit_CustoFixo")), fieldText(form, UnitField)))
            return true;
        form.control(UnitField)->setEnabled(true);
        kv::ui::messages().beep();
        kv::ui::messages().error(FinishUnitMessage);
        form.moveFocus(UnitField);
        return false;
    };

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("CUSTOFIXO"), QStringLiteral("Custo Fixo"), 12, ValueFormat::Money},
              {QStringLiteral("PERC"), QStringLiteral("( % ) Incid."), 10},
              {QStringLiteral("TIPOCUSTO"), QStringLiteral("Tipo Custo"), 10}};

    ListPrintSpec print = orderOnlyPrint(QStringLiteral("TORCFSPR007"), QStringLiteral("TORCFPR007"), m.caption);
    print.columns = {
        {QStringLiteral("Código"), QStringLiteral("CODIGO"), 15, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 80},
        {QStringLiteral("Custo Fixo"), QStringLiteral("CUSTOFIXO"), 30, ValueFormat::Money, Qt::AlignRight},
        {QStringLiteral("(%) Incid.Orçam."), QStringLiteral("PERC"), 30, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Tipo de Custo"),
         {},
         35,
         ValueFormat::Plain,
         Qt::AlignLeft,
         [](const kv::report::RowView& row) {
             return meaningOf(finishCostTypes(), row.value(QStringLiteral("TIPOCUSTO")).toString());
         }}};
    m.print = print;
    return m;
}

CodeTableDescription cuttingOperationsMember()
{
    CodeTableDescription m = tableMember(QStringLiteral("TORCF008"), QStringLiteral("Tabela de Operações de Corte"),
                                         QStringLiteral("OPERCORTE"), QStringLiteral("Operacoes de Corte"));
    m.fields = {
        designationField(),
        editField(QStringLiteral("Edit_CustoPPlano"), QStringLiteral("CUSTOPPLANO"), QStringLiteral("Custo : ")),
        unitField(QStringLiteral("INSIRA A UNIDADE DE CUSTO - (U) - (M) !!"),
                  {QStringLiteral("(U) - P/Plano"), QStringLiteral("(M) - P/Mil Planos")})};
    m.makerTagOnOpen = false;

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("CUSTOPPLANO"), QStringLiteral("Custo "), 12, ValueFormat::Money},
              {QStringLiteral("UNIDADE"), QStringLiteral("Un."), 3}};

    ListPrintSpec print = orderOnlyPrint(QStringLiteral("TORCFSPR008"), QStringLiteral("TORCFPR008"), m.caption);
    print.columns = {{QStringLiteral("Código"), QStringLiteral("CODIGO"), 15, ValueFormat::Plain, Qt::AlignRight},
                     {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 80},
                     {QStringLiteral("Custo "), QStringLiteral("CUSTOPPLANO"), 30, ValueFormat::Money, Qt::AlignRight},
                     {QString(), QStringLiteral("UNIDADE"), 10}};
    m.print = print;
    return m;
}

} // namespace kv::costing
