#include "platform/ui/TableButtons.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/TGlyphButton.h"

#include <QHBoxLayout>

namespace kv::ui {

namespace {

TGlyphButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new TGlyphButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TableButtons::TableButtons(QWidget* parent, kv::db::Dataset* dataset) : layout(new QHBoxLayout)
{
    BotNavig = new DbNavigator(parent);
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(dataset);
    layout->addWidget(BotNavig);
    layout->addStretch(1);
    BotInserir = button(QStringLiteral("BotInserir"), QStringLiteral("&Inserir"), parent);
    BotCancelar = button(QStringLiteral("BotCancelar"), QStringLiteral("&Cancelar"), parent);
    BotDelete = button(QStringLiteral("BotDelete"), QStringLiteral("&Eliminar"), parent);
    BotPrint = button(QStringLiteral("BotPrint"), QStringLiteral("Im&primir"), parent);
    BitTerminar = button(QStringLiteral("BitTerminar"), QStringLiteral("&Terminar"), parent);
    for (TGlyphButton* b : {BotInserir, BotCancelar, BotDelete, BotPrint, BitTerminar})
        layout->addWidget(b);
    for (TGlyphButton* b : {BotInserir, BotCancelar, BotDelete, BotPrint})
        b->setVisible(false);
}

} // namespace kv::ui
