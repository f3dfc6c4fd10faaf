#pragma once

#include "updater/core/TupCustomHTTP.h"

#include <QString>

namespace kv::updater {

class TupAutoUpdater;

// What the updater shows: message boxes, its three windows and the browser.
// The core decides and words everything; a view only presents and answers.
class UpdaterView {
public:
    enum class Icon { Information, Error, Question, Exclamation };

    virtual ~UpdaterView() = default;
    virtual void message(Icon icon, const QString& text, const QString& caption) = 0;
    virtual bool question(Icon icon, const QString& text, const QString& caption) = 0;
    // The upgrade question window; true for its yes button.
    virtual bool askUpgrade(TupAutoUpdater& updater, const QString& text) = 0;
    // The credentials window over the updater's HTTPUsername and HTTPPassword;
    // true for OK.
    virtual bool askPassword(TupAutoUpdater& updater, const QString& text) = 0;

    // The download wizard, shown without waiting. When the user closes it the
    // view calls TupAutoUpdater::wizardClosed.
    virtual void showWizard(TupAutoUpdater& updater) = 0;
    virtual void wizardFile(const QString& url, const QString& counter) = 0;
    virtual void wizardSize(const QString& line) = 0;
    virtual void wizardProgress(const TupProgress& progress, int totalPercents) = 0;
    virtual void wizardFinished() = 0;
    // Frees the wizard without its close question.
    virtual void closeWizard() = 0;

    virtual void openURL(const QString& url) = 0;
    // Closes the main window (with its usual shut-down) and ends the program.
    virtual void closeApplication() = 0;
};

} // namespace kv::updater
