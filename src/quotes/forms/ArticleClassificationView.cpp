#include "quotes/forms/ArticleClassificationView.h"

#include "platform/ui/FieldWidth.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kv::quotes {

ArticleClassificationView::ArticleClassificationView(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    for (int n = 1; n <= 9; ++n) {
        auto*& name = LabelArtigo[n - 1];
        name = new QLabel(QStringLiteral("Custom %1 :").arg(n));
        name->setObjectName(QStringLiteral("LabelArtigo%1").arg(n));
        // The table names are up to 15 characters.
        name->setMinimumWidth(name->fontMetrics().averageCharWidth() * 16);
        auto*& code = Edit_Custom[n - 1];
        code = new QLineEdit;
        code->setObjectName(QStringLiteral("Edit_Custom%1").arg(n));
        code->setReadOnly(true);
        code->setFocusPolicy(Qt::NoFocus);
        kv::ui::setFieldWidth(code, 5);
        auto*& value = Label_NomeCustom[n - 1];
        value = new QLabel;
        value->setObjectName(QStringLiteral("Label_NomeCustom%1").arg(n));
        value->setMinimumWidth(value->fontMetrics().averageCharWidth() * 21);
        grid->addWidget(name, n - 1, 0);
        grid->addWidget(code, n - 1, 1);
        grid->addWidget(value, n - 1, 2);
    }
    grid->setColumnStretch(3, 1);
}

void ArticleClassificationView::showArticle(const ClassifiedArticle& article)
{
    for (int n = 0; n < 9; ++n) {
        LabelArtigo[n]->setText(article.tableNames[n]);
        Edit_Custom[n]->setText(article.found ? QString::number(article.codes[n]) : QString());
        Label_NomeCustom[n]->setText(article.valueNames[n]);
    }
}

} // namespace kv::quotes
