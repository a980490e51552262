#include "settings/ConditionText.h"

#include "platform/Cp932.h"
#include "platform/LeadingNumber.h"
#include "platform/WinPathText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr std::string_view kFirstSection = "[P1]";
constexpr std::string_view kMappingSection = "[P2/P3]";
constexpr std::string_view kSectionEnd = "[終了]";
constexpr std::string_view kEntryEnd = "[END]";

constexpr std::size_t kMaxPathText = WinPathText::kMaxPathBytes;
constexpr std::size_t kMaxKeyText = MappedAccount::kKeySize - 1;
constexpr std::size_t npos = std::string_view::npos;

// Finds a marker by character, from a position that starts a character: a
// '[' that is the second byte of a double-byte character opens no marker.
std::size_t FindMarker(std::string_view text, std::string_view marker, std::size_t from) {
    if (from > text.size()) return npos;
    const std::size_t found = Cp932::FindString(text.substr(from), marker);
    return found == Cp932::npos ? npos : from + found;
}

// A line's text without the CR bytes a hand-edited file may put before its LF.
std::string_view WithoutTrailingCr(std::string_view line) {
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// The path's text up to a NUL byte: the sheet holds it as a NUL-terminated
// string, so nothing behind a NUL would ever be seen.
std::string_view UpToNul(std::string_view field) { return field.substr(0, field.find('\0')); }

// The sheet keeps these fields in 16 bits: an int is taken modulo 2^16, as
// the assignment to its field takes it.
std::int16_t To16(int value) { return static_cast<std::int16_t>(value); }

// One mapping line "<ItemNo>/<AccountKey>[END]" appended to the mapping;
// false when the line is no such entry.
bool ReadEntry(std::string_view line, MappingList& mapping) {
    const std::size_t slash = line.find('/');
    if (slash == npos) return false;
    const std::size_t keyEnd = FindMarker(line, kEntryEnd, slash + 1);
    if (keyEnd == npos || keyEnd + kEntryEnd.size() != line.size()) return false;
    // A key with a NUL in it could not be written back as read: cut there,
    // it might end in a lead byte that would take the "[" of "[END]".
    const std::string_view key = line.substr(slash + 1, keyEnd - slash - 1);
    if (key.size() > kMaxKeyText || key.find('\0') != npos) return false;
    auto entry = std::make_unique<MappedAccount>();
    entry->ItemNo = To16(LeadingNumber::ReadInt32(line.substr(0, slash)));
    std::memcpy(entry->AccountKey, key.data(), key.size());
    mapping.push_back(std::move(entry));
    return true;
}

// The path as it goes on its line: text up to a NUL, as "%s" writes it.
// Empty when it would not come back as written.
std::string_view StorablePath(const char* path, std::size_t maxBytes) {
    std::string_view text(path, strnlen(path, maxBytes));
    if (text.size() > kMaxPathText || text.find('\n') != npos || text.ends_with('\r')) return {};
    return text;
}

}  // namespace

std::string ConditionText::Format(const ConditionValues& values, const MappingList& mapping) {
    const std::string_view path = values.OutputPathLocked != 0
                                      ? StorablePath(values.SavedOutputPath, sizeof values.SavedOutputPath)
                                      : StorablePath(values.OutputPath.c_str(), values.OutputPath.size());
    std::string text;
    text += kFirstSection;
    text += '\n';
    text += std::to_string(values.EndMonth) + '/' + std::to_string(values.TaxIncluded) + "/0/";
    text += path;
    text += '\n';
    text += kSectionEnd;
    text += '\n';
    text += kMappingSection;
    text += '\n';
    for (const auto& entry : mapping) {
        // The key field holds 34 bytes of text and its NUL; a longer key
        // would stop the reader at this entry.
        text += std::to_string(entry->ItemNo) + '/';
        text.append(entry->AccountKey, strnlen(entry->AccountKey, kMaxKeyText));
        text += kEntryEnd;
        text += '\n';
    }
    text += kSectionEnd;
    text += '\n';
    return text;
}

bool ConditionText::Parse(std::string_view bytes, ConditionValues& values, MappingList& mapping) {
    std::memset(values.SavedOutputPath, 0, sizeof values.SavedOutputPath);

    // "[P1]" and its value line, which must end in a LF and be followed by the
    // section's "[終了]". The end marker is looked for behind the line, so a
    // path that holds "[終了]" is still read whole.
    const std::size_t first = FindMarker(bytes, kFirstSection, 0);
    if (first == npos) return false;
    const std::size_t markerLineEnd = bytes.find('\n', first + kFirstSection.size());
    if (markerLineEnd == npos) return false;
    const std::size_t valueStart = markerLineEnd + 1;
    const std::size_t valueEnd = bytes.find('\n', valueStart);
    if (valueEnd == npos) return false;
    const std::size_t firstEnd = FindMarker(bytes, kSectionEnd, valueEnd);
    if (firstEnd == npos) return false;

    const std::string_view line = WithoutTrailingCr(bytes.substr(valueStart, valueEnd - valueStart));
    const std::size_t slash1 = line.find('/');
    const std::size_t slash2 = slash1 == npos ? npos : line.find('/', slash1 + 1);
    const std::size_t slash3 = slash2 == npos ? npos : line.find('/', slash2 + 1);
    if (slash3 == npos) return false;

    values.EndMonth = To16(LeadingNumber::ReadInt32(line.substr(0, slash1)));
    values.TaxIncluded = To16(LeadingNumber::ReadInt32(line.substr(slash1 + 1, slash2 - slash1 - 1)));
    values.Reserved = 0;
    // A longer path fits no path buffer of the program: it is not
    // remembered, and the sheet falls back to its default path.
    // A path never ends in a CR: the writer would not store it.
    const std::string_view path = WithoutTrailingCr(UpToNul(line.substr(slash3 + 1)));
    if (path.size() <= kMaxPathText) {
        std::memcpy(values.SavedOutputPath, path.data(), path.size());
        if (values.OutputPath.empty()) values.OutputPath = values.SavedOutputPath;
    }

    // "[P2/P3]", looked for behind the first section, so that a path holding
    // the marker does not open it.
    const std::size_t mappingStart = FindMarker(bytes, kMappingSection, firstEnd + kSectionEnd.size());
    if (mappingStart == npos) return false;
    const std::size_t mappingEnd = FindMarker(bytes, kSectionEnd, mappingStart + kMappingSection.size());
    if (mappingEnd == npos) return false;

    mapping.clear();
    // Entries begin behind the marker's line; a section closed on the
    // marker's own line holds none.
    const std::size_t markerEnd = bytes.find('\n', mappingStart + kMappingSection.size());
    std::size_t position = (markerEnd == npos || markerEnd > mappingEnd) ? mappingEnd : markerEnd + 1;
    while (position < mappingEnd) {
        const std::size_t lineEnd = std::min(bytes.find('\n', position), mappingEnd);
        if (!ReadEntry(WithoutTrailingCr(bytes.substr(position, lineEnd - position)), mapping)) break;
        position = lineEnd + 1;
    }
    return true;
}
