#include "widgets/guarded.h"

namespace kordel {
namespace {
std::function<bool()> reconnectHandler;
}

void setReconnectHandler(std::function<bool()> handler)
{
    reconnectHandler = std::move(handler);
}

bool tryReconnect()
{
    return reconnectHandler && reconnectHandler();
}

} // namespace kordel
