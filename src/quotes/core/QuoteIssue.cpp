#include "quotes/core/QuoteIssue.h"

#include "platform/db/Connection.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QHash>
#include <QTime>
#include <map>

namespace kv::quotes {

namespace {

const QStringList letterFields{
    "VIA",        "CODIGO",  "DATEMI",     "VNDNRO",     "NOME",       "MORADA1",   "MORADA2", "LOCALIDADE",
    "NOSREF",     "MEDIDAS", "VOSREF",     "DESIGN1",    "DESIGN2",    "DESIGN3",   "DESIGN4", "DESIGN5",
    "DESIGN6",    "OBSERV1", "OBSERV2",    "OBSERV3",    "QTDHEAD",    "QTD1",      "QTD2",    "QTD3",
    "PRECO1",     "PRECO2",  "PRECO3",     "CNDPGT1",    "CNDPGT2",    "CNDPGT3",   "CNDPGT4", "CNDPGT5",
    "TRANSPORTE", "PRZENT",  "CONDVENDA1", "CONDVENDA2", "CONDVENDA3", "CONDVENDA4"};

const char* summaryColumns = "CODIGO, DATEMI, VNDNRO, NOME, MORADA1, MORADA2, CODPOSTAL, NOSREF, VOSREF, COMPRIM, "
                             "LARGURA, ALTURA, DESIGN1, DESIGN2, DESIGN3, DESIGN4, DESIGN5, DESIGN6, OBSERV1, OBSERV2, "
                             "OBSERV3, QTDORC1, QTDORC2, QTDORC3, PRECOCLI1, PRECOCLI2, PRECOCLI3, UNDVND, UNIDADE";

QDateTime dayStart(const QDate& day) { return QDateTime(day, QTime(0, 0)); }

// The quantity of a letter: layout "1" formats it (whole units for "U",
// else three decimals) and prints nothing for 0; the others print the
// stored value as it stands, a zero too.
QString quantityText(double quantity, const QString& unit, LetterLayout layout)
{
    if (layout != LetterLayout::Quality)
        return kv::text::plain(quantity);
    if (quantity == 0)
        return {};
    return kv::text::number(quantity, unit == QLatin1String("U") ? 0 : 3);
}

} // namespace

std::optional<LetterLayout> letterLayout(const QString& tipoOrcam)
{
    if (tipoOrcam == QLatin1String("1"))
        return LetterLayout::Quality;
    if (tipoOrcam == QLatin1String("M"))
        return LetterLayout::Micro;
    if (tipoOrcam == QLatin1String("T"))
        return LetterLayout::Carton;
    return std::nullopt;
}

const kv::db::PrintQueueTable& QuoteIssue::queueTable()
{
    static const kv::db::PrintQueueTable table{QStringLiteral("ORCAMIMPR")};
    return table;
}

QuoteIssue::QuoteIssue(kv::db::Connection& application, QString user) : m_db(application), m_user(std::move(user)) {}

QString QuoteIssue::selectionSql(const IssueSelection& selection)
{
    QString sql = QStringLiteral("SELECT CODIGO, DATEMI, NOME, NOSREF, PRINTE FROM ORCMAS WHERE SUBCODIGO = 99 "
                                 "AND CODIGO >= :WOrcNro1 AND CODIGO <= :WOrcNro2 "
                                 "AND DATEMI >= :WData1 AND DATEMI < :WData2");
    if (selection.customer != 0)
        sql += QStringLiteral(" AND CLINRO = :WCliNro");
    if (!selection.reprint)
        sql += QStringLiteral(" AND PRINTE = 'N'");
    return sql + QStringLiteral(" ORDER BY CODIGO");
}

kv::db::Params QuoteIssue::selectionParams(const IssueSelection& selection)
{
    // Issue dates are whole days: the to-date's day is included.
    kv::db::Params params{{QStringLiteral("WOrcNro1"), selection.fromNumber},
                          {QStringLiteral("WOrcNro2"), selection.toNumber},
                          {QStringLiteral("WData1"), dayStart(selection.fromDate)},
                          {QStringLiteral("WData2"), dayStart(selection.toDate.addDays(1))}};
    if (selection.customer != 0)
        params.set(QStringLiteral("WCliNro"), selection.customer);
    return params;
}

std::vector<qint64> QuoteIssue::selectedQuotes(const IssueSelection& selection) const
{
    const kv::db::QueryResult result = m_db.query(selectionSql(selection), selectionParams(selection));
    std::vector<qint64> quotes;
    quotes.reserve(result.rows.size());
    for (const auto& row : result.rows)
        quotes.push_back(row[0].toLongLong());
    return quotes;
}

std::vector<qint64> QuoteIssue::queue(const IssueSelection& selection, const QStringList& copies,
                                      const std::function<void(int, int, qint64)>& progress)
{
    const std::vector<qint64> quotes = selectedQuotes(selection);
    kv::db::PrintQueue queue(m_db, queueTable(), m_user);
    queue.fill(
        quotes, copies,
        [](kv::db::Connection& db, qint64 quote) {
            db.exec(QStringLiteral("UPDATE ORCMAS SET PRINTE = 'S' WHERE CODIGO = :CODIGO AND SUBCODIGO = 99"),
                    {{QStringLiteral("CODIGO"), quote}});
        },
        progress);
    return quotes;
}

void QuoteIssue::emptyQueue() { kv::db::PrintQueue(m_db, queueTable(), m_user).empty(); }

std::optional<LetterTexts> QuoteIssue::readTexts(kv::db::Connection& application, int priceDecimals)
{
    const kv::db::QueryResult row = application.query(
        QStringLiteral("SELECT CNDPGT1, CNDPGT2, CNDPGT3, CNDPGT4, CNDPGT5, TRANSPORTE, PRZENT, OBSERV1, OBSERV2, "
                       "OBSERV3, OBSERV4 FROM ORCPARGER WHERE CODIGO = 1"));
    if (row.isEmpty())
        return std::nullopt;
    LetterTexts texts;
    for (int i = 1; i <= 5; ++i)
        texts.paymentConditions << row.value(0, QStringLiteral("CNDPGT%1").arg(i)).toString();
    texts.transport = row.value(0, QStringLiteral("TRANSPORTE")).toString();
    texts.deliveryTerm = row.value(0, QStringLiteral("PRZENT")).toString();
    for (int i = 1; i <= 4; ++i)
        texts.saleConditions << row.value(0, QStringLiteral("OBSERV%1").arg(i)).toString();
    texts.priceDecimals = priceDecimals;
    return texts;
}

std::optional<QStringList> QuoteIssue::copyNames(kv::db::Connection& application)
{
    const kv::db::QueryResult row = application.query(
        QStringLiteral("SELECT ORCVIA1, ORCVIA2, ORCVIA3, ORCVIA4, ORCVIA5, ORCVIA6, ORCVIA7, ORCVIA8 FROM ORCPARGER "
                       "WHERE CODIGO = 1"));
    if (row.isEmpty())
        return std::nullopt;
    QStringList names;
    for (const QVariant& name : row.rows.front())
        names << name.toString();
    return names;
}

QString QuoteIssue::customerName(kv::db::Connection& invoicing, qint64 customer)
{
    return invoicing
        .scalar(QStringLiteral("SELECT NOME FROM CLIENTES WHERE CODIGO = :C"), {{QStringLiteral("C"), customer}})
        .toString();
}

QString QuoteIssue::customersByNameSql() { return QStringLiteral("SELECT CODIGO, NOME FROM CLIENTES ORDER BY NOME"); }

LetterPages QuoteIssue::pages(const IssueSelection& selection, const QStringList& copies, const LetterTexts& texts,
                              LetterLayout layout, kv::db::Connection& invoicing) const
{
    const kv::db::PrintQueue queue(m_db, queueTable(), m_user);
    const std::vector<kv::db::PrintQueueRow> queued = queue.rows(selection.fromNumber, selection.toNumber, copies);

    // The summary rows of the queued quotes in one read, by number.
    const kv::db::QueryResult summaries = m_db.query(
        QStringLiteral("SELECT %1 FROM ORCMAS WHERE SUBCODIGO = 99 AND CODIGO IN (SELECT ORCNRO FROM ORCAMIMPR "
                       "WHERE UTIL = :WUtil AND ORCNRO >= :WOrcNro1 AND ORCNRO <= :WOrcNro2)")
            .arg(QLatin1String(summaryColumns)),
        {{QStringLiteral("WUtil"), m_user},
         {QStringLiteral("WOrcNro1"), selection.fromNumber},
         {QStringLiteral("WOrcNro2"), selection.toNumber}});
    std::map<qint64, std::size_t> byNumber;
    for (std::size_t i = 0; i < summaries.rows.size(); ++i)
        byNumber[summaries.value(i, QStringLiteral("CODIGO")).toLongLong()] = i;

    // Each postal code read once, by key.
    QHash<QString, QString> localities;
    auto locality = [&](const QString& code) {
        if (code.trimmed().isEmpty())
            return QString();
        auto found = localities.constFind(code);
        if (found != localities.constEnd())
            return *found;
        const QVariant name = invoicing.scalar(QStringLiteral("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :C"),
                                               {{QStringLiteral("C"), code}});
        // A code missing from the table blanks the locality line only.
        const QString line = name.isValid() ? code + QLatin1Char(' ') + name.toString() : QString();
        localities.insert(code, line);
        return line;
    };

    LetterPages pages;
    pages.fields = letterFields;
    for (const kv::db::PrintQueueRow& entry : queued) {
        const auto found = byNumber.find(entry.document);
        if (entry.document <= 0 || found == byNumber.end())
            continue;
        const std::size_t r = found->second;
        auto v = [&](const char* column) { return summaries.value(r, QLatin1String(column)); };
        QVariantList row;
        row << entry.copy << v("CODIGO") << kv::text::date(v("DATEMI").toDate()) << v("VNDNRO") << v("NOME")
            << v("MORADA1") << v("MORADA2") << locality(v("CODPOSTAL").toString()) << v("NOSREF")
            << QStringLiteral("%1 x %2 x %3")
                   .arg(kv::text::plain(v("COMPRIM").toDouble()), kv::text::plain(v("LARGURA").toDouble()),
                        kv::text::plain(v("ALTURA").toDouble()))
            << v("VOSREF");
        for (int i = 1; i <= 6; ++i)
            row << summaries.value(r, QStringLiteral("DESIGN%1").arg(i));
        for (int i = 1; i <= 3; ++i)
            row << summaries.value(r, QStringLiteral("OBSERV%1").arg(i));
        row << QStringLiteral("Quantidades (%1)").arg(v("UNDVND").toString());
        const QString unit = v("UNIDADE").toString();
        QVariantList prices;
        for (int i = 1; i <= 3; ++i) {
            const double quantity = summaries.value(r, QStringLiteral("QTDORC%1").arg(i)).toDouble();
            row << quantityText(quantity, unit, layout);
            prices << (quantity == 0
                           ? QString()
                           : kv::text::money(summaries.value(r, QStringLiteral("PRECOCLI%1").arg(i)).toDouble(),
                                             texts.priceDecimals));
        }
        row << prices;
        for (int i = 0; i < 5; ++i)
            row << texts.paymentConditions.value(i);
        row << texts.transport << texts.deliveryTerm;
        for (int i = 0; i < 4; ++i)
            row << texts.saleConditions.value(i);
        pages.rows.push_back(std::move(row));
    }
    return pages;
}

} // namespace kv::quotes
