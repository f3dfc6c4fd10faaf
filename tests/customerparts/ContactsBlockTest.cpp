#include "customers/partforms/ContactsBlock.h"

#include "platform/ui/TMailit.h"
#include "support/Scenario.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>

using kv::customers::ContactDetails;
using kv::customers::ContactsBlock;
using kv::customers::DepartmentContacts;

namespace {

class ContactsBlockTest : public ::testing::Test {
protected:
    kv::test::Scenario scenario;
    ContactsBlock block{DepartmentContacts::customers()};

    QLineEdit* edit(const char* name) { return block.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    kv::ui::TMailit* label(const char* name) { return block.findChild<kv::ui::TMailit*>(QString::fromLatin1(name)); }
};

TEST_F(ContactsBlockTest, ShowsEachDepartmentInItsBlockAndEmptiesTheRest)
{
    QList<ContactDetails> blocks(6);
    blocks[3] = {"Rita", "221111111", "222222222", "933333333", "producao@exemplo.pt"};
    block.setBlocks(blocks);
    EXPECT_EQ(edit("Edit_PrdContacto")->text(), "Rita");
    EXPECT_EQ(edit("Edit_PrdTelefax")->text(), "222222222");
    EXPECT_EQ(label("MailProducao")->MailTo(), "producao@exemplo.pt");
    EXPECT_EQ(block.blocks(), blocks);

    block.setBlocks({});
    EXPECT_TRUE(edit("Edit_PrdContacto")->text().isEmpty());
    EXPECT_EQ(label("MailProducao")->text(), QString());
    EXPECT_EQ(block.count(), 6);
    EXPECT_EQ(block.tabText(3), QStringLiteral(" Produção "));
}

TEST_F(ContactsBlockTest, LeavingAnEmailShowsItAndMovesToTheNextDepartment)
{
    QSignalSpy last(&block, &ContactsBlock::lastDepartmentLeft);
    block.show();
    QApplication::setActiveWindow(&block);
    edit("Edit_GerEMail")->setFocus();
    edit("Edit_GerEMail")->setText("gerencia@exemplo.pt");
    edit("Edit_GerContacto")->setFocus(); // leaves the e-mail
    scenario.settle();
    EXPECT_EQ(label("MailGerencia")->MailTo(), "gerencia@exemplo.pt");
    EXPECT_EQ(block.currentIndex(), 1);
    EXPECT_EQ(last.count(), 0);

    block.setCurrentIndex(5);
    edit("Edit_ArmEMail")->setFocus();
    block.tabBar()->setFocus();
    scenario.settle();
    EXPECT_EQ(last.count(), 1);
}

} // namespace
