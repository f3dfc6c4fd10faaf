#include "quotes/core/QuoteConsultation.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QDateTime>

namespace kv::quotes {

ConsultationSelection ConsultationSelection::defaults(const QDate& workingDate)
{
    ConsultationSelection s;
    s.dateFrom = workingDate;
    s.dateTo = workingDate;
    return s;
}

QString ConsultationSelection::approvalWording() const
{
    switch (approval) {
    case Approval::Approved: return QStringLiteral("Só Aprovados");
    case Approval::NotApproved: return QStringLiteral("Só não Aprovados");
    case Approval::Both: break;
    }
    return QStringLiteral("Aprovados e não Aprovados");
}

const QStringList& QuoteConsultation::listColumns()
{
    static const QStringList columns{
        QStringLiteral("CODIGO"),    QStringLiteral("DATEMI"),      QStringLiteral("CLINRO"),
        QStringLiteral("NOME"),      QStringLiteral("VNDNRO"),      QStringLiteral("NOSREF"),
        QStringLiteral("DESIGN1"),   QStringLiteral("MARGEMPRC"),   QStringLiteral("PRECOADJUD"),
        QStringLiteral("APROVADO"),  QStringLiteral("MANUAL_AUTO"), QStringLiteral("UNDVND"),
        QStringLiteral("QTDORC1"),   QStringLiteral("PRECOCLI1"),   QStringLiteral("QTDORC2"),
        QStringLiteral("PRECOCLI2"), QStringLiteral("QTDORC3"),     QStringLiteral("PRECOCLI3"),
        QStringLiteral("PRCCOM3")};
    return columns;
}

namespace {

enum class Driver { Number, Date, Customer, Salesman, Article };

// The limit whose index reads the fewest rows. PostgreSQL chooses from its
// statistics; an SQLite database has none, and would walk the summary rows
// in number order through the whole table for one customer.
Driver driverOf(const ConsultationSelection& s)
{
    if (s.customerTo - s.customerFrom < 1000)
        return Driver::Customer;
    if (s.numberTo - s.numberFrom < 10000)
        return Driver::Number;
    if (s.dateFrom.daysTo(s.dateTo) <= 366)
        return Driver::Date;
    if (!s.articleFrom.isEmpty())
        return Driver::Article;
    if (s.salesmanTo - s.salesmanFrom < 10)
        return Driver::Salesman;
    return Driver::Number;
}

} // namespace

QString QuoteConsultation::where(const ConsultationSelection& s, kv::db::Dialect dialect)
{
    const Driver driver = driverOf(s);
    // A column written "+COL" keeps its value and collation but not its index.
    auto column = [&](const char* name, Driver its) {
        return (dialect == kv::db::Dialect::Sqlite && its != driver ? QStringLiteral("+") : QString())
               + QLatin1String(name);
    };
    const QString number = column("CODIGO", Driver::Number);
    const QString date = column("DATEMI", Driver::Date);
    const QString customer = column("CLINRO", Driver::Customer);
    const QString salesman = column("VNDNRO", Driver::Salesman);
    const QString article = column("NOSREF", Driver::Article);
    QString text = QStringLiteral("SUBCODIGO = 99 AND %1 >= :OrcNro1 AND %1 <= :OrcNro2 "
                                  "AND %2 >= :Data1 AND %2 < :Data2 "
                                  "AND %3 >= :CliNro1 AND %3 <= :CliNro2 "
                                  "AND %4 >= :VndNro1 AND %4 <= :VndNro2 "
                                  "AND %5 >= :ArtNro1 AND %5 <= :ArtNro2")
                       .arg(number, date, customer, salesman, article);
    if (s.origin != ConsultationSelection::Origin::Both)
        text += QStringLiteral(" AND MANUAL_AUTO = :Origem");
    if (s.approval != ConsultationSelection::Approval::Both)
        text += QStringLiteral(" AND APROVADO = :Aprovado");
    return text;
}

QString QuoteConsultation::listSql(const ConsultationSelection& selection, kv::db::Dialect dialect)
{
    using Order = ConsultationSelection::Order;
    QString order = QStringLiteral("CODIGO");
    switch (selection.order) {
    case Order::Number: break;
    case Order::Date: order = QStringLiteral("DATEMI, CODIGO"); break;
    case Order::Article: order = QStringLiteral("NOSREF, DATEMI"); break;
    case Order::Salesman: order = QStringLiteral("VNDNRO, CODIGO"); break;
    }
    return QStringLiteral("SELECT %1 FROM ORCMAS WHERE %2 ORDER BY %3")
        .arg(listColumns().join(", "), where(selection, dialect), order);
}

kv::db::Params QuoteConsultation::params(const ConsultationSelection& s)
{
    using Origin = ConsultationSelection::Origin;
    using Approval = ConsultationSelection::Approval;
    kv::db::Params p;
    p.set("OrcNro1", s.numberFrom);
    p.set("OrcNro2", s.numberTo);
    // A day counts whole whatever the time stored with it.
    p.set("Data1", QDateTime(s.dateFrom, QTime(0, 0)));
    p.set("Data2", QDateTime(s.dateTo.addDays(1), QTime(0, 0)));
    p.set("CliNro1", s.customerFrom);
    p.set("CliNro2", s.customerTo);
    p.set("VndNro1", s.salesmanFrom);
    p.set("VndNro2", s.salesmanTo);
    p.set("ArtNro1", s.articleFrom);
    p.set("ArtNro2", s.articleTo);
    if (s.origin != Origin::Both)
        p.set("Origem", s.origin == Origin::Manual ? QStringLiteral("M") : QStringLiteral("A"));
    if (s.approval != Approval::Both)
        p.set("Aprovado", s.approval == Approval::Approved ? QStringLiteral("S") : QStringLiteral("N"));
    return p;
}

void QuoteConsultation::open(kv::db::Dataset& list, const ConsultationSelection& selection)
{
    list.close();
    list.setSql(listSql(selection, list.connection()->dialect()));
    const kv::db::Params p = params(selection);
    for (const QString& name : p.names())
        list.setParam(name, p.value(name));
    list.open();
}

long long QuoteConsultation::count(kv::db::Connection& application, const ConsultationSelection& selection)
{
    return application
        .scalar(QStringLiteral("SELECT COUNT(*) FROM ORCMAS WHERE %1").arg(where(selection, application.dialect())),
                params(selection))
        .toLongLong();
}

std::optional<ViewerParameters> QuoteConsultation::viewerParameters(kv::db::Connection& invoicing, const QString& year)
{
    const auto result = invoicing.query(QStringLiteral("SELECT PRC_DECIMAIS, PATHFOTO FROM PARGER WHERE ANO = :WAno"),
                                        {{"WAno", year}});
    if (result.isEmpty())
        return std::nullopt;
    return ViewerParameters{static_cast<int>(result.rows[0][0].toLongLong()), result.rows[0][1].toString()};
}

std::vector<QVariantList> QuoteConsultation::rawMaterialLines(kv::db::Connection& application, int quote)
{
    const auto result = application.query(
        QStringLiteral("SELECT TIPOCUSTO, DESIGN, CONSUM1, PRECO, VALQTD1 FROM ORCDET WHERE CODIGO = :Codigo AND "
                       "SUBCODIGO <> 99 AND TIPOCUSTO = 'MP' ORDER BY CODIGO, SUBCODIGO, DETAIL"),
        {{"Codigo", quote}});
    std::vector<QVariantList> lines;
    for (const auto& row : result.rows)
        lines.push_back(QVariantList(row.begin(), row.end()));
    return lines;
}

QString QuoteConsultation::salesmanName(kv::db::Connection& invoicing, qint64 salesman)
{
    return invoicing
        .scalar(QStringLiteral("SELECT NOME FROM VENDEDORES WHERE CODIGO = :Codigo"), {{"Codigo", salesman}})
        .toString();
}

} // namespace kv::quotes
