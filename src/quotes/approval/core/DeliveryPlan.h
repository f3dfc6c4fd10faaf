#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <optional>

namespace kv::quotes::approval {

inline constexpr int kDeliveries = 5;

// One delivery of an order: its date and quantity, as its fields hold them.
struct Delivery {
    std::optional<QDate> date; // empty while the field is empty or not a date
    double quantity = 0; // an empty field counts 0
};
using Deliveries = std::array<Delivery, kDeliveries>;

// The spreading of the approved quantity over at most five deliveries.
class DeliveryPlan {
public:
    // What leaving a delivery's quantity field does.
    struct Step {
        bool accepted = false;
        QString message; // with a beep, when refused
        std::optional<double> proposeNext; // the remainder for the next delivery's field
        bool complete = false; // nothing remains: the later deliveries may be passed empty
    };

    void setApproved(double quantity);
    double approved() const { return m_approved; }
    double quantity(int index) const { return m_quantities[static_cast<std::size_t>(index)]; }
    double remaining() const;

    // The quantity typed for delivery `index` (0 to 4); `text` as the field holds it.
    Step enterQuantity(int index, const QString& text);
    // The order date taken: delivery 1 gets the approved quantity, the others nothing.
    double takeOrderDate();
    void clear();

    // Checked again as the order is saved: every delivery in use (the first,
    // and any whose date or quantity is filled) has a date and a quantity
    // above 0, and together they are at most the approved quantity. Empty
    // when the deliveries can be saved; else the delivery and its message.
    struct Refusal {
        int index = 0;
        bool dateField = false;
        QString message;
    };
    static std::optional<Refusal> check(const Deliveries& deliveries, double approved);

    // The message of an empty or invalid date of delivery `index`.
    static QString invalidDateMessage(int index);

private:
    double m_approved = 0;
    std::array<double, kDeliveries> m_quantities{};
};

// A typed quantity or price: the field's number, 0 for an empty field or a
// text that is no number.
double fieldNumber(const QString& text);

} // namespace kv::quotes::approval
