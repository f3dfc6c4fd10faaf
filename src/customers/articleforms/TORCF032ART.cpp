#include "customers/articleforms/TORCF032ART.h"

#include "customers/articleforms/ArticlePicturesPage.h"
#include "customers/articles/ArticlePictureFiles.h"
#include "platform/db/DataModule.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/notes/NotesEditor.h"
#include "platform/notes/NotesFolder.h"
#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SideDoor.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"
#include "shell/ShellDataModules.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::customers {

using kv::ui::messages;

namespace {

const QString Tabelas = QStringLiteral("Tabelas");
const QString InvalidArticle = QStringLiteral("ARTIGO INVALIDO ... <ENTER>");
const QString ArticleOpened = QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>");
const QString LookupHint = QStringLiteral("Tecla ... <INS> Procurar ...");

// The article types the type field lists; it accepts "1" to "10".
const char* const TypeNames[] = {"Produto",
                                 "Mercadoria",
                                 "Serviço",
                                 "Amostra",
                                 "Feitio",
                                 "Matéria Prima",
                                 "Semi-Laborados",
                                 "Matéria Subsidiária",
                                 "Materiais Diversos",
                                 "Embal. Consumo",
                                 "Diversos"};

kv::ui::GridColumn col(const char* field, const char* title, int width)
{
    return kv::ui::GridColumn{QString::fromLatin1(field), QString::fromUtf8(title), width, {}, false, {}};
}

kv::ui::TGlyphButton* button(const QString& caption, const QString& name, const QString& hint = {})
{
    auto* b = new kv::ui::TGlyphButton(caption);
    b->setObjectName(name);
    if (!hint.isEmpty())
        b->SetHint(hint);
    return b;
}

QLineEdit* display(int characters, const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    kv::ui::setFieldWidth(edit, characters);
    return edit;
}

// A label as wide as `characters` average characters of its font.
int labelWidth(const QWidget* label, int characters)
{
    return label->fontMetrics().averageCharWidth() * characters + 8;
}

// A field of a page: its component name, caption, width in characters and
// the column the save writes it to (none for the fields shown only).
struct Plain {
    const char* name;
    const char* caption;
    int width;
    const char* column;
};

QString customName(int n) { return QStringLiteral("Edit_Custom%1").arg(n); }

} // namespace

// The Insert-key lookup of a field: the list it opens and what it copies.
struct TORCF032ART::CodeLookup {
    QString caption;
    QString sql;
    bool accounting = false;
    std::vector<kv::ui::GridColumn> columns;
    QString copied;
};

TORCF032ART::TORCF032ART(kv::shell::FormEnvironment environment, const kv::ui::FormRegistry& forms,
                         ArticleSessionState& articles, const kv::install::Installation* installation, QWidget* parent)
    : Form(parent, 3), m_env(environment), m_forms(forms), m_articles(articles), m_installation(installation),
      m_file(environment.invoicing(), environment.state().WComputador, environment.state().WUtil,
             environment.accounting())
{
    setObjectName(QStringLiteral("ORCF032ART"));
    setWindowTitle(QStringLiteral("Abertura de Artigo"));

    auto* columns = new QHBoxLayout(body());
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 1);
    auto* header = new QGridLayout;
    left->addLayout(header);
    buildHeader(header);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("TabControl"));
    m_tabs->addTab(buildIdentificationPage(), QStringLiteral("Identificação"));
    m_tabs->addTab(buildBillingPage(), QStringLiteral("Facturação / Stocks"));
    m_pictures = new ArticlePicturesPage(*this, m_installation, [this] { return text(QStringLiteral("Edit_Codigo")); });
    m_tabs->addTab(m_pictures, QStringLiteral("Fotos"));
    m_tabs->addTab(buildNotesPage(), QStringLiteral("Informações"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page != m_page)
            pageChanged(page);
    });
    left->addWidget(m_tabs);
    columns->addWidget(m_pictures->thumbnailPanel(), 0, Qt::AlignTop);
    buildButtons();
}

TORCF032ART::~TORCF032ART() = default;

// --- layout -------------------------------------------------------------------

QLineEdit* TORCF032ART::addField(QGridLayout* grid, int row, int column, const QString& name, const QString& caption,
                                 int characters, const QString& savedColumn)
{
    auto* label = new QLabel(caption);
    label->setObjectName(QStringLiteral("Caption") + name.mid(4));
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    kv::ui::setFieldWidth(edit, characters);
    edit->setMaxLength(characters);
    auto* line = new QHBoxLayout;
    line->addWidget(edit);
    line->addStretch();
    grid->addWidget(label, row, column * 2);
    grid->addLayout(line, row, column * 2 + 1);
    setCaptionLabel(edit, label);
    m_edits[name] = edit;
    m_lines[name] = line;
    if (!savedColumn.isEmpty())
        m_savedColumns[name] = savedColumn;
    m_pageOf[name] = m_buildingPage;
    return edit;
}

void TORCF032ART::addLookup(const QString& field)
{
    QLineEdit* edit = m_edits.at(field);
    setKeyHint(edit, LookupHint);
    auto* find = new QAction(QStringLiteral("Procurar"), edit);
    find->setShortcut(Qt::Key_Insert);
    find->setShortcutContext(Qt::WidgetShortcut);
    connect(find, &QAction::triggered, this, [this, field] { lookup(field); });
    edit->addAction(find);
    edit->setContextMenuPolicy(Qt::ActionsContextMenu);
}

kv::ui::TGlyphButton* TORCF032ART::addDoor(const QString& field, const QString& name, const QString& hint)
{
    kv::ui::TGlyphButton* door = button(QStringLiteral("..."), name, hint);
    QHBoxLayout* line = lineOf(field);
    line->insertWidget(line->count() - 1, door);
    m_doors[name] = door;
    return door;
}

void TORCF032ART::buildHeader(QGridLayout* grid)
{
    QLineEdit* code =
        addField(grid, 0, 0, QStringLiteral("Edit_Codigo"), QStringLiteral("Código : "), 16, QStringLiteral("CODIGO"));
    setExitHandler(code, [this] { leaveCode(); });
    // The designations show their length; the save cuts them to 40.
    QLineEdit* design = addField(grid, 1, 0, QStringLiteral("Edit_Design"), QStringLiteral("Designação : "), 40,
                                 QStringLiteral("DESIGNACAO"));
    QLineEdit* design2 = addField(grid, 3, 0, QStringLiteral("Edit_Design2"), QStringLiteral("Designação 2 : "), 40,
                                  QStringLiteral("DESIGNACAO2"));
    for (QLineEdit* edit : {design, design2})
        edit->setMaxLength(32767);
    for (int i = 0; i < 2; ++i) {
        m_lengths[i] = new QLabel(QStringLiteral("00"));
        m_lengths[i]->setObjectName(QStringLiteral("LabelTam%1").arg(i + 1));
        QHBoxLayout* line = lineOf(i == 0 ? QStringLiteral("Edit_Design") : QStringLiteral("Edit_Design2"));
        line->insertWidget(line->count() - 1, m_lengths[i]);
    }
    setExitHandler(design, [this] { leaveDesignation(false); });
    setExitHandler(design2, [this] { leaveDesignation(true); });
    auto* labelCaption = new QLabel(QStringLiteral("Designação Etiqueta : "));
    m_labelDesign = new QLabel;
    m_labelDesign->setObjectName(QStringLiteral("Label_Design"));
    m_labelDesign->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_labelDesign->setFixedWidth(labelWidth(m_labelDesign, 40));
    grid->addWidget(labelCaption, 2, 0);
    grid->addWidget(m_labelDesign, 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
}

QWidget* TORCF032ART::buildIdentificationPage()
{
    m_buildingPage = Identification;
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageIdentificacao"));
    auto* grid = new QGridLayout(page);
    const Plain fields[] = {
        {"Edit_VosRef", "V/Referência : ", 15, "VOSREF"},
        {"Edit_TipoArtigo", "Tipo de Artigo :", 2, "TIPOARTIGO"},
        {"Edit_PosPautal", "Posição Pautal :", 18, "POSPAUTAL"},
        {"Edit_FactConv", "Factor Conversão :", 10, "FACTCONV"},
        {"Edit_UnConv", "Unid.Conversão : ", 3, "UNCONV"},
        {"Edit_Peso", "Peso (Kgs) :", 10, "PESO"},
        {"Edit_Volume", "Volume (m3) :", 10, "VOLUME"},
        {"Edit_Compri", "Comprimento (mm) :", 10, "COMPRIM"},
        {"Edit_Largur", "Largura (mm) :", 10, "LARGURA"},
        {"Edit_Altura", "Altura (mm) :", 10, "ALTURA"},
        {"Edit_Familia", "Família de Artigos :", 20, "FAMILIA"},
        {"Edit_CCusto", "C.Custo Nº : ", 8, "CCUSTO"},
        {"Edit_Composicao", "Composição : ", 7, "COMPOSICAO"},
    };
    int row = 0;
    for (const Plain& f : fields)
        addField(grid, row++, 0, QString::fromLatin1(f.name), QString::fromUtf8(f.caption), f.width,
                 QString::fromLatin1(f.column));

    QLineEdit* type = m_edits.at(QStringLiteral("Edit_TipoArtigo"));
    setEnterHandler(type, [this] { m_types->show(); });
    setExitHandler(type, [this] { leaveType(); });
    setKeyHint(m_edits.at(QStringLiteral("Edit_PosPautal")), LookupHint);
    setExitHandler(m_edits.at(QStringLiteral("Edit_PosPautal")), [this] { leaveTariff(); });
    setExitHandler(m_edits.at(QStringLiteral("Edit_Familia")), [this] { leaveFamily(); });
    setExitHandler(m_edits.at(QStringLiteral("Edit_CCusto")), [this] { leaveCostCentre(); });
    setExitHandler(m_edits.at(QStringLiteral("Edit_Composicao")), [this] { leaveComposition(); });
    for (const char* number :
         {"Edit_FactConv", "Edit_Peso", "Edit_Volume", "Edit_Compri", "Edit_Largur", "Edit_Altura"})
        setExitHandler(m_edits.at(QString::fromLatin1(number)),
                       [this, number] { leaveNumber(QString::fromLatin1(number)); });

    m_costCentreName = new QLabel;
    m_costCentreName->setObjectName(QStringLiteral("Label_CCustoNome"));
    m_costCentreName->setFixedWidth(labelWidth(m_costCentreName, 30));
    lineOf(QStringLiteral("Edit_CCusto"))->insertWidget(1, m_costCentreName);
    lineOf(QStringLiteral("Edit_Composicao"))->insertWidget(1, display(30, QStringLiteral("Edit_CompDesign")));
    addDoor(QStringLiteral("Edit_PosPautal"), QStringLiteral("BotPPautal"), QStringLiteral("Posição Pautal"));
    addDoor(QStringLiteral("Edit_Familia"), QStringLiteral("BotFamilia"), QStringLiteral("FAMÍLIAS"));
    addDoor(QStringLiteral("Edit_Composicao"), QStringLiteral("BotComposicao"), QStringLiteral("FAMÍLIAS"));
    connect(m_doors.at(QStringLiteral("BotPPautal")), &kv::ui::TGlyphButton::clicked, this, [this] {
        openSideDoor(QStringLiteral("TFACF019"), QStringLiteral("TFACFPR019"), {QStringLiteral("PPAUTAL")});
    });
    connect(m_doors.at(QStringLiteral("BotFamilia")), &kv::ui::TGlyphButton::clicked, this, [this] {
        openSideDoor(QStringLiteral("TFACF011"), QStringLiteral("TFACFPR011"),
                     {QStringLiteral("FAMILIAS"), QStringLiteral("FACPARGER")});
    });
    connect(m_doors.at(QStringLiteral("BotComposicao")), &kv::ui::TGlyphButton::clicked, this, [this] {
        openSideDoor(QStringLiteral("TFACF026"), QStringLiteral("TFACFPR026"), {QStringLiteral("ARTGCOMP")});
        showComposition();
    });

    // The customisation fields, captioned by the tables of the type's group.
    for (int n = 1; n <= 9; ++n) {
        QLineEdit* edit = addField(grid, n - 1, 1, customName(n), QStringLiteral("Custom %1 :").arg(n), 5,
                                   QStringLiteral("CUSTOM%1").arg(n));
        m_customCaptions[static_cast<std::size_t>(n - 1)] = captionLabel(edit);
        captionLabel(edit)->setObjectName(QStringLiteral("LabelArtigo%1").arg(n));
        captionLabel(edit)->setMinimumWidth(labelWidth(captionLabel(edit), 15));
        lineOf(customName(n))->insertWidget(1, display(20, QStringLiteral("Edit_NomeCustom%1").arg(n)));
        kv::ui::TGlyphButton* door =
            addDoor(customName(n), QStringLiteral("BotCustom%1").arg(n), QStringLiteral("Tabela de Customização"));
        m_customDoors[static_cast<std::size_t>(n - 1)] = door;
        connect(door, &kv::ui::TGlyphButton::clicked, this, [this, n] { openCustomisationTable(n); });
        setEnterHandler(edit, [this, n] { m_articles.WArtTabCod = QString::number(n); });
        setExitHandler(edit, [this, n] { leaveCustom(n); });
        connect(edit, &QLineEdit::textChanged, this, [this, n] {
            if (eventsEnabled() && !m_changingCustom)
                customChanged(n);
        });
    }

    // The list of types, shown while the type field is being edited.
    m_types = new QFrame;
    m_types->setObjectName(QStringLiteral("PanelTipoArtigo"));
    static_cast<QFrame*>(m_types)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* list = new QGridLayout(m_types);
    list->setContentsMargins(4, 2, 4, 2);
    list->setVerticalSpacing(0);
    for (int t = 0; t < 11; ++t)
        list->addWidget(new QLabel(QStringLiteral("%1 - %2").arg(t + 1).arg(QString::fromUtf8(TypeNames[t]))), t % 6,
                        t / 6);
    grid->addWidget(m_types, 9, 2, 4, 2, Qt::AlignTop | Qt::AlignLeft);
    m_types->hide();
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget* TORCF032ART::buildBillingPage()
{
    m_buildingPage = Billing;
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageFacturacao"));
    auto* layout = new QHBoxLayout(page);
    auto* billing = new QGroupBox(QStringLiteral("Facturação"));
    auto* stocks = new QGroupBox(QStringLiteral("Stocks"));
    auto* billingGrid = new QGridLayout(billing);
    auto* stocksGrid = new QGridLayout(stocks);
    int row = 0;
    for (int n = 1; n <= 4; ++n) {
        const QString name = QStringLiteral("Edit_Preco%1").arg(n);
        addField(billingGrid, row++, 0, name, QStringLiteral("Preço Venda (%1) :").arg(n), 12,
                 QStringLiteral("PRECO%1").arg(n));
        setExitHandler(m_edits.at(name), [this, name] { leaveNumber(name); });
    }
    addField(billingGrid, row++, 0, QStringLiteral("Edit_UnVenda"), QStringLiteral("Unidade Venda :"), 3,
             QStringLiteral("UNVENDA"));
    addField(billingGrid, row++, 0, QStringLiteral("Edit_Codiva"), QStringLiteral("Código IVA :"), 5,
             QStringLiteral("CODIVA"));
    addField(billingGrid, row++, 0, QStringLiteral("Edit_Comissao"), QStringLiteral("% Comissão :"), 5,
             QStringLiteral("COMISSAO"));
    for (const auto& [field, rate] :
         {std::pair{"Edit_Codiva", "Edit_PrcIva"}, std::pair{"Edit_Comissao", "Edit_PrcCom"}}) {
        QHBoxLayout* line = lineOf(QString::fromLatin1(field));
        line->insertWidget(1, display(8, QString::fromLatin1(rate)));
        line->insertWidget(2, new QLabel(QStringLiteral("%")));
    }
    setExitHandler(m_edits.at(QStringLiteral("Edit_Codiva")), [this] { leaveVat(); });
    // The rate shown is always the rate of the code in the field, however it got there.
    connect(m_edits.at(QStringLiteral("Edit_Codiva")), &QLineEdit::textChanged, this, [this] {
        if (eventsEnabled())
            showVatRate();
    });
    setExitHandler(m_edits.at(QStringLiteral("Edit_Comissao")), [this] { leaveCommission(); });
    addDoor(QStringLiteral("Edit_Codiva"), QStringLiteral("BotIva"), QStringLiteral("IVA"));
    addDoor(QStringLiteral("Edit_Comissao"), QStringLiteral("BotComissao"), QStringLiteral("Comissões"));
    connect(m_doors.at(QStringLiteral("BotIva")), &kv::ui::TGlyphButton::clicked, this, [this] {
        openSideDoor(QStringLiteral("TFACF003"), QStringLiteral("TFACFPR003"),
                     {QStringLiteral("IVA"), QStringLiteral("FACPARGER")});
        refreshVatRate();
    });
    connect(m_doors.at(QStringLiteral("BotComissao")), &kv::ui::TGlyphButton::clicked, this, [this] {
        openSideDoor(QStringLiteral("TFACF004"), QStringLiteral("TFACFPR004"), {QStringLiteral("COMISSOES")});
    });
    billingGrid->setRowStretch(row, 1);

    const Plain stockFields[] = {
        {"Edit_CustoPadrao", "Custo Padrão  :", 12, "CUSTOPADRAO"},
        {"Edit_PmCusto", "Preço Médio Custo :", 12, ""},
        {"Edit_Pulentra", "Preço Últ. Entrada  :", 12, ""},
        {"Edit_PtoEnc", "Pto Enc. :", 10, "PTOENC"},
        {"Edit_StkMin", "Stock Mínimo :", 10, "STKMIN"},
        {"Edit_StkMax", "Stock Máximo :", 10, "STKMAX"},
        {"Edit_UnCompra", "Unidade de Compra :", 3, "UNCOMPRA"},
        {"Edit_ArtDescont1", "Artigo Descontinuado :", 1, ""},
    };
    row = 0;
    for (const Plain& f : stockFields)
        addField(stocksGrid, row++, 0, QString::fromLatin1(f.name), QString::fromUtf8(f.caption), f.width,
                 QString::fromLatin1(f.column));
    setExitHandler(m_edits.at(QStringLiteral("Edit_ArtDescont1")), [this] { leaveDiscontinued(); });
    stocksGrid->setRowStretch(row, 1);
    layout->addWidget(billing, 0, Qt::AlignTop);
    layout->addWidget(stocks, 0, Qt::AlignTop);
    layout->addStretch();

    // The lookups of the code fields.
    for (const char* field : {"Edit_PosPautal", "Edit_Familia", "Edit_CCusto", "Edit_Composicao", "Edit_Codiva"})
        addLookup(QString::fromLatin1(field));
    for (int n = 1; n <= 9; ++n)
        addLookup(customName(n));
    return page;
}

QWidget* TORCF032ART::buildNotesPage()
{
    kv::notes::NotesSettings settings;
    settings.prefix = QStringLiteral("ARTG");
    settings.folder = [this] { return m_year.value(QStringLiteral("PATHINFARTIGOS")).toString().trimmed(); };
    settings.code = [this] { return text(QStringLiteral("Edit_Codigo")); };
    // A code holding a path separator names no notes file.
    settings.hasRecord = [](const QString& code) { return ArticlePictureFiles::codeNamesFile(code); };
    settings.liveToolbar = true;
    m_notes = new kv::notes::NotesEditor(settings, m_installation, statusBar());
    m_notes->setObjectName(QStringLiteral("PageInformacoes"));
    return m_notes;
}

void TORCF032ART::buildButtons()
{
    auto* bar = new QHBoxLayout(buttonBar());
    m_countries =
        button(QStringLiteral("&Paises"), QStringLiteral("BotDesignPais"), QStringLiteral("Designação por Pais"));
    m_close = button(QStringLiteral("&Terminar"), QStringLiteral("BitTerminar"));
    bar->addWidget(m_countries);
    bar->addStretch();
    bar->addWidget(m_close);
    connect(m_countries, &kv::ui::TGlyphButton::clicked, this, [this] { openCountries(); });
    connect(m_close, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
}

// --- activation -----------------------------------------------------------------

// A form that cannot work stops once its activation is over.
void TORCF032ART::closeAtActivation(const QString& message)
{
    messages().beep();
    messages().error(message);
    QTimer::singleShot(0, this, &QDialog::reject);
}

void TORCF032ART::FormActivate()
{
    kv::shell::LoginState& state = m_env.state();
    setStatusText(2, state.WMarca);
    m_codeAccepted = false;
    m_saved = false;
    applyRights();
    try {
        m_parameters = m_file.customisationParameters();
        if (m_parameters.isEmpty()) {
            closeAtActivation(QStringLiteral("PARAMETROS DE CUSTOMIZAÇÃO DE ARTIGOS INEXISTENTES !!!"));
            return;
        }
        m_year = m_file.codeRow(QStringLiteral("PARGER"), {QStringLiteral("ANO")}, {state.WAno});
    } catch (const kv::db::DbError& error) {
        closeAtActivation(error.fullText());
        return;
    }
    if (m_year.isEmpty()) {
        closeAtActivation(QStringLiteral("PARAMETROS GERAIS INEXISTENTES"));
        return;
    }
    // The year's row of the shared parameters, which the family and VAT
    // forms close: the side doors bring it back on the working year.
    if (kv::db::DataModule* tables = m_env.modules().module(QStringLiteral("DTTABELAS")))
        if (kv::db::Dataset* year = tables->find(QStringLiteral("FACPARGER"))) {
            if (!year->isOpen()) {
                year->open();
                m_openedYear = true;
            }
            year->locate(QStringLiteral("ANO"), state.WAno);
        }
    const auto flag = [this](const char* column) {
        return m_year.value(QString::fromLatin1(column)).toString().trimmed();
    };
    m_edits.at(QStringLiteral("Edit_Comissao"))->setEnabled(flag("COMARTIGO") != QLatin1String("N"));
    m_edits.at(QStringLiteral("Edit_CCusto"))->setEnabled(flag("CONTABILIDADE") == QLatin1String("S"));
    m_pictures->setFolder(flag("PATHFOTO"));

    m_page = Identification;
    m_tabs->setCurrentIndex(Identification);
    EnableEvents();
    m_codeAccepted = true;
    cleanFields();
    m_articles.coding = CodingResult{};
    if (m_parameters.value(QStringLiteral("REFARTIGO")).toString().trimmed() == QLatin1String("S")) {
        runCoding();
        m_labelDesign->setText(m_articles.coding.labelDesignation.left(40));
        m_parameters = m_file.customisationParameters();
        if (m_parameters.isEmpty()) {
            closeAtActivation(QStringLiteral("PARAMETROS DE CUSTOMIZAÇÃO DE ARTIGOS INEXISTENTES !!!"));
            return;
        }
    }
    prefillFromQuote();
    takeCodingResult();
    // The group follows the type in the field from the start.
    m_articles.WArtTabGrupo = ArticleFile::groupOfType(m_parameters, text(QStringLiteral("Edit_TipoArtigo")));
    showGroup();
    focusField(m_edits.at(QStringLiteral("Edit_Codigo")));
}

void TORCF032ART::applyRights()
{
    kv::shell::LoginState& state = m_env.state();
    const auto door = [&](const QString& name, const QString& formClass, const QString& program) {
        const bool registered = m_forms.contains(formClass);
        m_doors.at(name)->setVisible(
            registered && (program.isEmpty() || m_env.sideDoorVisible(state.WAplicacao, Tabelas, program)));
    };
    door(QStringLiteral("BotFamilia"), QStringLiteral("TFACF011"), QStringLiteral("Familias de Artigos"));
    door(QStringLiteral("BotComposicao"), QStringLiteral("TFACF026"), QStringLiteral("Composicoes de Artigos"));
    door(QStringLiteral("BotIva"), QStringLiteral("TFACF003"), QStringLiteral("I.V.A."));
    door(QStringLiteral("BotPPautal"), QStringLiteral("TFACF019"), {});
    // Shown always; it works once the commissions form is there.
    m_doors.at(QStringLiteral("BotComissao"))->setEnabled(m_forms.contains(QStringLiteral("TFACF004")));
    // The table buttons are this form's side doors, so they follow its own
    // rights rows: application WAplicacao, one program per table number. The
    // table form they open keeps its rights elsewhere (WModuloBase, one
    // program per group), as the other base tables do: a user may be let
    // into a table from here and still not be let change its values.
    for (int n = 1; n <= 9; ++n)
        m_customRights[static_cast<std::size_t>(n - 1)] =
            m_env.sideDoorVisible(state.WAplicacao, Tabelas, QStringLiteral("Custom. Artigos %1").arg(n));
    kv::shell::AccessRights rows(m_env.dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), state);
    const kv::shell::Rights own =
        rows.lookup(state.WAplicacao, QStringLiteral("Ficheiros Base"), QStringLiteral("Artigos"));
    m_pictures->allowScanner(own.found && own.SCANNER != QLatin1String("N"));
}

void TORCF032ART::cleanFields()
{
    m_changingCustom = true;
    for (auto& [name, edit] : m_edits)
        edit->clear();
    for (QLineEdit* shown : findChildren<QLineEdit*>())
        if (shown->isReadOnly())
            shown->clear();
    m_changingCustom = false;
    for (const char* unit : {"Edit_UnConv", "Edit_UnVenda", "Edit_UnCompra"})
        setText(QString::fromLatin1(unit), QStringLiteral("UND"));
    setText(QStringLiteral("Edit_ArtDescont1"), QStringLiteral("N"));
    m_labelDesign->clear();
    m_costCentreName->clear();
    for (QLabel* length : m_lengths)
        length->setText(QStringLiteral("00"));
}

void TORCF032ART::prefillFromQuote()
{
    setText(QStringLiteral("Edit_TipoArtigo"), QStringLiteral("1"));
    setText(QStringLiteral("Edit_FactConv"), QStringLiteral("1"));
    kv::db::Dataset* quotes = nullptr;
    if (kv::db::DataModule* module = m_env.modules().module(QStringLiteral("ZURIVAVEZA")))
        quotes = module->find(QStringLiteral("ORCMAS"));
    if (quotes && quotes->isOpen() && !quotes->isEmpty()) {
        const auto value = [quotes](const char* column) { return quotes->value(QString::fromLatin1(column)); };
        setText(QStringLiteral("Edit_Design"), value("DESIGN1").toString());
        setText(QStringLiteral("Edit_VosRef"), value("VOSREF").toString());
        setText(QStringLiteral("Edit_UnConv"), value("UNDVND").toString());
        setText(QStringLiteral("Edit_UnVenda"), value("UNDVND").toString());
        setText(QStringLiteral("Edit_Compri"), kv::text::plain(value("COMPRIM").toDouble()));
        setText(QStringLiteral("Edit_Largur"), kv::text::plain(value("LARGURA").toDouble()));
        setText(QStringLiteral("Edit_Altura"), kv::text::plain(value("ALTURA").toDouble()));
        setText(QStringLiteral("Edit_Codiva"), QString::number(value("CODIVA").toLongLong()));
    }
    setText(QStringLiteral("Edit_Comissao"), QString());
    if (text(QStringLiteral("Edit_Composicao")) == QLatin1String("0"))
        setText(QStringLiteral("Edit_Composicao"), QString());
    setText(QStringLiteral("Edit_Preco1"), kv::text::plain(m_env.state().WPrecoAdjud));
}

void TORCF032ART::runCoding()
{
    m_articles.coding = CodingResult{};
    m_articles.coding = runArticleCoding(m_env, this);
}

void TORCF032ART::takeCodingResult()
{
    const CodingResult& coding = m_articles.coding;
    if (!coding.generated)
        return;
    setText(QStringLiteral("Edit_Codigo"), coding.code);
    setText(QStringLiteral("Edit_Design"), coding.designation);
    setText(QStringLiteral("Edit_TipoArtigo"), coding.articleType);
    m_changingCustom = true;
    for (int n = 1; n <= 9; ++n)
        if (const int value = coding.custom[static_cast<std::size_t>(n - 1)]; value != 0)
            setText(customName(n), QString::number(value));
    m_changingCustom = false;
    // The code the coding built is this workstation's to open, as one typed.
    try {
        if (m_file.acceptCode(coding.code) == ArticleCodeCheck::Accepted)
            m_claimedCode = coding.code;
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
    }
}

// --- steps ------------------------------------------------------------------------

QString TORCF032ART::text(const QString& name) const
{
    const auto it = m_edits.find(name);
    if (it != m_edits.end())
        return it->second->text();
    if (auto* shown = findChild<QLineEdit*>(name))
        return shown->text();
    return {};
}

void TORCF032ART::setText(const QString& name, const QString& value)
{
    const auto it = m_edits.find(name);
    QLineEdit* edit = it != m_edits.end() ? it->second : findChild<QLineEdit*>(name);
    if (edit)
        edit->setText(value);
}

void TORCF032ART::leaveCode()
{
    const QString code = text(QStringLiteral("Edit_Codigo"));
    if (code.trimmed().isEmpty()) {
        rejectField(InvalidArticle);
        return;
    }
    if (code != m_claimedCode) {
        ArticleCodeCheck check = ArticleCodeCheck::Stored;
        try {
            check = m_file.acceptCode(code);
        } catch (const kv::db::DbError& error) {
            rejectField(error.fullText());
            return;
        }
        if (check != ArticleCodeCheck::Accepted) {
            m_codeAccepted = false;
            rejectField(ArticleOpened);
            return;
        }
        if (!m_claimedCode.isEmpty()) {
            try {
                m_file.releaseCode(m_claimedCode);
            } catch (const kv::db::DbError&) {
                // The next login of this workstation ends it.
            }
        }
        m_claimedCode = code;
    }
    focusField(m_edits.at(QStringLiteral("Edit_Design")));
}

void TORCF032ART::leaveDesignation(bool second)
{
    const QString name = second ? QStringLiteral("Edit_Design2") : QStringLiteral("Edit_Design");
    const QString value = text(name);
    if (!second && value.isEmpty()) {
        rejectField();
        return;
    }
    m_lengths[second ? 1 : 0]->setText(QStringLiteral("%1").arg(value.size(), 2, 10, QLatin1Char('0')));
    if (value.size() > 40) {
        messages().beep();
        messages().information(QStringLiteral("Excedeu o tamanho de Designação ... [40 caracteres] ..."));
        setText(name, value.left(40));
        return;
    }
    if (second) {
        showPage(Identification);
        focusField(m_edits.at(QStringLiteral("Edit_VosRef")));
    }
}

void TORCF032ART::leaveType()
{
    m_types->hide();
    const QString type = text(QStringLiteral("Edit_TipoArtigo"));
    bool ok = false;
    const int n = type.toInt(&ok);
    if (!ok || n < 1 || n > 10 || type != QString::number(n)) {
        rejectField(QStringLiteral("DIGITE DE [1] A [10] PARA TIPO DE ARTIGO"));
        return;
    }
    m_articles.WArtTabGrupo = ArticleFile::groupOfType(m_parameters, type);
    showGroup();
}

void TORCF032ART::showGroup()
{
    m_articles.WArtTabCod = QStringLiteral("1");
    std::array<QString, 9> names;
    try {
        names = m_file.groupTables(m_articles.WArtTabGrupo);
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
    }
    for (std::size_t i = 0; i < 9; ++i) {
        const bool used = !names[i].isEmpty();
        m_customCaptions[i]->setText(names[i]);
        m_edits.at(customName(static_cast<int>(i) + 1))->setEnabled(used);
        // A table's button shows only when the group has it and the user may keep it.
        m_customDoors[i]->setVisible(used && m_customRights[i]);
    }
    for (int n = 1; n <= 9; ++n)
        customChanged(n);
    m_articles.WArtTabCod = QStringLiteral("1");
}

void TORCF032ART::customChanged(int n)
{
    m_articles.WArtTabCod = QString::number(n);
    QLineEdit* name = findChild<QLineEdit*>(QStringLiteral("Edit_NomeCustom%1").arg(n));
    name->clear();
    const std::optional<qint64> value = kv::text::parseInteger(text(customName(n)));
    if (!value || *value == 0)
        return;
    try {
        name->setText(m_file.customisationName(m_articles.WArtTabGrupo, n, *value));
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
    }
}

void TORCF032ART::leaveCustom(int n)
{
    const QString typed = text(customName(n));
    if (!typed.trimmed().isEmpty() && !kv::text::parseInteger(typed)) {
        rejectField(kv::text::notAnIntegerMessage(typed));
        return;
    }
    customChanged(n);
    bool laterUsed = false;
    for (int later = n + 1; later <= 9; ++later)
        laterUsed = laterUsed || !m_customCaptions[static_cast<std::size_t>(later - 1)]->text().isEmpty();
    if (!laterUsed)
        showPage(Billing);
}

void TORCF032ART::openCustomisationTable(int n)
{
    m_articles.WArtTabCod = QString::number(n);
    runCustomisationTable(m_env, this, CustomisationOpener::ArticleForm, m_articles.WArtTabGrupo,
                          m_articles.WArtTabCod);
    try {
        const QVariantMap parameters = m_file.customisationParameters();
        if (!parameters.isEmpty())
            m_parameters = parameters;
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
    }
    const QString group = ArticleFile::groupOfType(m_parameters, text(QStringLiteral("Edit_TipoArtigo")));
    if (!group.isEmpty())
        m_articles.WArtTabGrupo = group;
    showGroup();
}

void TORCF032ART::leaveTariff()
{
    setStatusText(0, {});
    const QString code = text(QStringLiteral("Edit_PosPautal"));
    if (code.isEmpty())
        return;
    if (m_file.codeRow(QStringLiteral("PPAUTAL"), {QStringLiteral("CODIGO")}, {code}).isEmpty())
        rejectField(QStringLiteral("Posição Pautal Inválida ..."));
}

void TORCF032ART::leaveFamily()
{
    const QString family = text(QStringLiteral("Edit_Familia"));
    const QVariantMap row = m_file.codeRow(QStringLiteral("FAMILIAS"), {QStringLiteral("FAMILIA")}, {family});
    if (row.isEmpty()) {
        rejectField();
        return;
    }
    if (!m_codeAccepted || m_year.value(QStringLiteral("CONTABILIDADE")).toString().trimmed() != QLatin1String("S"))
        return;
    setText(QStringLiteral("Edit_CCusto"), row.value(QStringLiteral("CCUSTO")).toString().trimmed());
    const QString centre = text(QStringLiteral("Edit_CCusto"));
    m_costCentreName->clear();
    if (centre.isEmpty())
        return;
    const QString name = m_file.costCentreName(m_env.state().WAno, centre);
    if (name.isEmpty()) {
        messages().beep();
        messages().information(QStringLiteral("CENTRO DE CUSTO INEXISTENTE !!!"));
        focusField(m_edits.at(QStringLiteral("Edit_CCusto")));
        return;
    }
    m_costCentreName->setText(name.trimmed());
}

void TORCF032ART::leaveCostCentre()
{
    if (m_year.value(QStringLiteral("CONTABILIDADE")).toString().trimmed() != QLatin1String("S"))
        return;
    m_costCentreName->clear();
    const QString centre = text(QStringLiteral("Edit_CCusto"));
    if (centre.isEmpty())
        return;
    const QString name = m_file.costCentreName(m_env.state().WAno, centre);
    if (name.isEmpty()) {
        rejectField(QStringLiteral("CENTRO DE CUSTO INEXISTENTE !!!"));
        return;
    }
    m_costCentreName->setText(name.trimmed());
}

void TORCF032ART::leaveComposition()
{
    QLineEdit* name = findChild<QLineEdit*>(QStringLiteral("Edit_CompDesign"));
    const QString typed = text(QStringLiteral("Edit_Composicao"));
    name->clear();
    if (typed.isEmpty())
        return;
    const std::optional<qint64> code = kv::text::parseInteger(typed);
    if (!code) {
        rejectField(kv::text::notAnIntegerMessage(typed));
        return;
    }
    const QVariantMap row = m_file.codeRow(QStringLiteral("ARTGCOMP"), {QStringLiteral("CODIGO")}, {*code});
    if (row.isEmpty()) {
        rejectField();
        return;
    }
    name->setText(row.value(QStringLiteral("DESIGNACAO")).toString().trimmed());
}

void TORCF032ART::showComposition()
{
    QLineEdit* name = findChild<QLineEdit*>(QStringLiteral("Edit_CompDesign"));
    name->clear();
    const std::optional<qint64> code = kv::text::parseInteger(text(QStringLiteral("Edit_Composicao")));
    if (!code || *code == 0)
        return;
    const QVariantMap row = m_file.codeRow(QStringLiteral("ARTGCOMP"), {QStringLiteral("CODIGO")}, {*code});
    name->setText(row.isEmpty() ? QStringLiteral("Composição Inexistente!!!")
                                : row.value(QStringLiteral("DESIGNACAO")).toString().trimmed());
}

QVariantMap TORCF032ART::vatRow()
{
    const std::optional<qint64> code = kv::text::parseInteger(text(QStringLiteral("Edit_Codiva")));
    return code ? m_file.codeRow(QStringLiteral("IVA"), {QStringLiteral("CODIGO")}, {*code}) : QVariantMap();
}

void TORCF032ART::showVatRate()
{
    const QVariantMap row = vatRow();
    setText(QStringLiteral("Edit_PrcIva"),
            row.isEmpty() ? QString() : kv::text::plain(row.value(QStringLiteral("PRCIVA")).toDouble()));
}

void TORCF032ART::leaveVat()
{
    if (vatRow().isEmpty()) {
        setText(QStringLiteral("Edit_Codiva"), QString());
        setText(QStringLiteral("Edit_PrcIva"), QString());
        rejectField();
        return;
    }
    showVatRate();
}

// A code the list or the VAT table no longer has is dropped without a word;
// while it is being typed it only shows no rate, its check comes on leaving.
void TORCF032ART::refreshVatRate()
{
    if (!text(QStringLiteral("Edit_Codiva")).isEmpty() && vatRow().isEmpty())
        setText(QStringLiteral("Edit_Codiva"), QString());
    showVatRate();
}

void TORCF032ART::leaveCommission()
{
    const QString typed = text(QStringLiteral("Edit_Comissao"));
    setText(QStringLiteral("Edit_PrcCom"), QString());
    if (typed.isEmpty())
        return;
    const std::optional<qint64> code = kv::text::parseInteger(typed);
    if (!code) {
        rejectField(kv::text::notAnIntegerMessage(typed));
        return;
    }
    const QVariantMap row = m_file.codeRow(QStringLiteral("COMISSOES"), {QStringLiteral("CODIGO")}, {*code});
    if (row.isEmpty()) {
        rejectField();
        return;
    }
    setText(QStringLiteral("Edit_PrcCom"), kv::text::plain(row.value(QStringLiteral("PRCCOM")).toDouble()));
}

void TORCF032ART::leaveNumber(const QString& name)
{
    const QString typed = text(name);
    if (!typed.trimmed().isEmpty() && !kv::text::parseNumber(typed))
        rejectField(kv::text::notANumberMessage(typed));
}

void TORCF032ART::leaveDiscontinued()
{
    const QString flag = text(QStringLiteral("Edit_ArtDescont1"));
    if (flag != QLatin1String("S") && flag != QLatin1String("N")) {
        rejectField(QStringLiteral("DIGITE [S] ou [N]"));
        return;
    }
    showPage(Pictures);
}

void TORCF032ART::lookup(const QString& field)
{
    CodeLookup spec;
    kv::db::Params params;
    if (field == QLatin1String("Edit_Familia")) {
        spec = {QStringLiteral("Localizar"),
                QStringLiteral("SELECT FAMILIA, CCUSTO FROM FAMILIAS ORDER BY FAMILIA"),
                false,
                {col("FAMILIA", "FAMÍLIA", 20)},
                QStringLiteral("FAMILIA")};
    } else if (field == QLatin1String("Edit_CCusto")) {
        spec = {
            QStringLiteral("Procurar Conta"),
            QStringLiteral("SELECT CODIGO, DESIGN FROM CCUSTO WHERE ANO = :ANO AND TIPO = 'L' ORDER BY ANO, CODIGO"),
            true,
            {col("CODIGO", "C.CUSTO", 8), col("DESIGN", "DESIGNAÇÃO", 40)},
            QStringLiteral("CODIGO")};
        params.set(QStringLiteral("ANO"), m_env.state().WAno);
    } else if (field == QLatin1String("Edit_Composicao")) {
        spec = {QStringLiteral("Procurar"),
                QStringLiteral("SELECT CODIGO, DESIGNACAO FROM ARTGCOMP ORDER BY CODIGO"),
                false,
                {col("CODIGO", "CÓDIGO", 7), col("DESIGNACAO", "DESIGNAÇÃO", 30)},
                QStringLiteral("CODIGO")};
    } else if (field == QLatin1String("Edit_Codiva")) {
        spec = {QStringLiteral("Localizar"),
                QStringLiteral("SELECT CODIGO, PRCIVA FROM IVA ORDER BY CODIGO"),
                false,
                {col("CODIGO", "Código", 5), col("PRCIVA", "Taxa", 22)},
                QStringLiteral("CODIGO")};
    } else if (field == QLatin1String("Edit_PosPautal")) {
        spec = {QStringLiteral("Localizar"),
                QStringLiteral("SELECT CODIGO, DESIGN, MLIQUIDA FROM PPAUTAL ORDER BY CODIGO"),
                false,
                {col("CODIGO", "P.Pautal Nº", 18), col("DESIGN", "Descrição", 40), col("MLIQUIDA", "Massa Líquida", 1)},
                QStringLiteral("CODIGO")};
    } else if (field.startsWith(QLatin1String("Edit_Custom"))) {
        spec = {QStringLiteral("Procurar"),
                QStringLiteral("SELECT CODIGO, DESIGNACAO FROM CUSTARTG WHERE TABGRUPO = :G AND TABCOD = :T AND "
                               "PAIS = 'PORTUGAL' ORDER BY TABGRUPO, TABCOD, CODIGO"),
                false,
                {col("CODIGO", "CODIGO", 10), col("DESIGNACAO", "DESIGNACAO", 20)},
                QStringLiteral("CODIGO")};
        params.set(QStringLiteral("G"), m_articles.WArtTabGrupo);
        params.set(QStringLiteral("T"), field.right(1));
    } else {
        return;
    }
    kv::db::Dataset list(QStringLiteral("LOOKUP"));
    list.setConnection(spec.accounting ? m_file.accounting() : m_file.invoicing());
    list.setSql(spec.sql);
    for (const QString& name : params.names())
        list.setParam(name, params.value(name));
    try {
        list.open();
        list.locate(spec.copied, text(field));
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    kv::ui::LookupDialog dialog(list, spec.columns, this, spec.caption);
    // Cancel hands nothing back: the field keeps what it had.
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return;
    const QVariant chosen = list.value(spec.copied);
    setText(field, chosen.toString().trimmed());
    if (field == QLatin1String("Edit_CCusto"))
        m_costCentreName->setText(list.value(QStringLiteral("DESIGN")).toString().trimmed());
    else if (field == QLatin1String("Edit_Composicao") && text(field) != QLatin1String("0"))
        showComposition();
    else if (field == QLatin1String("Edit_Codiva"))
        refreshVatRate();
    else if (field.startsWith(QLatin1String("Edit_Custom")))
        customChanged(field.right(1).toInt());
}

void TORCF032ART::openSideDoor(const QString& formClass, const QString& reportClass, const QStringList& shared)
{
    std::vector<kv::db::Dataset*> datasets;
    if (kv::db::DataModule* tables = m_env.modules().module(QStringLiteral("DTTABELAS")))
        for (const QString& name : shared)
            if (kv::db::Dataset* d = tables->find(name))
                datasets.push_back(d);
    kv::ui::openFromSideDoor(m_forms, this, formClass, reportClass, datasets);
}

void TORCF032ART::openCountries()
{
    // The rows per country belong to an article whose code was accepted.
    const QString code = text(QStringLiteral("Edit_Codigo"));
    if (!m_codeAccepted || m_claimedCode.isEmpty() || code != m_claimedCode) {
        messages().fail(InvalidArticle);
        focusField(m_edits.at(QStringLiteral("Edit_Codigo")));
        return;
    }
    runArticleCountries(m_env, this, code);
}

// --- pages --------------------------------------------------------------------------

void TORCF032ART::showPage(int page)
{
    if (m_tabs->currentIndex() == page)
        pageChanged(page);
    else
        m_tabs->setCurrentIndex(page);
}

void TORCF032ART::pageChanged(int page)
{
    const int previous = m_page;
    m_page = page;
    if (previous == Notes && page != Notes)
        m_notes->confirmSave();
    const auto back = [this] {
        m_page = Identification;
        m_tabs->setCurrentIndex(Identification);
        focusField(m_edits.at(QStringLiteral("Edit_Codigo")));
    };
    switch (page) {
    case Identification:
        focusField(m_edits.at(QStringLiteral("Edit_VosRef")));
        showComposition();
        for (int n = 1; n <= 9; ++n)
            customChanged(n);
        break;
    case Billing:
        focusField(m_edits.at(QStringLiteral("Edit_Preco1")));
        refreshVatRate();
        break;
    case Pictures:
        if (!m_pictures->enter())
            back();
        break;
    case Notes: {
        const QString folder = m_year.value(QStringLiteral("PATHINFARTIGOS")).toString().trimmed();
        if (folder.isEmpty()) {
            back();
            break;
        }
        // A company's first notes make their folder.
        const QString local = kv::notes::NotesFolder::localFolder(m_installation, folder);
        if (!local.isEmpty())
            QDir().mkpath(local);
        if (!m_notes->open()) {
            m_page = Identification;
            m_tabs->setCurrentIndex(Identification);
            focusField(m_edits.at(QStringLiteral("Edit_Design")));
            break;
        }
        m_notes->editor()->setFocus();
        break;
    }
    default: break;
    }
}

bool TORCF032ART::FormKeyPress(QKeyEvent* event)
{
    // On the notes page Enter makes a new paragraph.
    if (m_page == Notes && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        return false;
    return Form::FormKeyPress(event);
}

// --- closing ------------------------------------------------------------------------

void TORCF032ART::done(int result)
{
    if (isActivated() && !m_saved) {
        if (m_page == Notes)
            m_notes->confirmSave();
        // Only "Não" gives the article up: the question closed without an
        // answer (its close box, Escape) saves as "Sim" does.
        if (!text(QStringLiteral("Edit_Codigo")).isEmpty()
            && messages().ask(QStringLiteral("GRAVAÇÃO DE ARTIGO !!! Confirma ?")) != kv::ui::MessageService::Answer::No
            && !save())
            return; // the form stays open with its fields; closing again retries
    }
    Form::done(result);
}

bool TORCF032ART::save()
{
    const QString code = text(QStringLiteral("Edit_Codigo"));
    try {
        // A code typed and never left is checked and claimed now.
        if (code != m_claimedCode) {
            if (m_file.acceptCode(code) != ArticleCodeCheck::Accepted) {
                messages().fail(ArticleOpened);
                focusField(m_edits.at(QStringLiteral("Edit_Codigo")));
                return false;
            }
            if (!m_claimedCode.isEmpty())
                m_file.releaseCode(m_claimedCode);
            m_claimedCode = code;
        }
        ArticleTexts fields;
        for (const auto& [name, column] : m_savedColumns)
            fields[column] = text(name);
        fields[QStringLiteral("DESIGNACAO1")] = m_labelDesign->text();
        const ArticleSaveResult result = m_file.save(fields, QDate::currentDate());
        if (result.outcome != ArticleSaveResult::Outcome::Saved) {
            messages().fail(result.message);
            for (const auto& [name, column] : m_savedColumns)
                if (column == result.column) {
                    if (m_pageOf[name] >= 0)
                        showPage(m_pageOf[name]);
                    focusField(m_edits.at(name));
                }
            return false;
        }
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        return false;
    }
    m_saved = true;
    m_claimedCode.clear();
    // Handed to the approval only once the article is stored.
    m_env.state().WNosRefAprov = code;
    return true;
}

void TORCF032ART::FormClose()
{
    // A code given up is free again for the other workstations.
    if (!m_claimedCode.isEmpty()) {
        try {
            m_file.releaseCode(m_claimedCode);
        } catch (const kv::db::DbError&) {
            // The next login of this workstation ends it.
        }
        m_claimedCode.clear();
    }
    m_pictures->clearBoxes();
    m_types->hide();
    if (m_openedYear) {
        if (kv::db::DataModule* tables = m_env.modules().module(QStringLiteral("DTTABELAS")))
            if (kv::db::Dataset* year = tables->find(QStringLiteral("FACPARGER")))
                year->close();
        m_openedYear = false;
    }
}

} // namespace kv::customers
