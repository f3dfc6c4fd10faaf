#pragma once

#include "commercial/forms/CommercialEnvironment.h"
#include "commercial/forms/CommercialTableDescription.h"

#include "platform/ui/TableForm.h"

#include <vector>

class QLineEdit;
class QTabWidget;

namespace kv::ui {
class DbEdit;
class TDBLookupComboDlg;
} // namespace kv::ui

namespace kv::commercial {

// The one form of every commercial code table (TFACF008 for the postal
// codes, and each member described by a CommercialTableDescription): the
// table's grid, the key edit with its hidden mirror, the member's fields,
// its lookup fields with their side doors, the navigator and the buttons.
//
// Rights come from the base module's chapter "Tabelas"; Imprimir previews
// the list report its opener created; closing the form applies the pending
// changes. Before any apply every field's check is made again, so that no
// row is written that its own checks would refuse.
class CommercialTableForm : public kv::ui::TableForm {
    Q_OBJECT
public:
    CommercialTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                        QWidget* parent = nullptr);
    ~CommercialTableForm() override;

    const CommercialTableDescription& member() const { return m_member; }

    // The member's text for the key typed, cut to what the table keeps.
    QString storedKey(const QString& typed) const;

protected:
    const CommercialEnvironment& environment() const { return m_environment; }
    // A row of the dataset is being edited or inserted.
    static bool editing(const kv::db::Dataset& rows);
    // The table's pending changes and its companion rows', in the order
    // given, in one transaction; false, the user told, when refused.
    bool applyWithCompanions(const std::vector<kv::db::Dataset*>& rows);
    // A member's own controls (pages of further fields) go between the fields and the grid.
    void addBelowFields(QWidget* widget);
    // The tabs of the fields' pages (nullptr for a member without pages).
    QTabWidget* pages() const { return m_pages; }
    // Every field's check as on leaving it; the first refused gets its message and the focus.
    virtual bool checkFields();
    // The apply-skip flag: set at activation and by Cancelar, cleared by every return to the grid.
    bool applySkipped() const { return m_skipApply; }
    // A new row has its key and defaults: the member adds what is not a fixed value.
    virtual void rowStarted() {}
    // A check made before an apply refused `field`: the beep and message
    // (none when empty), the focus to the field, which leaving the grid keeps.
    void refuseBeforeApply(QWidget* field, const QString& message, bool beep = true);
    // The read-only companion of a field (nullptr when it has none).
    QLineEdit* companion(const QString& name) const;

    void FormActivate() override;
    void FormClose() override;
    void done(int result) override;

    void BotInserirClick() override;
    void checkKey() override;
    void BotPrintClick() override;
    void BotCancelarClick() override;
    bool appliesOnReturn() const override;
    bool beforeApply() override;
    void afterApply() override;
    void returned(bool applied) override;
    void leftEmptyTable() override;
    void editStarted() override;
    void deleteCurrent() override;
    QString keyText(const QVariant& key) const override;
    bool fieldPassed(std::size_t index) override;

private:
    void buildLayout();
    void applyRights();
    bool openDatasets();
    void closeDatasets();
    void moveTo(const QString& target);
    bool keyTaken(const QVariant& key) const;
    void startRow(const QVariant& key);
    void openSideDoor(const LookupSpec& lookup);
    void insertKeyLookup(std::size_t index);

    CommercialTableDescription m_member;
    CommercialEnvironment m_environment;
    bool m_skipApply = false;
    bool m_closing = false;
    bool m_canInsert = false;
    bool m_checkFailed = false; // the focus went to a refused field: leaving the grid sends it nowhere else
    QLineEdit* m_keyEdit = nullptr;
    QTabWidget* m_pages = nullptr;
    kv::ui::DbEdit* m_keyMirror = nullptr;
    std::vector<QWidget*> m_fieldWidgets; // as the description lists them
    std::vector<kv::ui::TDBLookupComboDlg*> m_lookups; // per field, nullptr for plain edits
    std::vector<QWidget*> m_sideDoors; // per field, nullptr without one
};

} // namespace kv::commercial
