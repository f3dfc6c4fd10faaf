#include "costing/forms/WasteBandsMember.h"

#include "costing/forms/CodeTableForm.h"

#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"
#include "platform/report/Report.h"
#include "costing/core/WasteBands.h"

#include <QLabel>
#include <QLineEdit>

namespace kv::costing {

namespace {

QString text(CodeTableForm& form, const char* field)
{
    auto* edit = qobject_cast<QLineEdit*>(form.control(QString::fromLatin1(field)));
    return edit ? edit->text() : QString();
}

void paintRed(CodeTableForm& form, const QString& name)
{
    QWidget* field = form.control(name);
    QLabel* label = field ? form.captionLabel(field) : nullptr;
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

bool createBands(CodeTableForm& form)
{
    form.setStatusText(0, QStringLiteral("Inicialização da Tabela"));
    try {
        createMissingWasteBands(*form.environment().application());
    } catch (const kv::db::DbError& error) {
        form.setStatusText(0, {});
        kv::ui::messages().fail(error.fullText());
        return false;
    }
    form.setStatusText(0, {});
    return true;
}

// Answers a quantity check: true lets the focus move on.
bool answer(CodeTableForm& form, BandQuantity verdict)
{
    switch (verdict) {
    case BandQuantity::Accepted: return true;
    case BandQuantity::BeepOnly: kv::ui::messages().beep(); return true;
    case BandQuantity::BackToFrom:
        kv::ui::messages().beep();
        form.moveFocus(QStringLiteral("Edit_Qtd1"));
        return false;
    case BandQuantity::Refused: form.refuse(invalidQuantityMessage()); return false;
    }
    return false;
}

FieldSpec field(const QString& name, const QString& column, const QString& caption)
{
    FieldSpec f;
    f.name = name;
    f.column = column;
    f.caption = caption;
    f.onEnter = [name](CodeTableForm& form) { paintRed(form, name); };
    return f;
}

void layoutReport(kv::report::Report& report)
{
    using kv::report::FieldFormat;
    kv::report::Band& titles = report.columnHeader();
    titles.setHeight(11);
    constexpr double line = 4.5;
    auto title = [&titles](const QString& text, double x, double y, double w) {
        titles.addText(text, QRectF(x, y, w, line)).setBold(true);
    };
    title(QStringLiteral("Código"), 0, 5, 14);
    title(QStringLiteral("Quantidade de :"), 14, 5, 26);
    title(QStringLiteral("Quantidade Até :"), 40, 5, 28);
    title(QStringLiteral("Acabamento ( % ) "), 96, 0, 36);
    title(QStringLiteral("Impressão  ( Entradas )  ( % )"), 132, 0, 66);
    const char* const numbers[] = {"( 1 )", "( 2 )", "( 3 )", "( 4 )"};
    for (int i = 0; i < 2; ++i)
        title(QString::fromLatin1(numbers[i]), 96 + i * 16, 5, 16);
    for (int i = 0; i < 4; ++i)
        title(QString::fromLatin1(numbers[i]), 132 + i * 16, 5, 16);

    kv::report::DataBand& detail = report.detail();
    detail.setHeight(2 * line + 1);
    auto value = [&detail](const QString& column, double x, double y, double w) {
        detail.addField(column, QRectF(x, y, w, line), FieldFormat(), column).setAlignment(Qt::AlignRight);
    };
    value(QStringLiteral("CODIGO"), 0, 0, 10);
    value(QStringLiteral("QTD1"), 14, 0, 22);
    value(QStringLiteral("QTD2"), 40, 0, 22);
    const std::pair<QString, QString> rows[] = {{QStringLiteral("Cartolinas : "), QStringLiteral("A")},
                                                {QStringLiteral("Micro-Canelado : "), QStringLiteral("B")}};
    for (int r = 0; r < 2; ++r) {
        const double y = r * line;
        detail.addText(rows[r].first, QRectF(66, y, 30, line));
        for (int i = 0; i < 2; ++i)
            value(QStringLiteral("PRCACAB%1").arg(i + 1) + rows[r].second, 96 + i * 16, y, 14);
        for (int i = 0; i < 4; ++i)
            value(QStringLiteral("PRCIMPR%1").arg(i + 1) + rows[r].second, 132 + i * 16, y, 14);
    }
}

} // namespace

CodeTableDescription wasteBandsMember()
{
    CodeTableDescription m;
    m.formClass = QStringLiteral("TORCF010");
    m.caption = QStringLiteral("Tiragem Líquida");
    m.table = QStringLiteral("TIRAGLIQ");
    m.dataset = QStringLiteral("ZURIVAVEZA.TIRAGLIQ");
    m.rightsProgram = QStringLiteral("Tiragem Liquida");
    m.keyBounds = {1, 999};

    FieldSpec from = field(QStringLiteral("Edit_Qtd1"), QStringLiteral("QTD1"), QStringLiteral("Quantidade de : "));
    from.onExit = [](CodeTableForm& form) { return answer(form, checkBandFrom(text(form, "Edit_Qtd1"))); };
    FieldSpec to = field(QStringLiteral("Edit_Qtd2"), QStringLiteral("QTD2"), QStringLiteral("Até : "));
    to.onExit = [](CodeTableForm& form) {
        return answer(form, checkBandTo(text(form, "Edit_Qtd2"), text(form, "Edit_Qtd1").trimmed().toLongLong()));
    };
    m.fields = {from, to};
    // The percentages: the cardstock row, then the micro-flute row.
    for (const QString& board : {QStringLiteral("a"), QStringLiteral("b")}) {
        const QString row = board == QLatin1String("a") ? QStringLiteral("Cartolina") : QStringLiteral("MicroCanelado");
        for (int i = 1; i <= 2; ++i)
            m.fields.push_back(field(QStringLiteral("Edit_PrcAcab%1").arg(i) + board,
                                     QStringLiteral("PRCACAB%1").arg(i) + board.toUpper(),
                                     QStringLiteral("%1 : Acabamento ( % ) ( %2 ) ").arg(row).arg(i)));
        for (int i = 1; i <= 4; ++i)
            m.fields.push_back(field(QStringLiteral("Edit_PrcImpr%1").arg(i) + board,
                                     QStringLiteral("PRCIMPR%1").arg(i) + board.toUpper(),
                                     QStringLiteral("%1 : Impressão ( Entradas ) - ( % ) ( %2 ) ").arg(row).arg(i)));
    }

    m.grid = {{QStringLiteral("CODIGO"), QStringLiteral("Código Nº"), 6},
              {QStringLiteral("QTD1"), QStringLiteral("Quantidade de"), 12},
              {QStringLiteral("QTD2"), QStringLiteral("Quantidade Até"), 12}};
    m.beforeOpen = createBands;

    ListPrintSpec print;
    print.dialogClass = QStringLiteral("TORCFSPR010");
    print.dialogCaption = m.caption;
    print.reportClass = QStringLiteral("TORCFPR010");
    print.reportTitle = m.caption;
    print.articleRange = false;
    // The bands have no designation: both orders list them by code.
    print.alphabeticOrder = {QStringLiteral("CODIGO")};
    print.orientation = QPageLayout::Landscape;
    print.customise = [](kv::report::Report& report, const CostingEnvironment&) { layoutReport(report); };
    m.print = print;
    return m;
}

} // namespace kv::costing
