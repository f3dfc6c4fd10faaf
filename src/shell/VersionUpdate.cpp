#include "shell/VersionUpdate.h"

#include "platform/db/DbError.h"

#include <QRegularExpression>

namespace kv::shell {
namespace {

using db::FieldType;

const QString Program = QStringLiteral("KAVORIME");

schema::Column column(const char* name, FieldType type, int size = 0, bool key = false)
{
    return schema::Column{QString::fromLatin1(name), type, size, key};
}

schema::Table makeTable(const char* name, std::vector<schema::Column> columns)
{
    schema::Table table;
    table.name = QString::fromLatin1(name);
    table.database = schema::Database::Application;
    table.subsystem = QStringLiteral("shell");
    table.columns = std::move(columns);
    return table;
}

// The rights chapters and programs every login makes sure of.
struct CatalogueProgram {
    const char* application;
    const char* chapter;
    QString program;
};

const std::vector<std::pair<const char*, const char*>>& catalogueChapters()
{
    static const std::vector<std::pair<const char*, const char*>> chapters{
        {"KAVORIMETAS", "Tabelas Orcamentos"}, {"MODULO BASE", "Tabelas"},
        {"MODULO BASE", "Ficheiros Base"}};
    return chapters;
}

std::vector<CatalogueProgram> cataloguePrograms()
{
    std::vector<CatalogueProgram> programs{
        {"KAVORIMETAS", "Tabelas Orcamentos", "Subcontratos"},
        {"KAVORIMETAS", "Planeamento", "Finalizacao Producao"}};
    for (const char* p : {"Codigos Postais", "Comissoes", "Moedas", "Condicoes de Transporte",
                          "Ramo de Actividade", "Familias de Artigos", "Metodos Expedicao",
                          "Descontos de Mercadorias", "Condicoes de Pagamento"})
        programs.push_back({"MODULO BASE", "Tabelas", QString::fromLatin1(p)});
    for (int i = 1; i <= 9; ++i)
        programs.push_back({"MODULO BASE", "Tabelas", QStringLiteral("Custom. Artigos %1").arg(i)});
    for (const char* p : {"Bancos", "Vendedores", "Agentes", "Clientes"})
        programs.push_back({"MODULO BASE", "Ficheiros Base", QString::fromLatin1(p)});
    return programs;
}

// Creates the tables of the definition that the database does not hold yet.
void createMissingTables(db::Connection& connection, schema::Database database, const QStringList& names)
{
    const schema::Schema& definition = schema::Schema::standard();
    for (const QString& name : names)
        if (!connection.tableExists(name))
            connection.exec(definition.createStatement(*definition.table(database, name), connection.dialect()));
}

} // namespace

VersionUpdate::VersionUpdate(db::Connection& application, LoginState& state)
    : m_db(application), m_state(state)
{
}

const std::vector<schema::Table>& VersionUpdate::createdTables()
{
    static const std::vector<schema::Table> tables{
        makeTable("ACTUAL_VERSAO", {column("EMPRESA", FieldType::Int32),
                                    column("PROGRAMA", FieldType::Text, 10),
                                    column("VERSAO", FieldType::Text, 6),
                                    column("DATULTACT", FieldType::DateTime)}),
        makeTable("SUBCONTRATO", {column("CODIGO", FieldType::Int32, 0, true),
                                  column("DESIGNACAO", FieldType::Text, 40),
                                  column("PRECO", FieldType::Float),
                                  column("GRS_M2", FieldType::Float),
                                  column("ACESSORIO", FieldType::Text, 1),
                                  column("UNIDADE", FieldType::Text, 3)}),
        makeTable("WORKORDFABDET", {column("UTIL", FieldType::Text, 15, true),
                                    column("ORDNRO", FieldType::Int32, 0, true),
                                    column("SUBORC", FieldType::Int32, 0, true),
                                    column("DETAIL", FieldType::Int32, 0, true),
                                    column("WRK_DETAIL", FieldType::Int32, 0, true),
                                    column("ARTIGO", FieldType::Text, 16),
                                    column("DESIGNACAO", FieldType::Text, 40),
                                    column("QUANTIDADE", FieldType::Float)}),
    };
    return tables;
}

void VersionUpdate::addCompanyDatabase(schema::Database database, db::Connection& connection)
{
    m_otherDatabases.emplace_back(database, &connection);
}

QString VersionUpdate::versionText(int step)
{
    return QStringLiteral("01.%1").arg(step, 3, 10, QLatin1Char('0'));
}

void VersionUpdate::readRecordedVersion()
{
    const db::Params company{{"WEMPNRO", m_state.WEmpNro}, {"PROGRAMA", Program}};
    {
        db::Transaction transaction(m_db);
        createTable(QStringLiteral("ACTUAL_VERSAO"));
        // Two workstations starting the same company at once must not both
        // insert its row.
        m_db.exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS UQ_ACTUAL_VERSAO "
                                 "ON ACTUAL_VERSAO (EMPRESA, PROGRAMA)"));
        const QVariant found = m_db.scalar(
            QStringLiteral("SELECT COUNT(*) FROM ACTUAL_VERSAO WHERE EMPRESA = :WEMPNRO "
                           "AND PROGRAMA = :PROGRAMA"),
            company);
        if (found.toInt() == 0)
            m_db.exec(QStringLiteral("INSERT INTO ACTUAL_VERSAO (EMPRESA, PROGRAMA, VERSAO) "
                                     "VALUES (:WEMPNRO, :PROGRAMA, :VERSAO)"),
                      {{"WEMPNRO", m_state.WEmpNro}, {"PROGRAMA", Program}, {"VERSAO", versionText(1)}});
        transaction.commit();
    }
    const QVariant version = m_db.scalar(
        QStringLiteral("SELECT VERSAO FROM ACTUAL_VERSAO WHERE EMPRESA = :WEMPNRO "
                       "AND PROGRAMA = :PROGRAMA"),
        company);
    m_state.WVersaoBd = version.toString().left(6);
}

VersionPlan VersionUpdate::planFor(const QString& recorded, const QString& programVersion)
{
    VersionPlan plan;
    if (recorded == programVersion)
        return plan;
    static const QRegularExpression pattern(QStringLiteral("^(\\d{2})\\.(\\d{3})$"));
    const QRegularExpressionMatch match = pattern.match(recorded);
    if (!match.hasMatch()) {
        plan.kind = VersionPlan::Kind::Unknown;
        return plan;
    }
    const int major = match.captured(1).toInt();
    const int step = match.captured(2).toInt();
    if (major > 1 || (major == 1 && step > LastStep)) {
        plan.kind = VersionPlan::Kind::Newer;
    } else if (major == 1 && step >= 1 && step < LastStep
               && programVersion == versionText(LastStep)) {
        plan.kind = VersionPlan::Kind::Chain;
        plan.firstStep = step + 1;
        plan.lastStep = LastStep;
    } else {
        plan.kind = VersionPlan::Kind::Unknown;
    }
    return plan;
}

QString VersionUpdate::refusal() const
{
    switch (plan().kind) {
    case VersionPlan::Kind::Newer:
        return QStringLiteral("A base de dados da empresa está na versão %1, mais recente do que "
                              "a deste programa (%2). Instale a versão actual do programa.")
            .arg(m_state.WVersaoBd, m_state.WVersao);
    case VersionPlan::Kind::Unknown:
        return QStringLiteral("Versão da base de dados desconhecida : \"%1\". A base de dados não "
                              "pode ser actualizada; contacte o seu Gestor de Sistema.")
            .arg(m_state.WVersaoBd);
    default:
        return {};
    }
}

QString VersionUpdate::run(const Progress& progress)
{
    const VersionPlan p = plan();
    if (p.kind != VersionPlan::Kind::Chain)
        return {};
    for (int step = p.firstStep; step <= p.lastStep; ++step) {
        const QString version = versionText(step);
        if (progress)
            progress(version);
        try {
            db::Transaction transaction(m_db);
            runStep(step);
            m_db.exec(QStringLiteral("UPDATE ACTUAL_VERSAO SET VERSAO = :WBDVERSAO, "
                                     "DATULTACT = :WMENUDATA WHERE EMPRESA = :WEMPNRO "
                                     "AND PROGRAMA = :PROGRAMA"),
                      {{"WBDVERSAO", version},
                       {"WMENUDATA", QDateTime(m_state.WData, QTime(0, 0))},
                       {"WEMPNRO", m_state.WEmpNro},
                       {"PROGRAMA", Program}});
            transaction.commit();
        } catch (const db::DbError& error) {
            return QStringLiteral("Erro na actualização da base de dados para a versão %1:\n%2")
                .arg(version, error.fullText());
        }
        m_state.WVersaoBd = version;
    }
    return {};
}

void VersionUpdate::runStep(int step)
{
    switch (step) {
    case 2:
        addColumn(QStringLiteral("UTILIZADORES"), QStringLiteral("UPGRADE_LICENSE"), FieldType::Text, 1);
        // Only users without a value: a right already given is never taken back.
        m_db.exec(QStringLiteral("UPDATE UTILIZADORES SET UPGRADE_LICENSE = 'N' "
                                 "WHERE UPGRADE_LICENSE IS NULL"));
        break;
    case 4: {
        for (const char* c : {"VALSUB1", "VALSUB2", "VALSUB3"})
            addColumn(QStringLiteral("ORCMAS"), QString::fromLatin1(c), FieldType::Float);
        // Type 11 becomes 99 once only: after the step, 11 means subcontracts,
        // and lines of that type must keep it.
        if (!rowExists(QStringLiteral("TIPOTAB"), QStringLiteral("CODIGO"), 99)) {
            m_db.exec(QStringLiteral("DELETE FROM TIPOTAB WHERE CODIGO = 11"));
            for (const char* table : {"ORCDET", "ORCCONSUMOS", "PROCDET"})
                m_db.exec(QStringLiteral("UPDATE %1 SET TIPOTABELA = 99 WHERE TIPOTABELA = 11")
                              .arg(QLatin1String(table)));
        }
        createTable(QStringLiteral("SUBCONTRATO"));
        const std::pair<int, QString> rows[] = {{11, QStringLiteral("Subcontratação")},
                                                {99, QStringLiteral("Custos de Transporte")}};
        for (const auto& [code, designation] : rows)
            if (!rowExists(QStringLiteral("TIPOTAB"), QStringLiteral("CODIGO"), code))
                m_db.exec(QStringLiteral("INSERT INTO TIPOTAB (CODIGO, DESIGNACAO) "
                                         "VALUES (:CODIGO, :DESIGNACAO)"),
                          {{"CODIGO", code}, {"DESIGNACAO", designation}});
        break;
    }
    case 5:
        addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("PLCOMPRI2"), FieldType::Float);
        addColumn(QStringLiteral("WORKORDFAB"), QStringLiteral("PLLARGUR2"), FieldType::Float);
        break;
    case 6:
        createTable(QStringLiteral("WORKORDFABDET"));
        addColumn(QStringLiteral("ORCCONSUMOS"), QStringLiteral("CONSUMIDO"), FieldType::Float);
        break;
    case 7: {
        // The pending records and journal of work that spans two databases,
        // in every company database.
        const QStringList tables{QStringLiteral("OPERPENDENTE"), QStringLiteral("OPERDIARIO")};
        for (const auto& [database, connection] : m_otherDatabases)
            createMissingTables(*connection, database, tables);
        createMissingTables(m_db, schema::Database::Application, tables);
        break;
    }
    default:   // step 3 changes nothing
        break;
    }
}

void VersionUpdate::addColumn(const QString& table, const QString& column, db::FieldType type,
                              int size)
{
    if (m_db.columnExists(table, column))
        return;
    m_db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                  .arg(table, column, schema::sqlType(type, size, m_db.dialect())));
}

void VersionUpdate::createTable(const QString& name)
{
    if (m_db.tableExists(name))
        return;
    for (const schema::Table& table : createdTables())
        if (table.name == name)
            m_db.exec(schema::Schema::standard().createStatement(table, m_db.dialect()));
}

bool VersionUpdate::rowExists(const QString& table, const QString& keyColumn, const QVariant& key)
{
    return m_db
               .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :KEY").arg(table, keyColumn),
                       {{"KEY", key}})
               .toInt() > 0;
}

void VersionUpdate::insertIfMissing(const QString& table, const db::Params& row)
{
    QStringList conditions;
    QStringList markers;
    for (const QString& name : row.names()) {
        conditions << QStringLiteral("%1 = :%1").arg(name);
        markers << QLatin1Char(':') + name;
    }
    const QVariant count = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                                           .arg(table, conditions.join(QStringLiteral(" AND "))),
                                       row);
    if (count.toInt() == 0)
        m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, row.names().join(QStringLiteral(", ")),
                           markers.join(QStringLiteral(", "))),
                  row);
}

void VersionUpdate::addRightsCatalogue()
{
    db::Transaction transaction(m_db);
    for (const auto& [application, chapter] : catalogueChapters())
        insertIfMissing(QStringLiteral("APLICACAOCAP"),
                        {{"APLICACAO", QString::fromLatin1(application)},
                         {"CAPITULO", QString::fromLatin1(chapter)}});
    for (const CatalogueProgram& p : cataloguePrograms())
        insertIfMissing(QStringLiteral("APLICACAOMST"),
                        {{"APLICACAO", QString::fromLatin1(p.application)},
                         {"CAPITULO", QString::fromLatin1(p.chapter)},
                         {"PROGRAMA", p.program}});
    transaction.commit();
}

} // namespace kv::shell
