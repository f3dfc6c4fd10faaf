#include "quotes/print/QuoteReportForm.h"

#include "quotes/print/CustomerOrderReport.h"
#include "quotes/print/QuoteLetterReport.h"
#include "quotes/print/QuoteListReport.h"

#include "platform/ui/FormRegistry.h"

namespace kv::quotes {

QuoteReportForm::QuoteReportForm(const QString& className, const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(className);
    setWindowTitle(title);
}

namespace {

void addReport(kv::ui::FormRegistry& forms, const QString& className, const QString& title)
{
    forms.add(className, [className, title](QWidget* parent) -> QDialog* {
        return new QuoteReportForm(className, title, parent);
    });
}

} // namespace

void registerQuoteLetterReports(kv::ui::FormRegistry& forms)
{
    for (LetterLayout layout : {LetterLayout::Quality, LetterLayout::Micro, LetterLayout::Carton})
        addReport(forms, QuoteLetterReport::reportClass(layout), QuoteLetterReport::kTitle);
}

void registerQuoteListReport(kv::ui::FormRegistry& forms)
{
    addReport(forms, QuoteListReport::kClass, QuoteListReport::kTitle);
}

void registerCustomerOrderReport(kv::ui::FormRegistry& forms)
{
    addReport(forms, CustomerOrderReport::kClass, CustomerOrderReport::kTitle);
}

} // namespace kv::quotes
