#pragma once

#include "commercial/core/AgentFile.h"
#include "commercial/forms/CommercialTableForm.h"

#include <array>

class QLabel;
class QLineEdit;

namespace kv::customers {
class ContactsBlock;
}
namespace kv::notes {
class NotesEditor;
}

namespace kv::commercial {

// The agents (TFACF031): each agent row with its four department contacts
// of kind "A", saved with the agent in one transaction (at the return to the
// grid and at the close) and deleted with it; the notes of the current agent
// in the notes editor (prefix "AGT", the year's PATHINFAGENTES folder),
// whose unsaved changes are asked about before the page is left, another
// agent becomes current or the form closes.
class AgentFileForm : public CommercialTableForm {
    Q_OBJECT
public:
    AgentFileForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                  QWidget* parent = nullptr);
    ~AgentFileForm() override;

protected:
    void FormActivate() override;
    void done(int result) override;
    bool FormKeyPress(QKeyEvent* event) override;
    void BotInserirClick() override;
    void checkKey() override;
    void rowShown() override;
    void returned(bool applied) override;
    void deleteCurrent() override;
    bool checkFields() override;
    bool applyChanges() override;
    bool fieldPassed(std::size_t index) override;

private:
    enum Tab { Office, Business, Notes };
    QLineEdit* companion(const QString& field, const QString& name, int characters);
    void tabChanged(int index);
    void readNotesFolder();
    void showAgent();
    void showLocality();
    void showCommission();
    void showBank();
    bool postalCodeAccepted(bool refuseHere);
    bool codeAccepted(const QString& field, const QString& dataset, bool refuseHere);
    void refused(const QString& field, const QString& message, bool refuseHere);

    AgentFile m_file;
    QString m_notesFolder;
    QString m_deletedCode; // the notes deleted belong to this agent, no longer shown
    int m_tab = Office;
    int m_agentShown = -1;
    kv::customers::ContactsBlock* m_contacts = nullptr;
    kv::notes::NotesEditor* m_notes = nullptr;
    QLineEdit* m_locality = nullptr;
    QLineEdit* m_rate = nullptr;
    QLineEdit* m_bankName = nullptr;
    QLabel* m_count = nullptr;
    std::array<QWidget*, 3> m_doors{}; // postal codes, banks, commission rates
};

} // namespace kv::commercial
