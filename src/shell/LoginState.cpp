#include "shell/LoginState.h"

namespace kv::shell {

void LoginState::setFixedValues()
{
    WIdioma = 0;
    WVersao = QString::fromLatin1(ProgramVersion);
    WMarca = QStringLiteral("Palvexworks - Software de Gestão Industrial");
    WRodape = QStringLiteral("Processado por computador - Kavorimetas");
    WAplicacao = QString::fromLatin1(ApplicationKey);
    WModuloBase = QString::fromLatin1(BaseModuleKey);
}

} // namespace kv::shell
