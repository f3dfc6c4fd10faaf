#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv::updater {

class TupAutoUpdater;

// Asks the user name and password for a protected file; OK stores them in
// the updater's HTTPUsername and HTTPPassword.
class TupAutoUpdaterPasswordForm : public QDialog {
public:
    TupAutoUpdaterPasswordForm(TupAutoUpdater& updater, const QString& text, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* UsernameEdit = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace kv::updater
