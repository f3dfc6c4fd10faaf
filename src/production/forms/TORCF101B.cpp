#include "production/forms/TORCF101B.h"

#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"
#include "quotes/core/ArticleClassification.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/core/QuoteRepository.h"
#include "imaging/forms/TPictureBox.h"
#include "quotes/forms/ArticlePictureViewer.h"
#include "quotes/forms/QuoteInformationPage.h"
#include "quotes/forms/QuoteValuesPage.h"
#include "quotes/forms/QuoteViewerSteps.h"
#include "shell/AccessRights.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::production {

namespace {

using kv::quotes::QuoteViewerSteps;

const char* const kViewChartProgram = "ORCP101";
// The money of this view is written with the currency's own decimals.
constexpr int kCurrencyDecimals = 2;
// How much one click of "Zoom +" enlarges the large picture (and "Zoom -" reduces it).
constexpr double kZoomStep = 1.25;

} // namespace

TORCF101B::TORCF101B(kv::quotes::QuoteFormsEnvironment environment, const SelectedOrder& order, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment), m_quoteNumber(order.quoteNumber)
{
    setObjectName(QStringLiteral("TORCF101B"));
    setWindowTitle(QStringLiteral("Consulta de Orçamentos"));
    setModal(true);
    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    TB = new QTabWidget(body());
    TB->setObjectName(QStringLiteral("TB"));
    m_information = new kv::quotes::QuoteInformationPage({true, "Custo Padrão (€) :"});
    m_information->setObjectName(QStringLiteral("PageInformacao"));
    m_values = new kv::quotes::QuoteValuesPage;
    m_values->setObjectName(QStringLiteral("PageOrcamento"));
    m_values->setVariant(kv::quotes::QuoteValues::Variant::ProductionOrder);
    m_values->setPriceDecimals(kCurrencyDecimals);
    const kv::install::Installation& installation =
        m_environment.installation ? *m_environment.installation : m_noInstallation;
    m_pictures = new kv::quotes::ArticlePictureViewer(installation, [this] {
        m_switchingPage = true;
        TB->setCurrentIndex(PhotoPage);
        m_switchingPage = false;
    });
    m_pictures->setObjectName(QStringLiteral("PageFotos"));
    m_pictures->addZoomButtons(kZoomStep);
    TB->addTab(m_information, QStringLiteral("Informação"));
    TB->addTab(m_values, QStringLiteral("Orçamento"));
    TB->addTab(m_pictures, QStringLiteral("Fotos"));
    TB->setCornerWidget(m_pictures->smallPicture(), Qt::TopRightCorner);
    outer->addWidget(TB, 1);
    auto* buttons = new QHBoxLayout(buttonBar());
    buttons->addStretch(1);
    auto* terminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    terminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(terminar);
    connect(terminar, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
    connect(TB, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_switchingPage)
            TBClick(index);
    });
}

TORCF101B::~TORCF101B() = default;

void TORCF101B::FormActivate()
{
    kv::shell::LoginState& state = *m_environment.state;
    // Only a user whose row lets him in ("S") sees the quote.
    kv::shell::AccessRights rights(m_environment.modules->dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), state);
    const kv::shell::FormRights formRights = rights.readForm(kv::shell::RightsVariant::R6, state.WAplicacao,
                                                             QStringLiteral("Orcamentos"),
                                                             QStringLiteral("Consulta de Orcamentos"));
    if (formRights.rights.ACEDER != QLatin1String("S")) {
        kv::ui::messages().beep();
        return QuoteViewerSteps::closeAtActivation(*this, QStringLiteral("Não pode aceder a este Programa"));
    }
    setMakerTag(state.WMarca);
    try {
        bool groupsRead = false;
        m_classification = QuoteViewerSteps::readClassification(m_environment, groupsRead);
        const auto parameters = kv::quotes::QuoteConsultation::viewerParameters(*m_environment.invoicing(), state.WAno);
        if (!parameters)
            return QuoteViewerSteps::closeAtActivation(*this, QStringLiteral("PARAMETROS GERAIS, Inexistentes"));
        m_pictures->setFolder(parameters->pictureFolder);
        m_values->setChartRows(m_environment.application(), state.WUtil, QString::fromLatin1(kViewChartProgram));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return QuoteViewerSteps::closeAtActivation(*this, QString());
    }
    EnableEvents();
    m_viewReady = true;
    showView();
}

bool TORCF101B::event(QEvent* e)
{
    const bool handled = kv::ui::Form::event(e);
    // Every later activation shows the quote as it stands now.
    if (e->type() == QEvent::WindowActivate && m_viewReady && isActivated())
        showView();
    return handled;
}

void TORCF101B::showView()
{
    std::optional<kv::quotes::QuoteRow> quote;
    kv::quotes::ClassifiedArticle article;
    QString salesman;
    try {
        quote = kv::quotes::QuoteRepository(*m_environment.application()).row(m_quoteNumber, 99);
        if (quote) {
            if (m_classification)
                article = m_classification->article(quote->text(QStringLiteral("NOSREF")));
            salesman = kv::quotes::QuoteConsultation::salesmanName(*m_environment.invoicing(),
                                                                  quote->integer(QStringLiteral("VNDNRO")));
        }
        m_information->showQuote(quote, article, salesman);
        m_values->showValues(quote);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    m_pictures->showPictures(article.found ? article.code : QString());
    if (TB->currentIndex() == PhotoPage)
        m_pictures->showLarge(1);
}

void TORCF101B::TBClick(int index)
{
    // Without a picture folder there is nothing to see on the photo page.
    if (index == PhotoPage && !m_pictures->hasFolder()) {
        m_switchingPage = true;
        TB->setCurrentIndex(InformationPage);
        m_switchingPage = false;
        return;
    }
    if (index == PhotoPage)
        m_pictures->showLarge(1);
}

} // namespace kv::production
