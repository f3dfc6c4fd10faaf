#pragma once

#include "platform/text/RangeLimits.h"
#include "platform/ui/GridColumn.h"

#include <QKeySequence>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class Form;

// A lookup of a limit field: the list it shows (opened by the form, never
// the whole of a large table), its columns and the column whose value the
// field takes. OK writes the value into the field (and, when `setsLimit`,
// into the stored limit at once); Cancel changes nothing.
struct LimitLookup {
    QString caption = QStringLiteral("Procurar");
    std::function<kv::db::Dataset*()> list; // none: no such lookup
    std::vector<GridColumn> columns;
    QString keyField;
    bool setsLimit = true;
};

// The fields of one pair of limits: caption, object names, width and the
// lookups of its popup menu.
struct LimitFields {
    LimitFields(QString pairName, QString caption, QString fromObject, QString toObject, int width)
        : pair(std::move(pairName)), label(std::move(caption)), fromName(std::move(fromObject)),
          toName(std::move(toObject)), characters(width)
    {
    }

    QString pair; // the name of the pair in the limits
    QString label;
    QString fromName;
    QString toName; // empty for a single field
    int characters = 10;
    int maxLength = 0;
    QString inputMask;
    LimitLookup simple; // "Procura Simples" (Insert)
    LimitLookup alphabetic; // "Procura Alfabética"
    QKeySequence alphabeticKey{Qt::CTRL | Qt::Key_Insert};
    bool dateLookup = false; // "Seleccione a Data" (Insert)
    // A single field's name label ("NomeCliente"), filled by `nameOf`.
    QString nameLabel;
    std::function<QString(qint64)> nameOf;
};

// The date lookup: the calendar list (positioned on the active field's date)
// and its columns; the field takes the `DATA` of the row chosen.
struct DateLookup {
    std::function<kv::db::Dataset*()> calendar;
    std::vector<GridColumn> columns;
    QString caption = QStringLiteral("Selecione a Data");
};

// The range-limits block of a selection form: its rows of from/to fields
// over a kv::text::RangeLimits, the exit checks of every field (warnings by
// message box or status bar, the focus moves), the popup menus and keys of
// the lookups. The form places the block, asks the limits for its selection
// and says how its selection is reopened.
class RangeLimitsBlock : public QWidget {
    Q_OBJECT
public:
    RangeLimitsBlock(Form& form, std::vector<kv::text::LimitPair> pairs, std::vector<LimitFields> fields,
                     QWidget* parent = nullptr);

    kv::text::RangeLimits& limits() { return m_limits; }
    const kv::text::RangeLimits& limits() const { return m_limits; }

    // Run when a valid exit reopens the selection.
    void setReopen(std::function<void()> reopen) { m_reopen = std::move(reopen); }
    void setDateLookup(DateLookup lookup) { m_dateLookup = std::move(lookup); }
    // Run after a field's valid exit (and the reopening it asked for).
    using AfterLeave = std::function<void(const QString& pair, kv::text::LimitSide side)>;
    void setAfterLeave(AfterLeave afterLeave) { m_afterLeave = std::move(afterLeave); }

    // Every limit and field back to its default.
    void showDefaults();
    // Reads every field as leaving it does, in order, with its messages
    // (before a print); the focus is not moved.
    void readAll();

    // Puts `widget` at the end of the pair's row (the week boxes of a date).
    void addBeside(const QString& pair, QWidget* widget);

    QLineEdit* fromField(const QString& pair) const;
    QLineEdit* toField(const QString& pair) const;
    // The date field the user entered last (the from-field until one was).
    QLineEdit* activeDateField() const { return m_activeDate; }

private:
    struct Row {
        explicit Row(LimitFields fields) : spec(std::move(fields)) {}
        LimitFields spec;
        QLineEdit* from = nullptr;
        QLineEdit* to = nullptr;
        QLabel* name = nullptr;
    };
    const Row& row(const QString& pair) const;
    QLineEdit* makeField(const QString& objectName, const LimitFields& spec);
    void addLookups(Row& row, QLineEdit* field, kv::text::LimitSide side);
    void leave(const Row& row, kv::text::LimitSide side, bool showMessages);
    void lookup(const Row& row, QLineEdit* field, kv::text::LimitSide side, const LimitLookup& lookup);
    void chooseDate();
    void showName(const Row& row);

    Form& m_form;
    kv::text::RangeLimits m_limits;
    std::vector<Row> m_rows;
    std::function<void()> m_reopen;
    AfterLeave m_afterLeave;
    DateLookup m_dateLookup;
    QPointer<QLineEdit> m_activeDate;
    QGridLayout* m_grid = nullptr;
};

} // namespace kv::ui
