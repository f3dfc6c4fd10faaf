#include "production/forms/TORCF110.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"
#include "production/forms/MapButtons.h"
#include "production/forms/StockMapReports.h"
#include "quotes/core/ArticlePictures.h"
#include "quotes/forms/SelectionLookups.h"
#include "shell/AccessRights.h"
#include "shell/FormEnvironment.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace kv::production {
namespace {

const QString AllText = QStringLiteral("%");

kv::ui::GridColumn stockColumn(const char* field, const char* title, int width)
{
    return kv::quotes::SelectionLookups::column(field, title, width);
}

} // namespace

TORCF110::TORCF110(kv::quotes::QuoteFormsEnvironment environment, QWidget* parent)
    : Form(parent, 2), m_environment(environment),
      m_lookups(std::make_unique<kv::quotes::SelectionLookups>(environment)),
      m_customers(std::make_unique<kv::db::Dataset>(QStringLiteral("WORKRELCLI"))),
      m_articles(std::make_unique<kv::db::Dataset>(QStringLiteral("WORKRELCXA")))
{
    setObjectName(QStringLiteral("ORCF110"));
    setWindowTitle(QStringLiteral("Mapa de Existências por Cliente"));
    for (kv::db::Dataset* list : {m_customers.get(), m_articles.get()}) {
        list->setMode(kv::db::DatasetMode::ReadOnly);
        list->setConnection(environment.application());
    }
    m_customers->setSql(CustomerStockMap::customersSql());
    m_articles->setSql(CustomerStockMap::articlesSql());
    m_articles->setMaster(m_customers.get(), {{QStringLiteral("CLIENTE"), QStringLiteral("CLIENTE")}});

    kv::text::LimitPair customers{QStringLiteral("customers"), kv::text::LimitKind::Integer, 1, 99999999};
    customers.checksOnEitherExit = true; // either field rebuilds; the order is checked at print
    customers.reopensSelection = true;
    kv::text::LimitPair articles = kv::text::RangeLimits::articles();
    articles.inverted = kv::text::LimitWarning::box(QStringLiteral("Limite de Artigos Inválido"));
    articles.reopensSelection = true;
    kv::ui::LimitFields customerFields(QStringLiteral("customers"), QStringLiteral("Limite Clientes : "),
                                       QStringLiteral("Edit_CliNro1"), QStringLiteral("Edit_CliNro2"), 8);
    m_lookups->customers(customerFields);
    customerFields.simple.caption = QStringLiteral("Procura Simples");
    customerFields.alphabetic.caption = QStringLiteral("Procura Alfabética");
    customerFields.simple.columns.push_back(stockColumn("PAIS", "PAÍS", 15));
    kv::ui::LimitFields articleFields(QStringLiteral("articles"), QStringLiteral("Limite Artigos : "),
                                      QStringLiteral("Edit_ArtNro1"), QStringLiteral("Edit_ArtNro2"), 16);
    articleFields.maxLength = 16;
    m_lookups->articles(articleFields);
    articleFields.simple.caption = QStringLiteral("Procura Simples");
    articleFields.alphabetic.caption = QStringLiteral("Procura Alfabética");
    m_limits = new kv::ui::RangeLimitsBlock(*this, {customers, articles}, {customerFields, articleFields});
    m_limits->setReopen([this] { OpenClientes(); });

    auto* top = new QGridLayout;
    top->addWidget(m_limits, 0, 0, 1, 4);
    const auto pattern = [&](const QString& caption, const QString& name, int characters, int column) {
        auto* label = new QLabel(caption);
        auto* e = new QLineEdit;
        e->setObjectName(name);
        kv::ui::setFieldWidth(e, characters);
        setCaptionLabel(e, label);
        top->addWidget(label, 1, column);
        top->addWidget(e, 1, column + 1);
        return e;
    };
    Edit_Design = pattern(QStringLiteral("Design. : "), QStringLiteral("Edit_Design"), 30, 0);
    Edit_NomeCli = pattern(QStringLiteral("Nome Cliente : "), QStringLiteral("Edit_NomeCli"), 30, 2);
    top->setColumnStretch(4, 1);

    const auto grid = [&](const QString& name, std::vector<kv::ui::GridColumn> columns, kv::db::Dataset* list,
                          QVBoxLayout* into) {
        auto* g = new kv::ui::DbGrid;
        g->setObjectName(name);
        g->setDataset(list, std::move(columns));
        auto* navigator = new kv::ui::DbNavigator;
        navigator->setObjectName(name == QLatin1String("DBGrid1") ? QStringLiteral("DBNavigator1")
                                                                  : QStringLiteral("DBNavigator2"));
        navigator->setDataset(list);
        into->addWidget(g, 1);
        into->addWidget(navigator, 0, Qt::AlignLeft);
        return g;
    };
    auto* lists = new QVBoxLayout;
    DBGrid1 =
        grid(QStringLiteral("DBGrid1"), {stockColumn("CLIENTE", "Cliente Nº", 10), stockColumn("NOME", "Nome", 40)},
             m_customers.get(), lists);
    DBGrid2 = grid(QStringLiteral("DBGrid2"),
                   {stockColumn("ARTIGO", "Código do Artigo", 16), stockColumn("DESIGNACAO", "Designação", 30),
                    stockColumn("MATPRM", "Mat.Prima", 16), stockColumn("MATDESCRI", "Designação", 30)},
                   m_articles.get(), lists);
    ML1 = new kv::imaging::TPictureBox;
    ML1->setObjectName(QStringLiteral("ML1"));
    ML1->setStretch(true);
    ML1->setFixedSize(160, 120);
    auto* middle = new QHBoxLayout;
    middle->addLayout(lists, 1);
    middle->addWidget(ML1, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(body());
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    const MapButtons buttons = addMapButtons(
        *this, [this] { BitPreviewClick(); }, [this] { BitPrintClick(); });
    CheckImpressora = buttons.printer;
    BitPreview = buttons.preview;
    BitPrint = buttons.print;
    layout->addWidget(CheckImpressora);

    connect(m_articles.get(), &kv::db::Dataset::currentChanged, this, [this] { Edit_ArtigoChange(); });
    connect(m_articles.get(), &kv::db::Dataset::reset, this, [this] { Edit_ArtigoChange(); });
}

TORCF110::~TORCF110() = default;

void TORCF110::FormActivate()
{
    const kv::shell::LoginState& state = *m_environment.state;
    setStatusText(0, {});
    setMakerTag(state.WMarca);
    const kv::shell::FormRights rights =
        kv::shell::FormEnvironment(*m_environment.state, *m_environment.modules)
            .rights(kv::shell::RightsVariant::R6, state.WAplicacao, QStringLiteral("Planeamento"),
                    QStringLiteral("Emissao Ordens de Fabrico"));
    BitPreview->setVisible(rights.showPrint);
    BitPrint->setVisible(rights.showPrint);
    if (!m_activated) {
        m_activated = true;
        m_limits->showDefaults();
        Edit_Design->setText(AllText);
        Edit_NomeCli->setText(AllText);
        try {
            kv::db::Dataset& parameters = m_environment.modules->dataset(QStringLiteral("DTTABELAS.FACPARGER"));
            if (!parameters.isOpen())
                parameters.open();
            // The shared parameters stand on the working year's row.
            parameters.locate(QStringLiteral("ANO"), state.WAno);
            m_pathFoto = parameters.isEmpty() ? QString() : parameters.value(QStringLiteral("PATHFOTO")).toString();
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
        }
        OpenClientes();
        setExitHandler(Edit_Design, [this] { patternExit(Edit_Design); });
        setExitHandler(Edit_NomeCli, [this] { patternExit(Edit_NomeCli); });
    }
    EnableEvents();
    focusField(m_limits->fromField(QStringLiteral("customers")));
}

void TORCF110::FormClose()
{
    m_activated = false;
    setExitHandler(Edit_Design, {});
    setExitHandler(Edit_NomeCli, {});
    m_articles->close();
    m_customers->close();
    m_lookups->close();
}

void TORCF110::patternExit(QLineEdit* field)
{
    if (field->text().isEmpty())
        field->setText(AllText);
    OpenClientes();
}

std::optional<StockMapLimits> TORCF110::fieldLimits()
{
    StockMapLimits limits;
    QLineEdit* first = m_limits->fromField(QStringLiteral("customers"));
    for (auto [field, value] : {std::pair{first, &limits.firstCustomer},
                                std::pair{m_limits->toField(QStringLiteral("customers")), &limits.lastCustomer}}) {
        bool ok = false;
        *value = field->text().trimmed().toInt(&ok);
        if (!ok) {
            kv::ui::messages().fail(kv::text::notAnIntegerMessage(field->text()));
            return std::nullopt;
        }
    }
    limits.firstArticle = m_limits->fromField(QStringLiteral("articles"))->text();
    limits.lastArticle = m_limits->toField(QStringLiteral("articles"))->text();
    limits.designation = Edit_Design->text().isEmpty() ? AllText : Edit_Design->text();
    limits.customerName = Edit_NomeCli->text().isEmpty() ? AllText : Edit_NomeCli->text();
    return limits;
}

void TORCF110::OpenClientes()
{
    m_articles->close();
    m_customers->close();
    const std::optional<StockMapLimits> limits = fieldLimits();
    if (!limits)
        return;
    try {
        CustomerStockMap(*m_environment.application(), *m_environment.invoicing())
            .build(m_environment.state->WUtil, *limits);
        m_customers->setParam(QStringLiteral("WUTIL"), m_environment.state->WUtil);
        m_articles->setParam(QStringLiteral("WUTIL"), m_environment.state->WUtil);
        m_customers->open();
        m_articles->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF110::Edit_ArtigoChange()
{
    const QString article = m_articles->isOpen() && !m_articles->isEmpty()
                                ? m_articles->value(QStringLiteral("ARTIGO")).toString()
                                : QString();
    const QString path = article.isEmpty() || !m_environment.installation
                             ? QString()
                             : kv::quotes::articlePicturePath(*m_environment.installation, m_pathFoto, article, 1);
    if (path.isEmpty()) {
        ML1->setPicture(nullptr);
        ML1->setText({});
        return;
    }
    ML1->setText(QStringLiteral("(01)"));
    ML1->setImageName(path);
}

std::optional<kv::report::Document> TORCF110::render()
{
    std::optional<StockMapLimits> limits = fieldLimits();
    if (!limits)
        return std::nullopt;
    if (!CustomerStockMap::customerRangeValid(*limits)) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("LIMITE DE CLIENTES INVÁLIDO"));
        focusField(m_limits->fromField(QStringLiteral("customers")));
        return std::nullopt;
    }
    OpenClientes();
    StockMapReportInputs inputs;
    inputs.firstArticle = limits->firstArticle;
    inputs.lastArticle = limits->lastArticle;
    inputs.firstCustomer = QString::number(limits->firstCustomer);
    inputs.lastCustomer = QString::number(limits->lastCustomer);
    inputs.designation = limits->designation;
    inputs.customerName = limits->customerName;
    inputs.companyName = kv::shell::FormEnvironment(*m_environment.state, *m_environment.modules).companyName();
    inputs.footerText = m_environment.state->WRodape;
    try {
        CustomerStockMap map(*m_environment.application(), *m_environment.invoicing());
        return StockMapReports::customerStock(map.reportRows(m_environment.state->WUtil), inputs);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return std::nullopt;
    }
}

void TORCF110::BitPreviewClick()
{
    setStatusText(0, QStringLiteral("Processamento em Curso"));
    if (std::optional<kv::report::Document> document = render()) {
        kv::report::PreviewWindow preview(std::move(*document), this);
        preview.setWindowTitle(QStringLiteral("Mapa de Existências por Cliente"));
        preview.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
        preview.exec();
    }
    setStatusText(0, {});
}

void TORCF110::BitPrintClick()
{
    std::optional<kv::report::Document> document = render();
    if (!document)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (CheckImpressora->isChecked()) {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("Imprimir"));
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    try {
        kv::report::PreviewWindow pages(std::move(*document), this);
        pages.print(printer);
    } catch (const kv::report::ReportError& error) {
        kv::ui::messages().fail(error.text());
    }
    setStatusText(0, {});
}

} // namespace kv::production
