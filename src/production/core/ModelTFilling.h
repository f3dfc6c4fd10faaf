#pragma once

#include "production/core/OrderFilling.h"

namespace kv::production {

// The filling of a production order of model "T" (an ORDFABRICO row): its
// five laminating materials (kind "P" a board of PAPEIS, "C" a glue of
// COLAS; unit "P" sheets or "K" kilograms), two glue codes, date, quantity,
// sheets and format. The texts it takes are those of the fields, by
// column; a row's kind is the text "KINDn".
class ModelTFilling {
public:
    ModelTFilling(kv::db::Connection& application, kv::db::Connection& invoicing, SelectedOrder order);

    const SelectedOrder& order() const { return m_order; }
    std::optional<QHash<QString, QVariant>> readOrder() const;
    std::optional<FillingQuote> readQuote() const;

    // The field texts the stored row shows: the kinds "P"/"C", the codes'
    // designations as "DESIGNn" and "COLDESIGNn" (or the "... Eliminado ..."
    // text of a code its table lost), the date only once the sheet length
    // was filled.
    QHash<QString, QString> shownTexts(const QHash<QString, QVariant>& row) const;

    // The rule of a field on leaving it; the row's own kind decides which
    // table its code is read in. `texts` may get the row's unit and
    // designation.
    std::optional<FillRefusal> leave(const QString& column, QHash<QString, QString>& texts) const;

    // Every rule in the order of the form; the first refusal.
    std::optional<FillRefusal> firstRefusal(QHash<QString, QString> texts) const;
    // Checks the texts and writes the row in one transaction.
    std::optional<FillRefusal> save(const QHash<QString, QString>& texts);

    // The table kind of a row's kind text: 8 boards, 4 glues, 0 none.
    static int tableKind(const QString& kindText);

private:
    // `propose`: leaving a code proposes its row's unit (not at the save).
    std::optional<FillRefusal> check(const QString& column, QHash<QString, QString>& texts, bool propose) const;
    // Every rule in the form's order over `texts`, which get each code's kind and designation.
    std::optional<FillRefusal> checkAll(QHash<QString, QString>& texts) const;
    QString designation(int kind, int code) const; // empty when the table lacks it

    kv::db::Connection& m_application;
    kv::db::Connection& m_invoicing;
    SelectedOrder m_order;
};

} // namespace kv::production
