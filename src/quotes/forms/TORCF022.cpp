#include "quotes/forms/TORCF022.h"

#include "quotes/core/Letterhead.h"
#include "quotes/core/QuoteHeader.h"
#include "quotes/core/QuoteIssue.h"
#include "quotes/print/QuoteLetterReport.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/install/Installation.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/DocumentCopiesBox.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

using kv::text::LimitPair;
using kv::text::RangeLimits;
using kv::ui::GridColumn;
using kv::ui::LimitFields;

const QString Customer = QStringLiteral("customer");
const QString Numbers = QStringLiteral("numbers");
const QString Dates = QStringLiteral("dates");

std::vector<LimitPair> issuePairs(const QDate& workingDate)
{
    LimitPair customer(Customer, kv::text::LimitKind::Integer, qint64(0), qint64(0));
    customer.single = true;
    customer.emptyFrom = LimitPair::EmptyFrom::Zero;
    LimitPair dates = RangeLimits::dates(workingDate);
    dates.checksOnEitherExit = true;
    return {customer, RangeLimits::numbers(), dates};
}

} // namespace

TORCF022::TORCF022(QuoteFormsEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment)
{
    setObjectName(QStringLiteral("TORCF022"));
    setWindowTitle(QStringLiteral("Emissão de Orçamentos"));

    LimitFields customer(Customer, QStringLiteral("Cliente Nº : "), QStringLiteral("Edit_CliNro"), {}, 8);
    customer.nameLabel = QStringLiteral("NomeCliente");
    customer.nameOf = [this](qint64 code) { return customerName(code); };
    customer.simple.caption = QStringLiteral("Localizar");
    customer.simple.list = [this] { return customers(); };
    customer.simple.columns = {{QStringLiteral("CODIGO"), QStringLiteral("CÓDIGO"), 8, {}, false, {}},
                               {QStringLiteral("NOME"), QStringLiteral("NOME"), 35, {}, false, {}}};
    customer.simple.keyField = QStringLiteral("CODIGO");
    customer.alphabetic = customer.simple;
    customer.alphabetic.list = [this] { return customersByName(); };
    customer.alphabetic.columns = {{QStringLiteral("NOME"), QStringLiteral("NOME"), 40, {}, false, {}},
                                   {QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 10, {}, false, {}}};
    customer.alphabeticKey = QKeySequence(Qt::SHIFT | Qt::Key_Insert);
    LimitFields numbers(Numbers, QStringLiteral("Do Orçam. nº : "), QStringLiteral("Edit_OrcNro1"),
                        QStringLiteral("Edit_OrcNro2"), 10);
    LimitFields dates(Dates, QStringLiteral("Limite Datas : "), QStringLiteral("Edit_Data1"),
                      QStringLiteral("Edit_Data2"), 10);
    dates.inputMask = QStringLiteral("99/99/0000;_");

    auto* body = new QHBoxLayout(this->body());
    auto* left = new QVBoxLayout;
    body->addLayout(left);
    m_limits = new kv::ui::RangeLimitsBlock(*this, issuePairs(m_environment.state->WData), {customer, numbers, dates},
                                            this->body());
    m_limits->setReopen([this] { openSelection(); });
    left->addWidget(m_limits);

    m_copies = new kv::ui::DocumentCopiesBox(QStringLiteral("Seleccione as Vias do Documento"), this->body());
    left->addWidget(m_copies);
    ChkImpress = new QCheckBox(QStringLiteral("Reimpressão ?"), this->body());
    ChkImpress->setObjectName(QStringLiteral("ChkImpress"));
    connect(ChkImpress, &QCheckBox::toggled, this, [this] {
        if (eventsEnabled())
            openSelection();
    });
    left->addWidget(ChkImpress);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    body->addLayout(right, 1);
    m_orcmas = std::make_unique<kv::db::Dataset>(QStringLiteral("ORCMAS"));
    m_orcmas->setConnection(m_environment.application());
    m_orcmas->setMode(kv::db::DatasetMode::ReadOnly);
    DBGrid1 = new kv::ui::DbGrid(this->body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataset(m_orcmas.get(), {{QStringLiteral("CODIGO"), QStringLiteral("Orçamento"), 9, {}, false, {}},
                                         {QStringLiteral("DATEMI"), QStringLiteral("Data "), 10, {}, false, {}},
                                         {QStringLiteral("NOME"), QStringLiteral("Cliente"), 30, {}, false, {}},
                                         {QStringLiteral("NOSREF"), QStringLiteral("Artigo"), 16, {}, false, {}},
                                         {QStringLiteral("PRINTE"), QStringLiteral("Imp?"), 4, {}, false, {}}});
    right->addWidget(DBGrid1, 1);
    BotNavig = new kv::ui::DbNavigator(this->body());
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(m_orcmas.get());
    right->addWidget(BotNavig, 0, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout(buttonBar());
    BitPrint = new kv::ui::TGlyphButton(QStringLiteral("&Imprimir"), buttonBar());
    BitPrint->setObjectName(QStringLiteral("BitPrint"));
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    Gauge1 = new QProgressBar(buttonBar());
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    buttons->addWidget(Gauge1, 1);
    buttons->addStretch(1);
    buttons->addWidget(BitPrint);
    buttons->addWidget(BitTerminar);
    connect(BitPrint, &kv::ui::TGlyphButton::clicked, this, &TORCF022::print);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &QDialog::accept);
}

TORCF022::~TORCF022() = default;

kv::db::Dataset* TORCF022::customers()
{
    kv::db::Dataset& list = m_environment.modules->dataset(QStringLiteral("DTFILES.CLIENTES"));
    if (!list.isOpen())
        list.open();
    return &list;
}

kv::db::Dataset* TORCF022::customersByName()
{
    if (!m_customersByName) {
        m_customersByName = std::make_unique<kv::db::Dataset>(QStringLiteral("CLIENTESNOME"));
        m_customersByName->setConnection(m_environment.invoicing());
        m_customersByName->setMode(kv::db::DatasetMode::ReadOnly);
        m_customersByName->setSql(QuoteIssue::customersByNameSql());
    }
    if (!m_customersByName->isOpen())
        m_customersByName->open();
    return m_customersByName.get();
}

QString TORCF022::customerName(qint64 code)
{
    try {
        return QuoteIssue::customerName(*m_environment.invoicing(), code);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return {};
    }
}

void TORCF022::closeAtActivation(const QString& message)
{
    kv::ui::messages().beep();
    kv::ui::messages().error(message);
    QTimer::singleShot(0, this, &QDialog::reject);
}

void TORCF022::FormActivate()
{
    const kv::shell::LoginState& state = *m_environment.state;
    setMakerTag(state.WMarca);
    kv::shell::AccessRights rights(m_environment.modules->dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")),
                                   *m_environment.state);
    const kv::shell::FormRights form =
        rights.readForm(kv::shell::RightsVariant::R4, state.WAplicacao, QStringLiteral("Orcamentos"),
                        QStringLiteral("Emissao Orc.Cliente"));
    BitPrint->setVisible(form.showPrint);
    try {
        const auto names = QuoteIssue::copyNames(*m_environment.application());
        if (!names) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QStringLiteral("ERRO NA PARAMETRIZAÇÃO DA VIAS DO DOCUMENTO"));
        }
        m_copyNameTexts = names.value_or(QStringList());
        const auto decimals = QuoteHeader::priceDecimals(*m_environment.invoicing(), state.WAno);
        if (!decimals)
            return closeAtActivation(QStringLiteral("PARÂMETROS GERAIS DE BASE INEXISTENTES !!!"));
        m_priceDecimals = *decimals;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    restoreDefaults();
    EnableEvents();
    focusField(m_limits->fromField(Customer));
}

void TORCF022::FormClose()
{
    m_orcmas->close();
    if (m_customersByName)
        m_customersByName->close();
}

void TORCF022::restoreDefaults()
{
    m_limits->showDefaults();
    m_copies->showNames(m_copyNameTexts);
    const QSignalBlocker blocker(ChkImpress);
    ChkImpress->setChecked(false);
    openSelection();
}

IssueSelection TORCF022::selection() const
{
    const kv::text::RangeLimits& limits = m_limits->limits();
    IssueSelection s;
    s.customer = limits.fromInteger(Customer);
    s.fromNumber = limits.fromInteger(Numbers);
    s.toNumber = limits.toInteger(Numbers);
    s.fromDate = limits.fromDate(Dates);
    s.toDate = limits.toDate(Dates);
    s.reprint = ChkImpress->isChecked();
    return s;
}

QStringList TORCF022::chosenCopies() const
{
    return kv::db::PrintQueue::chosenCopies(m_copyNameTexts, m_copies->ticked());
}

void TORCF022::openSelection()
{
    const IssueSelection s = selection();
    try {
        m_orcmas->close();
        m_orcmas->setSql(QuoteIssue::selectionSql(s));
        const kv::db::Params params = QuoteIssue::selectionParams(s);
        for (const QString& name : params.names())
            m_orcmas->setParam(name, params.value(name));
        m_orcmas->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF022::print()
{
    const kv::shell::LoginState& state = *m_environment.state;
    // Refused before anything is queued or marked: a run that cannot reach
    // its preview must leave the quotes as they were.
    const auto layout = letterLayout(state.WTipoOrcam);
    if (!layout) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("TIPO DE ORÇAMENTO INVÁLIDO NOS PARÂMETROS GERAIS !!!"));
        return;
    }
    std::optional<Letterhead> letterhead;
    std::optional<LetterTexts> texts;
    try {
        letterhead = Letterhead::read(*m_environment.invoicing(), state.WAno);
        texts = QuoteIssue::readTexts(*m_environment.application(), m_priceDecimals);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    if (!letterhead) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("CABEÇALHO DOS DOCUMENTOS DO ANO %1 INEXISTENTE !!!").arg(state.WAno));
        return;
    }
    m_limits->readAll();
    const IssueSelection s = selection();
    const QStringList copies = chosenCopies();

    setStatusText(0, {});
    QuoteIssue issue(*m_environment.application(), state.WUtil);
    LetterPages pages;
    Gauge1->setValue(0);
    Gauge1->show();
    try {
        issue.queue(s, copies, [this](int done, int total, qint64 quote) {
            Gauge1->setValue(done * 100 / total);
            setStatusText(0, QStringLiteral("Orçamento Nº : %1").arg(quote));
        });
        pages = issue.pages(s, copies, texts.value_or(LetterTexts{{}, {}, {}, {}, m_priceDecimals}), *layout,
                            *m_environment.invoicing());
    } catch (const kv::db::DbError& error) {
        Gauge1->hide();
        setStatusText(0, {});
        kv::ui::messages().fail(error.fullText());
        return;
    }
    Gauge1->hide();
    m_orcmas->close();

    QString logo;
    if (*layout == LetterLayout::Carton && !state.WPathFotosLogo.isEmpty()) {
        const QString stored = state.WPathFotosLogo + QStringLiteral(".Bmp");
        logo = m_environment.installation ? m_environment.installation->mapWindowsPath(stored) : stored;
    }
    QuoteLetterReport(pages, *letterhead, *layout, logo).preview(this);

    try {
        issue.emptyQueue();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    setStatusText(0, {});
    restoreDefaults();
    focusField(m_limits->fromField(Customer));
}

} // namespace kv::quotes
