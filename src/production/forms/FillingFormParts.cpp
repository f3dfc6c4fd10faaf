#include "production/forms/FillingFormParts.h"

#include "platform/ui/Form.h"
#include "platform/ui/MessageService.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace kv::production {

OrderHeader::OrderHeader(QWidget* parent) : QWidget(parent)
{
    auto* header = new QGridLayout(this);
    header->setContentsMargins(0, 0, 0, 0);
    auto value = [&](const char* name, int row, const char* caption) {
        header->addWidget(new QLabel(QString::fromUtf8(caption)), row, 0);
        auto* l = new QLabel;
        l->setObjectName(QLatin1String(name));
        header->addWidget(l, row, 1);
        return l;
    };
    Label_OrdNro = value("Label_OrdNro", 0, "O.Fabrico Nº : ");
    Label_Tipo = new QLabel;
    Label_Tipo->setObjectName(QStringLiteral("Label_Tipo"));
    header->addWidget(Label_Tipo, 0, 2);
    Label_Artigo = value("Label_Artigo", 1, "Artigo : ");
    Label_Cliente = value("Label_Cliente", 2, "Cliente : ");
    header->setColumnStretch(3, 1);
}

void OrderHeader::showOrder(const SelectedOrder& order, const QHash<QString, QVariant>& row,
                            kv::db::Connection& invoicing)
{
    Label_OrdNro->setText(QString::number(order.orderNumber));
    Label_Tipo->setText(order.subQuote == 0 ? QStringLiteral("( Artigo Base )") : QStringLiteral("( Acessório )"));
    const QString article = row.value(QStringLiteral("ARTIGO")).toString();
    Label_Artigo->setText(article + QStringLiteral("  ") + OrderFilling::articleDesignation(invoicing, article));
    const int customer = row.value(QStringLiteral("CLINRO")).toInt();
    Label_Cliente->setText(QString::number(customer) + QStringLiteral("  ")
                           + OrderFilling::customerName(invoicing, customer));
}

void addFillingButtons(kv::ui::Form& form, std::function<void()> save)
{
    auto* buttons = new QHBoxLayout(form.buttonBar());
    buttons->addStretch();
    auto* gravar = new QPushButton(QStringLiteral("&Gravar"));
    gravar->setObjectName(QStringLiteral("BitBtn_Gravar"));
    gravar->setToolTip(QStringLiteral("Gravar"));
    auto* cancelar = new QPushButton(QStringLiteral("&Cancelar"));
    cancelar->setObjectName(QStringLiteral("BitBtn_Cancelar"));
    cancelar->setToolTip(QStringLiteral("Cancelar Alteração"));
    for (auto* b : {gravar, cancelar}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
    }
    QObject::connect(gravar, &QPushButton::clicked, &form, std::move(save));
    QObject::connect(cancelar, &QPushButton::clicked, &form, &QDialog::reject);
}

bool fillingMayOpen(kv::ui::Form& form, const SelectedOrder& order, bool quoteFound, bool rowFound)
{
    if (quoteFound && rowFound)
        return true;
    kv::ui::messages().beep();
    kv::ui::messages().error(quoteFound ? QStringLiteral("A Ordem de Fabrico %1 já não existe.").arg(order.orderNumber)
                                        : OrderFilling::quoteDeletedMessage(order.quoteNumber, order.subQuote));
    QTimer::singleShot(0, &form, &QDialog::reject);
    return false;
}

void showSaveRefusal(kv::ui::Form& form, const FillRefusal& refusal, QWidget* field)
{
    if (refusal.beep)
        kv::ui::messages().beep();
    kv::ui::messages().error(refusal.message);
    if (field)
        form.focusField(field);
}

} // namespace kv::production
