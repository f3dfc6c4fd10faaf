#include "costing/forms/TableButtons.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/TGlyphButton.h"

#include <QHBoxLayout>

namespace kv::costing {

namespace {

kv::ui::TGlyphButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new kv::ui::TGlyphButton(caption, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TableButtons::TableButtons(QWidget* parent, kv::db::Dataset* dataset) : layout(new QHBoxLayout)
{
    BotNavig = new kv::ui::DbNavigator(parent);
    BotNavig->setObjectName(QStringLiteral("BotNavig"));
    BotNavig->setDataset(dataset);
    layout->addWidget(BotNavig);
    layout->addStretch(1);
    BotInserir = button(QStringLiteral("BotInserir"), QStringLiteral("&Inserir"), parent);
    BotCancelar = button(QStringLiteral("BotCancelar"), QStringLiteral("&Cancelar"), parent);
    BotDelete = button(QStringLiteral("BotDelete"), QStringLiteral("&Eliminar"), parent);
    BotPrint = button(QStringLiteral("BotPrint"), QStringLiteral("Im&primir"), parent);
    BitTerminar = button(QStringLiteral("BitTerminar"), QStringLiteral("&Terminar"), parent);
    for (kv::ui::TGlyphButton* b : {BotInserir, BotCancelar, BotDelete, BotPrint, BitTerminar})
        layout->addWidget(b);
    for (kv::ui::TGlyphButton* b : {BotInserir, BotCancelar, BotDelete, BotPrint})
        b->setVisible(false);
}

} // namespace kv::costing
