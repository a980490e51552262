#pragma once

#include <QString>

#include <string>
#include <string_view>

// Text between the system (code page 932) and Qt widgets (UTF-16).
class QtText {
public:
    // Undecodable bytes become U+FFFD.
    static QString FromCp932(std::string_view text);
    // Characters with no code page 932 form become "?", which no path
    // check accepts, so a typed path with such a character is refused
    // rather than changed into another name silently.
    static std::string ToCp932(const QString& text);
};
