#include "production/print/OrderDocumentReports.h"

#include "production/print/DocumentParts.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/NumberText.h"

#include <QFileInfo>

namespace kv::production {

using kv::report::Band;
using kv::report::DataBand;
using kv::report::MemoryRowSource;
using kv::report::Report;
using namespace documents;

const QString ModelTDocumentReport::kClass = QStringLiteral("TORCFPR106CONT");

namespace {

QString modelTNumber(const kv::report::RowView& r)
{
    return r.value(QStringLiteral("ORDNRO")).toString() + QLatin1Char(' ') + r.value(QStringLiteral("SUBORC")).toString();
}

// Four "Inspecção" rows with their ticks, then the signatures.
double controls(Band& b, double x, double y)
{
    for (int i = 0; i < 4; ++i) {
        text(b, QStringLiteral("Inspecção"), x, y, 18);
        box(b, x + 19, y + 0.5, 3, 3);
        text(b, QStringLiteral("OK"), x + 23, y, 7);
        box(b, x + 30, y + 0.5, 3, 3);
        text(b, QStringLiteral("NOK"), x + 34, y, 8);
        text(b, QStringLiteral("Hora : _________"), x + 43, y, 28);
        y += Line;
    }
    text(b, QStringLiteral("Executado _______________"), x, y, 42);
    text(b, QStringLiteral("Verificado _______________"), x + 44, y, 44);
    return y + Line;
}

void heading(Band& b, const QString& logoFile, const QString& pageText, const QString& dateField)
{
    if (!logoFile.isEmpty() && QFileInfo::exists(logoFile))
        b.addImage(logoFile, QRectF(0, 0, 40, 16), QStringLiteral("QRImage1")).setKeepAspect(true);
    text(b, QStringLiteral("ORDEM DE FABRICO"), 60, 1, 70, 7).setPointSize(14).setItalic(true).setUnderline(true);
    text(b, QStringLiteral("Página :"), 150, 1, 16);
    text(b, pageText, 166, 1, 10);
    box(b, 60, 9, 130, 7);
    text(b, QStringLiteral("Nº O.F.  : "), 61, 10.5, 18);
    b.addExpression(&modelTNumber, QRectF(79, 10.5, 30, Line)).setPointSize(8).setBold(true);
    field(b, QStringLiteral("ITEMKIND"), 112, 10.5, 30).setBold(true);
    pair(b, QStringLiteral("Data : "), dateField, 145, 10.5, 12, 30);
}

} // namespace

struct ModelTDocumentReport::Parts {
    DocumentLook look;
    MemoryRowSource rows;
    Report report{OrderDocumentReports::kTitle};

    Parts(const DocumentRows& data, DocumentLook documentLook) : look(std::move(documentLook)), rows(data.fields)
    {
        for (const auto& row : data.rows)
            rows.append(row);
        setUpDocument(report);
        DataBand& detail = report.detail();
        detail.setSource(&rows);
        Band& p1 = detail.addGroup(QStringLiteral("REGISTO"), QStringLiteral("QRGroup1")).setNewPage(true).header();
        pageOne(p1);
        detail.setNewPage(true);
        pageTwo(detail);
        addFooter(report, look.company, look.makerLine, QStringLiteral("CC.039/DQ.0"), false);
    }

    void pageOne(Band& b)
    {
        b.setHeight(255);
        heading(b, look.logoFile, QStringLiteral(" 1 "), QStringLiteral("DATAPROD"));
        box(b, 0, 18, 62, 10);
        pair(b, QStringLiteral("Nº Encomenda :"), QStringLiteral("ORDNRO"), 1, 19, 26, 34);
        pair(b, QStringLiteral("Data  Entrega : "), QStringLiteral("DATAENT"), 1, 23, 26, 34);
        box(b, 64, 18, 62, 10);
        pair(b, QStringLiteral("Nº Orçamento : "), QStringLiteral("ORCNRO"), 65, 19, 26, 34);
        pair(b, QStringLiteral("Data : "), QStringLiteral("ORC_DATEMI"), 65, 23, 26, 34);
        box(b, 128, 18, 62, 10);
        text(b, QStringLiteral("Cliente : "), 129, 19, 16);
        field(b, QStringLiteral("CLINRO"), 145, 19, 14);
        field(b, QStringLiteral("CLISIGLA"), 129, 23, 60);

        text(b, QStringLiteral("Identificação do trabalho"), 0, 30, 80).setBold(true).setUnderline(true);
        pair(b, QStringLiteral("Código : "), QStringLiteral("ARTIGO"), 1, 35, 30, 60);
        pair(b, QStringLiteral("Artigo : "), QStringLiteral("DESIGNACAO"), 1, 39, 30, 120);
        pair(b, QStringLiteral("Quantidade : "), QStringLiteral("QUANTIDADE"), 1, 43, 30, 40);
        text(b, QStringLiteral("Medidas (CxLxA) : "), 1, 47, 30);
        b.addExpression(
             [](const kv::report::RowView& r) {
                 return kv::text::plain(r.value(QStringLiteral("ORC_COMPRIM")).toDouble()) + QStringLiteral(" x ")
                        + kv::text::plain(r.value(QStringLiteral("ORC_LARGURA")).toDouble()) + QStringLiteral(" x ")
                        + kv::text::plain(r.value(QStringLiteral("ORC_ALTURA")).toDouble());
             },
             QRectF(31, 47, 60, Line))
            .setPointSize(8);
        pair(b, QStringLiteral("Observações : "), QStringLiteral("OBSERV"), 1, 51, 30, 158);

        double y = 57;
        const auto section = [&](const QString& title, double height) {
            box(b, 0, y, 190, height);
            text(b, title, 1, y + 0.5, 60).setBold(true);
            text(b, QStringLiteral("Controlos a efectuar ( * )"), 102, y + 0.5, 60).setBold(true);
            controls(b, 102, y + 5);
            const double top = y + 5;
            y += height + 1;
            return top;
        };
        double top = section(QStringLiteral("Contracolagem "), 40);
        text(b, QStringLiteral("Medidas do Plano : "), 1, top, 30);
        b.addExpression(
             [](const kv::report::RowView& r) {
                 return kv::text::plain(r.value(QStringLiteral("PLCOMPRI")).toDouble()) + QStringLiteral(" x ")
                        + kv::text::plain(r.value(QStringLiteral("PLLARGUR")).toDouble());
             },
             QRectF(31, top, 40, Line))
            .setPointSize(8);
        text(b, QStringLiteral("Matérias Primas : "), 1, top + 4, 30);
        for (int i = 1; i <= 5; ++i)
            field(b, QStringLiteral("MAT%1").arg(i), 31, top + 4 + (i - 1) * Line, 68);
        pair(b, QStringLiteral("Nº Planos"), QStringLiteral("NPLANOS"), 1, top + 24, 30, 30);
        pair(b, QStringLiteral("Observações : "), QStringLiteral("CCOL_OBS"), 1, top + 28, 22, 77);
        top = section(QStringLiteral("Corte e Vinco"), 26);
        pair(b, QStringLiteral("Nº do Cortante : "), QStringLiteral("CORTANTE"), 1, top, 30, 40);
        pair(b, QStringLiteral("Observações "), QStringLiteral("CVINCO_OBS"), 1, top + 4, 22, 77);
        top = section(QStringLiteral("Colagem"), 26);
        text(b, QStringLiteral("Matérias Primas : "), 1, top, 30);
        field(b, QStringLiteral("COLA1"), 31, top, 68);
        field(b, QStringLiteral("COLA2"), 31, top + 4, 68);
        pair(b, QStringLiteral("Observações "), QStringLiteral("COL_OBS"), 1, top + 8, 22, 77);
        top = section(QStringLiteral("Fecho de Caixas"), 26);
        pair(b, QStringLiteral("Observações "), QStringLiteral("FECHO_OBS"), 1, top, 22, 77);
        top = section(QStringLiteral("Acabamentos e Embalamento"), 26);
        pair(b, QStringLiteral("Tipo de Acabamento "), QStringLiteral("ACAB_OBS"), 1, top, 32, 67);
        pair(b, QStringLiteral("Paletização"), QStringLiteral("PLT_OBS"), 1, top + 4, 32, 67);
        text(b, QStringLiteral("( * ) - no caso de NOK preencher tabela de PNC"), 0, y, 120);
    }

    void pageTwo(Band& b)
    {
        b.setHeight(255);
        heading(b, look.logoFile, QStringLiteral(" 2"), QStringLiteral("DATAEMI"));
        text(b, QStringLiteral("Controlos a efectuar"), 0, 19, 50).setBold(true).setItalic(true).setUnderline(true);
        text(b, QStringLiteral(" (no caso de NOK preencher tabela de PNC )"), 50, 19, 100);
        double y = 25;
        for (const QString& title :
             {QStringLiteral("Contracolagem "), QStringLiteral("Corte e Vinco"), QStringLiteral("Colagem"),
              QStringLiteral("Fecho de Caixas"), QStringLiteral("Acabamentos e Embalamento")}) {
            box(b, 0, y, 190, 30);
            text(b, title, 1, y + 0.5, 80).setBold(true);
            controls(b, 1, y + 5);
            controls(b, 96, y + 5);
            y += 31;
        }
    }
};

ModelTDocumentReport::ModelTDocumentReport(const DocumentRows& rows, DocumentLook look)
    : d(std::make_unique<Parts>(rows, std::move(look)))
{
}

ModelTDocumentReport::~ModelTDocumentReport() = default;

kv::report::Document ModelTDocumentReport::render() { return kv::report::ReportEngine::render(d->report); }

void ModelTDocumentReport::preview(QWidget* parent)
{
    showDocuments(render(), OrderDocumentReports::kTitle, parent);
}

} // namespace kv::production
