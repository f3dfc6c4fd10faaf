#include "production/forms/RequirementsScreen.h"

#include "production/core/RequirementsCalculation.h"
#include "production/core/RequirementsScreenData.h"
#include "production/core/SupplierDocuments.h"
#include "production/forms/PurchaseOrderReport.h"
#include "production/forms/RequirementListReport.h"
#include "production/forms/RequisitionReport.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DatasetModel.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/GridColumn.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/TGlyphButton.h"
#include "quotes/core/ArticlePictures.h"
#include "shell/Session.h"

#include <QAction>
#include <QApplication>
#include <QTabBar>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::production {

using kv::db::Dataset;
using kv::ui::GridColumn;
using kv::ui::messages;
namespace Data = RequirementsScreenData;

namespace {

const QString AllArticles = QStringLiteral("ZZZZZZZZZZZZZZZZ");
const QString EmptyDate = QStringLiteral("  /  /    ");

QString threeDecimals(const QVariant& v) { return kv::text::fixed(v.toDouble(), 3); }

GridColumn col(const char* field, const char* title, int width = 0)
{
    return GridColumn{QString::fromLatin1(field), QString::fromUtf8(title), width, {}, false, {}};
}

GridColumn tick(const char* field)
{
    GridColumn column = col(field, "S/N", 4);
    column.checkBox = true;
    return column;
}

bool blank(const QString& text) { return text.trimmed().isEmpty(); }

} // namespace

RequirementsScreenVariant RequirementsScreenVariant::requisition()
{
    return {QStringLiteral("TORCF040"), QStringLiteral("Cálculo de Necessidades"), RequirementVariant::Requisition,
            QStringLiteral("Lim.Encomendas : "), QStringLiteral("Requisições Internas")};
}

RequirementsScreenVariant RequirementsScreenVariant::manufacture()
{
    return {QStringLiteral("TORCF041"), QStringLiteral("Cálculo de Necessidades"), RequirementVariant::Manufacture,
            QStringLiteral("Lim.Ordens Fabrico : "), QStringLiteral("Encomendar")};
}

RequirementsScreen::RequirementsScreen(kv::shell::Session& session, RequirementsScreenVariant variant, QWidget* parent)
    : kv::ui::Form(parent), m_session(session), m_variant(std::move(variant)),
      m_app(session.dataModules().connections().DbKavorime), m_inv(session.dataModules().connections().DbFacturacao),
      m_calculation(
          std::make_unique<RequirementsCalculation>(*m_app, *m_inv, session.state().WUtil, m_variant.variant)),
      m_limits(RequirementLimits::initial(session.state().WData))
{
    setObjectName(m_variant.className);
    setWindowTitle(m_variant.caption);
    setModal(true);

    ENCCLIDET = dataset("ENCCLIDET", m_inv.get(), Data::limitArticles());
    ENCCLIMAS1 = dataset("ENCCLIMAS1", m_inv.get(), Data::openOrders(Data::OrderLookupOrder::Number));
    LOGSELENC1 = dataset("LOGSELENC1", m_app.get(), Data::preselection());
    LOGSELENC1->setMode(kv::db::DatasetMode::Cached);
    LOGSELENC1->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("LOGSELENC"), {QStringLiteral("QUANTIDADE"), QStringLiteral("PROCESSAR")},
        {QStringLiteral("UTIL"), QStringLiteral("CLINRO"), QStringLiteral("ARTIGO")}));
    ENCCLIDETCONS = dataset("ENCCLIDETCONS", m_inv.get(), Data::openLines());
    LOGARTIGOS = dataset("LOGARTIGOS", m_app.get(), Data::requirements());
    LOGFRNENC = dataset("LOGFRNENC", m_app.get(), Data::supplierLines());
    LOGFRNENC->setParam(QStringLiteral("WUTIL"), session.state().WUtil);
    LOGFRNENC->setMaster(LOGARTIGOS, {{QStringLiteral("ARTIGO"), QStringLiteral("ARTIGO")}});
    FRNENCMAS = dataset("FRNENCMAS", m_inv.get(), Data::supplierOrder());
    FRNENCMAS->setMaster(LOGFRNENC, {{QStringLiteral("ENCNRO"), QStringLiteral("ENCNRO")}});
    FRNENCDET = dataset("FRNENCDET", m_inv.get(), Data::supplierOrderLines());
    FRNENCDET->setMaster(FRNENCMAS, {{QStringLiteral("ENCNRO"), QStringLiteral("ENCNRO")}});
    LOGARTGFORN1 = dataset("LOGARTGFORN1", m_app.get(), Data::proposal());
    LOGARTGFORN1->setMode(kv::db::DatasetMode::Cached);
    LOGARTGFORN1->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("LOGARTGFORN"),
        {QStringLiteral("QUANTIDADE"), QStringLiteral("FORNECEDOR"), QStringLiteral("NOME"), QStringLiteral("PRECO"),
         QStringLiteral("DESCTO"), QStringLiteral("VOSREF"), QStringLiteral("DATAENTRG"), QStringLiteral("PROCESSAR")},
        {QStringLiteral("UTIL"), QStringLiteral("ARTIGO")}));
    STKARTGFORN = dataset("STKARTGFORN", m_inv.get(), Data::priceList());
    FORNECEDORES = dataset("FORNECEDORES", m_inv.get(), Data::suppliers(false));
    for (Dataset* d : {LOGSELENC1, LOGARTIGOS, LOGARTGFORN1})
        d->setParam(QStringLiteral("WUTIL"), session.state().WUtil);

    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(4, 4, 4, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(buildLimits());
    top->addStretch(1);
    auto* pictureColumn = new QVBoxLayout;
    Picture = new kv::imaging::TPictureBox(body());
    Picture->setObjectName(QStringLiteral("Picture"));
    Picture->setFixedSize(160, 120);
    Picture->setStretch(true);
    PictureCaption = new QLabel(body());
    PictureCaption->setObjectName(QStringLiteral("PictureCaption"));
    pictureColumn->addWidget(Picture);
    pictureColumn->addWidget(PictureCaption);
    top->addLayout(pictureColumn);
    outer->addLayout(top);

    PageControl1 = new QTabWidget(body());
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildPreselectionPage(), QStringLiteral("Pré-Selecção"));
    PageProcessamento = new QTabWidget;
    PageProcessamento->setObjectName(QStringLiteral("PageProcessamento"));
    PageProcessamento->addTab(buildConsumptionPage(), QStringLiteral("Consumos"));
    PageProcessamento->addTab(buildSupplierOrdersPage(), QStringLiteral("Encomendado Forn."));
    auto* documents = new QTabWidget;
    documents->setObjectName(QStringLiteral("PageDocumentos"));
    documents->addTab(buildProposalPage(), QStringLiteral("Escolha do Fornecedor"));
    PageProcessamento->addTab(documents, m_variant.documentsPage);
    PageControl1->addTab(PageProcessamento, QStringLiteral("Processamento"));
    outer->addWidget(PageControl1, 1);
    // A click on a tab takes the focus first, so the page hidden under it
    // never hands the focus on to the limit edits (whose entry empties the
    // work tables).
    for (QTabWidget* notebook : {PageControl1, PageProcessamento, PageEncFornecedores, documents})
        notebook->tabBar()->setFocusPolicy(Qt::StrongFocus);
    connect(PageControl1, &QTabWidget::currentChanged, this, &RequirementsScreen::mainPageChanged);
    connect(PageProcessamento, &QTabWidget::currentChanged, this, &RequirementsScreen::processingPageChanged);

    auto* buttons = new QHBoxLayout(buttonBar());
    buttons->addStretch(1);
    auto* terminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    terminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(terminar);
    connect(terminar, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
}

RequirementsScreen::~RequirementsScreen() = default;

Dataset* RequirementsScreen::dataset(const char* name, kv::db::Connection* connection, const QString& sql)
{
    auto* d = new Dataset(QString::fromLatin1(name), this);
    d->setConnection(connection == m_app.get() ? m_app : m_inv);
    d->setSql(sql);
    return d;
}

kv::ui::DbGrid* RequirementsScreen::grid(const char* name, Dataset* rows, std::vector<GridColumn> columns)
{
    auto* g = new kv::ui::DbGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataset(rows, std::move(columns));
    return g;
}

// ------------------------------------------------------------------ layout

QWidget* RequirementsScreen::buildLimits()
{
    auto* panel = new QWidget(body());
    panel->setObjectName(QStringLiteral("PanelLimites"));
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString captions[] = {m_variant.orderCaption, QStringLiteral("Lim.Data Entrega : "),
                                QStringLiteral("Lim.Clientes : "), QStringLiteral("Lim.Artigos : ")};
    const char* names[] = {"Edit_EncNro1", "Edit_EncNro2", "Edit_DatEnt1", "Edit_DatEnt2",
                           "Edit_CliNro1", "Edit_CliNro2", "Edit_ArtNro1", "Edit_ArtNro2"};
    const int widths[] = {10, 10, 16};
    for (int pair = 0; pair < 4; ++pair) {
        m_captions[pair] = new QLabel(captions[pair], panel);
        layout->addWidget(m_captions[pair], pair, 0);
        for (int side = 0; side < 2; ++side) {
            const int index = pair * 2 + side;
            auto* edit = new QLineEdit(panel);
            edit->setObjectName(QString::fromLatin1(names[index]));
            if (pair == 1)
                edit->setInputMask(QStringLiteral("99/99/0000;_"));
            if (pair == 3)
                edit->setMaxLength(16);
            kv::ui::setFieldWidth(edit, pair == 3 ? widths[2] : widths[0]);
            layout->addWidget(edit, pair, 1 + side);
            m_edits[index] = edit;
            setCaptionLabel(edit, m_captions[pair]);
            const auto limit = static_cast<Limit>(index);
            setEnterHandler(edit, [this, limit] { enterLimit(limit); });
            setExitHandler(edit, [this, limit] { leaveLimit(limit); });
        }
    }
    // The order look-ups of both order edits, the article look-up of both article edits.
    struct OrderItem {
        const char* text;
        QKeySequence key;
    };
    const OrderItem orderItems[] = {{"Procura Numérica (Encomenda)", QKeySequence(Qt::Key_Insert)},
                                    {"Alfabética ( Cliente )", QKeySequence(Qt::CTRL | Qt::Key_Insert)},
                                    {"Data Emissão ( Cód. Cliente )", QKeySequence(Qt::Key_F1)},
                                    {"Data Emissão ( Nome Cliente )", QKeySequence(Qt::Key_F3)}};
    for (QLineEdit* edit : {m_edits[OrderFrom], m_edits[OrderTo]}) {
        edit->setContextMenuPolicy(Qt::ActionsContextMenu);
        for (int i = 0; i < 4; ++i) {
            auto* action = new QAction(QString::fromUtf8(orderItems[i].text), edit);
            action->setShortcut(orderItems[i].key);
            action->setShortcutContext(Qt::WidgetShortcut);
            connect(action, &QAction::triggered, this, [this, i] { orderLookup(i); });
            edit->addAction(action);
        }
    }
    for (QLineEdit* edit : {m_edits[ArticleFrom], m_edits[ArticleTo]}) {
        edit->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* action = new QAction(QStringLiteral("Procura Simples"), edit);
        action->setShortcut(QKeySequence(Qt::Key_Insert));
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, &RequirementsScreen::articleLookup);
        edit->addAction(action);
    }
    BotBegin = new kv::ui::TGlyphButton(QStringLiteral("&Processar"), panel);
    BotBegin->setObjectName(QStringLiteral("BotBegin"));
    BotBegin->setEnabled(false);
    layout->addWidget(BotBegin, 3, 3);
    connect(BotBegin, &kv::ui::TGlyphButton::clicked, this, &RequirementsScreen::BotBeginClick);
    return panel;
}

QWidget* RequirementsScreen::buildPreselectionPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    DBGrid1 = grid("DBGrid1", LOGSELENC1,
                   {col("CLISIGLA", "Nome do Cliente", 15), col("ARTIGO", "Artigo", 16),
                    col("DESIGN", "Designação", 30), col("COMPRIM", "Comp", 6), col("LARGURA", "Larg.", 6),
                    col("ALTURA", "Alt.", 6), col("QTDENC", "Encomendado", 11), col("EXIQTD", "Existência", 11),
                    col("QUANTIDADE", "A Processar", 11), tick("PROCESSAR")});
    DBGrid1->setEditableFields({QStringLiteral("QUANTIDADE")});
    layout->addWidget(DBGrid1, 2);
    auto* customer = new QHBoxLayout;
    customer->addWidget(new QLabel(QStringLiteral("Cliente : ")));
    Label_CliNro = new QLabel;
    Label_CliNro->setObjectName(QStringLiteral("Label_CliNro"));
    Label_CliNro->setMinimumWidth(Label_CliNro->fontMetrics().horizontalAdvance(QStringLiteral("999999999")));
    Label_CliNome = new QLabel;
    Label_CliNome->setObjectName(QStringLiteral("Label_CliNome"));
    Label_CliNome->setMinimumWidth(Label_CliNome->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('M'))));
    customer->addWidget(Label_CliNro);
    customer->addWidget(Label_CliNome);
    customer->addStretch(1);
    layout->addLayout(customer);
    layout->addWidget(
        grid("DBGrid2", ENCCLIDETCONS,
             {col("ORCNRO", "Orcam. Nº", 9), col("ENCNRO", "Enc.Nº", 9), col("DATEMI", "Data Emiss.", 10),
              col("DATAENTRG", "Data Entrg.", 10), col("SEMANA", "Sem.", 4), col("UNVEND", "Und", 4),
              col("PRECOVENDA", "Preço", 10), col("QTDCAR", "Qtd.Cart.", 11), col("VALLIQCAR", "Valor Cart.", 11)}),
        1);
    setEnterHandler(DBGrid1, [this] {
        if (LOGSELENC1->isOpen() && !LOGSELENC1->isEmpty())
            LOGSELENC1->edit();
        showPreselectionRow();
    });
    setExitHandler(DBGrid1, [this] {
        if (!LOGSELENC1->isOpen())
            return;
        if (LOGSELENC1->state() == kv::db::DatasetState::Edit)
            LOGSELENC1->post();
        LOGSELENC1->applyUpdates();
    });
    connect(LOGSELENC1, &Dataset::currentChanged, this, [this] { showPreselectionRow(); });
    return page;
}

QWidget* RequirementsScreen::buildConsumptionPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    DBGridConsumos = grid("DBGridConsumos", LOGARTIGOS,
                          {col("ARTIGO", "Artigo", 16), col("DESIGN", "Designação", 30), col("UNIDADE", "Und", 4),
                           col("QUANTIDADE", "Consumo", 12), col("TOTEXIQTD", "Existência", 12),
                           col("TOTQTDENCFRN", "Encom.Forn.", 12), col("QTDREQINT", "Requisitado", 12),
                           col("TOTCONSUMO", "A Processar", 12)});
    layout->addWidget(DBGridConsumos, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    BotRefresh = new kv::ui::TGlyphButton(QStringLiteral("&Refrescar"), page);
    BotRefresh->setObjectName(QStringLiteral("BotRefresh"));
    row->addWidget(BotRefresh);
    if (manufacture()) {
        auto* print = new kv::ui::TGlyphButton(QStringLiteral("&Imprimir"), page);
        print->setObjectName(QStringLiteral("BitPrint"));
        print->setToolTip(QStringLiteral("Imprimir Orçamentos"));
        row->addWidget(print);
        connect(print, &kv::ui::TGlyphButton::clicked, this, [this] {
            RequirementListReport(*LOGARTIGOS, m_limits, m_session.state().WEmpNom, m_session.state().WRodape)
                .preview(this);
        });
    }
    layout->addLayout(row);
    connect(BotRefresh, &kv::ui::TGlyphButton::clicked, this, [this] {
        Processar();
        focusField(DBGridConsumos);
    });
    connect(DBGridConsumos->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showPicture(LOGARTIGOS->value(QStringLiteral("ARTIGO")).toString()); });
    return page;
}

QWidget* RequirementsScreen::buildSupplierOrdersPage()
{
    PageEncFornecedores = new QTabWidget;
    PageEncFornecedores->setObjectName(QStringLiteral("PageEncFornecedores"));

    auto* lines = new QWidget;
    auto* layout = new QVBoxLayout(lines);
    auto* head = new QHBoxLayout;
    Label_Artigo = new QLabel;
    Label_Artigo->setObjectName(QStringLiteral("Label_Artigo"));
    Label_Design = new QLabel;
    Label_Design->setObjectName(QStringLiteral("Label_Design"));
    Label_TotEnc = new QLabel;
    Label_TotEnc->setObjectName(QStringLiteral("Label_TotEnc"));
    Label_TotEnc->setMinimumWidth(Label_TotEnc->fontMetrics().horizontalAdvance(QStringLiteral("999999999.999")));
    Label_TotEnc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head->addWidget(Label_Artigo);
    head->addWidget(Label_Design, 1);
    head->addWidget(new QLabel(QStringLiteral("Tot : ")));
    head->addWidget(Label_TotEnc);
    layout->addLayout(head);
    DBGridFrnEnc = grid("DBGridFrnEnc", LOGFRNENC,
                        {col("ENCNRO", "N/Enc.Nº", 9), col("DATEMI", "Emissão", 10), col("DATAENTRG", "Dat.Entrg", 10),
                         col("FRNNRO", "Forn.Nº", 7), col("FRNNOME", "Nome Fornecedor", 30),
                         col("QTDENC", "Qtd.Enc.", 12), col("QTDCAR", "Carteira", 12)});
    layout->addWidget(DBGridFrnEnc, 1);
    PageEncFornecedores->addTab(lines, QStringLiteral("Enc.Fornecedores"));

    auto* order = new QWidget;
    auto* orderLayout = new QVBoxLayout(order);
    // The order's header and totals, each caption with the value it shows.
    auto* header = new QGridLayout;
    const char* titles[] = {"Fornecedor Nº :",   "Nome :",        "Morada :",     "Cód.Postal :", "N.I.F. :",
                            "Código Desconto :", "% Desc.Fixo :", "Cond.Pagto :", "Moeda : ",     "Câmbio : ",
                            "N/Encomenda Nº :",  "Mercadoria",    "Desconto",     "Valor Total",  "Quant."};
    for (int i = 0; i < static_cast<int>(m_orderHeader.size()); ++i) {
        header->addWidget(new QLabel(QString::fromUtf8(titles[i])), i / 4, (i % 4) * 2);
        m_orderHeader[static_cast<std::size_t>(i)] = new QLabel;
        m_orderHeader[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Label_Enc%1").arg(i + 1));
        header->addWidget(m_orderHeader[static_cast<std::size_t>(i)], i / 4, (i % 4) * 2 + 1);
    }
    orderLayout->addLayout(header);
    orderLayout->addWidget(
        grid("DBGridFrnEncDet", FRNENCDET,
             {col("ARTIGO", "Artigo", 16), col("DESIGNACAO", "Designação", 30), col("COMPRI", "Compr.", 7),
              col("LARGUR", "Largura", 7), col("ALTURA", "Altura", 7), col("DATAENTRG", "Data Entrg.", 10),
              col("QUANTID", "Qtd.Enc.", 11), col("UNVEND", "Un.", 4), col("PRCDESCRI", "Descto", 8),
              col("PRECOVENDA", "Preço €", 10), col("VALLIQUIDO", "Valor €", 11)}),
        1);
    PageEncFornecedores->addTab(order, QStringLiteral("N/ Encomenda"));

    auto showArticle = [this] {
        const bool has = LOGARTIGOS->isOpen() && !LOGARTIGOS->isEmpty();
        Label_Artigo->setText(has ? LOGARTIGOS->value(QStringLiteral("ARTIGO")).toString() : QString());
        Label_Design->setText(has ? LOGARTIGOS->value(QStringLiteral("DESIGN")).toString() : QString());
        Label_TotEnc->setText(has ? threeDecimals(LOGARTIGOS->value(QStringLiteral("QTDENCFRN"))) : QString());
    };
    connect(LOGARTIGOS, &Dataset::closed, this, showArticle);
    connect(LOGARTIGOS, &Dataset::currentChanged, this, showArticle);
    auto showOrder = [this] {
        const bool has = FRNENCMAS->isOpen() && !FRNENCMAS->isEmpty();
        auto v = [this, has](const char* f) {
            return has ? FRNENCMAS->value(QString::fromLatin1(f)).toString() : QString();
        };
        auto money = [this, has](const char* f, const char* foreign) {
            return has ? kv::text::number(FRNENCMAS->value(QString::fromLatin1(f)).toDouble(), 2)
                             + QStringLiteral(" / ")
                             + kv::text::number(FRNENCMAS->value(QString::fromLatin1(foreign)).toDouble(), 2)
                       : QString();
        };
        const QString postalCode = v("CODPOSTAL");
        const QStringList texts{
            v("FRNNRO"),
            v("FRNNOM"),
            (v("MORADA1") + QLatin1Char(' ') + v("MORADA2")).trimmed(),
            has ? (postalCode + QLatin1Char(' ') + Data::locality(*m_inv, postalCode)).trimmed() : QString(),
            (v("SIGLA") + QLatin1Char(' ') + v("NIF")).trimmed(),
            v("CODDES"),
            v("DESFIX"),
            has ? (v("CNDPGT") + QLatin1Char(' ')
                   + Data::paymentConditionText(*m_inv, FRNENCMAS->value(QStringLiteral("CNDPGT")).toInt()))
                      .trimmed()
                : QString(),
            v("MOEDA"),
            v("CAMBIO"),
            has ? v("ENCNRO") + QLatin1Char(' ') + kv::text::date(FRNENCMAS->value(QStringLiteral("DATEMI")).toDate())
                : QString(),
            money("VALMERC", "VALMERC_EST"),
            money("VALDESC", "VALDESC_EST"),
            money("VALTOT", "VALTOT_EST"),
            has ? kv::text::number(FRNENCMAS->value(QStringLiteral("TOTQTD")).toDouble(), 3) : QString()};
        for (std::size_t i = 0; i < m_orderHeader.size(); ++i)
            m_orderHeader[i]->setText(texts[static_cast<int>(i)]);
    };
    connect(FRNENCMAS, &Dataset::closed, this, showOrder);
    connect(FRNENCMAS, &Dataset::currentChanged, this, showOrder);
    connect(DBGridFrnEnc->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showPicture(LOGFRNENC->value(QStringLiteral("CODIGOMP")).toString()); });
    connect(PageEncFornecedores, &QTabWidget::currentChanged, this, [this] {
        showPicture(LOGFRNENC->isOpen() ? LOGFRNENC->value(QStringLiteral("CODIGOMP")).toString() : QString());
    });
    return PageEncFornecedores;
}

QWidget* RequirementsScreen::buildProposalPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    GridColumn delivery = col("DATAENTRG", "Entrega", 10);
    delivery.format = [](const QVariant& v) { return kv::text::date(v.toDate()); };
    DBGridArtgForn =
        grid("DBGridArtgForn", LOGARTGFORN1,
             {col("ARTIGO", "Artigo", 16), col("DESIGN", "Designação", 30), col("QUANTIDADE", "Quantidade", 11),
              col("FORNECEDOR", "Forn.Nº", 7), col("NOME", "Nome Fornecedor", 30), col("PRECO", "Preço €", 10),
              delivery, tick("PROCESSAR")});
    DBGridArtgForn->setEditableFields({QStringLiteral("QUANTIDADE"), QStringLiteral("FORNECEDOR"),
                                       QStringLiteral("PRECO"), QStringLiteral("DATAENTRG")});
    layout->addWidget(DBGridArtgForn, 1);
    // The supplier pop-up menu of the proposal's editors.
    DBGridArtgForn->setContextMenuPolicy(Qt::ActionsContextMenu);
    const std::pair<const char*, int> items[] = {{"Fornecedores do Artigo", Qt::Key_F1},
                                                 {"Outros Fornecedores (Num)", Qt::Key_F2},
                                                 {"Outros Fornecedores ( Alfa )", Qt::Key_F3}};
    for (int i = 0; i < 3; ++i) {
        auto* action = new QAction(QString::fromUtf8(items[i].first), DBGridArtgForn);
        action->setShortcut(QKeySequence(items[i].second));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, i] {
            if (i == 0)
                priceListLookup();
            else
                supplierLookup(i == 2);
        });
        DBGridArtgForn->addAction(action);
    }
    // A cell editor closing is leaving that editor: its exit rule runs.
    connect(DBGridArtgForn->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
        // The cell under the editor: the grid may already have moved on.
        const int column = DBGridArtgForn->indexAt(editor->geometry().center()).column();
        const auto& columns = DBGridArtgForn->datasetModel()->columns();
        if (column >= 0 && column < static_cast<int>(columns.size()))
            proposalEdited(columns[static_cast<std::size_t>(column)].field);
        // The exit rules post the row; leaving the column still leaves it in edit.
        if (manufacture())
            editProposalRow();
    });
    connect(DBGridArtgForn->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showPicture(LOGARTGFORN1->value(QStringLiteral("ARTIGO")).toString()); });
    if (manufacture()) {
        // The manufacture proposal is typed across the row: entering the grid or
        // moving between its columns keeps the current row in edit.
        setEnterHandler(DBGridArtgForn, [this] { editProposalRow(); });
        connect(DBGridArtgForn->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
                [this] { editProposalRow(); });
        setExitHandler(DBGridArtgForn, [this] { applyProposal(); });
    }
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    BotProcessar = new kv::ui::TGlyphButton(QStringLiteral("&Processar"), page);
    BotProcessar->setObjectName(QStringLiteral("BotProcessar"));
    row->addWidget(BotProcessar);
    layout->addLayout(row);
    connect(BotProcessar, &kv::ui::TGlyphButton::clicked, this, &RequirementsScreen::BotProcessarClick);
    return page;
}

// ------------------------------------------------------------------ activation

void RequirementsScreen::FormActivate()
{
    const auto& state = m_session.state();
    setMakerTag(state.WMarca);
    kv::ui::MessageServiceSink sink;
    const QString problem = SupplierDocuments(*m_app, *m_inv, sink, documentContext()).parametersProblem();
    if (!problem.isEmpty()) {
        // Only the missing commercial parameters beep.
        if (problem.startsWith(QLatin1String("Parâmetros Gestão")))
            messages().beep();
        messages().error(problem);
        m_closing = true;
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
        return;
    }
    m_pictureFolder = Data::pictureFolder(*m_inv, state.WAno);
    m_limits = RequirementLimits::initial(state.WData);
    showLimits();
    OpenEncCliDet();
    m_processed = false;
    EnableEvents();
    PageControl1->setCurrentIndex(0);
    focusField(m_edits[OrderFrom]);
}

void RequirementsScreen::FormClose()
{
    for (Dataset* d : {ENCCLIDET, ENCCLIMAS1, LOGSELENC1, ENCCLIDETCONS, FRNENCDET, FRNENCMAS, LOGFRNENC, LOGARTIGOS,
                       LOGARTGFORN1, STKARTGFORN, FORNECEDORES})
        d->close();
}

void RequirementsScreen::EnableEvents() { kv::ui::Form::EnableEvents(); }

void RequirementsScreen::DisableEvents() { kv::ui::Form::DisableEvents(); }

void RequirementsScreen::showLimits()
{
    m_edits[OrderFrom]->setText(QString::number(m_limits.orderFrom));
    m_edits[OrderTo]->setText(QString::number(m_limits.orderTo));
    m_edits[DateFrom]->setText(kv::text::date(m_limits.deliveryFrom));
    m_edits[DateTo]->setText(kv::text::date(m_limits.deliveryTo));
    m_edits[CustomerFrom]->setText(QString::number(m_limits.customerFrom));
    m_edits[CustomerTo]->setText(QString::number(m_limits.customerTo));
    m_edits[ArticleFrom]->setText(m_limits.articleFrom);
    m_edits[ArticleTo]->setText(m_limits.articleTo);
}

// ------------------------------------------------------------------ limits

void RequirementsScreen::enterLimit(Limit limit)
{
    if (limit == OrderFrom || limit == OrderTo)
        m_lastOrderEdit = limit;
    if (limit == ArticleFrom || limit == ArticleTo)
        m_lastArticleEdit = limit;
    if (limit == OrderFrom) {
        OpenLogSelEnc();
        ENCCLIDETCONS->close();
        Label_CliNro->clear();
        Label_CliNome->clear();
        m_limits.articleFrom.clear();
        m_limits.articleTo = AllArticles;
        m_edits[ArticleFrom]->clear();
        m_edits[ArticleTo]->setText(AllArticles);
    } else if (limit == ArticleFrom || limit == ArticleTo) {
        OpenEncCliDet();
        OpenLogSelEnc();
        if (limit == ArticleTo)
            m_limits.articleTo = AllArticles;
    }
}

void RequirementsScreen::leaveLimit(Limit limit)
{
    const QString text = m_edits[limit]->text();
    auto integer = [this, &text](int& target) {
        const auto value = kv::text::parseInteger(text);
        if (!value) {
            rejectField(kv::text::notAnIntegerMessage(text));
            return false;
        }
        target = static_cast<int>(*value);
        return true;
    };
    auto resetArticleValues = [this] {
        m_limits.articleFrom.clear();
        m_limits.articleTo = AllArticles;
    };
    switch (limit) {
    case OrderFrom:
        if (blank(text))
            return rejectField(QStringLiteral("LIMITE DE ENCOMENDAS INVÁLIDO!!!"));
        if (!integer(m_limits.orderFrom))
            return;
        resetArticleValues();
        OpenEncCliDet();
        return;
    case OrderTo: {
        int to = 0;
        if (!blank(text) && !integer(to))
            return;
        if (blank(text) || to < m_limits.orderFrom) {
            messages().beep();
            messages().error(QStringLiteral("LIMITE DE ENCOMENDAS INVÁLIDO!!!"));
            m_limits.orderFrom = 0;
            m_limits.orderTo = 0;
            m_edits[OrderFrom]->clear();
            m_edits[OrderTo]->clear();
            focusField(m_edits[OrderFrom]);
            return;
        }
        m_limits.orderTo = to;
        resetArticleValues();
        OpenEncCliDet();
        return;
    }
    case DateFrom:
    case DateTo: {
        if (text == EmptyDate || blank(QString(text).remove(QLatin1Char('/'))))
            return rejectField(QStringLiteral("Data Inválida ..."));
        const auto date = kv::text::parseDate(text);
        if (!date)
            return rejectField(kv::text::notADateMessage(text));
        (limit == DateFrom ? m_limits.deliveryFrom : m_limits.deliveryTo) = *date;
        if (limit == DateTo && m_limits.deliveryTo < m_limits.deliveryFrom)
            rejectField(QStringLiteral("Limite de Datas Inválido ..."));
        return;
    }
    case CustomerFrom:
        if (blank(text))
            m_limits.customerFrom = 0;
        else
            integer(m_limits.customerFrom);
        return;
    case CustomerTo: {
        int to = 0;
        if (!blank(text) && !integer(to))
            return;
        if (blank(text) || to < m_limits.customerFrom)
            return rejectField(QStringLiteral("Limite de Clientes Inválido ..."));
        m_limits.customerTo = to;
        return;
    }
    case ArticleFrom: m_limits.articleFrom = text; return;
    case ArticleTo:
        // Character codes, not the collation of the database.
        if (text.isEmpty() || text < m_limits.articleFrom)
            return rejectField(QStringLiteral("LIMITE DE ARTIGOS INVÁLIDO!!!"));
        m_limits.articleTo = text;
        OpenEncCliDet();
        if (!m_calculation->preselect(m_limits)) {
            messages().beep();
            messages().error(QStringLiteral("NÃO EXISTEM ENCOMENDAS DENTRO DOS LIMITES SELECCIONADOS !!!"));
            EnableEvents();
            focusField(m_edits[OrderFrom]);
            return;
        }
        LOGSELENC1->close();
        LOGSELENC1->open();
        BotBegin->setEnabled(true);
        LOGSELENC1->last();
        focusField(DBGrid1);
        return;
    }
}

void RequirementsScreen::OpenEncCliDet()
{
    ENCCLIDET->close();
    ENCCLIDET->setParam(QStringLiteral("E1"), m_limits.orderFrom);
    ENCCLIDET->setParam(QStringLiteral("E2"), m_limits.orderTo);
    ENCCLIDET->setParam(QStringLiteral("A1"), m_limits.articleFrom);
    ENCCLIDET->setParam(QStringLiteral("A2"), m_limits.articleTo);
    ENCCLIDET->open();
}

void RequirementsScreen::OpenLogSelEnc()
{
    m_calculation->clearSelection();
    LOGSELENC1->close();
    showPages(0, -1);
    BotBegin->setEnabled(false);
}

void RequirementsScreen::orderLookup(int order)
{
    ENCCLIMAS1->close();
    ENCCLIMAS1->setSql(Data::openOrders(static_cast<Data::OrderLookupOrder>(order)));
    ENCCLIMAS1->open();
    const GridColumn number = col("ENCNRO", "Enc.Nº", 9), date = col("DATEMI", "Data Emissão", 10),
                     customer = col("CLINRO", "Cliente Nº", 9), name = col("CLINOM", "Nome de Cliente", 30);
    const std::vector<GridColumn> columns[] = {
        {number, date, customer, name}, {name, number, date}, {date, customer, name, number}, {date, name, number}};
    kv::ui::LookupDialog dialog(*ENCCLIMAS1, columns[order], this, QStringLiteral("Localizar"));
    // Cancel in a look-up changes nothing.
    if (dialog.exec() == QDialog::Accepted && !ENCCLIMAS1->isEmpty())
        m_edits[m_lastOrderEdit]->setText(ENCCLIMAS1->value(QStringLiteral("ENCNRO")).toString());
}

void RequirementsScreen::articleLookup()
{
    if (!ENCCLIDET->isOpen())
        OpenEncCliDet();
    kv::ui::LookupDialog dialog(*ENCCLIDET, {col("ARTIGO", "Artigo", 16), col("DESIGNACAO", "Designação", 30)}, this);
    if (dialog.exec() == QDialog::Accepted && !ENCCLIDET->isEmpty())
        m_edits[m_lastArticleEdit]->setText(ENCCLIDET->value(QStringLiteral("ARTIGO")).toString());
}

// ------------------------------------------------------------------ pages

void RequirementsScreen::showPreselectionRow()
{
    if (!LOGSELENC1->isOpen() || LOGSELENC1->isEmpty()) {
        showPicture({});
        return;
    }
    const int customer = LOGSELENC1->value(QStringLiteral("CLINRO")).toInt();
    const QString article = LOGSELENC1->value(QStringLiteral("ARTIGO")).toString();
    Label_CliNro->setText(QString::number(customer));
    Label_CliNome->setText(Data::customerName(*m_inv, customer).value_or(QStringLiteral("CLIENTE INEXISTENTE ...")));
    showPicture(article);
    ENCCLIDETCONS->close();
    ENCCLIDETCONS->setParam(QStringLiteral("CLINRO"), customer);
    ENCCLIDETCONS->setParam(QStringLiteral("ARTIGO"), article);
    ENCCLIDETCONS->setParam(QStringLiteral("E1"), m_limits.orderFrom);
    ENCCLIDETCONS->setParam(QStringLiteral("E2"), m_limits.orderTo);
    ENCCLIDETCONS->setParam(QStringLiteral("D1"), QDateTime(m_limits.deliveryFrom, QTime()));
    ENCCLIDETCONS->setParam(QStringLiteral("D2"), QDateTime(m_limits.deliveryTo.addDays(1), QTime()));
    ENCCLIDETCONS->open();
}

void RequirementsScreen::showPicture(const QString& article)
{
    const QString path = article.isEmpty()
                             ? QString()
                             : kv::quotes::articlePicturePath(m_session.installation(), m_pictureFolder, article, 1);
    if (path.isEmpty()) {
        Picture->setPicture(nullptr);
        PictureCaption->clear();
        return;
    }
    Picture->setImageName(path);
    PictureCaption->setText(QStringLiteral("(01)"));
}

void RequirementsScreen::showPages(int main, int processing)
{
    // A page hidden under the focus would hand it on to the next control, the
    // limit edits among them, whose entry empties the work tables.
    QWidget* focus = QApplication::focusWidget();
    if (focus && PageControl1->isAncestorOf(focus))
        PageControl1->tabBar()->setFocus();
    m_switching = true;
    PageControl1->setCurrentIndex(main);
    if (processing >= 0)
        PageProcessamento->setCurrentIndex(processing);
    m_switching = false;
}

void RequirementsScreen::mainPageChanged(int index)
{
    if (m_switching)
        return;
    if (index == 1 && !m_processed) {
        showPages(0, -1);
        focusField(DBGrid1);
        return;
    }
    if (index == 1) {
        showPages(1, 0);
        focusField(DBGridConsumos);
    }
}

void RequirementsScreen::processingPageChanged(int index)
{
    if (m_switching)
        return;
    if (index == 1)
        PageEncFornecedores->setCurrentIndex(0);
    if (index == 2)
        showProposal();
}

void RequirementsScreen::showProposal()
{
    kv::ui::MessageServiceSink sink;
    if (!SupplierDocuments(*m_app, *m_inv, sink, documentContext())
             .userSeries(m_variant.variant == RequirementVariant::Manufacture)) {
        messages().error(QStringLiteral("UTILIZADOR INEXISTENTE !!!"));
        showPages(1, 0);
        return;
    }
    LOGARTGFORN1->close();
    m_calculation->propose(m_session.state().WData);
    LOGARTGFORN1->open();
    showPages(1, 2);
    focusField(DBGridArtgForn);
}

void RequirementsScreen::Processar()
{
    setStatusText(0, QStringLiteral("Necessidades  ..."));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    for (Dataset* d : {FRNENCDET, FRNENCMAS, LOGFRNENC, LOGARTIGOS})
        d->close();
    m_calculation->calculate(m_limits,
                             [](int, int) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    LOGSELENC1->close();
    LOGSELENC1->open();
    m_processed = true;
    LOGARTIGOS->open();
    for (Dataset* detail : {LOGFRNENC, FRNENCMAS, FRNENCDET})
        detail->open();
    setStatusText(0, {});
}

void RequirementsScreen::BotBeginClick()
{
    m_processed = false;
    if (LOGSELENC1->isOpen()) {
        if (LOGSELENC1->state() == kv::db::DatasetState::Edit)
            LOGSELENC1->post();
        LOGSELENC1->applyUpdates();
    }
    Processar();
    showPages(1, 0);
    focusField(DBGridConsumos);
}

// ------------------------------------------------------------------ proposal

namespace {

// The editable part of the current proposal row, and back.
ProposalChoice proposalRow(const Dataset& d)
{
    return {d.value(QStringLiteral("FORNECEDOR")).toInt(), d.value(QStringLiteral("NOME")).toString(),
            d.value(QStringLiteral("PRECO")).toDouble(),
            d.value(QStringLiteral("PROCESSAR")).toString() == QLatin1String("S")};
}

void storeProposalRow(Dataset& d, const ProposalChoice& row)
{
    if (d.state() != kv::db::DatasetState::Edit)
        d.edit();
    d.setValue(QStringLiteral("FORNECEDOR"), row.supplier);
    d.setValue(QStringLiteral("NOME"), row.name);
    d.setValue(QStringLiteral("PRECO"), row.price);
    d.setValue(QStringLiteral("PROCESSAR"), row.ticked ? QStringLiteral("S") : QStringLiteral("N"));
    d.post();
}

} // namespace

DocumentContext RequirementsScreen::documentContext() const
{
    const auto& state = m_session.state();
    return {state.WUtil, state.WAno, state.WData};
}

void RequirementsScreen::proposalEdited(const QString& field)
{
    if (m_fixingProposal || !LOGARTGFORN1->isOpen() || LOGARTGFORN1->isEmpty())
        return;
    m_fixingProposal = true;
    ProposalChoice row = proposalRow(*LOGARTGFORN1);
    QString message;
    if (field == QLatin1String("FORNECEDOR")) {
        message = leaveSupplier(row, row.supplier > 0 ? Data::supplierName(*m_inv, row.supplier) : std::nullopt);
        storeProposalRow(*LOGARTGFORN1, row);
    } else if (field == QLatin1String("PRECO")) {
        message = leavePrice(row);
        storeProposalRow(*LOGARTGFORN1, row);
    } else if (field == QLatin1String("DATAENTRG")) {
        kv::ui::MessageServiceSink sink;
        message = SupplierDocuments(*m_app, *m_inv, sink, documentContext())
                      .deliveryDateProblem(LOGARTGFORN1->value(QStringLiteral("DATAENTRG")));
    }
    m_fixingProposal = false;
    if (message.isEmpty())
        return;
    messages().beep();
    messages().error(message);
    // A supplier without a price goes back to the supplier.
    const QString back = field == QLatin1String("PRECO") ? QStringLiteral("FORNECEDOR") : field;
    const auto& columns = DBGridArtgForn->datasetModel()->columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c].field == back)
            DBGridArtgForn->setCurrentIndex(
                DBGridArtgForn->model()->index(LOGARTGFORN1->currentRow(), static_cast<int>(c)));
    focusField(DBGridArtgForn);
}

void RequirementsScreen::priceListLookup()
{
    if (!LOGARTGFORN1->isOpen() || LOGARTGFORN1->isEmpty())
        return;
    STKARTGFORN->close();
    STKARTGFORN->setParam(QStringLiteral("CODARTG"), LOGARTGFORN1->value(QStringLiteral("ARTIGO")));
    STKARTGFORN->open();
    kv::ui::LookupDialog dialog(*STKARTGFORN, {col("CODFORN", "Fornecedor Nº", 9), col("NOME", "Nome", 30)}, this);
    if (dialog.exec() != QDialog::Accepted || STKARTGFORN->isEmpty())
        return;
    auto v = [this](const QString& f) { return STKARTGFORN->value(f).toDouble(); };
    DiscountTiers tiers;
    tiers.baseDiscount = v(QStringLiteral("PRCDESC"));
    for (int i = 0; i < 4; ++i) {
        tiers.quantity[static_cast<std::size_t>(i)] = v(QStringLiteral("DESCQTD%1").arg(i + 1));
        tiers.discount[static_cast<std::size_t>(i)] = v(QStringLiteral("DESCPRCDESC%1").arg(i + 1));
    }
    m_fixingProposal = true;
    ProposalChoice row = proposalRow(*LOGARTGFORN1);
    row.supplier = STKARTGFORN->value(QStringLiteral("CODFORN")).toInt();
    row.name = STKARTGFORN->value(QStringLiteral("NOME")).toString();
    row.price = v(QStringLiteral("PRECO"));
    storeProposalRow(*LOGARTGFORN1, row);
    LOGARTGFORN1->edit();
    LOGARTGFORN1->setValue(QStringLiteral("VOSREF"), STKARTGFORN->value(QStringLiteral("VOSREF")));
    LOGARTGFORN1->setValue(QStringLiteral("DESCTO"),
                           tierDiscount(tiers, LOGARTGFORN1->value(QStringLiteral("QUANTIDADE")).toDouble()));
    LOGARTGFORN1->post();
    m_fixingProposal = false;
    if (row.price != 0)
        proposalEdited(QStringLiteral("PRECO"));
}

void RequirementsScreen::supplierLookup(bool byName)
{
    if (!LOGARTGFORN1->isOpen() || LOGARTGFORN1->isEmpty())
        return;
    FORNECEDORES->close();
    FORNECEDORES->setSql(Data::suppliers(byName));
    FORNECEDORES->open();
    const GridColumn code = col("CODIGO", "Fornecedor", 9), name = col("NOME", "Nome", 30);
    kv::ui::LookupDialog dialog(
        *FORNECEDORES, byName ? std::vector<GridColumn>{name, code} : std::vector<GridColumn>{code, name}, this);
    if (dialog.exec() != QDialog::Accepted || FORNECEDORES->isEmpty())
        return;
    m_fixingProposal = true;
    ProposalChoice row = proposalRow(*LOGARTGFORN1);
    row.supplier = FORNECEDORES->value(QStringLiteral("CODIGO")).toInt();
    row.name = FORNECEDORES->value(QStringLiteral("NOME")).toString();
    storeProposalRow(*LOGARTGFORN1, row);
    m_fixingProposal = false;
}

// ------------------------------------------------------------------ the document

void RequirementsScreen::editProposalRow()
{
    if (LOGARTGFORN1->isOpen() && !LOGARTGFORN1->isEmpty() && LOGARTGFORN1->state() == kv::db::DatasetState::Browse)
        LOGARTGFORN1->edit();
}

void RequirementsScreen::applyProposal()
{
    if (!LOGARTGFORN1->isOpen())
        return;
    if (LOGARTGFORN1->state() == kv::db::DatasetState::Edit)
        LOGARTGFORN1->post();
    LOGARTGFORN1->applyUpdates();
}

bool RequirementsScreen::FormKeyPress(QKeyEvent* event)
{
    // In the manufacture variant Enter moves between the proposal's columns.
    if (manufacture() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (QApplication::focusWidget() == DBGridArtgForn
            || DBGridArtgForn->isAncestorOf(QApplication::focusWidget()))) {
        const QModelIndex current = DBGridArtgForn->currentIndex();
        const int next = current.column() + 1 < DBGridArtgForn->model()->columnCount() ? current.column() + 1 : 0;
        DBGridArtgForn->setCurrentIndex(DBGridArtgForn->model()->index(current.row(), next));
        return true;
    }
    return kv::ui::Form::FormKeyPress(event);
}

void RequirementsScreen::BotProcessarClick()
{
    applyProposal();
    if (manufacture()) {
        writeOrders();
        return;
    }
    kv::ui::MessageServiceSink sink;
    SupplierDocuments documents(*m_app, *m_inv, sink, documentContext());
    const std::optional<int> number = documents.writeRequisition();
    if (!number)
        return;
    if (!messages().question(QStringLiteral("Deseja Imprimir ?")))
        return;
    print(*number);
}

void RequirementsScreen::print(int number)
{
    kv::ui::MessageServiceSink sink;
    SupplierDocuments documents(*m_app, *m_inv, sink, documentContext());
    const QString year = m_session.state().WAno;
    documents.emptyQueue();
    documents.queueRequisition(number);
    setStatusText(0, QStringLiteral("Requisição nº : ") + QString::number(number));
    RequisitionReport(RequisitionPrint::read(*m_inv, m_session.state().WUtil, number, year),
                      kv::quotes::Letterhead::read(*m_inv, year), Data::printsColoursAndSizes(*m_inv, year))
        .preview(this);
    documents.emptyQueue();
    setStatusText(0, {});
    // Back from the print: the new requisition counts as requested.
    Processar();
    showProposal();
}

void RequirementsScreen::writeOrders()
{
    kv::ui::MessageServiceSink sink;
    SupplierDocuments documents(*m_app, *m_inv, sink, documentContext());
    const PurchaseOrderRun run = documents.writePurchaseOrders();
    showPages(0, -1);
    if (!messages().question(QStringLiteral("Deseja Imprimir ?")))
        return;
    const auto& state = m_session.state();
    documents.emptyQueue();
    if (!run.empty()) {
        documents.queuePurchaseOrders(run);
        setStatusText(0, QStringLiteral("Encomenda nº : ") + QString::number(run.last()));
        PurchaseOrderReport(PurchaseOrderPrint::read(*m_inv, state.WUtil, run.first(), run.last(), state.WAno),
                            kv::quotes::Letterhead::read(*m_inv, state.WAno), state.WFicTec == QLatin1String("F"))
            .preview(this);
        documents.emptyQueue();
        setStatusText(0, {});
    }
    // Back from the print: the new orders count as undelivered supplier quantity.
    Processar();
    showProposal();
}

} // namespace kv::production
