#include "settings/OutputPathChecks.h"

#include "platform/Cp932.h"
#include "platform/PlainText.h"
#include "platform/WinFileSystem.h"
#include "platform/WinPathText.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

using PathBuffer = char[WinPathText::kPathSize];

constexpr std::string_view kTwoBackslashes = "\\\\";
constexpr std::string_view kForbiddenCharacters = "/:,;*?\"><|";

std::string_view View(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

bool IsUnc(std::string_view path) { return path.starts_with(kTwoBackslashes); }

// Copies a path into a buffer of WinPathText::kPathSize; refused for a null or empty path
// and for one that does not fit.
bool CopyPath(const char* path, PathBuffer& out) {
    std::string_view text = View(path);
    if (text.empty() || text.size() >= WinPathText::kPathSize) return false;
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return true;
}

// Joins two texts into a path buffer, cutting the second on a
// character boundary where the buffer ends.
void Join(std::string_view head, std::string_view tail, PathBuffer& out) {
    std::string_view kept = Cp932::CutOnCharBoundary(tail, WinPathText::kPathSize - 1 - head.size());
    std::memcpy(out, head.data(), head.size());
    std::memcpy(out + head.size(), kept.data(), kept.size());
    out[head.size() + kept.size()] = '\0';
}

// The folder part of a path, ending in a separator: what the folder helpers
// walk.
bool FolderWithSeparator(const char* path, PathBuffer& out) {
    return CopyPath(path, out) && OutputPathChecks::FolderPartOf(out) &&
           OutputPathChecks::EnsureTrailingSeparator(out, WinPathText::kPathSize);
}

// The drive or share root of a path, ending in a separator.
bool RootOf(const char* path, PathBuffer& out) {
    return CopyPath(path, out) && WinPathText::PathStripToRootA(out) &&
           OutputPathChecks::EnsureTrailingSeparator(out, WinPathText::kPathSize);
}

std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) starts.push_back(i);
    return starts;
}

}  // namespace

bool OutputPathChecks::IsDoubleByteAt(const char* text, std::size_t index) {
    std::string_view view = View(text);
    for (std::size_t i = 0; i < view.size() && i <= index; i += Cp932::CharLengthAt(view, i)) {
        if (Cp932::StartsDoubleByte(view, i) && (index == i || index == i + 1)) return true;
    }
    return false;
}

bool OutputPathChecks::EnsureTrailingSeparator(char* path, std::size_t size) {
    std::string_view text = View(path);
    if (text.empty()) return false;
    if (WinPathText::EndsInSeparator(text)) return true;
    if (text.size() + 1 >= size) return false;
    path[text.size()] = '\\';
    path[text.size() + 1] = '\0';
    return true;
}

bool OutputPathChecks::FolderPartOf(char* path) {
    if (path == nullptr) return false;
    char drive[WinPathText::kMaxDrive];
    char dir[WinPathText::kMaxDir];
    // A directory that _splitpath would cut names another folder: refused.
    if (!WinPathText::SplitPath(path, drive, dir, nullptr, nullptr)) return false;
    // drive and dir hold at most 2 and 255 bytes: the result and a separator
    // always fit in the buffer.
    std::string folder = std::string(drive) + dir;
    if (folder.empty()) return false;
    if (WinPathText::EndsInDoubleByte(folder) || (folder.back() != '\\' && folder.size() < std::strlen(path)))
        folder += '\\';
    std::memcpy(path, folder.c_str(), folder.size() + 1);
    return true;
}

bool OutputPathChecks::IsExistingFolder(const char* path) {
    PathBuffer folder;
    if (!CopyPath(path, folder) || !FolderPartOf(folder)) return false;
    return WinFileSystem::PathIsDirectoryA(folder);
}

std::string OutputPathChecks::FolderOfPath(const char* path) {
    return std::string(WinPathText::SplitAtLastSeparator(View(path)).folder);
}

std::string OutputPathChecks::FileNameOfPath(const char* path) {
    return std::string(WinPathText::SplitAtLastSeparator(View(path)).name);
}

bool OutputPathChecks::HasValidPathCharacters(const char* path) {
    if (path == nullptr) return false;
    std::string_view text(path);
    // No Windows name holds a control character; no trail byte is one, so a
    // byte search finds them.
    if (std::ranges::any_of(text, [](char c) { return c > 0 && c < 0x20; })) return false;
    std::string_view checked;
    if (IsUnc(text)) {
        // The two leading backslashes are the only pair a UNC path may hold.
        if (Cp932::FindString(text, kTwoBackslashes, 3) != Cp932::npos) return false;
        checked = text.substr(2);
    } else {
        if (Cp932::FindString(text, kTwoBackslashes) != Cp932::npos) return false;
        const std::size_t colon = Cp932::FindChar(text, ':');
        checked = colon == Cp932::npos ? text : text.substr(colon + 1);
    }
    return Cp932::FindAnyChar(checked, kForbiddenCharacters) == Cp932::npos;
}

bool OutputPathChecks::HasWholeFolderPart(const char* path) {
    char drive[WinPathText::kMaxDrive];
    char dir[WinPathText::kMaxDir];
    return WinPathText::SplitPath(path, drive, dir, nullptr, nullptr);
}

bool OutputPathChecks::IsPathReachable(const char* path) {
    if (path == nullptr) return false;
    std::string_view text(path);
    if (!IsUnc(text)) {
        if (Cp932::FindString(text, kTwoBackslashes) != Cp932::npos) return false;
        return IsDriveUsable(text.empty() ? '\0' : text[0], kReadWrite);
    }
    const std::size_t behindServer = Cp932::FindChar(text, '\\', 3);
    if (behindServer == Cp932::npos) return false;
    const std::size_t behindShare = Cp932::FindChar(text, '\\', behindServer + 1);
    if (behindShare == Cp932::npos) return false;
    const std::string shareRoot(text.substr(0, behindShare));
    return WinFileSystem::_access(shareRoot.c_str(), kReadWrite) == 0;
}

bool OutputPathChecks::IsDriveUsable(char letter, int accessMode) {
    if (!PlainText::IsLetter(letter)) return false;
    const char upper = PlainText::ToUpper(letter);
    const char root[] = {upper, ':', '\\', '\0'};
    switch (WinFileSystem::GetDriveTypeA(root)) {
        case WinFileSystem::DRIVE_UNKNOWN:
        case WinFileSystem::DRIVE_CDROM:
        case WinFileSystem::DRIVE_RAMDISK:
            return false;
        case WinFileSystem::DRIVE_REMOVABLE:
        case WinFileSystem::DRIVE_FIXED:
        case WinFileSystem::DRIVE_REMOTE:
            return WinFileSystem::_access(root, accessMode) == 0;
        default:
            return true;
    }
}

bool OutputPathChecks::CreateFolderTree(const char* folder) {
    PathBuffer chain;
    if (!FolderWithSeparator(folder, chain)) return false;
    const char* restBehindRoot = WinPathText::PathSkipRootA(chain);
    if (restBehindRoot == nullptr) return false;
    PathBuffer root;
    if (!RootOf(chain, root)) return false;
    PathBuffer deepestExisting;
    std::memcpy(deepestExisting, root, sizeof root);

    const std::string_view rest(restBehindRoot);
    for (std::size_t i = 0; i < rest.size(); i += Cp932::CharLengthAt(rest, i)) {
        if (rest[i] != '\\') continue;
        PathBuffer prefix;
        Join(root, rest.substr(0, i), prefix);
        // The chain fits in the buffer with its final separator, so every
        // shorter prefix takes one too; kept for the case it ever would not.
        if (!EnsureTrailingSeparator(prefix, WinPathText::kPathSize)) {
            RemoveCreatedFolders(prefix, nullptr);
            return false;
        }
        if (IsExistingFolder(prefix)) {
            std::memcpy(deepestExisting, prefix, sizeof prefix);
            continue;
        }
        if (!WinFileSystem::CreateDirectoryA(prefix)) {
            RemoveCreatedFolders(prefix, deepestExisting);
            return false;
        }
    }
    return true;
}

bool OutputPathChecks::RemoveCreatedFolders(const char* path, const char* keptFolder) {
    PathBuffer chain;
    PathBuffer root;
    if (!FolderWithSeparator(path, chain) || !RootOf(chain, root)) return false;
    const char* restBehindRoot = WinPathText::PathSkipRootA(chain);
    if (restBehindRoot == nullptr) return false;
    const std::string_view rest(restBehindRoot);

    std::string_view keptRest;
    PathBuffer kept;
    PathBuffer keptRoot;
    if (keptFolder != nullptr) {
        if (!FolderWithSeparator(keptFolder, kept) || !RootOf(kept, keptRoot)) return false;
        const char* keptBehindRoot = WinPathText::PathSkipRootA(kept);
        if (keptBehindRoot == nullptr) return false;
        keptRest = keptBehindRoot;
        // A kept folder that is not on the way to the path would leave
        // nothing to stop at: remove nothing.
        if (!PlainText::EqualIgnoringCase(root, keptRoot) || !PlainText::SamePrefixIgnoringCase(rest, keptRest, keptRest.size()))
            return false;
    }

    const std::vector<std::size_t> starts = CharacterStarts(rest);
    for (auto it = starts.rbegin(); it != starts.rend() && *it >= 1; ++it) {
        const std::size_t n = *it;
        if (rest[n] != '\\') continue;
        if (keptFolder != nullptr && PlainText::SamePrefixIgnoringCase(rest, keptRest, n)) break;
        PathBuffer folder;
        Join(root, rest.substr(0, n + 1), folder);
        if (!WinFileSystem::PathIsDirectoryA(folder)) continue;
        if (!WinFileSystem::RemoveDirectoryA(folder)) return false;
        if (keptFolder == nullptr) break;
    }
    return true;
}
