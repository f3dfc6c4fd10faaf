#include "costing/core/CodeMeanings.h"
#include "costing/forms/CodeTableForm.h"
#include "costing/forms/members/MemberDescriptions.h"
#include "costing/forms/members/MemberParts.h"

#include "platform/report/FieldFormat.h"
#include "platform/report/RowSource.h"

#include <QLabel>

namespace kv::costing {

namespace {

const QString PaperLabel = QStringLiteral("Label_Tipopap");
const QString CalculationLabel = QStringLiteral("Label_TipoCalc");

// A one-letter type field, upper-cased, whose meaning shows in a label beside it.
FieldSpec typeField(const QString& name, const QString& column, const QString& caption, const QString& hint,
                    const QString& label, const std::vector<CodeMeaning>& meanings, const QString& message)
{
    FieldSpec field = editField(name, column, caption);
    field.hint = hint;
    field.upperCase = true;
    field.nameLabel = label;
    field.onExit = [name, label, &meanings, message](CodeTableForm& form) {
        setLabel(form, label, {});
        const QString text = meaningOf(meanings, fieldText(form, name));
        if (text.isEmpty()) {
            form.refuse(message);
            return false;
        }
        setLabel(form, label, text);
        return true;
    };
    return field;
}

QString columnText(const kv::report::RowView& row, const char* column)
{
    return row.value(QString::fromLatin1(column)).toString();
}

} // namespace

CodeTableDescription boardsMember()
{
    const QString caption = QStringLiteral("Micro; Canal B; Placa; Cartolinas");
    CodeTableDescription m = tableMember(QStringLiteral("TORCF001"), caption, QStringLiteral("PAPEIS"), caption);

    const FieldRule size = FieldRule::notEmpty(QStringLiteral("Medida Inválida !!!"));
    FieldSpec width = editField(QStringLiteral("Edit_Largur"), QStringLiteral("LARGUR"), QStringLiteral("x"), size);
    width.besidePrevious = true; // on the line of the length
    m.fields = {articleField(),
                designationField(),
                editField(QStringLiteral("Edit_Compri"), QStringLiteral("COMPRI"),
                          QStringLiteral("Fomato : (Comp./Larg.) "), size),
                width,
                editField(QStringLiteral("Edit_Gramagem"), QStringLiteral("GRAMAGEM"), QStringLiteral("Gramagem : "),
                          FieldRule::notEmpty(QStringLiteral("Gramagem Inválida !!!"))),
                editField(QStringLiteral("Edit_Preco"), QStringLiteral("PRECO"), QStringLiteral("Preço (KG / M2): "),
                          FieldRule::notEmpty(QStringLiteral("Preco Inválido !!!"))),
                typeField(QStringLiteral("Edit_TipoPap"), QStringLiteral("TIPOPAP"), QStringLiteral("Tipo de Papel : "),
                          QStringLiteral("Digite [P] - Papel ; [C] - Cartolina ..."), PaperLabel, paperTypes(),
                          QStringLiteral("Tipo de Papel Inválido !!!")),
                typeField(QStringLiteral("Edit_TipoCalc"), QStringLiteral("TIPOCALC"),
                          QStringLiteral("Tipo de Cálculo : "),
                          QStringLiteral("Digite [1] - Bobinas ; [2] - Resmas ..."), CalculationLabel,
                          boardCalculations(), QStringLiteral("Tipo de Cálculo Inválido !!!"))};
    m.note = QStringLiteral("[1];  Área Plano X Gramagem X Nº de Planos X Preço -- [2];  Nº de Planos X Preço");

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 6},
              {QStringLiteral("ARTIGO"), QStringLiteral("Artigo Nº"), 16},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40},
              {QStringLiteral("COMPRI"), QStringLiteral("Comp."), 7},
              {QStringLiteral("LARGUR"), QStringLiteral("Larg."), 7},
              {QStringLiteral("GRAMAGEM"), QStringLiteral("Gram."), 7},
              {QStringLiteral("TIPOPAP"), QStringLiteral("Papel"), 5},
              {QStringLiteral("PRECO"), QStringLiteral("Preço"), 12, ValueFormat::Money},
              {QStringLiteral("TIPOCALC"), QStringLiteral("Cálculo"), 7}};

    // Boards are bought as any kind of article but a service; a new row
    // takes the sheet format from its article too.
    ArticleLinkSpec link;
    link.lists.condition = {ArticleTypeCondition::Op::NotEqual, 3};
    link.lists.numericColumns << QStringLiteral("COMPRIM") << QStringLiteral("LARGURA");
    link.copied = {{QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNACAO")},
                   {QStringLiteral("PRECO"), {}, true},
                   {QStringLiteral("COMPRI"), QStringLiteral("COMPRIM")},
                   {QStringLiteral("LARGUR"), QStringLiteral("LARGURA")}};
    m.article = link;

    m.beforeOpen = [](CodeTableForm& form) {
        // Length and width share the one format label.
        form.setCaptionLabel(form.control(QStringLiteral("Edit_Largur")),
                             qobject_cast<QLabel*>(form.control(QStringLiteral("Label_Compri"))));
        return true;
    };
    m.rowShown = [](CodeTableForm& form) {
        const bool hasRow = form.table().isOpen() && !form.table().isEmpty();
        const auto code = [&](const char* column) {
            return hasRow ? form.table().value(QString::fromLatin1(column)).toString() : QString();
        };
        setLabel(form, PaperLabel, meaningOf(paperTypes(), code("TIPOPAP")));
        setLabel(form, CalculationLabel, meaningOf(boardCalculations(), code("TIPOCALC")));
    };

    ListPrintSpec print =
        listPrint(QStringLiteral("TORCFSPR001"), QStringLiteral("TORCFPR001"), caption, caption, true);
    print.columns = {
        {QStringLiteral("Código"), QStringLiteral("CODIGO"), 12, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Referência"), QStringLiteral("ARTIGO"), 27},
        {QStringLiteral("Designação do artigo"), QStringLiteral("DESIGNACAO"), 55},
        {QStringLiteral("Formato (CxL) : "),
         {},
         26,
         ValueFormat::Plain,
         Qt::AlignLeft,
         [](const kv::report::RowView& row) {
             const kv::report::FieldFormat plain;
             return plain.text(row.value(QStringLiteral("COMPRI"))) + QStringLiteral(" x ")
                    + plain.text(row.value(QStringLiteral("LARGUR")));
         }},
        {QStringLiteral("Gramagem"), QStringLiteral("GRAMAGEM"), 16, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Tipo Papel"),
         {},
         18,
         ValueFormat::Plain,
         Qt::AlignLeft,
         [](const kv::report::RowView& row) { return paperTypeListText(columnText(row, "TIPOPAP")); }},
        {QStringLiteral("Preço"), QStringLiteral("PRECO"), 20, ValueFormat::Money, Qt::AlignRight},
        {QStringLiteral("Tipo Cálculo"), {}, 22, ValueFormat::Plain, Qt::AlignLeft, [](const kv::report::RowView& row) {
             return boardCalculationListText(columnText(row, "TIPOCALC"));
         }}};
    m.print = print;
    return m;
}

} // namespace kv::costing
