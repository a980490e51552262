#pragma once

#include "platform/DriveTable.h"

#include <cstdint>
#include <optional>
#include <string>

// The Windows and runtime-library file functions the system calls, under
// their Windows names and with the behaviour its callers rely on. Every path
// is a Windows path in code page 932, mapped to the host by DriveTable.
// Failures set errno as the host call did (ENOENT for a path that maps to
// nothing, EROFS for a write on a CD-ROM drive).
//
// Read-only: a drive declared "cdrom" refuses every write (_access with a
// write mode, CreateDirectoryA, RemoveDirectoryA), and a file or folder that
// has no write permission bit at all is read-only for everybody, the
// superuser included, as the read-only attribute binds administrators on
// Windows. Anything else is what the host grants the process.
class WinFileSystem {
public:
    static constexpr unsigned DRIVE_UNKNOWN = DriveTable::Unknown;
    static constexpr unsigned DRIVE_NO_ROOT_DIR = DriveTable::NoRootDir;
    static constexpr unsigned DRIVE_REMOVABLE = DriveTable::Removable;
    static constexpr unsigned DRIVE_FIXED = DriveTable::Fixed;
    static constexpr unsigned DRIVE_REMOTE = DriveTable::Remote;
    static constexpr unsigned DRIVE_CDROM = DriveTable::Cdrom;
    static constexpr unsigned DRIVE_RAMDISK = DriveTable::Ramdisk;

    // Type of the drive whose root is given: "X:\" (also "X:" or "X:/"), or
    // a share root "\\server\share\" (remote when the share's folder exists,
    // no root directory otherwise). A path below a root has no root directory.
    // nullptr asks for the drive of the current folder.
    static unsigned GetDriveTypeA(const char* rootPath);

    // 0 when the path exists and allows the mode (0 existence, 2 write,
    // 4 read, 6 read and write), -1 otherwise or for another mode.
    static int _access(const char* path, int mode);

    // Whether a file may be created or replaced at the path: the drive takes
    // writes, and neither the folder holding it nor the file, when it exists,
    // lacks every write bit. The same rule for every user, the superuser
    // included, as Windows' read-only attribute holds for administrators.
    static bool MayWriteFile(const char* path);

    static bool PathIsDirectoryA(const char* path);
    static bool PathFileExistsA(const char* path);
    // Creates one folder; fails when it exists, when its parent is missing
    // and for a root.
    static bool CreateDirectoryA(const char* path);
    // Removes one empty folder; never a drive or share root.
    static bool RemoveDirectoryA(const char* path);

    // The host's temporary folder ($TMPDIR, or /tmp) as a Windows path ending
    // in "\". Returns its length when it fits in size bytes with its NUL,
    // otherwise the size it needs (NUL included) and leaves buffer alone;
    // 0 when no drive holds the folder.
    static std::uint32_t GetTempPathA(std::uint32_t size, char* buffer);

    // The program file (/proc/self/exe) as a Windows path. Returns its
    // length; when it does not fit, the truncated path (never half a
    // double-byte character) with its NUL and size, as Windows does. 0 on
    // failure.
    static std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size);

    // The current folder as a Windows path into buf; nullptr (errno ERANGE)
    // when it does not fit in size bytes with its NUL, or ENOENT when no
    // drive holds it. buf must not be nullptr (EINVAL).
    static char* _getcwd(char* buf, int size);
    // Makes the folder the current folder: 0, or -1.
    static int _chdir(const char* path);

    // Host path for the other file operations (fopen and the like); nullopt
    // when the Windows path maps to nothing.
    static std::optional<std::string> HostPath(const char* windowsPath);
};
