#pragma once

#include "quotes/forms/QuoteFormsEnvironment.h"
#include "quotes/forms/WorksheetPageFields.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;

namespace kv::imaging {
class TPictureBox;
}

namespace kv::quotes {

class WorksheetPageHost;
struct WorksheetState;

// The worksheet's page "Inform.Produção": units per sheet, the sheet
// formats and the sheet area, the boards with their lookups, colours and
// printed surface, embossing, finishing, the grades and make-ready choices
// of the four machine kinds and the counter-gluing type.
class WorksheetProductionPage : public QWidget {
    Q_OBJECT
public:
    WorksheetProductionPage(WorksheetState& state, QuoteFormsEnvironment environment, WorksheetPageHost& host);
    ~WorksheetProductionPage() override;

    QLineEdit* firstField() const { return Edit_UndPlano; }
    kv::imaging::TPictureBox* picture() const { return ML2; }

    // PutOrcamValues: the row's values, and the state's units per sheet,
    // formats, sheet area and colours.
    void load(const QuoteRow& row);
    // GetOrcamValues.
    void store(QuoteRow& row) const;
    void clearLabels();

private:
    enum Board { Cartolina, MicroCanal, Placa };

    QWidget* buildFields();
    bool skipWhileCancelling() const;
    // The field as a number, refused with `message` (none: a bare beep)
    // when empty or not a number.
    std::optional<double> required(QLineEdit* field, const QString& message);
    void keep(QLineEdit* field);

    void Edit_UndPlanoExit();
    void Edit_Comprim1Exit();
    void Edit_Largura1Exit();
    void Edit_Comprim2Exit();
    void Edit_Largura2Exit();
    bool Edit_OptionalNumberExit(QLineEdit* field);
    void Edit_BoardEnter(Board board);
    void Edit_BoardExit(Board board);
    void Edit_NroCoresEnter();
    void Edit_NroCoresExit();
    void Edit_SuperfImprExit();
    void Edit_YesNoExit(QLineEdit* field);
    void Edit_RangeExit(QLineEdit* field, int highest);
    void Edit_C_ColTipoExit();
    void boardLookup(Board board, bool byDesignation);
    void showBoard(Board board, qint64 code);

    WorksheetState& m_w;
    QuoteFormsEnvironment m_environment;
    WorksheetPageHost& m_host;
    kv::ui::Form& m_form;
    WorksheetPageFields m_fields;

    QLineEdit* Edit_UndPlano = nullptr;
    QLineEdit* Edit_Comprim1 = nullptr;
    QLineEdit* Edit_Largura1 = nullptr;
    QLineEdit* Edit_Comprim2 = nullptr;
    QLineEdit* Edit_Largura2 = nullptr;
    QLineEdit* Edit_PesoJanelas = nullptr;
    QLineEdit* Edit_Board[3] = {};
    QLabel* Label_Board[3] = {};
    QLineEdit* Edit_NroCores = nullptr;
    QLineEdit* Edit_SuperfImpr = nullptr;
    QLineEdit* Edit_Relevo = nullptr;
    QLineEdit* Edit_AcabNormal = nullptr;
    QLineEdit* Edit_Machine[8] = {}; // grade and make-ready of each machine kind
    QLineEdit* Edit_C_ColTipo = nullptr;
    kv::imaging::TPictureBox* ML2 = nullptr;
};

} // namespace kv::quotes
