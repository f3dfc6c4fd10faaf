#include "production/core/SupplierDocuments.h"

#include "platform/db/BulkTransfer.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/PrintQueue.h"
#include "platform/notify/MessageSink.h"
#include "platform/text/DecimalRounding.h"
#include "platform/text/NumberText.h"

#include <QDateTime>
#include <QRegularExpression>

namespace kv::production {

using kv::db::Connection;
using kv::db::DbError;
using kv::db::FieldType;
using kv::db::Params;
using kv::db::Transaction;
using kv::text::roundDecimal;

namespace {

// The ticked proposal rows, on the invoicing side to meet their supplier,
// article and calendar day.
const QString DocumentRowsTable = QStringLiteral("KV_REQDOCUMENTO");

const QString OrderHeader =
    QStringLiteral("INSERT INTO FRNENCMAS (ENCNRO, TIPOENC, DATEMI, FRNNRO, FRNNOM, MORADA1, MORADA2, CODPOSTAL, "
                   "PAIS, CNDPGT, NIF, ISEIVA, MOEDA, SIGLA, CAMBIO, DATAABERTURA, HORAABERTURA, VALMERC, VALDESC, "
                   "VALTOT, VALMERC_EST, VALDESC_EST, VALTOT_EST, TIPFAC, TOTQTD, LOCDESCARGA, DESC_MORADA1, "
                   "DESC_MORADA2, DESC_CODPOSTAL, DESC_LOCALIDADE, QTDCAR, TOTENT, ANULA, PRINTE, VALLIQUIDO, "
                   "VALLIQCAR, VALLIQUIDO_EST, VALLIQCAR_EST, VALILIQCAR, VALILIQCAR_EST, QTDENCCV, QTDCARCV, "
                   "CLINRO, ENCCLINRO, UTILIZADOR, ANO, OBSERV1, OBSERV2) "
                   "SELECT CAST(:ENCNRO AS INTEGER), 'M', CAST(:DATEMI AS TIMESTAMP), F.CODIGO, F.NOME, F.MORADA1, "
                   "F.MORADA2, F.CODPOSTAL, F.PAIS, F.CNDPGT, F.NIF, F.ISEIVA, F.MOEDA, F.SIGLANIF, 0, "
                   "CAST(:ABERTURA AS TIMESTAMP), CAST(:HORA AS TIMESTAMP), CAST(:VALMERC AS DOUBLE PRECISION), "
                   "CAST(:VALDESC AS DOUBLE PRECISION), CAST(:VALTOT AS DOUBLE PRECISION), 0, 0, 0, 'N', "
                   "CAST(:TOTQTD AS DOUBLE PRECISION), 1, L.MORADA1, L.MORADA2, L.CODPOSTAL, C.LOCALIDADE, "
                   "CAST(:TOTQTD AS DOUBLE PRECISION), 'N', 'N', 'N', CAST(:VALTOT AS DOUBLE PRECISION), "
                   "CAST(:VALTOT AS DOUBLE PRECISION), 0, 0, 0, 0, 0, 0, 0, 0, CAST(:UTIL AS VARCHAR(15)), "
                   "CAST(:ANO AS VARCHAR(4)), '', '' "
                   "FROM FORNECEDORES F JOIN LOCCARGA L ON L.CODIGO = 1 "
                   "JOIN CODPOSTAL C ON C.CODPOSTAL = L.CODPOSTAL WHERE F.CODIGO = :WFRNNRO");

// SQLite gives a cast to TIMESTAMP numeric affinity, which would store a
// date as its year: there the parameter goes in as bound, as elsewhere.
QString orderHeader(kv::db::Dialect dialect)
{
    QString sql = OrderHeader;
    if (dialect == kv::db::Dialect::Sqlite)
        sql.replace(QRegularExpression(QStringLiteral(R"(CAST\((:\w+) AS TIMESTAMP\))")), QStringLiteral("\\1"));
    return sql;
}

const QString NoParameters = QStringLiteral("PARÂMETROS GERAIS DE APROVISIONAMENTO INEXISTENTES !!!");

double docNum(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }

kv::db::PrintQueueTable supplierQueue()
{
    kv::db::PrintQueueTable table;
    table.table = QStringLiteral("FRNENCIMPR");
    table.document = QStringLiteral("DOCNRO");
    return table;
}

// Requisitions and purchase orders are the queue's document type 1.
kv::db::PrintQueueKind requisitionsAndOrders() { return {QStringLiteral("TIPDOC"), 1}; }

// The check of a delivery date, from its calendar row (`known`, `dayType`).
QString dateProblem(const QDate& date, const QDate& workingDate, bool known, const QString& dayType)
{
    if (!date.isValid())
        return QStringLiteral("DATA DE ENTREGA INVALIDA !!!");
    if (date < workingDate)
        return QStringLiteral("A DATA DE ENTREGA NÃO PODE SER INFERIOR À DATA DA ENCOMENDA!!!");
    if (!known)
        return QStringLiteral("Data inexistente no Calendário !!! ") + date.toString(QStringLiteral("dd/MM/yyyy"));
    if (dayType.trimmed() != QLatin1String("TB"))
        return QStringLiteral("Intoduza a Data de um Dia Útil !!!");
    return {};
}

// A document header inserted under a number inside the caller's
// transaction: false when the number's key is taken (another workstation
// stored it meanwhile), with nothing of the attempt left.
bool insertedUnderNumber(Connection& db, const QString& sql, const Params& params)
{
    Transaction attempt(db);
    try {
        db.exec(sql, params);
    } catch (const DbError& error) {
        if (error.kind() != DbError::Kind::Constraint)
            throw;
        return false;
    }
    attempt.commit();
    return true;
}

QDate dateOf(const QVariant& value)
{
    if (value.isNull())
        return {};
    return value.typeId() == QMetaType::QDate ? value.toDate() : value.toDateTime().date();
}

} // namespace

// A ticked proposal row with what the document takes of its supplier,
// article and delivery day, and its values.
struct SupplierDocuments::Line {
    QString article;
    QString designation;
    double quantity = 0;
    int supplier = 0;
    QString supplierName;
    double price = 0;
    double discount = 0;
    QVariant supplierReference;
    QDate delivery;
    QVariant paymentCondition, currency;
    QVariant unit, length, width, height, colour, size;
    QVariant year;
    QString week;
    double gross = 0;
    double discountValue = 0;
    double net = 0;
};

QString discountText(double discount)
{
    return discount != 0.0 ? kv::text::fixed(discount, 2) + QStringLiteral(" %") : QString();
}

SupplierDocuments::SupplierDocuments(Connection& application, Connection& invoicing, kv::notify::MessageSink& messages,
                                     DocumentContext context)
    : m_app(application), m_inv(invoicing), m_messages(messages), m_context(std::move(context))
{
}

QString SupplierDocuments::parametersProblem() const
{
    if (!m_inv
             .scalar(QStringLiteral("SELECT 1 FROM PARGER WHERE ANO = :ANO"), {{QStringLiteral("ANO"), m_context.year}})
             .isValid())
        return QStringLiteral("Parâmetros Gestão Comercial Inexistentes !!");
    const kv::db::QueryResult general =
        m_app.query(QStringLiteral("SELECT DEPARTAMENTO FROM ORCPARGER WHERE CODIGO = 1"));
    if (general.isEmpty())
        return QStringLiteral("Parâmentos Gerais Inexistentes ... !");
    if (general.rows.front().front().toString().trimmed().isEmpty())
        return QStringLiteral("Departamento de Compras não está parametrizado ... !");
    return {};
}

std::optional<QString> SupplierDocuments::userSeries(bool purchaseOrders) const
{
    const kv::db::QueryResult row =
        m_inv.query(QStringLiteral("SELECT %1 FROM UTILIZADORES WHERE NRO = :UTIL")
                        .arg(purchaseOrders ? QStringLiteral("SERIEFRN") : QStringLiteral("SERIEREQ")),
                    {{QStringLiteral("UTIL"), m_context.user}});
    if (row.isEmpty())
        return std::nullopt;
    return row.rows.front().front().toString().trimmed();
}

QString SupplierDocuments::deliveryDateProblem(const QVariant& date) const
{
    const QDate day = dateOf(date);
    QString dayType;
    bool known = false;
    if (day.isValid()) {
        const kv::db::QueryResult row = m_inv.query(QStringLiteral("SELECT TIPODIA FROM CALENDARIO WHERE DATA = :DATA"),
                                                    {{QStringLiteral("DATA"), day.startOfDay()}});
        known = !row.isEmpty();
        if (known)
            dayType = row.rows.front().front().toString();
    }
    return dateProblem(day, m_context.workingDate, known, dayType);
}

std::optional<std::vector<SupplierDocuments::Line>> SupplierDocuments::tickedLines()
{
    const kv::db::QueryResult ticked = m_app.query(
        QStringLiteral("SELECT ARTIGO, DESIGN, QUANTIDADE, FORNECEDOR, NOME, PRECO, DESCTO, VOSREF, DATAENTRG "
                       "FROM LOGARTGFORN WHERE UTIL = :UTIL AND PROCESSAR = 'S' AND PRECO <> 0 AND NOME <> ''"),
        {{QStringLiteral("UTIL"), m_context.user}});
    std::vector<std::vector<QVariant>> rows = ticked.rows;
    for (auto& row : rows) {
        // A delivery date carries no time of day.
        const QDate day = dateOf(row[8]);
        row[8] = day.isValid() ? QVariant(day.startOfDay()) : QVariant(QMetaType(QMetaType::QDateTime));
    }
    kv::db::prepareWorkTable(m_inv, DocumentRowsTable,
                             {{QStringLiteral("ARTIGO"), FieldType::Text, 16},
                              {QStringLiteral("DESIGN"), FieldType::Text, 40},
                              {QStringLiteral("QUANTIDADE"), FieldType::Float},
                              {QStringLiteral("FORNECEDOR"), FieldType::Int32},
                              {QStringLiteral("NOME"), FieldType::Text, 40},
                              {QStringLiteral("PRECO"), FieldType::Float},
                              {QStringLiteral("DESCTO"), FieldType::Float},
                              {QStringLiteral("VOSREF"), FieldType::Text, 16},
                              {QStringLiteral("DATAENTRG"), FieldType::DateTime}});
    kv::db::insertRows(m_inv, DocumentRowsTable, ticked.columns, rows);
    const kv::db::QueryResult read = m_inv.query(
        QStringLiteral("SELECT P.ARTIGO, P.DESIGN, P.QUANTIDADE, P.FORNECEDOR, P.NOME, P.PRECO, P.DESCTO, P.VOSREF, "
                       "P.DATAENTRG, F.CODIGO, F.CNDPGT, F.MOEDA, A.CODIGO, A.UNVENDA, A.COMPRIM, A.LARGURA, "
                       "A.ALTURA, A.CORDES, A.TAMDES, K.DATA, K.ANO, K.SEMANA, K.TIPODIA FROM %1 P "
                       "LEFT JOIN FORNECEDORES F ON F.CODIGO = P.FORNECEDOR "
                       "LEFT JOIN ARTIGOSCLS A ON A.CODIGO = P.ARTIGO "
                       "LEFT JOIN CALENDARIO K ON K.DATA = P.DATAENTRG ORDER BY P.FORNECEDOR, P.ARTIGO")
            .arg(DocumentRowsTable));
    std::vector<Line> lines;
    for (const auto& r : read.rows) {
        Line line;
        line.article = r[0].toString();
        line.designation = r[1].toString();
        line.quantity = docNum(r[2]);
        line.supplier = r[3].toInt();
        line.supplierName = r[4].toString();
        line.price = docNum(r[5]);
        line.discount = docNum(r[6]);
        line.supplierReference = r[7];
        line.delivery = dateOf(r[8]);
        QString problem;
        if (line.supplier <= 0 || r[9].isNull())
            problem = QStringLiteral("FORNECEDOR INEXISTENTE !!!");
        else if (r[12].isNull())
            problem = QStringLiteral("Artigo Inexistente : ") + line.article;
        else
            problem = dateProblem(line.delivery, m_context.workingDate, !r[19].isNull(), r[22].toString());
        if (!problem.isEmpty()) {
            m_messages.fail(
                QStringLiteral("Artigo %1, fornecedor %2: %3").arg(line.article).arg(line.supplier).arg(problem));
            return std::nullopt;
        }
        line.paymentCondition = r[10];
        line.currency = r[11];
        line.unit = r[13];
        line.length = r[14];
        line.width = r[15];
        line.height = r[16];
        line.colour = r[17];
        line.size = r[18];
        line.year = r[20];
        line.week = r[21].isNull() ? QString() : QString::number(r[21].toInt());
        line.gross = roundDecimal(line.quantity * line.price, 2);
        line.discountValue = line.discount > 0 ? roundDecimal(line.discount * line.gross / 100.0, 2) : 0.0;
        line.net = roundDecimal(line.gross - line.discountValue, 2);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::optional<int> SupplierDocuments::writeRequisition()
{
    const auto lines = tickedLines();
    if (!lines)
        return std::nullopt;
    if (lines->empty()) {
        m_messages.fail(QStringLiteral("Não Existem Artigos a Requisitar !!"));
        return std::nullopt;
    }
    const QString department =
        m_app.scalar(QStringLiteral("SELECT DEPARTAMENTO FROM ORCPARGER WHERE CODIGO = 1")).toString().left(20);
    double total = 0;
    for (const Line& line : *lines)
        total += line.gross;
    total = roundDecimal(total, 2);

    Transaction transaction(m_inv);
    const Params user{{QStringLiteral("UTIL"), m_context.user}};
    int number =
        m_inv.scalar(QStringLiteral("SELECT MAX(REQNRO) FROM FRNREQMAS WHERE UTILIZADOR = :UTIL"), user).toInt();
    const QString header = QStringLiteral("INSERT INTO FRNREQMAS (UTILIZADOR, REQNRO, DATEMI, VALMERC, DEPARTAMENTO, "
                                          "ANO, PRINTE, EMAIL) VALUES (:UTIL, :REQNRO, :DATEMI, :VALMERC, "
                                          ":DEPARTAMENTO, :ANO, 'N', 'N')");
    Params values{{QStringLiteral("UTIL"), m_context.user},
                  {QStringLiteral("DATEMI"), m_context.workingDate.startOfDay()},
                  {QStringLiteral("VALMERC"), total},
                  {QStringLiteral("DEPARTAMENTO"), department},
                  {QStringLiteral("ANO"), m_context.year}};
    // A second workstation of the same user may take the number meanwhile.
    do
        values.set(QStringLiteral("REQNRO"), ++number);
    while (!insertedUnderNumber(m_inv, header, values));
    std::vector<std::vector<QVariant>> rows;
    int detail = 0;
    for (const Line& l : *lines)
        rows.push_back({m_context.user,
                        number,
                        ++detail,
                        l.year,
                        l.week,
                        l.delivery.startOfDay(),
                        l.supplier,
                        l.supplierName,
                        l.paymentCondition,
                        l.currency,
                        l.article,
                        l.designation,
                        l.supplierReference,
                        l.length,
                        l.width,
                        l.height,
                        l.colour,
                        l.size,
                        l.price,
                        l.quantity,
                        l.unit,
                        0,
                        l.discount,
                        discountText(l.discount),
                        l.gross,
                        l.net,
                        QStringLiteral("A"),
                        QStringLiteral("N"),
                        QString(),
                        QString(),
                        0});
    kv::db::insertRows(m_inv, QStringLiteral("FRNREQDET"),
                       {QStringLiteral("UTILIZADOR"),  QStringLiteral("REQNRO"),     QStringLiteral("DETAIL"),
                        QStringLiteral("ANO"),         QStringLiteral("SEMANA"),     QStringLiteral("DATAENTRG"),
                        QStringLiteral("FRNNRO"),      QStringLiteral("FRNNOM"),     QStringLiteral("CNDPGT"),
                        QStringLiteral("MOEDA"),       QStringLiteral("ARTIGO"),     QStringLiteral("DESIGNACAO"),
                        QStringLiteral("VOSREF"),      QStringLiteral("COMPRI"),     QStringLiteral("LARGUR"),
                        QStringLiteral("ALTURA"),      QStringLiteral("CORDES"),     QStringLiteral("TAMDES"),
                        QStringLiteral("PRECOVENDA"),  QStringLiteral("QUANTID"),    QStringLiteral("UNVEND"),
                        QStringLiteral("CODDES"),      QStringLiteral("PRCDESC"),    QStringLiteral("PRCDESCRI"),
                        QStringLiteral("VALILIQUIDO"), QStringLiteral("VALLIQUIDO"), QStringLiteral("TIPOREG"),
                        QStringLiteral("APROVADO"),    QStringLiteral("UTILAPROV"),  QStringLiteral("APROV_NIVEL"),
                        QStringLiteral("ENCNRO")},
                       rows);
    transaction.commit();
    return number;
}

PurchaseOrderRun SupplierDocuments::writePurchaseOrders()
{
    const auto lines = tickedLines();
    if (!lines || lines->empty())
        return {};
    const std::optional<QString> userSeriesText = userSeries(true);
    if (!userSeriesText) {
        m_messages.fail(QStringLiteral("UTILIZADOR INEXISTENTE !!!"));
        return {};
    }
    const QString series = *userSeriesText;
    if (series.size() != 1 || series < QLatin1String("1") || series > QLatin1String("5")) {
        m_messages.fail(QStringLiteral("A série \"%1\" de encomendas a fornecedores do utilizador %2 não é válida: "
                                       "tem de ser de 1 a 5.")
                            .arg(series, m_context.user));
        return {};
    }
    const kv::db::QueryResult place = m_inv.query(QStringLiteral(
        "SELECT L.CODIGO, C.CODPOSTAL FROM LOCCARGA L LEFT JOIN CODPOSTAL C ON C.CODPOSTAL = L.CODPOSTAL "
        "WHERE L.CODIGO = 1"));
    if (place.isEmpty() || place.rows.front()[1].isNull()) {
        m_messages.fail(place.isEmpty() ? QStringLiteral("LOCAL DE DESCARGA 1 INEXISTENTE !!!")
                                        : QStringLiteral("CÓDIGO POSTAL DO LOCAL DE DESCARGA 1 INEXISTENTE !!!"));
        return {};
    }

    const QString counter = QStringLiteral("EFNRO") + series;
    const Params year{{QStringLiteral("ANO"), m_context.year}};
    Transaction transaction(m_inv);
    // Touching the series row first makes another workstation numbering
    // orders wait here until this run is stored.
    if (m_inv.exec(QStringLiteral("UPDATE STKPARGER SET %1 = COALESCE(%1, 0) WHERE ANO = :ANO").arg(counter), year)
        == 0) {
        m_messages.fail(NoParameters);
        return {};
    }
    int candidate =
        m_inv.scalar(QStringLiteral("SELECT %1 FROM STKPARGER WHERE ANO = :ANO").arg(counter), year).toInt();
    const QDateTime now = QDateTime::currentDateTime();
    const QString header = orderHeader(m_inv.dialect());
    PurchaseOrderRun run;
    for (std::size_t first = 0; first < lines->size();) {
        std::size_t end = first;
        double merchandise = 0, discounts = 0, total = 0, quantity = 0;
        while (end < lines->size() && (*lines)[end].supplier == (*lines)[first].supplier) {
            const Line& l = (*lines)[end++];
            merchandise += l.gross;
            discounts += l.discountValue;
            total += l.net;
            quantity += l.quantity;
        }
        merchandise = roundDecimal(merchandise, 2);
        discounts = roundDecimal(discounts, 2);
        total = roundDecimal(total, 2);
        const int supplier = (*lines)[first].supplier;
        Params values{{QStringLiteral("DATEMI"), m_context.workingDate.startOfDay()},
                      {QStringLiteral("ABERTURA"), now.date().startOfDay()},
                      {QStringLiteral("HORA"), now},
                      {QStringLiteral("VALMERC"), merchandise},
                      {QStringLiteral("VALDESC"), discounts},
                      {QStringLiteral("VALTOT"), total},
                      {QStringLiteral("TOTQTD"), quantity},
                      {QStringLiteral("UTIL"), m_context.user},
                      {QStringLiteral("ANO"), m_context.year},
                      {QStringLiteral("WFRNNRO"), supplier}};
        // Candidates stored meanwhile by a program that does not lock the
        // series are passed over: by a keyed look-up, or by the key itself.
        do {
            ++candidate;
            while (m_inv
                       .scalar(QStringLiteral("SELECT 1 FROM FRNENCMAS WHERE ENCNRO = :ENCNRO"),
                               {{QStringLiteral("ENCNRO"), candidate}})
                       .isValid())
                ++candidate;
            values.set(QStringLiteral("ENCNRO"), candidate);
        } while (!insertedUnderNumber(m_inv, header, values));
        std::vector<std::vector<QVariant>> rows;
        int detail = 0;
        for (std::size_t i = first; i < end; ++i) {
            const Line& l = (*lines)[i];
            rows.push_back({candidate,
                            ++detail,
                            l.year,
                            l.week,
                            l.delivery.startOfDay(),
                            l.supplier,
                            l.article,
                            l.designation,
                            l.supplierReference,
                            l.price,
                            0,
                            l.quantity,
                            l.quantity,
                            l.quantity,
                            l.unit,
                            0,
                            l.discount,
                            discountText(l.discount),
                            l.gross,
                            l.gross,
                            l.net,
                            l.net,
                            0,
                            0,
                            0,
                            0,
                            l.length,
                            l.width,
                            l.height,
                            QStringLiteral("A"),
                            QStringLiteral("N"),
                            QStringLiteral("N"),
                            m_context.workingDate.startOfDay(),
                            QStringLiteral("M"),
                            0,
                            0,
                            0});
        }
        kv::db::insertRows(
            m_inv, QStringLiteral("FRNENCDET"),
            {QStringLiteral("ENCNRO"),        QStringLiteral("DETAIL"),         QStringLiteral("ANO"),
             QStringLiteral("SEMANA"),        QStringLiteral("DATAENTRG"),      QStringLiteral("FRNNRO"),
             QStringLiteral("ARTIGO"),        QStringLiteral("DESIGNACAO"),     QStringLiteral("VOSREF"),
             QStringLiteral("PRECOVENDA"),    QStringLiteral("PRECOEST"),       QStringLiteral("QUANTID"),
             QStringLiteral("QTDCAR"),        QStringLiteral("ANTQTDCAR"),      QStringLiteral("UNVEND"),
             QStringLiteral("CODDES"),        QStringLiteral("PRCDESC"),        QStringLiteral("PRCDESCRI"),
             QStringLiteral("VALILIQUIDO"),   QStringLiteral("VALILIQCAR"),     QStringLiteral("VALLIQUIDO"),
             QStringLiteral("VALLIQCAR"),     QStringLiteral("VALLIQUIDO_EST"), QStringLiteral("VALILIQUIDO_EST"),
             QStringLiteral("VALLIQCAR_EST"), QStringLiteral("VALILIQCAR_EST"), QStringLiteral("COMPRI"),
             QStringLiteral("LARGUR"),        QStringLiteral("ALTURA"),         QStringLiteral("TIPOREG"),
             QStringLiteral("TOTENT"),        QStringLiteral("ANULA"),          QStringLiteral("DATEMI"),
             QStringLiteral("TIPOENC"),       QStringLiteral("ENCCLINRO"),      QStringLiteral("ENCCLIDET"),
             QStringLiteral("CLINRO")},
            rows);
        run.numbers.push_back(candidate);
        first = end;
    }
    // Raised to the last number used, never lowered.
    m_inv.exec(
        QStringLiteral("UPDATE STKPARGER SET %1 = :LAST WHERE ANO = :ANO AND COALESCE(%1, 0) < :LAST").arg(counter),
        {{QStringLiteral("LAST"), run.last()}, {QStringLiteral("ANO"), m_context.year}});
    transaction.commit();
    return run;
}

QStringList SupplierDocuments::copyNames(const QString& prefix)
{
    QStringList columns;
    for (int slot = 1; slot <= kv::db::PrintQueue::CopySlots; ++slot)
        columns << prefix + QString::number(slot);
    const kv::db::QueryResult row =
        m_inv.query(QStringLiteral("SELECT %1 FROM STKPARGER WHERE ANO = :ANO").arg(columns.join(QStringLiteral(", "))),
                    {{QStringLiteral("ANO"), m_context.year}});
    if (row.isEmpty()) {
        m_messages.fail(NoParameters);
        return {};
    }
    QStringList names;
    for (const QVariant& name : row.rows.front())
        if (!name.toString().trimmed().isEmpty())
            names << name.toString().trimmed();
    return names;
}

int SupplierDocuments::queueRequisition(int number)
{
    const QStringList copies = copyNames(QStringLiteral("REQVIA"));
    kv::db::PrintQueue queue(m_inv, supplierQueue(), m_context.user, requisitionsAndOrders());
    queue.fill({number}, copies, [this](Connection& db, qint64 document) {
        db.exec(QStringLiteral("UPDATE FRNREQMAS SET PRINTE = 'S' WHERE UTILIZADOR = :UTIL AND REQNRO = :REQNRO"),
                {{QStringLiteral("UTIL"), m_context.user}, {QStringLiteral("REQNRO"), document}});
    });
    return static_cast<int>(copies.size());
}

int SupplierDocuments::queuePurchaseOrders(const PurchaseOrderRun& run)
{
    const QStringList copies = copyNames(QStringLiteral("EFVIA"));
    std::vector<qint64> documents;
    if (!run.empty()) {
        const kv::db::QueryResult unprinted =
            m_inv.query(QStringLiteral("SELECT ENCNRO FROM FRNENCMAS WHERE UTILIZADOR = :UTIL AND ENCNRO >= :FIRST "
                                       "AND ENCNRO <= :LAST AND PRINTE = 'N' ORDER BY ENCNRO"),
                        {{QStringLiteral("UTIL"), m_context.user},
                         {QStringLiteral("FIRST"), run.first()},
                         {QStringLiteral("LAST"), run.last()}});
        for (const auto& row : unprinted.rows)
            documents.push_back(row.front().toLongLong());
    }
    kv::db::PrintQueue queue(m_inv, supplierQueue(), m_context.user, requisitionsAndOrders());
    queue.fill(documents, copies, [](Connection& db, qint64 document) {
        db.exec(QStringLiteral("UPDATE FRNENCMAS SET PRINTE = 'S' WHERE ENCNRO = :ENCNRO"),
                {{QStringLiteral("ENCNRO"), document}});
    });
    return static_cast<int>(copies.size());
}

void SupplierDocuments::emptyQueue()
{
    kv::db::PrintQueue(m_inv, supplierQueue(), m_context.user, requisitionsAndOrders()).empty();
}

} // namespace kv::production
