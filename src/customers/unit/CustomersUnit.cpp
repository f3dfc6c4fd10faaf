#include "customers/unit/CustomersUnit.h"

#include "customers/articleforms/ArticleForms.h"
#include "customers/coding/forms/ArticleCodingForms.h"
#include "customers/forms/CustomerForms.h"
#include "customers/unit/ArticleFileStep.h"
#include "customers/unit/CustomerFileStep.h"

namespace kv::customers {

kv::shell::SubsystemUnit customersUnit()
{
    kv::shell::SubsystemUnit unit;
    unit.name = QStringLiteral("customers");
    unit.versionSteps = {{9, unit.name, addCustomerFileTables},
                         {10, unit.name, addArticleFileColumns},
                         {10, unit.name, keyInvoicingLines}};
    unit.opening = [](const QString&, const kv::shell::LoginState&) { return kv::shell::FormOpening{}; };
    unit.registerForms = [](kv::shell::Session& session, kv::ui::FormRegistry& forms) {
        registerCustomerForms(session, forms);
        registerArticleForms(session, forms);
        registerArticleCodingForms(session, forms);
    };
    return unit;
}

} // namespace kv::customers
