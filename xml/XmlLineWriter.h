#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "xml/OutputFile.h"

// Writes one XML document as a stream of complete lines: a raw text (the
// declaration), start tags, end tags and leaf elements, one a line, each
// indented by as many TABs as its depth and ended by CR LF. It keeps no tree:
// every call composes one line and writes it at once. Names and values are
// code page 932 bytes, written as given; only the five predefined entities
// are escaped, in text and attribute values.
//
// A line holds at most 255 bytes (tabs and CR LF included), an escaped value
// too. Longer ones are refused with false and nothing of them is written;
// the file stays open. A write that the file refuses closes the file and
// returns false; Detach afterwards has nothing more to close.
class XmlLineWriter {
public:
    static constexpr std::size_t kLineSize = 256;
    static constexpr std::size_t kMaxLineBytes = kLineSize - 1;
    static constexpr std::size_t kEscapeSize = 256;
    static constexpr std::size_t kMaxEscapedBytes = kEscapeSize - 1;

    // The caller's line buffer; each tag or element call composes its whole
    // line in it, overwriting what was there.
    using LineBuffer = char[kLineSize];

    // Keeps the file and a copy of the path and opens the file there (created
    // or truncated, binary). -1 when either is missing; 0 otherwise, also
    // when the file could not be created: the first write then fails.
    std::int16_t Attach(OutputFile* file, const char* path);

    // Writes the bytes of text (without its NUL). False, with the file
    // closed, when the file reports an error or is not open.
    bool WriteText(const char* text);

    // depth × TAB, "<name", the attributes, ">", CR LF.
    bool WriteStartTag(LineBuffer& line, const char* name, int depth, const char* attrName1 = nullptr,
                       const char* attrValue1 = nullptr, const char* attrName2 = nullptr,
                       const char* attrValue2 = nullptr);
    // depth × TAB, "<name", the attributes, ">", the escaped text, "</name>",
    // CR LF. An empty text gives the start tag directly followed by the end
    // tag, never the self-closing form.
    bool WriteElement(LineBuffer& line, const char* name, const char* text, int depth,
                      const char* attrName1 = nullptr, const char* attrValue1 = nullptr,
                      const char* attrName2 = nullptr, const char* attrValue2 = nullptr);
    // depth × TAB, "</name>", CR LF.
    bool WriteEndTag(LineBuffer& line, const char* name, int depth);

    // Closes the file if one is attached and forgets it. 0, or -1 when the
    // file system reported an error as the file was flushed and closed (a
    // file that a failed write closed already has nothing more to report).
    std::int16_t Detach();

    // The text with "&", "<", ">", '"' and "'" replaced by their entities,
    // in a buffer of this writer that stays valid until the next call;
    // nullptr when the result would exceed 255 bytes. Other bytes pass
    // unchanged: none of the five can be the second byte of a double-byte
    // character.
    const char* EscapeText(const char* text);

    // The longest prefix of text, ending on a character boundary, whose
    // escaped form fits an element line of this name and depth (without
    // attributes). Empty when not even the bare element fits.
    static std::string_view LongestFittingText(const char* name, int depth, std::string_view text);

private:
    // Writes a composed line; false when composing overflowed the buffer
    // (nothing is written then) or when the write failed.
    bool WriteComposed(bool composedWhole, LineBuffer& line);

    OutputFile* file_ = nullptr;
    std::string path_;
    char escaped_[kEscapeSize] = {};
};
