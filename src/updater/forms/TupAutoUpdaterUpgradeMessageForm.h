#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kv::updater {

class UpdaterMessages;

// The upgrade question: the announcement and "Sim" / "Não", above other windows.
class TupAutoUpdaterUpgradeMessageForm : public QDialog {
public:
    TupAutoUpdaterUpgradeMessageForm(const UpdaterMessages& messages, const QString& text, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* LaterBtn = nullptr;
};

} // namespace kv::updater
