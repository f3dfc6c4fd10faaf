#pragma once

#include <QString>
#include <QStringList>

namespace kv::updater {

// The download list: entries "URL[=local path]". An entry equal to one already
// listed (letters compared without regard to case) is not added twice.
class TupStringList {
public:
    void Clear() { m_entries.clear(); }
    int Add(const QString& entry);
    int Count() const { return int(m_entries.size()); }
    const QString& at(int index) const { return m_entries.at(index); }
    QString NameOf(int index) const;
    QString ValueOf(int index) const;
    void SetValueOf(int index, const QString& value);
    // Every non-empty value followed by CR LF; no file is written when none has
    // one. False when the file cannot be written whole.
    bool SaveValues(const QString& fileName) const;
    QStringList values() const;

private:
    QStringList m_entries;
};

} // namespace kv::updater
