#include "customers/parts/CustomerAccounts.h"

#include "platform/notify/MessageSink.h"

#include <QHash>
#include <limits>

namespace kv::customers {

namespace {

const QString BulkKind = QStringLiteral("customer-accounts");
constexpr int PageSize = 500;

QString text(const QVariant& value) { return value.isNull() ? QString() : value.toString(); }

bool underCustomerRecap(const QString& account) { return account.startsWith(QLatin1String("211")); }

QString zeros(int count)
{
    QStringList values;
    for (int i = 0; i < count; ++i)
        values << QStringLiteral("0");
    return values.join(u',');
}

QString totalsColumns(int pairs)
{
    QStringList columns;
    for (int i = 0; i < pairs; ++i)
        columns << QStringLiteral("AcuDeb%1,AcuCre%1").arg(i);
    return columns.join(u',');
}

// Period totals of an account, 16 pairs in the company's currency or 14 in a
// foreign one, inserted when the account has none.
void writeTotals(kv::db::Connection& accounting, const QString& table, int pairs, const QString& year,
                 const QString& account)
{
    const kv::db::Params key{{QStringLiteral("WAno"), year}, {QStringLiteral("WConta"), account}};
    if (accounting.scalar(QStringLiteral("SELECT 1 FROM %1 WHERE ANO = :WAno AND CONTA = :WConta").arg(table), key)
            .isValid())
        return;
    accounting.exec(QStringLiteral("INSERT INTO %1 (ANO,CONTA,TIPO,%2) VALUES (:WAno,:WConta,:WTipo,%3)")
                        .arg(table, totalsColumns(pairs), zeros(2 * pairs)),
                    {{QStringLiteral("WAno"), year},
                     {QStringLiteral("WConta"), account},
                     {QStringLiteral("WTipo"), QStringLiteral("L")}});
}

void writeRecap(kv::db::Connection& accounting, const QVariantMap& data)
{
    const QString taxNumber = data.value(QStringLiteral("NIF")).toString().left(12);
    if (taxNumber.isEmpty())
        return;
    const kv::db::Params params{
        {QStringLiteral("WAno"), data.value(QStringLiteral("ANO"))},
        {QStringLiteral("WContrib"), taxNumber},
        {QStringLiteral("WNome"), data.value(QStringLiteral("NOME")).toString().left(35)},
        {QStringLiteral("WMorada1"), data.value(QStringLiteral("MORADA1")).toString().left(30)},
        {QStringLiteral("WMorada2"), data.value(QStringLiteral("MORADA2")).toString().left(30)},
        {QStringLiteral("WCodPostal"), data.value(QStringLiteral("CODPOSTAL")).toString().left(8)},
        {QStringLiteral("WLocalidade"), data.value(QStringLiteral("LOCALIDADE")).toString().left(30)}};
    const long long changed = accounting.exec(
        QStringLiteral("Update RECAPCLIMAS Set NOME = :WNome, MORADA1 = :WMorada1, MORADA2 = :WMorada2, "
                       "CODPOSTAL = :WCodPostal, LOCALIDADE = :WLocalidade Where ANO = :WAno and CONTRIB = :WContrib"),
        params);
    if (changed == 0) {
        accounting.exec(
            QStringLiteral("INSERT INTO RECAPCLIMAS (ANO,CONTRIB,NOME,MORADA1,MORADA2,CODPOSTAL,LOCALIDADE) "
                           "VALUES (:WAno,:WContrib,:WNome,:WMorada1,:WMorada2,:WCodPostal,:WLocalidade)"),
            params);
    }
}

// The account's chart row, its period rows and its recap, from the values an
// opening carries. An account in the chart is left as it is unless `update`:
// then its name, taxpayer, country, currency and map flag are brought up to
// date. The caller holds the transaction. True when the chart row was
// inserted or updated.
bool writeAccount(kv::db::Connection& accounting, const QVariantMap& data, bool update)
{
    const QString year = data.value(QStringLiteral("ANO")).toString();
    const QString account = data.value(QStringLiteral("CONTA")).toString();
    const QString currency = data.value(QStringLiteral("MOEDA")).toString();
    const kv::db::Params params{
        {QStringLiteral("WAno"), year},
        {QStringLiteral("WConta"), account},
        {QStringLiteral("WNome"), data.value(QStringLiteral("NOME")).toString().left(35)},
        {QStringLiteral("WTipo"), QStringLiteral("L")},
        {QStringLiteral("WGrau"), data.value(QStringLiteral("GRAU")).toInt()},
        {QStringLiteral("WMoeda"), currency},
        {QStringLiteral("WIntegra"), data.value(QStringLiteral("INTEGRA"))},
        {QStringLiteral("WContribSigla"), data.value(QStringLiteral("SIGLANIF"))},
        {QStringLiteral("WContrib"), data.value(QStringLiteral("NIF"))},
        {QStringLiteral("WPais"), data.value(QStringLiteral("PAIS"))},
        {QStringLiteral("WMapa"), underCustomerRecap(account) ? QStringLiteral("1") : QString()},
        {QStringLiteral("WCliNro"), data.value(QStringLiteral("CODIGO")).toInt()}};
    const bool present =
        accounting.scalar(QStringLiteral("SELECT 1 FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = :WConta"), params)
            .isValid();
    if (present && !update)
        return false;
    if (present) {
        accounting.exec(QStringLiteral("Update PLANOIDENT Set Nome = :WNome, ContribSigla = :WContribSigla, "
                                       "CODIGOCC = :WCliNro, Contrib = :WContrib, Pais = :WPais, Moeda = :WMoeda, "
                                       "Mapa = :WMapa Where ANO = :WAno and CONTA = :WConta"),
                        params);
    } else {
        accounting.exec(
            QStringLiteral("INSERT INTO PLANOIDENT (ANO,CONTA,NOME,TIPO,GRAU,MOEDA,INTEGRA,IVAANUAL,IVAPERIOD,"
                           "CONTRIBSIGLA,CONTRIB,CONTAREFLEX,PAIS,ANEXO,MAPA,CODIGOCC,CONTAEXPORT,RUBRICA,TIPOIVA,"
                           "CODIVA,TAXAIVA,IVABASETRIB) VALUES (:WAno,:WConta,:WNome,:WTipo,:WGrau,:WMoeda,:WIntegra,"
                           "'','',:WContribSigla,:WContrib,'',:WPais,'',:WMapa,:WCliNro,'','',0,0,0,'')"),
            params);
    }
    writeTotals(accounting, QStringLiteral("PLANOVAL"), 16, year, account);
    if (!currency.isEmpty())
        writeTotals(accounting, QStringLiteral("PLANOESTRG"), 14, year, account);
    if (underCustomerRecap(account))
        writeRecap(accounting, data);
    return true;
}

std::optional<CountryAccounts> countryFromRow(const kv::db::QueryResult& result)
{
    if (result.isEmpty())
        return std::nullopt;
    CountryAccounts country;
    country.country = text(result.value(0, QStringLiteral("PAIS")));
    country.taxPrefix = text(result.value(0, QStringLiteral("SIGLA")));
    country.market = text(result.value(0, QStringLiteral("MERCADO")));
    for (int n = 1; n <= 5; ++n) {
        country.roots[n - 1] = text(result.value(0, QStringLiteral("CLICONTA%1").arg(n))).trimmed();
        country.digits[n - 1] = result.value(0, QStringLiteral("CLIDIG%1").arg(n)).toInt();
        country.openFlags[n - 1] = text(result.value(0, QStringLiteral("CLIOPEN%1").arg(n)));
    }
    return country;
}

} // namespace

CustomerAccounts::CustomerAccounts(std::shared_ptr<kv::db::Connection> invoicing,
                                   std::shared_ptr<kv::db::Connection> accounting, QString year,
                                   kv::notify::MessageSink& messages, Status status)
    : m_invoicing(std::move(invoicing)), m_accounting(std::move(accounting)), m_year(std::move(year)),
      m_messages(messages), m_status(std::move(status))
{
}

AccountSwitches CustomerAccounts::readSwitches(kv::db::Connection& invoicing, const QString& year)
{
    const auto row = invoicing.query(QStringLiteral("SELECT CONTABILIDADE, CONTABAUTO FROM PARGER WHERE ANO = :WAno"),
                                     {{QStringLiteral("WAno"), year}});
    if (row.isEmpty())
        return {QStringLiteral("N"), QStringLiteral("N")};
    return {text(row.value(0, QStringLiteral("CONTABILIDADE"))), text(row.value(0, QStringLiteral("CONTABAUTO")))};
}

std::optional<CountryAccounts> CustomerAccounts::country(const QString& name) const
{
    return countryFromRow(m_invoicing->query(QStringLiteral("SELECT * FROM PAISES WHERE PAIS = :Pais"),
                                             {{QStringLiteral("Pais"), name}}));
}

std::optional<CountryAccounts> CustomerAccounts::countryOfPostalCode(const QString& postalCode) const
{
    const QVariant name =
        m_invoicing->scalar(QStringLiteral("SELECT PAIS FROM CODPOSTAL WHERE CODPOSTAL = :WCodPostal"),
                            {{QStringLiteral("WCodPostal"), postalCode}});
    if (!name.isValid())
        return std::nullopt;
    return country(text(name));
}

BuiltAccount CustomerAccounts::build(int n, const CountryAccounts& countryRow, const QString& customerPart,
                                     int minimumLevel) const
{
    BuiltAccount built;
    built.root = countryRow.roots[n - 1];
    const QVariant rootLevel =
        m_accounting->scalar(QStringLiteral("SELECT GRAU FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = :WConta"),
                             {{QStringLiteral("WAno"), m_year}, {QStringLiteral("WConta"), built.root}});
    if (!rootLevel.isValid()) {
        built.error = QStringLiteral("CONTA DE INTEGRAÇÃO (%1) INEXISTENTE : %2").arg(n).arg(built.root);
        return built;
    }
    const int digits = countryRow.digits[n - 1];
    if (digits < customerPart.size()) {
        built.error = QStringLiteral("Nº DE DIGITOS PARAMETRIZADOS INVÁLIDO = %1").arg(digits);
        return built;
    }
    built.level = rootLevel.toInt() + 1;
    if (built.level < minimumLevel) {
        built.error = QStringLiteral("GRAU DE CONTA INVÁLIDO = %1").arg(built.level);
        return built;
    }
    built.account = built.root + QString(digits - customerPart.size(), u'0') + customerPart;
    return built;
}

bool CustomerAccounts::exists(const QString& account) const
{
    return m_accounting
        ->scalar(QStringLiteral("SELECT 1 FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = :WConta"),
                 {{QStringLiteral("WAno"), m_year}, {QStringLiteral("WConta"), account}})
        .isValid();
}

bool CustomerAccounts::open(const BuiltAccount& built, const AccountCustomer& customer,
                            const CountryAccounts& countryRow)
{
    setStatus({});
    if (exists(built.account))
        return false;
    setStatus(QStringLiteral("GRAVAÇÃO CONTA Nº : ") + built.account);
    const QVariant locality =
        m_invoicing->scalar(QStringLiteral("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :WCodPostal"),
                            {{QStringLiteral("WCodPostal"), customer.postalCode}});
    const QVariantMap data{{QStringLiteral("ANO"), m_year},
                           {QStringLiteral("CONTA"), built.account},
                           {QStringLiteral("NOME"), customer.name},
                           {QStringLiteral("GRAU"), built.level},
                           {QStringLiteral("MOEDA"), customer.currency},
                           {QStringLiteral("INTEGRA"), built.root},
                           {QStringLiteral("SIGLANIF"), customer.taxPrefix},
                           {QStringLiteral("NIF"), customer.taxNumber},
                           {QStringLiteral("PAIS"), countryRow.country},
                           {QStringLiteral("CODIGO"), customer.code},
                           {QStringLiteral("MORADA1"), customer.address1},
                           {QStringLiteral("MORADA2"), customer.address2},
                           {QStringLiteral("CODPOSTAL"), customer.postalCode},
                           {QStringLiteral("LOCALIDADE"), text(locality)}};
    kv::db::Transaction transaction(*m_accounting);
    const bool written = writeAccount(*m_accounting, data, false);
    transaction.commit();
    setStatus({});
    return written;
}

AccountStep CustomerAccounts::createAutomatically(int n, const AccountCustomer& customer, bool newCustomer,
                                                  const QString& accountInEdit)
{
    AccountStep step;
    if (!newCustomer) {
        if (exists(accountInEdit))
            step.editEnabled = step.buttonEnabled = false;
        return step;
    }
    const std::optional<CountryAccounts> countryRow = countryOfPostalCode(customer.postalCode);
    if (!countryRow || countryRow->roots[n - 1].isEmpty()) {
        step.assign = true; // edit n emptied
        step.editEnabled = step.buttonEnabled = false;
        return step;
    }
    const BuiltAccount built = build(n, *countryRow, customerPart(customer), minimumAutomaticLevel(n));
    if (!built.ok()) {
        m_messages.fail(built.error);
        step.error = true;
        return step;
    }
    step.assign = true;
    step.account = built.account;
    if (countryRow->openFlags[n - 1] != QLatin1String("N")) {
        step.written = open(built, customer, *countryRow);
        step.buttonEnabled = false;
    }
    return step;
}

AccountStep CustomerAccounts::openButton(int n, const AccountCustomer& customer, bool insertMode)
{
    AccountStep step;
    const std::optional<CountryAccounts> countryRow = countryOfPostalCode(customer.postalCode);
    if (!countryRow || countryRow->roots[n - 1].isEmpty()) {
        step.assign = insertMode;
        step.editEnabled = step.buttonEnabled = false;
        return step;
    }
    const BuiltAccount built = build(n, *countryRow, customerPart(customer), 2);
    if (!built.ok()) {
        m_messages.fail(built.error);
        step.error = true;
        return step;
    }
    step.assign = true;
    step.account = built.account;
    step.written = open(built, customer, *countryRow);
    step.buttonEnabled = false;
    return step;
}

BulkRunResult CustomerAccounts::openAll(kv::db::TwoDatabaseWork& work, const QString& user, const Progress& progress)
{
    BulkRunResult result;
    setStatus({});
    const int total = m_invoicing->scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES")).toInt();
    // Postal codes and their countries, read once per run.
    struct PostalCode {
        bool found = false;
        QString locality;
        std::optional<CountryAccounts> country;
    };
    QHash<QString, PostalCode> postalCodes;
    long long last = std::numeric_limits<int>::min();
    for (;;) {
        const auto page = m_invoicing->query(
            QStringLiteral("SELECT CODIGO, NOME, MOEDA, NIF, SIGLANIF, MORADA1, MORADA2, CODPOSTAL, CONTA1, CONTA2, "
                           "CONTA3, CONTA4, CONTA5 FROM CLIENTES WHERE CODIGO > :WLast ORDER BY CODIGO LIMIT %1")
                .arg(PageSize),
            {{QStringLiteral("WLast"), last}});
        if (page.isEmpty())
            break;
        for (std::size_t r = 0; r < page.rows.size(); ++r) {
            const int code = page.value(r, QStringLiteral("CODIGO")).toInt();
            last = code;
            const QString postalCode = text(page.value(r, QStringLiteral("CODPOSTAL")));
            if (!postalCodes.contains(postalCode)) {
                const auto row = m_invoicing->query(
                    QStringLiteral("SELECT PAIS, LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :WCodPostal"),
                    {{QStringLiteral("WCodPostal"), postalCode}});
                PostalCode entry;
                if (!row.isEmpty()) {
                    entry.found = true;
                    entry.locality = text(row.value(0, QStringLiteral("LOCALIDADE")));
                    entry.country = country(text(row.value(0, QStringLiteral("PAIS"))));
                }
                postalCodes.insert(postalCode, entry);
            }
            const PostalCode& postal = postalCodes[postalCode];
            for (int n = 1; n <= 5; ++n) {
                if (!postal.found) {
                    result.messages << QStringLiteral("CODIGO POSTAL INEX,CLIENTE: %1").arg(code);
                    continue;
                }
                if (!postal.country) {
                    result.messages << QStringLiteral("PAÍS INEX, CODIGO POSTAL: %1").arg(postalCode);
                    continue;
                }
                const CountryAccounts* countryRow = &*postal.country;
                if (countryRow->roots[n - 1].isEmpty())
                    continue;
                const BuiltAccount built = build(n, *countryRow, QString::number(code), 2);
                if (!built.ok()) {
                    result.messages << built.error;
                    continue;
                }
                if (!exists(built.account) && countryRow->openFlags[n - 1] == QLatin1String("N"))
                    continue;
                setStatus(QStringLiteral("ABERTURA/ALTERAÇÃO DA CONTA : ") + built.account);
                const QVariantMap data{
                    {QStringLiteral("ANO"), m_year},
                    {QStringLiteral("CONTA"), built.account},
                    {QStringLiteral("INDICE"), n},
                    {QStringLiteral("ANTERIOR"), text(page.value(r, QStringLiteral("CONTA%1").arg(n)))},
                    {QStringLiteral("NOME"), text(page.value(r, QStringLiteral("NOME")))},
                    {QStringLiteral("GRAU"), built.level},
                    {QStringLiteral("MOEDA"), text(page.value(r, QStringLiteral("MOEDA")))},
                    {QStringLiteral("INTEGRA"), built.root},
                    {QStringLiteral("SIGLANIF"), countryRow->taxPrefix},
                    {QStringLiteral("NIF"), text(page.value(r, QStringLiteral("NIF")))},
                    {QStringLiteral("PAIS"), countryRow->country},
                    {QStringLiteral("CODIGO"), code},
                    {QStringLiteral("MORADA1"), text(page.value(r, QStringLiteral("MORADA1")))},
                    {QStringLiteral("MORADA2"), text(page.value(r, QStringLiteral("MORADA2")))},
                    {QStringLiteral("CODPOSTAL"), postalCode},
                    {QStringLiteral("LOCALIDADE"), postal.locality}};
                const kv::db::TwoDatabaseResult outcome = work.run(
                    BulkKind, QStringLiteral("Conta %1 do cliente %2").arg(built.account).arg(code), user,
                    [&](kv::db::Connection& invoicing) {
                        invoicing.exec(
                            QStringLiteral("UPDATE CLIENTES SET CONTA%1 = :WConta Where CODIGO = :WCodigo").arg(n),
                            {{QStringLiteral("WConta"), built.account}, {QStringLiteral("WCodigo"), code}});
                        return data;
                    });
                if (outcome.status == kv::db::TwoDatabaseResult::Status::Done)
                    ++result.accountsWritten;
                else
                    result.messages << outcome.message;
            }
            ++result.customers;
            if (progress)
                progress(result.customers, total);
        }
    }
    setStatus({});
    return result;
}

kv::db::TwoDatabaseKind CustomerAccounts::bulkAccountKind()
{
    kv::db::TwoDatabaseKind kind;
    kind.name = BulkKind;
    kind.first = kv::db::role::invoicing();
    kind.second = kv::db::role::accounting();
    kind.secondStep = [](kv::db::Connection& accounting, const kv::db::TwoDatabaseOperation& operation) {
        writeAccount(accounting, operation.data, true);
    };
    kind.compensate = [](kv::db::Connection& invoicing, const kv::db::TwoDatabaseOperation& operation, const QString&) {
        const QVariantMap& data = operation.data;
        invoicing.exec(QStringLiteral("UPDATE CLIENTES SET CONTA%1 = :WAnterior Where CODIGO = :WCodigo")
                           .arg(data.value(QStringLiteral("INDICE")).toInt()),
                       {{QStringLiteral("WAnterior"), data.value(QStringLiteral("ANTERIOR"))},
                        {QStringLiteral("WCodigo"), data.value(QStringLiteral("CODIGO")).toInt()}});
    };
    return kind;
}

QString CustomerAccounts::postingAccountsSql()
{
    return QStringLiteral("SELECT CONTA, NOME, TIPO FROM PLANOIDENT WHERE ANO = :YANO AND CONTA >= '21' "
                          "AND CONTA <= '219999999999' AND TIPO = 'L' ORDER BY NOME");
}

kv::db::Params CustomerAccounts::postingAccountsParams() const { return {{QStringLiteral("YANO"), m_year}}; }

QString CustomerAccounts::customerPart(const AccountCustomer& customer)
{
    return customer.codeText.isEmpty() ? QString::number(customer.code) : customer.codeText;
}

void CustomerAccounts::setStatus(const QString& statusText) const
{
    if (m_status)
        m_status(statusText);
}

} // namespace kv::customers
