#pragma once

#include <string>
#include <string_view>

// Half-width to full-width mapping of code page 932 text, as Windows'
// LCMapStringA(LCMAP_FULLWIDTH) does it for the system: ASCII 0x21-0x7E
// become their full-width forms (U+FF01-U+FF5E, so "\" is "＼" and "~" is
// "～"), the space becomes the ideographic space, half-width katakana and
// signs become full-width ones, and a half-width katakana followed by a
// voiced or semi-voiced mark becomes one character where code page 932 has
// it (ｶﾞ to ガ, ｳﾞ to ヴ, ﾊﾟ to パ; ﾜﾞ stays ワ゛).
//
// Double-byte characters, control bytes and 0x7F pass unchanged. So do bytes
// that form no character: a lead byte without its trail byte, 0x80, 0xA0 and
// 0xFD-0xFF. Nothing is read past the input.
class FullWidthMapper {
public:
    static std::string ToFullWidth(std::string_view cp932);

    // LCMapStringA-shaped: srcLength -1 means src is NUL-terminated, and the
    // NUL is then mapped and counted too. Returns the bytes written; with
    // dstSize 0, the size needed (dst is not touched); 0 when dst is too
    // small (nothing is written) or an argument is invalid.
    static int Map(const char* src, int srcLength, char* dst, int dstSize);
};
