#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "editions/Edition.h"
#include "report/ReportItem.h"

// The item-definition file of an edition and target version, such as
// "MznBrc20ToUg30_G_GaiKmk.dat": the items of the statement, one line each
// in the body of the section "[共通様式]" (see MappingFileSection):
//
//   <ItemNo>/<BalanceSide>/<ClassCodes>/<Caption>/<TagName>;<ignored>
//
// ItemNo and BalanceSide are decimal, read as atoi reads them; ClassCodes
// are hexadecimal without prefix joined by "+", read as strtoul reads them;
// the caption is at most 30 bytes ("-" marks an item the version does not
// use), the tag at most 50 bytes (one holding "-" is not written to the
// report). The program never writes these files.
class ItemDefinitionFile {
public:
    static constexpr std::size_t kMaxCaptionBytes = sizeof(ReportItem::Caption) - 1;
    static constexpr std::size_t kMaxTagBytes = sizeof(ReportItem::TagName) - 1;

    // "<prefix>ToUg16_G_GaiKmk.dat", or "...Ug30..." for UG30.
    static std::string FileName(const Edition& edition, bool ug30);

    // Reads the file of the program's edition and the target version from
    // the current folder (see the overload).
    static bool LoadItemDefinitions(ItemList& items, bool ug30) {
        return LoadItemDefinitions(items, Edition::Current(), ug30);
    }
    // Reads the edition's file of the target version from the current
    // folder into items. False, with items as they were, when the file is
    // missing or unreadable or Read refuses its bytes.
    static bool LoadItemDefinitions(ItemList& items, const Edition& edition, bool ug30);

    // Replaces items by the items of a whole file's bytes, in file order.
    //
    // The list is all or nothing: a statement with an item silently left out
    // or cut short would go to the tax office as if complete, so any line
    // that does not fit its record refuses the whole file and items keep
    // what they held. Refused are a line of more than 255 bytes before its
    // LF; fewer than four "/"; no ";" behind the fourth "/"; an item number
    // or balance side outside 16 bits; more than ten class codes; a caption
    // over 30 or a tag over 50 bytes; a caption or tag holding a NUL byte.
    // The file is refused too without the section or its "[終了]", with a
    // section over 32767 bytes and with a body that holds no item. Lines
    // that are empty but for a CR carry nothing and are passed over.
    //
    // Memory running out while the list is built also gives false; the
    // items read by then are in items, the earlier ones gone.
    static bool Read(std::string_view file, ItemList& items);
};
