#include "customers/core/InvoicingLines.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Params.h"

#include <QDateTime>

namespace kv::customers {

namespace lineChecks {

QString invoice(const QString& typed)
{
    bool ok = false;
    const int value = typed.trimmed().toInt(&ok);
    return ok && value > 0 ? QString() : QStringLiteral("Digite um Valor superior a (1)");
}

QString period(const QString& typed)
{
    const QString value = typed.trimmed();
    return value.size() == 1 && QStringLiteral("MBTSA").contains(value) ? QString()
                                                                        : QStringLiteral("Digite (M);(B);(T);(S);(A)");
}

QString day(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return QStringLiteral("Digite Inválido");
    bool ok = false;
    const int value = typed.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= 28 ? QString() : QStringLiteral("Digite de 1 a 28");
}

QString amount(const QString& typed, bool hasArticle, bool price)
{
    const QString text = typed.trimmed();
    bool ok = true;
    const double value = text.isEmpty() ? 0.0 : QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    const QString word = price ? QStringLiteral("Preço Inválido") : QStringLiteral("Quantidade Inválida");
    if (!ok)
        return word;
    if (!hasArticle && value != 0.0)
        return word + QStringLiteral(", Preencha o Artigo");
    if (hasArticle && value == 0.0)
        return word;
    return {};
}

QString contract(const QDate& start, const QDate& end)
{
    return start.isValid() && end.isValid() && start < end
               ? QString()
               : QStringLiteral("Limite de Datas de Contracto Inválida !!!");
}

} // namespace lineChecks

namespace {

QVariant dateValue(const QDate& date) { return date.isValid() ? QVariant(QDateTime(date, QTime(0, 0))) : QVariant(); }

// A free-text line has an empty article, part of the line's key: never NULL.
QString articleKey(const QString& article)
{
    const QString key = article.left(16);
    return key.isNull() ? QStringLiteral("") : key;
}

kv::db::Params lineParams(const InvoicingLine& line)
{
    return {{QStringLiteral("CODIGO"), line.customer},
            {QStringLiteral("DETAIL"), line.invoice},
            {QStringLiteral("POSICAO"), line.position},
            {QStringLiteral("ARTIGO"), articleKey(line.article)},
            {QStringLiteral("DESIGN"), line.designation},
            {QStringLiteral("QUANTID"), line.quantity},
            {QStringLiteral("PRECO"), line.price},
            {QStringLiteral("PERIOD"), line.period},
            {QStringLiteral("DIA"), line.day},
            {QStringLiteral("DATULTFAC"), dateValue(line.lastInvoice)},
            {QStringLiteral("DATINICONTRACTO"), dateValue(line.contractStart)},
            {QStringLiteral("DATFIMCONTRACTO"), dateValue(line.contractEnd)}};
}

} // namespace

InvoiceSettings InvoicingLines::invoiceSettings(int customer, int invoice)
{
    InvoiceSettings settings;
    const kv::db::QueryResult rows =
        m_db->query(QStringLiteral("SELECT PERIOD, DIA, DATULTFAC, DATINICONTRACTO, DATFIMCONTRACTO FROM CLIFACAUTO "
                                   "WHERE CODIGO = :CODIGO AND DETAIL = :DETAIL ORDER BY POSICAO LIMIT 1"),
                    {{QStringLiteral("CODIGO"), customer}, {QStringLiteral("DETAIL"), invoice}});
    if (rows.isEmpty())
        return settings;
    settings.period = rows.value(0, QStringLiteral("PERIOD")).toString().trimmed();
    settings.day = rows.value(0, QStringLiteral("DIA")).toInt();
    settings.lastInvoice = rows.value(0, QStringLiteral("DATULTFAC")).toDate();
    settings.contractStart = rows.value(0, QStringLiteral("DATINICONTRACTO")).toDate();
    settings.contractEnd = rows.value(0, QStringLiteral("DATFIMCONTRACTO")).toDate();
    return settings;
}

std::optional<std::pair<QString, double>> InvoicingLines::article(const QString& code)
{
    const kv::db::QueryResult rows =
        m_db->query(QStringLiteral("SELECT DESIGNACAO, PRECO1 FROM ARTIGOSCLS WHERE CODIGO = :CODIGO"),
                    {{QStringLiteral("CODIGO"), code.left(16).trimmed()}});
    if (rows.isEmpty())
        return std::nullopt;
    return std::make_pair(rows.value(0, QStringLiteral("DESIGNACAO")).toString().trimmed(),
                          rows.value(0, QStringLiteral("PRECO1")).toDouble());
}

int InvoicingLines::insert(InvoicingLine line)
{
    static const QString Insert = QStringLiteral(
        "INSERT INTO CLIFACAUTO (CODIGO, DETAIL, POSICAO, ARTIGO, DESIGN, QUANTID, PRECO, PERIOD, DIA, DATULTFAC, "
        "DATINICONTRACTO, DATFIMCONTRACTO) VALUES (:CODIGO, :DETAIL, :POSICAO, :ARTIGO, :DESIGN, :QUANTID, :PRECO, "
        ":PERIOD, :DIA, :DATULTFAC, :DATINICONTRACTO, :DATFIMCONTRACTO)");
    kv::db::Transaction transaction(*m_db);
    line.position =
        m_db->scalar(QStringLiteral("SELECT MAX(POSICAO) FROM CLIFACAUTO WHERE CODIGO = :CODIGO AND DETAIL = :DETAIL"),
                     {{QStringLiteral("CODIGO"), line.customer}, {QStringLiteral("DETAIL"), line.invoice}})
            .toInt()
        + 1;
    m_db->exec(Insert, lineParams(line));
    transaction.commit();
    return line.position;
}

void InvoicingLines::update(const InvoicingLine& line, const QString& oldArticle)
{
    kv::db::Params params = lineParams(line);
    params.set(QStringLiteral("OLD_ARTIGO"), articleKey(oldArticle));
    kv::db::Transaction transaction(*m_db);
    const long long changed = m_db->exec(
        QStringLiteral("UPDATE CLIFACAUTO SET ARTIGO = :ARTIGO, DESIGN = :DESIGN, QUANTID = :QUANTID, PRECO = :PRECO, "
                       "PERIOD = :PERIOD, DIA = :DIA, DATULTFAC = :DATULTFAC, DATINICONTRACTO = :DATINICONTRACTO, "
                       "DATFIMCONTRACTO = :DATFIMCONTRACTO "
                       "WHERE CODIGO = :CODIGO AND DETAIL = :DETAIL AND POSICAO = :POSICAO AND ARTIGO = :OLD_ARTIGO"),
        params);
    if (changed != 1)
        throw kv::db::DbError(kv::db::DbError::Kind::NotFound, QStringLiteral("O registo já não existe ..."));
    transaction.commit();
}

void InvoicingLines::remove(int customer, int invoice, int position, const QString& article)
{
    kv::db::Transaction transaction(*m_db);
    m_db->exec(
        QStringLiteral("DELETE FROM CLIFACAUTO WHERE CODIGO = :CODIGO AND DETAIL = :DETAIL AND POSICAO = :POSICAO "
                       "AND ARTIGO = :ARTIGO"),
        {{QStringLiteral("CODIGO"), customer},
         {QStringLiteral("DETAIL"), invoice},
         {QStringLiteral("POSICAO"), position},
         {QStringLiteral("ARTIGO"), articleKey(article)}});
    transaction.commit();
}

} // namespace kv::customers
