#include "quotes/approval/forms/TORCF032A.h"

#include "quotes/approval/core/OrderCalendar.h"
#include "quotes/approval/core/QuoteApproval.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/TGlyphButton.h"
#include "shell/Session.h"
#include "shell/ShellDataModules.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::quotes::approval {

namespace {

const QString EmptyDate = QStringLiteral("  /  /    ");
const QString DateMask = QStringLiteral("99/99/0000;_");

QLineEdit* edit(QWidget* parent, const QString& name, int characters, int maxLength = 0)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    kv::ui::setFieldWidth(e, characters);
    return e;
}

QLabel* valueLabel(QWidget* parent, const QString& name, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAlignment(alignment | Qt::AlignVCenter);
    return l;
}

QString plainNumber(double value) { return kv::text::plain(value); }

bool dateFieldEmpty(const QLineEdit* field)
{
    QString text = field->text();
    text.remove(QLatin1Char('/')).remove(QLatin1Char('_'));
    return text.trimmed().isEmpty();
}

std::optional<QDate> dateOf(const QLineEdit* field)
{
    if (dateFieldEmpty(field))
        return std::nullopt;
    return kv::text::parseDate(field->text());
}

} // namespace

TORCF032A::TORCF032A(kv::shell::Session& session, const kv::ui::FormRegistry& forms, ApprovalContext context,
                     QWidget* parent)
    : kv::ui::Form(parent), m_session(session), m_forms(forms), m_context(std::move(context))
{
    setObjectName(QStringLiteral("ORCF032A"));
    setWindowTitle(QStringLiteral("Aprovação de Orçamentos"));
    auto* layout = new QVBoxLayout(body());
    auto* upper = new QWidget(body());
    buildUpperPanel(upper);
    layout->addWidget(upper);
    auto* order = new QGroupBox(QStringLiteral("Criação de Encomendas"), body());
    buildOrderPanel(order);
    layout->addWidget(order);

    auto* buttons = new QHBoxLayout(buttonBar());
    buttons->addStretch(1);
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"), buttonBar());
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    buttons->addWidget(BitTerminar);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &QDialog::reject);

    setTabOrder(Edit_Morada1, Edit_Morada2);
    setTabOrder(Edit_Morada2, Edit_CodPostal);
    setTabOrder(Edit_CodPostal, Edit_Reaprova);
    setTabOrder(Edit_Reaprova, Edit_QtdAdjud);
    setTabOrder(Edit_QtdAdjud, Edit_PrecoAdjud);
    setTabOrder(Edit_PrecoAdjud, RadRepetir);
    setTabOrder(RadRepetir, RadAlterar);
    setTabOrder(RadAlterar, Edit_Serie);
    setTabOrder(Edit_Serie, Edit_EncNro);
    setTabOrder(Edit_EncNro, Edit_VosEnc);
    setTabOrder(Edit_VosEnc, Edit_DatEnc);
    QWidget* previous = Edit_DatEnc;
    for (int i = 0; i < kDeliveries; ++i) {
        setTabOrder(previous, Edit_PrzEnt[i]);
        setTabOrder(Edit_PrzEnt[i], Edit_QtdEnc[i]);
        previous = Edit_QtdEnc[i];
    }
}

TORCF032A::~TORCF032A() = default;

void TORCF032A::buildUpperPanel(QWidget* panel)
{
    auto* upper = new QVBoxLayout(panel);
    upper->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    upper->addLayout(top);
    auto* grid = new QGridLayout;
    top->addLayout(grid);
    const auto caption = [panel](const QString& text) { return new QLabel(text, panel); };
    LabelOrcNro = valueLabel(panel, QStringLiteral("LabelOrcNro"));
    LabelDatEmi = valueLabel(panel, QStringLiteral("LabelDatEmi"));
    LabelCliNro = valueLabel(panel, QStringLiteral("LabelCliNro"));
    LabelCliNome = valueLabel(panel, QStringLiteral("LabelCliNome"));
    LabelArtNro = valueLabel(panel, QStringLiteral("LabelArtNro"));
    LabelArtDes = valueLabel(panel, QStringLiteral("LabelArtDes"));
    grid->addWidget(caption(QStringLiteral("Orçamento Nº : ")), 0, 0);
    grid->addWidget(LabelOrcNro, 0, 1);
    grid->addWidget(caption(QStringLiteral("Data Emissão : ")), 0, 2);
    grid->addWidget(LabelDatEmi, 0, 3, 1, 2);
    grid->addWidget(caption(QStringLiteral("Cliente Nº : ")), 1, 0);
    grid->addWidget(LabelCliNro, 1, 1);
    grid->addWidget(LabelCliNome, 1, 2, 1, 4);
    grid->addWidget(caption(QStringLiteral("Artigo Nº : ")), 2, 0);
    grid->addWidget(LabelArtNro, 2, 1);
    grid->addWidget(LabelArtDes, 2, 2, 1, 4);

    // The three quoted quantities above the approved one.
    const QStringList titles = {QStringLiteral("Qtd"), QStringLiteral("Preço Cli."), QStringLiteral("Marg.Valor"),
                                QStringLiteral("Mrg%")};
    for (int c = 0; c < titles.size(); ++c)
        grid->addWidget(caption(titles[c]), 3, c + 1, Qt::AlignRight);
    const QStringList rows = {QStringLiteral("Qtd I : "), QStringLiteral("Qtd II : "), QStringLiteral("Qtd III : ")};
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        grid->addWidget(caption(rows[i]), i + 4, 0);
        Label_Qtd[i] = valueLabel(panel, QStringLiteral("Label_Qtd") + n, Qt::AlignRight);
        Label_Preco[i] = valueLabel(panel, QStringLiteral("Label_Preco") + n, Qt::AlignRight);
        Label_MargemValor[i] = valueLabel(panel, QStringLiteral("Label_MargemValor") + n, Qt::AlignRight);
        Label_MargemPrc[i] = valueLabel(panel, QStringLiteral("Label_MargemPrc") + n, Qt::AlignRight);
        grid->addWidget(Label_Qtd[i], i + 4, 1);
        grid->addWidget(Label_Preco[i], i + 4, 2);
        grid->addWidget(Label_MargemValor[i], i + 4, 3);
        grid->addWidget(Label_MargemPrc[i], i + 4, 4);
    }
    auto* approvedCaption = caption(QStringLiteral("Aprovado : "));
    Edit_QtdAdjud = edit(panel, QStringLiteral("Edit_QtdAdjud"), 12);
    Edit_PrecoAdjud = edit(panel, QStringLiteral("Edit_PrecoAdjud"), 12);
    Label_MargemFinal = valueLabel(panel, QStringLiteral("Label_MargemFinal"), Qt::AlignRight);
    grid->addWidget(approvedCaption, 7, 0);
    grid->addWidget(Edit_QtdAdjud, 7, 1, Qt::AlignRight);
    grid->addWidget(Edit_PrecoAdjud, 7, 2, Qt::AlignRight);
    grid->addWidget(Label_MargemFinal, 7, 4);
    grid->addWidget(caption(QStringLiteral("%")), 7, 5);
    setCaptionLabel(Edit_QtdAdjud, approvedCaption);
    setCaptionLabel(Edit_PrecoAdjud, approvedCaption);

    auto* side = new QVBoxLayout;
    top->addSpacing(12);
    top->addLayout(side);
    auto* repeatRow = new QHBoxLayout;
    auto* repeatCaption = caption(QStringLiteral("Reaprov. (S/N) : "));
    Edit_Reaprova = edit(panel, QStringLiteral("Edit_Reaprova"), 2, 1);
    setCaptionLabel(Edit_Reaprova, repeatCaption);
    repeatRow->addWidget(repeatCaption);
    repeatRow->addWidget(Edit_Reaprova);
    repeatRow->addStretch(1);
    side->addLayout(repeatRow);
    auto* repeats = new QGroupBox(QStringLiteral("Repetições "), panel);
    auto* repeatsLayout = new QHBoxLayout(repeats);
    RadRepetir = new QRadioButton(QStringLiteral("S/ Alteração "), repeats);
    RadRepetir->setObjectName(QStringLiteral("RadRepetir"));
    RadAlterar = new QRadioButton(QStringLiteral("C/ Alteração "), repeats);
    RadAlterar->setObjectName(QStringLiteral("RadAlterar"));
    RadRepetir->setChecked(true);
    repeatsLayout->addWidget(RadRepetir);
    repeatsLayout->addWidget(RadAlterar);
    side->addWidget(repeats);

    auto* delivery = new QGroupBox(QStringLiteral("Local de Entrega"), panel);
    auto* deliveryGrid = new QGridLayout(delivery);
    auto* addressCaption = new QLabel(QStringLiteral("Morada : "), delivery);
    Edit_Morada1 = edit(delivery, QStringLiteral("Edit_Morada1"), 30, 30);
    Edit_Morada2 = edit(delivery, QStringLiteral("Edit_Morada2"), 30, 30);
    auto* postalCaption = new QLabel(QStringLiteral("Cód.Postal :"), delivery);
    Edit_CodPostal = edit(delivery, QStringLiteral("Edit_CodPostal"), 8, 8);
    Edit_LDLocalidade = edit(delivery, QStringLiteral("Edit_LDLocalidade"), 30, 30);
    Edit_LDLocalidade->setReadOnly(true);
    Edit_LDLocalidade->setFocusPolicy(Qt::NoFocus);
    setCaptionLabel(Edit_Morada1, addressCaption);
    setCaptionLabel(Edit_Morada2, addressCaption);
    setCaptionLabel(Edit_CodPostal, postalCaption);
    setKeyHint(Edit_CodPostal, QStringLiteral("Ins - Procurar"));
    auto* find = new QAction(QStringLiteral("&Procurar"), Edit_CodPostal);
    find->setShortcut(QKeySequence(Qt::Key_Insert));
    find->setShortcutContext(Qt::WidgetShortcut);
    Edit_CodPostal->addAction(find);
    Edit_CodPostal->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(find, &QAction::triggered, this, &TORCF032A::findPostalCode);
    deliveryGrid->addWidget(addressCaption, 0, 0);
    deliveryGrid->addWidget(Edit_Morada1, 0, 1, 1, 2, Qt::AlignLeft);
    deliveryGrid->addWidget(Edit_Morada2, 1, 1, 1, 2, Qt::AlignLeft);
    deliveryGrid->addWidget(postalCaption, 2, 0);
    deliveryGrid->addWidget(Edit_CodPostal, 2, 1, Qt::AlignLeft);
    deliveryGrid->addWidget(Edit_LDLocalidade, 3, 1, 1, 2, Qt::AlignLeft);
    side->addWidget(delivery);
    side->addStretch(1);

    // The customer's earlier orders of the article.
    auto* earlier = new QGroupBox(QStringLiteral("Encomendas Anteriores do artigo"), panel);
    earlier->setObjectName(QStringLiteral("LabelEncome"));
    LabelEncome = earlier;
    auto* earlierLayout = new QHBoxLayout(earlier);
    DBGrid1 = new kv::ui::DbGrid(earlier);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setMaximumHeight(DBGrid1->fontMetrics().height() * 8);
    BotNavig = new kv::ui::DbNavigator(earlier);
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    earlierLayout->addWidget(DBGrid1, 1);
    earlierLayout->addWidget(BotNavig, 0, Qt::AlignBottom);
    upper->addWidget(earlier);

    setExitHandler(Edit_Reaprova, [this] {
        const QString text = Edit_Reaprova->text();
        if (text != QLatin1String("S") && text != QLatin1String("N"))
            rejectField(QStringLiteral("Digite <S> ou <N> !!"));
    });
    setExitHandler(Edit_QtdAdjud, [this] {
        const double quantity = fieldNumber(Edit_QtdAdjud->text());
        if (quantity <= 0) {
            rejectField(QStringLiteral("É obrigatório inserir a Qtd. aprovada ..."));
            return;
        }
        m_plan.setApproved(quantity);
        Edit_QtdEnc[0]->setText(Edit_QtdAdjud->text().trimmed());
    });
    setExitHandler(Edit_PrecoAdjud, [this] { recalculate(); });
    setExitHandler(Edit_CodPostal, [this] { postalCodeLeft(); });
}

void TORCF032A::buildOrderPanel(QWidget* panel)
{
    auto* grid = new QGridLayout(panel);
    const auto captioned = [this, panel, grid](const QString& text, QLineEdit* field, int row, int column) {
        auto* label = new QLabel(text, panel);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
        setCaptionLabel(field, label);
    };
    Edit_Serie = edit(panel, QStringLiteral("Edit_Serie"), 2, 1);
    Edit_EncNro = edit(panel, QStringLiteral("Edit_EncNro"), 9);
    Edit_VosEnc = edit(panel, QStringLiteral("Edit_VosEnc"), 15, 15);
    Edit_DatEnc = edit(panel, QStringLiteral("Edit_DatEnc"), 10);
    Edit_DatEnc->setInputMask(DateMask);
    captioned(QStringLiteral("Série Nº : "), Edit_Serie, 0, 0);
    captioned(QStringLiteral("N/Encom.nº : "), Edit_EncNro, 1, 0);
    captioned(QStringLiteral("V/Encom. Nº : "), Edit_VosEnc, 2, 0);
    captioned(QStringLiteral("Data : "), Edit_DatEnc, 3, 0);
    BotData = new kv::ui::TGlyphButton(QStringLiteral("&D"), panel);
    BotData->setObjectName(QStringLiteral("BotData"));
    grid->addWidget(BotData, 3, 2, Qt::AlignLeft);
    connect(BotData, &kv::ui::TGlyphButton::clicked, this,
            [this] { Edit_DatEnc->setText(kv::text::date(m_session.state().WData)); });

    grid->addWidget(new QLabel(QStringLiteral("Entrega"), panel), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Quantidades"), panel), 0, 5);
    for (int i = 0; i < kDeliveries; ++i) {
        const QString n = QString::number(i + 1);
        Edit_PrzEnt[i] = edit(panel, QStringLiteral("Edit_PrzEnt") + n, 10);
        Edit_PrzEnt[i]->setInputMask(DateMask);
        Edit_QtdEnc[i] = edit(panel, QStringLiteral("Edit_QtdEnc") + n, 12);
        grid->addWidget(new QLabel(n + QStringLiteral(" : "), panel), i + 1, 3);
        grid->addWidget(Edit_PrzEnt[i], i + 1, 4);
        grid->addWidget(Edit_QtdEnc[i], i + 1, 5);
        setExitHandler(Edit_PrzEnt[i], [this, i] {
            if (i < m_deliveriesInUse && !dateOf(Edit_PrzEnt[i]))
                rejectField(DeliveryPlan::invalidDateMessage(i));
        });
        setExitHandler(Edit_QtdEnc[i], [this, i] {
            if (i < m_deliveriesInUse)
                deliveryQuantityLeft(i);
        });
    }
    BotCancelar = new kv::ui::TGlyphButton(QStringLiteral("Canc"), panel);
    BotCancelar->setObjectName(QStringLiteral("BotCancelar"));
    BotCancelar->SetHint(QStringLiteral("Cancelar e regressar ao Inicio"));
    BotGravar = new kv::ui::TGlyphButton(QStringLiteral("Confir"), panel);
    BotGravar->setObjectName(QStringLiteral("BotGravar"));
    BotGravar->SetHint(QStringLiteral("Confirmar Encomendas"));
    auto* orderButtons = new QVBoxLayout;
    orderButtons->addWidget(BotCancelar);
    orderButtons->addWidget(BotGravar);
    orderButtons->addStretch(1);
    grid->addLayout(orderButtons, 1, 6, kDeliveries, 1);
    grid->setColumnStretch(7, 1);
    connect(BotCancelar, &kv::ui::TGlyphButton::clicked, this, &TORCF032A::cancelDeliveries);
    connect(BotGravar, &kv::ui::TGlyphButton::clicked, this, &TORCF032A::confirm);

    setExitHandler(Edit_Serie, [this] {
        if (!m_approval || m_approval->proposeNumber(Edit_Serie->text()) == 0) {
            rejectField(QStringLiteral("ESCOLHA A SÉRIE DE NUMERAÇÃO DE [1] A [5]"));
            return;
        }
        proposeNumber();
    });
    setExitHandler(Edit_EncNro, [this] {
        if (kv::text::parseInteger(Edit_EncNro->text()).value_or(0) <= 0) {
            kv::ui::messages().fail(QStringLiteral("INSIRA O Nº DA ENCOMENDA !!!"));
            focusField(Edit_Serie);
        }
    });
    setExitHandler(Edit_DatEnc, [this] { orderDateLeft(); });
}

void TORCF032A::EnableEvents()
{
    kv::ui::Form::EnableEvents();
    m_deliveriesInUse = kDeliveries;
}

void TORCF032A::closeAtActivation(const QString& message)
{
    kv::ui::messages().fail(message);
    QTimer::singleShot(0, this, &QDialog::reject);
}

void TORCF032A::FormActivate()
{
    const kv::shell::LoginState& state = m_session.state();
    setMakerTag(state.WMarca);
    // An approval a workstation left half-written is finished before another starts.
    m_session.finishPendingWork();
    kv::ui::MessageServiceSink sink;
    const auto connections = m_session.dataModules().connections();
    try {
        m_approval = std::make_unique<QuoteApproval>(
            *connections.DbKavorime, *connections.DbFacturacao, sink,
            ApprovalSettings{state.WUtil, state.WData, state.WAno, m_context.moneyDecimals});
        m_tables = std::make_unique<CostTables>(CostTables::load(*connections.DbKavorime));
        m_previousOrders = std::make_unique<kv::db::Dataset>(QStringLiteral("ENCCLIDETLAST"));
        m_previousOrders->setConnection(connections.DbFacturacao);
        m_previousOrders->setMode(kv::db::DatasetMode::ReadOnly);
        m_previousOrders->setSql(previousOrdersSql());
        m_previousOrders->setParam(QStringLiteral("WCLINRO"), m_context.summary.customer);
        m_previousOrders->setParam(QStringLiteral("WARTNRO"), m_context.summary.article);
        m_previousOrders->open();
        m_previousOrders->last();
        const auto money = [this](const QVariant& v) { return kv::text::money(v.toDouble(), m_context.moneyDecimals); };
        DBGrid1->setDataset(
            m_previousOrders.get(),
            {{QStringLiteral("ANO"), QStringLiteral("Ano"), 5, {}, false, {}},
             {QStringLiteral("SEMANA"), QStringLiteral("Sem"), 3, {}, false, {}},
             {QStringLiteral("ENCNRO"), QStringLiteral("Enc.Nº"), 7, {}, false, {}},
             {QStringLiteral("DATAENTRG"), QStringLiteral("Data Ent."), 10, {}, false, {}},
             {QStringLiteral("QUANTID"), QStringLiteral("Quantid."), 10, {}, false, {}},
             {QStringLiteral("UNVEND"), QStringLiteral("Und."), 4, {}, false, {}},
             {QStringLiteral("PRECOVENDA"), QStringLiteral("Preço"), 12, money, false, {}},
             {QStringLiteral("MARGEMPRC"),
              QStringLiteral("%Marg."),
              6,
              [](const QVariant& v) { return kv::text::formatted(v.toDouble(), QStringLiteral("#.##")); },
              false,
              {}},
             {QStringLiteral("ORCNRO"), QStringLiteral("Orc.Nº"), 7, {}, false, {}}});
        BotNavig->setDataset(m_previousOrders.get());
        findPreviousOrders();
        if (!m_approval->countersExist()) {
            closeAtActivation(QStringLiteral("NÃO ESTÃO DEFINIDOS PARÂMETROS GERAIS DE ENCOMENDAS"));
            return;
        }
        if (!m_approval->commercialParametersExist()) {
            closeAtActivation(QStringLiteral("<PARAMETROS GERAIS GESTÃO COMERCIAL> INEXISTENTES"));
            return;
        }
    } catch (const kv::db::DbError& error) {
        closeAtActivation(error.fullText());
        return;
    }
    clearOrderPage();
    Edit_Morada1->clear();
    Edit_Morada2->clear();
    Edit_CodPostal->clear();
    Edit_LDLocalidade->clear();
    Edit_Serie->setText(QStringLiteral("1"));
    proposeNumber();
    showFields();
    EnableEvents();
    focusField(Edit_Morada1);
}

void TORCF032A::FormClose()
{
    if (m_previousOrders)
        m_previousOrders->close();
}

void TORCF032A::findPreviousOrders()
{
    Edit_Reaprova->setText(QStringLiteral("N"));
    const bool earlier = m_previousOrders && !m_previousOrders->isEmpty();
    if (earlier) {
        Edit_Reaprova->setText(QStringLiteral("S"));
        m_previousOrders->last();
        Edit_PrecoAdjud->setText(plainNumber(m_previousOrders->value(QStringLiteral("PRECOVENDA")).toDouble()));
    }
    LabelEncome->setVisible(earlier);
}

void TORCF032A::showFields()
{
    const ApprovalSummary& s = m_context.summary;
    const int decimals = m_context.moneyDecimals;
    Label_MargemFinal->clear();
    LabelOrcNro->setText(QString::number(m_context.quoteNumber));
    LabelDatEmi->setText(kv::text::date(s.issued));
    LabelCliNro->setText(QString::number(s.customer));
    LabelCliNome->setText(s.customerName);
    LabelArtNro->setText(s.article);
    LabelArtDes->setText(s.articleDesignation);
    for (std::size_t i = 0; i < 3; ++i) {
        Label_Qtd[i]->setText(kv::text::number(s.quantities[i], 2));
        Label_Preco[i]->setText(kv::text::money(s.clientPrices[i], decimals));
        Label_MargemValor[i]->setText(kv::text::money(s.marginValues[i], decimals));
        Label_MargemPrc[i]->setText(kv::text::number(s.marginPercent, 1));
    }
    clearOrderPage();
}

void TORCF032A::clearOrderPage()
{
    for (int i = 0; i < kDeliveries; ++i) {
        Edit_PrzEnt[i]->setText(EmptyDate);
        Edit_QtdEnc[i]->clear();
    }
    Edit_DatEnc->setText(EmptyDate);
    m_plan.clear();
}

void TORCF032A::proposeNumber()
{
    try {
        Edit_EncNro->setText(QString::number(m_approval->proposeNumber(Edit_Serie->text())));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

ApprovalInput TORCF032A::input() const
{
    ApprovalInput in;
    in.quantity = fieldNumber(Edit_QtdAdjud->text());
    in.price = fieldNumber(Edit_PrecoAdjud->text());
    in.repeatOrder = Edit_Reaprova->text() == QLatin1String("S");
    in.unchangedRepeat = RadRepetir->isChecked();
    return in;
}

void TORCF032A::recalculate()
{
    setStatusText(0, QStringLiteral("Cálculo da Margem em Curso ..."));
    const ApprovalInput in = input();
    if (in.price <= 0) {
        rejectField(QStringLiteral("Insira o preço por Favor ..."));
        return;
    }
    m_session.state().WPrecoAdjud = in.price;
    kv::ui::MessageServiceSink sink;
    std::optional<ApprovalResult> result;
    try {
        result =
            ApprovalCalculator(*m_tables, sink, m_context.moneyDecimals)
                .calculate(
                    ApprovalQuote::read(*m_session.dataModules().connections().DbKavorime, m_context.quoteNumber), in);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    setStatusText(0, {});
    if (!result) {
        Label_MargemFinal->clear();
        rejectField({}, false);
        return;
    }
    Label_MargemFinal->setText(kv::text::number(result->marginPercent, 1));
    focusField(Edit_Serie);
}

void TORCF032A::postalCodeLeft()
{
    Edit_LDLocalidade->clear();
    const QString code = Edit_CodPostal->text().trimmed();
    if (code.isEmpty())
        return;
    try {
        if (const auto place = m_approval->locality(code)) {
            Edit_LDLocalidade->setText(*place);
            return;
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    Edit_CodPostal->clear();
    rejectField();
}

void TORCF032A::findPostalCode()
{
    kv::db::Dataset& list = m_session.dataModules().dataset(QStringLiteral("DTTABELAS.CODPOSTAL"));
    try {
        if (!list.isOpen())
            list.open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    kv::ui::LookupDialog lookup(list,
                                {{QStringLiteral("CODPOSTAL"), QStringLiteral("Cod.Postal"), 10, {}, false, {}},
                                 {QStringLiteral("LOCALIDADE"), QStringLiteral("Localidade"), 30, {}, false, {}}},
                                this);
    // Cancel leaves the field as it was.
    if (lookup.exec() != QDialog::Accepted || list.isEmpty())
        return;
    Edit_CodPostal->setText(list.value(QStringLiteral("CODPOSTAL")).toString());
    Edit_LDLocalidade->setText(list.value(QStringLiteral("LOCALIDADE")).toString());
}

void TORCF032A::orderDateLeft()
{
    const std::optional<QDate> date = dateOf(Edit_DatEnc);
    if (!date) {
        rejectField(QStringLiteral("Data Inválida !!!"));
        return;
    }
    try {
        const CalendarDay day = readCalendar(*m_session.dataModules().connections().DbFacturacao, *date);
        if (!day.workingDay()) {
            setStatusText(0, day.statusText);
            rejectField();
            return;
        }
        setStatusText(0, {});
        if (m_approval->orderExists(static_cast<int>(kv::text::parseInteger(Edit_EncNro->text()).value_or(0)))) {
            kv::ui::messages().fail(QStringLiteral("ESTA ENCOMENDA JÁ EXISTE !!!"));
            focusField(Edit_Serie);
            return;
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    Edit_PrzEnt[0]->setText(kv::text::date(*date));
    const double first = m_plan.takeOrderDate();
    Edit_QtdEnc[0]->setText(first > 0 ? plainNumber(first) : QString());
    for (int i = 1; i < kDeliveries; ++i)
        Edit_QtdEnc[i]->clear();
}

void TORCF032A::deliveryQuantityLeft(int index)
{
    m_plan.setApproved(fieldNumber(Edit_QtdAdjud->text()));
    const DeliveryPlan::Step step = m_plan.enterQuantity(index, Edit_QtdEnc[index]->text());
    if (!step.accepted) {
        rejectField(step.message);
        return;
    }
    if (step.proposeNext) {
        Edit_QtdEnc[index + 1]->setText(plainNumber(*step.proposeNext));
        return;
    }
    if (step.complete && index < kDeliveries - 1) {
        // All of it is spread: the later deliveries may be passed empty.
        m_deliveriesInUse = index + 1;
        focusField(Edit_PrzEnt[index]);
    }
}

void TORCF032A::cancelDeliveries()
{
    for (int i = 0; i < kDeliveries; ++i) {
        Edit_PrzEnt[i]->setText(EmptyDate);
        Edit_QtdEnc[i]->clear();
    }
    m_plan.clear();
    // The delivery being left is not checked on the way back to the quantity.
    m_deliveriesInUse = 0;
    focusField(Edit_QtdAdjud);
    m_deliveriesInUse = kDeliveries;
}

Deliveries TORCF032A::deliveries() const
{
    Deliveries d;
    for (int i = 0; i < kDeliveries; ++i) {
        d[static_cast<std::size_t>(i)].date = dateOf(Edit_PrzEnt[i]);
        d[static_cast<std::size_t>(i)].quantity = fieldNumber(Edit_QtdEnc[i]->text());
    }
    return d;
}

// The article and customer forms of the invoicing files code what the quote
// lacks; what they save stays whatever the approval does next.
bool TORCF032A::handOver(QString& article, int& customer)
{
    kv::shell::LoginState& state = m_session.state();
    state.WNosRefAprov = article;
    state.WCliNroAprov = customer;
    const auto run = [this](const char* className) {
        if (QDialog* form = m_forms.create(QString::fromLatin1(className), this)) {
            form->exec();
            delete form;
        }
    };
    if (article.trimmed().isEmpty())
        run("TORCF032ART");
    if (customer == 0)
        run("Torcf032cli");
    article = state.WNosRefAprov.trimmed();
    customer = state.WCliNroAprov;
    if (article.isEmpty()) {
        kv::ui::messages().fail(
            QStringLiteral("Aprovação de Orçamento não viável p/falta de codificação de Artigo!!!"));
        return false;
    }
    if (customer == 0) {
        kv::ui::messages().fail(
            QStringLiteral("Aprovação de Orçamento não viável p/falta de codificação de Cliente!!!"));
        return false;
    }
    return true;
}

void TORCF032A::confirm()
{
    QString article = m_context.summary.article;
    int customer = m_context.summary.customer;
    if (!handOver(article, customer)) {
        reject();
        return;
    }
    // What the hand-over coded belongs to the quote from now on.
    m_context.summary.article = article;
    m_context.summary.customer = customer;
    LabelArtNro->setText(article);
    LabelCliNro->setText(QString::number(customer));

    const Deliveries planned = deliveries();
    if (const auto refusal = DeliveryPlan::check(planned, fieldNumber(Edit_QtdAdjud->text()))) {
        kv::ui::messages().fail(refusal->message);
        focusField(refusal->dateField ? Edit_PrzEnt[refusal->index] : Edit_QtdEnc[refusal->index]);
        return;
    }
    OrderRequest request;
    request.quoteNumber = m_context.quoteNumber;
    request.customer = customer;
    request.article = article;
    request.series = Edit_Serie->text();
    request.orderNumber = static_cast<int>(kv::text::parseInteger(Edit_EncNro->text()).value_or(0));
    request.customerReference = Edit_VosEnc->text();
    request.orderDate = dateOf(Edit_DatEnc).value_or(QDate());
    request.deliveries = planned;
    request.address = {Edit_Morada1->text(), Edit_Morada2->text(), Edit_CodPostal->text().trimmed(),
                       Edit_LDLocalidade->text()};
    request.input = input();
    m_session.state().WPrecoAdjud = request.input.price;

    kv::ui::MessageServiceSink sink;
    const auto connections = m_session.dataModules().connections();
    QuoteApproval approval(*connections.DbKavorime, *connections.DbFacturacao, sink,
                           ApprovalSettings{m_session.state().WUtil, m_session.state().WData, m_session.state().WAno,
                                            m_context.moneyDecimals});
    try {
        const std::optional<PreparedApproval> prepared = approval.prepare(request, *m_tables);
        if (!prepared)
            return;
        kv::db::TwoDatabaseWork work = m_session.twoDatabaseWork();
        const ApprovalSave saved = approval.save(work, *prepared);
        switch (saved.status) {
        case ApprovalSave::Status::Approved:
            m_outcome = {true, request.orderNumber, customer, article, prepared->result.marginPercent};
            accept();
            return;
        case ApprovalSave::Status::NumberTaken:
            kv::ui::messages().fail(saved.message);
            Edit_EncNro->setText(QString::number(saved.nextNumber));
            focusField(Edit_Serie);
            return;
        case ApprovalSave::Status::Refused: kv::ui::messages().fail(saved.message); return;
        case ApprovalSave::Status::Pending:
            kv::ui::messages().fail(saved.message);
            reject();
            return;
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

} // namespace kv::quotes::approval
