// The full-width mapper on names users type: both forms stay in their buffers; well-formed text maps to
// well-formed text without half-width characters, which maps to itself.

#include "platform/Cp932.h"
#include "platform/FullWidthMapper.h"
#include "tests/fuzz/FuzzSupport.h"

// No lone lead byte and none of the bytes with no character (0x80, 0xA0,
// 0xFD-0xFF); with noHalfWidth, no printable ASCII or half-width katakana.
static bool IsWellFormed(std::string_view text, bool noHalfWidth = false) {
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (Cp932::StartsDoubleByte(text, i)) continue;
        if (Cp932::IsLeadByte(byte) || byte == 0x80 || byte == 0xA0 || byte >= 0xFD) return false;
        if (noHalfWidth && ((byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF))) return false;
    }
    return true;
}

// Maps into a heap buffer of exactly dstSize bytes (none for 0: the size asked for).
static void CheckMapInto(const char* src, int srcLength, const std::string& expected, int dstSize) {
    std::vector<char> dst(static_cast<std::size_t>(dstSize));
    const int written = FullWidthMapper::Map(src, srcLength, dstSize > 0 ? dst.data() : nullptr, dstSize);
    const int needed = static_cast<int>(expected.size());
    Require(written == (dstSize != 0 && dstSize < needed ? 0 : needed), "Map gave another size");
    Require(dstSize < needed || std::memcmp(dst.data(), expected.data(), expected.size()) == 0, "Map wrote other text");
}

MZN_FUZZ_TARGET(input) {
    const std::size_t size = input.Size();
    const std::string mapped = FullWidthMapper::ToFullWidth(input.Text());
    const bool stable = IsWellFormed(mapped, true) && FullWidthMapper::ToFullWidth(mapped) == mapped;
    Require(mapped.size() <= 2 * size && (!IsWellFormed(input.Text()) || stable), "mapped to half-width or more");
    for (int dstSize : {static_cast<int>(mapped.size()), static_cast<int>(mapped.size()) - 1, 0})
        if (size > 0) CheckMapInto(input.bytes.data(), static_cast<int>(size), mapped, dstSize);
    // The NUL-terminated form (the input cut at its first NUL) maps up to and with the NUL.
    std::string terminated(input.Text().substr(0, input.Text().find('\0')));
    const std::string expected = FullWidthMapper::ToFullWidth({terminated.c_str(), terminated.size() + 1});
    for (int dstSize : {static_cast<int>(expected.size()), 0}) CheckMapInto(terminated.c_str(), -1, expected, dstSize);
}
