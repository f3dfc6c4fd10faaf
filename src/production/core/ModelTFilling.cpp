#include "production/core/ModelTFilling.h"

#include "domain/TableType.h"
#include "platform/db/Connection.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

namespace kv::production {

namespace {

using kv::domain::TableType;
using kv::domain::typeCode;

QString tText(const char* utf8) { return QString::fromUtf8(utf8); }

QString tColumn(const char* stem, int n) { return QLatin1String(stem) + QString::number(n); }

std::optional<FillRefusal> tRefuse(const char* message, const QString& focus)
{
    return FillRefusal{tText(message), focus, true};
}

const char* const kTOrderKey = "ANO = :ANO AND ORDNRO = :ORDNRO AND SUBORC = :SUBORC AND DETAIL = :DETAIL";

// The columns the form writes: free texts, then numbers.
const char* const kTTexts[] = {"OBSERV", "CCOL_OBS", "CORTANTE", "CVINCO_OBS", "COL_OBS", "FECHO_OBS", "ACAB_OBS",
                               "PLT_OBS"};

} // namespace

ModelTFilling::ModelTFilling(kv::db::Connection& application, kv::db::Connection& invoicing, SelectedOrder order)
    : m_application(application), m_invoicing(invoicing), m_order(std::move(order))
{
}

std::optional<QHash<QString, QVariant>> ModelTFilling::readOrder() const
{
    return firstRowOf(m_application.query(QStringLiteral("SELECT * FROM ORDFABRICO WHERE %1").arg(QLatin1String(kTOrderKey)),
                                          {{"ANO", m_order.year},
                                           {"ORDNRO", m_order.orderNumber},
                                           {"SUBORC", m_order.subQuote},
                                           {"DETAIL", m_order.detail}}));
}

std::optional<FillingQuote> ModelTFilling::readQuote() const
{
    return OrderFilling::quoteRow(m_application, m_order.quoteNumber, m_order.subQuote);
}

int ModelTFilling::tableKind(const QString& kindText)
{
    if (kindText == QLatin1String("P"))
        return typeCode(TableType::Board);
    if (kindText == QLatin1String("C"))
        return typeCode(TableType::Glue);
    return 0;
}

QString ModelTFilling::designation(int kind, int code) const
{
    const QString table = kind == typeCode(TableType::Board) ? QStringLiteral("PAPEIS") : QStringLiteral("COLAS");
    return m_application.scalar(QStringLiteral("SELECT DESIGNACAO FROM %1 WHERE CODIGO = :C").arg(table), {{"C", code}})
        .toString();
}

QHash<QString, QString> ModelTFilling::shownTexts(const QHash<QString, QVariant>& row) const
{
    QHash<QString, QString> t;
    auto number = [&row](const QString& c) {
        const QVariant v = row.value(c);
        return v.isNull() ? QString() : kv::text::plain(v.toDouble());
    };
    for (const char* c : kTTexts)
        t.insert(QLatin1String(c), row.value(QLatin1String(c)).toString());
    for (const char* c : {"QUANTIDADE", "NPLANOS", "PLCOMPRI", "PLLARGUR"})
        t.insert(QLatin1String(c), number(QLatin1String(c)));
    // An order whose sheet length was never filled counts as not yet filled.
    if (row.value(QStringLiteral("PLCOMPRI")).toDouble() != 0.0)
        t.insert(QStringLiteral("DATAPROD"), kv::text::date(row.value(QStringLiteral("DATAPROD")).toDate()));
    for (int n = 1; n <= 5; ++n) {
        const int kind = row.value(tColumn("CCOL_TMAT", n)).toInt();
        const int code = row.value(tColumn("CCOL_MAT", n)).toInt();
        t.insert(tColumn("CCOL_MAT", n), code == 0 ? QString() : QString::number(code));
        t.insert(tColumn("CCOL_UND", n), row.value(tColumn("CCOL_UND", n)).toString());
        QString kindText;
        QString name;
        if (kind == typeCode(TableType::Board)) {
            kindText = QStringLiteral("P");
            if (code != 0) {
                name = designation(kind, code);
                if (name.isEmpty())
                    name = QStringLiteral("Tipo de papel Eliminado ...");
            }
        } else if (code != 0) {
            kindText = QStringLiteral("C");
            name = designation(typeCode(TableType::Glue), code);
            if (name.isEmpty())
                name = QStringLiteral("Tipo de Cola Eliminado ...");
        }
        t.insert(tColumn("KIND", n), kindText);
        t.insert(tColumn("DESIGN", n), name);
    }
    for (int n = 1; n <= 2; ++n) {
        const int code = row.value(tColumn("COL_MAT", n)).toInt();
        t.insert(tColumn("COL_MAT", n), code == 0 ? QString() : QString::number(code));
        QString name;
        if (code != 0) {
            name = designation(typeCode(TableType::Glue), code);
            if (name.isEmpty())
                name = QStringLiteral("Tipo de Cola Eliminado ...");
        }
        t.insert(tColumn("COLDESIGN", n), name);
    }
    return t;
}

std::optional<FillRefusal> ModelTFilling::leave(const QString& column, QHash<QString, QString>& texts) const
{
    return check(column, texts, true);
}

std::optional<FillRefusal> ModelTFilling::check(const QString& column, QHash<QString, QString>& texts,
                                                bool propose) const
{
    const QString text = texts.value(column).trimmed();
    if (column == QLatin1String("DATAPROD"))
        return OrderFilling::calendarDay(m_invoicing, text).refusal;
    if (column == QLatin1String("QUANTIDADE") || column == QLatin1String("NPLANOS")) {
        if (!text.isEmpty() && !kv::text::parseNumber(text))
            return FillRefusal{kv::text::notANumberMessage(text), column, true};
        const double value = kv::text::parseNumber(text).value_or(0.0);
        if (column == QLatin1String("QUANTIDADE") && (text.isEmpty() || value == 0.0))
            return tRefuse("Quantidade Inexistente", column);
        if (column == QLatin1String("NPLANOS") && (text.isEmpty() || text == QLatin1String("0")))
            return tRefuse("TEM QUE INSERIR O Nº DE FOLHAS!!!", column);
        return std::nullopt;
    }
    if (column == QLatin1String("PLCOMPRI") || column == QLatin1String("PLLARGUR")) {
        if (text.isEmpty())
            return column == QLatin1String("PLCOMPRI") ? tRefuse("Insira o comprimento do plano !!!", column)
                                                       : tRefuse("Insira a Largura do plano !!!", column);
        if (!kv::text::parseNumber(text))
            return FillRefusal{kv::text::notANumberMessage(text), column, true};
        return std::nullopt;
    }
    for (int n = 1; n <= 5; ++n) {
        const QString code = tColumn("CCOL_MAT", n);
        const QString kindText = texts.value(tColumn("KIND", n)).trimmed();
        if (column == tColumn("KIND", n)) {
            if (text.isEmpty()) {
                // An empty kind clears its row.
                texts[code].clear();
                texts[tColumn("CCOL_UND", n)].clear();
                texts[tColumn("DESIGN", n)].clear();
                return std::nullopt;
            }
            if (tableKind(text) == 0)
                return tRefuse("Insira o tipo de tabela [P] - Papeis / Cartolinas ... ; [C] - Colas", column);
            return std::nullopt;
        }
        if (column == code) {
            if (text.isEmpty()) {
                texts[tColumn("DESIGN", n)].clear();
                return std::nullopt;
            }
            const auto number = kv::text::parseInteger(text);
            if (!number)
                return FillRefusal{kv::text::notAnIntegerMessage(text), column, true};
            const bool glue = tableKind(kindText) == typeCode(TableType::Glue);
            const auto r = m_application.query(
                QStringLiteral("SELECT DESIGNACAO, %1 FROM %2 WHERE CODIGO = :C")
                    .arg(glue ? QStringLiteral("'' AS TIPOCALC") : QStringLiteral("TIPOCALC"),
                         glue ? QStringLiteral("COLAS") : QStringLiteral("PAPEIS")),
                {{"C", static_cast<int>(*number)}});
            if (r.isEmpty())
                return glue ? tRefuse("Cola inexistente ...", column) : tRefuse("Tipo de papel inexistente ...", column);
            texts[tColumn("DESIGN", n)] = r.value(0, QStringLiteral("DESIGNACAO")).toString();
            texts[tColumn("KIND", n)] = glue ? QStringLiteral("C") : QStringLiteral("P");
            // Leaving the code proposes the unit; the planner may change a board's afterwards.
            if (propose) {
                const bool byWeight = glue || r.value(0, QStringLiteral("TIPOCALC")).toString() == QLatin1String("1");
                texts[tColumn("CCOL_UND", n)] = byWeight ? QStringLiteral("K") : QStringLiteral("P");
            }
            return std::nullopt;
        }
        if (column == tColumn("CCOL_UND", n)) {
            if (texts.value(code).trimmed().isEmpty())
                return std::nullopt;
            if (text != QLatin1String("P") && text != QLatin1String("K"))
                return tRefuse("Insira - Tipo de Unidade  [P]  - Planos ; [K] - Kgs", column);
            if (text == QLatin1String("P") && tableKind(kindText) == typeCode(TableType::Glue))
                return tRefuse("Insira - Tipo de Unidade [K] - Kgs", column);
            return std::nullopt;
        }
    }
    for (int n = 1; n <= 2; ++n) {
        if (column != tColumn("COL_MAT", n))
            continue;
        if (text.isEmpty()) {
            texts[tColumn("COLDESIGN", n)].clear();
            return std::nullopt;
        }
        const auto number = kv::text::parseInteger(text);
        if (!number)
            return FillRefusal{kv::text::notAnIntegerMessage(text), column, true};
        const QString name = designation(typeCode(TableType::Glue), static_cast<int>(*number));
        if (name.isEmpty())
            return tRefuse("Cola inexistente ...", column);
        texts[tColumn("COLDESIGN", n)] = name;
    }
    return std::nullopt;
}

std::optional<FillRefusal> ModelTFilling::firstRefusal(QHash<QString, QString> texts) const { return checkAll(texts); }

std::optional<FillRefusal> ModelTFilling::checkAll(QHash<QString, QString>& texts) const
{
    QStringList order = {QStringLiteral("DATAPROD"), QStringLiteral("QUANTIDADE"), QStringLiteral("PLCOMPRI"),
                         QStringLiteral("PLLARGUR"), QStringLiteral("NPLANOS")};
    for (int n = 1; n <= 5; ++n)
        order << tColumn("KIND", n) << tColumn("CCOL_MAT", n) << tColumn("CCOL_UND", n);
    order << QStringLiteral("COL_MAT1") << QStringLiteral("COL_MAT2");
    for (const QString& column : order)
        if (auto refusal = check(column, texts, false))
            return refusal;
    return std::nullopt;
}

std::optional<FillRefusal> ModelTFilling::save(const QHash<QString, QString>& typed)
{
    QHash<QString, QString> texts = typed;
    if (auto refusal = checkAll(texts))
        return refusal;
    kv::db::Params params{{"ANO", m_order.year},
                          {"ORDNRO", m_order.orderNumber},
                          {"SUBORC", m_order.subQuote},
                          {"DETAIL", m_order.detail}};
    QStringList sets;
    auto set = [&](const QString& column, const QVariant& value) {
        sets << QStringLiteral("%1 = :%1").arg(column);
        params.set(column, value);
    };
    for (const char* c : kTTexts)
        set(QLatin1String(c), texts.value(QLatin1String(c)));
    set(QStringLiteral("DATAPROD"), *kv::text::parseDate(texts.value(QStringLiteral("DATAPROD"))));
    set(QStringLiteral("QUANTIDADE"), *kv::text::parseNumber(texts.value(QStringLiteral("QUANTIDADE"))));
    set(QStringLiteral("NPLANOS"), static_cast<int>(*kv::text::parseNumber(texts.value(QStringLiteral("NPLANOS")))));
    set(QStringLiteral("PLCOMPRI"), *kv::text::parseNumber(texts.value(QStringLiteral("PLCOMPRI"))));
    set(QStringLiteral("PLLARGUR"), *kv::text::parseNumber(texts.value(QStringLiteral("PLLARGUR"))));
    for (int n = 1; n <= 5; ++n) {
        const int code = static_cast<int>(kv::text::parseInteger(texts.value(tColumn("CCOL_MAT", n)).trimmed()).value_or(0));
        // A row without a code keeps no kind.
        set(tColumn("CCOL_TMAT", n), code == 0 ? 0 : tableKind(texts.value(tColumn("KIND", n)).trimmed()));
        set(tColumn("CCOL_MAT", n), code);
        set(tColumn("CCOL_UND", n), code == 0 ? QString() : texts.value(tColumn("CCOL_UND", n)).trimmed());
    }
    for (int n = 1; n <= 2; ++n)
        set(tColumn("COL_MAT", n),
            static_cast<int>(kv::text::parseInteger(texts.value(tColumn("COL_MAT", n)).trimmed()).value_or(0)));
    return writeOrderRow(m_application, QStringLiteral("ORDFABRICO"), sets, QLatin1String(kTOrderKey), params,
                         m_order.orderNumber);
}

} // namespace kv::production
