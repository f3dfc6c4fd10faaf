#include "production/core/OrderRangeLimits.h"
#include "production/forms/OrderClosingForm.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/DateText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"
#include "production/core/CalculaSemana.h"
#include "production/core/ProductionClosing.h"
#include "production/core/SlotClosing.h"
#include "production/core/StockPosting.h"
#include "production/core/WholeOrderClosing.h"
#include "quotes/forms/QuoteFormsEnvironment.h"
#include "quotes/forms/SelectionLookups.h"
#include "shell/Session.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>
#include <vector>

namespace kv::production {

namespace {

const QString ClosingCustomers = QStringLiteral("customers");
const QString ClosingNumbers = QStringLiteral("numbers");
const QString ClosingDeliveries = QStringLiteral("deliveries");
const QString ClosingArticles = QStringLiteral("articles");

kv::ui::GridColumn closingColumn(const char* field, const char* title, int width, bool checkBox = false)
{
    kv::ui::GridColumn c;
    c.field = QString::fromLatin1(field);
    c.title = QString::fromUtf8(title);
    c.width = width;
    c.checkBox = checkBox;
    return c;
}

// Titles over runs of a grid's columns (first to last index), kept over
// them as the columns are sized or the grid scrolled.
QWidget* closingHeadings(kv::ui::DbGrid* grid, const std::vector<std::tuple<QString, int, int>>& runs)
{
    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("ColumnHeadings"));
    strip->setFixedHeight(strip->fontMetrics().height() + 4);
    std::vector<std::tuple<QLabel*, int, int>> labels;
    for (const auto& [title, first, last] : runs) {
        auto* label = new QLabel(title, strip);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        labels.emplace_back(label, first, last);
    }
    auto place = [grid, strip, labels] {
        const QHeaderView* header = grid->horizontalHeader();
        const int offset = grid->frameWidth() + (grid->verticalHeader()->isVisible() ? grid->verticalHeader()->width() : 0);
        for (const auto& [label, first, last] : labels) {
            int width = 0;
            for (int column = first; column <= last; ++column)
                width += header->sectionSize(column);
            label->setGeometry(offset + header->sectionViewportPosition(first), 0, width, strip->height());
        }
    };
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionResized, strip, place);
    QObject::connect(grid->horizontalHeader(), &QHeaderView::geometriesChanged, strip, place);
    QObject::connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, strip, place);
    return strip;
}

// A context-menu entry of a grid with its key.
void addGridAction(kv::ui::DbGrid* grid, const char* caption, const QKeySequence& key, std::function<void()> run)
{
    auto* action = new QAction(QString::fromUtf8(caption), grid);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, grid, std::move(run));
    grid->addAction(action);
}

} // namespace

OrderClosingForm::OrderClosingForm(ClosingModel model, kv::shell::Session& session, const kv::ui::FormRegistry& forms,
                                   QWidget* parent)
    : kv::ui::Form(parent), m_model(model), m_session(session)
{
    setObjectName(wholeOrders() ? QStringLiteral("TORCF107") : QStringLiteral("TORCF108"));
    setWindowTitle(QStringLiteral("Fecho de Ordens de Fabrico"));
    setModal(true);
    const auto application = session.dataModules().connections().DbKavorime;
    auto dataset = [&application](const char* name) {
        auto rows = std::make_unique<kv::db::Dataset>(QString::fromLatin1(name));
        rows->setConnection(application);
        return rows;
    };
    m_orders = dataset("WORKORDFAB");
    m_orders->setMode(kv::db::DatasetMode::Cached);
    // Model "T" also takes a corrected sheet width and quantity.
    const QStringList typed = wholeOrders() ? QStringList{QStringLiteral("PLLARGUR"), QStringLiteral("QUANTIDADE"),
                                                          QStringLiteral("QTDPROD"), QStringLiteral("PRODUZ")}
                                            : QStringList{QStringLiteral("QTDPROD"), QStringLiteral("PRODUZ")};
    m_orders->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("WORKORDFAB"), typed,
        {QStringLiteral("UTIL"), QStringLiteral("ANO"), QStringLiteral("SEMANA"), QStringLiteral("ORDNRO"),
         QStringLiteral("SUBORC"), QStringLiteral("DETAIL")}));
    m_orders->setSql(QStringLiteral("SELECT * FROM WORKORDFAB WHERE UTIL = :WUtil AND PRODUZ = 'N' "
                                    "ORDER BY DATAENT, ANO, SEMANA, ORDNRO, SUBORC, DETAIL"));
    m_lines = dataset("WORKORDFABDET");
    m_lines->setMode(kv::db::DatasetMode::Cached);
    m_lines->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("WORKORDFABDET"), {QStringLiteral("QUANTIDADE")},
        {QStringLiteral("UTIL"), QStringLiteral("ANO"), QStringLiteral("SEMANA"), QStringLiteral("ORDNRO"),
         QStringLiteral("SUBORC"), QStringLiteral("DETAIL"), QStringLiteral("WRK_DETAIL")}));
    m_lines->setSql(QStringLiteral("SELECT * FROM WORKORDFABDET WHERE UTIL = :WUtil AND ANO = :ANO AND SEMANA = :SEMANA "
                                   "AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC AND DETAIL = :DETAIL ORDER BY WRK_DETAIL"));
    m_errors = dataset("ACTUALFECHOOF");
    m_errors->setMode(kv::db::DatasetMode::ReadOnly);
    m_errors->setSql(SlotClosing::errorListSql());

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    auto* top = new QHBoxLayout;
    buildLimits(forms);
    top->addWidget(m_limits);
    auto* dateBox = new QVBoxLayout;
    auto* dateCaption = new QLabel(QStringLiteral("Data Movimentos"));
    Edit_Data = new QLineEdit;
    Edit_Data->setObjectName(QStringLiteral("Edit_Data"));
    Edit_Data->setInputMask(QStringLiteral("99/99/0000;_"));
    kv::ui::setFieldWidth(Edit_Data, 10);
    setCaptionLabel(Edit_Data, dateCaption);
    dateBox->addWidget(dateCaption);
    dateBox->addWidget(Edit_Data);
    dateBox->addStretch(1);
    top->addLayout(dateBox);
    top->addStretch(1);
    outer->addLayout(top);

    DbGrid1 = new kv::ui::DbGrid;
    DbGrid1->setObjectName(QStringLiteral("DbGrid1"));
    DbGrid1->setToolTip(wholeOrders() ? QStringLiteral("<Ins> -Confirmar ; <F7> - Cancelar")
                                      : QStringLiteral("<F1> - Registar Consumos ; <Ins> -Confirmar ; <F7> - Cancelar"));
    DbGrid1->setDataset(m_orders.get(),
                        {closingColumn("ORDNRO", "Ord.Fab.Nº", 7), closingColumn("SUBORC", "TP", 2),
                         closingColumn("CLISIGLA", "Cliente", 12), closingColumn("ARTIGO", "Artigo", 14),
                         closingColumn("DESIGNACAO", "Designação", 22), closingColumn("DATAENT", "Data Ent.", 10),
                         closingColumn("PLCOMPRI", "Compri.", 6), closingColumn("PLLARGUR", "Largura", 6),
                         closingColumn("QUANTIDADE", "A Produzir ", 9), closingColumn("QTDPROD", "Produzida ", 9),
                         closingColumn("PRODUZ", " Prod.?", 5, true)});
    DbGrid1->setEditableFields(typed);
    outer->addWidget(closingHeadings(DbGrid1, {{QStringLiteral("Formato Plano "), 6, 7},
                                               {QStringLiteral("Quantidades"), 8, 9}}));
    DbGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    addGridAction(DbGrid1, "Confirmar", QKeySequence(Qt::Key_Insert), [this] { BotGravarClick(); });
    addGridAction(DbGrid1, "Cancelar", QKeySequence(Qt::Key_F7), [this] { BotCancelarClick(); });
    if (!wholeOrders())
        addGridAction(DbGrid1, "Registar Consumos", QKeySequence(Qt::Key_F1), [this] { RegistarConsumos1Click(); });
    outer->addWidget(DbGrid1, 3);
    BotNavig = new kv::ui::DbNavigator(body());
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(m_orders.get());
    auto* under = new QHBoxLayout;
    under->addWidget(BotNavig);
    under->addStretch(1);
    outer->addLayout(under);

    auto* lower = new QHBoxLayout;
    DBGrid3 = new kv::ui::DbGrid;
    DBGrid3->setObjectName(QStringLiteral("DBGrid3"));
    DBGrid3->setToolTip(QStringLiteral("<Ins> -Confirmar ; <F7> - Cancelar"));
    DBGrid3->setDataset(m_lines.get(), {closingColumn("ARTIGO", "Artigo", 14),
                                        closingColumn("DESIGNACAO", "Designação", 24),
                                        closingColumn("QUANTIDADE", "Qtd. Consumida", 10)});
    DBGrid3->setEditableFields({QStringLiteral("QUANTIDADE")});
    DBGrid3->setContextMenuPolicy(Qt::ActionsContextMenu);
    addGridAction(DBGrid3, "Confirmar", QKeySequence(Qt::Key_Insert), [this] { MenuItem3Click(); });
    addGridAction(DBGrid3, "Cancelar", QKeySequence(Qt::Key_F7), [this] { focusField(DbGrid1); });
    lower->addWidget(DBGrid3, 1);
    DBGrid3->setVisible(!wholeOrders());
    DBGrid2 = new kv::ui::DbGrid;
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setDataset(m_errors.get(), {closingColumn("ORDNRO", "O.F. Nº", 7), closingColumn("CODTAB", "Cod.", 5),
                                         closingColumn("DESIGNACAO", "Designação Artigo", 20),
                                         closingColumn("ERRO", "Erro de Actualização ", 26)});
    lower->addWidget(DBGrid2, 1);
    outer->addLayout(lower, 2);
    Gauge1 = new QProgressBar;
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    outer->addWidget(Gauge1);
    connect(m_orders.get(), &kv::db::Dataset::currentChanged, this, [this] { openLines(); });

    auto* buttons = new QHBoxLayout(buttonBar());
    auto button = [this, buttons](const char* name, const char* caption, std::function<void()> run) {
        auto* b = new kv::ui::TGlyphButton(QString::fromUtf8(caption));
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &kv::ui::TGlyphButton::clicked, this, std::move(run));
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch(1);
    button("BotGravar", "&Confirmar", [this] { BotGravarClick(); })->SetHint(QStringLiteral("Confirmar - Lançamento em Stock"));
    button("BotCancelar", "&Cancelar", [this] { BotCancelarClick(); });
    button("BitTerminar", "&Terminar", [this] { reject(); });
}

OrderClosingForm::~OrderClosingForm() = default;

bool OrderClosingForm::wholeOrders() const { return m_model == ClosingModel::WholeOrders; }

void OrderClosingForm::buildLimits(const kv::ui::FormRegistry& forms)
{
    using kv::text::LimitPair;
    m_lookups = std::make_unique<kv::quotes::SelectionLookups>(kv::quotes::QuoteFormsEnvironment{
        &m_session.state(), &m_session.dataModules(), &forms, &m_session.installation()});
    const QDate today = m_session.state().WData;
    const LimitPair customers = customerLimits(ClosingCustomers);
    const LimitPair numbers = orderNumberLimits(ClosingNumbers);
    const LimitPair dates = orderDateLimits(ClosingDeliveries, today.addDays(-30), today.addDays(365));
    const LimitPair articles = articleLimits(ClosingArticles);

    kv::ui::LimitFields customerFields(ClosingCustomers, QStringLiteral("Limite Clientes : "),
                                       QStringLiteral("Edit_CliNro1"), QStringLiteral("Edit_CliNro2"), 8);
    m_lookups->customers(customerFields);
    kv::ui::LimitFields numberFields(ClosingNumbers, QStringLiteral("Lim.Ord.Fabrico : "), QStringLiteral("Edit_OfNro1"),
                                     QStringLiteral("Edit_OfNro2"), 9);
    kv::ui::LimitFields dateFields(ClosingDeliveries, QStringLiteral("Dt. Entrega : "), QStringLiteral("Edit_DatEnt1"),
                                   QStringLiteral("Edit_DatEnt2"), 10);
    dateFields.inputMask = QStringLiteral("!99/99/0000;_");
    dateFields.dateLookup = true;
    kv::ui::LimitFields articleFields(ClosingArticles, QStringLiteral("Lim.Artigos : "), QStringLiteral("Edit_ArtNro1"),
                                      QStringLiteral("Edit_ArtNro2"), 16);
    articleFields.maxLength = 16;
    m_lookups->articles(articleFields);
    articleFields.simple.columns = {kv::quotes::SelectionLookups::column("CODIGO", "CÓDIGO", 16),
                                    kv::quotes::SelectionLookups::column("DESIGNACAO", "DESIGNAÇÃO", 35),
                                    kv::quotes::SelectionLookups::column("CORDES", "CÔR", 15),
                                    kv::quotes::SelectionLookups::column("TAMDES", "TAM", 7)};
    m_limits = new kv::ui::RangeLimitsBlock(*this, {customers, numbers, dates, articles},
                                            {customerFields, numberFields, dateFields, articleFields}, body());
    m_limits->setObjectName(QStringLiteral("RangeLimits"));
    m_limits->setReopen([this] { OpenWORKORDFAB(); });
    m_limits->setDateLookup(m_lookups->calendar());
    m_limits->setAfterLeave([this](const QString& pair, kv::text::LimitSide side) {
        if (pair == ClosingDeliveries)
            showWeek(side == kv::text::LimitSide::From);
        else if (pair == ClosingArticles && side == kv::text::LimitSide::To)
            focusField(DbGrid1);
    });
    addWeekBoxes();
    // Entering the first customer limit closes the list.
    setEnterHandler(m_limits->fromField(ClosingCustomers), [this] {
        m_lines->close();
        m_orders->close();
    });
}

void OrderClosingForm::addWeekBoxes()
{
    auto* boxes = new QWidget(m_limits);
    auto* row = new QHBoxLayout(boxes);
    row->setContentsMargins(0, 0, 0, 0);
    for (const char* side : {"1", "2"}) {
        for (const auto& [kind, width] : {std::pair{"S", 3}, std::pair{"D", 4}}) {
            auto* box = new QLineEdit(boxes);
            box->setObjectName(QStringLiteral("Edit_Ent%1%2").arg(QLatin1String(kind), QLatin1String(side)));
            box->setReadOnly(true);
            box->setFocusPolicy(Qt::NoFocus);
            kv::ui::setFieldWidth(box, width);
            row->addWidget(box);
            m_weekBoxes[QLatin1String(side) + QLatin1String(kind)] = box;
        }
    }
    m_limits->addBeside(ClosingDeliveries, boxes);
}

void OrderClosingForm::showWeek(bool first)
{
    const QString side = first ? QStringLiteral("1") : QStringLiteral("2");
    QLineEdit* week = m_weekBoxes[side + QLatin1String("S")];
    QLineEdit* day = m_weekBoxes[side + QLatin1String("D")];
    week->clear();
    day->clear();
    const QLineEdit* field = first ? m_limits->fromField(ClosingDeliveries) : m_limits->toField(ClosingDeliveries);
    const auto date = kv::text::parseDate(field->text());
    if (!date)
        return;
    try {
        kv::ui::MessageServiceSink sink;
        const CalendarWeek found = CalculaSemana(*m_session.dataModules().connections().DbFacturacao, *date, sink);
        week->setText(found.week);
        day->setText(found.weekday);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void OrderClosingForm::FormActivate()
{
    const kv::shell::LoginState& state = m_session.state();
    setMakerTag(state.WMarca);
    EnableEvents();
    if (m_activated) {
        focusField(DbGrid1);
        return;
    }
    m_activated = true;
    // Kept for the record: no control of the closing depends on them.
    m_rights = m_session.rights()
                   .readForm(kv::shell::RightsVariant::R4, state.WAplicacao, QStringLiteral("Planeamento"),
                             QStringLiteral("Finalizacao Producao"))
                   .rights;
    Edit_Data->setText(kv::text::date(state.WData));
    m_limits->showDefaults();
    showWeek(true);
    showWeek(false);
    const auto connections = m_session.dataModules().connections();
    try {
        StockPosting posting(*connections.DbFacturacao, state.WUtil, state.WAno, {});
        const QStringList problems =
            SlotClosing::setupProblems(*connections.DbKavorime, *connections.DbFacturacao, posting, state.WAno);
        if (!problems.isEmpty()) {
            kv::ui::messages().beep();
            for (const QString& problem : problems)
                kv::ui::messages().error(problem);
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
        // What an earlier run left half-written is finished first.
        kv::ui::MessageServiceSink sink;
        ProductionClosing(m_session.twoDatabaseKinds(), connections.DbKavorime, connections.DbFacturacao,
                          {state.WUtil, state.WAno, m_model}, sink)
            .finishPending();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    focusField(m_limits->fromField(ClosingCustomers));
}

void OrderClosingForm::FormClose()
{
    const kv::shell::LoginState& state = m_session.state();
    const auto connections = m_session.dataModules().connections();
    try {
        StockPosting(*connections.DbFacturacao, state.WUtil, state.WAno, {}).cleanUp();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

ClosingLimits OrderClosingForm::currentLimits() const
{
    const kv::text::RangeLimits& limits = m_limits->limits();
    ClosingLimits selection;
    selection.customerFrom = limits.fromInteger(ClosingCustomers);
    selection.customerTo = limits.toInteger(ClosingCustomers);
    selection.orderFrom = limits.fromInteger(ClosingNumbers);
    selection.orderTo = limits.toInteger(ClosingNumbers);
    selection.deliveryFrom = limits.fromDate(ClosingDeliveries);
    selection.deliveryTo = limits.toDate(ClosingDeliveries);
    selection.articleFrom = limits.fromText(ClosingArticles);
    selection.articleTo = limits.toText(ClosingArticles);
    return selection;
}

void OrderClosingForm::OpenWORKORDFAB()
{
    const QString user = m_session.state().WUtil;
    try {
        m_lines->close();
        m_orders->close();
        kv::db::Connection& application = *m_session.dataModules().connections().DbKavorime;
        if (wholeOrders())
            WholeOrderClosing(application, user).rebuild(currentLimits());
        else
            SlotClosing(application, user).rebuild(currentLimits());
        m_orders->setParam(QStringLiteral("WUtil"), user);
        m_orders->open();
        openLines();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

// Typed consumptions not kept with Insert are dropped with the order row.
void OrderClosingForm::openLines()
{
    if (wholeOrders())
        return;
    if (m_lines->isOpen())
        m_lines->cancelUpdates();
    m_lines->close();
    if (!m_orders->isOpen() || m_orders->isEmpty())
        return;
    m_lines->setParam(QStringLiteral("WUtil"), m_session.state().WUtil);
    for (const char* key : {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL"})
        m_lines->setParam(QString::fromLatin1(key), m_orders->value(QString::fromLatin1(key)));
    try {
        m_lines->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

bool OrderClosingForm::writeTyped(kv::db::Dataset& rows)
{
    if (!rows.isOpen())
        return true;
    try {
        if (rows.state() == kv::db::DatasetState::Edit || rows.state() == kv::db::DatasetState::Insert)
            rows.post();
        rows.applyUpdates();
        return true;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
}

void OrderClosingForm::RegistarConsumos1Click()
{
    writeTyped(*m_orders);
    focusField(DBGrid3);
}

void OrderClosingForm::MenuItem3Click()
{
    writeTyped(*m_lines);
    focusField(DbGrid1);
}

void OrderClosingForm::showErrors()
{
    m_errors->close();
    m_errors->setParam(QStringLiteral("WUtil"), m_session.state().WUtil);
    m_errors->open();
}

void OrderClosingForm::BotCancelarClick()
{
    try {
        if (m_orders->isOpen())
            m_orders->cancelUpdates();
        if (m_lines->isOpen())
            m_lines->cancelUpdates();
        kv::db::Connection& application = *m_session.dataModules().connections().DbKavorime;
        if (wholeOrders())
            WholeOrderClosing(application, m_session.state().WUtil).cancel();
        else
            SlotClosing(application, m_session.state().WUtil).cancel();
        if (m_orders->isOpen()) {
            m_orders->refresh();
            m_orders->first();
            openLines();
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void OrderClosingForm::showWorking(const QString& pass, int order)
{
    setStatusText(0, pass + QString::number(order));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool OrderClosingForm::checkBeforePosting()
{
    kv::ui::MessageService& messages = kv::ui::messages();
    const kv::shell::LoginState& state = m_session.state();
    const auto connections = m_session.dataModules().connections();
    WholeOrderClosing whole(*connections.DbKavorime, state.WUtil);
    SlotClosing slot(*connections.DbKavorime, state.WUtil);
    const QString typed = wholeOrders() ? whole.checkTyped() : slot.checkProduced();
    if (!typed.isEmpty()) {
        messages.beep();
        messages.error(typed);
        focusField(DbGrid1);
        return false;
    }
    StockPosting posting(*connections.DbFacturacao, state.WUtil, state.WAno, {});
    const int errors = wholeOrders() ? whole.checkMaterials(posting, [this](int order) {
        showWorking(QStringLiteral("Verificação de dados em curso ... O.F. : "), order);
    })
                                     : slot.checkConsumptions(posting);
    setStatusText(0, {});
    showErrors();
    if (errors > 0) {
        messages.beep();
        messages.error(QStringLiteral("Actualização não efectuada ... Verifique os erros reportados ..."));
        focusField(DBGrid2);
        return false;
    }
    return true;
}

void OrderClosingForm::BotGravarClick()
{
    kv::ui::MessageService& messages = kv::ui::messages();
    const std::optional<QDate> movementDate = kv::text::parseDate(Edit_Data->text());
    if (!movementDate) {
        messages.fail(kv::text::notADateMessage(Edit_Data->text()));
        focusField(Edit_Data);
        return;
    }
    if (!m_orders->isOpen() || !writeTyped(*m_orders))
        return;
    const kv::shell::LoginState& state = m_session.state();
    const auto connections = m_session.dataModules().connections();
    try {
        if (!checkBeforePosting())
            return;
        if (!messages.question(QStringLiteral("Geração de  Movimentos em Stock !!! Confirma ?")))
            return;
        const std::vector<ClosingOrder> orders =
            wholeOrders() ? WholeOrderClosing(*connections.DbKavorime, state.WUtil).orders(*movementDate)
                          : SlotClosing(*connections.DbKavorime, state.WUtil).orders(*movementDate);
        Gauge1->setValue(0);
        Gauge1->show();
        kv::ui::MessageServiceSink sink;
        ProductionClosing posted(m_session.twoDatabaseKinds(), connections.DbKavorime, connections.DbFacturacao,
                                 {state.WUtil, state.WAno, m_model}, sink);
        posted.run(
            orders,
            [this](int percent) {
                Gauge1->setValue(percent);
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            },
            [this](int order) { showWorking(QStringLiteral("Calculos em curso ... O.F. : "), order); });
    } catch (const kv::db::DbError& error) {
        messages.fail(error.fullText());
    }
    setStatusText(0, {});
    Gauge1->hide();
    Gauge1->setValue(0);
    OpenWORKORDFAB();
    focusField(DbGrid1);
}

} // namespace kv::production
