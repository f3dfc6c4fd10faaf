#include "platform/ui/MessageService.h"

#include "platform/ui/QtMessageService.h"

namespace kv::ui {

namespace {
std::shared_ptr<MessageService>& installed()
{
    static std::shared_ptr<MessageService> service;
    return service;
}
} // namespace

MessageService& MessageService::instance()
{
    auto& service = installed();
    if (!service)
        service = std::make_shared<QtMessageService>();
    return *service;
}

std::shared_ptr<MessageService> MessageService::install(std::shared_ptr<MessageService> service)
{
    auto previous = std::move(installed());
    installed() = std::move(service);
    return previous;
}

QString MessageService::defaultCaption(Kind kind)
{
    switch (kind) {
    case Kind::Error: return QStringLiteral("Erro");
    case Kind::Warning: return QStringLiteral("Aviso");
    case Kind::Information: return QStringLiteral("Informação");
    }
    return {};
}

} // namespace kv::ui
