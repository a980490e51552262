#pragma once

#include "report/MappedAccount.h"
#include "settings/ConditionValues.h"

#include <string>
#include <string_view>

// The bytes of a condition file: code page 932 text, every line ended by
// one LF, sections opened by a bracketed marker and closed by "[終了]":
//
//   [P1]
//   <EndMonth>/<TaxIncluded>/0/<output path>
//   [終了]
//   [P2/P3]
//   <ItemNo>/<AccountKey>[END]        one line per mapping entry, in order
//   [終了]
//
// The output path is the last field of its line and may itself hold "/".
class ConditionText {
public:
    // The file's bytes for the values and the mapping. The path written is
    // OutputPath, or SavedOutputPath when OutputPathLocked is set, so that a
    // path passed in by the starting application is never remembered. A
    // path that could not be read back as written (over 260 bytes, holding a
    // LF or ending in a CR) is written empty; a key is written up to its NUL,
    // at most 34 bytes.
    static std::string Format(const ConditionValues& values, const MappingList& mapping);

    // Reads a condition file's bytes (not NUL-terminated; the end of the
    // bytes ends the text). SavedOutputPath is cleared first. True when both
    // sections were read.
    //
    // "[P1]" section: EndMonth and TaxIncluded are taken atoi-style, the
    // third field is read as 0, and the path is stored as SavedOutputPath
    // and, when OutputPath is empty, as OutputPath. Nothing is taken, and the
    // result is false, when there is no "[P1]", no value line ended by a LF
    // behind it, fewer than three "/" in that line, or no "[終了]" behind it.
    // A path of more than 260 bytes is not taken (the other values are).
    //
    // "[P2/P3]" section, searched behind the first: when it or its "[終了]"
    // is missing the result is false and the mapping is left alone (the
    // "[P1]" values stay taken). Otherwise the mapping is emptied and filled
    // with the entries in file order. Reading stops, keeping the entries
    // before, at the first line that is no entry: no "/", no "[END]" behind
    // it, anything after "[END]", or a key over 34 bytes or holding a NUL.
    //
    // Hand-edited files: CR bytes in front of a line's LF are ignored, and a
    // NUL byte ends the text of the path.
    static bool Parse(std::string_view bytes, ConditionValues& values, MappingList& mapping);
};
