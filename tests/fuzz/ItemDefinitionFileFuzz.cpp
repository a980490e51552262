// The item-definition reader on damaged bytes: records stay in their fields, a refused file changes nothing.

#include "settings/ItemDefinitionFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Input input(data, size);
    ItemList items;
    items.push_back(std::make_unique<ReportItem>());
    items.front()->ItemNo = 12345;
    if (!ItemDefinitionFile::Read(input.Text(), items)) {
        Require(items.size() == 1 && items.front()->ItemNo == 12345, "a refused file changed the list");
        return 0;
    }
    const auto lineEnds = std::count(input.bytes.begin(), input.bytes.end(), '\n');
    Require(!items.empty() && items.size() <= std::size_t(lineEnds), "items without lines");
    for (const auto& item : items) {
        const bool clean = IsCleanField({item->Caption, sizeof item->Caption});
        Require(clean && IsCleanField({item->TagName, sizeof item->TagName}), "a caption or tag outside its field");
        for (std::int64_t amount : item->Amounts) Require(amount == 0, "an item with an amount");
    }
    return 0;
}
