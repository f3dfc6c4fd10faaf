#pragma once

#include "production/core/RequirementLimits.h"

#include "platform/report/Document.h"

class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::production {

// "Listagem de Necessidades para Fabrico" (TORCFPR041): the requirement rows
// of the last calculation, A4 landscape, under the selection limits; the
// requisitioned quantity under "ENCOMENDADO" was the undelivered supplier
// quantity's place, so both are listed and the columns add up.
class RequirementListReport {
public:
    static const QString kClass; // "TORCFPR041"
    static const QString kTitle;

    RequirementListReport(kv::db::Dataset& requirements, RequirementLimits limits, QString companyName, QString footer);

    kv::report::Document render() const;
    void preview(QWidget* parent) const;

private:
    kv::db::Dataset& m_requirements;
    RequirementLimits m_limits;
    QString m_company;
    QString m_footer;
};

} // namespace kv::production
