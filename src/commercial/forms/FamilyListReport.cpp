#include "commercial/forms/FamilyListReport.h"

#include "commercial/core/ArticleFamilies.h"

#include "platform/db/Connection.h"
#include "platform/report/TextElement.h"

#include <algorithm>

namespace kv::commercial {

namespace {

// The columns of the list, in millimetres.
constexpr double FamilyX = 0;
constexpr double CentreX = 38;
constexpr double TypeX = 54;
constexpr double MarketX = 68;
constexpr double MarketWidth = 40;
constexpr double CaptionWidth = 17;
constexpr double Line = 3.5;
constexpr double PointSize = 7;

const char* const MarketSuffixes[] = {"", "MI", "O"};

QRectF cell(double x, double y, double width) { return QRectF(x, y, width - 1, Line); }

bool filled(const kv::report::RowView& row, const QString& column)
{
    return !row.value(column).toString().trimmed().isEmpty();
}

} // namespace

FamilyListReport::FamilyListReport(CommercialReportSpec spec, CommercialEnvironment environment, QWidget* parent)
    : CommercialListReport(std::move(spec), environment, parent), m_families(environment),
      m_purchaseRows(std::make_unique<kv::report::MemoryRowSource>(QStringList{}))
{
    buildFamily();
    buildPurchases();
}

FamilyListReport::~FamilyListReport() = default;

FamilyListReport* FamilyListReport::instance(const CommercialEnvironment& environment, const QString& reportClass)
{
    return ListReportDialog::instance<FamilyListReport>(environment.session().openReports, reportClass);
}

void FamilyListReport::buildFamily()
{
    kv::report::DataBand& family = report().detail();
    const double width = report().page().contentWidth();
    family.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.2, width, 0));
    family.addField(QStringLiteral("FAMILIA"), cell(FamilyX, 0.5, CentreX - FamilyX), {}, QStringLiteral("FAMILIA"))
        .setPointSize(PointSize)
        .setBold(true);
    const char* classes[][3] = {{"PROD", "CCUSTO", ""}, {"MERC", "CCUSTOMERC", "_M"}, {"SERV", "CCUSTOSERV", "_S"}};
    const char* kinds[][2] = {{"Vendas : ", "VENDAS"}, {"Devoluções : ", "DEVOLUCOES"}, {"Descontos : ", "DESCONTOS"}};
    double y = 0.5;
    for (const auto& c : classes) {
        family.addText(QString::fromLatin1(c[0]), cell(TypeX, y, MarketX - TypeX)).setPointSize(PointSize);
        family.addField(QString::fromLatin1(c[1]), cell(CentreX, y, TypeX - CentreX)).setPointSize(PointSize);
        for (const auto& k : kinds) {
            for (int market = 0; market < 3; ++market) {
                const double x = MarketX + market * MarketWidth;
                family.addText(QString::fromUtf8(k[0]), cell(x, y, CaptionWidth)).setPointSize(PointSize);
                const QString column = QStringLiteral("CONTA") + QLatin1String(k[1])
                                       + QLatin1String(MarketSuffixes[market]) + QLatin1String(c[2]);
                family.addField(column, cell(x + CaptionWidth, y, MarketWidth - CaptionWidth)).setPointSize(PointSize);
            }
            y += Line;
        }
    }
    family
        .addText(QString::fromUtf8("Ligação à Contabilidade Compras"), cell(CentreX, y + 0.5, 80),
                 QStringLiteral("Label_Compras"))
        .setPointSize(PointSize)
        .setBold(true);
    family.setHeight(y + 0.5 + Line + 0.5);
    family.setBeforePrint([this](kv::report::BandContext& context) { QRBand2BeforePrint(context); });
}

void FamilyListReport::buildPurchases()
{
    kv::report::DataBand& rows = report().detail().addSubDetail(m_purchaseRows.get(), QStringLiteral("QRSubDetail1"));
    m_purchaseBand = &rows;
    rows.addText({}, cell(TypeX, 0, MarketX - TypeX), QStringLiteral("Label_TipoArt")).setPointSize(PointSize);
    rows.addField(QStringLiteral("CCUSTO"), cell(CentreX, 0, TypeX - CentreX)).setPointSize(PointSize);
    const char* captions[] = {"Compras :  ", "Devoluções : ", "Descontos : ", "Consumos : ", "Reg.Inventário : "};
    const QStringList& accounts = purchaseAccountColumns();
    for (int market = 0; market < 3; ++market) {
        const double x = MarketX + market * MarketWidth;
        for (int kind = 0; kind < 5; ++kind) {
            rows.addText(QString::fromUtf8(captions[kind]), cell(x, kind * Line, CaptionWidth)).setPointSize(PointSize);
            rows.addField(accounts.at(market * 5 + kind),
                          cell(x + CaptionWidth, kind * Line, MarketWidth - CaptionWidth))
                .setPointSize(PointSize);
        }
    }
    rows.setHeight(5 * Line + 1);
    rows.setBeforePrint([this](kv::report::BandContext& context) { QRSubDetail1BeforePrint(context); });
}

// Before a family prints: its purchase rows read again, and the caption of
// the purchase side shown when at least one of them prints.
void FamilyListReport::QRBand2BeforePrint(kv::report::BandContext& context)
{
    const QString family = context.value(QStringLiteral("FAMILIA")).toString();
    const kv::db::QueryResult rows = familyPurchaseRows(*m_families.invoicing(), family);
    m_purchaseRows = std::make_unique<kv::report::MemoryRowSource>(rows.columns);
    m_purchaseBand->setSource(m_purchaseRows.get());
    bool printed = false;
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        m_purchaseRows->append(rows.rows[i]);
        const auto has = [&](const QString& column) { return !rows.value(i, column).toString().trimmed().isEmpty(); };
        printed = printed
                  || (has(QStringLiteral("FAMILIA"))
                      && std::any_of(purchaseAccountColumns().cbegin(), purchaseAccountColumns().cend(), has));
    }
    if (auto* caption = context.report.find<kv::report::TextElement>(QStringLiteral("Label_Compras")))
        caption->setVisible(printed);
}

void FamilyListReport::QRSubDetail1BeforePrint(kv::report::BandContext& context)
{
    const kv::report::RowView& row = *context.row;
    context.print = filled(row, QStringLiteral("FAMILIA"))
                    && std::any_of(purchaseAccountColumns().cbegin(), purchaseAccountColumns().cend(),
                                   [&row](const QString& column) { return filled(row, column); });
    if (auto* type = context.report.find<kv::report::TextElement>(QStringLiteral("Label_TipoArt")))
        type->setText(purchaseTypeAbbreviation(row.value(QStringLiteral("TIPOART")).toString()));
}

} // namespace kv::commercial
