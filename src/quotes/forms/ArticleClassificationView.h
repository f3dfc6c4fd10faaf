#pragma once

#include "quotes/core/ArticleClassification.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace kv::quotes {

// The nine customisation codes of a quote's article with the names of their
// tables and values (ShowCustom), as the quote viewers and the article form
// show them.
class ArticleClassificationView : public QWidget {
    Q_OBJECT
public:
    explicit ArticleClassificationView(QWidget* parent = nullptr);

    void showArticle(const ClassifiedArticle& article);

    QLabel* tableName(int n) const { return LabelArtigo[n - 1]; }
    QLabel* valueName(int n) const { return Label_NomeCustom[n - 1]; }

private:
    QLabel* LabelArtigo[9] = {};
    QLineEdit* Edit_Custom[9] = {};
    QLabel* Label_NomeCustom[9] = {};
};

} // namespace kv::quotes
