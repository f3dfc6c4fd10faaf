#include "quotes/print/InternalQuoteReportForm.h"

#include "platform/ui/FormRegistry.h"

namespace kv::quotes {

InternalQuoteReportForm::InternalQuoteReportForm(const QString& className, InternalPage page, QWidget* parent)
    : QuoteReportForm(className, InternalQuotePages::kTitle, parent), m_page(page)
{
}

bool InternalQuoteReportForm::preview(const QuotePrintData& quote, const InternalPrintInputs& inputs,
                                      QWidget* parent) const
{
    return InternalQuotePages(quote, inputs).preview(m_page, parent);
}

void registerInternalQuoteReports(kv::ui::FormRegistry& forms, const QString& prefix)
{
    const std::pair<const char*, InternalPage> pages[] = {
        {"micro", InternalPage::TechnicalSheet}, {"Amicro", InternalPage::CostLines}, {"Bmicro", InternalPage::Totals}};
    for (const auto& [suffix, page] : pages) {
        const QString className = prefix + QLatin1String(suffix);
        forms.add(className, [className, page](QWidget* parent) -> QDialog* {
            return new InternalQuoteReportForm(className, page, parent);
        });
    }
}

} // namespace kv::quotes
