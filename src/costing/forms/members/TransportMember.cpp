#include "costing/forms/members/TransportMember.h"

#include "costing/forms/CodeTableForm.h"
#include "costing/forms/FieldLookup.h"
#include "costing/forms/members/MemberParts.h"

#include "costing/core/CostTableChecks.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

namespace kv::costing {

namespace {

struct DestinationField {
    const char* field;
    const char* column;
    const char* dataset; // the commercial table's shared dataset
    Destination kind;
    QString caption;
    QString title; // of the lookup's column
};

const std::vector<DestinationField>& destinations()
{
    static const std::vector<DestinationField> fields{
        {"Edit_Pais", "PAIS", "DTTABELAS.PAISES", Destination::Country, QStringLiteral("País : "),
         QStringLiteral("País")},
        {"Edit_Regiao", "REGIAO", "DTTABELAS.REGIOES", Destination::Region, QStringLiteral("Região : "),
         QStringLiteral("Região")},
        {"Edit_Provincia", "PROVINCIA", "DTTABELAS.PROVINCIAS", Destination::Province, QStringLiteral("Província : "),
         QStringLiteral("Província")}};
    return fields;
}

kv::db::Dataset& list(CodeTableForm& form, const DestinationField& d)
{
    return form.environment().dataset(QString::fromLatin1(d.dataset));
}

void setField(CodeTableForm& form, const char* name, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(form.control(QString::fromLatin1(name))))
        edit->setText(text);
}

// The checked value reaches the row at once: a row whose province stays
// empty keeps the country and region that passed.
bool write(CodeTableForm& form, const DestinationField& d, const QString& text)
{
    kv::db::Dataset& table = form.table();
    try {
        if (table.state() == kv::db::DatasetState::Browse) {
            if (table.isEmpty())
                return true;
            table.edit();
        }
        table.setValue(QString::fromLatin1(d.column), text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const kv::db::DbError& error) {
        form.refuse(error.text());
        return false;
    }
    return true;
}

bool destinationExit(CodeTableForm& form, const DestinationField& d)
{
    const QString text = fieldText(form, QString::fromLatin1(d.field));
    if (text.isEmpty()) {
        if (d.kind == Destination::Country) {
            form.refuse({});
            return false;
        }
    } else if (!list(form, d).locate(QString::fromLatin1(d.column), text)) {
        form.refuse(unknownDestinationMessage(d.kind));
        return false;
    }
    return write(form, d, text);
}

void destinationLookup(CodeTableForm& form, const DestinationField& d)
{
    kv::db::Dataset& rows = list(form, d);
    if (!rows.isOpen())
        return;
    if (!runLookup(rows, {{QString::fromLatin1(d.column), d.title, 20, {}}}, &form))
        return;
    // The check runs when the field is left.
    setField(form, d.field, rows.isEmpty() ? QString() : rows.value(QString::fromLatin1(d.column)).toString());
}

bool openLists(CodeTableForm& form)
{
    try {
        for (const DestinationField& d : destinations())
            if (!list(form, d).isOpen())
                list(form, d).open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    return true;
}

void closeLists(CodeTableForm& form)
{
    for (const DestinationField& d : destinations())
        list(form, d).close();
}

void showDestination(CodeTableForm& form)
{
    kv::db::Dataset& table = form.table();
    const bool hasRow = table.isOpen() && !table.isEmpty();
    for (const DestinationField& d : destinations())
        setField(form, d.field, hasRow ? table.value(QString::fromLatin1(d.column)).toString() : QString());
}

} // namespace

CodeTableDescription transportMember()
{
    CodeTableDescription m = tableMember(QStringLiteral("TORCF011"), QStringLiteral("Custo de Transporte"),
                                         QStringLiteral("CUSTRANSP"), QStringLiteral("Custos de Transporte"));
    m.order = {QStringLiteral("PAIS"), QStringLiteral("REGIAO"), QStringLiteral("PROVINCIA")};
    m.proposeKey = false;
    m.keyCheck = [](CodeTableForm&, const QString& text, const std::function<bool(qint64)>& exists) {
        return checkTransportCode(text, exists);
    };
    m.afterKeyField = QStringLiteral("Edit_Pais");
    // An existing row is edited in its rates; its destination only when the
    // user goes into those fields.
    m.firstField = QStringLiteral("Edit_PrcOrcam");

    for (const DestinationField& d : destinations()) {
        FieldSpec field = editField(QString::fromLatin1(d.field), QString::fromLatin1(d.column), d.caption);
        field.bound = false;
        field.hint = QStringLiteral("Tecla <Insert> - Procurar");
        field.onExit = [&d](CodeTableForm& form) { return destinationExit(form, d); };
        field.actions = {{QStringLiteral("Procurar"), QKeySequence(Qt::Key_Insert),
                          [&d](CodeTableForm& form) { destinationLookup(form, d); }}};
        m.fields.push_back(field);
    }
    m.fields.push_back(
        editField(QStringLiteral("Edit_PrcOrcam"), QStringLiteral("PRCORCAM"), QStringLiteral("(%) s/ Orçamento : ")));
    m.fields.push_back(
        editField(QStringLiteral("Edit_CustoKm"), QStringLiteral("CUSTOKM"), QStringLiteral("Custo p/ Km : ")));
    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Codigo"), 8},
              {QStringLiteral("PAIS"), QStringLiteral("País"), 20},
              {QStringLiteral("REGIAO"), QStringLiteral("Região"), 20},
              {QStringLiteral("PROVINCIA"), QStringLiteral("Província"), 20},
              {QStringLiteral("PRCORCAM"), QStringLiteral("(% ) s/Orçam"), 10},
              {QStringLiteral("CUSTOKM"), QStringLiteral("Custo p/ Km"), 12, ValueFormat::Money}};
    m.beforeOpen = openLists;
    m.rowShown = showDestination;
    m.closed = closeLists;

    ListPrintSpec print =
        listPrint(QStringLiteral("TORCFSPR011"), QStringLiteral("TORCFPR011"), QStringLiteral("Custo de Transporte"),
                  QStringLiteral("Custos de Transporte"), false);
    print.orderChoice = false;
    print.columns = {
        {QStringLiteral("País"), QStringLiteral("PAIS"), 45},
        {QStringLiteral("Região"), QStringLiteral("REGIAO"), 45},
        {QStringLiteral("Província"), QStringLiteral("PROVINCIA"), 45},
        {QStringLiteral("(%) s/ Orçamento"), QStringLiteral("PRCORCAM"), 30, ValueFormat::Plain, Qt::AlignRight},
        {QStringLiteral("Custo p/ Km"), QStringLiteral("CUSTOKM"), 30, ValueFormat::Money, Qt::AlignRight}};
    m.print = print;
    return m;
}

} // namespace kv::costing
