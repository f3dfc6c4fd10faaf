#include "production/FillingSession.h"

#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "production/forms/ProductionForms.h"
#include "production/forms/ProductionSessionState.h"

namespace kv::test {

FillingSession::FillingSession(Scenario& s, Engine engine, const kv::production::SelectedOrder& order,
                               const char* orderTable)
    : CompanySession(s, engine, Company::Plain), scenario(s), m_orderTable(QLatin1String(orderTable))
{
    insertFillRows(*application(), *invoicing());
    state = kv::production::registerProductionForms(session(), s.forms());
    state->selected = order;
}

FillingSession::~FillingSession() { closeForms(); }

FormDriver FillingSession::open(const char* form)
{
    FormDriver driver = scenario.open(QLatin1String(form));
    scenario.settle();
    return driver;
}

void FillingSession::leave(FormDriver& form, const char* field, const QString& text)
{
    form.type(QLatin1String(field), text);
    form.enter();
    scenario.settle();
}

QVariant FillingSession::stored(const char* column)
{
    return application()->scalar(
        QStringLiteral("SELECT %1 FROM %2 WHERE ORDNRO = :N").arg(QLatin1String(column), m_orderTable),
        {{"N", state->selected.orderNumber}});
}

} // namespace kv::test
