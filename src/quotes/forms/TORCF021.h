#pragma once

#include "quotes/core/CommercialPricing.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/QuoteEngine.h"
#include "quotes/core/QuoteHeader.h"
#include "quotes/forms/QuoteFormsEnvironment.h"
#include "quotes/forms/WorksheetDetailPage.h"

#include "platform/ui/Form.h"
#include "platform/ui/MessageServiceSink.h"

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QTabWidget;

namespace kv::db {
class Dataset;
}
namespace kv::ui {
class TGlyphButton;
struct GridColumn;
} // namespace kv::ui

namespace kv::quotes {

class ChartRowsPie;
class QuoteLookupList;

// What the worksheet keeps while it is open: the quote being worked on, the
// marks that steer its fields and the results the totals page works with.
// Nothing of it is stored apart from the quote rows.
struct WorksheetState {
    int series = 1; // WSerie
    int quoteNumber = 0; // WOrcNro
    int subQuote = 0; // WSubOrc
    int baseQuote = 0; // WOrcBase
    int priceDecimals = 2; // PRC_DECIMAIS of the working year
    WorksheetMode mode = WorksheetMode::Settled;
    bool newQuote = true; // the header belongs to a quote not yet stored
    bool quoteOpen = false; // the form may not be closed
    bool headerReset = false; // page-1 fields send the focus back to the series
    bool cancelled = false; // the fields' exit checks are skipped
    bool mayInsert = false; // INSERIR of "Elaboracao de Orcamentos"
    bool mayDelete = false; // ELIMINAR
    std::optional<QuoteRow> row; // the sub-quote row open, as the worksheet holds it
    std::optional<QuoteRow> summary; // the summary row on "Totais"
    CommercialParameters commercial;
    CommercialPricing pricing; // the commercial costs between the percentages and the closing
};

// The quote worksheet "Orçamentação": the header strip (series, number,
// sub-quote, issue date, base quote) and the notebook `Tb` with its four
// pages. The header's rules, the copy and the writes are the core's
// (QuoteHeader, QuoteEngine); the form presents and calls.
class TORCF021 : public kv::ui::Form {
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
    QWidget* buildHeader();
    QWidget* buildCustomerPage();
    QWidget* buildProductionPage();
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
    void Edit_CliNroEnter();
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

    QWidget* PanelHeader = nullptr;
    QTabWidget* Tb = nullptr;
    QLineEdit* Edit_Serie = nullptr;
    QLineEdit* Edit_Codigo = nullptr;
    QLineEdit* Edit_SubCodigo = nullptr;
    QLineEdit* Edit_DatEmi = nullptr;
    QLineEdit* Edit_OrcBase = nullptr;
    kv::ui::TGlyphButton* BotData = nullptr;
    QLineEdit* Edit_CliNro = nullptr;
    QLabel* Label_Nome = nullptr;
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
