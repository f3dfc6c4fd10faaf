#include "customers/coding/forms/ArticleCodingForms.h"

#include "customers/coding/core/ArticleCountries.h"
#include "customers/coding/core/CustomisationTables.h"
#include "customers/coding/forms/CustomisationListReport.h"
#include "customers/coding/forms/CustomisationTableForm.h"
#include "customers/coding/forms/TORCF032CODIF.h"
#include "customers/coding/forms/TORCF032PAIS.h"
#include "customers/coding/forms/TORCFSPR032CUSTCOD.h"
#include "platform/db/DbError.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"
#include "shell/Session.h"

namespace kv::customers {

CodingResult runArticleCoding(const kv::shell::FormEnvironment& environment, QWidget* opener)
{
    TORCF032CODIF form(environment, opener);
    form.exec();
    return form.result();
}

void runCustomisationTable(const kv::shell::FormEnvironment& environment, QWidget* opener, CustomisationOpener which,
                           const QString& group, const QString& table)
{
    CustomisationTableForm form(environment, which, group, table, opener);
    form.exec();
}

bool customisationButtonShown(const kv::shell::FormEnvironment& environment, const QString& group, const QString& table)
{
    try {
        const auto found = CustomisationTables(environment.invoicing()).read(group, table);
        if (!found || found->name.isEmpty())
            return false;
    } catch (const kv::db::DbError&) {
        return false;
    }
    return environment.sideDoorVisible(environment.state().WModuloBase, QStringLiteral("Tabelas"),
                                       CustomisationTables::rightsProgram(group));
}

bool runArticleCountries(const kv::shell::FormEnvironment& environment, QWidget* opener, const QString& articleCode)
{
    if (articleCode.trimmed().isEmpty())
        return false;
    std::optional<long long> added;
    try {
        added = ArticleCountries::addMissing(*environment.invoicing(), articleCode);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    if (!added) {
        kv::ui::messages().fail(QStringLiteral("NÃO ABRIU A TABELA DE PAISES !!!"));
        return false;
    }
    TORCF032PAIS form(environment, articleCode, opener);
    form.exec();
    return true;
}

void registerArticleCodingForms(kv::shell::Session& session, kv::ui::FormRegistry& forms)
{
    const auto environment = [&session] { return kv::shell::FormEnvironment(session.state(), session.dataModules()); };
    auto openReports = std::make_shared<kv::report::OpenReports>();
    forms.add(QStringLiteral("TORCF032CODIF"),
              [environment](QWidget* parent) -> QDialog* { return new TORCF032CODIF(environment(), parent); });
    for (const CustomisationOpener opener : {CustomisationOpener::ArticleForm, CustomisationOpener::CodingForm}) {
        forms.add(CustomisationTableForm::Variant::of(opener).formClass,
                  [environment, opener, &session](QWidget* parent) -> QDialog* {
                      const kv::shell::LoginState& state = session.state();
                      return new CustomisationTableForm(environment(), opener, state.WTabGrupo, state.WTabCod, parent);
                  });
    }
    forms.add(QStringLiteral("TORCFPR032CUSTARTG"), [environment, openReports](QWidget* parent) -> QDialog* {
        return new CustomisationListReport(CustomisationListReport::articleFormList({}), environment(), *openReports,
                                           parent);
    });
    forms.add(QStringLiteral("TORCFPR032CUSTCOD"), [environment, openReports](QWidget* parent) -> QDialog* {
        return new CustomisationListReport(CustomisationListReport::codingFormList({}, false, QPageLayout::Portrait),
                                           environment(), *openReports, parent);
    });
    forms.add(QStringLiteral("TORCFSPR032CUSTCOD"), [environment, &session](QWidget* parent) -> QDialog* {
        const kv::shell::LoginState& state = session.state();
        return new TORCFSPR032CUSTCOD(environment(), state.WTabGrupo, state.WTabCod, {}, parent);
    });
    forms.add(QStringLiteral("TORCF032PAIS"), [environment, &session](QWidget* parent) -> QDialog* {
        return new TORCF032PAIS(environment(), session.state().WNosRefAprov, parent);
    });
}

} // namespace kv::customers
