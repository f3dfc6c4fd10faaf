#pragma once

#include "platform/ui/Form.h"
#include "shell/AccessRights.h"

#include <QString>
#include <map>
#include <memory>

class QLineEdit;
class QProgressBar;

namespace kv::db {
class Dataset;
}
namespace kv::quotes {
class SelectionLookups;
}
namespace kv::shell {
class Session;
}
namespace kv::ui {
class DbGrid;
class DbNavigator;
class FormRegistry;
class RangeLimitsBlock;
} // namespace kv::ui

namespace kv::production {

struct ClosingLimits;
enum class ClosingModel;

// "Fecho de Ordens de Fabrico": the planner lists the open orders, ticks
// those produced and types the produced quantities; the confirmation checks
// them, posts the stock movements into one document and closes the orders.
// Run as TORCF107 for model "T" (`ORDFABRICO`: consumptions worked out from
// the sheet count, the finished goods entered) and as TORCF108 for the other
// models (`ORDFABDET`: partial closings, consumptions typed per board line in
// a second grid).
class OrderClosingForm : public kv::ui::Form {
    Q_OBJECT
public:
    OrderClosingForm(ClosingModel model, kv::shell::Session& session, const kv::ui::FormRegistry& forms,
                     QWidget* parent = nullptr);
    ~OrderClosingForm() override;

    void BotGravarClick();
    void BotCancelarClick();

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void buildLimits(const kv::ui::FormRegistry& forms);
    void addWeekBoxes();
    void showWeek(bool first);
    ClosingLimits currentLimits() const;
    void OpenWORKORDFAB();
    void openLines();
    // F1: the consumption grid of the current order.
    void RegistarConsumos1Click();
    // Insert in the consumption grid: its typed quantities are kept.
    void MenuItem3Click();
    void showErrors();
    // The pass and order a long run is at, in the first status panel.
    void showWorking(const QString& pass, int order);
    bool writeTyped(kv::db::Dataset& rows);
    bool wholeOrders() const;
    // Passes 1 and 2 of the confirmation; false (with the messages shown)
    // when the run must stop.
    bool checkBeforePosting();

    ClosingModel m_model;
    kv::shell::Session& m_session;
    bool m_activated = false;
    kv::shell::Rights m_rights;
    std::unique_ptr<kv::quotes::SelectionLookups> m_lookups;
    std::unique_ptr<kv::db::Dataset> m_orders;
    std::unique_ptr<kv::db::Dataset> m_lines;
    std::unique_ptr<kv::db::Dataset> m_errors;
    std::map<QString, QLineEdit*> m_weekBoxes;
    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    QLineEdit* Edit_Data = nullptr;
    kv::ui::DbGrid* DbGrid1 = nullptr;
    kv::ui::DbGrid* DBGrid2 = nullptr;
    kv::ui::DbGrid* DBGrid3 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    QProgressBar* Gauge1 = nullptr;
};

} // namespace kv::production
