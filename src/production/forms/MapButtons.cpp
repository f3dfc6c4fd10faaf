#include "production/forms/MapButtons.h"

#include "platform/ui/Form.h"
#include "platform/ui/TGlyphButton.h"

#include <QCheckBox>
#include <QHBoxLayout>

namespace kv::production {

MapButtons addMapButtons(kv::ui::Form& form, const std::function<void()>& preview, const std::function<void()>& print)
{
    MapButtons made;
    made.printer = new QCheckBox(QStringLiteral("Seleccionar a Impressora"));
    made.printer->setObjectName(QStringLiteral("CheckImpressora"));
    made.printer->setChecked(true);
    auto* buttons = new QHBoxLayout(form.buttonBar());
    const auto button = [&](const QString& caption, const QString& name, const std::function<void()>& handler) {
        auto* b = new kv::ui::TGlyphButton(caption);
        b->setObjectName(name);
        QObject::connect(b, &kv::ui::TGlyphButton::clicked, &form, handler);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch(1);
    made.preview = button(QStringLiteral("&Preview"), QStringLiteral("BitPreview"), preview);
    made.print = button(QStringLiteral("&Imprimir"), QStringLiteral("BitPrint"), print);
    button(QStringLiteral("&Terminar"), QStringLiteral("BitTerminar"), [&form] { form.accept(); });
    return made;
}

} // namespace kv::production
