#include "production/unit/ProductionRecordsStep.h"

#include "platform/db/Connection.h"
#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::production {
namespace {

// The planned consumption had no year in its key, so orders of one number in
// two years shared their rows. The table is made again under the new key; an
// old row takes the latest year of an order row it belongs to ("" when it
// belongs to none), as the latest generation was the one that wrote it.
void keyConsumptionByYear(kv::shell::VersionStepContext& step)
{
    kv::db::Connection& db = step.db();
    const QString table = QStringLiteral("ORCCONSUMOS");
    if (!db.tableExists(table) || db.columnExists(table, QStringLiteral("ANO")))
        return;
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    const kv::schema::Table* target = definition.table(kv::schema::Database::Application, table);
    const QString holding = QStringLiteral("ORCCONSUMOS_ANTERIOR");
    if (db.tableExists(holding))
        db.exec(QStringLiteral("DROP TABLE %1").arg(holding));
    db.exec(QStringLiteral("CREATE TABLE %1 AS SELECT * FROM %2").arg(holding, table));
    db.exec(QStringLiteral("DROP TABLE %1").arg(table));
    db.exec(definition.createStatement(*target, db.dialect()));
    for (const QString& index : definition.indexStatements(*target))
        db.exec(index);
    const bool consumed = db.columnExists(holding, QStringLiteral("CONSUMIDO"));
    if (consumed)
        step.addColumn(table, QStringLiteral("CONSUMIDO"), kv::db::FieldType::Float);
    QStringList columns;
    QStringList values;
    for (const kv::schema::Column& column : target->columns) {
        if (column.name == QLatin1String("ANO")) {
            columns << column.name;
            values << QStringLiteral("COALESCE((SELECT MAX(F.ANO) FROM ORDFABDET F WHERE F.ORDNRO = H.CODIGO "
                                     "AND F.SUBORC = H.SUBCODIGO AND F.DETAIL = H.ENCDETAIL), '')");
        } else if (db.columnExists(holding, column.name)) {
            columns << column.name;
            values << QStringLiteral("H.") + column.name;
        }
    }
    if (consumed) {
        columns << QStringLiteral("CONSUMIDO");
        values << QStringLiteral("H.CONSUMIDO");
    }
    db.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 H")
                .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")), holding));
    db.exec(QStringLiteral("DROP TABLE %1").arg(holding));
}

} // namespace

void addProductionRecords(kv::shell::VersionStepContext& step)
{
    step.createMissingTables({QStringLiteral("ORDFABRICO"), QStringLiteral("ORDFABRICODET"),
                              QStringLiteral("TEMPENCCLIDET"), QStringLiteral("ORDFABENC"), QStringLiteral("OFESTAT"),
                              QStringLiteral("OFCONSUMOS"), QStringLiteral("OFTRANSFORM")});
    keyConsumptionByYear(step);
    step.createMissingIndexes(QStringLiteral("ORDFABDET"));
}

} // namespace kv::production
