#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes of an import file as the UTF-8 text the readers take. Accounting
// packages in Japan export code page 932 (Shift_JIS); spreadsheets and this
// program's own files are UTF-8. Detected, valid UTF-8 is taken as UTF-8
// and anything else as code page 932: a code page 932 file of Japanese text
// is almost never valid UTF-8. A UTF-8 byte-order mark is dropped.
class ImportText {
public:
    enum class Encoding { Detect, Utf8, Cp932 };

    struct Decoded {
        bool ok = false;
        std::string utf8;
        std::size_t errorLine = 0;  // when !ok: the line of the first byte that is no text
        std::string reason;         // when !ok
    };

    static Decoded ToUtf8(std::string_view bytes, Encoding encoding);
};
