#pragma once

#include "production/core/RequirementLimits.h"
#include "production/core/SupplierDocuments.h"

#include "platform/ui/Form.h"
#include "platform/ui/GridColumn.h"

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db
namespace kv::imaging {
class TPictureBox;
}
namespace kv::shell {
class Session;
}
namespace kv::ui {
class DbGrid;
class TGlyphButton;
} // namespace kv::ui

namespace kv::production {

class RequirementsCalculation;

// What makes one requirement form of the shared screen: its class name,
// caption, calculation variant and the captions that differ.
struct RequirementsScreenVariant {
    QString className;
    QString caption;
    RequirementVariant variant = RequirementVariant::Requisition;
    QString orderCaption; // the order limits' caption
    QString documentsPage; // the page holding "Escolha do Fornecedor"

    static RequirementsScreenVariant requisition(); // TORCF040
    static RequirementsScreenVariant manufacture(); // TORCF041
};

// The requirements screen: selection limits over the open customer orders,
// the pre-selection of (customer, article) pairs, the calculation with its
// consumption and supplier-order pages, and the supplier proposal from which
// the form writes its document.
class RequirementsScreen : public kv::ui::Form {
    Q_OBJECT
public:
    RequirementsScreen(kv::shell::Session& session, RequirementsScreenVariant variant, QWidget* parent = nullptr);
    ~RequirementsScreen() override;

    const RequirementLimits& limits() const { return m_limits; }
    bool processed() const { return m_processed; }

    // "&Processar" of the limits area: the calculation, then "Consumos".
    void BotBeginClick();
    // "&Processar" of the proposal page: writes the document.
    void BotProcessarClick();
    // Runs the calculation ("Necessidades  ..." meanwhile).
    void Processar();

    void EnableEvents() override;
    void DisableEvents() override;

protected:
    void FormActivate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent* event) override;

private:
    enum Limit { OrderFrom, OrderTo, DateFrom, DateTo, CustomerFrom, CustomerTo, ArticleFrom, ArticleTo };

    QWidget* buildLimits();
    QWidget* buildPreselectionPage();
    QWidget* buildConsumptionPage();
    QWidget* buildSupplierOrdersPage();
    QWidget* buildProposalPage();
    kv::ui::DbGrid* grid(const char* name, kv::db::Dataset* dataset, std::vector<kv::ui::GridColumn> columns);
    kv::db::Dataset* dataset(const char* name, kv::db::Connection* connection, const QString& sql);
    void showLimits();
    void enterLimit(Limit limit);
    void leaveLimit(Limit limit);
    void orderLookup(int order);
    void articleLookup();
    void OpenLogSelEnc();
    void OpenEncCliDet();
    void showPreselectionRow();
    void showPicture(const QString& article);
    void showPages(int main, int processing);
    void mainPageChanged(int index);
    void processingPageChanged(int index);
    void showProposal();
    void proposalEdited(const QString& field);
    void priceListLookup();
    void supplierLookup(bool byName);
    void print(int number);
    void writeOrders();
    void applyProposal();
    void editProposalRow();
    bool manufacture() const { return m_variant.variant == RequirementVariant::Manufacture; }
    DocumentContext documentContext() const;

    kv::shell::Session& m_session;
    RequirementsScreenVariant m_variant;
    std::shared_ptr<kv::db::Connection> m_app;
    std::shared_ptr<kv::db::Connection> m_inv;
    std::unique_ptr<RequirementsCalculation> m_calculation;
    RequirementLimits m_limits;
    bool m_processed = false;
    bool m_closing = false;
    bool m_switching = false;
    bool m_fixingProposal = false;
    Limit m_lastOrderEdit = OrderFrom;
    Limit m_lastArticleEdit = ArticleFrom;
    QString m_pictureFolder;

    std::array<QLineEdit*, 8> m_edits{};
    std::array<QLabel*, 4> m_captions{};
    QTabWidget* PageControl1 = nullptr;
    QTabWidget* PageProcessamento = nullptr;
    QTabWidget* PageEncFornecedores = nullptr;
    kv::ui::TGlyphButton* BotBegin = nullptr;
    kv::ui::TGlyphButton* BotRefresh = nullptr;
    kv::ui::TGlyphButton* BotProcessar = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr; // pre-selection
    kv::ui::DbGrid* DBGridConsumos = nullptr;
    kv::ui::DbGrid* DBGridFrnEnc = nullptr;
    kv::ui::DbGrid* DBGridArtgForn = nullptr;
    QLabel* Label_CliNro = nullptr;
    QLabel* Label_CliNome = nullptr;
    QLabel* Label_Artigo = nullptr;
    QLabel* Label_Design = nullptr;
    QLabel* Label_TotEnc = nullptr;
    kv::imaging::TPictureBox* Picture = nullptr;
    QLabel* PictureCaption = nullptr;

    kv::db::Dataset* ENCCLIDET = nullptr;
    kv::db::Dataset* ENCCLIMAS1 = nullptr;
    kv::db::Dataset* LOGSELENC1 = nullptr;
    kv::db::Dataset* ENCCLIDETCONS = nullptr;
    kv::db::Dataset* LOGARTIGOS = nullptr;
    kv::db::Dataset* LOGFRNENC = nullptr;
    kv::db::Dataset* FRNENCMAS = nullptr;
    kv::db::Dataset* FRNENCDET = nullptr;
    kv::db::Dataset* LOGARTGFORN1 = nullptr;
    kv::db::Dataset* STKARTGFORN = nullptr;
    kv::db::Dataset* FORNECEDORES = nullptr;
    std::array<QLabel*, 15> m_orderHeader{};
};

} // namespace kv::production
