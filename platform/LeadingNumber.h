#pragma once

#include <cstdint>
#include <string_view>

// The number at the start of a text, read the way the runtime's atoi reads
// it: optional white space (blank, tab, line feed, vertical tab, form feed,
// carriage return), an optional "+" or "-", then decimal digits up to the
// first other character. A text without such digits reads as 0. The caller's
// command-line fields, the program level of the definition file and the
// numbers of the condition and data files are read this way, so all must
// agree on what "12abc" or " -3" mean.
//
// atoi leaves an out-of-range number undefined; here the value saturates at
// the limits of int64, so that a long run of digits never wraps into a small
// or negative number before the caller narrows it to its own width.
class LeadingNumber {
public:
    static std::int64_t Read(std::string_view text);
    // The same, held at the limits of a 32-bit int, as the runtime's atoi
    // holds it (the condition file's and the data files' numbers).
    static std::int32_t ReadInt32(std::string_view text);
};
