#include "customers/core/CustomerFile.h"

#include "customers/core/CustomerSaveStep.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/SqlDialect.h"

namespace kv::customers {

namespace {

const QString Codigo = QStringLiteral("CODIGO");

QString text(const kv::db::Dataset& row, const char* column)
{
    return row.value(QString::fromLatin1(column)).toString().trimmed();
}

} // namespace

const QString CustomerFile::Table = QStringLiteral("CLIENTES");

CustomerFile::CustomerFile(std::shared_ptr<kv::db::Connection> invoicing, QString workstation, QString user,
                           std::shared_ptr<kv::db::Connection> accounting)
    : m_db(std::move(invoicing)), m_accounting(std::move(accounting)),
      m_claims(*m_db, std::move(workstation), std::move(user))
{
}

std::shared_ptr<kv::db::Connection> CustomerFile::connectionOf(const QString& table) const
{
    return table == QLatin1String("CNTPMOEDA") && m_accounting ? m_accounting : m_db;
}

kv::db::Connection& CustomerFile::databaseOf(const QString& table) const { return *connectionOf(table); }

long long CustomerFile::proposeNumber() { return m_claims.proposeNext(Table, Codigo); }

CustomerFile::NumberCheck CustomerFile::acceptNumber(long long number)
{
    if (number < 1 || number > HighestNumber)
        return NumberCheck::OutOfRange;
    return m_claims.claim(Table, Codigo, number) == kv::db::RecordClaims::Outcome::Claimed ? NumberCheck::Accepted
                                                                                           : NumberCheck::Taken;
}

void CustomerFile::releaseNumber(long long number) { m_claims.release(Table, number); }

std::optional<int> CustomerFile::taxpayerHolder(const QString& taxpayer, int customer)
{
    const QString number = taxpayer.trimmed();
    if (number == QLatin1String("."))
        return std::nullopt;
    const QVariant holder =
        m_db->scalar(QStringLiteral("SELECT MIN(CODIGO) FROM CLIENTES WHERE NIF = :NIF AND CODIGO <> :WCodigo"),
                     {{QStringLiteral("NIF"), number}, {QStringLiteral("WCodigo"), customer}});
    if (holder.isNull())
        return std::nullopt;
    return holder.toInt();
}

PostalPlace CustomerFile::postalPlace(const QString& postalCode)
{
    PostalPlace place;
    const kv::db::QueryResult rows = m_db->query(
        QStringLiteral("SELECT C.LOCALIDADE, C.ZONAGEOGRAF, C.REGIAO, C.PROVINCIA, C.TELCODZONA, C.PAIS, "
                       "P.PAIS AS PAISPAIS, P.MERCADO, P.SIGLA, P.TELCODPAIS "
                       "FROM CODPOSTAL C LEFT JOIN PAISES P ON P.PAIS = C.PAIS WHERE C.CODPOSTAL = :CODPOSTAL"),
        {{QStringLiteral("CODPOSTAL"), postalCode.trimmed()}});
    if (rows.isEmpty() || postalCode.trimmed().isEmpty())
        return place;
    const auto value = [&](const char* column) {
        return rows.value(0, QString::fromLatin1(column)).toString().trimmed();
    };
    place.found = true;
    place.locality = value("LOCALIDADE");
    place.zone = value("ZONAGEOGRAF");
    place.region = value("REGIAO");
    place.province = value("PROVINCIA");
    place.telZone = value("TELCODZONA");
    place.country = value("PAIS");
    place.countryFound = !rows.value(0, QStringLiteral("PAISPAIS")).isNull();
    if (place.countryFound) {
        place.market = value("MERCADO");
        place.taxPrefix = value("SIGLA");
        place.telCountry = value("TELCODPAIS");
    }
    return place;
}

bool CustomerFile::salesmanExists(long long salesman)
{
    return salesman != 0
           && !m_db->query(QStringLiteral("SELECT 1 FROM VENDEDORES WHERE CODIGO = :CODIGO"), {{Codigo, salesman}})
                   .isEmpty();
}

std::optional<SaveRefusal> CustomerFile::saveRefusal(const kv::db::Dataset& customers)
{
    if (!salesmanExists(customers.value(QStringLiteral("VENDEDOR")).toLongLong()))
        return SaveRefusal{2, QStringLiteral("Vendedor Inválido !!!"), QStringLiteral("VENDEDOR")};
    if (text(customers, "SIGLA").isEmpty())
        return SaveRefusal{0, QStringLiteral("Sigla Inválida !!!"), QStringLiteral("SIGLA")};
    // The country is the one of the customer's own postal code, as the save stores it.
    if (!postalPlace(text(customers, "CODPOSTAL")).countryFound)
        return SaveRefusal{0, QStringLiteral("Pais Inválido !!!"), QStringLiteral("CODPOSTAL")};
    if (text(customers, "NIF").isEmpty())
        return SaveRefusal{2, QStringLiteral("Nº Contribuinte Inválido !!!"), {}};
    return std::nullopt;
}

bool CustomerFile::store(kv::db::Dataset& customers, bool isNew, const std::vector<CustomerSaveStep*>& steps)
{
    const PostalPlace place = postalPlace(text(customers, "CODPOSTAL"));
    if (customers.state() == kv::db::DatasetState::Browse)
        customers.edit();
    if (place.countryFound) {
        customers.setValue(QStringLiteral("PAIS"), place.country);
        customers.setValue(QStringLiteral("MERCADO"), place.market);
        customers.setValue(QStringLiteral("SIGLANIF"), place.taxPrefix);
    }
    if (isNew)
        for (const char* group : {"GRP_FAC", "GRP_MRG", "GRP_DIA"})
            customers.setValue(QString::fromLatin1(group), 9);
    if (customers.value(QStringLiteral("AGENTE")).isNull()
        || customers.value(QStringLiteral("AGENTE")).toLongLong() < 1)
        customers.setValue(QStringLiteral("AGENTE"), 0);
    customers.post();

    const int number = customers.value(Codigo).toInt();
    kv::db::Transaction transaction(*m_db);
    for (CustomerSaveStep* step : steps)
        step->store(*m_db, number);
    if (isNew)
        m_claims.release(Table, number);
    // Last, so that a failure before it leaves the row's change pending.
    customers.applyUpdates();
    if (customers.hasPendingChanges())
        return false; // the transaction rolls back: the steps' rows and the claim stay as they were
    transaction.commit();
    return true;
}

QVariantMap CustomerFile::codeRow(const QString& table, const QStringList& keyColumns, const QVariantList& keys)
{
    QVariantMap row;
    QStringList conditions;
    kv::db::Params params;
    for (int i = 0; i < keyColumns.size() && i < keys.size(); ++i) {
        const QVariant key =
            keys.at(i).typeId() == QMetaType::QString ? QVariant(keys.at(i).toString().trimmed()) : keys.at(i);
        if (key.isNull() || key.toString().isEmpty())
            return row;
        conditions
            << QStringLiteral("%1 = :K%2").arg(kv::db::sql::identifier(m_db->dialect(), keyColumns.at(i))).arg(i);
        params.set(QStringLiteral("K%1").arg(i), key);
    }
    const kv::db::QueryResult rows =
        m_db->query(QStringLiteral("SELECT * FROM %1 WHERE %2")
                        .arg(kv::db::sql::identifier(m_db->dialect(), table), conditions.join(QStringLiteral(" AND "))),
                    params);
    if (rows.isEmpty())
        return row;
    for (const QString& column : rows.columns)
        row.insert(column.toUpper(), rows.value(0, column));
    return row;
}

QString CustomerFile::nameSearchSql() const
{
    return QStringLiteral("SELECT * FROM CLIENTES WHERE %1 ORDER BY NOME, CODIGO")
        .arg(kv::db::sql::likePattern(m_db->dialect(), QStringLiteral("NOME"), QStringLiteral("EDIT_NOMECLI.TEXT")));
}

} // namespace kv::customers
