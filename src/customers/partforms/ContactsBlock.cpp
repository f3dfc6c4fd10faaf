#include "customers/partforms/ContactsBlock.h"

#include "platform/ui/FieldWidth.h"
#include "platform/ui/TMailit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QVBoxLayout>

namespace kv::customers {

ContactsBlock::ContactsBlock(DepartmentContacts contacts, QWidget* parent)
    : QTabWidget(parent), m_contacts(std::move(contacts))
{
    setObjectName(QStringLiteral("PageContactos"));
    for (const Department& department : m_contacts.departments()) {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("Tab") + department.name);
        auto* column = new QVBoxLayout(page);
        auto* title = new QLabel(department.caption, page);
        title->setObjectName(QStringLiteral("Panel") + department.name);
        title->setAlignment(Qt::AlignCenter);
        title->setFrameShape(QFrame::Panel);
        title->setFrameShadow(QFrame::Raised);
        column->addWidget(title);
        auto* fields = new QFormLayout;
        fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        column->addLayout(fields);

        Block block;
        const auto edit = [&](const char* field, const char* caption, int width) {
            auto* line = new QLineEdit(page);
            line->setObjectName(QStringLiteral("Edit_") + department.prefix + QLatin1String(field));
            kv::ui::setFieldWidth(line, width);
            fields->addRow(QString::fromUtf8(caption), line);
            return line;
        };
        block.contact = edit("Contacto", "Contacto : ", DepartmentContacts::ContactWidth);
        block.telephone = edit("Telefone", "Telefone  : ", DepartmentContacts::PhoneWidth);
        block.fax = edit("Telefax", "Telefax : ", DepartmentContacts::PhoneWidth);
        block.mobile = edit("Telemovel", "Telemóvel : ", DepartmentContacts::PhoneWidth);
        block.email = edit("EMail", "EMail : ", DepartmentContacts::EmailWidth);
        block.mail = new kv::ui::TMailit(page);
        block.mail->setObjectName(department.mailLabel);
        block.mail->SetColorEnter(Qt::red);
        block.mail->SetColorLeave(Qt::black);
        block.mail->SetMailCursor(true);
        block.mail->SetMailHint(QStringLiteral("Enviar Email"));
        fields->addRow(QString(), block.mail);
        column->addStretch();
        block.email->installEventFilter(this);
        m_blocks.append(block);
        addTab(page, QLatin1Char(' ') + department.caption + QLatin1Char(' '));
    }
}

void ContactsBlock::clear() { setBlocks({}); }

void ContactsBlock::setBlocks(const QList<ContactDetails>& blocks)
{
    for (qsizetype i = 0; i < m_blocks.size(); ++i) {
        const ContactDetails details = i < blocks.size() ? blocks[i] : ContactDetails{};
        const Block& block = m_blocks[i];
        block.contact->setText(details.contact);
        block.telephone->setText(details.telephone);
        block.fax->setText(details.fax);
        block.mobile->setText(details.mobile);
        block.email->setText(details.email);
        block.mail->SetMailTo(details.email);
    }
}

QList<ContactDetails> ContactsBlock::blocks() const
{
    QList<ContactDetails> result;
    for (const Block& block : m_blocks)
        result.append({block.contact->text(), block.telephone->text(), block.fax->text(), block.mobile->text(),
                       block.email->text()});
    return result;
}

bool ContactsBlock::eventFilter(QObject* watched, QEvent* event)
{
    // Another window or a popup taking the focus is not leaving the field.
    const auto* focus = event->type() == QEvent::FocusOut ? static_cast<QFocusEvent*>(event) : nullptr;
    if (focus && focus->reason() != Qt::ActiveWindowFocusReason && focus->reason() != Qt::PopupFocusReason) {
        for (qsizetype i = 0; i < m_blocks.size(); ++i) {
            if (m_blocks[i].email != watched)
                continue;
            m_blocks[i].mail->SetMailTo(m_blocks[i].email->text());
            if (i + 1 < m_blocks.size()) {
                // After the focus change settles, so the tab bar keeps it.
                QMetaObject::invokeMethod(
                    this,
                    [this, i] {
                        setCurrentIndex(static_cast<int>(i + 1));
                        tabBar()->setFocus();
                    },
                    Qt::QueuedConnection);
            } else {
                QMetaObject::invokeMethod(this, &ContactsBlock::lastDepartmentLeft, Qt::QueuedConnection);
            }
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

} // namespace kv::customers
