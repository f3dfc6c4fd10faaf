#pragma once

#include <QString>
#include <memory>

namespace kv::ui {

// Every beep, message box and Yes/No question of the system goes through the
// one installed service, so that the program shows real boxes while the tests
// answer from a script and record every text.
class MessageService {
public:
    enum class Kind { Error, Warning, Information };

    virtual ~MessageService() = default;

    virtual void beep() = 0;
    // Shows a message with an OK button and waits for it; an empty caption
    // takes the kind's own ("Erro", "Aviso", "Informação").
    virtual void message(Kind kind, const QString& text, const QString& caption = {}) = 0;
    // A Yes/No question ("Sim"/"Não"); true for Yes. Its box closed without
    // an answer (close box, Escape) counts as No.
    virtual bool question(const QString& text, const QString& caption = {}) = 0;

    // The same question for a caller to whom a box closed without an answer
    // means something else than No.
    enum class Answer { Yes, No, Closed };
    virtual Answer ask(const QString& text, const QString& caption = {})
    {
        return question(text, caption) ? Answer::Yes : Answer::No;
    }

    void error(const QString& text, const QString& caption = {}) { message(Kind::Error, text, caption); }
    void warning(const QString& text, const QString& caption = {}) { message(Kind::Warning, text, caption); }
    void information(const QString& text, const QString& caption = {}) { message(Kind::Information, text, caption); }

    // The system's way of reporting an error: a beep, then the message.
    void fail(const QString& text, const QString& caption = {})
    {
        beep();
        error(text, caption);
    }

    // The installed service; message boxes of the platform until one is installed.
    static MessageService& instance();
    // Installs a service (nullptr returns to the platform's boxes) and gives
    // back the one it replaces.
    static std::shared_ptr<MessageService> install(std::shared_ptr<MessageService> service);

    static QString defaultCaption(Kind kind);
};

// Shorthand for MessageService::instance().
inline MessageService& messages() { return MessageService::instance(); }

} // namespace kv::ui
