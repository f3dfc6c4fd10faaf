#pragma once

#include "customers/core/CustomerEntry.h"
#include "customers/core/CustomerFile.h"
#include "platform/db/WindowedList.h"
#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::ui {
class DbEdit;
class DbGrid;
class FormRegistry;
class TGlyphButton;
} // namespace kv::ui

namespace kv::customers {

class CustomerFormParts;
class CustomerSaveStep;
class InvoicingLinesPage;

// The customer file "Clientes": the header and the notebook `NB` over the
// current row of `DTFILES.CLIENTES`, the customer list `DBGrid1` beside
// them (read a window at a time, moved by keyed queries), and the views.
// Opened by the quote approval; hands the customer saved or chosen back in
// `WCliNroAprov` and closes.
class Torcf032cli : public kv::ui::Form {
    Q_OBJECT
public:
    // Pages of `NB`.
    enum Page { Identification, Classification, Goods, Treasury, Accounts, Notes, Invoicing };

    Torcf032cli(kv::shell::FormEnvironment environment, const kv::ui::FormRegistry& forms, QWidget* parent = nullptr);
    ~Torcf032cli() override;

    // Rows stored with the customer in its save's transaction (the contacts).
    void addSaveStep(CustomerSaveStep* step) { m_saveSteps.push_back(step); }

    // A prompt for unsaved work of a page (the notes): run before the save on
    // entering the list, on leaving for another page and at close.
    void addUnsavedPrompt(std::function<void()> prompt) { m_unsavedPrompts.push_back(std::move(prompt)); }
    // Reads the list again on the current customer, after another part wrote
    // to the customers (the bulk accounts run), so no save writes old values back.
    void rereadList();
    kv::ui::TGlyphButton* accountsRunButton() const { return m_accountsRun; }
    // Moves to a page of `NB` as a click on its tab does.
    void showPage(int page) { pageChanged(page); }
    // The contacts, notes, views and accounts of the customer.
    CustomerFormParts& parts() const { return *m_parts; }

    const CustomerEntry& entry() const { return m_entry; }
    int currentCustomer() const { return m_currentCustomer; }
    QTabWidget* notebook() const { return m_nb; }

protected:
    void FormActivate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent* event) override;

private:
    struct CodeField;
    static const std::vector<CodeField>& codeFields();

    // Layout.
    void buildHeader(QWidget* left);
    void buildNotebook();
    QWidget* buildIdentificationPage();
    QWidget* buildContactsBlock();
    QWidget* buildClassificationPage();
    QWidget* buildGoodsPage();
    QWidget* buildTreasuryPage();
    QWidget* buildAccountsPage();
    QWidget* buildNotesPage();
    QWidget* buildViewsPage();
    void buildList(QWidget* right);
    void buildButtons();
    kv::ui::DbEdit* addEdit(QWidget* page, class QGridLayout* grid, int row, const QString& column,
                            const QString& caption, bool wholeLine = false);
    void besideField(const QString& column, QWidget* widget);
    void addCodeFields(QWidget* page, class QGridLayout* grid, int& row, int pageIndex);

    // Activation and display.
    void applyRights();
    bool readYearParameters();
    void openList(const QVariantList& key);
    // The user moves in the list itself (it has the focus), no display under way.
    bool listAtRest() const;
    // At the edge of the rows read, the list reads on around its current row.
    void followList();
    void reopenOnCustomer(int customer);
    void showRowCount();
    void displayCustomer(); // A3
    void refreshPostal(bool leaving);
    void refreshCode(const CodeField& field, bool leaving);
    void setRowValue(const QString& column, const QVariant& value);
    QString rowText(const QString& column) const;

    // Reactions.
    void pageChanged(int page);
    void leaveNewNumber();
    void leaveTaxpayer();
    void leaveField(const QString& column);
    void lookup(const CodeField& field);
    void openSideDoor(const CodeField& field);
    void postalSideDoor();
    void startInsert();
    void cancelEdit();
    void enterList();
    void leaveList();
    bool save();
    void chooseCustomer();
    void sortBy(int column);
    void searchByNumber();
    void searchByName();
    void searchCustomers();
    void moveList(int which);
    void browsingButtons(bool enabled);

    kv::shell::FormEnvironment m_env;
    const kv::ui::FormRegistry& m_forms;
    kv::db::Dataset& m_customers;
    kv::db::WindowedList m_list;
    CustomerFile m_file;
    CustomerEntry m_entry;
    QString m_openerSql; // the shared list's statement before the form changed it
    QString m_order = QStringLiteral("CODIGO");
    int m_currentCustomer = 0;
    long long m_workNumber = 0;
    long long m_claimedNumber = 0;
    bool m_displaying = false;
    bool m_handedBack = false; // a customer was saved and handed to the approval
    QString m_accountsFlag = QStringLiteral("N"); // PARGER.CONTABILIDADE of the year
    QString m_treasuryFlag = QStringLiteral("N");
    std::vector<CustomerSaveStep*> m_saveSteps;
    std::vector<std::function<void()>> m_unsavedPrompts;
    CustomerFormParts* m_parts = nullptr;

    QLineEdit* m_code = nullptr; // Edit_Codigo
    QLineEdit* m_locality = nullptr;
    std::map<QString, kv::ui::DbEdit*> m_edits;
    std::map<QString, std::vector<QLineEdit*>> m_displays;
    std::map<QString, QHBoxLayout*> m_fieldLines;
    std::map<QString, kv::ui::TGlyphButton*> m_doors;
    QLabel* m_classCaptions[4] = {};
    QTabWidget* m_nb = nullptr;
    QTabWidget* m_views = nullptr;
    QCheckBox* m_showSales = nullptr;
    kv::ui::DbGrid* m_grid = nullptr;
    QLabel* m_rowCount = nullptr;
    InvoicingLinesPage* m_linesPage = nullptr;
    kv::ui::TGlyphButton* m_insert = nullptr;
    kv::ui::TGlyphButton* m_cancel = nullptr;
    kv::ui::TGlyphButton* m_search = nullptr;
    kv::ui::TGlyphButton* m_byNumber = nullptr;
    kv::ui::TGlyphButton* m_byName = nullptr;
    kv::ui::TGlyphButton* m_accountsRun = nullptr;
    kv::ui::TGlyphButton* m_close = nullptr;
    std::vector<kv::ui::TGlyphButton*> m_navigator;
};

} // namespace kv::customers
