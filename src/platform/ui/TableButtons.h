#pragma once

class QHBoxLayout;
class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class DbNavigator;
class TGlyphButton;

// The bar under the grid of a table form: the navigator over the
// table and the buttons Inserir, Cancelar, Eliminar, Imprimir and Terminar,
// the first four hidden until the user's rights show them.
struct TableButtons {
    TableButtons(QWidget* parent, kv::db::Dataset* dataset);

    QHBoxLayout* layout = nullptr;
    DbNavigator* BotNavig = nullptr;
    TGlyphButton* BotInserir = nullptr;
    TGlyphButton* BotCancelar = nullptr;
    TGlyphButton* BotDelete = nullptr;
    TGlyphButton* BotPrint = nullptr;
    TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::ui
