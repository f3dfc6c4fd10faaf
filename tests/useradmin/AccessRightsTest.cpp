#include "useradmin/AdminTestCompany.h"

#include "useradmin/core/RightsRows.h"

#include "platform/ui/DbGrid.h"

#include <QAbstractItemModel>

using namespace kv::useradmin;
using namespace kv::useradmin::test;
using kv::test::FormDriver;
using kv::test::Scenario;

namespace {

const QString Kavorimetas = QStringLiteral("KAVORIMETAS");

class RightsEditor : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (!AdminTestCompany::available(GetParam()))
            GTEST_SKIP() << "KV_TEST_PG_HOST não definido";
        company = std::make_unique<AdminTestCompany>(scenario, GetParam());
        company->openCompany();
    }
    void TearDown() override { company.reset(); }

    int rows(const QString& key, int empresa, const QString& user = "ANA")
    {
        return company->count("SELECT COUNT(*) FROM APLICACAODET WHERE APLICACAO = :A AND EMPNRO = :E AND UTIL = :U",
                              {{"A", key}, {"E", empresa}, {"U", user}});
    }
    int programs(const QString& key)
    {
        return company->count("SELECT COUNT(*) FROM APLICACAOMST WHERE APLICACAO = :A", {{"A", key}});
    }
    QString flag(const QString& column, const QString& program, int empresa = 1)
    {
        return company->value(QStringLiteral("SELECT %1 FROM APLICACAODET WHERE APLICACAO = 'KAVORIMETAS' "
                                             "AND PROGRAMA = :P AND EMPNRO = :E AND UTIL = 'ANA'")
                                  .arg(column),
                              {{"P", program}, {"E", empresa}});
    }
    FormDriver open(const char* form = "TKAVFUTIL002")
    {
        FormDriver driver = scenario.open(form);
        scenario.wait(20);
        return driver;
    }
    // Row `row` of the rights grid: its program and its five boxes ("S"/"N").
    static QStringList line(FormDriver& form, int row)
    {
        QStringList cells{form.gridCell("DBGridWorkDet", row, 0)};
        const QAbstractItemModel* model = form.find<kv::ui::DbGrid>("DBGridWorkDet")->model();
        for (int column = 1; column < 6; ++column)
            cells << (model->index(row, column).data(Qt::CheckStateRole).toInt() == Qt::Checked ? "S" : "N");
        return cells;
    }
    // Ticks or clears one box with the space bar, as the manager would.
    void toggle(FormDriver& form, int row, int column)
    {
        form.focus("DBGridWorkDet");
        auto* grid = form.find<kv::ui::DbGrid>("DBGridWorkDet");
        grid->setCurrentIndex(grid->model()->index(row, column));
        form.press(Qt::Key_Space);
        scenario.wait();
    }

    Scenario scenario;
    std::unique_ptr<AdminTestCompany> company;
};

TEST_P(RightsEditor, TheFirstSelectionCreatesEveryProgramsRowOnce)
{
    company->addRight(Kavorimetas, "Tabelas Orcamentos", "Tintas", 1, "ANA", "N");
    FormDriver form = open();
    EXPECT_EQ(form.caption(), "Acessos (Industrias de Kavorimeta)");
    EXPECT_EQ(form.gridTitles("DBGridWorkDet"),
              (QStringList{"Programa", "Aceder", "Inserir", "Eliminar", "Imprimir", "Scanner"}));
    EXPECT_EQ(rows(Kavorimetas, 1), programs(Kavorimetas));
    EXPECT_EQ(rows("MODULO BASE", 1), 0);
    // The pre-existing row is left as it was.
    EXPECT_EQ(flag("ACEDER", "Tintas"), "N");
    EXPECT_EQ(flag("ALTERAR", "Tintas"), "N");
    EXPECT_EQ(flag("MAIL", "Vernizes"), "S");

    // The first chapter, alphabetically, shows its programs ticked.
    EXPECT_EQ(form.gridCell("DBGrid4", 0, 0), "Ficheiros Base");
    ASSERT_GE(form.gridRowCount("DBGridWorkDet"), 1);
    EXPECT_EQ(line(form, 0), (QStringList{"Vendedores", "S", "S", "S", "S", "S"}));
    EXPECT_EQ(form.statusPanel(0), AdminSession::makerTag());
    form.close();
    scenario.wait();

    // Opened again: nothing more.
    FormDriver again = open();
    again.close();
    EXPECT_EQ(rows(Kavorimetas, 1), programs(Kavorimetas));
    EXPECT_TRUE(scenario.messages().transcript().isEmpty());
}

TEST_P(RightsEditor, RightsAreKeptPerCompanyAndKey)
{
    open().close();
    company->addCompany(2, "Segunda Empresa", company->applicationAlias());
    company->openCompany(2);
    FormDriver form = open("TKAVFUTIL003");
    EXPECT_EQ(form.caption(), "Acessos (Módulo Base)");
    form.close();
    EXPECT_EQ(rows(Kavorimetas, 1), programs(Kavorimetas));
    EXPECT_EQ(rows(Kavorimetas, 2), 0);
    EXPECT_EQ(rows("MODULO BASE", 2), programs("MODULO BASE"));
    EXPECT_EQ(rows("MODULO BASE", 1), 0);
}

TEST_P(RightsEditor, AProgramNoLongerListedStillShows)
{
    company->addRight(Kavorimetas, "Ficheiros Base", "Antigo Programa", 1, "ANA", "N");
    FormDriver form = open();
    ASSERT_EQ(form.gridCell("DBGrid4", 0, 0), "Ficheiros Base");
    EXPECT_EQ(form.gridRowCount("DBGridWorkDet"), 2);
    EXPECT_EQ(line(form, 0), (QStringList{"Antigo Programa", "N", "N", "N", "N", "N"}));
}

TEST_P(RightsEditor, AClearedTickReachesTheDatabaseWhenTheFormCloses)
{
    FormDriver form = open();
    // Chapter "Tabelas Orcamentos", its program "Tintas".
    int chapter = -1;
    for (int i = 0; i < form.gridRowCount("DBGrid4"); ++i)
        if (form.gridCell("DBGrid4", i, 0) == "Tabelas Orcamentos")
            chapter = i;
    ASSERT_GE(chapter, 0);
    form.clickRow("DBGrid4", chapter);
    scenario.wait();
    int tintas = -1;
    for (int i = 0; i < form.gridRowCount("DBGridWorkDet"); ++i)
        if (form.gridCell("DBGridWorkDet", i, 0) == "Tintas")
            tintas = i;
    ASSERT_GE(tintas, 0);
    toggle(form, tintas, 1); // Aceder
    toggle(form, tintas, 5); // Scanner
    EXPECT_EQ(line(form, tintas), (QStringList{"Tintas", "N", "S", "S", "S", "N"}));
    EXPECT_EQ(flag("ACEDER", "Tintas"), "S"); // pending until the grid is left
    form.close();
    scenario.wait();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(flag("ACEDER", "Tintas"), "N");
    EXPECT_EQ(flag("SCANNER", "Tintas"), "N");
    for (const char* untouched : {"INSERIR", "ALTERAR", "IMPORTAR", "ARQUIVAR", "MAIL"})
        EXPECT_EQ(flag(untouched, "Tintas"), "S") << untouched;

    // The main program's next login of the user no longer offers "Tintas".
    QStringList said;
    const kv::shell::LoginResult login = company->mainProgramLogin("ANA", "SEGREDO", &said);
    ASSERT_TRUE(login.loggedIn) << said.join('\n').toStdString();
    EXPECT_FALSE(login.menu.isEnabled("TABORC002"));
    EXPECT_TRUE(login.menu.isEnabled("TABORC003"));
}

TEST_P(RightsEditor, LeavingTheRightsGridWritesAndAnotherUserHasRowsOfItsOwn)
{
    company->addUser("RUI", "X");
    FormDriver form = open();
    toggle(form, 0, 2); // Vendedores, Inserir
    form.focus("DBGrid1");
    scenario.wait();
    EXPECT_EQ(flag("INSERIR", "Vendedores"), "N");
    form.clickRow("DBGrid1", 1);
    scenario.wait();
    EXPECT_EQ(rows(Kavorimetas, 1, "RUI"), programs(Kavorimetas));
    EXPECT_EQ(line(form, 0), (QStringList{"Vendedores", "S", "S", "S", "S", "S"}));
    EXPECT_EQ(form.gridCurrentRow("DBGrid4"), 0);
}

TEST_P(RightsEditor, AnEmptyChapterListStillCreatesTheRows)
{
    company->application()->exec("DELETE FROM APLICACAOCAP WHERE APLICACAO = 'KAVORIMETAS'");
    FormDriver form = open();
    EXPECT_EQ(form.gridRowCount("DBGrid4"), 0);
    EXPECT_EQ(form.gridRowCount("DBGridWorkDet"), 0);
    EXPECT_EQ(rows(Kavorimetas, 1), programs(Kavorimetas));
}

TEST_P(RightsEditor, ACompanyWithoutUsersGetsNoRows)
{
    company->application()->exec("DELETE FROM UTILIZADORES");
    FormDriver form = open();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
    EXPECT_EQ(company->count("SELECT COUNT(*) FROM APLICACAODET"), 0);
    EXPECT_TRUE(scenario.messages().transcript().isEmpty());
}

TEST_P(RightsEditor, MissingRowsAreCreatedAgainstTheKeyNotItsLetterCase)
{
    // A row written by hand in other letters is the same key: no second row.
    company->addRight(Kavorimetas, "TABELAS ORCAMENTOS", "tintas", 1, "ANA", "N");
    const int created = RightsRows::createMissingRows(company->application(), Kavorimetas, 1, "ANA");
    EXPECT_EQ(created, programs(Kavorimetas) - 1);
    EXPECT_EQ(RightsRows::createMissingRows(company->application(), Kavorimetas, 1, "ANA"), 0);
    EXPECT_EQ(RightsRows::createMissingRows(company->application(), Kavorimetas, 1, ""), 0);
}

INSTANTIATE_TEST_SUITE_P(UserAdmin, RightsEditor, ::testing::ValuesIn(engines()), engineName);

} // namespace
