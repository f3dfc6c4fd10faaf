#include "updater/forms/UpdaterWindows.h"

#include "platform/ui/MessageService.h"
#include "updater/core/TupAutoUpdater.h"
#include "updater/forms/TupAutoUpdaterPasswordForm.h"
#include "updater/forms/TupAutoUpdaterUpgradeMessageForm.h"
#include "updater/forms/TupAutoUpdaterWizardForm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace kv::updater {

UpdaterWindows::UpdaterWindows(std::function<void()> closeApplication) : m_closeApplication(std::move(closeApplication))
{
}

UpdaterWindows::~UpdaterWindows() { closeWizard(); }

void UpdaterWindows::message(Icon icon, const QString& text, const QString& caption)
{
    using Kind = kv::ui::MessageService::Kind;
    const Kind kind = icon == Icon::Error ? Kind::Error : icon == Icon::Information ? Kind::Information : Kind::Warning;
    kv::ui::messages().message(kind, text, caption);
}

bool UpdaterWindows::question(Icon, const QString& text, const QString& caption)
{
    return kv::ui::messages().question(text, caption);
}

bool UpdaterWindows::askUpgrade(TupAutoUpdater& updater, const QString& text)
{
    TupAutoUpdaterUpgradeMessageForm form(updater.messages(), text, QApplication::activeWindow());
    return form.exec() == QDialog::Accepted;
}

bool UpdaterWindows::askPassword(TupAutoUpdater& updater, const QString& text)
{
    TupAutoUpdaterPasswordForm form(updater, text, QApplication::activeWindow());
    return form.exec() == QDialog::Accepted;
}

void UpdaterWindows::showWizard(TupAutoUpdater& updater)
{
    if (!m_wizard)
        m_wizard = new TupAutoUpdaterWizardForm(updater);
    m_wizard->show();
}

void UpdaterWindows::wizardFile(const QString& url, const QString& counter)
{
    if (m_wizard)
        m_wizard->showFile(url, counter);
}

void UpdaterWindows::wizardSize(const QString& line)
{
    if (m_wizard)
        m_wizard->showSize(line);
}

void UpdaterWindows::wizardProgress(const TupProgress& progress, int totalPercents)
{
    if (m_wizard)
        m_wizard->showProgress(progress, totalPercents);
}

void UpdaterWindows::wizardFinished()
{
    if (m_wizard)
        m_wizard->showFinished();
}

void UpdaterWindows::closeWizard()
{
    if (m_wizard)
        m_wizard->dismiss();
}

void UpdaterWindows::openURL(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

void UpdaterWindows::closeApplication()
{
    if (m_closeApplication)
        m_closeApplication();
    QCoreApplication::quit();
}

} // namespace kv::updater
