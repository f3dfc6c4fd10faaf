#include "shell/PasswordChange.h"

namespace kv::shell {
namespace {

PasswordCheck checkField(const QString& typed, int field)
{
    if (typed.isEmpty())
        return {QStringLiteral("Palavra passe inválida ..."), field};
    if (typed.size() > PasswordChange::MaxLength)
        return {QStringLiteral("Excedeu o Nº de caracteres = 15 ..."), field};
    return {};
}

} // namespace

QString PasswordChange::stored(const QString& typed) { return typed.left(MaxLength).toUpper(); }

PasswordCheck PasswordChange::checkNew(const QString& typed) { return checkField(typed, 1); }

PasswordCheck PasswordChange::checkConfirmation(const QString& typedNew, const QString& typedConfirmation)
{
    if (PasswordCheck check = checkField(typedConfirmation, 2); !check.ok())
        return check;
    if (stored(typedConfirmation) != stored(typedNew))
        return {QStringLiteral("Confirmação <> da nova palavra passe, tente novamente ..."), 1};
    return {};
}

PasswordCheck PasswordChange::confirm(const QString& typedNew, const QString& typedConfirmation)
{
    if (PasswordCheck check = checkNew(typedNew); !check.ok())
        return check;
    return checkConfirmation(typedNew, typedConfirmation);
}

} // namespace kv::shell
