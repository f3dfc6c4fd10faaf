#include "quotes/core/QuoteEngine.h"

#include "quotes/core/ChartRows.h"
#include "quotes/core/QuoteRepository.h"
#include "quotes/core/QuoteTotals.h"
#include "quotes/core/SubQuoteCalculator.h"

#include "platform/db/Connection.h"

#include <algorithm>
#include <stdexcept>

namespace kv::quotes {

namespace {

// A stored sub-quote as the calculator takes it: its row and its lines.
std::optional<SubQuote> storedSubQuote(QuoteRepository& repo, int quoteNumber, int subQuote)
{
    auto row = repo.row(quoteNumber, subQuote);
    if (!row)
        return std::nullopt;
    SubQuote sq;
    sq.row = *row;
    sq.lines = repo.lines(quoteNumber, subQuote);
    return sq;
}

} // namespace

const QString QuoteEngine::kChartProgram = QStringLiteral("ORCP021");

QuoteEngine::QuoteEngine(QuoteSession session) : m_s(std::move(session))
{
    if (!m_s.application || !m_s.tables || !m_s.messages)
        throw std::invalid_argument("QuoteEngine needs a connection, the cost tables and a message sink");
}

std::optional<SubQuote> QuoteEngine::start(const QuoteRow& row, int procedureCode)
{
    QuoteRow stored = row;
    return startRow(stored, procedureCode, 0);
}

std::optional<SubQuote> QuoteEngine::startNew(QuoteRow& row, int series, int procedureCode)
{
    return startRow(row, procedureCode, series);
}

std::optional<SubQuote> QuoteEngine::startRow(QuoteRow& row, int procedureCode, int newQuoteSeries)
{
    kv::db::Connection& db = *m_s.application;
    QuoteRepository repo(db);
    kv::db::Transaction tx(db);
    if (procedureCode != 0) {
        if (!repo.procedureExists(procedureCode)) {
            m_s.messages->fail(QStringLiteral("Procedimento Inexistente"));
            return std::nullopt;
        }
        const auto chosen = repo.chosenProcedures(m_s.user);
        if (std::find(chosen.begin(), chosen.end(), procedureCode) == chosen.end())
            repo.addChosenProcedure(m_s.user, procedureCode, repo.procedureName(procedureCode));
    }
    const int wanted = row.quoteNumber();
    if (newQuoteSeries > 0) {
        row.set(QStringLiteral("CODIGO"), repo.claimQuoteNumber(newQuoteSeries, wanted));
        repo.insertRow(row);
    }
    SubQuote sq;
    sq.row = row;
    sq.lines = repo.lines(row.quoteNumber(), row.subQuote());
    if (newQuoteSeries == 0)
        repo.saveRow(sq.row);
    SubQuoteCalculator calculator = this->calculator();
    const bool done =
        sq.lines.empty() ? calculator.createLines(sq, repo.chosenProcedureLines(m_s.user)) : calculator.recalculate(sq);
    if (done) {
        repo.replaceLines(row.quoteNumber(), row.subQuote(), sq.lines);
        repo.saveRow(sq.row);
    }
    tx.commit();
    if (row.quoteNumber() != wanted)
        m_s.messages->information(QStringLiteral("Nº de Orçamento já utilizado !!! O orçamento fica com o nº ")
                                  + QString::number(row.quoteNumber()));
    if (!done)
        return std::nullopt;
    return sq;
}

std::optional<SubQuote> QuoteEngine::recalculate(int quoteNumber, int subQuote)
{
    kv::db::Connection& db = *m_s.application;
    QuoteRepository repo(db);
    kv::db::Transaction tx(db);
    std::optional<SubQuote> stored = storedSubQuote(repo, quoteNumber, subQuote);
    if (!stored)
        return std::nullopt;
    SubQuote& sq = *stored;
    SubQuoteCalculator calculator = this->calculator();
    if (!calculator.recalculate(sq))
        return std::nullopt;
    repo.replaceLines(quoteNumber, subQuote, sq.lines);
    repo.saveRow(sq.row);
    tx.commit();
    return stored;
}

std::optional<SubQuote> QuoteEngine::enterLine(int quoteNumber, int subQuote, const CostLine& line)
{
    kv::db::Connection& db = *m_s.application;
    QuoteRepository repo(db);
    kv::db::Transaction tx(db);
    std::optional<SubQuote> stored = storedSubQuote(repo, quoteNumber, subQuote);
    if (!stored)
        return std::nullopt;
    SubQuote& sq = *stored;
    const bool added = line.detail == 0;
    int index = added ? -1 : sq.find(line.detail);
    if (added) {
        CostLine entered = line;
        entered.detail = sq.lastDetail() + 1;
        sq.lines.push_back(entered);
        index = static_cast<int>(sq.lines.size()) - 1;
    } else if (index < 0) {
        return std::nullopt;
    } else {
        CostLine& changed = sq.lines[static_cast<std::size_t>(index)];
        const QVariant plannedTime = changed.plannedTime;
        changed = line;
        changed.plannedTime = plannedTime;
    }
    sq.lines[static_cast<std::size_t>(index)].quoteNumber = quoteNumber;
    sq.lines[static_cast<std::size_t>(index)].subQuote = subQuote;
    SubQuoteCalculator calculator = this->calculator();
    if (!calculator.calculateEnteredLine(sq, index))
        return std::nullopt;
    if (!added && !calculator.recalculate(sq))
        return std::nullopt;
    repo.replaceLines(quoteNumber, subQuote, sq.lines);
    repo.saveRow(sq.row);
    tx.commit();
    return stored;
}

std::optional<SubQuote> QuoteEngine::deleteLine(int quoteNumber, int subQuote, int detail)
{
    kv::db::Connection& db = *m_s.application;
    QuoteRepository repo(db);
    kv::db::Transaction tx(db);
    std::optional<SubQuote> stored = storedSubQuote(repo, quoteNumber, subQuote);
    if (!stored)
        return std::nullopt;
    SubQuote& sq = *stored;
    const int index = sq.find(detail);
    if (index < 0)
        return std::nullopt;
    sq.lines.erase(sq.lines.begin() + index);
    if (!calculator().recalculate(sq))
        return std::nullopt;
    repo.replaceLines(quoteNumber, subQuote, sq.lines);
    repo.saveRow(sq.row);
    tx.commit();
    return stored;
}

SubQuoteCalculator QuoteEngine::calculator()
{
    SubQuoteCalculator calculator(*m_s.tables, *m_s.messages, m_s.priceDecimals);
    calculator.setStatus(m_s.status);
    return calculator;
}

std::optional<QuoteRow> QuoteEngine::totals(int quoteNumber, int subQuote, const QVariant& vatCode)
{
    kv::db::Connection& db = *m_s.application;
    QuoteRepository repo(db);
    kv::db::Transaction tx(db);
    if (auto row = repo.row(quoteNumber, subQuote)) {
        subQuoteTotals(*row, m_s.priceDecimals);
        repo.updateRow(*row);
    }
    auto summary = buildSummaryRow(quoteNumber, repo.subQuoteRows(quoteNumber), vatCode);
    repo.deleteSummaryRow(quoteNumber);
    if (summary)
        repo.insertRow(*summary);
    tx.commit();
    return summary;
}

void QuoteEngine::writeChart(const QuoteRow& summary)
{
    ChartRows chart(*m_s.application, ChartRows::Table::Saldos, m_s.user, kChartProgram);
    chart.clear();
    for (const auto& slice : ChartRows::quoteSlices(summary))
        chart.addSlice(slice.sequence, slice.label, slice.value, m_s.priceDecimals);
}

void QuoteEngine::showChart(const QuoteRow& summary)
{
    kv::db::Transaction tx(*m_s.application);
    writeChart(summary);
    tx.commit();
}

QuoteRow QuoteEngine::close(QuoteRow summary, int subQuote)
{
    kv::db::Connection& db = *m_s.application;
    QuoteRepository repo(db);
    CommercialPricing::close(summary, m_s.priceDecimals);
    kv::db::Transaction tx(db);
    if (auto row = repo.row(summary.quoteNumber(), subQuote)) {
        for (int n = 1; n <= 3; ++n) {
            row->set(quantityColumn("PRCCOM", n), summary.value(quantityColumn("PRCCOM", n)));
            row->set(quantityColumn("PRECOCLI", n), summary.value(quantityColumn("PRECOCLI", n)));
        }
        repo.updateRow(*row);
    }
    writeChart(summary);
    repo.saveRow(summary);
    repo.zeroMissingSecondFormat(summary.quoteNumber());
    tx.commit();
    return summary;
}

} // namespace kv::quotes
