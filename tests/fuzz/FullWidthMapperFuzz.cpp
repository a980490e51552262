// The full-width mapper takes names users type; neither form may read past
// the input or write past the buffer it is given.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Cp932.h"
#include "platform/FullWidthMapper.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Well-formed: every character is a lead/trail pair or a byte that is
// neither a lone lead byte nor one of the five bytes with no character.
bool IsWellFormed(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (Cp932::StartsDoubleByte(text, i)) continue;
        if (Cp932::IsLeadByte(byte) || byte == 0x80 || byte == 0xA0 || byte >= 0xFD) return false;
    }
    return true;
}

// No half-width printable character is left as a character of its own.
bool HasNoHalfWidth(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += Cp932::CharLengthAt(text, i)) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (Cp932::StartsDoubleByte(text, i)) continue;
        if ((byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF)) return false;
    }
    return true;
}

// Map into a heap buffer of exactly dstSize bytes, so that the address
// sanitizer sees any write past it.
void CheckMapInto(std::string_view input, const std::string& expected, int dstSize) {
    std::unique_ptr<char[]> dst(new char[dstSize > 0 ? dstSize : 1]);
    int written = FullWidthMapper::Map(input.data(), static_cast<int>(input.size()), dstSize > 0 ? dst.get() : nullptr,
                                       dstSize);
    if (dstSize == 0) {
        Check(written == static_cast<int>(expected.size()));
    } else if (dstSize < static_cast<int>(expected.size())) {
        Check(written == 0);
    } else {
        Check(written == static_cast<int>(expected.size()));
        Check(std::memcmp(dst.get(), expected.data(), expected.size()) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that reading one byte past it is caught.
    std::unique_ptr<char[]> copy(new char[size > 0 ? size : 1]);
    if (size > 0) std::memcpy(copy.get(), data, size);
    std::string_view input(copy.get(), size);

    std::string mapped = FullWidthMapper::ToFullWidth(input);
    Check(mapped.size() <= 2 * size);
    if (IsWellFormed(input)) Check(IsWellFormed(mapped) && HasNoHalfWidth(mapped));
    Check(FullWidthMapper::ToFullWidth(mapped) == mapped || !IsWellFormed(input));

    if (size == 0) return 0;
    int needed = static_cast<int>(mapped.size());
    CheckMapInto(input, mapped, needed);
    CheckMapInto(input, mapped, needed - 1);
    CheckMapInto(input, mapped, 0);

    // The NUL-terminated form maps up to the first NUL and the NUL itself.
    std::unique_ptr<char[]> terminated(new char[size + 1]);
    std::memcpy(terminated.get(), data, size);
    terminated[size] = '\0';
    std::string_view upToNul(terminated.get(), std::strlen(terminated.get()) + 1);
    std::string expected = FullWidthMapper::ToFullWidth(upToNul);
    Check(FullWidthMapper::Map(terminated.get(), -1, nullptr, 0) == static_cast<int>(expected.size()));
    std::unique_ptr<char[]> dst(new char[expected.size()]);
    Check(FullWidthMapper::Map(terminated.get(), -1, dst.get(), static_cast<int>(expected.size())) ==
          static_cast<int>(expected.size()));
    Check(dst[expected.size() - 1] == '\0');
    return 0;
}
