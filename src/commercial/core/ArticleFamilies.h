#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kv::db {
class Connection;
struct QueryResult;
} // namespace kv::db
namespace kv::notify {
class MessageSink;
}

namespace kv::commercial {

// An article type with a purchase row of the families ("2" to "11"; type
// "1" has none): its button on the purchase page and its abbreviation in
// the families' list.
struct PurchaseArticleType {
    const char* button; // "BotMerc"
    const char* caption; // "Mercadorias"
    const char* type; // "2"
    int group; // the button's group: "Embal.Cons." and "Diversos" share one
    const char* abbreviation; // "MERC"
};

const std::vector<PurchaseArticleType>& purchaseArticleTypes();
// The abbreviation of a purchase type in the families' list; empty for a
// type outside "2" to "11".
QString purchaseTypeAbbreviation(const QString& type);

// The 15 accounts of a purchase row, market by market (national,
// intra-community, other markets), each market's purchases, returns,
// discounts, consumptions and inventory adjustments.
const QStringList& purchaseAccountColumns();

// Before the families' list prints: the purchase, return and discount
// accounts stored as NULL become the empty text, in every purchase row, in
// one transaction.
void clearEmptyPurchaseAccounts(kv::db::Connection& invoicing);

// The purchase rows of a family, in type order (as text).
kv::db::QueryResult familyPurchaseRows(kv::db::Connection& invoicing, const QString& family);

// The family's cost centre an article of a type takes: products ("1" and
// "4") CCUSTO, goods ("2") CCUSTOMERC, services ("3") CCUSTOSERV, every
// other type none.
struct FamilyCostCentres {
    QString products;
    QString goods;
    QString services;
    QString forArticleType(const QString& type) const;
};

// "&Artigos": every article takes its family's cost centre for its type.
// The cost centres are worked out first (an article whose family is not in
// the table is told to `messages`, once per article, and left as it is),
// then written by one statement per article inside one transaction:
// a refused write rolls the whole run back and reaches the caller as a
// kv::db::DbError. `progress` hears each article written. Returns the
// number of articles written.
int updateArticleCostCentres(kv::db::Connection& invoicing, kv::notify::MessageSink& messages,
                             const std::function<void(const QString& article, const QString& centre)>& progress = {});

} // namespace kv::commercial
