#include "updater/forms/MainProgramUpdater.h"

#include "platform/install/IniFile.h"
#include "platform/install/Installation.h"
#include "shell/LoginState.h"

namespace kv::updater {

UpdateServer UpdateServer::read(const kv::install::Installation& installation)
{
    const auto ini = kv::install::IniFile::read(installation.aliasFile());
    return {ini.value(QStringLiteral("updates"), QStringLiteral("folder")).trimmed(),
            ini.value(QStringLiteral("updates"), QStringLiteral("cafile")).trimmed()};
}

MainProgramUpdater::MainProgramUpdater(UpdateServer server, UpdaterView* view, const QString& applicationFileName)
    : m_server(std::move(server)), m_updater(view, applicationFileName)
{
    TupAutoUpdater& u = m_updater;
    // A private server's own authority keeps its certificate checked.
    u.InternetOptions = ioKeepConnection | (m_server.caFile.isEmpty() ? ioIgnoreUnknownCertificateAuthority : 0u);
    u.CAFile = m_server.caFile;
    u.Title = QStringLiteral("Kavorimetas");
    u.AutoCheckDelay = 1000;
    u.RestartParams = QStringLiteral("/verysilent");
    u.VersionControl = TupVersionControl::byNumber;
    u.VersionDate = QStringLiteral("08/30/2008");
    // The installed version: an upgrade once installed is not offered again.
    u.VersionNumber = QLatin1String(kv::shell::ProgramVersion);
    u.ShowMessages = mAskUpgrade | mConnLost | mPasswordRequest;
    u.OnEndUpgrade = [&u](bool& restartImmediately) {
        u.SetRestartParams(QStringLiteral("/VerySilent"));
        restartImmediately = true;
    };
}

void MainProgramUpdater::check(const kv::shell::UpdateCheckRequest& request)
{
    if (m_server.folder.isEmpty())
        return; // no server: unreachable at once
    QString folder = m_server.folder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    m_updater.InfoFileURL = folder + request.infoFile;
    m_updater.CheckUpdate(request.silent);
}

} // namespace kv::updater
