// Profile reader on arbitrary file bytes and lookup parameters. Input layout:
//   byte 0            buffer size (byte % 41, so 0 to 40) and choice of default
//   section NUL key NUL   when both NULs come within the first 64 bytes;
//                     otherwise "ProgramLevel" and "UG16_G"
//   the rest          the file's bytes
// The result must fit the buffer, be NUL-terminated, leave every byte behind
// it untouched, and be a prefix of the value read into a buffer large enough.

#include "platform/Cp932.h"
#include "platform/ProfileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char kGuard = static_cast<char>(0xA5);
constexpr std::size_t kMaxOutSize = 40;
constexpr std::size_t kNamesWithin = 64;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "ProfileReaderFuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto outSize = static_cast<std::uint32_t>(data[0] % (kMaxOutSize + 1));
    static const char* const kDefaults[] = {"1", nullptr, "", " default \t", "表ソ値"};
    const char* defaultValue = kDefaults[data[0] / (kMaxOutSize + 1) % 5];

    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string section = "ProgramLevel";
    std::string key = "UG16_G";
    std::size_t first = rest.find('\0');
    std::size_t second = first == std::string_view::npos ? first : rest.find('\0', first + 1);
    if (second != std::string_view::npos && second < kNamesWithin) {
        section = rest.substr(0, first);
        key = rest.substr(first + 1, second - first - 1);
        rest.remove_prefix(second + 1);
    }
    // The file in an allocation of exactly its size: a read past it is caught.
    std::vector<char> file(rest.begin(), rest.end());
    std::string_view fileBytes(file.data(), file.size());

    std::vector<char> out(kMaxOutSize + 16, kGuard);
    std::uint32_t copied =
        ProfileReader::GetString(fileBytes, section.c_str(), key.c_str(), defaultValue, out.data(), outSize);
    if (outSize == 0) {
        Require(copied == 0, "a zero-sized buffer got text");
    } else {
        Require(copied < outSize, "result does not fit the buffer");
        Require(out[copied] == '\0', "result is not NUL-terminated");
        Require(std::strlen(out.data()) == copied, "return value is not the text's length");
    }
    std::size_t written = outSize == 0 ? 0 : copied + 1;
    for (std::size_t i = written; i < out.size(); ++i) Require(out[i] == kGuard, "byte behind the result written");

    // The whole value: no value is longer than the file or the default.
    std::vector<char> whole(file.size() + 64, kGuard);
    std::uint32_t wholeLength = ProfileReader::GetString(fileBytes, section.c_str(), key.c_str(), defaultValue,
                                                         whole.data(), static_cast<std::uint32_t>(whole.size()));
    Require(wholeLength < whole.size(), "whole value does not fit");
    if (outSize == 0) return 0;
    Require(std::memcmp(out.data(), whole.data(), copied) == 0, "truncated result is no prefix of the value");
    if (wholeLength < outSize) {
        Require(copied == wholeLength, "a fitting value was cut");
    } else {
        // Cut at outSize - 1 bytes, or one less where a double-byte character
        // would have been split.
        std::string_view value(whole.data(), wholeLength);
        bool keptWhole = copied + 1 == outSize;
        bool characterLeftOut = copied + 2 == outSize && Cp932::StartsDoubleByte(value, copied);
        Require(keptWhole || characterLeftOut, "value cut shorter than needed");
    }
    return 0;
}
