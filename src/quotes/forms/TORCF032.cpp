#include "quotes/forms/TORCF032.h"

#include "quotes/core/ArticlePictures.h"
#include "quotes/core/ArticleStock.h"
#include "quotes/core/ChartRows.h"
#include "quotes/core/CustomerOrderPrint.h"
#include "quotes/core/QuotePrintData.h"
#include "quotes/core/QuoteRepository.h"
#include "quotes/forms/ArticleClassificationView.h"
#include "quotes/forms/QuoteValuesPage.h"
#include "quotes/forms/QuoteViewerSteps.h"
#include "quotes/forms/SelectionLookups.h"
#include "quotes/print/ChartRowsPie.h"
#include "quotes/print/CustomerOrderReport.h"
#include "quotes/print/InternalQuotePages.h"

#include "customers/partforms/CustomerViews.h"
#include "customers/parts/CustomerOrderValues.h"
#include "imaging/forms/TPictureBox.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

kv::ui::GridColumn gridColumn(const char* field, const char* title, int width,
                              std::function<QString(const QVariant&)> format = {})
{
    kv::ui::GridColumn c = SelectionLookups::column(field, title, width);
    c.format = std::move(format);
    return c;
}

QTableWidget* readOnlyTable(const QString& name, const QStringList& titles)
{
    auto* table = new QTableWidget(0, static_cast<int>(titles.size()));
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void fillTable(QTableWidget* table, const std::vector<QStringList>& rows)
{
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < rows[static_cast<std::size_t>(r)].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[static_cast<std::size_t>(r)][c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
}

} // namespace

TORCF032::TORCF032(QuoteFormsEnvironment environment, approval::ApprovalOpener openApproval, QWidget* parent)
    : kv::ui::Form(parent), m_environment(environment), m_openApproval(std::move(openApproval)),
      m_lookups(std::make_unique<SelectionLookups>(environment))
{
    setObjectName(QStringLiteral("TORCF032"));
    setWindowTitle(QStringLiteral("Aprovação de Orçamentos"));
    setModal(true);

    m_list = QuoteViewerSteps::summaryList(m_environment);
    m_rowRest = QuoteViewerSteps::restTimer(*m_list, this);
    connect(m_rowRest, &QTimer::timeout, this, &TORCF032::showCurrentRow);

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    auto* top = new QHBoxLayout;
    buildLimits();
    top->addWidget(m_limits);
    top->addWidget(buildChoices());
    top->addStretch(1);
    ML1 = new kv::imaging::TPictureBox;
    ML1->setObjectName(QStringLiteral("ML1"));
    ML1->setStretch(true);
    ML1->setFixedSize(160, 120);
    top->addWidget(ML1);
    outer->addLayout(top);

    auto* middle = new QHBoxLayout;
    NBOrcam = new QTabWidget(body());
    NBOrcam->setObjectName(QStringLiteral("NBOrcam"));
    NBOrcam->addTab(buildListPage(), QStringLiteral("Orçamentos"));
    NBOrcam->addTab(buildFichaPage(), QStringLiteral("Ficha Técnica"));
    middle->addWidget(NBOrcam, 3);
    auto* right = new QVBoxLayout;
    right->addWidget(buildDetailNotebook());
    m_customerViews =
        new kv::customers::CustomerViews(kv::customers::CustomerViews::Host::ApprovalList, m_environment.invoicing(),
                                         m_environment.state ? m_environment.state->WUtil : QString());
    right->addWidget(m_customerViews, 1);
    right->addStretch(0);
    middle->addLayout(right, 2);
    outer->addLayout(middle, 1);

    auto* buttons = new QHBoxLayout(buttonBar());
    auto button = [this, buttons](const char* name, const char* caption, const char* hint) {
        auto* b = new kv::ui::TGlyphButton(QString::fromUtf8(caption), buttonBar());
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        buttons->addWidget(b);
        return b;
    };
    BotAprova = button("BotAprova", "&Aprovar", "Aprovar Orçamento");
    BitPrint = button("BitPrint", "Imprimir", "Imprimir Orçamentos Seleccionados");
    BitPrintEnc = button("BitPrintEnc", "&Encomenda", "Emitir Ordem de Fabrico");
    buttons->addStretch(1);
    BitTerminar = button("BitTerminar", "Terminar", "");
    connect(BotAprova, &kv::ui::TGlyphButton::clicked, this, &TORCF032::BotAprovaClick);
    connect(BitPrint, &kv::ui::TGlyphButton::clicked, this, &TORCF032::BitPrintClick);
    connect(BitPrintEnc, &kv::ui::TGlyphButton::clicked, this, &TORCF032::BitPrintEncClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
    connect(NBOrcam, &QTabWidget::currentChanged, this, [this] {
        showCurrentRow();
        showFichaPage(NBFICTEC->currentIndex());
    });
    setListShown(false);
}

TORCF032::~TORCF032() = default;

// ------------------------------------------------------------------ layout

void TORCF032::buildLimits()
{
    using kv::text::RangeLimits;
    kv::ui::LimitFields customers(QStringLiteral("customers"), QStringLiteral("Do Cliente nº : "),
                                  QStringLiteral("Edit_CliNro1"), QStringLiteral("Edit_CliNro2"), 9);
    m_lookups->customers(customers);
    customers.alphabetic.columns[1].title = QStringLiteral("CODIGO");
    kv::ui::LimitFields articles(QStringLiteral("articles"), QStringLiteral("Do Artigo nº : "),
                                 QStringLiteral("Edit_ArtNro1"), QStringLiteral("Edit_ArtNro2"), 16);
    articles.maxLength = 16;
    m_lookups->articles(articles, 40);
    kv::ui::LimitFields salesmen(QStringLiteral("salesmen"), QStringLiteral("Do Vend. nº : "),
                                 QStringLiteral("Edit_VndNro1"), QStringLiteral("Edit_VndNro2"), 8);
    m_lookups->salesmen(salesmen);
    kv::ui::LimitFields numbers(QStringLiteral("numbers"), QStringLiteral("Do Orçam. nº : "),
                                QStringLiteral("Edit_OrcNro1"), QStringLiteral("Edit_OrcNro2"), 9);
    const kv::ui::LimitFields dates = QuoteViewerSteps::dateFields(QStringLiteral("Limite Datas : "));
    const QDate workingDate = QuoteViewerSteps::workingDate(m_environment);
    m_limits =
        new kv::ui::RangeLimitsBlock(*this,
                                     {RangeLimits::approvalCustomers(), RangeLimits::articles(),
                                      RangeLimits::salesmen(), RangeLimits::numbers(), RangeLimits::dates(workingDate)},
                                     {customers, articles, salesmen, numbers, dates}, body());
    m_limits->setObjectName(QStringLiteral("RangeLimits"));
    m_limits->setReopen([this] {
        setStatusText(0, QStringLiteral("A processar ..."));
        openList();
        setStatusText(0, {});
    });
    m_limits->setDateLookup(m_lookups->calendar());
    QLineEdit* first = m_limits->fromField(QStringLiteral("customers"));
    setEnterHandler(first, [this] {
        closeList();
        setStatusText(0, QStringLiteral("Tecla ... <INS> Procura Numérica ... <CTRL+INS> Procura Alfabética"));
    });
}

QWidget* TORCF032::buildChoices()
{
    auto* panel = new QWidget(body());
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    auto* kind = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Tipo Orçam. : "), panel);
    kind->addWidget(caption);
    Edit_TipOrc = new QComboBox(panel);
    Edit_TipOrc->setObjectName(QStringLiteral("Edit_TipOrc"));
    Edit_TipOrc->addItems({QStringLiteral("Manual"), QStringLiteral("Automático"), QStringLiteral("Ambos")});
    Edit_TipOrc->setCurrentIndex(2);
    setCaptionLabel(Edit_TipOrc, caption);
    kind->addWidget(Edit_TipOrc);
    kind->addStretch(1);
    column->addLayout(kind);
    connect(Edit_TipOrc, &QComboBox::activated, this, [this](int index) {
        using Origin = ConsultationSelection::Origin;
        const Origin origins[] = {Origin::Manual, Origin::Automatic, Origin::Both};
        m_selection.origin = origins[index];
        openList();
    });

    auto* box = new QGroupBox(QStringLiteral("Tipo Ordenação"), panel);
    auto* radios = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    RadData = new QRadioButton(QStringLiteral("Data"), box);
    RadArtigo = new QRadioButton(QStringLiteral("Artigo"), box);
    RadVendedor = new QRadioButton(QStringLiteral("Vendedor"), box);
    for (QRadioButton* radio : {RadData, RadArtigo, RadVendedor}) {
        group->addButton(radio);
        radios->addWidget(radio);
    }
    RadData->setObjectName(QStringLiteral("RadData"));
    RadArtigo->setObjectName(QStringLiteral("RadArtigo"));
    RadVendedor->setObjectName(QStringLiteral("RadVendedor"));
    RadData->setChecked(true);
    // The date order reopens the list at once; the other two wait for the next opening.
    connect(RadData, &QRadioButton::clicked, this, [this] { openList(); });
    column->addWidget(box);
    column->addStretch(1);
    return panel;
}

QWidget* TORCF032::buildListPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    DBGrid1 = new kv::ui::DbGrid(page);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("Click 2 Vezes para Imprimir o Orçamento"));
    auto percent = [](const QVariant& v) { return v.isNull() ? QString() : kv::text::number(v.toDouble(), 1); };
    auto shortDate = [](const QVariant& v) { return v.isNull() ? QString() : kv::text::date(v.toDate()); };
    DBGrid1->setDataset(
        m_list.get(), {gridColumn("CODIGO", "Orc.Nº", 8), gridColumn("DATEMI", "Data", 12, shortDate),
                       gridColumn("CLINRO", "Cli.Nº", 7), gridColumn("NOME", "NOME", 24), gridColumn("VNDNRO", "Vd", 3),
                       gridColumn("NOSREF", "NOSREF", 14), gridColumn("DESIGN1", "Designação Artigo", 24),
                       gridColumn("MARGEMPRC", "%Marg.", 6, percent), gridColumn("PRECOADJUD", "Prç. Aprov", 9),
                       gridColumn("APROVADO", "Sit", 3), gridColumn("MANUAL_AUTO", "MANUAL_AUTO", 3)});
    connect(DBGrid1, &kv::ui::DbGrid::rowActivated, this, [this] { BitPrintClick(); });
    layout->addWidget(DBGrid1, 1);
    BotNavig = new kv::ui::DbNavigator(page);
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(m_list.get());
    layout->addWidget(BotNavig, 0, Qt::AlignLeft);
    return page;
}

QWidget* TORCF032::buildInformationPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    int row = 0;
    auto line = [&](const char* caption, std::initializer_list<std::pair<const char*, int>> values) {
        QuoteViewerSteps::addValueLine(*grid, row++, caption, values, m_values);
    };
    line("Orçamento Nº : ", {{"Label_OrcNro", 9}});
    line("Data Emissão : ", {{"Label_DatEmi", 10}});
    line("Artigo Nº : ", {{"Label_NosRef", 16}, {"Label_Design1", 40}});
    line("Medidas (CxLxA) : ", {{"Label_Comprim", 8}, {"Label_Largura", 8}, {"Label_Altura", 8}});
    line("Unidade Venda :", {{"Label_UndVnd", 4}});
    line("Família : ", {{"Label_Familia", 20}});
    line("Preço Venda  :", {{"Label_Preco1", 12}});
    line("Preço Aprovado : ", {{"Label_PrecoAdjud", 12}});
    line("Qtd. Aprovada : ", {{"Label_QtdAdjud", 12}});
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* TORCF032::buildFichaPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    NBFICTEC = new QTabWidget(page);
    NBFICTEC->setObjectName(QStringLiteral("NBFICTEC"));
    NBFICTEC->addTab(buildInformationPage(), QStringLiteral("Informação"));
    m_classificationView = new ArticleClassificationView;
    m_classificationView->setObjectName(QStringLiteral("PanelCustom"));
    NBFICTEC->addTab(m_classificationView, QStringLiteral("Classific."));
    m_rawMaterials =
        readOnlyTable(QStringLiteral("DBGridFicTec"), {"TP", "Designação", "Consumo", "Preço", "Valor (I)"});
    NBFICTEC->addTab(m_rawMaterials, QStringLiteral("Fic.Técnicas"));
    // One values page seen from the three tabs of its figures.
    m_quoteValues = new QuoteValuesPage;
    m_quoteValues->setObjectName(QStringLiteral("PageValores"));
    m_quoteValues->hideOwnChart();
    for (const char* caption : {"Custo Base", "C.Comercial", "Tot.Encom."}) {
        auto* holder = new QWidget;
        (new QVBoxLayout(holder))->setContentsMargins(0, 0, 0, 0);
        NBFICTEC->addTab(holder, QString::fromUtf8(caption));
    }
    NBFICTEC->widget(BaseCost)->layout()->addWidget(m_quoteValues);
    layout->addWidget(NBFICTEC, 3);
    DBChart1 = new ChartRowsPie(page);
    DBChart1->setObjectName(QStringLiteral("DBChart1"));
    DBChart1->setMinimumSize(240, 220);
    layout->addWidget(DBChart1, 2);
    connect(NBFICTEC, &QTabWidget::currentChanged, this, &TORCF032::showFichaPage);
    return page;
}

QWidget* TORCF032::buildDetailNotebook()
{
    NB = new QTabWidget(body());
    NB->setObjectName(QStringLiteral("NB"));
    NB->setUsesScrollButtons(false);
    NB->tabBar()->setElideMode(Qt::ElideNone);
    // The page holds the fields, which the closed list hides.
    auto* detailPage = new QWidget;
    m_detailFields = new QWidget(detailPage);
    auto* detailLayout = new QVBoxLayout(detailPage);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->addWidget(m_detailFields);
    detailLayout->addStretch(1);
    auto* grid = new QGridLayout(m_detailFields);
    grid->setVerticalSpacing(2);
    int row = 0;
    auto line = [&](const char* caption, std::initializer_list<std::pair<const char*, int>> values) {
        QuoteViewerSteps::addValueLine(*grid, row++, caption, values, m_values);
    };
    line("Vend. Nº : ", {{"Label_VndNro", 4}, {"Label_VndNome", 28}});
    line("Data Aprov. : ", {{"Label_DatAdjud", 10}});
    line("Val.Aprov. : ", {{"Label_ValorAdjud", 14}});
    line("Observ. : ", {{"Label_Observ1", 34}});
    grid->setRowStretch(row, 1);
    NB->addTab(detailPage, QStringLiteral("Informação Detalhada Orçamento"));

    auto* stock = new QWidget;
    auto* stockLayout = new QVBoxLayout(stock);
    auto* quantity = new QHBoxLayout;
    quantity->addWidget(new QLabel(QStringLiteral("Quantid. : ")));
    quantity->addWidget(QuoteViewerSteps::valueLabel(QStringLiteral("Label_ExiQtd"), 12, m_values));
    auto* unit = new QLabel(QStringLiteral("MLH"));
    unit->setObjectName(QStringLiteral("Label_UnVenda"));
    m_values.insert(unit->objectName(), unit);
    quantity->addWidget(unit);
    quantity->addStretch(1);
    stockLayout->addLayout(quantity);
    auto* panel = new QGroupBox(QStringLiteral("Existência Total do Artigo"));
    auto* panelLayout = new QVBoxLayout(panel);
    m_warehouses = readOnlyTable(QStringLiteral("DBGridArmazens"), {"Arm. Nº", "Exist.Qtd.", "Exist.Valor"});
    // A few warehouses: the customer's figures below get the height.
    m_warehouses->setFixedHeight(m_warehouses->horizontalHeader()->sizeHint().height() * 5);
    panelLayout->addWidget(m_warehouses);
    stockLayout->addWidget(panel, 1);
    NB->addTab(stock, QStringLiteral("Posição em armazens"));
    connect(NB, &QTabWidget::currentChanged, this, [this] { showStock(); });
    NB->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    return NB;
}

// ------------------------------------------------------------------ activation

void TORCF032::FormActivate()
{
    if (!QuoteViewerSteps::mayActivate(m_environment, *this))
        return;
    kv::shell::LoginState& state = *m_environment.state;
    setMakerTag(state.WMarca);
    EnableEvents();
    try {
        bool groupsRead = false;
        m_classification = QuoteViewerSteps::readClassification(m_environment, groupsRead);
        const auto parameters = QuoteConsultation::viewerParameters(*m_environment.invoicing(), state.WAno);
        if (!parameters)
            return QuoteViewerSteps::closeAtActivation(*this, QStringLiteral("PARAMETROS GERAIS, Inexistentes"));
        m_priceDecimals = parameters->priceDecimals;
        m_pictureFolder = parameters->pictureFolder;
        m_quoteValues->setPriceDecimals(m_priceDecimals);
        m_quoteValues->setChartRows(m_environment.application(), state.WUtil, QString::fromLatin1(kChartProgram));
        m_selection = ConsultationSelection::defaults(state.WData);
        m_selection.origin = ConsultationSelection::Origin::Both;
        m_limits->showDefaults();
        // Customers from 0, shown as an empty field.
        m_limits->fromField(QStringLiteral("customers"))->clear();
        Edit_TipOrc->setCurrentIndex(2);
        RadData->setChecked(true);
        // The list opens when the user leaves the second customer or date field.
        focusField(m_limits->fromField(QStringLiteral("customers")));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
    }
}

void TORCF032::FormClose()
{
    m_rowRest->stop();
    m_list->close();
    m_lookups->close();
}

// ------------------------------------------------------------------ the list

void TORCF032::setListShown(bool shown)
{
    m_customerViews->setVisible(shown);
    ML1->setVisible(shown);
    m_detailFields->setVisible(shown);
}

void TORCF032::closeList()
{
    m_rowRest->stop();
    m_list->close();
    m_summary.reset();
    setListShown(false);
    NBOrcam->setCurrentIndex(0);
}

void TORCF032::openList()
{
    QuoteViewerSteps::readLimits(*m_limits, m_selection);
    m_selection.order = RadArtigo->isChecked()     ? ConsultationSelection::Order::Article
                        : RadVendedor->isChecked() ? ConsultationSelection::Order::Salesman
                                                   : ConsultationSelection::Order::Date;
    try {
        QuoteConsultation::open(*m_list, m_selection);
        setListShown(true);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

int TORCF032::currentQuoteNumber() const
{
    if (!m_list->isOpen() || m_list->isEmpty())
        return 0;
    return static_cast<int>(m_list->value(QStringLiteral("CODIGO")).toLongLong());
}

// Read by key once the cursor rests: the summary row, the article with its
// classification and stock, and the customer's figures when the customer
// is another. Nothing of the row passed before stays.
void TORCF032::showCurrentRow()
{
    m_rowRest->stop();
    const int number = currentQuoteNumber();
    ClassifiedArticle article;
    try {
        m_summary = number > 0 ? QuoteRepository(*m_environment.application()).row(number, 99) : std::nullopt;
        if (m_summary && m_classification)
            article = m_classification->article(m_summary->text(QStringLiteral("NOSREF")));
        m_article = article.found ? article.code : QString();
        const int customer = m_summary ? static_cast<int>(m_summary->integer(QStringLiteral("CLINRO"))) : 0;
        if (customer != m_customer) {
            m_customer = customer;
            m_customerViews->showCustomer(customer);
        }
        showInformation(m_summary, article);
        m_quoteValues->showValues(m_summary);
        showStock();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    m_classificationView->showArticle(article);
    const QString picture =
        m_summary ? articlePicturePath(m_environment.installation ? *m_environment.installation : m_noInstallation,
                                       m_pictureFolder, m_summary->text(QStringLiteral("NOSREF")), 1)
                  : QString();
    ML1->setImageName(QString());
    if (!picture.isEmpty())
        ML1->setImageName(picture);
}

void TORCF032::showInformation(const std::optional<QuoteRow>& quote, const ClassifiedArticle& article)
{
    for (QLabel* label : m_values)
        if (label->objectName() != QLatin1String("Label_UnVenda"))
            label->clear();
    if (!quote)
        return;
    const QuoteRow& q = *quote;
    auto set = [this](const char* name, const QString& text) {
        m_values.value(QString::fromLatin1(name))->setText(text);
    };
    set("Label_OrcNro", QString::number(q.quoteNumber()));
    set("Label_DatEmi", kv::text::date(q.value(QStringLiteral("DATEMI")).toDate()));
    set("Label_NosRef", q.text(QStringLiteral("NOSREF")));
    set("Label_Design1", q.text(QStringLiteral("DESIGN1")));
    set("Label_Comprim", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("COMPRIM"))));
    set("Label_Largura", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("LARGURA"))));
    set("Label_Altura", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("ALTURA"))));
    set("Label_UndVnd", q.text(QStringLiteral("UNDVND")));
    set("Label_PrecoAdjud", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("PRECOADJUD"))));
    set("Label_QtdAdjud", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("QTDADJUD"))));
    set("Label_VndNro", q.text(QStringLiteral("VNDNRO")));
    set("Label_VndNome",
        QuoteConsultation::salesmanName(*m_environment.invoicing(), q.integer(QStringLiteral("VNDNRO"))));
    const QDate approved = q.value(QStringLiteral("DATADJUD")).toDate();
    set("Label_DatAdjud", approved.isValid() ? kv::text::date(approved) : QString());
    set("Label_ValorAdjud", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("VALORADJUD"))));
    set("Label_Observ1", q.text(QStringLiteral("OBSERV1")));
    if (article.found) {
        set("Label_Familia", article.family);
        set("Label_Preco1", kv::text::plain(article.price));
    }
}

// ShowExistQtd: only while its page is shown. An article that is not in the
// file shows no stock, never the previous article's.
void TORCF032::showStock()
{
    if (NB->currentIndex() != 1)
        return;
    m_values.value(QStringLiteral("Label_ExiQtd"))->clear();
    m_warehouses->setRowCount(0);
    try {
        const ArticleStock stock = ArticleStock::read(*m_environment.invoicing(), m_article, m_environment.state->WAno);
        if (!stock.found)
            return;
        m_values.value(QStringLiteral("Label_ExiQtd"))->setText(kv::text::number(stock.quantity, 2));
        m_values.value(QStringLiteral("Label_UnVenda"))->setText(stock.unit);
        std::vector<QStringList> rows;
        for (const WarehouseStock& w : stock.warehouses)
            rows.push_back({QString::number(w.warehouse), kv::text::number(w.quantity, 4), kv::text::plain(w.value)});
        fillTable(m_warehouses, rows);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032::showRawMaterials()
{
    m_rawMaterials->setRowCount(0);
    const int number = currentQuoteNumber();
    if (number <= 0)
        return;
    try {
        std::vector<QStringList> rows;
        for (const QVariantList& line : QuoteConsultation::rawMaterialLines(*m_environment.application(), number))
            rows.push_back({line[0].toString(), line[1].toString(), kv::text::number(line[2].toDouble(), 4),
                            kv::text::number(line[3].toDouble(), 4),
                            kv::text::money(line[4].toDouble(), m_priceDecimals)});
        fillTable(m_rawMaterials, rows);
        m_rawMaterials->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032::showCostChart(int set)
{
    if (!m_summary)
        return;
    try {
        ChartRows rows(*m_environment.application(), ChartRows::Table::Saldos1, m_environment.state->WUtil,
                       QString::fromLatin1(kChartProgram));
        rows.replace(ChartRows::costSlices(set, *m_summary), 2);
        DBChart1->showRows(rows);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032::showFichaPage(int index)
{
    switch (index) {
    case TechnicalSheets: showRawMaterials(); break;
    case BaseCost:
    case CommercialCost:
    case OrderTotal: {
        // The three tabs show the one values page.
        QWidget* page = NBFICTEC->widget(index);
        if (m_quoteValues->parentWidget() != page) {
            page->layout()->addWidget(m_quoteValues);
            m_quoteValues->show();
        }
        showCostChart(index - BaseCost + 1);
        break;
    }
    default: break;
    }
}

// ------------------------------------------------------------------ approval

void TORCF032::BotAprovaClick()
{
    const int number = currentQuoteNumber();
    if (number <= 0)
        return;
    if (!m_list->locate(QStringLiteral("CODIGO"), number)) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("Orçamento Inexistente ... ") + QString::number(number));
        return;
    }
    approval::ApprovalOutcome outcome;
    try {
        if (m_openApproval)
            outcome = m_openApproval(
                approval::ApprovalContext::read(*m_environment.application(), number, m_priceDecimals), this);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    if (outcome.approved)
        rebuildOrderValues();
    openList();
    m_list->last();
    focusField(DBGrid1);
}

// CreateEncValores: on its own, after the approval's own commit.
void TORCF032::rebuildOrderValues()
{
    setStatusText(0, QStringLiteral("Verificação de valores totais em curso ... Aguarde p/favor ..."));
    try {
        kv::customers::CustomerOrderValues::rebuildMonthly(*m_environment.invoicing(), m_environment.state->WUtil,
                                                           m_environment.state->WAno);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    setStatusText(0, {});
}

// ------------------------------------------------------------------ prints

void TORCF032::BitPrintClick()
{
    const int number = currentQuoteNumber();
    if (number <= 0)
        return;
    InternalPrintInputs inputs;
    inputs.priceDecimals = m_priceDecimals;
    inputs.companyName = m_environment.state->WEmpNom;
    try {
        const QuotePrintData quote =
            QuotePrintData::load(*m_environment.application(), m_environment.invoicing().get(), number);
        InternalQuotePages pages(quote, inputs);
        pages.preview(InternalPage::TechnicalSheet, this);
        pages.preview(InternalPage::CostLines, this);
        if (quote.summary) {
            ChartRows rows(*m_environment.application(), ChartRows::Table::Saldos1, m_environment.state->WUtil,
                           QString::fromLatin1(kChartProgram));
            rows.replace(ChartRows::costSlices(1, *quote.summary), 2);
        }
        inputs.approved = true;
        InternalQuotePages(quote, inputs).preview(InternalPage::Totals, this);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032::BitPrintEncClick()
{
    const int number = currentQuoteNumber();
    if (number <= 0)
        return;
    try {
        const std::optional<QuoteRow> summary = QuoteRepository(*m_environment.application()).row(number, 99);
        const qint64 order = summary ? summary->integer(QStringLiteral("ENCNRO")) : 0;
        if (order == 0)
            return;
        setStatusText(0, {});
        kv::db::Connection& invoicing = *m_environment.invoicing();
        const kv::shell::LoginState& state = *m_environment.state;
        // Without the year's parameters nothing is printed, and nothing said.
        if (!QuoteConsultation::viewerParameters(invoicing, state.WAno))
            return;
        const std::optional<CustomerOrderPrint> printed = CustomerOrderPrint::load(invoicing, order, state.WAno);
        if (!printed)
            return;
        CustomerOrderPrint::prepareRun(invoicing, state.WUtil, *printed, state.WAno,
                                       QString::fromLatin1(kChartProgram));
        // The report runs over the queue, which holds this one order.
        for (const qint64 queued : CustomerOrderPrint::queued(invoicing, state.WUtil))
            if (queued == printed->number)
                CustomerOrderReport::preview(*printed, state.WEmpNom, this);
        setStatusText(0, {});
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

} // namespace kv::quotes
