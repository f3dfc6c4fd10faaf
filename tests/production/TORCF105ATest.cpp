// The model-"T" filling form on a logged-in company: what it shows of the
// stored row, the kind keys and fields, and the save.
#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "production/FillingSession.h"

#include <QDate>

#include <gtest/gtest.h>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

class ModelTSession : public kv::test::FillingSession {
public:
    ModelTSession(kv::test::Scenario& s, Engine engine)
        : FillingSession(s, engine, kv::test::modelTOrder(), "ORDFABRICO")
    {
    }
    FormDriver open() { return FillingSession::open("TORCF105A"); }
};

class ModelTForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ModelTForm, OpensOnTheStoredRowAndChangesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    ModelTSession f(s, GetParam());
    FormDriver form = f.open();
    EXPECT_EQ(form.text("Label_OrdNro"), "601");
    EXPECT_EQ(form.text("Edit_DATAPROD"), ""); // never filled
    EXPECT_EQ(form.text("Label_DESIGN2"), "Tipo de papel Eliminado ...");
    EXPECT_EQ(form.text("Label_COLDESIGN1"), "Tipo de Cola Eliminado ...");
    EXPECT_EQ(form.focused(), "Edit_DATAPROD");
    form.click("BitBtn_Cancelar");
    s.settle();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(f.stored("CCOL_UND2").toString(), "P");
}

TEST_P(ModelTForm, ADeletedQuoteClosesTheForm)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    ModelTSession f(s, GetParam());
    f.application()->exec("DELETE FROM ORCMAS");
    FormDriver form = f.open();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(s.messages().lastText(), QString::fromUtf8("ERRO FATAL !!! Orçamento Eliminado : 515 0"));
}

TEST_P(ModelTForm, KindKeysAndEmptyKindsMoveOn)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    ModelTSession f(s, GetParam());
    FormDriver form = f.open();
    f.leave(form, "Edit_DATAPROD", "14/02/2024"); // the order was never filled: a date first
    f.leave(form, "Edit_KIND4", "c");
    EXPECT_EQ(s.messages().lastText(),
              QString::fromUtf8("Insira o tipo de tabela [P] - Papeis / Cartolinas ... ; [C] - Colas"));
    EXPECT_EQ(form.focused(), "Edit_KIND4");
    form.type("Edit_KIND4", "");
    form.press(Qt::Key_F2);
    s.settle();
    EXPECT_EQ(form.text("Edit_KIND4"), "C");
    EXPECT_EQ(form.focused(), "Edit_CCOL_MAT4");
    f.leave(form, "Edit_CCOL_MAT4", "742");
    EXPECT_EQ(form.text("Edit_CCOL_UND4"), "K");
    EXPECT_EQ(form.text("Label_DESIGN4"), "Cola por quantidade");
    f.leave(form, "Edit_CCOL_UND4", "P");
    EXPECT_EQ(s.messages().lastText(), "Insira - Tipo de Unidade [K] - Kgs");
    form.type("Edit_CCOL_UND4", "K");
    f.leave(form, "Edit_KIND5", "");
    EXPECT_EQ(form.focused(), "Edit_CORTANTE");
}

TEST_P(ModelTForm, SaveWritesTheRowAfterEveryRule)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    ModelTSession f(s, GetParam());
    FormDriver form = f.open();
    const std::pair<const char*, const char*> typed[] = {
        {"Edit_DATAPROD", "14/02/2024"}, {"Edit_PLCOMPRI", "70"}, {"Edit_PLLARGUR", "100"},
        {"Edit_NPLANOS", "1000"},        {"Edit_CCOL_MAT2", ""},  {"Edit_CORTANTE", "C-12"}};
    for (const auto& [field, text] : typed)
        form.type(QLatin1String(field), QLatin1String(text));
    form.click("BitBtn_Gravar");
    s.settle();
    // The gluing material deleted from its table stops the save.
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(s.messages().lastText(), QStringLiteral("Cola inexistente ..."));
    EXPECT_EQ(form.focused(), "Edit_COL_MAT1");
    EXPECT_EQ(f.stored("PLCOMPRI").toDouble(), 0.0);
    form.type("Edit_COL_MAT1", "741");
    form.click("BitBtn_Gravar");
    s.settle();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(f.stored("DATAPROD").toDate(), QDate(2024, 2, 14));
    EXPECT_EQ(f.stored("CORTANTE").toString(), "C-12");
    EXPECT_EQ(f.stored("CCOL_TMAT2").toInt(), 0);
    EXPECT_EQ(f.stored("COL_MAT1").toInt(), 741);
}

TEST_P(ModelTForm, ACodeSearchListsTheTableOfItsRowsKind)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario s;
    ModelTSession f(s, GetParam());
    FormDriver form = f.open();
    f.leave(form, "Edit_DATAPROD", "14/02/2024");
    form.type("Edit_KIND4", "C");
    form.focus("Edit_CCOL_MAT4");
    s.settle();
    s.onDialog([](FormDriver& search) {
        EXPECT_EQ(search.gridRowCount("Grid"), 5); // the glues, although row 1 holds a board
        search.click("OKBtn");
    });
    form.insert();
    s.settle();
    EXPECT_EQ(form.text("Edit_CCOL_MAT4"), "741");
    form.focus("Edit_CCOL_MAT1");
    s.settle();
    s.onDialog([](FormDriver& search) {
        EXPECT_EQ(search.gridRowCount("Grid"), 2); // the boards
        search.click("CancelBtn");
    });
    form.ctrlInsert();
    s.settle();
    EXPECT_EQ(form.text("Edit_CCOL_MAT1"), "751");
}

KV_ENGINE_SUITE(ModelTForm);

} // namespace
