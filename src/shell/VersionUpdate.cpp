#include "shell/VersionUpdate.h"

#include "shell/Subsystems.h"
#include "shell/VersionStepContext.h"

#include "platform/db/DbError.h"

#include <QRegularExpression>

namespace kv::shell {
namespace {

const QString Program = QStringLiteral("KAVORIME");

// The rights chapters and programs every login makes sure of.
struct CatalogueProgram {
    const char* application;
    const char* chapter;
    QString program;
};

const std::vector<std::pair<const char*, const char*>>& catalogueChapters()
{
    static const std::vector<std::pair<const char*, const char*>> chapters{
        {"KAVORIMETAS", "Tabelas Orcamentos"}, {"MODULO BASE", "Tabelas"}, {"MODULO BASE", "Ficheiros Base"}};
    return chapters;
}

std::vector<CatalogueProgram> cataloguePrograms()
{
    std::vector<CatalogueProgram> programs{{"KAVORIMETAS", "Tabelas Orcamentos", "Subcontratos"},
                                           {"KAVORIMETAS", "Planeamento", "Finalizacao Producao"}};
    for (const char* p :
         {"Codigos Postais", "Comissoes", "Moedas", "Condicoes de Transporte", "Ramo de Actividade",
          "Familias de Artigos", "Metodos Expedicao", "Descontos de Mercadorias", "Condicoes de Pagamento"})
        programs.push_back({"MODULO BASE", "Tabelas", QString::fromLatin1(p)});
    for (int i = 1; i <= 9; ++i)
        programs.push_back({"MODULO BASE", "Tabelas", QStringLiteral("Custom. Artigos %1").arg(i)});
    for (const char* p : {"Bancos", "Vendedores", "Agentes", "Clientes"})
        programs.push_back({"MODULO BASE", "Ficheiros Base", QString::fromLatin1(p)});
    return programs;
}

} // namespace

VersionUpdate::VersionUpdate(db::Connection& application, LoginState& state) : m_db(application), m_state(state) {}

const std::vector<schema::Table>& VersionUpdate::createdTables() { return Subsystems::createdTables(); }

int VersionUpdate::lastStep() { return Subsystems::lastVersionStep(); }

void VersionUpdate::addCompanyDatabase(schema::Database database, db::Connection& connection)
{
    m_otherDatabases.emplace_back(database, &connection);
}

QString VersionUpdate::versionText(int step) { return QStringLiteral("01.%1").arg(step, 3, 10, QLatin1Char('0')); }

// Programs starting at once on one company take turns with their version
// transactions, so every check a step makes (does the table, the column,
// the row exist?) still holds when it acts on it. On SQLite the write
// transaction is the turn. Nothing waits without limit: a table that
// another workstation keeps in use (a transaction left open) stops the
// login with a message after a few seconds instead of hanging it.
void VersionUpdate::takeTurn()
{
    m_table = QStringLiteral("ACTUAL_VERSAO");
    if (m_db.dialect() != db::Dialect::Postgres)
        return;
    m_db.exec(QStringLiteral("SET LOCAL lock_timeout = '5s'"));
    m_db.scalar(QStringLiteral("SELECT pg_advisory_xact_lock(:KEY)"), {{"KEY", qint64(0x4b41564f)}});
}

db::DbError VersionUpdate::busy(const db::DbError& error) const
{
    if (error.kind() != db::DbError::Kind::Busy)
        return error;
    return db::DbError(db::DbError::Kind::Busy,
                       QStringLiteral("Outro posto de trabalho está a usar a tabela %1: a base de dados não pode "
                                      "ser actualizada agora. Entre de novo quando esse posto sair do programa.")
                           .arg(m_table));
}

void VersionUpdate::readRecordedVersion()
{
    const db::Params company{{"WEMPNRO", m_state.WEmpNro}, {"PROGRAMA", Program}};
    try {
        db::Transaction transaction(m_db);
        takeTurn();
        createTable(QStringLiteral("ACTUAL_VERSAO"));
        // Two workstations starting the same company at once must not both
        // insert its row.
        m_db.exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS UQ_ACTUAL_VERSAO "
                                 "ON ACTUAL_VERSAO (EMPRESA, PROGRAMA)"));
        const QVariant found = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM ACTUAL_VERSAO WHERE EMPRESA = :WEMPNRO "
                                                          "AND PROGRAMA = :PROGRAMA"),
                                           company);
        if (found.toInt() == 0)
            m_db.exec(QStringLiteral("INSERT INTO ACTUAL_VERSAO (EMPRESA, PROGRAMA, VERSAO) "
                                     "VALUES (:WEMPNRO, :PROGRAMA, :VERSAO)"),
                      {{"WEMPNRO", m_state.WEmpNro}, {"PROGRAMA", Program}, {"VERSAO", versionText(1)}});
        transaction.commit();
    } catch (const db::DbError& error) {
        throw busy(error);
    }
    const QVariant version = m_db.scalar(QStringLiteral("SELECT VERSAO FROM ACTUAL_VERSAO WHERE EMPRESA = :WEMPNRO "
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
    const int last = lastStep();
    if (major > 1 || (major == 1 && step > last)) {
        plan.kind = VersionPlan::Kind::Newer;
    } else if (major == 1 && step >= 1 && step < last && programVersion == versionText(last)) {
        plan.kind = VersionPlan::Kind::Chain;
        plan.firstStep = step + 1;
        plan.lastStep = last;
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
    default: return {};
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
            takeTurn();
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
            if (error.kind() == db::DbError::Kind::Busy)
                return busy(error).text();
            return QStringLiteral("Erro na actualização da base de dados para a versão %1:\n%2")
                .arg(version, error.fullText());
        }
        m_state.WVersaoBd = version;
    }
    return {};
}

// The units' steps of one version, in the order the units are assembled.
void VersionUpdate::runStep(int step)
{
    VersionStepContext context(m_db, m_state, &m_table, m_otherDatabases);
    Subsystems::runVersionStep(step, context);
}

void VersionUpdate::createTable(const QString& name)
{
    VersionStepContext(m_db, m_state, &m_table, m_otherDatabases).createTable(name);
}

void VersionUpdate::insertIfMissing(const QString& table, const db::Params& row)
{
    QStringList conditions;
    QStringList markers;
    for (const QString& name : row.names()) {
        conditions << QStringLiteral("%1 = :%1").arg(name);
        markers << QLatin1Char(':') + name;
    }
    const QVariant count = m_db.scalar(
        QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, conditions.join(QStringLiteral(" AND "))), row);
    if (count.toInt() == 0)
        m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, row.names().join(QStringLiteral(", ")), markers.join(QStringLiteral(", "))),
                  row);
}

void VersionUpdate::addRightsCatalogue()
try {
    db::Transaction transaction(m_db);
    takeTurn();
    for (const auto& [application, chapter] : catalogueChapters())
        insertIfMissing(QStringLiteral("APLICACAOCAP"),
                        {{"APLICACAO", QString::fromLatin1(application)}, {"CAPITULO", QString::fromLatin1(chapter)}});
    for (const CatalogueProgram& p : cataloguePrograms())
        insertIfMissing(QStringLiteral("APLICACAOMST"), {{"APLICACAO", QString::fromLatin1(p.application)},
                                                         {"CAPITULO", QString::fromLatin1(p.chapter)},
                                                         {"PROGRAMA", p.program}});
    transaction.commit();
} catch (const db::DbError& error) {
    throw busy(error);
}

} // namespace kv::shell
