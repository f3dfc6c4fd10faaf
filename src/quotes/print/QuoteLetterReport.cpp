#include "quotes/print/QuoteLetterReport.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ShapeElement.h"
#include "platform/report/TextElement.h"
#include "platform/ui/MessageService.h"

#include <QFileInfo>

namespace kv::quotes {

namespace {

using kv::report::Band;
using kv::report::TextElement;

constexpr double LetterLine = 4.5; // mm between letterhead lines and text lines
constexpr double LetterWidth = 197; // A4 less 5 mm left and 8 mm right

struct LayoutLook {
    QString face; // the letter's texts and labels
    QString priceHeading;
    QStringList opening;
    QStringList closing;
};

LayoutLook lookOf(LetterLayout layout)
{
    const QStringList opening{
        QStringLiteral(
            "Com os n/ melhores cumprimentos temos o prazer de submeter à apreciação de V.Ex(as), a proposta "),
        QStringLiteral("abaixo discriminada, a qual será executada conforme as V/ ordens : ")};
    const QStringList closing{
        QStringLiteral(
            "Gratos pela atenção dispensada e esperando merecer a honra da V/ aprovação, o que antecipadamente"),
        QStringLiteral("agradecemos, subscrevemo-nos com elevada estima e consideração, ")};
    switch (layout) {
    case LetterLayout::Quality:
        return {QStringLiteral("Comic Sans MS"), QStringLiteral("Preço ( € ) "), opening, closing};
    case LetterLayout::Micro:
        return {QStringLiteral("Arial"), QStringLiteral("Preço Unitário( € ) "), opening, closing};
    case LetterLayout::Carton: break;
    }
    return {QStringLiteral("Arial"),
            QStringLiteral("Preço Unitário( € ) "),
            {QStringLiteral("Vimos por este meio submeter à apreciação de V.Ex(as), a proposta abaixo descriminada, "),
             QStringLiteral("a qual será executada conforme as V/ ordens : ")},
            {QStringLiteral("Gratos pela atenção dispensada e aguardando as vossas prezadas notícias, subscrevemo-nos"),
             QStringLiteral("com elevada estima e consideração,  apresentando os nossos melhores cumprimentos")}};
}

// The letterhead items as the page design draws them before any row dresses them.
void addLetterhead(Band& band, LetterLayout layout, double top)
{
    for (int i = 1; i <= Letterhead::Lines; ++i) {
        TextElement& line = band.addText({}, QRectF(0, top + (i - 1) * LetterLine, 110, LetterLine),
                                         QStringLiteral("QRLogoDes%1").arg(i));
        const bool carton = layout == LetterLayout::Carton;
        line.setFontFamily(carton && i <= 2 ? QStringLiteral("Arial Narrow") : QStringLiteral("Arial"));
        line.setPointSize(carton && i > 2 ? 8 : 10);
        if (i == 1)
            line.setBold(true).setItalic(true).setColor(QColor(255, 0, 0));
    }
}

} // namespace

const QString QuoteLetterReport::kTitle = QStringLiteral("Emissao de Orcamentos");

QString QuoteLetterReport::reportClass(LetterLayout layout)
{
    switch (layout) {
    case LetterLayout::Quality: return QStringLiteral("TORCFPR022QUAL");
    case LetterLayout::Micro: return QStringLiteral("TORCFPR022MICRO");
    case LetterLayout::Carton: break;
    }
    return QStringLiteral("TORCFPR022CONT");
}

void applyLogoDes(kv::report::Report& report, const Letterhead& letterhead)
{
    for (int i = 0; i < Letterhead::Lines; ++i) {
        auto* item = report.find<TextElement>(QStringLiteral("QRLogoDes%1").arg(i + 1));
        if (!item)
            continue;
        const LetterheadLine& line = letterhead.lines[i];
        item->setText(line.text);
        item->setFontFamily(line.font);
        if (const auto rgb = Letterhead::colour(line.colour))
            item->setColor(QColor(rgb->red, rgb->green, rgb->blue));
        item->setPointSize(line.size > 0 ? line.size : TextElement::defaultFont().pointSizeF());
        if (const auto style = Letterhead::style(line.boldFlag, line.italicFlag))
            item->setBold(style->bold).setItalic(style->italic);
    }
}

QuoteLetterReport::QuoteLetterReport(const LetterPages& pages, const Letterhead& letterhead, LetterLayout layout,
                                     QString logoFile)
    : m_pages(pages), m_letterhead(letterhead), m_layout(layout), m_logoFile(std::move(logoFile))
{
}

kv::report::Document QuoteLetterReport::render() const
{
    kv::report::Report report(kTitle);
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(5, 8, 8, 5);
    kv::report::MemoryRowSource rows(m_pages.fields);
    for (const QVariantList& row : m_pages.rows)
        rows.append(std::vector<QVariant>(row.begin(), row.end()));
    Band& page = report.detail().setSource(&rows);
    page.setHeight(275);
    const LayoutLook look = lookOf(m_layout);

    double top = 0;
    if (m_layout == LetterLayout::Carton) {
        // The logo when its file exists; otherwise its area stays empty.
        if (!m_logoFile.isEmpty() && QFileInfo(m_logoFile).isFile())
            page.addImage(m_logoFile, QRectF(0, 0, 60, 20), QStringLiteral("Logotipo"));
        top = 22;
    }
    addLetterhead(page, m_layout, top);
    page.addField(QStringLiteral("VIA"), QRectF(LetterWidth - 50, 0, 50, 4))
        .setAlignment(Qt::AlignRight)
        .setPointSize(7);

    auto text = [&](const QString& caption, double x, double y, double w) -> TextElement& {
        return page.addText(caption, QRectF(x, y, w, LetterLine)).setFontFamily(look.face);
    };
    auto field = [&](const QString& name, double x, double y, double w) -> TextElement& {
        return page.addField(name, QRectF(x, y, w, LetterLine)).setFontFamily(look.face);
    };

    const double heads = top + 8 * LetterLine + 6;
    const char* headings[] = {"Orçamento nº ", "Data Emissão", "Vendedor"};
    const char* values[] = {"CODIGO", "DATEMI", "VNDNRO"};
    for (int i = 0; i < 3; ++i) {
        page.addShape(kv::report::ShapeElement::Shape::Rectangle, QRectF(i * 32, heads, 32, 2 * LetterLine + 2));
        text(QString::fromUtf8(headings[i]), i * 32 + 1, heads + 0.5, 30).setBold(true);
        field(QString::fromLatin1(values[i]), i * 32 + 1, heads + LetterLine + 1, 30);
    }
    page.addShape(kv::report::ShapeElement::Shape::Rectangle, QRectF(105, heads, 92, 5 * LetterLine + 3));
    page.addText(QStringLiteral("Exmo(s) Sr(s)."), QRectF(107, heads + 0.5, 80, LetterLine))
        .setFontFamily(QStringLiteral("Comic Sans MS"));
    const char* address[] = {"NOME", "MORADA1", "MORADA2", "LOCALIDADE"};
    for (int i = 0; i < 4; ++i)
        field(QString::fromLatin1(address[i]), 107, heads + (i + 1) * LetterLine + 1, 88);

    double y = heads + 6 * LetterLine + 6;
    for (const QString& lineText : look.opening) {
        text(lineText, 0, y, LetterWidth);
        y += LetterLine;
    }
    y += LetterLine;
    auto pair = [&](const QString& caption, const QString& name, double w = 150) {
        text(caption, 0, y, 42).setBold(true);
        field(name, 42, y, w);
        y += LetterLine;
    };
    pair(QStringLiteral("N/Referência : "), QStringLiteral("NOSREF"));
    pair(QStringLiteral("Medidas em (mm) : "), QStringLiteral("MEDIDAS"));
    pair(QStringLiteral("V/Referência : "), QStringLiteral("VOSREF"));
    for (int i = 1; i <= 6; ++i)
        pair(i == 1 ? QStringLiteral("Designação : ") : QString(), QStringLiteral("DESIGN%1").arg(i));
    for (int i = 1; i <= 3; ++i)
        pair(i == 1 ? QStringLiteral("Observações : ") : QString(), QStringLiteral("OBSERV%1").arg(i));

    y += LetterLine;
    page.addShape(kv::report::ShapeElement::Shape::Rectangle, QRectF(20, y, 120, 4 * LetterLine + 2));
    field(QStringLiteral("QTDHEAD"), 22, y + 0.5, 55).setBold(true);
    text(look.priceHeading, 80, y + 0.5, 58).setBold(true);
    for (int i = 1; i <= 3; ++i) {
        field(QStringLiteral("QTD%1").arg(i), 22, y + i * LetterLine + 1, 50).setAlignment(Qt::AlignRight);
        field(QStringLiteral("PRECO%1").arg(i), 80, y + i * LetterLine + 1, 50).setAlignment(Qt::AlignRight);
    }
    y += 5 * LetterLine + 2;
    for (int i = 1; i <= 5; ++i)
        pair(i == 1 ? QStringLiteral("Cond. de Pagamento : ") : QString(), QStringLiteral("CNDPGT%1").arg(i));
    pair(QStringLiteral("Transporte : "), QStringLiteral("TRANSPORTE"));
    pair(QStringLiteral("Prazo de Entrega : "), QStringLiteral("PRZENT"));
    for (int i = 1; i <= 4; ++i)
        pair(i == 1 ? QStringLiteral("Condições de Venda : ") : QString(), QStringLiteral("CONDVENDA%1").arg(i));
    y += LetterLine;
    for (const QString& lineText : look.closing) {
        text(lineText, 0, y, LetterWidth);
        y += LetterLine;
    }
    y += LetterLine;
    text(QStringLiteral("De V.Ex(as), "), 110, y, 60);
    text(QStringLiteral("Atentamente"), 110, y + 2 * LetterLine, 60);

    applyLogoDes(report, m_letterhead);
    return kv::report::ReportEngine::render(report);
}

void QuoteLetterReport::preview(QWidget* parent) const
{
    kv::report::PreviewWindow window(render(), parent);
    window.setWindowTitle(kTitle);
    window.setMessageHandler([](const QString& message) { kv::ui::messages().fail(message); });
    window.exec();
}

} // namespace kv::quotes
