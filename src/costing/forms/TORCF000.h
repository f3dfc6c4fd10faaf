#pragma once

#include "costing/forms/CostingEnvironment.h"

#include "costing/core/GeneralParameters.h"

#include "platform/ui/Form.h"
#include "platform/ui/GridColumn.h"

#include <memory>

class QLabel;
class QTabWidget;

namespace kv::ui {
class DbEdit;
class TGlyphButton;
} // namespace kv::ui

namespace kv::costing {

// The general costing parameters (ORCPARGER row 1) on three pages: the
// quote letter texts and commercial costs, the document numbering and
// copies, and the link with stock. The row is created when missing, stays in
// edit while the form is open and is saved only by "&Terminar"; closing the
// window discards every change.
class TORCF000 : public kv::ui::Form {
    Q_OBJECT
public:
    explicit TORCF000(CostingEnvironment environment, QWidget* parent = nullptr);
    ~TORCF000() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    QWidget* buildGeneralPage();
    QWidget* buildNumberingPage();
    QWidget* buildStockPage();
    kv::ui::DbEdit* edit(const QString& name, const QString& column, QWidget* parent, QLabel* caption = nullptr);
    QLabel* label(const QString& text, QWidget* parent, const QString& name = {});

    bool InitiateOrcParger();
    void TbClick();
    void BitTerminarClick();
    void Edit_TipIncidExit();
    void warehouseExit(kv::ui::DbEdit* field, QLabel* name);
    void transactionExit(kv::ui::DbEdit* field, QLabel* name, TransactionKind kind);
    void stockLookup(kv::db::Dataset& list, const kv::ui::GridColumn& code, const kv::ui::GridColumn& name,
                     kv::ui::DbEdit* field, QLabel* label);
    void departmentLookup();

    CostingEnvironment m_environment;
    kv::db::Dataset& m_params;
    kv::db::Dataset& m_warehouses;
    kv::db::Dataset& m_transactions;
    std::unique_ptr<kv::db::Dataset> m_departments;
    bool m_incidenceChecks = false;
    bool m_stockChecks = false;

    QWidget* Panel1 = nullptr;
    QTabWidget* Tb = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
    kv::ui::DbEdit* Edit_TipIncid[3] = {};
    kv::ui::DbEdit* Edit_Depart = nullptr;
    kv::ui::DbEdit* Edit_TrsEnt = nullptr;
    kv::ui::DbEdit* Edit_TrsSai = nullptr;
    kv::ui::DbEdit* Edit_ArmEnt = nullptr;
    kv::ui::DbEdit* Edit_ArmSai = nullptr;
    QLabel* Label_TrsEnt = nullptr;
    QLabel* Label_TrsSai = nullptr;
    QLabel* Label_ArmEnt = nullptr;
    QLabel* Label_ArmSai = nullptr;
};

} // namespace kv::costing
