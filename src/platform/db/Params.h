#pragma once

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>
#include <vector>

namespace kv::db {

// Named statement parameters. Names compare without regard to case and may
// contain dots (":Edit_Artigo1.Text"), as in the statements the forms write.
// Values are always bound, never pasted into SQL text.
class Params {
public:
    Params() = default;
    Params(std::initializer_list<std::pair<QString, QVariant>> values);

    void set(const QString& name, const QVariant& value);
    bool contains(const QString& name) const;
    QVariant value(const QString& name) const; // invalid QVariant when absent
    QStringList names() const;
    bool isEmpty() const { return m_values.empty(); }

private:
    std::vector<std::pair<QString, QVariant>> m_values;
};

} // namespace kv::db
