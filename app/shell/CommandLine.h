#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the caller tells the link program on its command line:
//
//   handle,message,function,path
//
// the caller's window handle, the message to post back at the end and the
// function number, each in decimal and each followed by a comma, then the
// Windows path (code page 932) of the XML file to write, which runs to the
// end of the text and may itself hold commas. The members keep the values
// read; the run sets LinkedToParent once ParseCommandLine has succeeded.
class CommandLine {
public:
    // A caller's text is at most this many bytes; a longer one is read whole
    // but the run refuses it (TooLong).
    static constexpr std::size_t kMaxTextBytes = 259;
    static constexpr std::int16_t kDefaultFunctionNo = 2;

    std::int32_t LinkedToParent = 0;   // 1 once the run has taken the caller's window
    std::uintptr_t ParentWindow = 0;   // first field; 0 is no window
    std::uint32_t NotifyMessage = 0;   // second field
    std::int16_t FunctionNo = kDefaultFunctionNo;  // third field, kept in 16 bits
    std::string OutputPathArg;         // everything after the third comma

    // Reads the caller's text into the members. True when all three commas
    // were found. Fields are taken one after the other, so a text that stops
    // early leaves the fields read so far in place: "12,34" sets
    // ParentWindow and NotifyMessage and returns false. Each number is the
    // leading number of its field (LeadingNumber) narrowed to the member's
    // width. OutputPathArg is set only when something follows the third
    // comma.
    //
    // The whole text is read, however long: cut to kMaxTextBytes, the path
    // would name another file. The text ends at a NUL byte.
    bool ParseCommandLine(std::string_view text);

    // The text last parsed was longer than a caller may pass.
    bool TooLong() const { return tooLong_; }

private:
    bool tooLong_ = false;
};
