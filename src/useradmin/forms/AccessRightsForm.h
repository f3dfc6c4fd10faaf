#pragma once

#include "useradmin/core/AdminSession.h"

#include "platform/db/Dataset.h"
#include "platform/ui/Form.h"

namespace kv::ui {
class DbGrid;
}

namespace kv::useradmin {

// The access rights editor of one application key: the users, the key's
// chapters and the chosen user's rights in the chosen chapter for the open
// company. Choosing a user gives that user the rows still missing; ticks
// are written when the rights grid loses the focus or the form closes.
// Registered as TKAVFUTIL002 ("KAVORIMETAS") and TKAVFUTIL003 ("MODULO BASE").
class AccessRightsForm : public ui::Form {
    Q_OBJECT
public:
    AccessRightsForm(AdminSession& session, const QString& formClass, const QString& caption,
                     const QString& applicationKey, QWidget* parent = nullptr);
    ~AccessRightsForm() override;

    void done(int result) override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void Edit_UtilNroChange();
    void Edit_AplicacaoChange();
    void DBGridWorkDetEnter();
    void DBGridWorkDetExit();
    bool applyRights();

    AdminSession& m_session;
    QString m_applicationKey;
    QString m_user;
    QString m_chapter;
    bool m_following = false;
    db::Dataset UTIL;
    db::Dataset APLICACAOCAP;
    db::Dataset WORKDET;
    ui::DbGrid* DBGrid1 = nullptr;
    ui::DbGrid* DBGrid4 = nullptr;
    ui::DbGrid* DBGridWorkDet = nullptr;
};

} // namespace kv::useradmin
