#include "platform/CallerEvent.h"

#include <cstring>

namespace {

bool IsKnownKind(std::uint32_t kind) {
    return kind >= static_cast<std::uint32_t>(CallerEventKind::Enable) &&
           kind <= static_cast<std::uint32_t>(CallerEventKind::Post);
}

}  // namespace

CallerEvent CallerEvent::Make(CallerEventKind kind, std::uint32_t message, std::int64_t wParam,
                              std::int64_t lParam) {
    CallerEvent event;
    event.kind = static_cast<std::uint32_t>(kind);
    event.message = message;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

std::optional<CallerEvent> CallerEvent::FromBytes(const void* data, std::size_t size) {
    if (data == nullptr || size != sizeof(CallerEvent)) return std::nullopt;
    CallerEvent event;
    std::memcpy(&event, data, sizeof event);
    if (event.magic != kMagic || !IsKnownKind(event.kind)) return std::nullopt;
    return event;
}

std::string CallerEvent::Describe() const {
    switch (Kind()) {
        case CallerEventKind::Enable:
            return "enable";
        case CallerEventKind::Disable:
            return "disable";
        case CallerEventKind::Foreground:
            return "foreground";
        case CallerEventKind::Top:
            return "top";
        case CallerEventKind::Post:
            return "post message=" + std::to_string(message) + " wParam=" + std::to_string(wParam) +
                   " lParam=" + std::to_string(lParam);
    }
    return "unknown";
}
