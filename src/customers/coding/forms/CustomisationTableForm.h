#pragma once

#include "customers/coding/core/CustomisationTables.h"
#include "customers/coding/forms/ArticleCodingForms.h"
#include "platform/report/ListReportDialog.h"
#include "platform/text/FieldRule.h"
#include "platform/ui/TableForm.h"
#include "shell/FormEnvironment.h"

#include <memory>

class QLabel;
class QLineEdit;

namespace kv::db {
class Dataset;
}
namespace kv::ui {
class DbEdit;
class TGlyphButton;
class TUpdateErrorForm;
} // namespace kv::ui

namespace kv::customers {

class CustomisationListReport;

// "Tabela de Customização de Artigos": the values of one classification
// table of a group, per country when the table is kept per country (the
// country panel chooses the country and seeds a new one from its base).
// One form for both openers: TORCF032CUSTARTG from the article form,
// TORCF032CUSTCOD from the coding form; where they part is `Variant`.
class CustomisationTableForm : public kv::ui::TableForm {
    Q_OBJECT
public:
    // Where the two members part.
    struct Variant {
        QString formClass;
        bool proposesKey = false; // Inserir proposes the country's last number + 1
        bool skipsApplyAfterCancel = false; // no apply on return after Cancelar, Eliminar or the activation
        bool appliesOnClose = false; // pending changes written at close (else discarded)
        bool highlightsCountry = false; // country captions light up, the country field is cleared on entry
        bool previewsOwnRows = false; // Imprimir previews the country shown (else the print dialog)
        bool makerTag = false; // status panel 2 := WMarca
        static Variant of(CustomisationOpener opener);
    };

    CustomisationTableForm(kv::shell::FormEnvironment environment, CustomisationOpener opener, QString group,
                           QString table, QWidget* parent = nullptr);
    ~CustomisationTableForm() override;

    // The country being maintained (empty while the country panel is shown).
    QString country() const { return m_country; }
    QString title() const { return m_title; }

protected:
    void FormActivate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent* event) override;

    void BotInserirClick() override;
    void checkKey() override;
    void BotPrintClick() override;
    void BotCancelarClick() override;
    bool appliesOnReturn() const override;
    void afterApply() override;
    void returned(bool applied) override;
    void deleteCurrent() override;

private:
    struct Rows;
    CustomisationTableForm(kv::shell::FormEnvironment environment, CustomisationOpener opener, QString group,
                           QString table, std::unique_ptr<Rows> rows, QWidget* parent);

    void buildLayout();
    void applyRights();
    void showCountryPanel();
    void countryEntered();
    void countryLeft(); // Edit_PaisExit
    void baseLeft(); // Edit_PaisBaseExit
    void lookupCountry(); // ProcurarPas1Click
    void maintain(const QString& country); // ManutCustartg
    void openRows(const QString* country);
    void finish(); // BitTerminarClick

    kv::shell::FormEnvironment m_environment;
    Variant m_variant;
    QString m_group;
    QString m_tableCode;
    Rows* m_rows; // a child: outlives the base's use of it
    CustomisationTables m_tables;
    std::optional<CustomisationTable> m_table;
    QString m_country;
    QString m_title;
    bool m_skipApply = false;
    kv::text::FieldRule m_designationRule;
    QLineEdit* m_lookupTarget = nullptr;

    QWidget* Panel2 = nullptr;
    QLabel* m_countryCaption = nullptr;
    QLabel* m_baseCaption = nullptr;
    QLineEdit* Edit_Pais = nullptr;
    QLineEdit* Edit_PaisBase = nullptr;
    kv::ui::TGlyphButton* BitFim = nullptr;
    QWidget* m_maintenance = nullptr;
    QLineEdit* Edit_Codigo = nullptr;
    kv::ui::DbEdit* Edit_Design = nullptr;
    kv::ui::DbEdit* Edit_RedCod = nullptr;
    kv::ui::DbEdit* Edit_redDescri = nullptr;
    QLineEdit* Edit_TabPais = nullptr;
    QLabel* m_heading = nullptr;
    kv::ui::TUpdateErrorForm* m_updateError = nullptr;
    kv::report::OpenReports m_openReports;
};

} // namespace kv::customers
