#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace kv::install {

// The installation's own INI reader. Keys may hold backslashes and colons
// ("X:", "\\server\share"), which QSettings would rewrite, so the file is
// read as plain text: "[group]" lines, "key = value" lines, ';' or '#'
// comments. Group and key names compare without regard to case.
class IniFile {
public:
    static IniFile read(const QString& path); // a missing file reads as empty
    static IniFile parse(const QString& text);

    bool hasGroup(const QString& group) const;
    QStringList groups() const; // in file order
    QString value(const QString& group, const QString& key, const QString& fallback = {}) const;
    // Every entry of a group, in file order.
    std::vector<std::pair<QString, QString>> entries(const QString& group) const;

private:
    struct Group {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };
    const Group* find(const QString& group) const;
    std::vector<Group> m_groups;
    QHash<QString, std::size_t> m_index; // case-folded name -> group
};

} // namespace kv::install
