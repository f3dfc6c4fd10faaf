#include "production/core/OrderIssue.h"

#include "platform/db/Connection.h"

#include <QDateTime>
#include <QTime>

namespace kv::production {

namespace {

QDateTime issueDayStart(const QDate& day) { return QDateTime(day, QTime(0, 0)); }

} // namespace

const kv::db::PrintQueueTable& OrderIssue::queueTable()
{
    static const kv::db::PrintQueueTable table{QStringLiteral("ORDFABIMPR"), QStringLiteral("ORDNRO"),
                                               QStringLiteral("UTIL"), QStringLiteral("VIA")};
    return table;
}

OrderIssue::OrderIssue(kv::db::Connection& application, QString user, IssueModel model)
    : m_db(application), m_user(std::move(user)), m_model(model)
{
}

QString OrderIssue::listSql(IssueModel model, const IssueSelection& selection)
{
    const bool detail = model == IssueModel::Detail;
    QString sql = detail ? QStringLiteral("SELECT ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, CLINRO, CLISIGLA, ARTIGO, "
                                          "DESIGNACAO, QUANTIDADE, UNVEND, DATAENT, DATAPROD, PRODUZ, IMPR "
                                          "FROM ORDFABDET WHERE ")
                         : QStringLiteral("SELECT ANO, ORDNRO, SUBORC, DETAIL, CLINRO, CLISIGLA, ARTIGO, DESIGNACAO, "
                                          "QUANTIDADE, UNVEND, DATAENT, DATAPROD, PRODUZ, IMPR FROM ORDFABRICO WHERE ");
    // Dates are whole days: each to-date's day is included.
    sql += QStringLiteral("CLINRO >= :WCliNro1 AND CLINRO <= :WCliNro2 AND ORDNRO >= :WDocNro1 AND ORDNRO <= :WDocNro2 "
                          "AND DATAENT >= :WDatEnt1 AND DATAENT < :WDatEnt2 "
                          "AND DATAPROD >= :WDatProd1 AND DATAPROD < :WDatProd2 "
                          "AND ARTIGO >= :WArtNro1 AND ARTIGO <= :WArtNro2 AND ");
    if (!selection.reprint)
        sql += QStringLiteral("IMPR = 'N' AND ");
    sql += QStringLiteral("PRODUZ = 'N' ORDER BY DATAPROD, ");
    return sql + (detail ? QStringLiteral("ANO, SEMANA, ORDNRO, DETAIL, SUBORC") : QStringLiteral("ANO, ORDNRO, DETAIL, SUBORC"));
}

kv::db::Params OrderIssue::listParams(const IssueSelection& s)
{
    return {{QStringLiteral("WCliNro1"), s.fromCustomer},
            {QStringLiteral("WCliNro2"), s.toCustomer},
            {QStringLiteral("WDocNro1"), s.fromOrder},
            {QStringLiteral("WDocNro2"), s.toOrder},
            {QStringLiteral("WDatEnt1"), issueDayStart(s.fromDelivery)},
            {QStringLiteral("WDatEnt2"), issueDayStart(s.toDelivery.addDays(1))},
            {QStringLiteral("WDatProd1"), issueDayStart(s.fromProduction)},
            {QStringLiteral("WDatProd2"), issueDayStart(s.toProduction.addDays(1))},
            {QStringLiteral("WArtNro1"), s.fromArticle},
            {QStringLiteral("WArtNro2"), s.toArticle}};
}

std::vector<IssueItem> OrderIssue::listed(const IssueSelection& selection) const
{
    const kv::db::QueryResult result = m_db.query(listSql(m_model, selection), listParams(selection));
    std::vector<IssueItem> items;
    items.reserve(result.rows.size());
    const bool detail = m_model == IssueModel::Detail;
    for (std::size_t r = 0; r < result.rows.size(); ++r)
        items.push_back({result.value(r, QStringLiteral("ANO")).toString(),
                         detail ? result.value(r, QStringLiteral("SEMANA")).toString() : QString(),
                         result.value(r, QStringLiteral("ORDNRO")).toLongLong(),
                         result.value(r, QStringLiteral("DETAIL")).toInt(),
                         result.value(r, QStringLiteral("SUBORC")).toInt()});
    return items;
}

std::optional<QString> OrderIssue::refusal(const QStringList& copies, const QString& productionModel)
{
    if (productionModel != QLatin1String("M") && productionModel != QLatin1String("T"))
        return QStringLiteral("Não há documentos de Ordens de Fabrico para o modelo de Ordens de Fabrico \"%1\" dos "
                              "Parâmetros Gerais: nenhuma Ordem de Fabrico foi emitida.")
            .arg(productionModel);
    if (copies.isEmpty())
        return QStringLiteral("Nenhuma Via do Documento seleccionada: nenhuma Ordem de Fabrico foi emitida.");
    return std::nullopt;
}

QStringList OrderIssue::chosenCopies(const QStringList& names,
                                     const std::array<bool, kv::db::PrintQueue::CopySlots>& ticked)
{
    QStringList copies;
    for (int slot = 0; slot < kv::db::PrintQueue::CopySlots && slot < names.size(); ++slot) {
        const QString name = names[slot].left(15);
        if (ticked[slot] && !name.trimmed().isEmpty())
            copies << name;
    }
    return copies;
}

QString OrderIssue::itemKey(qint64 order, int detail, int subQuote)
{
    return QString::number(order) + QString::number(detail) + QString::number(subQuote);
}

int OrderIssue::queue(const std::vector<IssueItem>& items, const QStringList& copies, const QString& week,
                      const std::function<void(int, int, qint64)>& progress)
{
    const bool detail = m_model == IssueModel::Detail;
    QStringList columns{QStringLiteral("ANO"), QStringLiteral("SEMANA"), QStringLiteral("ORDNRO"),
                        QStringLiteral("DETAIL"), QStringLiteral("SUBORC")};
    if (detail)
        columns << QStringLiteral("ORDFABRICO");
    std::vector<QVariantList> rows;
    rows.reserve(items.size());
    for (const IssueItem& item : items) {
        QVariantList row{item.year, detail ? item.week : week, item.order, item.detail, item.subQuote};
        if (detail)
            row << itemKey(item.order, item.detail, item.subQuote);
        rows.push_back(std::move(row));
    }
    // The mark covers the whole slot (every sub-quote), not only the item.
    // The order number is the customer order's, so the slot is found on the
    // order's key rather than by reading every order for ENCNRO.
    const QString mark = detail ? QStringLiteral("UPDATE ORDFABDET SET IMPR = 'S' WHERE ANO = :A AND SEMANA = :S AND "
                                                 "ORDNRO = :N AND DETAIL = :D")
                                : QStringLiteral("UPDATE ORDFABRICO SET IMPR = 'S' WHERE ANO = :A AND ORDNRO = :N AND "
                                                 "DETAIL = :D");
    kv::db::PrintQueue queue(m_db, queueTable(), m_user);
    return queue.fillNumbered(
        QStringLiteral("REGISTO"), columns, rows, copies,
        [&](kv::db::Connection& db, std::size_t i) {
            kv::db::Params p{{QStringLiteral("A"), items[i].year},
                             {QStringLiteral("N"), items[i].order},
                             {QStringLiteral("D"), items[i].detail}};
            if (detail)
                p.set(QStringLiteral("S"), items[i].week);
            db.exec(mark, p);
        },
        [&](int done, int total, std::size_t i) {
            if (progress)
                progress(done, total, items[i].order);
        });
}

void OrderIssue::emptyQueue() { kv::db::PrintQueue(m_db, queueTable(), m_user).empty(); }

std::optional<QStringList> OrderIssue::copyNames(kv::db::Connection& application)
{
    const kv::db::QueryResult row = application.query(
        QStringLiteral("SELECT OFVIA1, OFVIA2, OFVIA3, OFVIA4, OFVIA5, OFVIA6, OFVIA7, OFVIA8 FROM ORCPARGER "
                       "WHERE CODIGO = 1"));
    if (row.isEmpty())
        return std::nullopt;
    QStringList names;
    for (const QVariant& name : row.rows.front())
        names << name.toString().left(15);
    return names;
}

std::optional<std::pair<QString, QString>> OrderIssue::calendarWeek(kv::db::Connection& invoicing, const QDate& day)
{
    const kv::db::QueryResult row =
        invoicing.query(QStringLiteral("SELECT SEMANA, DIASEM FROM CALENDARIO WHERE DATA >= :D1 AND DATA < :D2"),
                        {{QStringLiteral("D1"), issueDayStart(day)}, {QStringLiteral("D2"), issueDayStart(day.addDays(1))}});
    if (row.isEmpty())
        return std::nullopt;
    return std::make_pair(QStringLiteral("%1").arg(row.rows[0][0].toInt(), 2, 10, QLatin1Char('0')),
                          row.rows[0][1].toString());
}

bool OrderIssue::customisationParametersExist(kv::db::Connection& invoicing)
{
    return invoicing.scalar(QStringLiteral("SELECT CODIGO FROM PARCUSTOM WHERE CODIGO = '1'")).isValid();
}

std::optional<QString> OrderIssue::pictureFolder(kv::db::Connection& invoicing, const QString& year)
{
    const kv::db::QueryResult row = invoicing.query(QStringLiteral("SELECT PATHFOTO FROM PARGER WHERE ANO = :A"),
                                                    {{QStringLiteral("A"), year}});
    if (row.isEmpty())
        return std::nullopt;
    return row.rows[0][0].toString();
}

} // namespace kv::production
