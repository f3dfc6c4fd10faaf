#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::commercial {

inline constexpr int ObjectiveMonths = 12;
inline constexpr int ObjectiveTiers = 4;

// One tier of a month: the sales objective and the commission rate code
// earned above it. A pair never touched stays null in the table.
struct ObjectiveTier {
    std::optional<double> value;
    std::optional<qint64> rate;
};

// A salesman's objectives for one year (a row of VNDQUOTAS): twelve months
// of four tiers. Tiers and months count from 1.
struct ObjectiveRow {
    QString year;
    int salesman = 0;
    QString name; // the salesman's name when the row was made; not refreshed
    std::array<ObjectiveTier, ObjectiveMonths * ObjectiveTiers> tiers{};

    ObjectiveTier& at(int tier, int month);
    const ObjectiveTier& at(int tier, int month) const;

    // A tier emptied in the form: it and every tier above it in the month
    // become 0 with rate 0.
    void clearFrom(int tier, int month);
    // The month's four pairs as the month before holds them.
    void repeatMonth(int from, int to);
    // Every pair as another row holds it; year, salesman and name stay.
    void takePairs(const ObjectiveRow& other);
};

// January follows December.
int followingMonth(int month);

QString objectiveValueColumn(int tier, int month); // "VAL2MES7"
QString objectiveRateColumn(int tier, int month); // "COM2MES7"

// A tier's value must exceed the one below it; an empty lower tier counts as 0.
bool objectiveRises(const ObjectiveRow& row, int tier, int month);

// What keeps a row of objectives from being saved.
struct ObjectiveFault {
    enum class Kind {
        NotRising, // "O VALOR DO OBJECTIVO TERÁ DE SER SUPERIOR AO ANTERIOR"
        NoRate, // "Insira o Código de Comissão para este Objectivo de Vendas"
        UnknownRate // "Código de Comissão Inexistente !!!"
    };
    Kind kind;
    int tier;
    int month;
    bool onRate() const { return kind != Kind::NotRising; }
    QString message() const;
    bool beeps() const { return kind != Kind::NotRising; }
};

// The whole row as its fields' checks would see it, month by month and tier
// by tier: the tiers holding a value rise strictly and each names an
// existing rate. The first fault, or none.
std::optional<ObjectiveFault> firstObjectiveFault(const ObjectiveRow& row,
                                                  const std::function<bool(qint64)>& rateExists);

// The objectives table of the invoicing database.
class SalesObjectives {
public:
    explicit SalesObjectives(std::shared_ptr<kv::db::Connection> invoicing) : m_db(std::move(invoicing)) {}

    // The row of a salesman and year, or none.
    std::optional<ObjectiveRow> read(const QString& year, int salesman) const;
    // Writes every column of the row, replacing what is stored for its year
    // and salesman (the later save of two wins), in one transaction.
    void save(const ObjectiveRow& row);
    void remove(const QString& year, int salesman);
    // The list the import chooses from: the year's rows of every other
    // salesman (CODIGO, NOME), opened read-only.
    std::unique_ptr<kv::db::Dataset> otherSalesmen(const QString& year, int salesman) const;

private:
    std::shared_ptr<kv::db::Connection> m_db;
};

} // namespace kv::commercial
