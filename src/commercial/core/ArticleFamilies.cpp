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

QString purchaseTypeAbbreviation(const QString& type)
{
    for (const PurchaseArticleType& t : purchaseArticleTypes())
        if (type.trimmed() == QLatin1String(t.type))
            return QString::fromLatin1(t.abbreviation);
    return {};
}

const QStringList& purchaseAccountColumns()
{
    static const QStringList columns{
        QStringLiteral("CONTACOMPRAS"),    QStringLiteral("CONTADEVOLUCOES"),    QStringLiteral("CONTADESCONTOS"),
        QStringLiteral("CONTACONSUMOS"),   QStringLiteral("CONTAREGINV"),        QStringLiteral("CONTACOMPRAS_MI"),
        QStringLiteral("CONTADEVOLUCOES_MI"), QStringLiteral("CONTADESCONTOS_MI"), QStringLiteral("CONTACONSUMOS_MI"),
        QStringLiteral("CONTAREGINV_MI"),  QStringLiteral("CONTACOMPRAS_O"),     QStringLiteral("CONTADEVOLUCOES_O"),
        QStringLiteral("CONTADESCONTOS_O"), QStringLiteral("CONTACONSUMOS_OU"),  QStringLiteral("CONTAREGINV_OU")};
    return columns;
}

void clearEmptyPurchaseAccounts(kv::db::Connection& invoicing)
{
    kv::db::Transaction transaction(invoicing);
    for (const char* column : {"CONTACOMPRAS", "CONTACOMPRAS_MI", "CONTACOMPRAS_O", "CONTADESCONTOS",
                               "CONTADESCONTOS_MI", "CONTADESCONTOS_O", "CONTADEVOLUCOES", "CONTADEVOLUCOES_MI",
                               "CONTADEVOLUCOES_O"})
        invoicing.exec(QStringLiteral("UPDATE CONTAB_FAMILIAS SET %1 = '' WHERE %1 IS NULL").arg(QLatin1String(column)));
    transaction.commit();
}

kv::db::QueryResult familyPurchaseRows(kv::db::Connection& invoicing, const QString& family)
{
    return invoicing.query(QStringLiteral("SELECT FAMILIA, TIPOART, CCUSTO, %1 FROM CONTAB_FAMILIAS "
                                          "WHERE FAMILIA = :FAMILIA ORDER BY FAMILIA, TIPOART")
                               .arg(purchaseAccountColumns().join(QStringLiteral(", "))),
                           {{QStringLiteral("FAMILIA"), family}});
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
