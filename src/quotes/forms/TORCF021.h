#pragma once

#include "quotes/core/CommercialPricing.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/QuoteEngine.h"
#include "quotes/core/QuoteHeader.h"
#include "quotes/forms/QuoteFormsEnvironment.h"
#include "quotes/forms/WorksheetPageHost.h"
#include "quotes/forms/WorksheetState.h"
#include "quotes/forms/WorksheetDetailPage.h"

#include "platform/ui/Form.h"
#include "platform/ui/MessageServiceSink.h"

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::db {
class Dataset;
}
namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class TGlyphButton;
struct GridColumn;
} // namespace kv::ui

namespace kv::quotes {

class ChartRowsPie;
class QuoteLookupList;
class WorksheetCustomerPage;
class WorksheetProductionPage;

// The quote worksheet "Orçamentação": the header strip (series, number,
// sub-quote, issue date, base quote) and the notebook `Tb` with its four
// pages. The header's rules, the copy and the writes are the core's
// (QuoteHeader, QuoteEngine); the form presents and calls.
class TORCF021 : public kv::ui::Form, private WorksheetPageHost {
    Q_OBJECT
public:
    explicit TORCF021(QuoteFormsEnvironment environment, QWidget* parent = nullptr);
    ~TORCF021() override;

    const WorksheetState& worksheet() const { return m_w; }
    void done(int result) override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    // WorksheetPageHost
    kv::ui::Form& form() override { return *this; }
    void changePage(WorksheetPage page) override;
    void focusSeries() override;
    void openQuote() override;
    void showPictures(const QString& articleCode) override; // ShowFotos
    void clearPictures();
    void storePages();

    QWidget* buildHeader();
    QWidget* buildDetailPage();
    QWidget* buildTotalsPage();
    QLineEdit* edit(const QString& name, int characters, QLabel* caption);
    QLabel* value(const QString& name, int characters);

    QuoteHeader header();
    QuoteEngine engine(notify::MessageSink& messages);
    std::optional<SubQuote> startCalculation(int procedureCode);
    void closeAtActivation(const QString& message);

    // header (the handlers keep the original names where they help)
    void Edit_SerieEnter();
    void Edit_SerieExit();
    void Edit_CodigoEnter();
    void Edit_CodigoExit();
    void Edit_SubCodigoExit();
    void Edit_DatEmiExit();
    void Edit_OrcBaseExit();
    void BotDataClick();
    void ProcOrcNumClick();
    void baseQuoteLookup(bool byName);
    bool lookup(QuoteLookupList& list, std::vector<kv::ui::GridColumn> columns);
    void openRow(const SubQuoteOpening& opening);
    void showRow();
    void enableHeader(bool enabled);
    void closeQuote();
    void BotCancelarClick();
    void BotDeleteClick();
    void BotGravarClick();

    // pages
    void TbClick();
    void BotTotaisClick();
    void showPage(int index);

    // totals
    void enterTotals();
    void Edit_PrcComEnter(int k);
    void Edit_PrcComExit(int k);
    void CalculaCev();
    void Edit_PrcCliExit(int n);
    void FechoOrc();
    void showTotals();
    bool readPercentage(int k);
    void drawChart();
    void printInternalQuote();

    QuoteFormsEnvironment m_environment;
    WorksheetState m_w;
    std::optional<CostTables> m_tables;
    std::unique_ptr<QuoteEngine> m_engine;
    kv::ui::MessageServiceSink m_messages;
    bool m_switchingPage = false;
    QString m_pictureFolder; // PATHFOTO of the working year

    QWidget* PanelHeader = nullptr;
    QTabWidget* Tb = nullptr;
    QLineEdit* Edit_Serie = nullptr;
    QLineEdit* Edit_Codigo = nullptr;
    QLineEdit* Edit_SubCodigo = nullptr;
    QLineEdit* Edit_DatEmi = nullptr;
    QLineEdit* Edit_OrcBase = nullptr;
    kv::ui::TGlyphButton* BotData = nullptr;
    WorksheetCustomerPage* m_customerPage = nullptr;
    WorksheetProductionPage* m_productionPage = nullptr;
    std::vector<kv::imaging::TPictureBox*> m_pictures; // ML1 to ML4
    WorksheetDetailPage* m_detail = nullptr;
    QLabel* Label_Quant[3] = {};
    QLabel* Label_Comiss[3] = {};
    QLineEdit* Edit_PrcCom[3] = {};
    QLabel* Label_Custo[3] = {};
    QLabel* Label_ValCom[3][3] = {};
    QLabel* Label_PrcOrc[3] = {};
    QLineEdit* Edit_PrcCli[3] = {};
    QLabel* Label_ValCli[3] = {};
    QLabel* LabelMargLiq[3] = {};
    ChartRowsPie* ChartTotais = nullptr;
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BotDelete = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::quotes
