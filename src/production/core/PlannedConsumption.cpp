#include "production/core/PlannedConsumption.h"

#include "domain/CostClass.h"
#include "domain/MachineType.h"
#include "domain/TableType.h"
#include "platform/notify/MessageSink.h"
#include "platform/text/DecimalRounding.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/LineFormulas.h"
#include "quotes/core/MachineFormulas.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/core/SheetCount.h"

namespace kv::production {

using kv::domain::CostClass;
using kv::domain::costClassCode;
using kv::domain::costClassFromCode;
using kv::domain::isMachineType;
using kv::domain::MachineType;
using kv::domain::TableType;
using kv::quotes::Triple;

namespace {

// The classes of cost line that have planned consumption.
bool plannedClass(const QString& costClass)
{
    switch (costClassFromCode(costClass)) {
    case CostClass::Machines:
    case CostClass::RawMaterial:
    case CostClass::Subsidiary:
    case CostClass::Packaging:
    case CostClass::Labour: return true;
    default: return false;
    }
}

QString unitOfClass(const QString& costClass)
{
    switch (costClassFromCode(costClass)) {
    case CostClass::RawMaterial: return QStringLiteral("KGS");
    case CostClass::Machines: return QString();
    default: return QStringLiteral("UND");
    }
}

// Varnish, glue and board are cut from the second sheet format when the
// quote has one; everything else from the first.
bool takesSecondFormat(int tableType)
{
    return tableType == kv::domain::typeCode(TableType::Varnish) || tableType == kv::domain::typeCode(TableType::Glue)
           || tableType == kv::domain::typeCode(TableType::Board);
}

double sheetArea(const kv::quotes::QuoteRow& quote, int format)
{
    const QString n = QString::number(format);
    return quote.number(QStringLiteral("PLNCOMPRIM") + n) / 100.0 * quote.number(QStringLiteral("PLNLARGURA") + n)
           / 100.0;
}

QString missingMessage(TableType type, int code)
{
    switch (type) {
    case TableType::Machine: return QStringLiteral("Erro Grave, Código da Máquina Inexistente --> ") + QString::number(code);
    case TableType::Ink: return QStringLiteral("Erro Grave, Referência da Tinta Inexistente !!!");
    case TableType::Varnish: return QStringLiteral("Erro Grave, Referência do Verniz Inexistente !!!");
    case TableType::Glue: return QStringLiteral("Erro Grave, Referência de Cola Inexistente !!!");
    case TableType::LaminatingFilm:
        return QStringLiteral("Erro Grave, Referência do Filme Plástico Inexistente --> ") + QString::number(code);
    case TableType::WindowPvc: return QStringLiteral("Erro Grave, Referência do PVC Inexistente !!!");
    case TableType::Board: return QStringLiteral("Erro Grave, Tipo de Papel Inexistente !!!");
    case TableType::CuttingOperation: return QStringLiteral("Erro Grave, codigo - Oper.Corte - Inexistente !!!");
    default: return QString();
    }
}

} // namespace

PlannedConsumption::PlannedConsumption(const kv::quotes::CostTables& tables, kv::notify::MessageSink& messages)
    : m_tables(tables)
    , m_messages(messages)
{
}

int PlannedConsumption::firstPrintingPasses(const std::vector<kv::quotes::CostLine>& lines) const
{
    for (const kv::quotes::CostLine& line : lines) {
        if (!kv::domain::isTableType(line.tableType, TableType::Machine) || !plannedClass(line.costClass))
            continue;
        const kv::quotes::MachineRow* machine = m_tables.machine(line.tableCode);
        if (machine && isMachineType(machine->machineType, MachineType::Printing))
            return line.passes;
    }
    return 0;
}

double PlannedConsumption::sheetCount(const kv::quotes::QuoteRow& quote, int passes, double quantity) const
{
    const QString reference = QStringLiteral("orçamento %1, sub-orçamento %2")
                                  .arg(quote.quoteNumber())
                                  .arg(quote.subQuote());
    kv::quotes::SheetJob job;
    job.unit = quote.text(QStringLiteral("UNIDADE"));
    job.unitsPerSheet = static_cast<int>(quote.integer(QStringLiteral("UNDPLANO")));
    job.colours = static_cast<int>(quote.integer(QStringLiteral("NROCORES")));
    job.normalFinishing = quote.text(QStringLiteral("ACABNORMAL"));
    job.passes = passes;
    if (job.unitsPerSheet <= 0) {
        m_messages.fail(QStringLiteral("Unidades por plano a zero: não há tiragem (%1).").arg(reference));
        return 0.0;
    }
    if (const auto count = kv::quotes::sheetCount(m_tables.wasteBands, job, quantity))
        return *count;
    const double net = kv::text::roundDecimal(kv::quotes::netSheets(quantity, job.unit, job.unitsPerSheet), 0,
                                              kv::text::kSheetCountPrecision);
    m_messages.fail(QStringLiteral("Tiragem de %1 planos fora dos escalões de tiragem: contada sem desperdício (%2).")
                        .arg(net)
                        .arg(reference));
    return net;
}

ConsumptionPlan PlannedConsumption::compute(const kv::quotes::QuoteRow& quote,
                                            const std::vector<kv::quotes::CostLine>& lines, double quantity) const
{
    ConsumptionPlan plan;
    plan.passes = firstPrintingPasses(lines);
    plan.sheets = sheetCount(quote, plan.passes, quantity);
    const Triple sheets{plan.sheets, 0, 0};
    const Triple quantities{quantity, 0, 0};
    const QString unit = quote.text(QStringLiteral("UNIDADE"));
    const double surface = quote.number(QStringLiteral("SUPERFIMPR"));
    const bool embossed = quote.text(QStringLiteral("RELEVO")) == QLatin1String("S");
    const bool secondFormat = quote.number(QStringLiteral("PLNCOMPRIM2")) != 0.0;

    for (const kv::quotes::CostLine& line : lines) {
        if (!plannedClass(line.costClass))
            continue;
        ConsumptionRow row;
        row.detail = line.detail;
        row.tableType = line.tableType;
        row.tableCode = line.tableCode;
        row.designation = line.designation;
        row.quantity = quantity;
        row.printedSurface = surface;
        // A row the tables lack keeps the class of its own cost line.
        row.costClass = line.costClass;
        const double area = sheetArea(quote, secondFormat && takesSecondFormat(line.tableType) ? 2 : 1);
        const auto type = kv::domain::tableTypeFromCode(line.tableType);
        bool found = true;
        auto material = [&](const auto* tableRow, auto consumption) {
            found = tableRow != nullptr;
            if (!found)
                return;
            row.designation = tableRow->designation;
            row.costClass = costClassCode(CostClass::RawMaterial);
            row.article = tableRow->article;
            row.consumption = consumption(*tableRow, tableRow->grammage / 1000.0);
        };
        switch (type.value_or(TableType::Subcontract)) {
        case TableType::Machine:
            if (const kv::quotes::MachineRow* machine = m_tables.machine(line.tableCode)) {
                row.designation = machine->designation;
                row.costClass = costClassCode(CostClass::Machines);
                row.factor = kv::quotes::productionFactor(*machine, line.grade);
                const bool printing = isMachineType(machine->machineType, MachineType::Printing);
                row.passes = printing ? line.passes : 0;
                row.makeReady = kv::quotes::makeReadyHours(*machine, line.makeReadyChoice, row.passes, embossed);
                if (row.passes == 0)
                    row.passes = 1;
                double runMinutes = 0.0;
                const bool byPieces = isMachineType(machine->machineType, MachineType::Gluing);
                const bool bySheets = printing || isMachineType(machine->machineType, MachineType::CuttingCreasing)
                                      || isMachineType(machine->machineType, MachineType::CounterGluing);
                if ((byPieces || bySheets) && row.factor == 0.0) {
                    m_messages.fail(QStringLiteral("Produtividade da máquina %1 a zero: tempo de máquina só com o "
                                                   "acerto (orçamento %2, sub-orçamento %3, linha %4).")
                                        .arg(line.tableCode)
                                        .arg(quote.quoteNumber())
                                        .arg(quote.subQuote())
                                        .arg(line.detail));
                } else if (byPieces) {
                    runMinutes = kv::quotes::gluingPieces(*machine, quantity, unit) / row.factor * 60.0;
                } else if (bySheets) {
                    runMinutes = plan.sheets / row.factor * 60.0;
                }
                row.consumption =
                    kv::quotes::minutesAsHoursMinutes(row.passes * runMinutes + row.makeReady * 60.0);
            } else {
                found = false;
            }
            break;
        case TableType::Ink:
            material(m_tables.ink(line.tableCode), [&](const kv::quotes::MaterialRow&, double rate) {
                return kv::quotes::inkValues(surface, rate, 0.0, 1.0, sheets).consumption[0];
            });
            break;
        case TableType::Varnish:
            material(m_tables.varnish(line.tableCode), [&](const kv::quotes::MaterialRow&, double rate) {
                return kv::quotes::areaWeightValues(rate, 0.0, area, sheets).consumption[0];
            });
            break;
        case TableType::LaminatingFilm:
            material(m_tables.film(line.tableCode), [&](const kv::quotes::MaterialRow&, double rate) {
                return kv::quotes::areaWeightValues(rate, 0.0, area, sheets).consumption[0];
            });
            break;
        case TableType::Glue:
            material(m_tables.glue(line.tableCode), [&](const kv::quotes::GlueRow& glue, double rate) {
                return kv::quotes::glueValues(glue, rate, 0.0, area, sheets, quantities, unit).consumption[0];
            });
            break;
        case TableType::WindowPvc:
            material(m_tables.pvc(line.tableCode), [&](const kv::quotes::MaterialRow&, double) {
                return kv::quotes::pvcValues(quote.number(QStringLiteral("PESOJANELAS")), 0.0, quantities)
                    .consumption[0];
            });
            break;
        case TableType::Board:
            material(m_tables.board(line.tableCode), [&](const kv::quotes::BoardRow& board, double rate) {
                return kv::quotes::boardValues(board.calculation, rate, 0.0, area, sheets).consumption[0];
            });
            break;
        case TableType::Finish:
            if (const kv::quotes::FinishRow* finish = m_tables.finish(line.tableCode)) {
                row.designation = finish->designation;
                row.costClass = costClassCode(kv::domain::finishCostClass(finish->costType));
            }
            break;
        case TableType::CuttingOperation:
            if (const kv::quotes::CuttingRow* cutting = m_tables.cutting(line.tableCode)) {
                row.designation = cutting->designation;
                row.costClass = costClassCode(CostClass::Machines);
            } else {
                found = false;
            }
            break;
        case TableType::FixedCost:
            if (const kv::quotes::FixedCostRow* fixedCost = m_tables.fixedCost(line.tableCode)) {
                row.designation = fixedCost->designation;
                row.costClass = costClassCode(kv::quotes::fixedCostClass(*fixedCost));
            }
            break;
        default: break;
        }
        if (!found)
            m_messages.fail(missingMessage(*type, line.tableCode));
        row.unit = unitOfClass(row.costClass);
        if (row.passes == 0 && costClassFromCode(row.costClass) == CostClass::Machines)
            row.passes = 1;
        plan.rows.push_back(row);
    }
    return plan;
}

} // namespace kv::production
