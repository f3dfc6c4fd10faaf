#pragma once

#include "useradmin/core/AdminSession.h"
#include "useradmin/core/UserFile.h"

#include "platform/db/Dataset.h"
#include "platform/ui/Form.h"

class QLineEdit;

namespace kv::ui {
class DbEdit;
class DbGrid;
class TGlyphButton;
} // namespace kv::ui

namespace kv::useradmin {

// "Abertura e Manutenção de Utilizadores": the users of the open company's
// application database. What is typed into a user is written when the grid
// takes the focus again or the form closes, once the row passes its checks.
class TKAVFUTIL001 : public ui::Form {
    Q_OBJECT
public:
    explicit TKAVFUTIL001(AdminSession& session, QWidget* parent = nullptr);
    ~TKAVFUTIL001() override;

    void done(int result) override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    ui::DbEdit* boundEdit(const char* name, const QString& column, int characters);
    QWidget* fieldOf(const QString& column) const;
    void setTitleColour(const QColor& colour);

    void DBGrid1Enter();
    void DBGrid1Exit();
    void BotInserirClick();
    void Edit_UtilNroExit();
    void BotCancelarClick();
    void BotDeleteClick();
    void BitTerminarClick();
    void fieldExit(const QString& column);
    void Edit_UtilNro1Change();

    // The current row changed by the user?
    bool rowPending();
    // Checks the row being changed and writes every pending change; false
    // (with the focus on the refused field, or the database's message) when
    // something stays unwritten.
    bool applyPending();
    void refuse(const FieldRefusal& refusal);
    void reopen();

    AdminSession& m_session;
    db::Dataset UTIL;
    QLineEdit* Edit_UtilNro = nullptr;
    ui::DbEdit* Edit_Nome = nullptr;
    ui::DbGrid* DBGrid1 = nullptr;
    ui::TGlyphButton* BotInserir = nullptr;
    ui::TGlyphButton* BotCancelar = nullptr;
    ui::TGlyphButton* BotDelete = nullptr;
    ui::TGlyphButton* BitTerminar = nullptr;
    bool m_insertMode = false;
};

} // namespace kv::useradmin
