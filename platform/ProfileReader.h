#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads one value from a profile (.ini) file the way Windows'
// GetPrivateProfileStringA does for the program's definition file
// "KumotoriDef.ini":
//
//   [Section]          blanks around the name allowed; text behind "]" ignored
//   ; comment          ";" as the first non-blank character
//   key = value        blanks (space, tab) around key and value trimmed;
//                      a value in matching "..." or '...' loses the quotes
//
// - Section and key compare without regard to ASCII case. Double-byte code
//   page 932 characters compare byte for byte: their second byte may look like
//   an ASCII letter and must not be folded.
// - The first matching section and the first matching key in it win.
// - Lines end in LF, CR LF or CR. A line without "=" is no key; a line whose
//   first non-blank character is "[" but that has no "]" is no section header
//   (it is then an ordinary line). Lines before the first header belong to no
//   section. A UTF-8 byte order mark at the start of the file is skipped, as
//   editors add one when a user saves the file.
// - A key present with an empty value gives the empty text, not the default.
// - When the file, the section or the key is missing, the default is copied;
//   like Windows, trailing blanks of the default are dropped. A null default
//   acts as "".
// - A null section or key (Windows' enumeration of names) is not supported:
//   the result is the empty text.
//
// The result is truncated to outSize - 1 bytes and NUL-terminated; the return
// value is the number of bytes copied, without the NUL. Windows truncates by
// bytes; here a double-byte character that would be cut in half is left out
// whole, so the result may be one byte shorter than outSize - 1. A value stops
// at a NUL byte of the file, so the return value is always strlen(out).
// outSize 0 writes nothing and returns 0.
class ProfileReader {
public:
    // A definition file is a few lines; reading a file stops after this many
    // bytes so that a huge or endless file cannot exhaust memory. Sections and
    // keys behind the first MiB are not seen.
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

    // The lookup on the bytes of a file.
    static std::uint32_t GetString(std::string_view fileBytes, const char* section, const char* key,
                                   const char* defaultValue, char* out, std::uint32_t outSize);

    // The lookup on the file at a host path. A missing or unreadable file
    // gives the default.
    static std::uint32_t ReadHostFile(const char* section, const char* key, const char* defaultValue,
                                      char* out, std::uint32_t outSize, const std::string& hostPath);

    // The lookup as the program makes it: the file named by a Windows path
    // (code page 932) through the drive table. A path that maps to nothing
    // is a missing file.
    static std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                                  const char* defaultValue, char* out,
                                                  std::uint32_t outSize, const char* fileName);

private:
    // Reads at most kMaxFileBytes of the file; false when it cannot be read.
    static bool ReadFileBytes(const std::string& hostPath, std::string& bytes);
    // Copies text into out as described above; returns the bytes copied.
    static std::uint32_t CopyTruncated(std::string_view text, char* out, std::uint32_t outSize);
};
