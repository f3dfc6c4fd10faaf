#pragma once

#include "updater/core/TupCustomHTTP.h"

#include <QDialog>
#include <QElapsedTimer>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kv::updater {

class TupAutoUpdater;

// The download wizard: the file being fetched, its size, rate and time left,
// the progress of the file and of all files; then the finished state. Its
// close box and "Cancelar" ask before abandoning the upgrade.
class TupAutoUpdaterWizardForm : public QDialog {
public:
    explicit TupAutoUpdaterWizardForm(TupAutoUpdater& updater, QWidget* parent = nullptr);

    void showFile(const QString& url, const QString& counter);
    void showSize(const QString& line);
    void showProgress(const TupProgress& progress, int totalPercents);
    void showFinished();
    // Closed by the updater itself: no question, no notice back.
    void dismiss();

    QLabel* WizardTitle = nullptr;
    QLabel* AfterNote = nullptr;
    QGroupBox* LCurrentFile = nullptr;
    QGroupBox* LAllFiles = nullptr;
    QLabel* LDownloadingFileFrom = nullptr;
    QLineEdit* FileURL = nullptr;
    QLabel* LFileSize = nullptr;
    QLabel* LTransferRate = nullptr;
    QLabel* LEstimatedTime = nullptr;
    QProgressBar* ProgressCurrentFile = nullptr;
    QLabel* AllDownloading = nullptr;
    QProgressBar* ProgressAllFiles = nullptr;
    QLabel* AboutLabel = nullptr;
    QPushButton* FinishBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    TupAutoUpdater& m_updater;
    QElapsedTimer m_lastDraw;
    bool m_closingQuietly = false;
    bool m_finishing = false;
};

} // namespace kv::updater
