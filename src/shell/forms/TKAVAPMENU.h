#pragma once

#include <QWidget>

namespace kv::shell {

// The splash shown while the main window is created.
class TKAVAPMENU : public QWidget {
    Q_OBJECT
public:
    explicit TKAVAPMENU(QWidget* parent = nullptr);
};

// The maker's web page, shown on the splash and the main window.
QString makerWebAddress();

} // namespace kv::shell
