#pragma once

#include <QString>

namespace kv::customers {

// The customer form's save guard and insert mode as one state. The form saves
// when the focus enters the customer list, unless the guard is on; the guard
// is set at activation, after "&Cancelar", after a search and after a
// refused new number, and cleared whenever the focus leaves the list.
class CustomerEntry {
public:
    enum class State {
        Guarded, // browsing; the next entry into the list saves nothing
        Armed, // a row may have changed; entering the list saves it
        Inserting, // a new customer being typed; entering the list saves it
        InsertDropped, // the new number was refused; entering the list ends the insert
    };

    State state() const { return m_state; }
    bool inserting() const { return m_state == State::Inserting || m_state == State::InsertDropped; }
    bool guarded() const { return m_state == State::Guarded || m_state == State::InsertDropped; }

    void activate() { m_state = State::Guarded; }
    void leaveList();
    void startInsert() { m_state = State::Inserting; }
    void refuseNumber();
    void cancel() { m_state = State::Guarded; }
    void searched() { m_state = State::Guarded; }
    // The focus enters the list: whether to save. A guarded entry ends the
    // insert and keeps the guard; a save that goes through calls saved().
    bool enterList();
    void saved() { m_state = State::Armed; }

private:
    State m_state = State::Guarded;
};

// The checks of a customer field that need no other table, on leaving it:
// the message (after a beep unless `beep` is false); empty when good.
struct FieldVerdict {
    QString message;
    bool beep = true;
    bool refused = false;
};
FieldVerdict checkCustomerField(const QString& column, const QString& text);

} // namespace kv::customers
