#pragma once

#include "quotes/core/ArticleClassification.h"
#include "quotes/core/QuoteRow.h"

#include <QMap>
#include <QWidget>
#include <optional>

class QLabel;

namespace kv::quotes {

class ArticleClassificationView;

// The information page of a quote viewer: the summary row's header, order
// and prices, its article's figures and the article's classification.
class QuoteInformationPage : public QWidget {
    Q_OBJECT
public:
    struct Options {
        bool approvalDate = false; // "Data Aprovação : " with the summary row's DATADJUD
        const char* standardCostCaption = "Custo Padrão :";
    };

    explicit QuoteInformationPage(Options options, QWidget* parent = nullptr);

    // Every label cleared, then the quote's (nothing more when there is none).
    void showQuote(const std::optional<QuoteRow>& quote, const ClassifiedArticle& article, const QString& salesmanName);
    QLabel* label(const QString& name) const { return m_info.value(name); }

private:
    QMap<QString, QLabel*> m_info;
    ArticleClassificationView* m_classificationView = nullptr;
};

} // namespace kv::quotes
