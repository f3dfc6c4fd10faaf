#include "quotes/approval/core/QuoteApproval.h"

#include "quotes/approval/core/OrderCalendar.h"
#include "quotes/core/Amounts.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/NumberAllocator.h"
#include "platform/db/SqlDialect.h"
#include "platform/notify/MessageSink.h"
#include "platform/text/Fixed4.h"
#include "schema/Schema.h"

#include <QDateTime>

namespace kv::quotes::approval {

using kv::db::Connection;
using kv::text::Fixed4;

namespace {

const QString NumberTaken = QStringLiteral("ESTA ENCOMENDA JÁ EXISTE !!!");

// The quote row columns an approval writes, which a refused order puts back.
const QStringList MarkedColumns = {
    QStringLiteral("CLINRO"),      QStringLiteral("NOSREF"),     QStringLiteral("VALORADJUD"),
    QStringLiteral("MARGEMVALOR"), QStringLiteral("MARGEMPRC"),  QStringLiteral("DATADJUD"),
    QStringLiteral("QTDADJUD"),    QStringLiteral("PRECOADJUD"), QStringLiteral("ANO"),
    QStringLiteral("SEMANA"),      QStringLiteral("ENCNRO"),     QStringLiteral("APROVADO")};

const kv::schema::Table& definition(kv::schema::Database database, const QString& table)
{
    const kv::schema::Table* t = kv::schema::Schema::standard().table(database, table);
    if (!t)
        throw kv::db::DbError(kv::db::DbError::Kind::State, QStringLiteral("Tabela %1 desconhecida.").arg(table));
    return *t;
}

// A value as its column stores it: the pending record's JSON gives numbers
// as doubles and dates as ISO text; texts are cut to the column's size.
QVariant stored(const kv::schema::Column* column, const QVariant& value)
{
    if (!column || value.isNull() || !value.isValid())
        return QVariant();
    switch (column->type) {
    case kv::db::FieldType::Int16:
    case kv::db::FieldType::Int32:
    case kv::db::FieldType::Int64: return value.toLongLong();
    case kv::db::FieldType::Float: return value.toDouble();
    case kv::db::FieldType::DateTime:
        return value.typeId() == QMetaType::QString ? QDateTime::fromString(value.toString(), Qt::ISODate)
                                                    : value.toDateTime();
    case kv::db::FieldType::Text: return value.toString().left(column->size);
    default: return value;
    }
}

void insertRow(Connection& db, kv::schema::Database database, const QString& table, const QVariantMap& row)
{
    const kv::schema::Table& t = definition(database, table);
    QStringList columns;
    QStringList markers;
    kv::db::Params params;
    for (auto it = row.begin(); it != row.end(); ++it) {
        columns << kv::db::sql::identifier(db.dialect(), it.key());
        markers << QLatin1Char(':') + it.key();
        params.set(it.key(), stored(t.column(it.key()), it.value()));
    }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(kv::db::sql::identifier(db.dialect(), table), columns.join(QStringLiteral(", ")),
                     markers.join(QStringLiteral(", "))),
            params);
}

// The invoicing side: the number claimed against the series' counter of the
// working year (the counter row is locked until the commit, so a second
// workstation confirming the same number, in any series, waits and then
// finds it taken), the header and the lines.
void writeOrder(Connection& invoicing, const kv::db::TwoDatabaseOperation& operation)
{
    const QVariantMap& d = operation.data;
    try {
        kv::db::NumberAllocator numbers(invoicing);
        const kv::db::Counter counter{QStringLiteral("ENCPARGER"),
                                      QStringLiteral("ENCNRO") + d.value(QStringLiteral("series")).toString(),
                                      QStringLiteral("ANO = :ANO"),
                                      {{QStringLiteral("ANO"), d.value(QStringLiteral("year")).toString()}}};
        if (!numbers.claim(counter, d.value(QStringLiteral("number")).toLongLong(),
                           {QStringLiteral("ENCCLIMAS"), QStringLiteral("ENCNRO"), {}, {}}))
            throw kv::db::TwoDatabaseRefusal(NumberTaken);
        insertRow(invoicing, kv::schema::Database::Invoicing, QStringLiteral("ENCCLIMAS"),
                  d.value(QStringLiteral("header")).toMap());
        for (const QVariant& line : d.value(QStringLiteral("lines")).toList())
            insertRow(invoicing, kv::schema::Database::Invoicing, QStringLiteral("ENCCLIDET"), line.toMap());
    } catch (const kv::db::DbError& error) {
        // What the database refuses now it would refuse at every replay: the
        // approval is undone instead of staying pending for ever. A lost
        // connection or a wait that ran out is tried again later.
        if (error.kind() == kv::db::DbError::Kind::Connection || error.kind() == kv::db::DbError::Kind::Busy
            || error.kind() == kv::db::DbError::Kind::State)
            throw;
        throw kv::db::TwoDatabaseRefusal(error.fullText());
    }
}

// The application side undone: every row of the quote back to what it held.
void restoreQuote(Connection& application, const kv::db::TwoDatabaseOperation& operation, const QString&)
{
    const kv::schema::Table& t = definition(kv::schema::Database::Application, QStringLiteral("ORCMAS"));
    QStringList assignments;
    for (const QString& c : MarkedColumns)
        assignments << QStringLiteral("%1 = :%1").arg(c);
    const QString sql = QStringLiteral("UPDATE ORCMAS SET %1 WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO")
                            .arg(assignments.join(QStringLiteral(", ")));
    const int quote = operation.data.value(QStringLiteral("quote")).toInt();
    for (const QVariant& previous : operation.data.value(QStringLiteral("previous")).toList()) {
        const QVariantMap row = previous.toMap();
        kv::db::Params params{{QStringLiteral("CODIGO"), quote},
                              {QStringLiteral("SUBCODIGO"), row.value(QStringLiteral("SUBCODIGO")).toInt()}};
        for (const QString& c : MarkedColumns)
            params.set(c, stored(t.column(c), row.value(c)));
        application.exec(sql, params);
    }
}

QVariantList previousRows(Connection& application, int quote)
{
    const kv::db::QueryResult rows =
        application.query(QStringLiteral("SELECT SUBCODIGO, %1 FROM ORCMAS WHERE CODIGO = :CODIGO")
                              .arg(MarkedColumns.join(QStringLiteral(", "))),
                          {{QStringLiteral("CODIGO"), quote}});
    QVariantList list;
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        QVariantMap row;
        row.insert(QStringLiteral("SUBCODIGO"), rows.value(r, QStringLiteral("SUBCODIGO")));
        for (const QString& c : MarkedColumns)
            row.insert(c, rows.value(r, c));
        list << row;
    }
    return list;
}

// The approval marks of the quote rows. The sub-quotes take the approval
// made now; the summary row keeps the values of its first approval.
void markQuote(Connection& application, const PreparedApproval& p, const ApprovalSettings& settings)
{
    const OrderRequest& r = p.request;
    const kv::db::Params params{{QStringLiteral("CODIGO"), r.quoteNumber},
                                {QStringLiteral("CLINRO"), r.customer},
                                {QStringLiteral("NOSREF"), r.article},
                                {QStringLiteral("VALORADJUD"), p.result.saleValue},
                                {QStringLiteral("MARGEMVALOR"), p.result.marginValue},
                                {QStringLiteral("MARGEMPRC"), p.result.marginPercent},
                                {QStringLiteral("DATADJUD"), settings.workingDate.startOfDay()},
                                {QStringLiteral("QTDADJUD"), r.input.quantity},
                                {QStringLiteral("PRECOADJUD"), r.input.price},
                                {QStringLiteral("ANO"), p.orderYear},
                                {QStringLiteral("SEMANA"), p.orderWeek},
                                {QStringLiteral("ENCNRO"), r.orderNumber}};
    application.exec(QStringLiteral("UPDATE ORCMAS SET CLINRO = :CLINRO, NOSREF = :NOSREF, VALORADJUD = :VALORADJUD, "
                                    "MARGEMVALOR = :MARGEMVALOR, MARGEMPRC = :MARGEMPRC, DATADJUD = :DATADJUD, "
                                    "QTDADJUD = :QTDADJUD, PRECOADJUD = :PRECOADJUD, ANO = :ANO, SEMANA = :SEMANA, "
                                    "ENCNRO = :ENCNRO WHERE CODIGO = :CODIGO AND SUBCODIGO <> 99"),
                     params);
    application.exec(QStringLiteral("UPDATE ORCMAS SET NOSREF = :NOSREF, CLINRO = :CLINRO "
                                    "WHERE CODIGO = :CODIGO AND SUBCODIGO = 99"),
                     params);
    application.exec(
        QStringLiteral("UPDATE ORCMAS SET DATADJUD = CASE WHEN COALESCE(QTDADJUD, 0) = 0 THEN :DATADJUD "
                       "ELSE DATADJUD END, QTDADJUD = :QTDADJUD, PRECOADJUD = :PRECOADJUD, VALORADJUD = :VALORADJUD, "
                       "MARGEMVALOR = :MARGEMVALOR, MARGEMPRC = :MARGEMPRC, ANO = :ANO, SEMANA = :SEMANA, "
                       "ENCNRO = :ENCNRO, APROVADO = 'S' "
                       "WHERE CODIGO = :CODIGO AND SUBCODIGO = 99 AND (APROVADO IS NULL OR APROVADO <> 'S')"),
        params);
}

} // namespace

QString approvalKindName() { return QStringLiteral("ORC.APROVACAO"); }

kv::db::TwoDatabaseKind approvalKind()
{
    kv::db::TwoDatabaseKind kind;
    kind.name = approvalKindName();
    kind.first = kv::db::role::application();
    kind.second = kv::db::role::invoicing();
    kind.secondStep = writeOrder;
    kind.compensate = restoreQuote;
    return kind;
}

double orderLineValue(double price, double quantity, int moneyDecimals)
{
    const Fixed4 exact = Fixed4::fromDouble(price * quantity);
    return Fixed4::fromDouble(roundMoney(exact.toDouble(), moneyDecimals)).toDouble();
}

QuoteApproval::QuoteApproval(Connection& application, Connection& invoicing, kv::notify::MessageSink& messages,
                             ApprovalSettings settings)
    : m_application(application), m_invoicing(invoicing), m_messages(messages), m_settings(std::move(settings))
{
}

bool QuoteApproval::fail(const QString& text)
{
    m_messages.fail(text);
    return false;
}

bool QuoteApproval::countersExist()
{
    return m_invoicing
        .scalar(QStringLiteral("SELECT ANO FROM ENCPARGER WHERE ANO = :ANO"),
                {{QStringLiteral("ANO"), m_settings.workingYear}})
        .isValid();
}

int QuoteApproval::proposeNumber(const QString& series)
{
    static const QStringList valid = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                      QStringLiteral("4"), QStringLiteral("5")};
    if (!valid.contains(series))
        return 0;
    int number = m_invoicing
                     .scalar(QStringLiteral("SELECT ENCNRO%1 FROM ENCPARGER WHERE ANO = :ANO").arg(series),
                             {{QStringLiteral("ANO"), m_settings.workingYear}})
                     .toInt()
                 + 1;
    // The series share one order key: a number another series (or a number
    // typed above a counter) already holds is passed over.
    while (orderExists(number))
        ++number;
    return number;
}

bool QuoteApproval::orderExists(int orderNumber)
{
    return m_invoicing
        .scalar(QStringLiteral("SELECT ENCNRO FROM ENCCLIMAS WHERE ENCNRO = :ENCNRO"),
                {{QStringLiteral("ENCNRO"), orderNumber}})
        .isValid();
}

bool QuoteApproval::commercialParametersExist()
{
    return m_invoicing
        .scalar(QStringLiteral("SELECT ANO FROM PARGER WHERE ANO = :ANO"),
                {{QStringLiteral("ANO"), m_settings.workingYear}})
        .isValid();
}

std::optional<QString> QuoteApproval::locality(const QString& postalCode)
{
    const kv::db::QueryResult row =
        m_invoicing.query(QStringLiteral("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :CODPOSTAL"),
                          {{QStringLiteral("CODPOSTAL"), postalCode}});
    if (row.isEmpty())
        return std::nullopt;
    return row.value(0, QStringLiteral("LOCALIDADE")).toString();
}

QString previousOrdersSql()
{
    return QStringLiteral("SELECT ANO, SEMANA, ENCNRO, PRECOVENDA, QUANTID, UNVEND, MARGEMPRC, ORCNRO, ARTIGO, CLINRO, "
                          "DATAENTRG FROM ENCCLIDET WHERE CLINRO = :WCLINRO AND ARTIGO = :WARTNRO "
                          "ORDER BY ANO, SEMANA, ENCNRO");
}

std::optional<PreparedApproval> QuoteApproval::prepare(const OrderRequest& r, const CostTables& tables)
{
    if (r.quoteNumber == 0) {
        fail(QStringLiteral("Erro Fatal .. Aprovação mal gerada <Orc 0>"));
        return std::nullopt;
    }
    if (r.article.trimmed().isEmpty()) {
        fail(QStringLiteral("Aprovação de Orçamento não viável p/falta de codificação de Artigo!!!"));
        return std::nullopt;
    }
    if (r.customer == 0) {
        fail(QStringLiteral("Aprovação de Orçamento não viável p/falta de codificação de Cliente!!!"));
        return std::nullopt;
    }
    if (proposeNumber(r.series) == 0) {
        fail(QStringLiteral("ESCOLHA A SÉRIE DE NUMERAÇÃO DE [1] A [5]"));
        return std::nullopt;
    }
    if (r.orderNumber <= 0) {
        fail(QStringLiteral("INSIRA O Nº DA ENCOMENDA !!!"));
        return std::nullopt;
    }
    if (!countersExist()) {
        fail(QStringLiteral("NÃO ESTÃO DEFINIDOS PARÂMETROS GERAIS DE ENCOMENDAS"));
        return std::nullopt;
    }
    if (!r.orderDate.isValid()) {
        fail(QStringLiteral("Data Inválida !!!"));
        return std::nullopt;
    }
    const CalendarDay day = readCalendar(m_invoicing, r.orderDate);
    if (!day.workingDay()) {
        fail(day.statusText);
        return std::nullopt;
    }
    if (orderExists(r.orderNumber)) {
        fail(NumberTaken);
        return std::nullopt;
    }
    if (const auto refusal = DeliveryPlan::check(r.deliveries, r.input.quantity)) {
        fail(refusal->message);
        return std::nullopt;
    }
    const kv::db::QueryResult quote = m_application.query(
        QStringLiteral("SELECT NOME, DESIGN1, VNDNRO FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = 99"),
        {{QStringLiteral("CODIGO"), r.quoteNumber}});
    if (quote.isEmpty()) {
        fail(QStringLiteral("Erro Fatal .. Aprovação mal gerada <Orc %1>").arg(r.quoteNumber));
        return std::nullopt;
    }
    const kv::db::QueryResult customer =
        m_invoicing.query(QStringLiteral("SELECT MORADA1, MORADA2, CODPOSTAL, CNDPGT, SIGLANIF, NIF, AGENTE, "
                                         "METEXPEDICAO, CODDES, DESFIX, ISEIVA, MOEDA, FORMA FROM CLIENTES "
                                         "WHERE CODIGO = :CODIGO"),
                          {{QStringLiteral("CODIGO"), r.customer}});
    if (customer.isEmpty()) {
        fail(QStringLiteral("Este Cliente foi Eliminado !!! ") + QString::number(r.customer));
        return std::nullopt;
    }
    const kv::db::QueryResult postal =
        m_invoicing.query(QStringLiteral("SELECT PAIS FROM CODPOSTAL WHERE CODPOSTAL = :CODPOSTAL"),
                          {{QStringLiteral("CODPOSTAL"), customer.value(0, QStringLiteral("CODPOSTAL"))}});
    if (postal.isEmpty()) {
        fail(QStringLiteral("Código Postal Inexistente"));
        return std::nullopt;
    }
    const kv::db::QueryResult article = m_invoicing.query(
        QStringLiteral("SELECT UNVENDA, COMPRIM, LARGURA, ALTURA, VOSREF FROM ARTIGOSCLS WHERE CODIGO = :CODIGO"),
        {{QStringLiteral("CODIGO"), r.article}});
    if (article.isEmpty()) {
        fail(QStringLiteral("Artigo Inexistente ") + r.article);
        return std::nullopt;
    }
    ApprovalCalculator calculator(tables, m_messages, m_settings.moneyDecimals);
    const std::optional<ApprovalResult> result =
        calculator.calculate(ApprovalQuote::read(m_application, r.quoteNumber), r.input);
    if (!result)
        return std::nullopt;

    PreparedApproval p;
    p.request = r;
    p.result = *result;
    p.orderYear = day.year;
    p.orderWeek = day.week;

    const QDateTime now = QDateTime::currentDateTime();
    Fixed4 total;
    Fixed4 quantities;
    for (int i = 0; i < kDeliveries; ++i) {
        const Delivery& d = r.deliveries[static_cast<std::size_t>(i)];
        if (d.quantity == 0)
            continue; // a delivery left empty keeps its position free
        const double value = orderLineValue(r.input.price, d.quantity, m_settings.moneyDecimals);
        total += Fixed4::fromDouble(value);
        quantities += Fixed4::fromDouble(d.quantity);
        const QDateTime date = d.date->startOfDay();
        QVariantMap line{{QStringLiteral("ENCNRO"), r.orderNumber},
                         {QStringLiteral("DETAIL"), i + 1},
                         {QStringLiteral("ANO"), day.year},
                         {QStringLiteral("SEMANA"), day.week},
                         {QStringLiteral("DATAENTRG"), date},
                         {QStringLiteral("DATAPROD"), date},
                         {QStringLiteral("DATENTPEDIDA"), date},
                         {QStringLiteral("SEMANAPEDIDA"), day.week},
                         {QStringLiteral("QUANTID"), d.quantity},
                         {QStringLiteral("QTDCAR"), d.quantity},
                         {QStringLiteral("ANTQTDCAR"), d.quantity},
                         {QStringLiteral("DATEMI"), m_settings.workingDate.startOfDay()},
                         {QStringLiteral("CLINRO"), r.customer},
                         {QStringLiteral("ARTIGO"), r.article},
                         {QStringLiteral("DESIGNACAO"), quote.value(0, QStringLiteral("DESIGN1"))},
                         {QStringLiteral("PRECOVENDA"), r.input.price},
                         {QStringLiteral("COMPRI"), article.value(0, QStringLiteral("COMPRIM"))},
                         {QStringLiteral("LARGUR"), article.value(0, QStringLiteral("LARGURA"))},
                         {QStringLiteral("ALTURA"), article.value(0, QStringLiteral("ALTURA"))},
                         {QStringLiteral("VOSREF"), article.value(0, QStringLiteral("VOSREF"))},
                         {QStringLiteral("UNVEND"), article.value(0, QStringLiteral("UNVENDA"))},
                         {QStringLiteral("TOTENT"), QStringLiteral("N")},
                         {QStringLiteral("ANULA"), QStringLiteral("N")},
                         {QStringLiteral("TIPOREG"), QStringLiteral("A")},
                         {QStringLiteral("MARGEMVALOR"), result->marginValue},
                         {QStringLiteral("MARGEMPRC"), result->marginPercent},
                         {QStringLiteral("ORCNRO"), r.quoteNumber},
                         {QStringLiteral("ORDFAB"), 0},
                         {QStringLiteral("VALLIQUIDO"), value},
                         {QStringLiteral("VALILIQUIDO"), value},
                         {QStringLiteral("VALLIQCAR"), value},
                         {QStringLiteral("VALILIQCAR"), value}};
        p.lines << line;
    }
    const auto c = [&customer](const char* column) { return customer.value(0, QString::fromLatin1(column)); };
    const double merchandise = total.toDouble();
    p.header = {{QStringLiteral("ENCNRO"), r.orderNumber},
                {QStringLiteral("DATEMI"), r.orderDate.startOfDay()},
                {QStringLiteral("ANO"), day.year},
                {QStringLiteral("MES"), r.orderDate.month()},
                {QStringLiteral("CLINRO"), r.customer},
                {QStringLiteral("CLINOM"), quote.value(0, QStringLiteral("NOME"))},
                {QStringLiteral("MORADA1"), c("MORADA1")},
                {QStringLiteral("MORADA2"), c("MORADA2")},
                {QStringLiteral("CODPOSTAL"), c("CODPOSTAL")},
                {QStringLiteral("PAIS"), postal.value(0, QStringLiteral("PAIS"))},
                {QStringLiteral("CNDPGT"), c("CNDPGT")},
                {QStringLiteral("SIGLA"), c("SIGLANIF")},
                {QStringLiteral("NIF"), c("NIF")},
                {QStringLiteral("VENDEDOR"), quote.value(0, QStringLiteral("VNDNRO"))},
                {QStringLiteral("AGENTE"), c("AGENTE")},
                {QStringLiteral("METEXPEDICAO"), c("METEXPEDICAO")},
                {QStringLiteral("CODDES"), c("CODDES")},
                {QStringLiteral("DESFIX"), c("DESFIX")},
                {QStringLiteral("ISEIVA"), c("ISEIVA")},
                {QStringLiteral("MOEDA"), c("MOEDA")},
                {QStringLiteral("FORMA"), c("FORMA")},
                {QStringLiteral("UTILIZADOR"), m_settings.user},
                {QStringLiteral("DATAABERTURA"), now.date().startOfDay()},
                {QStringLiteral("HORAABERTURA"), now.addMSecs(-now.time().msec())},
                {QStringLiteral("VALMERC"), merchandise},
                {QStringLiteral("VALDESC"), 0.0},
                {QStringLiteral("VALTOT"), merchandise},
                {QStringLiteral("VALDESC_EST"), 0.0},
                {QStringLiteral("ACTFAC"), QStringLiteral("N")},
                {QStringLiteral("TIPFAC"), QStringLiteral("N")},
                {QStringLiteral("TOTQTD"), quantities.toDouble()},
                {QStringLiteral("QTDCAR"), quantities.toDouble()},
                {QStringLiteral("DESC_MORADA1"), r.address.line1},
                {QStringLiteral("DESC_MORADA2"), r.address.line2},
                {QStringLiteral("DESC_CODPOSTAL"), r.address.postalCode},
                {QStringLiteral("DESC_LOCALIDADE"), r.address.locality},
                {QStringLiteral("VOSENC"), r.customerReference},
                {QStringLiteral("TOTENT"), QStringLiteral("N")},
                {QStringLiteral("VALLIQUIDO"), merchandise},
                {QStringLiteral("VALLIQCAR"), merchandise},
                {QStringLiteral("VALILIQCAR"), merchandise},
                {QStringLiteral("ANULA"), QStringLiteral("N")},
                {QStringLiteral("CONFENCNRO"), 0},
                {QStringLiteral("PRINTCONF"), QStringLiteral("N")},
                {QStringLiteral("OFPRINT"), QStringLiteral("N")}};
    return p;
}

ApprovalSave QuoteApproval::save(kv::db::TwoDatabaseWork& work, const PreparedApproval& p)
{
    const OrderRequest& r = p.request;
    QVariantMap data{{QStringLiteral("quote"), r.quoteNumber},
                     {QStringLiteral("series"), r.series},
                     {QStringLiteral("year"), m_settings.workingYear},
                     {QStringLiteral("number"), r.orderNumber},
                     {QStringLiteral("header"), p.header},
                     {QStringLiteral("lines"), p.lines}};
    const kv::db::TwoDatabaseResult result =
        work.run(approvalKindName(), QStringLiteral("Aprovação do orçamento %1").arg(r.quoteNumber), m_settings.user,
                 [&](Connection& application) {
                     data.insert(QStringLiteral("previous"), previousRows(application, r.quoteNumber));
                     markQuote(application, p, m_settings);
                     return data;
                 });
    ApprovalSave save;
    save.message = result.message;
    switch (result.status) {
    case kv::db::TwoDatabaseResult::Status::Done: save.status = ApprovalSave::Status::Approved; break;
    case kv::db::TwoDatabaseResult::Status::Pending: save.status = ApprovalSave::Status::Pending; break;
    case kv::db::TwoDatabaseResult::Status::Refused:
        if (result.message.contains(NumberTaken)) {
            save.status = ApprovalSave::Status::NumberTaken;
            save.message = NumberTaken;
            save.nextNumber = proposeNumber(r.series);
        } else {
            save.status = ApprovalSave::Status::Refused;
        }
        break;
    }
    return save;
}

} // namespace kv::quotes::approval
