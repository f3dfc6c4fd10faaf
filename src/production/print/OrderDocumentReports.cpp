#include "production/print/OrderDocumentReports.h"

#include "production/print/DocumentParts.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/NumberText.h"

#include <QFileInfo>
#include <QHash>

namespace kv::production {

using kv::report::Band;
using kv::report::BandContext;
using kv::report::DataBand;
using kv::report::FieldFormat;
using kv::report::MemoryRowSource;
using kv::report::Report;
using namespace documents;

const QString OrderDocumentReports::kTitle = QStringLiteral("Emissão de Ordens de Fabrico");

const QStringList& OrderDocumentReports::reportClasses()
{
    static const QStringList classes{"TORCFPR102MICRO", "TORCFPR102CORTE", "TORCFPR102REGISTO", "TORCFPR102ETIQ"};
    return classes;
}

namespace {

const QColor slotShade(231, 231, 231);
const FieldFormat quantityFormat = FieldFormat::pattern(QStringLiteral("###,###,###"));
const FieldFormat grammageFormat = FieldFormat::pattern(QStringLiteral("#.###"));

// The group key of an order item: its key parts, so two items whose joined
// key texts coincide still print apart.
QVariant orderItemKey(const kv::report::RowView& row)
{
    return QStringList{row.value(QStringLiteral("ANO")).toString(), row.value(QStringLiteral("SEMANA")).toString(),
                       row.value(QStringLiteral("ORDNRO")).toString(), row.value(QStringLiteral("DETAIL")).toString(),
                       row.value(QStringLiteral("SUBORC")).toString()}
        .join(QLatin1Char('|'));
}

QString orderNumberText(const kv::report::RowView& row)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(row.value(QStringLiteral("ANO")).toString(), row.value(QStringLiteral("SEMANA")).toString(),
             row.value(QStringLiteral("ORDNRO")).toString(), row.value(QStringLiteral("DETAIL")).toString());
}

QString numberAndSubQuote(const kv::report::RowView& row)
{
    return row.value(QStringLiteral("ORDNRO")).toString() + QLatin1Char(' ')
           + row.value(QStringLiteral("SUBORC")).toString();
}

// A line of blanks to write on.
void writeOn(Band& band, double x, double y, double w) { rule(band, x, y + Line - 0.5, w); }

void checkGrid(Band& band, double x, double y, const QStringList& rows, int columns = 9, double labelWidth = 24,
               double cell = 13)
{
    box(band, x, y, labelWidth + columns * cell, rows.size() * Line);
    for (int r = 0; r < rows.size(); ++r) {
        text(band, rows[r], x + 1, y + r * Line, labelWidth - 1);
        if (r > 0)
            rule(band, x, y + r * Line, labelWidth + columns * cell);
    }
    for (int c = 0; c <= columns; ++c)
        band.addShape(kv::report::ShapeElement::Shape::VerticalLine,
                      QRectF(x + labelWidth + c * cell, y, 0.2, rows.size() * Line));
}

} // namespace

namespace documents {

// The item rows of the documents read where the core left them: in item
// order, or once per queue row (REGISTO order) with the queue's REGISTO and
// the item's index after the item's fields.
class ItemRows : public kv::report::RowSource {
public:
    ItemRows(const OrderDocumentData& data, bool perCopy) : m_data(data), m_perCopy(perCopy)
    {
        const QStringList& fields = m_data.items.fields;
        for (int i = 0; i < fields.size(); ++i)
            m_index.insert(fields[i].toUpper(), i);
        if (m_perCopy) {
            m_index.insert(QStringLiteral("REGISTO"), static_cast<int>(fields.size()));
            m_index.insert(QStringLiteral("ITEMINDEX"), static_cast<int>(fields.size()) + 1);
        }
    }

    bool first() override
    {
        m_at = 0;
        return m_at < count();
    }
    bool next() override
    {
        if (m_at + 1 >= count())
            return false;
        ++m_at;
        return true;
    }
    int fieldCount() const override { return static_cast<int>(m_data.items.fields.size()) + (m_perCopy ? 2 : 0); }
    QString fieldName(int index) const override
    {
        if (index < m_data.items.fields.size())
            return m_data.items.fields[index];
        return index == m_data.items.fields.size() ? QStringLiteral("REGISTO") : QStringLiteral("ITEMINDEX");
    }
    int fieldIndex(const QString& name) const override { return m_index.value(name.toUpper(), -1); }
    QVariant value(int index) const override
    {
        if (count() == 0 || index < 0)
            return {};
        const std::size_t item = m_perCopy ? m_data.copies[m_at].item : m_at;
        const auto& row = m_data.items.rows[item];
        if (static_cast<std::size_t>(index) < row.size())
            return row[static_cast<std::size_t>(index)];
        if (!m_perCopy)
            return {};
        return index == m_data.items.fields.size() ? QVariant(m_data.copies[m_at].registo)
                                                   : QVariant(static_cast<qulonglong>(item));
    }
    using RowView::value;

private:
    std::size_t count() const { return m_perCopy ? m_data.copies.size() : m_data.items.rows.size(); }

    const OrderDocumentData& m_data;
    bool m_perCopy;
    QHash<QString, int> m_index;
    std::size_t m_at = 0;
};

} // namespace documents

struct OrderDocumentReports::Parts {
    const OrderDocumentData& data;
    DocumentLook look;
    ItemRows copies;
    ItemRows items;
    MemoryRowSource current; // the copy being printed, for the bands after its lines
    MemoryRowSource materials{{"CODTAB", "DESIGN", "CONSUMO"}};
    MemoryRowSource subsidiary{{"CODTAB", "DESIGN", "CONSUMO"}};
    MemoryRowSource machines{{"CODTAB", "DESIGN", "TEMPO"}};
    MemoryRowSource manual{{"CODTAB", "DESIGN", "CONSUMO"}};
    MemoryRowSource packaging{{"CODTAB", "DESIGN", "CONSUMO"}};
    Report order{kTitle};
    Report cutting{kTitle};
    Report inspection{QStringLiteral("Emissão de Ordens de Ordens de Fabrico - Registo de Inspecção e Ensaio")};
    Report label{kTitle};

    Parts(const OrderDocumentData& rows, DocumentLook documentLook)
        : data(rows), look(std::move(documentLook)), copies(rows, true), items(rows, false), current(rows.items.fields)
    {
        buildOrder();
        buildCutting();
        buildInspection();
        buildLabel();
    }

    void fillLines(std::size_t item)
    {
        for (MemoryRowSource* source : {&materials, &subsidiary, &machines, &manual, &packaging})
            source->clear();
        current.clear();
        current.append(data.items.rows[item]);
        for (const DocumentConsumptionLine& line : data.consumption[item]) {
            if (line.costClass == QLatin1String("MP"))
                materials.append({line.code, line.designation, line.consumption});
            else if (line.costClass == QLatin1String("PS"))
                subsidiary.append({line.code, line.designation, line.consumption});
            else if (line.costClass == QLatin1String("CM"))
                machines.append({line.code, line.designation, kv::text::hoursMinutesText(line.consumption)});
            else if (line.costClass == QLatin1String("MO"))
                manual.append({line.code, line.designation, line.consumption});
            else if (line.costClass == QLatin1String("EM"))
                packaging.append({line.code, line.designation, line.consumption});
        }
        // Manual operations and packaging print one empty line when there are none.
        if (manual.rowCount() == 0)
            manual.append({QVariant(), QString(), QVariant()});
        if (packaging.rowCount() == 0)
            packaging.append({QVariant(), QString(), QVariant()});
    }

    void orderPageOne(Band& h)
    {
        h.setHeight(144);
        box(h, 0, 0, 190, 7);
        text(h, QStringLiteral("O.F. Nº : "), 1, 1.5, 16).setBold(true);
        h.addExpression([](const kv::report::RowView& r) { return orderNumberText(r); }, QRectF(17, 1.5, 50, Line), {},
                        QStringLiteral("OFNUMERO"))
            .setPointSize(8)
            .setBold(true);
        field(h, QStringLiteral("ITEMKIND"), 70, 1.5, 30).setBold(true);
        pair(h, QStringLiteral("DATA    : "), QStringLiteral("DATAEMI"), 140, 1.5, 16, 30);

        box(h, 0, 8, 190, 14);
        pair(h, QStringLiteral("CLIENTE : "), QStringLiteral("ORC_NOME"), 1, 9, 30, 85);
        pair(h, QStringLiteral("ENC. CLIENTE :"), QStringLiteral("ENC_VOSENC"), 120, 9, 28, 40);
        text(h, QStringLiteral("MORADA : "), 1, 13, 30);
        field(h, QStringLiteral("MORADA"), 31, 13, 85);
        pair(h, QStringLiteral("DATA ENCOM . :"), QStringLiteral("ENC_DATEMI"), 120, 13, 28, 40);
        pair(h, QStringLiteral("LOCAL DE ENTREGA : "), QStringLiteral("ENC_LOCALIDADE"), 1, 17, 30, 85);
        pair(h, QStringLiteral("ORÇAMENTO Nº : "), QStringLiteral("ORC_CODIGO"), 120, 17, 28, 40);

        text(h, QStringLiteral("DESIGNAÇÃO DO TRABALHO "), 1, 24, 80).setBold(true);
        for (int i = 1; i <= 6; ++i)
            field(h, QStringLiteral("ORC_DESIGN%1").arg(i), 1, 24 + i * Line, 95);
        const double rx = 100;
        pair(h, QStringLiteral("N/REFERÊNCIA : "), QStringLiteral("ORC_NOSREF"), rx, 24, 36, 50).setBold(true);
        pair(h, QStringLiteral("Nº DE CORES  : "), QStringLiteral("ORC_NROCORES"), rx, 28, 36, 50);
        pair(h, QStringLiteral("V/ REFERÊNCIA :"), QStringLiteral("ORC_VOSREF"), rx, 32, 36, 50);
        pair(h, QStringLiteral("Nº DE PASSAGENS: "), QStringLiteral("NROENT"), rx, 36, 36, 50).setBold(true);
        text(h, QStringLiteral("MEDIDAS (CxLxA) : "), rx, 40, 36);
        h.addExpression(
             [](const kv::report::RowView& r) {
                 return kv::text::plain(r.value(QStringLiteral("COMPRIM")).toDouble()) + QStringLiteral("x")
                        + kv::text::plain(r.value(QStringLiteral("LARGURA")).toDouble()) + QStringLiteral("x")
                        + kv::text::plain(r.value(QStringLiteral("ALTURA")).toDouble());
             },
             QRectF(rx + 36, 40, 50, Line))
            .setPointSize(8);
        pair(h, QStringLiteral("UNIDADES P/PLANO : "), QStringLiteral("ORC_UNDPLANO"), rx, 44, 36, 50);
        text(h, QStringLiteral("FORMATO PLANO (CxL)  : "), rx, 48, 36);
        for (int n = 1; n <= 2; ++n)
            h.addExpression(
                 [n](const kv::report::RowView& r) {
                     return kv::text::plain(r.value(QStringLiteral("PLNCOMPRIM%1").arg(n)).toDouble()) + QStringLiteral("x")
                            + kv::text::plain(r.value(QStringLiteral("PLNLARGURA%1").arg(n)).toDouble());
                 },
                 QRectF(rx + 36, 48 + (n - 1) * Line, 50, Line))
                .setPointSize(8);
        pair(h, QStringLiteral("Nº DE FOLHAS : "), QStringLiteral("NPLANOS"), rx, 56, 36, 50);

        // Quantity and delivery plan.
        box(h, 0, 62, 95, 34);
        pair(h, QStringLiteral("QUANTIDADE TOTAL "), QStringLiteral("QUANTIDADE"), 1, 63, 32, 30).setBold(true);
        text(h, QStringLiteral("PLANO DE ENTREGAS"), 1, 67, 60).setBold(true).setUnderline(true);
        text(h, QStringLiteral("QUANTIDADE"), 1, 71, 30);
        text(h, QStringLiteral("PRAZO ENT."), 40, 71, 30);
        for (int k = 1; k <= 5; ++k) {
            const double y = 75 + (k - 1) * Line;
            field(h, QStringLiteral("QTD%1").arg(k), 1, y, 30, Line, quantityFormat)
                .setAlignment(Qt::AlignRight | Qt::AlignTop);
            field(h, k == 1 ? QStringLiteral("DATAENT") : QStringLiteral("DATENT%1T").arg(k), 40, y, 30);
        }

        box(h, 96, 62, 94, 34);
        pair(h, QStringLiteral(" NOVO ?  :"), QStringLiteral("NOVO"), 97, 63, 20, 15).setBold(true);
        pair(h, QStringLiteral("CORTANTE Nº :"), QStringLiteral("CORTANTENRO"), 97, 67, 24, 60);
        pair(h, QStringLiteral("REPETIÇÃO : "), QStringLiteral("REPETICAO"), 97, 71, 24, 10);
        pair(h, QStringLiteral("ALTERAÇÃO : "), QStringLiteral("REPETICAOALTER"), 97, 75, 24, 10);
        field(h, QStringLiteral("CORTANTESIMALTERNRO"), 133, 75, 55);

        // Pre-press items and the eleven finishing slots.
        box(h, 0, 97, 190, 38);
        pair(h, QStringLiteral("CD : "), QStringLiteral("CD"), 1, 98, 20, 70);
        pair(h, QStringLiteral("MODELO :"), QStringLiteral("MODELO"), 96, 98, 20, 70);
        pair(h, QStringLiteral("FOTOLITO : "), QStringLiteral("FOTOLITOS"), 1, 102, 20, 70);
        pair(h, QStringLiteral("PROVAS : "), QStringLiteral("PROVAS"), 96, 102, 20, 70);
        // Slot order: first column rows 1-2, second column rows 1-3, first
        // column row 5, first column rows 3-4, third column rows 1-3.
        struct Place {
            int column;
            int row;
        };
        const Place places[11] = {{0, 1}, {0, 2}, {1, 1}, {1, 2}, {1, 3}, {0, 5},
                                  {0, 3}, {0, 4}, {2, 1}, {2, 2}, {2, 3}};
        for (int s = 0; s < 11; ++s) {
            const double x = 2 + places[s].column * 62;
            const double y = 106.5 + (places[s].row - 1) * 5.5;
            field(h, QStringLiteral("SLOT%1").arg(s + 1), x, y, 58, 5).setAlignment(Qt::AlignCenter);
        }

        // The heading row of the raw materials.
        box(h, 0, 137, 190, 6);
        const QStringList heads{"CÓD.", "MATÉRIAS PRIMAS ", "LOTE", "PREV. (Kgs)", "REALIZADO (Kgs)", "TOTAL FOLHAS",
                                "RÚBRICA"};
        const double xs[] = {1, 12, 76, 96, 117, 145, 170};
        const double ws[] = {10, 62, 18, 20, 27, 24, 20};
        for (int i = 0; i < heads.size(); ++i)
            text(h, heads[i], xs[i], 138, ws[i]).setBold(true);

        h.setBeforePrint([](BandContext& context) {
            for (int s = 1; s <= 11; ++s) {
                auto* slot = dynamic_cast<kv::report::TextElement*>(context.band.find(QStringLiteral("SLOT%1").arg(s)));
                const bool filled = !context.value(QStringLiteral("SLOT%1").arg(s)).toString().isEmpty();
                slot->setBackground(filled ? slotShade : QColor(Qt::white));
            }
        });
    }

    void orderPageTwo(Band& h)
    {
        h.setHeight(30).setNewPage(true);
        pair(h, QStringLiteral("DATA    : "), QStringLiteral("DATAEMI"), 140, 0, 16, 30);
        text(h, QStringLiteral("O.F. Nº : "), 1, 0, 16).setBold(true);
        h.addExpression([](const kv::report::RowView& r) { return orderNumberText(r); }, QRectF(17, 0, 50, Line))
            .setPointSize(8)
            .setBold(true);
        field(h, QStringLiteral("ITEMKIND"), 70, 0, 30).setBold(true);
        pair(h, QStringLiteral("ENC. CLIENTE :"), QStringLiteral("ENC_VOSENC"), 1, 5, 28, 60);
        pair(h, QStringLiteral("CLIENTE : "), QStringLiteral("ORC_NOME"), 96, 5, 20, 74);
        pair(h, QStringLiteral("DATA ENCOM . :"), QStringLiteral("ENC_DATEMI"), 1, 9, 28, 60);
        pair(h, QStringLiteral("N/ REFER. : "), QStringLiteral("ORC_NOSREF"), 96, 9, 20, 74);
        pair(h, QStringLiteral("V/ REFERÊNCIA :"), QStringLiteral("ORC_VOSREF"), 1, 13, 28, 60);
        pair(h, QStringLiteral("ARTIGO : "), QStringLiteral("ORC_DESIGN1"), 96, 13, 20, 74);
        box(h, 0, 20, 190, 9);
        text(h, QStringLiteral("OPERAÇÕES MANUAIS"), 1, 22, 70).setBold(true);
        text(h, QStringLiteral("QTD"), 74, 22, 14).setBold(true);
        text(h, QStringLiteral("TMP.PREV"), 90, 20.5, 22).setBold(true);
        text(h, QStringLiteral("(hh:mm)"), 90, 24.5, 22);
        text(h, QStringLiteral("TMP.REAL"), 114, 20.5, 22).setBold(true);
        text(h, QStringLiteral("(hh:mm)"), 114, 24.5, 22);
        text(h, QStringLiteral("DATA"), 138, 22, 22).setBold(true);
        text(h, QStringLiteral("RÚBRICA"), 162, 22, 26).setBold(true);
    }

    void orderPacking(Band& p)
    {
        p.setHeight(30);
        box(p, 0, 1, 94, 27);
        box(p, 96, 1, 94, 27);
        text(p, QStringLiteral("QUANTIDADE DE EMBALAGENS EXTERIORES "), 1, 2, 90).setBold(true);
        text(p, QStringLiteral("QUANTIDADE DE PALETES "), 97, 2, 90).setBold(true);
        for (int n = 1; n <= 4; ++n) {
            const double y = 2 + n * 5;
            for (const auto& [kind, x] : {std::pair<const char*, double>{"EXT", 1}, {"PLT", 97}}) {
                const QString base = QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(n);
                field(p, base + QLatin1Char('A'), x, y, 18).setAlignment(Qt::AlignRight | Qt::AlignTop);
                text(p, QStringLiteral(" a "), x + 19, y, 6);
                field(p, base + QLatin1Char('B'), x + 25, y, 18).setAlignment(Qt::AlignRight | Qt::AlignTop);
                text(p, QStringLiteral(" = "), x + 44, y, 6);
                field(p, base + QLatin1Char('T'), x + 50, y, 22).setAlignment(Qt::AlignRight | Qt::AlignTop);
            }
        }

        Band& c = p.child();
        c.setHeight(78);
        text(c, QStringLiteral("QUANTIDADE"), 1, 1, 40).setBold(true).setItalic(true).setUnderline(true);
        text(c, QStringLiteral("A PRODUZIR "), 1, 6, 22);
        field(c, QStringLiteral("QUANTIDADE"), 23, 6, 28, Line, quantityFormat);
        field(c, QStringLiteral("UNVEND"), 52, 6, 12);
        text(c, QStringLiteral("PRODUZIDA"), 70, 6, 22);
        writeOn(c, 92, 6, 40);
        text(c, QStringLiteral("SEMANA /DATA"), 1, 11, 40).setBold(true);
        text(c, QStringLiteral("PRODUÇÃO : "), 1, 15, 34);
        field(c, QStringLiteral("SEMANAPROD"), 35, 15, 8);
        field(c, QStringLiteral("DATAPROD"), 44, 15, 22);
        text(c, QStringLiteral("PRAZO DE ENTREGA : "), 1, 19, 34);
        field(c, QStringLiteral("SEMANA"), 35, 19, 8);
        field(c, QStringLiteral("DATAENT"), 44, 19, 22);
        for (int k = 2; k <= 5; ++k)
            field(c, QStringLiteral("DATENT%1T").arg(k), 44 + (k - 1) * 24, 19, 22);
        text(c, QStringLiteral("QUANTIDADES : "), 1, 23, 34);
        for (int k = 1; k <= 5; ++k)
            field(c, QStringLiteral("QTD%1").arg(k), 44 + (k - 1) * 24, 23, 22, Line, quantityFormat);
        box(c, 0, 28, 190, 16);
        text(c, QStringLiteral("E N T R E G A S "), 1, 28.5, 60).setBold(true);
        const QStringList deliveryRows{"QUANTIDADE :", "GUIA REMESSA Nº :", "DATA :"};
        for (int r = 0; r < deliveryRows.size(); ++r) {
            text(c, deliveryRows[r], 1, 32 + r * Line, 34);
            for (int k = 0; k < 5; ++k)
                writeOn(c, 44 + k * 24, 32 + r * Line, 22);
        }
        text(c, QStringLiteral("INSTRUÇÕES : "), 1, 46, 30).setBold(true);
        for (int i = 1; i <= 4; ++i)
            field(c, QStringLiteral("OBSERV%1").arg(i), 31, 46 + (i - 1) * Line, 158);
        box(c, 0, 63, 190, 15);
        text(c, QStringLiteral("AVISO :"), 1, 63.5, 20).setBold(true).setUnderline(true);
        const QStringList warning{
            "EXIGE-SE O RIGOROSO PREENCHIMENTO DESTA FICHA QUE DEVE ANDAR SEMPRE JUNTA AO ORIGINAL, PROVAS E PEDIDOS, "
            "DEVENDO",
            "O IMPRESSOR JUNTAR UM EXE. DA TIRAGEM DEPOIS DO TRABALHO EXECUTADO À FOLHA DE IMPRESSÃO DA 1ª APROVAÇÃO.",
            "O CHEFE DE PRODUÇÃO DEVE JUNTAR UM EXEMPLAR COM ACABAMENTO FINAL À O.F.."};
        for (int i = 0; i < warning.size(); ++i)
            text(c, warning[i], 1, 67.5 + i * 3.3, 188, 3.3).setPointSize(6);
    }

    void buildOrder()
    {
        setUpDocument(order);
        DataBand& detail = order.detail();
        detail.setSource(&copies).setHeight(0);
        detail.addGroup(QStringLiteral("REGISTO"), QStringLiteral("QRGroup1")).setNewPage(true);
        orderPageOne(detail.groups().front()->header());
        detail.setBeforePrint([this](BandContext& context) {
            fillLines(static_cast<std::size_t>(context.value(QStringLiteral("ITEMINDEX")).toULongLong()));
        });

        DataBand& lines = detail.addSubDetail(&materials, QStringLiteral("MateriasPrimas"));
        lines.setHeight(5);
        field(lines, QStringLiteral("CODTAB"), 1, 0.5, 10);
        field(lines, QStringLiteral("DESIGN"), 12, 0.5, 64);
        writeOn(lines, 78, 0.5, 20);
        field(lines, QStringLiteral("CONSUMO"), 100, 0.5, 20).setAlignment(Qt::AlignRight | Qt::AlignTop);
        writeOn(lines, 122, 0.5, 22);
        writeOn(lines, 146, 0.5, 22);
        writeOn(lines, 170, 0.5, 20);

        DataBand& subs = detail.addSubDetail(&subsidiary, QStringLiteral("ProdutosSubsidiarios"));
        Band& subsHead = subs.header();
        subsHead.setHeight(7);
        box(subsHead, 0, 1, 190, 6);
        text(subsHead, QStringLiteral("CÓDIGO"), 1, 2, 12).setBold(true);
        text(subsHead, QStringLiteral("PRODUTOS SUBSIDIÁRIOS "), 14, 2, 90).setBold(true);
        text(subsHead, QStringLiteral("DATA"), 122, 2, 22).setBold(true);
        text(subsHead, QStringLiteral("RÚBRICA"), 150, 2, 30).setBold(true);
        subs.setHeight(5);
        field(subs, QStringLiteral("CODTAB"), 1, 0.5, 12);
        field(subs, QStringLiteral("DESIGN"), 14, 0.5, 100);
        text(subs, QStringLiteral("___/___/___"), 122, 0.5, 22);
        writeOn(subs, 150, 0.5, 38);

        DataBand& times = detail.addSubDetail(&machines, QStringLiteral("Maquinas"));
        Band& timesHead = times.header();
        timesHead.setHeight(10);
        box(timesHead, 0, 1, 190, 9);
        text(timesHead, QStringLiteral("MÁQUINAS"), 1, 3.5, 60).setBold(true);
        text(timesHead, QStringLiteral("QTD."), 64, 3.5, 14).setBold(true);
        text(timesHead, QStringLiteral("DATA"), 80, 3.5, 22).setBold(true);
        text(timesHead, QStringLiteral("TMP.PREV"), 104, 1.5, 22).setBold(true);
        text(timesHead, QStringLiteral("(hh:mm)"), 104, 5.5, 22);
        text(timesHead, QStringLiteral("TMP.REAL"), 128, 1.5, 22).setBold(true);
        text(timesHead, QStringLiteral("(hh:mm)"), 128, 5.5, 22);
        text(timesHead, QStringLiteral("RÚBRICA"), 160, 3.5, 28).setBold(true);
        times.setHeight(9);
        field(times, QStringLiteral("DESIGN"), 1, 0.5, 60, 8).setWordWrap(true);
        writeOn(times, 64, 0.5, 14);
        text(times, QStringLiteral("___/___/___"), 80, 0.5, 22);
        text(times, QStringLiteral("___/___/___"), 80, 4.5, 22);
        field(times, QStringLiteral("TEMPO"), 104, 0.5, 20, Line).setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        text(times, QStringLiteral("____:____"), 128, 0.5, 22);
        text(times, QStringLiteral("____:____"), 128, 4.5, 22);
        writeOn(times, 160, 0.5, 28);

        DataBand& pageTwo = detail.addSubDetail(&current, QStringLiteral("Pagina2"));
        orderPageTwo(pageTwo);

        DataBand& operations = detail.addSubDetail(&manual, QStringLiteral("OperacoesManuais"));
        operations.setHeight(5);
        field(operations, QStringLiteral("DESIGN"), 1, 0.5, 70);
        writeOn(operations, 74, 0.5, 14);
        writeOn(operations, 114, 0.5, 22);
        text(operations, QStringLiteral("___/___/___"), 138, 0.5, 22);
        writeOn(operations, 162, 0.5, 26);

        DataBand& packs = detail.addSubDetail(&packaging, QStringLiteral("Embalagem"));
        Band& packsHead = packs.header();
        packsHead.setHeight(8);
        box(packsHead, 0, 1, 190, 6);
        text(packsHead, QStringLiteral("TIPO DE EMBALAGEM"), 1, 2, 70).setBold(true);
        text(packsHead, QStringLiteral("Qtd"), 74, 2, 14).setBold(true);
        text(packsHead, QStringLiteral("(hh:mm)"), 90, 2, 22).setBold(true);
        text(packsHead, QStringLiteral("DATA"), 138, 2, 22).setBold(true);
        text(packsHead, QStringLiteral("RÚBRICA"), 162, 2, 26).setBold(true);
        packs.setHeight(5);
        field(packs, QStringLiteral("DESIGN"), 1, 0.5, 70);
        writeOn(packs, 74, 0.5, 14);
        text(packs, QStringLiteral("___/___/___"), 138, 0.5, 22);
        writeOn(packs, 162, 0.5, 26);

        DataBand& packing = detail.addSubDetail(&current, QStringLiteral("QRBand5"));
        orderPacking(packing);

        addFooter(order, look.company, look.makerLine, QStringLiteral("Mod.033/1"), true);
    }

    void buildCutting()
    {
        setUpDocument(cutting);
        DataBand& detail = cutting.detail();
        detail.setSource(&items).setHeight(0);
        Band& p = detail.addGroup(&orderItemKey, QStringLiteral("QRGroup1")).setNewPage(true).header();
        p.setHeight(157);
        text(p, look.company, 0, 0, 190, 7).setPointSize(15);
        text(p, QStringLiteral("Requisição Para Corte de Matéria Prima    nº _____________"), 0, 7, 190, 7)
            .setPointSize(15);
        box(p, 0, 16, 190, 10);
        text(p, QStringLiteral("Nº O.F.  : "), 1, 17, 20);
        p.addExpression([](const kv::report::RowView& r) { return numberAndSubQuote(r); }, QRectF(21, 17, 40, Line))
            .setPointSize(8);
        pair(p, QStringLiteral("Requisição nº : "), QStringLiteral("ENC_VOSENC"), 96, 17, 26, 60);
        pair(p, QStringLiteral("Data : "), QStringLiteral("DATAEMI"), 1, 21, 20, 40);
        text(p, QStringLiteral("Cliente : "), 96, 21, 26);
        field(p, QStringLiteral("CLINRO"), 122, 21, 14);
        field(p, QStringLiteral("CLISIGLA"), 137, 21, 50);
        box(p, 0, 28, 190, 10);
        pair(p, QStringLiteral("Designação do Trabalho : "), QStringLiteral("DESIGNACAO"), 1, 29, 40, 100);
        pair(p, QStringLiteral("N.Cod.: "), QStringLiteral("ARTIGO"), 1, 33, 40, 50);
        pair(p, QStringLiteral("Data  Entrega : "), QStringLiteral("DATAENT"), 96, 33, 26, 40);
        const QStringList ticks{"Micro Branco ", "Micro Castanho", "Micro Especial", "Mini-Micro", "Cartolina ",
                                "Outro",         "Canal B Castanho", "Canal B Branco"};
        for (int i = 0; i < ticks.size(); ++i) {
            const double x = 1 + (i / 3) * 63;
            const double y = 41 + (i % 3) * 5;
            box(p, x, y, 3.5, 3.5);
            text(p, ticks[i], x + 5, y, 55);
        }
        rule(p, 0, 57, 190);
        double y = 60;
        pair(p, QStringLiteral("Gramagem da Cartolina : "), QStringLiteral("GRAMAGEM"), 1, y, 45, 30)
            .setFormat(grammageFormat);
        y += 6;
        text(p, QStringLiteral("Fornecedor : "), 1, y, 45);
        writeOn(p, 46, y, 100);
        y += 6;
        text(p, QStringLiteral("Pedido nº : "), 1, y, 45);
        writeOn(p, 46, y, 40);
        text(p, QStringLiteral("Bobine nº : "), 96, y, 30);
        writeOn(p, 126, y, 40);
        y += 6;
        pair(p, QStringLiteral("Bobine de: "), QStringLiteral("PLNCOMPRIM1"), 1, y, 45, 30);
        y += 6;
        text(p, QStringLiteral("Lote Interno nº : "), 1, y, 45);
        writeOn(p, 46, y, 50);
        text(p, QStringLiteral("( a preencher pelo operador )"), 100, y, 60);
        y += 6;
        pair(p, QStringLiteral("Quantidade Total de Folhas : "), QStringLiteral("NPLANOS"), 1, y, 45, 30);
        y += 6;
        text(p, QStringLiteral("Medida a Aparar ( guilhotina )  : "), 1, y, 50);
        p.addExpression(
             [](const kv::report::RowView& r) {
                 return kv::text::plain(r.value(QStringLiteral("PLNCOMPRIM1")).toDouble()) + QStringLiteral(" x ")
                        + kv::text::plain(r.value(QStringLiteral("PLNLARGURA1")).toDouble());
             },
             QRectF(51, y, 50, Line))
            .setPointSize(8);
        y += 6;
        text(p, QStringLiteral("Cortadeira / Guilhotina : "), 1, y, 45);
        text(p, QStringLiteral("____:____ Hrs"), 46, y, 40);
        y += 8;
        box(p, 0, y, 190, 10);
        text(p, QStringLiteral("Operador  __________________________________"), 1, y + 3, 90);
        text(p, QStringLiteral("Data  ____/_____/______"), 110, y + 3, 70);
        addFooter(cutting, look.company, look.makerLine, QStringLiteral("Mod.003/4"), false);
    }

    void inspectionHeading(Band& b)
    {
        box(b, 0, 0, 70, 8);
        text(b, look.company, 1, 2, 68).setBold(true);
        box(b, 71, 0, 70, 8);
        text(b, QStringLiteral("REGISTO DE INSPECÇÃO E ENSAIO"), 72, 2, 68).setBold(true);
        box(b, 142, 0, 48, 8);
        text(b, QStringLiteral("O.F.Nº  : "), 143, 2, 16);
        b.addExpression([](const kv::report::RowView& r) { return numberAndSubQuote(r); }, QRectF(159, 2, 30, Line))
            .setPointSize(8);
        const QStringList kinds{"CAIXA", "INTERIOR", "TAMPO", "FUNDO", "PLANO", "TABULEIRO", "MANGA"};
        for (int i = 0; i < kinds.size(); ++i) {
            box(b, 1 + i * 27, 10, 3.5, 3.5);
            text(b, kinds[i], 6 + i * 27, 10, 21);
        }
    }

    void buildInspection()
    {
        setUpDocument(inspection);
        DataBand& detail = inspection.detail();
        detail.setSource(&items);
        Band& p1 = detail.addGroup(&orderItemKey, QStringLiteral("QRGroup1")).setNewPage(true).header();
        p1.setHeight(230);
        inspectionHeading(p1);
        double y = 17;
        const auto section = [&](Band& b, const QString& title) {
            text(b, title, 0, y, 100).setBold(true).setUnderline(true);
            y += 5;
        };
        section(p1, QStringLiteral("PRÉ-IMPRESSÃO"));
        checkGrid(p1, 0, y, {"", "Aprovação - Prova de Côr", "Prints e Chapas"}, 3, 50, 30);
        text(p1, QStringLiteral("Data"), 51, y, 28);
        text(p1, QStringLiteral("Hora"), 81, y, 28);
        text(p1, QStringLiteral("Rubrica / Observação"), 111, y, 28);
        y += 14;
        section(p1, QStringLiteral("SUBCONTRATO"));
        checkGrid(p1, 0, y, {"", ""}, 3, 50, 30);
        text(p1, QStringLiteral("Data"), 51, y, 28);
        text(p1, QStringLiteral("Hora"), 81, y, 28);
        text(p1, QStringLiteral("Rubrica / Observação"), 111, y, 28);
        y += 10;
        section(p1, QStringLiteral("IMPRESSÃO"));
        checkGrid(p1, 0, y,
                  {"", "Preparação - ", "Colocação de chapas + Acerto", "Lav. Máquina", "Aprovação Inicial - ",
                   "Côr / Verniz", "Verniz", "Paragem - ", "Acerto Trabalho  -", "Avaria mecânica / eléctrica,",
                   "Mud.cautchu, chapa estragada, etc"},
                  5, 50, 20);
        const QStringList printHeads{"Data", "Início", "Término", "Rubrica ", "Parada"};
        for (int i = 0; i < printHeads.size(); ++i)
            text(p1, printHeads[i], 51 + i * 20, y, 19);
        y += 46;
        for (int g = 0; g < 3; ++g) {
            checkGrid(p1, 0, y, {"Hora", "Côr/Verniz", "Verniz", "Acerto", "Rubrica", "Data"});
            y += 26;
        }
        section(p1, QStringLiteral("CONTRACOLAGEM"));
        text(p1, QStringLiteral("FINAL IMPRESSÃO : HORA ______________    DATA ____________"), 0, y, 150);
        y += 5;
        text(p1,
             QStringLiteral("APROVAÇÃO INICIAL : _____________________                                        HORA "
                            "______________    DATA ____________"),
             0, y, 190);
        y += 6;
        for (int g = 0; g < 2; ++g) {
            checkGrid(p1, 0, y, {"Hora", "Resultado", "Rubrica", "Data"});
            y += 18;
        }

        Band& p2 = detail;
        p2.setNewPage(true).setHeight(230);
        inspectionHeading(p2);
        y = 17;
        section(p2, QStringLiteral("CORTE E VINCO"));
        box(p2, 0, y, 190, 9);
        text(p2, QStringLiteral("MONTAGEM DE CORTANTE        E DESCASQUE"), 1, y + 0.5, 70).setBold(true);
        const QStringList cutRow{"Data", "Hora Início", "Hora Fim"};
        const QStringList cutBlank{"___/___/_____", "_____:_____", "_____:_____"};
        for (int i = 0; i < 3; ++i) {
            text(p2, cutRow[i], 72 + i * 24, y + 0.5, 22);
            text(p2, cutBlank[i], 72 + i * 24, y + 4.5, 22);
        }
        text(p2, QStringLiteral("Rúbrica : _________________________________"), 1, y + 4.5, 70);
        y += 11;
        for (int g = 0; g < 2; ++g) {
            checkGrid(p2, 0, y, {"Hora", "Corte/Vinco", "Rubrica", "Data"});
            y += 18;
        }
        section(p2, QStringLiteral("COLAGEM AUTOMÁTICA"));
        text(p2, QStringLiteral("APROVAÇÃO INICIAL : _____________________"), 0, y, 90);
        text(p2, QStringLiteral("HORA ______________    DATA ____________"), 100, y, 90);
        y += 6;
        section(p2, QStringLiteral("COLAGEM MANUAL"));
        box(p2, 0, y, 190, 5);
        text(p2, QStringLiteral("ACERTO DE COLAGEM"), 1, y + 0.5, 80).setBold(true);
        y += 6;
        checkGrid(p2, 0, y, {"Hora", "Colagem", "Alinhamento", "Janela", "Rubrica", "Data"});
        y += 26;
        for (const QString& title : {QStringLiteral("COLAGEM JANELA PVC"), QStringLiteral("COLAGEM AUTOMÁTICA JANELA PVC")}) {
            section(p2, title);
            text(p2, QStringLiteral("APROVAÇÃO INICIAL : _____________________"), 0, y, 90);
            text(p2, QStringLiteral("HORA ______________    DATA ____________"), 100, y, 90);
            y += 6;
        }
        section(p2, QStringLiteral("ACERTO DE COLAGEM"));
        for (int g = 0; g < 2; ++g) {
            checkGrid(p2, 0, y, {"Hora", "Colagem", "Rubrica", "Data"});
            y += 18;
        }
        addFooter(inspection, look.company, look.makerLine, QStringLiteral("Mod.012/5"), false);
    }

    void buildLabel()
    {
        setUpDocument(label);
        DataBand& detail = label.detail();
        detail.setSource(&items).setHeight(0);
        Band& p = detail.addGroup(&orderItemKey, QStringLiteral("QRGroup1")).setNewPage(true).header();
        p.setHeight(200);
        if (!look.logoFile.isEmpty() && QFileInfo::exists(look.logoFile))
            p.addImage(look.logoFile, QRectF(0, 0, 190, 30), QStringLiteral("QRImage1"));
        box(p, 0, 32, 130, 12);
        text(p, QStringLiteral("CLIENTE :"), 1, 33, 20).setBold(true);
        field(p, QStringLiteral("ENC_CLINOM"), 22, 33, 106, 8).setPointSize(13).setBold(true);
        box(p, 131, 32, 59, 12);
        text(p, QStringLiteral("DATA EMB.: "), 132, 33, 20).setBold(true);
        text(p, QStringLiteral("___/___/____"), 152, 37, 36);
        struct Cell {
            const char* title;
            const char* caption;
            std::function<QVariant(const kv::report::RowView&)> value;
        };
        const auto column = [](const char* name) {
            return [name](const kv::report::RowView& r) { return r.value(QLatin1String(name)); };
        };
        const Cell cells[8] = {
            {"CÓDIGO DE MATERIAL : ", "", column("DESIGNACAO")},
            {"REFERÊNCIA : ", "Nº : ", column("ARTIGO")},
            {"ORDEM DE FABRICO / LOTE : ", "", [](const kv::report::RowView& r) { return numberAndSubQuote(r); }},
            {"MEDIDAS : ", "",
             [](const kv::report::RowView& r) {
                 return kv::text::plain(r.value(QStringLiteral("COMPRIM")).toDouble()) + QStringLiteral(" x ")
                        + kv::text::plain(r.value(QStringLiteral("LARGURA")).toDouble()) + QStringLiteral(" x ")
                        + kv::text::plain(r.value(QStringLiteral("ALTURA")).toDouble());
             }},
            {"QUANTIDADE ATADO : ", "", nullptr},
            {"ORDEM DE COMPRA : ", "", column("ENC_VOSENC")},
            {"QUANTIDADE : ", "", nullptr},
            {"GUIA DE REMESSA : ", "", nullptr}};
        for (int i = 0; i < 8; ++i) {
            const double x = (i % 2) * 96;
            const double y = 46 + (i / 2) * 30;
            box(p, x, y, 94, 28);
            box(p, x, y, 94, 6);
            text(p, QString::fromUtf8(cells[i].title), x + 1, y + 1, 90).setBold(true);
            const QString caption = QString::fromUtf8(cells[i].caption);
            if (!caption.isEmpty())
                text(p, caption, x + 1, y + 12, 10).setPointSize(12);
            if (cells[i].value)
                p.addExpression(cells[i].value, QRectF(x + 1 + (caption.isEmpty() ? 0 : 10), y + 10, 90, 10))
                    .setPointSize(12)
                    .setBold(true);
        }
        box(p, 168, 168, 22, 6);
        text(p, QStringLiteral("Mod.005/4"), 169, 169, 20).setPointSize(7);
    }
};

OrderDocumentReports::OrderDocumentReports(const OrderDocumentData& data, DocumentLook look)
    : d(std::make_unique<Parts>(data, std::move(look)))
{
}

OrderDocumentReports::~OrderDocumentReports() = default;

kv::report::Document OrderDocumentReports::render()
{
    return kv::report::ReportEngine::render({&d->order, &d->cutting, &d->inspection, &d->label},
                                            kv::report::ReportEngine::PageNumbers::ThroughJob);
}

void OrderDocumentReports::preview(QWidget* parent) { showDocuments(render(), kTitle, parent); }

} // namespace kv::production
