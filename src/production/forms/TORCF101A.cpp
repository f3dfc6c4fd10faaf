#include "production/forms/TORCF101A.h"

#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "production/forms/ConsumptionLinesPage.h"
#include "production/forms/FillingFormParts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kv::production {

namespace {

using kv::ui::messages;

QString fillCaption(const char* utf8) { return QString::fromUtf8(utf8); }

QString columnText(const QVariant& value, FillKind kind)
{
    if (value.isNull())
        return {};
    switch (kind) {
    case FillKind::Date:
        return kv::text::date(value.toDate());
    case FillKind::Number:
    case FillKind::Integer:
        return kv::text::plain(value.toDouble());
    default:
        return value.toString();
    }
}

} // namespace

TORCF101A::TORCF101A(const kv::shell::FormEnvironment& environment, const SelectedOrder& order, QWidget* parent)
    : kv::ui::Form(parent, 3),
      m_environment(environment),
      m_filling(std::make_unique<OrderFilling>(*environment.application(), *environment.invoicing(), order))
{
    setObjectName(QStringLiteral("TORCF101A"));
    setWindowTitle(QStringLiteral("Preenchimento O.F."));
    auto* layout = new QVBoxLayout(body());
    auto* heading = new QLabel(QStringLiteral("Preenchimento Ordem de Fabrico"));
    heading->setObjectName(QStringLiteral("Panel_Titulo"));
    layout->addWidget(heading);
    m_header = new OrderHeader;
    layout->addWidget(m_header);
    TabControl = new QTabWidget;
    TabControl->setObjectName(QStringLiteral("TabControl"));
    TabControl->addTab(buildOperations(), fillCaption("Operações"));
    TabControl->addTab(buildPacking(), fillCaption("Embalagem"));
    m_lines = new ConsumptionLinesPage(*this, environment.application(), order, [this] {
        OrderFigures f;
        f.sheetArea = sheetArea();
        f.sheets = kv::text::parseNumber(m_edits[QStringLiteral("NPLANOS")]->text()).value_or(0.0);
        f.quantity = kv::text::parseNumber(m_edits[QStringLiteral("QUANTFINAL")]->text()).value_or(0.0);
        f.quoteUnit = m_quote.unit;
        f.windowWeight = m_quote.windowWeight;
        f.delivery = m_delivery;
        return f;
    });
    TabControl->addTab(m_lines, fillCaption("Mat.Prima / Máquinas"));
    layout->addWidget(TabControl);
    connect(TabControl, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1)
            showPacking();
        if (page == 0)
            focusField(m_edits[QStringLiteral("DATAPROD")]);
        if (page == 1)
            focusField(m_edits[QStringLiteral("QTDEXT1A")]);
        if (page == 2)
            m_lines->focusGrid();
    });
    addFillingButtons(*this, [this] { save(); });
    attachRules();
}

TORCF101A::~TORCF101A() = default;

QLineEdit* TORCF101A::addField(QGridLayout* grid, int row, int column, const char* caption, const char* name,
                               int characters)
{
    auto* label = new QLabel(fillCaption(caption));
    auto* edit = new QLineEdit;
    edit->setObjectName(QStringLiteral("Edit_%1").arg(QLatin1String(name)));
    if (characters > 0) {
        edit->setMaxLength(characters);
        kv::ui::setFieldWidth(edit, characters);
    }
    grid->addWidget(label, row, column);
    grid->addWidget(edit, row, column + 1, Qt::AlignLeft);
    setCaptionLabel(edit, label);
    m_edits.insert(QLatin1String(name), edit);
    return edit;
}

QLineEdit* TORCF101A::addLine(QGridLayout* grid, int row, const char* caption,
                              std::initializer_list<std::pair<const char*, int>> fields, const char* between)
{
    auto* label = new QLabel(fillCaption(caption));
    auto* line = new QHBoxLayout;
    QLineEdit* first = nullptr;
    for (const auto& [name, characters] : fields) {
        if (first && *between)
            line->addWidget(new QLabel(QLatin1String(between)));
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("Edit_%1").arg(QLatin1String(name)));
        edit->setMaxLength(characters);
        kv::ui::setFieldWidth(edit, characters);
        line->addWidget(edit);
        setCaptionLabel(edit, label);
        m_edits.insert(QLatin1String(name), edit);
        if (!first)
            first = edit;
    }
    line->addStretch();
    grid->addWidget(label, row, 0);
    grid->addLayout(line, row, 1);
    return first;
}

QWidget* TORCF101A::buildOperations()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    addLine(grid, 0, "Data Produção : ", {{"DATAPROD", 10}, {"SEMANAPROD", 2}}, "");
    QLineEdit* week = m_edits[QStringLiteral("SEMANAPROD")];
    week->setReadOnly(true);
    week->setFocusPolicy(Qt::NoFocus);
    week->setToolTip(fillCaption("Semana de Produção"));
    addLine(grid, 1, "Quant. a Produzir : ", {{"QUANTFINAL", 12}}, "");
    auto* unit = new QLabel;
    unit->setObjectName(QStringLiteral("Label_UNVEND"));
    static_cast<QHBoxLayout*>(grid->itemAtPosition(1, 1)->layout())->insertWidget(1, unit);
    addLine(grid, 2, "Nº de Folhas : ", {{"NPLANOS", 10}}, "");
    addLine(grid, 3, "Nº de Passagens : ", {{"NROENT", 4}}, "");
    addLine(grid, 4, "Medidas (mm) : ", {{"COMPRIM", 8}, {"LARGURA", 8}, {"ALTURA", 8}}, "x");
    addLine(grid, 5, "Format Plano (cm) : ", {{"PLNCOMPRIM1", 8}, {"PLNLARGURA1", 8}}, "x");
    addLine(grid, 6, "", {{"PLNCOMPRIM2", 8}, {"PLNLARGURA2", 8}}, "x");
    addField(grid, 7, 0, "CD : ", "CD", 30);
    const std::pair<const char*, const char*> prepress[] = {{"Maqueta : ", "MAQUETA"},
                                                           {"Modelo : ", "MODELO"},
                                                           {"Diapositivos : ", "DIAPOSITIVOS"},
                                                           {"Fotolitos : ", "FOTOLITOS"},
                                                           {"Provas : ", "PROVAS"}};
    int row = 8;
    for (const auto& [caption, column] : prepress)
        addField(grid, row++, 0, caption, column, 30);
    const std::pair<const char*, const char*> checklist[] = {
        {"Repetição : ", "REPETICAO"},
        {"Repetição c/ Alteração : ", "REPETICAOALTER"},
        {"Tem Cortante : ", "CORTANTESIM"},
        {" Nº Cortante : ", "CORTANTENRO"},
        {"Tem Cortante c/ Alteração : ", "CORTANTESIMALTER"},
        {" Nº Cortante c/ Alteração : ", "CORTANTESIMALTERNRO"},
        {"Fundo Automático ? ", "FUNDOAUTO"},
        {"Fundo Semi Automático ? ", "FUNDOSEMIAUTO"},
        {"Tampo : ", "TAMPA"},
        {"Fundo : ", "FUNDO"},
        {"Caixa : ", "CAIXA"},
        {"Colagem Lateral : ", "COLAGEMLATERAL"},
        {"Colagem 4/6 Cantos : ", "COLAGEMCANTOS"},
        {"Colagem Dupla Parede : ", "COLAGEMDUPLA"},
        {"Plasticizar : ", "PLASTICIZAR"},
        {"Tabuleiro : ", "TABULEIRO"},
        {"Auto-Armável : ", "AUTO_ARMAVEL"},
        {"Manga : ", "MANGA"}};
    row = 0;
    for (const auto& [caption, column] : checklist) {
        const bool number = QByteArray(column).endsWith("NRO");
        addField(grid, row++, 2, caption, column, number ? 30 : 1);
    }
    grid->setColumnStretch(4, 1);
    return page;
}

QWidget* TORCF101A::buildPacking()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    auto block = [&](const char* caption, const char* kind, QLabel*& total) {
        grid->addWidget(new QLabel(fillCaption(caption)), row++, 0, 1, 6);
        for (int n = 1; n <= 4; ++n) {
            const QString a = QStringLiteral("QTD%1%2A").arg(QLatin1String(kind)).arg(n);
            const QString b = QStringLiteral("QTD%1%2B").arg(QLatin1String(kind)).arg(n);
            addField(grid, row, 0, "", a.toLatin1().constData(), 8);
            addField(grid, row, 2, " a ", b.toLatin1().constData(), 8);
            grid->addWidget(new QLabel(QStringLiteral("=")), row, 4);
            auto* product = new QLabel;
            product->setObjectName(QStringLiteral("Label_%1").arg(a));
            grid->addWidget(product, row, 5);
            m_products.insert(a, product);
            ++row;
        }
        total = new QLabel;
        total->setObjectName(QStringLiteral("Label_Total%1").arg(QLatin1String(kind)));
        grid->addWidget(total, row++, 5);
    };
    block("Quantidade  de Embalagens Exteriores  : ", "EXT", Label_TotalExt);
    block("Quantidade  de Paletes  : ", "PLT", Label_TotalPlt);
    grid->addWidget(new QLabel(fillCaption("OBSERVAÇÕES / INSTRUÇÕES DE EMBALAGEM :")), row++, 0, 1, 6);
    for (const char* obs : {"OBSERV1", "OBSERV2", "OBSERV3", "OBSERV4"}) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("Edit_%1").arg(QLatin1String(obs)));
        edit->setMaxLength(80);
        kv::ui::setFieldWidth(edit, 80);
        grid->addWidget(edit, row++, 0, 1, 6, Qt::AlignLeft);
        m_edits.insert(QLatin1String(obs), edit);
    }
    grid->addWidget(new QLabel(fillCaption("Total de Unidades a Produzir :")), row, 0, 1, 3);
    Label_TotalProduzir = new QLabel;
    Label_TotalProduzir->setObjectName(QStringLiteral("Label_TotalProduzir"));
    grid->addWidget(Label_TotalProduzir, row, 3, 1, 3);
    grid->setColumnStretch(6, 1);
    return page;
}

void TORCF101A::refuse(const FillRefusal& refusal)
{
    rejectField(refusal.message, refusal.beep);
}

void TORCF101A::attachRules()
{
    for (const FilledColumn& f : filledColumns()) {
        const QString column = QLatin1String(f.column);
        QLineEdit* edit = m_edits.value(column);
        if (!edit || f.kind == FillKind::Text || f.kind == FillKind::Char)
            continue;
        if (f.kind == FillKind::Date) {
            setExitHandler(edit, [this, edit] {
                const ProductionDay day = m_filling->productionDay(edit->text());
                if (day.refusal)
                    return refuse(*day.refusal);
                m_edits[QStringLiteral("SEMANAPROD")]->setText(day.week);
            });
            continue;
        }
        const bool packCount = column.startsWith(QLatin1String("QTD")) && column.endsWith(QLatin1Char('A'));
        if (packCount) {
            setExitHandler(edit, [this, column] { leavePackCount(column); });
            continue;
        }
        setExitHandler(edit, [this, column, edit] {
            if (auto r = OrderFilling::fieldRefusal(column, edit->text())) {
                if (r->focus != column) { // a packing row's units send the user back to its count
                    messages().beep();
                    messages().error(r->message);
                    return focusField(m_edits[r->focus]);
                }
                return refuse(*r);
            }
            if (column.startsWith(QLatin1String("QTD")))
                showPacking();
            if (column == QLatin1String("PLNLARGURA2") && !edit->text().trimmed().isEmpty())
                m_lines->recalculate();
            if (column == QLatin1String("MANGA")) {
                TabControl->setCurrentIndex(1);
            }
        });
    }
    setExitHandler(m_edits[QStringLiteral("COMPRIM")], [this] {
        if (auto r = OrderFilling::fieldRefusal(QStringLiteral("PLNCOMPRIM1"), m_edits[QStringLiteral("PLNCOMPRIM1")]->text()))
            refuse(*r);
    });
    setEnterHandler(m_edits[QStringLiteral("OBSERV1")], [this] {
        showPacking();
        if (auto r = OrderFilling::packedTotalRefusal(texts(), m_quote.unit)) {
            messages().beep();
            messages().error(r->message);
            focusField(m_edits[r->focus]);
        }
    });
    setExitHandler(m_edits[QStringLiteral("OBSERV4")], [this] { TabControl->setCurrentIndex(2); });
}

void TORCF101A::leavePackCount(const QString& column)
{
    QLineEdit* edit = m_edits[column];
    const double count = kv::text::parseNumber(edit->text()).value_or(0.0);
    if (!edit->text().trimmed().isEmpty() && !kv::text::parseNumber(edit->text()))
        return refuse(FillRefusal{kv::text::notANumberMessage(edit->text()), column});
    if (count != 0.0)
        return;
    // An empty count ends its block: it and every later row of the block pack nothing.
    const QString kind = column.mid(3, 3);
    for (int n = column.mid(6, 1).toInt(); n <= 4; ++n)
        for (char side : {'A', 'B'})
            m_edits[QStringLiteral("QTD%1%2%3").arg(kind).arg(n).arg(QLatin1Char(side))]->setText(QStringLiteral("0"));
    showPacking();
    focusField(m_edits[kind == QLatin1String("EXT") ? QStringLiteral("QTDPLT1A") : QStringLiteral("OBSERV1")]);
}

void TORCF101A::showPacking()
{
    const QHash<QString, QString> t = texts();
    const double quantity = kv::text::parseNumber(t.value(QStringLiteral("QUANTFINAL"))).value_or(0.0);
    Label_TotalProduzir->setText(kv::text::formatted(OrderFilling::unitsToProduce(quantity, m_quote.unit), "#,##0"));
    for (const char* kind : {"EXT", "PLT"}) {
        double total = 0;
        for (int n = 1; n <= 4; ++n) {
            const QString a = QStringLiteral("QTD%1%2A").arg(QLatin1String(kind)).arg(n);
            QString b = a;
            b.back() = QLatin1Char('B');
            const double product = kv::text::parseNumber(t.value(a)).value_or(0.0)
                                   * kv::text::parseNumber(t.value(b)).value_or(0.0);
            total += product;
            m_products[a]->setText(kv::text::formatted(product, "#,##0"));
        }
        (QLatin1String(kind) == QLatin1String("EXT") ? Label_TotalExt : Label_TotalPlt)
            ->setText(kv::text::formatted(total, "#,##0"));
    }
}

double TORCF101A::sheetArea() const
{
    // Both formats as they stand now, each time: never an area added to an earlier one.
    auto value = [this](const char* column) {
        return kv::text::parseNumber(m_edits[QLatin1String(column)]->text()).value_or(0.0);
    };
    return OrderFilling::sheetArea(value("PLNCOMPRIM1"), value("PLNLARGURA1"), value("PLNCOMPRIM2"),
                                   value("PLNLARGURA2"));
}

QHash<QString, QString> TORCF101A::texts() const
{
    QHash<QString, QString> t;
    for (auto it = m_edits.begin(); it != m_edits.end(); ++it)
        t.insert(it.key(), it.value()->text());
    return t;
}

void TORCF101A::showOrder(const QHash<QString, QVariant>& row)
{
    for (const FilledColumn& f : filledColumns())
        m_edits[QLatin1String(f.column)]->setText(columnText(row.value(QLatin1String(f.column)), f.kind));
    m_edits[QStringLiteral("SEMANAPROD")]->setText(row.value(QStringLiteral("SEMANAPROD")).toString());
    findChild<QLabel*>(QStringLiteral("Label_UNVEND"))->setText(row.value(QStringLiteral("UNVEND")).toString());
    m_header->showOrder(m_filling->order(), row, *m_environment.invoicing());
    m_delivery = row.value(QStringLiteral("DATAENT")).toDate();
}

void TORCF101A::FormActivate()
{
    setStatusText(2, m_environment.state().WMarca);
    const SelectedOrder& o = m_filling->order();
    const auto quote = m_filling->readQuote();
    const auto row = quote ? m_filling->readOrder() : std::nullopt;
    if (!fillingMayOpen(*this, o, quote.has_value(), row.has_value()))
        return;
    m_quote = *quote;
    showOrder(*row);
    m_lines->open();
    TabControl->setCurrentIndex(0);
    EnableEvents();
    focusField(m_edits[QStringLiteral("DATAPROD")]);
}

void TORCF101A::save()
{
    if (m_lines->lineInProgress())
        m_lines->cancelLine();
    const auto refusal = m_filling->save(texts(), m_quote.unit);
    if (!refusal) {
        accept();
        return;
    }
    QLineEdit* field = m_edits.value(refusal->focus);
    const int page = TabControl->indexOf(field ? field->parentWidget() : nullptr);
    if (page >= 0 && page != TabControl->currentIndex()) {
        const QSignalBlocker quiet(TabControl);
        TabControl->setCurrentIndex(page);
    }
    showSaveRefusal(*this, *refusal, field);
}

} // namespace kv::production
