// The demo company's transport costs, fixed costs and raw materials per
// customer article pass what their forms check when a row is made: the
// destinations are in the geography, the flags are "S" or "N", the customers,
// products and raw materials exist with the names the rows copied.
#include "costing/FormFixtures.h"

#include "costing/forms/CostingForms.h"

#include <functional>

using namespace kv::costing;
using namespace kv::costing::test;

namespace {

using kv::costing::test::operator<<;

QSet<QString> values(kv::db::Connection& connection, const QString& sql)
{
    QSet<QString> set;
    const auto rows = connection.query(sql);
    for (std::size_t row = 0; row < rows.rows.size(); ++row)
        set.insert(rows.rows[row][0].toString());
    return set;
}

// The designations of the articles of a list, by code.
QMap<QString, QString> articles(kv::db::Connection& invoicing, const ArticleListSpec& spec)
{
    QMap<QString, QString> names;
    const auto rows = invoicing.query(ArticleLists::numericSql(spec, invoicing.dialect()));
    for (std::size_t row = 0; row < rows.rows.size(); ++row)
        names.insert(rows.value(row, "CODIGO").toString(), rows.value(row, "DESIGNACAO").toString());
    return names;
}

// The faults of the demo rows of one table, one text per fault.
using Faults = std::function<QStringList(CostingSession&)>;

struct DemoCase {
    const char* label;
    Faults faults;
};

class DemoChargeRows : public ::testing::TestWithParam<std::tuple<DemoCase, Engine>> {};

TEST_P(DemoChargeRows, PassTheirFormsChecks)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    CostingSession session(scenario, engine, true);
    EXPECT_EQ(c.faults(session), QStringList());
}

QStringList transportFaults(CostingSession& session)
{
    auto invoicing = session.invoicing();
    const QSet<QString> countries = values(*invoicing, "SELECT PAIS FROM PAISES");
    const QSet<QString> regions = values(*invoicing, "SELECT REGIAO FROM REGIOES");
    const QSet<QString> provinces = values(*invoicing, "SELECT PROVINCIA FROM PROVINCIAS");
    const auto rows = session.application()->query("SELECT * FROM CUSTRANSP ORDER BY CODIGO");
    QStringList faults;
    if (rows.rows.empty())
        faults << "sem custos de transporte";
    for (std::size_t row = 0; row < rows.rows.size(); ++row) {
        const QString code = rows.value(row, "CODIGO").toString();
        const QString region = rows.value(row, "REGIAO").toString();
        const QString province = rows.value(row, "PROVINCIA").toString();
        if (!countries.contains(rows.value(row, "PAIS").toString()))
            faults << code + " país";
        if (!region.isEmpty() && !regions.contains(region))
            faults << code + " região";
        if (!province.isEmpty() && !provinces.contains(province))
            faults << code + " província";
    }
    return faults;
}

// Every field of the form passes its rule on every demo row.
QStringList formRuleFaults(CostingSession& session, const QString& formClass)
{
    QStringList faults;
    for (const CodeTableDescription& member : codeTableMembers()) {
        if (member.formClass != formClass)
            continue;
        const auto rows = session.application()->query("SELECT * FROM " + member.table);
        if (rows.rows.empty())
            faults << "sem linhas";
        for (std::size_t row = 0; row < rows.rows.size(); ++row)
            for (const FieldSpec& field : member.fields)
                if (!field.rule.passes(rows.value(row, field.column).toString()))
                    faults << rows.value(row, member.keyColumn).toString() + " " + field.column;
    }
    return faults;
}

QStringList customerArticleFaults(CostingSession& session)
{
    auto invoicing = session.invoicing();
    QMap<QString, QString> customers;
    const auto clients = invoicing->query("SELECT CODIGO, NOME FROM CLIENTES");
    for (std::size_t row = 0; row < clients.rows.size(); ++row)
        customers.insert(clients.value(row, "CODIGO").toString(), clients.value(row, "NOME").toString());
    ArticleListSpec productSpec;
    productSpec.condition = {ArticleTypeCondition::Op::Equal, 1};
    const QMap<QString, QString> products = articles(*invoicing, productSpec);
    const QMap<QString, QString> materials = articles(*invoicing, ArticleListSpec{});
    const auto rows = session.application()->query("SELECT * FROM PLN_FICTEC");
    QStringList faults;
    if (rows.rows.empty())
        faults << "sem artigos por cliente";
    for (std::size_t row = 0; row < rows.rows.size(); ++row) {
        const QString key = rows.value(row, "CLIENTE").toString() + "/" + rows.value(row, "ARTIGO").toString();
        const QString customer = rows.value(row, "CLIENTE").toString();
        if (!customers.contains(customer) || customers.value(customer) != rows.value(row, "NOME").toString())
            faults << key + " cliente";
        const QString product = rows.value(row, "ARTIGO").toString();
        if (!products.contains(product) || products.value(product) != rows.value(row, "DESIGNACAO").toString())
            faults << key + " artigo";
        const QString material = rows.value(row, "MATPRIMA").toString();
        if (!materials.contains(material) || materials.value(material) != rows.value(row, "MATDESCRI").toString())
            faults << key + " matéria prima";
    }
    return faults;
}

INSTANTIATE_TEST_SUITE_P(Costing, DemoChargeRows,
                         ::testing::Combine(::testing::Values(DemoCase{"transport costs", transportFaults},
                                                              DemoCase{"fixed costs",
                                                                       [](CostingSession& s) {
                                                                           return formRuleFaults(s, "TORCF012");
                                                                       }},
                                                              DemoCase{"customer articles", customerArticleFaults}),
                                            ::testing::ValuesIn(engines())),
                         caseName<DemoCase>);

} // namespace
