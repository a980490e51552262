#include "platform/ProfileReader.h"

#include "platform/Cp932.h"
#include "platform/DriveTable.h"
#include "platform/PlainText.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Cuts the next line (without its LF, CR LF or CR) off the front of rest.
std::string_view TakeLine(std::string_view& rest) {
    std::size_t end = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, end);
    if (end == std::string_view::npos) {
        rest = {};
        return line;
    }
    std::size_t next = end + 1;
    if (rest[end] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
    rest.remove_prefix(next);
    return line;
}

// "[ name ]" with anything behind the "]": true and the trimmed name.
bool ParseSectionHeader(std::string_view line, std::string_view& name) {
    std::string_view text = PlainText::TrimStart(line, PlainText::kSpaceAndTab);
    if (text.empty() || text.front() != '[') return false;
    text.remove_prefix(1);
    std::size_t close = Cp932::FindChar(text, ']');
    if (close == std::string_view::npos) return false;
    name = PlainText::Trim(text.substr(0, close), PlainText::kSpaceAndTab);
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The value of the first key `key` in the first section `section`.
std::optional<std::string_view> FindValue(std::string_view fileBytes, std::string_view section,
                                          std::string_view key) {
    std::string_view rest = fileBytes;
    bool inSection = false;
    while (!rest.empty()) {
        std::string_view line = TakeLine(rest);
        std::string_view name;
        if (ParseSectionHeader(line, name)) {
            // Leaving the first matching section: later ones of the same name
            // are not searched.
            if (inSection) return std::nullopt;
            inSection = PlainText::EqualIgnoringCase(name, section);
            continue;
        }
        if (!inSection) continue;
        std::string_view text = PlainText::TrimStart(line, PlainText::kSpaceAndTab);
        if (!text.empty() && text.front() == ';') continue;
        std::size_t equals = Cp932::FindChar(text, '=');
        if (equals == std::string_view::npos) continue;
        const std::string_view keyName = PlainText::TrimEnd(text.substr(0, equals), PlainText::kSpaceAndTab);
        if (PlainText::EqualIgnoringCase(keyName, key))
            return Unquote(PlainText::Trim(text.substr(equals + 1), PlainText::kSpaceAndTab));
    }
    return std::nullopt;
}

}  // namespace

std::uint32_t ProfileReader::GetString(std::string_view fileBytes, const char* section, const char* key,
                                       const char* defaultValue, char* out, std::uint32_t outSize) {
    if (outSize == 0 || out == nullptr) return 0;
    if (section == nullptr || key == nullptr) return CopyTruncated({}, out, outSize);
    if (fileBytes.starts_with(kUtf8ByteOrderMark)) fileBytes.remove_prefix(kUtf8ByteOrderMark.size());
    if (std::optional<std::string_view> value = FindValue(fileBytes, section, key))
        return CopyTruncated(*value, out, outSize);
    const std::string_view fallback = defaultValue != nullptr ? defaultValue : "";
    return CopyTruncated(PlainText::TrimEnd(fallback, PlainText::kSpaceAndTab), out, outSize);
}

std::uint32_t ProfileReader::ReadHostFile(const char* section, const char* key,
                                                      const char* defaultValue, char* out,
                                                      std::uint32_t outSize, const std::string& hostPath) {
    std::string bytes;
    // An unreadable file reads as an empty one: every lookup gives the default.
    if (!ReadFileBytes(hostPath, bytes)) bytes.clear();
    return GetString(bytes, section, key, defaultValue, out, outSize);
}

std::uint32_t ProfileReader::GetPrivateProfileStringA(const char* section, const char* key,
                                                      const char* defaultValue, char* out,
                                                      std::uint32_t outSize, const char* fileName) {
    std::optional<std::string> hostPath =
        fileName != nullptr ? DriveTable::ToHostPath(fileName) : std::nullopt;
    return ReadHostFile(section, key, defaultValue, out, outSize, hostPath.value_or(std::string()));
}

bool ProfileReader::ReadFileBytes(const std::string& hostPath, std::string& bytes) {
    if (hostPath.empty()) return false;
    std::FILE* file = std::fopen(hostPath.c_str(), "rb");
    if (file == nullptr) return false;
    bytes.resize(kMaxFileBytes);
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    bytes.resize(failed ? 0 : got);
    return !failed;
}

std::uint32_t ProfileReader::CopyTruncated(std::string_view text, char* out, std::uint32_t outSize) {
    text = text.substr(0, text.find('\0'));
    std::string_view kept = Cp932::CutOnCharBoundary(text, outSize - 1);
    if (!kept.empty()) std::memcpy(out, kept.data(), kept.size());
    out[kept.size()] = '\0';
    return static_cast<std::uint32_t>(kept.size());
}
