#include "platform/report/ReportTestSupport.h"

#include <QProcess>

namespace kv::report::test {

QApplication& application()
{
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kv-report-test";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::unique_ptr<MemoryRowSource> inkRows(int count)
{
    auto rows = std::make_unique<MemoryRowSource>(QStringList{QStringLiteral("CODIGO"), QStringLiteral("ARTIGO"),
                                                              QStringLiteral("DESIGNACAO"), QStringLiteral("GRAMAGEM"),
                                                              QStringLiteral("PRECO")});
    for (int i = 1; i <= count; ++i)
        rows->append({i, QStringLiteral("TN%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("Tinta n.º %1").arg(i),
                      1.5 * i, 1000.0 + i + 0.25});
    return rows;
}

void buildListReport(Report& report, RowSource& rows)
{
    report.setTitle(QStringLiteral("Tabela de Tintas"));
    report.page().setMargins(7, 10, 7, 10);
    Band& header = report.pageHeader().setHeight(12);
    header.addSystem(SystemElement::Field::ReportTitle, {0, 0, 196, 6}).setAlignment(Qt::AlignHCenter).setBold(true);
    header.addText(QStringLiteral("Ord.Numérica"), {160, 6, 36, 5}, QStringLiteral("LabelOrdem"));
    Band& columns = report.columnHeader().setHeight(6);
    columns.setColor(QColor(Qt::lightGray));
    columns.addText(QStringLiteral("Código"), {0, 0, 15, 5});
    columns.addText(QStringLiteral("Referência"), {17, 0, 30, 5});
    columns.addText(QStringLiteral("Designação do artigo"), {49, 0, 90, 5});
    columns.addText(QStringLiteral("Gram.M2"), {141, 0, 20, 5}).setAlignment(Qt::AlignRight);
    columns.addText(QStringLiteral("Preço"), {163, 0, 33, 5}).setAlignment(Qt::AlignRight);
    DataBand& detail = report.detail();
    detail.setSource(&rows);
    detail.setHeight(5);
    detail.addField(QStringLiteral("CODIGO"), {0, 0, 15, 5});
    detail.addField(QStringLiteral("ARTIGO"), {17, 0, 30, 5});
    detail.addField(QStringLiteral("DESIGNACAO"), {49, 0, 90, 5});
    detail.addField(QStringLiteral("GRAMAGEM"), {141, 0, 20, 5}, FieldFormat::pattern(QStringLiteral("#.###")))
        .setAlignment(Qt::AlignRight);
    detail.addField(QStringLiteral("PRECO"), {163, 0, 33, 5}, FieldFormat::money(2)).setAlignment(Qt::AlignRight);
    Band& footer = report.pageFooter().setHeight(10);
    footer.addShape(ShapeElement::Shape::HorizontalLine, {0, 0, 196, 1});
    footer.addText(QStringLiteral("Empresa : Cartonagem Exemplo"), {0, 2, 100, 4});
    footer.addText(QString(), {0, 6, 100, 4}, QStringLiteral("LabelRodape"));
    footer.addSystem(SystemElement::Field::PageNumber, {160, 2, 36, 4}, QStringLiteral("Página : "))
        .setAlignment(Qt::AlignRight);
}

QStringList pageTexts(const RenderedPage& page)
{
    QStringList texts;
    for (const RenderedBand& band : page.bands)
        for (const RenderedItem& item : band.items)
            if (item.kind == RenderedItem::Kind::Text)
                texts.append(item.text);
    return texts;
}

QStringList bandNames(const RenderedPage& page)
{
    QStringList names;
    for (const RenderedBand& band : page.bands)
        names.append(band.name);
    return names;
}

int countBands(const RenderedPage& page, BandKind kind)
{
    int n = 0;
    for (const RenderedBand& band : page.bands)
        n += band.kind == kind ? 1 : 0;
    return n;
}

QByteArray runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace kv::report::test
