#include "costing/forms/MachinesReport.h"

#include "costing/core/MachineRules.h"

#include "platform/report/Report.h"
#include "platform/report/RowSource.h"

#include <functional>
#include <tuple>

namespace kv::costing {

namespace {

using kv::report::RowView;

QString costCentreLine(MachineNames* open, const RowView& row)
{
    const auto name = open ? open->costCentreName(row.value(QStringLiteral("CCUSTO")).toString()) : std::nullopt;
    return row.value(QStringLiteral("CCUSTO")).toString() + QLatin1Char(' ')
           + name.value_or(unknownCostCentreMessage());
}

QString glueLine(MachineNames* open, const RowView& row)
{
    const QVariant code = row.value(QStringLiteral("CODIGOCOLA"));
    const auto name = open ? open->glueName(code) : std::nullopt;
    return code.toString() + QLatin1Char(' ') + name.value_or(QStringLiteral("Cola Inexistente"));
}

} // namespace

void layoutMachinesReport(kv::report::Report& report, const CostingEnvironment& environment)
{
    // The names come from the machine form open when the list prints.
    CostingSessionState* session = &environment.session();
    auto names = [session] { return session->openMachineForm; };
    kv::report::DataBand& detail = report.detail();
    double y = 1;
    constexpr double line = 4.5;
    auto label = [&detail](const QString& caption, double x, double top, double w = 30) {
        detail.addText(caption, QRectF(x, top, w, line));
    };
    auto value = [&detail](const char* column, double x, double top, double w = 22) {
        detail.addField(QString::fromLatin1(column), QRectF(x, top, w, line), {}, QString::fromLatin1(column));
    };
    auto computed = [&detail](std::function<QString(const RowView&)> text, double x, double top, double w,
                              const char* name) {
        detail.addExpression([text](const RowView& row) { return QVariant(text(row)); }, QRectF(x, top, w, line), {},
                             QString::fromLatin1(name));
    };
    label(QStringLiteral("Máquina : "), 0, y, 20);
    value("CODIGO", 20, y, 12);
    value("DESIGNACAO", 32, y, 80);
    y += line;
    label(QStringLiteral("C.Custo : "), 0, y, 20);
    computed([names](const RowView& row) { return costCentreLine(names(), row); }, 20, y, 90, "Label_CCusto");
    label(QStringLiteral("Nº de Côres : "), 112, y, 24);
    value("NROCORES", 136, y, 10);
    y += line;
    label(QStringLiteral("Formato (CxL) : "), 0, y, 28);
    value("COMPRIM", 28, y, 18);
    label(QStringLiteral("x"), 47, y, 4);
    value("LARGURA", 51, y, 18);
    y += line + 1;

    label(QStringLiteral("Produção : "), 0, y, 24);
    const std::pair<const char*, const char*> production[] = {
        {"Factor I : ", "FACTOR1"},  {"Factor II : ", "FACTOR2"},   {"Factor III : ", "FACTOR3"},
        {"Unid.Prod.: ", "UNDPROD"}, {"(%) Desp.: ", "PERCDESPER"}, {"Custo Hora : ", "CUSTOHORA"}};
    for (std::size_t i = 0; i < std::size(production); ++i) {
        const double x = 24 + (i % 3) * 55;
        const double row = y + (i / 3) * line;
        label(QString::fromUtf8(production[i].first), x, row, 24);
        value(production[i].second, x + 24, row, 28);
    }
    y += 2 * line + 1;

    label(QStringLiteral("Consumo de Colas"), 0, y, 40);
    y += line;
    const std::pair<const char*, const char*> glue[] = {{"Normal : ", "CONSUMCOLA"},
                                                        {"c/Micro : ", "CONSUMCOLA1"},
                                                        {"c/Canal B : ", "CONSUMCOLA2"},
                                                        {"c/Pla.Cartão : ", "CONSUMCOLA3"}};
    for (std::size_t i = 0; i < std::size(glue); ++i) {
        label(QString::fromUtf8(glue[i].first), i * 48, y, 24);
        value(glue[i].second, i * 48 + 24, y, 22);
    }
    y += line;
    label(QStringLiteral("Cód. Cola : "), 0, y, 24);
    computed([names](const RowView& row) { return glueLine(names(), row); }, 24, y, 100, "Label_Cola");
    y += line + 1;

    label(QStringLiteral("Tempos de Acerto"), 0, y, 40);
    label(QStringLiteral("Min."), 48, y, 20);
    label(QStringLiteral("Max."), 72, y, 20);
    y += line;
    const std::tuple<const char*, const char*, const char*> setup[] = {
        {"Ace.Máq. : ", "ACEMAQMIN", "ACEMAQMAX"},
        {"Ace.c/ 1 Passagem : ", "ACEPASSMIN1", "ACEPASSMAX1"},
        {"Ace.c/ 2 Passagens : ", "ACEPASSMIN2", "ACEPASSMAX2"},
        {"Ace.c/ 3 Passagens : ", "ACEPASSMIN3", "ACEPASSMAX3"},
        {"Ace.c/ 4 Passagens : ", "ACEPASSMIN4", "ACEPASSMAX4"},
        {"Ace.c/ Fundo Autom. : ", "ACEFUNDOAUTOMIN", "ACEFUNDOAUTOMAX"},
        {"Ace.c/ Col.Lateral : ", "ACECOLLATERALMIN", "ACECOLLATERALMAX"},
        {"Ace.c/ Cortante I : ", "ACECORTANTEMIN1", "ACECORTANTEMAX1"},
        {"Ace.c/ Cortante II : ", "ACECORTANTEMIN2", "ACECORTANTEMAX2"},
        {"Ace.c/ Cortante III : ", "ACECORTANTEMIN3", "ACECORTANTEMAX3"}};
    for (const auto& [caption, low, high] : setup) {
        label(QString::fromUtf8(caption), 0, y, 46);
        value(low, 48, y, 20);
        value(high, 72, y, 20);
        y += line;
    }
    detail.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, y + 1, 190, 0));
    detail.setHeight(y + 3);
}

} // namespace kv::costing
