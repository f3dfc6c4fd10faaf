#include "commercial/forms/AccountLinkField.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/Form.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"

#include <QAction>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QKeySequence>

namespace kv::commercial {

using kv::ui::GridColumn;

namespace {

std::vector<GridColumn> lookupColumns(LookupSet::Kind kind)
{
    switch (kind) {
    case LookupSet::Kind::Accounts:
        return {{QStringLiteral("CONTA"), QStringLiteral("CONTA Nº"), 20, {}},
                {QStringLiteral("NOME"), QStringLiteral("NOME"), 35, {}},
                {QStringLiteral("TIPO"), QStringLiteral("TIPO"), 1, {}}};
    case LookupSet::Kind::CostCentres:
        return {{QStringLiteral("CODIGO"), QStringLiteral("C.CUSTO"), 8, {}},
                {QStringLiteral("DESIGN"), QStringLiteral("DESIGNAÇÃO"), 40, {}}};
    case LookupSet::Kind::VatCodes:
        return {{QStringLiteral("CODIGO"), QStringLiteral("Cód.Iva"), 10, {}},
                {QStringLiteral("PRCIVA"), QStringLiteral("% IVA"), 10, {}},
                {QStringLiteral("DESCRICAO"), QStringLiteral("Descrição"), 20, {}}};
    }
    return {};
}

} // namespace

AccountLinkField::AccountLinkField(kv::ui::Form& form, AccountLinkSpec spec, QWidget* parent)
    : QWidget(parent), m_form(form), m_spec(std::move(spec)), m_edit(new kv::ui::DbEdit(this))
{
    setObjectName(m_spec.editName + QStringLiteral("Link"));
    m_edit->setObjectName(m_spec.editName);
    m_edit->setToolTip(m_spec.hint);
    m_focusPolicy = m_edit->focusPolicy();

    QBoxLayout* row = m_spec.labelBelow ? static_cast<QBoxLayout*>(new QVBoxLayout(this)) : new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    if (m_spec.labelBelow)
        row->setSpacing(1);
    const Qt::Alignment place = m_spec.labelBelow ? Qt::AlignLeft : Qt::Alignment();
    row->addWidget(m_edit, 0, place);
    if (!m_spec.labelName.isEmpty()) {
        // The name: read-only text beside the field, never a stop of the Enter key.
        m_label = new QLineEdit(this);
        m_label->setObjectName(m_spec.labelName);
        m_label->setReadOnly(true);
        m_label->setFrame(false);
        m_label->setFocusPolicy(Qt::NoFocus);
        kv::ui::setFieldWidth(m_label, m_spec.labelCharacters);
        row->addWidget(m_label, 0, place);
    }
    row->addStretch(1);

    auto* procurar = new QAction(QStringLiteral("Procurar"), m_edit);
    procurar->setShortcut(QKeySequence(Qt::Key_Insert));
    procurar->setShortcutContext(Qt::WidgetShortcut);
    m_edit->addAction(procurar);
    m_edit->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(procurar, &QAction::triggered, this, [this] { lookup(); });
    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        if (m_spec.refreshOnChange)
            refresh();
    });
}

AccountLinkField::~AccountLinkField() = default;

void AccountLinkField::setField(kv::db::Dataset* dataset, const QString& column)
{
    m_dataset = dataset;
    m_column = column;
    m_edit->setField(dataset, column);
}

void AccountLinkField::activate(LookupSet* set)
{
    m_set = set;
    const bool typed = set || m_spec.typedWhileOff;
    m_edit->setReadOnly(!typed);
    m_edit->setFocusPolicy(typed ? m_focusPolicy : Qt::NoFocus);
    if (set && m_spec.exitCheck)
        m_form.setExitHandler(m_edit, [this] { leave(); });
    else
        m_form.setExitHandler(m_edit, {});
    refresh();
}

QString AccountLinkField::storedCode() const
{
    if (!m_dataset || m_column.isEmpty() || !m_dataset->isOpen() || m_dataset->isEmpty())
        return m_dataset ? QString() : m_edit->text();
    return m_dataset->value(m_column).toString();
}

QString AccountLinkField::code() const
{
    QString text = m_spec.checksTypedText ? m_edit->text() : storedCode();
    if (m_spec.truncateTo > 0)
        text.truncate(m_spec.truncateTo);
    return text;
}

QString AccountLinkField::refusal(LinkStatus status) const
{
    switch (status) {
    case LinkStatus::NotFound: return m_spec.notFound;
    case LinkStatus::NotPosting: return m_spec.notPosting;
    case LinkStatus::Empty:
    case LinkStatus::Found: break;
    }
    return {};
}

void AccountLinkField::showName(const QString& code)
{
    if (!m_label)
        return;
    const LinkedCode* found = m_set ? m_set->find(code) : nullptr;
    m_label->setText(found ? found->name : QString());
}

// Edit_<Field>Exit: the code stays in the field and in the row whatever the
// outcome; only the focus comes back.
void AccountLinkField::leave()
{
    if (m_label)
        m_label->clear();
    if (!m_set)
        return;
    const LinkedCode* found = nullptr;
    const LinkStatus status = m_set->check(code(), m_spec.postingOnly, &found);
    if (status == LinkStatus::NotFound || status == LinkStatus::NotPosting) {
        m_form.rejectField(refusal(status), m_spec.beep);
        return;
    }
    if (m_label && found)
        m_label->setText(found->name);
    if (m_accepted)
        m_accepted();
}

bool AccountLinkField::verify()
{
    if (!m_set || !m_spec.exitCheck)
        return true;
    const LinkStatus status = m_set->check(code(), m_spec.postingOnly);
    if (status != LinkStatus::NotFound && status != LinkStatus::NotPosting)
        return true;
    if (m_label)
        m_label->clear();
    if (m_spec.beep)
        kv::ui::messages().beep();
    kv::ui::messages().error(refusal(status));
    m_form.focusField(m_edit);
    return false;
}

void AccountLinkField::refresh()
{
    if (!m_label)
        return;
    m_label->clear();
    if (!m_set)
        return;
    const QString stored = storedCode();
    // A VAT code of 0 names none.
    if (stored.isEmpty() || (m_set->kind() == LookupSet::Kind::VatCodes && stored.toLongLong() == 0))
        return;
    const LinkedCode* found = nullptr;
    switch (m_set->check(stored, m_spec.refreshChecksType && m_spec.postingOnly, &found)) {
    case LinkStatus::NotFound: m_label->setText(m_spec.labelNotFound); break;
    case LinkStatus::NotPosting: m_label->setText(m_spec.labelNotPosting); break;
    case LinkStatus::Found: m_label->setText(found->name); break;
    case LinkStatus::Empty: break;
    }
}

// MenuPlano<n>Click: the code chosen is written; a lookup left with Cancel
// leaves the field, its column and its label as they were.
bool AccountLinkField::lookup()
{
    if (!m_set)
        return false;
    m_set->position(m_edit->text());
    kv::db::Dataset& list = m_set->list();
    kv::ui::LookupDialog dialog(list, lookupColumns(m_set->kind()), &m_form, m_spec.lookupCaption);
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return false;
    const QVariant chosen = list.value(m_set->codeColumn());
    try {
        if (m_dataset && !m_column.isEmpty()) {
            if (m_dataset->state() == kv::db::DatasetState::Browse)
                m_dataset->edit();
            m_dataset->setValue(m_column, chosen);
        } else {
            m_edit->setText(chosen.toString());
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    showName(chosen.toString());
    return true;
}

} // namespace kv::commercial
