#include "quotes/forms/WorksheetPageFields.h"

#include "quotes/core/QuoteRow.h"

#include "imaging/forms/TPictureBox.h"

#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/Form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kv::quotes {

QLineEdit* WorksheetPageFields::add(const QString& name, const QString& column, Kind kind, int characters,
                                    QLabel* caption)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    kv::ui::setFieldWidth(edit, characters);
    if (kind != Kind::Text)
        edit->setAlignment(Qt::AlignRight);
    if (caption)
        m_form.setCaptionLabel(edit, caption);
    m_bindings.push_back({edit, column, kind});
    return edit;
}

QLineEdit* WorksheetPageFields::box(const QString& name, int characters)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    kv::ui::setFieldWidth(edit, characters);
    QPalette grey = edit->palette();
    grey.setColor(QPalette::Base, QColor(0xc0, 0xc0, 0xc0));
    edit->setPalette(grey);
    return edit;
}

QString WorksheetPageFields::text(const QuoteRow& row, const QString& column, Kind kind)
{
    if (row.isNull(column))
        return {};
    switch (kind) {
    case Kind::Text: return row.text(column).trimmed();
    case Kind::Integer: return QString::number(row.integer(column));
    case Kind::Number: return kv::text::plain(row.number(column));
    }
    return {};
}

void WorksheetPageFields::load(const QuoteRow& row) const
{
    for (const Binding& b : m_bindings)
        b.edit->setText(text(row, b.column, b.kind));
}

void WorksheetPageFields::write(const Binding& b, QuoteRow& row)
{
    const QString typed = b.edit->text().trimmed();
    if (typed.isEmpty()) {
        row.setNull(b.column);
        return;
    }
    switch (b.kind) {
    case Kind::Text: row.set(b.column, typed); return;
    case Kind::Integer:
        if (const auto value = kv::text::parseInteger(typed))
            row.set(b.column, *value);
        return;
    case Kind::Number:
        if (const auto value = kv::text::parseNumber(typed))
            row.set(b.column, *value);
        return;
    }
}

void WorksheetPageFields::store(QuoteRow& row) const
{
    for (const Binding& b : m_bindings)
        write(b, row);
}

const WorksheetPageFields::Binding* WorksheetPageFields::find(QLineEdit* field) const
{
    for (const Binding& b : m_bindings)
        if (b.edit == field)
            return &b;
    return nullptr;
}

void WorksheetPageFields::store(QLineEdit* field, QuoteRow& row) const
{
    if (const Binding* b = find(field))
        write(*b, row);
}

bool WorksheetPageFields::acceptNumber(QLineEdit* field, QuoteRow& row) const
{
    const QString typed = field->text().trimmed();
    if (!typed.isEmpty() && !kv::text::parseNumber(typed)) {
        m_form.rejectField(kv::text::notANumberMessage(typed));
        return false;
    }
    store(field, row);
    return true;
}

QLabel* WorksheetPageFields::caption(const char* text) { return new QLabel(QString::fromUtf8(text)); }

void WorksheetPageFields::addRow(QGridLayout* grid, int& r, QLabel* label, std::initializer_list<QWidget*> widgets)
{
    grid->addWidget(label, r, 0);
    auto* line = new QHBoxLayout;
    line->setSpacing(8);
    for (QWidget* w : widgets)
        line->addWidget(w);
    line->addStretch(1);
    grid->addLayout(line, r, 1);
    ++r;
}

QWidget* WorksheetPageFields::photoBox(kv::imaging::TPictureBox*& box, const QString& name)
{
    auto* group = new QGroupBox(QStringLiteral("Fotografia"));
    auto* layout = new QVBoxLayout(group);
    box = new kv::imaging::TPictureBox(group);
    box->setObjectName(name);
    box->setStretch(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumSize(180, 150);
    layout->addWidget(box);
    return group;
}

QString WorksheetPageFields::numericAlphabeticHint()
{
    return QStringLiteral("Tecla <Insert> Procura Numérica -- <Ctrl+Insert> Procura Alfabética");
}

} // namespace kv::quotes
