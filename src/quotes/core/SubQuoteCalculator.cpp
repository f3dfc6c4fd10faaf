#include "quotes/core/SubQuoteCalculator.h"

#include "platform/text/Fixed4.h"

#include "quotes/core/Amounts.h"
#include "quotes/core/LineFormulas.h"
#include "quotes/core/MachineFormulas.h"
#include "quotes/core/SheetCount.h"

#include "platform/text/NumberText.h"

#include <algorithm>

namespace kv::quotes {

namespace {

int asInt(qint64 v) { return static_cast<int>(v); }

// The sub-quote's value so far per quantity (what percentage lines take a share of).
Triple runningValues(const QuoteRow& row)
{
    Triple running{};
    for (int n = 1; n <= 3; ++n)
        running[static_cast<std::size_t>(n - 1)] = row.number(quantityColumn("VALORORC", n));
    return running;
}

// Values of a line that is not a machine: no passes, factor or make-ready.
void setLineValues(CostLine& l, const Triple& value, const Triple& consumption)
{
    l.value = value;
    l.consumption = consumption;
    l.passes = 0;
    l.factor = 0;
    l.makeReady = 0;
    l.makeReadyHm = 0;
}

bool needsSecondPass(int tableType, int pass, double secondFormatLength)
{
    const std::optional<TableType> type = tableTypeFromCode(tableType);
    return pass == 1 && secondFormatLength != 0.0 && type && usesBothSheetFormats(*type);
}

} // namespace

SubQuoteCalculator::SubQuoteCalculator(const CostTables& tables, notify::MessageSink& messages, int priceDecimals)
    : m_tables(tables), m_messages(messages), m_priceDecimals(priceDecimals)
{
}

QString SubQuoteCalculator::where() const
{
    return QStringLiteral("Orçamento nº %1/%2, linha %3")
        .arg(m_ctx.quoteNumber)
        .arg(m_ctx.subQuote)
        .arg(m_ctx.line.detail);
}

bool SubQuoteCalculator::begin(const SubQuote& sq)
{
    const QuoteRow& r = sq.row;
    m_ctx = CalculationContext{};
    m_recalcIndex = -1;
    m_ctx.quoteNumber = r.quoteNumber();
    m_ctx.subQuote = r.subQuote();
    m_ctx.priceDecimals = m_priceDecimals;
    for (int n = 1; n <= 3; ++n)
        m_ctx.quantities[static_cast<std::size_t>(n - 1)] = r.quantity(n);
    m_ctx.unit = r.text("UNIDADE").trimmed();
    m_ctx.unitsPerSheet = asInt(r.integer("UNDPLANO"));
    m_ctx.formatLength[0] = r.number("PLNCOMPRIM1");
    m_ctx.formatWidth[0] = r.number("PLNLARGURA1");
    m_ctx.formatLength[1] = r.number("PLNCOMPRIM2");
    m_ctx.formatWidth[1] = r.number("PLNLARGURA2");
    m_ctx.colours = asInt(r.integer("NROCORES"));
    m_ctx.boards[0] = asInt(r.integer("CARTOLINA"));
    m_ctx.boards[1] = asInt(r.integer("MICROCANAL"));
    m_ctx.boards[2] = asInt(r.integer("PLACA"));
    m_ctx.normalFinishing = r.text("ACABNORMAL").trimmed();
    m_ctx.embossed = r.text("RELEVO").trimmed() == QLatin1String("S");
    m_ctx.glueKind = asInt(r.integer("C_COLTIPO"));
    m_ctx.printedSurface = r.number("SUPERFIMPR");
    m_ctx.windowWeight = r.number("PESOJANELAS");
    m_ctx.sheets = m_ctx.quantities;
    if (m_ctx.unitsPerSheet < 1) {
        m_messages.fail(QStringLiteral("Erro Grave, Unidades por Plano Inválidas (%1) no Orçamento nº %2/%3 !!!")
                            .arg(m_ctx.unitsPerSheet)
                            .arg(m_ctx.quoteNumber)
                            .arg(m_ctx.subQuote));
        return false;
    }
    return true;
}

void SubQuoteCalculator::computeSheets(int passes)
{
    SheetJob job;
    job.unit = m_ctx.unit;
    job.unitsPerSheet = m_ctx.unitsPerSheet;
    job.colours = m_ctx.colours;
    job.normalFinishing = m_ctx.normalFinishing;
    job.passes = passes;
    computeSheetCounts(m_tables.wasteBands, job, m_ctx.quantities, m_ctx.sheets);
}

void SubQuoteCalculator::startLine(int tableType, int tableCode, const QString& designation, int detail, bool create)
{
    CostLine l;
    l.quoteNumber = m_ctx.quoteNumber;
    l.subQuote = m_ctx.subQuote;
    l.detail = detail;
    l.tableType = tableType;
    l.tableCode = tableCode;
    l.designation = designation;
    m_ctx.line = l;
    m_ctx.rate = 0;
    m_ctx.createMode = create;
}

bool SubQuoteCalculator::overflowStops(const kv::text::Fixed4Error& error)
{
    // Huge values in a cost table: the calculation stops with what to look
    // at, as for any other impossible value, instead of ending the program.
    const auto type = tableTypeFromCode(m_ctx.line.tableType);
    const QString table = type ? tableName(*type) : QString::number(m_ctx.line.tableType);
    m_messages.error(QStringLiteral("Erro Grave, %1 na tabela %2, código %3 (Orçamento nº %4/%5, linha %6) !!!")
                         .arg(error.text(), table)
                         .arg(m_ctx.line.tableCode)
                         .arg(m_ctx.quoteNumber)
                         .arg(m_ctx.subQuote)
                         .arg(m_ctx.line.detail));
    m_recalcIndex = -1;
    return false;
}

bool SubQuoteCalculator::createLines(SubQuote& sq, const std::vector<ProcedureLine>& procedureLines)
{
    try {
        return createLinesOf(sq, procedureLines);
    } catch (const kv::text::Fixed4Error& error) {
        return overflowStops(error);
    }
}

bool SubQuoteCalculator::recalculate(SubQuote& sq)
{
    try {
        return recalculateLines(sq);
    } catch (const kv::text::Fixed4Error& error) {
        return overflowStops(error);
    }
}

bool SubQuoteCalculator::createLinesOf(SubQuote& sq, const std::vector<ProcedureLine>& procedureLines)
{
    if (!begin(sq))
        return false;
    m_ctx.stage = CalculationStage::Started;
    for (const ProcedureLine& pl : procedureLines) {
        startLine(pl.tableType, pl.tableCode, pl.designation, sq.lastDetail() + 1, true);
        for (int pass = 1; pass <= 2; ++pass) {
            m_ctx.formatPass = pass;
            m_ctx.sheetArea = m_ctx.formatArea(pass);
            m_ctx.line.grade = 0;
            m_ctx.line.makeReadyChoice = 0;
            if (isTableType(pl.tableType, TableType::Machine)) {
                if (const MachineRow* m = m_tables.machine(pl.tableCode)) {
                    static const char* const columns[4][2] = {{"PRDHORAIMP", "ACERTOIMP"},
                                                              {"PRDHORACV", "ACERTOCV"},
                                                              {"PRDHORACOL", "ACERTOCOL"},
                                                              {"PRDHORAC_COL", "ACERTOC_COL"}};
                    if (machineTypeFromCode(m->machineType)) {
                        const auto& c = columns[m->machineType - typeCode(MachineType::Printing)];
                        m_ctx.line.grade = asInt(sq.row.integer(QString::fromLatin1(c[0])));
                        m_ctx.line.makeReadyChoice = asInt(sq.row.integer(QString::fromLatin1(c[1])));
                    }
                }
                machineLine(sq);
            }
            m_ctx.line.percentage = 0;
            if (isMaterialType(pl.tableType))
                materialLine(sq, pl.tableType);
            if (!needsSecondPass(pl.tableType, pass, m_ctx.formatLength[1]))
                break;
        }
        if (isTableType(pl.tableType, TableType::Transport))
            transportLine(sq);
    }
    if (m_ctx.stage == CalculationStage::Started)
        boardLinesAfterProcedures(sq);
    return true;
}

void SubQuoteCalculator::boardLinesAfterProcedures(SubQuote& sq)
{
    int details[3] = {0, 0, 0};
    for (int pass = 1; pass <= 2; ++pass) {
        m_ctx.formatPass = pass;
        m_ctx.sheetArea = m_ctx.formatArea(pass);
        if (m_ctx.sheetArea == 0.0)
            return;
        // No printing machine ran: the counts carry no printing waste.
        computeSheets(0);
        for (int b = 0; b < 3; ++b) {
            if (m_ctx.boards[b] == 0)
                continue;
            const int detail = pass == 1 ? sq.lastDetail() + 1 : details[b];
            details[b] = detail;
            startLine(typeCode(TableType::Board), m_ctx.boards[b], QString(), detail, true);
            boardLine(sq);
        }
    }
}

int SubQuoteCalculator::lastPrintingPasses(const SubQuote& sq) const
{
    int passes = 0;
    for (const CostLine& l : sq.lines) {
        if (!isTableType(l.tableType, TableType::Machine))
            continue;
        const MachineRow* m = m_tables.machine(l.tableCode);
        if (m && isMachineType(m->machineType, MachineType::Printing))
            passes = l.passes;
    }
    return passes;
}

bool SubQuoteCalculator::recalculateLines(SubQuote& sq)
{
    if (!begin(sq))
        return false;
    QuoteRow& row = sq.row;
    for (int n = 1; n <= 3; ++n) {
        for (CostClass c : kCostClasses)
            row.set(classTotalColumn(c, n), 0.0);
        row.set(quantityColumn("VALORORC", n), 0.0);
        row.set(quantityColumn("VALORCLI", n), 0.0);
    }
    row.set("ENCNRO", 0);
    row.set("APROVADO", QStringLiteral("N"));
    row.set("MANUAL_AUTO", QStringLiteral("M"));
    m_ctx.stage = CalculationStage::BoardsAdded;

    std::stable_sort(sq.lines.begin(), sq.lines.end(),
                     [](const CostLine& a, const CostLine& b) { return a.detail < b.detail; });
    // The counts always follow the quantities now on the row (they may have
    // changed since the lines were last priced), with the passes of the last
    // printing machine line, as the previous calculation left them.
    m_ctx.sheets = {0, 0, 0};
    computeSheets(lastPrintingPasses(sq));

    for (std::size_t i = 0; i < sq.lines.size(); ++i) {
        if (m_status)
            m_status(QStringLiteral("orçamento nº ") + QString::number(m_ctx.quoteNumber) + sq.lines[i].designation);
        recalculateLineAt(sq, static_cast<int>(i));
    }
    if (m_status)
        m_status(QString());
    m_recalcIndex = -1;
    return true;
}

// One stored line priced again with its own price, percentage, kilometres
// and machine choices, and written over itself.
void SubQuoteCalculator::recalculateLineAt(SubQuote& sq, int index)
{
    const CostLine stored = sq.lines[static_cast<std::size_t>(index)];
    m_recalcIndex = index;
    startLine(stored.tableType, stored.tableCode, stored.designation, stored.detail, false);
    m_ctx.line.price = stored.price;
    m_ctx.line.percentage = stored.percentage;
    m_ctx.line.kilometres = stored.kilometres;
    m_ctx.line.plannedTime = stored.plannedTime;
    for (int pass = 1; pass <= 2; ++pass) {
        m_ctx.formatPass = pass;
        m_ctx.sheetArea = m_ctx.formatArea(pass);
        m_ctx.stage = CalculationStage::BoardsAdded;
        m_ctx.line.grade = stored.grade;
        m_ctx.line.makeReadyChoice = stored.makeReadyChoice;
        m_ctx.line.passes = stored.passes;
        if (isTableType(stored.tableType, TableType::Machine))
            machineLine(sq);
        else if (stored.tableType >= 2 && stored.tableType <= 11)
            materialLine(sq, stored.tableType);
        if (!needsSecondPass(stored.tableType, pass, m_ctx.formatLength[1]))
            break;
    }
    if (isTableType(stored.tableType, TableType::Transport))
        transportLine(sq);
    m_ctx.formatPass = 1;
}

bool SubQuoteCalculator::calculateEnteredLine(SubQuote& sq, int index)
{
    try {
        if (index < 0 || index >= static_cast<int>(sq.lines.size()) || !begin(sq))
            return false;
        // The counts the sub-quote's last calculation left on its row; a row
        // never calculated gets them from its quantities.
        if (sq.row.number(QStringLiteral("NPLANOS1")) != 0.0) {
            for (int n = 1; n <= 3; ++n)
                m_ctx.sheets[static_cast<std::size_t>(n - 1)] = sq.row.number(quantityColumn("NPLANOS", n));
        } else {
            m_ctx.sheets = {0, 0, 0};
            computeSheets(lastPrintingPasses(sq));
        }
        const int before = m_linesWritten;
        recalculateLineAt(sq, index);
        m_recalcIndex = -1;
        // A line whose table row is gone was refused with its message.
        return m_linesWritten > before;
    } catch (const kv::text::Fixed4Error& error) {
        return overflowStops(error);
    }
}

bool SubQuoteCalculator::machineCheck(const MachineRow& m)
{
    if (productionFactor(m, m_ctx.line.grade) == 0.0) {
        m_messages.fail(QStringLiteral("Erro Grave, Máquina %1 sem Factor de Produção para o grau %2 (%3) !!!")
                            .arg(m.code)
                            .arg(m_ctx.line.grade)
                            .arg(where()));
        return false;
    }
    return true;
}

void SubQuoteCalculator::machineLine(SubQuote& sq)
{
    CostLine& l = m_ctx.line;
    const MachineRow* m = m_tables.machine(l.tableCode);
    if (!m) {
        m_messages.fail(QStringLiteral("Erro Grave, Código da Máquina Inexistente --> %1").arg(l.tableCode));
        return;
    }
    l.designation = m->designation;
    l.costClass = costClassCode(CostClass::Machines);
    // The values are priced at the machine's current rate per hour, so the
    // line shows that rate, never a price it was not calculated with.
    l.price = m->costPerHour;
    l.value = {};
    l.consumption = {};
    l.percentage = 0;
    l.makeReady = 0;
    l.factor = 0;
    if (m_ctx.createMode)
        l.passes = 1;

    if (machineTypeFromCode(m->machineType)) {
        const bool printing = isMachineType(m->machineType, MachineType::Printing);
        if (printing && m_ctx.createMode) {
            const auto passes = printingPasses(m_ctx.colours, m->coloursPerPass);
            if (!passes) {
                m_messages.fail(QStringLiteral("Erro Grave, Máquina %1 sem Nº de Côres por passagem (%2) !!!")
                                    .arg(m->code)
                                    .arg(where()));
                return;
            }
            l.passes = *passes;
        }
        if (!machineCheck(*m))
            return;
        if (printing) {
            if (m_ctx.stage == CalculationStage::BoardsAdded) {
                computeSheets(l.passes);
                m_ctx.stage = CalculationStage::SheetsRecomputed;
            }
            if (m_ctx.stage == CalculationStage::Started) {
                computeSheets(l.passes);
                m_ctx.stage = CalculationStage::SheetsComputed;
            }
        }
        MachineJob job;
        job.grade = l.grade;
        job.makeReadyChoice = l.makeReadyChoice;
        job.passes = l.passes;
        job.sheets = m_ctx.sheets;
        job.quantities = m_ctx.quantities;
        job.unit = m_ctx.unit;
        job.embossed = m_ctx.embossed;
        const MachineValues v = machineValues(*m, job);
        l.value = v.value;
        l.factor = v.factor;
        l.makeReady = v.makeReady;
    }
    l.makeReadyHm = makeReadyHoursMinutes(l.makeReady);
    writeLine(sq);

    if (!m_ctx.createMode)
        return;
    if (!isMachineType(m->machineType, MachineType::Printing) && m->glueCode != 0) {
        startLine(typeCode(TableType::Glue), m->glueCode, QString(), sq.lastDetail() + 1, true);
        if (m->glueConsumption != 0.0)
            m_ctx.rate = m->glueConsumption / 1000.0;
        if (m_ctx.glueKind >= 1 && m_ctx.glueKind <= 3)
            m_ctx.rate = m->glueConsumptionByKind[m_ctx.glueKind - 1] / 1000.0;
        materialLine(sq, typeCode(TableType::Glue));
    }
    if (isMachineType(m->machineType, MachineType::Printing) && m_ctx.stage == CalculationStage::SheetsComputed) {
        for (int board : m_ctx.boards) {
            if (board == 0)
                continue;
            startLine(typeCode(TableType::Board), board, QString(), sq.lastDetail() + 1, true);
            boardLine(sq);
        }
        m_ctx.stage = CalculationStage::BoardsAdded;
    }
}

void SubQuoteCalculator::boardLine(SubQuote& sq) { materialLine(sq, typeCode(TableType::Board)); }

void SubQuoteCalculator::materialLine(SubQuote& sq, int tableType)
{
    CostLine& l = m_ctx.line;
    const bool create = m_ctx.createMode;
    const double area = m_ctx.sheetArea;
    const Triple& sheets = m_ctx.sheets;
    const Triple& qty = m_ctx.quantities;
    const Triple running = runningValues(sq.row);

    auto missing = [this](const QString& text) { m_messages.fail(text); };
    auto found = [&l, create](const QString& designation, CostClass costClass, double price) {
        l.designation = designation;
        l.costClass = costClassCode(costClass);
        if (create)
            l.price = price;
    };
    auto material = [&](const MaterialRow* row, const QString& message) -> const MaterialRow* {
        if (!row) {
            missing(message);
            return nullptr;
        }
        found(row->designation, CostClass::RawMaterial, row->price);
        m_ctx.rate = row->grammage / 1000.0;
        return row;
    };

    LineValues v;
    switch (static_cast<TableType>(tableType)) {
    case TableType::Board: {
        const BoardRow* b = m_tables.board(l.tableCode);
        if (!b)
            return missing(QStringLiteral("Erro Grave, Tipo de Papel Inexistente !!!"));
        found(b->designation, CostClass::RawMaterial, b->price);
        m_ctx.rate = b->grammage / 1000.0;
        v = boardValues(b->calculation, m_ctx.rate, l.price, area, sheets);
        break;
    }
    case TableType::Ink:
        if (!material(m_tables.ink(l.tableCode), QStringLiteral("Erro Grave, Referência da Tinta Inexistente !!!")))
            return;
        v = inkValues(m_ctx.printedSurface, m_ctx.rate, l.price, area, sheets);
        break;
    case TableType::Varnish:
        if (!material(m_tables.varnish(l.tableCode),
                      QStringLiteral("Erro Grave, Referência do Verniz Inexistente !!!")))
            return;
        v = areaWeightValues(m_ctx.rate, l.price, area, sheets);
        break;
    case TableType::LaminatingFilm:
        if (!material(m_tables.film(l.tableCode), QStringLiteral("Erro Grave, Referência do Filme Inexistente !!!")))
            return;
        v = areaWeightValues(m_ctx.rate, l.price, area, sheets);
        break;
    case TableType::WindowPvc:
        if (!material(m_tables.pvc(l.tableCode), QStringLiteral("Erro Grave, Referência do PVC Inexistente !!!")))
            return;
        v = pvcValues(m_ctx.windowWeight, l.price, qty);
        break;
    case TableType::Glue: {
        const GlueRow* g = m_tables.glue(l.tableCode);
        if (!g)
            return missing(QStringLiteral("Erro Grave, Referência de Cola Inexistente !!!"));
        found(g->designation, CostClass::RawMaterial, g->price);
        if (m_ctx.rate == 0.0)
            m_ctx.rate = g->grammage / 1000.0;
        v = glueValues(*g, m_ctx.rate, l.price, area, sheets, qty, m_ctx.unit);
        break;
    }
    case TableType::Finish: {
        const FinishRow* f = m_tables.finish(l.tableCode);
        if (!f)
            return missing(QStringLiteral("Erro Grave, Referência do Acabamento Inexistente !!!"));
        found(f->designation, finishCostClass(f->costType), f->fixedCost);
        if (create)
            l.percentage = f->percentage;
        v = finishValues(*f, l.price, l.percentage, qty, m_ctx.unit, running);
        break;
    }
    case TableType::CuttingOperation: {
        const CuttingRow* c = m_tables.cutting(l.tableCode);
        if (!c)
            return missing(QStringLiteral("Erro Grave, codigo - Oper.Corte - Inexistente !!!"));
        found(c->designation, CostClass::Machines, c->cost);
        v = cuttingValues(*c, l.price, sheets);
        break;
    }
    case TableType::FixedCost: {
        const FixedCostRow* f = m_tables.fixedCost(l.tableCode);
        if (!f)
            return missing(QStringLiteral("Erro Grave, Custo Fixo Inexistente !!!"));
        found(f->designation, fixedCostClass(*f), f->price);
        v = fixedCostValues(l.price, sheets);
        break;
    }
    case TableType::Subcontract: {
        const SubcontractRow* s = m_tables.subcontract(l.tableCode);
        if (!s)
            return missing(QStringLiteral("Erro Grave, Serviço de subcontratação Inexistente !!!"));
        found(s->designation, CostClass::Subcontract, s->price);
        m_ctx.rate = s->gramsPerM2 / 1000.0;
        bool unknownUnit = false;
        v = subcontractValues(*s, l.price, area, sheets, qty, m_ctx.unit, unknownUnit);
        if (unknownUnit) {
            m_messages.information(QStringLiteral("Não foi definida Unidade de cálculo para subcontrato ")
                                   + l.designation);
            m_messages.information(QStringLiteral("Vai ser atribuído o custo : ") + kv::text::plain(l.price));
        }
        break;
    }
    default: return;
    }
    setLineValues(l, v.value, v.consumption);
    writeLine(sq);
}

void SubQuoteCalculator::transportLine(SubQuote& sq)
{
    CostLine& l = m_ctx.line;
    m_ctx.rate = 0;
    const TransportRow* t = m_tables.transport(l.tableCode);
    if (!t)
        return;
    if (m_ctx.createMode) {
        l.price = t->costPerKm;
        l.percentage = t->percentage;
    }
    l.designation = QStringLiteral("Custo de Transporte");
    l.costClass = costClassCode(CostClass::Transport);
    const LineValues v = transportValues(l.price, l.percentage, l.kilometres, m_ctx.sheets, runningValues(sq.row));
    setLineValues(l, v.value, {});
    m_ctx.formatPass = 1;
    writeLine(sq);
}

void SubQuoteCalculator::writeLine(SubQuote& sq)
{
    ++m_linesWritten;
    CostLine& l = m_ctx.line;
    l.price = roundMoney(l.price, m_priceDecimals);
    for (std::size_t n = 0; n < 3; ++n) {
        l.value[n] = roundMoney(l.value[n], m_priceDecimals);
        l.consumption[n] = roundConsumption(l.consumption[n]);
    }
    l.designation.truncate(CostLine::kDesignationSize);
    // Every stored amount is summed in the fixed point later; one beyond its
    // range is refused here, while the line that holds it is still known.
    (void)kv::text::Fixed4::fromDouble(l.price);
    for (std::size_t n = 0; n < 3; ++n) {
        (void)kv::text::Fixed4::fromDouble(l.value[n]);
        (void)kv::text::Fixed4::fromDouble(l.consumption[n]);
    }
    if (m_ctx.formatPass == 2)
        writeSecondPass(sq);
    else
        writeFirstPass(sq);
}

void SubQuoteCalculator::writeFirstPass(SubQuote& sq)
{
    const CostLine& l = m_ctx.line;
    int index = m_ctx.createMode ? -1 : m_recalcIndex;
    if (index < 0) {
        sq.lines.push_back(l);
        index = static_cast<int>(sq.lines.size()) - 1;
    }
    CostLine& target = sq.lines[static_cast<std::size_t>(index)];
    const QVariant plannedTime = target.plannedTime;
    const double kilometres = target.kilometres;
    target = l;
    if (!m_ctx.createMode) {
        target.plannedTime = plannedTime;
        target.kilometres = kilometres;
    }
    addToRow(sq);
    QuoteRow& row = sq.row;
    for (int n = 1; n <= 3; ++n) {
        const double value = row.number(quantityColumn("VALORORC", n));
        const double price = n > 1 && value == 0.0 ? 0.0 : unitPrice(value, row.quantity(n), m_priceDecimals);
        row.set(quantityColumn("PRECOORC", n), price);
    }
}

void SubQuoteCalculator::writeSecondPass(SubQuote& sq)
{
    const CostLine& l = m_ctx.line;
    const int index = sq.find(l.detail, l.tableType, l.tableCode);
    if (index < 0) {
        m_messages.fail(QStringLiteral("Erro cálculo de 2º Plano :%1 %2").arg(l.tableType).arg(l.tableCode));
        return;
    }
    CostLine& target = sq.lines[static_cast<std::size_t>(index)];
    target.costClass = l.costClass;
    target.designation = l.designation;
    target.percentage = l.percentage;
    target.price = l.price;
    for (std::size_t n = 0; n < 3; ++n) {
        target.value[n] = addExact(target.value[n], l.value[n]);
        target.consumption[n] = addExact(target.consumption[n], l.consumption[n]);
    }
    target.passes += l.passes;
    target.factor = l.factor;
    target.makeReady += l.makeReady;
    addToRow(sq);
}

void SubQuoteCalculator::addToRow(SubQuote& sq)
{
    const CostLine& l = m_ctx.line;
    QuoteRow& row = sq.row;
    const CostClass costClass = costClassFromCode(l.costClass);
    for (int n = 1; n <= 3; ++n) {
        const double v = l.value[static_cast<std::size_t>(n - 1)];
        const QString valueColumn = quantityColumn("VALORORC", n);
        const double total = addExact(row.number(valueColumn), v);
        row.set(valueColumn, total);
        row.set(quantityColumn("VALORCLI", n), total);
        if (costClass != CostClass::None) {
            const QString column = classTotalColumn(costClass, n);
            row.set(column, addExact(row.number(column), v));
        }
        row.set(quantityColumn("NPLANOS", n), m_ctx.sheets[static_cast<std::size_t>(n - 1)]);
    }
    row.set("ENCNRO", 0);
    row.set("QTDADJUD", 0.0);
    row.set("PRINTE", QStringLiteral("N"));
    row.set("APROVADO", QStringLiteral("N"));
}

} // namespace kv::quotes
