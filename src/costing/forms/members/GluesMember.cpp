#include "costing/core/CodeMeanings.h"
#include "costing/forms/CodeTableForm.h"
#include "costing/forms/members/MemberDescriptions.h"
#include "costing/forms/members/MemberParts.h"

#include "platform/db/DbError.h"
#include "platform/report/RowSource.h"

namespace kv::costing {

CodeTableDescription gluesMember()
{
    CodeTableDescription m = tableMember(QStringLiteral("TORCF004"), QStringLiteral("Tabela de Colas"),
                                         QStringLiteral("COLAS"), QStringLiteral("Colas"));

    FieldSpec rule =
        editField(QStringLiteral("Edit_TipoCalc"), QStringLiteral("TIPOCALC"), QStringLiteral("Tipo de Cálculo : "),
                  FieldRule::oneOf(codesOf(glueRules()), QStringLiteral("Tipo de Cálculo Inválido !!!")));
    rule.upperCase = true;
    rule.hint = QStringLiteral("Digite de [1 a 4]");
    rule.helpPanel = QStringLiteral("Panel_TipoCalculo");
    rule.helpLines = glueRuleLines();
    // The formula text goes with the rule each time the rule is left, so a
    // row never keeps the text of a rule it no longer has.
    rule.onExit = [](CodeTableForm& form) {
        kv::db::Dataset& table = form.table();
        try {
            if (table.state() == kv::db::DatasetState::Browse)
                table.edit();
            table.setValue(QStringLiteral("TIPOCALCDES"),
                           meaningOf(glueRules(), fieldText(form, QStringLiteral("Edit_TipoCalc"))));
        } catch (const kv::db::DbError& error) {
            form.refuse(error.text());
            return false;
        }
        return true;
    };
    FieldSpec formula = editField(QStringLiteral("Edit_TipoCalcDes"), QStringLiteral("TIPOCALCDES"), {});
    formula.readOnly = true;

    m.fields = {articleField(),
                designationField(),
                editField(QStringLiteral("Edit_Gramagem"), QStringLiteral("GRAMAGEM"), QStringLiteral("Consumo M2 : "),
                          FieldRule::notEmpty(QStringLiteral("Gramagem Inválida !!!"))),
                editField(QStringLiteral("Edit_Perc"), QStringLiteral("PERC"), QStringLiteral("( % ) : ")),
                editField(QStringLiteral("Edit_Preco"), QStringLiteral("PRECO"), QStringLiteral("Preço Kg : "),
                          FieldRule::notEmpty(QStringLiteral("Preco Inválido !!!"))),
                rule,
                formula};

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6},
              {QStringLiteral("ARTIGO"), QStringLiteral("Artigo Nº"), 16},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("GRAMAGEM"), QStringLiteral("Cons.M2"), 8},
              {QStringLiteral("PERC"), QStringLiteral("%"), 6},
              {QStringLiteral("PRECO"), QStringLiteral("Preço"), 12, ValueFormat::Money},
              {QStringLiteral("TIPOCALC"), QStringLiteral("Cálculo"), 7},
              {QStringLiteral("TIPOCALCDES"), QStringLiteral("Rotina de Cálculo"), 45}};

    ArticleLinkSpec link;
    link.lists.numericColumns << QStringLiteral("COMPRIM") << QStringLiteral("LARGURA");
    link.copied = {{QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNACAO")}, {QStringLiteral("PRECO"), {}, true}};
    m.article = link;

    ListPrintSpec print = listPrint(QStringLiteral("TORCFSPR004"), QStringLiteral("TORCFPR004"), m.caption,
                                    QStringLiteral("Tabela de Colas"), true);
    print.columns = {
        {QStringLiteral("Código"), QStringLiteral("CODIGO"), 11, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Referência"), QStringLiteral("ARTIGO"), 24},
        {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 44},
        {QStringLiteral("Grs.(M2)"), QStringLiteral("GRAMAGEM"), 14, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("(%)"), QStringLiteral("PERC"), 10, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Preço (Kg)"), QStringLiteral("PRECO"), 18, ValueFormat::Money, Qt::AlignRight},
        {QStringLiteral("Tipo Cálc."), QStringLiteral("TIPOCALC"), 13, ValueFormat::Plain, Qt::AlignHCenter},
        // Worked out from the rule, not read from the stored formula text.
        {QStringLiteral("Rotina de Cálculo"),
         {},
         62,
         ValueFormat::Plain,
         Qt::AlignLeft,
         [](const kv::report::RowView& row) {
             return meaningOf(glueRules(), row.value(QStringLiteral("TIPOCALC")).toString());
         }}};
    m.print = print;
    return m;
}

} // namespace kv::costing
