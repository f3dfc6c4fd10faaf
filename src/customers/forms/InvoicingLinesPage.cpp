#include "customers/forms/InvoicingLinesPage.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/Form.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::customers {

using kv::ui::messages;

namespace {

const QString DateMask = QStringLiteral("99/99/0000;_");
const QString PeriodHelp = QStringLiteral("(M)-Mensal;(B)-Bimensal;(T)-Trimestral;(S)-Semestral;(A)-Anual");

QString number(double value) { return QString::number(value, 'f', value == static_cast<long long>(value) ? 0 : 2); }

QString dateText(const QDate& date) { return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString(); }

double amountOf(const QString& text)
{
    return QString(text.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

} // namespace

InvoicingLinesPage::InvoicingLinesPage(kv::ui::Form& form, std::shared_ptr<kv::db::Connection> invoicing,
                                       QWidget* parent)
    : QWidget(parent), m_form(form), m_lines(invoicing),
      m_rows(std::make_unique<kv::db::Dataset>(QStringLiteral("CLIFACAUTO")))
{
    m_rows->setConnection(std::move(invoicing));
    m_rows->setSql(QStringLiteral("SELECT * FROM CLIFACAUTO WHERE CODIGO = :WCliNro ORDER BY CODIGO, DETAIL, POSICAO"));

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    const char* captions[4][2] = {
        {"&1 Inserir", "Inserir"}, {"&2 Cancelar", "Cancelar"}, {"&3 Alterar", "Alterar"}, {"&4 Eliminar", "Eliminar"}};
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = new kv::ui::TGlyphButton(QString::fromUtf8(captions[i][0]));
        m_buttons[i]->setObjectName(QStringLiteral("BotLinha%1").arg(i + 1));
        m_buttons[i]->SetHint(QString::fromUtf8(captions[i][1]));
        bar->addWidget(m_buttons[i]);
    }
    bar->addStretch();
    layout->addLayout(bar);
    connect(m_buttons[0], &kv::ui::TGlyphButton::clicked, this, [this] { insertLine(); });
    connect(m_buttons[1], &kv::ui::TGlyphButton::clicked, this, [this] { cancelLine(); });
    connect(m_buttons[2], &kv::ui::TGlyphButton::clicked, this, [this] { changeLine(); });
    connect(m_buttons[3], &kv::ui::TGlyphButton::clicked, this, [this] { deleteLine(); });

    m_grid = new kv::ui::DbGrid;
    m_grid->setObjectName(QStringLiteral("GridFactAuto"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    using Column = kv::ui::GridColumn;
    m_grid->setDataset(m_rows.get(),
                       {Column{QStringLiteral("DETAIL"), QStringLiteral("F.Nº"), 4, {}, false, {}},
                        Column{QStringLiteral("ARTIGO"), QStringLiteral("Artigo"), 12, {}, false, {}},
                        Column{QStringLiteral("DESIGN"), QStringLiteral("Designação"), 24, {}, false, {}},
                        Column{QStringLiteral("QUANTID"), QStringLiteral("Quant."), 7, {}, false, {}},
                        Column{QStringLiteral("PRECO"), QStringLiteral("Preço (€)"), 9, {}, false, {}},
                        Column{QStringLiteral("PERIOD"), QStringLiteral("Per."), 4, {}, false, {}},
                        Column{QStringLiteral("DIA"), QStringLiteral("Dia"), 3, {}, false, {}},
                        Column{QStringLiteral("DATULTFAC"), QStringLiteral("Ult.Fact."), 11, {}, false, {}},
                        Column{QStringLiteral("DATINICONTRACTO"), QStringLiteral("Ini.Contr."), 11, {}, false, {}},
                        Column{QStringLiteral("DATFIMCONTRACTO"), QStringLiteral("Fim Contr."), 11, {}, false, {}}});
    const std::pair<const char*, QKeySequence> keys[] = {{"Inserir", QKeySequence(Qt::Key_Insert)},
                                                         {"Alterar", QKeySequence(Qt::Key_F1)},
                                                         {"Eliminar", QKeySequence(Qt::Key_Delete)}};
    for (int i = 0; i < 3; ++i) {
        auto* action = new QAction(QString::fromUtf8(keys[i].first), m_grid);
        action->setShortcut(keys[i].second);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_grid->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] {
            if (i == 0)
                insertLine();
            else if (i == 1)
                changeLine();
            else
                deleteLine();
        });
    }
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(m_grid, 1);

    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const std::pair<const char*, int> edits[EditCount] = {
        {"Fact.Nº", 4},   {"Artigo Nº", 16}, {"Designação", 40},     {"Quantidade", 10},    {"Preço (€)", 12},
        {"Periodic.", 2}, {"Dia", 2},        {"Última Factura", 10}, {"Ini.Contracto", 10}, {"Fim Contracto", 10}};
    const char* names[EditCount] = {"EditFactNro", "EditArtigo", "EditDesign",    "EditQuantid", "EditPreco",
                                    "EditPeriod",  "EditDia",    "EditDatUltFac", "EditDatIni",  "EditDatFim"};
    for (int i = 0; i < EditCount; ++i) {
        auto* label = new QLabel(QString::fromUtf8(edits[i].first));
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(names[i]));
        kv::ui::setFieldWidth(edit, edits[i].second);
        if (i >= LastInvoice)
            edit->setInputMask(DateMask);
        m_edits[i] = edit;
        const int row = i < Period ? i / 2 : 3 + (i - Period) / 2;
        const int at = i < Period ? (i % 2) * 2 : ((i - Period) % 2) * 2;
        grid->addWidget(label, row, at);
        grid->addWidget(edit, row, at + 1, Qt::AlignLeft);
        m_form.setCaptionLabel(edit, label);
    }
    grid->setColumnStretch(4, 1);
    m_edits[Period]->setMaxLength(1);
    m_form.setCaptionLabel(m_edits[Designation], qobject_cast<QLabel*>(grid->itemAtPosition(0, 2)->widget()));
    m_form.setKeyHint(m_edits[Period], PeriodHelp);
    for (const auto& [text, key, numeric] :
         {std::tuple{"Procura Numérica", QKeySequence(Qt::Key_Insert), true},
          std::tuple{"Procura Alfabética", QKeySequence(Qt::CTRL | Qt::Key_Insert), false}}) {
        auto* action = new QAction(QString::fromUtf8(text), m_edits[Article]);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_edits[Article]->addAction(action);
        const bool byNumber = numeric;
        connect(action, &QAction::triggered, this, [this, byNumber] {
            kv::db::Dataset articles(byNumber ? QStringLiteral("ARTIGOSNUM") : QStringLiteral("ARTIGOSALFA"));
            articles.setConnection(m_rows->connection());
            articles.setSql(QStringLiteral("SELECT CODIGO, DESIGNACAO, PRECO1 FROM ARTIGOSCLS ORDER BY %1 LIMIT 300")
                                .arg(byNumber ? QStringLiteral("CODIGO") : QStringLiteral("DESIGNACAO, CODIGO")));
            articles.open();
            std::vector<Column> columns{
                Column{QStringLiteral("CODIGO"), QStringLiteral("Artigo Nº"), 16, {}, false, {}},
                Column{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}, false, {}},
                Column{QStringLiteral("PRECO1"), QStringLiteral("Preço Venda"), 12, {}, false, {}}};
            if (!byNumber)
                std::swap(columns[0], columns[1]);
            kv::ui::LookupDialog dialog(articles, columns, &m_form);
            if (dialog.exec() != QDialog::Accepted || articles.isEmpty())
                return;
            m_edits[Article]->setText(articles.value(QStringLiteral("CODIGO")).toString().trimmed());
            articleFound(false);
        });
    }
    m_edits[Article]->setContextMenuPolicy(Qt::ActionsContextMenu);
    enableEdits(false, false);
}

InvoicingLinesPage::~InvoicingLinesPage() = default;

void InvoicingLinesPage::reopen()
{
    m_rows->close();
    m_rows->setParam(QStringLiteral("WCliNro"), m_customer);
    m_rows->open();
}

void InvoicingLinesPage::showCustomer(int customer)
{
    m_customer = customer;
    try {
        reopen();
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
    }
    clearEdits();
    showLine();
}

void InvoicingLinesPage::clearEdits()
{
    for (QLineEdit* edit : m_edits)
        edit->clear();
}

// D1: a customer without lines shows 0 in the numbers and empty dates.
void InvoicingLinesPage::showLine()
{
    const bool empty = !m_rows->isOpen() || m_rows->isEmpty();
    const auto value = [&](const char* column) {
        return empty ? QVariant() : m_rows->value(QString::fromLatin1(column));
    };
    m_edits[Invoice]->setText(QString::number(value("DETAIL").toInt()));
    m_edits[Article]->setText(value("ARTIGO").toString().trimmed());
    m_edits[Designation]->setText(value("DESIGN").toString().trimmed());
    m_edits[Quantity]->setText(number(value("QUANTID").toDouble()));
    m_edits[Price]->setText(number(value("PRECO").toDouble()));
    m_edits[Period]->setText(value("PERIOD").toString().trimmed());
    m_edits[Day]->setText(QString::number(value("DIA").toInt()));
    m_edits[LastInvoice]->setText(dateText(value("DATULTFAC").toDate()));
    m_edits[Start]->setText(dateText(value("DATINICONTRACTO").toDate()));
    m_edits[End]->setText(dateText(value("DATFIMCONTRACTO").toDate()));
}

void InvoicingLinesPage::enterPage()
{
    if (!m_attached) {
        for (int i = 0; i < EditCount; ++i)
            m_form.setExitHandler(m_edits[i], [this, i] { leave(i); });
        m_form.setEnterHandler(m_grid, [this] {
            enableEdits(false, false);
            m_cancelled = false;
            buttonsForEditing(false);
        });
        m_attached = true;
    }
    showCustomer(m_customer);
    m_form.focusField(m_grid);
}

void InvoicingLinesPage::leavePage()
{
    if (m_attached) {
        for (QLineEdit* edit : m_edits)
            m_form.setExitHandler(edit, {});
        m_form.setEnterHandler(m_grid, {});
        m_attached = false;
    }
    m_edits[Period]->clear();
    m_mode = Mode::None;
}

void InvoicingLinesPage::enableEdits(bool enabled, bool keys)
{
    for (int i = 0; i < EditCount; ++i)
        m_edits[i]->setEnabled(enabled && (keys || (i != Invoice && i != Article)));
}

void InvoicingLinesPage::buttonsForEditing(bool editing)
{
    m_buttons[0]->setEnabled(!editing);
    m_buttons[1]->setEnabled(true);
    m_buttons[2]->setEnabled(!editing);
    m_buttons[3]->setEnabled(!editing);
}

void InvoicingLinesPage::insertLine()
{
    buttonsForEditing(true);
    enableEdits(true, true);
    m_mode = Mode::New;
    m_cancelled = false;
    clearEdits();
    m_edits[Period]->setText(QStringLiteral("M"));
    m_form.focusField(m_edits[Invoice]);
}

void InvoicingLinesPage::changeLine()
{
    if (m_rows->isEmpty() || m_rows->value(QStringLiteral("DETAIL")).toInt() <= 0)
        return;
    buttonsForEditing(true);
    enableEdits(true, false);
    m_mode = Mode::Change;
    m_cancelled = false;
    clearEdits();
    showLine();
    m_position = m_rows->value(QStringLiteral("POSICAO")).toInt();
    m_oldArticle = m_rows->value(QStringLiteral("ARTIGO")).toString().left(16);
    m_form.focusField(m_edits[Designation]);
}

void InvoicingLinesPage::cancelLine()
{
    m_cancelled = true;
    m_mode = Mode::None;
    clearEdits();
    m_form.focusField(m_grid);
}

void InvoicingLinesPage::deleteLine()
{
    if (m_rows->isEmpty() || m_rows->value(QStringLiteral("DETAIL")).toInt() <= 0)
        return;
    if (!messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?")))
        return;
    try {
        m_lines.remove(m_customer, m_rows->value(QStringLiteral("DETAIL")).toInt(),
                       m_rows->value(QStringLiteral("POSICAO")).toInt(),
                       m_rows->value(QStringLiteral("ARTIGO")).toString());
        reopen();
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
    }
    m_form.focusField(m_grid);
}

void InvoicingLinesPage::articleFound(bool message)
{
    const auto found = m_lines.article(m_edits[Article]->text());
    if (found) {
        m_edits[Designation]->setText(found->first);
        if (m_mode == Mode::New) {
            m_edits[Quantity]->setText(QStringLiteral("1"));
            m_edits[Price]->setText(number(found->second));
        }
        return;
    }
    m_edits[Designation]->clear();
    if (m_mode == Mode::New) {
        m_edits[Quantity]->clear();
        m_edits[Price]->clear();
    }
    if (message)
        m_form.rejectField(QStringLiteral("Código do Artigo Inválido"));
}

QDate InvoicingLinesPage::dateOf(int edit) const
{
    return QDate::fromString(m_edits[edit]->text(), QStringLiteral("dd/MM/yyyy"));
}

void InvoicingLinesPage::leave(int edit)
{
    if (m_cancelled || m_mode == Mode::None)
        return;
    const QString text = m_edits[edit]->text();
    const bool hasArticle = !m_edits[Article]->text().trimmed().isEmpty();
    const auto refuse = [&](const QString& message, QLineEdit* to) {
        if (message.isEmpty())
            return false;
        if (to) {
            messages().beep();
            messages().information(message);
            m_form.focusField(to);
        } else {
            m_form.rejectField(message);
        }
        return true;
    };
    switch (edit) {
    case Invoice: {
        if (refuse(lineChecks::invoice(text), nullptr))
            return;
        if (m_mode != Mode::New)
            return;
        // A line typed for an invoice with lines takes its settings over.
        const InvoiceSettings settings = m_lines.invoiceSettings(m_customer, text.trimmed().toInt());
        m_edits[Period]->setText(settings.period);
        m_edits[Day]->setText(QString::number(settings.day));
        m_edits[LastInvoice]->setText(dateText(settings.lastInvoice));
        m_edits[Start]->setText(dateText(settings.contractStart));
        m_edits[End]->setText(dateText(settings.contractEnd));
        return;
    }
    case Article:
        m_edits[Article]->setText(text.left(16));
        if (hasArticle)
            articleFound(true);
        return;
    case Designation:
        if (text.trimmed().isEmpty()) {
            refuse(QStringLiteral("Designação Inválida"), m_edits[Invoice]);
            return;
        }
        if (!hasArticle) {
            m_edits[Quantity]->clear();
            m_edits[Price]->clear();
            m_form.focusField(m_edits[Period]);
        }
        return;
    case Quantity:
    case Price: refuse(lineChecks::amount(text, hasArticle, edit == Price), m_edits[Article]); return;
    case Period: refuse(lineChecks::period(text), nullptr); return;
    case Day: refuse(lineChecks::day(text), nullptr); return;
    case End:
        if (refuse(lineChecks::contract(dateOf(Start), dateOf(End)), m_edits[Start]))
            return;
        writeLine();
        return;
    default: return;
    }
}

void InvoicingLinesPage::writeLine()
{
    InvoicingLine line;
    line.customer = m_customer;
    line.invoice = m_edits[Invoice]->text().trimmed().toInt();
    line.position = m_position;
    line.article = m_edits[Article]->text().left(16).trimmed();
    line.designation = m_edits[Designation]->text().trimmed();
    line.quantity = amountOf(m_edits[Quantity]->text());
    line.price = amountOf(m_edits[Price]->text());
    line.period = m_edits[Period]->text().trimmed();
    line.day = m_edits[Day]->text().trimmed().toInt();
    line.lastInvoice = dateOf(LastInvoice);
    line.contractStart = dateOf(Start);
    line.contractEnd = dateOf(End);
    try {
        if (m_mode == Mode::New)
            m_lines.insert(line);
        else
            m_lines.update(line, m_oldArticle);
        reopen();
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    m_mode = Mode::None;
    m_form.focusField(m_grid);
}

} // namespace kv::customers
