#pragma once

#include "platform/ui/Form.h"
#include "shell/FormEnvironment.h"

#include <QDate>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace kv::ui {
class TGlyphButton;
}

namespace kv::production {

// "Mapa de Previsão de Consumos": the planned consumption of the orders
// delivered between two dates, per article, beside its stock and what is on
// order from suppliers, previewed or printed through TORCFPR104.
class TORCF104 : public kv::ui::Form {
    Q_OBJECT
public:
    explicit TORCF104(kv::shell::FormEnvironment environment, QWidget* parent = nullptr);

    void BitPreviewClick();
    void BitPrintClick();

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    QLineEdit* dateField(const QString& name, QLabel* caption);
    void showWeek(QLineEdit* date, QLineEdit* week, QLineEdit* weekday);
    void Edit_DatEnt1Exit();
    void Edit_DatEnt2Exit();
    // Builds the map; false when it could not be built.
    bool PrintRout();

    kv::shell::FormEnvironment m_environment;
    bool m_activated = false;
    QDate m_first; // the range the map uses: stored when the second date is left
    QDate m_last;
    QLineEdit* Edit_DatEnt1 = nullptr;
    QLineEdit* Edit_DatEnt2 = nullptr;
    QLineEdit* Edit_SemEnt1 = nullptr;
    QLineEdit* Edit_SemEnt2 = nullptr;
    QLineEdit* Edit_DiaSemEnt1 = nullptr;
    QLineEdit* Edit_DiaSemEnt2 = nullptr;
    QCheckBox* CheckImpressora = nullptr;
    QProgressBar* Gauge1 = nullptr;
    kv::ui::TGlyphButton* BitPreview = nullptr;
    kv::ui::TGlyphButton* BitPrint = nullptr;
};

} // namespace kv::production
