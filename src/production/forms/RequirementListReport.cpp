#include "production/forms/RequirementListReport.h"

#include "production/forms/SupplierReportParts.h"

#include "platform/report/DatasetRowSource.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QDateTime>

namespace kv::production {

const QString RequirementListReport::kClass = QStringLiteral("TORCFPR041");
const QString RequirementListReport::kTitle = QStringLiteral("Listagem de Necessidades para Fabrico");

RequirementListReport::RequirementListReport(kv::db::Dataset& requirements, RequirementLimits limits,
                                             QString companyName, QString footer)
    : m_requirements(requirements), m_limits(std::move(limits)), m_company(std::move(companyName)),
      m_footer(std::move(footer))
{
}

kv::report::Document RequirementListReport::render() const
{
    kv::report::DatasetRowSource source(m_requirements);
    kv::report::Report report(kTitle);
    report.page().setOrientation(QPageLayout::Landscape);
    kv::report::Band& header = report.pageHeader();
    header.setHeight(34);
    header.addText(kTitle, QRectF(0, 0, 200, 7)).setBold(true).setPointSize(12);
    const QString pairs[][2] = {
        {QStringLiteral("Da Ordem de Fabrico : ") + QString::number(m_limits.orderFrom),
         QStringLiteral("à Ordem de Fabrico : ") + QString::number(m_limits.orderTo)},
        {QStringLiteral("Da Data Entrg.: ") + kv::text::date(m_limits.deliveryFrom),
         QStringLiteral("à Data Entrg. : ") + kv::text::date(m_limits.deliveryTo)},
        {QStringLiteral("Do Cliente : ") + QString::number(m_limits.customerFrom),
         QStringLiteral("Ao Cliente : ") + QString::number(m_limits.customerTo)},
        {QStringLiteral("Do Artigo : ") + m_limits.articleFrom, QStringLiteral("Ao Artigo : ") + m_limits.articleTo}};
    for (int i = 0; i < 4; ++i) {
        header.addText(pairs[i][0], QRectF(0, 9 + i * 4.5, 80, 4.5));
        header.addText(pairs[i][1], QRectF(80, 9 + i * 4.5, 80, 4.5));
    }
    struct ListColumn {
        const char* field;
        const char* title;
        double left, width;
        bool number;
    };
    const ListColumn columns[] = {
        {"ARTIGO", "Artigo Nº", 0, 32, false},       {"DESIGN", "Designação do Artigo", 32, 80, false},
        {"UNIDADE", "Und", 112, 12, false},          {"QUANTIDADE", "CONSUMO", 124, 30, true},
        {"TOTEXIQTD", "EXISTÊNCIA", 154, 30, true},  {"TOTQTDENCFRN", "ENCOMENDADO", 184, 30, true},
        {"QTDREQINT", "REQUISITADO", 214, 30, true}, {"TOTCONSUMO", "A PROCESSAR", 244, 30, true}};
    kv::report::DataBand& detail = report.detail();
    detail.setSource(&source);
    detail.setHeight(4.5);
    for (const ListColumn& c : columns) {
        header.addText(QString::fromUtf8(c.title), QRectF(c.left, 29, c.width, 5))
            .setBold(true)
            .setAlignment(c.number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
        if (c.number) {
            const QString field = QString::fromLatin1(c.field);
            auto& item = detail.addExpression(
                [field](const kv::report::RowView& row) { return kv::text::number(row.value(field).toDouble(), 3); },
                QRectF(c.left, 0, c.width, 4.5));
            item.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item.setBold(QLatin1String(c.field) == QLatin1String("TOTCONSUMO"));
        } else {
            detail.addField(QString::fromLatin1(c.field), QRectF(c.left, 0, c.width, 4.5));
        }
    }
    kv::report::Band& footer = report.pageFooter();
    footer.setHeight(6);
    footer.addText(QStringLiteral("Empresa : ") + m_company, QRectF(0, 1, 90, 4));
    footer.addText(m_footer, QRectF(90, 1, 80, 4));
    footer.addText(QStringLiteral("Data :") + kv::text::dateTime(QDateTime::currentDateTime()), QRectF(170, 1, 60, 4));
    footer.addSystem(kv::report::SystemElement::Field::PageNumber, QRectF(235, 1, 50, 4), QStringLiteral("Página :"));
    return kv::report::ReportEngine::render(report);
}

void RequirementListReport::preview(QWidget* parent) const { previewPrint(render(), kTitle, parent); }

} // namespace kv::production
