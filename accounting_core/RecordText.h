#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text fields of the core's records: code page 932, NUL-terminated, in a
// fixed number of bytes. The books keep text in UTF-8.
class RecordText {
public:
    // Fills a field of size bytes with the text cut to size - 1 bytes on a
    // character boundary and NUL-padded.
    static void CopyCp932(char* field, std::size_t size, std::string_view cp932);
    // The same for UTF-8 text of the books; characters without a code page
    // 932 form become "?".
    static void CopyUtf8(char* field, std::size_t size, std::string_view utf8);
    // The text of a field of at most size bytes, up to its first NUL.
    static std::string_view FieldText(const char* field, std::size_t size);
    // Code page 932 text as the books keep it; bytes that form no character
    // become U+FFFD.
    static std::string ToUtf8(std::string_view cp932);
    // UTF-8 text of the books in code page 932, "?" for what has no form there.
    static std::string ToCp932(std::string_view utf8);
};
