#pragma once

#include "quotes/forms/QuoteFormsEnvironment.h"

#include "platform/ui/Form.h"

#include <QStringList>
#include <array>
#include <memory>

class QCheckBox;
class QProgressBar;

namespace kv::db {
class Dataset;
}

namespace kv::ui {
class DbGrid;
class DbNavigator;
class DocumentCopiesBox;
class RangeLimitsBlock;
class TGlyphButton;
} // namespace kv::ui

namespace kv::quotes {

struct IssueSelection;

// "Emissão de Orçamentos": selects the quote summary rows by number, issue
// date and one customer, queues them in the chosen copies, marks them issued
// and previews the customer letter of the installation's layout. After each
// run's preview the form shows its defaults and a fresh selection again.
class TORCF022 : public kv::ui::Form {
    Q_OBJECT
public:
    explicit TORCF022(QuoteFormsEnvironment environment, QWidget* parent = nullptr);
    ~TORCF022() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void restoreDefaults();
    void openSelection(); // OpenOrcmas
    IssueSelection selection() const;
    QStringList chosenCopies() const;
    void print(); // BitPrintClick
    void closeAtActivation(const QString& message);
    kv::db::Dataset* customers();
    kv::db::Dataset* customersByName();
    QString customerName(qint64 code);

    QuoteFormsEnvironment m_environment;
    std::unique_ptr<kv::db::Dataset> m_orcmas;
    std::unique_ptr<kv::db::Dataset> m_customersByName;
    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    kv::ui::DocumentCopiesBox* m_copies = nullptr;
    QCheckBox* ChkImpress = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    kv::ui::TGlyphButton* BitPrint = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QStringList m_copyNameTexts;
    int m_priceDecimals = 2;
};

} // namespace kv::quotes
