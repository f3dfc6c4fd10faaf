#include "customers/coding/core/CustomisationTables.h"

#include "platform/db/Connection.h"

namespace kv::customers {

CustomisationTables::CustomisationTables(std::shared_ptr<kv::db::Connection> invoicing) : m_db(std::move(invoicing)) {}

std::optional<CustomisationTable> CustomisationTables::read(const QString& group, const QString& table)
{
    const auto tables = m_db->query(QStringLiteral("SELECT TABNOM, PAIS FROM PARGRUPOS WHERE TABGRUPO = :WTabGrupo "
                                                   "AND TABCOD = :WTabCod"),
                                    {{QStringLiteral("WTabGrupo"), group}, {QStringLiteral("WTabCod"), table}});
    const auto parameters = m_db->query(QStringLiteral("SELECT * FROM PARCUSTOM WHERE CODIGO = :Codigo"),
                                        {{QStringLiteral("Codigo"), QStringLiteral("1")}});
    if (tables.isEmpty() || parameters.isEmpty())
        return std::nullopt;
    CustomisationTable found{group,
                             table,
                             tables.rows[0][0].toString().trimmed(),
                             tables.rows[0][1].toString().trimmed() != QLatin1String("N"),
                             {}};
    if (parameters.columnIndex(QStringLiteral("PAISBASE")) >= 0)
        found.baseCountry = parameters.value(0, QStringLiteral("PAISBASE")).toString().trimmed();
    return found;
}

bool CustomisationTables::hasRows(const CustomisationTable& table, const QString* country)
{
    kv::db::Params params{{QStringLiteral("WTabGrupo"), table.group}, {QStringLiteral("WTabCod"), table.table}};
    QString sql = QStringLiteral("SELECT 1 FROM CUSTARTG WHERE TABGRUPO = :WTabGrupo AND TABCOD = :WTabCod");
    if (country) {
        sql += QStringLiteral(" AND PAIS = :TabPais");
        params.set(QStringLiteral("TabPais"), *country);
    }
    return !m_db->query(sql + QStringLiteral(" LIMIT 1"), params).isEmpty();
}

CustomisationTables::CountryChoice CustomisationTables::choose(const CustomisationTable& table, const QString& country)
{
    if (hasRows(table, &country))
        return CountryChoice::Maintain;
    return hasRows(table, nullptr) ? CountryChoice::NeedsBase : CountryChoice::FirstUse;
}

CustomisationTables::Seeding CustomisationTables::seed(const CustomisationTable& table, const QString& country,
                                                       const QString& base)
{
    {
        kv::db::Transaction transaction(*m_db);
        m_db->exec(
            QStringLiteral(
                "INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO, REDUZCODIGO, "
                "REDUZDESIGN) SELECT B.TABGRUPO, CAST(:TabPaisPais AS VARCHAR(20)), B.TABCOD, B.CODIGO, B.DESIGNACAO, "
                "B.REDUZCODIGO, B.REDUZDESIGN FROM CUSTARTG B WHERE B.TABGRUPO = :WTabGrupo AND "
                "B.TABCOD = :WTabCod AND B.PAIS = :PaisBase AND NOT EXISTS (SELECT 1 FROM CUSTARTG "
                "N WHERE N.TABGRUPO = B.TABGRUPO AND N.TABCOD = B.TABCOD AND N.PAIS = :TabPaisPais "
                "AND N.CODIGO = B.CODIGO)"),
            {{QStringLiteral("TabPaisPais"), country},
             {QStringLiteral("WTabGrupo"), table.group},
             {QStringLiteral("WTabCod"), table.table},
             {QStringLiteral("PaisBase"), base}});
        transaction.commit();
    }
    if (hasRows(table, nullptr) || base.compare(country, Qt::CaseInsensitive) == 0)
        return Seeding::Maintain;
    return Seeding::MissingBase;
}

int CustomisationTables::proposal(const CustomisationTable& table, const QString& country)
{
    const QVariant last = m_db->scalar(QStringLiteral("SELECT MAX(CODIGO) FROM CUSTARTG WHERE TABGRUPO = :WTabGrupo "
                                                      "AND TABCOD = :WTabCod AND PAIS = :TabPais"),
                                       {{QStringLiteral("WTabGrupo"), table.group},
                                        {QStringLiteral("WTabCod"), table.table},
                                        {QStringLiteral("TabPais"), country}});
    return last.isNull() ? 1 : last.toInt() + 1;
}

QString CustomisationTables::valuesSql(Rows rows)
{
    const QString select = QStringLiteral("SELECT TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO, REDUZCODIGO, REDUZDESIGN "
                                          "FROM CUSTARTG WHERE TABGRUPO = :WTabGrupo AND TABCOD = :WTabCod");
    switch (rows) {
    case Rows::OneCountry: return select + QStringLiteral(" AND PAIS = :TabPais ORDER BY CODIGO");
    case Rows::EveryCountry: return select + QStringLiteral(" ORDER BY CODIGO, PAIS");
    case Rows::EveryCountryByCountry: break;
    }
    return select + QStringLiteral(" ORDER BY TABGRUPO, PAIS, TABCOD, CODIGO");
}

QString CustomisationTables::title(const QString& name)
{
    return QStringLiteral("TABELA DE ") + name.toUpper() + QStringLiteral(" (ARTIGOS)");
}

QString CustomisationTables::rightsProgram(const QString& digit) { return QStringLiteral("Custom. Artigos ") + digit; }

} // namespace kv::customers
