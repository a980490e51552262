#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Edition;

// The layout the item-definition and the default-mapping file share: code
// page 932 text whose one section of interest opens with the line
// "[共通様式]" and closes with the first "[終了]" line behind it:
//
//   ...anything (other sections)...
//   [共通様式]<CR><LF>
//   <line><CR><LF>                    the body: at least one line
//   ...
//   [終了]<CR><LF>
//   ...anything...
//
// Both markers count only at the start of a line. A "[" may be the second
// byte of a double-byte character, and a caption may hold "[終了]"; a
// marker in mid-line therefore neither opens nor closes the section.
class MappingFileSection {
public:
    // From the start of the section line to the "[終了]": the program these
    // files were drawn for held the distance in 16 signed bits.
    static constexpr std::size_t kMaxSectionBytes = 32767;
    // Bytes of a body line before its LF, its CR included.
    static constexpr std::size_t kMaxLineBytes = 255;

    enum class Find {
        kFound,
        kMissing,   // no section line, or no "[終了]" line behind it
        kTooLarge,  // the section is longer than kMaxSectionBytes
    };

    // The name of an edition's data file of a version, such as
    // "MznAld20ToUg30_G_GaiKmk.dat" for kind "GaiKmk".
    static std::string DataFileName(const Edition& edition, bool ug30, std::string_view kind);

    // The whole file of this name in the current folder, where the run
    // sequence has put the program's own folder. False when the file does
    // not exist, is no regular file or cannot be read whole.
    static bool ReadFile(const std::string& bareName, std::string& bytes);

    // The body: the bytes behind the section line's LF up to the start of
    // the "[終了]" line. Every body line therefore ends in a LF; an empty
    // body is a section with no line.
    static Find FindBody(std::string_view file, std::string_view* body);

    // The body's lines, each without its LF (a CR before the LF stays: the
    // field rules of each file put it where it is ignored).
    static std::vector<std::string_view> Lines(std::string_view body);

    // A line without the CR bytes in front of its LF.
    static std::string_view WithoutCr(std::string_view line);

    // A hexadecimal number read as strtoul with base 16 reads it where
    // unsigned long has 32 bits: leading blanks, an optional sign (a "-"
    // negates modulo 2^32), an optional "0x", the hex digits up to the first
    // other character; 0 when there are none, 0xFFFFFFFF when the digits
    // exceed 32 bits.
    static std::uint32_t ReadHex(std::string_view text);
};
