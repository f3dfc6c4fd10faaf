#pragma once

#include "domain/MachineType.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace kv::costing {

// Only gluing and counter-gluing machines consume glue: the glue page of the
// others is passed over. `type` is a stored machine type code.
bool usesGlue(int type);

// The hourly output divides the sheets or pieces of a quote: it must be above 0.
bool validFactor(const QVariant& factor);

// The colours printed per pass divide a quote's colours on a printing machine:
// such a machine needs at least one. Other machines print nothing.
bool validColoursPerPass(const QVariant& type, const QVariant& colours);

// The production unit of the factors: exactly "U" (units) or "M" (thousands).
bool validProductionUnit(const QString& text);

QString invalidMachineTypeMessage(); // "Tipo de Máquina Inválida !!!"
QString productionUnitMessage(); // "INSIRA A UNIDADE DE PRODUÇÃO - UND - MIL !!"
QString unknownCostCentreMessage(); // "C.Custo Inexistente"
QString unknownGlueMessage(); // "Código de Cola Inexistente"
QString invalidFactorMessage(); // "Factor Inválido !!!"
QString invalidColoursMessage(); // "Nº de Côres Inválido !!!"

// The cost centres of the accounting database for one working year, read
// only: the list of the cost-centre search and the names beside the field.
class CostCentres {
public:
    explicit CostCentres(std::shared_ptr<kv::db::Connection> accounting);
    ~CostCentres();

    void open(const QString& year);
    void close();
    bool isOpen() const;

    // The name of a cost centre of the year, moving the list onto it;
    // empty when the year has no such code.
    std::optional<QString> name(const QString& code);

    kv::db::Dataset& list() { return *m_list; }

private:
    std::unique_ptr<kv::db::Dataset> m_list;
    QString m_year;
};

} // namespace kv::costing
