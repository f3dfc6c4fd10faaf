#pragma once

#include "platform/install/Installation.h"
#include "platform/ui/Form.h"
#include "production/core/SelectedOrder.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include <memory>

class QTabWidget;

namespace kv::quotes {
class ArticleClassification;
class ArticlePictureViewer;
class QuoteInformationPage;
class QuoteValuesPage;
}

namespace kv::production {

// The quote behind a production order ("Consulta de Orçamentos"): its
// information, values with the chart of a quantity, and the article's
// pictures. Read only but for the user's chart rows; rebuilt each time the
// window becomes active.
class TORCF101B : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF101B(kv::quotes::QuoteFormsEnvironment environment, const SelectedOrder& order, QWidget* parent = nullptr);
    ~TORCF101B() override;

protected:
    void FormActivate() override;
    bool event(QEvent* event) override;

private:
    enum Page { InformationPage, ValuesPage, PhotoPage };
    void showView();
    void TBClick(int index);

    kv::quotes::QuoteFormsEnvironment m_environment;
    int m_quoteNumber = 0;
    kv::install::Installation m_noInstallation;
    std::unique_ptr<kv::quotes::ArticleClassification> m_classification;
    bool m_viewReady = false;
    bool m_switchingPage = false;
    QTabWidget* TB = nullptr;
    kv::quotes::QuoteInformationPage* m_information = nullptr;
    kv::quotes::QuoteValuesPage* m_values = nullptr;
    kv::quotes::ArticlePictureViewer* m_pictures = nullptr;
};

} // namespace kv::production
