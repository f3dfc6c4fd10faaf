#pragma once

#include "quotes/core/ArticleClassification.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include "platform/install/Installation.h"
#include "platform/ui/Form.h"

#include <memory>
#include <optional>

class QLabel;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace kv::db {
class Dataset;
}
namespace kv::ui {
class RangeLimitsBlock;
class DbGrid;
class DbNavigator;
class TGlyphButton;
} // namespace kv::ui

namespace kv::quotes {

class QuoteInformationPage;
class ArticlePictureViewer;
class QuoteValuesPage;
class SelectionLookups;

// "Consulta de Orçamentos": the summary rows within the selection's ranges
// and filters, and the current quote on four pages (list, information with
// the article's classification, values with the chart, pictures); prints
// the list and previews a quote's internal print. It changes no quote.
class TORCF031 : public kv::ui::Form {
    Q_OBJECT
public:
    // The program key of the user's chart rows.
    static constexpr const char* kChartProgram = "ORCP031";
    enum Page { ListPage = 0, InformationPage = 1, ValuesPage = 2, PhotoPage = 3 };

    explicit TORCF031(QuoteFormsEnvironment environment, QWidget* parent = nullptr);
    ~TORCF031() override;

    // The selection of the last opening.
    const ConsultationSelection& selection() const { return m_selection; }
    kv::db::Dataset& list() const { return *m_list; }
    int currentPage() const;
    int priceDecimals() const { return m_priceDecimals; }

    // OpenOrcmas.
    void openSelection();
    // Edit_OrcNroChange: the three other pages of the current quote.
    void showCurrentQuote();
    // TBClick.
    void TBClick(int index);
    // "&Imprimir".
    void BotImprimirClick();
    // DBGrid1DblClick.
    void DBGrid1DblClick();

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    QWidget* buildFilters();
    void buildLimits();
    QWidget* buildListPage();
    QWidget* buildInformationPage();
    void showPage(int index);
    void showInformation(const std::optional<QuoteRow>& quote, const ClassifiedArticle& article);

    QuoteFormsEnvironment m_environment;
    kv::install::Installation m_noInstallation;
    ConsultationSelection m_selection;
    int m_priceDecimals = 2;
    bool m_classificationRead = false;
    std::unique_ptr<kv::db::Dataset> m_list;
    std::unique_ptr<ArticleClassification> m_classification;
    QTimer* m_rowRest = nullptr;
    bool m_switchingPage = false;

    std::unique_ptr<SelectionLookups> m_lookups;

    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    QLabel* Label_NroOrc = nullptr;
    kv::ui::TGlyphButton* BotConsultar = nullptr;
    QRadioButton* RadioManual[3] = {}; // Manuais, Automáticos, Ambos
    QRadioButton* RadioAprovado[3] = {}; // Aprovados, Não Aprovados, Ambos
    QTabWidget* TB = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* DBNavigator1 = nullptr;
    kv::ui::TGlyphButton* BotImprimir = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
    QuoteInformationPage* m_information = nullptr;
    QuoteValuesPage* m_values = nullptr;
    ArticlePictureViewer* m_pictures = nullptr;
};

} // namespace kv::quotes
