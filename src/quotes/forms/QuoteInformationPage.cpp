#include "quotes/forms/QuoteInformationPage.h"

#include "quotes/forms/ArticleClassificationView.h"
#include "quotes/forms/QuoteViewerSteps.h"

#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::quotes {

QuoteInformationPage::QuoteInformationPage(Options options, QWidget* parent) : QWidget(parent)
{
    auto* outer = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    int row = 0;
    auto line = [&](const char* caption, std::initializer_list<std::pair<const char*, int>> values) {
        QuoteViewerSteps::addValueLine(*grid, row++, caption, values, m_info);
    };
    line("Orçamento Nº : ", {{"Label_OrcNro", 9}});
    line("Data Emissão : ", {{"Label_DatEmi", 10}});
    line("Cliente Nº : ", {{"Label_CliNro", 8}, {"Label_CliNome", 40}});
    line("Vendedor Nº : ", {{"Label_VndNro", 8}, {"Label_VndNome", 40}});
    line("Artigo Nº : ", {{"Label_NosRef", 16}, {"Label_Design1", 40}});
    line("Observações : ", {{"Label_Observ1", 50}});
    line("", {{"Label_Observ2", 50}});
    line("Aprovado : ", {{"Label_Aprovado", 4}});
    line("Encomenda Nº : ", {{"Label_EncAno", 4}, {"Label_EncSemana", 2}, {"Label_EncNro", 8}});
    if (options.approvalDate)
        line("Data Aprovação : ", {{"Label_DatAdjud", 10}});
    line("Preço Aprovado : ", {{"Label_PrecoAdjud", 12}});
    line("Valor Encomenda : ", {{"Label_ValorAdjud", 14}});
    line("Unidade Venda :", {{"Label_UndVnd", 3}});
    line("Medidas (CxLxA) : ", {{"Label_Comprim", 8}, {"Label_Largura", 8}, {"Label_Altura", 8}});
    line(options.standardCostCaption, {{"Label_CustoPadrao", 12}});
    line("Preço Venda  :", {{"Label_Preco1", 12}});
    line("Peso (Kgs) :", {{"Label_Peso", 10}});
    line("Família : ", {{"Label_Familia", 20}});
    grid->setRowStretch(row, 1);
    outer->addLayout(grid);
    m_classificationView = new ArticleClassificationView(this);
    m_classificationView->setObjectName(QStringLiteral("PanelCustom"));
    auto* right = new QVBoxLayout;
    right->addWidget(m_classificationView);
    right->addStretch(1);
    outer->addLayout(right);
    outer->addStretch(1);
}

void QuoteInformationPage::showQuote(const std::optional<QuoteRow>& quote, const ClassifiedArticle& article,
                                     const QString& salesmanName)
{
    m_classificationView->showArticle(article);
    for (QLabel* label : m_info)
        label->clear();
    if (!quote)
        return;
    const QuoteRow& q = *quote;
    auto set = [this](const char* name, const QString& text) {
        if (QLabel* label = m_info.value(QString::fromLatin1(name)))
            label->setText(text);
    };
    set("Label_OrcNro", QString::number(q.quoteNumber()));
    set("Label_DatEmi", kv::text::date(q.value(QStringLiteral("DATEMI")).toDate()));
    set("Label_CliNro", q.text(QStringLiteral("CLINRO")));
    set("Label_CliNome", q.text(QStringLiteral("NOME")));
    set("Label_VndNro", q.text(QStringLiteral("VNDNRO")));
    set("Label_VndNome", salesmanName);
    set("Label_NosRef", q.text(QStringLiteral("NOSREF")));
    set("Label_Design1", q.text(QStringLiteral("DESIGN1")));
    set("Label_Observ1", q.text(QStringLiteral("OBSERV1")));
    set("Label_Observ2", q.text(QStringLiteral("OBSERV2")));
    set("Label_Aprovado",
        q.text(QStringLiteral("APROVADO")) == QLatin1String("S") ? QStringLiteral("Sim") : QStringLiteral("Não"));
    set("Label_EncAno", q.text(QStringLiteral("ANO")));
    set("Label_EncSemana", q.text(QStringLiteral("SEMANA")));
    set("Label_EncNro", q.text(QStringLiteral("ENCNRO")));
    set("Label_DatAdjud", kv::text::date(q.value(QStringLiteral("DATADJUD")).toDate()));
    set("Label_PrecoAdjud", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("PRECOADJUD"))));
    set("Label_ValorAdjud", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("VALORADJUD"))));
    set("Label_UndVnd", q.text(QStringLiteral("UNDVND")));
    set("Label_Comprim", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("COMPRIM"))));
    set("Label_Largura", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("LARGURA"))));
    set("Label_Altura", QuoteViewerSteps::plainNumber(q.value(QStringLiteral("ALTURA"))));
    if (article.found) {
        set("Label_CustoPadrao", kv::text::plain(article.standardCost));
        set("Label_Preco1", kv::text::plain(article.price));
        set("Label_Peso", kv::text::plain(article.weight));
        set("Label_Familia", article.family);
    }
}

} // namespace kv::quotes
