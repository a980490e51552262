// The condition file reader on arbitrary bytes (a hand-edited or damaged
// file). The reader must stay inside the bytes (an exact-size heap copy, so
// the sanitizer sees any read past them), must leave every path and key
// NUL-terminated inside its field and the fields beside SavedOutputPath
// untouched. What it accepts must come back unchanged when written and read
// again.

#include "settings/ConditionText.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "ConditionFileFuzz: %s\n", what);
    std::abort();
}

constexpr std::int32_t kGuard = 0x5A5A5A5A;
constexpr char kUser[] = "guard-user";

ConditionValues GuardedValues() {
    ConditionValues values;
    std::strcpy(values.UserId, kUser);
    values.SelectedNo1 = kGuard;
    values.SelectedNo2 = kGuard;
    values.TargetVersion = kGuard;
    values.OutputPathLocked = kGuard;
    // Reading clears the whole buffer first; a missed byte would show here.
    std::memset(values.SavedOutputPath, 'x', sizeof values.SavedOutputPath);
    return values;
}

void CheckFields(const ConditionValues& values, const MappingList& mapping) {
    Require(strnlen(values.SavedOutputPath, sizeof values.SavedOutputPath) < sizeof values.SavedOutputPath,
            "SavedOutputPath without its NUL");
    Require(std::strcmp(values.UserId, kUser) == 0 && values.SelectedNo1 == kGuard && values.SelectedNo2 == kGuard &&
                values.TargetVersion == kGuard && values.OutputPathLocked == kGuard,
            "a field beside the remembered path was written");
    Require(values.OutputPath == values.SavedOutputPath, "OutputPath is not the remembered path");
    for (const auto& entry : mapping) {
        const std::size_t length = strnlen(entry->AccountKey, sizeof entry->AccountKey);
        Require(length < sizeof entry->AccountKey, "a key without its NUL");
        for (std::size_t i = length; i < sizeof entry->AccountKey; ++i)
            Require(entry->AccountKey[i] == '\0', "bytes behind a key's NUL");
    }
}

void CheckWrittenBack(const ConditionValues& values, const MappingList& mapping) {
    ConditionValues back = GuardedValues();
    MappingList backMapping;
    Require(ConditionText::Parse(ConditionText::Format(values, mapping), back, backMapping),
            "a written file does not read back");
    Require(back.EndMonth == values.EndMonth && back.TaxIncluded == values.TaxIncluded && back.Reserved == 0,
            "numbers changed on the way back");
    Require(std::strcmp(back.SavedOutputPath, values.SavedOutputPath) == 0, "the path changed on the way back");
    Require(backMapping.size() == mapping.size(), "entries lost on the way back");
    auto other = backMapping.begin();
    for (const auto& entry : mapping) {
        Require((*other)->ItemNo == entry->ItemNo, "an item number changed on the way back");
        Require(std::memcmp((*other)->AccountKey, entry->AccountKey, sizeof entry->AccountKey) == 0,
                "a key changed on the way back");
        ++other;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    if (size != 0) std::memcpy(bytes.get(), data, size);

    ConditionValues values = GuardedValues();
    MappingList mapping;
    mapping.push_back(std::make_unique<MappedAccount>());
    const bool read = ConditionText::Parse(std::string_view(bytes.get(), size), values, mapping);
    CheckFields(values, mapping);
    if (read) {
        Require(values.Reserved == 0, "the third field was not read as 0");
        CheckWrittenBack(values, mapping);
    }
    return 0;
}
