#include "shell/ShellTestInstallation.h"

#include "shell/AccessRights.h"
#include "platform/db/Dataset.h"

#include <optional>

using namespace kv::shell;
using namespace kv::shell::test;

namespace {

struct Flags {
    const char* aceder;
    const char* inserir;
    const char* eliminar;
    const char* imprimir;
    const char* importar;
};

class RightsFixture : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        install = std::make_unique<ShellTestInstallation>(GetParam());
        state.setFixedValues();
        state.WUtil = "ANA";
        state.WEmpNro = 1;
    }

    void addRow(const QString& program, const Flags& f, int company = 1, const QString& chapter = "Capitulo")
    {
        install->execApplication(
            "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
            "ELIMINAR, IMPRIMIR, IMPORTAR) VALUES ('KAVORIMETAS', :C, :P, :E, 'ANA', :A, :I, :D, "
            ":PR, :IM)",
            {{"C", chapter},
             {"P", program},
             {"E", company},
             {"A", f.aceder},
             {"I", f.inserir},
             {"D", f.eliminar},
             {"PR", f.imprimir},
             {"IM", f.importar}});
    }

    AccessRights& rights()
    {
        rows = install->rightsRows();
        access = std::make_unique<AccessRights>(*rows, state);
        return *access;
    }

    std::unique_ptr<ShellTestInstallation> install;
    LoginState state;
    std::unique_ptr<kv::db::Dataset> rows;
    std::unique_ptr<AccessRights> access;
};

// ---------------------------------------------------------------- variants

struct VariantCase {
    const char* label;
    RightsVariant variant;
    std::optional<Flags> row;
    // expected
    QString aceder, inserir, eliminar, imprimir, importar;
    bool showInserir, showDelete, showPrint;
    QString message;
    bool beep, close;
};

void PrintTo(const VariantCase& c, std::ostream* os) { *os << c.label; }

class RightsVariants : public ::testing::TestWithParam<std::tuple<Engine, VariantCase>> {};

TEST_P(RightsVariants, ReadAndApply)
{
    const auto& [engine, c] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ShellTestInstallation install(engine);
    if (c.row)
        install.execApplication(
            "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
            "ELIMINAR, IMPRIMIR, IMPORTAR) VALUES ('KAVORIMETAS', 'Cap', 'Prog', 1, 'ANA', :A, :I, "
            ":D, :PR, :IM)",
            {{"A", c.row->aceder},
             {"I", c.row->inserir},
             {"D", c.row->eliminar},
             {"PR", c.row->imprimir},
             {"IM", c.row->importar}});
    auto rows = install.rightsRows();
    LoginState state;
    state.WUtil = "ANA";
    state.WEmpNro = 1;
    AccessRights access(*rows, state);
    const FormRights f = access.readForm(c.variant, "KAVORIMETAS", "Cap", "Prog");
    EXPECT_EQ(state.WCapitulo, "Cap");
    EXPECT_EQ(f.rights.ACEDER, c.aceder);
    EXPECT_EQ(f.rights.INSERIR, c.inserir);
    EXPECT_EQ(f.rights.ELIMINAR, c.eliminar);
    EXPECT_EQ(f.rights.IMPRIMIR, c.imprimir);
    EXPECT_EQ(f.rights.IMPORTAR, c.importar);
    EXPECT_EQ(f.showInserir, c.showInserir);
    EXPECT_EQ(f.showCancelar, c.showInserir);
    EXPECT_EQ(f.enableFields, c.showInserir);
    EXPECT_EQ(f.showDelete, c.showDelete);
    EXPECT_EQ(f.showPrint, c.showPrint);
    EXPECT_EQ(f.message, c.message);
    EXPECT_EQ(f.beep, c.beep);
    EXPECT_EQ(f.closeForm, c.close);
}

constexpr Flags All{"S", "S", "S", "S", "S"};
constexpr Flags InsertOnly{"S", "S", "N", "N", "N"};

const VariantCase VariantTable[] = {
    {"R1 all", RightsVariant::R1, All, "S", "S", "S", "S", "S", true, true, true, "", false, false},
    {"R1 insert only", RightsVariant::R1, InsertOnly, "S", "S", "N", "N", "N", true, false, false, "", false, false},
    {"R1 no row", RightsVariant::R1, std::nullopt, "N", "N", "N", "N", "N", false, false, false, "", false, false},
    {"R2 no row", RightsVariant::R2, std::nullopt, "N", "N", "N", "N", "N", false, false, false, "INVALID KEY", false,
     false},
    {"R2 row", RightsVariant::R2, All, "S", "S", "S", "S", "S", true, true, true, "", false, false},
    {"R3 keeps no import", RightsVariant::R3, All, "S", "S", "S", "S", "N", true, true, true, "", false, false},
    {"R4 print only", RightsVariant::R4, All, "S", "N", "N", "S", "N", false, false, true, "", false, false},
    {"R4 no row", RightsVariant::R4, std::nullopt, "N", "N", "N", "N", "N", false, false, false, "", false, false},
    {"R5 any row opens", RightsVariant::R5, Flags{"N", "N", "N", "N", "N"}, "N", "N", "N", "N", "N", false, false,
     false, "", false, false},
    {"R5 no row closes", RightsVariant::R5, std::nullopt, "N", "N", "N", "N", "N", false, false, false,
     "Não pode aceder a este Programa", true, true},
    {"R6 print refused", RightsVariant::R6, Flags{"S", "S", "S", "N", "S"}, "S", "N", "N", "N", "N", false, false,
     false, "", false, false},
    {"R6 print allowed", RightsVariant::R6, All, "S", "N", "N", "S", "N", false, false, true, "", false, false},
};

INSTANTIATE_TEST_SUITE_P(Rights, RightsVariants,
                         ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres),
                                            ::testing::ValuesIn(VariantTable)),
                         engineCaseName<VariantCase>);

// ---------------------------------------------------------------- lookup

class Rights : public RightsFixture {};

TEST_P(Rights, OnlyTheOpenCompanysRowCounts)
{
    addRow("Noutra", All, 2);
    addRow("Recusado", Flags{"N", "N", "N", "N", "N"}, 1);
    addRow("Recusado", All, 2);
    EXPECT_FALSE(rights().lookup("KAVORIMETAS", "Capitulo", "Noutra").found);
    EXPECT_EQ(access->lookup("KAVORIMETAS", "Capitulo", "Recusado").ACEDER, "N");
    state.WEmpNro = 2;
    EXPECT_EQ(access->lookup("KAVORIMETAS", "Capitulo", "Recusado").ACEDER, "S");
}

TEST_P(Rights, LookupIsExactIncludingLetterCase)
{
    addRow("Tintas", All);
    EXPECT_TRUE(rights().lookup("KAVORIMETAS", "Capitulo", "Tintas").found);
    EXPECT_FALSE(access->lookup("KAVORIMETAS", "Capitulo", "TINTAS").found);
    EXPECT_FALSE(access->lookup("KAVORIMETAS", "capitulo", "Tintas").found);
    EXPECT_FALSE(access->lookup("MODULO BASE", "Capitulo", "Tintas").found);
    state.WUtil = "ana";
    EXPECT_FALSE(access->lookup("KAVORIMETAS", "Capitulo", "Tintas").found);
}

TEST_P(Rights, SideDoorButtons)
{
    addRow("Aberta", Flags{"", "N", "N", "N", "N"}, 1, "Tabelas");
    addRow("Fechada", Flags{"N", "S", "S", "S", "S"}, 1, "Ficheiros Base");
    AccessRights& a = rights();
    EXPECT_TRUE(a.sideDoorVisible("KAVORIMETAS", "Tabelas", "Aberta"));
    EXPECT_FALSE(a.sideDoorVisible("KAVORIMETAS", "Tabelas", "Ausente"));
    EXPECT_FALSE(a.sideDoorVisible("KAVORIMETAS", "Ficheiros Base", "Fechada"));
    EXPECT_EQ(state.WCapitulo, "Ficheiros Base");
    // The families form hides a side door only when its row is missing.
    EXPECT_TRUE(a.sideDoorVisible("KAVORIMETAS", "Ficheiros Base", "Fechada", false));
}

// ---------------------------------------------------------------- menu

struct MenuCase {
    const char* label;
    const char* model;
    const char* finalizacao; // ACEDER of "Finalizacao Producao"; nullptr: no row
    bool plano006; // PLANO006 and BotFecho
    bool plano009; // PLANO009, PLANO010, BotCalc, BotFechoOf
};

void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.label; }

class MenuRightsCases : public ::testing::TestWithParam<std::tuple<Engine, MenuCase>> {};

TEST_P(MenuRightsCases, ClosingEntriesFollowTheProductionModel)
{
    const auto& [engine, c] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ShellTestInstallation install(engine);
    install.execApplication("DELETE FROM APLICACAODET WHERE PROGRAMA IN ('Finalizacao Producao', "
                            "'Aprovacao de Orcamentos')");
    if (c.finalizacao)
        install.setRights("KAVORIMETAS", "Planeamento", "Finalizacao Producao", c.finalizacao);
    install.execApplication("UPDATE APLICACAODET SET ACEDER = 'N' WHERE PROGRAMA = 'Tintas'");
    install.execApplication("UPDATE APLICACAODET SET ACEDER = '' WHERE PROGRAMA = 'Colas'");

    auto rows = install.rightsRows();
    LoginState state;
    state.setFixedValues();
    state.WUtil = "ANA";
    state.WEmpNro = 1;
    state.WTipoOrdFab = c.model;
    const MenuRights menu = AccessRights(*rows, state).menuRights();

    for (const char* name : {"PLANO006", "BotFecho"})
        EXPECT_EQ(menu.isEnabled(name), c.plano006) << name;
    for (const char* name : {"PLANO009", "PLANO010", "BotCalc", "BotFechoOf"})
        EXPECT_EQ(menu.isEnabled(name), c.plano009) << name;
    // The rest of the menu does not depend on the model.
    for (const char* name :
         {"TABORC001", "BotPapeis", "ORC001", "BotOrcam", "PLANO001", "BotGeraOf", "TABORC004", "BotColas"})
        EXPECT_TRUE(menu.isEnabled(name)) << name;
    for (const char* name : {"TABORC002", "BotTintas", "ORC004", "BotAprova"})
        EXPECT_FALSE(menu.isEnabled(name)) << name;
    // Entries outside the rights keep their state.
    for (const char* name : {"TABORC015", "PLANO005", "PLANO008"})
        EXPECT_FALSE(menu.enabled.contains(name)) << name;
}

INSTANTIATE_TEST_SUITE_P(Rights, MenuRightsCases,
                         ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres),
                                            ::testing::Values(MenuCase{"T allowed", "T", "S", true, false},
                                                              MenuCase{"M allowed", "M", "S", false, true},
                                                              MenuCase{"no model allowed", "", "S", false, true},
                                                              MenuCase{"T refused", "T", "N", false, false},
                                                              MenuCase{"M without row", "M", nullptr, false, false})),
                         engineCaseName<MenuCase>);

INSTANTIATE_TEST_SUITE_P(Engines, Rights, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         kv::test::engineTestName);

} // namespace
