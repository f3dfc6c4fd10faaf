#pragma once

#include "production/core/OrderConsultation.h"
#include "production/forms/StatisticsListReport.h"

#include "platform/text/RangeLimits.h"
#include "platform/ui/Form.h"
#include "platform/ui/GridColumn.h"

#include <map>
#include <vector>

#include <memory>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::db {
class Dataset;
class WindowedList;
} // namespace kv::db
namespace kv::imaging {
class TPictureBox;
}
namespace kv::quotes {
class ChartRowsPie;
class SelectionLookups;
} // namespace kv::quotes
namespace kv::shell {
class Session;
}
namespace kv::ui {
class DbGrid;
class FormRegistry;
class RangeLimitsBlock;
class TGlyphButton;
} // namespace kv::ui

namespace kv::production {

struct ProductionSessionState;

// "Consulta e Alteração de Ordens de Fabrico": the open production orders
// within the ranges, the filling form of the current order, the deletion of
// an order and, in the slot model, the statistics per production week with
// their pies, the month calendar and the quote view. One form for both
// models: `TORCF101` (slots) and `TORCF105` (model "T").
class OrderConsultationForm : public kv::ui::Form {
    Q_OBJECT
public:
    enum Page { ListPage = 0, ProductionPage = 1, TimesPage = 2, ConsumptionPage = 3 };

    OrderConsultationForm(OrderModel model, kv::shell::Session& session, const kv::ui::FormRegistry& forms,
                          ProductionSessionState& shared, QWidget* parent = nullptr);
    ~OrderConsultationForm() override;

    OrderModel model() const { return m_model; }
    kv::db::Dataset& list() const { return *m_list; }
    const OrderSelection& selection() const { return m_selection; }

    // Listing: the list opened with the limits and its counter.
    void openList();
    // "&Alterar", "&Eliminar", "&Processar".
    void BotAlterarClick();
    void BotEliminarClick();
    void BotProcessarClick();
    // Double click on the grid: the quote view.
    void DBGrid1DblClick();
    // "Mês Anterior" / "Mês Seguinte".
    void stepMonth(int months);

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    bool bySlots() const { return m_model == OrderModel::Slots; }
    void buildLimits();
    QWidget* buildCalendar();
    QWidget* buildStatisticsPage(const char* name, kv::db::Dataset& rows, std::vector<kv::ui::GridColumn> columns,
                                 kv::quotes::ChartRowsPie* pie, const char* printName, const char* printHint,
                                 const QString& title, std::vector<StatisticsColumn> printed);
    void addWeekBoxes(const QString& pair);
    void showWeek(const QString& pair, kv::text::LimitSide side);
    void readLimits();
    void enterCustomerFrom();
    void hideStatistics();
    void showStatistics();
    void showCurrentPicture();
    void printPage(kv::db::Dataset& rows, const QString& title, const std::vector<StatisticsColumn>& columns);
    OrderKey currentKey() const;
    bool relocate(const OrderKey& key, int subQuote);
    // The rows beyond the window read as the cursor reaches its edge.
    void followList();
    // The child form of a class, run modally; false when it is not there.
    bool runChild(const QString& className);

    OrderModel m_model;
    kv::shell::Session& m_session;
    const kv::ui::FormRegistry& m_forms;
    ProductionSessionState& m_shared;
    OrderSelection m_selection;
    QString m_pictureFolder;
    std::unique_ptr<kv::quotes::SelectionLookups> m_lookups;
    std::unique_ptr<kv::db::Dataset> m_list;
    std::unique_ptr<kv::db::WindowedList> m_window; // over m_list
    std::unique_ptr<kv::db::Dataset> m_production; // OFESTAT
    std::unique_ptr<kv::db::Dataset> m_times; // OFTRANSFORM
    std::unique_ptr<kv::db::Dataset> m_consumption; // OFCONSUMOS

    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    std::map<QString, QLineEdit*> m_weekBoxes; // "<pair>1S", "<pair>1D", "<pair>2S", "<pair>2D"
    QTabWidget* TB = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    QLabel* Label_NroOF = nullptr;
    kv::imaging::TPictureBox* Foto = nullptr;
    kv::quotes::ChartRowsPie* ChartProducao = nullptr;
    kv::quotes::ChartRowsPie* ChartTempos = nullptr;
    std::vector<kv::ui::TGlyphButton*> m_printButtons;
    QCalendarWidget* Calendario = nullptr;
    QLabel* LabelMes = nullptr;
};

} // namespace kv::production
