// The default-mapping reader on damaged bytes: keys fit their field, and a refused file leaves the list
// alone. Codes are looked up in a made-up chart instead of books: every even code is an account.

#include "settings/DefaultMappingFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Input input(data, size);
    MappingList defaults;
    defaults.push_back(std::make_unique<MappedAccount>());
    defaults.front()->ItemNo = 12345;
    const auto evenCodes = [](std::int32_t code, char* key) {
        return code % 2 == 0 && std::snprintf(key, MappedAccount::kKeySize, "0x%032x", unsigned(code)) > 0;
    };
    if (!DefaultMappingFile::Read(input.Text(), defaults, evenCodes)) {
        Require(defaults.size() == 1 && defaults.front()->ItemNo == 12345, "a refused file changed the list");
        return 0;
    }
    Require(defaults.size() <= std::size_t(std::count(input.bytes.begin(), input.bytes.end(), ',')), "more entries");
    for (const auto& entry : defaults) {
        Require(entry->AccountKey[0] != '\0' && IsCleanField({entry->AccountKey, sizeof entry->AccountKey}),
                "a key empty, without its NUL or with bytes behind it");
    }
    return 0;
}
