#include "costing/forms/ArticleLink.h"

#include "costing/forms/CodeTableForm.h"
#include "costing/forms/CodeTableLayout.h"
#include "costing/forms/FieldLookup.h"

#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

#include <QKeySequence>
#include <QLineEdit>

namespace kv::costing {

using kv::db::DbError;
using kv::ui::GridColumn;

namespace {

const QString CodeColumn = QStringLiteral("CODIGO");

} // namespace

ArticleLink::ArticleLink(CodeTableForm& form, const ArticleLinkSpec& spec)
    : m_form(form), m_spec(spec), m_lists(std::make_unique<ArticleLists>(form.environment().invoicing(), spec.lists))
{
}

ArticleLink::~ArticleLink() = default;

void ArticleLink::attach(QWidget* field)
{
    showFieldHint(m_form, field, numericAlphabeticHint());
    addFieldAction(field, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert), [this] { lookup(false); });
    addFieldAction(field, QStringLiteral("Procura Alfabética"), QKeySequence(Qt::ControlModifier | Qt::Key_Insert),
                   [this] { lookup(true); });
}

bool ArticleLink::left(QWidget* field)
{
    auto* edit = qobject_cast<QLineEdit*>(field);
    const QString typed = edit ? edit->text() : QString();
    if (!m_lists->locate(typed)) {
        m_form.refuse(unknownArticleMessage(typed));
        return false;
    }
    if (!m_form.inserting())
        return true;
    // A new row takes the article's designation and cost, once.
    try {
        for (const auto& [column, value] : m_lists->copiedValues(m_spec.copied))
            m_form.table().setValue(column, value);
    } catch (const DbError& error) {
        m_form.refuse(error.text());
        return false;
    }
    return true;
}

void ArticleLink::lookup(bool alphabetic)
{
    kv::db::Dataset& list = alphabetic ? m_lists->alphabetic() : m_lists->numeric();
    kv::db::Dataset& table = m_form.table();
    if (!list.isOpen() || !table.isOpen())
        return;
    const std::vector<GridColumn> columns =
        alphabetic ? std::vector<GridColumn>{{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                                             {CodeColumn, QStringLiteral("Artigo Nº"), 16, {}}}
                   : std::vector<GridColumn>{{CodeColumn, QStringLiteral("Artigo Nº"), 16, {}},
                                             {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                                             {QStringLiteral("TIPOARTIGO"), QStringLiteral("Tipo artigo"), 2, {}}};
    if (!runLookup(list, columns, &m_form) || list.isEmpty())
        return;
    try {
        if (table.state() == kv::db::DatasetState::Browse)
            table.edit();
        table.setValue(m_form.member().field(m_spec.field)->column, list.value(CodeColumn));
    } catch (const DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

} // namespace kv::costing
