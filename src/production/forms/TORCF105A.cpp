#include "production/forms/TORCF105A.h"

#include "costing/core/ProcedureLines.h"
#include "domain/TableType.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "production/forms/FillingFormParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::production {

namespace {

using kv::ui::messages;

QString tCaption(const char* utf8) { return QString::fromUtf8(utf8); }

QString tName(const char* stem, int n) { return QLatin1String(stem) + QString::number(n); }

} // namespace

TORCF105A::TORCF105A(const kv::shell::FormEnvironment& environment, const SelectedOrder& order, QWidget* parent)
    : kv::ui::Form(parent, 3),
      m_environment(environment),
      m_filling(std::make_unique<ModelTFilling>(*environment.application(), *environment.invoicing(), order))
{
    setObjectName(QStringLiteral("TORCF105A"));
    setWindowTitle(QStringLiteral("Preenchimento O.F."));
    auto* layout = new QVBoxLayout(body());
    m_header = new OrderHeader;
    layout->addWidget(m_header);

    auto* top = new QGridLayout;
    edit(top, 0, 0, "Data Produção : ", QStringLiteral("DATAPROD"), 10);
    edit(top, 0, 2, "Quant. a Produzir : ", QStringLiteral("QUANTIDADE"), 12);
    Label_UNVEND = new QLabel;
    Label_UNVEND->setObjectName(QStringLiteral("Label_UNVEND"));
    top->addWidget(Label_UNVEND, 0, 4);
    edit(top, 1, 0, "Observações : ", QStringLiteral("OBSERV"), 100);
    top->setColumnStretch(5, 1);
    layout->addLayout(top);

    // Laminating on the left, the other sections of the plant on the right.
    auto* sections = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    sections->addLayout(left);
    sections->addLayout(right);
    layout->addLayout(sections);
    QVBoxLayout* sectionColumn = left;
    auto section = [&](const char* title) {
        auto* box = new QGroupBox(tCaption(title));
        auto* grid = new QGridLayout(box);
        sectionColumn->addWidget(box);
        return grid;
    };
    QGridLayout* lamination = section("Contracolagem");
    edit(lamination, 0, 0, "Observações : ", QStringLiteral("CCOL_OBS"), 60);
    auto rowEdit = [this](QHBoxLayout* line, const QString& name, int characters, QLabel* caption) {
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("Edit_") + name);
        e->setMaxLength(characters);
        kv::ui::setFieldWidth(e, characters);
        line->addWidget(e);
        setCaptionLabel(e, caption);
        m_edits.insert(name, e);
        return e;
    };
    auto* format = new QLabel(tCaption("Format Plano (cm) : "));
    auto* formatLine = new QHBoxLayout;
    rowEdit(formatLine, QStringLiteral("PLCOMPRI"), 8, format);
    formatLine->addWidget(new QLabel(QStringLiteral("x")));
    rowEdit(formatLine, QStringLiteral("PLLARGUR"), 8, format);
    formatLine->addWidget(new QLabel(QStringLiteral("Cm")));
    formatLine->addStretch(1);
    lamination->addWidget(format, 1, 0);
    lamination->addLayout(formatLine, 1, 1, 1, 5);
    edit(lamination, 2, 0, "Nº de Planos : ", QStringLiteral("NPLANOS"), 8);
    // Each material row on one line: kind, code, the code's designation, unit.
    for (int n = 1; n <= 5; ++n) {
        auto* caption = new QLabel(n == 1 ? tCaption("Matéria Prima  : ") : QString());
        auto* line = new QHBoxLayout;
        QLineEdit* kind = rowEdit(line, tName("KIND", n), 1, caption);
        kind->setToolTip(tCaption("Prima [F1] - Planos, Cartolina, Micro, ... ; [F2] - Colas"));
        rowEdit(line, tName("CCOL_MAT", n), 6, caption);
        QLabel* name = shownLabel(tName("DESIGN", n));
        name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);
        line->addWidget(name, 1);
        rowEdit(line, tName("CCOL_UND", n), 1, caption);
        lamination->addWidget(caption, 2 + n, 0);
        lamination->addLayout(line, 2 + n, 1, 1, 5);
    }
    lamination->setColumnStretch(4, 1);
    left->addStretch(1);
    sectionColumn = right;
    QGridLayout* cutting = section("Corte e Vinco");
    edit(cutting, 0, 0, " Nº Cortante : ", QStringLiteral("CORTANTE"), 10);
    edit(cutting, 1, 0, "Observações : ", QStringLiteral("CVINCO_OBS"), 60);
    cutting->setColumnStretch(2, 1);
    QGridLayout* gluing = section("Colagem");
    edit(gluing, 0, 0, "Observações : ", QStringLiteral("COL_OBS"), 60);
    for (int n = 1; n <= 2; ++n) {
        edit(gluing, n, 0, n == 1 ? "Matéria Prima  : " : "", tName("COL_MAT", n), 6);
        gluing->addWidget(shownLabel(tName("COLDESIGN", n)), n, 2);
    }
    gluing->setColumnStretch(2, 1);
    QGridLayout* closing = section("Fecho de Caixas");
    edit(closing, 0, 0, "Observações", QStringLiteral("FECHO_OBS"), 60);
    closing->setColumnStretch(2, 1);
    QGridLayout* finishing = section("Acabamento e Embalamento");
    edit(finishing, 0, 0, "Tipo de Acabamento", QStringLiteral("ACAB_OBS"), 60);
    edit(finishing, 1, 0, "Paletização", QStringLiteral("PLT_OBS"), 60);
    finishing->setColumnStretch(2, 1);
    right->addStretch(1);

    addFillingButtons(*this, [this] { save(); });

    QStringList ruled = {QStringLiteral("DATAPROD"), QStringLiteral("QUANTIDADE"), QStringLiteral("PLCOMPRI"),
                         QStringLiteral("PLLARGUR"), QStringLiteral("NPLANOS"), QStringLiteral("COL_MAT1"),
                         QStringLiteral("COL_MAT2")};
    for (int n = 1; n <= 5; ++n)
        ruled << tName("KIND", n) << tName("CCOL_MAT", n) << tName("CCOL_UND", n);
    for (const QString& column : ruled)
        setExitHandler(m_edits[column], [this, column] { leaveField(column); });
    QStringList searched = {QStringLiteral("COL_MAT1"), QStringLiteral("COL_MAT2")};
    for (int n = 1; n <= 5; ++n)
        searched << tName("CCOL_MAT", n);
    for (const QString& column : searched) {
        QLineEdit* code = m_edits[column];
        code->setToolTip(tCaption("[Ins] - Busca Numérica ; [CTRL+INS] Busca Alfabetica"));
        kv::ui::addFieldAction(code, tCaption("Busca Numérica"), QKeySequence(Qt::Key_Insert),
                               [this, column] { searchCode(column, false); });
        kv::ui::addFieldAction(code,
                               column.startsWith(QLatin1String("COL_")) ? tCaption("Busca por Designação")
                                                                        : tCaption("Busca por Designação "),
                               QKeySequence(Qt::CTRL | Qt::Key_Insert), [this, column] { searchCode(column, true); });
    }
}

TORCF105A::~TORCF105A() = default;

QLineEdit* TORCF105A::edit(QGridLayout* grid, int row, int column, const char* caption, const QString& name,
                           int characters)
{
    auto* label = new QLabel(tCaption(caption));
    auto* e = new QLineEdit;
    e->setObjectName(QStringLiteral("Edit_") + name);
    e->setMaxLength(characters);
    // Observations scroll within a field narrower than their length, so that two sections fit side by side.
    kv::ui::setFieldWidth(e, std::min(characters, 40));
    grid->addWidget(label, row, column);
    grid->addWidget(e, row, column + 1, Qt::AlignLeft);
    setCaptionLabel(e, label);
    m_edits.insert(name, e);
    return e;
}

QLabel* TORCF105A::shownLabel(const QString& name)
{
    auto* l = new QLabel;
    l->setObjectName(QStringLiteral("Label_") + name);
    m_shown.insert(name, l);
    return l;
}

QHash<QString, QString> TORCF105A::texts() const
{
    QHash<QString, QString> t;
    for (auto it = m_edits.begin(); it != m_edits.end(); ++it)
        t.insert(it.key(), it.value()->text());
    for (auto it = m_shown.begin(); it != m_shown.end(); ++it)
        t.insert(it.key(), it.value()->text());
    return t;
}

void TORCF105A::showTexts(const QHash<QString, QString>& t)
{
    for (auto it = t.begin(); it != t.end(); ++it) {
        if (QLineEdit* e = m_edits.value(it.key()))
            e->setText(it.value());
        else if (QLabel* l = m_shown.value(it.key()))
            l->setText(it.value());
    }
}

void TORCF105A::leaveField(const QString& column)
{
    QHash<QString, QString> t = texts();
    if (auto refusal = m_filling->leave(column, t))
        return rejectField(refusal->message, refusal->beep);
    showTexts(t);
    // An empty kind skips its cleared row.
    if (column.startsWith(QLatin1String("KIND")) && t.value(column).trimmed().isEmpty()) {
        const int n = column.mid(4).toInt();
        focusField(m_edits[n < 5 ? tName("KIND", n + 1) : QStringLiteral("CORTANTE")]);
    }
}

bool TORCF105A::FormKeyPress(QKeyEvent* event)
{
    // F1 asks for a board, F2 for a glue, in the kind field being typed.
    if (event->key() == Qt::Key_F1 || event->key() == Qt::Key_F2) {
        for (int n = 1; n <= 5; ++n) {
            QLineEdit* kind = m_edits[tName("KIND", n)];
            if (!kind->hasFocus())
                continue;
            kind->setText(event->key() == Qt::Key_F1 ? QStringLiteral("P") : QStringLiteral("C"));
            focusField(m_edits[tName("CCOL_MAT", n)]);
            return true;
        }
    }
    return kv::ui::Form::FormKeyPress(event);
}

void TORCF105A::searchCode(const QString& column, bool alphabetic)
{
    using kv::domain::TableType;
    const bool laminating = column.startsWith(QLatin1String("CCOL_"));
    const int kind = laminating ? ModelTFilling::tableKind(m_edits[tName("KIND", column.right(1).toInt())]->text())
                                : kv::domain::typeCode(TableType::Glue);
    const kv::costing::TableSearch* table =
        kv::costing::tableSearch(kind == kv::domain::typeCode(TableType::Glue) ? kind
                                                                               : kv::domain::typeCode(TableType::Board));
    kv::db::Dataset list;
    try {
        list.setConnection(m_environment.application());
        list.setSql(table->statement(alphabetic ? kv::costing::ListOrder::Alphabetic : kv::costing::ListOrder::Numeric));
        list.open();
    } catch (const kv::db::DbError& error) {
        messages().fail(error.fullText());
        return;
    }
    std::vector<kv::ui::GridColumn> columns;
    for (const kv::costing::SearchColumn& c : alphabetic ? table->alphabetic : table->numeric)
        columns.push_back({c.column, c.title, c.width, {}});
    kv::ui::LookupDialog dialog(list, std::move(columns), this, QStringLiteral("Procurar"));
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return;
    m_edits[column]->setText(list.value(QStringLiteral("CODIGO")).toString());
}

void TORCF105A::FormActivate()
{
    setStatusText(2, m_environment.state().WMarca);
    const SelectedOrder& o = m_filling->order();
    const auto quote = m_filling->readQuote();
    const auto row = quote ? m_filling->readOrder() : std::nullopt;
    if (!fillingMayOpen(*this, o, quote.has_value(), row.has_value()))
        return;
    showTexts(m_filling->shownTexts(*row));
    Label_UNVEND->setText(row->value(QStringLiteral("UNVEND")).toString());
    m_header->showOrder(o, *row, *m_environment.invoicing());
    EnableEvents();
    focusField(m_edits[QStringLiteral("DATAPROD")]);
}

void TORCF105A::save()
{
    const auto refusal = m_filling->save(texts());
    if (!refusal) {
        accept();
        return;
    }
    showSaveRefusal(*this, *refusal, m_edits.value(refusal->focus));
}

} // namespace kv::production
