#include "app/shell/CommandLine.h"

#include <array>
#include <cstring>

#include "app/shell/LeadingNumber.h"
#include "platform/Cp932.h"

namespace {

// The field between from and the next comma, and where the field after it
// starts; false when no comma follows.
bool NextField(std::string_view text, std::size_t& from, std::string_view& field) {
    const std::size_t comma = Cp932::FindChar(text, ',', from);
    if (comma == Cp932::npos) return false;
    field = text.substr(from, comma - from);
    from = comma + 1;
    return true;
}

}  // namespace

bool CommandLine::ParseCommandLine(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.empty()) return false;

    std::array<char, kBufferSize> buffer{};
    const std::string_view kept = Cp932::CutOnCharBoundary(text, kMaxTextBytes);
    std::memcpy(buffer.data(), kept.data(), kept.size());
    const std::string_view line(buffer.data(), kept.size());

    std::size_t at = 0;
    std::string_view field;
    if (!NextField(line, at, field)) return false;
    ParentWindow = static_cast<std::uintptr_t>(LeadingNumber::Read(field));
    if (!NextField(line, at, field)) return false;
    NotifyMessage = static_cast<std::uint32_t>(LeadingNumber::Read(field));
    if (!NextField(line, at, field)) return false;
    FunctionNo = static_cast<std::int16_t>(LeadingNumber::Read(field));

    if (at < line.size()) OutputPathArg.assign(line.substr(at));
    return true;
}
