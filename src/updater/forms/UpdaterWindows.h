#pragma once

#include "updater/core/UpdaterView.h"
#include "updater/forms/TupAutoUpdaterWizardForm.h"

#include <QPointer>

#include <functional>

namespace kv::updater {

// The updater's windows: message boxes through the message service, the
// upgrade question, the download wizard and the credentials window.
class UpdaterWindows final : public UpdaterView {
public:
    // closeApplication: closes the main window with its usual shut-down.
    explicit UpdaterWindows(std::function<void()> closeApplication = {});
    ~UpdaterWindows() override;

    void message(Icon icon, const QString& text, const QString& caption) override;
    bool question(Icon icon, const QString& text, const QString& caption) override;
    bool askUpgrade(TupAutoUpdater& updater, const QString& text) override;
    bool askPassword(TupAutoUpdater& updater, const QString& text) override;
    void showWizard(TupAutoUpdater& updater) override;
    void wizardFile(const QString& url, const QString& counter) override;
    void wizardSize(const QString& line) override;
    void wizardProgress(const TupProgress& progress, int totalPercents) override;
    void wizardFinished() override;
    void closeWizard() override;
    void openURL(const QString& url) override;
    void closeApplication() override;

    TupAutoUpdaterWizardForm* wizard() const { return m_wizard; }

private:
    std::function<void()> m_closeApplication;
    QPointer<TupAutoUpdaterWizardForm> m_wizard;
};

} // namespace kv::updater
