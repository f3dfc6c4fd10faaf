#pragma once

namespace kv::shell {
class VersionStepContext;
}

namespace kv::customers {

// Brings an older company's invoicing database to what the customer file
// reads and writes: the record claims, the invoices and receipts the views
// read with their columns, the users' work tables and the indexes of the
// keyed reads (customers by name and taxpayer number, articles by
// designation, invoices and receipts by customer).
void addCustomerFileTables(kv::shell::VersionStepContext& step);

// Gives an older company's automatic-invoicing lines the key that tells
// the lines of one invoice apart (customer, invoice, position, article):
// the table is rebuilt with its rows, all or none. A line stored without a
// position takes position 1 (the old key allowed one line per invoice) and
// one without an article keeps an empty article.
void keyInvoicingLines(kv::shell::VersionStepContext& step);

} // namespace kv::customers
