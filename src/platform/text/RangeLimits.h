#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <vector>

namespace kv::text {

// The from/to limits a selection form puts above its grid (customers,
// salesmen, articles, document numbers, dates), kept as values the form's
// selection binds. Each pair is described as data; leaving one of its fields
// gives back what the form must do: show a text, warn, move the focus,
// reopen its selection. A warning only warns: the limit stays as typed, and
// an inverted range simply selects nothing.
enum class LimitKind { Integer, Text, Date };

enum class LimitSide { From, To };

// A warning of a pair: a message box (after a beep) or a status-bar text,
// and where the focus goes afterwards.
struct LimitWarning {
    QString text; // empty: the case is not checked
    bool inStatusBar = false;
    bool focusFrom = true; // else the focus stays on the field left

    static LimitWarning box(const QString& text) { return {text, false, true}; }
};

struct LimitPair {
    LimitPair(QString pairName, LimitKind limitKind, QVariant from, QVariant to)
        : name(std::move(pairName)), kind(limitKind), fromDefault(std::move(from)), toDefault(std::move(to))
    {
    }

    QString name; // the key the form asks values by ("customers", "dates")
    LimitKind kind = LimitKind::Integer;
    QVariant fromDefault;
    QVariant toDefault;
    // One field only (the customer of the quote issue): its value is the
    // from-limit, an empty field means 0 and shows empty.
    bool single = false;
    // An empty from-field: read as a number (so unreadable), set to "0" and
    // shown so, or taken as 0 while it stays empty.
    enum class EmptyFrom { Unreadable, ShowsZero, Zero };
    EmptyFrom emptyFrom = EmptyFrom::Unreadable;
    LimitWarning emptyFromWarning; // an empty from-field warned about instead
    LimitWarning emptyTo; // an empty to-field
    // An empty to-field leaves the limit as it was, checks nothing and
    // reopens nothing (the approval list's customers).
    bool emptyToKeeps = false;
    LimitWarning inverted; // to below from
    // Leaving either field re-reads both and checks them (the quote issue's
    // dates); otherwise only the to-field checks.
    bool checksOnEitherExit = false;
    // A valid exit of the field(s) that check reopens the form's selection.
    bool reopensSelection = false;
    // Leaving a field clears the status-bar text first.
    bool clearsStatus = false;
};

// What leaving a field asks of the form.
struct LimitExit {
    enum class Outcome { Valid, Unreadable, Invalid };
    Outcome outcome = Outcome::Valid;
    QString message; // the conversion message or the warning text
    bool inStatusBar = false;
    bool focusFrom = false;
    bool shows = false; // the field must show `shownText`
    QString shownText;
    bool clearStatus = false;
    bool reopen = false;
};

class RangeLimits {
public:
    explicit RangeLimits(std::vector<LimitPair> pairs);

    // The pairs of the listing forms, as the reference selection holds them:
    // customers 0 to 99999999 (an emptied from-field shows "0"), salesmen 1 to
    // 99999999, articles "" to sixteen "Z", document numbers 1 to 999999999
    // (warned in the status bar), dates both `workingDate` (a valid to-date
    // reopens the selection).
    static LimitPair customers();
    static LimitPair salesmen();
    static LimitPair articles();
    static LimitPair numbers();
    static LimitPair dates(const QDate& workingDate);
    // The approval list's customers: 0 (an empty from-field, left empty) to
    // 999999999; the to-limit is not compared with the from-limit, an empty
    // to-field changes nothing and any other valid one reopens the list.
    static LimitPair approvalCustomers();

    const std::vector<LimitPair>& pairs() const { return m_pairs; }
    const LimitPair& pair(const QString& name) const;

    // Every limit back to its default.
    void reset();
    // The text a field shows for its default (dates as "dd/mm/yyyy", a
    // single field's 0 as empty).
    QString defaultText(const QString& name, LimitSide side) const;

    QVariant from(const QString& name) const;
    QVariant to(const QString& name) const;
    qint64 fromInteger(const QString& name) const { return from(name).toLongLong(); }
    qint64 toInteger(const QString& name) const { return to(name).toLongLong(); }
    QDate fromDate(const QString& name) const { return from(name).toDate(); }
    QDate toDate(const QString& name) const { return to(name).toDate(); }
    QString fromText(const QString& name) const { return from(name).toString(); }
    QString toText(const QString& name) const { return to(name).toString(); }

    // A limit written without leaving the field (a lookup's choice).
    void set(const QString& name, LimitSide side, const QVariant& value);

    // Leaving the `side` field of the pair, with the texts its two fields
    // hold now (a single pair passes its one text as `fromText`).
    LimitExit leave(const QString& name, LimitSide side, const QString& fromText, const QString& toText);

private:
    struct Values {
        QVariant from;
        QVariant to;
    };
    int indexOf(const QString& name) const;
    bool read(const LimitPair& pair, const QString& text, QVariant& value, LimitExit& exit) const;
    void check(const LimitPair& pair, const Values& values, const QString& fromText, const QString& toText,
               LimitExit& exit) const;

    std::vector<LimitPair> m_pairs;
    std::vector<Values> m_values;
};

} // namespace kv::text
