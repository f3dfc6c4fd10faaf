#pragma once

#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <memory>

namespace kv::db {
class Dataset;
}
namespace kv::ui {
class DbGrid;
class TUpdateErrorForm;
} // namespace kv::ui

namespace kv::customers {

// "Designação e Preços por País": the designation and the four prices of
// one article in each country, typed in the grid. The rows exist already
// (runArticleCountries adds the missing ones); the form writes the changes
// when the cursor moves up or down or by Tab, on "&Gravar" and at close.
class TORCF032PAIS : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF032PAIS(kv::shell::FormEnvironment environment, QString article, QWidget* parent = nullptr);
    ~TORCF032PAIS() override;

    kv::db::Dataset& rows() const { return *m_rows; }
    // Writes the pending changes; false, the user told, when refused.
    bool save(); // BotGravarClick

protected:
    void FormActivate() override;
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    kv::shell::FormEnvironment m_environment;
    QString m_article;
    std::unique_ptr<kv::db::Dataset> m_rows;
    kv::ui::DbGrid* DbgridPais = nullptr;
    kv::ui::TUpdateErrorForm* m_updateError = nullptr;
};

} // namespace kv::customers
