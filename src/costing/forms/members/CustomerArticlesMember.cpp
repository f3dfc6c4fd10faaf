#include "costing/forms/members/CustomerArticlesMember.h"

#include "costing/forms/CodeTableForm.h"
#include "costing/forms/FieldLookup.h"
#include "costing/forms/members/MemberParts.h"

#include "costing/core/CostTableChecks.h"
#include "costing/core/CustomerArticleLists.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

#include <QKeySequence>

namespace kv::costing {

namespace {

const QString Customer = QStringLiteral("CLIENTE");

// The form's lists live as long as the form.
class Lists : public QObject {
public:
    Lists(std::shared_ptr<kv::db::Connection> invoicing, QObject* form) : QObject(form), lists(std::move(invoicing))
    {
        setObjectName(QStringLiteral("CustomerArticleLists"));
    }
    CustomerArticleLists lists;
};

CustomerArticleLists& lists(CodeTableForm& form)
{
    auto* own = form.findChild<Lists*>(QStringLiteral("CustomerArticleLists"), Qt::FindDirectChildrenOnly);
    if (!own)
        own = new Lists(form.environment().invoicing(), &form);
    return own->lists;
}

QString designation(ArticleLists& articles)
{
    return articles.numeric().value(QStringLiteral("DESIGNACAO")).toString();
}

void setValue(CodeTableForm& form, const QString& column, const QVariant& value)
{
    form.table().setValue(column, value);
}

KeyCheck customerCheck(CodeTableForm& form, const QString& text)
{
    KeyCheck check = checkCustomerNumber(text);
    if (check.verdict == KeyVerdict::Free && !lists(form).locateCustomer(check.code))
        return {KeyVerdict::Invalid, check.code, unknownCustomerMessage()};
    return check;
}

// The customer passed: the row starts with its number and name.
void customerChosen(CodeTableForm& form)
{
    const QString name = lists(form).customers().value(QStringLiteral("NOME")).toString();
    setLabel(form, QStringLiteral("Label_Nome"), name);
    setValue(form, QStringLiteral("NOME"), name);
}

bool productExit(CodeTableForm& form)
{
    // An existing row shows its customer and product; only its raw material changes.
    if (!form.inserting())
        return true;
    const QString typed = fieldText(form, QStringLiteral("Edit_Artigo"));
    ArticleLists& products = lists(form).products();
    if (!products.locate(typed)) {
        form.refuse(unknownArticleMessage(typed));
        return false;
    }
    setLabel(form, QStringLiteral("Label_Designacao"), designation(products));
    kv::db::Dataset& table = form.table();
    const qint64 customer = table.value(Customer).toLongLong();
    if (customerHasArticle(table, customer, typed)) {
        // No row: the user starts again from the customer.
        table.cancel();
        form.refuse(customerArticleTakenMessage());
        form.moveFocus(QStringLiteral("Edit_Codigo"));
        return false;
    }
    setValue(form, QStringLiteral("ARTIGO"), typed);
    setValue(form, QStringLiteral("DESIGNACAO"), designation(products));
    return true;
}

bool materialExit(CodeTableForm& form)
{
    const QString typed = fieldText(form, QStringLiteral("Edit_MatPrm"));
    ArticleLists& materials = lists(form).materials();
    if (!materials.locate(typed)) {
        form.refuse(unknownArticleMessage(typed));
        return false;
    }
    setLabel(form, QStringLiteral("Label_MatDescri"), designation(materials));
    setValue(form, QStringLiteral("MATDESCRI"), designation(materials));
    return true;
}

// A lookup over one of the lists: the code of the row chosen with OK goes
// into the field; Cancel changes nothing.
void lookup(CodeTableForm& form, kv::db::Dataset& list, std::vector<kv::ui::GridColumn> columns, const QString& field,
            const QString& column)
{
    if (!list.isOpen())
        return;
    const bool chosen = runLookup(list, std::move(columns), &form);
    if (auto* edit = qobject_cast<QLineEdit*>(form.control(field)); edit && chosen && !list.isEmpty())
        edit->setText(list.value(column).toString());
    form.moveFocus(field);
}

std::vector<FieldAction> articleSearches(const QString& field, ArticleLists& (*which)(CodeTableForm&))
{
    const QString code = QStringLiteral("CODIGO");
    return {{QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
             [field, which, code](CodeTableForm& form) {
                 lookup(form, which(form).numeric(),
                        {{code, QStringLiteral("Artigo Nº"), 16, {}},
                         {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                         {QStringLiteral("TIPOARTIGO"), QStringLiteral("Tipo artigo"), 2, {}}},
                        field, code);
             }},
            {QStringLiteral("Procura Alfabética"), QKeySequence(Qt::ControlModifier | Qt::Key_Insert),
             [field, which, code](CodeTableForm& form) {
                 lookup(form, which(form).alphabetic(),
                        {{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                         {code, QStringLiteral("Artigo Nº"), 16, {}}},
                        field, code);
             }}};
}

ArticleLists& products(CodeTableForm& form) { return lists(form).products(); }

ArticleLists& materials(CodeTableForm& form) { return lists(form).materials(); }

std::vector<FieldAction> customerSearches()
{
    const QString field = QStringLiteral("Edit_Codigo");
    const QString code = QStringLiteral("CODIGO");
    return {{QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
             [field, code](CodeTableForm& form) {
                 lookup(form, lists(form).customers(),
                        {{code, QStringLiteral("Cliente Nº"), 16, {}},
                         {QStringLiteral("NOME"), QStringLiteral("Nome"), 40, {}}},
                        field, code);
             }},
            {QStringLiteral("Procura Alfabética"), QKeySequence(Qt::ControlModifier | Qt::Key_Insert),
             [field, code](CodeTableForm& form) {
                 lookup(form, lists(form).customersByName(),
                        {{QStringLiteral("NOME"), QStringLiteral("Nome"), 40, {}},
                         {code, QStringLiteral("Cliente Nº"), 16, {}}},
                        field, code);
             }}};
}

void showRow(CodeTableForm& form, bool hasRow)
{
    kv::db::Dataset& table = form.table();
    const auto text = [&](const char* column) {
        return hasRow ? table.value(QString::fromLatin1(column)).toString() : QString();
    };
    if (auto* edit = qobject_cast<QLineEdit*>(form.control(QStringLiteral("Edit_Artigo"))))
        edit->setText(text("ARTIGO"));
    setLabel(form, QStringLiteral("Label_Nome"), text("NOME"));
    setLabel(form, QStringLiteral("Label_Designacao"), text("DESIGNACAO"));
    setLabel(form, QStringLiteral("Label_MatDescri"), text("MATDESCRI"));
}

bool openLists(CodeTableForm& form)
{
    try {
        lists(form).open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    return true;
}

} // namespace

CodeTableDescription customerArticlesMember()
{
    CodeTableDescription m = tableMember(QStringLiteral("TORCF015"), QStringLiteral("Artigos / Mat.Prima por Cliente"),
                                         QStringLiteral("PLN_FICTEC"), QStringLiteral("Tintas"));
    m.order = {Customer, QStringLiteral("ARTIGO")};
    m.keyColumn = Customer;
    m.keyCaption = QStringLiteral("Cód. Cliente : ");
    m.proposeKey = false;
    m.keyCheck = [](CodeTableForm& form, const QString& text, const std::function<bool(qint64)>&) {
        return customerCheck(form, text);
    };
    m.keyActions = customerSearches();
    m.keyNameLabel = QStringLiteral("Label_Nome");
    m.afterKeyField = QStringLiteral("Edit_Artigo");
    m.firstField = QStringLiteral("Edit_MatPrm");
    m.rowStarted = customerChosen;
    m.labelsLightUp = false;
    m.makerTagPanel = 0;

    FieldSpec product = articleField();
    product.bound = false;
    product.nameLabel = QStringLiteral("Label_Designacao");
    product.onExit = productExit;
    product.actions = articleSearches(product.name, products);
    FieldSpec material =
        editField(QStringLiteral("Edit_MatPrm"), QStringLiteral("MATPRIMA"), QStringLiteral("Matéria prima : "));
    material.nameLabel = QStringLiteral("Label_MatDescri");
    material.hint = QStringLiteral("Tecla <Insert> - Procura Numérica, <Ctrl-Insert> - Procura Alfabética");
    material.onExit = materialExit;
    material.actions = articleSearches(material.name, materials);
    m.fields = {product, material};

    m.grid = {{QStringLiteral("NOME"), QStringLiteral("Cliente"), 30},
              {QStringLiteral("ARTIGO"), QStringLiteral("Artigo"), 16},
              {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 30},
              {QStringLiteral("MATPRIMA"), QStringLiteral("Mat.Prima"), 16},
              {QStringLiteral("MATDESCRI"), QStringLiteral("Designação"), 30}};
    m.beforeOpen = openLists;
    m.rowShown = [](CodeTableForm& form) { showRow(form, form.table().isOpen() && !form.table().isEmpty()); };
    m.insertStarted = [](CodeTableForm& form) { showRow(form, false); };
    m.closed = [](CodeTableForm& form) { lists(form).close(); };

    ListPrintSpec print =
        listPrint(QStringLiteral("TORCFSPR015"), QStringLiteral("TORCFPR015"), m.caption, m.caption, false);
    print.numericOrder = {Customer, QStringLiteral("ARTIGO")};
    print.alphabeticOrder = {QStringLiteral("NOME"), QStringLiteral("ARTIGO")};
    print.orientation = QPageLayout::Landscape;
    print.columns = {{QStringLiteral("Cód.Cliente"), Customer, 22, ValueFormat::Plain, Qt::AlignRight},
                     {QStringLiteral("Nome"), QStringLiteral("NOME"), 70},
                     {QStringLiteral("Artigo"), QStringLiteral("ARTIGO"), 32},
                     {QStringLiteral("Designação "), QStringLiteral("DESIGNACAO"), 70},
                     {QStringLiteral("Matéria Prima"), QStringLiteral("MATPRIMA"), 32},
                     {QStringLiteral("Designação "), QStringLiteral("MATDESCRI"), 56}};
    m.print = print;
    return m;
}

} // namespace kv::costing
