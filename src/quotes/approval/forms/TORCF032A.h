#pragma once

#include "quotes/approval/core/ApprovalCalculator.h"
#include "quotes/approval/core/ApprovalContext.h"
#include "quotes/approval/core/DeliveryPlan.h"

#include "platform/ui/Form.h"

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kv::db {
class Dataset;
}
namespace kv::shell {
class Session;
}
namespace kv::ui {
class DbGrid;
class DbNavigator;
class FormRegistry;
class TGlyphButton;
} // namespace kv::ui

namespace kv::quotes::approval {

class QuoteApproval;

// "Aprovação de Orçamentos": one quote approved for a quantity and price.
// The upper panel shows the quote and the customer's earlier orders of the
// article and takes the delivery address, the repeat flag, the approved
// quantity and price (leaving the price works the margin out); the lower
// panel "Criação de Encomendas" takes the order's series, number, date and
// deliveries, and "Confir" writes the order with the quote's approval marks.
// The set-up runs once per opening: the article and customer forms opened
// by "Confir" and the message boxes leave the page as the user filled it.
class TORCF032A : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF032A(kv::shell::Session& session, const kv::ui::FormRegistry& forms, ApprovalContext context,
              QWidget* parent = nullptr);
    ~TORCF032A() override;

    const ApprovalOutcome& outcome() const { return m_outcome; }

protected:
    void FormActivate() override;
    void FormClose() override;
    void EnableEvents() override;

private:
    void buildUpperPanel(QWidget* panel);
    void buildOrderPanel(QWidget* panel);
    void closeAtActivation(const QString& message);
    void findPreviousOrders(); // FindEncomendas
    void showFields(); // ShowFields
    void clearOrderPage();
    void proposeNumber();
    void recalculate(); // Edit_PrecoAdjudExit
    void orderDateLeft(); // Edit_datEncExit
    void deliveryQuantityLeft(int index); // Edit_QtdEncNExit
    void postalCodeLeft(); // Edit_CodPostalExit
    void findPostalCode(); // ProcurarCPostalClick
    void cancelDeliveries(); // BotCancelarClick
    void confirm(); // BotGravarClick
    bool handOver(QString& article, int& customer);
    ApprovalInput input() const;
    Deliveries deliveries() const;

    kv::shell::Session& m_session;
    const kv::ui::FormRegistry& m_forms;
    ApprovalContext m_context;
    ApprovalOutcome m_outcome;
    std::unique_ptr<QuoteApproval> m_approval;
    std::unique_ptr<CostTables> m_tables;
    std::unique_ptr<kv::db::Dataset> m_previousOrders;
    DeliveryPlan m_plan;
    int m_deliveriesInUse = kDeliveries; // later ones are passed empty once the quantity is spread

public:
    QLabel* LabelOrcNro = nullptr;
    QLabel* LabelDatEmi = nullptr;
    QLabel* LabelCliNro = nullptr;
    QLabel* LabelCliNome = nullptr;
    QLabel* LabelArtNro = nullptr;
    QLabel* LabelArtDes = nullptr;
    std::array<QLabel*, 3> Label_Qtd{};
    std::array<QLabel*, 3> Label_Preco{};
    std::array<QLabel*, 3> Label_MargemValor{};
    std::array<QLabel*, 3> Label_MargemPrc{};
    QLabel* Label_MargemFinal = nullptr;
    QLineEdit* Edit_Reaprova = nullptr;
    QLineEdit* Edit_QtdAdjud = nullptr;
    QLineEdit* Edit_PrecoAdjud = nullptr;
    QRadioButton* RadRepetir = nullptr;
    QRadioButton* RadAlterar = nullptr;
    QWidget* LabelEncome = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    QLineEdit* Edit_Morada1 = nullptr;
    QLineEdit* Edit_Morada2 = nullptr;
    QLineEdit* Edit_CodPostal = nullptr;
    QLineEdit* Edit_LDLocalidade = nullptr;
    QLineEdit* Edit_Serie = nullptr;
    QLineEdit* Edit_EncNro = nullptr;
    QLineEdit* Edit_VosEnc = nullptr;
    QLineEdit* Edit_DatEnc = nullptr;
    kv::ui::TGlyphButton* BotData = nullptr;
    std::array<QLineEdit*, kDeliveries> Edit_PrzEnt{};
    std::array<QLineEdit*, kDeliveries> Edit_QtdEnc{};
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BotGravar = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::quotes::approval
