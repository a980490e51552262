#include "platform/ProfileReader.h"

#include "platform/Cp932.h"
#include "platform/DriveTable.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Space and tab. Neither is a trail byte, so trimming never eats half of a
// double-byte character.
bool IsBlank(char byte) {
    return byte == ' ' || byte == '\t';
}

std::string_view TrimStart(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    return TrimEnd(TrimStart(text));
}

// Index of the first single-byte character `wanted`, scanning by character so
// that the second byte of a double-byte character never matches.
std::size_t FindCharacter(std::string_view text, char wanted) {
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) {
        if (text[i] == wanted) return i;
    }
    return std::string_view::npos;
}

char FoldAscii(char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<char>(byte - 'a' + 'A') : byte;
}

// Names compare without regard to ASCII case; a double-byte character must
// match byte for byte, as its second byte (0x40-0x7E) may look like a letter.
bool NamesEqual(std::string_view fromFile, std::string_view wanted) {
    if (fromFile.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < fromFile.size();) {
        if (Cp932::StartsDoubleByte(fromFile, i)) {
            if (fromFile[i] != wanted[i] || fromFile[i + 1] != wanted[i + 1]) return false;
            i += 2;
        } else {
            if (FoldAscii(fromFile[i]) != FoldAscii(wanted[i])) return false;
            ++i;
        }
    }
    return true;
}

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
    std::string_view text = TrimStart(line);
    if (text.empty() || text.front() != '[') return false;
    text.remove_prefix(1);
    std::size_t close = FindCharacter(text, ']');
    if (close == std::string_view::npos) return false;
    name = Trim(text.substr(0, close));
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
            inSection = NamesEqual(name, section);
            continue;
        }
        if (!inSection) continue;
        std::string_view text = TrimStart(line);
        if (!text.empty() && text.front() == ';') continue;
        std::size_t equals = FindCharacter(text, '=');
        if (equals == std::string_view::npos) continue;
        if (NamesEqual(TrimEnd(text.substr(0, equals)), key)) return Unquote(Trim(text.substr(equals + 1)));
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
    return CopyTruncated(TrimEnd(defaultValue != nullptr ? defaultValue : ""), out, outSize);
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
