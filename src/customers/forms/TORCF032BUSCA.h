#pragma once

#include "platform/ui/Form.h"

class QLineEdit;

namespace kv::db {
class Dataset;
}

namespace kv::ui {
class DbGrid;
}

namespace kv::customers {

class CustomerFile;

// "Localizar": customers by a name pattern, on the customer form's own list
// (`DTFILES.CLIENTES`), so the list behind follows the search. The pattern
// is the database's LIKE pattern as typed ("%" lists every customer), always
// bound. Hands back the number of the customer it stands on when it closes
// (0 when the search found nothing).
class TORCF032BUSCA : public kv::ui::Form {
    Q_OBJECT
public:
    TORCF032BUSCA(kv::db::Dataset& customers, const CustomerFile& file, QWidget* parent = nullptr);

    void search(); // BitSelectClick
    int result() const { return m_result; }

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    kv::db::Dataset& m_customers;
    const CustomerFile& m_file;
    QLineEdit* m_pattern = nullptr;
    kv::ui::DbGrid* m_grid = nullptr;
    int m_result = 0;
};

} // namespace kv::customers
