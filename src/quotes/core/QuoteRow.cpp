#include "quotes/core/QuoteRow.h"

namespace kv::quotes {

namespace {

std::vector<RecordColumn> buildColumns()
{
    using K = ColumnKind;
    std::vector<RecordColumn> c;
    auto add = [&c](const QString& name, K kind, int size = 0) { c.push_back({name, kind, size}); };
    add("CODIGO", K::Integer);
    add("SUBCODIGO", K::Integer);
    add("ORCBASE", K::Integer);
    add("DATEMI", K::DateTime);
    add("CLINRO", K::Integer);
    add("NOME", K::Text, 40);
    add("MORADA1", K::Text, 30);
    add("MORADA2", K::Text, 30);
    add("CODPOSTAL", K::Text, 8);
    add("CNDPGT", K::Integer);
    add("VNDNRO", K::Integer);
    add("NOSREF", K::Text, 16);
    add("CODIVA", K::Integer);
    add("UNDVND", K::Text, 3);
    add("VOSREF", K::Text, 20);
    add("COMPRIM", K::Float);
    add("LARGURA", K::Float);
    add("ALTURA", K::Float);
    for (int i = 1; i <= 6; ++i)
        add(QStringLiteral("DESIGN%1").arg(i), K::Text, 40);
    for (int i = 1; i <= 3; ++i)
        add(QStringLiteral("OBSERV%1").arg(i), K::Text, 50);
    add("UNDPLANO", K::Integer);
    add("PLNCOMPRIM1", K::Float);
    add("PLNLARGURA1", K::Float);
    add("PLNCOMPRIM2", K::Float);
    add("PLNLARGURA2", K::Float);
    add("PESOJANELAS", K::Float);
    add("CARTOLINA", K::Integer);
    add("MICROCANAL", K::Integer);
    add("PLACA", K::Integer);
    add("NROCORES", K::Integer);
    add("SUPERFIMPR", K::Float);
    add("RELEVO", K::Text, 1);
    add("TIPOCAIXA", K::Text, 1);
    add("ACABNORMAL", K::Text, 1);
    for (const char* name : {"PRDHORACV", "ACERTOCV", "PRDHORAIMP", "ACERTOIMP", "PRDHORACOL", "ACERTOCOL",
                             "PRDHORAC_COL", "ACERTOC_COL", "C_COLTIPO"})
        add(QString::fromLatin1(name), K::Integer);
    for (int n = 1; n <= 3; ++n)
        for (const char* p : {"QTDORC", "PRECOORC", "VALORORC"})
            add(quantityColumn(p, n), K::Float);
    for (int n = 1; n <= 3; ++n)
        for (const char* p : {"PRECOCLI", "VALORCLI"})
            add(quantityColumn(p, n), K::Float);
    for (int n = 1; n <= 3; ++n)
        add(quantityColumn("PRCCOM", n), K::Float);
    for (int n = 1; n <= 3; ++n)
        for (const char* p : {"VALMP", "VALMO", "VALPS", "VALCM", "VALEM", "VALTR"})
            add(quantityColumn(p, n), K::Float);
    add("DATADJUD", K::DateTime);
    add("QTDADJUD", K::Float);
    add("PRECOADJUD", K::Float);
    add("PRINTE", K::Text, 1);
    for (const char* letter : {"A", "B", "C"})
        for (int k = 1; k <= 3; ++k)
            add(QStringLiteral("VALCOM%1%2").arg(k).arg(QLatin1String(letter)), K::Float);
    add("ENCNRO", K::Integer);
    add("ANO", K::Text, 4);
    add("SEMANA", K::Text, 2);
    for (int n = 1; n <= 3; ++n)
        add(quantityColumn("NPLANOS", n), K::Float);
    add("MARGEMVALOR", K::Float);
    add("MARGEMPRC", K::Float);
    add("APROVADO", K::Text, 1);
    add("VALORADJUD", K::Float);
    for (int n = 1; n <= 3; ++n)
        add(quantityColumn("MARGEMPRC", n), K::Float);
    for (int n = 1; n <= 3; ++n)
        add(quantityColumn("MARGEMLIQ", n), K::Float);
    add("MANUAL_AUTO", K::Text, 1);
    add("PLANOSAPROV", K::Float);
    add("UNIDADE", K::Text, 1);
    for (int n = 1; n <= 3; ++n)
        add(quantityColumn("VALSUB", n), K::Float);
    return c;
}

} // namespace

const RecordLayout& quoteRowLayout()
{
    static const RecordLayout layout(buildColumns());
    return layout;
}

double QuoteRow::quantity(int n) const { return number(quantityColumn("QTDORC", n)); }

} // namespace kv::quotes
