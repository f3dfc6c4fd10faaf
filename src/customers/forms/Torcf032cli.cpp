#include "customers/forms/Torcf032cli.h"

#include "customers/core/CustomerSaveStep.h"
#include "customers/forms/CustomerFormParts.h"
#include "customers/forms/InvoicingLinesPage.h"
#include "customers/forms/TORCF032BUSCA.h"
#include "platform/db/DataModule.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SideDoor.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/AccessRights.h"
#include "shell/ShellDataModules.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::customers {

using kv::ui::messages;

// A customer field holding the code of another table: its check on leaving,
// its displays, its Insert-key lookup and its side door.
struct Torcf032cli::CodeField {
    QString column;
    QString caption;
    int page = 0;
    QString table;
    QStringList key; // the table's key; a leading ANO or TABCOD is fixed
    QStringList shown; // the columns the displays show
    std::vector<kv::ui::GridColumn> lookupColumns;
    QString copied; // the column of the chosen row copied into the field
    bool emptyField = true; // a code not found empties the field (else only the displays)
    bool emptyRefused = false; // an empty code is refused too
    bool zeroIsNone = false;
    // Side door.
    QString door; // button hint
    QString formClass;
    QString reportClass;
    QString chapter;
    QString program;
    QStringList closedBefore;
    QStringList reopenedAfter;
};

namespace {

const QString Tabelas = QStringLiteral("Tabelas");
const QString FicheirosBase = QStringLiteral("Ficheiros Base");
const QString LookupHint = QStringLiteral("Tecla <Insert> Procurar Tabela");

kv::ui::GridColumn col(const char* field, const char* title, int width = 0)
{
    return kv::ui::GridColumn{QString::fromUtf8(field), QString::fromUtf8(title), width, {}, false, {}};
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

} // namespace

const std::vector<Torcf032cli::CodeField>& Torcf032cli::codeFields()
{
    static const std::vector<CodeField> fields = [] {
        std::vector<CodeField> f;
        for (int n = 1; n <= 4; ++n) {
            CodeField c;
            c.column = QStringLiteral("CUSTOM%1").arg(n);
            c.page = Classification;
            c.table = QStringLiteral("CUSTCLI");
            c.key = {QStringLiteral("TABCOD"), QStringLiteral("CODIGO")};
            c.shown = {QStringLiteral("DESIGNACAO")};
            c.lookupColumns = {col("CODIGO", "CODIGO"), col("DESIGNACAO", "DESIGNACAO")};
            c.copied = QStringLiteral("CODIGO");
            c.emptyField = false;
            f.push_back(c);
        }
        const auto add = [&](CodeField c) { f.push_back(std::move(c)); };
        add({QStringLiteral("RAMOACTIV"),
             QStringLiteral("Ramo de Actividade : "),
             Classification,
             QStringLiteral("RAMOACTIV"),
             {QStringLiteral("RAMOACTIV")},
             {},
             {col("RAMOACTIV", "Ramo de Actividade")},
             QStringLiteral("RAMOACTIV"),
             true,
             false,
             false,
             QStringLiteral("Ramos de Actividade"),
             QStringLiteral("TFACF004A"),
             QStringLiteral("TFACFPR004A"),
             Tabelas,
             QStringLiteral("Ramo de Actividade"),
             {QStringLiteral("RAMOACTIV")},
             {QStringLiteral("RAMOACTIV")}});
        add({QStringLiteral("MOEDA"),
             QStringLiteral("Moeda :"),
             Goods,
             QStringLiteral("CNTPMOEDA"),
             {QStringLiteral("ANO"), QStringLiteral("DESCRI")},
             {},
             {col("DESCRI", "MOEDA")},
             QStringLiteral("DESCRI"),
             true,
             false,
             false,
             QStringLiteral("Moedas"),
             QStringLiteral("TFACF009"),
             QStringLiteral("TFACFPR009"),
             Tabelas,
             QStringLiteral("Moedas"),
             {QStringLiteral("MOEDAS")},
             {QStringLiteral("MOEDAS")}});
        add({QStringLiteral("METEXPEDICAO"),
             QStringLiteral("Mét.de Expedição :"),
             Goods,
             QStringLiteral("METEXPEDICAO"),
             {QStringLiteral("METEXPEDICAO")},
             {},
             {col("METEXPEDICAO", "DESCRIÇÃO")},
             QStringLiteral("METEXPEDICAO"),
             true,
             false,
             false,
             QStringLiteral("Métodos de Expedição"),
             QStringLiteral("TFACF017"),
             QStringLiteral("TFACFPR017"),
             Tabelas,
             QStringLiteral("Metodos Expedicao"),
             {QStringLiteral("METEXPEDICAO")},
             {QStringLiteral("METEXPEDICAO")}});
        add({QStringLiteral("FORMA"),
             QStringLiteral("Cond.Transporte :"),
             Goods,
             QStringLiteral("FORMAS"),
             {QStringLiteral("FORMA")},
             {QStringLiteral("DESIGNFORMA"), QStringLiteral("DESIGNLOCALIDADE")},
             {col("FORMA", "COD."), col("DESIGNFORMA", "DESIGNAÇÃO"), col("DESIGNLOCALIDADE", "LOCALIDADE")},
             QStringLiteral("FORMA"),
             false,
             false,
             false,
             QStringLiteral("Condições de Transporte"),
             QStringLiteral("TFACF003B"),
             QStringLiteral("TFACFPR003B"),
             Tabelas,
             QStringLiteral("Condicoes de Transporte"),
             {},
             {QStringLiteral("FORMAS")}});
        add({QStringLiteral("VENDEDOR"),
             QStringLiteral("Vendedor :"),
             Goods,
             QStringLiteral("VENDEDORES"),
             {QStringLiteral("CODIGO")},
             {QStringLiteral("NOME")},
             {col("CODIGO", "CODIGO"), col("NOME", "NOME")},
             QStringLiteral("CODIGO"),
             false,
             false,
             false,
             QStringLiteral("Vendedores"),
             QStringLiteral("TFACF030"),
             {},
             FicheirosBase,
             QStringLiteral("Vendedores"),
             {},
             {QStringLiteral("VENDEDORES"), QStringLiteral("CODPOSTAL")}});
        add({QStringLiteral("AGENTE"),
             QStringLiteral("Agente :"),
             Goods,
             QStringLiteral("AGENTES"),
             {QStringLiteral("CODIGO")},
             {QStringLiteral("NOME")},
             {col("CODIGO", "CODIGO"), col("NOME", "NOME")},
             QStringLiteral("CODIGO"),
             false,
             false,
             true,
             QStringLiteral("Agentes"),
             QStringLiteral("TFACF031"),
             {},
             FicheirosBase,
             QStringLiteral("Agentes"),
             {},
             {QStringLiteral("AGENTES"), QStringLiteral("COMISSOES"), QStringLiteral("PAISES"),
              QStringLiteral("BANCOS"), QStringLiteral("CODPOSTAL")}});
        add({QStringLiteral("CODDES"),
             QStringLiteral("Código Desconto :"),
             Goods,
             QStringLiteral("DESCMERC"),
             {QStringLiteral("CODIGO")},
             {QStringLiteral("DESCRI")},
             {col("CODIGO", "COD."), col("DESCRI", "DESCONTO")},
             QStringLiteral("CODIGO"),
             true,
             false,
             false,
             QStringLiteral("Descontos de Mercadorias"),
             QStringLiteral("TFACF002"),
             QStringLiteral("TFACFPR002"),
             Tabelas,
             QStringLiteral("Descontos de Mercadorias"),
             {},
             {QStringLiteral("DESCMERC")}});
        add({QStringLiteral("CNDPGT"),
             QStringLiteral("Cond. Pagam. :"),
             Treasury,
             QStringLiteral("CNDPGT"),
             {QStringLiteral("CODIGO")},
             {QStringLiteral("NRDIAS"), QStringLiteral("DESCRI"), QStringLiteral("PRCDESC")},
             {col("CODIGO", "COD."), col("NRDIAS", "N.DIAS"), col("DESCRI", "DESCRIÇÃO"), col("PRCDESC", "%DESCTO.")},
             QStringLiteral("CODIGO"),
             false,
             true,
             false,
             QStringLiteral("Condições de Pagamento"),
             QStringLiteral("TFACF003A"),
             QStringLiteral("TFACFPR003A"),
             Tabelas,
             QStringLiteral("Condicoes de Pagamento"),
             {QStringLiteral("CNDPGT")},
             {QStringLiteral("CNDPGT")}});
        add({QStringLiteral("BANCO"),
             QStringLiteral("Banco :"),
             Treasury,
             QStringLiteral("BANCOS"),
             {QStringLiteral("CODIGO")},
             {QStringLiteral("NOME"), QStringLiteral("AGENCIA")},
             {col("CODIGO", "COD."), col("NOME", "BANCO"), col("AGENCIA", "AGÊNCIA"), col("NIB", "NIB")},
             QStringLiteral("CODIGO"),
             false,
             false,
             false,
             QStringLiteral("Bancos"),
             QStringLiteral("TFACF030A"),
             {},
             FicheirosBase,
             QStringLiteral("Bancos"),
             {QStringLiteral("FACPARGER"), QStringLiteral("BANCOS"), QStringLiteral("PAISES"),
              QStringLiteral("CODPOSTAL")},
             {QStringLiteral("BANCOS"), QStringLiteral("PAISES"), QStringLiteral("CODPOSTAL"),
              QStringLiteral("FACPARGER")}});
        return f;
    }();
    return fields;
}

Torcf032cli::Torcf032cli(kv::shell::FormEnvironment environment, const kv::ui::FormRegistry& forms, QWidget* parent)
    : Form(parent, 3), m_env(environment), m_forms(forms),
      m_customers(environment.dataset(QStringLiteral("DTFILES.CLIENTES"))),
      m_list(m_customers, {QStringLiteral("*"), QStringLiteral("CLIENTES"), {}, {QStringLiteral("CODIGO")}}),
      m_file(environment.invoicing(), environment.state().WComputador, environment.state().WUtil,
             environment.accounting())
{
    m_openerSql = m_customers.sql();
    setObjectName(QStringLiteral("orcf032cli"));
    setWindowTitle(QStringLiteral("Clientes"));
    m_parts = new CustomerFormParts(*this, environment);
    addSaveStep(m_parts);

    auto* columns = new QHBoxLayout(body());
    auto* left = new QWidget;
    auto* right = new QWidget;
    columns->addWidget(left);
    columns->addWidget(right, 1);
    buildHeader(left);
    buildList(right);
    buildButtons();
    // A3 runs whenever the list moves to another customer.
    connect(&m_customers, &kv::db::Dataset::currentChanged, this, [this](int) {
        if (!m_displaying && eventsEnabled() && !m_entry.inserting()) {
            displayCustomer();
            // At the window's edge the rows beyond are read at once, so that the next move finds them.
            followList();
        }
    });
    // The scroll bar taken to an end of the window moves the list there, and the rows beyond follow.
    connect(m_grid->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QScrollBar* bar = m_grid->verticalScrollBar();
                if (!listAtRest() || m_customers.isEmpty())
                    return;
                if (bar->value() == bar->maximum() && m_list.moreAfter())
                    m_customers.last();
                else if (bar->value() == bar->minimum() && m_list.moreBefore())
                    m_customers.first();
            },
            Qt::QueuedConnection);
    });
}

Torcf032cli::~Torcf032cli() = default;

// --- layout ---------------------------------------------------------------

kv::ui::DbEdit* Torcf032cli::addEdit(QWidget* page, QGridLayout* grid, int row, const QString& column,
                                     const QString& caption, bool wholeLine)
{
    // Two fields a line: a caption, then the edit with whatever shows beside it.
    const int at = (row % 2) * 2;
    auto* label = new QLabel(caption, page);
    auto* edit = new kv::ui::DbEdit(page);
    edit->setObjectName(column);
    edit->setField(&m_customers, column);
    auto* line = new QHBoxLayout;
    line->addWidget(edit);
    line->addStretch();
    grid->addWidget(label, row / 2, at);
    grid->addLayout(line, row / 2, at + 1, 1, wholeLine ? 3 : 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    m_fieldLines[column] = line;
    setCaptionLabel(edit, label);
    m_edits[column] = edit;
    setExitHandler(edit, [this, column] { leaveField(column); });
    return edit;
}

// Puts `widget` beside the field's edit (before the line's closing stretch).
void Torcf032cli::besideField(const QString& column, QWidget* widget)
{
    QHBoxLayout* line = m_fieldLines.at(column);
    line->insertWidget(line->count() - 1, widget);
}

void Torcf032cli::addCodeFields(QWidget* page, QGridLayout* grid, int& row, int pageIndex)
{
    for (const CodeField& field : codeFields()) {
        if (field.page != pageIndex || field.column.startsWith(QLatin1String("CUSTOM")))
            continue;
        // A code shown with two or more displays takes a whole line.
        const bool wide = field.shown.size() >= 2;
        if (wide && row % 2)
            ++row;
        kv::ui::DbEdit* edit = addEdit(page, grid, row, field.column, field.caption, wide);
        setKeyHint(edit, LookupHint);
        edit->setToolTip(LookupHint);
        auto* find = new QAction(QStringLiteral("Procurar"), edit);
        find->setShortcut(Qt::Key_Insert);
        find->setShortcutContext(Qt::WidgetShortcut);
        connect(find, &QAction::triggered, this, [this, &field] { lookup(field); });
        edit->addAction(find);
        edit->setContextMenuPolicy(Qt::ActionsContextMenu);
        for (const QString& shown : field.shown) {
            const bool number = shown == QLatin1String("NRDIAS") || shown == QLatin1String("PRCDESC");
            QLineEdit* d = display(number ? 6 : (shown == QLatin1String("DESCRI") ? 24 : 15),
                                   field.column + QLatin1Char('_') + shown);
            m_displays[field.column].push_back(d);
            besideField(field.column, d);
        }
        if (!field.door.isEmpty()) {
            kv::ui::TGlyphButton* door =
                button(QStringLiteral("..."), QStringLiteral("Door") + field.column, field.door);
            connect(door, &kv::ui::TGlyphButton::clicked, this, [this, &field] { openSideDoor(field); });
            m_doors[field.column] = door;
            besideField(field.column, door);
        }
        row += wide ? 2 : 1;
    }
}

void Torcf032cli::buildHeader(QWidget* left)
{
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* header = new QGridLayout;
    layout->addLayout(header);

    auto* codeLabel = new QLabel(QStringLiteral("Cliente :"));
    m_code = new QLineEdit;
    m_code->setObjectName(QStringLiteral("Edit_Codigo"));
    kv::ui::setFieldWidth(m_code, 10);
    m_code->setEnabled(false);
    setCaptionLabel(m_code, codeLabel);
    setExitHandler(m_code, [this] { leaveNewNumber(); });
    header->addWidget(codeLabel, 0, 0);
    header->addWidget(m_code, 0, 1, Qt::AlignLeft);

    const auto headerEdit = [&](int row, const QString& column, const QString& caption) {
        auto* label = new QLabel(caption);
        auto* edit = new kv::ui::DbEdit;
        edit->setObjectName(column);
        edit->setField(&m_customers, column);
        header->addWidget(label, row, 0);
        header->addWidget(edit, row, 1, Qt::AlignLeft);
        setCaptionLabel(edit, label);
        m_edits[column] = edit;
        setExitHandler(edit, [this, column] { leaveField(column); });
        return edit;
    };
    headerEdit(1, QStringLiteral("NOME"), QStringLiteral("Nome :"));
    setEnterHandler(m_edits[QStringLiteral("NOME")], [this] { m_nb->setCurrentIndex(Identification); });
    headerEdit(2, QStringLiteral("SIGLA"), QStringLiteral("Sigla :"));
    headerEdit(3, QStringLiteral("MORADA1"), QStringLiteral("Morada 1 :"));
    headerEdit(4, QStringLiteral("MORADA2"), QStringLiteral("Morada 2 :"));
    kv::ui::DbEdit* postal = headerEdit(5, QStringLiteral("CODPOSTAL"), QStringLiteral("Código Postal :"));
    setKeyHint(postal, LookupHint);
    auto* find = new QAction(QStringLiteral("Procurar"), postal);
    find->setShortcut(Qt::Key_Insert);
    find->setShortcutContext(Qt::WidgetShortcut);
    connect(find, &QAction::triggered, this, [this] {
        CodeField postalField;
        postalField.column = QStringLiteral("CODPOSTAL");
        postalField.table = QStringLiteral("CODPOSTAL");
        postalField.key = {QStringLiteral("CODPOSTAL")};
        postalField.copied = QStringLiteral("CODPOSTAL");
        postalField.lookupColumns = {col("CODPOSTAL", "C.POSTAL"), col("LOCALIDADE", "LOCALIDADE")};
        lookup(postalField);
    });
    postal->addAction(find);
    postal->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* postalLine = new QHBoxLayout;
    m_locality = display(25, QStringLiteral("Localidade"));
    postalLine->addWidget(m_locality);
    kv::ui::TGlyphButton* postalDoor =
        button(QStringLiteral("..."), QStringLiteral("DoorCODPOSTAL"), QStringLiteral("Códigos Postais"));
    connect(postalDoor, &kv::ui::TGlyphButton::clicked, this, [this] { postalSideDoor(); });
    m_doors[QStringLiteral("CODPOSTAL")] = postalDoor;
    postalLine->addWidget(postalDoor);
    postalLine->addStretch();
    header->addLayout(postalLine, 5, 2);

    // The read-only market and groups beside the header.
    auto* flags = new QHBoxLayout;
    for (const auto& [column, caption] : {std::pair{"MERCADO", "Mercado : "}, std::pair{"GRP_FAC", "F:"},
                                          std::pair{"GRP_MRG", "M:"}, std::pair{"GRP_DIA", "D:"}}) {
        auto* edit = new kv::ui::DbEdit;
        edit->setObjectName(QString::fromLatin1(column));
        edit->setField(&m_customers, QString::fromLatin1(column));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        flags->addWidget(new QLabel(QString::fromUtf8(caption)));
        flags->addWidget(edit);
    }
    flags->addStretch();
    header->addLayout(flags, 0, 2);
    header->setColumnStretch(3, 1);

    buildNotebook();
    layout->addWidget(m_nb);
}

void Torcf032cli::buildNotebook()
{
    m_nb = new QTabWidget;
    m_nb->setObjectName(QStringLiteral("NB"));
    m_nb->addTab(buildIdentificationPage(), QStringLiteral("Identificação"));
    m_nb->addTab(buildClassificationPage(), QStringLiteral("Classificação"));
    m_nb->addTab(buildGoodsPage(), QStringLiteral("Mercadorias"));
    m_nb->addTab(buildTreasuryPage(), QStringLiteral("Tesouraria"));
    m_nb->addTab(buildAccountsPage(), QStringLiteral("Contabilidade"));
    m_nb->addTab(buildNotesPage(), QStringLiteral("Informações"));
    m_linesPage = new InvoicingLinesPage(*this, m_env.invoicing());
    m_nb->addTab(m_linesPage, QStringLiteral("Facturação Autom."));
    connect(m_nb, &QTabWidget::tabBarClicked, this, [this](int page) {
        if (page >= 0)
            pageChanged(page);
    });
}

QWidget* Torcf032cli::buildIdentificationPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    for (const auto& [column, caption] :
         {std::pair{"TELCODPAIS", "Pais/Zona (TEL) : "}, std::pair{"TELCODZONA", "Zona (TEL) : "},
          std::pair{"TELEFONE", "Telefone(s) : "}, std::pair{"TELEFONE2", "Telefone 2 : "},
          std::pair{"FAX", "Telefax : "}}) {
        kv::ui::DbEdit* edit = addEdit(page, grid, row++, QString::fromLatin1(column), QString::fromUtf8(caption));
        if (row <= 2) {
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::NoFocus);
        }
    }
    layout->addWidget(buildContactsBlock());
    layout->addStretch();
    return page;
}

// The department contacts of the customer: a block of its own, stored with
// the customer through a save step.
QWidget* Torcf032cli::buildContactsBlock()
{
    return m_parts->buildContactsBlock();
}

QWidget* Torcf032cli::buildClassificationPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    for (int n = 0; n < 4; ++n) {
        const CodeField& field = codeFields().at(static_cast<std::size_t>(n));
        kv::ui::DbEdit* edit = addEdit(page, grid, row * 2, field.column, QString());
        m_classCaptions[n] = captionLabel(edit);
        setKeyHint(edit, LookupHint);
        auto* find = new QAction(QStringLiteral("Procurar"), edit);
        find->setShortcut(Qt::Key_Insert);
        find->setShortcutContext(Qt::WidgetShortcut);
        connect(find, &QAction::triggered, this, [this, &field] { lookup(field); });
        edit->addAction(find);
        edit->setContextMenuPolicy(Qt::ActionsContextMenu);
        QLineEdit* name = display(20, field.column + QStringLiteral("_DESIGNACAO"));
        m_displays[field.column].push_back(name);
        besideField(field.column, name);
        ++row;
    }
    int codeRow = row * 2;
    addCodeFields(page, grid, codeRow, Classification);
    int next = codeRow + (codeRow % 2);
    for (const auto& [column, caption] : {std::pair{"PAIS", "País : "}, std::pair{"ZONAGEOGRAF", "Zona Geográfica : "},
                                          std::pair{"REGIAO", "Região : "}, std::pair{"PROVINCIA", "Provincia : "}}) {
        kv::ui::DbEdit* edit = addEdit(page, grid, next++, QString::fromLatin1(column), QString::fromUtf8(caption));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget* Torcf032cli::buildGoodsPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    kv::ui::DbEdit* prefix = addEdit(page, grid, row++, QStringLiteral("SIGLANIF"), QStringLiteral("Prefixo N.I.F. :"));
    prefix->setReadOnly(true);
    prefix->setFocusPolicy(Qt::NoFocus);
    addEdit(page, grid, row++, QStringLiteral("NIF"), QStringLiteral("N.I.F. :"));
    addCodeFields(page, grid, row, Goods);
    for (const auto& [column, caption] :
         {std::pair{"COMISSAOFIXA", "% Comissão Fixa :"}, std::pair{"DESFIX", "% Desconto Fixo :"},
          std::pair{"CODPRC", "Código de Preço :"}, std::pair{"IMPPRC", "Imp.Preço G.R. :"},
          std::pair{"IMPARTIGO", "Imp.V/Referência ?:"}, std::pair{"ISEIVA", "Isento de I.V.A. :"}})
        addEdit(page, grid, row++, QString::fromLatin1(column), QString::fromUtf8(caption));
    for (const char* flag : {"IMPPRC", "IMPARTIGO", "ISEIVA"})
        m_edits[QString::fromLatin1(flag)]->setCharCase(kv::ui::DbEdit::CharCase::Upper);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget* Torcf032cli::buildTreasuryPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    addCodeFields(page, grid, row, Treasury);
    for (const auto& [column, caption] :
         {std::pair{"EMPFACTORING", "Empr. Factoring :"}, std::pair{"CODFACTORING", "Cód. Emp.Factoring : "},
          std::pair{"CONTENCIOSO", "Cliente em Contensioso ?"}, std::pair{"PLAFOND", "Plafond (Seguradora) :"},
          std::pair{"PLAFOND_FACT", "Plafond (Factoring) :"}, std::pair{"PLAFOND_OUT", "Plafond Interno : "},
          std::pair{"FLXDES", "Flexib. Desconto :"}, std::pair{"DIAPAG", "Dia Habit.Pagamto :"},
          std::pair{"ADERENTE", "Nº de Aderente Seg.Crédito : "}})
        addEdit(page, grid, row++, QString::fromLatin1(column), QString::fromUtf8(caption));
    m_edits[QStringLiteral("CONTENCIOSO")]->setCharCase(kv::ui::DbEdit::CharCase::Upper);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

// The customer's accounting accounts: the five accounts and the opening date.
QWidget* Torcf032cli::buildAccountsPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    for (int n = 1; n <= 5; ++n)
        addEdit(page, grid, row++, QStringLiteral("CONTA%1").arg(n), QStringLiteral("Conta %1 :").arg(n));
    // "Abrir" beside each account edit.
    m_parts->addAccountButtons({m_fieldLines[QStringLiteral("CONTA1")], m_fieldLines[QStringLiteral("CONTA2")],
                                m_fieldLines[QStringLiteral("CONTA3")], m_fieldLines[QStringLiteral("CONTA4")],
                                m_fieldLines[QStringLiteral("CONTA5")]});
    kv::ui::DbEdit* opened =
        addEdit(page, grid, row++, QStringLiteral("DATAABERTURA"), QStringLiteral("Data/Hora Abertura : "));
    opened->setReadOnly(true);
    opened->setFocusPolicy(Qt::NoFocus);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

// The customer's notes.
QWidget* Torcf032cli::buildNotesPage()
{
    return m_parts->buildNotesPage();
}

// The customer's receivables, receipts and sales beside the list.
QWidget* Torcf032cli::buildViewsPage()
{
    QWidget* views = m_parts->buildViewsPage(m_showSales);
    m_views = views->findChild<QTabWidget*>(QStringLiteral("TBCons"));
    m_views->setUsesScrollButtons(false); // every page's tab in sight
    return views;
}

void Torcf032cli::buildList(QWidget* right)
{
    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* navigator = new QHBoxLayout;
    const std::pair<const char*, const char*> moves[] = {
        {"|<", "Primeiro Registo"}, {"<", "Registo Anterior"}, {">", "Próximo Registo"}, {">|", "Último Registo"}};
    for (int i = 0; i < 4; ++i) {
        kv::ui::TGlyphButton* move = button(QString::fromLatin1(moves[i].first), QStringLiteral("Nav%1").arg(i),
                                            QString::fromUtf8(moves[i].second));
        connect(move, &kv::ui::TGlyphButton::clicked, this, [this, i] { moveList(i); });
        m_navigator.push_back(move);
        navigator->addWidget(move);
    }
    navigator->addStretch();
    layout->addLayout(navigator);

    m_grid = new kv::ui::DbGrid;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setToolTip(QStringLiteral("Click 2x para seleccionar um cliente já aberto"));
    m_grid->setDataset(&m_customers, {col("CODIGO", "Cliente Nº", 10), col("NOME", "Nome do Cliente", 40)});
    connect(m_grid, &kv::ui::DbGrid::rowActivated, this, [this](int) { chooseCustomer(); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) { sortBy(column); });
    setEnterHandler(m_grid, [this] { enterList(); });
    setExitHandler(m_grid, [this] { leaveList(); });
    layout->addWidget(m_grid, 1);
    m_rowCount = new QLabel;
    m_rowCount->setObjectName(QStringLiteral("RowCount"));
    layout->addWidget(m_rowCount);

    m_showSales = new QCheckBox(QStringLiteral("Visual. Vendas?"));
    m_showSales->setObjectName(QStringLiteral("CheckVendas"));
    m_showSales->setToolTip(QStringLiteral("Visualização Totais por Ano e Mês das Vendas"));
    m_showSales->setChecked(true);
    m_showSales->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_showSales);
    layout->addWidget(buildViewsPage());
}

void Torcf032cli::buildButtons()
{
    auto* bar = new QHBoxLayout(buttonBar());
    m_insert = button(QStringLiteral("&Inserir"), QStringLiteral("BotInserir"));
    m_cancel = button(QStringLiteral("&Cancelar"), QStringLiteral("BotCancelar"));
    m_search =
        button(QStringLiteral("Localizar"), QStringLiteral("BotLocalizar"), QStringLiteral("Localizar Clientes"));
    m_byNumber = button(QStringLiteral("&Proc. (Num)"), QStringLiteral("BotProcNum"));
    m_byName = button(QStringLiteral("Proc. (Al&fa)"), QStringLiteral("BotProcAlfa"));
    m_accountsRun = button(QStringLiteral("Conta&b"), QStringLiteral("BotContab"));
    m_close = button(QStringLiteral("&Terminar"), QStringLiteral("BotTerminar"));
    for (kv::ui::TGlyphButton* b : {m_insert, m_cancel, m_search, m_byNumber, m_byName, m_accountsRun, m_close})
        bar->addWidget(b);
    bar->addStretch();
    connect(m_insert, &kv::ui::TGlyphButton::clicked, this, [this] { startInsert(); });
    connect(m_cancel, &kv::ui::TGlyphButton::clicked, this, [this] { cancelEdit(); });
    connect(m_search, &kv::ui::TGlyphButton::clicked, this, [this] { searchCustomers(); });
    connect(m_byNumber, &kv::ui::TGlyphButton::clicked, this, [this] { searchByNumber(); });
    connect(m_byName, &kv::ui::TGlyphButton::clicked, this, [this] { searchByName(); });
    connect(m_close, &kv::ui::TGlyphButton::clicked, this, [this] { close(); });
    connect(m_accountsRun, &kv::ui::TGlyphButton::clicked, this, [this] {
        // The run rewrote accounts of the customers: the list is read again.
        if (m_parts->runBulkAccounts())
            rereadList();
    });
}

// --- activation -------------------------------------------------------------

void Torcf032cli::FormActivate()
{
    setMakerTag(m_env.state().WMarca);
    setStatusText(2, m_env.state().WMarca);
    applyRights();
    m_entry.activate();
    if (!readYearParameters()) {
        messages().error(QStringLiteral("PARAMETROS GERAIS INEXISTENTES"));
        done(QDialog::Rejected);
        return;
    }
    m_order = QStringLiteral("CODIGO");
    openList({});
    displayCustomer();
    EnableEvents();
    m_entry.activate();
    browsingButtons(true);
    focusField(m_grid);
}

void Torcf032cli::applyRights()
{
    kv::shell::LoginState& state = m_env.state();
    for (const CodeField& field : codeFields())
        if (!field.door.isEmpty())
            m_doors[field.column]->setVisible(
                m_forms.contains(field.formClass)
                && m_env.sideDoorVisible(state.WModuloBase, field.chapter, field.program));
    m_doors[QStringLiteral("CODPOSTAL")]->setVisible(
        m_forms.contains(QStringLiteral("TFACF008"))
        && m_env.sideDoorVisible(state.WModuloBase, Tabelas, QStringLiteral("Codigos Postais")));
    kv::shell::AccessRights rows(m_env.dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")), state);
    const kv::shell::Rights own = rows.lookup(state.WModuloBase, FicheirosBase, QStringLiteral("Clientes"));
    const bool mayInsert = own.found && own.INSERIR == QLatin1String("S");
    m_insert->setVisible(mayInsert);
    m_cancel->setVisible(mayInsert);
}

bool Torcf032cli::readYearParameters()
{
    const QVariantMap year = m_file.codeRow(QStringLiteral("PARGER"), {QStringLiteral("ANO")}, {m_env.state().WAno});
    for (int n = 0; n < 4; ++n) {
        const QString caption = year.value(QStringLiteral("CUSTCLI%1").arg(n + 1)).toString().trimmed();
        const QString column = QStringLiteral("CUSTOM%1").arg(n + 1);
        m_classCaptions[n]->setText(caption.isEmpty() ? QString() : caption + QStringLiteral(" :"));
        m_classCaptions[n]->setVisible(!caption.isEmpty());
        m_edits[column]->setVisible(!caption.isEmpty());
        for (QLineEdit* d : m_displays[column])
            d->setVisible(!caption.isEmpty());
    }
    if (year.isEmpty())
        return false;
    m_accountsFlag = year.value(QStringLiteral("CONTABILIDADE")).toString().trimmed();
    m_treasuryFlag = year.value(QStringLiteral("TESOURARIA")).toString().trimmed();
    m_accountsRun->setVisible(m_accountsFlag == QLatin1String("S")
                              && year.value(QStringLiteral("CONTABAUTO")).toString().trimmed() == QLatin1String("S"));
    m_parts->readYear(year);
    return true;
}

void Torcf032cli::openList(const QVariantList& key)
{
    m_displaying = true;
    m_list.setShape({QStringLiteral("*"),
                     QStringLiteral("CLIENTES"),
                     {},
                     m_order == QLatin1String("NOME") ? QStringList{QStringLiteral("NOME"), QStringLiteral("CODIGO")}
                                                      : QStringList{QStringLiteral("CODIGO")}});
    if (key.isEmpty())
        m_list.openFirst();
    else
        m_list.openAt(key);
    m_displaying = false;
    showRowCount();
    // The title of the column giving the order is painted yellow.
    for (int c = 0; c < 2; ++c) {
        const bool ordered = (c == 0) == (m_order == QLatin1String("CODIGO"));
        m_grid->model()->setHeaderData(c, Qt::Horizontal, ordered ? QVariant(QColor(255, 255, 0)) : QVariant(),
                                       Qt::BackgroundRole);
    }
}

void Torcf032cli::reopenOnCustomer(int customer)
{
    if (m_order == QLatin1String("NOME")) {
        const QVariantMap row = m_file.codeRow(QStringLiteral("CLIENTES"), {QStringLiteral("CODIGO")}, {customer});
        openList(row.isEmpty() ? QVariantList{} : QVariantList{row.value(QStringLiteral("NOME")), customer});
    } else {
        openList({customer});
    }
}

bool Torcf032cli::listAtRest() const
{
    return !m_displaying && !m_entry.inserting() && m_customers.isOpen() && m_grid->hasFocus();
}

void Torcf032cli::followList()
{
    if (!listAtRest() || !m_list.atEdge())
        return;
    // While the list has the focus, the saves are behind: what is pending is
    // only what showing the rows wrote into them (place, country), written
    // again into each row as it is shown.
    m_displaying = true;
    if (m_customers.state() != kv::db::DatasetState::Browse || m_customers.hasPendingChanges())
        m_customers.cancelUpdates();
    m_list.follow();
    m_displaying = false;
    displayCustomer();
}

void Torcf032cli::showRowCount() { m_rowCount->setText(QStringLiteral("%1 Registos").arg(m_list.count())); }

// --- display ----------------------------------------------------------------

QString Torcf032cli::rowText(const QString& column) const { return m_customers.value(column).toString().trimmed(); }

void Torcf032cli::setRowValue(const QString& column, const QVariant& value)
{
    if (m_customers.isEmpty() && m_customers.state() == kv::db::DatasetState::Browse)
        return;
    if (m_customers.state() == kv::db::DatasetState::Browse)
        m_customers.edit();
    if (m_customers.value(column) != value)
        m_customers.setValue(column, value);
}

void Torcf032cli::displayCustomer()
{
    if (!m_entry.inserting()) {
        m_currentCustomer = m_customers.isEmpty() ? 0 : m_customers.value(QStringLiteral("CODIGO")).toInt();
        m_workNumber = m_currentCustomer;
        m_code->setText(m_customers.isEmpty() ? QString() : QString::number(m_currentCustomer));
        m_linesPage->showCustomer(m_currentCustomer);
        m_parts->showCustomer(m_currentCustomer, m_showSales->isChecked());
    }
    if (m_customers.isEmpty() && !m_entry.inserting())
        return;
    refreshPostal(false);
    for (const CodeField& field : codeFields())
        refreshCode(field, false);
}

void Torcf032cli::refreshPostal(bool leaving)
{
    const PostalPlace place = m_file.postalPlace(rowText(QStringLiteral("CODPOSTAL")));
    if (!place.found) {
        m_locality->clear();
        if (leaving) {
            setRowValue(QStringLiteral("CODPOSTAL"), QString());
            rejectField();
        }
        return;
    }
    m_locality->setText(place.locality);
    setRowValue(QStringLiteral("ZONAGEOGRAF"), place.zone);
    setRowValue(QStringLiteral("REGIAO"), place.region);
    setRowValue(QStringLiteral("PROVINCIA"), place.province);
    setRowValue(QStringLiteral("PAIS"), place.country);
    setRowValue(QStringLiteral("SIGLANIF"), place.taxPrefix);
    if (leaving) {
        setRowValue(QStringLiteral("TELCODPAIS"), place.telCountry);
        setRowValue(QStringLiteral("TELCODZONA"), place.countryFound ? place.telZone : QString());
        m_nb->setCurrentIndex(Identification);
        focusField(m_edits[QStringLiteral("TELEFONE")]);
    }
}

void Torcf032cli::refreshCode(const CodeField& field, bool leaving)
{
    std::vector<QLineEdit*>& shown = m_displays[field.column];
    for (QLineEdit* d : shown)
        d->clear();
    const QString code = rowText(field.column);
    if (code.isEmpty() || (field.zeroIsNone && code == QLatin1String("0"))) {
        if (leaving && field.emptyRefused)
            rejectField();
        return;
    }
    QVariantList keys{m_customers.value(field.column)};
    if (field.table == QLatin1String("CUSTCLI"))
        keys.prepend(field.column.right(1).toInt());
    else if (field.table == QLatin1String("CNTPMOEDA"))
        keys.prepend(m_env.state().WAno);
    QVariantMap row;
    try {
        row = m_file.codeRow(field.table, field.key, keys);
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    if (row.isEmpty()) {
        // A code that no longer exists is emptied on display too, so the
        // next save stores the empty code.
        if (field.emptyField && (leaving || field.column == QLatin1String("CODDES")))
            setRowValue(field.column, QVariant());
        if (leaving)
            rejectField();
        return;
    }
    for (std::size_t i = 0; i < shown.size() && i < static_cast<std::size_t>(field.shown.size()); ++i) {
        QString text = row.value(field.shown.at(static_cast<int>(i))).toString().trimmed();
        if (field.shown.at(static_cast<int>(i)) == QLatin1String("AGENCIA"))
            text = QStringLiteral("( ") + text + QStringLiteral(" )");
        shown[i]->setText(text);
    }
}

// --- reactions ----------------------------------------------------------------

void Torcf032cli::rereadList()
{
    if (m_customers.state() != kv::db::DatasetState::Browse || m_customers.hasPendingChanges())
        m_customers.cancelUpdates();
    m_displaying = true;
    reopenOnCustomer(m_currentCustomer);
    m_displaying = false;
    displayCustomer();
}

void Torcf032cli::pageChanged(int page)
{
    m_linesPage->leavePage();
    if (page != Notes)
        for (const auto& prompt : m_unsavedPrompts)
            prompt();
    if (page == Accounts && m_accountsFlag != QLatin1String("S")) {
        m_nb->setCurrentIndex(Identification);
        focusField(m_grid);
        return;
    }
    m_nb->setCurrentIndex(page);
    switch (page) {
    case Identification: focusField(m_edits[QStringLiteral("NOME")]); break;
    case Classification: focusField(m_edits[QStringLiteral("RAMOACTIV")]); break;
    case Goods: focusField(m_edits[QStringLiteral("NIF")]); break;
    case Invoicing: m_linesPage->enterPage(); break;
    case Notes:
        if (!m_parts->enterNotes()) {
            m_nb->setCurrentIndex(Identification);
            focusField(m_edits[QStringLiteral("NOME")]);
        }
        break;
    case Accounts:
        if (!m_parts->enterAccounts())
            focusField(m_grid);
        break;
    default: break;
    }
}

void Torcf032cli::leaveField(const QString& column)
{
    if (m_displaying)
        return;
    if (column == QLatin1String("CODPOSTAL")) {
        refreshPostal(true);
        return;
    }
    if (column == QLatin1String("NIF")) {
        leaveTaxpayer();
        return;
    }
    for (const CodeField& field : codeFields()) {
        if (field.column != column)
            continue;
        if (column == QLatin1String("CODDES") && !rowText(QStringLiteral("DESFIX")).isEmpty()
            && !rowText(QStringLiteral("CODDES")).isEmpty()) {
            setRowValue(column, QVariant());
            for (QLineEdit* d : m_displays[column])
                d->clear();
            focusField(m_edits[QStringLiteral("DESFIX")]);
            return;
        }
        // A classification code only refreshes its name.
        refreshCode(field, !column.startsWith(QLatin1String("CUSTOM")));
        if (column.startsWith(QLatin1String("CUSTOM"))) {
            const int n = column.right(1).toInt();
            bool laterUsed = false;
            for (int later = n; later < 4; ++later)
                laterUsed = laterUsed || !m_classCaptions[later]->text().isEmpty();
            if (!laterUsed)
                pageChanged(Goods);
        }
        return;
    }
    if (column == QLatin1String("DESFIX") && !rowText(QStringLiteral("DESFIX")).isEmpty()
        && !rowText(QStringLiteral("CODDES")).isEmpty()) {
        messages().beep();
        messages().information(QStringLiteral("ESCOLHA APENAS UM DOS DESCONTOS"));
        setRowValue(column, QVariant());
        focusField(m_edits[QStringLiteral("CODDES")]);
        return;
    }
    const FieldVerdict verdict = checkCustomerField(column, m_edits[column]->text());
    if (verdict.refused) {
        rejectField(verdict.message, verdict.beep);
        return;
    }
    if (column == QLatin1String("ISEIVA")) {
        m_nb->setCurrentIndex(Treasury);
        focusField(m_edits[QStringLiteral("CNDPGT")]);
    } else if (column == QLatin1String("ADERENTE")) {
        if (m_accountsFlag == QLatin1String("S"))
            pageChanged(Accounts);
        else
            focusField(m_grid);
    }
}

void Torcf032cli::leaveTaxpayer()
{
    const QString taxpayer = m_edits[QStringLiteral("NIF")]->text();
    if (taxpayer.trimmed().isEmpty()) {
        rejectField();
        return;
    }
    if (const std::optional<int> holder = m_file.taxpayerHolder(taxpayer, static_cast<int>(m_workNumber))) {
        messages().beep();
        messages().warning(QStringLiteral("Já existe um Cliente c/ este Nº de Contribuinte : %1").arg(*holder));
    }
}

void Torcf032cli::lookup(const CodeField& field)
{
    kv::db::Dataset list(field.table);
    list.setConnection(m_file.connectionOf(field.table));
    QString where;
    if (field.table == QLatin1String("CUSTCLI")) {
        where = QStringLiteral(" WHERE TABCOD = :TABCOD");
        list.setParam(QStringLiteral("TABCOD"), field.column.right(1).toInt());
    } else if (field.table == QLatin1String("CNTPMOEDA")) {
        where = QStringLiteral(" WHERE ANO = :ANO");
        list.setParam(QStringLiteral("ANO"), m_env.state().WAno);
    }
    list.setSql(QStringLiteral("SELECT * FROM %1%2 ORDER BY %3").arg(field.table, where, field.key.last()));
    try {
        list.open();
        list.locate(field.copied, m_customers.value(field.column));
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    kv::ui::LookupDialog dialog(list, field.lookupColumns, this);
    // Cancel hands nothing back: the field keeps its code.
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return;
    m_displaying = true;
    setRowValue(field.column, list.value(field.copied));
    m_displaying = false;
    if (field.column == QLatin1String("CODPOSTAL"))
        refreshPostal(false);
    else
        refreshCode(field, false);
}

namespace {

std::vector<kv::db::Dataset*> sharedDatasets(kv::shell::FormEnvironment& env, const QStringList& names)
{
    std::vector<kv::db::Dataset*> shared;
    for (const QString& name : names)
        for (const char* module : {"DTTABELAS", "DTFILES"})
            if (kv::db::DataModule* m = env.modules().module(QString::fromLatin1(module)))
                if (kv::db::Dataset* d = m->find(name)) {
                    shared.push_back(d);
                    break;
                }
    return shared;
}

} // namespace

void Torcf032cli::openSideDoor(const CodeField& field)
{
    QStringList names = field.closedBefore;
    for (const QString& name : field.reopenedAfter)
        if (!names.contains(name))
            names << name;
    kv::ui::openFromSideDoor(m_forms, this, field.formClass, field.reportClass, sharedDatasets(m_env, names));
    if (field.formClass == QLatin1String("TFACF030A"))
        readYearParameters();
    refreshCode(field, false);
}

void Torcf032cli::postalSideDoor()
{
    kv::ui::openFromSideDoor(m_forms, this, QStringLiteral("TFACF008"), QStringLiteral("TFACFPR008"),
                             sharedDatasets(m_env, {QStringLiteral("CODPOSTAL"), QStringLiteral("PAISES")}));
    refreshPostal(false);
}

void Torcf032cli::browsingButtons(bool enabled)
{
    for (kv::ui::TGlyphButton* b : {m_insert, m_search, m_byNumber, m_byName, m_close, m_accountsRun})
        b->setEnabled(enabled);
    for (kv::ui::TGlyphButton* b : m_navigator)
        b->setEnabled(enabled);
}

void Torcf032cli::startInsert()
{
    m_insert->setEnabled(false);
    m_code->setEnabled(true);
    m_entry.startInsert();
    if (m_customers.hasPendingChanges() || m_customers.state() != kv::db::DatasetState::Browse)
        m_customers.cancelUpdates();
    m_nb->setCurrentIndex(Identification);
    // The highest number stored plus one, whatever the list's order.
    m_code->setText(QString::number(m_file.proposeNumber()));
    m_locality->clear();
    for (auto& [column, shown] : m_displays)
        for (QLineEdit* d : shown)
            d->clear();
    focusField(m_code);
}

void Torcf032cli::leaveNewNumber()
{
    if (!m_entry.inserting())
        return;
    bool ok = false;
    const long long number = m_code->text().trimmed().toLongLong(&ok);
    if (!ok || number < 1 || number > CustomerFile::HighestNumber) {
        rejectField(QStringLiteral("Código de Cliente Inválido ... DIGITE DE [1] a [999999999]"));
        return;
    }
    m_workNumber = number;
    if (m_claimedNumber != 0 && m_claimedNumber != number) {
        m_file.releaseNumber(m_claimedNumber);
        m_claimedNumber = 0;
    }
    CustomerFile::NumberCheck check = CustomerFile::NumberCheck::Taken;
    try {
        check = m_file.acceptNumber(number);
    } catch (const kv::db::DbError& error) {
        rejectField(error.fullText());
        return;
    }
    if (check != CustomerFile::NumberCheck::Accepted) {
        messages().beep();
        messages().information(QStringLiteral("Cliente já foi aberto ..."));
        m_entry.refuseNumber();
        m_code->setEnabled(false);
        focusField(m_grid);
        return;
    }
    m_claimedNumber = number;
    // The new row, pre-filled from the quote being approved.
    m_displaying = true;
    m_customers.append();
    m_customers.setValue(QStringLiteral("CODIGO"), number);
    kv::db::Dataset* quotes = nullptr;
    if (kv::db::DataModule* module = m_env.modules().module(QStringLiteral("ZURIVAVEZA")))
        quotes = module->find(QStringLiteral("ORCMAS"));
    if (quotes && quotes->isOpen() && !quotes->isEmpty()) {
        for (const char* column : {"NOME", "MORADA1", "MORADA2", "CODPOSTAL", "CNDPGT"})
            m_customers.setValue(QString::fromLatin1(column), quotes->value(QString::fromLatin1(column)));
        m_customers.setValue(QStringLiteral("VENDEDOR"), quotes->value(QStringLiteral("VNDNRO")));
    }
    for (const char* column : {"IMPPRC", "ISEIVA", "CONTENCIOSO", "IMPARTIGO"})
        m_customers.setValue(QString::fromLatin1(column), QStringLiteral("N"));
    m_customers.setValue(QStringLiteral("CODPRC"), QStringLiteral("1"));
    m_customers.setValue(QStringLiteral("DATAABERTURA"), QDateTime::currentDateTime());
    m_customers.setValue(QStringLiteral("ADERENTE"), QString());
    m_customers.setValue(QStringLiteral("UTIL_ABERTURA"), m_env.state().WUtil);
    m_customers.setValue(QStringLiteral("ACTIVO"), QStringLiteral("S"));
    m_displaying = false;
    displayCustomer();
    m_parts->numberAccepted(static_cast<int>(number));
    focusField(m_edits[QStringLiteral("NOME")]);
}

void Torcf032cli::cancelEdit()
{
    if (m_entry.inserting() && m_claimedNumber != 0) {
        m_parts->newCustomerCancelled(static_cast<int>(m_claimedNumber));
        m_file.releaseNumber(m_claimedNumber);
        m_claimedNumber = 0;
    }
    m_customers.cancelUpdates();
    m_entry.cancel();
    m_code->setEnabled(false);
    m_insert->setEnabled(true);
    focusField(m_grid);
}

void Torcf032cli::leaveList()
{
    m_entry.leaveList();
    browsingButtons(false);
}

void Torcf032cli::enterList()
{
    setStatusText(0, {});
    for (const auto& prompt : m_unsavedPrompts)
        prompt();
    if (m_entry.enterList()) {
        if (!save())
            return;
    } else {
        // A guarded entry: a refused new number leaves no half-made row.
        if (m_customers.state() == kv::db::DatasetState::Insert || m_claimedNumber != 0) {
            m_customers.cancelUpdates();
            if (m_claimedNumber != 0)
                m_file.releaseNumber(m_claimedNumber);
            m_claimedNumber = 0;
            m_displaying = true;
            reopenOnCustomer(m_currentCustomer);
            m_displaying = false;
            displayCustomer();
        }
    }
    browsingButtons(true);
    m_code->setEnabled(false);
    if (m_handedBack) {
        done(QDialog::Accepted);
        return;
    }
    showRowCount();
}

bool Torcf032cli::save()
{
    const bool isNew = m_entry.inserting();
    if (!isNew && m_customers.isEmpty())
        return true;
    const int number = m_customers.value(QStringLiteral("CODIGO")).toInt();
    // A duplicate taxpayer number warns; the checks still run.
    if (const std::optional<int> holder = m_file.taxpayerHolder(rowText(QStringLiteral("NIF")), number)) {
        m_nb->setCurrentIndex(Treasury);
        messages().beep();
        messages().warning(QStringLiteral("Já existe um Cliente c/ este Nº de Contribuinte : %1").arg(*holder));
    }
    if (const std::optional<SaveRefusal> refusal = m_file.saveRefusal(m_customers)) {
        m_nb->setCurrentIndex(refusal->page);
        messages().beep();
        messages().information(refusal->message);
        if (!refusal->field.isEmpty())
            focusField(m_edits[refusal->field]);
        else
            focusField(m_edits[QStringLiteral("NIF")]);
        return false;
    }
    bool stored = false;
    try {
        m_parts->beforeSave();
        stored = m_file.store(m_customers, isNew, m_saveSteps);
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        stored = false;
    }
    if (!stored) {
        // Nothing handed back: the form stays open on the row.
        return false;
    }
    m_claimedNumber = 0;
    // Handed back only now that the row is stored.
    m_env.state().WCliNroAprov = number;
    m_handedBack = true;
    m_entry.saved();
    m_displaying = true;
    reopenOnCustomer(number);
    m_displaying = false;
    displayCustomer();
    return true;
}

void Torcf032cli::chooseCustomer()
{
    if (m_customers.isEmpty())
        return;
    if (!messages().question(QStringLiteral("Confirma Cliente %1 ?").arg(rowText(QStringLiteral("NOME")))))
        return;
    m_env.state().WCliNroAprov = m_customers.value(QStringLiteral("CODIGO")).toInt();
    done(QDialog::Accepted);
}

void Torcf032cli::sortBy(int column)
{
    if (column != 0 && column != 1)
        return;
    const int current = m_currentCustomer;
    m_order = column == 0 ? QStringLiteral("CODIGO") : QStringLiteral("NOME");
    reopenOnCustomer(current);
}

void Torcf032cli::moveList(int which)
{
    m_displaying = true;
    switch (which) {
    case 0: m_list.openFirst(); break;
    case 1:
        if (!m_customers.prior() || m_customers.bof())
            m_list.openAt(m_list.currentKey());
        break;
    case 2:
        if (!m_customers.next() || m_customers.eof())
            m_list.openAt(m_list.currentKey());
        break;
    default: m_list.openLast(); break;
    }
    m_displaying = false;
    displayCustomer();
}

void Torcf032cli::searchByNumber()
{
    kv::ui::LookupDialog dialog(
        m_customers,
        {col("CODIGO", "CÓDIGO", 10), col("NOME", "NOME", 40), col("MERCADO", "Merc?", 5), col("VENDEDOR", "Vnd?", 5)},
        this);
    dialog.setSearchQuery([this](const QString& field, const QString& text) {
        if (field.compare(QLatin1String("CODIGO"), Qt::CaseInsensitive) != 0)
            return false;
        bool ok = false;
        const int number = text.trimmed().toInt(&ok);
        if (ok)
            reopenOnCustomer(number);
        return ok;
    });
    dialog.exec();
    displayCustomer();
    focusField(m_grid);
}

void Torcf032cli::searchByName()
{
    kv::db::Dataset names(QStringLiteral("CLIENTES1"));
    names.setConnection(m_env.invoicing());
    kv::db::WindowedList window(names, {QStringLiteral("CODIGO, NOME, NIF"),
                                        QStringLiteral("CLIENTES"),
                                        {},
                                        {QStringLiteral("NOME"), QStringLiteral("CODIGO")}});
    window.openFirst();
    kv::ui::LookupDialog dialog(names, {col("NOME", "NOME", 40), col("CODIGO", "CÓDIGO", 10)}, this);
    dialog.setSearchQuery([&window](const QString& field, const QString& text) {
        if (field.compare(QLatin1String("NOME"), Qt::CaseInsensitive) != 0)
            return false;
        window.openAt({text});
        return true;
    });
    if (dialog.exec() != QDialog::Accepted || names.isEmpty())
        return;
    const int chosen = names.value(QStringLiteral("CODIGO")).toInt();
    m_displaying = true;
    reopenOnCustomer(chosen);
    m_displaying = false;
    displayCustomer();
    focusField(m_grid);
}

void Torcf032cli::searchCustomers()
{
    int chosen = 0;
    {
        TORCF032BUSCA search(m_customers, m_file, this);
        search.exec();
        chosen = search.result();
    }
    m_entry.searched();
    m_workNumber = chosen;
    m_displaying = true;
    if (chosen != 0)
        reopenOnCustomer(chosen);
    else
        openList({});
    m_displaying = false;
    displayCustomer();
    focusField(m_grid);
}

// --- closing ----------------------------------------------------------------

bool Torcf032cli::FormKeyPress(QKeyEvent* event)
{
    // On the notes page Enter makes a new paragraph.
    if (m_parts->notesShown() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        return false;
    return Form::FormKeyPress(event);
}

void Torcf032cli::FormClose()
{
    for (const auto& prompt : m_unsavedPrompts)
        prompt();
    // A new customer never saved is dropped with its claim.
    if (m_claimedNumber != 0) {
        try {
            m_file.releaseNumber(m_claimedNumber);
        } catch (const kv::db::DbError&) {
            // The next login of this workstation clears it.
        }
        m_claimedNumber = 0;
    }
    if (m_customers.state() != kv::db::DatasetState::Browse || m_customers.hasPendingChanges())
        m_customers.cancelUpdates();
    // The opener reopens the shared list with the statement it had.
    m_customers.close();
    m_customers.setSql(m_openerSql);
}

} // namespace kv::customers
