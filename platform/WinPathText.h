#pragma once

#include <cstddef>
#include <string_view>

// Text functions on Windows paths in code page 932, with the behaviour of the
// Windows shell and runtime functions of the same names. They never touch the
// file system. Every scan steps over double-byte characters whole, so the
// second byte 0x5C of a character like "表" (0x95 0x5C) is never taken for a
// separator.
//
// Roots, as the shell functions see them:
//   "C:\..."             drive root "C:\" (any single-byte character before ":")
//   "\\server\share..."  share root "\\server\share"
//   "\..."               the root of the current drive, "\"
class WinPathText {
public:
    // A Windows path: at most 260 bytes (MAX_PATH) and its NUL.
    static constexpr std::size_t kPathSize = 261;
    static constexpr std::size_t kMaxPathBytes = kPathSize - 1;

    // Buffer sizes of the runtime's _splitpath, terminating NUL included.
    static constexpr std::size_t kMaxDrive = 3;
    static constexpr std::size_t kMaxDir = 256;
    static constexpr std::size_t kMaxFname = 256;
    static constexpr std::size_t kMaxExt = 256;

    // Cuts the path in place down to its root: the last component is removed
    // until what is left is a root. True when a root is left.
    //   "C:\a\b" -> "C:\"              "C:\" -> "C:\"
    //   "\\server\share\x" -> "\\server\share"
    //   "\\server" -> "\\server"       "\a\b" -> "\"
    // False, as on Windows, when no root can be reached; the path is then cut
    // as far as removal went:
    //   "a\b" -> ""     "C:" -> "C:"     "C:a\b" -> "C:"     "" / null -> false
    static bool PathStripToRootA(char* path);

    // The part of the path behind its root, pointing into path:
    //   "C:\a\b" -> "a\b"     "C:\" -> ""     "\\server\share\a" -> "a"
    // nullptr when there is no root to skip: a relative path, "C:a", "\a",
    // "\\server", and "\\server\share" without a backslash behind the share
    // (Windows gives NULL there too); also for an empty or null path.
    static const char* PathSkipRootA(const char* path);

    // Splits a path as the runtime's _splitpath does. Any output may be
    // nullptr; the others get at most kMaxDrive, kMaxDir, kMaxFname and kMaxExt
    // bytes including the NUL.
    //   drive  "X:" when the second byte is ":" (the first being a single-byte
    //          character), else empty; a UNC path has an empty drive;
    //   dir    the rest up to and including the last "\" or "/"
    //          ("\\server\share\" for a UNC path);
    //   fname  the name behind it up to its last ".";
    //   ext    from that "." to the end (empty without a "." in the name).
    // A component longer than its buffer is truncated to size - 1 bytes, less
    // one when that would split a double-byte character (the runtime's secure
    // variant fails instead, the old one cuts by bytes). A null path gives
    // empty outputs. True when every part asked for was given whole.
    static bool SplitPath(const char* path, char* drive, char* dir, char* fname, char* ext);

    // Where the last character of the text starts; 0 for an empty text.
    static std::size_t LastCharacterStart(std::string_view text);
    // The text ends in a double-byte character, whose last byte (0x5C
    // included) separates nothing.
    static bool EndsInDoubleByte(std::string_view text);
    // The text ends in a "\" of its own, not in the second byte 0x5C of a
    // double-byte character.
    static bool EndsInSeparator(std::string_view text);

    // A path cut behind its last "" (found by character): the folder with
    // that "", and the name behind it. Without a "", the folder ends
    // behind the last ":" when orColon is set ("C:a.xml"), and is empty
    // otherwise, the name being the whole path.
    struct Split {
        std::string_view folder;
        std::string_view name;
    };
    static Split SplitAtLastSeparator(std::string_view path, bool orColon = false);
};
