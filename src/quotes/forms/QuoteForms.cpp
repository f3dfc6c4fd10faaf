#include "quotes/forms/QuoteForms.h"

#include "quotes/forms/TORCF021.h"
#include "quotes/forms/TORCF022.h"
#include "quotes/forms/TORCF031.h"
#include "quotes/forms/TORCF032.h"
#include "quotes/print/InternalQuoteReportForm.h"
#include "quotes/print/QuoteReportForm.h"

#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

namespace kv::quotes {

void registerQuoteForms(QuoteEnvironmentSource source, kv::ui::FormRegistry& forms,
                        approval::ApprovalOpener openApproval)
{
    forms.add(QStringLiteral("TORCF021"), [source, &forms](QWidget* parent) -> QDialog* {
        QuoteFormsEnvironment environment = source();
        if (!environment.forms)
            environment.forms = &forms;
        return new TORCF021(environment, parent);
    });
    registerInternalQuoteReports(forms, QStringLiteral("TORCFPR021"));
    forms.add(QStringLiteral("TORCF022"),
              [source](QWidget* parent) -> QDialog* { return new TORCF022(source(), parent); });
    registerQuoteLetterReports(forms);
    forms.add(QStringLiteral("TORCF031"),
              [source](QWidget* parent) -> QDialog* { return new TORCF031(source(), parent); });
    registerQuoteListReport(forms);
    registerInternalQuoteReports(forms, QStringLiteral("TORCFPR031"));
    forms.add(QStringLiteral("TORCF032"),
              [source, openApproval](QWidget* parent) -> QDialog* {
                  return new TORCF032(source(), openApproval, parent);
              });
    registerCustomerOrderReport(forms);
    registerInternalQuoteReports(forms, QStringLiteral("TORCFPR032"));
}

void registerQuoteForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    registerQuoteForms(
        [&session, &forms] {
            return QuoteFormsEnvironment{&session.state(), &session.dataModules(), &forms, &session.installation()};
        },
        forms, approval::approvalOpener(session, forms));
}

} // namespace kv::quotes
