#pragma once

class QHBoxLayout;
class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::ui {
class DbNavigator;
class TGlyphButton;
} // namespace kv::ui

namespace kv::costing {

// The bar under the grid of a costing table form: the navigator over the
// table and the buttons Inserir, Cancelar, Eliminar, Imprimir and Terminar,
// the first four hidden until the user's rights show them.
struct TableButtons {
    TableButtons(QWidget* parent, kv::db::Dataset* dataset);

    QHBoxLayout* layout = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    kv::ui::TGlyphButton* BotInserir = nullptr;
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BotDelete = nullptr;
    kv::ui::TGlyphButton* BotPrint = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::costing
