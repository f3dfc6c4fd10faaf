#pragma once

#include "costing/CostingSession.h"

#include "costing/forms/CodeTableDescription.h"

#include "platform/report/Document.h"
#include "support/FormDriver.h"

#include <gtest/gtest.h>

#include <functional>

namespace kv::costing::test {

// The inks form over three inks and the stock articles they name: codes 10,
// 20 and 40 (TI-CIA01, TI-MAG01, TI-PRE01), and articles of the types the
// form offers (6 to 11) besides a service.
struct Inks {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit Inks(Engine engine, const QString& inserir = "S");

    kv::test::FormDriver open();
    // Moves the grid to a row and leaves it into the first field: the row is being edited.
    void editRow(kv::test::FormDriver& form, int row);
    QString currentCode(kv::test::FormDriver& form) const;
    kv::db::QueryResult stored(const QString& columns = "CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, PRECO");
};

// Clicks the form's Imprimir, lets `inDialog` look at the print dialog,
// chooses the alphabetic order when asked, prints, and returns the report the
// preview showed once the dialog is closed again.
kv::report::Document printList(kv::test::Scenario& scenario, kv::test::FormDriver& form, bool alphabetic = false,
                               const std::function<void(kv::test::FormDriver&)>& inDialog = {});

// The non-empty texts of every band of one kind, page after page.
QStringList bandTexts(const kv::report::Document& document, kv::report::BandKind kind);

#define SKIP_WITHOUT(engine)                                                                                           \
    if (!::kv::costing::test::CostingSession::available(engine))                                                       \
    GTEST_SKIP() << "sem servidor PostgreSQL de teste"

// A case of a table prints as its label in failure messages; each test file
// brings it into its cases' namespace with a using-declaration.
template <class Case>
requires requires(const Case& c) { c.label; }
std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.label; }

using kv::test::caseName;

} // namespace kv::costing::test
