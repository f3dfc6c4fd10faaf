#include "production/core/ConsumptionLines.h"

#include "domain/CostClass.h"
#include "domain/TableType.h"
#include "platform/db/Connection.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/LineFormulas.h"
#include "quotes/core/MachineFormulas.h"

#include <cmath>

namespace kv::production {

namespace {

using kv::domain::TableType;

QString consText(const char* utf8) { return QString::fromUtf8(utf8); }

// The item's lines: the order's year, number, sub-quote and slot.
const char* const kItemKey = "ANO = :ANO AND CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO AND ENCDETAIL = :ENCDETAIL";

kv::db::Params itemParams(const SelectedOrder& o)
{
    return {{"ANO", o.year}, {"CODIGO", o.orderNumber}, {"SUBCODIGO", o.subQuote}, {"ENCDETAIL", o.detail}};
}

kv::db::Params lineParams(const SelectedOrder& o, const ConsumptionLine& l)
{
    kv::db::Params p = itemParams(o);
    p.set(QStringLiteral("DETAIL"), l.detail);
    p.set(QStringLiteral("TIPOTABELA"), l.tableType);
    p.set(QStringLiteral("CODTAB"), l.code);
    p.set(QStringLiteral("DESIGN"), l.designation.left(40));
    p.set(QStringLiteral("UNIDADE"), l.unit.isEmpty() ? QVariant() : QVariant(l.unit));
    p.set(QStringLiteral("TIPOCUSTO"), l.costClass);
    p.set(QStringLiteral("QTDAPROV"), l.approvedQuantity);
    p.set(QStringLiteral("NROPASSAGENS"), l.passes);
    p.set(QStringLiteral("PRDHOR"), l.perHour);
    p.set(QStringLiteral("ACERTO"), l.makeReady);
    p.set(QStringLiteral("CONSUMO"), l.consumption);
    p.set(QStringLiteral("SUPIMPRESS"), l.surface);
    p.set(QStringLiteral("DATAENT"), l.deliveryDate);
    p.set(QStringLiteral("ARTIGO"), l.article);
    p.set(QStringLiteral("ENTRADA"), l.entry);
    return p;
}

// The materials whose consumption follows the order's figures.
bool recomputedMaterial(int tableType)
{
    return tableType >= kv::domain::typeCode(TableType::Ink) && tableType <= kv::domain::typeCode(TableType::Board)
           && tableType != kv::domain::typeCode(TableType::Finish);
}

// The stock article of a material's cost-table row.
QString consArticle(kv::db::Connection& db, int tableType, int code)
{
    if (!recomputedMaterial(tableType))
        return {};
    return db
        .scalar(QStringLiteral("SELECT ARTIGO FROM %1 WHERE CODIGO = :C")
                    .arg(kv::domain::tableName(static_cast<TableType>(tableType))),
                {{"C", code}})
        .toString();
}

} // namespace

ConsumptionLines::ConsumptionLines(kv::db::Connection& application, SelectedOrder order)
    : m_application(application), m_order(std::move(order))
{
}

std::vector<ConsumptionLine> ConsumptionLines::read() const
{
    const auto r = m_application.query(
        QStringLiteral("SELECT * FROM ORCCONSUMOS WHERE %1 ORDER BY TIPOTABELA, ENTRADA, DETAIL").arg(QLatin1String(kItemKey)),
        itemParams(m_order));
    std::vector<ConsumptionLine> lines;
    lines.reserve(r.rows.size());
    for (std::size_t n = 0; n < r.rows.size(); ++n) {
        auto v = [&](const char* c) { return r.value(n, QLatin1String(c)); };
        ConsumptionLine l;
        l.detail = v("DETAIL").toInt();
        l.tableType = v("TIPOTABELA").toInt();
        l.code = v("CODTAB").toInt();
        l.designation = v("DESIGN").toString();
        l.unit = v("UNIDADE").toString();
        l.costClass = v("TIPOCUSTO").toString();
        l.approvedQuantity = v("QTDAPROV");
        l.passes = v("NROPASSAGENS").toInt();
        l.perHour = v("PRDHOR").toDouble();
        l.makeReady = v("ACERTO").toDouble();
        l.consumption = v("CONSUMO").toDouble();
        l.surface = v("SUPIMPRESS").toDouble();
        l.deliveryDate = v("DATAENT");
        l.article = v("ARTIGO").toString();
        l.entry = v("ENTRADA").toInt();
        lines.push_back(l);
    }
    return lines;
}

int ConsumptionLines::nextDetail() const
{
    return m_application
               .scalar(QStringLiteral("SELECT MAX(DETAIL) FROM ORCCONSUMOS WHERE %1").arg(QLatin1String(kItemKey)),
                       itemParams(m_order))
               .toInt()
           + 1;
}

LineCalculation ConsumptionLines::calculate(const kv::quotes::CostTables& tables, int tableType, int code,
                                            double surface, const OrderFigures& order)
{
    using kv::domain::CostClass;
    using kv::domain::costClassCode;
    namespace q = kv::quotes;
    const q::Triple sheets{order.sheets, 0, 0};
    const q::Triple quantities{order.quantity, 0, 0};
    const double area = order.sheetArea;
    const QString rawMaterial = costClassCode(CostClass::RawMaterial);
    LineCalculation c;
    auto missing = [&c](const char* message) {
        c.found = false;
        c.message = consText(message);
        return c;
    };
    auto material = [&](const q::MaterialRow* row, const char* message, auto formula) {
        if (!row)
            return missing(message);
        c.designation = row->designation;
        c.costClass = rawMaterial;
        c.consumption = formula(*row);
        return c;
    };
    switch (kv::domain::tableTypeFromCode(tableType).value_or(TableType::Transport)) {
    case TableType::Ink:
        return material(tables.ink(code), "Erro Grave, Referência da Tinta Inexistente !!!", [&](const q::MaterialRow& r) {
            return q::inkValues(surface, r.grammage / 1000.0, 1.0, area, sheets).consumption[0];
        });
    case TableType::Varnish:
        return material(tables.varnish(code), "Erro Grave, Referência do Verniz Inexistente !!!",
                        [&](const q::MaterialRow& r) {
                            return q::areaWeightValues(r.grammage / 1000.0, 1.0, area, sheets).consumption[0];
                        });
    case TableType::LaminatingFilm:
        return material(tables.film(code), "Erro Grave, Referência do Filme de Plasticizar Inexistente !!!",
                        [&](const q::MaterialRow& r) {
                            return q::areaWeightValues(r.grammage / 1000.0, 1.0, area, sheets).consumption[0];
                        });
    case TableType::WindowPvc:
        return material(tables.pvc(code), "Erro Grave, Referência do PVC Inexistente !!!", [&](const q::MaterialRow&) {
            return q::pvcValues(order.windowWeight, 1.0, quantities).consumption[0];
        });
    case TableType::Glue: {
        const q::GlueRow* glue = tables.glue(code);
        if (!glue)
            return missing("Erro Grave, Referência de Cola Inexistente !!!");
        c.designation = glue->designation;
        c.costClass = rawMaterial;
        c.consumption =
            q::glueValues(*glue, glue->grammage / 1000.0, 1.0, area, sheets, quantities, order.quoteUnit).consumption[0];
        return c;
    }
    case TableType::Board: {
        const q::BoardRow* board = tables.board(code);
        if (!board)
            return missing("Erro Grave, Tipo de Papel Inexistente !!!");
        c.designation = board->designation;
        c.costClass = rawMaterial;
        // Here "1" alone means by weight; every other rule counts sheets.
        const QString rule = board->calculation == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("2");
        c.consumption = q::boardValues(rule, board->grammage / 1000.0, 1.0, area, sheets).consumption[0];
        return c;
    }
    case TableType::Finish: {
        const q::FinishRow* finish = tables.finish(code);
        if (!finish)
            return missing("");
        c.designation = finish->designation;
        c.costClass = costClassCode(kv::domain::finishCostClass(finish->costType));
        return c;
    }
    case TableType::FixedCost: {
        const q::FixedCostRow* fixed = tables.fixedCost(code);
        if (!fixed)
            return missing("Erro Grave, Referência do Custo Fixo Inexistente !!!");
        c.designation = fixed->designation;
        c.costClass = costClassCode(q::fixedCostClass(*fixed));
        return c;
    }
    default:
        return c;
    }
}

double ConsumptionLines::machineTime(const kv::quotes::MachineRow& machine, const OrderFigures& order, int passes,
                                     double perHour, double makeReady)
{
    double running = 0;
    if (perHour > 0) {
        if (machine.machineType == 1 || machine.machineType == 2 || machine.machineType == 4)
            running = order.sheets / perHour * 60.0;
        else if (machine.machineType == 3)
            running = order.quantity / perHour * 60.0;
    }
    const double minutes = (running + makeReady * 60.0) * (passes == 0 ? 1 : passes);
    return kv::quotes::makeReadyHoursMinutes(minutes / 60.0);
}

int ConsumptionLines::insert(ConsumptionLine line, const OrderFigures& order)
{
    kv::db::Transaction work(m_application);
    line.detail = nextDetail();
    line.approvedQuantity = order.quantity;
    line.deliveryDate = order.delivery.isValid() ? QVariant(order.delivery) : QVariant();
    line.article = consArticle(m_application, line.tableType, line.code);
    m_application.exec(
        QStringLiteral("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, CODTAB, DESIGN, "
                       "UNIDADE, TIPOCUSTO, QTDAPROV, NROPASSAGENS, PRDHOR, ACERTO, CONSUMO, SUPIMPRESS, DATAENT, ARTIGO, "
                       "ENTRADA) VALUES (:ANO, :CODIGO, :SUBCODIGO, :ENCDETAIL, :DETAIL, :TIPOTABELA, :CODTAB, :DESIGN, "
                       ":UNIDADE, :TIPOCUSTO, :QTDAPROV, :NROPASSAGENS, :PRDHOR, :ACERTO, :CONSUMO, :SUPIMPRESS, "
                       ":DATAENT, :ARTIGO, :ENTRADA)"),
        lineParams(m_order, line));
    work.commit();
    return line.detail;
}

void ConsumptionLines::update(const ConsumptionLine& line)
{
    kv::db::Transaction work(m_application);
    m_application.exec(
        QStringLiteral("UPDATE ORCCONSUMOS SET TIPOTABELA = :TIPOTABELA, CODTAB = :CODTAB, DESIGN = :DESIGN, "
                       "TIPOCUSTO = :TIPOCUSTO, NROPASSAGENS = :NROPASSAGENS, PRDHOR = :PRDHOR, ACERTO = :ACERTO, "
                       "CONSUMO = :CONSUMO, SUPIMPRESS = :SUPIMPRESS, ARTIGO = :ARTIGO, ENTRADA = :ENTRADA "
                       "WHERE %1 AND DETAIL = :DETAIL")
            .arg(QLatin1String(kItemKey)),
        lineParams(m_order, line));
    work.commit();
}

void ConsumptionLines::remove(int detail)
{
    kv::db::Params p = itemParams(m_order);
    p.set(QStringLiteral("DETAIL"), detail);
    kv::db::Transaction work(m_application);
    m_application.exec(QStringLiteral("DELETE FROM ORCCONSUMOS WHERE %1 AND DETAIL = :DETAIL").arg(QLatin1String(kItemKey)),
                       p);
    work.commit();
}

QStringList ConsumptionLines::recalculate(const kv::quotes::CostTables& tables, const OrderFigures& order)
{
    const QString rawMaterial = kv::domain::costClassCode(kv::domain::CostClass::RawMaterial);
    QStringList messages;
    kv::db::Transaction work(m_application);
    for (ConsumptionLine line : read()) {
        if (line.costClass != rawMaterial)
            continue;
        const LineCalculation c = calculate(tables, line.tableType, line.code, line.surface, order);
        line.consumption = 0;
        if (!c.found) {
            if (!c.message.isEmpty())
                messages << c.message;
        } else if (recomputedMaterial(line.tableType)) {
            line.designation = c.designation;
            line.costClass = c.costClass;
            line.article = consArticle(m_application, line.tableType, line.code);
            line.consumption = c.consumption;
        }
        update(line);
    }
    work.commit();
    return messages;
}

} // namespace kv::production
