#pragma once

#include <string>
#include <string_view>

// Japanese text that goes into the books, which keep UTF-8. Narrow literals
// are code page 932 in this program, so such text is written as u8"..."
// and handed on as bytes through here.
class Utf8Text {
public:
    static std::string From(std::u8string_view text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    }
};
