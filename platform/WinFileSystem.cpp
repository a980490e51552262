#include "platform/WinFileSystem.h"

#include "platform/Cp932.h"
#include "platform/PlainText.h"
#include "platform/WinPathText.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where a Windows path lies; errno ENOENT when it maps to nothing.
std::optional<DriveTable::Location> Locate(const char* windowsPath) {
    std::optional<DriveTable::Location> location;
    if (windowsPath != nullptr) location = DriveTable::Locate(windowsPath);
    if (!location) errno = windowsPath == nullptr ? EINVAL : ENOENT;
    return location;
}

bool HasNoWriteBit(const std::string& hostPath) {
    struct stat info;
    return ::stat(hostPath.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// The rules on top of the host's permissions (see the class comment); errno
// says why a write is refused.
bool IsOnCdrom(const DriveTable::Location& location) {
    if (location.drive == 0 || DriveTable::DriveType(location.drive) != DriveTable::Cdrom) return false;
    errno = EROFS;
    return true;
}

bool IsReadOnly(const std::string& hostPath) {
    if (!HasNoWriteBit(hostPath)) return false;
    errno = EACCES;
    return true;
}

// Whether a folder may be created in or removed from its parent.
bool MayChangeEntry(const DriveTable::Location& location) {
    if (location.IsRoot()) {
        errno = EACCES;
        return false;
    }
    if (IsOnCdrom(location)) return false;
    std::string host = location.HostPath();
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    return !IsReadOnly(fs::path(host).parent_path().string());
}

// Copies text with its NUL when it fits; returns the length copied, or the
// size needed (NUL included) when it does not fit.
std::uint32_t CopyOrNeed(const std::string& text, char* buffer, std::uint32_t size) {
    if (buffer == nullptr || text.size() + 1 > size) return static_cast<std::uint32_t>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<std::uint32_t>(text.size());
}

std::optional<std::string> CurrentWindowsFolder() {
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (ec) return std::nullopt;
    return DriveTable::ToWindowsPath(current.string());
}

}  // namespace

unsigned WinFileSystem::GetDriveTypeA(const char* rootPath) {
    if (rootPath == nullptr) {
        std::optional<std::string> current = CurrentWindowsFolder();
        std::optional<DriveTable::Location> location;
        if (current) location = DriveTable::Locate(*current);
        if (!location) return DRIVE_NO_ROOT_DIR;
        if (location->drive != 0) return DriveTable::DriveType(location->drive);
        std::error_code ec;
        return fs::is_directory(location->root, ec) ? DRIVE_REMOTE : DRIVE_NO_ROOT_DIR;
    }
    std::string_view root(rootPath);
    if (root.size() >= 2 && PlainText::IsLetter(root[0]) && root[1] == ':') {
        if (root.size() == 2 || (root.size() == 3 && IsSeparator(root[2]))) return DriveTable::DriveType(root[0]);
        return DRIVE_NO_ROOT_DIR;
    }
    if (root.size() >= 2 && IsSeparator(root[0]) && IsSeparator(root[1])) {
        std::optional<DriveTable::Location> location = DriveTable::Locate(root);
        std::error_code ec;
        if (location && location->IsRoot() && fs::is_directory(location->root, ec)) return DRIVE_REMOTE;
    }
    return DRIVE_NO_ROOT_DIR;
}

int WinFileSystem::_access(const char* path, int mode) {
    if ((mode & ~6) != 0) {
        errno = EINVAL;
        return -1;
    }
    std::optional<DriveTable::Location> location = Locate(path);
    if (!location) return -1;
    const std::string host = location->HostPath();
    const int hostMode = ((mode & 2) != 0 ? W_OK : 0) | ((mode & 4) != 0 ? R_OK : 0);
    if (::access(host.c_str(), hostMode == 0 ? F_OK : hostMode) != 0) return -1;
    if ((mode & 2) != 0 && (IsOnCdrom(*location) || IsReadOnly(host))) return -1;
    return 0;
}

bool WinFileSystem::MayWriteFile(const char* path) {
    std::optional<DriveTable::Location> location = Locate(path);
    if (!location || location->IsRoot() || IsOnCdrom(*location)) return false;
    const std::string host = location->HostPath();
    return !IsReadOnly(fs::path(host).parent_path().string()) && !IsReadOnly(host);
}

bool WinFileSystem::PathIsDirectoryA(const char* path) {
    std::optional<DriveTable::Location> location = Locate(path);
    struct stat info;
    return location && ::stat(location->HostPath().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool WinFileSystem::PathFileExistsA(const char* path) {
    std::optional<DriveTable::Location> location = Locate(path);
    struct stat info;
    return location && ::stat(location->HostPath().c_str(), &info) == 0;
}

bool WinFileSystem::CreateDirectoryA(const char* path) {
    std::optional<DriveTable::Location> location = Locate(path);
    if (!location || !MayChangeEntry(*location)) return false;
    return ::mkdir(location->HostPath().c_str(), 0777) == 0;
}

bool WinFileSystem::RemoveDirectoryA(const char* path) {
    std::optional<DriveTable::Location> location = Locate(path);
    if (!location || !MayChangeEntry(*location)) return false;
    return ::rmdir(location->HostPath().c_str()) == 0;
}

std::uint32_t WinFileSystem::GetTempPathA(std::uint32_t size, char* buffer) {
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string host = (tmpdir != nullptr && *tmpdir != '\0') ? tmpdir : "/tmp";
    std::optional<std::string> folder = DriveTable::ToWindowsPath(host);
    if (!folder) return 0;
    if (!WinPathText::EndsInSeparator(*folder)) *folder += '\\';
    return CopyOrNeed(*folder, buffer, size);
}

std::uint32_t WinFileSystem::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    std::error_code ec;
    fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec || buffer == nullptr || size == 0) return 0;
    std::optional<std::string> path = DriveTable::ToWindowsPath(program.string());
    if (!path) return 0;
    if (path->size() < size) {
        std::memcpy(buffer, path->c_str(), path->size() + 1);
        return static_cast<std::uint32_t>(path->size());
    }
    std::size_t kept = 0;
    while (kept < path->size()) {
        std::size_t next = kept + Cp932::CharLengthAt(*path, kept);
        if (next > size - 1) break;
        kept = next;
    }
    std::memcpy(buffer, path->data(), kept);
    buffer[kept] = '\0';
    return size;
}

char* WinFileSystem::_getcwd(char* buf, int size) {
    if (buf == nullptr || size <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    std::optional<std::string> current = CurrentWindowsFolder();
    if (!current) {
        errno = ENOENT;
        return nullptr;
    }
    if (current->size() + 1 > static_cast<std::size_t>(size)) {
        errno = ERANGE;
        return nullptr;
    }
    std::memcpy(buf, current->c_str(), current->size() + 1);
    return buf;
}

int WinFileSystem::_chdir(const char* path) {
    std::optional<DriveTable::Location> location = Locate(path);
    if (!location) return -1;
    return ::chdir(location->HostPath().c_str());
}

std::optional<std::string> WinFileSystem::HostPath(const char* windowsPath) {
    if (windowsPath == nullptr) return std::nullopt;
    return DriveTable::ToHostPath(windowsPath);
}
