#pragma once

#include "commercial/forms/CommercialTableForm.h"

namespace kv::ui {
class TGlyphButton;
}

namespace kv::commercial {

// The salesmen file (TFACF030): a typed key with defaults for a new
// salesman, the stamp of the user and time on every return to the grid from
// an existing salesman, the name, postal code and commission rate checked
// (silent while the apply-skip flag is set) with the locality and the
// percentage they name beside them, and "&Quota Anual", the salesman's
// monthly objectives for the working year.
class SalesmanTableForm : public CommercialTableForm {
    Q_OBJECT
public:
    SalesmanTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                      QWidget* parent = nullptr);
    ~SalesmanTableForm() override;

protected:
    void BotInserirClick() override;
    bool fieldPassed(std::size_t index) override;
    bool checkFields() override;
    bool beforeApply() override;
    void returned(bool applied) override;
    void rowStarted() override;

private:
    // The postal code and the rate code with what they name: -1 when absent.
    int postalRow(const QString& code) const;
    int rateRow(const QString& code) const;
    void showLocality(const QString& code);
    void showRate(const QString& code);
    bool leavePostalCode();
    bool leaveRateCode();
    void openObjectives();

    kv::ui::TGlyphButton* BotComVend = nullptr;
};

} // namespace kv::commercial
