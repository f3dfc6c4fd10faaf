#pragma once

#include <QString>
#include <initializer_list>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class Form;
}

namespace kv::quotes {

class QuoteRow;

// The edit fields of a worksheet page and the quote-row columns they edit:
// built with their captions and widths, filled from the row
// (PutOrcamValues) and written back into it (GetOrcamValues).
class WorksheetPageFields {
public:
    enum class Kind { Text, Integer, Number };

    explicit WorksheetPageFields(kv::ui::Form& form) : m_form(form) {}

    // A field of `characters` width editing `column`; its caption lights up
    // while it is edited.
    QLineEdit* add(const QString& name, const QString& column, Kind kind, int characters, QLabel* caption);
    // A grey read-only box the page fills itself.
    static QLineEdit* box(const QString& name, int characters);

    void load(const QuoteRow& row) const;
    // Writes every field into the row; a number field whose text is not a
    // number leaves its column as it is (its exit check refuses it).
    void store(QuoteRow& row) const;
    // Writes one field into the row.
    void store(QLineEdit* field, QuoteRow& row) const;

    // The exit check of a number field without a rule of its own: text that
    // is not a number is refused rather than lost. True when the field was
    // taken into the row.
    bool acceptNumber(QLineEdit* field, QuoteRow& row) const;

    static QString text(const QuoteRow& row, const QString& column, Kind kind);

    // Layout parts the pages share.
    static QLabel* caption(const char* text);
    // A caption in column 0 of `grid` and the widgets side by side in
    // column 1, on row `r`, which moves on.
    static void addRow(QGridLayout* grid, int& r, QLabel* label, std::initializer_list<QWidget*> widgets);
    // A page's picture box under its "Fotografia" caption.
    static QWidget* photoBox(kv::imaging::TPictureBox*& box, const QString& name);
    static QString numericAlphabeticHint();

private:
    struct Binding {
        QLineEdit* edit;
        QString column;
        Kind kind;
    };
    const Binding* find(QLineEdit* field) const;
    static void write(const Binding& binding, QuoteRow& row);

    kv::ui::Form& m_form;
    std::vector<Binding> m_bindings;
};

} // namespace kv::quotes
