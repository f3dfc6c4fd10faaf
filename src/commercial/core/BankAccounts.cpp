#include "commercial/core/BankAccounts.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

namespace kv::commercial {

namespace {

const QString Bank = QStringLiteral("CODIGO");
const QString Kind = QStringLiteral("CLASSIF");

} // namespace

QString missingKindMessage(const QString& kind)
{
    return QString::fromUtf8("Código Inválido, Tabela de Saldos - < %1 >").arg(kind);
}

BankAccounts::BankAccounts(std::shared_ptr<kv::db::Connection> invoicing)
    : m_connection(std::move(invoicing)), m_rows(std::make_unique<kv::db::Dataset>(QStringLiteral("BANCOSSALDOS")))
{
    m_rows->setConnection(m_connection);
    m_rows->setSql(QStringLiteral("Select * From BANCOSSALDOS Where CODIGO = :wcodigo Order By CODIGO, CLASSIF"));
    m_rows->setMode(kv::db::DatasetMode::Cached);
    // No update-error handler: a refusal ends the apply with the database's own message.
    m_rows->setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("BANCOSSALDOS"),
        {"CODIGO", "CLASSIF", "SALDO_DESCRI", "GESTORCONTA", "CARGO", "TELEMOVEL", "EMAIL", "NIB", "SWIFT", "CONTAB",
         "SALDO_INICIAL", "SALDO_ACTUAL", "SALDO_PLAFOND", "DATABE"},
        {"CODIGO", "CLASSIF"}));
}

BankAccounts::~BankAccounts() = default;

void BankAccounts::openFor(int bank)
{
    m_rows->close();
    m_bank = bank;
    m_rows->setParam(QStringLiteral("wcodigo"), bank);
    m_rows->open();
}

void BankAccounts::close()
{
    m_rows->close();
    m_bank = 0;
}

std::optional<QString> BankAccounts::kindDescription(const QString& kind) const
{
    const kv::db::QueryResult found = m_connection->query(
        QStringLiteral("SELECT SALDO_DESCRI FROM BANCOSTABSALDOS WHERE CLASSIF = :CLASSIF"), {{"CLASSIF", kind}});
    if (found.isEmpty())
        return std::nullopt;
    return found.value(0, QStringLiteral("SALDO_DESCRI")).toString();
}

bool BankAccounts::has(const QString& kind) const
{
    if (!m_rows->isOpen())
        return false;
    const int column = m_rows->fieldIndex(Kind);
    const int count = m_rows->recordCount();
    for (int row = 0; row < count; ++row)
        if (m_rows->valueAt(row, column).toString() == kind)
            return true;
    return false;
}

bool BankAccounts::locate(const QString& kind) { return m_rows->isOpen() && m_rows->locate(Kind, kind); }

void BankAccounts::start(const QString& kind, const QString& description, const QDateTime& now)
{
    m_rows->append();
    m_rows->setValue(Bank, m_bank);
    m_rows->setValue(Kind, kind);
    m_rows->setValue(QStringLiteral("SALDO_DESCRI"), description);
    m_rows->setValue(QStringLiteral("DATABE"), now);
    m_rows->post();
}

bool BankAccounts::startMissingDemandAccount(const QDateTime& now, bool& kindMissing)
{
    kindMissing = false;
    const std::optional<QString> description = kindDescription(DemandDepositKind);
    if (!description) {
        kindMissing = true;
        return false;
    }
    if (has(DemandDepositKind))
        return false;
    start(DemandDepositKind, *description, now);
    return true;
}

void BankAccounts::deleteBank(kv::db::Dataset& banks)
{
    const QVariant bank = banks.value(Bank);
    auto connection = banks.connection();
    kv::db::Transaction transaction(*connection);
    connection->exec(QStringLiteral("Delete From BANCOSSALDOS Where CODIGO = :WCodigo"), {{"WCodigo", bank}});
    banks.deleteRecord();
    try {
        banks.applyUpdates();
    } catch (...) {
        banks.cancelUpdates();
        throw;
    }
    transaction.commit();
}

} // namespace kv::commercial
