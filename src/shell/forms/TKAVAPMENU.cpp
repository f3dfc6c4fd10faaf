#include "shell/forms/TKAVAPMENU.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kv::shell {

QString makerWebAddress() { return QStringLiteral("https://www.palvexworks.pt"); }

TKAVAPMENU::TKAVAPMENU(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TKAVAPMENU"));
    // The picture's size, larger where the font's texts need more room.
    setMinimumSize(258, 181);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("background: black; color: white;"));

    auto* caption = new QLabel(QStringLiteral("Indústrias de Kavorimeta"), this);
    caption->setObjectName(QStringLiteral("LabelCaption"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold;"));
    auto* logo = new QLabel(QStringLiteral("KAVORIMETAS"), this);
    logo->setObjectName(QStringLiteral("ImageLogo"));
    logo->setAlignment(Qt::AlignCenter);
    logo->setStyleSheet(QStringLiteral("font-size: 18pt; font-weight: bold; color: rgb(175, 202, 228);"));
    auto* page = new QLabel(QStringLiteral("Consulte a nossa página : "), this);
    auto* address = new QLabel(makerWebAddress(), this);
    address->setObjectName(QStringLiteral("LabelWeb"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(logo, 1);
    layout->addWidget(page);
    layout->addWidget(address);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace kv::shell
