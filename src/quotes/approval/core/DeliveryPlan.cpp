#include "quotes/approval/core/DeliveryPlan.h"

#include "quotes/core/Amounts.h"

#include "platform/text/NumberText.h"

namespace kv::quotes::approval {

namespace {

QString aboveApprovedMessage(int index)
{
    return index == 0 ? QStringLiteral("Não pode inserir uma Qtd. Superior à aprovada !!!")
                      : QStringLiteral("NÃO PODE INSERIR UMA QTD.SUPERIOR À APROVADA!!!");
}

const QString EnterQuantity = QStringLiteral("Insira a Quantidade");

} // namespace

double fieldNumber(const QString& text) { return kv::text::parseNumber(text).value_or(0.0); }

void DeliveryPlan::setApproved(double quantity) { m_approved = quantity; }

double DeliveryPlan::remaining() const
{
    double rest = m_approved;
    for (const double q : m_quantities)
        rest = subtractExact(rest, q);
    return rest;
}

DeliveryPlan::Step DeliveryPlan::enterQuantity(int index, const QString& text)
{
    Step step;
    const double value = fieldNumber(text);
    if (value <= 0) {
        step.message = EnterQuantity;
        return step;
    }
    const auto at = static_cast<std::size_t>(index);
    const double before = m_quantities[at];
    m_quantities[at] = value;
    const double rest = remaining();
    if (rest < 0) {
        m_quantities[at] = before;
        step.message = aboveApprovedMessage(index);
        return step;
    }
    if (rest > 0 && index == kDeliveries - 1) {
        m_quantities[at] = before;
        step.message = QStringLiteral("SÓ DISPÕE DE 5 LINHAS DE ENCOMENDA !!!");
        return step;
    }
    step.accepted = true;
    if (rest > 0)
        step.proposeNext = rest;
    else
        step.complete = true;
    return step;
}

double DeliveryPlan::takeOrderDate()
{
    // With the later deliveries emptied, all that remains is the first one's.
    m_quantities = {};
    m_quantities[0] = m_approved;
    return m_approved;
}

void DeliveryPlan::clear() { m_quantities = {}; }

QString DeliveryPlan::invalidDateMessage(int index)
{
    return index == kDeliveries - 1 ? QStringLiteral("Data Inválida !!!") : QStringLiteral("DATA INVÁLIDA!!!");
}

std::optional<DeliveryPlan::Refusal> DeliveryPlan::check(const Deliveries& deliveries, double approved)
{
    double total = 0;
    for (int i = 0; i < kDeliveries; ++i) {
        const Delivery& d = deliveries[static_cast<std::size_t>(i)];
        if (i > 0 && !d.date && d.quantity == 0)
            continue;
        if (!d.date || !d.date->isValid())
            return Refusal{i, true, invalidDateMessage(i)};
        if (d.quantity <= 0)
            return Refusal{i, false, EnterQuantity};
        total = addExact(total, d.quantity);
        if (total > approved)
            return Refusal{i, false, aboveApprovedMessage(i)};
    }
    return std::nullopt;
}

} // namespace kv::quotes::approval
