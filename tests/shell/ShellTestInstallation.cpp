#include "shell/ShellTestInstallation.h"

#include "schema/InstallationBuilder.h"
#include "shell/VersionUpdate.h"
#include "support/InstallationClones.h"

#include <QCoreApplication>
#include <QDate>
#include <atomic>

namespace kv::shell::test {
namespace {

using schema::CompanyAliases;

using kv::test::serverSettings;

QStringList aliases()
{
    const CompanyAliases a = CompanyAliases::forCompany(1);
    return {schema::InstallationBuilder::generalAlias(), a.application, a.invoicing, a.accounting};
}

} // namespace

QStringList ShellTestInstallation::menuPrograms()
{
    return {"Tabelas Orcamentos|Parametros Gerais",
            "Tabelas Orcamentos|Micro; Canal B; Placa; Cartolinas",
            "Tabelas Orcamentos|Tintas",
            "Tabelas Orcamentos|Vernizes",
            "Tabelas Orcamentos|Colas",
            "Tabelas Orcamentos|Filme de Plasticizar",
            "Tabelas Orcamentos|PVC Janelas",
            "Tabelas Orcamentos|Acabamentos",
            "Tabelas Orcamentos|Operacoes de Corte",
            "Tabelas Orcamentos|Maquinas",
            "Tabelas Orcamentos|Tiragem Liquida",
            "Tabelas Orcamentos|Custos de Transporte",
            "Tabelas Orcamentos|Custos Fixos",
            "Tabelas Orcamentos|Procedimentos",
            "Tabelas Orcamentos|Parametrizacao de Procedimentos",
            "Tabelas Orcamentos|Subcontratos",
            "Orcamentos|Elaboracao de Orcamentos",
            "Orcamentos|Emissao Orc.Cliente",
            "Orcamentos|Consulta de Orcamentos",
            "Orcamentos|Aprovacao de Orcamentos",
            "Planeamento|Geracao de Ordens de Fabrico",
            "Planeamento|Consulta/Alteracao OF(s)",
            "Planeamento|Emissao Ordens de Fabrico",
            "Planeamento|Mapa de Consumos",
            "Planeamento|Finalizacao Producao"};
}

ShellTestInstallation::ShellTestInstallation(Engine engine) : m_engine(engine)
{
    schema::InstallationOptions options;
    options.workstation = QStringLiteral("PC-TESTE");
    options.workstationType = QStringLiteral("S");
    m_dbUser = QStringLiteral("ana_bd");
    if (engine == Engine::Postgres) {
        const db::ConnectionSettings s = serverSettings(QStringLiteral("postgres"));
        m_prefix = kv::test::uniqueDatabaseName(QStringLiteral("shell")) + QLatin1Char('_');
        options.postgres = schema::PostgresServer{s.host, s.port, s.user, {}, m_prefix};
        m_dbUser = s.user;
    }
    const QString root = m_dir.path() + QStringLiteral("/instalacao");
    m_installation = std::make_unique<install::Installation>(kv::test::cloneInstallation(options, root));

    const QDateTime today = QDate::currentDate().startOfDay();
    execGeneral("INSERT INTO PARAMUTIL (COMP_NAME, APLICACAO, UTIL, EMPNRO, ANO, DATA, PASSWOR) "
                "VALUES ('PC-TESTE', 'KAVORIMETAS', 'ANA', 1, :ANO, :DATA, 'SEGREDO')",
                {{"ANO", QString::number(today.date().year())}, {"DATA", today}});
    execGeneral("INSERT INTO UTILPASSWORD (UTIL, EMPRESA, BDUSERNAME, BDPASSWORD) "
                "VALUES ('ANA', 1, :USER, '')",
                {{"USER", m_dbUser}});
    execApplication("INSERT INTO UTILIZADORES (NRO, PASSWOR, SUPUTIL) VALUES ('ANA', 'SEGREDO', 'N')");
    execApplication("INSERT INTO ORCPARGER (CODIGO, TIPOORCAM, TIPOORDFAB) VALUES (1, '1', 'M')");
    for (const QString& entry : menuPrograms()) {
        const QStringList parts = entry.split('|');
        setRights("KAVORIMETAS", parts[0], parts[1], "S");
    }
}

ShellTestInstallation::~ShellTestInstallation()
{
    m_statementConnections.clear();
    if (m_prefix.isEmpty())
        return;
    try {
        auto maintenance = db::Connection::open(serverSettings(QStringLiteral("postgres")));
        for (const QString& alias : aliases())
            maintenance->exec(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_prefix + alias.toLower()));
    } catch (...) {
    }
}

std::shared_ptr<db::Connection> ShellTestInstallation::open(const QString& alias)
{
    return db::Connection::open(m_installation->alias(alias, "USER NAME=" + m_dbUser, "PASSWORD="));
}

db::Connection& ShellTestInstallation::statementConnection(const QString& alias)
{
    std::shared_ptr<db::Connection>& connection = m_statementConnections[alias];
    if (!connection)
        connection = open(alias);
    return *connection;
}

std::shared_ptr<db::Connection> ShellTestInstallation::general()
{
    return open(schema::InstallationBuilder::generalAlias());
}

std::shared_ptr<db::Connection> ShellTestInstallation::application()
{
    return open(CompanyAliases::forCompany(1).application);
}

std::shared_ptr<db::Connection> ShellTestInstallation::invoicing()
{
    return open(CompanyAliases::forCompany(1).invoicing);
}

std::shared_ptr<db::Connection> ShellTestInstallation::accounting()
{
    return open(CompanyAliases::forCompany(1).accounting);
}

GeneralCredentials ShellTestInstallation::credentials() const
{
    GeneralCredentials c;
    c.userName = m_dbUser;
    return c;
}

void ShellTestInstallation::execGeneral(const QString& sql, const db::Params& params)
{
    statementConnection(schema::InstallationBuilder::generalAlias()).exec(sql, params);
}

void ShellTestInstallation::execApplication(const QString& sql, const db::Params& params)
{
    statementConnection(CompanyAliases::forCompany(1).application).exec(sql, params);
}

void ShellTestInstallation::bringToProgramVersion()
{
    LoginState state;
    state.setFixedValues();
    state.WEmpNro = 1;
    state.WData = QDate::currentDate();
    auto db = application();
    VersionUpdate update(*db, state);
    update.readRecordedVersion();
    ASSERT_TRUE(update.run().isEmpty());
}

std::unique_ptr<db::Dataset> ShellTestInstallation::rightsRows()
{
    auto rows = std::make_unique<db::Dataset>(QStringLiteral("APLICACAODET"));
    rows->setConnection(application());
    rows->setSql(QStringLiteral("SELECT * FROM APLICACAODET"));
    rows->setMode(db::DatasetMode::ReadOnly);
    rows->open();
    return rows;
}

void ShellTestInstallation::addInvoicingLogin(const QString& computer, const QString& year, int company)
{
    execGeneral("INSERT INTO PARAMUTIL (COMP_NAME, APLICACAO, UTIL, EMPNRO, ANO) "
                "VALUES (:C, 'FACTURACAO', 'RUI', :E, :A)",
                {{"C", computer}, {"E", company}, {"A", year}});
}

void ShellTestInstallation::setRights(const QString& application, const QString& chapter, const QString& program,
                                      const QString& aceder, int company, const QString& user)
{
    execApplication(
        "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, "
        "INSERIR, ELIMINAR, IMPORTAR, IMPRIMIR, SCANNER) VALUES (:A, :C, :P, :E, :U, "
        ":ACEDER, 'S', 'S', 'S', 'S', 'S')",
        {{"A", application}, {"C", chapter}, {"P", program}, {"E", company}, {"U", user}, {"ACEDER", aceder}});
}

} // namespace kv::shell::test
