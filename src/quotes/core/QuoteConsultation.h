#pragma once

#include "platform/db/Params.h"
#include "platform/db/SqlDialect.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::quotes {

// What the quote consultation lists: summary rows within five ranges (all
// bounds included), by origin and by approval state.
struct ConsultationSelection {
    enum class Origin { Manual, Automatic, Both };
    enum class Approval { Approved = 1, NotApproved = 2, Both = 3 };
    // The consultation lists by number; the approval list by date, article
    // or salesman.
    enum class Order { Number, Date, Article, Salesman };

    qint64 customerFrom = 0;
    qint64 customerTo = 99999999;
    // Quotes without a salesman (0) are outside the selection until asked for.
    qint64 salesmanFrom = 1;
    qint64 salesmanTo = 99999999;
    QString articleFrom;
    QString articleTo = QStringLiteral("ZZZZZZZZZZZZZZZZ");
    qint64 numberFrom = 1;
    qint64 numberTo = 999999999;
    QDate dateFrom;
    QDate dateTo;
    Origin origin = Origin::Manual;
    Approval approval = Approval::Both;
    Order order = Order::Number;

    // The defaults of a first activation: manual quotes of the working date.
    static ConsultationSelection defaults(const QDate& workingDate);
    // The printed list's wording of the approval filter.
    QString approvalWording() const;
};

// The working year's commercial parameters a quote viewer keeps.
struct ViewerParameters {
    int priceDecimals = 2; // PRC_DECIMAIS
    QString pictureFolder; // PATHFOTO
};

// The consultation's statements. The list reads only the columns its grid
// and its printed list show; a quote's other data are read by key when it
// becomes the current one.
class QuoteConsultation {
public:
    static const QStringList& listColumns();
    // Every value bound, never pasted (an apostrophe in an article limit is
    // just a character of it); the filters only choose which conditions
    // stand, so each selection has its index.
    static QString listSql(const ConsultationSelection& selection, kv::db::Dialect dialect);
    static kv::db::Params params(const ConsultationSelection& selection);
    // Closes the dataset, gives it the selection and opens it.
    static void open(kv::db::Dataset& list, const ConsultationSelection& selection);
    // "Nº de Orçamentos :" in one COUNT.
    static long long count(kv::db::Connection& application, const ConsultationSelection& selection);

    // The year's `PARGER` row; empty when it is missing.
    static std::optional<ViewerParameters> viewerParameters(kv::db::Connection& invoicing, const QString& year);
    // The raw-material lines ("MP") of a quote's sub-quotes, by sub-quote and
    // line: TIPOCUSTO, DESIGN, CONSUM1, PRECO, VALQTD1.
    static std::vector<QVariantList> rawMaterialLines(kv::db::Connection& application, int quote);
    // The salesman's name, empty when there is no such salesman.
    static QString salesmanName(kv::db::Connection& invoicing, qint64 salesman);

private:
    static QString where(const ConsultationSelection& selection, kv::db::Dialect dialect);
};

} // namespace kv::quotes
