#include "quotes/forms/SelectionLookups.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

namespace kv::quotes {

SelectionLookups::SelectionLookups(QuoteFormsEnvironment environment) : m_environment(environment) {}

SelectionLookups::~SelectionLookups() = default;

kv::ui::GridColumn SelectionLookups::column(const char* field, const char* title, int width)
{
    kv::ui::GridColumn c;
    c.field = QString::fromLatin1(field);
    c.title = QString::fromUtf8(title);
    c.width = width;
    return c;
}

kv::db::Dataset* SelectionLookups::ownList(std::unique_ptr<kv::db::Dataset>& list, const QString& name,
                                           const QString& sql)
{
    try {
        if (!list) {
            list = std::make_unique<kv::db::Dataset>(name);
            list->setMode(kv::db::DatasetMode::ReadOnly);
            list->setConnection(m_environment.invoicing());
            list->setSql(sql);
            list->setParam(QStringLiteral("WAno"), m_environment.state->WAno);
        }
        if (!list->isOpen())
            list->open();
        return list.get();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return nullptr;
    }
}

kv::db::Dataset* SelectionLookups::sharedList(const QString& name)
{
    try {
        kv::db::Dataset& list = m_environment.modules->dataset(name);
        if (!list.isOpen())
            list.open();
        return &list;
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return nullptr;
    }
}

// Each search gives the code of the row chosen.
void SelectionLookups::add(kv::ui::LimitFields& fields, const QString& shared, const char* codeTitle, int codeWidth,
                           const char* nameField, const char* nameTitle, int nameWidth,
                           std::unique_ptr<kv::db::Dataset>& own, const QString& ownSql)
{
    fields.simple.list = [this, shared] { return sharedList(shared); };
    fields.simple.columns = {column("CODIGO", codeTitle, codeWidth), column(nameField, nameTitle, nameWidth)};
    fields.simple.keyField = QStringLiteral("CODIGO");
    fields.alphabetic.list = [this, &own, ownSql, shared] { return ownList(own, shared, ownSql); };
    fields.alphabetic.columns = {column(nameField, nameTitle, 40), column("CODIGO", codeTitle, 10)};
    fields.alphabetic.keyField = QStringLiteral("CODIGO");
}

void SelectionLookups::customers(kv::ui::LimitFields& fields, int nameWidth)
{
    add(fields, QStringLiteral("DTFILES.CLIENTES"), "CÓDIGO", 8, "NOME", "NOME", nameWidth, m_customersByName,
        QStringLiteral("SELECT CODIGO, NOME FROM CLIENTES ORDER BY NOME"));
}

void SelectionLookups::salesmen(kv::ui::LimitFields& fields, int nameWidth)
{
    add(fields, QStringLiteral("DTFILES.VENDEDORES"), "Vendedor Nº", 8, "NOME", "Nome Vendedor", nameWidth,
        m_salesmenByName, QStringLiteral("SELECT CODIGO, NOME FROM VENDEDORES ORDER BY NOME"));
}

void SelectionLookups::articles(kv::ui::LimitFields& fields, int nameWidth)
{
    add(fields, QStringLiteral("DTFILES.ARTIGOSCLS"), "Artigo Nº", 16, "DESIGNACAO", "Designação", nameWidth,
        m_articlesByName, QStringLiteral("SELECT CODIGO, DESIGNACAO FROM ARTIGOSCLS ORDER BY DESIGNACAO"));
    // The field takes the code; the limit follows when the field is left.
    fields.simple.setsLimit = fields.alphabetic.setsLimit = false;
}

kv::ui::DateLookup SelectionLookups::calendar()
{
    kv::ui::DateLookup lookup;
    lookup.calendar = [this] {
        return ownList(m_calendar, QStringLiteral("CALENDARIO"),
                       QStringLiteral("SELECT * FROM CALENDARIO WHERE ANO >= :WAno ORDER BY DATA"));
    };
    lookup.columns = {column("DATA", "Data", 10), column("SEMANA", "Semana", 10), column("DIASEM", "Dia Semana", 3),
                      column("TIPODIA", "Tipo de Dia", 2)};
    return lookup;
}

void SelectionLookups::close()
{
    for (auto* own : {&m_customersByName, &m_salesmenByName, &m_articlesByName, &m_calendar})
        own->reset();
}

} // namespace kv::quotes
