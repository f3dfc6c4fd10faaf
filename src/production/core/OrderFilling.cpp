#include "production/core/OrderFilling.h"

#include "platform/db/Connection.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <cmath>

namespace kv::production {

namespace {

QString fillText(const char* utf8) { return QString::fromUtf8(utf8); }

// A number typed into a field: empty reads as 0, a text that is no number as nothing.
std::optional<double> fillNumber(const QString& text)
{
    if (text.trimmed().isEmpty())
        return 0.0;
    return kv::text::parseNumber(text);
}

std::optional<FillRefusal> fillRefuse(const char* message, const QString& focus, bool beep = true)
{
    return FillRefusal{fillText(message), focus, beep};
}

QString packColumn(const char* block, int row, char side)
{
    return QStringLiteral("QTD%1%2%3").arg(QLatin1String(block)).arg(row).arg(QLatin1Char(side));
}

constexpr const char* kPackBlocks[] = {"EXT", "PLT"};

} // namespace

const std::vector<FilledColumn>& filledColumns()
{
    static const std::vector<FilledColumn> columns = [] {
        std::vector<FilledColumn> c = {
            {"DATAPROD", FillKind::Date},          {"QUANTFINAL", FillKind::Number},
            {"NPLANOS", FillKind::Number},         {"NROENT", FillKind::Integer},
            {"COMPRIM", FillKind::Number},         {"LARGURA", FillKind::Number},
            {"ALTURA", FillKind::Number},          {"PLNCOMPRIM1", FillKind::Number},
            {"PLNLARGURA1", FillKind::Number},     {"PLNCOMPRIM2", FillKind::Number},
            {"PLNLARGURA2", FillKind::Number},     {"CD", FillKind::Text},
            {"MAQUETA", FillKind::Text},           {"MODELO", FillKind::Text},
            {"DIAPOSITIVOS", FillKind::Text},      {"FOTOLITOS", FillKind::Text},
            {"PROVAS", FillKind::Text},            {"REPETICAO", FillKind::Flag},
            {"REPETICAOALTER", FillKind::Flag},    {"CORTANTESIM", FillKind::Flag},
            {"CORTANTENRO", FillKind::Text},       {"CORTANTESIMALTER", FillKind::Flag},
            {"CORTANTESIMALTERNRO", FillKind::Text}, {"FUNDOAUTO", FillKind::Flag},
            {"FUNDOSEMIAUTO", FillKind::Flag},     {"TAMPA", FillKind::Flag},
            {"FUNDO", FillKind::Char},             {"CAIXA", FillKind::Char},
            {"COLAGEMLATERAL", FillKind::Flag},    {"COLAGEMCANTOS", FillKind::Flag},
            {"COLAGEMDUPLA", FillKind::Flag},      {"PLASTICIZAR", FillKind::Flag},
            {"TABULEIRO", FillKind::Flag},         {"AUTO_ARMAVEL", FillKind::Flag},
            {"MANGA", FillKind::Flag},
        };
        for (const char* packing : {"QTDEXT1A", "QTDEXT1B", "QTDEXT2A", "QTDEXT2B", "QTDEXT3A", "QTDEXT3B", "QTDEXT4A",
                                    "QTDEXT4B", "QTDPLT1A", "QTDPLT1B", "QTDPLT2A", "QTDPLT2B", "QTDPLT3A", "QTDPLT3B",
                                    "QTDPLT4A", "QTDPLT4B"})
            c.push_back({packing, FillKind::Integer});
        for (const char* obs : {"OBSERV1", "OBSERV2", "OBSERV3", "OBSERV4"})
            c.push_back({obs, FillKind::Text});
        return c;
    }();
    return columns;
}

OrderFilling::OrderFilling(kv::db::Connection& application, kv::db::Connection& invoicing, SelectedOrder order)
    : m_application(application), m_invoicing(invoicing), m_order(std::move(order))
{
}

namespace {

kv::db::Params orderKeyParams(const SelectedOrder& o)
{
    return {{"ANO", o.year}, {"SEMANA", o.week}, {"ORDNRO", o.orderNumber}, {"SUBORC", o.subQuote},
            {"DETAIL", o.detail}};
}

const char* const kOrderKey =
    "ANO = :ANO AND SEMANA = :SEMANA AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC AND DETAIL = :DETAIL";

} // namespace

std::optional<QHash<QString, QVariant>> firstRowOf(const kv::db::QueryResult& result)
{
    if (result.isEmpty())
        return std::nullopt;
    QHash<QString, QVariant> row;
    for (int c = 0; c < result.columns.size(); ++c)
        row.insert(result.columns[c].toUpper(), result.rows[0][static_cast<std::size_t>(c)]);
    return row;
}

std::optional<QHash<QString, QVariant>> OrderFilling::readOrder() const
{
    return firstRowOf(m_application.query(
        QStringLiteral("SELECT * FROM ORDFABDET WHERE %1").arg(QLatin1String(kOrderKey)), orderKeyParams(m_order)));
}

std::optional<FillingQuote> OrderFilling::readQuote() const
{
    return quoteRow(m_application, m_order.quoteNumber, m_order.subQuote);
}

std::optional<FillingQuote> OrderFilling::quoteRow(kv::db::Connection& application, int quote, int subQuote)
{
    const auto r = application.query(
        QStringLiteral("SELECT UNIDADE, PESOJANELAS FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = :S"),
        {{"C", quote}, {"S", subQuote}});
    if (r.isEmpty())
        return std::nullopt;
    return FillingQuote{r.value(0, QStringLiteral("UNIDADE")).toString(),
                        r.value(0, QStringLiteral("PESOJANELAS")).toDouble()};
}

QString OrderFilling::quoteDeletedMessage(int quote, int subQuote)
{
    return QStringLiteral("ERRO FATAL !!! Orçamento Eliminado : %1 %2").arg(quote).arg(subQuote);
}

QString OrderFilling::articleDesignation(const QString& article) const
{
    return articleDesignation(m_invoicing, article);
}

QString OrderFilling::customerName(int customer) const { return customerName(m_invoicing, customer); }

QString OrderFilling::articleDesignation(kv::db::Connection& invoicing, const QString& article)
{
    return invoicing.scalar(QStringLiteral("SELECT DESIGNACAO FROM ARTIGOSCLS WHERE CODIGO = :C"), {{"C", article}})
        .toString();
}

QString OrderFilling::customerName(kv::db::Connection& invoicing, int customer)
{
    return invoicing.scalar(QStringLiteral("SELECT NOME FROM CLIENTES WHERE CODIGO = :N"), {{"N", customer}})
        .toString();
}

ProductionDay OrderFilling::productionDay(const QString& text) const { return calendarDay(m_invoicing, text); }

ProductionDay OrderFilling::calendarDay(kv::db::Connection& invoicing, const QString& text)
{
    const QString focus = QStringLiteral("DATAPROD");
    const auto date = kv::text::parseDate(text);
    if (!date)
        return {FillRefusal{kv::text::notADateMessage(text), focus}, {}};
    const auto r = invoicing.query(QStringLiteral("SELECT TIPODIA, SEMANA FROM CALENDARIO WHERE DATA = :D"),
                                     {{"D", *date}});
    if (r.isEmpty())
        return {fillRefuse("Data Inexistente no Ficheiro de Calendário", focus), {}};
    if (r.value(0, QStringLiteral("TIPODIA")).toString() != QLatin1String("TB"))
        return {fillRefuse("Escolheu um dia de PAUSA para a Empresa", focus), {}};
    return {std::nullopt, QStringLiteral("%1").arg(r.value(0, QStringLiteral("SEMANA")).toInt(), 2, 10, QLatin1Char('0'))};
}

std::optional<FillRefusal> OrderFilling::fieldRefusal(const QString& column, const QString& text)
{
    const QString t = text.trimmed();
    for (const FilledColumn& f : filledColumns()) {
        if (column != QLatin1String(f.column))
            continue;
        if (f.kind == FillKind::Flag && t != QLatin1String("S") && t != QLatin1String("N"))
            return fillRefuse("Digite [S]/[N] ", column);
        if ((f.kind == FillKind::Number || f.kind == FillKind::Integer) && !fillNumber(t))
            return FillRefusal{kv::text::notANumberMessage(text), column};
        if (f.kind == FillKind::Integer && t.isEmpty() == false && !kv::text::parseInteger(t))
            return FillRefusal{kv::text::notAnIntegerMessage(text), column};
        break;
    }
    const double value = fillNumber(t).value_or(0.0);
    if (column == QLatin1String("QUANTFINAL") && (t.isEmpty() || value == 0.0))
        return fillRefuse("Quantidade Inexistente", column);
    if (column == QLatin1String("NPLANOS") && (t.isEmpty() || t == QLatin1String("0")))
        return fillRefuse("TEM QUE INSERIR O Nº DE FOLHAS!!!", column);
    if (column == QLatin1String("NROENT") && (t.isEmpty() || value == 0.0))
        return fillRefuse("INDIQUE O Nº DE PASSAGENS!!", column, false);
    if (column == QLatin1String("PLNCOMPRIM1") && t.isEmpty())
        return fillRefuse("Insira o comprimento do plano !!!", column);
    if (column == QLatin1String("PLNLARGURA1") && t.isEmpty())
        return fillRefuse("Insira a Largura do plano !!!", column);
    if (column.startsWith(QLatin1String("QTD")) && column.endsWith(QLatin1Char('B')) && value == 0.0) {
        QString count = column;
        count.back() = QLatin1Char('A');
        return fillRefuse("A Quantidade Não Pode Ser ZERO!!!", count);
    }
    return std::nullopt;
}

double OrderFilling::packedTotal(const QHash<QString, QString>& texts)
{
    double total = 0;
    for (const char* block : kPackBlocks)
        for (int row = 1; row <= 4; ++row)
            total += fillNumber(texts.value(packColumn(block, row, 'A'))).value_or(0.0)
                     * fillNumber(texts.value(packColumn(block, row, 'B'))).value_or(0.0);
    return total;
}

double OrderFilling::unitsToProduce(double quantity, const QString& quoteUnit)
{
    return quoteUnit == QLatin1String("M") ? quantity * 1000.0 : quantity;
}

std::optional<FillRefusal> OrderFilling::packedTotalRefusal(const QHash<QString, QString>& texts,
                                                            const QString& quoteUnit)
{
    const double packed = packedTotal(texts);
    const double units = unitsToProduce(fillNumber(texts.value(QStringLiteral("QUANTFINAL"))).value_or(0.0), quoteUnit);
    if (packed > 0 && std::abs(packed - units) > 1e-6)
        return fillRefuse("QUANTIDADES A EMBALAR DIFERENTES DA QTD. A PRODUZIR !!!", QStringLiteral("QTDEXT1A"));
    return std::nullopt;
}

double OrderFilling::sheetArea(double length1, double width1, double length2, double width2)
{
    double area = length1 / 100.0 * width1 / 100.0;
    if (length2 != 0.0)
        area += length2 / 100.0 * width2 / 100.0;
    return area;
}

std::optional<FillRefusal> OrderFilling::firstRefusal(const QHash<QString, QString>& texts,
                                                      const QString& quoteUnit) const
{
    for (const FilledColumn& f : filledColumns()) {
        const QString column = QLatin1String(f.column);
        const QString text = texts.value(column);
        if (f.kind == FillKind::Date) {
            if (auto day = productionDay(text); day.refusal)
                return day.refusal;
            continue;
        }
        // A packing row whose count is 0 packs nothing: its units are not asked for.
        if (column.startsWith(QLatin1String("QTD")) && column.endsWith(QLatin1Char('B'))) {
            QString count = column;
            count.back() = QLatin1Char('A');
            if (fillNumber(texts.value(count)).value_or(0.0) == 0.0)
                continue;
        }
        if (column == QLatin1String("COMPRIM")) // leaving the length asks for the sheet length too
            if (auto r = fieldRefusal(QStringLiteral("PLNCOMPRIM1"), texts.value(QStringLiteral("PLNCOMPRIM1"))))
                return r;
        if (auto r = fieldRefusal(column, text))
            return r;
    }
    return packedTotalRefusal(texts, quoteUnit);
}

std::optional<FillRefusal> OrderFilling::save(const QHash<QString, QString>& texts, const QString& quoteUnit)
{
    if (auto refusal = firstRefusal(texts, quoteUnit))
        return refusal;
    const ProductionDay day = productionDay(texts.value(QStringLiteral("DATAPROD")));
    QStringList sets{QStringLiteral("SEMANAPROD = :SEMANAPROD")};
    kv::db::Params params = orderKeyParams(m_order);
    params.set(QStringLiteral("SEMANAPROD"), day.week);
    for (const FilledColumn& f : filledColumns()) {
        const QString column = QLatin1String(f.column);
        const QString text = texts.value(column).trimmed();
        QVariant value;
        switch (f.kind) {
        case FillKind::Date:
            value = *kv::text::parseDate(text);
            break;
        case FillKind::Number:
            value = fillNumber(text).value_or(0.0);
            break;
        case FillKind::Integer:
            value = static_cast<int>(fillNumber(text).value_or(0.0));
            break;
        default:
            value = texts.value(column);
        }
        sets << QStringLiteral("%1 = :%1").arg(column);
        params.set(column, value);
    }
    return writeOrderRow(m_application, QStringLiteral("ORDFABDET"), sets, QLatin1String(kOrderKey), params,
                         m_order.orderNumber);
}

std::optional<FillRefusal> writeOrderRow(kv::db::Connection& application, const QString& table,
                                         const QStringList& sets, const QString& where, const kv::db::Params& params,
                                         int orderNumber)
{
    kv::db::Transaction work(application);
    const long long changed = application.exec(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table, sets.join(QStringLiteral(", ")), where), params);
    if (changed != 1)
        return FillRefusal{QStringLiteral("A Ordem de Fabrico %1 já não existe: nada foi gravado.").arg(orderNumber),
                           QStringLiteral("DATAPROD")};
    work.commit();
    return std::nullopt;
}

} // namespace kv::production
