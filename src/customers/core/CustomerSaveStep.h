#pragma once

namespace kv::db {
class Connection;
}

namespace kv::customers {

// A block of the customer form that stores rows of its own with the customer
// (its department contacts): run inside the transaction that stores the
// customer row, so both are stored or neither.
class CustomerSaveStep {
public:
    virtual ~CustomerSaveStep() = default;
    virtual void store(kv::db::Connection& invoicing, int customer) = 0;
};

} // namespace kv::customers
