#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

namespace kv::test {

void ScriptedMessages::beep() { m_entries.push_back({Kind::Beep, {}, {}, false}); }

void ScriptedMessages::message(MessageService::Kind kind, const QString& text, const QString& caption)
{
    Kind recorded = Kind::Error;
    if (kind == MessageService::Kind::Warning)
        recorded = Kind::Warning;
    else if (kind == MessageService::Kind::Information)
        recorded = Kind::Information;
    m_entries.push_back({recorded, text, caption, false});
}

bool ScriptedMessages::question(const QString& text, const QString& caption)
{
    bool yes = false;
    if (m_answers.empty()) {
        ADD_FAILURE() << "Pergunta sem resposta preparada no teste: " << text.toStdString();
    } else {
        yes = m_answers.front();
        m_answers.pop_front();
    }
    m_entries.push_back({Kind::Question, text, caption, yes});
    return yes;
}

void ScriptedMessages::answer(bool yes) { m_answers.push_back(yes); }

QStringList ScriptedMessages::texts() const
{
    QStringList texts;
    for (const Entry& entry : m_entries) {
        if (entry.kind != Kind::Beep)
            texts << entry.text;
    }
    return texts;
}

QString ScriptedMessages::lastText() const
{
    const QStringList all = texts();
    return all.isEmpty() ? QString() : all.last();
}

int ScriptedMessages::beeps() const
{
    int count = 0;
    for (const Entry& entry : m_entries)
        count += entry.kind == Kind::Beep ? 1 : 0;
    return count;
}

QStringList ScriptedMessages::transcript() const
{
    QStringList lines;
    for (const Entry& entry : m_entries)
        lines << (entry.kind == Kind::Beep ? QStringLiteral("<beep>") : entry.text);
    return lines;
}

void ScriptedMessages::clear() { m_entries.clear(); }

} // namespace kv::test
