#include "quotes/core/CostTables.h"

#include "platform/db/Connection.h"

namespace kv::quotes {

namespace {

// Rows of one table with typed reads by column name; nulls read as 0 or "".
class TableReader {
public:
    TableReader(kv::db::Connection& connection, const QString& table)
    {
        if (connection.tableExists(table))
            m_result = connection.query(QStringLiteral("SELECT * FROM %1 ORDER BY CODIGO").arg(table));
    }
    std::size_t count() const { return m_result.rows.size(); }
    double number(std::size_t row, const QString& column) const
    {
        const QVariant v = value(row, column);
        return v.isNull() ? 0.0 : v.toDouble();
    }
    int integer(std::size_t row, const QString& column) const
    {
        const QVariant v = value(row, column);
        return v.isNull() ? 0 : static_cast<int>(v.toLongLong());
    }
    QString text(std::size_t row, const QString& column) const
    {
        const QVariant v = value(row, column);
        return v.isNull() ? QString() : v.toString().trimmed();
    }
    bool flag(std::size_t row, const QString& column) const { return text(row, column) == QLatin1String("S"); }

private:
    QVariant value(std::size_t row, const QString& column) const
    {
        const int index = m_result.columnIndex(column);
        return index < 0 ? QVariant() : m_result.rows[row][static_cast<std::size_t>(index)];
    }
    kv::db::QueryResult m_result;
};

void loadMaterials(kv::db::Connection& connection, const QString& table, std::unordered_map<int, MaterialRow>& into)
{
    const TableReader r(connection, table);
    for (std::size_t i = 0; i < r.count(); ++i) {
        MaterialRow m;
        m.code = r.integer(i, "CODIGO");
        m.designation = r.text(i, "DESIGNACAO");
        m.grammage = r.number(i, "GRAMAGEM");
        m.price = r.number(i, "PRECO");
        m.article = r.text(i, "ARTIGO");
        into.emplace(m.code, m);
    }
}

} // namespace

CostTables CostTables::load(kv::db::Connection& connection)
{
    CostTables t;
    {
        const TableReader r(connection, "PAPEIS");
        for (std::size_t i = 0; i < r.count(); ++i) {
            BoardRow b;
            b.code = r.integer(i, "CODIGO");
            b.designation = r.text(i, "DESIGNACAO");
            b.grammage = r.number(i, "GRAMAGEM");
            b.price = r.number(i, "PRECO");
            b.calculation = r.text(i, "TIPOCALC");
            b.article = r.text(i, "ARTIGO");
            t.boards.emplace(b.code, b);
        }
    }
    loadMaterials(connection, "TINTAS", t.inks);
    loadMaterials(connection, "VERNIZES", t.varnishes);
    loadMaterials(connection, "FILMEPLAS", t.films);
    loadMaterials(connection, "PVC", t.pvcs);
    {
        const TableReader r(connection, "COLAS");
        for (std::size_t i = 0; i < r.count(); ++i) {
            GlueRow g;
            g.code = r.integer(i, "CODIGO");
            g.designation = r.text(i, "DESIGNACAO");
            g.grammage = r.number(i, "GRAMAGEM");
            g.percentage = r.number(i, "PERC");
            g.price = r.number(i, "PRECO");
            g.calculation = r.text(i, "TIPOCALC");
            g.article = r.text(i, "ARTIGO");
            t.glues.emplace(g.code, g);
        }
    }
    {
        const TableReader r(connection, "ACABAMENTO");
        for (std::size_t i = 0; i < r.count(); ++i) {
            FinishRow f;
            f.code = r.integer(i, "CODIGO");
            f.designation = r.text(i, "DESIGNACAO");
            f.fixedCost = r.number(i, "CUSTOFIXO");
            f.percentage = r.number(i, "PERC");
            f.costType = r.text(i, "TIPOCUSTO");
            f.unit = r.text(i, "UNIDADE");
            t.finishes.emplace(f.code, f);
        }
    }
    {
        const TableReader r(connection, "OPERCORTE");
        for (std::size_t i = 0; i < r.count(); ++i) {
            CuttingRow c;
            c.code = r.integer(i, "CODIGO");
            c.designation = r.text(i, "DESIGNACAO");
            c.cost = r.number(i, "CUSTOPPLANO");
            c.unit = r.text(i, "UNIDADE");
            t.cuttings.emplace(c.code, c);
        }
    }
    {
        const TableReader r(connection, "CUSTFIXOS");
        for (std::size_t i = 0; i < r.count(); ++i) {
            FixedCostRow f;
            f.code = r.integer(i, "CODIGO");
            f.designation = r.text(i, "DESIGNACAO");
            f.price = r.number(i, "PRECO");
            f.excludedInRepeats = r.flag(i, "LUCROBRUTO");
            f.rawMaterial = r.flag(i, "MATPRIMA");
            f.labour = r.flag(i, "MAOOBRA");
            f.packaging = r.flag(i, "EMBALAGEM");
            f.subsidiary = r.flag(i, "PRODSUBSID");
            t.fixedCosts.emplace(f.code, f);
        }
    }
    {
        const TableReader r(connection, "SUBCONTRATO");
        for (std::size_t i = 0; i < r.count(); ++i) {
            SubcontractRow s;
            s.code = r.integer(i, "CODIGO");
            s.designation = r.text(i, "DESIGNACAO");
            s.price = r.number(i, "PRECO");
            s.gramsPerM2 = r.number(i, "GRS_M2");
            s.accessory = r.flag(i, "ACESSORIO");
            s.unit = r.text(i, "UNIDADE");
            t.subcontracts.emplace(s.code, s);
        }
    }
    {
        const TableReader r(connection, "CUSTRANSP");
        for (std::size_t i = 0; i < r.count(); ++i) {
            TransportRow tr;
            tr.code = r.integer(i, "CODIGO");
            tr.province = r.text(i, "PROVINCIA");
            tr.percentage = r.number(i, "PRCORCAM");
            tr.costPerKm = r.number(i, "CUSTOKM");
            t.transports.emplace(tr.code, tr);
        }
    }
    {
        const TableReader r(connection, "MAQUINAS");
        for (std::size_t i = 0; i < r.count(); ++i) {
            MachineRow m;
            m.code = r.integer(i, "CODIGO");
            m.designation = r.text(i, "DESIGNACAO");
            m.coloursPerPass = r.integer(i, "NROCORES");
            m.costPerHour = r.number(i, "CUSTOHORA");
            m.productionUnit = r.text(i, "UNDPROD");
            for (int k = 0; k < 3; ++k) {
                m.factor[k] = r.number(i, QStringLiteral("FACTOR%1").arg(k + 1));
                m.dieMin[k] = r.number(i, QStringLiteral("ACECORTANTEMIN%1").arg(k + 1));
                m.glueConsumptionByKind[k] = r.number(i, QStringLiteral("CONSUMCOLA%1").arg(k + 1));
            }
            for (int k = 0; k < 4; ++k) {
                m.passMin[k] = r.number(i, QStringLiteral("ACEPASSMIN%1").arg(k + 1));
                m.passMax[k] = r.number(i, QStringLiteral("ACEPASSMAX%1").arg(k + 1));
            }
            m.machineType = r.integer(i, "TIPOMAQUINA");
            m.machineMin = r.number(i, "ACEMAQMIN");
            m.machineMax = r.number(i, "ACEMAQMAX");
            m.sideSeamMin = r.number(i, "ACECOLLATERALMIN");
            m.autoBottomMin = r.number(i, "ACEFUNDOAUTOMIN");
            m.glueCode = r.integer(i, "CODIGOCOLA");
            m.glueConsumption = r.number(i, "CONSUMCOLA");
            t.machines.emplace(m.code, m);
        }
    }
    {
        const TableReader r(connection, "TIRAGLIQ");
        for (std::size_t i = 0; i < r.count(); ++i) {
            WasteBand b;
            b.code = r.integer(i, "CODIGO");
            b.from = r.number(i, "QTD1");
            b.to = r.number(i, "QTD2");
            b.finishingNormal = r.number(i, "PRCACAB1A");
            b.finishingOther = r.number(i, "PRCACAB2A");
            for (int k = 0; k < 4; ++k)
                b.printing[k] = r.number(i, QStringLiteral("PRCIMPR%1A").arg(k + 1));
            t.wasteBands.push_back(b);
        }
    }
    return t;
}

} // namespace kv::quotes
