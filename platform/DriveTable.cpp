#include "platform/DriveTable.h"

#include "platform/MznRoot.h"
#include "platform/PlainText.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

// Path text here is UTF-8 with either separator: the code page 932 text is
// converted first, so that a second byte 0x5C of a double-byte character has
// become part of a UTF-8 sequence before any separator is looked for.

namespace {

// A types file is a handful of lines; more than this is not one.
constexpr std::size_t kTypesFileLimit = 64 * 1024;

struct TypeName {
    std::string_view word;
    DriveTable::Type type;
};
constexpr TypeName kTypeNames[] = {
    {"unknown", DriveTable::Unknown}, {"removable", DriveTable::Removable},
    {"fixed", DriveTable::Fixed},     {"remote", DriveTable::Remote},
    {"cdrom", DriveTable::Cdrom},     {"ramdisk", DriveTable::Ramdisk},
};

// A Windows path taken apart: its root (a drive or a share) and the names
// below it, in UTF-8.
struct WindowsPath {
    char drive = 0;  // lower-case letter, or 0 for a share
    std::string server;
    std::string share;
    std::vector<std::string> names;
    bool trailingSeparator = false;
};

// Blanks around the letter and the type in the drive types file.
constexpr std::string_view kTypesBlanks = " \t\r\v\f";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string UncFolder() { return MznRoot::Path() + "/unc"; }

// The resolved host folder of a drive, or nullopt when the letter is not
// mapped (no entry, or one that is no folder and links to none).
std::optional<std::string> MappedFolder(char lowerLetter) {
    std::error_code ec;
    fs::path entry = DriveTable::DrivesFolder() + "/" + lowerLetter;
    if (!fs::is_directory(entry, ec)) return std::nullopt;
    fs::path resolved = fs::canonical(entry, ec);
    if (ec) return std::nullopt;
    return resolved.string();
}

// Adds the names of a "\"- or "/"-separated tail. ".." takes the last name
// away and stops at the root, as Windows does at a drive root.
void AppendNames(WindowsPath& path, std::string_view tail) {
    std::size_t pos = 0;
    while (pos < tail.size()) {
        std::size_t end = pos;
        while (end < tail.size() && !IsSeparator(tail[end])) ++end;
        std::string_view name = tail.substr(pos, end - pos);
        if (name == "..") {
            if (!path.names.empty()) path.names.pop_back();
        } else if (!name.empty() && name != ".") {
            path.names.emplace_back(name);
        }
        pos = end + 1;
    }
    path.trailingSeparator = !tail.empty() && IsSeparator(tail.back());
}

// True when path is the folder or lies below it; rest is then the part
// below, without its leading "/".
bool IsBelow(std::string_view path, std::string_view folder, std::string_view& rest) {
    if (folder == "/") {
        rest = path.substr(1);
        return true;
    }
    if (!path.starts_with(folder)) return false;
    rest = path.substr(folder.size());
    if (rest.empty()) return true;
    if (rest.front() != '/') return false;
    rest.remove_prefix(1);
    return true;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A root that holds a host path, with the length of its host folder.
struct Holder {
    WindowsPath path;
    std::size_t rootLength = 0;
};

// The drive with the longest folder that holds the (resolved) path.
std::optional<Holder> DriveHolding(std::string_view path) {
    std::optional<Holder> best;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::optional<std::string> folder = MappedFolder(letter);
        std::string_view rest;
        if (!folder || !IsBelow(path, *folder, rest)) continue;
        if (best && folder->size() <= best->rootLength) continue;
        best = Holder{};
        best->path.drive = letter;
        AppendNames(best->path, rest);
        best->rootLength = folder->size();
    }
    return best;
}

// The share that holds the (resolved) path: a folder two levels below the
// UNC folder.
std::optional<Holder> ShareHolding(std::string_view path) {
    std::error_code ec;
    const std::string unc = WithoutTrailingSlashes(fs::weakly_canonical(UncFolder(), ec).string());
    std::string_view rest;
    if (ec || !IsBelow(path, unc, rest)) return std::nullopt;
    WindowsPath below;
    AppendNames(below, rest);
    if (below.names.size() < 2) return std::nullopt;
    Holder holder;
    holder.path.server = below.names[0];
    holder.path.share = below.names[1];
    holder.path.names.assign(below.names.begin() + 2, below.names.end());
    holder.rootLength = unc.size() + 1 + below.names[0].size() + 1 + below.names[1].size();
    return holder;
}

// The Windows form of a host path, or nullopt when no drive or share holds it.
std::optional<WindowsPath> FromHost(std::string_view hostPath) {
    if (hostPath.empty() || hostPath.find('\0') != std::string_view::npos) return std::nullopt;
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(hostPath), ec);
    if (ec) return std::nullopt;
    fs::path resolved = fs::weakly_canonical(absolute, ec);
    if (ec) return std::nullopt;
    const std::string path = WithoutTrailingSlashes(resolved.string());
    // A host name with a backslash has no Windows form: it would read back
    // as two names.
    if (path.find('\\') != std::string::npos) return std::nullopt;

    std::optional<Holder> drive = DriveHolding(path);
    std::optional<Holder> share = ShareHolding(path);
    if (share && (!drive || share->rootLength > drive->rootLength)) return share->path;
    if (drive) return drive->path;
    return std::nullopt;
}

std::optional<WindowsPath> CurrentFolder() {
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (ec) return std::nullopt;
    return FromHost(current.string());
}

// Takes apart a UTF-8 Windows path; relative forms are completed from the
// current folder.
std::optional<WindowsPath> Parse(std::string_view text) {
    WindowsPath path;
    if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        std::string_view tail = text.substr(2);
        std::size_t serverEnd = 0;
        while (serverEnd < tail.size() && !IsSeparator(tail[serverEnd])) ++serverEnd;
        std::size_t shareEnd = serverEnd + 1;
        while (shareEnd < tail.size() && !IsSeparator(tail[shareEnd])) ++shareEnd;
        if (serverEnd == 0 || shareEnd > tail.size() || shareEnd == serverEnd + 1) return std::nullopt;
        path.server = tail.substr(0, serverEnd);
        path.share = tail.substr(serverEnd + 1, shareEnd - serverEnd - 1);
        // "\\.\" and "\\?\" name devices and raw paths, never a share; a
        // server or share named "." or ".." would lead out of the UNC folder.
        for (const std::string& name : {path.server, path.share})
            if (name == "." || name == ".." || name == "?") return std::nullopt;
        AppendNames(path, tail.substr(std::min(tail.size(), shareEnd)));
        return path;
    }
    if (text.size() >= 2 && PlainText::IsLetter(text[0]) && text[1] == ':') {
        std::string_view tail = text.substr(2);
        path.drive = PlainText::ToLower(text[0]);
        if (!tail.empty() && !IsSeparator(tail.front())) {
            // "X:name" is relative to the current folder when that is on X,
            // otherwise to the root of X (the only folder we know there).
            std::optional<WindowsPath> current = CurrentFolder();
            if (current && current->drive == path.drive) path = *current;
        }
        AppendNames(path, tail);
        return path;
    }
    std::optional<WindowsPath> current = CurrentFolder();
    if (!current) return std::nullopt;
    path = *current;
    if (!text.empty() && IsSeparator(text.front())) path.names.clear();
    AppendNames(path, text);
    return path;
}

// Code page 932 form of a taken-apart path; a root keeps its separator.
std::optional<std::string> Format(const WindowsPath& path) {
    std::string text;
    if (path.drive != 0) {
        text = std::string(1, PlainText::ToUpper(path.drive)) + ":";
    } else {
        text = "\\\\" + path.server + "\\" + path.share;
    }
    if (path.names.empty()) text += "\\";
    for (const std::string& name : path.names) text += "\\" + name;
    TextCodec::Result<std::string> converted = TextCodec::Utf8ToCp932(text);
    if (!converted.ok) return std::nullopt;
    return converted.text;
}

DriveTable::DeclaredTypes ReadDeclaredTypes() {
    std::ifstream in(DriveTable::DrivesFolder() + "/types", std::ios::binary);
    if (!in) return {};
    std::string text(kTypesFileLimit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return DriveTable::ParseTypes(text);
}

}  // namespace

std::string DriveTable::Location::HostPath() const {
    if (rest.empty()) return root;
    return root.ends_with('/') ? root + rest : root + "/" + rest;
}

std::string DriveTable::DrivesFolder() { return MznRoot::Path() + "/drives"; }

bool DriveTable::EnsureDefaults() {
    std::error_code ec;
    const fs::path drives = DrivesFolder();
    if (fs::exists(fs::symlink_status(drives, ec))) return true;
    fs::create_directories(MznRoot::Path(), ec);
    // Built beside and moved in whole, so that a second process never sees
    // a table without its defaults.
    std::string pattern = MznRoot::Path() + "/.drives-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return false;
    const fs::path building = pattern;
    bool built = fs::create_directory(building / "c", ec);
    if (built) {
        fs::create_directory_symlink("/", building / "z", ec);
        built = !ec;
    }
    if (built && renameat2(AT_FDCWD, building.c_str(), AT_FDCWD, drives.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    fs::remove_all(building, ec);
    return fs::exists(fs::symlink_status(drives, ec));
}

std::optional<DriveTable::Location> DriveTable::Locate(std::string_view windowsPath) {
    if (windowsPath.empty() || windowsPath.find('\0') != std::string_view::npos) return std::nullopt;
    TextCodec::Result<std::string> utf8 = TextCodec::Cp932ToUtf8(windowsPath);
    if (!utf8.ok) return std::nullopt;
    EnsureDefaults();
    std::optional<WindowsPath> path = Parse(utf8.text);
    if (!path) return std::nullopt;

    Location location;
    if (path->drive != 0) {
        std::optional<std::string> folder = MappedFolder(path->drive);
        if (!folder) return std::nullopt;
        location.root = *folder;
        location.drive = path->drive;
    } else {
        location.root = UncFolder() + "/" + path->server + "/" + path->share;
    }
    for (const std::string& name : path->names) {
        if (!location.rest.empty()) location.rest += '/';
        location.rest += name;
    }
    if (path->trailingSeparator && !location.rest.empty()) location.rest += '/';
    return location;
}

std::optional<std::string> DriveTable::ToHostPath(std::string_view windowsPath) {
    std::optional<Location> location = Locate(windowsPath);
    if (!location) return std::nullopt;
    return location->HostPath();
}

std::optional<std::string> DriveTable::ToWindowsPath(std::string_view hostPath) {
    EnsureDefaults();
    std::optional<WindowsPath> path = FromHost(hostPath);
    if (!path) return std::nullopt;
    return Format(*path);
}

DriveTable::Type DriveTable::DriveType(char letter) {
    if (!PlainText::IsLetter(letter)) return NoRootDir;
    EnsureDefaults();
    const char lower = PlainText::ToLower(letter);
    std::optional<Type> declared = ReadDeclaredTypes()[static_cast<std::size_t>(lower - 'a')];
    if (declared) return *declared;
    return MappedFolder(lower) ? Fixed : NoRootDir;
}

DriveTable::DeclaredTypes DriveTable::ParseTypes(std::string_view text) {
    DeclaredTypes types{};
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        line = line.substr(0, line.find_first_of("#;"));
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view letter = PlainText::Trim(line.substr(0, equals), kTypesBlanks);
        std::string_view word = PlainText::Trim(line.substr(equals + 1), kTypesBlanks);
        if (letter.size() != 1 || !PlainText::IsLetter(letter[0])) continue;
        for (const TypeName& name : kTypeNames) {
            if (PlainText::EqualIgnoringCase(word, name.word)) {
                types[static_cast<std::size_t>(PlainText::ToLower(letter[0]) - 'a')] = name.type;
                break;
            }
        }
    }
    return types;
}
