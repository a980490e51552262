// The profile reader on any file and lookup: byte 0 picks the buffer size (0-40) and the default, then
// "section NUL key NUL" when both NULs lie within 64 bytes (else ProgramLevel and UG16_G), then the file.
// The result fits its buffer and is the whole value, cut only where needed and never inside a character.

#include "platform/Cp932.h"
#include "platform/ProfileReader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const kDefaults[] = {"1", nullptr, "", " default \t", "表ソ値"};
    const auto outSize = static_cast<std::uint32_t>(data[0] % 41);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string section = "ProgramLevel", key = "UG16_G";
    const std::size_t first = rest.find('\0'), second = rest.find('\0', first + 1);
    if (first != std::string_view::npos && second != std::string_view::npos && second < 64) {
        section = rest.substr(0, first), key = rest.substr(first + 1, second - first - 1);
        rest.remove_prefix(second + 1);
    }
    const Input file(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());
    const auto read = [&](Guarded& out) {
        return ProfileReader::GetString(file.Text(), section.c_str(), key.c_str(), kDefaults[data[0] / 41 % 5],
                                        out.Data(), static_cast<std::uint32_t>(out.size));
    };
    Guarded out(outSize), whole(rest.size() + 64);
    const std::uint32_t copied = read(out), length = read(whole);
    Require(length < whole.size && std::strlen(whole.Data()) == length, "the whole value does not fit");
    Require(outSize > 0 ? copied < outSize && std::strlen(out.Data()) == copied : copied == 0, "not the length");
    Require(out.Intact(outSize == 0 ? 0 : copied + 1), "bytes behind the result written");
    Require(std::memcmp(out.Data(), whole.Data(), copied) == 0, "the result is no prefix of the value");
    // Cut at outSize - 1 bytes, or one less where a double-byte character would be split.
    const bool cutAtEnd = copied + 1 == outSize;
    const bool leftOut = copied + 2 == outSize && Cp932::StartsDoubleByte({whole.Data(), length}, copied);
    Require(outSize == 0 || (length < outSize ? copied == length : cutAtEnd || leftOut), "value cut where not needed");
    return 0;
}
