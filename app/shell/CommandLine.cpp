#include "app/shell/CommandLine.h"

#include "platform/LeadingNumber.h"
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
    const std::string_view line = text.substr(0, text.find('\0'));
    tooLong_ = line.size() > kMaxTextBytes;
    if (line.empty()) return false;

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
