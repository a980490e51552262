// The item-definition file as the program loads it from its folder: records stay in their fields, a refused
// file changes nothing, and loading gives what reading the same bytes gives.

#include "settings/ItemDefinitionFile.h"
#include "tests/fuzz/FuzzSupport.h"

MZN_FUZZ_TARGET(input) {
    const Edition& edition = Edition::Of(EditionId::Standard);
    FuzzRoot::WriteProgramFile(ItemDefinitionFile::FileName(edition, true), input.Text());
    ItemList items, read;
    items.push_back(std::make_unique<ReportItem>());
    items.front()->ItemNo = 12345;
    const bool loaded = InProgramFolder([&] { return ItemDefinitionFile::LoadItemDefinitions(items, edition, true); });
    Require(loaded == ItemDefinitionFile::Read(input.Text(), read), "loading and reading the bytes disagree");
    if (!loaded) {
        Require(items.size() == 1 && items.front()->ItemNo == 12345, "a refused file changed the list");
        return;
    }
    const auto lineEnds = std::count(input.bytes.begin(), input.bytes.end(), '\n');
    Require(!items.empty() && items.size() <= std::size_t(lineEnds) && items.size() == read.size(), "items lost");
    for (auto entry = items.begin(), other = read.begin(); entry != items.end(); ++entry, ++other) {
        const ReportItem& item = **entry;
        Require(IsCleanField({item.Caption, sizeof item.Caption}) && IsCleanField({item.TagName, sizeof item.TagName}),
                "a caption or tag outside its field");
        Require(std::memcmp(&item, other->get(), sizeof item) == 0, "an item loaded otherwise than read");
        for (std::int64_t amount : item.Amounts) Require(amount == 0, "an item with an amount");
    }
}
