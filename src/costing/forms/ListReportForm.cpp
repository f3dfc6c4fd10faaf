#include "costing/forms/ListReportForm.h"

#include "platform/report/TextElement.h"
#include "platform/ui/MessageService.h"

#include <map>

namespace kv::costing {

using kv::report::FieldFormat;
using kv::report::SystemElement;
using kv::report::TextElement;

namespace {

FieldFormat formatOf(ValueFormat format)
{
    return format == ValueFormat::Money ? FieldFormat::money(2) : FieldFormat();
}

const QColor LightGrey(192, 192, 192);

} // namespace

void addListFooter(kv::report::Report& report)
{
    const double width = report.page().contentWidth();
    kv::report::Band& footer = report.pageFooter();
    footer.setHeight(10);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, width, 0));
    footer.addText({}, QRectF(0, 1.5, width * 0.55, 4), QStringLiteral("Label_Empresa"));
    footer.addSystem(SystemElement::Field::DateTime, QRectF(width * 0.55, 1.5, width * 0.3, 4),
                     QStringLiteral("Data : "));
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(width - 25, 1.5, 25, 4), QStringLiteral("Página : "))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    footer.addText({}, QRectF(0, 5.5, width, 4), QStringLiteral("Label_Rodape"))
        .setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void fillListFooter(kv::report::Report& report, const CostingEnvironment& environment)
{
    kv::report::ListReportDialog::fillFooter(report, environment.companyName(), environment.state().WRodape);
}

ListReportForm::ListReportForm(ListPrintSpec spec, CostingEnvironment environment, QWidget* parent)
    : ListReportDialog(spec.reportClass, spec.reportTitle, environment.session().openReports, parent),
      m_spec(std::move(spec)), m_environment(environment)
{
    setWindowTitle(m_spec.reportCaption.isEmpty() ? m_spec.reportTitle : m_spec.reportCaption);
    build();
}

ListReportForm::~ListReportForm() = default;

ListReportForm* ListReportForm::instance(const CostingEnvironment& environment, const QString& reportClass)
{
    return ListReportDialog::instance<ListReportForm>(environment.session().openReports, reportClass);
}

void ListReportForm::build()
{
    kv::report::Report& list = report();
    setUpPage(m_spec.orientation, 7, 10, 7, 10);
    const double width = list.page().contentWidth();

    kv::report::Band& header = list.pageHeader();
    header.setHeight(16);
    TextElement& title = header.addText(m_spec.reportTitle, QRectF(0, 2, width, 7), QStringLiteral("Titulo"));
    title.setAlignment(Qt::AlignHCenter | Qt::AlignTop).setPointSize(14).setBold(true);
    const double right = width - 60;
    if (m_spec.articleRange) {
        header.addText(QStringLiteral("Do Artigo : "), QRectF(right, 1, 22, 4.5));
        header.addText({}, QRectF(right + 22, 1, 38, 4.5), QStringLiteral("Label_DoArtigo"));
        header.addText(QStringLiteral("Ao Artigo : "), QRectF(right, 5.5, 22, 4.5));
        header.addText({}, QRectF(right + 22, 5.5, 38, 4.5), QStringLiteral("Label_AoArtigo"));
    }
    if (m_spec.orderChoice)
        header.addText({}, QRectF(right + 22, 10, 38, 4.5), QStringLiteral("Label_Ordem"));
    header.setBeforePrint([this](kv::report::BandContext&) { PageHeaderBand1BeforePrint(); });

    if (m_spec.customise) {
        m_spec.customise(list, m_environment);
    } else {
        kv::report::Band& titles = list.columnHeader();
        titles.setHeight(6).setColor(LightGrey);
        kv::report::DataBand& detail = list.detail();
        detail.setHeight(5);
        double x = 0;
        for (const ReportColumnSpec& column : m_spec.columns) {
            const QRectF cell(x, 0.5, column.width - 1, 4.5);
            titles.addText(column.title, cell).setAlignment(column.alignment).setBold(true);
            if (column.text) {
                auto text = column.text;
                detail.addExpression([text](const kv::report::RowView& row) { return QVariant(text(row)); }, cell)
                    .setAlignment(column.alignment);
            } else {
                detail.addField(column.column, cell, formatOf(column.format), column.column)
                    .setAlignment(column.alignment);
            }
            x += column.width;
        }
    }

    addListFooter(list);
    list.setBeforePrint([this](kv::report::Report&) { TabelasRepBeforePrint(); });
}

void ListReportForm::PageHeaderBand1BeforePrint()
{
    kv::report::Report& list = report();
    auto set = [&list](const char* name, const QString& text) {
        if (auto* label = list.find<TextElement>(QString::fromLatin1(name)))
            label->setText(text);
    };
    set("Label_DoArtigo", m_from);
    set("Label_AoArtigo", m_to);
    set("Label_Ordem", orderText(m_order));
}

void ListReportForm::TabelasRepBeforePrint() { fillListFooter(report(), m_environment); }

kv::report::Document ListReportForm::render(kv::db::Dataset& dataset, ListOrder order, const QString& from,
                                            const QString& to)
{
    m_order = order;
    m_from = from;
    m_to = to;
    return renderRows(dataset);
}

void ListReportForm::preview(kv::db::Dataset& dataset, ListOrder order, const QString& from, const QString& to,
                             QWidget* parent)
{
    showPreview(render(dataset, order, from, to), parent, [](const QString& text) { kv::ui::messages().fail(text); });
}

} // namespace kv::costing
