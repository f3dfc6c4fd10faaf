#include "quotes/forms/WorksheetCustomerPage.h"

#include "quotes/core/QuoteLookupList.h"
#include "quotes/core/WorksheetReferences.h"
#include "quotes/forms/WorksheetPageHost.h"
#include "quotes/forms/WorksheetState.h"

#include "costing/forms/FieldLookup.h"
#include "imaging/forms/TPictureBox.h"

#include "platform/db/Dataset.h"
#include "platform/text/NumberText.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SideDoor.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

using Kind = WorksheetPageFields::Kind;

const QString CodeSearchHint = QStringLiteral("Tecla <Insert> Procurar");

QLabel* caption(const char* text) { return WorksheetPageFields::caption(text); }

QLabel* codeLabel(const char* name, int characters)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * characters);
    return label;
}

kv::ui::TGlyphButton* doorButton(const char* name, const char* hint)
{
    auto* button = new kv::ui::TGlyphButton(QStringLiteral("..."));
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(hint));
    button->setVisible(false);
    return button;
}

} // namespace

WorksheetCustomerPage::WorksheetCustomerPage(WorksheetState& state, QuoteFormsEnvironment environment,
                                             WorksheetPageHost& host)
    : m_w(state), m_environment(environment), m_host(host), m_form(host.form()), m_fields(host.form())
{
    auto* outer = new QHBoxLayout(this);
    outer->addWidget(buildFields());
    outer->addWidget(WorksheetPageFields::photoBox(ML1, QStringLiteral("ML1")), 1, Qt::AlignTop);

    kv::ui::Form& f = m_form;
    f.setEnterHandler(Edit_CliNro, [this] { Edit_CliNroEnter(); });
    f.setExitHandler(Edit_CliNro, [this] { Edit_CliNroExit(); });
    f.setKeyHint(Edit_CliNro, WorksheetPageFields::numericAlphabeticHint());
    f.setEnterHandler(Edit_Nome, [this] { Edit_NomeEnter(); });
    f.setExitHandler(Edit_Nome, [this] { Edit_NomeExit(); });
    f.setExitHandler(Edit_CodPostal, [this] { Edit_CodPostalExit(); });
    f.setExitHandler(Edit_CndPgt, [this] { Edit_CndPgtExit(); });
    f.setExitHandler(Edit_VndNro, [this] { Edit_VndNroExit(); });
    f.setExitHandler(Edit_NosRef, [this] { Edit_NosRefExit(); });
    f.setExitHandler(Edit_Design[0], [this] { Edit_Design1Exit(); });
    f.setExitHandler(Edit_CodIva, [this] { Edit_CodIvaExit(); });
    f.setExitHandler(Edit_Observ[2], [this] { Edit_Observ3Exit(); });
    for (QLineEdit* field : {Edit_CodPostal, Edit_CndPgt, Edit_VndNro, Edit_CodIva})
        f.setKeyHint(field, CodeSearchHint);
    for (QLineEdit* measure : {Edit_Comprim, Edit_Largura, Edit_Altura})
        f.setExitHandler(measure, [this, measure] { Edit_MeasureExit(measure); });

    using kv::costing::addFieldAction;
    const QKeySequence insert(Qt::Key_Insert);
    const QKeySequence ctrlInsert(Qt::CTRL | Qt::Key_Insert);
    addFieldAction(Edit_CliNro, QStringLiteral("Procura Numérica"), insert, [this] { customerLookup(false); });
    addFieldAction(Edit_CliNro, QStringLiteral("Procura Alfabética"), ctrlInsert, [this] { customerLookup(true); });
    addFieldAction(Edit_CodPostal, QStringLiteral("Procurar"), insert, [this] { postalCodeLookup(); });
    addFieldAction(Edit_CndPgt, QStringLiteral("Procurar"), insert, [this] {
        sharedLookup("DTTABELAS.CNDPGT", Edit_CndPgt,
                     {{QStringLiteral("CODIGO"), QStringLiteral("Cond.Pag.Nº"), 8, {}},
                      {QStringLiteral("NRDIAS"), QStringLiteral("Nº Dias"), 6, {}},
                      {QStringLiteral("DESCRI"), QStringLiteral("Descrição"), 25, {}},
                      {QStringLiteral("PRCDESC"), QStringLiteral("% Descto."), 8, {}}});
    });
    addFieldAction(Edit_VndNro, QStringLiteral("Procurar"), insert, [this] {
        sharedLookup("DTFILES.VENDEDORES", Edit_VndNro,
                     {{QStringLiteral("CODIGO"), QStringLiteral("Vend.Nº"), 8, {}},
                      {QStringLiteral("NOME"), QStringLiteral("Nome Vendedor"), 30, {}}});
    });
    addFieldAction(Edit_CodIva, QStringLiteral("Procurar"), insert, [this] {
        sharedLookup("DTTABELAS.IVA", Edit_CodIva,
                     {{QStringLiteral("CODIGO"), QStringLiteral("Cód.Iva"), 8, {}},
                      {QStringLiteral("PRCIVA"), QStringLiteral("Taxa IVA"), 8, {}}});
    });
    addFieldAction(Edit_NosRef, QStringLiteral("Procurar"), insert, [this] { articleLookup(false); });
    addFieldAction(Edit_NosRef, QStringLiteral("Busca Alfabética"), ctrlInsert, [this] { articleLookup(true); });

    connect(BotCodPostal, &kv::ui::TGlyphButton::clicked, this, [this] {
        sideDoor(QStringLiteral("TFACF008"), QStringLiteral("TFACFPR008"), {QStringLiteral("DTTABELAS.CODPOSTAL")});
    });
    connect(BotCndPgt, &kv::ui::TGlyphButton::clicked, this, [this] {
        sideDoor(QStringLiteral("TFACF003A"), QStringLiteral("TFACFPR003A"), {QStringLiteral("DTTABELAS.CNDPGT")});
    });
    // The salesmen form also closes the postal codes.
    connect(BotVendedor, &kv::ui::TGlyphButton::clicked, this, [this] {
        sideDoor(QStringLiteral("TFACF030"), {},
                 {QStringLiteral("DTFILES.VENDEDORES"), QStringLiteral("DTTABELAS.CODPOSTAL")});
    });
}

WorksheetCustomerPage::~WorksheetCustomerPage() = default;

QWidget* WorksheetCustomerPage::buildFields()
{
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setVerticalSpacing(3);
    int r = 0;
    auto row = [&](QLabel* label, std::initializer_list<QWidget*> widgets) {
        WorksheetPageFields::addRow(grid, r, label, widgets);
    };
    QLabel* l = caption("Cliente Nº : ");
    Edit_CliNro = m_fields.add(QStringLiteral("Edit_CliNro"), QStringLiteral("CLINRO"), Kind::Integer, 8, l);
    row(l, {Edit_CliNro});
    l = caption("Nome : ");
    Edit_Nome = m_fields.add(QStringLiteral("Edit_Nome"), QStringLiteral("NOME"), Kind::Text, 40, l);
    row(l, {Edit_Nome});
    l = caption("Morada : ");
    Edit_Morada1 = m_fields.add(QStringLiteral("Edit_Morada1"), QStringLiteral("MORADA1"), Kind::Text, 30, l);
    row(l, {Edit_Morada1});
    Edit_Morada2 = m_fields.add(QStringLiteral("Edit_Morada2"), QStringLiteral("MORADA2"), Kind::Text, 30, l);
    row(new QLabel, {Edit_Morada2});
    l = caption("Cód.Pos/Local.");
    Edit_CodPostal = m_fields.add(QStringLiteral("Edit_CodPostal"), QStringLiteral("CODPOSTAL"), Kind::Text, 8, l);
    Edit_Localidade = WorksheetPageFields::box(QStringLiteral("Edit_Localidade"), 30);
    BotCodPostal = doorButton("BotCodPostal", "Código Postais");
    row(l, {Edit_CodPostal, Edit_Localidade, BotCodPostal});
    Edit_Regiao = WorksheetPageFields::box(QStringLiteral("Edit_Regiao"), 20);
    Edit_Provincia = WorksheetPageFields::box(QStringLiteral("Edit_Provincia"), 20);
    row(new QLabel, {Edit_Regiao, Edit_Provincia});
    l = caption("Cond.Pagam. : ");
    Edit_CndPgt = m_fields.add(QStringLiteral("Edit_CndPgt"), QStringLiteral("CNDPGT"), Kind::Integer, 5, l);
    Label_CndPgt = codeLabel("Label_CndPgt", 36);
    BotCndPgt = doorButton("BotCndPgt", "Condições de Pagamento");
    row(l, {Edit_CndPgt, BotCndPgt, Label_CndPgt});
    l = caption("Vendedor : ");
    Edit_VndNro = m_fields.add(QStringLiteral("Edit_VndNro"), QStringLiteral("VNDNRO"), Kind::Integer, 5, l);
    Label_Vendedor = codeLabel("Label_Vendedor", 36);
    BotVendedor = doorButton("BotVendedor", "Vendedores");
    row(l, {Edit_VndNro, BotVendedor, Label_Vendedor});
    l = caption("N/ Referência : ");
    Edit_NosRef = m_fields.add(QStringLiteral("Edit_NosRef"), QStringLiteral("NOSREF"), Kind::Text, 16, l);
    row(l, {Edit_NosRef});
    l = caption("Designação : ");
    for (int i = 0; i < 5; ++i) {
        Edit_Design[i] = m_fields.add(QStringLiteral("Edit_Design%1").arg(i + 1), QStringLiteral("DESIGN%1").arg(i + 1),
                                      Kind::Text, 40, l);
        row(i == 0 ? l : new QLabel, {Edit_Design[i]});
    }
    l = caption("Cód.I.V.A. : ");
    Edit_CodIva = m_fields.add(QStringLiteral("Edit_CodIva"), QStringLiteral("CODIVA"), Kind::Integer, 4, l);
    Label_Iva = codeLabel("Label_Iva", 8);
    row(l, {Edit_CodIva, Label_Iva});
    l = caption("Und.Venda  : ");
    Edit_UndVnd = m_fields.add(QStringLiteral("Edit_UndVnd"), QStringLiteral("UNDVND"), Kind::Text, 3, l);
    QLabel* ref = caption("V/ Referência : ");
    Edit_VosRef = m_fields.add(QStringLiteral("Edit_VosRef"), QStringLiteral("VOSREF"), Kind::Text, 15, ref);
    row(l, {Edit_UndVnd, ref, Edit_VosRef});
    l = caption("Medidas (mm) : ");
    Edit_Comprim = m_fields.add(QStringLiteral("Edit_Comprim"), QStringLiteral("COMPRIM"), Kind::Number, 8, l);
    Edit_Largura = m_fields.add(QStringLiteral("Edit_Largura"), QStringLiteral("LARGURA"), Kind::Number, 8, l);
    Edit_Altura = m_fields.add(QStringLiteral("Edit_Altura"), QStringLiteral("ALTURA"), Kind::Number, 8, l);
    row(l, {Edit_Comprim, new QLabel(QStringLiteral("x")), Edit_Largura, new QLabel(QStringLiteral("x")), Edit_Altura});
    l = caption("Observações : ");
    for (int i = 0; i < 3; ++i) {
        Edit_Observ[i] = m_fields.add(QStringLiteral("Edit_Observ%1").arg(i + 1), QStringLiteral("OBSERV%1").arg(i + 1),
                                      Kind::Text, 50, l);
        row(i == 0 ? l : new QLabel, {Edit_Observ[i]});
    }
    grid->setRowStretch(r, 1);
    return panel;
}

WorksheetReferences WorksheetCustomerPage::references() const
{
    return WorksheetReferences(*m_environment.invoicing(), *m_environment.application());
}

bool WorksheetCustomerPage::skipWhileCancelling() const { return m_w.cancelled; }

void WorksheetCustomerPage::refuse(const QString& message) { m_form.rejectField(message); }

// A code above 0, or nothing when the text is empty, not a whole number or
// not above 0.
std::optional<qint64> WorksheetCustomerPage::positive(QLineEdit* field) const
{
    const auto value = kv::text::parseInteger(field->text());
    if (!value || *value <= 0)
        return std::nullopt;
    return value;
}

// ------------------------------------------------------------ side doors

void WorksheetCustomerPage::showSideDoors()
{
    const kv::shell::LoginState& state = *m_environment.state;
    kv::shell::AccessRights rights(m_environment.modules->dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")),
                                   *m_environment.state);
    // A door whose form this program does not have stays hidden, as its menu
    // entry would stay disabled.
    auto show = [&](kv::ui::TGlyphButton* button, const char* formClass, const char* chapter, const char* program) {
        const bool registered = m_environment.forms && m_environment.forms->contains(QString::fromLatin1(formClass));
        button->setVisible(
            registered
            && rights.sideDoorVisible(state.WAplicacao, QString::fromLatin1(chapter), QString::fromLatin1(program)));
    };
    show(BotCodPostal, "TFACF008", "Tabelas", "Codigos Postais");
    show(BotCndPgt, "TFACF003A", "Tabelas", "Condicoes de Pagamento");
    show(BotVendedor, "TFACF030", "Ficheiros Base", "Vendedores");
}

void WorksheetCustomerPage::sideDoor(const QString& formClass, const QString& reportClass, const QStringList& datasets)
{
    std::vector<kv::db::Dataset*> shared;
    for (const QString& name : datasets)
        shared.push_back(&m_environment.modules->dataset(name));
    kv::ui::openFromSideDoor(*m_environment.forms, &m_form, formClass, reportClass, shared);
}

// ---------------------------------------------------------------- fields

void WorksheetCustomerPage::Edit_CliNroEnter()
{
    if (m_w.headerReset || !m_w.row) {
        m_host.focusSeries();
        return;
    }
    m_host.openQuote();
}

void WorksheetCustomerPage::Edit_CliNroExit()
{
    if (!m_w.row)
        return;
    if (Edit_CliNro->text().trimmed().isEmpty()) {
        m_w.row->setNull(QStringLiteral("CLINRO"));
        m_form.focusField(Edit_Nome);
        return;
    }
    const auto code = positive(Edit_CliNro);
    const auto customer = code ? references().customer(*code) : std::nullopt;
    if (!customer) {
        refuse(QStringLiteral("Cliente Inexistente !!!"));
        return;
    }
    applyCustomer(*customer);
}

// The customer's name, address, postal code, payment condition and
// salesman replace what was typed.
void WorksheetCustomerPage::applyCustomer(const CustomerFacts& customer)
{
    Edit_CliNro->setText(QString::number(customer.code));
    Edit_Nome->setText(customer.name);
    Edit_Morada1->setText(customer.address1);
    Edit_Morada2->setText(customer.address2);
    Edit_CodPostal->setText(customer.postalCode);
    Edit_CndPgt->setText(customer.paymentCondition.isNull() ? QString()
                                                            : QString::number(customer.paymentCondition.toLongLong()));
    Edit_VndNro->setText(customer.salesman.isNull() ? QString() : QString::number(customer.salesman.toLongLong()));
    for (QLineEdit* field :
         {Edit_CliNro, Edit_Nome, Edit_Morada1, Edit_Morada2, Edit_CodPostal, Edit_CndPgt, Edit_VndNro})
        m_fields.store(field, *m_w.row);
    showPostalCode(customer.postalCode);
    showPaymentCondition(customer.paymentCondition.toLongLong());
    showSalesman(customer.salesman.toLongLong());
}

void WorksheetCustomerPage::Edit_NomeEnter()
{
    if (m_w.headerReset)
        m_host.focusSeries();
}

void WorksheetCustomerPage::Edit_NomeExit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    if (Edit_Nome->text().trimmed().isEmpty()) {
        refuse(QStringLiteral("Nome do Cliente Inválido !!! "));
        return;
    }
    m_fields.store(Edit_Nome, *m_w.row);
}

void WorksheetCustomerPage::Edit_CodPostalExit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    const QString code = Edit_CodPostal->text().trimmed();
    if (code.isEmpty()) {
        refuse(QStringLiteral("Código Postal Inválido"));
        return;
    }
    if (!references().postalCode(code)) {
        showPostalCode({});
        refuse(QStringLiteral("Código Postal Inexistente"));
        return;
    }
    m_fields.store(Edit_CodPostal, *m_w.row);
    showPostalCode(code);
}

void WorksheetCustomerPage::Edit_CndPgtExit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    const auto code = positive(Edit_CndPgt);
    if (!code) {
        refuse(QStringLiteral("Condição de Pagamento Inválida"));
        return;
    }
    showPaymentCondition(*code);
    if (Label_CndPgt->text().isEmpty()) {
        refuse(QStringLiteral("Condição de Pagamento Inexistente"));
        return;
    }
    m_fields.store(Edit_CndPgt, *m_w.row);
}

void WorksheetCustomerPage::Edit_VndNroExit()
{
    if (m_w.headerReset) {
        m_host.focusSeries();
        return;
    }
    if (!m_w.row || skipWhileCancelling())
        return;
    const auto code = positive(Edit_VndNro);
    if (!code) {
        refuse(QStringLiteral("Vendedor Inválido"));
        return;
    }
    showSalesman(*code);
    if (Label_Vendedor->text().isEmpty()) {
        refuse(QStringLiteral("Vendedor Inexistente"));
        return;
    }
    m_fields.store(Edit_VndNro, *m_w.row);
}

void WorksheetCustomerPage::Edit_NosRefExit()
{
    if (!m_w.row)
        return;
    const QString code = Edit_NosRef->text().trimmed();
    if (code.isEmpty()) {
        m_w.row->setNull(QStringLiteral("NOSREF"));
        return;
    }
    const auto article = references().article(code, m_w.articleListNarrowed);
    if (!article) {
        Edit_NosRef->clear();
        m_w.row->setNull(QStringLiteral("NOSREF"));
        refuse(QStringLiteral("Artigo Inexistente !!!"));
        return;
    }
    Edit_NosRef->setText(article->code);
    Edit_Design[0]->setText(article->designation);
    Edit_CodIva->setText(article->vatCode.isNull() ? QString() : QString::number(article->vatCode.toLongLong()));
    Edit_UndVnd->setText(article->salesUnit);
    Edit_VosRef->setText(article->customerReference);
    const auto measure = [](const QVariant& v) { return v.isNull() ? QString() : kv::text::plain(v.toDouble()); };
    Edit_Comprim->setText(measure(article->length));
    Edit_Largura->setText(measure(article->width));
    Edit_Altura->setText(measure(article->height));
    for (QLineEdit* field :
         {Edit_NosRef, Edit_Design[0], Edit_CodIva, Edit_UndVnd, Edit_VosRef, Edit_Comprim, Edit_Largura, Edit_Altura})
        m_fields.store(field, *m_w.row);
    showVat(article->vatCode.toLongLong());
    m_host.showPictures(article->code);
}

void WorksheetCustomerPage::Edit_Design1Exit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    if (Edit_Design[0]->text().trimmed().isEmpty()) {
        refuse(QStringLiteral("A Designação do Artigo Tem que ser Preenchida !!!"));
        return;
    }
    m_fields.store(Edit_Design[0], *m_w.row);
}

void WorksheetCustomerPage::Edit_CodIvaExit()
{
    if (!m_w.row || skipWhileCancelling())
        return;
    const auto code = positive(Edit_CodIva);
    if (!code) {
        refuse(QStringLiteral("Código IVA Inválido"));
        return;
    }
    showVat(*code);
    if (Label_Iva->text().isEmpty()) {
        refuse(QStringLiteral("Código IVA Inexistente"));
        return;
    }
    m_fields.store(Edit_CodIva, *m_w.row);
}

void WorksheetCustomerPage::Edit_MeasureExit(QLineEdit* field)
{
    if (m_w.row)
        m_fields.acceptNumber(field, *m_w.row);
}

void WorksheetCustomerPage::Edit_Observ3Exit()
{
    if (!m_w.row)
        return;
    store(*m_w.row);
    m_host.changePage(ProductionPage);
}

// ---------------------------------------------------------------- labels

void WorksheetCustomerPage::showPostalCode(const QString& code)
{
    const auto place = code.isEmpty() ? std::nullopt : references().postalCode(code);
    Edit_Localidade->setText(place ? place->locality : QString());
    Edit_Regiao->setText(place ? place->region : QString());
    Edit_Provincia->setText(place ? place->province : QString());
}

void WorksheetCustomerPage::showPaymentCondition(qint64 code)
{
    Label_CndPgt->setText(references().paymentCondition(code).value_or(QString()));
}

void WorksheetCustomerPage::showSalesman(qint64 code)
{
    Label_Vendedor->setText(references().salesman(code).value_or(QString()));
}

void WorksheetCustomerPage::showVat(qint64 code) { Label_Iva->setText(references().vatRate(code).value_or(QString())); }

void WorksheetCustomerPage::clearLabels()
{
    for (QLabel* label : {Label_CndPgt, Label_Vendedor, Label_Iva})
        label->clear();
    for (QLineEdit* box : {Edit_Localidade, Edit_Regiao, Edit_Provincia})
        box->clear();
}

void WorksheetCustomerPage::load(const QuoteRow& row)
{
    m_fields.load(row);
    showPostalCode(row.text(QStringLiteral("CODPOSTAL")).trimmed());
    showPaymentCondition(row.integer(QStringLiteral("CNDPGT")));
    showSalesman(row.integer(QStringLiteral("VNDNRO")));
    showVat(row.integer(QStringLiteral("CODIVA")));
}

void WorksheetCustomerPage::store(QuoteRow& row) const { m_fields.store(row); }

// --------------------------------------------------------------- lookups

bool WorksheetCustomerPage::windowLookup(QuoteLookupList& list, std::vector<kv::ui::GridColumn> columns)
{
    list.open();
    kv::ui::LookupDialog dialog(list.dataset(), std::move(columns), &m_form);
    dialog.setSearchQuery(
        [&list](const QString& field, const QString& text) { return field == list.keyField() && list.position(text); });
    return dialog.exec() == QDialog::Accepted && !list.dataset().isEmpty();
}

// The chosen customer is taken at once; Cancel leaves every field as it was.
void WorksheetCustomerPage::customerLookup(bool byName)
{
    if (!m_w.row)
        return;
    QuoteLookupList list(m_environment.invoicing(),
                         byName ? QuoteLookupList::Kind::CustomersByName : QuoteLookupList::Kind::CustomersByCode);
    std::vector<kv::ui::GridColumn> columns{{QStringLiteral("CODIGO"), QStringLiteral("Cliente Nº"), 8, {}},
                                            {QStringLiteral("NOME"), QStringLiteral("Nome do Cliente"), 40, {}},
                                            {QStringLiteral("MERCADO"), QStringLiteral("Mercado"), 7, {}}};
    if (byName)
        std::swap(columns[0], columns[1]);
    if (!windowLookup(list, std::move(columns)))
        return;
    const auto customer = references().customer(list.dataset().value(QStringLiteral("CODIGO")).toLongLong());
    if (customer)
        applyCustomer(*customer);
}

void WorksheetCustomerPage::postalCodeLookup()
{
    QuoteLookupList list(m_environment.invoicing(), QuoteLookupList::Kind::PostalCodes);
    if (!windowLookup(list, {{QStringLiteral("CODPOSTAL"), QStringLiteral("Cód.Postal"), 8, {}},
                             {QStringLiteral("LOCALIDADE"), QStringLiteral("Localidade"), 30, {}},
                             {QStringLiteral("PROVINCIA"), QStringLiteral("Provincia"), 20, {}},
                             {QStringLiteral("REGIAO"), QStringLiteral("Regiao"), 20, {}}}))
        return;
    Edit_CodPostal->setText(list.dataset().value(QStringLiteral("CODPOSTAL")).toString().trimmed());
}

// Once an article is chosen, a typed code is checked among the articles the
// lookup offers.
void WorksheetCustomerPage::articleLookup(bool byDesignation)
{
    QuoteLookupList list(m_environment.invoicing(), byDesignation ? QuoteLookupList::Kind::ArticlesByDesignation
                                                                  : QuoteLookupList::Kind::ArticlesByCode);
    std::vector<kv::ui::GridColumn> columns{{QStringLiteral("CODIGO"), QStringLiteral("Código"), 16, {}},
                                            {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}}};
    if (byDesignation)
        std::swap(columns[0], columns[1]);
    if (!windowLookup(list, std::move(columns)))
        return;
    m_w.articleListNarrowed = true;
    Edit_NosRef->setText(list.dataset().value(QStringLiteral("CODIGO")).toString().trimmed());
}

void WorksheetCustomerPage::sharedLookup(const char* dataset, QLineEdit* field, std::vector<kv::ui::GridColumn> columns)
{
    kv::db::Dataset& list = m_environment.modules->dataset(QString::fromLatin1(dataset));
    if (!list.isOpen())
        list.open();
    if (!kv::costing::runLookup(list, std::move(columns), &m_form) || list.isEmpty())
        return;
    field->setText(QString::number(list.value(QStringLiteral("CODIGO")).toLongLong()));
    m_form.focusField(field);
}

} // namespace kv::quotes
