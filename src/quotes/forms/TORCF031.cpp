#include "quotes/forms/TORCF031.h"

#include "quotes/core/QuotePrintData.h"
#include "quotes/core/QuoteRepository.h"
#include "quotes/forms/ArticlePictureViewer.h"
#include "quotes/forms/QuoteInformationPage.h"
#include "quotes/forms/QuoteValuesPage.h"
#include "quotes/forms/QuoteViewerSteps.h"
#include "quotes/forms/SelectionLookups.h"
#include "quotes/print/InternalQuotePages.h"
#include "quotes/print/QuoteListReport.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::quotes {

TORCF031::TORCF031(QuoteFormsEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment), m_lookups(std::make_unique<SelectionLookups>(environment))
{
    setObjectName(QStringLiteral("TORCF031"));
    setWindowTitle(QStringLiteral("Consulta de Orçamentos"));
    setModal(true);

    m_list = QuoteViewerSteps::summaryList(m_environment);
    m_rowRest = QuoteViewerSteps::restTimer(*m_list, this);
    connect(m_rowRest, &QTimer::timeout, this, &TORCF031::showCurrentQuote);

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    outer->addWidget(buildFilters());

    // The notebook and its tab set are one: a tab chosen shows its page.
    TB = new QTabWidget(body());
    TB->setObjectName(QStringLiteral("TB"));
    const kv::install::Installation& installation =
        m_environment.installation ? *m_environment.installation : m_noInstallation;
    m_pictures = new ArticlePictureViewer(installation, [this] { showPage(PhotoPage); });
    m_pictures->setObjectName(QStringLiteral("PageFotos"));
    m_values = new QuoteValuesPage;
    m_values->setObjectName(QStringLiteral("PageOrcamento"));
    TB->addTab(buildListPage(), QStringLiteral("Orçamentos"));
    TB->addTab(buildInformationPage(), QStringLiteral("Informação"));
    TB->addTab(m_values, QStringLiteral("Orçamento"));
    TB->addTab(m_pictures, QStringLiteral("Fotos"));
    TB->setCornerWidget(m_pictures->smallPicture(), Qt::TopRightCorner);
    outer->addWidget(TB, 1);

    auto* buttons = new QHBoxLayout(buttonBar());
    buttons->addStretch(1);
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(BitTerminar);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
    connect(TB, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_switchingPage)
            TBClick(index);
    });
}

TORCF031::~TORCF031() = default;

// ------------------------------------------------------------------ layout

QWidget* TORCF031::buildFilters()
{
    auto* panel = new QWidget(body());
    panel->setObjectName(QStringLiteral("PanelSeleccao"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    buildLimits();
    row->addWidget(m_limits);
    auto* count = new QVBoxLayout;
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("Nº de Orçamentos :")));
    Label_NroOrc = new QLabel(QStringLiteral("0"));
    Label_NroOrc->setObjectName(QStringLiteral("Label_NroOrc"));
    Label_NroOrc->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label_NroOrc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_NroOrc->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Label_NroOrc->setMinimumWidth(Label_NroOrc->fontMetrics().horizontalAdvance(QStringLiteral("9999999")) + 8);
    countRow->addWidget(Label_NroOrc);
    count->addLayout(countRow);
    BotConsultar = new kv::ui::TGlyphButton(QStringLiteral("&Consultar"), panel);
    BotConsultar->setObjectName(QStringLiteral("BotConsultar"));
    count->addWidget(BotConsultar);
    connect(BotConsultar, &kv::ui::TGlyphButton::clicked, this, [this] {
        openSelection();
        focusField(DBGrid1);
    });
    row->addLayout(count);

    auto radioGroup = [this, panel](const char* name, const std::array<const char*, 3>& captions,
                                    QRadioButton*(&buttons)[3], std::function<void(int)> choose) {
        auto* box = new QGroupBox(QStringLiteral("Seleccione"), panel);
        box->setObjectName(QString::fromLatin1(name));
        auto* layout = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (int i = 0; i < 3; ++i) {
            buttons[i] = new QRadioButton(QString::fromUtf8(captions[i]), box);
            buttons[i]->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(i + 1));
            group->addButton(buttons[i], i);
            layout->addWidget(buttons[i]);
        }
        connect(group, &QButtonGroup::idClicked, this, [this, choose](int id) {
            choose(id);
            openSelection();
        });
        return box;
    };
    row->addWidget(radioGroup("RadioManual", {"Manuais", "Automáticos", "Ambos"}, RadioManual,
                              [this](int id) { m_selection.origin = static_cast<ConsultationSelection::Origin>(id); }));
    row->addWidget(radioGroup("RadioAprovado", {"Aprovados", "Não Aprovados", "Ambos"}, RadioAprovado, [this](int id) {
        m_selection.approval = static_cast<ConsultationSelection::Approval>(id + 1);
    }));
    RadioManual[0]->setChecked(true);
    RadioAprovado[2]->setChecked(true);
    row->addStretch(1);
    return panel;
}

void TORCF031::buildLimits()
{
    using kv::text::RangeLimits;
    kv::ui::LimitFields customers(QStringLiteral("customers"), QStringLiteral("Lim.Clientes : "),
                                  QStringLiteral("Edit_CliNro1"), QStringLiteral("Edit_CliNro2"), 8);
    m_lookups->customers(customers);
    kv::ui::LimitFields salesmen(QStringLiteral("salesmen"), QStringLiteral("Lim.Vended. : "),
                                 QStringLiteral("Edit_VndNro1"), QStringLiteral("Edit_VndNro2"), 8);
    m_lookups->salesmen(salesmen);
    kv::ui::LimitFields articles(QStringLiteral("articles"), QStringLiteral("Lim.Artigos  : "),
                                 QStringLiteral("Edit_ArtNro1"), QStringLiteral("Edit_ArtNro2"), 16);
    articles.maxLength = 16;
    m_lookups->articles(articles);
    kv::ui::LimitFields numbers(QStringLiteral("numbers"), QStringLiteral("Lim.Orçam. : "),
                                QStringLiteral("Edit_OrcNro1"), QStringLiteral("Edit_OrcNro2"), 9);
    const kv::ui::LimitFields dates = QuoteViewerSteps::dateFields(QStringLiteral("Lim.Datas : "));
    const QDate workingDate = QuoteViewerSteps::workingDate(m_environment);
    m_limits = new kv::ui::RangeLimitsBlock(*this,
                                            {RangeLimits::customers(), RangeLimits::salesmen(), RangeLimits::articles(),
                                             RangeLimits::numbers(), RangeLimits::dates(workingDate)},
                                            {customers, salesmen, articles, numbers, dates}, body());
    m_limits->setObjectName(QStringLiteral("RangeLimits"));
    m_limits->setReopen([this] { openSelection(); });
    m_limits->setDateLookup(m_lookups->calendar());
}

QWidget* TORCF031::buildListPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    DBGrid1 = new kv::ui::DbGrid(page);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("Click 2 Vezes para Imprimir o Orçamento"));
    auto percent = [](const QVariant& v) { return v.isNull() ? QString() : kv::text::number(v.toDouble(), 1); };
    auto shortDate = [](const QVariant& v) { return v.isNull() ? QString() : kv::text::date(v.toDate()); };
    auto column = [](const char* field, const char* title, int width,
                     std::function<QString(const QVariant&)> format = {}) {
        kv::ui::GridColumn c;
        c.field = QString::fromLatin1(field);
        c.title = QString::fromUtf8(title);
        c.width = width;
        c.format = std::move(format);
        return c;
    };
    DBGrid1->setDataset(m_list.get(),
                        {column("CODIGO", "Orc.Nº", 8), column("DATEMI", "Data", 10, shortDate),
                         column("CLINRO", "Cli.Nº", 8), column("NOME", "NOME", 30), column("VNDNRO", "Vd", 4),
                         column("NOSREF", "NOSREF", 16), column("DESIGN1", "Designação Artigo", 30),
                         column("MARGEMPRC", "%Marg.", 6, percent), column("PRECOADJUD", "Prç. Aprov", 10),
                         column("APROVADO", "Sit", 3), column("MANUAL_AUTO", "MANUAL_AUTO", 3)});
    connect(DBGrid1, &kv::ui::DbGrid::rowActivated, this, [this] { DBGrid1DblClick(); });
    layout->addWidget(DBGrid1, 1);
    auto* bottom = new QHBoxLayout;
    DBNavigator1 = new kv::ui::DbNavigator(page);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataset(m_list.get());
    bottom->addWidget(DBNavigator1);
    bottom->addStretch(1);
    BotImprimir = new kv::ui::TGlyphButton(QStringLiteral("&Imprimir"), page);
    BotImprimir->setObjectName(QStringLiteral("BotImprimir"));
    connect(BotImprimir, &kv::ui::TGlyphButton::clicked, this, &TORCF031::BotImprimirClick);
    bottom->addWidget(BotImprimir);
    layout->addLayout(bottom);
    return page;
}

QWidget* TORCF031::buildInformationPage()
{
    m_information = new QuoteInformationPage({});
    return m_information;
}

// ------------------------------------------------------------------ activation

void TORCF031::FormActivate()
{
    if (!QuoteViewerSteps::mayActivate(m_environment, *this))
        return;
    kv::shell::LoginState& state = *m_environment.state;
    setMakerTag(state.WMarca);
    EnableEvents();
    Label_NroOrc->setText(QStringLiteral("0"));
    try {
        m_classification = QuoteViewerSteps::readClassification(m_environment, m_classificationRead);
        const auto parameters = QuoteConsultation::viewerParameters(*m_environment.invoicing(), state.WAno);
        if (!parameters)
            return QuoteViewerSteps::closeAtActivation(*this, QStringLiteral("PARAMETROS GERAIS, Inexistentes"));
        m_priceDecimals = parameters->priceDecimals;
        m_pictures->setFolder(parameters->pictureFolder);
        m_values->setPriceDecimals(m_priceDecimals);
        m_values->setChartRows(m_environment.application(), state.WUtil, QString::fromLatin1(kChartProgram));
        m_selection = ConsultationSelection::defaults(state.WData);
        m_limits->showDefaults();
        RadioManual[0]->setChecked(true);
        RadioAprovado[2]->setChecked(true);
        openSelection();
        focusField(m_limits->fromField(QStringLiteral("customers")));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
    }
}

void TORCF031::FormClose()
{
    m_rowRest->stop();
    m_list->close();
    m_lookups->close();
}

// ------------------------------------------------------------------ selection

void TORCF031::openSelection()
{
    QuoteViewerSteps::readLimits(*m_limits, m_selection);
    try {
        QuoteConsultation::open(*m_list, m_selection);
        Label_NroOrc->setText(QString::number(QuoteConsultation::count(*m_environment.application(), m_selection)));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

// Read by key once the cursor rests: the quote's summary row, its article
// and the article's classification. Nothing of the quote passed before
// stays on the pages.
void TORCF031::showCurrentQuote()
{
    m_rowRest->stop();
    std::optional<QuoteRow> quote;
    ClassifiedArticle article;
    try {
        if (m_list->isOpen() && !m_list->isEmpty()) {
            quote = QuoteRepository(*m_environment.application())
                        .row(static_cast<int>(m_list->value(QStringLiteral("CODIGO")).toLongLong()), 99);
            if (quote && m_classification)
                article = m_classification->article(quote->text(QStringLiteral("NOSREF")));
        }
        showInformation(quote, article);
        m_values->showValues(quote);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    m_pictures->showPictures(article.found ? article.code : QString());
    if (currentPage() == PhotoPage)
        m_pictures->showLarge(1);
}

void TORCF031::showInformation(const std::optional<QuoteRow>& quote, const ClassifiedArticle& article)
{
    const QString salesman =
        quote ? QuoteConsultation::salesmanName(*m_environment.invoicing(), quote->integer(QStringLiteral("VNDNRO")))
              : QString();
    m_information->showQuote(quote, article, salesman);
}

// ------------------------------------------------------------------ pages

int TORCF031::currentPage() const { return TB->currentIndex(); }

void TORCF031::showPage(int index)
{
    m_switchingPage = true;
    TB->setCurrentIndex(index);
    m_switchingPage = false;
}

void TORCF031::TBClick(int index)
{
    // Without a picture folder there is nothing to see on the photo page.
    if (index == PhotoPage && !m_pictures->hasFolder())
        index = ListPage;
    showPage(index);
    showCurrentQuote();
}

// ------------------------------------------------------------------ prints

void TORCF031::BotImprimirClick()
{
    QuoteListInputs inputs;
    inputs.selection = m_selection;
    inputs.companyName = m_environment.state->WEmpNom;
    inputs.priceDecimals = m_priceDecimals;
    try {
        QuoteListReport::preview(*m_list, inputs, this);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF031::DBGrid1DblClick()
{
    if (!m_list->isOpen() || m_list->isEmpty())
        return;
    const int number = static_cast<int>(m_list->value(QStringLiteral("CODIGO")).toLongLong());
    if (number <= 0)
        return;
    InternalPrintInputs inputs;
    inputs.priceDecimals = m_priceDecimals;
    inputs.companyName = m_environment.state->WEmpNom;
    try {
        const QuotePrintData quote =
            QuotePrintData::load(*m_environment.application(), m_environment.invoicing().get(), number);
        InternalQuotePages(quote, inputs).previewAll(this);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

} // namespace kv::quotes
