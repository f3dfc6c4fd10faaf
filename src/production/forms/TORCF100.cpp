#include "production/forms/TORCF100.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"
#include "production/core/ProductionRepository.h"
#include "quotes/core/ArticlePictures.h"
#include "quotes/core/QuoteIssue.h"
#include "quotes/core/WorksheetReferences.h"
#include "quotes/forms/SelectionLookups.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::production {

namespace {

using kv::text::LimitPair;
using kv::text::LimitWarning;
using kv::ui::LimitFields;

const QString GenCustomers = QStringLiteral("customers");
const QString GenOrders = QStringLiteral("orders");
const QString GenIssued = QStringLiteral("issued");
const QString GenDeliveries = QStringLiteral("deliveries");

std::vector<LimitPair> generationPairs(const QDate& today)
{
    LimitPair customers(GenCustomers, kv::text::LimitKind::Integer, qint64(1), qint64(99999999));
    customers.emptyTo = LimitWarning::box(QStringLiteral("Cliente Inválido"));
    customers.emptyFromRefused = LimitWarning::box(QStringLiteral("Cliente Inválido"));
    customers.inverted = LimitWarning::box(QStringLiteral("Limite de Clientes Inválido"));
    LimitPair orders(GenOrders, kv::text::LimitKind::Integer, qint64(1), qint64(999999999));
    orders.emptyFrom = LimitPair::EmptyFrom::Zero;
    orders.emptyTo = LimitWarning::box(QStringLiteral("Limite inválido inválida !!!"));
    orders.inverted = LimitWarning::box(QStringLiteral("Selecção inválida !!!"));
    LimitPair issued(GenIssued, kv::text::LimitKind::Date, today.addDays(-30), today);
    issued.inverted = LimitWarning::box(QStringLiteral("LIMITE DE DATAS INVÁLIDO"));
    LimitPair deliveries(GenDeliveries, kv::text::LimitKind::Date, today, today.addDays(365));
    deliveries.inverted = LimitWarning::box(QStringLiteral("LIMITE DE DatEntS INVÁLIDO"));
    std::vector<LimitPair> pairs{customers, orders, issued, deliveries};
    for (LimitPair& pair : pairs)
        pair.reopensSelection = true;
    return pairs;
}

kv::ui::GridColumn genColumn(const char* field, const char* title, int width, bool checkBox = false)
{
    kv::ui::GridColumn c = kv::quotes::SelectionLookups::column(field, title, width);
    c.checkBox = checkBox;
    return c;
}

// The order dates are days: no time shown.
kv::ui::GridColumn genDateColumn(const char* field, const char* title)
{
    kv::ui::GridColumn c = genColumn(field, title, 12);
    c.format = [](const QVariant& value) {
        return value.isNull() ? QString() : value.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    };
    return c;
}

} // namespace

TORCF100::TORCF100(kv::quotes::QuoteFormsEnvironment environment, kv::db::TwoDatabaseWork work, QWidget* parent)
    : kv::ui::Form(parent)
    , m_environment(environment)
    , m_work(std::move(work))
    , m_lookups(std::make_unique<kv::quotes::SelectionLookups>(environment))
    , m_sink(std::make_unique<kv::ui::MessageServiceSink>())
{
    setObjectName(QStringLiteral("TORCF100"));
    setWindowTitle(QStringLiteral("Geração de Ordens de Fabrico"));

    LimitFields customers(GenCustomers, QStringLiteral("Cliente : "), QStringLiteral("Edit_CliNro1"),
                          QStringLiteral("Edit_CliNro2"), 8);
    m_lookups->customers(customers);
    customers.simple.caption = QStringLiteral("Procura Simples");
    customers.alphabetic.caption = QStringLiteral("Procura Alfabética");
    LimitFields orders(GenOrders, QStringLiteral("Encomenda Nº : "), QStringLiteral("Edit_EncNro1"),
                       QStringLiteral("Edit_EncNro2"), 9);
    LimitFields issued(GenIssued, QStringLiteral("Data Encomenda : "), QStringLiteral("Edit_Data1"),
                       QStringLiteral("Edit_Data2"), 10);
    issued.dateLookup = true;
    LimitFields deliveries(GenDeliveries, QStringLiteral("Data Entrega : "), QStringLiteral("Edit_DatEnt1"),
                           QStringLiteral("Edit_DatEnt2"), 10);
    deliveries.dateLookup = true;

    auto* body = new QVBoxLayout(this->body());
    auto* top = new QHBoxLayout;
    body->addLayout(top);
    m_limits = new kv::ui::RangeLimitsBlock(*this, generationPairs(m_environment.state->WData),
                                            {customers, orders, issued, deliveries}, this->body());
    kv::ui::DateLookup calendar = m_lookups->calendar();
    calendar.caption = QStringLiteral("Seleccione a Data");
    m_limits->setDateLookup(calendar);
    m_limits->setReopen([this] { listLines(); });
    top->addWidget(m_limits);
    auto* customerBox = new QVBoxLayout;
    top->addLayout(customerBox, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Cliente :"), this->body()));
    NomeCliente = new QLabel(this->body());
    NomeCliente->setObjectName(QStringLiteral("NomeCliente"));
    NomeCliente->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    nameRow->addWidget(NomeCliente, 1);
    ChkFoto = new QCheckBox(QStringLiteral("Foto?"), this->body());
    ChkFoto->setObjectName(QStringLiteral("ChkFoto"));
    nameRow->addWidget(ChkFoto);
    customerBox->addLayout(nameRow);
    Foto = new kv::imaging::TPictureBox(this->body());
    Foto->setObjectName(QStringLiteral("Foto"));
    Foto->setMinimumSize(160, 100);
    customerBox->addWidget(Foto, 1);

    m_lines = std::make_unique<kv::db::Dataset>(QStringLiteral("ENCCLIDET"));
    m_lines->setConnection(m_environment.invoicing());
    m_lines->setMode(kv::db::DatasetMode::ReadOnly);
    m_lines->setSql(OrderGeneration::openLinesSql());
    DBGrid1 = new kv::ui::DbGrid(this->body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataset(m_lines.get(), {genColumn("CLINRO", "Cli. Nº", 6), genColumn("ENCNRO", "Enc.Nº", 7),
                                        genDateColumn("DATEMI", "Data Emi."), genColumn("ARTIGO", "Artigo Nº", 16),
                                        genColumn("DESIGNACAO", "Designação", 30), genColumn("QUANTID", "Qtd.Enc.", 9),
                                        genColumn("QTDCAR", "Qtd.Cart.", 9), genColumn("UNVEND", "Und", 4),
                                        genColumn("SEMANA", "Sem", 4), genDateColumn("DATAENTRG", "Dat.Ent.")});
    body->addWidget(DBGrid1, 1);
    LabelEncomendas = new QLabel(QStringLiteral("Nº Encomendas : 0"), this->body());
    LabelEncomendas->setObjectName(QStringLiteral("LabelEncomendas"));
    body->addWidget(LabelEncomendas);

    m_workArea = new QWidget(this->body());
    auto* workLayout = new QVBoxLayout(m_workArea);
    workLayout->setContentsMargins(0, 0, 0, 0);
    m_workList = std::make_unique<kv::db::Dataset>(QStringLiteral("TEMPENCCLIDET"));
    m_workList->setConnection(m_environment.application());
    m_workList->setMode(kv::db::DatasetMode::Cached);
    m_workList->setSql(ProductionRepository::workListSql());
    m_workList->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("TEMPENCCLIDET"),
        {QStringLiteral("GERAR"), QStringLiteral("OFNRO1"), QStringLiteral("OFNRO2"), QStringLiteral("OFNRO3"),
         QStringLiteral("OFNRO4"), QStringLiteral("OFNRO5")},
        {QStringLiteral("UTIL"), QStringLiteral("ANO"), QStringLiteral("SEMANA"), QStringLiteral("ENCNRO"),
         QStringLiteral("DETAIL")}));
    DBGrid2 = new kv::ui::DbGrid(m_workArea);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    std::vector<kv::ui::GridColumn> workColumns = {
        genColumn("ENCNRO", "Enc. Nº", 7),     genDateColumn("DATENT", "Dat.Ent."), genColumn("ARTIGO", "Artigo", 16),
        genColumn("DESIGNACAO", "Designação", 28), genColumn("QTDCAR", "Quant.", 9),  genColumn("UNVEND", "Und.", 4),
        genColumn("COMPRI", "Comp.", 6),       genColumn("LARGUR", "Larg.", 6),     genColumn("GERAR", "GERAR", 6, true)};
    for (int slot = 1; slot <= 5; ++slot) {
        kv::ui::GridColumn c = genColumn("", "", 5, true);
        c.field = QStringLiteral("OFNRO%1").arg(slot);
        c.title = QStringLiteral("OF-%1").arg(slot);
        workColumns.push_back(c);
    }
    DBGrid2->setDataset(m_workList.get(), workColumns);
    workLayout->addWidget(DBGrid2, 1);
    auto* workBar = new QHBoxLayout;
    LabelOfs = new QLabel(m_workArea);
    LabelOfs->setObjectName(QStringLiteral("LabelOfs"));
    workBar->addWidget(LabelOfs);
    BotNavig = new kv::ui::DbNavigator(m_workArea);
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(m_workList.get());
    workBar->addWidget(BotNavig);
    workBar->addStretch(1);
    workLayout->addLayout(workBar);
    body->addWidget(m_workArea, 1);
    // A tick is written at once, so that generation reads what the grid shows.
    connect(m_workList.get(), &kv::db::Dataset::rowChanged, this, [this] {
        QTimer::singleShot(0, this, [this] {
            try {
                if (m_workList->isOpen())
                    m_workList->applyUpdates();
            } catch (const kv::db::DbError& error) {
                kv::ui::messages().fail(error.fullText());
            }
        });
    });
    connect(m_lines.get(), &kv::db::Dataset::currentChanged, this, [this] { showCurrent(m_lines.get()); });
    connect(m_workList.get(), &kv::db::Dataset::currentChanged, this, [this] { showCurrent(m_workList.get()); });
    connect(ChkFoto, &QCheckBox::toggled, this, [this] { showCurrent(m_workArea->isVisible() ? m_workList.get() : m_lines.get()); });

    auto* buttons = new QHBoxLayout(buttonBar());
    Gauge1 = new QProgressBar(buttonBar());
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->hide();
    Gauge2 = new QProgressBar(buttonBar());
    Gauge2->setObjectName(QStringLiteral("Gauge2"));
    Gauge2->hide();
    buttons->addWidget(Gauge1, 1);
    buttons->addWidget(Gauge2, 1);
    buttons->addStretch(1);
    BitIniciar = new kv::ui::TGlyphButton(QStringLiteral("&Iniciar"), buttonBar());
    BitIniciar->setObjectName(QStringLiteral("BitIniciar"));
    BitIniciar->setToolTip(QStringLiteral("Processar Encomendas"));
    BitCriar = new kv::ui::TGlyphButton(QStringLiteral("&Criar OF(s)"), buttonBar());
    BitCriar->setObjectName(QStringLiteral("BitCriar"));
    BitCriar->setToolTip(QStringLiteral("Criação de Ordens de Fabrico"));
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(BitIniciar);
    buttons->addWidget(BitCriar);
    buttons->addWidget(BitTerminar);
    connect(BitIniciar, &kv::ui::TGlyphButton::clicked, this, &TORCF100::BitIniciarClick);
    connect(BitCriar, &kv::ui::TGlyphButton::clicked, this, &TORCF100::BitCriarClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &QDialog::accept);
    setEnterHandler(m_limits->fromField(GenCustomers), [this] { closeLines(); });
}

TORCF100::~TORCF100() = default;

OrderGeneration& TORCF100::generation()
{
    if (!m_generation)
        m_generation = std::make_unique<OrderGeneration>(
            *m_environment.application(), *m_environment.invoicing(), m_work, *m_sink,
            GenerationSettings{m_environment.state->WUtil, m_environment.state->WData,
                               m_environment.state->productionModelT()});
    return *m_generation;
}

// Limits and the hidden work list are set once, when the form opens: a
// return from another window keeps what the planner was doing.
void TORCF100::FormActivate()
{
    const kv::shell::LoginState& state = *m_environment.state;
    setMakerTag(state.WMarca);
    m_limits->showDefaults();
    bool parameters = false;
    try {
        parameters = generation().commercialParametersExist(state.WAno);
        m_pictureFolder = kv::quotes::WorksheetReferences(*m_environment.invoicing(), *m_environment.application())
                              .pictureFolder(state.WAno);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    if (!parameters) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("PARAMETROS GERAIS, Inexistentes"));
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    closeLines();
    EnableEvents();
    focusField(m_limits->fromField(GenCustomers));
}

void TORCF100::FormClose()
{
    m_lines->close();
    m_workList->close();
    m_lookups->close();
}

GenerationLimits TORCF100::limits() const
{
    const kv::text::RangeLimits& l = m_limits->limits();
    GenerationLimits g;
    g.customerFrom = static_cast<int>(l.fromInteger(GenCustomers));
    g.customerTo = static_cast<int>(l.toInteger(GenCustomers));
    g.orderFrom = static_cast<int>(l.fromInteger(GenOrders));
    g.orderTo = static_cast<int>(l.toInteger(GenOrders));
    g.issuedFrom = l.fromDate(GenIssued);
    g.issuedTo = l.toDate(GenIssued);
    g.deliveryFrom = l.fromDate(GenDeliveries);
    g.deliveryTo = l.toDate(GenDeliveries);
    return g;
}

void TORCF100::listLines()
{
    try {
        m_lines->close();
        const kv::db::Params params = OrderGeneration::openLineParams(limits());
        for (const QString& name : params.names())
            m_lines->setParam(name, params.value(name));
        m_lines->open();
        LabelEncomendas->setText(QStringLiteral("Nº Encomendas : %1").arg(m_lines->recordCount()));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF100::closeLines()
{
    m_lines->close();
    m_workList->close();
    showWorkArea(false);
    LabelEncomendas->setText(QStringLiteral("Nº Encomendas : 0"));
    NomeCliente->clear();
    Foto->setImageName({});
}

void TORCF100::showWorkArea(bool shown)
{
    m_workArea->setVisible(shown);
    BitCriar->setVisible(shown);
    BitIniciar->setVisible(!shown);
}

void TORCF100::BitIniciarClick()
{
    if (!kv::ui::messages().question(QStringLiteral("Processamento de Encomendas !!! Confirma ?")))
        return;
    m_limits->readAll();
    listLines();
    try {
        Gauge1->setValue(0);
        Gauge1->show();
        m_workList->close();
        kv::db::QueryResult lines = generation().openLines(limits());
        generation().buildWorkList(lines, [this](int percent) { Gauge1->setValue(percent); });
        Gauge1->hide();
        m_workList->setParam(QStringLiteral("UTIL"), m_environment.state->WUtil);
        m_workList->open();
        LabelOfs->setText(QStringLiteral("Ordens de Fabrico a Processar : %1").arg(m_workList->recordCount()));
        showWorkArea(true);
        DBGrid2->setFocus();
    } catch (const kv::db::DbError& error) {
        Gauge1->hide();
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF100::BitCriarClick()
{
    if (!kv::ui::messages().question(QStringLiteral("Criação de Ordens de Fabrico !!! Confirma ?")))
        return;
    int created = 0;
    try {
        if (m_workList->isOpen())
            m_workList->applyUpdates();
        Gauge2->setValue(0);
        Gauge2->show();
        created = generation().generate([this](int percent) { Gauge2->setValue(percent); });
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    Gauge2->hide();
    if (created == 0)
        kv::ui::messages().information(QStringLiteral("Não foram geradas Ordens de Fabrico"));
    else
        kv::ui::messages().information(QStringLiteral("Foram Criadas %1 Ordens de Fabrico").arg(created));
    try {
        m_workList->refresh();
        LabelOfs->setText(QStringLiteral("Ordens de Fabrico a Processar : %1").arg(m_workList->recordCount()));
        listLines();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF100::showCurrent(kv::db::Dataset* rows)
{
    if (!rows || !rows->isOpen() || rows->isEmpty()) {
        NomeCliente->clear();
        Foto->setImageName({});
        return;
    }
    try {
        NomeCliente->setText(kv::quotes::QuoteIssue::customerName(*m_environment.invoicing(),
                                                                   rows->value(QStringLiteral("CLINRO")).toLongLong()));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    QString path;
    if (ChkFoto->isChecked() && m_environment.installation)
        path = kv::quotes::articlePicturePath(*m_environment.installation, m_pictureFolder,
                                              rows->value(QStringLiteral("ARTIGO")).toString().trimmed(), 1);
    Foto->setImageName(path);
}

} // namespace kv::production
