// The closing form of slot orders driven as a user does: the list built by
// leaving a limit, produced quantities and consumptions typed into the
// grids, the checks, the question and the posting.
#include "production/StockFixture.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DbGrid.h"
#include "production/forms/ProductionForms.h"
#include "production/forms/ProductionSessionState.h"
#include "support/Engines.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

#include <QLabel>

namespace kv::production::test {
namespace {

using kv::test::Engine;
using kv::test::FormDriver;
using kv::test::insertRows;

// The stock fixture with the closing's parameters and two open orders (760
// and 761, 1000 to make, 400 made), each with one board line "CART-1".
struct ClosingFormBed {
    explicit ClosingFormBed(Engine engine) : stock(engine)
    {
        state = registerProductionForms(stock.session, stock.scenario.forms());
        kv::db::Connection& app = stock.application();
        app.exec("UPDATE ORCPARGER SET TRS_ENTRADA = 20, TRS_SAIDA = 10, ARM_ENTRADA = 2, ARM_SAIDA = 1 "
                 "WHERE CODIGO = 1");
        if (!stock.invoicing().scalar("SELECT ANO FROM STKPARGER WHERE ANO = '2024'").isValid())
            insertRows(stock.invoicing(), "STKPARGER", {"ANO"}, {{"2024"}});
        for (int number : {760, 761}) {
            insertRows(app, "ORDFABDET",
                       {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "ORCNRO", "CLINRO", "ARTIGO", "DATAENT",
                        "QUANTIDADE", "QUANTFINAL", "QTDPROD", "PRODUZ"},
                       {{"2024", "12", number, 0, 1, 7000 + number, 5, "CAIXA-1",
                         QDateTime(StockFixture::Day, QTime(0, 0)), 1000, 1000, 400, "N"}});
            insertRows(app, "ORCMAS", {"CODIGO", "SUBCODIGO", "CARTOLINA"}, {{7000 + number, 0, 3}});
            insertRows(app, "ORCCONSUMOS", {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "ARTIGO"},
                       {{"2024", number, 0, 1, 1, 8, "CART-1"}});
        }
    }

    // Opens the form and leaves the last article limit, which lists the orders.
    FormDriver open()
    {
        FormDriver form = stock.scenario.open("TORCF108");
        form.type("Edit_OfNro1", "760");
        form.focus("Edit_OfNro2");
        form.type("Edit_OfNro2", "769");
        form.tab();
        return form;
    }

    static kv::db::Dataset& rows(FormDriver& form, const char* grid)
    {
        return *form.find<kv::ui::DbGrid>(QString::fromLatin1(grid))->dataset();
    }
    // Types into the current row of a grid.
    static void typeInto(FormDriver& form, const char* grid, const char* field, const QVariant& value)
    {
        kv::db::Dataset& data = rows(form, grid);
        data.edit();
        data.setValue(QString::fromLatin1(field), value);
        data.post();
    }

    QString order(int number)
    {
        const auto row =
            stock.application().query("SELECT QTDPROD, PRODUZ FROM ORDFABDET WHERE ORDNRO = :N", {{"N", number}});
        return row.value(0, "QTDPROD").toString() + "|" + row.value(0, "PRODUZ").toString();
    }
    int movements() { return stock.invoicing().scalar("SELECT COUNT(*) FROM STKMOV").toInt(); }

    StockFixture stock;
    std::shared_ptr<ProductionSessionState> state;
};

class ClosingForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ClosingForm, ConfirmedConsumptionIsIssuedAndTheOrderClosesAtItsFinalQuantity)
{
    KV_SKIP_WITHOUT(GetParam());
    ClosingFormBed bed(GetParam());
    FormDriver form = bed.open();
    ASSERT_EQ(form.gridRowCount("DbGrid1"), 2);
    EXPECT_EQ(form.gridColumn("DbGrid1", 0), (QStringList{"760", "761"}));
    EXPECT_EQ(form.gridRowCount("DBGrid3"), 1);

    form.focus("DbGrid1");
    ClosingFormBed::typeInto(form, "DbGrid1", "QTDPROD", 600);
    form.press(Qt::Key_F1);
    ClosingFormBed::typeInto(form, "DBGrid3", "QUANTIDADE", 120);
    form.insert(); // kept: back to the order grid
    EXPECT_EQ(form.focused(), "DbGrid1");
    bed.stock.scenario.messages().answer(true);
    form.insert();

    EXPECT_TRUE(bed.stock.scenario.messages().texts().contains("Geração de  Movimentos em Stock !!! Confirma ?"));
    EXPECT_EQ(bed.order(760), "1000|S");
    EXPECT_EQ(bed.order(761), "400|N");
    EXPECT_EQ(bed.movements(), 1);
    EXPECT_EQ(bed.stock.counter(), StockFixture::FirstDocument);
    EXPECT_DOUBLE_EQ(bed.stock.application().scalar("SELECT CONSUMIDO FROM ORCCONSUMOS WHERE CODIGO = 760").toDouble(),
                     120);
    EXPECT_EQ(form.gridColumn("DbGrid1", 0), QStringList{"761"}); // the closed order left the list
}

TEST_P(ClosingForm, TheNavigatorMovesThroughTheListAndTheLinesFollow)
{
    KV_SKIP_WITHOUT(GetParam());
    ClosingFormBed bed(GetParam());
    bed.stock.application().exec("UPDATE ORCCONSUMOS SET ARTIGO = 'CART-2' WHERE CODIGO = 761");
    FormDriver form = bed.open();
    ASSERT_EQ(form.gridRowCount("DbGrid1"), 2);
    const QStringList headings = {form.find<QWidget>("ColumnHeadings")->findChildren<QLabel*>()[0]->text(),
                                  form.find<QWidget>("ColumnHeadings")->findChildren<QLabel*>()[1]->text()};
    EXPECT_EQ(headings, (QStringList{"Formato Plano ", "Quantidades"}));
    form.click("Next");
    EXPECT_EQ(ClosingFormBed::rows(form, "DbGrid1").value("ORDNRO").toInt(), 761);
    EXPECT_EQ(form.gridColumn("DBGrid3", 0), QStringList{"CART-2"});
    form.click("First");
    EXPECT_EQ(ClosingFormBed::rows(form, "DbGrid1").value("ORDNRO").toInt(), 760);
    EXPECT_EQ(form.gridColumn("DBGrid3", 0), QStringList{"CART-1"});
}

TEST_P(ClosingForm, UnconfirmedConsumptionIsDroppedOnARowChangeAndTakesNoNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    ClosingFormBed bed(GetParam());
    FormDriver form = bed.open();
    form.focus("DbGrid1");
    ClosingFormBed::typeInto(form, "DbGrid1", "PRODUZ", "S");
    ClosingFormBed::typeInto(form, "DbGrid1", "QTDPROD", 50);
    form.press(Qt::Key_F1);
    ClosingFormBed::typeInto(form, "DBGrid3", "QUANTIDADE", 99); // never kept with Insert
    form.clickRow("DbGrid1", 1);
    form.clickRow("DbGrid1", 0);
    EXPECT_EQ(ClosingFormBed::rows(form, "DBGrid3").value("QUANTIDADE").toDouble(), 0);
    form.focus("DbGrid1");
    bed.stock.scenario.messages().answer(true);
    form.insert();

    EXPECT_EQ(bed.order(760), "450|S"); // ticked: closed
    EXPECT_EQ(bed.movements(), 0);
    EXPECT_EQ(bed.stock.counter(), 900);
}

TEST_P(ClosingForm, ChecksAndNoStopTheRunBeforeAnyWrite)
{
    KV_SKIP_WITHOUT(GetParam());
    ClosingFormBed bed(GetParam());
    FormDriver form = bed.open();
    auto& messages = bed.stock.scenario.messages();
    form.focus("DbGrid1");

    // Ticked without a produced quantity.
    ClosingFormBed::typeInto(form, "DbGrid1", "PRODUZ", "S");
    form.insert();
    EXPECT_EQ(messages.lastText(), "Verifique as confirmações de Produção - Qtd.Produzida = 0");

    // A consumption of an article that is not in stock.
    ClosingFormBed::typeInto(form, "DbGrid1", "QTDPROD", 10);
    bed.stock.application().exec("UPDATE WORKORDFABDET SET ARTIGO = 'NAO-HA' WHERE ORDNRO = 760");
    form.press(Qt::Key_F7); // clears ticks and reopens the lists
    form.focus("DbGrid1");
    ClosingFormBed::typeInto(form, "DbGrid1", "QTDPROD", 10);
    form.press(Qt::Key_F1);
    ClosingFormBed::typeInto(form, "DBGrid3", "QUANTIDADE", 5);
    form.insert();
    form.insert();
    EXPECT_EQ(messages.lastText(), "Actualização não efectuada ... Verifique os erros reportados ...");
    EXPECT_EQ(form.focused(), "DBGrid2");
    EXPECT_EQ(form.gridColumn("DBGrid2", 3), QStringList{"Artigo Inexistente -> NAO-HA"});

    // No to the question: nothing written, the typed values stay.
    bed.stock.application().exec("UPDATE WORKORDFABDET SET ARTIGO = 'CART-1' WHERE ORDNRO = 760");
    messages.answer(false);
    form.focus("DbGrid1");
    form.insert();
    EXPECT_EQ(bed.order(760), "400|N");
    EXPECT_EQ(bed.movements(), 0);
    EXPECT_DOUBLE_EQ(bed.stock.application().scalar("SELECT QTDPROD FROM WORKORDFAB WHERE ORDNRO = 760").toDouble(), 10);
}

// Model "T": the produced quantity typed and ticked; the board is issued by
// the sheet count and the finished box entered, in one document.
TEST_P(ClosingForm, ModelTIssuesTheBoardAndEntersTheFinishedGoods)
{
    KV_SKIP_WITHOUT(GetParam());
    ClosingFormBed bed(GetParam());
    kv::db::Connection& app = bed.stock.application();
    app.exec("DELETE FROM TIRAGLIQ");
    insertRows(app, "TIRAGLIQ", {"CODIGO", "QTD1", "QTD2", "PRCACAB1A"}, {{1, 0, 100000, 0}});
    insertRows(app, "PAPEIS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "TIPOCALC"},
               {{9001, "CART-1", "Cartolina", 200, "2"}});
    insertRows(app, "ORDFABRICO",
               {"ANO", "ORDNRO", "SUBORC", "DETAIL", "ORCNRO", "CLINRO", "ARTIGO", "DATAENT", "QUANTIDADE", "PLCOMPRI",
                "PLLARGUR", "PRODUZ", "ACTSTK", "CCOL_MAT1", "CCOL_TMAT1"},
               {{"2024", 765, 0, 1, 7765, 5, "CAIXA-1", QDateTime(StockFixture::Day, QTime(0, 0)), 1000, 50, 100, "N",
                 "N", 9001, 8}});
    insertRows(app, "ORCMAS", {"CODIGO", "SUBCODIGO", "UNDPLANO"}, {{7765, 0, 2}});
    FormDriver form = bed.stock.scenario.open("TORCF107");
    form.type("Edit_OfNro1", "760");
    form.focus("Edit_OfNro2");
    form.type("Edit_OfNro2", "769");
    form.tab();
    ASSERT_EQ(form.gridColumn("DbGrid1", 0), QStringList{"765"});
    EXPECT_FALSE(form.isVisible("DBGrid3"));
    form.focus("DbGrid1");
    ClosingFormBed::typeInto(form, "DbGrid1", "QTDPROD", 25);
    ClosingFormBed::typeInto(form, "DbGrid1", "PRODUZ", "S");
    bed.stock.scenario.messages().answer(true);
    form.insert();

    const auto lines = bed.stock.invoicing().query("SELECT ARTNRO, QUANTIDADE FROM STKMOV ORDER BY DETAIL");
    ASSERT_EQ(lines.rows.size(), 2u);
    EXPECT_EQ(lines.value(0, "ARTNRO").toString(), "CART-1");
    EXPECT_DOUBLE_EQ(lines.value(0, "QUANTIDADE").toDouble(), 13); // 12.5 sheets, whole
    EXPECT_EQ(lines.value(1, "ARTNRO").toString(), "CAIXA-1");
    EXPECT_DOUBLE_EQ(lines.value(1, "QUANTIDADE").toDouble(), 25);
    EXPECT_EQ(app.scalar("SELECT PRODUZ || ACTSTK FROM ORDFABRICO WHERE ORDNRO = 765").toString(), "SS");
    EXPECT_EQ(form.gridRowCount("DbGrid1"), 0);
}

TEST_P(ClosingForm, MissingParametersCloseTheForm)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        const char* change;
        bool invoicing;
        QStringList messages;
    };
    const Case cases[] = {
        {"DELETE FROM STKPARGER WHERE ANO = '2024'", true, {"<PARAMETROS GERAIS> ... INEXISTENTES"}},
        {"UPDATE ORCPARGER SET TRS_SAIDA = 99 WHERE CODIGO = 1", false,
         {"Parametrização de Movimentos Inexistente ...", "Verifique Parâmetros Gerais ..."}},
        {"UPDATE ORCPARGER SET ARM_SAIDA = 98 WHERE CODIGO = 1", false,
         {"Parametrização de Armazém Matéria Prima Inexistente ...", "Verifique Parâmetros Gerais ..."}},
        {"DELETE FROM PARGER WHERE ANO = '2024'", true, {"PARAMETROS GERAIS, Inexistentes"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        ClosingFormBed bed(GetParam());
        (c.invoicing ? bed.stock.invoicing() : bed.stock.application()).exec(QString::fromLatin1(c.change));
        FormDriver form = bed.stock.scenario.open("TORCF108");
        bed.stock.scenario.settle();
        QStringList shown = bed.stock.scenario.messages().texts();
        shown.removeAll("Data Inexistente no Ficheiro de Calendário"); // the plain company has no calendar
        EXPECT_EQ(shown, c.messages);
        EXPECT_FALSE(form.isOpen());
    }
}

KV_ENGINE_SUITE(ClosingForm);

} // namespace
} // namespace kv::production::test
