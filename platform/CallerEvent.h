#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// What the link program does to its caller's window. Each kind is one
// datagram to the caller's endpoint, so the caller sees the order too.
enum class CallerEventKind : std::uint32_t {
    Enable = 1,
    Disable = 2,
    Foreground = 3,
    Top = 4,
    Post = 5,
};

// One datagram between the link program and its caller. Both ends run on the
// same machine as the same user, so the fields are in host byte order; the
// magic keeps stray datagrams out.
#pragma pack(push, 1)
struct CallerEvent {
    static constexpr std::uint32_t kMagic = 0x4D5A4345;  // "MZCE"

    std::uint32_t magic = kMagic;
    std::uint32_t kind = 0;     // a CallerEventKind
    std::uint32_t message = 0;  // Post only
    std::uint32_t reserved = 0;
    std::int64_t wParam = 0;  // Post only
    std::int64_t lParam = 0;  // Post only

    static CallerEvent Make(CallerEventKind kind, std::uint32_t message = 0, std::int64_t wParam = 0,
                            std::int64_t lParam = 0);

    // The event in a received datagram: exactly sizeof(CallerEvent) bytes,
    // the magic and a known kind. Anything else is not an event.
    static std::optional<CallerEvent> FromBytes(const void* data, std::size_t size);

    CallerEventKind Kind() const { return static_cast<CallerEventKind>(kind); }

    // "disable", "enable", "foreground", "top" or
    // "post message=32769 wParam=2 lParam=0".
    std::string Describe() const;
};
#pragma pack(pop)

static_assert(sizeof(CallerEvent) == 32);
static_assert(offsetof(CallerEvent, magic) == 0);
static_assert(offsetof(CallerEvent, kind) == 4);
static_assert(offsetof(CallerEvent, message) == 8);
static_assert(offsetof(CallerEvent, reserved) == 12);
static_assert(offsetof(CallerEvent, wParam) == 16);
static_assert(offsetof(CallerEvent, lParam) == 24);
