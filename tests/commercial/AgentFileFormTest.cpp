// The agents with their department contacts and notes, on the demo company
// (agents 1 and 2 with four contact rows each, banks 1 and 2, the notes
// folder X:\Informacoes\Agentes mapped into the installation folder).
#include "commercial/CommercialSession.h"

#include "platform/db/Connection.h"
#include "platform/notes/NotesEditor.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QFile>
#include <QTabWidget>
#include <QTextEdit>

using namespace kv::commercial::test;
using kv::test::FormDriver;

namespace {

const QString Beeped = QStringLiteral("<beep>");
const QString SaveNotes = QString::fromUtf8("DESEJA GRAVAR ALTERAÇÕES DAS INFORMAÇÕES !!! Confirma ?");

struct Agents {
    explicit Agents(Engine engine) : session(scenario, engine, kv::test::Company::Demo)
    {
        // The rates the demo agents name, whichever the demo company holds.
        kv::db::Connection& inv = *session.invoicing();
        inv.exec("DELETE FROM COMISSOES");
        kv::test::insertRows(inv, "COMISSOES", {"CODIGO", "PRCCOM"}, {{1, 2.5}, {2, 3.0}, {3, 5.0}});
        folder = scenario.installation().mapWindowsPath(
            session.invoicing()->scalar("SELECT PATHINFAGENTES FROM PARGER").toString());
        QDir().mkpath(folder);
    }

    int count(const QString& sql) { return session.invoicing()->scalar(sql).toInt(); }
    FormDriver open()
    {
        FormDriver opened = scenario.open("TFACF031");
        scenario.settle();
        scenario.messages().clear();
        return opened;
    }
    void stand(int agent)
    {
        ASSERT_TRUE(session.dataset("DTFILES.AGENTES").locate("CODIGO", agent));
        scenario.settle();
    }
    void returnToGrid(FormDriver& form)
    {
        form.find("DBGrid1")->setFocus(Qt::TabFocusReason);
        scenario.settle();
    }
    void showTab(FormDriver& form, int tab)
    {
        form.find<QTabWidget>("TabControl")->setCurrentIndex(tab);
        scenario.settle();
    }
    // The notes page of an agent (the grid left for its name).
    void notesOf(FormDriver& form, int agent)
    {
        stand(agent);
        form.focus("Edit_Nome");
        showTab(form, 2);
    }
    QString notesFile(int agent) const { return QDir(folder).filePath(QStringLiteral("AGT%1.Rtf").arg(agent)); }
    void typeNotes(FormDriver& form, const QString& text)
    {
        form.find<QTextEdit>("RichEditInform")->insertPlainText(text);
        scenario.settle();
    }

    kv::test::Scenario scenario;
    CommercialSession session;
    QString folder;
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ------------------------------------------------------------------ agents

class AgentFile : public ::testing::TestWithParam<Engine> {};

// A new agent is proposed the last code + 1; with no agents, 1.
TEST_P(AgentFile, ProposesTheLastCodePlusOne)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    FormDriver form = a.open();
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "3");
    form.click("BotCancelar");
    form.close();
    a.scenario.settle();
    a.session.invoicing()->exec("DELETE FROM AGENTES");
    form = a.open();
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "1");
}

// A new agent is stored with its opening moment, the postal code's
// prefixes and four contact rows of kind "A", empty ones included.
TEST_P(AgentFile, NewAgentWithItsFourContacts)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    FormDriver form = a.open();
    form.click("BotInserir");
    form.enter();
    form.type("Edit_Nome", "Novo Agente");
    form.type("Edit_CodPostal", "36202");
    form.enter();
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(form.text("Edit_TelCodPais"), "34");
    EXPECT_EQ(form.text("Edit_TelCodZona"), "986");
    EXPECT_EQ(form.focused(), "Edit_Telefone");
    form.find<QTabWidget>("NBContactos")->setCurrentIndex(1);
    form.type("Edit_ComContacto", "Alguém");
    a.returnToGrid(form);
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM AGENTES WHERE CODIGO = 3 AND DATAABERTURA IS NOT NULL "
                      "AND SIGLANIF = 'ES' AND TELCODPAIS = '34' AND TELCODZONA = '986'"),
              1);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = 'A' AND ENTIDADE = 3"), 4);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = 'A' AND ENTIDADE = 3 "
                      "AND DESCRICAO = 'Comercial' AND CONTACTO = 'Alguém'"),
              1);
}

// Closing the form saves the agent being typed with its contacts.
TEST_P(AgentFile, CloseSavesTheAgentWithItsContacts)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    FormDriver form = a.open();
    a.stand(2);
    form.focus("Edit_Nome");
    form.type("Edit_GerContacto", "Nova Gerente");
    form.close();
    a.scenario.settle();
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = 'A' AND ENTIDADE = 2 "
                      "AND DESCRICAO = 'Gerencia' AND CONTACTO = 'Nova Gerente'"),
              1);
}

// The codes of other tables are checked on leaving them and before a save.
struct CodeCase {
    const char* label;
    const char* field;
    QString typed;
    QString after; // the field's text afterwards
    const char* saved; // what the return to the grid leaves of the agent
};

class AgentCodes : public ::testing::TestWithParam<std::tuple<CodeCase, Engine>> {};

TEST_P(AgentCodes, UnknownCodeIsRefused)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Agents a(engine);
    FormDriver form = a.open();
    a.stand(1);
    form.focus("Edit_Nome");
    a.showTab(form, 1);
    form.type(QString::fromUtf8(c.field), c.typed);
    form.enter();
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{Beeped});
    EXPECT_EQ(form.focused(), QString::fromUtf8(c.field));
    EXPECT_EQ(form.text(QString::fromUtf8(c.field)), c.after);
    a.returnToGrid(form);
    EXPECT_EQ(
        a.count(QStringLiteral("SELECT COUNT(*) FROM AGENTES WHERE CODIGO = 1 AND ") + QString::fromUtf8(c.saved)), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Banking, AgentCodes,
    ::testing::Combine(::testing::Values(
                           // An unknown bank is emptied, and the agent saved without one.
                           CodeCase{"bank", "Edit_Banco", "99", "", "BANCO IS NULL AND COMISSAO = 3"},
                           // An unknown rate keeps the focus: the agent is not saved with it.
                           CodeCase{"commission", "Edit_Comissao", "99", "99", "BANCO = 1 AND COMISSAO = 3"}),
                       ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<CodeCase>);

// Existing codes show the bank's name and the rate.
TEST_P(AgentFile, KnownCodesShowTheirNames)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    FormDriver form = a.open();
    a.stand(2);
    EXPECT_EQ(form.text("Edit_NomeBanco"), QString::fromUtf8("Caixa de Crédito Agrícola de Aveiro"));
    EXPECT_EQ(form.text("Edit_PrcCom"), "3");
    a.session.invoicing()->exec("DELETE FROM BANCOS WHERE CODIGO = 2");
    a.session.dataset("DTFILES.BANCOS").refresh();
    a.stand(1);
    a.stand(2);
    EXPECT_EQ(form.text("Edit_NomeBanco"), "");
}

// Deleting an agent takes its contacts and notes file, and nothing of a
// customer of the same number.
TEST_P(AgentFile, DeletedWithItsContactsAndNotes)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    kv::test::insertRows(*a.session.invoicing(), "AGENTES", {"CODIGO", "NOME"}, {{101, "Agente 101"}});
    kv::test::insertRows(*a.session.invoicing(), "CONTACTOS", {"TIPOENT", "ENTIDADE", "DESCRICAO"},
                         {{"A", 101, "Gerencia"}});
    QFile notes(a.notesFile(101));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("{\\rtf1 Notas}");
    notes.close();
    FormDriver form = a.open();
    a.session.dataset("DTFILES.AGENTES").refresh();
    a.stand(101);
    a.scenario.messages().answer(true);
    form.click("BotDelete");
    a.scenario.settle();
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM AGENTES WHERE CODIGO = 101"), 0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = 'A' AND ENTIDADE = 101"), 0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CONTACTOS WHERE TIPOENT = 'C' AND ENTIDADE = 101"), 6);
    EXPECT_FALSE(QFile::exists(a.notesFile(101)));
}

// ------------------------------------------------------------------ notes

// Opening the notes of an agent without a file creates it at once.
TEST_P(AgentFile, NotesFileCreatedOnOpening)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    QFile::remove(a.notesFile(2));
    FormDriver form = a.open();
    a.notesOf(form, 2);
    EXPECT_TRUE(QFile::exists(a.notesFile(2)));
    EXPECT_EQ(form.focused(), "RichEditInform");
}

// Leaving the notes with changes asks; No keeps the file, Yes saves it.
TEST_P(AgentFile, LeavingChangedNotesAsks)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    FormDriver form = a.open();
    a.notesOf(form, 2);
    const QByteArray before = contents(a.notesFile(2));
    a.typeNotes(form, "Visita mensal");
    a.scenario.messages().answer(false);
    a.showTab(form, 1);
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{SaveNotes});
    EXPECT_EQ(contents(a.notesFile(2)), before);
    a.showTab(form, 2);
    a.typeNotes(form, "Visita mensal");
    a.scenario.messages().answer(true);
    a.showTab(form, 0);
    EXPECT_TRUE(contents(a.notesFile(2)).contains("Visita mensal"));
}

// Another agent becoming current, or the form closing, with changed notes
// asks first; the notes then shown are the new agent's.
TEST_P(AgentFile, RecordChangeAndCloseAskAboutTheNotes)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    QFile one(a.notesFile(1));
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.write("Notas do agente um");
    one.close();
    FormDriver form = a.open();
    a.notesOf(form, 2);
    a.typeNotes(form, "Do dois");
    a.scenario.messages().answer(true);
    a.stand(1);
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{SaveNotes});
    EXPECT_TRUE(contents(a.notesFile(2)).contains("Do dois"));
    EXPECT_EQ(form.find<QTextEdit>("RichEditInform")->toPlainText(), "Notas do agente um");
    a.typeNotes(form, " e mais");
    a.scenario.messages().answer(true);
    form.close();
    a.scenario.settle();
    EXPECT_EQ(a.scenario.messages().transcript(), (QStringList{SaveNotes, SaveNotes}));
    EXPECT_TRUE(contents(a.notesFile(1)).contains("e mais"));
}

// The notes still open after the banks were opened from the bank button.
TEST_P(AgentFile, NotesOpenAfterTheBanks)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    QFile::remove(a.notesFile(1));
    FormDriver form = a.open();
    a.stand(1);
    form.focus("Edit_Nome");
    a.showTab(form, 1);
    a.scenario.onDialog([](FormDriver& banks) {
        EXPECT_EQ(banks.window()->objectName(), "TFACF030A");
        banks.close();
    });
    form.click("BotBanco");
    a.scenario.settle();
    EXPECT_EQ(form.text("Edit_NomeBanco"), "Banco Comercial do Norte, S.A.");
    form.focus("Edit_Nome");
    a.showTab(form, 2);
    EXPECT_TRUE(QFile::exists(a.notesFile(1)));
    EXPECT_EQ(form.focused(), "RichEditInform");
}

// Without a notes folder the notes tab falls back to the first.
TEST_P(AgentFile, NoNotesFolder)
{
    KV_SKIP_WITHOUT(GetParam());
    Agents a(GetParam());
    a.session.invoicing()->exec("UPDATE PARGER SET PATHINFAGENTES = NULL");
    FormDriver form = a.open();
    a.notesOf(form, 1);
    EXPECT_EQ(form.find<QTabWidget>("TabControl")->currentIndex(), 0);
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{});
}

// A text or RTF file imported becomes the agent's notes file at once;
// "Limpar Informações" empties only the editor until the next save.
struct ImportCase {
    const char* label;
    const char* file;
    QByteArray content;
};

class AgentNotesImport : public ::testing::TestWithParam<std::tuple<ImportCase, Engine>> {};

TEST_P(AgentNotesImport, BecomesTheNotesFile)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Agents a(engine);
    const QString source = QDir(a.folder).filePath(QString::fromUtf8(c.file));
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.content);
    file.close();
    FormDriver form = a.open();
    a.notesOf(form, 2);
    auto* notes = form.find<kv::notes::NotesEditor>("PageInformacoes");
    a.scenario.messages().answer(true);
    a.scenario.onDialog([&](FormDriver& dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog.window());
        ASSERT_NE(files, nullptr);
        // Typed, as a user picks a file by name.
        auto* name = files->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromUtf8(c.file));
        static_cast<QDialog*>(files)->accept();
    });
    notes->importFile();
    a.scenario.settle();
    EXPECT_EQ(notes->editor()->toPlainText(), "Condições do agente");
    EXPECT_TRUE(contents(a.notesFile(2)).contains("Condi"));

    a.scenario.messages().answer(true);
    notes->clearNotes();
    EXPECT_TRUE(notes->editor()->toPlainText().isEmpty());
    EXPECT_TRUE(contents(a.notesFile(2)).contains("Condi"));
    a.scenario.messages().answer(false); // the emptied notes are not saved at the close
}

INSTANTIATE_TEST_SUITE_P(Banking, AgentNotesImport,
                         ::testing::Combine(::testing::Values(ImportCase{"text", "importar.txt", "Condições do agente"},
                                                              ImportCase{
                                                                  "rtf", "importar.rtf",
                                                                  "{\\rtf1\\ansi Condi\\'e7\\'f5es do agente\\par}"}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ImportCase>);

KV_ENGINE_SUITE(AgentFile);

} // namespace
