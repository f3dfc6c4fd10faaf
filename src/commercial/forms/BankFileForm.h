#pragma once

#include "commercial/core/AccountLookups.h"
#include "commercial/core/BankAccounts.h"
#include "commercial/forms/CommercialTableForm.h"

#include <array>
#include <memory>
#include <vector>

class QLineEdit;

namespace kv::ui {
class DbGrid;
class TGlyphButton;
class TMailit;
} // namespace kv::ui

namespace kv::commercial {

class AccountLinkField;

// The banks (TFACF030A): each bank row with its accounts, one per kind of
// account. Page A holds the bank's address; page B one account at a time,
// chosen by the kind buttons "&0" to "&9" (those of the kinds defined, the
// kind's description as hint). Every bank has its demand-deposit account
// (kind "0"): created with the bank's save in the same transaction, and for
// a bank found without one as soon as it becomes current. An account is
// saved on leaving its last field: the accounting account while the year's
// link is on, the plafond otherwise.
class BankFileForm : public CommercialTableForm {
    Q_OBJECT
public:
    BankFileForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                 QWidget* parent = nullptr);
    ~BankFileForm() override;

protected:
    void FormActivate() override;
    void FormClose() override;
    void BotInserirClick() override;
    void BotCancelarClick() override;
    void editStarted() override;
    void rowShown() override;
    void deleteCurrent() override;
    bool checkFields() override;
    bool applyChanges() override;
    bool fieldPassed(std::size_t index) override;

private:
    QWidget* accountsPage();
    QLineEdit* accountEdit(const char* name, int characters, bool readOnly = false);
    void rewireDoors();
    void rebuildKindButtons();
    void enableKindButtons(bool on);
    void enableAccountFields(bool on);
    int bankToSave() const;
    // The bank's accounts read afresh, its demand-deposit account ensured
    // and its first account shown.
    void showBank(int bank);
    void showAccount();
    void clearAccount();
    void kindClicked(int digit);
    void saveAccount();
    void deleteAccount();
    void showLocality();
    bool postalCodeAccepted(bool refuseHere);

    BankAccounts m_accounts;
    std::unique_ptr<AccountLookups> m_lookups;
    bool m_linkOn = false;
    QString m_accountKind; // the kind of the account in the fields; empty: none
    QLineEdit* m_locality = nullptr;
    std::array<kv::ui::TGlyphButton*, 10> m_kindButtons{};
    kv::ui::TGlyphButton* m_kindsDoor = nullptr;
    QWidget* m_postalDoor = nullptr;
    std::vector<QLineEdit*> m_accountEdits; // the writable ones, in tab order
    QLineEdit* m_kind = nullptr;
    QLineEdit* m_opened = nullptr;
    QLineEdit* m_description = nullptr;
    QLineEdit* m_manager = nullptr;
    QLineEdit* m_position = nullptr;
    QLineEdit* m_mobile = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_nib = nullptr;
    QLineEdit* m_swift = nullptr;
    QLineEdit* m_initial = nullptr;
    QLineEdit* m_current = nullptr;
    QLineEdit* m_plafond = nullptr;
    AccountLinkField* m_ledger = nullptr;
    kv::ui::TMailit* m_mail = nullptr;
    kv::ui::DbGrid* m_accountList = nullptr;
};

} // namespace kv::commercial
