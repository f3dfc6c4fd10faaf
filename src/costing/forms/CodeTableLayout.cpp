#include "costing/forms/CodeTableLayout.h"

#include "costing/forms/ArticleLink.h"
#include "costing/forms/CodeTableForm.h"
#include "costing/forms/FieldLookup.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/text/NumberText.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>

namespace kv::costing {

using kv::ui::GridColumn;

namespace {

std::function<QString(const QVariant&)> gridFormat(ValueFormat format)
{
    if (format != ValueFormat::Money)
        return {};
    return [](const QVariant& value) { return value.isNull() ? QString() : kv::text::money(value.toDouble(), 2); };
}

} // namespace

void showFieldHint(CodeTableForm& form, QWidget* field, const QString& hint)
{
    // Panel 0 holds the maker tag on some members: their hints stay off it.
    if (form.member().makerTagPanel == 0)
        field->setToolTip(hint);
    else
        form.setKeyHint(field, hint);
}

CodeTableLayout::CodeTableLayout(CodeTableForm& form, ArticleLink* article) : m_form(form), m_article(article)
{
    const CodeTableDescription& member = form.member();
    QWidget* const body = form.body();
    auto* layout = new QVBoxLayout(body);
    auto* top = new QGridLayout;
    // Captions and fields keep their widths; what is left stays on the right.
    top->setColumnStretch(2, 1);
    layout->addLayout(top);

    auto* keyLabel = new QLabel(member.keyCaption, body);
    keyLabel->setObjectName(QStringLiteral("Label_Codigo"));
    Edit_Codigo = new QLineEdit(body);
    Edit_Codigo->setObjectName(QStringLiteral("Edit_Codigo"));
    kv::ui::setFieldWidth(Edit_Codigo, static_cast<int>(QString::number(member.keyBounds.maximum).size()) + 1);
    auto* keyLine = new QHBoxLayout;
    keyLine->addWidget(Edit_Codigo);
    top->addWidget(keyLabel, 0, 0);
    top->addLayout(keyLine, 0, 1);
    if (member.labelsLightUp)
        form.setCaptionLabel(Edit_Codigo, keyLabel);
    if (!member.keyNameLabel.isEmpty()) {
        auto* name = new QLabel(body);
        name->setObjectName(member.keyNameLabel);
        keyLine->addWidget(name);
    }
    keyLine->addStretch(1);
    for (const FieldAction& action : member.keyActions)
        addFieldAction(Edit_Codigo, action.text, action.key, [&form, run = action.run] { run(form); });

    QTabWidget* pages = nullptr;
    std::map<QString, QGridLayout*> pageLayouts;
    QWidget* previous = Edit_Codigo;
    std::vector<QWidget*> afterGrid;
    QHBoxLayout* line = nullptr; // the line of the field before
    int lineRow = 0;
    for (const FieldSpec& spec : member.fields) {
        QGridLayout* grid = top;
        QWidget* parent = body;
        if (!spec.page.isEmpty()) {
            if (!pages) {
                pages = new QTabWidget(body);
                pages->setObjectName(QStringLiteral("Tb"));
                layout->addWidget(pages);
            }
            auto it = pageLayouts.find(spec.page);
            if (it == pageLayouts.end()) {
                auto* page = new QWidget(pages);
                pages->addTab(page, spec.page);
                auto* pageGrid = new QGridLayout(page);
                pageGrid->setColumnStretch(2, 1);
                pageGrid->setVerticalSpacing(2);
                it = pageLayouts.emplace(spec.page, pageGrid).first;
            }
            grid = it->second;
            parent = grid->parentWidget();
        }
        auto* label = new QLabel(spec.caption, parent);
        QString labelName = QStringLiteral("Label_") + spec.name.mid(spec.name.indexOf(QLatin1Char('_')) + 1);
        // The label that names the field's code may have taken the caption's name ("Label_TipoCalc").
        if (labelName == spec.nameLabel)
            labelName += QStringLiteral("Caption");
        label->setObjectName(labelName);
        QWidget* field = buildField(spec, parent);
        fields.emplace_back(&spec, field);
        const bool beside = spec.besidePrevious && line && line->parentWidget() == parent;
        if (!beside)
            lineRow = grid->rowCount();
        const int row = lineRow;
        if (beside) {
            line->insertSpacing(line->count() - 1, label->fontMetrics().averageCharWidth() * 2);
            line->insertWidget(line->count() - 1, label);
        } else {
            line = new QHBoxLayout;
            line->addStretch(1);
            grid->addWidget(label, row, 0);
            grid->addLayout(line, row, 1);
        }
        line->insertWidget(line->count() - 1, field);
        if (!spec.suffix.isEmpty())
            line->insertWidget(line->count() - 1, new QLabel(spec.suffix, parent));
        if (!spec.nameLabel.isEmpty()) {
            auto* name = new QLabel(parent);
            name->setObjectName(spec.nameLabel);
            line->insertWidget(line->count() - 1, name);
        }
        if (!spec.helpLines.isEmpty()) {
            auto* help = new QFrame(parent);
            help->setObjectName(spec.helpPanel);
            help->setFrameShape(QFrame::Panel);
            auto* lines = new QVBoxLayout(help);
            for (const QString& text : spec.helpLines)
                lines->addWidget(new QLabel(text, help));
            help->setVisible(false);
            grid->addWidget(help, row, 2, 2, 1, Qt::AlignLeft | Qt::AlignTop);
        }
        if (!spec.readOnly) {
            if (member.labelsLightUp && spec.labelLightsUp)
                form.setCaptionLabel(field, label);
            if (spec.afterGrid) {
                afterGrid.push_back(field);
            } else {
                QWidget::setTabOrder(previous, field);
                previous = field;
            }
        }
    }

    // The fields of a page stand at its top.
    for (const auto& [page, pageGrid] : pageLayouts)
        pageGrid->setRowStretch(pageGrid->rowCount(), 1);

    if (!member.note.isEmpty()) {
        auto* note = new QLabel(member.note, body);
        note->setObjectName(QStringLiteral("Label_Nota"));
        layout->addWidget(note);
    }

    DBGrid1 = new kv::ui::DbGrid(body);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    std::vector<GridColumn> columns;
    for (const GridColumnSpec& column : member.grid)
        columns.push_back({column.column, column.title, column.width, gridFormat(column.format)});
    DBGrid1->setDataset(&form.table(), std::move(columns));
    layout->addWidget(DBGrid1, 1);
    QWidget::setTabOrder(previous, DBGrid1);
    QWidget* last = DBGrid1;
    for (QWidget* field : afterGrid) {
        QWidget::setTabOrder(last, field);
        last = field;
    }

    buttons.emplace(form.buttonBar(), &form.table());
    form.buttonBar()->setLayout(buttons->layout);
}

void CodeTableLayout::sizeUnboundFields(const kv::db::Dataset& table)
{
    for (const auto& [edit, column] : m_sizedByColumn) {
        const int index = table.fieldIndex(column);
        if (index >= 0)
            edit->setDisplayWidth(kv::ui::fieldCharacters(table.fieldDef(index)));
    }
}

QWidget* CodeTableLayout::buildField(const FieldSpec& spec, QWidget* parent)
{
    auto* edit = new kv::ui::DbEdit(parent);
    edit->setObjectName(spec.name);
    if (spec.width > 0)
        edit->setDisplayWidth(spec.width);
    if (spec.bound)
        edit->setField(&m_form.table(), spec.column);
    else if (spec.width == 0)
        m_sizedByColumn.emplace_back(edit, spec.column);
    if (spec.upperCase)
        edit->setCharCase(kv::ui::DbEdit::CharCase::Upper);
    if (spec.readOnly) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
    }
    if (m_article && m_article->isField(spec.name))
        m_article->attach(edit);
    else if (!spec.hint.isEmpty())
        showFieldHint(m_form, edit, spec.hint);
    for (const FieldAction& action : spec.actions)
        addFieldAction(edit, action.text, action.key, [this, run = action.run] { run(m_form); });
    return edit;
}

} // namespace kv::costing
