#pragma once

#include "commercial/core/AccountLookups.h"
#include "commercial/forms/CommercialTableForm.h"

#include "platform/db/Dataset.h"

#include <memory>
#include <vector>

class QTabWidget;

namespace kv::ui {
class DbGrid;
class TGlyphButton;
} // namespace kv::ui

namespace kv::commercial {

class AccountLinkField;

// The article families (TFACF011): the sales page (three cost centres and
// 27 accounts by kind, market and class) and the purchase page, where each
// of ten article types has its own CONTAB_FAMILIAS row of the family. The
// family and its purchase rows are saved together in one transaction and
// deleted together; a type's row is created when its button is pressed.
// With the accounting switch off only the family codes are kept.
class FamilyTableForm : public CommercialTableForm {
    Q_OBJECT
public:
    FamilyTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                    QWidget* parent = nullptr);
    ~FamilyTableForm() override;

protected:
    void FormActivate() override;
    void FormClose() override;
    void BotInserirClick() override;
    void checkKey() override;
    void BotCancelarClick() override;
    void BotPrintClick() override;
    void editStarted() override;
    void rowShown() override;
    void deleteCurrent() override;
    bool checkFields() override;
    bool applyChanges() override;
    void afterApply() override;
    void returned(bool applied) override;

private:
    QWidget* salesPage(QWidget* parent);
    QWidget* purchasePage(QWidget* parent);
    AccountLinkField* purchaseAccount(const QString& edit, const QString& column, QWidget* parent);
    // The purchase rows of a family, all types; the one of the type chosen is shown.
    void openPurchases(const QString& family);
    void closePurchases();
    void chooseType(std::size_t index);
    void enablePurchaseFields(bool on, bool consumptionCentre = true);
    void refreshSalesLabels();
    bool applyBoth(bool purchasesFirst);
    void BotActualArtigosClick();
    // "Copiar Família" / "Copiar Parametros": the list of the families as stored.
    void showCopyList();
    void DBGridFamiliasDblClick();

    kv::db::Dataset m_purchases;
    kv::db::Dataset m_copySource; // FAMILIAS1, open while the copy list is shown
    kv::ui::DbGrid* m_copyList = nullptr;
    QStringList m_copiedColumns; // the three cost centres and the 27 sales accounts
    QString m_type; // the article type whose purchase row is shown; empty until one is chosen
    std::unique_ptr<AccountLookups> m_lookups;
    QTabWidget* m_sides = nullptr; // "Vendas", "Compras"
    QTabWidget* m_purchaseMarkets = nullptr;
    kv::ui::TGlyphButton* m_articles = nullptr;
    std::vector<AccountLinkField*> m_salesCentres;
    std::vector<AccountLinkField*> m_salesAccounts;
    std::vector<AccountLinkField*> m_purchaseCentres;
    std::vector<AccountLinkField*> m_purchaseAccounts;
    std::vector<kv::ui::TGlyphButton*> m_typeButtons;
};

} // namespace kv::commercial
