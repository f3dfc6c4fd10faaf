#pragma once

#include "production/core/ConsumptionLines.h"

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kv::quotes {
class CostTables;
}
namespace kv::ui {
class Form;
}

namespace kv::production {

// The consumption lines of the order item being filled: their grid and the
// entry area where a line is added or changed, each line written at once.
class ConsumptionLinesPage : public QWidget {
    Q_OBJECT
public:
    ConsumptionLinesPage(kv::ui::Form& form, std::shared_ptr<kv::db::Connection> application,
                         const SelectedOrder& order, std::function<OrderFigures()> figures);
    ~ConsumptionLinesPage() override;

    // Reads the cost tables and the item's lines.
    void open();
    void focusGrid();
    // Every raw-material line recomputed with the order's current figures.
    void recalculate();
    bool lineInProgress() const { return m_mode != Mode::Browsing; }
    // Back to the grid; the line being added or changed is dropped.
    void cancelLine();

private:
    enum class Mode { Browsing, Adding, Changing };

    QLineEdit* entryField(class QGridLayout* grid, int row, const char* caption, const char* name, int characters);
    void reload(int detail = -1);
    void showCurrent();
    void startAdding();
    void startChanging();
    void deleteLine();
    void enableEntry(bool machine, bool ink);
    void leaveType();
    void leaveCode();
    void leaveEntry();
    void saveLine();
    const ConsumptionLine* currentLine() const;
    // The searches of the table type and of a code of the type's table, over
    // lists of their own (the shared datasets keep their statements).
    void searchType();
    void searchCode(bool alphabetic);

    kv::ui::Form& m_form;
    std::shared_ptr<kv::db::Connection> m_connection;
    kv::db::Connection& m_application;
    ConsumptionLines m_store;
    std::function<OrderFigures()> m_figures;
    std::unique_ptr<kv::quotes::CostTables> m_tables;
    std::vector<ConsumptionLine> m_rows;
    Mode m_mode = Mode::Browsing;
    ConsumptionLine m_line; // the line being added or changed
    QTableWidget* Grid_Consumos = nullptr;
    QLineEdit* Edit_TipoTab = nullptr;
    QLabel* Label_NomeTab = nullptr;
    QLineEdit* Edit_CodTab = nullptr;
    QLabel* Label_Design = nullptr;
    QLineEdit* Edit_NroPass = nullptr;
    QLineEdit* Edit_PrdHor = nullptr;
    QLineEdit* Edit_Acerto = nullptr;
    QLineEdit* Edit_SupImpress = nullptr;
    QLineEdit* Edit_Consumo = nullptr;
    QLineEdit* Edit_Entrada = nullptr;
    QPushButton* Btn_Ins = nullptr;
    QPushButton* Btn_Alt = nullptr;
    QPushButton* Btn_Eli = nullptr;
    QPushButton* Btn_C = nullptr;
};

} // namespace kv::production
