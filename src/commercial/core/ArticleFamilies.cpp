#include "commercial/core/ArticleFamilies.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"

#include <QHash>

namespace kv::commercial {

const std::vector<PurchaseArticleType>& purchaseArticleTypes()
{
    static const std::vector<PurchaseArticleType> types{
        {"BotMerc", "Mercadorias", "2", 1, "MERC"},     {"BotServ", "Serviços", "3", 2, "SERV"},
        {"BotAmostra", "Amostra", "4", 3, "AMOST"},     {"BotFeitio", "Feitio", "5", 4, "FEIT"},
        {"BotMatPrm", "Mat.Primas", "6", 5, "MTPRM"},   {"BotSemiLab", "Semi-Labor.", "7", 6, "SMLAB"},
        {"BotMatSub", "Mat.Subsid.", "8", 7, "MTSUB"},  {"BotPecas", "Mat.Diversos", "9", 8, "MTDIV"},
        {"BotDesper", "Embal.Cons.", "10", 9, "EMBAL"}, {"BotDiversos", "Diversos", "11", 9, "DIVER"}};
    return types;
}

QString FamilyCostCentres::forArticleType(const QString& type) const
{
    const QString t = type.trimmed();
    if (t == QLatin1String("1") || t == QLatin1String("4"))
        return products;
    if (t == QLatin1String("2"))
        return goods;
    if (t == QLatin1String("3"))
        return services;
    return {};
}

int updateArticleCostCentres(kv::db::Connection& invoicing, kv::notify::MessageSink& messages,
                             const std::function<void(const QString&, const QString&)>& progress)
{
    QHash<QString, FamilyCostCentres> families;
    for (const auto& row :
         invoicing.query(QStringLiteral("SELECT FAMILIA, CCUSTO, CCUSTOMERC, CCUSTOSERV FROM FAMILIAS")).rows)
        families.insert(row[0].toString(), {row[1].toString(), row[2].toString(), row[3].toString()});

    struct Change {
        QString article;
        QString centre;
    };
    std::vector<Change> changes;
    const auto articles =
        invoicing.query(QStringLiteral("SELECT CODIGO, FAMILIA, TIPOARTIGO FROM ARTIGOSCLS ORDER BY CODIGO"));
    changes.reserve(articles.rows.size());
    for (const auto& row : articles.rows) {
        const QString code = row[0].toString();
        const auto family = families.constFind(row[1].toString());
        if (family == families.constEnd()) {
            messages.error(QStringLiteral("Família Inexistente no Artigo : ") + code);
            continue;
        }
        changes.push_back({code, family->forArticleType(row[2].toString())});
    }

    kv::db::Transaction transaction(invoicing);
    const QString update = QStringLiteral("UPDATE ARTIGOSCLS SET CCUSTO = :WCCusto WHERE CODIGO = :WCodigo");
    for (const Change& change : changes) {
        // An empty cost centre is stored as the empty text, as the form writes it.
        invoicing.exec(update,
                       {{QStringLiteral("WCCusto"), change.centre}, {QStringLiteral("WCodigo"), change.article}});
        if (progress)
            progress(change.article, change.centre);
    }
    transaction.commit();
    return static_cast<int>(changes.size());
}

} // namespace kv::commercial
