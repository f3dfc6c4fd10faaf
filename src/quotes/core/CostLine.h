#pragma once

#include "quotes/core/Vocabulary.h"

#include <QString>
#include <QVariant>
#include <array>

namespace kv::quotes {

using Triple = std::array<double, 3>;

// One cost line of a sub-quote (`ORCDET`), columns in the order of its insert
// statement.
struct CostLine {
    int quoteNumber = 0; // CODIGO
    int subQuote = 0; // SUBCODIGO
    int detail = 0; // DETAIL
    int tableType = 0; // TIPOTABELA
    int tableCode = 0; // CODTAB
    QString designation; // DESIGN (40)
    QString costClass; // TIPOCUSTO
    double price = 0; // PRECO
    Triple value{}; // VALQTD1..3
    int passes = 0; // NROPASSAGENS
    double factor = 0; // PRDHOR
    double makeReady = 0; // ACERTO, hours
    double percentage = 0; // PERC
    Triple consumption{}; // CONSUM1..3
    double kilometres = 0; // QUANTID
    int grade = 0; // CODPRDHOR
    int makeReadyChoice = 0; // CODACERTO
    double makeReadyHm = 0; // TMPACERTO, h.mm
    QVariant plannedTime; // TMPPREV, kept as read

    static constexpr int kDesignationSize = 40;
};

} // namespace kv::quotes
