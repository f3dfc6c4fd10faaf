#include "platform/ui/RangeLimitsBlock.h"

#include "platform/db/Dataset.h"
#include "platform/text/DateText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/Form.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <stdexcept>

namespace kv::ui {

using kv::text::LimitExit;
using kv::text::LimitSide;

RangeLimitsBlock::RangeLimitsBlock(Form& form, std::vector<kv::text::LimitPair> pairs, std::vector<LimitFields> fields,
                                   QWidget* parent)
    : QWidget(parent), m_form(form), m_limits(std::move(pairs))
{
    auto* grid = m_grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_rows.reserve(fields.size());
    for (LimitFields& spec : fields) {
        Row r(std::move(spec));
        auto* caption = new QLabel(r.spec.label, this);
        r.from = makeField(r.spec.fromName, r.spec);
        const int line = static_cast<int>(m_rows.size());
        grid->addWidget(caption, line, 0);
        grid->addWidget(r.from, line, 1);
        m_form.setCaptionLabel(r.from, caption);
        if (!r.spec.toName.isEmpty()) {
            r.to = makeField(r.spec.toName, r.spec);
            grid->addWidget(r.to, line, 2, Qt::AlignLeft);
            m_form.setCaptionLabel(r.to, caption);
        } else if (!r.spec.nameLabel.isEmpty()) {
            r.name = new QLabel(this);
            r.name->setObjectName(r.spec.nameLabel);
            grid->addWidget(r.name, line, 2, 1, 3);
        }
        m_rows.push_back(std::move(r));
    }
    grid->setColumnStretch(4, 1);

    for (Row& r : m_rows) {
        const QString pair = r.spec.pair;
        m_form.setExitHandler(r.from, [this, pair] { leave(row(pair), LimitSide::From, true); });
        addLookups(r, r.from, LimitSide::From);
        if (r.to) {
            m_form.setExitHandler(r.to, [this, pair] { leave(row(pair), LimitSide::To, true); });
            addLookups(r, r.to, LimitSide::To);
        }
        if (r.spec.dateLookup) {
            for (QLineEdit* field : {r.from, r.to}) {
                if (!field)
                    continue;
                QPointer<QLineEdit> entered(field);
                m_form.setEnterHandler(field, [this, entered] {
                    m_form.setStatusText(0, QStringLiteral("<INS> Seleccione a Data"));
                    m_activeDate = entered;
                });
            }
            if (!m_activeDate)
                m_activeDate = r.from;
        }
    }
}

QLineEdit* RangeLimitsBlock::makeField(const QString& objectName, const LimitFields& spec)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(objectName);
    if (!spec.inputMask.isEmpty())
        field->setInputMask(spec.inputMask);
    if (spec.maxLength > 0)
        field->setMaxLength(spec.maxLength);
    setFieldWidth(field, spec.characters);
    return field;
}

void RangeLimitsBlock::addLookups(Row& r, QLineEdit* field, LimitSide side)
{
    const QString pair = r.spec.pair;
    if (r.spec.simple.list) {
        addFieldAction(field, QStringLiteral("Procura Simples"), QKeySequence(Qt::Key_Insert),
                       [this, pair, field, side] { lookup(row(pair), field, side, row(pair).spec.simple); });
    }
    if (r.spec.alphabetic.list) {
        addFieldAction(field, QStringLiteral("Procura Alfabética"), r.spec.alphabeticKey,
                       [this, pair, field, side] { lookup(row(pair), field, side, row(pair).spec.alphabetic); });
    }
    if (r.spec.dateLookup)
        addFieldAction(field, QStringLiteral("Seleccione a Data"), QKeySequence(Qt::Key_Insert),
                       [this] { chooseDate(); });
}

const RangeLimitsBlock::Row& RangeLimitsBlock::row(const QString& pair) const
{
    for (const Row& r : m_rows) {
        if (r.spec.pair == pair)
            return r;
    }
    throw std::invalid_argument("no limit fields " + pair.toStdString());
}

void RangeLimitsBlock::addBeside(const QString& pair, QWidget* widget)
{
    for (std::size_t line = 0; line < m_rows.size(); ++line) {
        if (m_rows[line].spec.pair == pair)
            m_grid->addWidget(widget, static_cast<int>(line), 3, Qt::AlignLeft);
    }
}

QLineEdit* RangeLimitsBlock::fromField(const QString& pair) const { return row(pair).from; }

QLineEdit* RangeLimitsBlock::toField(const QString& pair) const { return row(pair).to; }

void RangeLimitsBlock::showDefaults()
{
    m_limits.reset();
    for (const Row& r : m_rows) {
        r.from->setText(m_limits.defaultText(r.spec.pair, LimitSide::From));
        if (r.to)
            r.to->setText(m_limits.defaultText(r.spec.pair, LimitSide::To));
        showName(r);
    }
}

void RangeLimitsBlock::readAll()
{
    for (const Row& r : m_rows) {
        leave(r, LimitSide::From, false);
        if (r.to)
            leave(r, LimitSide::To, false);
    }
}

void RangeLimitsBlock::leave(const Row& r, LimitSide side, bool moveFocus)
{
    QLineEdit* field = side == LimitSide::From ? r.from : r.to;
    const LimitExit exit = m_limits.leave(r.spec.pair, side, r.from->text(), r.to ? r.to->text() : QString());
    if (exit.clearStatus)
        m_form.setStatusText(0, {});
    if (exit.shows)
        field->setText(exit.shownText);
    showName(r);
    switch (exit.outcome) {
    case LimitExit::Outcome::Unreadable: messages().fail(exit.message); return;
    case LimitExit::Outcome::Invalid:
        if (moveFocus)
            m_form.focusField(exit.focusFrom ? r.from : field);
        messages().beep();
        if (exit.inStatusBar)
            m_form.setStatusText(0, exit.message);
        else
            messages().warning(exit.message);
        return;
    case LimitExit::Outcome::Valid: break;
    }
    if (exit.reopen && moveFocus && m_reopen)
        m_reopen();
    if (moveFocus && m_afterLeave)
        m_afterLeave(r.spec.pair, side);
}

void RangeLimitsBlock::showName(const Row& r)
{
    if (!r.name || !r.spec.nameOf)
        return;
    const qint64 key = m_limits.fromInteger(r.spec.pair);
    r.name->setText(key == 0 ? QString() : r.spec.nameOf(key));
}

void RangeLimitsBlock::lookup(const Row& r, QLineEdit* field, LimitSide side, const LimitLookup& spec)
{
    kv::db::Dataset* list = spec.list();
    if (!list)
        return;
    LookupDialog dialog(*list, spec.columns, &m_form, spec.caption);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QVariant value = list->value(spec.keyField);
    field->setText(value.toString());
    if (spec.setsLimit) {
        m_limits.set(r.spec.pair, side,
                     m_limits.pair(r.spec.pair).kind == kv::text::LimitKind::Integer ? QVariant(value.toLongLong())
                                                                                     : value);
        showName(r);
    }
}

void RangeLimitsBlock::chooseDate()
{
    if (!m_activeDate || !m_dateLookup.calendar)
        return;
    kv::db::Dataset* calendar = m_dateLookup.calendar();
    if (!calendar)
        return;
    if (const auto day = kv::text::parseDate(m_activeDate->text()))
        calendar->locate(QStringLiteral("DATA"), QDateTime(*day, QTime(0, 0)));
    LookupDialog dialog(*calendar, m_dateLookup.columns, &m_form, m_dateLookup.caption);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_activeDate->setText(kv::text::date(calendar->value(QStringLiteral("DATA")).toDate()));
}

} // namespace kv::ui
