#include "customers/forms/CustomerForms.h"
#include "customers/forms/Torcf032cli.h"
#include "platform/db/Dataset.h"
#include "platform/text/NumberText.h"
#include "shell/Session.h"
#include "shell/ShellDataModules.h"
#include "support/Scenario.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTextEdit>

using kv::customers::Torcf032cli;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

// A company linked to its accounting in automatic mode, with treasury, and a
// notes folder; customer 10 has contacts and receivables.
struct Company {
    explicit Company(Engine engine) : session(scenario.login(engine))
    {
        kv::customers::registerCustomerForms(session, scenario.forms());
        inv = scenario.invoicingDatabase();
        notes = scenario.tempPath("informacoes");
        QDir().mkpath(notes);
        const QString year = session.state().WAno;
        kv::test::insertRows(*inv, "PARGER", {"ANO", "CONTABILIDADE", "CONTABAUTO", "TESOURARIA", "PATHINFCLIENTES"},
                             {{year, "S", "S", "S", notes}});
        kv::test::insertRows(*inv, "PAISES", {"PAIS", "SIGLA", "MERCADO", "CLICONTA1", "CLIDIG1", "CLIOPEN1"},
                             {{"PORTUGAL", "PT", "N", "211", 6, "S"}});
        kv::test::insertRows(*inv, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS"},
                             {{"4000-123", "PORTO", "PORTUGAL"}});
        kv::test::insertRows(*inv, "VENDEDORES", {"CODIGO", "NOME"}, {{7, "Rui"}});
        kv::test::insertRows(*inv, "CNDPGT", {"CODIGO", "NRDIAS", "DESCRI"}, {{1, 30.0, "30 dias"}});
        kv::test::insertRows(*inv, "CLIENTES", {"CODIGO", "NOME", "NIF", "CODPOSTAL", "SIGLA", "CONTA1"},
                             {{10, "Zulmira Lda", "500100200", "4000-123", "ZUL", ""}});
        kv::test::insertRows(*inv, "CONTACTOS", {"TIPOENT", "ENTIDADE", "DESCRICAO", "CONTACTO", "EMAIL"},
                             {{"C", 10, "Comercial", "Ana", "ana@exemplo.pt"}});
        kv::test::insertRows(*inv, "CLIVALCOB", {"CODIGO", "DEB0", "DEB30", "TITULOS"}, {{10, 10.0, 5.0, 7.0}});
        kv::test::insertRows(*scenario.accountingDatabase(), "PLANOIDENT", {"ANO", "CONTA", "NOME", "TIPO", "GRAU"},
                             {{year, "211", "Clientes c/c", "I", 2}});
        scenario.applicationDatabase()->exec(
            "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, ALTERAR, "
            "ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, 'Ficheiros Base', 'Clientes', 1, "
            ":U, 'S', 'S', 'S', 'N', 'N', 'N', 'N', 'N', 'N')",
            {{"A", session.state().WModuloBase}, {"U", session.state().WUtil}});
        kv::db::Dataset& rights = session.dataModules().dataset("DTEMPRESAS.APLICACAODET");
        rights.close();
        rights.open();
        // The quote being approved, without a customer.
        scenario.applicationDatabase()->exec(
            "INSERT INTO ORCMAS (CODIGO, SUBCODIGO, CLINRO, NOME, MORADA1, CODPOSTAL, CNDPGT, VNDNRO) VALUES "
            "(500, 99, 0, 'Nova Embalagem', 'Rua Direita 1', '4000-123', 1, 7)");
        kv::db::Dataset& quotes = session.dataModules().dataset("ZURIVAVEZA.ORCMAS");
        quotes.close();
        quotes.open();
        quotes.locate({"CODIGO", "SUBCODIGO"}, {500, 99});
        session.state().WCliNroAprov = 0;
    }
    ~Company()
    {
        QList<QPointer<QDialog>> dialogs;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialogs.append(dialog);
        for (const QPointer<QDialog>& dialog : dialogs)
            if (dialog) {
                dialog->close();
                delete dialog.data();
            }
        scenario.forms().clear();
    }

    QVariant value(const QString& sql) { return inv->scalar(sql); }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    std::shared_ptr<kv::db::Connection> inv;
    QString notes;
};

class CustomerParts : public ::testing::TestWithParam<Engine> {};

TEST_P(CustomerParts, DisplayShowsContactsAndViews)
{
    KV_SKIP_WITHOUT(GetParam());
    Company c(GetParam());
    FormDriver form = c.scenario.open("Torcf032cli");
    EXPECT_EQ(form.text("Edit_ComContacto"), "Ana");
    EXPECT_EQ(form.text("Edit_GerContacto"), "");
    EXPECT_EQ(form.text("Figura1"), kv::text::money(10, 2));
    EXPECT_EQ(form.text("Figura9"), kv::text::money(15, 2)); // bills not counted
}

TEST_P(CustomerParts, NewCustomerGetsContactsAndAccountsWithItsRow)
{
    KV_SKIP_WITHOUT(GetParam());
    Company c(GetParam());
    FormDriver form = c.scenario.open("Torcf032cli");
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "11");
    form.focus("NOME");
    EXPECT_EQ(c.value("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = 'C' AND ENTIDADE = 11").toInt(), 6);
    form.type("SIGLA", "NOVA");
    form.type("Edit_GerContacto", "Gestor com um nome muito comprido de mais para a coluna");
    form.type("Edit_GerTelefone", "2212345678901");
    form.find<QTabWidget>("NB")->setCurrentIndex(Torcf032cli::Goods);
    form.type("NIF", "500100300");
    form.focus("SIGLA");
    form.focus("DBGrid1");
    ASSERT_FALSE(form.isOpen()) << c.scenario.messages().transcript().join(" | ").toStdString();
    EXPECT_EQ(c.session.state().WCliNroAprov, 11);
    EXPECT_EQ(c.value("SELECT CONTACTO FROM CONTACTOS WHERE ENTIDADE = 11 AND DESCRICAO = 'Gerencia'").toString(),
              QStringLiteral("Gestor com um nome muito comprido de mais para a coluna").left(40));
    EXPECT_EQ(c.value("SELECT TELEFONE FROM CONTACTOS WHERE ENTIDADE = 11 AND DESCRICAO = 'Gerencia'").toString(),
              "221234567");
    // The automatic account opened at the save and stored in the row.
    EXPECT_EQ(c.value("SELECT CONTA1 FROM CLIENTES WHERE CODIGO = 11").toString(), "211000011");
    EXPECT_EQ(
        c.scenario.accountingDatabase()->scalar("SELECT NOME FROM PLANOIDENT WHERE CONTA = '211000011'").toString(),
        "Nova Embalagem");
}

TEST_P(CustomerParts, CancelledNewCustomerLeavesNoContacts)
{
    KV_SKIP_WITHOUT(GetParam());
    Company c(GetParam());
    FormDriver form = c.scenario.open("Torcf032cli");
    form.click("BotInserir");
    form.focus("NOME");
    EXPECT_EQ(c.value("SELECT COUNT(*) FROM CONTACTOS WHERE ENTIDADE = 11").toInt(), 6);
    form.click("BotCancelar");
    EXPECT_EQ(c.value("SELECT COUNT(*) FROM CONTACTOS WHERE ENTIDADE = 11").toInt(), 0);
}

TEST_P(CustomerParts, NotesOpenOnTheirPageAndAskBeforeTheListSaves)
{
    KV_SKIP_WITHOUT(GetParam());
    Company c(GetParam());
    FormDriver form = c.scenario.open("Torcf032cli");
    qobject_cast<Torcf032cli*>(form.window())->showPage(Torcf032cli::Notes);
    EXPECT_TRUE(QFile::exists(c.notes + "/CLI10.Rtf"));
    auto* editor = form.find<QTextEdit>("RichEditInform");
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    form.enter(); // a new paragraph, not the next field
    EXPECT_EQ(form.focused(), "RichEditInform");
    editor->insertPlainText("Só entregas de manhã");
    c.scenario.messages().answer(true);
    form.focus("DBGrid1");
    EXPECT_EQ(c.scenario.messages().texts().value(0), "DESEJA GRAVAR ALTERAÇÕES DAS INFORMAÇÕES !!! Confirma ?");
    QFile file(c.notes + "/CLI10.Rtf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("entregas de manh\\'e3"));
}

TEST_P(CustomerParts, BulkRunOpensAccountsAndTheListIsReadAgain)
{
    KV_SKIP_WITHOUT(GetParam());
    Company c(GetParam());
    FormDriver form = c.scenario.open("Torcf032cli");
    ASSERT_TRUE(form.isVisible("BotContab"));
    c.scenario.messages().answer(true);
    form.click("BotContab");
    EXPECT_EQ(c.value("SELECT CONTA1 FROM CLIENTES WHERE CODIGO = 10").toString(), "211000010");
    // The row on show is the one just written: a later save keeps the account.
    EXPECT_EQ(form.text("CONTA1"), "211000010");
}

KV_ENGINE_SUITE(CustomerParts);

} // namespace
