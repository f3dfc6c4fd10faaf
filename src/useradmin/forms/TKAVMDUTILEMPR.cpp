#include "useradmin/forms/TKAVMDUTILEMPR.h"

#include "useradmin/core/CompanySelection.h"
#include "useradmin/forms/GridFit.h"

#include "platform/ui/DbGrid.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/TGlyphButton.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace kv::useradmin {

TKAVMDUTILEMPR::TKAVMDUTILEMPR(AdminSession& session, QWidget* parent)
    : ui::Form(parent), m_session(session), EMPRESAS(QStringLiteral("EMPRESAS"))
{
    setObjectName(QStringLiteral("TKAVMDUTILEMPR"));
    setWindowTitle(QStringLiteral("Seleccione a Empresa"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    statusBar()->hide();
    EMPRESAS.setSql(CompanySelection::listSql());
    EMPRESAS.setMode(db::DatasetMode::ReadOnly);

    DBGrid1 = new ui::DbGrid(body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    ui::GridColumn number{QStringLiteral("EMPNRO"), QStringLiteral("Emp. Nº"), 7, {}};
    number.format = [](const QVariant& value) { return value.isNull() ? QString() : value.toString(); };
    number.alignment = Qt::AlignHCenter;
    DBGrid1->setDataset(&EMPRESAS, {number, {QStringLiteral("NOME"), QStringLiteral("Nome da Empresa"), 40, {}}});

    auto* select = new ui::TGlyphButton(QStringLiteral("Ok"), body());
    select->setObjectName(QStringLiteral("BotSelect"));
    select->SetHint(QStringLiteral("Entrar Aplicação"));
    auto* quit = new ui::TGlyphButton(QStringLiteral("Sair"), body());
    quit->setObjectName(QStringLiteral("BitTerminar"));
    quit->SetHint(QStringLiteral("Sair"));
    connect(select, &ui::TGlyphButton::clicked, this, &TKAVMDUTILEMPR::BotSelectClick);
    connect(quit, &ui::TGlyphButton::clicked, this, &TKAVMDUTILEMPR::BitTerminarClick);
    connect(DBGrid1, &ui::DbGrid::rowActivated, this, &TKAVMDUTILEMPR::BotSelectClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(select);
    buttons->addWidget(quit);
    auto* layout = new QVBoxLayout(body());
    layout->addWidget(DBGrid1);
    layout->addLayout(buttons);
    fitGridToColumns(DBGrid1, 10);
    setFixedSize(sizeHint());
}

TKAVMDUTILEMPR::~TKAVMDUTILEMPR() { DBGrid1->setDataset(nullptr); }

void TKAVMDUTILEMPR::FormActivate()
{
    m_outcome = Outcome::Open;
    try {
        EMPRESAS.close();
        EMPRESAS.setConnection(m_session.connectGeneral());
        EMPRESAS.open();
        EMPRESAS.first();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
    EnableEvents();
    focusField(DBGrid1);
}

void TKAVMDUTILEMPR::BotSelectClick()
{
    const bool hasRow = EMPRESAS.isOpen() && !EMPRESAS.isEmpty();
    const SelectionCheck check =
        CompanySelection::check(hasRow ? EMPRESAS.value(QStringLiteral("EMPNRO")) : QVariant(),
                                hasRow ? EMPRESAS.value(QStringLiteral("NOME")).toString() : QString(),
                                hasRow ? EMPRESAS.value(QStringLiteral("BDESPECIF01")).toString() : QString());
    if (!check.accepted) {
        if (check.beep)
            ui::messages().beep();
        ui::messages().error(check.message);
        return;
    }
    m_session.setCompany(check.company);
    m_outcome = Outcome::Selected;
    accept();
}

void TKAVMDUTILEMPR::BitTerminarClick()
{
    m_outcome = Outcome::Exit;
    reject();
}

void TKAVMDUTILEMPR::FormClose()
{
    // The general database is open only while a company is being chosen.
    EMPRESAS.close();
    EMPRESAS.setConnection(nullptr);
    m_session.releaseGeneral();
}

} // namespace kv::useradmin
