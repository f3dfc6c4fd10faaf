#pragma once

#include "platform/db/Params.h"
#include "platform/db/PrintQueue.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::production {

// Which order table a run issues: ORDFABDET (every model but "T") or
// ORDFABRICO (model "T").
enum class IssueModel { Detail, ModelT };

// The five ranges of an issue run (both ends included) and the reprint flag.
struct IssueSelection {
    qint64 fromCustomer = 1;
    qint64 toCustomer = 999999999;
    qint64 fromOrder = 1;
    qint64 toOrder = 999999999;
    QDate fromDelivery;
    QDate toDelivery;
    QDate fromProduction;
    QDate toProduction;
    QString fromArticle;
    QString toArticle = QStringLiteral("ZZZZZZZZZZZZZZZZ");
    bool reprint = false;
};

// One listed order item, in the order of the list.
struct IssueItem {
    QString year; // ANO
    QString week; // SEMANA (ORDFABDET only)
    qint64 order = 0; // ORDNRO
    int detail = 0; // DETAIL: the slot, or the customer-order line (model "T")
    int subQuote = 0; // SUBORC
};

// The issue of production orders: the selection of open orders, the user's
// print queue ORDFABIMPR filled with one row per item and chosen copy
// (numbered through the run) and the orders marked issued in one
// transaction, then emptied after the preview.
class OrderIssue {
public:
    static const kv::db::PrintQueueTable& queueTable();

    OrderIssue(kv::db::Connection& application, QString user, IssueModel model);

    // The list's statement: open orders within the five ranges, the issued
    // ones only on a reprint, by production date; every limit bound.
    static QString listSql(IssueModel model, const IssueSelection& selection);
    static kv::db::Params listParams(const IssueSelection& selection);
    std::vector<IssueItem> listed(const IssueSelection& selection) const;

    // Why a run must not start, nothing when it may: no named copy chosen, or
    // a production-order model whose menu created no documents. Either way
    // nothing is queued or marked.
    static std::optional<QString> refusal(const QStringList& copies, const QString& productionModel);

    // The copies of a run: the names (first 15 characters) of the ticked
    // slots that hold one, in slot order; a name in two slots prints twice.
    static QStringList chosenCopies(const QStringList& names,
                                    const std::array<bool, kv::db::PrintQueue::CopySlots>& ticked);

    // The order-item key text of the queue: number, slot and sub-quote
    // written one after the other.
    static QString itemKey(qint64 order, int detail, int subQuote);

    // Queues every item in every copy (REGISTO 1, 2, 3 ... in list order,
    // copies in slot order) and marks it issued: ORDFABDET every sub-quote
    // item of the slot (year, week, number, slot), ORDFABRICO every row of
    // the year, number and line. Model "T" queues the order's year and
    // `week` (the week last shown for a date limit). One transaction; a
    // database error leaves nothing queued or marked. Returns the rows queued.
    int queue(const std::vector<IssueItem>& items, const QStringList& copies, const QString& week = {},
              const std::function<void(int done, int total, qint64 order)>& progress = {});

    // Empties the user's queue (after the preview, printed or not).
    void emptyQueue();

    // The copy names OFVIA1..8 of ORCPARGER row 1; nothing when the row is missing.
    static std::optional<QStringList> copyNames(kv::db::Connection& application);

    // The two-digit week and the weekday of a date in the calendar
    // (CALENDARIO, invoicing database); nothing for a date not in it.
    static std::optional<std::pair<QString, QString>> calendarWeek(kv::db::Connection& invoicing, const QDate& day);
    // Whether the customisation parameter row "1" exists.
    static bool customisationParametersExist(kv::db::Connection& invoicing);
    // The article pictures' folder of the year's PARGER row; nothing when the row is missing.
    static std::optional<QString> pictureFolder(kv::db::Connection& invoicing, const QString& year);

private:
    kv::db::Connection& m_db;
    QString m_user;
    IssueModel m_model;
};

} // namespace kv::production
