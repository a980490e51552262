#include "platform/WinPathText.h"

#include "platform/Cp932.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Index of the first single-byte character `wanted` at or behind `from`
// (which must start a character), scanning by character.
std::size_t FindCharacter(std::string_view text, std::size_t from, char wanted) {
    for (std::size_t i = from; i < text.size(); i += Cp932::CharLengthAt(text, i)) {
        if (text[i] == wanted) return i;
    }
    return kNone;
}

// A lead byte never names a drive: "X:" needs a single-byte character.
bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && !Cp932::IsLeadByte(static_cast<unsigned char>(path[0]));
}

// "\", "X:\", "\\", "\\server", "\\server\" and "\\server\share" are roots;
// "\\server\share\" is not (it has a component behind the share).
bool IsRoot(std::string_view path) {
    if (path.empty()) return false;
    if (path[0] == '\\') {
        if (path.size() == 1) return true;
        if (path[1] != '\\') return false;
        int separators = 0;
        for (std::size_t i = 2; i < path.size(); i += Cp932::CharLengthAt(path, i)) {
            if (path[i] == '\\' && ++separators > 1) return false;
        }
        return true;
    }
    return path.size() == 3 && HasDriveLetter(path) && path[2] == '\\';
}

// Where the last component of the path starts: behind the leading "\" or
// "\\", at its last backslash, or behind "X:" / "X:\". The character right
// behind a ":" is not examined, so the backslash of "X:\" stays with the
// drive. path.size() when there is nothing to remove.
std::size_t LastComponentStart(std::string_view path) {
    std::size_t start = 0;
    if (start < path.size() && path[start] == '\\') ++start;
    if (start < path.size() && path[start] == '\\') ++start;
    std::size_t component = start;
    std::size_t i = start;
    while (i < path.size()) {
        if (path[i] == ':') {
            component = i + 1;
            if (component < path.size() && path[component] == '\\') ++component;
            ++i;
            if (i < path.size()) i += Cp932::CharLengthAt(path, i);
            continue;
        }
        if (path[i] == '\\') component = i;
        i += Cp932::CharLengthAt(path, i);
    }
    return component;
}

// Copies text into a buffer of `size` bytes: at most size - 1 bytes, never
// half a double-byte character, NUL-terminated. Nothing for a null buffer.
// False when the text was cut.
bool CopyComponent(std::string_view text, char* out, std::size_t size) {
    if (out == nullptr || size == 0) return true;
    std::string_view kept = Cp932::CutOnCharBoundary(text, size - 1);
    if (!kept.empty()) std::memcpy(out, kept.data(), kept.size());
    out[kept.size()] = '\0';
    return kept.size() == text.size();
}

}  // namespace

bool WinPathText::PathStripToRootA(char* path) {
    if (path == nullptr) return false;
    std::size_t length = std::strlen(path);
    while (!IsRoot(std::string_view(path, length))) {
        std::size_t cut = LastComponentStart(std::string_view(path, length));
        if (cut >= length) return false;
        path[cut] = '\0';
        length = cut;
    }
    return true;
}

const char* WinPathText::PathSkipRootA(const char* path) {
    if (path == nullptr || *path == '\0') return nullptr;
    std::string_view text(path);
    if (text.starts_with("\\\\")) {
        std::size_t behindServer = FindCharacter(text, 2, '\\');
        if (behindServer == kNone) return nullptr;
        std::size_t behindShare = FindCharacter(text, behindServer + 1, '\\');
        if (behindShare == kNone) return nullptr;
        return path + behindShare + 1;
    }
    if (HasDriveLetter(text) && text.size() >= 3 && text[2] == '\\') return path + 3;
    return nullptr;
}

bool WinPathText::SplitPath(const char* path, char* drive, char* dir, char* fname, char* ext) {
    std::string_view text(path != nullptr ? path : "");
    std::size_t rest = 0;
    if (HasDriveLetter(text)) rest = 2;
    bool whole = CopyComponent(text.substr(0, rest), drive, kMaxDrive);

    std::size_t nameStart = rest;
    std::size_t lastDot = kNone;
    for (std::size_t i = rest; i < text.size(); i += Cp932::CharLengthAt(text, i)) {
        if (text[i] == '\\' || text[i] == '/')
            nameStart = i + 1;
        else if (text[i] == '.')
            lastDot = i;
    }
    whole &= CopyComponent(text.substr(rest, nameStart - rest), dir, kMaxDir);

    if (lastDot != kNone && lastDot >= nameStart) {
        whole &= CopyComponent(text.substr(nameStart, lastDot - nameStart), fname, kMaxFname);
        whole &= CopyComponent(text.substr(lastDot), ext, kMaxExt);
    } else {
        whole &= CopyComponent(text.substr(nameStart), fname, kMaxFname);
        whole &= CopyComponent({}, ext, kMaxExt);
    }
    return whole;
}

std::size_t WinPathText::LastCharacterStart(std::string_view text) {
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) last = i;
    return last;
}

bool WinPathText::EndsInDoubleByte(std::string_view text) {
    return !text.empty() && Cp932::StartsDoubleByte(text, LastCharacterStart(text));
}

bool WinPathText::EndsInSeparator(std::string_view text) {
    return !text.empty() && text[LastCharacterStart(text)] == '\\' && !EndsInDoubleByte(text);
}

WinPathText::Split WinPathText::SplitAtLastSeparator(std::string_view path, bool orColon) {
    std::size_t separator = Cp932::FindLastChar(path, '\\');
    if (separator == Cp932::npos && orColon) separator = Cp932::FindLastChar(path, ':');
    if (separator == Cp932::npos) return {std::string_view(), path};
    return {path.substr(0, separator + 1), path.substr(separator + 1)};
}
