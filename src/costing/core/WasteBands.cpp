#include "costing/core/WasteBands.h"

#include <set>

namespace kv::costing {

namespace {

bool zeroOrEmpty(const QString& text) { return text.isEmpty() || text == QLatin1String("0"); }

// A whole number as typed; text that is not one reads as 0.
qint64 wholeNumber(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace

int createMissingWasteBands(kv::db::Connection& application)
{
    kv::db::Transaction transaction(application);
    const kv::db::QueryResult present =
        application.query(QStringLiteral("SELECT CODIGO FROM TIRAGLIQ WHERE CODIGO BETWEEN 1 AND :LAST"),
                          {{QStringLiteral("LAST"), FixedWasteBands}});
    std::set<int> codes;
    for (const auto& row : present.rows)
        codes.insert(row.front().toInt());
    QStringList values;
    kv::db::Params params;
    for (int code = 1; code <= FixedWasteBands; ++code) {
        if (codes.count(code))
            continue;
        const QString name = QStringLiteral("C%1").arg(code);
        values << QStringLiteral("(:") + name + QLatin1Char(')');
        params.set(name, code);
    }
    if (!values.isEmpty())
        application.exec(QStringLiteral("INSERT INTO TIRAGLIQ (CODIGO) VALUES ") + values.join(QLatin1Char(',')),
                         params);
    transaction.commit();
    return static_cast<int>(values.size());
}

BandQuantity checkBandFrom(const QString& text)
{
    if (zeroOrEmpty(text))
        return BandQuantity::BeepOnly;
    return wholeNumber(text) > 0 ? BandQuantity::Accepted : BandQuantity::Refused;
}

BandQuantity checkBandTo(const QString& text, qint64 from)
{
    if (zeroOrEmpty(text))
        return BandQuantity::BackToFrom;
    return wholeNumber(text) > from ? BandQuantity::Accepted : BandQuantity::Refused;
}

QString invalidQuantityMessage() { return QStringLiteral("Quantidade Inválida !!!"); }

} // namespace kv::costing
