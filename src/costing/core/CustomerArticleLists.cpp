#include "costing/core/CustomerArticleLists.h"

namespace kv::costing {

namespace {

ArticleListSpec listOf(ArticleTypeCondition condition)
{
    ArticleListSpec spec;
    spec.condition = condition;
    return spec;
}

std::unique_ptr<kv::db::Dataset> customerList(const QString& name, std::shared_ptr<kv::db::Connection> invoicing,
                                              const QString& order)
{
    auto list = std::make_unique<kv::db::Dataset>(name);
    list->setConnection(std::move(invoicing));
    list->setMode(kv::db::DatasetMode::ReadOnly);
    list->setSql(QStringLiteral("SELECT CODIGO, NOME FROM CLIENTES ORDER BY ") + order);
    return list;
}

} // namespace

CustomerArticleLists::CustomerArticleLists(std::shared_ptr<kv::db::Connection> invoicing)
    : m_products(invoicing, listOf({ArticleTypeCondition::Op::Equal, 1})),
      m_materials(invoicing, listOf({ArticleTypeCondition::Op::Above, 5})),
      m_customers(customerList(QStringLiteral("CLIENTES"), invoicing, QStringLiteral("CODIGO"))),
      m_customersByName(customerList(QStringLiteral("CLIENTESALFA"), invoicing, QStringLiteral("NOME")))
{
}

CustomerArticleLists::~CustomerArticleLists() = default;

void CustomerArticleLists::open()
{
    m_products.open();
    m_materials.open();
    m_customers->open();
    m_customersByName->open();
}

void CustomerArticleLists::close()
{
    m_products.close();
    m_materials.close();
    m_customers->close();
    m_customersByName->close();
}

bool CustomerArticleLists::locateCustomer(qint64 number)
{
    return m_customers->isOpen() && m_customers->locate(QStringLiteral("CODIGO"), number);
}

bool customerHasArticle(kv::db::Dataset& table, qint64 customer, const QString& article)
{
    const int customerColumn = table.fieldIndex(QStringLiteral("CLIENTE"));
    const int articleColumn = table.fieldIndex(QStringLiteral("ARTIGO"));
    const bool newRow = table.state() == kv::db::DatasetState::Insert;
    for (int row = 0; row < table.recordCount(); ++row) {
        if (newRow && row == table.currentRow())
            continue;
        if (table.valueAt(row, customerColumn).toLongLong() == customer
            && table.valueAt(row, articleColumn).toString() == article)
            return true;
    }
    return false;
}

} // namespace kv::costing
