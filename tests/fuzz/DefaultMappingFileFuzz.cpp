// The default-mapping reader on arbitrary bytes (a damaged or hand-edited
// file beside the program). The reader must stay inside the bytes (an
// exact-size heap copy, so the sanitizer sees any read past them), give
// only keys that fit their field, and leave the list alone when it refuses
// the file. Codes are looked up in a made-up chart instead of books: every
// even code is an account.

#include "settings/DefaultMappingFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "DefaultMappingFileFuzz: %s\n", what);
    std::abort();
}

bool EvenCodes(std::int32_t code, char* key) {
    if (code % 2 != 0) return false;
    std::snprintf(key, MappedAccount::kKeySize, "0x%032x", static_cast<unsigned>(code));
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    if (size != 0) std::memcpy(bytes.get(), data, size);
    const std::string_view file(bytes.get(), size);

    MappingList defaults;
    auto held = std::make_unique<MappedAccount>();
    held->ItemNo = 12345;
    std::strcpy(held->AccountKey, "HELD");
    defaults.push_back(std::move(held));

    if (!DefaultMappingFile::Read(file, defaults, EvenCodes)) {
        Require(defaults.size() == 1 && defaults.front()->ItemNo == 12345, "a refused file changed the list");
        return 0;
    }
    std::size_t commas = 0;
    for (char c : file) commas += c == ',';
    Require(defaults.size() <= commas, "more entries than tokens");
    for (const auto& entry : defaults) {
        const std::size_t length = strnlen(entry->AccountKey, sizeof entry->AccountKey);
        Require(length > 0 && length < sizeof entry->AccountKey, "a key empty or without its NUL");
        for (std::size_t i = length; i < sizeof entry->AccountKey; ++i)
            Require(entry->AccountKey[i] == '\0', "bytes behind a key's NUL");
    }
    return 0;
}
