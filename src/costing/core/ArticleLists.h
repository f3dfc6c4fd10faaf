#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

namespace kv::costing {

// Which article types a list keeps. The type is a text ("1" to "11") that is
// compared as a number; a type that is not a number counts as 0.
struct ArticleTypeCondition {
    enum class Op { Above, NotEqual, Equal };
    Op op = Op::Above;
    int value = 5;

    QString sql(kv::db::Dialect dialect) const;
};

// A column that a new costing row takes from its article.
struct CopiedColumn {
    QString target; // column of the costing table
    QString source; // column of the article list; ignored for the cost
    bool cost = false; // the article's cost: average cost when above 0, else standard cost
};

// The statement of a member's two article lists: the types kept and the
// columns read. The numeric list is ordered by code, the alphabetic one by
// designation.
struct ArticleListSpec {
    ArticleTypeCondition condition;
    QStringList numericColumns{QStringLiteral("CODIGO"), QStringLiteral("DESIGNACAO"), QStringLiteral("TIPOARTIGO"),
                               QStringLiteral("PMCUSTO"), QStringLiteral("CUSTOPADRAO")};
    QStringList alphabeticColumns{QStringLiteral("CODIGO"), QStringLiteral("DESIGNACAO"), QStringLiteral("TIPOARTIGO")};
};

// The two read-only article lists of the invoicing database that a costing
// form or print dialog keeps while it is open.
class ArticleLists {
public:
    ArticleLists(std::shared_ptr<kv::db::Connection> invoicing, ArticleListSpec spec = {});
    ~ArticleLists();

    void open();
    void close();

    kv::db::Dataset& numeric() { return *m_numeric; }
    kv::db::Dataset& alphabetic() { return *m_alphabetic; }

    // Moves the numeric list to the article whose code is exactly `code`;
    // false when the list has none.
    bool locate(const QString& code);

    // What a new row takes from the numeric list's current article.
    std::vector<std::pair<QString, QVariant>> copiedValues(const std::vector<CopiedColumn>& columns) const;

    static QString numericSql(const ArticleListSpec& spec, kv::db::Dialect dialect);
    static QString alphabeticSql(const ArticleListSpec& spec, kv::db::Dialect dialect);

private:
    std::unique_ptr<kv::db::Dataset> m_numeric;
    std::unique_ptr<kv::db::Dataset> m_alphabetic;
};

// The cost a costing row takes from its article: the average cost when it is
// above 0, else the standard cost.
double articleCost(const QVariant& averageCost, const QVariant& standardCost);

// The message of an article code that the list does not hold.
QString unknownArticleMessage(const QString& typed);

} // namespace kv::costing
