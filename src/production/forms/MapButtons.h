#pragma once

#include <functional>

class QCheckBox;

namespace kv::ui {
class Form;
class TGlyphButton;
} // namespace kv::ui

namespace kv::production {

// The print controls both stock maps have: the check box "Seleccionar a
// Impressora" (ticked; the form places it) and "&Preview", "&Imprimir" and
// "&Terminar" in the form's button bar.
struct MapButtons {
    QCheckBox* printer = nullptr;
    kv::ui::TGlyphButton* preview = nullptr;
    kv::ui::TGlyphButton* print = nullptr;
};

MapButtons addMapButtons(kv::ui::Form& form, const std::function<void()>& preview, const std::function<void()>& print);

} // namespace kv::production
