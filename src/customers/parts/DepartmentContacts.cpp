#include "customers/parts/DepartmentContacts.h"

#include "platform/db/Connection.h"

#include <QSet>
#include <optional>

namespace kv::customers {

namespace {

// A transaction of our own only when the caller has none open.
class OwnTransaction {
public:
    explicit OwnTransaction(kv::db::Connection& db)
    {
        if (!db.inTransaction())
            m_transaction.emplace(db);
    }
    void commit()
    {
        if (m_transaction)
            m_transaction->commit();
    }

private:
    std::optional<kv::db::Transaction> m_transaction;
};

} // namespace

DepartmentContacts::DepartmentContacts(QString entityType, QList<Department> departments)
    : m_type(std::move(entityType)), m_departments(std::move(departments))
{
}

DepartmentContacts DepartmentContacts::customers()
{
    return DepartmentContacts(QStringLiteral("C"), {{QStringLiteral("Gerencia"), QStringLiteral("Gerência"),
                                                     QStringLiteral("Ger"), QStringLiteral("MailGerencia")},
                                                    {QStringLiteral("Comercial"), QStringLiteral("Comercial"),
                                                     QStringLiteral("Com"), QStringLiteral("MailComercial")},
                                                    {QStringLiteral("Tesouraria"), QStringLiteral("Tesouraria"),
                                                     QStringLiteral("Tes"), QStringLiteral("MailTesouraria")},
                                                    {QStringLiteral("Producao"), QStringLiteral("Produção"),
                                                     QStringLiteral("Prd"), QStringLiteral("MailProducao")},
                                                    {QStringLiteral("Qualidade"), QStringLiteral("Qualidade"),
                                                     QStringLiteral("Qld"), QStringLiteral("MailQualidade")},
                                                    {QStringLiteral("Armazem"), QStringLiteral("Armazem"),
                                                     QStringLiteral("Arm"), QStringLiteral("MailArmazem")}});
}

DepartmentContacts DepartmentContacts::agents()
{
    return DepartmentContacts(QStringLiteral("A"), {{QStringLiteral("Gerencia"), QStringLiteral("Gerência"),
                                                     QStringLiteral("Ger"), QStringLiteral("MailGerencia")},
                                                    {QStringLiteral("Comercial"), QStringLiteral("Comercial"),
                                                     QStringLiteral("Com"), QStringLiteral("MailComercial")},
                                                    {QStringLiteral("Tesouraria"), QStringLiteral("Tesouraria"),
                                                     QStringLiteral("Tes"), QStringLiteral("MailTesouraria")},
                                                    {QStringLiteral("Armazem"), QStringLiteral("Armazem"),
                                                     QStringLiteral("Arm"), QStringLiteral("MailArmazem")}});
}

int DepartmentContacts::createMissing(kv::db::Connection& invoicing, int entity) const
{
    OwnTransaction transaction(invoicing);
    const auto present = invoicing.query(
        QStringLiteral("SELECT DESCRICAO FROM CONTACTOS WHERE TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo"),
        {{QStringLiteral("WTipoEnt"), m_type}, {QStringLiteral("WCodigo"), entity}});
    QSet<QString> names;
    for (const auto& row : present.rows)
        names.insert(row.at(0).toString());
    int inserted = 0;
    for (const Department& department : m_departments) {
        if (names.contains(department.name))
            continue;
        invoicing.exec(QStringLiteral("INSERT INTO CONTACTOS (TIPOENT,ENTIDADE,DESCRICAO) "
                                      "VALUES (:WTipoEnt,:WCodigo,:WDescricao)"),
                       {{QStringLiteral("WTipoEnt"), m_type},
                        {QStringLiteral("WCodigo"), entity},
                        {QStringLiteral("WDescricao"), department.name}});
        ++inserted;
    }
    transaction.commit();
    return inserted;
}

QList<ContactDetails> DepartmentContacts::read(kv::db::Connection& invoicing, int entity) const
{
    QList<ContactDetails> blocks(m_departments.size());
    const auto rows = invoicing.query(QStringLiteral("SELECT DESCRICAO, CONTACTO, TELEFONE, TELEMOVEL, TELFAX, EMAIL "
                                                     "FROM CONTACTOS WHERE TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo "
                                                     "ORDER BY TIPOENT, ENTIDADE"),
                                      {{QStringLiteral("WTipoEnt"), m_type}, {QStringLiteral("WCodigo"), entity}});
    for (const auto& row : rows.rows) {
        // Exact names only: the collation would match other letter cases.
        const QString name = row.at(0).toString();
        for (qsizetype i = 0; i < m_departments.size(); ++i) {
            if (m_departments[i].name != name)
                continue;
            blocks[i] = {row.at(1).toString(), row.at(2).toString(), row.at(4).toString(), row.at(3).toString(),
                         row.at(5).toString()};
        }
    }
    return blocks;
}

void DepartmentContacts::write(kv::db::Connection& invoicing, int entity, const QList<ContactDetails>& blocks) const
{
    OwnTransaction transaction(invoicing);
    for (qsizetype i = 0; i < m_departments.size(); ++i) {
        const ContactDetails details = i < blocks.size() ? blocks[i] : ContactDetails{};
        const kv::db::Params params{{QStringLiteral("WTipoEnt"), m_type},
                                    {QStringLiteral("WCodigo"), entity},
                                    {QStringLiteral("WDescricao"), m_departments[i].name},
                                    {QStringLiteral("WContacto"), details.contact.left(ContactWidth)},
                                    {QStringLiteral("WTelefone"), details.telephone.left(PhoneWidth)},
                                    {QStringLiteral("WTelfax"), details.fax.left(PhoneWidth)},
                                    {QStringLiteral("WTelemovel"), details.mobile.left(PhoneWidth)},
                                    {QStringLiteral("WEmail"), details.email.left(EmailWidth)}};
        const long long changed = invoicing.exec(
            QStringLiteral("UPDATE CONTACTOS SET CONTACTO = :WContacto, TELEFONE = :WTelefone, TELFAX = :WTelfax, "
                           "TELEMOVEL = :WTelemovel, EMAIL = :WEmail "
                           "WHERE TIPOENT = :WTipoEnt AND ENTIDADE = :WCodigo AND DESCRICAO = :WDescricao"),
            params);
        if (changed == 0) {
            invoicing.exec(QStringLiteral("INSERT INTO CONTACTOS (TIPOENT,ENTIDADE,DESCRICAO,CONTACTO,TELEFONE,TELFAX,"
                                          "TELEMOVEL,EMAIL) VALUES (:WTipoEnt,:WCodigo,:WDescricao,:WContacto,"
                                          ":WTelefone,:WTelfax,:WTelemovel,:WEmail)"),
                           params);
        }
    }
    transaction.commit();
}

void DepartmentContacts::remove(kv::db::Connection& invoicing, int entity) const
{
    invoicing.exec(QStringLiteral("DELETE FROM CONTACTOS Where TIPOENT = :WTipoEnt and ENTIDADE = :WCodigo"),
                   {{QStringLiteral("WTipoEnt"), m_type}, {QStringLiteral("WCodigo"), entity}});
}

} // namespace kv::customers
