#pragma once

#include "platform/ui/MessageService.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace kv::test {

// The message service of the tests: records every beep, message and
// question in order and answers questions from a queue. A question with no
// answer queued fails the test and is answered No; nothing ever blocks.
class ScriptedMessages : public kv::ui::MessageService {
public:
    enum class Kind { Beep, Error, Warning, Information, Question };
    struct Entry {
        Kind kind;
        QString text; // empty for a beep
        QString caption;
        bool answer = false; // questions: what was answered
    };

    void beep() override;
    void message(MessageService::Kind kind, const QString& text, const QString& caption = {}) override;
    bool question(const QString& text, const QString& caption = {}) override;

    // Queues the answer to the next question (true: "Sim").
    void answer(bool yes);
    int pendingAnswers() const { return static_cast<int>(m_answers.size()); }

    const std::vector<Entry>& entries() const { return m_entries; }
    // Texts of the messages and questions, in order (beeps left out).
    QStringList texts() const;
    QString lastText() const; // "" when none
    int beeps() const;
    // Beeps and texts in order, a beep written as "<beep>" (BeepEntry): {"<beep>", "Codigo Inválido ... <ENTER>"}.
    QStringList transcript() const;
    static inline const QString BeepEntry = QStringLiteral("<beep>");
    void clear();

private:
    std::vector<Entry> m_entries;
    std::deque<bool> m_answers;
};

} // namespace kv::test
