#pragma once

#include "commercial/forms/CommercialListReport.h"

#include "platform/report/MemoryRowSource.h"

#include <memory>

namespace kv::commercial {

// The families' list (TFACFPR011): each family with its three cost centres
// and its sales accounts by class and market, followed by its purchase rows
// by article type; a purchase row with none of its 15 accounts filled is
// not printed. The purchase rows are read for each family as it prints.
class FamilyListReport : public CommercialListReport {
    Q_OBJECT
public:
    FamilyListReport(CommercialReportSpec spec, CommercialEnvironment environment, QWidget* parent = nullptr);
    ~FamilyListReport() override;

    static FamilyListReport* instance(const CommercialEnvironment& environment, const QString& reportClass);

private:
    void buildFamily();
    void buildPurchases();
    void QRBand2BeforePrint(kv::report::BandContext& context);
    void QRSubDetail1BeforePrint(kv::report::BandContext& context);

    CommercialEnvironment m_families;
    std::unique_ptr<kv::report::MemoryRowSource> m_purchaseRows; // the printing family's
    kv::report::DataBand* m_purchaseBand = nullptr;
};

} // namespace kv::commercial
