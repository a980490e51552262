// The default-mapping file as the program loads it from its folder, account codes looked up in real books
// (the small company of the tests): keys fit their field, a refused file leaves the list alone, and loading
// gives what reading the same bytes gives.

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/CoreResult.h"
#include "settings/DefaultMappingFile.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/BooksTool.h"

MZN_FUZZ_TARGET(input) {
    static const bool connected = [] {
        if (!std::filesystem::exists(FuzzRoot::Host("books.sqlite3")))
            BooksTool::ImportSmallBooks(FuzzRoot::Host("io"));
        return ClAccConnect::Inst()->Initiate() == core_result::kOk;
    }();
    Require(connected, "the books of the fuzz folder cannot be opened");
    const Edition& edition = Edition::Of(EditionId::Standard);
    FuzzRoot::WriteProgramFile(DefaultMappingFile::FileName(edition, false), input.Text());
    MappingList defaults, read;
    defaults.push_back(std::make_unique<MappedAccount>());
    defaults.front()->ItemNo = 12345;
    const bool loaded = InProgramFolder([&] { return DefaultMappingFile::LoadDefaultMapping(defaults, edition, false); });
    Require(loaded == DefaultMappingFile::Read(input.Text(), read), "loading and reading the bytes disagree");
    if (!loaded) {
        Require(defaults.size() == 1 && defaults.front()->ItemNo == 12345, "a refused file changed the list");
        return;
    }
    Require(defaults.size() == read.size() &&
                defaults.size() <= std::size_t(std::count(input.bytes.begin(), input.bytes.end(), ',')),
            "more entries than tokens, or entries lost");
    for (auto entry = defaults.begin(), other = read.begin(); entry != defaults.end(); ++entry, ++other) {
        const char* key = (*entry)->AccountKey;
        Require(key[0] != '\0' && IsCleanField({key, MappedAccount::kKeySize}) && (*entry)->ItemNo == (*other)->ItemNo &&
                    std::memcmp(key, (*other)->AccountKey, MappedAccount::kKeySize) == 0,
                "a key empty, without its NUL, with bytes behind it, or loaded otherwise than read");
    }
}
