#include "customers/parts/DepartmentContacts.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::customers::ContactDetails;
using kv::customers::DepartmentContacts;
using kv::test::Engine;

namespace {

class ContactsTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        // Customer 7 has one department already filled and a department the
        // list does not know; agent 7 shares the number.
        kv::test::insertRows(*db, "CONTACTOS", {"TIPOENT", "ENTIDADE", "DESCRICAO", "CONTACTO", "EMAIL"},
                             {{"C", 7, "Comercial", "Ana", "ana@exemplo.pt"},
                              {"C", 7, "Compras", "Rui", "rui@exemplo.pt"},
                              {"A", 7, "Gerencia", "Agente", ""}});
    }

    int rows(const char* type, int entity)
    {
        return db
            ->scalar("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = :T AND ENTIDADE = :E",
                     {{"T", QString::fromLatin1(type)}, {"E", entity}})
            .toInt();
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
    const DepartmentContacts customers = DepartmentContacts::customers();
};

TEST_P(ContactsTest, MissingRowsAreCreatedAndPresentOnesKept)
{
    EXPECT_EQ(customers.createMissing(*db, 7), 5);
    EXPECT_EQ(rows("C", 7), 7); // six departments and the unknown one
    EXPECT_EQ(customers.read(*db, 7).at(1), (ContactDetails{"Ana", "", "", "", "ana@exemplo.pt"}));
    // A number reused after a dropped new customer: nothing to add, no key clash.
    EXPECT_EQ(customers.createMissing(*db, 7), 0);
    EXPECT_EQ(rows("A", 7), 1);
}

TEST_P(ContactsTest, ReadShowsTheListsDepartmentsOnly)
{
    const QList<ContactDetails> blocks = customers.read(*db, 7);
    ASSERT_EQ(blocks.size(), 6);
    for (qsizetype i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].contact, i == 1 ? QStringLiteral("Ana") : QString()) << i;
    EXPECT_EQ(DepartmentContacts::agents().read(*db, 7).at(0).contact, QStringLiteral("Agente"));
}

TEST_P(ContactsTest, WriteStoresEveryBlockCutToItsColumn)
{
    QList<ContactDetails> blocks(6);
    blocks[0] = {QString(45, u'c'), "2212345678901", "22999", "912345678", QString(60, u'e')};
    blocks[5] = {"Armazém", "", "", "", "armazem@exemplo.pt"};
    customers.write(*db, 7, blocks);

    const QList<ContactDetails> stored = customers.read(*db, 7);
    EXPECT_EQ(stored[0], (ContactDetails{QString(40, u'c'), "221234567", "22999", "912345678", QString(50, u'e')}));
    EXPECT_EQ(stored[1], ContactDetails{}); // emptied, as the block was
    EXPECT_EQ(stored[5].email, QStringLiteral("armazem@exemplo.pt"));
    EXPECT_EQ(rows("C", 7), 7);
    EXPECT_EQ(db->scalar("SELECT CONTACTO FROM CONTACTOS WHERE TIPOENT = 'C' AND DESCRICAO = 'Compras'").toString(),
              QStringLiteral("Rui"));
}

TEST_P(ContactsTest, WriteBelongsToTheCallersTransaction)
{
    QList<ContactDetails> blocks(6);
    blocks[0].contact = QStringLiteral("Novo");
    {
        kv::db::Transaction transaction(*db);
        customers.write(*db, 8, blocks);
        // the customer's own row is refused: nothing of the save stays
    }
    EXPECT_EQ(rows("C", 8), 0);
}

TEST_P(ContactsTest, RemoveDropsOnlyTheEntitysRowsOfItsKind)
{
    customers.remove(*db, 7);
    EXPECT_EQ(rows("C", 7), 0);
    EXPECT_EQ(rows("A", 7), 1);
}

KV_ENGINE_SUITE(ContactsTest);

} // namespace
