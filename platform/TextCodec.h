#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversion between code page 932 and Unicode, used only where the system
// meets the outside: Qt widgets, SQLite text and host file names.
class TextCodec {
public:
    // What to do with bytes or characters that have no counterpart.
    enum class Invalid {
        Fail,     // stop: ok is false and errorOffset names the input byte
        Replace,  // U+FFFD towards Unicode, "?" towards code page 932
    };

    template <typename Text>
    struct Result {
        Text text;
        bool ok = true;
        std::size_t errorOffset = 0;  // input byte (or UTF-16 unit) where conversion failed
    };

    // The offset of the first byte that starts no well-formed UTF-8
    // character (overlong forms and surrogates included); npos for UTF-8.
    static std::size_t FirstInvalidUtf8(std::string_view text);
    static Result<std::string> Cp932ToUtf8(std::string_view cp932, Invalid invalid = Invalid::Fail);
    static Result<std::string> Utf8ToCp932(std::string_view utf8, Invalid invalid = Invalid::Fail);
    static Result<std::u16string> Cp932ToUtf16(std::string_view cp932, Invalid invalid = Invalid::Fail);
    static Result<std::string> Utf16ToCp932(std::u16string_view utf16, Invalid invalid = Invalid::Fail);

    // The codeset of a person's terminal, as an iconv name ("UTF-8",
    // "CP932", "EUC-JP", ...), read from the locale's name so that it holds
    // whether that locale is generated on this machine or not: UTF-8 under
    // the C and POSIX locales (whose ASCII a person could not type Japanese
    // in) and for a name without a codeset, except that a Japanese one
    // without a codeset is EUC-JP, as the C library's aliases have it.
    static std::string CodesetOfLocale(std::string_view localeName);
    // The same for the first of LC_ALL, LC_CTYPE and LANG that is set (null
    // when unset).
    static std::string CodesetOfEnvironment(const char* lcAll, const char* lcCtype, const char* lang);
    // The codeset of this process's environment: every text for the
    // terminal (messages, the preview, the checks) is in it.
    static const std::string& LocaleCodeset();

    // Text a person typed, in the locale's codeset. Not ok when the bytes are no text of that
    // encoding; invalid says what becomes of characters code page 932 lacks.
    static Result<std::string> LocaleToCp932(std::string_view text, Invalid invalid = Invalid::Fail);
    // Text for a person's terminal: code page 932 in the locale's codeset.
    // Characters the
    // locale's codeset lacks are transliterated or become "?", bytes that
    // are no code page 932 become U+FFFD first.
    static std::string Cp932ToLocale(std::string_view cp932);
};
