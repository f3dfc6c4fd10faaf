#include "customers/forms/TORCF032BUSCA.h"

#include "customers/core/CustomerFile.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kv::customers {

TORCF032BUSCA::TORCF032BUSCA(kv::db::Dataset& customers, const CustomerFile& file, QWidget* parent)
    : Form(parent), m_customers(customers), m_file(file)
{
    setObjectName(QStringLiteral("ORCF032BUSCA"));
    setWindowTitle(QStringLiteral("Localizar"));
    auto* grid = new QGridLayout(body());
    auto* label = new QLabel(QStringLiteral("Cliente :"));
    m_pattern = new QLineEdit(QStringLiteral("%"));
    m_pattern->setObjectName(QStringLiteral("Edit_NomeCli"));
    kv::ui::setFieldWidth(m_pattern, 40);
    setCaptionLabel(m_pattern, label);
    auto* select = new kv::ui::TGlyphButton(QStringLiteral("Localizar"));
    select->setObjectName(QStringLiteral("BitSelect"));
    select->SetHint(QStringLiteral("Localizar"));
    connect(select, &kv::ui::TGlyphButton::clicked, this, [this] { search(); });
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_pattern, 0, 1, Qt::AlignLeft);
    grid->addWidget(select, 0, 2);
    m_grid = new kv::ui::DbGrid;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setDataset(&m_customers,
                       {kv::ui::GridColumn{QStringLiteral("NOME"), QStringLiteral("NOME"), 40, {}, false, {}},
                        kv::ui::GridColumn{QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 10, {}, false, {}}});
    grid->addWidget(m_grid, 1, 0, 1, 4);
    auto* navigator = new kv::ui::DbNavigator;
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    navigator->setDataset(&m_customers);
    grid->addWidget(navigator, 2, 0, 1, 4, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
}

void TORCF032BUSCA::FormActivate()
{
    m_result = 0;
    EnableEvents();
}

void TORCF032BUSCA::search()
{
    if (m_pattern->text().isEmpty())
        m_pattern->setText(QStringLiteral("%"));
    try {
        m_customers.close();
        m_customers.setSql(m_file.nameSearchSql());
        m_customers.setParam(QStringLiteral("EDIT_NOMECLI.TEXT"), m_pattern->text());
        m_customers.open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032BUSCA::FormClose()
{
    m_result = m_customers.isOpen() && !m_customers.isEmpty() ? m_customers.value(QStringLiteral("CODIGO")).toInt() : 0;
}

} // namespace kv::customers
