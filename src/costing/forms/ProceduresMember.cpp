#include "costing/forms/ProceduresMember.h"

#include "costing/forms/CodeTableForm.h"

#include "costing/core/ProcedureLines.h"

namespace kv::costing {

CodeTableDescription proceduresMember()
{
    CodeTableDescription m;
    m.formClass = QStringLiteral("TORCF013");
    m.caption = QStringLiteral("Tabela de Procedimentos");
    m.table = QStringLiteral("PROCMAS");
    m.dataset = QStringLiteral("ZURIVAVEZA.PROCMAS");
    m.rightsProgram = QStringLiteral("Procedimentos");

    FieldSpec designation;
    designation.name = QStringLiteral("Edit_Designacao");
    designation.column = QStringLiteral("DESIGNACAO");
    designation.caption = QStringLiteral("Procedimento : ");
    designation.rule = FieldRule::notEmpty(QStringLiteral("Designação Inválida !!!"));
    m.fields = {designation};
    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Procedim.Nº"), 8},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 30}};
    m.deleteRow = [](CodeTableForm& form) {
        deleteProcedure(*form.environment().application(), form.table().value(QStringLiteral("CODIGO")).toInt());
    };

    ListPrintSpec print;
    print.dialogClass = QStringLiteral("TORCFSPR013");
    print.dialogCaption = m.caption;
    print.reportClass = QStringLiteral("TORCFPR013");
    print.reportTitle = m.caption;
    print.articleRange = false;
    print.columns = {{QStringLiteral("Código"), QStringLiteral("CODIGO"), 20, ValueFormat::Plain, Qt::AlignRight},
                     {QStringLiteral("Procedimento"), QStringLiteral("DESIGNACAO"), 90}};
    m.print = print;
    return m;
}

} // namespace kv::costing
