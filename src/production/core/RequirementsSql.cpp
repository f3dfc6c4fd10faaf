#include "production/core/RequirementsSql.h"

namespace kv::production {

namespace {

// The order rows generation recorded for a customer-order line.
const char* const LineRecord = "ORDFABENC";

} // namespace

QString requirementConsumptionSql(bool manufacture, const QString& lines)
{
    const QString selected =
        QStringLiteral("SELECT 1 FROM %1 L JOIN LOGSELENC S ON S.UTIL = :UTIL AND S.CLINRO = L.CLINRO "
                       "AND S.ARTIGO = L.ARTIGO AND S.PROCESSAR = 'S' AND S.QUANTIDADE > 0 "
                       "JOIN %2 R ON R.ENCNRO = L.ENCNRO AND R.ENCDETAIL = L.DETAIL ")
            .arg(lines, QLatin1String(LineRecord));
    if (!manufacture)
        return QStringLiteral("SELECT C.ARTIGO, C.CONSUMO FROM ORCCONSUMOS C WHERE C.TIPOCUSTO = 'MP' "
                              "AND EXISTS (%1WHERE R.ANO = C.ANO AND R.ORDNRO = C.CODIGO AND R.DETAIL = C.ENCDETAIL)")
            .arg(selected);
    return QStringLiteral("SELECT C.ARTIGO, C.CONSUMO, C.CONSUMIDO, C.QTDAPROV, O.QUANTFINAL, O.QTDPROD "
                          "FROM ORCCONSUMOS C JOIN ORDFABDET O ON O.ANO = C.ANO AND O.ORDNRO = C.CODIGO "
                          "AND O.SUBORC = C.SUBCODIGO AND O.DETAIL = C.ENCDETAIL "
                          "WHERE C.TIPOCUSTO = 'MP' AND C.TIPOTABELA = 8 AND O.PRODUZ = 'N' "
                          "AND EXISTS (%1WHERE R.ANO = O.ANO AND R.SEMANA = O.SEMANA AND R.ORDNRO = O.ORDNRO "
                          "AND R.DETAIL = O.DETAIL)")
        .arg(selected);
}

QString requirementNettingSql(const QString& consumption)
{
    return QStringLiteral(
               "SELECT T.ARTIGO, A.DESIGNACAO, A.UNCOMPRA, T.QUANTIDADE, A.EXIQTD, F.QTD, R.QTD, FL.QTD, X.QTD, "
               "A.COMPRIM, A.LARGURA, A.ALTURA FROM %1 T JOIN ARTIGOSCLS A ON A.CODIGO = T.ARTIGO "
               "LEFT JOIN (SELECT D.ARTIGO, SUM(D.QTDCAR) AS QTD FROM FRNENCDET D JOIN %1 K ON K.ARTIGO = D.ARTIGO "
               "WHERE COALESCE(D.TOTENT, 'N') <> 'S' GROUP BY D.ARTIGO) F ON F.ARTIGO = T.ARTIGO "
               "LEFT JOIN (SELECT Q.ARTIGO, SUM(Q.QUANTID) AS QTD FROM FRNREQDET Q JOIN %1 K ON K.ARTIGO = Q.ARTIGO "
               "WHERE COALESCE(Q.APROVADO, 'N') <> 'S' GROUP BY Q.ARTIGO) R ON R.ARTIGO = T.ARTIGO "
               "LEFT JOIN (SELECT D.ARTIGO, SUM(D.QTDCAR) AS QTD FROM FRNENCDET D JOIN %1 K ON K.ARTIGO = D.ARTIGO "
               "WHERE D.ENCCLINRO >= :E1 AND D.ENCCLINRO <= :E2 GROUP BY D.ARTIGO) FL ON FL.ARTIGO = T.ARTIGO "
               "LEFT JOIN (SELECT E.ARTIGO, SUM(E.EXIQTD) AS QTD FROM STKENCEXIST E JOIN %1 K ON K.ARTIGO = E.ARTIGO "
               "WHERE E.ENCNRO >= :E1 AND E.ENCNRO <= :E2 GROUP BY E.ARTIGO) X ON X.ARTIGO = T.ARTIGO")
        .arg(consumption);
}

} // namespace kv::production
