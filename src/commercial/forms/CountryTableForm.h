#pragma once

#include "commercial/core/AccountLookups.h"
#include "commercial/forms/CommercialTableForm.h"

#include <array>
#include <memory>
#include <vector>

class QTabWidget;

namespace kv::commercial {

class AccountLinkField;

// The countries (TFACF005): beside the identification page, the roots of the
// accounts of the country's customers and of its suppliers in four groups,
// five rows each (root, digit count, opened by default). With the
// accounting switch on, each root is checked and named from the year's
// integration accounts; with it off the tabs cannot be clicked and the
// roots, still reached from the market, are kept unchecked.
class CountryTableForm : public CommercialTableForm {
    Q_OBJECT
public:
    CountryTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                     QWidget* parent = nullptr);
    ~CountryTableForm() override;

protected:
    void FormActivate() override;
    void FormClose() override;
    void BotInserirClick() override;
    bool fieldPassed(std::size_t index) override;
    bool checkFields() override;
    void returned(bool applied) override;

private:
    // One page of five rows; `byColumn`: the Enter key walks the roots, then
    // the digit counts, then the check boxes.
    QWidget* rootsPage(const QString& group, const QString& editPrefix, bool byColumn, QWidget* parent);

    std::unique_ptr<AccountLookups> m_lookups;
    QTabWidget* m_suppliers = nullptr;
    std::vector<AccountLinkField*> m_roots; // customers' five, then each supplier group's
    std::vector<QWidget*> m_chain; // the Enter order of the pages
};

} // namespace kv::commercial
