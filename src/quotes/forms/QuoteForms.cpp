#include "quotes/forms/QuoteForms.h"

#include "quotes/forms/TORCF021.h"
#include "quotes/forms/TORCF031.h"
#include "quotes/print/InternalQuoteReportForm.h"

#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

namespace kv::quotes {

void registerQuoteForms(QuoteEnvironmentSource source, kv::ui::FormRegistry& forms)
{
    forms.add(QStringLiteral("TORCF021"),
              [source](QWidget* parent) -> QDialog* { return new TORCF021(source(), parent); });
    registerInternalQuoteReports(forms, QStringLiteral("TORCFPR021"));
    forms.add(QStringLiteral("TORCF031"),
              [source](QWidget* parent) -> QDialog* { return new TORCF031(source(), parent); });
    registerInternalQuoteReports(forms, QStringLiteral("TORCFPR031"));
}

void registerQuoteForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    registerQuoteForms([&session] { 
        return QuoteFormsEnvironment{&session.state(), &session.dataModules(), &session.installation()};
    }, forms);
}

} // namespace kv::quotes
