#include "customers/core/CustomerEntry.h"

namespace kv::customers {

void CustomerEntry::leaveList()
{
    if (m_state == State::Guarded)
        m_state = State::Armed;
    else if (m_state == State::InsertDropped)
        m_state = State::Inserting;
}

void CustomerEntry::refuseNumber()
{
    if (inserting())
        m_state = State::InsertDropped;
}

bool CustomerEntry::enterList()
{
    if (guarded()) {
        m_state = State::Guarded;
        return false;
    }
    return true;
}

FieldVerdict checkCustomerField(const QString& column, const QString& text)
{
    const QString value = text.trimmed();
    const auto yesNo = [&](const QString& message, bool beep) {
        return value == QLatin1String("S") || value == QLatin1String("N") ? FieldVerdict{}
                                                                          : FieldVerdict{message, beep, true};
    };
    if (column == QLatin1String("IMPPRC") || column == QLatin1String("ISEIVA"))
        return yesNo(QStringLiteral("DIGITE [S] ou [N]"), true);
    if (column == QLatin1String("IMPARTIGO"))
        return yesNo(QStringLiteral("DIGITE <S> ou <N>"), false);
    if (column == QLatin1String("CODPRC")) {
        bool ok = false;
        const int code = value.toInt(&ok);
        return ok && code >= 1 && code <= 4 ? FieldVerdict{}
                                            : FieldVerdict{QStringLiteral("DIGITE de [1...4]"), true, true};
    }
    if (column == QLatin1String("NOME") || column == QLatin1String("NIF"))
        return value.isEmpty() ? FieldVerdict{{}, true, true} : FieldVerdict{};
    return {};
}

} // namespace kv::customers
