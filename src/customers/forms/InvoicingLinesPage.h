#pragma once

#include "customers/core/InvoicingLines.h"

#include <QWidget>
#include <memory>

class QLineEdit;

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::ui {
class DbGrid;
class Form;
class TGlyphButton;
} // namespace kv::ui

namespace kv::customers {

// The page "Facturação Autom." of the customer form: the customer's
// automatic-invoicing lines in a grid, the ten edits of a line and the four
// buttons (also on the grid's pop-up keys). A line is written when
// "Fim Contracto" is left with valid contract dates.
class InvoicingLinesPage : public QWidget {
    Q_OBJECT
public:
    InvoicingLinesPage(kv::ui::Form& form, std::shared_ptr<kv::db::Connection> invoicing, QWidget* parent = nullptr);
    ~InvoicingLinesPage() override;

    // The customer on display: its lines, the first shown in the edits.
    void showCustomer(int customer);
    void enterPage();
    void leavePage();

    void insertLine(); // "&1 Inserir"
    void cancelLine(); // "&2 Cancelar"
    void changeLine(); // "&3 Alterar"
    void deleteLine(); // "&4 Eliminar"

private:
    enum class Mode { None, New, Change };
    enum Edit { Invoice, Article, Designation, Quantity, Price, Period, Day, LastInvoice, Start, End, EditCount };

    void reopen();
    void showLine();
    void clearEdits();
    void enableEdits(bool enabled, bool keys);
    void buttonsForEditing(bool editing);
    void leave(int edit);
    void articleFound(bool message);
    void writeLine();
    QDate dateOf(int edit) const;

    kv::ui::Form& m_form;
    InvoicingLines m_lines;
    std::unique_ptr<kv::db::Dataset> m_rows; // DTFILES.CLIFACAUTO's statement, for this page
    int m_customer = 0;
    Mode m_mode = Mode::None;
    bool m_cancelled = false;
    bool m_attached = false;
    int m_position = 0;
    QString m_oldArticle;
    QLineEdit* m_edits[EditCount] = {};
    kv::ui::DbGrid* m_grid = nullptr;
    kv::ui::TGlyphButton* m_buttons[4] = {};
};

} // namespace kv::customers
