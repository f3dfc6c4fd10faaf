#include "TORCFPR014.h"

#include <DatasetRowSource.h>
#include <MessageService.h>
#include <PreviewWindow.h>
#include <ReportEngine.h>

namespace kv::costing {

using kv::report::SystemElement;

TORCFPR014::TORCFPR014(CostingEnvironment environment)
    : m_environment(environment), m_report(QStringLiteral("Parametrização de Procedimentos")),
      m_procedures(std::make_unique<kv::report::DatasetRowSource>(environment.dataset(QStringLiteral("ZURIVAVEZA.PROCMAS")))),
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

    kv::report::Band& footer = m_report.pageFooter();
    footer.setHeight(10);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, width, 0));
    footer.addText({}, QRectF(0, 1.5, width * 0.55, 4), QStringLiteral("Label_Empresa"));
    footer.addSystem(SystemElement::Field::DateTime, QRectF(width * 0.55, 1.5, width * 0.3, 4),
                     QStringLiteral("Data : "));
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 25, 1.5, 25, 4), QStringLiteral("Página : "))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    footer.addText({}, QRectF(0, 5.5, width, 4), QStringLiteral("Label_Rodape"))
        .setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_report.setBeforePrint([this](kv::report::Report&) {
        if (auto* text = m_report.find<kv::report::TextElement>(QStringLiteral("Label_Rodape")))
            text->setText(m_environment.state().WRodape);
        if (auto* text = m_report.find<kv::report::TextElement>(QStringLiteral("Label_Empresa")))
            text->setText(QStringLiteral("Empresa : ") + m_environment.companyName());
    });
}

TORCFPR014::~TORCFPR014() = default;

kv::report::Document TORCFPR014::render()
{
    return kv::report::ReportEngine::render(m_report);
}

void TORCFPR014::preview(QWidget* parent)
{
    kv::report::PreviewWindow window(render(), parent);
    window.setWindowTitle(QStringLiteral("Parametrização de Procedimentos"));
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
}

} // namespace kv::costing
