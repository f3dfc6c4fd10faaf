#pragma once

#include "commercial/core/AccountLookups.h"
#include "commercial/forms/CommercialTableForm.h"

#include <memory>
#include <vector>

class QTabWidget;

namespace kv::db {
class Dataset;
}

namespace kv::commercial {

class AccountLinkField;

// The VAT codes (TFACF003): each IVA row with its companion IVACOMPRAS row
// of purchase accounts under the same code. The two are written together in
// one transaction and deleted together; a code without a purchase row shows
// empty purchase fields, and gets its row when it is next edited. The
// member's first further dataset is the purchase rows'.
class VatTableForm : public CommercialTableForm {
    Q_OBJECT
public:
    VatTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                 QWidget* parent = nullptr);
    ~VatTableForm() override;

protected:
    void FormActivate() override;
    void FormClose() override;
    void BotInserirClick() override;
    void checkKey() override;
    void BotCancelarClick() override;
    void editStarted() override;
    void rowShown() override;
    void deleteCurrent() override;
    bool checkFields() override;
    bool applyChanges() override;
    void afterApply() override;

private:
    void showPurchasesOf(qint64 code);
    void refreshLabels();
    bool applyBoth(bool purchasesFirst);

    kv::db::Dataset& m_purchases;
    qint64 m_code = 0; // the purchase row shown belongs to this code
    std::unique_ptr<AccountLookups> m_lookups;
    QTabWidget* m_pages = nullptr;
    std::vector<AccountLinkField*> m_salesSide; // the two accounts, the three accounting codes
    std::vector<AccountLinkField*> m_purchaseSide;
};

} // namespace kv::commercial
