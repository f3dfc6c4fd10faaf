#include "updater/forms/TupAutoUpdaterUpgradeMessageForm.h"

#include "updater/core/UpdaterMessages.h"
#include "updater/forms/UpdaterPictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::updater {

TupAutoUpdaterUpgradeMessageForm::TupAutoUpdaterUpgradeMessageForm(const UpdaterMessages& messages, const QString& text,
                                                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TupAutoUpdaterUpgradeMessageForm"));
    setWindowTitle(messages.text(0));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Icon"));
    icon->setPixmap(UpdaterPictures::icon());
    icon->setAlignment(Qt::AlignTop);
    Label1 = new QLabel(text, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFixedWidth(262); // a wrapped text takes the height its width needs
    YesBtn = new QPushButton(messages.text(14), this);
    YesBtn->setObjectName(QStringLiteral("YesBtn"));
    YesBtn->setDefault(true);
    LaterBtn = new QPushButton(messages.text(19), this);
    LaterBtn->setObjectName(QStringLiteral("LaterBtn"));
    // One width for both, wider where a language's captions need it.
    for (QPushButton* b : {YesBtn, LaterBtn})
        b->setMinimumWidth(75);
    connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(Label1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(YesBtn);
    bottom->addWidget(LaterBtn);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace kv::updater
