#pragma once

#include "commercial/core/SalesObjectives.h"
#include "commercial/forms/CommercialEnvironment.h"

#include "platform/ui/Form.h"

#include <array>

class QLabel;
class QLineEdit;

namespace kv::db {
class Dataset;
}
namespace kv::ui {
class TGlyphButton;
}

namespace kv::commercial {

// A salesman's monthly sales objectives for the working year (TFACF030b),
// opened by the salesmen file for the salesman its grid stands on: twelve
// months of four tiers, each an objective and a commission rate code with
// its percentage. The one row is kept in the form and written only by
// "&Gravar", after the whole row is checked; closing the form drops what
// was not saved. No rights, no list report.
class SalesObjectivesForm : public kv::ui::Form {
    Q_OBJECT
public:
    SalesObjectivesForm(CommercialEnvironment environment, int salesman, QString name, QWidget* parent = nullptr);
    ~SalesObjectivesForm() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    struct Cell {
        QLineEdit* value = nullptr; // Edit_ValkMesm
        QLineEdit* rate = nullptr; // Edit_ComkMesm
        QLabel* percent = nullptr; // Label_PrckMesm
    };
    Cell& cell(int tier, int month);
    void buildLayout();
    void attachHandlers();

    // ShowQuota: the stored row, or a new one for this salesman and year.
    void showQuota();
    void showMonth(int month);
    void showPercent(int tier, int month);
    void highlightMonth(int month, bool on);
    // The rules of leaving a field (the month's first tier, a higher tier, a rate code).
    void leaveFirstTier(int month);
    void leaveHigherTier(int tier, int month);
    void leaveRate(int tier, int month);
    void clearMonth(int tier, int month);
    // The rate code's row in the commission rates, or -1.
    int rateRow(qint64 code) const;

    void repeatPreviousMonth(int month);
    void lookUpRate();
    void BotGravarClick();
    void BotCancelarClick();
    void BotDeleteClick();
    void BotImportarClick();

    CommercialEnvironment m_environment;
    SalesObjectives m_store;
    kv::db::Dataset& m_rates;
    int m_salesman;
    QString m_name;
    ObjectiveRow m_row;
    bool m_exists = false;
    int m_focusCode = 101; // 100 x tier + month of the rate or first objective last entered
    std::array<Cell, ObjectiveMonths * ObjectiveTiers> m_cells{};
    std::array<QLabel*, ObjectiveMonths> m_months{};
    QLineEdit* Edit_VndNro = nullptr;
    QLabel* Label_VndNome = nullptr;
    QLabel* Label_Objectivo = nullptr;
    kv::ui::TGlyphButton* BotImportar = nullptr;
    kv::ui::TGlyphButton* BotDelete = nullptr;
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BotGravar = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::commercial
