// Datagrams from any local process: only whole, well-formed events are accepted, and they round-trip.

#include "platform/CallerEvent.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Input datagram(data, size);
    const std::optional<CallerEvent> event = CallerEvent::FromBytes(datagram.bytes.data(), size);
    if (!event) return 0;
    Require(size == sizeof(CallerEvent) && !event->Describe().empty(), "a datagram of another size accepted");
    const CallerEvent again = CallerEvent::Make(event->Kind(), event->message, event->wParam, event->lParam);
    const std::optional<CallerEvent> back = CallerEvent::FromBytes(&again, sizeof again);
    Require(back && (event->reserved != 0 || std::memcmp(&*back, &*event, sizeof again) == 0), "no round trip");
    return 0;
}
