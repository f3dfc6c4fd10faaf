#pragma once

#include "platform/report/Document.h"

#include <QString>
#include <vector>

class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::production {

// A statistics page of the production-order consultation printed as a list:
// its title, the grid's columns (title, field, width in millimetres) and
// the company in the footer.
struct StatisticsColumn {
    QString title;
    QString field;
    double width = 20;
};

class StatisticsListReport {
public:
    static kv::report::Document render(kv::db::Dataset& rows, const QString& title,
                                       const std::vector<StatisticsColumn>& columns, const QString& companyName);
    // Previews the list; false when there was nothing to print.
    static bool preview(kv::db::Dataset& rows, const QString& title, const std::vector<StatisticsColumn>& columns,
                        const QString& companyName, QWidget* parent);
};

} // namespace kv::production
