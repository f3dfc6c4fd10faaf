#pragma once

#include <QDialog>

namespace kv::ui {
class FormRegistry;
}

namespace kv::quotes {

// A report form of its own class: the menu creates it before the form that
// prints through it and frees it after that form; it is never shown itself.
class QuoteReportForm : public QDialog {
    Q_OBJECT
public:
    QuoteReportForm(const QString& className, const QString& title, QWidget* parent = nullptr);
};

// The customer letters of the three layouts (TORCFPR022QUAL, TORCFPR022MICRO,
// TORCFPR022CONT), of which the menu creates the one of the login's layout.
void registerQuoteLetterReports(kv::ui::FormRegistry& forms);
// The consultation's list of quotes (TORCFPR031A).
void registerQuoteListReport(kv::ui::FormRegistry& forms);
// The approval's customer order (TORCFPR032ENC_ZADOV).
void registerCustomerOrderReport(kv::ui::FormRegistry& forms);

} // namespace kv::quotes
