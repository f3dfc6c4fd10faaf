#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/QuoteEngine.h"
#include "quotes/core/SubQuote.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include "platform/ui/GridColumn.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
namespace kv::imaging {
class TPictureBox;
}
class QLineEdit;

namespace kv::ui {
class DbGrid;
class DbNavigator;
class Form;
class TGlyphButton;
} // namespace kv::ui

namespace kv::quotes {

class QuoteLineLists;
struct WorksheetState;

// What the detail page asks of the worksheet around it.
struct WorksheetDetailCallbacks {
    // The quote engine of the open worksheet (its messages and status panel).
    std::function<QuoteEngine()> engine;
    // The cost tables read when the worksheet opened.
    std::function<const CostTables&()> tables;
    // "&Iniciar": the row as the pages hold it stored (a new quote takes its
    // number then) and its lines created or recalculated; empty when nothing
    // was calculated.
    std::function<std::optional<SubQuote>(int procedureCode)> start;
    // "&Finalização": the totals page.
    std::function<void()> finish;
    // The worksheet's own "&Cancelar".
    std::function<void(bool enabled)> enableQuoteCancel;
};

// Page "Orçamento Detalhado" of the quote worksheet: quantities and unit,
// the procedures chosen for the calculation, "&Iniciar", and the grid of the
// sub-quote's cost lines with their manual editing.
class WorksheetDetailPage : public QWidget {
    Q_OBJECT
public:
    WorksheetDetailPage(kv::ui::Form& form, WorksheetState& state, QuoteFormsEnvironment environment,
                        WorksheetDetailCallbacks callbacks, QWidget* parent = nullptr);
    ~WorksheetDetailPage() override;

    // The worksheet opened: the user's selection of procedures is shown.
    void activate();
    // The cost tables' lists are left on their own statements.
    void close();
    // Shows a sub-quote row (or nothing) and its lines.
    void load(const QuoteRow& row);
    void clear();
    // The page's values into the row.
    void store(QuoteRow& row) const;
    // The page was chosen in the notebook.
    void enter();
    // The value columns of the line grid are titled by quantity number again.
    void resetValueTitles();
    // The article picture the worksheet shows on this page too.
    kv::imaging::TPictureBox* picture() const { return ML3; }

private:
    QLineEdit* field(const QString& name, int characters, QLabel* caption);
    QLineEdit* readOnly(const QString& name, int characters);
    QWidget* buildQuantities();
    QWidget* buildLineFields();
    std::vector<kv::ui::GridColumn> lineColumns(const QStringList& valueTitles) const;

    int quoteNumber() const;
    int subQuote() const;
    bool quoteStored() const;
    bool checking() const;
    void showMoney();
    void showLines(int detail = 0);

    // quantities, unit, procedures
    void Edit_QtdOrcEnter(int n);
    void Edit_QtdOrcExit(int n);
    void Edit_UnidadeEnter();
    void Edit_UnidadeExit();
    void Edit_ProcedimExit();
    void ProcProcedimClick();
    void BotDeleteProcedimClick();
    void BotQtdsClick();
    void BotIniciarClick();

    // line grid and editing
    void DBGrid1Enter();
    void DBGrid1Exit();
    void Edit_OrcdCodChange();
    void setLineButtons(bool on);
    void enableLineFields(bool on);
    void enableMachineFields(bool on);
    void beginEntry();
    void endEntry(int detail = 0);
    void askAfterChoices();
    void BotInserirLinhaClick();
    void BotAlterarLinhaClick();
    void BotCancLinhaClick();
    void BotDeleteLinhaClick();
    void Edit_TipoTabExit();
    void Edit_CodTabExit();
    void Edit_NroEntExit();
    void Edit_PrdHorExit();
    void Edit_AcertoExit();
    void Edit_PercExit();
    void Edit_CustoExit();
    void Edit_QtdExit();
    void Writerec();
    void ProcTipoTabClick();
    void ProcTabelasClick(bool alphabetic);
    void showEntryLine();

    kv::ui::Form& m_form;
    WorksheetState& m_state;
    QuoteFormsEnvironment m_environment;
    WorksheetDetailCallbacks m_callbacks;
    std::unique_ptr<QuoteLineLists> m_lists;
    std::vector<int> m_searchedTypes; // cost tables whose statement a lookup changed

    // the line being entered
    bool m_entering = false;
    bool m_adding = false;
    CostLine m_line;

    QLineEdit* Edit_QtdOrc[3] = {};
    QLabel* Label_Tiragem[3] = {};
    QLineEdit* Edit_PrecoOrc[3] = {};
    QLineEdit* Edit_ValorOrc[3] = {};
    QLineEdit* Edit_Unidade = nullptr;
    QLabel* Label_Unidades = nullptr;
    QLineEdit* Edit_Procedim = nullptr;
    kv::ui::DbGrid* DBGrid2 = nullptr;
    kv::ui::TGlyphButton* BotDeleteProcedim = nullptr;
    kv::ui::TGlyphButton* BotQtds = nullptr;
    kv::ui::TGlyphButton* BotIniciar = nullptr;
    kv::ui::TGlyphButton* BotTotais = nullptr;
    kv::imaging::TPictureBox* ML3 = nullptr;

    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    QLineEdit* Edit_Total[3] = {};
    QLineEdit* Edit_TipoTab = nullptr;
    QLineEdit* Edit_NomeTabela = nullptr;
    QLineEdit* Edit_CodTab = nullptr;
    QLineEdit* Edit_DesTab = nullptr;
    QLineEdit* Edit_TipoCusto = nullptr;
    QLineEdit* Edit_NroEnt = nullptr;
    QLineEdit* Edit_PrdHor = nullptr;
    QLineEdit* Edit_Acerto = nullptr;
    QLineEdit* Edit_Perc = nullptr;
    QLineEdit* Edit_Custo = nullptr;
    QLineEdit* Edit_Qtd = nullptr;
    kv::ui::TGlyphButton* BotInserirLinha = nullptr;
    kv::ui::TGlyphButton* BotCancLinha = nullptr;
    kv::ui::TGlyphButton* BotAlterarLinha = nullptr;
    kv::ui::TGlyphButton* BotDeleteLinha = nullptr;
};

} // namespace kv::quotes
