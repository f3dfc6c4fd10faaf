#pragma once

#include "customers/articles/ArticleFile.h"
#include "customers/articleforms/ArticleSessionState.h"
#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <QVariantMap>
#include <array>
#include <map>
#include <memory>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::install {
class Installation;
}
namespace kv::notes {
class NotesEditor;
}
namespace kv::ui {
class FormRegistry;
class TGlyphButton;
} // namespace kv::ui

namespace kv::customers {

class ArticlePicturesPage;

// "Abertura de Artigo": opens a new article for the quote being approved,
// pre-filled from the quote row and the approved price, optionally coded
// by the automatic coding form, classified in the tables of its type's
// customisation group, with its pictures and notes; saved when it closes.
// The code saved goes back to the approval in `WNosRefAprov`.
class TORCF032ART : public kv::ui::Form {
    Q_OBJECT
public:
    // The pages of the tab control.
    enum Page { Identification, Billing, Pictures, Notes };

    TORCF032ART(kv::shell::FormEnvironment environment, const kv::ui::FormRegistry& forms,
                ArticleSessionState& articles, const kv::install::Installation* installation,
                QWidget* parent = nullptr);
    ~TORCF032ART() override;

    QTabWidget* tabs() const { return m_tabs; }
    // Moves to a page as the tab control does (TabControlChange).
    void showPage(int page);
    // The code accepted in the code field (claimed for this workstation).
    QString acceptedCode() const { return m_claimedCode; }

    void done(int result) override;

protected:
    void FormActivate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent* event) override;

private:
    struct CodeLookup;

    // Layout.
    void buildHeader(QGridLayout* grid);
    QWidget* buildIdentificationPage();
    QWidget* buildBillingPage();
    QWidget* buildNotesPage();
    void buildButtons();
    QLineEdit* addField(QGridLayout* grid, int row, int column, const QString& name, const QString& caption,
                        int characters, const QString& savedColumn = {});
    QHBoxLayout* lineOf(const QString& name) const { return m_lines.at(name); }
    void addLookup(const QString& field);
    kv::ui::TGlyphButton* addDoor(const QString& field, const QString& name, const QString& hint);

    // Activation.
    void closeAtActivation(const QString& message);
    void applyRights();
    void cleanFields();
    void prefillFromQuote();
    void runCoding();
    void takeCodingResult();

    // Steps.
    QString text(const QString& name) const;
    void setText(const QString& name, const QString& value);
    void leaveCode();
    void leaveDesignation(bool second);
    void leaveType();
    void showGroup(); // ShowCustom
    void customChanged(int n);
    void leaveCustom(int n);
    void openCustomisationTable(int n);
    void leaveTariff();
    void leaveFamily();
    void leaveCostCentre();
    void leaveComposition();
    void showComposition();
    QVariantMap vatRow(); // the IVA row of the code in the field, empty for none
    void showVatRate();
    void leaveVat();
    void refreshVatRate();
    void leaveCommission();
    void leaveNumber(const QString& name);
    void leaveDiscontinued();
    void lookup(const QString& field);
    void openSideDoor(const QString& formClass, const QString& reportClass, const QStringList& shared);
    void pageChanged(int page); // TabControlChange
    void openCountries();
    bool save();

    kv::shell::FormEnvironment m_env;
    const kv::ui::FormRegistry& m_forms;
    ArticleSessionState& m_articles;
    const kv::install::Installation* m_installation;
    ArticleFile m_file;

    QVariantMap m_parameters; // PARCUSTOM row "1"
    QVariantMap m_year; // PARGER of the working year
    bool m_codeAccepted = false; // cleared by a refused code, never set again in this opening
    QString m_claimedCode;
    bool m_saved = false;
    bool m_changingCustom = false;

    QTabWidget* m_tabs = nullptr;
    std::map<QString, QLineEdit*> m_edits; // by component name
    std::map<QString, QString> m_savedColumns; // component name -> ARTIGOSCLS column
    std::map<QString, QHBoxLayout*> m_lines;
    std::map<QString, int> m_pageOf; // the page of a field; -1 for the header
    int m_buildingPage = -1;
    std::map<QString, kv::ui::TGlyphButton*> m_doors;
    QLabel* m_labelDesign = nullptr; // Label_Design
    QLabel* m_lengths[2] = {}; // LabelTam1, LabelTam2
    QLabel* m_costCentreName = nullptr; // Label_CCustoNome
    QWidget* m_types = nullptr; // PanelTipoArtigo
    std::array<QLabel*, 9> m_customCaptions{}; // LabelArtigo1 .. 9
    std::array<kv::ui::TGlyphButton*, 9> m_customDoors{}; // BotCustom1 .. 9
    std::array<bool, 9> m_customRights{}; // "Custom. Artigos n" allows its table
    bool m_openedYear = false; // DTTABELAS.FACPARGER opened by this form
    int m_page = 0; // the page shown
    ArticlePicturesPage* m_pictures = nullptr;
    kv::notes::NotesEditor* m_notes = nullptr;
    kv::ui::TGlyphButton* m_countries = nullptr; // BotDesignPais
    kv::ui::TGlyphButton* m_close = nullptr; // BitTerminar
};

} // namespace kv::customers
