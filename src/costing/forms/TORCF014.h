#pragma once

#include "costing/forms/CostingEnvironment.h"

#include "platform/ui/Form.h"
#include "costing/core/ListStatement.h"
#include "costing/core/ProcedureLines.h"

class QLineEdit;

namespace kv::ui {
class DbGrid;
class DbNavigator;
class TGlyphButton;
} // namespace kv::ui

namespace kv::costing {

// The lines of the procedures: the procedures in an upper grid, the lines of
// the chosen one below. A line is added by its table type and a search of
// that table, which records the table's name and the row's designation as
// they are; it is saved when the focus returns to the line grid. Lines are
// never edited: a wrong line is deleted and added again.
class TORCF014 : public kv::ui::Form {
    Q_OBJECT
public:
    explicit TORCF014(CostingEnvironment environment, QWidget* parent = nullptr);
    ~TORCF014() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void buildLayout();
    void attachHandlers();

    void BotInserirClick();
    void BotCancelarClick();
    void BotDeleteClick();
    void BotPrintClick();
    void DbGrid1Enter();
    void DbGrid1Exit();
    void Edit_TipoTabExit();
    void Edit_CodTabExit();
    void ProcTipoTabClick();
    void search(ListOrder order);
    void Edit_Codigo2Change();

    void setGridMode(bool on);
    void clearLine();
    void reopenLines();
    void showError(const kv::db::DbError& error);

    CostingEnvironment m_environment;
    kv::db::Dataset* m_procedures;
    kv::db::Dataset* m_lines;
    kv::db::Dataset* m_types;
    QString m_linesStatement; // the shared statement, put back at close

    bool m_adding = false;
    bool m_cancelMark = false;
    bool m_cancelling = false;
    int m_procedure = 0;
    ProcedureLine m_line; // the line being added

    kv::ui::DbGrid* DBGrid2 = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    QLineEdit* Edit_TipoTab = nullptr;
    QLineEdit* Edit_NomeTabela = nullptr;
    QLineEdit* Edit_CodTab = nullptr;
    QLineEdit* Edit_DesTab = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    kv::ui::TGlyphButton* BotInserir = nullptr;
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BotDelete = nullptr;
    kv::ui::TGlyphButton* BotPrint = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::costing
