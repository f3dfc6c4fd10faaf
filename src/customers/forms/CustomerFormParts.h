#pragma once

#include "customers/core/CustomerSaveStep.h"
#include "customers/parts/CustomerAccounts.h"
#include "customers/parts/DepartmentContacts.h"
#include "shell/FormEnvironment.h"

#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QWidget;

namespace kv::install {
class Installation;
}
namespace kv::notes {
class NotesEditor;
}
namespace kv::ui {
class Form;
class TGlyphButton;
} // namespace kv::ui

namespace kv::customers {

class ContactsBlock;
class CustomerViews;
class Torcf032cli;

// The customer form's contacts block, notes page, views and accounts: built
// into the form's slots and called at its steps. The contacts are stored
// with the customer row (a save step).
class CustomerFormParts : public QObject, public CustomerSaveStep {
    Q_OBJECT
public:
    CustomerFormParts(Torcf032cli& form, kv::shell::FormEnvironment environment);
    ~CustomerFormParts() override;

    // What the session gives: the drive table for the notes folder and the
    // two-database work of the bulk accounts run.
    void setSessionServices(const kv::install::Installation* installation,
                            std::function<kv::db::TwoDatabaseWork()> work);

    QWidget* buildContactsBlock();
    QWidget* buildNotesPage();
    QWidget* buildViewsPage(QCheckBox* showSales);
    // An "Abrir" button beside each account edit, on the edit's line.
    void addAccountButtons(const std::array<QHBoxLayout*, 5>& lines);

    // The year's parameters row as the form read it.
    void readYear(const QVariantMap& year);
    // A3: the customer shown (not while a new one is typed).
    void showCustomer(int customer, bool views);
    // A new customer's number accepted: its contact rows (C2).
    void numberAccepted(int number);
    // A new customer cancelled: its contact rows go (C5).
    void newCustomerCancelled(int number);
    // Entering the notes page; false sends the form back to its first page.
    bool enterNotes();
    // Entering the accounts page; false when the chain stopped at an error
    // (the form then focuses its list, which saves).
    bool enterAccounts();
    // The save in automatic mode: all five accounts, whatever each gives.
    void beforeSave();
    // "Conta&b"; true when it ran (the form then reads its list again).
    bool runBulkAccounts();
    bool notesShown() const;

    void store(kv::db::Connection& invoicing, int customer) override;

private:
    AccountCustomer accountCustomer() const;
    void applyStep(int n, const AccountStep& step);
    void setAccountEdits(bool writable);
    void openButton(int n);
    // Manual mode's "Procurar" of account n: a posting account of the year's chart, by name.
    void lookupAccount(int n);

    Torcf032cli& m_form;
    kv::shell::FormEnvironment m_env;
    DepartmentContacts m_contacts = DepartmentContacts::customers();
    const kv::install::Installation* m_installation = nullptr;
    std::function<kv::db::TwoDatabaseWork()> m_work;
    ContactsBlock* m_contactsBlock = nullptr;
    kv::notes::NotesEditor* m_notes = nullptr;
    CustomerViews* m_views = nullptr;
    std::array<kv::ui::TGlyphButton*, 5> m_open{};
    QString m_notesFolder;
    AccountSwitches m_switches;
    std::unique_ptr<kv::notify::MessageSink> m_sink; // the accounts' messages, shown
};

} // namespace kv::customers
