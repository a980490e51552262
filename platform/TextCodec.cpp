#include "platform/TextCodec.h"

#include "platform/Cp932.h"

#include <bit>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <iconv.h>
#include <string_view>
#include <vector>

// Code page 932 goes through glibc's "CP932" converter, with an internal
// form of code points in between: UTF-8 and UTF-16 are decoded and encoded
// here, so that every error carries the offset of the input unit that caused
// it whatever the direction.
//
// glibc's table agrees with Windows for every double-byte character,
// including the NEC row 13 and the IBM extension rows (and, towards code
// page 932, the preference of IBM codes 0xFA-0xFC over the NEC-selected
// 0xED/0xEE copies). It differs from Windows in two places, mended here:
//   - Windows takes the single bytes 0x80, 0xA0 and 0xFD-0xFF as U+0080 and
//     U+F8F0-U+F8F3 and back; glibc rejects them.
//   - glibc turns U+00A5 (yen sign) into 0x5C and U+203E (overline) into
//     0x7E, one way. A yen sign in a host file name would then become a path
//     separator in the Windows path, so both count as having no counterpart.
// glibc's other one-way look-alikes (U+301C to 0x8160, U+2212 to 0x817C,
// U+2016, U+2014, U+00A2, U+00A3, U+00AC) land on the double-byte character
// a Japanese user means, and are kept: Linux input methods type them.
//
// In Fail mode the text holds what was converted before the error. In
// Replace mode ok stays true. Should glibc lack the converter, every call
// fails at offset 0 in either mode.

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The five single bytes Windows maps that glibc does not.
struct SingleByteExtra {
    unsigned char byte;
    char32_t codePoint;
};
constexpr SingleByteExtra kSingleByteExtras[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

bool ExtraForByte(unsigned char byte, char32_t& codePoint) {
    for (const auto& extra : kSingleByteExtras) {
        if (extra.byte == byte) {
            codePoint = extra.codePoint;
            return true;
        }
    }
    return false;
}

bool ExtraForCodePoint(char32_t codePoint, char& byte) {
    for (const auto& extra : kSingleByteExtras) {
        if (extra.codePoint == codePoint) {
            byte = static_cast<char>(extra.byte);
            return true;
        }
    }
    return false;
}

bool RefusedTowardsCp932(char32_t codePoint) {
    return codePoint == 0x00A5 || codePoint == 0x203E;
}

const char* Utf32Name() {
    return std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
}

// One converter per thread and direction, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (IsOpen()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inSize) as it can into out; returns the
    // errno of the stop (0 when all input was taken) and advances in.
    int Run(const char*& in, std::size_t& inSize, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (inSize > 0) {
            char buffer[256];
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            char* inPtr = const_cast<char*>(in);
            std::size_t result = iconv(cd_, &inPtr, &inSize, &outPtr, &outLeft);
            int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            in = inPtr;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (error != 0 && error != E2BIG) return error;
        }
        return 0;
    }

private:
    iconv_t cd_;
};

Converter& FromCp932() {
    thread_local Converter converter(Utf32Name(), "CP932");
    return converter;
}

Converter& ToCp932() {
    thread_local Converter converter("CP932", Utf32Name());
    return converter;
}

// Code points with the offset of the input unit each came from.
struct Decoded {
    std::vector<char32_t> codePoints;
    std::vector<std::size_t> offsets;
    bool ok = true;
    std::size_t errorOffset = 0;

    void Add(char32_t codePoint, std::size_t offset) {
        codePoints.push_back(codePoint);
        offsets.push_back(offset);
    }
    // An input unit that does not decode: stop, or stand in for it.
    bool Reject(std::size_t offset, TextCodec::Invalid invalid) {
        if (invalid == TextCodec::Invalid::Fail) {
            ok = false;
            errorOffset = offset;
            return false;
        }
        Add(kReplacement, offset);
        return true;
    }
};

// ---- code page 932 -> code points --------------------------------------

Decoded DecodeCp932(std::string_view text, TextCodec::Invalid invalid) {
    Decoded decoded;
    Converter& converter = FromCp932();
    if (!converter.IsOpen()) {
        decoded.ok = false;
        return decoded;
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char* in = text.data() + pos;
        std::size_t inSize = text.size() - pos;
        std::string utf32;
        int error = converter.Run(in, inSize, utf32);
        std::size_t stop = static_cast<std::size_t>(in - text.data());
        // Code page 932 has no shift states: each output unit is one whole
        // character, so offsets follow from walking the input by character.
        for (std::size_t at = 0; at + sizeof(char32_t) <= utf32.size(); at += sizeof(char32_t)) {
            char32_t codePoint;
            std::memcpy(&codePoint, utf32.data() + at, sizeof codePoint);
            decoded.Add(codePoint, pos);
            pos += Cp932::CharLengthAt(text, pos);
        }
        pos = stop;
        if (error == 0 || pos >= text.size()) break;
        char32_t extra;
        if (ExtraForByte(static_cast<unsigned char>(text[pos]), extra)) {
            decoded.Add(extra, pos);
            pos += 1;
            continue;
        }
        if (!decoded.Reject(pos, invalid)) break;
        // An unassigned lead/trail pair is one character; a lead byte
        // without its trail byte is a character of its own.
        pos += Cp932::CharLengthAt(text, pos);
    }
    return decoded;
}

// ---- UTF-8 and UTF-16 -> code points -----------------------------------

// Length of the well-formed UTF-8 sequence at text[pos] (0 when there is
// none) and its code point. A rejected sequence is skipped by its maximal
// valid prefix, at least one byte, so that Replace puts one U+FFFD where a
// reader sees one broken character.
std::size_t DecodeUtf8Sequence(std::string_view text, std::size_t pos, char32_t& codePoint,
                               std::size_t& skip) {
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char first = byteAt(pos);
    skip = 1;
    if (first < 0x80) {
        codePoint = first;
        return 1;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        codePoint = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        codePoint = first & 0x0F;
        if (first == 0xE0) low = 0xA0;   // no overlong forms
        if (first == 0xED) high = 0x9F;  // no surrogates
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        codePoint = first & 0x07;
        if (first == 0xF0) low = 0x90;
        if (first == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (pos + i >= text.size()) return 0;
        unsigned char next = byteAt(pos + i);
        unsigned char min = i == 1 ? low : 0x80;
        unsigned char max = i == 1 ? high : 0xBF;
        if (next < min || next > max) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
        skip = i + 1;
    }
    return length;
}

Decoded DecodeUtf8(std::string_view text, TextCodec::Invalid invalid) {
    Decoded decoded;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        std::size_t skip = 1;
        std::size_t length = DecodeUtf8Sequence(text, pos, codePoint, skip);
        if (length == 0) {
            if (!decoded.Reject(pos, invalid)) break;
            pos += skip;
            continue;
        }
        decoded.Add(codePoint, pos);
        pos += length;
    }
    return decoded;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

Decoded DecodeUtf16(std::u16string_view text, TextCodec::Invalid invalid) {
    Decoded decoded;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char16_t unit = text[pos];
        if (IsHighSurrogate(unit) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])) {
            char32_t codePoint = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                 (static_cast<char32_t>(text[pos + 1]) - 0xDC00);
            decoded.Add(codePoint, pos);
            pos += 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            if (!decoded.Reject(pos, invalid)) break;
            pos += 1;
        } else {
            decoded.Add(unit, pos);
            pos += 1;
        }
    }
    return decoded;
}

// ---- code points -> code page 932 --------------------------------------

// Encodes the code points of a decoded text. Input errors recorded while
// decoding (Fail mode) end the text where they occurred.
TextCodec::Result<std::string> EncodeCp932(const Decoded& decoded, TextCodec::Invalid invalid) {
    TextCodec::Result<std::string> result;
    const auto& codePoints = decoded.codePoints;
    Converter& converter = ToCp932();
    if (!converter.IsOpen()) {
        result.ok = false;
        return result;
    }
    std::size_t index = 0;
    while (index < codePoints.size()) {
        std::size_t runEnd = index;
        while (runEnd < codePoints.size() && !RefusedTowardsCp932(codePoints[runEnd])) ++runEnd;
        const char* in = reinterpret_cast<const char*>(codePoints.data() + index);
        std::size_t inSize = (runEnd - index) * sizeof(char32_t);
        converter.Run(in, inSize, result.text);
        index = static_cast<std::size_t>(reinterpret_cast<const char32_t*>(in) - codePoints.data());
        if (index == codePoints.size()) break;
        // codePoints[index] ended the run: glibc has no code for it, or it is
        // one of the refused look-alikes.
        char byte;
        if (ExtraForCodePoint(codePoints[index], byte)) {
            result.text.push_back(byte);
        } else if (invalid == TextCodec::Invalid::Fail) {
            result.ok = false;
            result.errorOffset = decoded.offsets[index];
            return result;
        } else {
            result.text.push_back('?');
        }
        ++index;
    }
    if (!decoded.ok) {
        result.ok = false;
        result.errorOffset = decoded.errorOffset;
    }
    return result;
}

// ---- code points -> UTF-8 and UTF-16 -----------------------------------

void AppendUtf8(std::string& out, char32_t codePoint) {
    auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

template <typename Text, typename Append>
TextCodec::Result<Text> FromDecoded(const Decoded& decoded, Append append) {
    TextCodec::Result<Text> result;
    for (char32_t codePoint : decoded.codePoints) append(result.text, codePoint);
    result.ok = decoded.ok;
    result.errorOffset = decoded.errorOffset;
    return result;
}

}  // namespace

std::size_t TextCodec::FirstInvalidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t codePoint = 0;
        std::size_t skip = 1;
        const std::size_t length = DecodeUtf8Sequence(text, pos, codePoint, skip);
        if (length == 0) return pos;
        pos += length;
    }
    return std::string_view::npos;
}

TextCodec::Result<std::string> TextCodec::Cp932ToUtf8(std::string_view cp932, Invalid invalid) {
    return FromDecoded<std::string>(DecodeCp932(cp932, invalid), AppendUtf8);
}

TextCodec::Result<std::string> TextCodec::Utf8ToCp932(std::string_view utf8, Invalid invalid) {
    return EncodeCp932(DecodeUtf8(utf8, invalid), invalid);
}

TextCodec::Result<std::u16string> TextCodec::Cp932ToUtf16(std::string_view cp932, Invalid invalid) {
    return FromDecoded<std::u16string>(DecodeCp932(cp932, invalid), AppendUtf16);
}

TextCodec::Result<std::string> TextCodec::Utf16ToCp932(std::u16string_view utf16, Invalid invalid) {
    return EncodeCp932(DecodeUtf16(utf16, invalid), invalid);
}

namespace {

// The locale's codeset when it is not UTF-8; empty otherwise.
std::string OtherLocaleCodeset() {
    const std::string& codeset = TextCodec::LocaleCodeset();
    return codeset == "UTF-8" ? std::string() : codeset;
}

// Converts whole text between the locale's codeset and UTF-8; nullopt when
// the text does not convert.
std::optional<std::string> Recode(const char* to, const char* from, std::string_view text) {
    Converter converter(to, from);
    if (!converter.IsOpen()) return std::nullopt;
    const char* in = text.data();
    std::size_t inSize = text.size();
    std::string out;
    if (converter.Run(in, inSize, out) != 0) return std::nullopt;
    return out;
}

}  // namespace

std::string TextCodec::CodesetOfLocale(std::string_view localeName) {
    const bool japanese = localeName.substr(0, 2) == "ja";
    const std::size_t dot = localeName.find('.');
    if (dot == std::string_view::npos) return japanese ? "EUC-JP" : "UTF-8";
    std::string_view codeset = localeName.substr(dot + 1);
    codeset = codeset.substr(0, codeset.find('@'));
    std::string plain;
    for (char c : codeset)
        if (c != '-' && c != '_') plain += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (plain == "utf8") return "UTF-8";
    if (plain == "sjis" || plain == "shiftjis" || plain == "cp932" || plain == "pck" || plain == "windows31j")
        return "CP932";
    if (plain == "eucjp" || plain == "ujis") return "EUC-JP";
    return std::string(codeset);
}

std::string TextCodec::CodesetOfEnvironment(const char* lcAll, const char* lcCtype, const char* lang) {
    for (const char* value : {lcAll, lcCtype, lang})
        if (value != nullptr && *value != '\0') return CodesetOfLocale(value);
    return "UTF-8";
}

const std::string& TextCodec::LocaleCodeset() {
    static const std::string codeset =
        CodesetOfEnvironment(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
    return codeset;
}

TextCodec::Result<std::string> TextCodec::LocaleToCp932(std::string_view text, Invalid invalid) {
    const std::string codeset = OtherLocaleCodeset();
    // The system's own codeset needs no round trip, which could change a character.
    if (codeset == "CP932")
        return Cp932ToUtf8(text, Invalid::Fail).ok ? Result<std::string>{std::string(text), true, 0}
                                                   : Result<std::string>{std::string(), false, 0};
    std::optional<std::string> utf8;
    if (codeset.empty()) {
        if (DecodeUtf8(text, Invalid::Fail).ok) utf8 = std::string(text);
    } else {
        utf8 = Recode("UTF-8", codeset.c_str(), text);
    }
    // Bytes that are no text of the locale are refused whatever invalid
    // says: it governs only the characters code page 932 lacks.
    if (!utf8) return Result<std::string>{std::string(), false, 0};
    return Utf8ToCp932(*utf8, invalid);
}

std::string TextCodec::Cp932ToLocale(std::string_view cp932) {
    const std::string codeset = OtherLocaleCodeset();
    if (codeset == "CP932") return std::string(cp932);
    std::string utf8 = Cp932ToUtf8(cp932, Invalid::Replace).text;
    if (codeset.empty()) return utf8;
    std::optional<std::string> local = Recode((codeset + "//TRANSLIT").c_str(), "UTF-8", utf8);
    return local ? *local : utf8;
}
