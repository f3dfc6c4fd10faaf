#pragma once

#include <QString>
#include <stdexcept>

namespace kv::report {

// A report that cannot be written or printed; text() is the Portuguese
// message the user sees.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace kv::report
