#include "useradmin/core/CompanySelection.h"

namespace kv::useradmin {

QString CompanySelection::listSql() { return QStringLiteral("SELECT * FROM EMPRESAS ORDER BY EMPNRO"); }

SelectionCheck CompanySelection::check(const QVariant& number, const QString& name, const QString& alias)
{
    SelectionCheck result;
    const long long empNro = number.isNull() ? 0 : number.toLongLong();
    if (empNro < FirstCompany || empNro > LastCompany) {
        result.message = QStringLiteral("Seleccione a Empresa !!!");
        return result;
    }
    if (alias.trimmed().isEmpty()) {
        result.beep = true;
        result.message = QStringLiteral("BASE DE DADOS INEXISTENTE");
        return result;
    }
    result.accepted = true;
    result.company = CompanyChoice{static_cast<int>(empNro), name, alias.trimmed()};
    return result;
}

} // namespace kv::useradmin
