#include "production/forms/StockMapReports.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/DateText.h"
#include "platform/ui/FormRegistry.h"
#include "quotes/print/QuoteReportForm.h"

#include <QDialog>

namespace kv::production {

const QString StockMapReports::kForecastClass = QStringLiteral("TORCFPR104");
const QString StockMapReports::kCustomerStockClass = QStringLiteral("TORCFPR110");

using kv::report::FieldFormat;
using kv::report::SystemElement;

namespace {

struct MapColumn {
    const char* title;
    const char* field;
    double width; // mm
    bool quantity;
};

kv::report::MemoryRowSource mapRows(const kv::db::QueryResult& rows)
{
    kv::report::MemoryRowSource source(rows.columns);
    for (const auto& row : rows.rows)
        source.append(row);
    return source;
}

kv::report::Report& mapPage(kv::report::Report& report)
{
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(10, 10, 10, 10);
    report.setPageHeaderOnFirstPage(true);
    report.setPageFooterOnLastPage(true);
    report.setPrintIfEmpty(false);
    return report;
}

void mapTitle(kv::report::Band& header, const QString& title, double width)
{
    header.addText(title, QRectF(0, 0, width, 7), QStringLiteral("Titulo"))
        .setFontFamily(QStringLiteral("Arial"))
        .setPointSize(12)
        .setBold(true)
        .setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

// Column titles into `titles` and the row's fields into `line`.
void mapColumns(kv::report::Band& titles, kv::report::Band& line, const std::vector<MapColumn>& columns)
{
    const FieldFormat quantity = FieldFormat::pattern(QStringLiteral("#,##0.0000;(#,##0.0000)"));
    double x = 0;
    for (const MapColumn& c : columns) {
        const Qt::Alignment align = (c.quantity ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        titles.addText(QString::fromUtf8(c.title), QRectF(x, 0.5, c.width - 1, 4))
            .setPointSize(7)
            .setBold(true)
            .setAlignment(align);
        line.addField(QString::fromLatin1(c.field), QRectF(x, 0.2, c.width - 1, 3.6),
                      c.quantity ? quantity : FieldFormat{})
            .setPointSize(7)
            .setAlignment(align);
        x += c.width;
    }
}

void mapFooter(kv::report::Report& report, const QString& companyName, const QString& text = {})
{
    const double width = report.page().contentWidth();
    kv::report::Band& footer = report.pageFooter();
    footer.setHeight(text.isEmpty() ? 6 : 10);
    footer
        .addText(QStringLiteral("Empresa : ") + companyName, QRectF(0, 1, width * 0.5, 4),
                 QStringLiteral("Label_Empresa"))
        .setPointSize(7);
    footer.addSystem(SystemElement::Field::DateTime, QRectF(width * 0.5, 1, width * 0.3, 4), QStringLiteral("Data :"))
        .setPointSize(7);
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 30, 1, 30, 4), QStringLiteral("Página :"))
        .setPointSize(7)
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    if (!text.isEmpty())
        footer.addText(text, QRectF(0, 5.5, width, 4), QStringLiteral("Label_Rodape")).setPointSize(7);
}

} // namespace

kv::report::Document StockMapReports::forecast(const kv::db::QueryResult& rows, const ForecastReportInputs& inputs)
{
    kv::report::Report report(QStringLiteral("MapaConsumos"));
    mapPage(report);
    const double width = report.page().contentWidth();
    kv::report::Band& header = report.pageHeader();
    header.setHeight(16);
    mapTitle(header, QStringLiteral("MAPA DE PREVISÃO DE CONSUMOS"), width);
    header
        .addText(QStringLiteral("Datas de Entrega de : ") + kv::text::date(inputs.first) + QStringLiteral(" a ")
                     + kv::text::date(inputs.last),
                 QRectF(0, 9, width, 5), QStringLiteral("Label_Datas"))
        .setPointSize(9);
    kv::report::Band& titles = report.columnHeader();
    titles.setHeight(5).setColor(QColor(0xEF, 0xEF, 0xEF));
    kv::report::DataBand& detail = report.detail();
    detail.setHeight(4);
    mapColumns(titles, detail,
               {{"Codigo Artigo", "ARTIGO", 28, false},
                {"Designação", "DESIGNACAO", 66, false},
                {"Und", "UNIDADE", 10, false},
                {"Consumo", "CONSUMO", 28, true},
                {"Existência", "EXIQTD", 28, true},
                {"Encomendado", "QTDENC", 28, true}});
    mapFooter(report, inputs.companyName);
    kv::report::MemoryRowSource source = mapRows(rows);
    detail.setSource(&source);
    return kv::report::ReportEngine::render(report);
}

kv::report::Document StockMapReports::customerStock(const kv::db::QueryResult& rows, const StockMapReportInputs& inputs)
{
    kv::report::Report report(QStringLiteral("ExistCliRep"));
    mapPage(report);
    const double width = report.page().contentWidth();
    kv::report::Band& header = report.pageHeader();
    header.setHeight(26);
    mapTitle(header, QStringLiteral("Mapa de Existências por Cliente"), width);
    const auto limit = [&](double x, double y, const QString& caption, const QString& value) {
        header.addText(caption + value, QRectF(x, y, width / 2 - 2, 4)).setPointSize(8);
    };
    limit(0, 9, QStringLiteral("Do Artigo : "), inputs.firstArticle);
    limit(width / 2, 9, QStringLiteral("ao Artigo : "), inputs.lastArticle);
    limit(0, 13, QStringLiteral("Do Cliente : "), inputs.firstCustomer);
    limit(width / 2, 13, QStringLiteral("ao Cliente : "), inputs.lastCustomer);
    limit(0, 17, QStringLiteral("Designação : "), inputs.designation);
    limit(width / 2, 17, QStringLiteral("Nome de Cliente : "), inputs.customerName);

    kv::report::DataBand& detail = report.detail();
    detail.setHeight(4);
    kv::report::Group& customer = detail.addGroup(QStringLiteral("CLIENTE"), QStringLiteral("GrupoCliente"));
    kv::report::Band& groupHeader = customer.header();
    groupHeader.setHeight(6);
    groupHeader.addText(QStringLiteral("Cliente Nº : "), QRectF(0, 1, 20, 4)).setPointSize(8).setBold(true);
    groupHeader.addField(QStringLiteral("CLIENTE"), QRectF(20, 1, 20, 4)).setPointSize(8).setBold(true);
    groupHeader.addField(QStringLiteral("NOME"), QRectF(42, 1, width - 42, 4)).setPointSize(8).setBold(true);
    kv::report::Band& titles = groupHeader.child();
    titles.setHeight(5).setColor(QColor(0xEF, 0xEF, 0xEF));
    mapColumns(titles, detail,
               {{"Código", "ARTIGO", 26, false},
                {"Designação ", "DESIGNACAO", 56, false},
                {"Exist.Prod.Acabado", "EXIQTD_PRD", 27, true},
                {"Exist. Plano Impresso", "EXIQTD_MTP", 27, true},
                {"Encomendado", "QTDENC", 27, true},
                {"Diferença", "QTD_DIF", 27, true}});
    mapFooter(report, inputs.companyName, inputs.footerText);
    kv::report::MemoryRowSource source = mapRows(rows);
    detail.setSource(&source);
    return kv::report::ReportEngine::render(report);
}

void StockMapReports::registerReports(kv::ui::FormRegistry& forms)
{
    // Created by the menu before its map and freed after it; never shown.
    const auto add = [&forms](const QString& className, const QString& title) {
        forms.add(className, [className, title](QWidget* parent) -> QDialog* {
            return new kv::quotes::QuoteReportForm(className, title, parent);
        });
    };
    add(kForecastClass, QStringLiteral("Mapa de Previsão de Consumos"));
    add(kCustomerStockClass, QStringLiteral("Encomendas por Cliente/Artigo (Qtd/Valor)"));
}

} // namespace kv::production
