#pragma once

#include "commercial/core/AccountLookups.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QLineEdit;

namespace kv::db {
class Dataset;
}

namespace kv::ui {
class DbEdit;
class Form;
} // namespace kv::ui

namespace kv::commercial {

// How one account link field of a form behaves; the forms differ in these.
struct AccountLinkSpec {
    QString editName; // "Edit_ContaVendas"
    QString labelName; // "Label_ContaVendas"; empty: no name label
    int labelCharacters = 35; // width of the name label
    bool labelBelow = false; // the name under the field: for blocks of fields side by side
    bool checksTypedText = true; // exit check on the text shown, or on the stored value
    bool exitCheck = true; // false: the field only has its lookup
    bool postingOnly = true; // the code must be of TIPO "L"
    bool beep = false; // the exit check beeps before its message
    QString notFound = QStringLiteral("Conta Inexistente ...");
    QString notPosting = QStringLiteral("Conta não é de Lançamento");
    // What the refresh shows in the label for a stored code that is not
    // (or no longer) valid; empty texts leave the label empty.
    QString labelNotFound = QStringLiteral("Conta Inexistente ...");
    QString labelNotPosting = QStringLiteral("Conta não é de Lançamento");
    bool refreshChecksType = true;
    bool refreshOnChange = false; // the label follows every change of the field's text
    bool typedWhileOff = false; // with the switch off the field is still typed into, unchecked
    int truncateTo = 0; // the checked text is cut to this many characters (0: whole)
    QString hint = QStringLiteral("Tecla <Insert> Procurar Conta");
    QString lookupCaption = QStringLiteral("Localizar Conta");
};

// An edit holding an account of the chart (or a cost centre, or an
// accounting VAT code) with the read-only name label beside it. While the
// form's accounting switch is on, leaving the field checks the code against
// the working year's lookup set, the label shows its name, and Insert (the
// field's "Procurar") opens the lookup dialog: the code chosen with OK goes
// into the field and its column, Cancel changes nothing. While the switch
// is off the field is read-only and out of the tab order, nothing is
// checked and the label stays empty.
class AccountLinkField : public QWidget {
    Q_OBJECT
public:
    AccountLinkField(kv::ui::Form& form, AccountLinkSpec spec, QWidget* parent = nullptr);
    ~AccountLinkField() override;

    // The column the field edits; without one the field is a plain edit
    // whose text the form saves itself.
    void setField(kv::db::Dataset* dataset, const QString& column);

    // The form's activation: with a lookup set the link is on, without one
    // (the switch is off) the field cannot be reached.
    void activate(LookupSet* set);
    bool linked() const { return m_set != nullptr; }

    kv::ui::DbEdit* edit() const { return m_edit; }
    QLineEdit* nameLabel() const { return m_label; }
    // The code the field holds: the text shown or the stored value, as the
    // field checks it.
    QString code() const;

    // The label from the stored code, without a message or a focus move.
    void refresh();
    // The exit check run on demand (before the form applies its rows): a
    // refused code gets its message and the focus; false then.
    bool verify();
    // The lookup dialog ("Procurar"); true when a code was chosen.
    bool lookup();

    // Run after an exit check that accepted the code, an empty one included (a member's next step).
    void setAccepted(std::function<void()> followUp) { m_accepted = std::move(followUp); }

private:
    void leave();
    QString storedCode() const;
    QString refusal(LinkStatus status) const;
    void showName(const QString& code);

    kv::ui::Form& m_form;
    AccountLinkSpec m_spec;
    kv::ui::DbEdit* m_edit;
    QLineEdit* m_label = nullptr;
    QPointer<kv::db::Dataset> m_dataset;
    QString m_column;
    LookupSet* m_set = nullptr;
    Qt::FocusPolicy m_focusPolicy;
    std::function<void()> m_accepted;
};

} // namespace kv::commercial
