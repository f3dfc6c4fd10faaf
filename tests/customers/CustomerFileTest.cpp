// The customer file's reads and writes on both engines: new numbers and
// their claims between workstations, the taxpayer check, the country a
// customer's postal code gives, the save's checks in their order and the
// save's one transaction.
#include "customers/core/CustomerFile.h"
#include "customers/core/CustomerSaveStep.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "shell/ShellDataModules.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::customers::CustomerFile;
using kv::test::Engine;
using Check = CustomerFile::NumberCheck;

namespace {

struct Company {
    explicit Company(Engine engine)
    {
        scenario.createInstallation(engine);
        db = scenario.invoicingDatabase();
        kv::test::insertRows(*db, "PAISES", {"PAIS", "SIGLA", "MERCADO", "TELCODPAIS"},
                             {{"PORTUGAL", "PT", "N", "351"}, {"ESPANHA", "ES", "C", "34"}});
        kv::test::insertRows(*db, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS", "REGIAO", "TELCODZONA"},
                             {{"4000-123", "PORTO", "PORTUGAL", "NORTE", "22"},
                              {"36202", "VIGO", "ESPANHA", "GALIZA", "986"},
                              {"9999-999", "NENHURES", "ATLANTIDA", "", ""}});
        kv::test::insertRows(*db, "VENDEDORES", {"CODIGO", "NOME"}, {{7, "Rui"}});
        kv::test::insertRows(
            *db, "CLIENTES", {"CODIGO", "NOME", "NIF", "CODPOSTAL", "VENDEDOR", "SIGLA"},
            {{10, "Alfa", "500100200", "4000-123", 7, "ALFA"}, {40, "Beta", ".", "4000-123", 7, "BETA"}});
    }

    CustomerFile file(const char* workstation) { return CustomerFile(db, QString::fromLatin1(workstation), "ANA"); }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

class Numbers : public ::testing::TestWithParam<Engine> {};

struct NumberCase {
    const char* label;
    long long number;
    Check expected;
};

class NumberBounds : public ::testing::TestWithParam<std::tuple<NumberCase, Engine>> {};

TEST_P(NumberBounds, AreCheckedAndClaimed)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Company company(engine);
    CustomerFile file = company.file("POSTO1");
    EXPECT_EQ(file.acceptNumber(c.number), c.expected);
    const int claims = company.db->scalar("SELECT COUNT(*) FROM RESERVAS").toInt();
    EXPECT_EQ(claims, c.expected == Check::Accepted ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberBounds,
                         ::testing::Combine(::testing::Values(NumberCase{"zero", 0, Check::OutOfRange},
                                                              NumberCase{"one", 1, Check::Accepted},
                                                              NumberCase{"highest", 999999999, Check::Accepted},
                                                              NumberCase{"above_highest", 1000000000,
                                                                         Check::OutOfRange},
                                                              NumberCase{"stored", 40, Check::Taken}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<NumberCase>);

TEST_P(Numbers, TwoWorkstationsNeverBeginTheSameCustomer)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile first = company.file("POSTO1");
    CustomerFile second = company.file("POSTO2");

    // The proposal is the highest number stored plus one, whatever order a list has.
    EXPECT_EQ(first.proposeNumber(), 41);
    EXPECT_EQ(first.acceptNumber(41), Check::Accepted);
    // The second workstation is offered the next free number and refused the claimed one.
    EXPECT_EQ(second.proposeNumber(), 42);
    EXPECT_EQ(second.acceptNumber(41), Check::Taken);
    // A claim the workstation holds is kept when the number is left again.
    EXPECT_EQ(first.acceptNumber(41), Check::Accepted);

    // Given up, the number is free for the other workstation.
    first.releaseNumber(41);
    EXPECT_EQ(second.proposeNumber(), 41);
    EXPECT_EQ(second.acceptNumber(41), Check::Accepted);
}

TEST_P(Numbers, AStoppedWorkstationsClaimsEndAtItsNextLogin)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile first = company.file("POSTO1");
    CustomerFile second = company.file("POSTO2");
    ASSERT_EQ(first.acceptNumber(50), Check::Accepted);
    ASSERT_EQ(second.acceptNumber(51), Check::Accepted);
    kv::db::RecordClaims::releaseWorkstation(*company.db, "POSTO1");
    EXPECT_EQ(second.acceptNumber(50), Check::Accepted);
    EXPECT_EQ(first.acceptNumber(51), Check::Taken);
}

TEST_P(Numbers, ATaxpayerNumberIsHeldByAnotherCustomerOnly)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile file = company.file("POSTO1");
    EXPECT_EQ(file.taxpayerHolder("500100200", 99), std::optional<int>(10));
    EXPECT_EQ(file.taxpayerHolder(" 500100200 ", 10), std::nullopt); // the customer's own
    EXPECT_EQ(file.taxpayerHolder(".", 99), std::nullopt); // "." is no number
    EXPECT_EQ(file.taxpayerHolder("123", 99), std::nullopt);
}

TEST_P(Numbers, TheCountryIsThatOfTheCustomersOwnPostalCode)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile file = company.file("POSTO1");
    const kv::customers::PostalPlace vigo = file.postalPlace("36202");
    EXPECT_TRUE(vigo.found);
    EXPECT_TRUE(vigo.countryFound);
    EXPECT_EQ(vigo.country, "ESPANHA");
    EXPECT_EQ(vigo.market, "C");
    EXPECT_EQ(vigo.taxPrefix, "ES");
    EXPECT_EQ(vigo.locality, "VIGO");
    const kv::customers::PostalPlace nowhere = file.postalPlace("9999-999");
    EXPECT_TRUE(nowhere.found);
    EXPECT_FALSE(nowhere.countryFound);
    EXPECT_TRUE(nowhere.taxPrefix.isEmpty());
    EXPECT_FALSE(file.postalPlace("0000-000").found);
}

// A customer row edited in a cached dataset over CLIENTES, as the form's list.
struct EditedCustomer {
    explicit EditedCustomer(Company& company) : rows("CLIENTES")
    {
        rows.setConnection(company.db);
        rows.setSql("SELECT * FROM CLIENTES ORDER BY CODIGO");
        rows.setMode(kv::db::DatasetMode::Cached);
        rows.setUpdateStatements(kv::shell::ShellDataModules::updateStatementsFor(
            "CLIENTES", company.db->tableColumns().value("CLIENTES"), {"CODIGO"}));
        rows.open();
    }
    void append(const QVariantMap& values)
    {
        rows.append();
        for (auto it = values.begin(); it != values.end(); ++it)
            rows.setValue(it.key(), it.value());
    }
    kv::db::Dataset rows;
};

struct RefusalCase {
    const char* label;
    QVariantMap row;
    const char* message; // "" none
    int page;
};

class SaveChecks : public ::testing::TestWithParam<std::tuple<RefusalCase, Engine>> {};

TEST_P(SaveChecks, RunInTheirOrder)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Company company(engine);
    CustomerFile file = company.file("POSTO1");
    EditedCustomer customer(company);
    QVariantMap row{{"CODIGO", 60},    {"NOME", "Gama"},          {"VENDEDOR", 7},
                    {"SIGLA", "GAMA"}, {"CODPOSTAL", "4000-123"}, {"NIF", "1"}};
    for (auto it = c.row.begin(); it != c.row.end(); ++it)
        row[it.key()] = it.value();
    customer.append(row);
    const auto refusal = file.saveRefusal(customer.rows);
    if (QString::fromUtf8(c.message).isEmpty()) {
        EXPECT_FALSE(refusal.has_value());
        return;
    }
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->message, QString::fromUtf8(c.message));
    EXPECT_EQ(refusal->page, c.page);
}

INSTANTIATE_TEST_SUITE_P(
    Save, SaveChecks,
    ::testing::Combine(
        ::testing::Values(RefusalCase{"good", {}, "", 0},
                          RefusalCase{
                              "no_salesman", {{"VENDEDOR", QVariant()}, {"SIGLA", ""}}, "Vendedor Inválido !!!", 2},
                          RefusalCase{"unknown_salesman", {{"VENDEDOR", 8}}, "Vendedor Inválido !!!", 2},
                          RefusalCase{"no_short_name", {{"SIGLA", ""}, {"NIF", ""}}, "Sigla Inválida !!!", 0},
                          RefusalCase{"no_country", {{"CODPOSTAL", "9999-999"}, {"NIF", ""}}, "Pais Inválido !!!", 0},
                          RefusalCase{"unknown_postal_code", {{"CODPOSTAL", "1111-111"}}, "Pais Inválido !!!", 0},
                          RefusalCase{"no_taxpayer", {{"NIF", ""}}, "Nº Contribuinte Inválido !!!", 2}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<RefusalCase>);

// A block stored with the customer that writes a row and may fail.
struct ContactsStep : kv::customers::CustomerSaveStep {
    bool fail = false;
    void store(kv::db::Connection& db, int customer) override
    {
        db.exec("INSERT INTO CONTACTOS (TIPOENT, ENTIDADE, DESCRICAO) VALUES ('C', :E, 'Comercial')",
                {{"E", customer}});
        if (fail)
            throw kv::db::DbError(kv::db::DbError::Kind::Constraint, "recusado");
    }
};

TEST_P(Numbers, ANewCustomerIsStoredWithItsRowsAndItsClaimEnds)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile file = company.file("POSTO1");
    ASSERT_EQ(file.acceptNumber(60), Check::Accepted);
    EditedCustomer customer(company);
    // The country of the customer's own postal code, whatever else the row says.
    customer.append({{"CODIGO", 60},
                     {"NOME", "Gama"},
                     {"VENDEDOR", 7},
                     {"SIGLA", "GAMA"},
                     {"CODPOSTAL", "36202"},
                     {"NIF", "1"},
                     {"PAIS", "PORTUGAL"},
                     {"MERCADO", "N"},
                     {"AGENTE", -3}});
    ContactsStep contacts;
    ASSERT_TRUE(file.store(customer.rows, true, {&contacts}));

    const auto rows =
        company.scenario.rows(company.db, "SELECT PAIS, MERCADO, SIGLANIF, AGENTE, GRP_FAC, GRP_MRG, GRP_DIA FROM "
                                          "CLIENTES WHERE CODIGO = 60");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.value(0, "PAIS").toString().trimmed(), "ESPANHA");
    EXPECT_EQ(rows.value(0, "MERCADO").toString().trimmed(), "C");
    EXPECT_EQ(rows.value(0, "SIGLANIF").toString().trimmed(), "ES");
    EXPECT_EQ(rows.value(0, "AGENTE").toInt(), 0);
    for (const char* group : {"GRP_FAC", "GRP_MRG", "GRP_DIA"})
        EXPECT_EQ(rows.value(0, group).toInt(), 9) << group;
    EXPECT_EQ(company.db->scalar("SELECT COUNT(*) FROM CONTACTOS WHERE ENTIDADE = 60").toInt(), 1);
    EXPECT_EQ(company.db->scalar("SELECT COUNT(*) FROM RESERVAS").toInt(), 0);
}

TEST_P(Numbers, ARefusedSaveStoresNothingAndKeepsTheRowAndTheClaim)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile file = company.file("POSTO1");
    ASSERT_EQ(file.acceptNumber(60), Check::Accepted);
    EditedCustomer customer(company);
    customer.append(
        {{"CODIGO", 60}, {"NOME", "Gama"}, {"VENDEDOR", 7}, {"SIGLA", "GAMA"}, {"CODPOSTAL", "36202"}, {"NIF", "1"}});
    ContactsStep contacts;
    contacts.fail = true;
    EXPECT_THROW(file.store(customer.rows, true, {&contacts}), kv::db::DbError);
    EXPECT_EQ(company.db->scalar("SELECT COUNT(*) FROM CLIENTES WHERE CODIGO = 60").toInt(), 0);
    EXPECT_EQ(company.db->scalar("SELECT COUNT(*) FROM CONTACTOS").toInt(), 0);
    EXPECT_EQ(company.db->scalar("SELECT COUNT(*) FROM RESERVAS").toInt(), 1);
    EXPECT_TRUE(customer.rows.hasPendingChanges());

    // Tried again without the failure, the same row is stored.
    contacts.fail = false;
    EXPECT_TRUE(file.store(customer.rows, true, {&contacts}));
    EXPECT_EQ(company.db->scalar("SELECT COUNT(*) FROM CLIENTES WHERE CODIGO = 60").toInt(), 1);
}

TEST_P(Numbers, TheNameSearchTakesTheUsersPatternBound)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    CustomerFile file = company.file("POSTO1");
    kv::test::insertRows(*company.db, "CLIENTES", {"CODIGO", "NOME"}, {{70, "Alface' OR 1=1 --"}, {71, "alforreca"}});
    const struct {
        const char* pattern;
        QList<int> found;
    } cases[] = {{"%", {10, 70, 71, 40}}, {"Al%", {10, 70, 71}}, {"%' OR 1=1 --", {70}}, {"Zeta%", {}}};
    for (const auto& c : cases) {
        const auto rows = company.scenario.rows(company.db, file.nameSearchSql(), {{"EDIT_NOMECLI.TEXT", c.pattern}});
        QList<int> found;
        for (std::size_t i = 0; i < rows.rows.size(); ++i)
            found << rows.value(i, "CODIGO").toInt();
        EXPECT_EQ(found, c.found) << c.pattern;
    }
}

KV_ENGINE_SUITE(Numbers);

} // namespace
