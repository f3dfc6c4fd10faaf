#pragma once

#include "costing/forms/CostingEnvironment.h"

#include "platform/report/Document.h"
#include "platform/report/Report.h"

#include <memory>

namespace kv::report {
class DatasetRowSource;
}

namespace kv::costing {

// The procedures list: each procedure in code order followed by its lines,
// read through the shared procedure datasets (the lines follow their
// procedure). The datasets must be open.
class TORCFPR014 {
public:
    explicit TORCFPR014(CostingEnvironment environment);
    ~TORCFPR014();

    kv::report::Document render();
    void preview(QWidget* parent);

private:
    CostingEnvironment m_environment;
    kv::report::Report m_report;
    std::unique_ptr<kv::report::DatasetRowSource> m_procedures;
    std::unique_ptr<kv::report::DatasetRowSource> m_lines;
};

} // namespace kv::costing
