#include "quotes/core/QuoteHeader.h"

#include "quotes/core/QuoteRepository.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/text/Fixed4.h"

#include <QSet>
#include <QTime>

namespace kv::quotes {

namespace {

const int kSummary = 99;

QString approvedRefusal(int quoteNumber)
{
    return QStringLiteral("Orçamento já foi aprovado !!Não pode alterar! ") + QString::number(quoteNumber);
}

QString incomplete() { return QStringLiteral("ERRO FATAL !!! Orçamento Incompleto !!!"); }

// The header a sub-quote 1-9 shares with its summary row.
const QStringList& sharedHeader()
{
    static const QStringList columns = [] {
        QStringList c{"CLINRO", "NOME",   "MORADA1", "MORADA2", "CODPOSTAL", "CNDPGT",  "VNDNRO",
                      "NOSREF", "CODIVA", "UNDVND",  "VOSREF",  "COMPRIM",   "LARGURA", "ALTURA"};
        for (int i = 1; i <= 6; ++i)
            c << QStringLiteral("DESIGN%1").arg(i);
        for (int i = 1; i <= 3; ++i)
            c << QStringLiteral("OBSERV%1").arg(i);
        for (int n = 1; n <= 3; ++n)
            c << quantityColumn("PRCCOM", n);
        c << QStringLiteral("UNIDADE");
        return c;
    }();
    return columns;
}

void copyColumns(QuoteRow& to, const QuoteRow& from, const QStringList& columns)
{
    for (const QString& c : columns)
        to.set(c, from.value(c));
}

// Columns a copied quote does not take from its base: its own approval,
// order, margins and sheet counts come later.
const QSet<QString>& notCopied()
{
    static const QSet<QString> columns = [] {
        QSet<QString> c{"CODIGO",     "ORCBASE",    "DATEMI",      "MANUAL_AUTO", "DATADJUD", "QTDADJUD",
                        "PRECOADJUD", "VALORADJUD", "PLANOSAPROV", "PRINTE",      "ANO",      "SEMANA",
                        "ENCNRO",     "APROVADO",   "MARGEMVALOR", "MARGEMPRC"};
        for (int n = 1; n <= 3; ++n)
            for (const char* p : {"NPLANOS", "MARGEMPRC", "MARGEMLIQ"})
                c << quantityColumn(p, n);
        return c;
    }();
    return columns;
}

// Amounts that are summed later pass through the 4-decimal fixed point.
bool isSummedAmount(const QString& column)
{
    static const QStringList prefixes{"VALORCLI", "VALMP", "VALMO",  "VALPS", "VALCM",
                                      "VALEM",    "VALTR", "VALCOM", "VALSUB"};
    for (const QString& p : prefixes)
        if (column.startsWith(p))
            return true;
    return false;
}

QuoteRow copiedRow(const QuoteRow& base, int quoteNumber, const QDate& workingDate)
{
    QuoteRow row;
    for (const RecordColumn& c : quoteRowLayout().columns()) {
        if (notCopied().contains(c.name))
            continue;
        QVariant v = base.value(c.name);
        if (!v.isNull() && isSummedAmount(c.name))
            v = kv::text::Fixed4::fromDouble(v.toDouble()).toDouble();
        row.set(c.name, v);
    }
    row.set(QStringLiteral("CODIGO"), quoteNumber);
    row.set(QStringLiteral("DATEMI"), QDateTime(workingDate, QTime(0, 0)));
    row.set(QStringLiteral("QTDADJUD"), 0.0);
    row.set(QStringLiteral("PRECOADJUD"), 0.0);
    row.set(QStringLiteral("PRINTE"), QStringLiteral("N"));
    row.set(QStringLiteral("APROVADO"), QStringLiteral("N"));
    for (const char* c : {"PLNCOMPRIM2", "PLNLARGURA2"})
        if (row.isNull(QString::fromLatin1(c)))
            row.set(QString::fromLatin1(c), 0.0);
    return row;
}

// The columns of a cost line a copy takes; the planned times are the
// production's, not the quote's.
const QStringList& copiedLineColumns()
{
    static const QStringList columns{"CODIGO",    "SUBCODIGO", "DETAIL",   "TIPOTABELA", "CODTAB",  "DESIGN",
                                     "TIPOCUSTO", "PRECO",     "VALQTD1",  "VALQTD2",    "VALQTD3", "NROPASSAGENS",
                                     "PRDHOR",    "ACERTO",    "PERC",     "CONSUM1",    "CONSUM2", "CONSUM3",
                                     "QUANTID",   "CODPRDHOR", "CODACERTO"};
    return columns;
}

void copyLines(kv::db::Connection& db, int baseQuote, int quoteNumber,
               const std::function<void(const QString&)>& status)
{
    const QStringList& columns = copiedLineColumns();
    QStringList params;
    for (const QString& c : columns)
        params << QLatin1Char(':') + c;
    const QString insert = QStringLiteral("INSERT INTO ORCDET (%1) VALUES (%2)")
                               .arg(columns.join(QLatin1Char(',')), params.join(QLatin1Char(',')));
    const auto lines = db.query(QStringLiteral("SELECT %1 FROM ORCDET WHERE CODIGO = :WOrcBase "
                                               "ORDER BY CODIGO, SUBCODIGO, DETAIL")
                                    .arg(columns.join(QLatin1Char(','))),
                                {{"WOrcBase", baseQuote}});
    for (const auto& values : lines.rows) {
        kv::db::Params p;
        for (int i = 0; i < columns.size(); ++i)
            p.set(columns[i], values[static_cast<std::size_t>(i)]);
        p.set(QStringLiteral("CODIGO"), quoteNumber);
        if (status)
            status(QStringLiteral("DETAIL - Orçamento nº : %1 %2 %3")
                       .arg(quoteNumber)
                       .arg(values[1].toLongLong())
                       .arg(values[5].toString()));
        db.exec(insert, p);
    }
}

} // namespace

QuoteHeader::QuoteHeader(kv::db::Connection& application, notify::MessageSink& messages)
    : m_db(application), m_messages(messages)
{
}

std::optional<int> QuoteHeader::series(const QString& text)
{
    if (text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('5'))
        return text[0].digitValue();
    return std::nullopt;
}

std::optional<int> QuoteHeader::wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool QuoteHeader::isApproved(const QuoteRow& row)
{
    return row.text(QStringLiteral("APROVADO")).trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

std::optional<int> QuoteHeader::proposedNumber(int series)
{
    QuoteRepository repo(m_db);
    const auto counter = repo.seriesCounter(series);
    if (!counter)
        return std::nullopt;
    return static_cast<int>(*counter + 1);
}

void QuoteHeader::applyNewRowDefaults(QuoteRow& row)
{
    row.set(QStringLiteral("UNDPLANO"), 1);
    row.set(QStringLiteral("RELEVO"), QStringLiteral("N"));
    row.set(QStringLiteral("ACABNORMAL"), QStringLiteral("S"));
    for (const char* c : {"PRDHORACV", "PRDHORAIMP", "PRDHORACOL", "PRDHORAC_COL", "ACERTOCV", "ACERTOIMP", "ACERTOCOL",
                          "ACERTOC_COL", "C_COLTIPO"})
        row.set(QString::fromLatin1(c), 1);
    for (int n = 1; n <= 3; ++n)
        row.set(quantityColumn("VALORORC", n), 0.0);
    row.set(QStringLiteral("MANUAL_AUTO"), QStringLiteral("M"));
    // The second sheet format is optional; stored as 0, never null.
    row.set(QStringLiteral("PLNCOMPRIM2"), 0.0);
    row.set(QStringLiteral("PLNLARGURA2"), 0.0);
}

void QuoteHeader::refuse(SubQuoteOpening& opening, const QString& text, HeaderFocus focus)
{
    opening.kind = SubQuoteOpening::Kind::Refused;
    opening.focus = focus;
    m_messages.fail(text);
}

SubQuoteOpening QuoteHeader::openSubQuote(int quoteNumber, int subQuote, const QDate& workingDate, bool mayInsert)
{
    SubQuoteOpening opening;
    if (subQuote < 0 || subQuote > 9) {
        refuse(opening, QStringLiteral("Tipo de Orçamento Inválido"), HeaderFocus::Stay);
        return opening;
    }
    if (!mayInsert) {
        refuse(opening, QStringLiteral("Não tem privilégios para inserir Orçamentos"), HeaderFocus::Number);
        return opening;
    }
    QuoteRepository repo(m_db);
    if (subQuote > 0 && !repo.rowExists(quoteNumber, 0)) {
        refuse(opening, QStringLiteral("Orçamento da Caixa Inexistente !!!"), HeaderFocus::Stay);
        return opening;
    }
    const auto stored = repo.row(quoteNumber, subQuote);
    // Of the summary row only its approval and the header a sub-quote takes again.
    static const QStringList summaryColumns = QStringList(sharedHeader()) << QStringLiteral("APROVADO");
    const auto summary = repo.row(quoteNumber, kSummary, summaryColumns);
    // The approval marks the summary row; its sub-quotes are no longer to be changed either.
    if ((stored && isApproved(*stored)) || (summary && isApproved(*summary))) {
        refuse(opening, approvedRefusal(quoteNumber), HeaderFocus::Stay);
        return opening;
    }
    if (!stored && subQuote > 0) {
        if (!createSubQuote(opening, quoteNumber, subQuote))
            refuse(opening, incomplete(), HeaderFocus::Series);
        return opening;
    }
    if (!stored) {
        opening.kind = SubQuoteOpening::Kind::NewQuote;
        opening.mode = WorksheetMode::Settled;
        QuoteRow& row = opening.row;
        row.set(QStringLiteral("CODIGO"), quoteNumber);
        row.set(QStringLiteral("SUBCODIGO"), 0);
        row.set(QStringLiteral("DATEMI"), QDateTime(workingDate, QTime(0, 0)));
        applyNewRowDefaults(row);
        const auto result = m_db.query(QStringLiteral("SELECT COMISSAO1, COMISSAO2, COMISSAO3 FROM ORCPARGER "
                                                      "WHERE CODIGO = 1"));
        for (int n = 1; n <= 3; ++n)
            row.set(quantityColumn("PRCCOM", n),
                    result.rows.empty() ? 0.0 : result.rows.front()[static_cast<std::size_t>(n - 1)].toDouble());
        return opening;
    }
    opening.row = *stored;
    if (subQuote > 0) {
        if (!summary) {
            refuse(opening, incomplete(), HeaderFocus::Stay);
            return opening;
        }
        copyColumns(opening.row, *summary, sharedHeader());
        opening.row.set(QStringLiteral("ENCNRO"), 0);
        opening.row.set(QStringLiteral("APROVADO"), QStringLiteral("N"));
        opening.row.set(QStringLiteral("MANUAL_AUTO"), QStringLiteral("M"));
    }
    opening.kind = SubQuoteOpening::Kind::StoredSubQuote;
    opening.mode = WorksheetMode::Recalculate;
    return opening;
}

bool QuoteHeader::createSubQuote(SubQuoteOpening& opening, int quoteNumber, int subQuote)
{
    QuoteRepository repo(m_db);
    kv::db::Transaction transaction(m_db);
    const auto summary = repo.row(quoteNumber, kSummary);
    if (!summary)
        return false;
    // Another workstation may have created it since it was looked for: then it is opened as stored.
    if (repo.row(quoteNumber, subQuote)) {
        transaction.rollback();
        opening = openSubQuote(quoteNumber, subQuote, {}, true);
        return true;
    }
    QuoteRow row;
    row.set(QStringLiteral("CODIGO"), quoteNumber);
    row.set(QStringLiteral("SUBCODIGO"), subQuote);
    row.set(QStringLiteral("DATEMI"), summary->value(QStringLiteral("DATEMI")));
    copyColumns(row, *summary, sharedHeader());
    for (int n = 1; n <= 3; ++n)
        row.set(quantityColumn("QTDORC", n), summary->value(quantityColumn("QTDORC", n)));
    applyNewRowDefaults(row);
    row.set(QStringLiteral("ENCNRO"), 0);
    row.set(QStringLiteral("APROVADO"), QStringLiteral("N"));
    repo.insertRow(row);
    transaction.commit();
    opening.kind = SubQuoteOpening::Kind::CreatedSubQuote;
    opening.mode = WorksheetMode::CreatedSubQuote;
    opening.row = row;
    return true;
}

std::optional<int> QuoteHeader::copy(int wanted, int baseQuote, int series, const QDate& workingDate,
                                     const std::function<void(const QString&)>& status)
{
    if (status)
        status(QStringLiteral("GERAÇÃO DE ORÇAMENTO EM CURSO !!!"));
    QuoteRepository repo(m_db);
    kv::db::Transaction transaction(m_db);
    const std::vector<QuoteRow> base = repo.quoteRows(baseQuote);
    if (base.empty()) {
        transaction.rollback();
        m_messages.fail(QStringLiteral("Orçamento Base Inexistente !!!"));
        return std::nullopt;
    }
    const int number = repo.claimQuoteNumber(series, wanted);
    for (const QuoteRow& from : base) {
        if (status)
            status(QStringLiteral("MASTER - Orçamento nº : %1 %2").arg(number).arg(from.subQuote()));
        repo.insertRow(copiedRow(from, number, workingDate));
    }
    copyLines(m_db, baseQuote, number, status);
    transaction.commit();
    if (number != wanted)
        m_messages.information(QStringLiteral("Nº de Orçamento já utilizado !!! O orçamento fica com o nº ")
                               + QString::number(number));
    return number;
}

bool QuoteHeader::save(int quoteNumber, int series)
{
    kv::db::Transaction transaction(m_db);
    if (!QuoteRepository(m_db).raiseSeriesCounter(series, quoteNumber)) {
        m_messages.error(QStringLiteral("PARÂMETROS GERAIS NÃO ESTÃO DEFINIDOS !!!"));
        return false;
    }
    transaction.commit();
    return true;
}

bool QuoteHeader::remove(int quoteNumber)
{
    QuoteRepository repo(m_db);
    kv::db::Transaction transaction(m_db);
    if (const auto summary = repo.row(quoteNumber, kSummary)) {
        if (isApproved(*summary) || summary->integer(QStringLiteral("ENCNRO")) != 0) {
            transaction.rollback();
            m_messages.fail(QStringLiteral("Orçamento já foi aprovado !!Não pode eliminar! ")
                            + QString::number(quoteNumber));
            return false;
        }
    }
    repo.deleteQuote(quoteNumber);
    transaction.commit();
    return true;
}

std::optional<int> QuoteHeader::priceDecimals(kv::db::Connection& invoicing, const QString& year)
{
    const auto result =
        invoicing.query(QStringLiteral("SELECT PRC_DECIMAIS FROM PARGER WHERE ANO = :WAno"), {{"WAno", year}});
    if (result.rows.empty())
        return std::nullopt;
    return static_cast<int>(result.rows.front().front().toLongLong());
}

std::optional<QStringList> QuoteHeader::commissionNames()
{
    const auto result =
        m_db.query(QStringLiteral("SELECT DESIGNCOM1, DESIGNCOM2, DESIGNCOM3 FROM ORCPARGER WHERE CODIGO = 1"));
    if (result.rows.empty())
        return std::nullopt;
    QStringList names;
    for (const QVariant& v : result.rows.front())
        names << v.toString().trimmed();
    return names;
}

} // namespace kv::quotes
