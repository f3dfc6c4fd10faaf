#include "quotes/core/QuoteLineLists.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

namespace kv::quotes {

namespace {

std::unique_ptr<kv::db::Dataset> list(const char* name, const std::shared_ptr<kv::db::Connection>& db,
                                      const QString& sql)
{
    auto dataset = std::make_unique<kv::db::Dataset>(QString::fromLatin1(name));
    dataset->setConnection(db);
    dataset->setMode(kv::db::DatasetMode::ReadOnly);
    dataset->setSql(sql);
    return dataset;
}

} // namespace

QuoteLineLists::QuoteLineLists(std::shared_ptr<kv::db::Connection> application, QString user)
    : m_db(std::move(application)),
      m_lines(list("ORCDET", m_db,
                   QStringLiteral("SELECT * FROM ORCDET WHERE CODIGO = :WOrcNro AND SUBCODIGO = :WSubOrc "
                                  "ORDER BY CODIGO, SUBCODIGO, DETAIL"))),
      m_chosen(list("PROCMASTEMP", m_db,
                    QStringLiteral("SELECT CODIGO, DESIGNACAO FROM PROCMASTEMP WHERE UTIL = :WUtil ORDER BY CODIGO"))),
      m_procedures(list("PROCMAS", m_db, QStringLiteral("SELECT CODIGO, DESIGNACAO FROM PROCMAS ORDER BY CODIGO"))),
      m_types(list("TIPOTAB", m_db, QStringLiteral("SELECT CODIGO, DESIGNACAO FROM TIPOTAB ORDER BY CODIGO")))
{
    m_chosen->setParam(QStringLiteral("WUtil"), user);
}

QuoteLineLists::~QuoteLineLists() = default;

void QuoteLineLists::showLines(int quoteNumber, int subQuote, int detail)
{
    m_lines->close();
    m_lines->setParam(QStringLiteral("WOrcNro"), quoteNumber);
    m_lines->setParam(QStringLiteral("WSubOrc"), subQuote);
    m_lines->open();
    if (detail != 0)
        m_lines->locate({QStringLiteral("DETAIL")}, {detail});
}

void QuoteLineLists::reopenChosen()
{
    m_chosen->close();
    m_chosen->open();
}

std::optional<QString> QuoteLineLists::tableTypeName(int type)
{
    const auto result = m_db->query(QStringLiteral("SELECT DESIGNACAO FROM TIPOTAB WHERE CODIGO = :CODIGO"),
                                    {{QStringLiteral("CODIGO"), type}});
    if (result.rows.empty())
        return std::nullopt;
    return result.rows.front().front().toString().trimmed();
}

} // namespace kv::quotes
