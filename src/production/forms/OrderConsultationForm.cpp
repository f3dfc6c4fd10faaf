#include "production/core/OrderRangeLimits.h"
#include "production/forms/OrderConsultationForm.h"

#include "production/core/CalculaSemana.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/StatisticsListReport.h"

#include "quotes/core/ArticlePictures.h"
#include "quotes/core/ChartRows.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/forms/QuoteFormsEnvironment.h"
#include "quotes/forms/SelectionLookups.h"
#include "quotes/print/ChartRowsPie.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/db/WindowedList.h"
#include "platform/text/DateText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"
#include "shell/Session.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::production {

using kv::text::LimitSide;

namespace {

const QString Customers = QStringLiteral("customers");
const QString Numbers = QStringLiteral("numbers");
const QString Deliveries = QStringLiteral("deliveries");
const QString Productions = QStringLiteral("productions");
const QString Articles = QStringLiteral("articles");

// A statistics page's column: the grid's title and width in characters,
// and the printed list's width in millimetres.
struct StatisticsField {
    const char* field;
    const char* title;
    int characters;
    double millimetres;
};

const std::vector<StatisticsField>& productionFields()
{
    static const std::vector<StatisticsField> fields{
        {"ANO", "Ano", 4, 15}, {"SEMANA", "Sem.", 4, 15}, {"NROOFS", "Nº", 6, 20}, {"QUANTID", "Qtd", 14, 35}};
    return fields;
}

const std::vector<StatisticsField>& timesFields()
{
    static const std::vector<StatisticsField> fields{
        {"ANO", "Ano", 4, 15}, {"SEMANA", "Sem.", 4, 15}, {"QUANTID", "Min.", 12, 30}};
    return fields;
}

const std::vector<StatisticsField>& consumptionFields()
{
    static const std::vector<StatisticsField> fields{{"ANO", "Ano", 4, 12},         {"SEMANA", "Sem", 3, 10},
                                                     {"ARTIGO", "Artigo", 16, 35},  {"DESIGNACAO", "Designacao", 35, 75},
                                                     {"QUANTID", "Qtd", 12, 30},     {"UNIDADE", "Und.", 4, 12}};
    return fields;
}

std::vector<kv::ui::GridColumn> gridColumns(const std::vector<StatisticsField>& fields)
{
    std::vector<kv::ui::GridColumn> columns;
    for (const StatisticsField& f : fields) {
        kv::ui::GridColumn c;
        c.field = QString::fromLatin1(f.field);
        c.title = QString::fromUtf8(f.title);
        c.width = f.characters;
        columns.push_back(std::move(c));
    }
    return columns;
}

std::vector<StatisticsColumn> printColumns(const std::vector<StatisticsField>& fields)
{
    std::vector<StatisticsColumn> columns;
    for (const StatisticsField& f : fields)
        columns.push_back({QString::fromUtf8(f.title), QString::fromLatin1(f.field), f.millimetres});
    return columns;
}

const char* const MonthNames[] = {"Janeiro/", "Fevereiro/", "Março/",    "Abril/",   "Maio/",     "Junho/",
                                  "Julho/",   "Agosto/",    "Setembro/", "Outubro/", "Novembro/", "Dezembro/"};

std::unique_ptr<kv::db::Dataset> readOnlyDataset(const QString& name, std::shared_ptr<kv::db::Connection> connection)
{
    auto dataset = std::make_unique<kv::db::Dataset>(name);
    dataset->setMode(kv::db::DatasetMode::ReadOnly);
    dataset->setConnection(std::move(connection));
    return dataset;
}

} // namespace

OrderConsultationForm::OrderConsultationForm(OrderModel model, kv::shell::Session& session,
                                             const kv::ui::FormRegistry& forms, ProductionSessionState& shared,
                                             QWidget* parent)
    : kv::ui::Form(parent), m_model(model), m_session(session), m_forms(forms), m_shared(shared)
{
    setObjectName(bySlots() ? QStringLiteral("TORCF101") : QStringLiteral("TORCF105"));
    setWindowTitle(QStringLiteral("Consulta e Alteração de Ordens de Fabrico"));
    setModal(true);
    m_lookups = std::make_unique<kv::quotes::SelectionLookups>(kv::quotes::QuoteFormsEnvironment{
        &session.state(), &session.dataModules(), &forms, &session.installation()});
    const auto application = session.dataModules().connections().DbKavorime;
    m_list = readOnlyDataset(OrderConsultation::tableOf(model), application);
    m_window = std::make_unique<kv::db::WindowedList>(*m_list, kv::db::WindowedList::Shape{});
    m_production = readOnlyDataset(QStringLiteral("OFESTAT"), application);
    m_times = readOnlyDataset(QStringLiteral("OFTRANSFORM"), application);
    m_consumption = readOnlyDataset(QStringLiteral("OFCONSUMOS"), application);

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    auto* top = new QHBoxLayout;
    buildLimits();
    top->addWidget(m_limits);
    if (bySlots()) {
        auto* group = new QGroupBox(QStringLiteral("Seleccione"), body());
        group->setObjectName(QStringLiteral("RadioGroupSeleccao"));
        auto* column = new QVBoxLayout(group);
        auto* buttons = new QButtonGroup(group);
        int id = 0;
        for (const char* caption : {"Por Executar", "Executado", "Ambos"}) {
            auto* radio = new QRadioButton(QString::fromUtf8(caption), group);
            radio->setObjectName(QStringLiteral("RadioSeleccao%1").arg(id + 1));
            radio->setChecked(id == 0);
            buttons->addButton(radio, id++);
            column->addWidget(radio);
        }
        top->addWidget(group, 0, Qt::AlignTop);
        top->addWidget(buildCalendar(), 0, Qt::AlignTop);
    }
    top->addStretch(1);
    outer->addLayout(top);

    TB = new QTabWidget(body());
    TB->setObjectName(QStringLiteral("TB"));
    auto* listPage = new QWidget;
    auto* listLayout = new QHBoxLayout(listPage);
    DBGrid1 = new kv::ui::DbGrid(listPage);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("Click 2 vezes para visualizar Orçamento"));
    auto column = [](const char* field, const char* title, int width) {
        kv::ui::GridColumn c;
        c.field = QString::fromLatin1(field);
        c.title = QString::fromUtf8(title);
        c.width = width;
        return c;
    };
    std::vector<kv::ui::GridColumn> columns;
    if (bySlots())
        columns = {column("ANO", "Ano", 4),          column("SEMANA", "Sm", 2),         column("ORDNRO", "OF Nº", 7),
                   column("SUBORC", "T", 2),         column("CLINRO", "Cli.Nº", 6),     column("CLISIGLA", "Cliente", 15),
                   column("ARTIGO", "Artigo", 16),   column("DESIGNACAO", "Designação", 30),
                   column("QUANTIDADE", "Qtd.Enc.", 10), column("UNVEND", "Und", 3), column("DATAENT", "Dat.Ent.", 10),
                   column("DATAPROD", "Dat.Prod.", 10),  column("SEMANAPROD", "Smp", 3)};
    else
        columns = {column("ORDNRO", "OF Nº", 7),     column("SUBORC", "T", 2),          column("DATAENT", "Dat.Ent.", 10),
                   column("CLINRO", "Cli.Nº", 6),    column("CLISIGLA", "Cliente", 15), column("ARTIGO", "Artigo", 16),
                   column("DESIGNACAO", "Designação", 30), column("QUANTIDADE", "Qtd.Enc.", 10),
                   column("UNVEND", "Und", 3)};
    DBGrid1->setDataset(m_list.get(), columns);
    listLayout->addWidget(DBGrid1, 1);
    auto* side = new QVBoxLayout;
    auto* counterCaption = new QLabel(QStringLiteral("Nº OF(s) :"), listPage);
    Label_NroOF = new QLabel(QStringLiteral("0"), listPage);
    Label_NroOF->setObjectName(QStringLiteral("Label_NroOF"));
    Label_NroOF->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label_NroOF->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label_NroOF->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Label_NroOF->setMinimumWidth(Label_NroOF->fontMetrics().horizontalAdvance(QStringLiteral("9999999")) + 8);
    side->addWidget(counterCaption);
    side->addWidget(Label_NroOF);
    Foto = new kv::imaging::TPictureBox;
    Foto->setObjectName(QStringLiteral("Foto"));
    Foto->setFixedSize(140, 110);
    side->addWidget(Foto);
    side->addStretch(1);
    listLayout->addLayout(side);
    TB->addTab(listPage, QStringLiteral("Ordens de Fabrico"));
    connect(DBGrid1, &kv::ui::DbGrid::rowActivated, this, [this] { DBGrid1DblClick(); });
    connect(m_list.get(), &kv::db::Dataset::currentChanged, this, [this] {
        showCurrentPicture();
        followList();
    });
    // The scroll bar taken to an end of the window moves the list there.
    connect(DBGrid1->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QScrollBar* bar = DBGrid1->verticalScrollBar();
                if (!m_list->isOpen() || m_list->isEmpty() || !DBGrid1->hasFocus())
                    return;
                if (bar->value() == bar->maximum() && m_window->moreAfter())
                    m_list->last();
                else if (bar->value() == bar->minimum() && m_window->moreBefore())
                    m_list->first();
            },
            Qt::QueuedConnection);
    });

    if (bySlots()) {
        ChartProducao = new kv::quotes::ChartRowsPie;
        ChartProducao->setObjectName(QStringLiteral("ChartProducao"));
        ChartTempos = new kv::quotes::ChartRowsPie;
        ChartTempos->setObjectName(QStringLiteral("ChartTempos"));
        TB->addTab(buildStatisticsPage("DBGridProducao", *m_production, gridColumns(productionFields()), ChartProducao,
                                       "BotImprimirProducao", "Imprimir Produção", QStringLiteral("Produção"),
                                       printColumns(productionFields())),
                   QStringLiteral(" Produção "));
        TB->addTab(buildStatisticsPage("DBGridTempos", *m_times, gridColumns(timesFields()), ChartTempos,
                                       "BotImprimirTempos", "Imprimir Tempos", QStringLiteral("Tempos"),
                                       printColumns(timesFields())),
                   QStringLiteral(" Tempos "));
        TB->addTab(buildStatisticsPage("DBGridConsumos", *m_consumption, gridColumns(consumptionFields()), nullptr,
                                       "BotImprimirConsumos", "Imprimir Consumos", QStringLiteral("Consumos"),
                                       printColumns(consumptionFields())),
                   QStringLiteral(" Consumos "));
    }
    outer->addWidget(TB, 1);

    auto* buttons = new QHBoxLayout(buttonBar());
    auto button = [this, buttons](const char* name, const char* caption, const char* hint) {
        auto* b = new kv::ui::TGlyphButton(QString::fromUtf8(caption), buttonBar());
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromUtf8(hint));
        buttons->addWidget(b);
        return b;
    };
    connect(button("BotAlterar", "&Alterar", "Alterar OF"), &kv::ui::TGlyphButton::clicked, this,
            &OrderConsultationForm::BotAlterarClick);
    connect(button("BotEliminar", "&Eliminar", "Eliminar OF"), &kv::ui::TGlyphButton::clicked, this,
            &OrderConsultationForm::BotEliminarClick);
    if (bySlots())
        connect(button("BotProcessar", "&Processar", "Iniciar Processamento"), &kv::ui::TGlyphButton::clicked, this,
                &OrderConsultationForm::BotProcessarClick);
    buttons->addStretch(1);
    connect(button("BitTerminar", "&Terminar", ""), &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
    hideStatistics();
}

OrderConsultationForm::~OrderConsultationForm() = default;

// ------------------------------------------------------------------ layout

void OrderConsultationForm::buildLimits()
{
    using kv::text::LimitPair;
    const QDate today = m_session.state().WData;
    const OrderSelection defaults = OrderSelection::defaults(today);

    const LimitPair customers = customerLimits(Customers);
    const LimitPair numbers = orderNumberLimits(Numbers);
    const auto dates = orderDateLimits;
    const LimitPair articles = articleLimits(Articles);

    kv::ui::LimitFields customerFields(Customers, bySlots() ? QStringLiteral("Cli. Nº : ")
                                                          : QStringLiteral("Limite Clientes : "),
                                       QStringLiteral("Edit_CliNro1"), QStringLiteral("Edit_CliNro2"), 8);
    m_lookups->customers(customerFields);
    kv::ui::LimitFields numberFields(Numbers, bySlots() ? QStringLiteral("OF Nº : ") : QStringLiteral("Lim.Ord.Fabrico : "),
                                     QStringLiteral("Edit_OfNro1"), QStringLiteral("Edit_OfNro2"), 9);
    auto dateFields = [](const QString& pair, const QString& caption, const char* from, const char* to) {
        kv::ui::LimitFields fields(pair, caption, QString::fromLatin1(from), QString::fromLatin1(to), 10);
        fields.inputMask = QStringLiteral("!99/99/0000;_");
        fields.dateLookup = true;
        return fields;
    };
    kv::ui::LimitFields articleFields(Articles, QStringLiteral("Lim.Artigos : "), QStringLiteral("Edit_ArtNro1"),
                                      QStringLiteral("Edit_ArtNro2"), 16);
    articleFields.maxLength = 16;
    m_lookups->articles(articleFields);
    articleFields.simple.columns = {kv::quotes::SelectionLookups::column("CODIGO", "CÓDIGO", 16),
                                    kv::quotes::SelectionLookups::column("DESIGNACAO", "DESIGNAÇÃO", 35),
                                    kv::quotes::SelectionLookups::column("CORDES", "CÔR", 15),
                                    kv::quotes::SelectionLookups::column("TAMDES", "TAM", 7)};

    std::vector<LimitPair> pairs{customers, numbers,
                                 dates(Deliveries, defaults.deliveryFrom, defaults.deliveryTo)};
    std::vector<kv::ui::LimitFields> fields{
        customerFields, numberFields,
        dateFields(Deliveries, bySlots() ? QStringLiteral("Dt. Ent. : ") : QStringLiteral("Dt. Entrega : "),
                   "Edit_DatEnt1", "Edit_DatEnt2")};
    if (bySlots()) {
        pairs.push_back(dates(Productions, defaults.productionFrom, defaults.productionTo));
        fields.push_back(dateFields(Productions, QStringLiteral("Dt.Prod. : "), "Edit_DatProd1", "Edit_DatProd2"));
    }
    pairs.push_back(articles);
    fields.push_back(articleFields);

    m_limits = new kv::ui::RangeLimitsBlock(*this, std::move(pairs), std::move(fields), body());
    m_limits->setObjectName(QStringLiteral("RangeLimits"));
    m_limits->setReopen([this] { openList(); });
    m_limits->setDateLookup(m_lookups->calendar());
    m_limits->setAfterLeave([this](const QString& pair, LimitSide side) {
        if (pair == Deliveries || pair == Productions)
            showWeek(pair, side);
        else if (pair == Articles && side == LimitSide::To)
            focusField(DBGrid1);
    });
    addWeekBoxes(Deliveries);
    if (bySlots())
        addWeekBoxes(Productions);
    setEnterHandler(m_limits->fromField(Customers), [this] { enterCustomerFrom(); });
}

void OrderConsultationForm::addWeekBoxes(const QString& pair)
{
    auto* boxes = new QWidget(m_limits);
    auto* row = new QHBoxLayout(boxes);
    row->setContentsMargins(0, 0, 0, 0);
    const QString prefix = pair == Deliveries ? QStringLiteral("Ent") : QStringLiteral("Prod");
    for (const char* side : {"1", "2"}) {
        for (const auto& [kind, width] : {std::pair{"S", 3}, std::pair{"D", 4}}) {
            auto* box = new QLineEdit(boxes);
            box->setObjectName(QStringLiteral("Edit_%1%2%3").arg(prefix, QLatin1String(kind), QLatin1String(side)));
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
            kv::ui::setFieldWidth(box, width);
            row->addWidget(box);
            m_weekBoxes[pair + QLatin1String(side) + QLatin1String(kind)] = box;
        }
    }
    m_limits->addBeside(pair, boxes);
}

QWidget* OrderConsultationForm::buildCalendar()
{
    auto* panel = new QWidget(body());
    panel->setObjectName(QStringLiteral("PanelCalendario"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* steps = new QHBoxLayout;
    auto* back = new kv::ui::TGlyphButton(QStringLiteral("Mês Anterior"), panel);
    back->setObjectName(QStringLiteral("BotMesAnterior"));
    LabelMes = new QLabel(panel);
    LabelMes->setObjectName(QStringLiteral("LabelMes"));
    LabelMes->setAlignment(Qt::AlignCenter);
    LabelMes->setMinimumWidth(LabelMes->fontMetrics().horizontalAdvance(QStringLiteral("Fevereiro/0000")) + 8);
    auto* forward = new kv::ui::TGlyphButton(QStringLiteral("Mês Seguinte"), panel);
    forward->setObjectName(QStringLiteral("BotMesSeguinte"));
    steps->addWidget(back);
    steps->addWidget(LabelMes, 1);
    steps->addWidget(forward);
    layout->addLayout(steps);
    Calendario = new QCalendarWidget(panel);
    Calendario->setObjectName(QStringLiteral("Calendario"));
    Calendario->setNavigationBarVisible(false);
    Calendario->setSelectionMode(QCalendarWidget::NoSelection);
    Calendario->setFirstDayOfWeek(Qt::Monday);
    Calendario->setLocale(QLocale(QLocale::Portuguese, QLocale::Portugal));
    Calendario->setMaximumHeight(150);
    layout->addWidget(Calendario);
    connect(back, &kv::ui::TGlyphButton::clicked, this, [this] { stepMonth(-1); });
    connect(forward, &kv::ui::TGlyphButton::clicked, this, [this] { stepMonth(1); });
    stepMonth(0);
    return panel;
}

QWidget* OrderConsultationForm::buildStatisticsPage(const char* name, kv::db::Dataset& rows,
                                                    std::vector<kv::ui::GridColumn> columns,
                                                    kv::quotes::ChartRowsPie* pie, const char* printName,
                                                    const char* printHint, const QString& title,
                                                    std::vector<StatisticsColumn> printed)
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    auto* grid = new kv::ui::DbGrid(page);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setDataset(&rows, columns);
    left->addWidget(grid, 1);
    auto* print = new kv::ui::TGlyphButton(QStringLiteral("Imprimir"), page);
    print->setObjectName(QString::fromLatin1(printName));
    print->setToolTip(QString::fromUtf8(printHint));
    left->addWidget(print, 0, Qt::AlignLeft);
    m_printButtons.push_back(print);
    layout->addLayout(left, pie ? 0 : 1);
    if (pie) {
        pie->setMinimumSize(300, 200);
        layout->addWidget(pie, 1);
    }
    connect(print, &kv::ui::TGlyphButton::clicked, this,
            [this, &rows, title, printed] { printPage(rows, title, printed); });
    return page;
}

// ------------------------------------------------------------------ activation

void OrderConsultationForm::FormActivate()
{
    kv::shell::LoginState& state = m_session.state();
    setMakerTag(state.WMarca);
    EnableEvents();
    kv::shell::AccessRights rights = m_session.rights();
    const kv::shell::FormRights formRights =
        rights.readForm(bySlots() ? kv::shell::RightsVariant::R6 : kv::shell::RightsVariant::R4, state.WAplicacao,
                        QStringLiteral("Planeamento"), QStringLiteral("Consulta/Alteracao OF(s)"));
    for (kv::ui::TGlyphButton* print : m_printButtons)
        print->setVisible(formRights.showPrint);
    hideStatistics();
    m_limits->showDefaults();
    for (const QString& pair : {Deliveries, Productions}) {
        if (pair == Productions && !bySlots())
            continue;
        showWeek(pair, LimitSide::From);
        showWeek(pair, LimitSide::To);
    }
    try {
        const auto parameters =
            kv::quotes::QuoteConsultation::viewerParameters(*m_session.dataModules().connections().DbFacturacao,
                                                            state.WAno);
        if (!parameters) {
            kv::ui::messages().error(QStringLiteral("PARAMETROS GERAIS, Inexistentes"));
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
        m_pictureFolder = parameters->pictureFolder;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    enterCustomerFrom();
    focusField(m_limits->fromField(Customers));
}

void OrderConsultationForm::FormClose()
{
    m_list->close();
    m_production->close();
    m_times->close();
    m_consumption->close();
    m_lookups->close();
}

// ------------------------------------------------------------------ limits

void OrderConsultationForm::showWeek(const QString& pair, LimitSide side)
{
    const QString number = side == LimitSide::From ? QStringLiteral("1") : QStringLiteral("2");
    QLineEdit* week = m_weekBoxes[pair + number + QLatin1String("S")];
    QLineEdit* day = m_weekBoxes[pair + number + QLatin1String("D")];
    week->clear();
    day->clear();
    const QLineEdit* field = side == LimitSide::From ? m_limits->fromField(pair) : m_limits->toField(pair);
    const auto date = kv::text::parseDate(field->text());
    if (!date)
        return;
    try {
        kv::ui::MessageServiceSink sink;
        const CalendarWeek found =
            CalculaSemana(*m_session.dataModules().connections().DbFacturacao, *date, sink);
        week->setText(found.week);
        day->setText(found.weekday);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void OrderConsultationForm::readLimits()
{
    const kv::text::RangeLimits& limits = m_limits->limits();
    m_selection.customerFrom = limits.fromInteger(Customers);
    m_selection.customerTo = limits.toInteger(Customers);
    m_selection.numberFrom = limits.fromInteger(Numbers);
    m_selection.numberTo = limits.toInteger(Numbers);
    m_selection.deliveryFrom = limits.fromDate(Deliveries);
    m_selection.deliveryTo = limits.toDate(Deliveries);
    if (bySlots()) {
        m_selection.productionFrom = limits.fromDate(Productions);
        m_selection.productionTo = limits.toDate(Productions);
    }
    m_selection.articleFrom = m_limits->fromField(Articles)->text();
    m_selection.articleTo = m_limits->toField(Articles)->text();
}

void OrderConsultationForm::enterCustomerFrom()
{
    m_list->close();
    Label_NroOF->setVisible(false);
    Foto->setImageName(QString());
    if (!bySlots())
        return;
    hideStatistics();
    try {
        OrderConsultation::clearStatistics(*m_session.dataModules().connections().DbKavorime, m_session.state().WUtil);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void OrderConsultationForm::openList()
{
    readLimits();
    try {
        OrderConsultation::open(*m_window, m_model, m_selection);
        Label_NroOF->setText(QString::number(OrderConsultation::count(*m_window, m_model, m_selection)));
        Label_NroOF->setVisible(true);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    showCurrentPicture();
}

void OrderConsultationForm::showCurrentPicture()
{
    QString path;
    if (m_list->isOpen() && !m_list->isEmpty())
        path = kv::quotes::articlePicturePath(m_session.installation(), m_pictureFolder,
                                              m_list->value(QStringLiteral("ARTIGO")).toString(), 1);
    Foto->setImageName(!path.isEmpty() && QFileInfo(path).isFile() ? path : QString());
}

// ------------------------------------------------------------------ statistics

void OrderConsultationForm::hideStatistics()
{
    for (int page = ProductionPage; page < TB->count(); ++page)
        TB->setTabVisible(page, false);
    TB->setCurrentIndex(ListPage);
}

void OrderConsultationForm::showStatistics()
{
    m_production->close();
    m_times->close();
    m_consumption->close();
    const QString user = m_session.state().WUtil;
    auto open = [&user](kv::db::Dataset& rows, const char* table, const char* order) {
        rows.setSql(QStringLiteral("SELECT * FROM %1 WHERE UTIL = :WUtil ORDER BY %2")
                        .arg(QLatin1String(table), QLatin1String(order)));
        rows.setParam(QStringLiteral("WUtil"), user);
        rows.open();
    };
    open(*m_production, "OFESTAT", "ANO, SEMANA");
    open(*m_times, "OFTRANSFORM", "ANO, SEMANA");
    open(*m_consumption, "OFCONSUMOS", "ANO, SEMANA, ARTIGO");
    using kv::quotes::ChartRows;
    auto& application = *m_session.dataModules().connections().DbKavorime;
    ChartRows production(application, ChartRows::Table::Saldos, user, OrderConsultation::chartProgram());
    ChartRows times(application, ChartRows::Table::Saldos1, user, OrderConsultation::chartProgram());
    ChartProducao->showRows(production);
    ChartTempos->showRows(times);
    for (int page = ProductionPage; page < TB->count(); ++page)
        TB->setTabVisible(page, true);
    TB->setCurrentIndex(ProductionPage);
}

void OrderConsultationForm::BotProcessarClick()
{
    if (!bySlots())
        return;
    hideStatistics();
    try {
        OrderConsultation::process(*m_session.dataModules().connections().DbKavorime, m_session.state().WUtil,
                                   m_selection);
        if (m_list->isOpen())
            m_window->openLast();
        showStatistics();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    setStatusText(0, {});
}

void OrderConsultationForm::printPage(kv::db::Dataset& rows, const QString& title,
                                      const std::vector<StatisticsColumn>& columns)
{
    try {
        StatisticsListReport::preview(rows, title, columns, m_session.state().WEmpNom, this);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

// ------------------------------------------------------------------ change, deletion, quote view

OrderKey OrderConsultationForm::currentKey() const
{
    OrderKey key;
    key.year = m_list->value(QStringLiteral("ANO")).toString();
    if (bySlots())
        key.week = m_list->value(QStringLiteral("SEMANA")).toString();
    key.number = static_cast<int>(m_list->value(QStringLiteral("ORDNRO")).toLongLong());
    key.slot = static_cast<int>(m_list->value(QStringLiteral("DETAIL")).toLongLong());
    return key;
}

// The list opened again on the row, by its whole key: the slot's other
// sub-quotes share the order's year, week, number and slot. A row gone
// leaves the list on the row after it.
bool OrderConsultationForm::relocate(const OrderKey& key, int subQuote)
{
    if (!m_list->isOpen())
        return false;
    try {
        const QVariantList at =
            OrderConsultation::listKey(*m_session.dataModules().connections().DbKavorime, m_model, key, subQuote);
        if (at.isEmpty())
            return false;
        m_window->openAt(at);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    return !m_list->isEmpty() && currentKey().number == key.number && currentKey().year == key.year
           && currentKey().slot == key.slot && currentKey().week == key.week
           && m_list->value(QStringLiteral("SUBORC")).toInt() == subQuote;
}

void OrderConsultationForm::followList()
{
    if (!m_list->isOpen() || !DBGrid1->hasFocus() || !m_window->atEdge())
        return;
    m_window->follow();
}

bool OrderConsultationForm::runChild(const QString& className)
{
    if (!m_forms.contains(className))
        return false;
    QDialog* child = m_forms.create(className, this);
    if (!child)
        return false;
    child->exec();
    delete child;
    return true;
}

void OrderConsultationForm::BotAlterarClick()
{
    if (!m_list->isOpen() || m_list->isEmpty())
        return;
    const QString article = m_list->value(QStringLiteral("ARTIGO")).toString();
    const qint64 customer = m_list->value(QStringLiteral("CLINRO")).toLongLong();
    auto& invoicing = *m_session.dataModules().connections().DbFacturacao;
    try {
        if (!invoicing.scalar(QStringLiteral("SELECT CODIGO FROM ARTIGOSCLS WHERE CODIGO = :Codigo"),
                              {{QStringLiteral("Codigo"), article}})
                 .isValid()) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QStringLiteral("Artigo Inexistente ") + article);
            return;
        }
        if (!invoicing.scalar(QStringLiteral("SELECT CODIGO FROM CLIENTES WHERE CODIGO = :Codigo"),
                              {{QStringLiteral("Codigo"), customer}})
                 .isValid()) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QStringLiteral("Cliente Inexistente ") + QString::number(customer));
            return;
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    const OrderKey key = currentKey();
    const int subQuote = static_cast<int>(m_list->value(QStringLiteral("SUBORC")).toLongLong());
    SelectedOrder& selected = m_shared.selected;
    selected.year = key.year;
    selected.week = key.week;
    selected.orderNumber = key.number;
    selected.detail = key.slot;
    selected.quoteNumber = static_cast<int>(m_list->value(QStringLiteral("ORCNRO")).toLongLong());
    selected.subQuote = static_cast<int>(m_list->value(QStringLiteral("SUBORC")).toLongLong());
    if (!runChild(bySlots() ? QStringLiteral("TORCF101A") : QStringLiteral("TORCF105A")))
        return;
    openList();
    if (bySlots())
        BotProcessarClick();
    relocate(key, subQuote);
    TB->setCurrentIndex(ListPage);
    focusField(DBGrid1);
}

void OrderConsultationForm::BotEliminarClick()
{
    if (!m_list->isOpen() || m_list->isEmpty())
        return;
    const OrderKey key = currentKey();
    const int subQuote = static_cast<int>(m_list->value(QStringLiteral("SUBORC")).toLongLong());
    kv::ui::MessageService& messages = kv::ui::messages();
    messages.information(OrderConsultation::deletionNotice(key.number));
    if (!messages.question(OrderConsultation::deletionQuestion()))
        return;
    if (m_list->value(QStringLiteral("IMPR")).toString() == QLatin1String("S")
        && !messages.question(OrderConsultation::issuedQuestion()))
        return;
    try {
        kv::db::TwoDatabaseWork work = m_session.twoDatabaseWork();
        const OrderDeletion deletion =
            OrderConsultation::deleteOrder(work, m_model, key, m_session.state().WUtil);
        if (deletion.status != OrderDeletion::Status::Deleted) {
            messages.beep();
            messages.error(deletion.message);
        }
    } catch (const std::exception& error) {
        const auto* db = dynamic_cast<const kv::db::DbError*>(&error);
        messages.fail(db ? db->fullText() : QString::fromUtf8(error.what()));
    }
    // The list stands where the order stood (on the row after it, once gone).
    QVariantList at;
    for (const QString& column : OrderConsultation::listOrder(m_model))
        at << m_list->value(column);
    openList();
    if (!m_list->isOpen())
        return;
    try {
        m_window->openAt(at);
    } catch (const kv::db::DbError& error) {
        messages.fail(error.fullText());
        return;
    }
    if (!m_list->isEmpty() && m_list->value(QStringLiteral("ORDNRO")).toInt() == key.number
        && m_list->value(QStringLiteral("ANO")).toString() == key.year
        && m_list->value(QStringLiteral("SUBORC")).toInt() == subQuote)
        focusField(DBGrid1);
}

void OrderConsultationForm::DBGrid1DblClick()
{
    if (!bySlots() || !m_list->isOpen() || m_list->isEmpty())
        return;
    // The quote of the order row itself: another line of the customer order
    // may come from another quote.
    SelectedOrder& selected = m_shared.selected;
    const OrderKey key = currentKey();
    selected.year = key.year;
    selected.week = key.week;
    selected.orderNumber = key.number;
    selected.detail = key.slot;
    selected.quoteNumber = static_cast<int>(m_list->value(QStringLiteral("ORCNRO")).toLongLong());
    selected.subQuote = static_cast<int>(m_list->value(QStringLiteral("SUBORC")).toLongLong());
    const bool shown = selected.quoteNumber != 0 && runChild(QStringLiteral("TORCF101B"));
    selected.quoteNumber = 0;
    if (shown)
        BotProcessarClick();
}

// ------------------------------------------------------------------ month calendar

void OrderConsultationForm::stepMonth(int months)
{
    QDate shown(Calendario->yearShown(), Calendario->monthShown(), 1);
    shown = shown.addMonths(months);
    Calendario->setCurrentPage(shown.year(), shown.month());
    LabelMes->setText(QString::fromUtf8(MonthNames[shown.month() - 1]) + QString::number(shown.year()));
}

} // namespace kv::production
