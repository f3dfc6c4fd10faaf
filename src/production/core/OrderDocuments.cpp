#include "production/core/OrderDocuments.h"

#include "platform/db/Connection.h"
#include "platform/text/DateText.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>
#include <tuple>

namespace kv::production {

namespace {

const std::array<const char*, 11> finishingFlagColumns{
    "FUNDOAUTO", "FUNDOSEMIAUTO", "TAMPA", "COLAGEMLATERAL", "COLAGEMCANTOS", "COLAGEMDUPLA",
    "FUNDO",     "CAIXA",         "TABULEIRO", "AUTO_ARMAVEL", "MANGA"};
const std::array<const char*, 11> finishingTexts{"FUNDO AUTOMÁTICO",     "FUNDO SEMI AUTOMÁTICO", "TAMPA",
                                                 "COLAGEM LATERAL",      "COLAGEM 4 CANTOS",      "COLAGEM DUPLA PAREDE",
                                                 "FUNDO",                "CAIXA",                 "TABULEIRO",
                                                 "AUTO ARMÁVEL",         "MANGA"};

// The ORDFABDET columns read as they are stored.
QStringList docOrderColumns()
{
    QStringList columns{"ANO",        "SEMANA",      "ORDNRO",      "SUBORC",      "DETAIL",   "ORCNRO",     "CLINRO",
                        "CLISIGLA",   "ARTIGO",      "DESIGNACAO",  "QUANTIDADE",  "QTD1",     "QTD2",       "QTD3",
                        "QTD4",       "QTD5",        "UNVEND",      "DATAEMI",     "DATAENT",  "DATENT2",    "DATENT3",
                        "DATENT4",    "DATENT5",     "DATAPROD",    "SEMANAPROD",  "NPLANOS",  "NROENT",     "COMPRIM",
                        "LARGURA",    "ALTURA",      "PLNCOMPRIM1", "PLNLARGURA1", "PLNCOMPRIM2", "PLNLARGURA2", "CD",
                        "MODELO",     "FOTOLITOS",   "PROVAS",      "REPETICAO",   "REPETICAOALTER", "CORTANTENRO",
                        "CORTANTESIMALTERNRO", "OBSERV1", "OBSERV2", "OBSERV3", "OBSERV4"};
    for (const char* flag : finishingFlagColumns)
        columns << QLatin1String(flag);
    for (const char* kind : {"EXT", "PLT"})
        for (int n = 1; n <= 4; ++n)
            columns << QStringLiteral("QTD%1%2A").arg(QLatin1String(kind)).arg(n)
                    << QStringLiteral("QTD%1%2B").arg(QLatin1String(kind)).arg(n);
    return columns;
}

const QStringList docQuoteColumns{"CODIGO", "NOME",    "MORADA1", "MORADA2", "CODPOSTAL", "DESIGN1",  "DESIGN2",
                                  "DESIGN3", "DESIGN4", "DESIGN5", "DESIGN6", "UNDPLANO", "NROCORES", "NOSREF",
                                  "VOSREF"};

QStringList docComputedFields()
{
    QStringList fields{"ENC_VOSENC", "ENC_DATEMI", "ENC_LOCALIDADE", "ENC_CLINOM", "MORADA", "ITEMKIND", "NOVO",
                       "GRAMAGEM",   "ITEMKEY"};
    for (int k = 2; k <= 5; ++k)
        fields << QStringLiteral("DATENT%1T").arg(k);
    for (int s = 1; s <= 11; ++s)
        fields << QStringLiteral("SLOT%1").arg(s);
    for (const char* kind : {"EXT", "PLT"})
        for (int n = 1; n <= 4; ++n)
            fields << QStringLiteral("%1%2A").arg(QLatin1String(kind)).arg(n)
                   << QStringLiteral("%1%2B").arg(QLatin1String(kind)).arg(n)
                   << QStringLiteral("%1%2T").arg(QLatin1String(kind)).arg(n);
    return fields;
}

// "IN (:P0, :P1, ...)" of the values, each bound.
QString boundList(const QString& prefix, const QVariantList& values, kv::db::Params& params)
{
    QStringList names;
    for (int i = 0; i < values.size(); ++i) {
        names << QStringLiteral(":%1%2").arg(prefix).arg(i);
        params.set(QStringLiteral("%1%2").arg(prefix).arg(i), values[i]);
    }
    return QStringLiteral("(%1)").arg(names.join(QLatin1Char(',')));
}

// Runs `sql` (holding "%1" for the list) over the values in slices, so no
// statement binds more values than an engine takes.
template <class Visit>
void forEachSlice(kv::db::Connection& db, const QString& sql, const QVariantList& values, const Visit& visit)
{
    constexpr int Slice = 500;
    for (int from = 0; from < values.size(); from += Slice) {
        kv::db::Params params;
        const QString list = boundList(QStringLiteral("K"), values.mid(from, Slice), params);
        visit(db.query(sql.arg(list), params));
    }
}

int costClassRank(const QString& costClass)
{
    static const QStringList order{"MP", "CM", "PS", "MO", "EM"};
    const qsizetype at = order.indexOf(costClass);
    return at < 0 ? static_cast<int>(order.size()) : static_cast<int>(at);
}

// Where the computed texts of an item row go and what they are made of,
// found once per read rather than per row.
struct DocColumns {
    explicit DocColumns(const QStringList& fields)
    {
        const auto at = [&fields](const QString& name) { return static_cast<std::size_t>(fields.indexOf(name)); };
        ordnro = at(QStringLiteral("ORDNRO"));
        detail = at(QStringLiteral("DETAIL"));
        suborc = at(QStringLiteral("SUBORC"));
        repeat = at(QStringLiteral("REPETICAO"));
        firstDate = at(QStringLiteral("DATAENT"));
        postalCode = at(QStringLiteral("ORC_CODPOSTAL"));
        customerOrder = {at(QStringLiteral("ENC_VOSENC")), at(QStringLiteral("ENC_DATEMI")),
                         at(QStringLiteral("ENC_LOCALIDADE")), at(QStringLiteral("ENC_CLINOM"))};
        address = at(QStringLiteral("MORADA"));
        kind = at(QStringLiteral("ITEMKIND"));
        isNew = at(QStringLiteral("NOVO"));
        grammage = at(QStringLiteral("GRAMAGEM"));
        itemKey = at(QStringLiteral("ITEMKEY"));
        for (std::size_t k = 0; k < 4; ++k) {
            laterDates[k] = at(QStringLiteral("DATENT%1").arg(k + 2));
            laterTexts[k] = at(QStringLiteral("DATENT%1T").arg(k + 2));
        }
        for (std::size_t f = 0; f < 11; ++f) {
            flags[f] = at(QLatin1String(finishingFlagColumns[f]));
            slotCells[f] = at(QStringLiteral("SLOT%1").arg(f + 1));
        }
        std::size_t line = 0;
        for (const char* pack : {"EXT", "PLT"})
            for (int n = 1; n <= 4; ++n) {
                const QString base = QStringLiteral("%1%2").arg(QLatin1String(pack)).arg(n);
                packing[line++] = {at(QStringLiteral("QTD") + base + QLatin1Char('A')),
                                   at(QStringLiteral("QTD") + base + QLatin1Char('B')), at(base + QLatin1Char('A')),
                                   at(base + QLatin1Char('B')), at(base + QLatin1Char('T'))};
            }
    }

    std::size_t ordnro = 0, detail = 0, suborc = 0, repeat = 0, firstDate = 0, postalCode = 0;
    std::array<std::size_t, 4> customerOrder{}; // VOSENC, DATEMI, DESC_LOCALIDADE, CLINOM
    std::size_t address = 0, kind = 0, isNew = 0, grammage = 0, itemKey = 0;
    std::array<std::size_t, 4> laterDates{}, laterTexts{};
    std::array<std::size_t, 11> flags{}, slotCells{};
    // Per packing line: count, units (stored), and the three texts printed.
    std::array<std::array<std::size_t, 5>, 8> packing{};
};

} // namespace

const std::array<const char*, 11>& finishingColumns() { return finishingFlagColumns; }

std::array<QString, 11> finishingSlots(const std::array<QString, 11>& flags)
{
    std::array<QString, 11> filled;
    std::size_t next = 0;
    for (std::size_t f = 0; f < flags.size(); ++f)
        if (flags[f] == QLatin1String("S"))
            filled[next++] = QString::fromUtf8(finishingTexts[f]);
    return filled;
}

std::array<QString, 4> laterDeliveryTexts(const QDate& first, const std::array<QDate, 4>& later)
{
    std::array<QString, 4> texts;
    for (std::size_t k = 0; k < later.size(); ++k) {
        if (later[k] == first)
            break;
        texts[k] = kv::text::date(later[k]);
    }
    return texts;
}

std::array<QString, 3> packingLine(int count, int units)
{
    if (count == 0)
        return {};
    return {QString::number(count), QString::number(units), QString::number(static_cast<qint64>(count) * units)};
}

QString itemKind(int subQuote) { return subQuote == 0 ? QStringLiteral("Artigo Base") : QStringLiteral("Acessório"); }

const QStringList& orderDocumentFields()
{
    static const QStringList fields = [] {
        QStringList all = docOrderColumns();
        for (const QString& column : docQuoteColumns)
            all << QStringLiteral("ORC_") + column;
        return all + docComputedFields();
    }();
    return fields;
}

OrderDocumentData readOrderDocuments(kv::db::Connection& application, kv::db::Connection& invoicing,
                                     const QString& user)
{
    const kv::db::Params byUser{{QStringLiteral("WUtil"), user}};
    OrderDocumentData data;
    data.items.fields = orderDocumentFields();

    // The items of the queue, once each whatever the copies, with their order and quote rows.
    const QStringList orderColumns = docOrderColumns();
    QStringList select;
    for (const QString& column : orderColumns)
        select << (column == QLatin1String("ANO") || column == QLatin1String("SEMANA") || column == QLatin1String("ORDNRO")
                           || column == QLatin1String("DETAIL") || column == QLatin1String("SUBORC")
                       ? QStringLiteral("Q.") + column
                       : QStringLiteral("O.") + column);
    for (const QString& column : docQuoteColumns)
        select << QStringLiteral("M.%1 AS ORC_%1").arg(column);
    kv::db::QueryResult items = application.query(
        QStringLiteral("SELECT %1 FROM (SELECT ANO, SEMANA, ORDNRO, DETAIL, SUBORC FROM ORDFABIMPR WHERE UTIL = :WUtil "
                       "GROUP BY ANO, SEMANA, ORDNRO, DETAIL, SUBORC) Q "
                       "LEFT JOIN ORDFABDET O ON O.ANO = Q.ANO AND O.SEMANA = Q.SEMANA AND O.ORDNRO = Q.ORDNRO "
                       "AND O.DETAIL = Q.DETAIL AND O.SUBORC = Q.SUBORC "
                       "LEFT JOIN ORCMAS M ON M.CODIGO = O.ORCNRO AND M.SUBCODIGO = O.SUBORC "
                       "ORDER BY Q.ORDNRO, Q.DETAIL, Q.SUBORC, Q.ANO, Q.SEMANA")
            .arg(select.join(QStringLiteral(", "))),
        byUser);

    // Numbers first: the texts of year and week only part items of one number.
    using Key = std::tuple<qint64, int, int, QString, QString>;
    std::map<Key, std::size_t> itemIndex;
    QSet<qint64> orderNumbers;
    QSet<QString> postalCodes;
    const int postalColumn = items.columnIndex(QStringLiteral("ORC_CODPOSTAL"));
    data.items.rows.reserve(items.rows.size());
    for (std::size_t r = 0; r < items.rows.size(); ++r) {
        std::vector<QVariant>& row = items.rows[r];
        row.resize(static_cast<std::size_t>(data.items.fields.size()));
        itemIndex.emplace(Key{row[2].toLongLong(), row[4].toInt(), row[3].toInt(), row[0].toString(), row[1].toString()},
                          r);
        orderNumbers.insert(row[2].toLongLong());
        postalCodes.insert(row[static_cast<std::size_t>(postalColumn)].toString());
        data.items.rows.push_back(std::move(row));
    }

    // The copies in REGISTO order.
    const kv::db::QueryResult queue = application.query(
        QStringLiteral("SELECT REGISTO, ANO, SEMANA, ORDNRO, DETAIL, SUBORC FROM ORDFABIMPR WHERE UTIL = :WUtil "
                       "ORDER BY REGISTO"),
        byUser);
    for (const auto& row : queue.rows) {
        const auto found = itemIndex.find(
            Key{row[3].toLongLong(), row[4].toInt(), row[5].toInt(), row[1].toString(), row[2].toString()});
        if (found != itemIndex.end())
            data.copies.push_back({row[0].toInt(), found->second});
    }

    // The consumption of every item of the queue, its own year's, in one read.
    data.consumption.resize(data.items.rows.size());
    std::vector<QVariant> grammage(data.items.rows.size());
    const kv::db::QueryResult lines = application.query(
        QStringLiteral("SELECT Q.ANO, Q.SEMANA, Q.ORDNRO, Q.DETAIL, Q.SUBORC, C.TIPOCUSTO, C.CODTAB, C.DESIGN, "
                       "C.CONSUMO, C.TIPOTABELA, C.ENTRADA, C.DETAIL, P.GRAMAGEM, P.TIPOPAP "
                       "FROM (SELECT ANO, SEMANA, ORDNRO, DETAIL, SUBORC FROM ORDFABIMPR WHERE UTIL = :WUtil "
                       "GROUP BY ANO, SEMANA, ORDNRO, DETAIL, SUBORC) Q "
                       "JOIN ORCCONSUMOS C ON C.ANO = Q.ANO AND C.CODIGO = Q.ORDNRO AND C.SUBCODIGO = Q.SUBORC "
                       "AND C.ENCDETAIL = Q.DETAIL "
                       "LEFT JOIN PAPEIS P ON P.CODIGO = C.CODTAB AND C.TIPOTABELA = 8 "
                       "ORDER BY Q.ORDNRO, Q.DETAIL, Q.SUBORC, C.DETAIL"),
        byUser);
    struct Sortable {
        DocumentConsumptionLine line;
        int rank;
        int entry;
        int detail;
    };
    std::vector<std::vector<Sortable>> sortable(data.items.rows.size());
    for (const auto& row : lines.rows) {
        const auto found = itemIndex.find(
            Key{row[2].toLongLong(), row[3].toInt(), row[4].toInt(), row[0].toString(), row[1].toString()});
        if (found == itemIndex.end())
            continue;
        const QString costClass = row[5].toString();
        const bool machine = costClass == QLatin1String("CM");
        sortable[found->second].push_back({{costClass, row[6].toInt(), row[7].toString(), row[8].toDouble()},
                                           costClassRank(costClass),
                                           machine ? row[10].toInt() : 0,
                                           row[11].toInt()});
        // The cutting requisition's grammage: the item's first cardstock board.
        if (costClass == QLatin1String("MP") && row[9].toInt() == 8 && row[13].toString() == QLatin1String("C")
            && !grammage[found->second].isValid())
            grammage[found->second] = row[12];
    }
    for (std::size_t i = 0; i < sortable.size(); ++i) {
        auto& list = sortable[i];
        std::stable_sort(list.begin(), list.end(), [](const Sortable& a, const Sortable& b) {
            return std::tie(a.rank, a.entry, a.detail) < std::tie(b.rank, b.entry, b.detail);
        });
        data.consumption[i].reserve(list.size());
        for (Sortable& s : list)
            data.consumption[i].push_back(std::move(s.line));
    }

    // The customer orders by the orders' own numbers, and each postal code by key.
    QHash<qint64, std::vector<QVariant>> customerOrders;
    QVariantList numbers;
    for (qint64 n : orderNumbers)
        numbers << n;
    forEachSlice(invoicing,
                 QStringLiteral("SELECT ENCNRO, VOSENC, DATEMI, DESC_LOCALIDADE, CLINOM FROM ENCCLIMAS WHERE ENCNRO IN %1"),
                 numbers, [&](const kv::db::QueryResult& result) {
                     for (const auto& row : result.rows)
                         customerOrders.insert(row[0].toLongLong(), row);
                 });
    QHash<QString, QString> localities;
    QVariantList codes;
    for (const QString& code : postalCodes)
        if (!code.trimmed().isEmpty())
            codes << code;
    forEachSlice(invoicing, QStringLiteral("SELECT CODPOSTAL, LOCALIDADE FROM CODPOSTAL WHERE CODPOSTAL IN %1"), codes,
                 [&](const kv::db::QueryResult& result) {
                     for (const auto& row : result.rows)
                         localities.insert(row[0].toString(), row[1].toString());
                 });

    const DocColumns c(data.items.fields);
    for (std::size_t r = 0; r < data.items.rows.size(); ++r) {
        std::vector<QVariant>& row = data.items.rows[r];
        const auto order = customerOrders.constFind(row[c.ordnro].toLongLong());
        if (order != customerOrders.constEnd())
            for (std::size_t i = 0; i < c.customerOrder.size(); ++i)
                row[c.customerOrder[i]] = (*order)[i + 1];
        const QString code = row[c.postalCode].toString();
        const auto locality = localities.constFind(code);
        row[c.address] = locality == localities.constEnd() ? QString() : code + QLatin1Char(' ') + *locality;
        row[c.kind] = itemKind(row[c.suborc].toInt());
        row[c.isNew] = row[c.repeat].toString() == QLatin1String("N") ? QStringLiteral("SIM") : QStringLiteral("NÃO");
        row[c.grammage] = grammage[r];
        row[c.itemKey] = row[c.ordnro].toString() + row[c.detail].toString() + row[c.suborc].toString();
        std::array<QDate, 4> later;
        for (std::size_t k = 0; k < later.size(); ++k)
            later[k] = row[c.laterDates[k]].toDate();
        const auto deliveries = laterDeliveryTexts(row[c.firstDate].toDate(), later);
        for (std::size_t k = 0; k < later.size(); ++k)
            row[c.laterTexts[k]] = deliveries[k];
        std::array<QString, 11> flags;
        for (std::size_t f = 0; f < flags.size(); ++f)
            flags[f] = row[c.flags[f]].toString();
        const auto filled = finishingSlots(flags);
        for (std::size_t f = 0; f < filled.size(); ++f)
            row[c.slotCells[f]] = filled[f];
        for (const auto& line : c.packing) {
            const auto texts = packingLine(row[line[0]].toInt(), row[line[1]].toInt());
            for (std::size_t t = 0; t < texts.size(); ++t)
                row[line[2 + t]] = texts[t];
        }
    }
    return data;
}

const QStringList& modelTDocumentFields()
{
    static const QStringList fields{
        "REGISTO",   "ORDNRO",   "SUBORC",   "DETAIL",   "ORCNRO",    "CLINRO",    "CLISIGLA", "ARTIGO",
        "DESIGNACAO", "QUANTIDADE", "DATAEMI", "DATAENT", "DATAPROD",  "NPLANOS",   "PLCOMPRI", "PLLARGUR",
        "CORTANTE",  "OBSERV",   "CCOL_OBS", "CVINCO_OBS", "COL_OBS",  "FECHO_OBS", "ACAB_OBS", "PLT_OBS",
        "ORC_DATEMI", "ORC_COMPRIM", "ORC_LARGURA", "ORC_ALTURA", "ITEMKIND", "MAT1", "MAT2", "MAT3",
        "MAT4",      "MAT5",     "COLA1",    "COLA2"};
    return fields;
}

DocumentRows readModelTDocuments(kv::db::Connection& application, const QString& user)
{
    const kv::db::QueryResult result = application.query(
        QStringLiteral("SELECT Q.REGISTO, Q.ORDNRO, Q.SUBORC, Q.DETAIL, O.ORCNRO, O.CLINRO, O.CLISIGLA, O.ARTIGO, "
                       "O.DESIGNACAO, O.QUANTIDADE, O.DATAEMI, O.DATAENT, O.DATAPROD, O.NPLANOS, O.PLCOMPRI, "
                       "O.PLLARGUR, O.CORTANTE, O.OBSERV, O.CCOL_OBS, O.CVINCO_OBS, O.COL_OBS, O.FECHO_OBS, "
                       "O.ACAB_OBS, O.PLT_OBS, M.DATEMI, M.COMPRIM, M.LARGURA, M.ALTURA, "
                       "O.CCOL_MAT1, O.CCOL_MAT2, O.CCOL_MAT3, O.CCOL_MAT4, O.CCOL_MAT5, "
                       "O.CCOL_TMAT1, O.CCOL_TMAT2, O.CCOL_TMAT3, O.CCOL_TMAT4, O.CCOL_TMAT5, O.COL_MAT1, O.COL_MAT2 "
                       "FROM ORDFABIMPR Q "
                       "LEFT JOIN ORDFABRICO O ON O.ANO = Q.ANO AND O.ORDNRO = Q.ORDNRO AND O.DETAIL = Q.DETAIL "
                       "AND O.SUBORC = Q.SUBORC "
                       "LEFT JOIN ORCMAS M ON M.CODIGO = O.ORCNRO AND M.SUBCODIGO = O.SUBORC "
                       "WHERE Q.UTIL = :WUtil ORDER BY Q.REGISTO"),
        {{QStringLiteral("WUtil"), user}});

    // The designations of the boards and glues named, each table read once by key.
    QSet<int> boardCodes;
    QSet<int> glueCodes;
    for (const auto& row : result.rows) {
        for (int i = 0; i < 5; ++i) {
            const int kind = row[static_cast<std::size_t>(33 + i)].toInt();
            if (kind == 8)
                boardCodes.insert(row[static_cast<std::size_t>(28 + i)].toInt());
            else if (kind == 4)
                glueCodes.insert(row[static_cast<std::size_t>(28 + i)].toInt());
        }
        glueCodes.insert(row[38].toInt());
        glueCodes.insert(row[39].toInt());
    }
    const auto designations = [&application](const QString& table, const QSet<int>& codes) {
        QHash<int, QString> names;
        QVariantList values;
        for (int code : codes)
            values << code;
        forEachSlice(application, QStringLiteral("SELECT CODIGO, DESIGNACAO FROM %1 WHERE CODIGO IN %2").arg(table, QStringLiteral("%1")),
                     values, [&names](const kv::db::QueryResult& r) {
                         for (const auto& row : r.rows)
                             names.insert(row[0].toInt(), row[1].toString());
                     });
        return names;
    };
    const QHash<int, QString> boards = designations(QStringLiteral("PAPEIS"), boardCodes);
    const QHash<int, QString> glues = designations(QStringLiteral("COLAS"), glueCodes);

    DocumentRows rows;
    rows.fields = modelTDocumentFields();
    rows.rows.reserve(result.rows.size());
    for (const auto& in : result.rows) {
        std::vector<QVariant> row(in.begin(), in.begin() + 28);
        row.push_back(itemKind(in[2].toInt()));
        for (int i = 0; i < 5; ++i) {
            const int kind = in[static_cast<std::size_t>(33 + i)].toInt();
            const int code = in[static_cast<std::size_t>(28 + i)].toInt();
            row.push_back(kind == 8 ? boards.value(code) : kind == 4 ? glues.value(code) : QString());
        }
        row.push_back(in[38].isNull() ? QString() : glues.value(in[38].toInt()));
        row.push_back(in[39].isNull() ? QString() : glues.value(in[39].toInt()));
        rows.rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace kv::production
