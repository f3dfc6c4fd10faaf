#include "quotes/core/LineEntry.h"

#include "quotes/core/LineFormulas.h"
#include "quotes/core/MachineFormulas.h"
#include "quotes/core/Vocabulary.h"

namespace kv::quotes {

namespace {

int asInt(qint64 value) { return static_cast<int>(value); }

} // namespace

std::optional<CostLine> LineEntry::start(const CostTables& tables, const QuoteRow& row, int type, int code)
{
    CostLine l;
    l.tableType = type;
    l.tableCode = code;
    auto take = [&l](const QString& designation, CostClass costClass, double price) {
        l.designation = designation.left(CostLine::kDesignationSize);
        l.costClass = costClassCode(costClass);
        l.price = price;
    };
    const auto known = tableTypeFromCode(type);
    if (!known)
        return std::nullopt;
    switch (*known) {
    case TableType::Machine: {
        const MachineRow* m = tables.machine(code);
        if (!m)
            return std::nullopt;
        take(m->designation, CostClass::Machines, m->costPerHour);
        static const char* const columns[4][2] = {{"PRDHORAIMP", "ACERTOIMP"},
                                                  {"PRDHORACV", "ACERTOCV"},
                                                  {"PRDHORACOL", "ACERTOCOL"},
                                                  {"PRDHORAC_COL", "ACERTOC_COL"}};
        if (machineTypeFromCode(m->machineType)) {
            const auto& c = columns[m->machineType - typeCode(MachineType::Printing)];
            l.grade = asInt(row.integer(QString::fromLatin1(c[0])));
            l.makeReadyChoice = asInt(row.integer(QString::fromLatin1(c[1])));
        }
        if (isMachineType(m->machineType, MachineType::Printing))
            l.passes = printingPasses(asInt(row.integer(QStringLiteral("NROCORES"))), m->coloursPerPass).value_or(0);
        return l;
    }
    case TableType::Ink:
    case TableType::Varnish:
    case TableType::LaminatingFilm:
    case TableType::WindowPvc: {
        const MaterialRow* m = *known == TableType::Ink         ? tables.ink(code)
                               : *known == TableType::Varnish   ? tables.varnish(code)
                               : *known == TableType::WindowPvc ? tables.pvc(code)
                                                                : tables.film(code);
        if (!m)
            return std::nullopt;
        take(m->designation, CostClass::RawMaterial, m->price);
        return l;
    }
    case TableType::Glue:
        if (const GlueRow* g = tables.glue(code)) {
            take(g->designation, CostClass::RawMaterial, g->price);
            return l;
        }
        return std::nullopt;
    case TableType::Finish:
        if (const FinishRow* f = tables.finish(code)) {
            take(f->designation, finishCostClass(f->costType), f->fixedCost);
            l.percentage = f->percentage;
            return l;
        }
        return std::nullopt;
    case TableType::Board:
        if (const BoardRow* b = tables.board(code)) {
            take(b->designation, CostClass::RawMaterial, b->price);
            return l;
        }
        return std::nullopt;
    case TableType::CuttingOperation:
        if (const CuttingRow* c = tables.cutting(code)) {
            take(c->designation, CostClass::Machines, c->cost);
            return l;
        }
        return std::nullopt;
    case TableType::FixedCost:
        if (const FixedCostRow* f = tables.fixedCost(code)) {
            take(f->designation, fixedCostClass(*f), f->price);
            return l;
        }
        return std::nullopt;
    case TableType::Subcontract:
        if (const SubcontractRow* s = tables.subcontract(code)) {
            take(s->designation, CostClass::Subcontract, s->price);
            return l;
        }
        return std::nullopt;
    case TableType::Transport:
        if (const TransportRow* t = tables.transport(code)) {
            take(QStringLiteral("Custo de Transporte"), CostClass::Transport, t->costPerKm);
            l.percentage = t->percentage;
            return l;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

bool LineEntry::exists(const CostTables& tables, int type, int code)
{
    return start(tables, QuoteRow(), type, code).has_value();
}

LineEntry::Field LineEntry::firstField(const CostTables& tables, const CostLine& line)
{
    if (isTableType(line.tableType, TableType::Machine)) {
        const MachineRow* m = tables.machine(line.tableCode);
        return m && isMachineType(m->machineType, MachineType::Printing) ? Field::Passes : Field::Grade;
    }
    return asksPercentage(line.tableType) ? Field::Percentage : Field::Price;
}

LineEntry::Field LineEntry::afterMachineChoices(const CostLine& line)
{
    if (isTableType(line.tableType, TableType::Machine))
        return Field::Calculate;
    return asksPercentage(line.tableType) ? Field::Percentage : Field::Price;
}

bool LineEntry::asksPercentage(int type)
{
    return isTableType(type, TableType::Finish) || isTableType(type, TableType::Transport);
}

} // namespace kv::quotes
