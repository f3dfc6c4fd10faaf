#include "quotes/approval/core/ApprovalContext.h"

#include "platform/db/Connection.h"

namespace kv::quotes::approval {

ApprovalContext ApprovalContext::read(kv::db::Connection& application, int quoteNumber, int moneyDecimals)
{
    ApprovalContext context;
    context.moneyDecimals = moneyDecimals;
    const kv::db::QueryResult row = application.query(
        QStringLiteral("SELECT DATEMI, CLINRO, NOME, NOSREF, DESIGN1, VNDNRO, UNIDADE, QTDORC1, QTDORC2, QTDORC3, "
                       "PRECOCLI1, PRECOCLI2, PRECOCLI3, VALCOM3A, VALCOM3B, VALCOM3C, MARGEMPRC, PRCCOM1, PRCCOM2, "
                       "APROVADO FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = 99"),
        {{QStringLiteral("CODIGO"), quoteNumber}});
    if (row.isEmpty())
        return context;
    const auto value = [&row](const char* column) { return row.value(0, QString::fromLatin1(column)); };
    context.quoteNumber = quoteNumber;
    ApprovalSummary& s = context.summary;
    s.issued = value("DATEMI").toDate();
    s.customer = value("CLINRO").toInt();
    s.customerName = value("NOME").toString();
    s.article = value("NOSREF").toString().trimmed();
    s.articleDesignation = value("DESIGN1").toString();
    s.salesman = value("VNDNRO").toInt();
    s.unit = value("UNIDADE").toString();
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        s.quantities[i] = row.value(0, QStringLiteral("QTDORC") + n).toDouble();
        s.clientPrices[i] = row.value(0, QStringLiteral("PRECOCLI") + n).toDouble();
        s.marginValues[i] = row.value(0, QStringLiteral("VALCOM3") + QChar(u'A' + i)).toDouble();
    }
    s.marginPercent = value("MARGEMPRC").toDouble();
    s.commission1 = value("PRCCOM1").toDouble();
    s.commission2 = value("PRCCOM2").toDouble();
    s.approved = value("APROVADO").toString() == QLatin1String("S");
    return context;
}

} // namespace kv::quotes::approval
