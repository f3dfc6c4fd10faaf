#include "costing/forms/TORCFPR014.h"

#include "costing/forms/ListReportForm.h"

#include "platform/report/DatasetRowSource.h"
#include "platform/ui/MessageService.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportEngine.h"

namespace kv::costing {

TORCFPR014::TORCFPR014(CostingEnvironment environment)
    : m_environment(environment), m_report(QStringLiteral("Parametrização de Procedimentos")),
      m_procedures(
          std::make_unique<kv::report::DatasetRowSource>(environment.dataset(QStringLiteral("ZURIVAVEZA.PROCMAS")))),
      m_lines(std::make_unique<kv::report::DatasetRowSource>(environment.dataset(QStringLiteral("ZURIVAVEZA.PROCDET"))))
{
    m_report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(7, 10, 7, 10);
    m_report.setPageHeaderOnFirstPage(true);
    m_report.setPageFooterOnLastPage(true);
    const double width = m_report.page().contentWidth();
    const double line = 4.5;

    kv::report::Band& header = m_report.pageHeader();
    header.setHeight(12);
    header.addText(QStringLiteral("Parametrização de Procedimentos"), QRectF(0, 2, width, 7))
        .setAlignment(Qt::AlignHCenter | Qt::AlignTop)
        .setPointSize(14)
        .setBold(true);

    kv::report::DataBand& procedure = m_report.detail();
    procedure.setSource(m_procedures.get());
    procedure.setHeight(line + 2);
    procedure.addText(QStringLiteral("Proc.Nº"), QRectF(0, 1, 16, line)).setBold(true);
    procedure.addField(QStringLiteral("CODIGO"), QRectF(16, 1, 14, line), {}, QStringLiteral("CODIGO"));
    procedure.addText(QStringLiteral("Procedimento"), QRectF(32, 1, 24, line)).setBold(true);
    procedure.addField(QStringLiteral("DESIGNACAO"), QRectF(56, 1, 80, line), {}, QStringLiteral("DESIGNACAO"));

    kv::report::DataBand& lines = procedure.addSubDetail(m_lines.get(), QStringLiteral("Linhas"));
    lines.setHeight(line);
    kv::report::Band& titles = lines.header();
    titles.setHeight(line);
    titles.addText(QStringLiteral("Tabela"), QRectF(10, 0, 50, line)).setBold(true);
    titles.addText(QStringLiteral("Cod.Tab."), QRectF(62, 0, 20, line)).setBold(true);
    titles.addText(QStringLiteral("Designação da Tabela"), QRectF(84, 0, 80, line)).setBold(true);
    lines.addField(QStringLiteral("NOMETABELA"), QRectF(10, 0, 50, line), {}, QStringLiteral("NOMETABELA"));
    lines.addField(QStringLiteral("CODTAB"), QRectF(62, 0, 18, line), {}, QStringLiteral("CODTAB"))
        .setAlignment(Qt::AlignRight);
    lines.addField(QStringLiteral("DESTAB"), QRectF(84, 0, 80, line), {}, QStringLiteral("DESTAB"));

    addListFooter(m_report);
    m_report.setBeforePrint([this](kv::report::Report&) { fillListFooter(m_report, m_environment); });
}

TORCFPR014::~TORCFPR014() = default;

kv::report::Document TORCFPR014::render() { return kv::report::ReportEngine::render(m_report); }

void TORCFPR014::preview(QWidget* parent)
{
    kv::report::PreviewWindow window(render(), parent);
    window.setWindowTitle(QStringLiteral("Parametrização de Procedimentos"));
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
}

} // namespace kv::costing
