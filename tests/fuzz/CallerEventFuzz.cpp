// Datagrams arrive at a caller's endpoint from any local process: the reader
// must accept only whole, well-formed events and never read past the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/CallerEvent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that a read past the datagram is caught.
    std::vector<uint8_t> datagram(data, data + size);
    std::optional<CallerEvent> event = CallerEvent::FromBytes(datagram.data(), datagram.size());
    if (!event) return 0;
    if (size != sizeof(CallerEvent)) std::abort();
    // What was accepted describes itself and survives a round trip.
    if (event->Describe().empty()) std::abort();
    CallerEvent again = CallerEvent::Make(event->Kind(), event->message, event->wParam, event->lParam);
    std::optional<CallerEvent> back = CallerEvent::FromBytes(&again, sizeof again);
    if (!back || back->Kind() != event->Kind() || back->lParam != event->lParam) std::abort();
    return 0;
}
