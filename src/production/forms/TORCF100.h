#pragma once

#include "platform/db/TwoDatabaseWork.h"
#include "platform/ui/Form.h"
#include "production/core/OrderGeneration.h"
#include "quotes/forms/QuoteFormsEnvironment.h"

#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;

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
class DbNavigator;
class RangeLimitsBlock;
class TGlyphButton;
} // namespace kv::ui

namespace kv::production {

// "Geração de Ordens de Fabrico": lists the open customer-order lines of
// approved quotes within the limits, builds the user's work list from them,
// and generates the production orders of the lines ticked (both models)
// through the generation core.
class TORCF100 : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF100(kv::quotes::QuoteFormsEnvironment environment, kv::db::TwoDatabaseWork work,
             QWidget* parent = nullptr);
    ~TORCF100() override;

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    void listLines();
    void closeLines(); // entering the first customer field
    void showWorkArea(bool shown);
    void BitIniciarClick();
    void BitCriarClick();
    void showCurrent(kv::db::Dataset* rows);
    GenerationLimits limits() const;
    OrderGeneration& generation();

    kv::quotes::QuoteFormsEnvironment m_environment;
    kv::db::TwoDatabaseWork m_work;
    std::unique_ptr<kv::quotes::SelectionLookups> m_lookups;
    std::unique_ptr<kv::notify::MessageSink> m_sink;
    std::unique_ptr<OrderGeneration> m_generation;
    std::unique_ptr<kv::db::Dataset> m_lines; // ENCCLIDET
    std::unique_ptr<kv::db::Dataset> m_workList; // TEMPENCCLIDET
    QString m_pictureFolder;

    kv::ui::RangeLimitsBlock* m_limits = nullptr;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbGrid* DBGrid2 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    QLabel* LabelEncomendas = nullptr;
    QLabel* LabelOfs = nullptr;
    QLabel* NomeCliente = nullptr;
    QCheckBox* ChkFoto = nullptr;
    kv::imaging::TPictureBox* Foto = nullptr;
    QWidget* m_workArea = nullptr;
    kv::ui::TGlyphButton* BitIniciar = nullptr;
    kv::ui::TGlyphButton* BitCriar = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QProgressBar* Gauge2 = nullptr;
};

} // namespace kv::production
