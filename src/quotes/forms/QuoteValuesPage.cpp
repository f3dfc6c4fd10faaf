#include "quotes/forms/QuoteValuesPage.h"

#include "quotes/print/ChartRowsPie.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

// Wide enough for the largest amount a quote shows.
int amountWidth(const QFontMetrics& metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("9.999.999.999,9999 €")) + 8;
}

QLabel* amountLabel(const QString& name)
{
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(amountWidth(label->fontMetrics()));
    return label;
}

} // namespace

QuoteValuesPage::QuoteValuesPage(QWidget* parent) : QWidget(parent)
{
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    for (int k = 1; k <= 3; ++k) {
        BotChart[k - 1] = new kv::ui::TGlyphButton(QString(), this);
        BotChart[k - 1]->setObjectName(QStringLiteral("BotChart%1").arg(k));
        BotChart[k - 1]->setMinimumWidth(amountWidth(fontMetrics()));
        grid->addWidget(BotChart[k - 1], 0, k);
        connect(BotChart[k - 1], &kv::ui::TGlyphButton::clicked, this, [this, k] {
            if (m_ownChart)
                showChart(k);
        });
    }
    for (int row = 0; row < QuoteValues::kRows; ++row) {
        m_rowLabels[row] = new QLabel(QuoteValues::labels()[row]);
        grid->addWidget(m_rowLabels[row], row + 1, 0, Qt::AlignRight);
        for (int k = 1; k <= 3; ++k) {
            m_values[row][k - 1] = amountLabel(QStringLiteral("Label_Valor%1_%2").arg(row + 1).arg(k));
            grid->addWidget(m_values[row][k - 1], row + 1, k);
        }
    }
    left->addLayout(grid);
    auto* margin = new QHBoxLayout;
    margin->addWidget(new QLabel(QStringLiteral("Margem (%) : ")));
    Label_Margem = amountLabel(QStringLiteral("Label_Margem"));
    margin->addWidget(Label_Margem);
    margin->addStretch(1);
    left->addLayout(margin);
    Label_Unidade = new QLabel;
    Label_Unidade->setObjectName(QStringLiteral("Label_Unidade"));
    left->addWidget(Label_Unidade);
    left->addStretch(1);
    outer->addLayout(left);
    DBChart2 = new ChartRowsPie(this);
    DBChart2->setObjectName(QStringLiteral("DBChart2"));
    DBChart2->setMinimumSize(460, 240); // wide enough for the legend of three slices with their values
    outer->addWidget(DBChart2, 1);
}

void QuoteValuesPage::setChartRows(std::shared_ptr<kv::db::Connection> application, QString user, QString program)
{
    m_application = std::move(application);
    m_user = std::move(user);
    m_program = std::move(program);
}

void QuoteValuesPage::hideOwnChart()
{
    m_ownChart = false;
    DBChart2->hide();
}

void QuoteValuesPage::setVariant(QuoteValues::Variant variant)
{
    m_variant = variant;
    const bool subcontracts = variant == QuoteValues::Variant::Consultation;
    m_rowLabels[QuoteValues::kSubcontractRow]->setVisible(subcontracts);
    for (QLabel* value : m_values[QuoteValues::kSubcontractRow])
        value->setVisible(subcontracts);
    Label_Unidade->setVisible(subcontracts);
}

void QuoteValuesPage::clear()
{
    for (auto& row : m_values)
        for (QLabel* label : row)
            label->clear();
    Label_Margem->clear();
    Label_Unidade->clear();
    for (auto* button : BotChart)
        button->SetCaption(QString());
}

void QuoteValuesPage::showValues(const std::optional<QuoteRow>& summary)
{
    clear();
    m_shown.reset();
    if (!summary)
        return;
    m_shown = QuoteValues::of(*summary, m_variant);
    for (int row = 0; row < QuoteValues::kRows; ++row)
        for (int k = 1; k <= 3; ++k)
            m_values[row][k - 1]->setText(m_shown->text(row, k, m_priceDecimals));
    Label_Margem->setText(m_shown->marginText());
    Label_Unidade->setText(m_shown->unitLine());
    for (int k = 1; k <= 3; ++k)
        BotChart[k - 1]->SetCaption(kv::text::plain(summary->quantity(k)));
    showChart(1);
}

void QuoteValuesPage::showChart(int quantity)
{
    if (!m_shown || !m_application)
        return;
    try {
        m_shown->writeChart(*m_application, m_user, m_program, quantity);
        if (m_ownChart) {
            ChartRows rows(*m_application, ChartRows::Table::Saldos, m_user, m_program);
            DBChart2->showRows(rows);
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

} // namespace kv::quotes
