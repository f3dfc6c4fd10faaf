#pragma once

#include "platform/db/Params.h"

#include <QString>
#include <QStringList>

namespace kv::costing {

enum class ListOrder { Numeric, Alphabetic };

// A statement for a costing table's shared dataset and the values bound to it.
struct ListQuery {
    QString sql;
    kv::db::Params params;
};

// The whole table in the given order: "Select * From TINTAS Order By CODIGO",
// the statement a table form restores after printing.
QString tableStatement(const QString& table, const QStringList& order);

// The list print of a table linked to stock articles: the rows whose article
// code lies from `from` to `to` (the database's text order), by article code
// (numeric) or by designation (alphabetic). The range is bound, never pasted.
ListQuery articleRangeStatement(const QString& table, ListOrder order, const QString& from, const QString& to);

// The list print of a table without an article range, in the order chosen.
ListQuery orderStatement(const QString& table, ListOrder order, const QStringList& numericOrder,
                         const QStringList& alphabeticOrder);

// "Ord.Numérica" / "Ord.Alfabética", as the list reports' headers say it.
QString orderText(ListOrder order);

// The 'to' article code a list print dialog starts with: sixteen letters Z,
// so that the default range covers every code.
QString lastArticleCode();

} // namespace kv::costing
