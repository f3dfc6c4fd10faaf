#pragma once

#include "quotes/approval/forms/ApprovalOpener.h"
#include "quotes/core/ArticleClassification.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include "platform/install/Installation.h"
#include "platform/ui/Form.h"

#include <QMap>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace kv::db {
class Dataset;
}
namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class RangeLimitsBlock;
class DbGrid;
class DbNavigator;
class TGlyphButton;
} // namespace kv::ui
namespace kv::customers {
class CustomerViews;
}

namespace kv::quotes {

class ArticleClassificationView;
class ChartRowsPie;
class QuoteValuesPage;
class SelectionLookups;

// "Aprovação de Orçamentos": the summary rows within the user's limits, the
// current quote's values, materials, article (classification, picture,
// stock) and its customer's receivables, sales, receipts and open orders.
// From it a quote is approved, its internal print previewed with the
// approved page, and the order its approval wrote printed. It writes only
// the user's work rows.
class TORCF032 : public kv::ui::Form {
    Q_OBJECT
public:
    // The program key of the user's chart rows (SALDOS, SALDOS1, FACSALDOS).
    static constexpr const char* kChartProgram = "ORCP032";
    enum FichaPage { Information = 0, Classification, TechnicalSheets, BaseCost, CommercialCost, OrderTotal };

    // `openApproval` runs the approval form of a quote ("&Aprovar").
    TORCF032(QuoteFormsEnvironment environment, approval::ApprovalOpener openApproval, QWidget* parent = nullptr);
    ~TORCF032() override;

    kv::db::Dataset& list() const { return *m_list; }
    const ConsultationSelection& selection() const { return m_selection; }
    int priceDecimals() const { return m_priceDecimals; }

    // OpenOrcmas.
    void openList();
    // Entry into the first customer field: the list and what it shows close.
    void closeList();
    // Edit_OrcNroChange, once the cursor rests.
    void showCurrentRow();
    // NBFICTECClick.
    void showFichaPage(int index);
    // BotAprovaClick.
    void BotAprovaClick();
    // BitPrintClick and DBGrid1DblClick.
    void BitPrintClick();
    // BitPrintEncClick.
    void BitPrintEncClick();

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void buildLimits();
    QWidget* buildChoices();
    QWidget* buildListPage();
    QWidget* buildFichaPage();
    QWidget* buildInformationPage();
    QWidget* buildDetailNotebook();
    void setListShown(bool shown);
    void showInformation(const std::optional<QuoteRow>& quote, const ClassifiedArticle& article);
    void showStock();
    void showRawMaterials();
    void showCostChart(int set);
    void rebuildOrderValues();
    int currentQuoteNumber() const;

    QuoteFormsEnvironment m_environment;
    approval::ApprovalOpener m_openApproval;
    kv::install::Installation m_noInstallation;
    ConsultationSelection m_selection;
    int m_priceDecimals = 2;
    QString m_pictureFolder;
    std::unique_ptr<kv::db::Dataset> m_list;
    std::unique_ptr<ArticleClassification> m_classification;
    std::optional<QuoteRow> m_summary; // the current row's summary row
    QString m_article; // the current article, empty when not in the file
    int m_customer = -1; // the customer whose figures are shown
    QTimer* m_rowRest = nullptr;

    std::unique_ptr<SelectionLookups> m_lookups;

    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    QComboBox* Edit_TipOrc = nullptr;
    QRadioButton* RadData = nullptr;
    QRadioButton* RadArtigo = nullptr;
    QRadioButton* RadVendedor = nullptr;
    QTabWidget* NBOrcam = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    QTabWidget* NBFICTEC = nullptr;
    ChartRowsPie* DBChart1 = nullptr;
    QMap<QString, QLabel*> m_values;
    ArticleClassificationView* m_classificationView = nullptr;
    QTableWidget* m_rawMaterials = nullptr;
    QuoteValuesPage* m_quoteValues = nullptr;
    QTabWidget* NB = nullptr;
    QWidget* m_detailFields = nullptr;
    QTableWidget* m_warehouses = nullptr;
    kv::imaging::TPictureBox* ML1 = nullptr;
    kv::customers::CustomerViews* m_customerViews = nullptr;
    kv::ui::TGlyphButton* BotAprova = nullptr;
    kv::ui::TGlyphButton* BitPrint = nullptr;
    kv::ui::TGlyphButton* BitPrintEnc = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::quotes
