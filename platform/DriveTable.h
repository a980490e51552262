#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Windows paths (code page 932, backslashes) over the host file system.
//
// Drive letter x is the host folder $MZN_ROOT/drives/x (lower-case letter; a
// folder or a symbolic link to one). A UNC path \\server\share\rest is
// $MZN_ROOT/unc/server/share/rest. When $MZN_ROOT/drives does not exist yet,
// the first use creates it with c as a folder and z as a link to "/", so that
// Z:\home\me\out.xml is /home/me/out.xml; a table that exists is never
// touched. $MZN_ROOT/drives/types may declare the type of a drive, one
// "letter=type" a line (unknown, removable, fixed, remote, cdrom, ramdisk).
//
// Names are mapped as given: Windows compares them without regard to case,
// the host does not, and only the drive letter is folded.
class DriveTable {
public:
    // The values GetDriveTypeA reports.
    enum Type : unsigned {
        Unknown = 0,
        NoRootDir = 1,
        Removable = 2,
        Fixed = 3,
        Remote = 4,
        Cdrom = 5,
        Ramdisk = 6,
    };

    // Where a Windows path lies on the host: the host folder of its root
    // (drive or share) and the part below it, "/"-separated, without "." or
    // ".." and without a leading "/"; it ends in "/" when the Windows path
    // ended in a separator. drive is the lower-case letter, or 0 for a share.
    struct Location {
        std::string root;
        std::string rest;
        char drive = 0;

        std::string HostPath() const;
        bool IsRoot() const { return rest.empty(); }
    };

    // A declared type per letter a to z; nullopt where the types file says
    // nothing.
    using DeclaredTypes = std::array<std::optional<Type>, 26>;

    // Creates $MZN_ROOT/drives with its defaults when it does not exist.
    // False when it neither existed nor could be created.
    static bool EnsureDefaults();

    // Host folder of the drive table: $MZN_ROOT/drives.
    static std::string DrivesFolder();

    // Host path for a Windows path. "X:" alone is the drive folder. A relative
    // path ("a\b", "X:a") resolves against the current folder, and one that
    // starts with a separator ("\a") against the root of the current drive;
    // Windows does the same. ".." stops at the root of the drive or share.
    // "\" and "/" both separate. nullopt for an empty path, an unmapped drive
    // letter, a UNC path without a server and share (or "\\.\", "\\?\"),
    // text that is not code page 932, or a relative path while no drive
    // holds the current folder.
    static std::optional<std::string> ToHostPath(std::string_view windowsPath);
    // The same, split into the root's host folder and the rest.
    static std::optional<Location> Locate(std::string_view windowsPath);

    // Windows path (code page 932) for a host path; a relative one is taken
    // from the current folder. Symbolic links are followed, and the drive or
    // share whose host folder is the longest leading part of the path wins,
    // so a file below $MZN_ROOT/drives/c is "C:\..." rather than "Z:\...";
    // among drives that share a folder the first letter wins. A root is
    // "X:\" or "\\server\share"; other paths have no trailing separator.
    // nullopt when no drive holds the path or a name has no code page 932
    // form.
    static std::optional<std::string> ToWindowsPath(std::string_view hostPath);

    // Type of a drive letter (either case): the type declared in the types
    // file when there is one (a declared drive whose folder is missing is a
    // drive without a medium, as an empty CD-ROM drive is); otherwise Fixed
    // for a mapped letter and NoRootDir for an unmapped one or a character
    // that is no letter.
    static Type DriveType(char letter);

    // Reads the text of a types file: "letter = type" a line, letter and type
    // in either case, blanks ignored, "#" or ";" starting a comment, lines
    // with another word or no single letter ignored; a later line wins.
    static DeclaredTypes ParseTypes(std::string_view text);
};
