#include "commercial/core/AccountLookups.h"

#include "support/Scenario.h"

#include <QSet>

using kv::commercial::AccountLookups;
using kv::commercial::AccountRange;
using kv::commercial::LinkStatus;
using kv::commercial::LookupSet;
using kv::test::Engine;

namespace {

// The demo company as a user finds it today, with what its commercial
// tables' forms check.
struct Demo {
    explicit Demo(Engine engine)
    {
        kv::shell::Session& session = scenario.login(engine, kv::test::Company::Demo);
        year = session.state().WAno;
        invoicing = scenario.invoicingDatabase();
        lookups = std::make_unique<AccountLookups>(scenario.accountingDatabase(), year,
                                                   kv::commercial::accountingLinkOn(*invoicing, year));
    }

    kv::db::QueryResult rows(const QString& sql) { return scenario.rows(invoicing, sql); }

    QSet<QString> values(const QString& sql)
    {
        QSet<QString> found;
        const kv::db::QueryResult result = rows(sql);
        for (std::size_t row = 0; row < result.rows.size(); ++row)
            found.insert(result.rows[row][0].toString());
        return found;
    }

    // Every non-empty code of `columns` in every row of `table` is one the
    // field of that column accepts; the faults name table, key and column.
    QStringList linkFaults(const QString& table, const QString& key, const QStringList& columns, LookupSet* set,
                           bool postingOnly)
    {
        QStringList faults;
        if (!set)
            return {table + ": ligação à contabilidade desligada"};
        const kv::db::QueryResult result = rows(QStringLiteral("SELECT * FROM %1").arg(table));
        if (result.rows.empty())
            faults << table + ": sem linhas";
        for (std::size_t row = 0; row < result.rows.size(); ++row)
            for (const QString& column : columns) {
                const LinkStatus status = set->check(result.value(row, column).toString(), postingOnly);
                if (status == LinkStatus::NotFound || status == LinkStatus::NotPosting)
                    faults << QStringLiteral("%1 %2 %3").arg(table, result.value(row, key).toString(), column);
            }
        return faults;
    }

    kv::test::Scenario scenario;
    QString year;
    std::shared_ptr<kv::db::Connection> invoicing;
    std::unique_ptr<AccountLookups> lookups;
};

QStringList numbered(const QString& stem, const QString& suffix = {})
{
    QStringList names;
    for (int n = 1; n <= 5; ++n)
        names << stem + suffix + QString::number(n);
    return names;
}

QStringList countryFaults(Demo& demo)
{
    QStringList roots = numbered("CLICONTA");
    for (const QString& group : {QString(), QStringLiteral("I"), QStringLiteral("A"), QStringLiteral("O")})
        roots += numbered("FRNCONTA", group);
    QStringList faults =
        demo.linkFaults("PAISES", "PAIS", roots, demo.lookups->accounts(AccountRange::countryRoots()), false);
    const kv::db::QueryResult countries = demo.rows("SELECT * FROM PAISES");
    for (std::size_t row = 0; row < countries.rows.size(); ++row) {
        const QString country = countries.value(row, "PAIS").toString();
        if (!QStringList({"N", "E", "O"}).contains(countries.value(row, "MERCADO").toString()))
            faults << country + " mercado";
        if (countries.value(row, "SIGLA").toString().isEmpty()
            || countries.value(row, "TELCODPAIS").toString().isEmpty())
            faults << country + " sigla/indicativo";
    }
    return faults;
}

QStringList familyFaults(Demo& demo)
{
    QStringList sales;
    for (const char* kind : {"VENDAS", "DEVOLUCOES", "DESCONTOS"})
        for (const char* market : {"", "MI", "O"})
            for (const char* kindOfArticle : {"", "_M", "_S"})
                sales << QStringLiteral("CONTA%1%2%3").arg(kind, market, kindOfArticle);
    QStringList purchases;
    for (const char* kind : {"COMPRAS", "DEVOLUCOES", "DESCONTOS"})
        for (const char* market : {"", "_MI", "_O"})
            purchases << QStringLiteral("CONTA%1%2").arg(kind, market);
    for (const char* kind : {"CONSUMOS", "REGINV"})
        for (const char* market : {"", "_MI", "_OU"})
            purchases << QStringLiteral("CONTA%1%2").arg(kind, market);
    AccountLookups& lookups = *demo.lookups;
    QStringList faults =
        demo.linkFaults("FAMILIAS", "FAMILIA", sales, lookups.accounts(AccountRange::familySales()), true);
    faults +=
        demo.linkFaults("FAMILIAS", "FAMILIA", {"CCUSTO", "CCUSTOMERC", "CCUSTOSERV"}, lookups.costCentres(), true);
    faults += demo.linkFaults("CONTAB_FAMILIAS", "FAMILIA", purchases,
                              lookups.accounts(AccountRange::familyPurchases()), true);
    faults += demo.linkFaults("CONTAB_FAMILIAS", "FAMILIA", {"CCUSTO", "CCUSTOCONSUMOS"}, lookups.costCentres(), true);
    const QSet<QString> families = demo.values("SELECT FAMILIA FROM FAMILIAS");
    for (const QString& family : demo.values("SELECT FAMILIA FROM CONTAB_FAMILIAS"))
        if (!families.contains(family))
            faults << "compras de " + family;
    const QSet<QString> types{"2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    for (const QString& type : demo.values("SELECT TIPOART FROM CONTAB_FAMILIAS"))
        if (!types.contains(type))
            faults << "tipo de artigo " + type;
    // Every demo article names a family of the table.
    const kv::db::QueryResult articles = demo.rows("SELECT CODIGO, FAMILIA FROM ARTIGOSCLS");
    for (std::size_t row = 0; row < articles.rows.size(); ++row)
        if (!families.contains(articles.value(row, "FAMILIA").toString()))
            faults << articles.value(row, "CODIGO").toString() + " família";
    return faults;
}

QStringList vatFaults(Demo& demo)
{
    AccountLookups& lookups = *demo.lookups;
    LookupSet* accounts = lookups.accounts(AccountRange::vatAccounts());
    QStringList faults = demo.linkFaults("IVA", "CODIGO", {"CONTAVENDAS", "CONTADEVOLUC"}, accounts, true);
    faults += demo.linkFaults("IVA", "CODIGO", {"CODIVA", "CODIVA_MC", "CODIVA_OU"}, lookups.vatCodes(), false);
    QStringList purchases;
    for (const char* market : {"MN", "MI", "OU"})
        for (const char* kind : {"EXI", "OBS", "IMB"})
            purchases << QStringLiteral("CONTACOMPRAS%1_%2").arg(market, kind);
    purchases << "CONTACOMPRASMI_LQ";
    faults += demo.linkFaults("IVACOMPRAS", "CODIVA", purchases, accounts, true);
    // A code and its purchase row go together.
    if (demo.values("SELECT CODIGO FROM IVA") != demo.values("SELECT CODIVA FROM IVACOMPRAS"))
        faults << "IVA sem compras";
    return faults;
}

QStringList geographyFaults(Demo& demo)
{
    QStringList faults;
    const QSet<QString> codes = demo.values("SELECT CODPOSTAL FROM CODPOSTAL");
    for (const QString& customer : demo.values("SELECT CODPOSTAL FROM CLIENTES"))
        if (!codes.contains(customer))
            faults << "cliente em " + customer;
    const std::pair<const char*, const char*> lists[] = {
        {"PAIS", "PAISES"}, {"REGIAO", "REGIOES"}, {"PROVINCIA", "PROVINCIAS"}, {"ZONAGEOGRAF", "ZONAGEOGRAF"}};
    for (const auto& [column, table] : lists) {
        const QSet<QString> names = demo.values(QStringLiteral("SELECT %1 FROM %2").arg(column, table));
        for (const QString& name : demo.values(QStringLiteral("SELECT %1 FROM CODPOSTAL").arg(column)))
            if (!names.contains(name))
                faults << QStringLiteral("%1 %2").arg(column, name);
    }
    if (demo.values("SELECT CODPOSTAL FROM CODPOSTAL WHERE LOCALIDADE IS NULL OR LOCALIDADE = ''").size() > 0)
        faults << "código postal sem localidade";
    return faults;
}

// The letters and values the small tables' fields accept.
QStringList codeTableFaults(Demo& demo)
{
    struct Rule {
        const char* table;
        const char* column;
        QSet<QString> accepted;
    };
    const Rule rules[] = {{"CNDPGT", "TIPDOC", {"C", "L", "T", "D", "V", "M"}},
                          {"CNDPGT", "VENCDOC", {"F", "V", "P", "R", "G"}},
                          {"METEXPEDICAO", "TIPO", {"1", "2", "3", "4", "5", "7", "8", "9"}},
                          {"PPAUTAL", "MLIQUIDA", {"S", "N"}}};
    QStringList faults;
    for (const Rule& rule : rules) {
        const QSet<QString> stored = demo.values(QStringLiteral("SELECT %1 FROM %2").arg(rule.column, rule.table));
        if (stored.isEmpty())
            faults << QStringLiteral("%1: sem linhas").arg(rule.table);
        for (const QString& value : stored)
            if (!rule.accepted.contains(value))
                faults << QStringLiteral("%1.%2 %3").arg(rule.table, rule.column, value);
    }
    const char* const filled[] = {"SELECT CODIGO FROM DESCMERC WHERE DESC01 IS NULL OR CODIGO < 1 OR CODIGO > 999",
                                  "SELECT CODIGO FROM PPAUTAL WHERE DESIGN IS NULL OR DESIGN = ''",
                                  "SELECT CODIGO FROM ARTGCOMP WHERE CODIGO < 1 OR CODIGO > 9999",
                                  "SELECT CODIGO FROM CNDPGT WHERE CODIGO < 1 OR CODIGO > 9999"};
    for (const char* sql : filled)
        for (const QString& code : demo.values(QString::fromLatin1(sql)))
            faults << QStringLiteral("%1: %2").arg(QString::fromLatin1(sql).section(' ', 3, 3), code);
    for (const char* table : {"RAMOACTIV", "FORMAS", "DESCMERC", "ARTGCOMP"})
        if (demo.values(QStringLiteral("SELECT * FROM %1").arg(table)).isEmpty())
            faults << QStringLiteral("%1: sem linhas").arg(table);
    const int currencies = demo.scenario.accountingDatabase()
                               ->scalar("SELECT COUNT(*) FROM CNTPMOEDA WHERE ANO = :ANO", {{"ANO", demo.year}})
                               .toInt();
    if (currencies == 0)
        faults << "sem moedas do ano";
    return faults;
}

struct DemoCase {
    const char* label;
    QStringList (*faults)(Demo&);
};

class DemoCommercialRows : public ::testing::TestWithParam<std::tuple<DemoCase, Engine>> {};

TEST_P(DemoCommercialRows, PassTheirFormsChecks)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Demo demo(engine);
    ASSERT_TRUE(demo.lookups->linkOn());
    EXPECT_EQ(c.faults(demo), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DemoCommercialRows,
    ::testing::Combine(::testing::Values(DemoCase{"countries", countryFaults}, DemoCase{"families", familyFaults},
                                         DemoCase{"vat", vatFaults}, DemoCase{"geography", geographyFaults},
                                         DemoCase{"code_tables", codeTableFaults}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<DemoCase>);

} // namespace
