// The item-definition reader on arbitrary bytes (a damaged or hand-edited
// file beside the program). The reader must stay inside the bytes (an
// exact-size heap copy, so the sanitizer sees any read past them), fill
// every record within its fields, and leave the list alone when it refuses
// the file.

#include "settings/ItemDefinitionFile.h"

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
    std::fprintf(stderr, "ItemDefinitionFileFuzz: %s\n", what);
    std::abort();
}

// A NUL-terminated text field with nothing behind its NUL.
void RequireClean(const char* field, std::size_t size, const char* what) {
    const std::size_t length = strnlen(field, size);
    Require(length < size, what);
    for (std::size_t i = length; i < size; ++i) Require(field[i] == '\0', what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    if (size != 0) std::memcpy(bytes.get(), data, size);
    const std::string_view file(bytes.get(), size);

    ItemList items;
    auto held = std::make_unique<ReportItem>();
    held->ItemNo = 12345;
    items.push_back(std::move(held));

    if (!ItemDefinitionFile::Read(file, items)) {
        Require(items.size() == 1 && items.front()->ItemNo == 12345, "a refused file changed the list");
        return 0;
    }
    Require(!items.empty(), "a file read without items");
    std::size_t lineEnds = 0;
    for (char c : file) lineEnds += c == '\n';
    Require(items.size() <= lineEnds, "more items than lines");
    for (const auto& item : items) {
        RequireClean(item->Caption, sizeof item->Caption, "a caption outside its field");
        RequireClean(item->TagName, sizeof item->TagName, "a tag outside its field");
        for (std::int64_t amount : item->Amounts) Require(amount == 0, "an item with an amount");
    }
    return 0;
}
