#pragma once

#include <cstddef>
#include <string>

// Checks and folder creation for the Windows paths the user gives for the
// report file, and for the folder of the condition files. Paths are
// NUL-terminated code page 932 text held in buffers of WinPathText::kPathSize bytes (at
// most 260 bytes of text). In code page 932 the second byte of a double-byte
// character may be 0x5C ("\") or 0x7C ("|"), so separators and forbidden
// characters are always found by character, scanning from the start of the
// text, never by a plain byte search.
//
// Every helper answers with its result alone; the messages belong to the
// callers, which run the checks in their own order.
class OutputPathChecks {
public:
    // The access modes of _access.
    static constexpr int kRead = 4;
    static constexpr int kWrite = 2;
    static constexpr int kReadWrite = 6;

    // True when the byte at index is the first or the second byte of a
    // double-byte character. False past the end and for an empty or null text.
    static bool IsDoubleByteAt(const char* text, std::size_t index);

    // Appends a backslash unless the path already ends in one of its own (a
    // final second byte 0x5C is no separator). size is the size of the buffer.
    // False for a null or empty path, and when an append is needed but the
    // path is size - 1 bytes or longer (nothing is appended then).
    static bool EnsureTrailingSeparator(char* path, std::size_t size);

    // Replaces the path (a buffer of WinPathText::kPathSize) by its drive and directory as
    // _splitpath gives them, dropping the file name: "C:\a\b.xml" becomes
    // "C:\a\". A backslash is appended when that text ends in a double-byte
    // character, or when it is shorter than the path and does not end in a
    // backslash. False, the path unchanged, when there is no drive or
    // directory ("out.xml"), and when the directory is longer than
    // _splitpath keeps (255 bytes): cut, it would name another folder.
    static bool FolderPartOf(char* path);

    // True when the folder part of the path (FolderPartOf of a copy) is an
    // existing folder. False for an empty path, a path of WinPathText::kPathSize bytes or
    // more, and a path without a folder part.
    static bool IsExistingFolder(const char* path);

    // The text up to and including the last backslash; empty when there is
    // none.
    static std::string FolderOfPath(const char* path);
    // The text behind the last backslash; the whole path when there is none.
    static std::string FileNameOfPath(const char* path);

    // False when the path holds two backslashes in a row (a UNC path may only
    // begin with them), or one of / : , ; * ? " > < | behind its drive (behind
    // the first ":"; for a UNC path anywhere behind the leading two bytes),
    // and when it holds a control byte (0x01-0x1F) anywhere.
    static bool HasValidPathCharacters(const char* path);
    // True when the folder part of the path can be taken whole
    // (FolderPartOf); a path without one has nothing to cut.
    static bool HasWholeFolderPart(const char* path);

    // A path on a drive: no two backslashes in a row, and IsDriveUsable for
    // its first character with read and write access. A UNC path: its share
    // root ("\\server\share") can be read and written; a path with no
    // backslash behind the share name is unreachable.
    static bool IsPathReachable(const char* path);

    // Whether a drive letter (either case) can take the report file:
    // removable, fixed and remote drives when their root allows the access
    // mode; never an unknown, CD-ROM or RAM disk drive, nor a character that
    // is no letter. A letter with no drive behind it passes here; the folder
    // checks that follow catch it.
    static bool IsDriveUsable(char letter, int accessMode);

    // Creates every missing folder of the chain that the folder part of the
    // path names, from the root down. True when the whole chain exists
    // afterwards. When a creation fails, the folders this call created are
    // removed again (RemoveCreatedFolders down to the deepest folder that
    // existed) and the result is false.
    static bool CreateFolderTree(const char* folder);

    // Removes, from the deepest up, the existing folders of the chain that the
    // folder part of path names, stopping at keptFolder (which stays, with
    // everything above it). keptFolder nullptr: only the deepest existing
    // folder is removed. False, nothing removed, when keptFolder is on
    // another root or does not lead to path; false when a folder cannot be
    // removed (something was put into it meanwhile).
    static bool RemoveCreatedFolders(const char* path, const char* keptFolder);
};
