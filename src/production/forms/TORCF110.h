#pragma once

#include "platform/report/Document.h"
#include "platform/ui/Form.h"
#include "production/core/CustomerStockMap.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;

namespace kv::db {
class Dataset;
}
namespace kv::imaging {
class TPictureBox;
}
namespace kv::quotes {
class SelectionLookups;
}
namespace kv::ui {
class DbGrid;
class RangeLimitsBlock;
class TGlyphButton;
} // namespace kv::ui

namespace kv::production {

// "Mapa de Existências por Cliente": the customer articles of the technical
// sheets within the limits, with the finished-product and raw-material stock
// and what the customer ordered, shown per customer (the current article's
// first picture beside) and printed through TORCFPR110.
class TORCF110 : public kv::ui::Form {
    Q_OBJECT
public:
    explicit TORCF110(kv::quotes::QuoteFormsEnvironment environment, QWidget* parent = nullptr);
    ~TORCF110() override;

    // Both rebuild the map from the fields as they stand, so the figures
    // match the limits printed above them.
    void BitPreviewClick();
    void BitPrintClick();
    // The report of the map just rebuilt; nothing when the limits are refused.
    std::optional<kv::report::Document> render();

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    std::optional<StockMapLimits> fieldLimits();
    void OpenClientes();
    void patternExit(QLineEdit* field);
    void Edit_ArtigoChange();

    kv::quotes::QuoteFormsEnvironment m_environment;
    std::unique_ptr<kv::quotes::SelectionLookups> m_lookups;
    std::unique_ptr<kv::db::Dataset> m_customers; // WORKRELCLI
    std::unique_ptr<kv::db::Dataset> m_articles; // WORKRELCXA of the current customer
    bool m_activated = false;
    QString m_pathFoto;
    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    QLineEdit* Edit_Design = nullptr;
    QLineEdit* Edit_NomeCli = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbGrid* DBGrid2 = nullptr;
    kv::imaging::TPictureBox* ML1 = nullptr;
    QCheckBox* CheckImpressora = nullptr;
    kv::ui::TGlyphButton* BitPreview = nullptr;
    kv::ui::TGlyphButton* BitPrint = nullptr;
};

} // namespace kv::production
