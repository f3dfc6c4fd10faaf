#include "commercial/forms/SalesObjectivesForm.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormColours.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kv::commercial {

using kv::db::DbError;
using kv::ui::messages;

namespace {

const char* const MonthNames[ObjectiveMonths] = {
    "Janeiro : ", "Fevereiro : ", "Março : ",    "Abril : ",   "Maio : ",     "Junho : ",
    "Julho : ",   "Agosto : ",    "Setembro : ", "Outubro : ", "Novembro : ", "Dezembro : "};

// The panel of the months, and the colours of a month's label on it.
const QColor PanelColour(0, 64, 128);

QString valueText(const std::optional<double>& value) { return value ? kv::text::plain(*value) : QString(); }
QString rateText(const std::optional<qint64>& rate) { return rate ? QString::number(*rate) : QString(); }

kv::ui::TGlyphButton* button(const char* name, const char* caption, QWidget* parent)
{
    auto* b = new kv::ui::TGlyphButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

void paint(QLabel* label, const QColor& background, const QColor& text)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

} // namespace

SalesObjectivesForm::SalesObjectivesForm(CommercialEnvironment environment, int salesman, QString name, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment), m_store(environment.invoicing()),
      m_rates(environment.dataset(QStringLiteral("DTTABELAS.COMISSOES"))), m_salesman(salesman), m_name(std::move(name))
{
    setObjectName(QStringLiteral("TFACF030b"));
    setWindowTitle(QStringLiteral("Vendedores ( Quota Anual )"));
    setModal(true);
    buildLayout();
}

SalesObjectivesForm::~SalesObjectivesForm() = default;

SalesObjectivesForm::Cell& SalesObjectivesForm::cell(int tier, int month)
{
    return m_cells[static_cast<std::size_t>((month - 1) * ObjectiveTiers + (tier - 1))];
}

// ------------------------------------------------------------------ layout

void SalesObjectivesForm::buildLayout()
{
    auto* layout = new QVBoxLayout(body());
    auto* who = new QHBoxLayout;
    who->addWidget(new QLabel(QStringLiteral("Vendedor : "), body()));
    Edit_VndNro = new QLineEdit(body());
    Edit_VndNro->setObjectName(QStringLiteral("Edit_VndNro"));
    Edit_VndNro->setReadOnly(true);
    Edit_VndNro->setFocusPolicy(Qt::NoFocus);
    kv::ui::setFieldWidth(Edit_VndNro, 6);
    who->addWidget(Edit_VndNro);
    Label_VndNome = new QLabel(body());
    Label_VndNome->setObjectName(QStringLiteral("Label_VndNome"));
    who->addWidget(Label_VndNome, 1);
    layout->addLayout(who);
    Label_Objectivo = new QLabel(body());
    Label_Objectivo->setObjectName(QStringLiteral("Label_Objectivo"));
    Label_Objectivo->setStyleSheet(QStringLiteral("font-weight: bold"));
    layout->addWidget(Label_Objectivo);

    auto* panel = new QFrame(body());
    panel->setObjectName(QStringLiteral("Panel_Objectivos"));
    panel->setFrameShape(QFrame::Panel);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, PanelColour);
    colours.setColor(QPalette::WindowText, Qt::white);
    panel->setPalette(colours);
    panel->setAutoFillBackground(true);
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(4);
    for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
        auto* heading = new QLabel(QStringLiteral("%1º Escalão       Comissão   (%) ").arg(tier), panel);
        grid->addWidget(heading, 0, 1 + (tier - 1) * 3, 1, 3);
    }
    // Digits with a sign and a decimal comma or point; codes are whole numbers.
    const QRegularExpression amount(QStringLiteral("[-+]?[0-9.,]*"));
    const QRegularExpression code(QStringLiteral("[0-9]*"));
    QWidget* previous = nullptr;
    for (int month = 1; month <= ObjectiveMonths; ++month) {
        QLabel* label = new QLabel(QString::fromUtf8(MonthNames[month - 1]), panel);
        label->setObjectName(QStringLiteral("Label_Mes%1").arg(month));
        m_months[static_cast<std::size_t>(month - 1)] = label;
        grid->addWidget(label, month, 0);
        for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
            Cell& c = cell(tier, month);
            c.value = new QLineEdit(panel);
            c.value->setObjectName(QStringLiteral("Edit_Val%1Mes%2").arg(tier).arg(month));
            c.value->setValidator(new QRegularExpressionValidator(amount, c.value));
            c.value->setAlignment(Qt::AlignRight);
            kv::ui::setFieldWidth(c.value, 10);
            c.rate = new QLineEdit(panel);
            c.rate->setObjectName(QStringLiteral("Edit_Com%1Mes%2").arg(tier).arg(month));
            c.rate->setValidator(new QRegularExpressionValidator(code, c.rate));
            c.rate->setMaxLength(9);
            kv::ui::setFieldWidth(c.rate, 4);
            c.percent = new QLabel(panel);
            c.percent->setObjectName(QStringLiteral("Label_Prc%1Mes%2").arg(tier).arg(month));
            c.percent->setMinimumWidth(c.percent->fontMetrics().horizontalAdvance(QStringLiteral("00,00")) + 4);
            const int column = 1 + (tier - 1) * 3;
            grid->addWidget(c.value, month, column);
            grid->addWidget(c.rate, month, column + 1);
            grid->addWidget(c.percent, month, column + 2);
            if (previous)
                QWidget::setTabOrder(previous, c.value);
            QWidget::setTabOrder(c.value, c.rate);
            previous = c.rate;
        }
        if (month > 1) {
            QLineEdit* first = cell(1, month).value;
            kv::ui::addFieldAction(first, QStringLiteral("&Repetir Mês Anterior"), QKeySequence(Qt::Key_F1),
                                   [this, month] { repeatPreviousMonth(month); });
            if (month == 2)
                first->setToolTip(QStringLiteral("<F1> Repetir Mes Anterior"));
        }
        for (int tier = 1; tier <= ObjectiveTiers; ++tier)
            kv::ui::addFieldAction(cell(tier, month).rate, QStringLiteral("&Procurar Tabela"),
                                   QKeySequence(Qt::Key_Insert), [this] { lookUpRate(); });
    }
    layout->addWidget(panel);

    auto* bar = new QHBoxLayout;
    BotImportar = button("BotImportar", "Im&portar", buttonBar());
    BotImportar->setToolTip(QStringLiteral("Importar de outro Utilizador"));
    BotDelete = button("BotDelete", "&Eliminar", buttonBar());
    BotCancelar = button("BotCancelar", "&Cancelar", buttonBar());
    BotGravar = button("BotGravar", "&Gravar", buttonBar());
    BitTerminar = button("BitTerminar", "&Terminar", buttonBar());
    bar->addStretch(1);
    for (kv::ui::TGlyphButton* b : {BotImportar, BotDelete, BotCancelar, BotGravar})
        bar->addWidget(b);
    bar->addSpacing(16);
    bar->addWidget(BitTerminar);
    buttonBar()->setLayout(bar);
    connect(BotImportar, &kv::ui::TGlyphButton::clicked, this, &SalesObjectivesForm::BotImportarClick);
    connect(BotDelete, &kv::ui::TGlyphButton::clicked, this, &SalesObjectivesForm::BotDeleteClick);
    connect(BotCancelar, &kv::ui::TGlyphButton::clicked, this, &SalesObjectivesForm::BotCancelarClick);
    connect(BotGravar, &kv::ui::TGlyphButton::clicked, this, &SalesObjectivesForm::BotGravarClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &QDialog::reject);
    attachHandlers();
}

void SalesObjectivesForm::attachHandlers()
{
    for (int month = 1; month <= ObjectiveMonths; ++month)
        for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
            Cell& c = cell(tier, month);
            // What is typed is the row's at once: "&Gravar" takes it from the field still being typed in.
            connect(c.value, &QLineEdit::textEdited, this, [this, tier, month](const QString& text) {
                m_row.at(tier, month).value = text.trimmed().isEmpty() ? std::nullopt : kv::text::parseNumber(text);
            });
            connect(c.rate, &QLineEdit::textEdited, this, [this, tier, month](const QString& text) {
                m_row.at(tier, month).rate = text.trimmed().isEmpty() ? std::nullopt : kv::text::parseInteger(text);
            });
            if (tier == 1) {
                setEnterHandler(c.value, [this, month] {
                    highlightMonth(month, true);
                    m_focusCode = 100 + month;
                });
                setExitHandler(c.value, [this, month] { leaveFirstTier(month); });
            } else {
                setExitHandler(c.value, [this, tier, month] { leaveHigherTier(tier, month); });
            }
            setEnterHandler(c.rate, [this, tier, month] { m_focusCode = 100 * tier + month; });
            setExitHandler(c.rate, [this, tier, month] { leaveRate(tier, month); });
        }
}

// ------------------------------------------------------------------ showing the row

void SalesObjectivesForm::FormActivate()
{
    setMakerTag(m_environment.state().WMarca);
    try {
        if (!m_rates.isOpen())
            m_rates.open();
    } catch (const DbError& error) {
        messages().fail(error.fullText());
    }
    EnableEvents();
    showQuota();
}

void SalesObjectivesForm::FormClose()
{
    // What was not saved is dropped.
    m_rates.close();
}

void SalesObjectivesForm::showQuota()
{
    const QString& year = m_environment.state().WAno;
    std::optional<ObjectiveRow> stored;
    try {
        stored = m_store.read(year, m_salesman);
    } catch (const DbError& error) {
        messages().fail(error.fullText());
    }
    m_exists = stored.has_value();
    if (stored) {
        m_row = *stored;
    } else {
        m_row = ObjectiveRow{};
        m_row.year = year;
        m_row.salesman = m_salesman;
        m_row.name = m_name;
    }
    Edit_VndNro->setText(QString::number(m_salesman));
    Label_VndNome->setText(m_name);
    Label_Objectivo->setText(QStringLiteral("Objectivo Mensal de Vendas para o Ano ") + year);
    for (int month = 1; month <= ObjectiveMonths; ++month) {
        showMonth(month);
        for (int tier = 1; tier <= ObjectiveTiers; ++tier)
            if (m_exists)
                showPercent(tier, month);
            else
                cell(tier, month).percent->clear();
        highlightMonth(month, false);
    }
    BotDelete->setEnabled(m_exists);
    focusField(cell(1, 1).value);
}

void SalesObjectivesForm::showMonth(int month)
{
    for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
        const ObjectiveTier& t = m_row.at(tier, month);
        cell(tier, month).value->setText(valueText(t.value));
        cell(tier, month).rate->setText(rateText(t.rate));
    }
}

int SalesObjectivesForm::rateRow(qint64 code) const
{
    if (!m_rates.isOpen())
        return -1;
    const int column = m_rates.fieldIndex(QStringLiteral("CODIGO"));
    const int count = m_rates.recordCount();
    for (int row = 0; row < count; ++row) {
        const QVariant held = m_rates.valueAt(row, column);
        if (!held.isNull() && held.toLongLong() == code)
            return row;
    }
    return -1;
}

void SalesObjectivesForm::showPercent(int tier, int month)
{
    const std::optional<qint64>& rate = m_row.at(tier, month).rate;
    const int row = rate ? rateRow(*rate) : -1;
    const QVariant percent = row < 0 ? QVariant() : m_rates.valueAt(row, m_rates.fieldIndex(QStringLiteral("PRCCOM")));
    cell(tier, month).percent->setText(percent.isNull() ? QString() : kv::text::plain(percent.toDouble()));
}

void SalesObjectivesForm::highlightMonth(int month, bool on)
{
    QLabel* label = m_months[static_cast<std::size_t>(month - 1)];
    if (on)
        paint(label, kv::ui::editingLabelColour(), Qt::black);
    else
        paint(label, PanelColour, Qt::white);
}

// ------------------------------------------------------------------ field rules

void SalesObjectivesForm::clearMonth(int tier, int month)
{
    m_row.clearFrom(tier, month);
    showMonth(month);
    for (int k = tier; k <= ObjectiveTiers; ++k)
        cell(k, month).percent->clear();
    highlightMonth(month, false);
    focusField(cell(1, followingMonth(month)).value);
}

void SalesObjectivesForm::leaveFirstTier(int month)
{
    const QString text = cell(1, month).value->text().trimmed();
    const auto value = kv::text::parseNumber(text);
    if (!text.isEmpty() && !value) {
        rejectField(kv::text::notANumberMessage(text));
        return;
    }
    if (value && *value != 0.0)
        return;
    clearMonth(1, month);
}

void SalesObjectivesForm::leaveHigherTier(int tier, int month)
{
    const QString text = cell(tier, month).value->text().trimmed();
    const auto value = kv::text::parseNumber(text);
    if (!text.isEmpty() && !value) {
        rejectField(kv::text::notANumberMessage(text));
        return;
    }
    if (value && *value != 0.0) {
        if (!objectiveRises(m_row, tier, month))
            rejectField(QStringLiteral("O VALOR DO OBJECTIVO TERÁ DE SER SUPERIOR AO ANTERIOR"), false);
        return;
    }
    clearMonth(tier, month);
}

void SalesObjectivesForm::leaveRate(int tier, int month)
{
    const auto code = kv::text::parseInteger(cell(tier, month).rate->text().trimmed());
    if (!code || *code == 0) {
        rejectField(QStringLiteral("Insira o Código de Comissão para este Objectivo de Vendas"));
        return;
    }
    if (rateRow(*code) < 0) {
        rejectField(QStringLiteral("Código de Comissão Inexistente !!!"));
        return;
    }
    showPercent(tier, month);
}

// ------------------------------------------------------------------ keys of the fields

void SalesObjectivesForm::repeatPreviousMonth(int month)
{
    if (m_focusCode != 100 + month)
        return;
    m_row.repeatMonth(month - 1, month);
    showMonth(month);
    for (int tier = 1; tier <= ObjectiveTiers; ++tier)
        showPercent(tier, month);
}

void SalesObjectivesForm::lookUpRate()
{
    kv::ui::LookupDialog dialog(m_rates,
                                {{QStringLiteral("CODIGO"), QStringLiteral("CÓDIGO"), 5, {}},
                                 {QStringLiteral("PRCCOM"), QStringLiteral("% COMISSÃO"), 9, {}}},
                                this);
    if (dialog.exec() != QDialog::Accepted || m_rates.isEmpty())
        return; // Cancel: the code stays as it was
    const int tier = m_focusCode / 100;
    const int month = m_focusCode % 100;
    const qint64 code = m_rates.value(QStringLiteral("CODIGO")).toLongLong();
    m_row.at(tier, month).rate = code;
    cell(tier, month).rate->setText(QString::number(code));
}

// ------------------------------------------------------------------ buttons

void SalesObjectivesForm::BotGravarClick()
{
    const auto fault = firstObjectiveFault(m_row, [this](qint64 code) { return rateRow(code) >= 0; });
    if (fault) {
        if (fault->beeps())
            messages().beep();
        messages().error(fault->message());
        const Cell& c = cell(fault->tier, fault->month);
        focusField(fault->onRate() ? c.rate : c.value);
        return;
    }
    try {
        m_store.save(m_row);
    } catch (const DbError& error) {
        // The database's own word; the row stays as typed.
        messages().fail(error.fullText());
        return;
    }
    showQuota();
}

void SalesObjectivesForm::BotCancelarClick() { showQuota(); }

void SalesObjectivesForm::BotDeleteClick()
{
    if (!m_exists)
        return;
    try {
        m_store.remove(m_row.year, m_salesman);
    } catch (const DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    showQuota();
}

void SalesObjectivesForm::BotImportarClick()
{
    std::unique_ptr<kv::db::Dataset> others;
    std::optional<ObjectiveRow> chosen;
    try {
        others = m_store.otherSalesmen(m_environment.state().WAno, m_salesman);
        kv::ui::LookupDialog dialog(*others,
                                    {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 10, {}},
                                     {QStringLiteral("NOME"), QStringLiteral("Nome Vendedor"), 40, {}}},
                                    this);
        // Cancel, or no other salesman with a name: nothing is taken.
        if (dialog.exec() != QDialog::Accepted || others->isEmpty()
            || others->value(QStringLiteral("NOME")).toString().isEmpty())
            return;
        chosen = m_store.read(m_environment.state().WAno,
                              static_cast<int>(others->value(QStringLiteral("CODIGO")).toLongLong()));
    } catch (const DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    if (!chosen)
        return;
    m_row.takePairs(*chosen);
    for (int month = 1; month <= ObjectiveMonths; ++month) {
        showMonth(month);
        for (int tier = 1; tier <= ObjectiveTiers; ++tier)
            showPercent(tier, month);
    }
}

} // namespace kv::commercial
