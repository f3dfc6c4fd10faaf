#include "costing/forms/ListPrintDialog.h"

#include "costing/forms/FieldLookup.h"
#include "costing/forms/ListReportForm.h"

#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include "platform/ui/FieldWidth.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv::costing {

namespace {

// The print dialogs read every article above type 5, whatever the table
// form's own condition, with the sizes as well.
ArticleListSpec dialogArticles()
{
    ArticleListSpec spec;
    spec.numericColumns << QStringLiteral("COMPRIM") << QStringLiteral("LARGURA");
    return spec;
}

const QString CodeColumn = QStringLiteral("CODIGO");

} // namespace

ListPrintDialog::ListPrintDialog(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent, 1), m_member(member), m_spec(*member.print), m_environment(environment)
{
    setObjectName(m_spec.dialogClass);
    setWindowTitle(m_spec.dialogCaption);
    setModal(true);

    auto* layout = new QVBoxLayout(body());
    auto* order = new QGroupBox(QStringLiteral("Ordenação"), body());
    auto* orderLayout = new QHBoxLayout(order);
    RadNumerica = new QRadioButton(QStringLiteral("Numérica"), order);
    RadNumerica->setObjectName(QStringLiteral("RadNumerica"));
    RadNumerica->setChecked(true);
    RadAlfabetica = new QRadioButton(QStringLiteral("Alfabética"), order);
    RadAlfabetica->setObjectName(QStringLiteral("RadAlfabetica"));
    orderLayout->addWidget(RadNumerica);
    orderLayout->addWidget(RadAlfabetica);
    layout->addWidget(order);
    order->setVisible(m_spec.orderChoice);

    if (m_spec.articleRange) {
        m_articles = std::make_unique<ArticleLists>(m_environment.invoicing(), dialogArticles());
        auto* range = new QGridLayout;
        range->addWidget(new QLabel(QStringLiteral("Do Artigo Nº : "), body()), 0, 0);
        Edit_Artigo1 = addRangeField(QStringLiteral("Edit_Artigo1"), &Label_Designacao1);
        range->addWidget(Edit_Artigo1, 0, 1);
        range->addWidget(Label_Designacao1, 1, 1);
        range->addWidget(new QLabel(QStringLiteral("Ao Artigo Nº : "), body()), 2, 0);
        Edit_Artigo2 = addRangeField(QStringLiteral("Edit_Artigo2"), &Label_Designacao2);
        range->addWidget(Edit_Artigo2, 2, 1);
        range->addWidget(Label_Designacao2, 3, 1);
        // Room for an article's designation, so that showing one does not widen the dialog.
        for (QLabel* designation : {Label_Designacao1, Label_Designacao2})
            designation->setMinimumWidth(designation->fontMetrics().averageCharWidth() * 40);
        range->setColumnStretch(2, 1);
        layout->addLayout(range);
    }

    auto* buttons = new QHBoxLayout(buttonBar());
    BitPrint = new kv::ui::TGlyphButton(QStringLiteral("&Imprimir"), buttonBar());
    BitPrint->setObjectName(QStringLiteral("BitPrint"));
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addStretch(1);
    buttons->addWidget(BitPrint);
    buttons->addWidget(BitTerminar);
    connect(BitPrint, &kv::ui::TGlyphButton::clicked, this, &ListPrintDialog::BitPrintClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, [this] { accept(); });

    if (m_spec.articleRange) {
        setExitHandler(Edit_Artigo1, [this] { Edit_Artigo1Exit(); });
        setExitHandler(Edit_Artigo2, [this] { Edit_Artigo2Exit(); });
    }
}

ListPrintDialog::~ListPrintDialog() = default;

QLineEdit* ListPrintDialog::addRangeField(const QString& name, QLabel** designation)
{
    auto* field = new QLineEdit(body());
    field->setObjectName(name);
    field->setMaxLength(16);
    kv::ui::setFieldWidth(field, 16);
    *designation = new QLabel(body());
    (*designation)
        ->setObjectName(name == QLatin1String("Edit_Artigo1") ? QStringLiteral("Label_Designacao1")
                                                              : QStringLiteral("Label_Designacao2"));
    addFieldAction(field, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                   [this, field] { lookup(field, false); });
    addFieldAction(field, QStringLiteral("Procura Alfabética"), QKeySequence(Qt::ControlModifier | Qt::Key_Insert),
                   [this, field] { lookup(field, true); });
    return field;
}

void ListPrintDialog::FormActivate()
{
    if (m_articles) {
        try {
            m_articles->open();
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
        }
        Edit_Artigo1->clear();
        Edit_Artigo2->setText(lastArticleCode());
    }
    EnableEvents();
}

void ListPrintDialog::FormClose()
{
    if (m_articles)
        m_articles->close();
}

void ListPrintDialog::Edit_Artigo1Exit()
{
    Label_Designacao1->clear();
    const QString from = Edit_Artigo1->text().left(16);
    if (m_articles->locate(from))
        Label_Designacao1->setText(m_articles->numeric().value(QStringLiteral("DESIGNACAO")).toString());
}

void ListPrintDialog::Edit_Artigo2Exit()
{
    Label_Designacao2->clear();
    const QString to = Edit_Artigo2->text().left(16);
    if (!m_articles->locate(to))
        return;
    if (to < Edit_Artigo1->text().left(16)) {
        focusField(Edit_Artigo1);
        return;
    }
    Label_Designacao2->setText(m_articles->numeric().value(QStringLiteral("DESIGNACAO")).toString());
}

void ListPrintDialog::lookup(QLineEdit* field, bool alphabetic)
{
    using kv::ui::GridColumn;
    kv::db::Dataset& list = alphabetic ? m_articles->alphabetic() : m_articles->numeric();
    if (!list.isOpen())
        return;
    const std::vector<GridColumn> columns =
        alphabetic ? std::vector<GridColumn>{{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                                             {QStringLiteral("TIPOARTIGO"), QStringLiteral("T.A."), 2, {}},
                                             {CodeColumn, QStringLiteral("Artigo Nº"), 18, {}}}
                   : std::vector<GridColumn>{{CodeColumn, QStringLiteral("Artigo Nº"), 18, {}},
                                             {QStringLiteral("TIPOARTIGO"), QStringLiteral("T.A."), 2, {}},
                                             {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}}};
    if (!runLookup(list, columns, this))
        return;
    field->setText(list.value(CodeColumn).toString());
}

void ListPrintDialog::BitPrintClick()
{
    if (RadNumerica->isChecked())
        OpenNumerico();
    else
        OpenAlfabetico();
}

void ListPrintDialog::OpenNumerico() { openList(ListOrder::Numeric); }

void ListPrintDialog::OpenAlfabetico() { openList(ListOrder::Alphabetic); }

void ListPrintDialog::openList(ListOrder order)
{
    if (!m_spec.orderChoice) {
        // The table as the form lists it, its statement untouched.
        preview(m_environment.dataset(m_member.dataset), order, {}, {});
        return;
    }
    // The report's header shows the range this statement selects, whatever
    // the fields held when they were last left.
    const QString from = m_spec.articleRange ? Edit_Artigo1->text() : QString();
    const QString to = m_spec.articleRange ? Edit_Artigo2->text() : QString();
    const ListQuery query = m_spec.articleRange
                                ? articleRangeStatement(m_member.table, order, from, to)
                                : orderStatement(m_member.table, order, m_spec.numericOrder, m_spec.alphabeticOrder);
    kv::db::Dataset& table = m_environment.dataset(m_member.dataset);
    try {
        table.close();
        table.setSql(query.sql);
        for (const QString& name : query.params.names())
            table.setParam(name, query.params.value(name));
        table.open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    preview(table, order, from, to);
}

void ListPrintDialog::preview(kv::db::Dataset& table, ListOrder order, const QString& from, const QString& to)
{
    ListReportForm* report = ListReportForm::instance(m_environment, m_spec.reportClass);
    std::unique_ptr<ListReportForm> own;
    if (!report) {
        own = std::make_unique<ListReportForm>(m_spec, m_environment);
        report = own.get();
    }
    report->preview(table, order, from, to, this);
}

} // namespace kv::costing
