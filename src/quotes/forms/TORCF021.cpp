#include "quotes/forms/TORCF021.h"

#include "quotes/core/ArticlePictures.h"
#include "quotes/core/QuoteLookupList.h"
#include "quotes/core/QuoteRepository.h"
#include "quotes/core/WorksheetReferences.h"
#include "quotes/forms/WorksheetCustomerPage.h"
#include "quotes/forms/WorksheetProductionPage.h"
#include "quotes/print/ChartRowsPie.h"
#include "quotes/print/InternalQuotePages.h"

#include "costing/forms/FieldLookup.h"
#include "imaging/forms/TPictureBox.h"
#include "quotes/core/QuoteTotals.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

const QString SearchHint = QStringLiteral("Tecla <Insert> Procurar");

// Keeps what a core step says: a refusal is shown by the form where its
// focus rule wants it; notices are shown at once.
class StepMessages : public notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { refusal = text; }
    void information(const QString& text) override { kv::ui::messages().information(text); }
    QString refusal;
};

QString moneyText(double value, int decimals) { return kv::text::number(value, decimals); }

} // namespace

TORCF021::TORCF021(QuoteFormsEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment)
{
    setObjectName(QStringLiteral("TORCF021"));
    setWindowTitle(QStringLiteral("Orçamentação"));
    setModal(true);

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    outer->addWidget(buildHeader());
    Tb = new QTabWidget(body());
    Tb->setObjectName(QStringLiteral("Tb"));
    // Enter moves from the header into the page's fields, never onto the tabs.
    Tb->setFocusPolicy(Qt::NoFocus);
    m_customerPage = new WorksheetCustomerPage(m_w, m_environment, *this);
    m_productionPage = new WorksheetProductionPage(m_w, m_environment, *this);
    Tb->addTab(m_customerPage, QStringLiteral("Identif.Cliente e Produto"));
    Tb->addTab(m_productionPage, QStringLiteral("Inform.Produção"));
    Tb->addTab(buildDetailPage(), QStringLiteral("Orçamento Detalhado"));
    Tb->addTab(buildTotalsPage(), QStringLiteral("Totais"));
    outer->addWidget(Tb, 1);
    m_pictures.insert(m_pictures.begin(), {m_customerPage->picture(), m_productionPage->picture()});

    auto* buttons = new QHBoxLayout(buttonBar());
    BotCancelar = new kv::ui::TGlyphButton(QStringLiteral("&Cancelar"), buttonBar());
    BotCancelar->setObjectName(QStringLiteral("BotCancelar"));
    BotDelete = new kv::ui::TGlyphButton(QStringLiteral("&Eliminar"), buttonBar());
    BotDelete->setObjectName(QStringLiteral("BotDelete"));
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(BotCancelar);
    buttons->addWidget(BotDelete);
    buttons->addStretch(1);
    buttons->addWidget(BitTerminar);
    connect(BotCancelar, &kv::ui::TGlyphButton::clicked, this, &TORCF021::BotCancelarClick);
    connect(BotDelete, &kv::ui::TGlyphButton::clicked, this, &TORCF021::BotDeleteClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
    connect(Tb, &QTabWidget::currentChanged, this, [this] {
        if (!m_switchingPage)
            TbClick();
    });

    setEnterHandler(Edit_Serie, [this] { Edit_SerieEnter(); });
    setExitHandler(Edit_Serie, [this] { Edit_SerieExit(); });
    setEnterHandler(Edit_Codigo, [this] { Edit_CodigoEnter(); });
    setExitHandler(Edit_Codigo, [this] { Edit_CodigoExit(); });
    setKeyHint(Edit_SubCodigo, SearchHint);
    setExitHandler(Edit_SubCodigo, [this] { Edit_SubCodigoExit(); });
    setEnterHandler(Edit_SubCodigo, [this] { m_detail->resetValueTitles(); });
    setExitHandler(Edit_DatEmi, [this] { Edit_DatEmiExit(); });
    setExitHandler(Edit_OrcBase, [this] { Edit_OrcBaseExit(); });
    for (QLineEdit* field : {Edit_Codigo, Edit_SubCodigo})
        kv::costing::addFieldAction(field, QStringLiteral("Procura"), QKeySequence(Qt::Key_Insert),
                                    [this] { ProcOrcNumClick(); });
    kv::costing::addFieldAction(Edit_OrcBase, QStringLiteral("Procurar Num"), QKeySequence(Qt::Key_Insert),
                                [this] { baseQuoteLookup(false); });
    kv::costing::addFieldAction(Edit_OrcBase, QStringLiteral("Procura Alfabética"),
                                QKeySequence(Qt::CTRL | Qt::Key_Insert), [this] { baseQuoteLookup(true); });
    for (int k = 0; k < 3; ++k) {
        setEnterHandler(Edit_PrcCom[k], [this, k] { Edit_PrcComEnter(k + 1); });
        setExitHandler(Edit_PrcCom[k], [this, k] { Edit_PrcComExit(k + 1); });
        setExitHandler(Edit_PrcCli[k], [this, k] { Edit_PrcCliExit(k + 1); });
    }
}

TORCF021::~TORCF021() = default;

// ------------------------------------------------------------------ layout

QLineEdit* TORCF021::edit(const QString& name, int characters, QLabel* caption)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    kv::ui::setFieldWidth(e, characters);
    if (caption)
        setCaptionLabel(e, caption);
    return e;
}

QLabel* TORCF021::value(const QString& name, int characters)
{
    auto* l = new QLabel;
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(l->fontMetrics().averageCharWidth() * characters + 8);
    return l;
}

QWidget* TORCF021::buildHeader()
{
    PanelHeader = new QWidget(body());
    PanelHeader->setObjectName(QStringLiteral("PanelHeader"));
    auto* row = new QHBoxLayout(PanelHeader);
    row->setContentsMargins(0, 0, 0, 0);
    auto* series = new QLabel(QStringLiteral("Série  : "));
    Edit_Serie = edit(QStringLiteral("Edit_Serie"), 2, series);
    auto* number = new QLabel(QStringLiteral("Orc.Nº : "));
    Edit_Codigo = edit(QStringLiteral("Edit_Codigo"), 8, number);
    auto* subQuote = new QLabel(QStringLiteral(" - "));
    Edit_SubCodigo = edit(QStringLiteral("Edit_SubCodigo"), 2, number);
    auto* date = new QLabel(QStringLiteral("Data Emissão : "));
    Edit_DatEmi = edit(QStringLiteral("Edit_DatEmi"), 10, date);
    Edit_DatEmi->setReadOnly(true); // the date is set by "&D", never typed
    BotData = new kv::ui::TGlyphButton(QStringLiteral("&D"), PanelHeader);
    BotData->setObjectName(QStringLiteral("BotData"));
    BotData->setToolTip(QStringLiteral("Data do Sistema"));
    connect(BotData, &kv::ui::TGlyphButton::clicked, this, &TORCF021::BotDataClick);
    auto* base = new QLabel(QStringLiteral("Orcam.Base Nº : "));
    Edit_OrcBase = edit(QStringLiteral("Edit_OrcBase"), 8, base);
    row->addWidget(series);
    row->addWidget(Edit_Serie);
    row->addWidget(new QLabel(QStringLiteral("(1 a 5)")));
    row->addSpacing(12);
    row->addWidget(number);
    row->addWidget(Edit_Codigo);
    row->addWidget(subQuote);
    row->addWidget(Edit_SubCodigo);
    row->addSpacing(12);
    row->addWidget(date);
    row->addWidget(Edit_DatEmi);
    row->addWidget(BotData);
    row->addSpacing(12);
    row->addWidget(base);
    row->addWidget(Edit_OrcBase);
    row->addStretch(1);
    return PanelHeader;
}

QWidget* TORCF021::buildDetailPage()
{
    WorksheetDetailCallbacks callbacks;
    callbacks.engine = [this] { return engine(m_messages); };
    callbacks.tables = [this]() -> const CostTables& { return *m_tables; };
    callbacks.start = [this](int procedureCode) { return startCalculation(procedureCode); };
    callbacks.finish = [this] { BotTotaisClick(); };
    callbacks.enableQuoteCancel = [this](bool enabled) { BotCancelar->setEnabled(enabled && m_w.mayInsert); };
    m_detail = new WorksheetDetailPage(*this, m_w, m_environment, std::move(callbacks));
    m_pictures.push_back(m_detail->picture());
    return m_detail;
}

QWidget* TORCF021::buildTotalsPage()
{
    auto* page = new QWidget;
    auto* outer = new QHBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    outer->addLayout(grid);
    const int Money = 14;
    int r = 0;
    grid->addWidget(new QLabel(QStringLiteral("Quantidades")), r, 0);
    for (int n = 0; n < 3; ++n) {
        Label_Quant[n] = value(QStringLiteral("Label_Quant%1").arg(n + 1), Money);
        grid->addWidget(Label_Quant[n], r, 2 + n);
    }
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("Custo : ")), r, 0);
    for (int n = 0; n < 3; ++n) {
        Label_Custo[n] = value(QStringLiteral("Label_Custo%1").arg(n + 1), Money);
        grid->addWidget(Label_Custo[n], r, 2 + n);
    }
    ++r;
    for (int k = 0; k < 3; ++k, ++r) {
        Label_Comiss[k] = new QLabel;
        Label_Comiss[k]->setObjectName(QStringLiteral("Label_Comiss%1").arg(k + 1));
        Label_Comiss[k]->setMinimumWidth(Label_Comiss[k]->fontMetrics().averageCharWidth() * 20);
        Edit_PrcCom[k] = edit(QStringLiteral("Edit_PrcCom%1").arg(k + 1), 6, Label_Comiss[k]);
        Edit_PrcCom[k]->setAlignment(Qt::AlignRight);
        grid->addWidget(Label_Comiss[k], r, 0);
        grid->addWidget(Edit_PrcCom[k], r, 1);
        for (int n = 0; n < 3; ++n) {
            Label_ValCom[k][n] = value(QStringLiteral("Label_ValCom%1%2").arg(k + 1).arg(n + 1), Money);
            grid->addWidget(Label_ValCom[k][n], r, 2 + n);
        }
    }
    grid->addWidget(new QLabel(QStringLiteral("Preço Proposto : ")), r, 0);
    for (int n = 0; n < 3; ++n) {
        Label_PrcOrc[n] = value(QStringLiteral("Label_PrcOrc%1").arg(n + 1), Money);
        grid->addWidget(Label_PrcOrc[n], r, 2 + n);
    }
    ++r;
    auto* clientPrice = new QLabel(QStringLiteral("Preço Cliente : "));
    grid->addWidget(clientPrice, r, 0);
    for (int n = 0; n < 3; ++n) {
        Edit_PrcCli[n] = edit(QStringLiteral("Edit_PrcCli%1").arg(n + 1), Money, clientPrice);
        Edit_PrcCli[n]->setAlignment(Qt::AlignRight);
        grid->addWidget(Edit_PrcCli[n], r, 2 + n, Qt::AlignRight);
    }
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("Valor Cliente : ")), r, 0);
    for (int n = 0; n < 3; ++n) {
        Label_ValCli[n] = value(QStringLiteral("Label_ValCli%1").arg(n + 1), Money);
        grid->addWidget(Label_ValCli[n], r, 2 + n);
    }
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("Margem Líquida ( % ) : ")), r, 0);
    for (int n = 0; n < 3; ++n) {
        LabelMargLiq[n] = value(QStringLiteral("LabelMargLiq%1").arg(n + 1), Money);
        grid->addWidget(LabelMargLiq[n], r, 2 + n);
    }
    grid->setRowStretch(r + 1, 1);
    ChartTotais = new ChartRowsPie(page);
    ChartTotais->setObjectName(QStringLiteral("ChartTotais"));
    auto* side = new QVBoxLayout;
    side->addWidget(ChartTotais, 1);
    kv::imaging::TPictureBox* picture = nullptr;
    side->addWidget(WorksheetPageFields::photoBox(picture, QStringLiteral("ML4")));
    m_pictures.push_back(picture);
    outer->addLayout(side, 1);
    return page;
}

// -------------------------------------------------------------- activation

QuoteHeader TORCF021::header() { return QuoteHeader(*m_environment.application(), m_messages); }

QuoteEngine TORCF021::engine(notify::MessageSink& messages)
{
    QuoteSession session;
    session.application = m_environment.application().get();
    session.tables = &*m_tables;
    session.messages = &messages;
    session.user = m_environment.state->WUtil;
    session.priceDecimals = m_w.priceDecimals;
    // A calculation runs to its end inside the button's handler: the panel is
    // painted at once, or the user would only see it once the work is over.
    session.status = [this](const QString& text) {
        setStatusText(0, text);
        statusBar()->panel(0)->repaint();
    };
    return QuoteEngine(session);
}

// A new quote is stored by its first calculation and takes its number then
// (the next free one when another workstation took it meanwhile).
std::optional<SubQuote> TORCF021::startCalculation(int procedureCode)
{
    storePages();
    QuoteEngine engine = this->engine(m_messages);
    if (!m_w.newQuote)
        return engine.start(*m_w.row, procedureCode);
    QuoteRow row = *m_w.row;
    std::optional<SubQuote> calculated = engine.startNew(row, m_w.series, procedureCode);
    // The row is stored even when its lines could not be calculated.
    m_w.newQuote = false;
    m_w.quoteNumber = row.quoteNumber();
    m_w.row = calculated ? calculated->row : row;
    Edit_Codigo->setText(QString::number(m_w.quoteNumber));
    return calculated;
}

void TORCF021::closeAtActivation(const QString& message)
{
    kv::ui::messages().error(message);
    QTimer::singleShot(0, this, &QDialog::reject);
}

void TORCF021::FormActivate()
{
    const kv::shell::LoginState& state = *m_environment.state;
    kv::shell::AccessRights rights(m_environment.modules->dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")),
                                   *m_environment.state);
    const kv::shell::FormRights form =
        rights.readForm(kv::shell::RightsVariant::R1, state.WAplicacao, QStringLiteral("Orcamentos"),
                        QStringLiteral("Elaboracao de Orcamentos"));
    m_w.mayInsert = form.showCancelar;
    m_w.mayDelete = form.showDelete;
    BotCancelar->setVisible(m_w.mayInsert);
    BotDelete->setVisible(m_w.mayDelete);
    m_customerPage->showSideDoors();
    showPage(CustomerPage);
    m_w.newQuote = true;
    try {
        kv::db::Connection& application = *m_environment.application();
        const auto proposal = header().proposedNumber(1);
        if (!proposal)
            return closeAtActivation(QStringLiteral("PARÂMETROS GERAIS NÃO ESTÃO DEFINIDOS !!!"));
        const auto decimals = QuoteHeader::priceDecimals(*m_environment.invoicing(), state.WAno);
        if (!decimals)
            return closeAtActivation(QStringLiteral("PARÂMETROS GERAIS - GESTÃO COMERCIAL - NÃO ESTÃO DEFINIDOS !!!"));
        m_w.priceDecimals = *decimals;
        m_pictureFolder = WorksheetReferences(*m_environment.invoicing(), application).pictureFolder(state.WAno);
        m_w.commercial = *QuoteRepository(application).commercialParameters();
        m_tables = CostTables::load(application);
        QuoteRepository(application).clearChosenProcedures(state.WUtil);
        m_detail->activate();
        m_w.series = 1;
        m_w.quoteNumber = *proposal;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    Edit_Serie->setText(QStringLiteral("1"));
    Edit_Codigo->setText(QString::number(m_w.quoteNumber));
    m_w.headerReset = false;
    enableHeader(true);
    BotCancelar->setEnabled(false);
    clearPictures();
    EnableEvents();
    focusField(Edit_Serie);
}

void TORCF021::FormClose()
{
    m_detail->close();
    m_w.row.reset();
    m_w.summary.reset();
}

void TORCF021::done(int result)
{
    if (m_w.quoteOpen) {
        kv::ui::messages().fail(QStringLiteral("Não pode desligar o Programa sem Fechar ou Cancelar o Orçamento !!!"));
        return;
    }
    kv::ui::Form::done(result);
}

// ------------------------------------------------------------------ header

void TORCF021::enableHeader(bool enabled)
{
    for (QWidget* w :
         {static_cast<QWidget*>(Edit_Serie), static_cast<QWidget*>(Edit_Codigo), static_cast<QWidget*>(Edit_SubCodigo),
          static_cast<QWidget*>(Edit_DatEmi), static_cast<QWidget*>(Edit_OrcBase), static_cast<QWidget*>(BotData)})
        w->setEnabled(enabled);
    BitTerminar->setEnabled(enabled);
}

void TORCF021::Edit_SerieEnter()
{
    m_w.cancelled = false;
    m_w.headerReset = false;
    BotCancelar->setEnabled(false);
    showPage(CustomerPage);
    Edit_OrcBase->clear();
    Edit_SubCodigo->clear();
    m_w.row.reset();
    m_w.summary.reset();
    showRow();
    clearPictures();
}

void TORCF021::Edit_SerieExit()
{
    const auto series = QuoteHeader::series(Edit_Serie->text());
    if (!series) {
        m_w.headerReset = true;
        rejectField(QStringLiteral("INSIRA O Nº DA SÉRIE DE ORÇAMENTOS DE 1 A 5 !!!"));
        return;
    }
    const auto proposal = header().proposedNumber(*series);
    if (!proposal) {
        rejectField(QStringLiteral("PARÂMETROS GERAIS NÃO ESTÃO DEFINIDOS !!!"));
        return;
    }
    m_w.series = *series;
    m_w.quoteNumber = *proposal;
    Edit_Codigo->setText(QString::number(m_w.quoteNumber));
}

void TORCF021::Edit_CodigoEnter()
{
    setStatusText(0, SearchHint);
    QuoteRepository(*m_environment.application()).clearChosenProcedures(m_environment.state->WUtil);
    m_detail->activate();
}

void TORCF021::Edit_CodigoExit()
{
    const auto number = QuoteHeader::wholeNumber(Edit_Codigo->text());
    if (!number || *number <= 0) {
        rejectField(QStringLiteral("Nº de Orçamento Inválido"));
        return;
    }
    if (!m_w.mayInsert) {
        rejectField(QStringLiteral("Não tem privilégios para inserir Orçamentos"));
        return;
    }
    m_w.quoteNumber = *number;
}

void TORCF021::Edit_SubCodigoExit()
{
    m_w.pricing.reset();
    m_productionPage->clearLabels();
    setStatusText(0, {});
    if (Edit_SubCodigo->text().trimmed().isEmpty())
        Edit_SubCodigo->setText(QStringLiteral("0"));
    const auto subQuote = QuoteHeader::wholeNumber(Edit_SubCodigo->text());
    if (!subQuote || *subQuote < 0 || *subQuote > 9) {
        rejectField(QStringLiteral("Tipo de Orçamento Inválido"));
        return;
    }
    m_w.subQuote = *subQuote;
    if (const auto number = QuoteHeader::wholeNumber(Edit_Codigo->text()))
        m_w.quoteNumber = *number;
    StepMessages sink;
    QuoteHeader steps(*m_environment.application(), sink);
    const SubQuoteOpening opening =
        steps.openSubQuote(m_w.quoteNumber, m_w.subQuote, m_environment.state->WData, m_w.mayInsert);
    if (opening.kind == SubQuoteOpening::Kind::Refused) {
        m_w.row.reset();
        switch (opening.focus) {
        case HeaderFocus::Stay: rejectField(sink.refusal); return;
        case HeaderFocus::Number:
            kv::ui::messages().fail(sink.refusal);
            focusField(Edit_Codigo);
            return;
        case HeaderFocus::Series:
            m_w.headerReset = true;
            kv::ui::messages().fail(sink.refusal);
            focusField(Edit_Serie);
            return;
        }
    }
    openRow(opening);
}

void TORCF021::openRow(const SubQuoteOpening& opening)
{
    m_w.row = opening.row;
    m_w.mode = opening.mode;
    m_w.newQuote = opening.kind == SubQuoteOpening::Kind::NewQuote;
    showPage(CustomerPage);
    for (QLabel* margin : LabelMargLiq)
        margin->clear();
    showRow();
    BotCancelar->setEnabled(m_w.mayInsert);
}

// PutOrcamValues: the pages show the open row and the worksheet state takes
// its values; a row with an article shows the article's pictures.
void TORCF021::showRow()
{
    const QuoteRow row = m_w.row ? *m_w.row : QuoteRow();
    Edit_DatEmi->setText(m_w.row ? kv::text::date(row.value(QStringLiteral("DATEMI")).toDate()) : QString());
    m_customerPage->load(row);
    m_productionPage->load(row);
    if (!m_w.row) {
        m_customerPage->clearLabels();
        m_productionPage->clearLabels();
        m_detail->clear();
        return;
    }
    m_detail->load(row);
    const QString article = row.text(QStringLiteral("NOSREF")).trimmed();
    if (!article.isEmpty())
        showPictures(article);
}

void TORCF021::storePages()
{
    if (!m_w.row)
        return;
    m_customerPage->store(*m_w.row);
    m_productionPage->store(*m_w.row);
}

void TORCF021::clearPictures()
{
    for (kv::imaging::TPictureBox* box : m_pictures) {
        box->setText({});
        box->setImageName({});
    }
}

void TORCF021::showPictures(const QString& articleCode)
{
    clearPictures();
    if (!m_environment.installation)
        return;
    const QString path = articlePicturePath(*m_environment.installation, m_pictureFolder, articleCode, 1);
    if (path.isEmpty())
        return;
    for (kv::imaging::TPictureBox* box : m_pictures) {
        box->setText(QStringLiteral("(01)"));
        box->setImageName(path);
    }
}

void TORCF021::Edit_DatEmiExit()
{
    if (!m_w.row)
        return;
    if (m_w.newQuote) {
        Edit_OrcBase->setEnabled(true);
        return;
    }
    Edit_OrcBase->setEnabled(false);
    focusField(m_customerPage->firstField());
}

void TORCF021::BotDataClick()
{
    const QDate today = m_environment.state->WData;
    Edit_DatEmi->setText(kv::text::date(today));
    if (m_w.row)
        m_w.row->set(QStringLiteral("DATEMI"), QDateTime(today, QTime(0, 0)));
}

void TORCF021::Edit_OrcBaseExit()
{
    m_w.baseQuote = 0;
    const QString text = Edit_OrcBase->text().trimmed();
    if (text.isEmpty())
        return;
    const auto base = QuoteHeader::wholeNumber(text);
    if (!base || *base <= 0) {
        rejectField(QStringLiteral("Orçamento Base Inexistente !!!"));
        return;
    }
    m_w.baseQuote = *base;
    StepMessages sink;
    QuoteHeader steps(*m_environment.application(), sink);
    std::optional<int> number;
    try {
        number = steps.copy(m_w.quoteNumber, m_w.baseQuote, m_w.series, m_environment.state->WData,
                            [this](const QString& status) { setStatusText(0, status); });
    } catch (const std::exception& error) {
        setStatusText(0, {});
        rejectField(QString::fromUtf8(error.what()));
        return;
    }
    setStatusText(0, {});
    if (!number) {
        rejectField(sink.refusal);
        return;
    }
    m_w.quoteNumber = *number;
    m_w.subQuote = 0;
    Edit_Codigo->setText(QString::number(*number));
    Edit_SubCodigo->setText(QStringLiteral("0"));
    SubQuoteOpening opening = steps.openSubQuote(*number, 0, m_environment.state->WData, true);
    opening.mode = WorksheetMode::Copied;
    openRow(opening);
    m_w.newQuote = false;
    Edit_OrcBase->setEnabled(false);
    focusField(m_customerPage->firstField());
}

bool TORCF021::lookup(QuoteLookupList& list, std::vector<kv::ui::GridColumn> columns)
{
    list.open();
    kv::ui::LookupDialog dialog(list.dataset(), std::move(columns), this);
    dialog.setSearchQuery(
        [&list](const QString& field, const QString& text) { return field == list.keyField() && list.position(text); });
    return dialog.exec() == QDialog::Accepted && !list.dataset().isEmpty();
}

void TORCF021::ProcOrcNumClick()
{
    QuoteLookupList list(m_environment.application(), QuoteLookupList::Kind::Quotes);
    if (!lookup(list, {{QStringLiteral("CODIGO"), QStringLiteral("Orcam.Nº"), 8, {}},
                       {QStringLiteral("SUBCODIGO"), QStringLiteral("Tipo OrÇam."), 6, {}},
                       {QStringLiteral("CLINRO"), QStringLiteral("Cliente Nº"), 8, {}},
                       {QStringLiteral("NOME"), QStringLiteral("Nome Cliente"), 30, {}},
                       {QStringLiteral("NOSREF"), QStringLiteral("N/ Referª"), 16, {}}}))
        return;
    m_w.quoteNumber = static_cast<int>(list.dataset().value(QStringLiteral("CODIGO")).toLongLong());
    m_w.subQuote = static_cast<int>(list.dataset().value(QStringLiteral("SUBCODIGO")).toLongLong());
    Edit_Codigo->setText(QString::number(m_w.quoteNumber));
    Edit_SubCodigo->setText(QString::number(m_w.subQuote));
    focusField(Edit_Codigo);
}

void TORCF021::baseQuoteLookup(bool byName)
{
    QuoteLookupList list(m_environment.application(),
                         byName ? QuoteLookupList::Kind::BaseByName : QuoteLookupList::Kind::BaseByNumber);
    std::vector<kv::ui::GridColumn> columns{{QStringLiteral("CODIGO"), QStringLiteral("Orc.Nrº"), 8, {}},
                                            {QStringLiteral("NOME"), QStringLiteral("Cliente"), 30, {}},
                                            {QStringLiteral("DESIGN1"), QStringLiteral("Artigo"), 30, {}}};
    if (byName)
        std::swap(columns[0], columns[1]);
    if (!lookup(list, std::move(columns)))
        return;
    Edit_OrcBase->setText(QString::number(list.dataset().value(QStringLiteral("CODIGO")).toLongLong()));
}

void TORCF021::closeQuote()
{
    m_w.row.reset();
    m_w.summary.reset();
    m_w.quoteOpen = false;
    m_w.headerReset = true;
    enableHeader(true);
    BotCancelar->setEnabled(false);
    showPage(CustomerPage);
    showRow();
    setStatusText(0, {});
    focusField(Edit_Serie);
}

// The rows already stored (by "&Iniciar", the copy or a created sub-quote) stay stored.
void TORCF021::BotCancelarClick()
{
    m_w.cancelled = true;
    m_w.newQuote = false;
    closeQuote();
}

void TORCF021::BotDeleteClick()
{
    if (!kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?")))
        return;
    StepMessages sink;
    if (!QuoteHeader(*m_environment.application(), sink).remove(m_w.quoteNumber)) {
        kv::ui::messages().fail(sink.refusal);
        return;
    }
    m_w.newQuote = true;
    closeQuote();
}

void TORCF021::BotGravarClick()
{
    StepMessages sink;
    if (!QuoteHeader(*m_environment.application(), sink).save(m_w.quoteNumber, m_w.series)) {
        m_w.quoteOpen = false;
        kv::ui::messages().error(sink.refusal);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    m_w.newQuote = true;
    closeQuote();
}

// ------------------------------------------------------------------- pages

void TORCF021::showPage(int index)
{
    m_switchingPage = true;
    Tb->setCurrentIndex(index);
    m_switchingPage = false;
}

void TORCF021::focusSeries() { focusField(Edit_Serie); }

void TORCF021::openQuote()
{
    m_w.quoteOpen = true;
    enableHeader(false);
}

void TORCF021::changePage(WorksheetPage page)
{
    showPage(page);
    TbClick();
}

void TORCF021::BotTotaisClick()
{
    setStatusText(0, {});
    m_w.mode = WorksheetMode::BackFromTotals;
    showPage(TotalsPage);
    TbClick();
}

void TORCF021::TbClick()
{
    // Until a quote is open the pages after the first have nothing to show.
    if (!m_w.row) {
        showPage(CustomerPage);
        focusField(Edit_Serie);
        return;
    }
    storePages();
    switch (Tb->currentIndex()) {
    case CustomerPage:
        focusField(m_w.headerReset ? static_cast<QWidget*>(Edit_Serie) : m_customerPage->firstField());
        break;
    case ProductionPage:
        m_w.headerReset = false;
        focusField(m_productionPage->firstField());
        break;
    case DetailPage: m_detail->enter(); break;
    case TotalsPage:
        m_w.headerReset = false;
        enterTotals();
        break;
    }
}

// ------------------------------------------------------------------ totals

void TORCF021::enterTotals()
{
    setStatusText(0, QStringLiteral("ACTUALIZAÇÃO DE TOTAIS EM CURSO !!!"));
    QuoteEngine engine = this->engine(m_messages);
    m_w.summary = engine.totals(m_w.quoteNumber, m_w.subQuote, m_w.row->value(QStringLiteral("CODIVA")));
    setStatusText(0, {});
    if (!m_w.summary) {
        kv::ui::messages().fail(QStringLiteral("ERRO FATAL !!! Orçamento Incompleto !!!"));
        showPage(DetailPage);
        return;
    }
    m_w.pricing.reset();
    engine.showChart(*m_w.summary);
    drawChart();
    const QString unit = m_w.summary->text(QStringLiteral("UNIDADE"));
    for (int n = 0; n < 3; ++n) {
        Label_Quant[n]->setText(quantityCaption(m_w.summary->quantity(n + 1), unit));
        LabelMargLiq[n]->clear();
        // A quantity not quoted has no price.
        Edit_PrcCli[n]->setEnabled(n == 0 || m_w.summary->quantity(n + 1) != 0);
    }
    for (int k = 0; k < 3; ++k) {
        Label_Comiss[k]->setText(m_w.commercial.name[k]);
        Edit_PrcCom[k]->setEnabled(true);
    }
    CommercialPricing::clearUnnamed(*m_w.summary, m_w.commercial);
    showTotals();
    for (int k = 0; k < 3; ++k)
        if (m_w.commercial.name[k].isEmpty()) {
            Edit_PrcCom[k]->setEnabled(false);
        }
    for (QLineEdit* field : Edit_PrcCom)
        if (field->isEnabled()) {
            focusField(field);
            return;
        }
    CalculaCev();
}

void TORCF021::showTotals()
{
    if (!m_w.summary)
        return;
    const QuoteRow& s = *m_w.summary;
    const int d = m_w.priceDecimals;
    for (int n = 1; n <= 3; ++n) {
        const bool quoted = n == 1 || s.quantity(n) != 0;
        auto show = [quoted, d](QLabel* label, double v) { label->setText(quoted ? moneyText(v, d) : QString()); };
        double commercial = 0;
        for (int k = 1; k <= 3; ++k) {
            const double c = m_w.pricing.included() ? m_w.pricing.cost(k, n).toDouble() : 0.0;
            commercial += c;
            show(Label_ValCom[k - 1][n - 1], c);
        }
        show(Label_Custo[n - 1], s.number(quantityColumn("VALORORC", n)) - commercial);
        show(Label_PrcOrc[n - 1], s.number(quantityColumn("PRECOORC", n)));
        show(Label_ValCli[n - 1], s.number(quantityColumn("VALORCLI", n)));
        Edit_PrcCli[n - 1]->setText(quoted ? kv::text::fixed(s.number(quantityColumn("PRECOCLI", n)), d) : QString());
    }
    for (int k = 1; k <= 3; ++k)
        Edit_PrcCom[k - 1]->setText(kv::text::plain(s.number(quantityColumn("PRCCOM", k))));
}

void TORCF021::Edit_PrcComEnter(int k)
{
    if (!m_w.summary)
        return;
    m_w.pricing.restoreCost(*m_w.summary);
    if (k == 1)
        for (int i = 0; i < 3; ++i)
            Label_Comiss[i]->setText(m_w.commercial.name[i]);
    showTotals();
}

bool TORCF021::readPercentage(int k)
{
    const auto percentage = kv::text::parseNumber(Edit_PrcCom[k - 1]->text());
    if (!percentage) {
        rejectField(kv::text::notANumberMessage(Edit_PrcCom[k - 1]->text()));
        return false;
    }
    m_w.summary->set(quantityColumn("PRCCOM", k), *percentage);
    return true;
}

void TORCF021::Edit_PrcComExit(int k)
{
    if (!m_w.summary || !readPercentage(k))
        return;
    // The commercial costs are computed on leaving the last percentage the user can reach.
    for (int later = k + 1; later <= 3; ++later)
        if (Edit_PrcCom[later - 1]->isEnabled())
            return;
    CalculaCev();
}

void TORCF021::CalculaCev()
{
    m_w.pricing.calculate(*m_w.summary, m_w.commercial, m_w.priceDecimals);
    engine(m_messages).showChart(*m_w.summary);
    drawChart();
    showTotals();
    focusField(Edit_PrcCli[0]);
}

void TORCF021::Edit_PrcCliExit(int n)
{
    if (!m_w.summary)
        return;
    const auto price = kv::text::parseNumber(Edit_PrcCli[n - 1]->text());
    if (!price) {
        rejectField(kv::text::notANumberMessage(Edit_PrcCli[n - 1]->text()));
        return;
    }
    CommercialPricing::setClientPrice(*m_w.summary, n, *price, m_w.priceDecimals);
    showTotals();
    const QuoteRow& s = *m_w.summary;
    const bool last = n == 3 || (n == 2 && s.quantity(3) == 0) || (n == 1 && s.quantity(2) == 0 && s.quantity(3) == 0);
    if (last)
        FechoOrc();
}

void TORCF021::FechoOrc()
{
    if (!kv::ui::messages().question(QStringLiteral("FECHO DO ORÇAMENTO !!! Confirma ?"))) {
        for (QLineEdit* field : Edit_PrcCom)
            if (field->isEnabled()) {
                focusField(field);
                return;
            }
        return;
    }
    m_w.summary = engine(m_messages).close(*m_w.summary, m_w.subQuote);
    drawChart();
    for (int n = 1; n <= 3; ++n)
        LabelMargLiq[n - 1]->setText(n == 1 || m_w.summary->quantity(n) != 0
                                         ? kv::text::plain(m_w.summary->number(quantityColumn("MARGEMPRC", n)))
                                         : QString());
    if (kv::ui::messages().question(QStringLiteral("EMISSÃO DO ORÇAMENTO INTERNO !!! Confirma ?")))
        printInternalQuote();
    setStatusText(0, {});
    BotGravarClick();
}

void TORCF021::drawChart()
{
    ChartRows rows(*m_environment.application(), ChartRows::Table::Saldos, m_environment.state->WUtil,
                   QuoteEngine::kChartProgram);
    try {
        ChartTotais->showRows(rows);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

// The internal print's three pages in turn, read by key from the stored
// quote; the caller's datasets stay as they are.
void TORCF021::printInternalQuote()
{
    InternalPrintInputs inputs;
    inputs.priceDecimals = m_w.priceDecimals;
    // The company of the login row, as the login wrote it.
    inputs.companyName = m_environment.state->WEmpNom;
    try {
        const QuotePrintData quote =
            QuotePrintData::load(*m_environment.application(), m_environment.invoicing().get(), m_w.quoteNumber);
        InternalQuotePages(quote, inputs).previewAll(this);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

} // namespace kv::quotes
