#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// What sets the four materials priced per square metre apart (inks,
// varnishes, laminating film, window PVC): one layout, their own names.
struct MaterialNames {
    QString formClass; // "TORCF002"
    QString caption; // "Tabela de Tintas"
    QString table; // "TINTAS"
    QString rightsProgram; // "Tintas"
    QString consumptionSuffix; // "( Grs )"
    QString priceCaption; // "Preço Kg: "
    QString dialogClass; // "TORCFSPR002"
    QString reportClass; // "TORCFPR002"
    QString reportTitle; // "Tabela de Tintas"
    QString priceTitle; // "Preço"
};

// A costing table of the material layout: key, article, designation,
// consumption in grams per square metre and price per kilogram.
CodeTableDescription materialMember(const MaterialNames& names);

// The reference member: the inks table TINTAS in TORCF002.
CodeTableDescription inksMember();

} // namespace kv::costing
