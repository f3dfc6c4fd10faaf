#pragma once

#include <QDate>
#include <QString>

namespace kv::production {

// The two requirement forms share one calculation: the requisition variant
// counts the whole planned consumption of the selected order lines, the
// manufacture variant what the open production orders still have to consume
// of boards and papers.
enum class RequirementVariant { Requisition, Manufacture };

// The selection limits of the requirements screen, both ends included.
struct RequirementLimits {
    int orderFrom = 1;
    int orderTo = 999999999;
    QDate deliveryFrom;
    QDate deliveryTo;
    int customerFrom = 1;
    int customerTo = 999999999;
    QString articleFrom;
    QString articleTo = QStringLiteral("ZZZZZZZZZZZZZZZZ");

    // The first values: the delivery dates are the working date.
    static RequirementLimits initial(const QDate& workingDate)
    {
        RequirementLimits limits;
        limits.deliveryFrom = workingDate;
        limits.deliveryTo = workingDate;
        return limits;
    }
};

} // namespace kv::production
