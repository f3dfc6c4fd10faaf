#include "useradmin/forms/AccessRightsForm.h"

#include "useradmin/core/RightsRows.h"
#include "useradmin/forms/GridFit.h"

#include "platform/ui/DbGrid.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

namespace kv::useradmin {

AccessRightsForm::AccessRightsForm(AdminSession& session, const QString& formClass, const QString& caption,
                                   const QString& applicationKey, QWidget* parent)
    : ui::Form(parent, 1), m_session(session), m_applicationKey(applicationKey), UTIL(QStringLiteral("UTIL")),
      APLICACAOCAP(QStringLiteral("APLICACAOCAP")), WORKDET(QStringLiteral("WORKDET"))
{
    setObjectName(formClass);
    setWindowTitle(caption);
    setModal(true);
    UTIL.setSql(RightsRows::usersSql());
    UTIL.setMode(db::DatasetMode::ReadOnly);
    APLICACAOCAP.setSql(RightsRows::chaptersSql());
    APLICACAOCAP.setMode(db::DatasetMode::ReadOnly);
    WORKDET.setSql(RightsRows::workSql());
    WORKDET.setMode(db::DatasetMode::Cached);
    WORKDET.setUpdateStatements(RightsRows::workStatements());

    DBGrid1 = new ui::DbGrid(body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataset(&UTIL, {{QStringLiteral("NRO"), QStringLiteral("Utilizador"), 15, {}}});
    DBGrid4 = new ui::DbGrid(body());
    DBGrid4->setObjectName(QStringLiteral("DBGrid4"));
    DBGrid4->setDataset(&APLICACAOCAP, {{QStringLiteral("CAPITULO"), QStringLiteral("Capítulos"), 24, {}}});
    DBGridWorkDet = new ui::DbGrid(body());
    DBGridWorkDet->setObjectName(QStringLiteral("DBGridWorkDet"));
    std::vector<ui::GridColumn> rights{{QStringLiteral("PROGRAMA"), QStringLiteral("Programa"), 35, {}}};
    const QStringList titles{"Aceder", "Inserir", "Eliminar", "Imprimir", "Scanner"};
    for (int i = 0; i < titles.size(); ++i) {
        ui::GridColumn flag{RightsRows::editedFlags()[i], titles[i], 9, {}};
        flag.checkBox = true;
        flag.alignment = Qt::AlignHCenter;
        rights.push_back(flag);
    }
    DBGridWorkDet->setDataset(&WORKDET, std::move(rights));

    for (ui::DbGrid* grid : {DBGrid1, DBGrid4, DBGridWorkDet})
        fitGridToColumns(grid, 20);
    auto* layout = new QHBoxLayout(body());
    layout->addWidget(DBGrid1);
    layout->addWidget(DBGrid4);
    layout->addWidget(DBGridWorkDet);
    setTabOrder(DBGrid1, DBGrid4);
    setTabOrder(DBGrid4, DBGridWorkDet);
    if (QLabel* tag = statusBar()->panel(0))
        tag->setAlignment(Qt::AlignCenter);

    connect(&UTIL, &db::Dataset::currentChanged, this, [this] {
        if (m_following)
            Edit_UtilNroChange();
    });
    connect(&APLICACAOCAP, &db::Dataset::currentChanged, this, [this] {
        if (m_following)
            Edit_AplicacaoChange();
    });
}

AccessRightsForm::~AccessRightsForm()
{
    disconnect(&UTIL, nullptr, this, nullptr);
    disconnect(&APLICACAOCAP, nullptr, this, nullptr);
    for (ui::DbGrid* grid : {DBGrid1, DBGrid4, DBGridWorkDet})
        grid->setDataset(nullptr);
}

void AccessRightsForm::FormActivate()
{
    setStatusText(0, AdminSession::makerTag());
    m_following = false;
    try {
        const auto application = m_session.application();
        m_session.requireApplication();
        for (db::Dataset* dataset : {&UTIL, &APLICACAOCAP, &WORKDET}) {
            dataset->close();
            dataset->setConnection(application);
        }
        APLICACAOCAP.setParam(QStringLiteral("WAplicacao"), m_applicationKey);
        UTIL.open();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    m_following = true;
    Edit_UtilNroChange();
    setEnterHandler(DBGridWorkDet, [this] { DBGridWorkDetEnter(); });
    setExitHandler(DBGridWorkDet, [this] { DBGridWorkDetExit(); });
    EnableEvents();
    focusField(DBGrid1);
}

void AccessRightsForm::Edit_UtilNroChange()
{
    m_following = false;
    m_user = UTIL.isOpen() && !UTIL.isEmpty() ? UTIL.value(QStringLiteral("NRO")).toString() : QString();
    try {
        APLICACAOCAP.close();
        APLICACAOCAP.open();
        APLICACAOCAP.first();
        WORKDET.close();
        RightsRows::createMissingRows(m_session.application(), m_applicationKey, m_session.company().number, m_user);
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
    m_following = true;
    Edit_AplicacaoChange();
}

void AccessRightsForm::Edit_AplicacaoChange()
{
    m_chapter = APLICACAOCAP.isOpen() && !APLICACAOCAP.isEmpty()
                    ? APLICACAOCAP.value(QStringLiteral("CAPITULO")).toString()
                    : QString();
    try {
        WORKDET.close();
        WORKDET.setParam(QStringLiteral("WAplicacao"), m_applicationKey);
        WORKDET.setParam(QStringLiteral("WCapitulo"), m_chapter);
        WORKDET.setParam(QStringLiteral("WEmpNro"), m_session.company().number);
        WORKDET.setParam(QStringLiteral("WUtil"), m_user);
        WORKDET.open();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
}

void AccessRightsForm::DBGridWorkDetEnter()
{
    try {
        if (WORKDET.isOpen() && !WORKDET.isEmpty() && WORKDET.state() == db::DatasetState::Browse)
            WORKDET.edit();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.text());
    }
}

void AccessRightsForm::DBGridWorkDetExit() { applyRights(); }

bool AccessRightsForm::applyRights()
{
    if (!WORKDET.isOpen())
        return true;
    try {
        if (WORKDET.state() != db::DatasetState::Browse)
            WORKDET.post();
        if (WORKDET.hasPendingChanges())
            WORKDET.applyUpdates();
    } catch (const db::DbError& error) {
        // The database's own message; the ticks stay pending.
        ui::messages().fail(error.fullText());
        return false;
    }
    return true;
}

void AccessRightsForm::done(int result)
{
    // Closing writes the ticks; a refusal keeps the form open with them.
    if (isActivated() && eventsEnabled() && !applyRights())
        return;
    ui::Form::done(result);
}

void AccessRightsForm::FormClose()
{
    m_following = false;
    for (db::Dataset* dataset : {&WORKDET, &UTIL, &APLICACAOCAP})
        dataset->close();
}

} // namespace kv::useradmin
