#pragma once

#include "shell/LoginState.h"

#include "platform/db/Dataset.h"

#include <QMap>
#include <QString>

namespace kv::shell {

// The flags of one rights row; every flag is "N" when the user has no row.
struct Rights {
    bool found = false;
    QString ACEDER = QStringLiteral("N");
    QString INSERIR = QStringLiteral("N");
    QString ELIMINAR = QStringLiteral("N");
    QString IMPORTAR = QStringLiteral("N");
    QString IMPRIMIR = QStringLiteral("N");
    QString SCANNER = QStringLiteral("N");
};

// How a form reads and applies its rights row.
enum class RightsVariant {
    R1, // ACEDER, INSERIR, ELIMINAR, IMPRIMIR, IMPORTAR
    R2, // as R1; without a row the message "INVALID KEY" (the form stays open)
    R3, // ACEDER, INSERIR, ELIMINAR, IMPRIMIR
    R4, // ACEDER, IMPRIMIR; only the print buttons follow the rights
    R5, // no flag; without a row the form may not be used
    R6 // ACEDER, IMPRIMIR; print buttons visible exactly for IMPRIMIR "S"
};

// What a form does with its rights when it is activated: the flags it keeps,
// what it says, whether it closes, and which of its buttons it shows.
struct FormRights {
    Rights rights; // the flags the variant reads; the others "N"
    QString message; // shown when not empty
    bool beep = false; // before the message
    bool closeForm = false;
    bool showInserir = false; // BotInserir
    bool showCancelar = false; // BotCancelar
    bool enableFields = false; // the fields only a user who may insert edits
    bool showDelete = false; // BotDelete
    bool showPrint = false; // BotPrint / BitPrint
};

// Which menu entries and toolbar buttons the login enables, by object name
// (TABORC001, BotPapeis, PLANO006...). Entries not listed are not subject to
// rights and keep their state.
struct MenuRights {
    QMap<QString, bool> enabled;
    bool isEnabled(const QString& name) const { return enabled.value(name, true); }
};

// Looks the logged-in user's rights up in the open DTEMPRESAS.APLICACAODET.
// A row counts only for the open company (WEmpNro) and matches application,
// chapter, program and user exactly, letter case included.
class AccessRights {
public:
    AccessRights(db::Dataset& rightsRows, LoginState& state);

    // Sets WCapitulo and finds the row.
    Rights lookup(const QString& application, const QString& chapter, const QString& program);

    // ReadAcessosUtil followed by DisableAcessosBotoes, as data.
    FormRights readForm(RightsVariant variant, const QString& application, const QString& chapter,
                        const QString& program);

    // A button that opens another table's form is shown unless the row is
    // missing or, when `hideWhenRefused`, its ACEDER is "N".
    bool sideDoorVisible(const QString& application, const QString& chapter, const QString& program,
                         bool hideWhenRefused = true);

    // The menu rights of the login, by the production-order model.
    MenuRights menuRights();

private:
    bool allowed(const QString& chapter, const QString& program);

    db::Dataset& m_rows;
    LoginState& m_state;
};

} // namespace kv::shell
