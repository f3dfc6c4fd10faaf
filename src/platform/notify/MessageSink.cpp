#include "platform/notify/MessageSink.h"

namespace kv::notify {

MessageSink::~MessageSink() = default;

} // namespace kv::notify
