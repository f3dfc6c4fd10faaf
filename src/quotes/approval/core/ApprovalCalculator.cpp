#include "quotes/approval/core/ApprovalCalculator.h"

#include "quotes/core/Amounts.h"
#include "quotes/core/LineFormulas.h"
#include "quotes/core/MachineFormulas.h"
#include "quotes/core/SheetCount.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"
#include "platform/text/DecimalRounding.h"
#include "platform/text/Fixed4.h"
#include "platform/text/NumberText.h"

#include <algorithm>

namespace kv::quotes::approval {

using kv::text::Fixed4;

namespace {

std::size_t classIndex(CostClass costClass)
{
    const auto it = std::find(kCostClasses.begin(), kCostClasses.end(), costClass);
    return static_cast<std::size_t>(it - kCostClasses.begin());
}

// The first (only) quantity of the worksheet's three.
Triple one(double value) { return {value, 0.0, 0.0}; }

QString where(int quote, int subQuote, int detail)
{
    return QStringLiteral("Orçamento nº %1/%2, linha %3").arg(quote).arg(subQuote).arg(detail);
}

} // namespace

double ApprovalResult::classTotal(CostClass costClass) const
{
    const std::size_t i = classIndex(costClass);
    return i < classTotals.size() ? classTotals[i] : 0.0;
}

ApprovalQuote ApprovalQuote::read(kv::db::Connection& application, int quoteNumber)
{
    ApprovalQuote quote;
    quote.number = quoteNumber;
    const kv::db::QueryResult rows = application.query(
        QStringLiteral("SELECT SUBCODIGO, UNIDADE, UNDPLANO, NROCORES, ACABNORMAL, RELEVO, SUPERFIMPR, PESOJANELAS, "
                       "PLNCOMPRIM1, PLNLARGURA1, PLNCOMPRIM2, PLNLARGURA2, QTDORC1 FROM ORCMAS "
                       "WHERE CODIGO = :CODIGO AND SUBCODIGO <> 99 ORDER BY SUBCODIGO"),
        {{QStringLiteral("CODIGO"), quoteNumber}});
    double firstQuantity = 0;
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        const auto value = [&rows, r](const char* column) { return rows.value(r, QString::fromLatin1(column)); };
        ApprovalSubQuote s;
        s.subQuote = value("SUBCODIGO").toInt();
        s.unit = value("UNIDADE").toString().trimmed();
        s.unitsPerSheet = value("UNDPLANO").toInt();
        s.colours = value("NROCORES").toInt();
        s.normalFinishing = value("ACABNORMAL").toString().trimmed();
        s.embossed = value("RELEVO").toString().trimmed() == QLatin1String("S");
        s.printedSurface = value("SUPERFIMPR").toDouble();
        s.windowWeight = value("PESOJANELAS").toDouble();
        s.formatLength = {value("PLNCOMPRIM1").toDouble(), value("PLNCOMPRIM2").toDouble()};
        s.formatWidth = {value("PLNLARGURA1").toDouble(), value("PLNLARGURA2").toDouble()};
        const double quantity = value("QTDORC1").toDouble();
        if (s.subQuote == 0)
            firstQuantity = quantity;
        else if (firstQuantity != 0.0 && quantity / firstQuantity != 0.0)
            s.factor = quantity / firstQuantity;
        quote.subQuotes.push_back(std::move(s));
    }
    const kv::db::QueryResult lines = application.query(
        QStringLiteral("SELECT SUBCODIGO, DETAIL, TIPOTABELA, CODTAB, PRECO, PERC, QUANTID, NROPASSAGENS, CODPRDHOR, "
                       "CODACERTO FROM ORCDET WHERE CODIGO = :CODIGO AND SUBCODIGO <> 99 ORDER BY SUBCODIGO, DETAIL"),
        {{QStringLiteral("CODIGO"), quoteNumber}});
    for (std::size_t r = 0; r < lines.rows.size(); ++r) {
        const auto value = [&lines, r](const char* column) { return lines.value(r, QString::fromLatin1(column)); };
        const int subQuote = value("SUBCODIGO").toInt();
        const auto owner = std::find_if(quote.subQuotes.begin(), quote.subQuotes.end(),
                                        [subQuote](const ApprovalSubQuote& s) { return s.subQuote == subQuote; });
        if (owner == quote.subQuotes.end())
            continue;
        ApprovalLine l;
        l.detail = value("DETAIL").toInt();
        l.tableType = value("TIPOTABELA").toInt();
        l.tableCode = value("CODTAB").toInt();
        l.price = value("PRECO").toDouble();
        l.percentage = value("PERC").toDouble();
        l.distance = value("QUANTID").toDouble();
        l.passes = value("NROPASSAGENS").toInt();
        l.grade = value("CODPRDHOR").toInt();
        l.makeReadyChoice = value("CODACERTO").toInt();
        owner->lines.push_back(l);
    }
    const kv::db::QueryResult summary = application.query(
        QStringLiteral("SELECT PRCCOM1, PRCCOM2 FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = 99"),
        {{QStringLiteral("CODIGO"), quoteNumber}});
    if (!summary.isEmpty())
        quote.commission = {summary.value(0, QStringLiteral("PRCCOM1")).toDouble(),
                            summary.value(0, QStringLiteral("PRCCOM2")).toDouble()};
    const kv::db::QueryResult parameters =
        application.query(QStringLiteral("SELECT TIPINCID1, TIPINCID2 FROM ORCPARGER WHERE CODIGO = 1"));
    quote.parametersFound = !parameters.isEmpty();
    if (quote.parametersFound)
        quote.incidence = {parameters.value(0, QStringLiteral("TIPINCID1")).toString().trimmed(),
                           parameters.value(0, QStringLiteral("TIPINCID2")).toString().trimmed()};
    return quote;
}

// The state of one run: the sheet count of the sub-quote being walked, its
// running class totals (what percentage lines take a share of) and the
// quote's totals.
struct ApprovalCalculator::Walk {
    int quote = 0;
    ApprovalInput input;
    double sheets = 0; // N of the current sub-quote
    std::array<Fixed4, 7> running{};
    std::array<Fixed4, 7> totals{};

    double runningSum() const
    {
        Fixed4 sum;
        for (const Fixed4 v : running)
            sum += v;
        return sum.toDouble();
    }
};

ApprovalCalculator::ApprovalCalculator(const CostTables& tables, kv::notify::MessageSink& messages, int moneyDecimals)
    : m_tables(tables), m_messages(messages), m_moneyDecimals(moneyDecimals)
{
}

void ApprovalCalculator::add(Walk& walk, CostClass costClass, double value)
{
    const std::size_t i = classIndex(costClass);
    if (i >= walk.totals.size())
        return; // a fixed cost of no class counts nowhere
    const Fixed4 amount = Fixed4::fromDouble(roundMoney(value, m_moneyDecimals));
    walk.totals[i] += amount;
    walk.running[i] += amount;
}

// The sub-quote's count from the approved quantity, with the passes of its
// first printing line. Worked out before any of its lines is priced, so that
// no line takes the count of another sub-quote.
bool ApprovalCalculator::sheetCount(Walk& walk, const ApprovalSubQuote& s, int passes)
{
    const QString place = QStringLiteral("Orçamento nº %1/%2").arg(walk.quote).arg(s.subQuote);
    if (s.unitsPerSheet <= 0) {
        m_messages.fail(
            QStringLiteral("Erro Grave, Unidades por Plano Inválidas (%1) no %2 !!!").arg(s.unitsPerSheet).arg(place));
        return false;
    }
    SheetJob job;
    job.unit = s.unit;
    job.unitsPerSheet = s.unitsPerSheet;
    job.colours = s.colours;
    job.normalFinishing = s.normalFinishing;
    job.passes = passes;
    const double quantity = walk.input.quantity * s.factor;
    const std::optional<double> count = kv::quotes::sheetCount(m_tables.wasteBands, job, quantity);
    if (!count) {
        m_messages.fail(QStringLiteral("Erro Grave, Nº de Planos (%1) fora dos Escalões de Tiragem no %2 !!!")
                            .arg(kv::text::plain(netSheets(quantity, s.unit, s.unitsPerSheet)), place));
        return false;
    }
    walk.sheets = *count;
    return true;
}

// One line for one sheet format, added into the totals. False stops the run.
bool ApprovalCalculator::evaluate(Walk& walk, const ApprovalSubQuote& s, const ApprovalLine& l, int format)
{
    const double n = walk.sheets;
    const double q = walk.input.quantity; // Q: gluers, finishes, unit-priced subcontracts
    const double qf = q * s.factor; // Q x f: glue by quantity, window PVC
    const double area = s.area(format);
    const auto missing = [this](const char* text) {
        m_messages.fail(QString::fromUtf8(text));
        return true;
    };

    switch (static_cast<TableType>(l.tableType)) {
    case TableType::Machine: {
        const MachineRow* m = m_tables.machine(l.tableCode);
        if (!m) {
            m_messages.fail(QStringLiteral("Erro Grave, Código da Máquina Inexistente --> %1").arg(l.tableCode));
            return true;
        }
        if (!machineTypeFromCode(m->machineType))
            return true; // a machine of no known type prices nothing
        if (productionFactor(*m, l.grade) == 0.0) {
            m_messages.fail(QStringLiteral("Erro Grave, Máquina %1 sem Factor de Produção para o grau %2 (%3) !!!")
                                .arg(m->code)
                                .arg(l.grade)
                                .arg(where(walk.quote, s.subQuote, l.detail)));
            return false;
        }
        if (!validMakeReadyChoice(*m, l.makeReadyChoice)) {
            m_messages.fail(QStringLiteral("Erro Grave, Máquina %1 sem Acerto de nível %2 (%3) !!!")
                                .arg(m->code)
                                .arg(l.makeReadyChoice)
                                .arg(where(walk.quote, s.subQuote, l.detail)));
            return false;
        }
        MachineJob job;
        job.grade = l.grade;
        job.makeReadyChoice = l.makeReadyChoice;
        job.passes = l.passes;
        job.sheets = one(n);
        job.quantities = one(q);
        job.unit = s.unit;
        job.embossed = s.embossed;
        job.printingMakeReady = PrintingMakeReady::SummedOverPasses;
        add(walk, CostClass::Machines, machineValues(*m, job).value[0]);
        return true;
    }
    case TableType::Ink: {
        const MaterialRow* r = m_tables.ink(l.tableCode);
        if (!r)
            return missing("Erro Grave, Referência da Tinta Inexistente !!!");
        add(walk, CostClass::RawMaterial,
            inkValues(s.printedSurface, r->grammage / 1000.0, l.price, area, one(n)).value[0]);
        return true;
    }
    case TableType::Varnish:
    case TableType::LaminatingFilm: {
        const bool varnish = isTableType(l.tableType, TableType::Varnish);
        const MaterialRow* r = varnish ? m_tables.varnish(l.tableCode) : m_tables.film(l.tableCode);
        if (!r)
            return missing(varnish ? "Erro Grave, Referência do Verniz Inexistente !!!"
                                   : "Erro Grave, Referência do Filme Inexistente !!!");
        add(walk, CostClass::RawMaterial, areaWeightValues(r->grammage / 1000.0, l.price, area, one(n)).value[0]);
        return true;
    }
    case TableType::Glue: {
        const GlueRow* g = m_tables.glue(l.tableCode);
        if (!g)
            return missing("Erro Grave, Referência de Cola Inexistente !!!");
        // Glue is priced at today's price, whatever the line holds.
        add(walk, CostClass::RawMaterial,
            glueValues(*g, g->grammage / 1000.0, g->price, area, one(n), one(qf), s.unit).value[0]);
        return true;
    }
    case TableType::WindowPvc: {
        if (!m_tables.pvc(l.tableCode))
            return missing("Erro Grave, Referência do PVC Inexistente !!!");
        add(walk, CostClass::RawMaterial, pvcValues(s.windowWeight, l.price, one(qf)).value[0]);
        return true;
    }
    case TableType::Finish: {
        const FinishRow* f = m_tables.finish(l.tableCode);
        if (!f)
            return missing("Erro Grave, Referência do Acabamento Inexistente !!!");
        add(walk, finishCostClass(f->costType),
            finishValues(*f, l.price, l.percentage, one(q), s.unit, one(walk.runningSum()), FinishUnits::AsQuoted)
                .value[0]);
        return true;
    }
    case TableType::Board: {
        const BoardRow* b = m_tables.board(l.tableCode);
        if (!b)
            return missing("Erro Grave, Tipo de Papel Inexistente !!!");
        add(walk, CostClass::RawMaterial,
            boardValues(b->calculation, b->grammage / 1000.0, l.price, area, one(n)).value[0]);
        return true;
    }
    case TableType::CuttingOperation: {
        const CuttingRow* c = m_tables.cutting(l.tableCode);
        if (!c)
            return missing("Erro Grave, codigo - Oper.Corte - Inexistente !!!");
        add(walk, CostClass::Machines, cuttingValues(*c, l.price, one(n)).value[0]);
        return true;
    }
    case TableType::FixedCost: {
        const FixedCostRow* f = m_tables.fixedCost(l.tableCode);
        if (!f)
            return missing("Erro Grave, Custo Fixo Inexistente !!!");
        // An unchanged repeat order bears no fixed cost of gross profit again.
        if (walk.input.repeatOrder && walk.input.unchangedRepeat && f->excludedInRepeats)
            return true;
        add(walk, fixedCostClass(*f), fixedCostValues(l.price, one(n)).value[0]);
        return true;
    }
    case TableType::Subcontract: {
        const SubcontractRow* sc = m_tables.subcontract(l.tableCode);
        if (!sc)
            return missing("Erro Grave, Serviço de subcontratação Inexistente !!!");
        bool unknownUnit = false;
        // Today's price, on the quantity without the sub-quote factor.
        const double value = subcontractValues(*sc, sc->price, area, one(n), one(q), s.unit, unknownUnit).value[0];
        if (unknownUnit) {
            m_messages.information(QStringLiteral("Não foi definida Unidade de cálculo para subcontrato ")
                                   + sc->designation);
            m_messages.information(QStringLiteral("Vai ser atribuído o custo : ") + kv::text::plain(sc->price));
        }
        add(walk, CostClass::Subcontract, value);
        return true;
    }
    case TableType::Transport:
        if (m_tables.transport(l.tableCode))
            add(walk, CostClass::Transport,
                transportValues(l.price, l.percentage, l.distance, one(n), one(walk.runningSum())).value[0]);
        return true;
    }
    return true; // a line of no known type adds nothing
}

std::optional<ApprovalResult> ApprovalCalculator::calculate(const ApprovalQuote& quote, const ApprovalInput& input)
{
    if (input.quantity <= 0) {
        m_messages.fail(QStringLiteral("É obrigatório inserir a Qtd. aprovada ..."));
        return std::nullopt;
    }
    if (input.price <= 0) {
        m_messages.fail(QStringLiteral("Insira o preço por Favor ..."));
        return std::nullopt;
    }
    if (!quote.parametersFound) {
        m_messages.fail(QStringLiteral("PARÂMETROS GERAIS DE ORÇAMENTOS INEXISTENTES !!!"));
        return std::nullopt;
    }
    Walk walk;
    walk.quote = quote.number;
    walk.input = input;
    try {
        for (const ApprovalSubQuote& s : quote.subQuotes) {
            walk.running = {};
            int passes = 0;
            if (s.colours != 0) {
                const auto printing = std::find_if(s.lines.begin(), s.lines.end(), [this](const ApprovalLine& l) {
                    const MachineRow* m =
                        isTableType(l.tableType, TableType::Machine) ? m_tables.machine(l.tableCode) : nullptr;
                    return m && isMachineType(m->machineType, MachineType::Printing);
                });
                if (printing != s.lines.end())
                    passes = printing->passes;
            }
            if (!sheetCount(walk, s, passes))
                return std::nullopt;
            for (const ApprovalLine& l : s.lines) {
                if (!evaluate(walk, s, l, 0))
                    return std::nullopt;
                const std::optional<TableType> type = tableTypeFromCode(l.tableType);
                if (s.formatLength[1] != 0.0 && type && usesBothSheetFormats(*type) && !evaluate(walk, s, l, 1))
                    return std::nullopt;
            }
        }
        ApprovalResult r;
        Fixed4 base;
        for (std::size_t i = 0; i < r.classTotals.size(); ++i) {
            r.classTotals[i] = roundMoney(walk.totals[i].toDouble(), m_moneyDecimals);
            base += Fixed4::fromDouble(r.classTotals[i]);
        }
        r.costBase = base.toDouble();
        r.saleValue = roundMoney(input.quantity * input.price, m_moneyDecimals);
        const std::array<double*, 2> commissions = {&r.commission1, &r.commission2};
        for (std::size_t k = 0; k < 2; ++k)
            if (quote.commission[k] != 0.0)
                *commissions[k] = quote.incidence[k] == QLatin1String("P")
                                      ? quote.commission[k] * r.saleValue / 100.0
                                      : quote.commission[k] * static_cast<double>(base.raw()) / 100.0 / 10000.0;
        const auto total = [&r](CostClass c) { return r.classTotal(c); };
        r.costs = total(CostClass::Machines) + total(CostClass::Packaging) + total(CostClass::RawMaterial)
                  + total(CostClass::Labour) + total(CostClass::Subsidiary) + total(CostClass::Subcontract);
        r.commercialCosts = total(CostClass::Transport) + r.commission1 + r.commission2;
        r.marginValue = roundMoney(r.saleValue - (r.commercialCosts + r.costs), m_moneyDecimals);
        r.marginPercent = kv::text::roundDecimal(r.marginValue * 100.0 / r.saleValue, 2);
        return r;
    } catch (const kv::text::Fixed4Error&) {
        m_messages.fail(
            QStringLiteral("Erro Grave, valores do Orçamento nº %1 fora dos limites de cálculo !!!").arg(quote.number));
        return std::nullopt;
    }
}

} // namespace kv::quotes::approval
