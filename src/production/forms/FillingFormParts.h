#pragma once

#include "production/core/OrderFilling.h"

#include <QWidget>
#include <functional>

class QLabel;

namespace kv::db {
class Connection;
}
namespace kv::ui {
class Form;
}

namespace kv::production {

// The heading both filling forms show: order number, base item or
// accessory, article and customer with their names.
class OrderHeader : public QWidget {
    Q_OBJECT
public:
    explicit OrderHeader(QWidget* parent = nullptr);
    void showOrder(const SelectedOrder& order, const QHash<QString, QVariant>& row, kv::db::Connection& invoicing);

private:
    QLabel* Label_OrdNro = nullptr;
    QLabel* Label_Tipo = nullptr;
    QLabel* Label_Artigo = nullptr;
    QLabel* Label_Cliente = nullptr;
};

// "&Gravar" and "&Cancelar" in the form's button bar. They take no focus:
// the save checks every field itself, and a click must not run the rule of
// the field left first.
void addFillingButtons(kv::ui::Form& form, std::function<void()> save);

// At opening: the quote row and the order row must both be there; else the
// reason is said and the form closes. True when the form may go on.
bool fillingMayOpen(kv::ui::Form& form, const SelectedOrder& order, bool quoteFound, bool rowFound);

// A refused save: its message, and the focus on its field when there is one.
void showSaveRefusal(kv::ui::Form& form, const FillRefusal& refusal, QWidget* field);

} // namespace kv::production
