#include "quotes/core/WorksheetReferences.h"

#include "costing/core/ArticleLists.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/text/NumberText.h"

namespace kv::quotes {

namespace {

QString trimmed(const kv::db::QueryResult& result, const char* column)
{
    return result.value(0, QString::fromLatin1(column)).toString().trimmed();
}

double numberOf(const QVariant& value) { return value.isNull() ? 0.0 : value.toDouble(); }

} // namespace

WorksheetReferences::WorksheetReferences(kv::db::Connection& invoicing, kv::db::Connection& application)
    : m_invoicing(invoicing), m_application(application)
{
}

std::optional<CustomerFacts> WorksheetReferences::customer(qint64 code) const
{
    const auto r =
        m_invoicing.query(QStringLiteral("SELECT CODIGO, NOME, MORADA1, MORADA2, CODPOSTAL, CNDPGT, VENDEDOR "
                                         "FROM CLIENTES WHERE CODIGO = :CODIGO"),
                          {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    CustomerFacts c;
    c.code = static_cast<int>(code);
    c.name = trimmed(r, "NOME");
    c.address1 = trimmed(r, "MORADA1");
    c.address2 = trimmed(r, "MORADA2");
    c.postalCode = trimmed(r, "CODPOSTAL");
    c.paymentCondition = r.value(0, QStringLiteral("CNDPGT"));
    c.salesman = r.value(0, QStringLiteral("VENDEDOR"));
    return c;
}

std::optional<PostalPlace> WorksheetReferences::postalCode(const QString& code) const
{
    const auto r = m_invoicing.query(
        QStringLiteral("SELECT LOCALIDADE, REGIAO, PROVINCIA FROM CODPOSTAL WHERE CODPOSTAL = :CODIGO"),
        {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    return PostalPlace{trimmed(r, "LOCALIDADE"), trimmed(r, "REGIAO"), trimmed(r, "PROVINCIA")};
}

std::optional<QString> WorksheetReferences::paymentCondition(qint64 code) const
{
    const auto r = m_invoicing.query(
        QStringLiteral("SELECT NRDIAS, DESCRI, PRCDESC FROM CNDPGT WHERE CODIGO = :CODIGO"), {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    return kv::text::plain(numberOf(r.value(0, QStringLiteral("NRDIAS")))) + QLatin1Char(' ') + trimmed(r, "DESCRI")
           + QLatin1Char(' ') + kv::text::plain(numberOf(r.value(0, QStringLiteral("PRCDESC")))) + QLatin1Char('%');
}

std::optional<QString> WorksheetReferences::salesman(qint64 code) const
{
    const auto r =
        m_invoicing.query(QStringLiteral("SELECT NOME FROM VENDEDORES WHERE CODIGO = :CODIGO"), {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    return trimmed(r, "NOME");
}

std::optional<QString> WorksheetReferences::vatRate(qint64 code) const
{
    const auto r =
        m_invoicing.query(QStringLiteral("SELECT PRCIVA FROM IVA WHERE CODIGO = :CODIGO"), {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    return kv::text::plain(numberOf(r.value(0, QStringLiteral("PRCIVA")))) + QLatin1Char('%');
}

QString WorksheetReferences::productCondition(const kv::db::Connection& invoicing)
{
    using Condition = kv::costing::ArticleTypeCondition;
    const Condition product{Condition::Op::Equal, 1};
    const Condition unfinished{Condition::Op::Equal, 2};
    return QStringLiteral("(%1 OR %2)").arg(product.sql(invoicing.dialect()), unfinished.sql(invoicing.dialect()));
}

std::optional<ArticleFacts> WorksheetReferences::article(const QString& code, bool productsOnly) const
{
    QString sql = QStringLiteral("SELECT CODIGO, DESIGNACAO, CODIVA, UNVENDA, VOSREF, COMPRIM, LARGURA, ALTURA "
                                 "FROM ARTIGOSCLS WHERE CODIGO = :CODIGO");
    if (productsOnly)
        sql += QStringLiteral(" AND ") + productCondition(m_invoicing);
    const auto r = m_invoicing.query(sql, {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    ArticleFacts a;
    a.code = trimmed(r, "CODIGO");
    a.designation = trimmed(r, "DESIGNACAO");
    a.vatCode = r.value(0, QStringLiteral("CODIVA"));
    a.salesUnit = trimmed(r, "UNVENDA");
    a.customerReference = trimmed(r, "VOSREF");
    a.length = r.value(0, QStringLiteral("COMPRIM"));
    a.width = r.value(0, QStringLiteral("LARGURA"));
    a.height = r.value(0, QStringLiteral("ALTURA"));
    return a;
}

std::optional<QString> WorksheetReferences::board(qint64 code) const
{
    const auto r =
        m_application.query(QStringLiteral("SELECT DESIGNACAO FROM PAPEIS WHERE CODIGO = :CODIGO"), {{"CODIGO", code}});
    if (r.isEmpty())
        return std::nullopt;
    return trimmed(r, "DESIGNACAO");
}

QString WorksheetReferences::pictureFolder(const QString& year) const
{
    return m_invoicing.scalar(QStringLiteral("SELECT PATHFOTO FROM PARGER WHERE ANO = :ANO"), {{"ANO", year}})
        .toString()
        .trimmed();
}

std::unique_ptr<kv::db::Dataset>
WorksheetReferences::boardsByDesignation(std::shared_ptr<kv::db::Connection> application)
{
    auto list = std::make_unique<kv::db::Dataset>(QStringLiteral("PAPEIS"));
    list->setConnection(std::move(application));
    list->setMode(kv::db::DatasetMode::ReadOnly);
    list->setSql(QStringLiteral("SELECT CODIGO, DESIGNACAO, ARTIGO FROM PAPEIS ORDER BY DESIGNACAO, CODIGO"));
    return list;
}

} // namespace kv::quotes
