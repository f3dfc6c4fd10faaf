// A new customer's save and the bulk accounts run ("Conta&b") on an
// invoicing and an accounting database (SQLite files, or two databases of the
// test server), each against the same statements sent through the bare
// connections in the same run.
//
// The save: 20,000 customers, 1,000 postal codes of one country whose first
// three customer accounts are opened automatically, and a year's chart of the
// 60,000 accounts those customers hold. From the new number accepted (its
// claim and the department contacts' rows) to the row stored: the taxpayer
// check, the save's checks, the three new accounts opened in the chart with
// their period totals and the recap, then the customer row, its contacts and
// the claim's end in one transaction.
//
// The bulk run: the same chart, and a file of 200 customers whose three
// accounts each are missing from it (600 two-database operations: the
// customer's account column with the pending record, the chart row, period
// totals and recap with the journal row, the pending record cleared). The
// chart is brought back between runs outside the timing.
#include "customers/core/CustomerFile.h"
#include "customers/core/CustomerSaveStep.h"
#include "customers/parts/CustomerAccounts.h"
#include "customers/parts/DepartmentContacts.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/SqlDialect.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"
#include "support/BenchDatabase.h"
#include "support/EmbeddedDatabase.h"

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QUuid>
#include <map>

namespace {

using kv::bench::numbers;
using kv::db::Dialect;

constexpr int Customers = 20000;
constexpr int BulkCustomers = 200;
constexpr int BulkFirst = 30001; // the bulk file's numbers, above the chart's customers
constexpr int PostalCodes = 1000;
constexpr int Accounts = 3; // customer accounts a country opens
const QString Year = QStringLiteral("2026");
const QString User = QStringLiteral("ANA");
const QString Workstation = QStringLiteral("POSTO1");
const char* const Roots[Accounts] = {"2111", "2181", "2191"};

class Quiet : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override {}
    void information(const QString&) override {}
};

// The customer's number padded to six digits, in each engine's words.
QString sixDigits(const QString& number)
{
    return QStringLiteral("SUBSTR(CAST(1000000 + %1 AS VARCHAR(7)), 2, 6)").arg(number);
}

QString postalCodeOf(const QString& number)
{
    return QStringLiteral("CAST(1000 + (%1) % %2 AS VARCHAR(4)) || '-100'").arg(number).arg(PostalCodes);
}

struct Company {
    kv::bench::BenchDatabase invoicingDatabase;
    kv::bench::BenchDatabase accountingDatabase;
    std::shared_ptr<kv::db::Connection> invoicing = invoicingDatabase.connection;
    std::shared_ptr<kv::db::Connection> accounting = accountingDatabase.connection;
    kv::db::TwoDatabaseKinds kinds;

    // `first` to `last` are the customers of the file.
    Company(Dialect dialect, const QString& name, int first, int last)
        : invoicingDatabase(dialect, QStringLiteral("kv_bench_%1_inv").arg(name), QStringLiteral("PRDXFACTUR01")),
          accountingDatabase(dialect, QStringLiteral("kv_bench_%1_acc").arg(name), QStringLiteral("PRDXCONTAB01"))
    {
        kv::bench::createTables(
            *invoicing, kv::schema::Database::Invoicing,
            {"CLIENTES", "RESERVAS", "CODPOSTAL", "PAISES", "VENDEDORES", "CONTACTOS", "OPERPENDENTE"});
        kv::bench::createTables(*accounting, kv::schema::Database::Accounting,
                                {"PLANOIDENT", "PLANOVAL", "PLANOESTRG", "RECAPCLIMAS", "OPERDIARIO"});
        kinds.add(kv::customers::CustomerAccounts::bulkAccountKind());
        {
            kv::db::Connection& db = *invoicing;
            kv::db::Transaction transaction(db);
            db.exec(QStringLiteral(
                "INSERT INTO PAISES (PAIS, SIGLA, MERCADO, CLICONTA1, CLIDIG1, CLIOPEN1, CLICONTA2, CLIDIG2, "
                "CLIOPEN2, CLICONTA3, CLIDIG3, CLIOPEN3) VALUES ('PORTUGAL', 'PT', 'N', '2111', 6, 'S', '2181', 6, "
                "'S', '2191', 6, 'S')"));
            db.exec(QStringLiteral("INSERT INTO VENDEDORES (CODIGO, NOME) VALUES (1, 'Vendedor')"));
            db.exec(numbers(PostalCodes)
                    + QStringLiteral("INSERT INTO CODPOSTAL (CODPOSTAL, LOCALIDADE, PAIS) SELECT %1, 'PORTO', "
                                     "'PORTUGAL' FROM N")
                          .arg(postalCodeOf(QStringLiteral("I"))));
            db.exec(numbers(last - first + 1)
                    + QStringLiteral("INSERT INTO CLIENTES (CODIGO, NOME, SIGLA, MORADA1, CODPOSTAL, NIF, VENDEDOR) "
                                     "SELECT %1 + I - 1, 'Cliente ' || CAST(I AS VARCHAR(9)), 'CLI', 'Rua 1', %2, "
                                     "CAST(500000000 + %1 + I AS VARCHAR(9)), 1 FROM N")
                          .arg(first)
                          .arg(postalCodeOf(QStringLiteral("I"))));
            transaction.commit();
        }
        kv::db::Connection& db = *accounting;
        kv::db::Transaction transaction(db);
        for (const char* root : {"21", "211", "218", "219"})
            db.exec(QStringLiteral("INSERT INTO PLANOIDENT (ANO, CONTA, NOME, TIPO, GRAU) VALUES (:A, :C, 'Clientes', "
                                   "'R', :G)"),
                    {{"A", Year}, {"C", QString::fromLatin1(root)}, {"G", int(qstrlen(root)) - 1}});
        for (const char* root : Roots) {
            db.exec(QStringLiteral("INSERT INTO PLANOIDENT (ANO, CONTA, NOME, TIPO, GRAU) VALUES (:A, :C, 'Clientes', "
                                   "'R', 3)"),
                    {{"A", Year}, {"C", QString::fromLatin1(root)}});
            db.exec(numbers(Customers)
                        + QStringLiteral("INSERT INTO PLANOIDENT (ANO, CONTA, NOME, TIPO, GRAU, CODIGOCC) SELECT :A, "
                                         "'%1' || %2, 'Cliente', 'L', 4, I FROM N")
                              .arg(QString::fromLatin1(root), sixDigits(QStringLiteral("I"))),
                    {{"A", Year}});
        }
        transaction.commit();
        if (dialect == Dialect::Postgres) {
            invoicing->exec(QStringLiteral("ANALYZE"));
            accounting->exec(QStringLiteral("ANALYZE"));
        }
    }

    // The chart as it was made: the accounts, totals, recaps and journal rows
    // of the customers above the chart's own removed.
    void resetChart()
    {
        kv::db::Transaction transaction(*accounting);
        accounting->exec(QStringLiteral("DELETE FROM PLANOIDENT WHERE CODIGOCC > %1").arg(Customers));
        for (const char* table : {"PLANOVAL", "RECAPCLIMAS", "OPERDIARIO"})
            accounting->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        transaction.commit();
    }
};

std::map<std::pair<Dialect, bool>, std::unique_ptr<Company>>& companies()
{
    static std::map<std::pair<Dialect, bool>, std::unique_ptr<Company>> all;
    return all;
}

Company* companyFor(benchmark::State& state, bool bulk)
{
    if (!kv::bench::engineAvailable(state))
        return nullptr;
    const Dialect dialect = kv::bench::dialectOf(state);
    auto& company = companies()[{dialect, bulk}];
    if (!company)
        company = bulk ? std::make_unique<Company>(dialect, QStringLiteral("bulkacc"), BulkFirst,
                                                   BulkFirst + BulkCustomers - 1)
                       : std::make_unique<Company>(dialect, QStringLiteral("custsave"), 1, Customers);
    return company.get();
}

// What is typed for a new customer.
struct Typed {
    int number;
    QString name() const { return QStringLiteral("Cliente Novo %1").arg(number); }
    QString taxpayer() const { return QString::number(600000000 + number); }
    QString postalCode() const { return QStringLiteral("%1-100").arg(1000 + number % PostalCodes); }
};

QList<kv::customers::ContactDetails> contactsTyped()
{
    return {{QStringLiteral("Ana Silva"),
             QStringLiteral("220000000"),
             {},
             QStringLiteral("910000000"),
             QStringLiteral("ana@cliente.pt")},
            {QStringLiteral("Rui Costa"), QStringLiteral("220000001"), {}, {}, QStringLiteral("rui@cliente.pt")}};
}

class ContactsStep : public kv::customers::CustomerSaveStep {
public:
    void store(kv::db::Connection& invoicing, int customer) override
    {
        kv::customers::DepartmentContacts::customers().write(invoicing, customer, contactsTyped());
    }
};

void BM_NewCustomerSave(benchmark::State& state)
{
    Company* company = companyFor(state, false);
    if (!company)
        return;
    Quiet quiet;
    kv::customers::CustomerFile file(company->invoicing, Workstation, User);
    const kv::customers::DepartmentContacts contacts = kv::customers::DepartmentContacts::customers();
    kv::db::Dataset customers(QStringLiteral("CLIENTES"));
    customers.setConnection(company->invoicing);
    customers.setSql(QStringLiteral("SELECT * FROM CLIENTES WHERE CODIGO = :C"));
    customers.setParam(QStringLiteral("C"), 0);
    customers.setMode(kv::db::DatasetMode::Cached);
    customers.setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("CLIENTES"), company->invoicing->tableColumns().value(QStringLiteral("CLIENTES")),
        {QStringLiteral("CODIGO")}));
    customers.open();
    ContactsStep step;
    int number = file.proposeNumber();
    for (auto _ : state) {
        const Typed typed{number++};
        if (file.acceptNumber(typed.number) != kv::customers::CustomerFile::NumberCheck::Accepted) {
            state.SkipWithError("número recusado");
            return;
        }
        contacts.createMissing(*company->invoicing, typed.number);
        customers.append();
        customers.setValue(QStringLiteral("CODIGO"), typed.number);
        customers.setValue(QStringLiteral("NOME"), typed.name());
        customers.setValue(QStringLiteral("SIGLA"), QStringLiteral("NOVO"));
        customers.setValue(QStringLiteral("MORADA1"), QStringLiteral("Rua 2"));
        customers.setValue(QStringLiteral("CODPOSTAL"), typed.postalCode());
        customers.setValue(QStringLiteral("NIF"), typed.taxpayer());
        customers.setValue(QStringLiteral("VENDEDOR"), 1);
        benchmark::DoNotOptimize(file.taxpayerHolder(typed.taxpayer(), typed.number));
        if (file.saveRefusal(customers)) {
            state.SkipWithError("gravação recusada");
            return;
        }
        kv::customers::CustomerAccounts accounts(company->invoicing, company->accounting, Year, quiet);
        const kv::customers::AccountCustomer customer{typed.number,
                                                      QString::number(typed.number),
                                                      typed.name(),
                                                      {},
                                                      {},
                                                      typed.taxpayer(),
                                                      QStringLiteral("Rua 2"),
                                                      {},
                                                      typed.postalCode()};
        for (int n = 1; n <= 5; ++n) {
            const kv::customers::AccountStep account = accounts.createAutomatically(n, customer, true, {});
            if (account.assign)
                customers.setValue(QStringLiteral("CONTA%1").arg(n), account.account);
        }
        if (!file.store(customers, true, {&step})) {
            state.SkipWithError("cliente não gravado");
            return;
        }
    }
}
BENCHMARK(BM_NewCustomerSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The period totals' insert of an account, as the accounts write it.
QString totalsInsert()
{
    QStringList columns;
    QStringList zeros;
    for (int i = 0; i < 16; ++i) {
        columns << QStringLiteral("AcuDeb%1,AcuCre%1").arg(i);
        zeros << QStringLiteral("0,0");
    }
    return QStringLiteral("INSERT INTO PLANOVAL (ANO,CONTA,TIPO,%1) VALUES (:WAno,:WConta,:WTipo,%2)")
        .arg(columns.join(u','), zeros.join(u','));
}

const QString ChartInsert = QStringLiteral(
    "INSERT INTO PLANOIDENT (ANO,CONTA,NOME,TIPO,GRAU,MOEDA,INTEGRA,IVAANUAL,IVAPERIOD,CONTRIBSIGLA,CONTRIB,"
    "CONTAREFLEX,PAIS,ANEXO,MAPA,CODIGOCC,CONTAEXPORT,RUBRICA,TIPOIVA,CODIVA,TAXAIVA,IVABASETRIB) VALUES (:WAno,"
    ":WConta,:WNome,:WTipo,:WGrau,:WMoeda,:WIntegra,'','',:WContribSigla,:WContrib,'',:WPais,'',:WMapa,:WCliNro,'',"
    "'',0,0,0,'')");

// An account's chart row, period totals and (under "211") recap, as bare
// statements inside the caller's transaction.
void bareAccountRows(kv::db::Connection& db, const QString& account, const QString& root, int customer,
                     const QString& name, const QString& taxpayer, const QString& postalCode)
{
    const kv::db::Params key{{"WAno", Year}, {"WConta", account}};
    benchmark::DoNotOptimize(db.scalar("SELECT 1 FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = :WConta", key));
    const bool recap = account.startsWith(QLatin1String("211"));
    db.exec(ChartInsert, {{"WAno", Year},
                          {"WConta", account},
                          {"WNome", name},
                          {"WTipo", "L"},
                          {"WGrau", 4},
                          {"WMoeda", QString()},
                          {"WIntegra", root},
                          {"WContribSigla", "PT"},
                          {"WContrib", taxpayer},
                          {"WPais", "PORTUGAL"},
                          {"WMapa", recap ? QStringLiteral("1") : QString()},
                          {"WCliNro", customer}});
    benchmark::DoNotOptimize(db.scalar("SELECT 1 FROM PLANOVAL WHERE ANO = :WAno AND CONTA = :WConta", key));
    static const QString totals = totalsInsert();
    db.exec(totals, {{"WAno", Year}, {"WConta", account}, {"WTipo", "L"}});
    if (!recap)
        return;
    const kv::db::Params recapParams{{"WAno", Year},          {"WContrib", taxpayer},  {"WNome", name},
                                     {"WMorada1", "Rua 2"},   {"WMorada2", QString()}, {"WCodPostal", postalCode},
                                     {"WLocalidade", "PORTO"}};
    if (db.exec("Update RECAPCLIMAS Set NOME = :WNome, MORADA1 = :WMorada1, MORADA2 = :WMorada2, CODPOSTAL = "
                ":WCodPostal, LOCALIDADE = :WLocalidade Where ANO = :WAno and CONTRIB = :WContrib",
                recapParams)
        == 0)
        db.exec("INSERT INTO RECAPCLIMAS (ANO,CONTRIB,NOME,MORADA1,MORADA2,CODPOSTAL,LOCALIDADE) VALUES (:WAno,"
                ":WContrib,:WNome,:WMorada1,:WMorada2,:WCodPostal,:WLocalidade)",
                recapParams);
}

QString accountOf(const char* root, int customer)
{
    return QString::fromLatin1(root) + QStringLiteral("%1").arg(customer, 6, 10, QLatin1Char('0'));
}

void BM_BareNewCustomerSave(benchmark::State& state)
{
    Company* company = companyFor(state, false);
    if (!company)
        return;
    kv::db::Connection& inv = *company->invoicing;
    kv::db::Connection& acc = *company->accounting;
    const QStringList columns = inv.tableColumns().value(QStringLiteral("CLIENTES"));
    QStringList names;
    QStringList markers;
    for (const QString& column : columns) {
        names << kv::db::sql::identifier(inv.dialect(), column);
        markers << QLatin1Char(':') + column;
    }
    const QString customerInsert =
        QStringLiteral("INSERT INTO CLIENTES (%1) VALUES (%2)").arg(names.join(u','), markers.join(u','));
    const kv::customers::DepartmentContacts contacts = kv::customers::DepartmentContacts::customers();
    const QList<kv::customers::ContactDetails> typedContacts = contactsTyped();
    int number = inv.scalar("SELECT MAX(CODIGO) FROM CLIENTES").toInt() + 1;
    for (auto _ : state) {
        const Typed typed{number++};
        const kv::db::Params claim{{"TABELA", "CLIENTES"}, {"CHAVE", QString::number(typed.number)}};
        {
            kv::db::Transaction transaction(inv);
            benchmark::DoNotOptimize(inv.query("SELECT 1 FROM CLIENTES WHERE CODIGO = :C", {{"C", typed.number}}));
            benchmark::DoNotOptimize(
                inv.query("SELECT POSTO FROM RESERVAS WHERE TABELA = :TABELA AND CHAVE = :CHAVE", claim));
            kv::db::Params row = claim;
            row.set("POSTO", Workstation);
            row.set("UTIL", User);
            row.set("DATAHORA", QDateTime::currentDateTime());
            inv.exec("INSERT INTO RESERVAS (TABELA, CHAVE, POSTO, UTIL, DATAHORA) VALUES (:TABELA, :CHAVE, :POSTO, "
                     ":UTIL, :DATAHORA)",
                     row);
            transaction.commit();
        }
        const kv::db::Params entity{{"WTipoEnt", "C"}, {"WCodigo", typed.number}};
        {
            kv::db::Transaction transaction(inv);
            benchmark::DoNotOptimize(
                inv.query("SELECT DESCRICAO FROM CONTACTOS WHERE TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo", entity));
            for (const kv::customers::Department& department : contacts.departments()) {
                kv::db::Params row = entity;
                row.set("WDescricao", department.name);
                inv.exec("INSERT INTO CONTACTOS (TIPOENT,ENTIDADE,DESCRICAO) VALUES (:WTipoEnt,:WCodigo,:WDescricao)",
                         row);
            }
            transaction.commit();
        }
        // The save's checks.
        benchmark::DoNotOptimize(inv.scalar("SELECT MIN(CODIGO) FROM CLIENTES WHERE NIF = :NIF AND CODIGO <> :C",
                                            {{"NIF", typed.taxpayer()}, {"C", typed.number}}));
        benchmark::DoNotOptimize(inv.query("SELECT 1 FROM VENDEDORES WHERE CODIGO = 1"));
        const QString place = QStringLiteral(
            "SELECT C.LOCALIDADE, C.ZONAGEOGRAF, C.REGIAO, C.PROVINCIA, C.TELCODZONA, C.PAIS, P.PAIS AS PAISPAIS, "
            "P.MERCADO, P.SIGLA, P.TELCODPAIS FROM CODPOSTAL C LEFT JOIN PAISES P ON P.PAIS = C.PAIS WHERE "
            "C.CODPOSTAL = :CODPOSTAL");
        const kv::db::Params postal{{"CODPOSTAL", typed.postalCode()}};
        benchmark::DoNotOptimize(inv.query(place, postal));
        // The accounts, each step reading the country of the postal code.
        for (int n = 1; n <= 5; ++n) {
            benchmark::DoNotOptimize(inv.scalar("SELECT PAIS FROM CODPOSTAL WHERE CODPOSTAL = :CODPOSTAL", postal));
            benchmark::DoNotOptimize(inv.query("SELECT * FROM PAISES WHERE PAIS = 'PORTUGAL'"));
            if (n > Accounts)
                continue;
            const char* root = Roots[n - 1];
            const QString account = accountOf(root, typed.number);
            benchmark::DoNotOptimize(acc.scalar("SELECT GRAU FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = :WConta",
                                                {{"WAno", Year}, {"WConta", QString::fromLatin1(root)}}));
            benchmark::DoNotOptimize(acc.scalar("SELECT 1 FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = :WConta",
                                                {{"WAno", Year}, {"WConta", account}}));
            benchmark::DoNotOptimize(
                inv.scalar("SELECT LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :CODPOSTAL", postal));
            kv::db::Transaction transaction(acc);
            bareAccountRows(acc, account, QString::fromLatin1(root), typed.number, typed.name(), typed.taxpayer(),
                            typed.postalCode());
            transaction.commit();
        }
        // The row, its contacts and the claim's end in one transaction.
        benchmark::DoNotOptimize(inv.query(place, postal));
        kv::db::Transaction transaction(inv);
        for (qsizetype i = 0; i < contacts.departments().size(); ++i) {
            const kv::customers::ContactDetails details =
                i < typedContacts.size() ? typedContacts[i] : kv::customers::ContactDetails{};
            kv::db::Params row = entity;
            row.set("WDescricao", contacts.departments()[i].name);
            row.set("WContacto", details.contact);
            row.set("WTelefone", details.telephone);
            row.set("WTelfax", details.fax);
            row.set("WTelemovel", details.mobile);
            row.set("WEmail", details.email);
            inv.exec("UPDATE CONTACTOS SET CONTACTO = :WContacto, TELEFONE = :WTelefone, TELFAX = :WTelfax, "
                     "TELEMOVEL = :WTelemovel, EMAIL = :WEmail WHERE TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo AND "
                     "DESCRICAO = :WDescricao",
                     row);
        }
        kv::db::Params release = claim;
        release.set("POSTO", Workstation);
        inv.exec("DELETE FROM RESERVAS WHERE TABELA = :TABELA AND CHAVE = :CHAVE AND POSTO = :POSTO", release);
        kv::db::Params row;
        for (const QString& column : columns)
            row.set(column, QVariant());
        const QVariantMap values{{"CODIGO", typed.number},
                                 {"NOME", typed.name()},
                                 {"SIGLA", "NOVO"},
                                 {"MORADA1", "Rua 2"},
                                 {"CODPOSTAL", typed.postalCode()},
                                 {"NIF", typed.taxpayer()},
                                 {"VENDEDOR", 1},
                                 {"PAIS", "PORTUGAL"},
                                 {"MERCADO", "N"},
                                 {"SIGLANIF", "PT"},
                                 {"GRP_FAC", 9},
                                 {"GRP_MRG", 9},
                                 {"GRP_DIA", 9},
                                 {"AGENTE", 0},
                                 {"CONTA1", accountOf(Roots[0], typed.number)},
                                 {"CONTA2", accountOf(Roots[1], typed.number)},
                                 {"CONTA3", accountOf(Roots[2], typed.number)}};
        for (auto it = values.begin(); it != values.end(); ++it)
            for (const QString& column : columns)
                if (column.compare(it.key(), Qt::CaseInsensitive) == 0)
                    row.set(column, it.value());
        inv.exec(customerInsert, row);
        transaction.commit();
    }
}
BENCHMARK(BM_BareNewCustomerSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BulkAccountsRun(benchmark::State& state)
{
    Company* company = companyFor(state, true);
    if (!company)
        return;
    Quiet quiet;
    kv::db::TwoDatabaseWork work(company->kinds, {{kv::db::role::invoicing(), company->invoicing},
                                                  {kv::db::role::accounting(), company->accounting}});
    for (auto _ : state) {
        state.PauseTiming();
        company->resetChart();
        state.ResumeTiming();
        kv::customers::CustomerAccounts accounts(company->invoicing, company->accounting, Year, quiet);
        const kv::customers::BulkRunResult result = accounts.openAll(work, User);
        if (result.accountsWritten != BulkCustomers * Accounts) {
            state.SkipWithError("contas não abertas");
            return;
        }
    }
}
BENCHMARK(BM_BulkAccountsRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// The run's statements bare: the file read a page at a time, the postal code
// and its country once, and for each account the root and the account looked
// up, then the three steps of a two-database operation.
void BM_BareBulkAccountsRun(benchmark::State& state)
{
    Company* company = companyFor(state, true);
    if (!company)
        return;
    kv::db::Connection& inv = *company->invoicing;
    kv::db::Connection& acc = *company->accounting;
    for (auto _ : state) {
        state.PauseTiming();
        company->resetChart();
        state.ResumeTiming();
        benchmark::DoNotOptimize(inv.scalar("SELECT COUNT(*) FROM CLIENTES"));
        QSet<QString> postalCodes;
        long long last = 0;
        for (;;) {
            const kv::db::QueryResult page =
                inv.query("SELECT CODIGO, NOME, MOEDA, NIF, SIGLANIF, MORADA1, MORADA2, CODPOSTAL, CONTA1, CONTA2, "
                          "CONTA3, CONTA4, CONTA5 FROM CLIENTES WHERE CODIGO > :WLast ORDER BY CODIGO LIMIT 500",
                          {{"WLast", last}});
            if (page.isEmpty())
                break;
            for (const auto& row : page.rows) {
                const int code = row.at(0).toInt();
                last = code;
                const QString name = row.at(1).toString();
                const QString taxpayer = row.at(3).toString();
                const QString postalCode = row.at(7).toString();
                if (!postalCodes.contains(postalCode)) {
                    postalCodes.insert(postalCode);
                    benchmark::DoNotOptimize(
                        inv.query("SELECT PAIS, LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL = :P", {{"P", postalCode}}));
                    benchmark::DoNotOptimize(inv.query("SELECT * FROM PAISES WHERE PAIS = 'PORTUGAL'"));
                }
                for (int n = 1; n <= Accounts; ++n) {
                    const QString root = QString::fromLatin1(Roots[n - 1]);
                    const QString account = accountOf(Roots[n - 1], code);
                    benchmark::DoNotOptimize(acc.scalar("SELECT GRAU FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = "
                                                        ":WConta",
                                                        {{"WAno", Year}, {"WConta", root}}));
                    benchmark::DoNotOptimize(acc.scalar("SELECT 1 FROM PLANOIDENT WHERE ANO = :WAno AND CONTA = "
                                                        ":WConta",
                                                        {{"WAno", Year}, {"WConta", account}}));
                    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
                    {
                        kv::db::Transaction transaction(inv);
                        inv.exec(QStringLiteral("UPDATE CLIENTES SET CONTA%1 = :WConta Where CODIGO = :WCodigo").arg(n),
                                 {{"WConta", account}, {"WCodigo", code}});
                        inv.exec(
                            "INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) VALUES "
                            "(:I, 'customer-accounts', :D, :J, :U, :T)",
                            {{"I", id},
                             {"D", QStringLiteral("Conta %1 do cliente %2").arg(account).arg(code)},
                             {"J", QStringLiteral("{\"ANO\":\"%1\",\"CONTA\":\"%2\",\"INDICE\":%3,\"ANTERIOR\":\"\","
                                                  "\"NOME\":\"%4\",\"GRAU\":4,\"MOEDA\":\"\",\"INTEGRA\":\"%5\","
                                                  "\"SIGLANIF\":\"PT\",\"NIF\":\"%6\",\"PAIS\":\"PORTUGAL\","
                                                  "\"CODIGO\":%7,\"MORADA1\":\"Rua 1\",\"MORADA2\":\"\","
                                                  "\"CODPOSTAL\":\"%8\",\"LOCALIDADE\":\"PORTO\"}")
                                       .arg(Year, account)
                                       .arg(n)
                                       .arg(name, root, taxpayer)
                                       .arg(code)
                                       .arg(postalCode)},
                             {"U", User},
                             {"T", QDateTime::currentDateTime()}});
                        transaction.commit();
                    }
                    const kv::db::Params operation{{"OPERID", id}};
                    benchmark::DoNotOptimize(
                        acc.query("SELECT ESTADO, MOTIVO FROM OPERDIARIO WHERE OPERID = :OPERID", operation));
                    {
                        kv::db::Transaction transaction(acc);
                        acc.exec("INSERT INTO OPERDIARIO (OPERID, TIPO, DESCRICAO, UTIL, DATAHORA, ESTADO, MOTIVO) "
                                 "VALUES (:I, 'customer-accounts', 'Conta', :U, :T, 'C', NULL) ON CONFLICT (OPERID) "
                                 "DO NOTHING",
                                 {{"I", id}, {"U", User}, {"T", QDateTime::currentDateTime()}});
                        bareAccountRows(acc, account, root, code, name, taxpayer, postalCode);
                        transaction.commit();
                    }
                    benchmark::DoNotOptimize(
                        acc.query("SELECT ESTADO, MOTIVO FROM OPERDIARIO WHERE OPERID = :OPERID", operation));
                    inv.exec("DELETE FROM OPERPENDENTE WHERE OPERID = :OPERID", operation);
                }
            }
        }
    }
}
BENCHMARK(BM_BareBulkAccountsRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return kv::bench::runBenchmarks(
        argc, argv, [] {}, [] { companies().clear(); });
}
