#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editions/Edition.h"
#include "report/MappedAccount.h"

// The default-mapping file of an edition and target version, such as
// "MznBrc20ToUg30_G_DefKmk.dat": which accounts or statement totals feed
// each item when the user has no remembered mapping. One line per item in
// the body of the section "[共通様式]" (see MappingFileSection):
//
//   <ItemNo>/<token>,<token>,...,
//
// A token that reads as a non-zero decimal number (atoi-style) is an
// account code as users see it (below 10000) or as stored; any other token
// is taken as it stands as the key, which is how a TotalKey is named. The
// program never writes these files.
class DefaultMappingFile {
public:
    // The key of the account with this code in the selected data set into
    // key (35 bytes); false when the data set has no such account.
    using KeyOfCode = std::function<bool(std::int32_t code, char* key)>;

    // "<prefix>ToUg16_G_DefKmk.dat", or "...Ug30..." for UG30.
    static std::string FileName(const Edition& edition, bool ug30);

    // Reads the file of the program's edition and the target version from
    // the current folder (see the overload).
    static bool LoadDefaultMapping(MappingList& defaults, bool ug30) {
        return LoadDefaultMapping(defaults, Edition::Current(), ug30);
    }
    // Reads the edition's file of the target version from the current
    // folder, looking account codes up in the selected data set of the
    // connected accounting core. False, with defaults as they were, when
    // the file is missing or unreadable or its section cannot be read.
    static bool LoadDefaultMapping(MappingList& defaults, const Edition& edition, bool ug30);

    // The account codes that the edition's file of the target version names,
    // in file order, as it writes them (a code below 10000 as users see
    // it), whether the selected data set has them or not; empty when the
    // file cannot be read.
    static std::vector<std::int32_t> NamedAccountCodes(const Edition& edition, bool ug30);

    // Replaces defaults by the entries of a whole file's bytes, in file
    // order, codes looked up with AccountLookup::FindAccountByCode.
    static bool Read(std::string_view file, MappingList& defaults);
    // The same with the lookup given.
    //
    // False, and defaults untouched, without the section or its "[終了]"
    // and with a section over 32767 bytes. An empty body is a file that
    // names no default: true, with defaults empty.
    //
    // Every line only adds entries, and a default that is missing shows in
    // the mapping dialog, where the user can add it, as an account code the
    // data set lacks already does. So a line that is outside the format is
    // passed over and the other lines still count: a line of more than 255
    // bytes before its LF (cut short, its last code would name another
    // account), a line without "/", and one whose item number lies outside
    // 16 bits. Within a line, a token gives no entry when it is empty, holds
    // a NUL byte, is a code the data set lacks, or is a key of more than 34
    // bytes (cut short, it would name another key); the text behind the last
    // "," is no token.
    //
    // Memory running out gives false; the entries read by then are in
    // defaults, the earlier ones gone.
    static bool Read(std::string_view file, MappingList& defaults, const KeyOfCode& keyOfCode);
};
