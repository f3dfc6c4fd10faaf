#pragma once

#include "useradmin/core/AdminSession.h"

#include "platform/db/Dataset.h"
#include "platform/ui/Form.h"

namespace kv::ui {
class DbGrid;
class TGlyphButton;
} // namespace kv::ui

namespace kv::useradmin {

// "Seleccione a Empresa": the companies of the general database, connected
// only while this window is open. "Ok" on a valid row stores the company in
// the session; "Sair" asks to end the program.
class TKAVMDUTILEMPR : public ui::Form {
    Q_OBJECT
public:
    enum class Outcome { Open, Selected, Exit };

    explicit TKAVMDUTILEMPR(AdminSession& session, QWidget* parent = nullptr);
    ~TKAVMDUTILEMPR() override;

    // Open when the window was closed by its close box.
    Outcome outcome() const { return m_outcome; }

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void BotSelectClick();
    void BitTerminarClick();

    AdminSession& m_session;
    db::Dataset EMPRESAS;
    ui::DbGrid* DBGrid1 = nullptr;
    Outcome m_outcome = Outcome::Open;
};

} // namespace kv::useradmin
