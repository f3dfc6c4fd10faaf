#include "costing/forms/members/MemberParts.h"

#include "costing/forms/CodeTableForm.h"

#include <QLabel>

namespace kv::costing {

CodeTableDescription tableMember(const QString& formClass, const QString& caption, const QString& table,
                                 const QString& rightsProgram)
{
    CodeTableDescription m;
    m.formClass = formClass;
    m.caption = caption;
    m.table = table;
    m.dataset = QStringLiteral("ZURIVAVEZA.") + table;
    m.rightsProgram = rightsProgram;
    return m;
}

FieldSpec editField(const QString& name, const QString& column, const QString& caption, FieldRule rule)
{
    FieldSpec field;
    field.name = name;
    field.column = column;
    field.caption = caption;
    field.rule = std::move(rule);
    return field;
}

FieldSpec articleField()
{
    return editField(QStringLiteral("Edit_Artigo"), QStringLiteral("ARTIGO"), QStringLiteral("Referência Artigo : "));
}

FieldSpec designationField()
{
    return editField(QStringLiteral("Edit_Designacao"), QStringLiteral("DESIGNACAO"), QStringLiteral("Designação : "),
                     FieldRule::notEmpty(QStringLiteral("Designação Inválida !!!")));
}

ListPrintSpec listPrint(const QString& dialogClass, const QString& reportClass, const QString& caption,
                        const QString& title, bool articleRange)
{
    ListPrintSpec print;
    print.dialogClass = dialogClass;
    print.dialogCaption = caption;
    print.reportClass = reportClass;
    print.reportTitle = title;
    print.articleRange = articleRange;
    return print;
}

QString fieldText(const CodeTableForm& form, const QString& field)
{
    auto* edit = qobject_cast<QLineEdit*>(form.control(field));
    return edit ? edit->text() : QString();
}

void setLabel(const CodeTableForm& form, const QString& label, const QString& text)
{
    if (auto* widget = qobject_cast<QLabel*>(form.control(label)))
        widget->setText(text);
}

} // namespace kv::costing
