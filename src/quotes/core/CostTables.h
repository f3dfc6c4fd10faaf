#pragma once

#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

struct BoardRow { // PAPEIS
    int code = 0;
    QString designation;
    double grammage = 0; // g/m²
    double price = 0; // per kg, or per sheet when priced per sheet
    QString calculation; // TIPOCALC: "1" by weight, "2" per sheet
    QString article{}; // ARTIGO: the stock article the production consumes
};

struct MaterialRow { // TINTAS, VERNIZES, FILMEPLAS, PVC
    int code = 0;
    QString designation;
    double grammage = 0; // g/m²
    double price = 0; // per kg
    QString article{}; // ARTIGO
};

struct GlueRow { // COLAS
    int code = 0;
    QString designation;
    double grammage = 0;
    double percentage = 0;
    double price = 0;
    QString calculation; // TIPOCALC "1" to "4"
    QString article{}; // ARTIGO
};

struct FinishRow { // ACABAMENTO
    int code = 0;
    QString designation;
    double fixedCost = 0;
    double percentage = 0;
    QString costType; // "1" labour, else packaging
    QString unit; // "U" or "M"
};

struct CuttingRow { // OPERCORTE
    int code = 0;
    QString designation;
    double cost = 0; // CUSTOPPLANO
    QString unit; // "U" per sheet, "M" per thousand sheets
};

struct FixedCostRow { // CUSTFIXOS
    int code = 0;
    QString designation;
    double price = 0;
    bool excludedInRepeats = false; // LUCROBRUTO "S"
    bool rawMaterial = false; // MATPRIMA
    bool labour = false; // MAOOBRA
    bool packaging = false; // EMBALAGEM
    bool subsidiary = false; // PRODSUBSID
};

struct SubcontractRow { // SUBCONTRATO
    int code = 0;
    QString designation;
    double price = 0;
    double gramsPerM2 = 0; // GRS_M2
    bool accessory = false;
    QString unit; // "UN", "UND", "MIL", "M2", "KG"
};

struct TransportRow { // CUSTRANSP
    int code = 0;
    QString province;
    double percentage = 0; // PRCORCAM
    double costPerKm = 0; // CUSTOKM
};

struct MachineRow { // MAQUINAS
    int code = 0;
    QString designation;
    int coloursPerPass = 0; // NROCORES
    double costPerHour = 0; // CUSTOHORA
    QString productionUnit; // UNDPROD
    double factor[3] = {0, 0, 0};
    int machineType = 0; // TIPOMAQUINA 1 printing, 2 cutting-creasing, 3 gluing, 4 counter-gluing
    double machineMin = 0, machineMax = 0; // ACEMAQMIN, ACEMAQMAX
    double passMin[4] = {0, 0, 0, 0}; // ACEPASSMIN1..4
    double passMax[4] = {0, 0, 0, 0}; // ACEPASSMAX1..4
    double dieMin[3] = {0, 0, 0}; // ACECORTANTEMIN1..3
    double sideSeamMin = 0; // ACECOLLATERALMIN
    double autoBottomMin = 0; // ACEFUNDOAUTOMIN
    int glueCode = 0; // CODIGOCOLA
    double glueConsumption = 0; // CONSUMCOLA, grams
    double glueConsumptionByKind[3] = {0, 0, 0}; // CONSUMCOLA1..3
};

struct WasteBand { // TIRAGLIQ
    int code = 0;
    double from = 0; // QTD1, inclusive
    double to = 0; // QTD2, inclusive
    double finishingNormal = 0; // PRCACAB1A
    double finishingOther = 0; // PRCACAB2A
    double printing[4] = {0, 0, 0, 0}; // PRCIMPR1A..4A
};

// The cost tables a quote is calculated from, read once (as the worksheet
// opens its shared datasets) and looked up by code.
class CostTables {
public:
    // Reads every cost table of the application database. A table the
    // database does not have yet (subcontracts before their version step)
    // reads as empty.
    static CostTables load(kv::db::Connection& connection);

    const BoardRow* board(int code) const { return find(boards, code); }
    const MaterialRow* ink(int code) const { return find(inks, code); }
    const MaterialRow* varnish(int code) const { return find(varnishes, code); }
    const MaterialRow* film(int code) const { return find(films, code); }
    const MaterialRow* pvc(int code) const { return find(pvcs, code); }
    const GlueRow* glue(int code) const { return find(glues, code); }
    const FinishRow* finish(int code) const { return find(finishes, code); }
    const CuttingRow* cutting(int code) const { return find(cuttings, code); }
    const FixedCostRow* fixedCost(int code) const { return find(fixedCosts, code); }
    const SubcontractRow* subcontract(int code) const { return find(subcontracts, code); }
    const TransportRow* transport(int code) const { return find(transports, code); }
    const MachineRow* machine(int code) const { return find(machines, code); }

    std::unordered_map<int, BoardRow> boards;
    std::unordered_map<int, MaterialRow> inks, varnishes, films, pvcs;
    std::unordered_map<int, GlueRow> glues;
    std::unordered_map<int, FinishRow> finishes;
    std::unordered_map<int, CuttingRow> cuttings;
    std::unordered_map<int, FixedCostRow> fixedCosts;
    std::unordered_map<int, SubcontractRow> subcontracts;
    std::unordered_map<int, TransportRow> transports;
    std::unordered_map<int, MachineRow> machines;
    std::vector<WasteBand> wasteBands; // in CODIGO order

private:
    template <class T>
    static const T* find(const std::unordered_map<int, T>& map, int code)
    {
        const auto it = map.find(code);
        return it == map.end() ? nullptr : &it->second;
    }
};

} // namespace kv::quotes
