#pragma once

#include <QString>
#include <array>

class QWidget;

namespace kv::shell {
class FormEnvironment;
class Session;
} // namespace kv::shell
namespace kv::ui {
class FormRegistry;
}

namespace kv::customers {

// What the automatic coding hands back to the article form.
struct CodingResult {
    // A new, non-empty code was confirmed; it is claimed for this workstation
    // in ARTIGOSCLS.CODIGO (the article's save ends the claim, giving the
    // article up releases it, as for a code typed in the code field).
    bool generated = false;
    QString code;
    QString designation; // at most 40 characters, for the designation field
    QString labelDesignation; // the same, for the designation label (also when not generated)
    QString articleType; // the type field as typed
    std::array<int, 9> custom{}; // classification values 1..9, 0 for none
};

// TORCF032CODIF over `opener`, modal. Reads PARCUSTOM, PARGRUPOS and
// CUSTARTG itself and writes WTabGrupo/WTabCod of the login state.
CodingResult runArticleCoding(const kv::shell::FormEnvironment& environment, QWidget* opener);

// Which of the two customisation table forms maintains the table.
enum class CustomisationOpener {
    ArticleForm, // TORCF032CUSTARTG: list previewed over the country shown
    CodingForm // TORCF032CUSTCOD: list printed through TORCFSPR032CUSTCOD over every country
};

// The customisation table `table` ("1".."9") of `group`, modal over
// `opener`. Nothing comes back: the opener reads the table again.
void runCustomisationTable(const kv::shell::FormEnvironment& environment, QWidget* opener, CustomisationOpener which,
                           const QString& group, const QString& table);

// Whether the table button of `table` shows for `group`: the table has a
// caption (PARGRUPOS.TABNOM) and the user's right "Custom. Artigos <group>"
// (WModuloBase, "Tabelas") gives access.
bool customisationButtonShown(const kv::shell::FormEnvironment& environment, const QString& group,
                              const QString& table);

// "&Paises": adds the article's missing countries to ARTIGOSPAIS (one
// statement) and opens TORCF032PAIS over its rows. False, with nothing
// opened, when the code is empty or the rows could not be added (the user
// told).
bool runArticleCountries(const kv::shell::FormEnvironment& environment, QWidget* opener, const QString& articleCode);

// Registers TORCF032CODIF, TORCF032CUSTARTG, TORCF032CUSTCOD, TORCF032PAIS,
// their reports and the print dialog TORCFSPR032CUSTCOD (no menu entries).
void registerArticleCodingForms(kv::shell::Session& session, kv::ui::FormRegistry& forms);

} // namespace kv::customers
