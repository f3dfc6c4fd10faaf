#include "production/forms/OrderIssueForm.h"

#include "production/core/OrderDocuments.h"
#include "production/print/OrderDocumentReports.h"
#include "quotes/core/ArticlePictures.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/install/Installation.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/DocumentCopiesBox.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/RangeLimitsBlock.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::production {

namespace {

using kv::text::LimitKind;
using kv::text::LimitPair;
using kv::text::LimitSide;
using kv::text::LimitWarning;
using kv::ui::GridColumn;
using kv::ui::LimitFields;

const QString Customers = QStringLiteral("customers");
const QString Orders = QStringLiteral("orders");
const QString Deliveries = QStringLiteral("deliveries");
const QString Productions = QStringLiteral("productions");
const QString Articles = QStringLiteral("articles");

std::vector<LimitPair> issueLimitPairs(const QDate& workingDate)
{
    LimitPair customers(Customers, LimitKind::Integer, qint64(1), qint64(999999999));
    customers.emptyFromRefused = {QStringLiteral("Cliente Inválido"), false, true};
    customers.emptyTo = {QStringLiteral("Cliente Inválido"), false, false};
    customers.inverted = LimitWarning::box(QStringLiteral("Limite de Clientes Inválido"));
    customers.reopensSelection = true;
    LimitPair orders(Orders, LimitKind::Integer, qint64(1), qint64(999999999));
    orders.emptyFrom = LimitPair::EmptyFrom::Zero;
    orders.emptyTo = {QStringLiteral("Limite inválido inválida !!!"), false, false};
    orders.inverted = LimitWarning::box(QStringLiteral("Selecção inválida !!!"));
    orders.reopensSelection = true;
    LimitPair deliveries(Deliveries, LimitKind::Date, workingDate, workingDate);
    deliveries.inverted = LimitWarning::box(QStringLiteral("LIMITE DE DATAS INVÁLIDO"));
    deliveries.reopensSelection = true;
    LimitPair productions = deliveries;
    productions.name = Productions;
    LimitPair articles(Articles, LimitKind::Text, QString(), QStringLiteral("ZZZZZZZZZZZZZZZZ"));
    articles.inverted = LimitWarning::box(QStringLiteral("LIMITE DE ARTIGOS INVÁLIDO"));
    articles.reopensSelection = true;
    return {customers, orders, deliveries, productions, articles};
}


} // namespace

OrderIssueForm::OrderIssueForm(IssueModel model, kv::shell::FormEnvironment environment,
                               const kv::install::Installation* installation, QWidget* parent)
    : kv::ui::Form(parent), m_model(model), m_environment(environment), m_installation(installation)
{
    const bool detail = m_model == IssueModel::Detail;
    setObjectName(detail ? QStringLiteral("TORCF102") : QStringLiteral("TORCF106"));
    setWindowTitle(QStringLiteral("Emissão de Ordens de Fabrico"));

    auto* body = new QVBoxLayout(this->body());
    auto* top = new QHBoxLayout;
    body->addLayout(top);
    buildLimits(this->body());
    top->addWidget(m_limits);

    auto* options = new QVBoxLayout;
    top->addLayout(options);
    m_copies = new kv::ui::DocumentCopiesBox(QStringLiteral("Vias Documento"), this->body());
    m_copies->setObjectName(QStringLiteral("PanelVias"));
    options->addWidget(m_copies);
    auto* flags = new QHBoxLayout;
    ChkImpress = new QCheckBox(QStringLiteral("Reimpressão ?"), this->body());
    ChkImpress->setObjectName(QStringLiteral("ChkImpress"));
    connect(ChkImpress, &QCheckBox::toggled, this, [this] {
        if (eventsEnabled())
            openList();
    });
    ChkFoto = new QCheckBox(QStringLiteral("Foto?"), this->body());
    ChkFoto->setObjectName(QStringLiteral("ChkFoto"));
    flags->addWidget(ChkImpress);
    flags->addWidget(ChkFoto);
    flags->addStretch(1);
    options->addLayout(flags);
    options->addStretch(1);
    top->addStretch(1);

    auto* middle = new QHBoxLayout;
    body->addLayout(middle, 1);
    auto* gridColumn = new QVBoxLayout;
    middle->addLayout(gridColumn, 1);
    m_list = std::make_unique<kv::db::Dataset>(detail ? QStringLiteral("ORDFABDET") : QStringLiteral("ORDFABRICO"));
    m_list->setConnection(m_environment.application());
    m_list->setMode(kv::db::DatasetMode::ReadOnly);
    DBGrid1 = new kv::ui::DbGrid(this->body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const GridColumn year{QStringLiteral("ANO"), QStringLiteral("Ano"), 4, {}, false, {}};
    const GridColumn week{QStringLiteral("SEMANA"), QStringLiteral("Sm"), 2, {}, false, {}};
    const GridColumn number{QStringLiteral("ORDNRO"), QStringLiteral("OF Nº"), 7, {}, false, {}};
    const GridColumn customer{QStringLiteral("CLINRO"), QStringLiteral("Cli.Nº"), 6, {}, false, {}};
    const GridColumn sigla{QStringLiteral("CLISIGLA"), QStringLiteral("Cliente"), 12, {}, false, {}};
    const GridColumn article{QStringLiteral("ARTIGO"), QStringLiteral("Artigo"), 14, {}, false, {}};
    const GridColumn designation{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 26, {}, false, {}};
    const GridColumn quantity{QStringLiteral("QUANTIDADE"), QStringLiteral("Quant."), 9, {}, false, {}};
    const GridColumn unit{QStringLiteral("UNVEND"), QStringLiteral("Und"), 3, {}, false, {}};
    const GridColumn delivery{QStringLiteral("DATAENT"), QStringLiteral("Dat.Ent."), 10, {}, false, {}};
    const GridColumn production{QStringLiteral("DATAPROD"), QStringLiteral("Dat.Prod."), 10, {}, false, {}};
    const GridColumn printed{QStringLiteral("IMPR"), QStringLiteral("Impr."), 4, {}, false, {}};
    if (detail)
        DBGrid1->setDataset(m_list.get(), {year, week, number, customer, sigla, article, designation, quantity, unit,
                                           delivery, production, printed});
    else
        DBGrid1->setDataset(m_list.get(), {number, delivery, production, customer, sigla, article, designation,
                                           quantity, unit, printed});
    gridColumn->addWidget(DBGrid1, 1);
    auto* under = new QHBoxLayout;
    BotNavig = new kv::ui::DbNavigator(this->body());
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(m_list.get());
    under->addWidget(BotNavig);
    under->addStretch(1);
    m_countCaption = new QLabel(QStringLiteral("Nº de Ordens de Fabrico : "), this->body());
    m_countCaption->setObjectName(QStringLiteral("Label_NroOfs"));
    m_count = new QLabel(this->body());
    m_count->setObjectName(QStringLiteral("Label_Count"));
    m_countCaption->hide();
    m_count->hide();
    under->addWidget(m_countCaption);
    under->addWidget(m_count);
    gridColumn->addLayout(under);
    M1 = new kv::imaging::TPictureBox(this->body());
    M1->setObjectName(QStringLiteral("M1"));
    M1->setToolTip(QStringLiteral("Faça ZOOM arrastando o mouse na imagem"));
    M1->setFixedSize(240, 180);
    middle->addWidget(M1, 0, Qt::AlignTop);
    connect(m_list.get(), &kv::db::Dataset::currentChanged, this, [this] { showPicture(); });
    setEnterHandler(DBGrid1, [this] {
        m_count->setText(QString::number(m_list->isOpen() ? m_list->recordCount() : 0));
        m_count->show();
        if (m_model == IssueModel::Detail)
            m_countCaption->show();
        showPicture();
    });

    auto* buttons = new QHBoxLayout(buttonBar());
    Gauge1 = new QProgressBar(buttonBar());
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    BitPreview = new kv::ui::TGlyphButton(QStringLiteral("&Imprimir"), buttonBar());
    BitPreview->setObjectName(QStringLiteral("BitPreview"));
    BitPreview->setToolTip(QStringLiteral("Impressão c/ Preview"));
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(Gauge1, 1);
    buttons->addStretch(1);
    buttons->addWidget(BitPreview);
    buttons->addWidget(BitTerminar);
    connect(BitPreview, &kv::ui::TGlyphButton::clicked, this, &OrderIssueForm::print);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &QDialog::accept);
}

OrderIssueForm::~OrderIssueForm() = default;

void OrderIssueForm::buildLimits(QWidget* parent)
{
    const QString lookupCaption = m_model == IssueModel::Detail ? QStringLiteral("Localizar") : QStringLiteral("Lookup");
    LimitFields customersRow(Customers, QStringLiteral("Cli. Nº : "), QStringLiteral("Edit_CliNro1"),
                             QStringLiteral("Edit_CliNro2"), 10);
    customersRow.simple.caption = lookupCaption;
    customersRow.simple.list = [this] { return customers(false); };
    customersRow.simple.columns = {{QStringLiteral("CODIGO"), QStringLiteral("Cliente Nº"), 10, {}, false, {}},
                                   {QStringLiteral("NOME"), QStringLiteral("Nome do Cliente"), 35, {}, false, {}}};
    customersRow.simple.keyField = QStringLiteral("CODIGO");
    customersRow.alphabetic = customersRow.simple;
    customersRow.alphabetic.list = [this] { return customers(true); };
    customersRow.alphabetic.columns = {{QStringLiteral("NOME"), QStringLiteral("Nome do Cliente"), 35, {}, false, {}},
                                       {QStringLiteral("CODIGO"), QStringLiteral("Cliente Nº"), 10, {}, false, {}}};
    LimitFields ordersRow(Orders, QStringLiteral("OF Nº : "), QStringLiteral("Edit_DocNro1"),
                          QStringLiteral("Edit_DocNro2"), 10);
    LimitFields deliveriesRow(Deliveries, QStringLiteral("Dt. Ent. : "), QStringLiteral("Edit_DatEnt1"),
                              QStringLiteral("Edit_DatEnt2"), 10);
    deliveriesRow.inputMask = QStringLiteral("99/99/0000;_");
    LimitFields productionsRow(Productions, QStringLiteral("Dt.Prod. : "), QStringLiteral("Edit_DatProd1"),
                               QStringLiteral("Edit_DatProd2"), 10);
    productionsRow.inputMask = deliveriesRow.inputMask;
    LimitFields articlesRow(Articles, QStringLiteral("Artigos : "), QStringLiteral("Edit_ArtNro1"),
                            QStringLiteral("Edit_ArtNro2"), 16);
    articlesRow.maxLength = 16;
    articlesRow.simple.caption = lookupCaption;
    articlesRow.simple.list = [this] { return articles(false); };
    articlesRow.simple.columns = {{QStringLiteral("CODIGO"), QStringLiteral("CÓDIGO"), 16, {}, false, {}},
                                  {QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNAÇÃO"), 35, {}, false, {}},
                                  {QStringLiteral("CORDES"), QStringLiteral("CÔR"), 10, {}, false, {}},
                                  {QStringLiteral("TAMDES"), QStringLiteral("TAM"), 10, {}, false, {}}};
    articlesRow.simple.keyField = QStringLiteral("CODIGO");
    articlesRow.simple.setsLimit = false;
    articlesRow.alphabetic = articlesRow.simple;
    articlesRow.alphabetic.list = [this] { return articles(true); };
    articlesRow.alphabetic.columns = {articlesRow.simple.columns[1], articlesRow.simple.columns[0],
                                      articlesRow.simple.columns[2], articlesRow.simple.columns[3]};

    m_limits = new kv::ui::RangeLimitsBlock(*this, issueLimitPairs(m_environment.state().WData),
                                            {customersRow, ordersRow, deliveriesRow, productionsRow, articlesRow},
                                            parent);
    m_limits->setReopen([this] {
        openList();
        // The last limit confirmed, the list is next.
        if (leavingField() == m_limits->toField(Articles))
            focusField(DBGrid1);
    });
    for (QLineEdit* field : {m_limits->fromField(Articles), m_limits->toField(Articles)})
        setKeyHint(field, QStringLiteral("Tecla <Insert> e <CTRL Insert> procurar Artigo"));

    // The week and weekday of each date limit beside its pair.
    auto* grid = qobject_cast<QGridLayout*>(m_limits->layout());
    const QStringList weekNames{"Edit_SemEnt1", "Edit_SemEnt2", "Edit_SemProd1", "Edit_SemProd2"};
    const QStringList dayNames{"Edit_DiaSemEnt1", "Edit_DiaSemEnt2", "Edit_DiaSemProd1", "Edit_DiaSemProd2"};
    for (int pair = 0; pair < 2; ++pair) {
        auto* holder = new QWidget(m_limits);
        auto* row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        for (int side = 0; side < 2; ++side) {
            const int i = pair * 2 + side;
            m_weeks[i] = new QLineEdit(holder);
            m_weeks[i]->setObjectName(weekNames[i]);
            m_weekdays[i] = new QLineEdit(holder);
            m_weekdays[i]->setObjectName(dayNames[i]);
            for (QLineEdit* shown : {m_weeks[i], m_weekdays[i]}) {
                shown->setReadOnly(true);
                shown->setFocusPolicy(Qt::NoFocus);
                row->addWidget(shown);
            }
            kv::ui::setFieldWidth(m_weeks[i], 2);
            kv::ui::setFieldWidth(m_weekdays[i], 3);
        }
        row->addStretch(1);
        if (grid)
            grid->addWidget(holder, 2 + pair, 3);
        const QString name = pair == 0 ? Deliveries : Productions;
        connect(m_limits->fromField(name), &QLineEdit::editingFinished, this,
                [this, name] { showWeek(name, LimitSide::From); });
        connect(m_limits->toField(name), &QLineEdit::editingFinished, this,
                [this, name] { showWeek(name, LimitSide::To); });
    }
    // Entering the first limit closes the list until a limit is confirmed again.
    setEnterHandler(m_limits->fromField(Customers), [this] { closeList(); });
}

kv::db::Dataset* OrderIssueForm::customers(bool byName)
{
    auto& list = byName ? m_customersByName : m_customers;
    if (!list) {
        list = std::make_unique<kv::db::Dataset>(byName ? QStringLiteral("CLIENTESALFA") : QStringLiteral("CLIENTES"));
        list->setConnection(m_environment.invoicing());
        list->setMode(kv::db::DatasetMode::ReadOnly);
        list->setSql(byName ? QStringLiteral("SELECT CODIGO, NOME FROM CLIENTES ORDER BY NOME")
                            : QStringLiteral("SELECT CODIGO, NOME FROM CLIENTES ORDER BY CODIGO"));
    }
    if (!list->isOpen())
        list->open();
    return list.get();
}

kv::db::Dataset* OrderIssueForm::articles(bool byName)
{
    // The form's own ordered list: the shared article dataset keeps its order.
    if (!m_articles) {
        m_articles = std::make_unique<kv::db::Dataset>(QStringLiteral("ARTIGOSCLS"));
        m_articles->setConnection(m_environment.invoicing());
        m_articles->setMode(kv::db::DatasetMode::ReadOnly);
    }
    m_articles->close();
    m_articles->setSql(byName ? QStringLiteral("SELECT CODIGO, DESIGNACAO, CORDES, TAMDES FROM ARTIGOSCLS ORDER BY DESIGNACAO")
                              : QStringLiteral("SELECT CODIGO, DESIGNACAO, CORDES, TAMDES FROM ARTIGOSCLS ORDER BY CODIGO"));
    m_articles->open();
    return m_articles.get();
}

void OrderIssueForm::showWeek(const QString& pair, LimitSide side)
{
    const int index = (pair == Deliveries ? 0 : 2) + (side == LimitSide::From ? 0 : 1);
    QLineEdit* field = side == LimitSide::From ? m_limits->fromField(pair) : m_limits->toField(pair);
    m_weeks[index]->clear();
    m_weekdays[index]->clear();
    const QDate day = QDate::fromString(field->text(), QStringLiteral("dd/MM/yyyy"));
    if (!day.isValid())
        return;
    try {
        const auto found = OrderIssue::calendarWeek(*m_environment.invoicing(), day);
        if (!found) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QStringLiteral("Data Inexistente no Ficheiro de Calendário"));
            return;
        }
        m_weeks[index]->setText(found->first);
        m_weekdays[index]->setText(found->second);
        m_lastWeek = found->first;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void OrderIssueForm::FormActivate()
{
    kv::shell::LoginState& state = m_environment.state();
    setMakerTag(state.WMarca);
    const kv::shell::FormRights rights =
        m_environment.rights(kv::shell::RightsVariant::R6, state.WAplicacao, QStringLiteral("Planeamento"),
                             QStringLiteral("Emissao Ordens de Fabrico"));
    BitPreview->setVisible(rights.showPrint);
    try {
        if (m_firstActivation) {
            m_firstActivation = false;
            m_limits->showDefaults();
            for (auto [pair, side] : {std::pair{Deliveries, LimitSide::From}, std::pair{Deliveries, LimitSide::To},
                                      std::pair{Productions, LimitSide::From}, std::pair{Productions, LimitSide::To}})
                showWeek(pair, side);
            ChkFoto->setChecked(true);
            // Copies 1 to 5 start ticked when named; 6 to 8 unticked.
            m_copies->showNames(OrderIssue::copyNames(*m_environment.application()).value_or(QStringList()), 5);
        }
        if (!OrderIssue::customisationParametersExist(*m_environment.invoicing())) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QStringLiteral("Problemas c/ leitura Tabelas Customizadas"));
        }
        const auto folder = OrderIssue::pictureFolder(*m_environment.invoicing(), state.WAno);
        if (!folder) {
            kv::ui::messages().error(QStringLiteral("PARAMETROS GERAIS, Inexistentes"));
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
        m_pictureFolder = *folder;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    EnableEvents();
    focusField(m_limits->fromField(Customers));
}

void OrderIssueForm::FormClose()
{
    m_list->close();
    for (auto* list : {m_customers.get(), m_customersByName.get(), m_articles.get()})
        if (list)
            list->close();
    m_firstActivation = true;
}

IssueSelection OrderIssueForm::selection() const
{
    const kv::text::RangeLimits& limits = m_limits->limits();
    IssueSelection s;
    s.fromCustomer = limits.fromInteger(Customers);
    s.toCustomer = limits.toInteger(Customers);
    s.fromOrder = limits.fromInteger(Orders);
    s.toOrder = limits.toInteger(Orders);
    s.fromDelivery = limits.fromDate(Deliveries);
    s.toDelivery = limits.toDate(Deliveries);
    s.fromProduction = limits.fromDate(Productions);
    s.toProduction = limits.toDate(Productions);
    s.fromArticle = limits.fromText(Articles);
    s.toArticle = limits.toText(Articles);
    s.reprint = ChkImpress->isChecked();
    return s;
}

void OrderIssueForm::closeList()
{
    m_list->close();
    m_countCaption->hide();
    m_count->hide();
}

void OrderIssueForm::openList()
{
    const IssueSelection s = selection();
    closeList();
    try {
        m_list->setSql(OrderIssue::listSql(m_model, s));
        const kv::db::Params params = OrderIssue::listParams(s);
        for (const QString& name : params.names())
            m_list->setParam(name, params.value(name));
        m_list->open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void OrderIssueForm::showPicture()
{
    if (!ChkFoto->isChecked() || !m_list->isOpen() || !m_installation)
        return;
    M1->setImageName(QString());
    const QString file = kv::quotes::articlePicturePath(*m_installation, m_pictureFolder,
                                                        m_list->value(QStringLiteral("ARTIGO")).toString(), 1);
    if (!file.isEmpty())
        M1->setImageName(file);
}

void OrderIssueForm::print()
{
    // A run works on the list open now; without one nothing changes.
    if (!m_list->isOpen()) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QStringLiteral("Não há Ordens de Fabrico listadas: confirme os limites antes de "
                                                "imprimir."));
        focusField(m_limits->fromField(Customers));
        return;
    }
    kv::shell::LoginState& state = m_environment.state();
    const QStringList copies = OrderIssue::chosenCopies(m_copies->names(), m_copies->ticked());
    // Nothing is queued or marked when no document could show it.
    const QString documentModel = m_model == IssueModel::ModelT ? QStringLiteral("T") : state.WTipoOrdFab;
    if (const auto refusal = OrderIssue::refusal(copies, documentModel)) {
        kv::ui::messages().beep();
        kv::ui::messages().error(*refusal);
        return;
    }

    std::vector<IssueItem> items;
    const bool detail = m_model == IssueModel::Detail;
    if (m_list->first()) {
        do {
            items.push_back({m_list->value(QStringLiteral("ANO")).toString(),
                             detail ? m_list->value(QStringLiteral("SEMANA")).toString() : QString(),
                             m_list->value(QStringLiteral("ORDNRO")).toLongLong(),
                             m_list->value(QStringLiteral("DETAIL")).toInt(),
                             m_list->value(QStringLiteral("SUBORC")).toInt()});
        } while (m_list->next());
    }

    setStatusText(0, {});
    OrderIssue issue(*m_environment.application(), state.WUtil, m_model);
    Gauge1->setValue(0);
    Gauge1->show();
    try {
        issue.queue(items, copies, m_lastWeek, [this](int done, int total, qint64 order) {
            Gauge1->setValue(done * 100 / total);
            setStatusText(0, QStringLiteral("Ordem de Fabrico Nº : %1").arg(order));
        });
    } catch (const kv::db::DbError& error) {
        Gauge1->hide();
        setStatusText(0, {});
        kv::ui::messages().fail(error.fullText());
        return;
    }
    Gauge1->hide();
    try {
        previewDocuments();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    try {
        issue.emptyQueue();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    setStatusText(0, {});
    focusField(m_limits->fromField(Customers));
}

void OrderIssueForm::previewDocuments()
{
    kv::shell::LoginState& state = m_environment.state();
    DocumentLook look{m_environment.companyName(), state.WRodape, {}};
    if (!state.WPathFotosLogo.isEmpty()) {
        const QString stored = state.WPathFotosLogo + QStringLiteral(".Bmp");
        look.logoFile = m_installation ? m_installation->mapWindowsPath(stored) : stored;
    }
    if (m_model == IssueModel::Detail) {
        const OrderDocumentData queued =
            readOrderDocuments(*m_environment.application(), *m_environment.invoicing(), state.WUtil);
        OrderDocumentReports(queued, look).preview(this);
    } else {
        const DocumentRows rows = readModelTDocuments(*m_environment.application(), state.WUtil);
        ModelTDocumentReport(rows, look).preview(this);
    }
}

} // namespace kv::production
