#include "xml/XmlLineWriter.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The entity of one of the five bytes XML reserves, or an empty view for a
// byte that stands for itself.
std::string_view EntityOf(char byte) {
    switch (byte) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '"': return "&quot;";
        case '\'': return "&apos;";
        default: return {};
    }
}

std::size_t EscapedLength(char byte) {
    std::string_view entity = EntityOf(byte);
    return entity.empty() ? 1 : entity.size();
}

// Appends to a fixed buffer and remembers when something did not fit; the
// buffer always stays NUL-terminated inside its size.
class BoundedText {
public:
    BoundedText(char* buffer, std::size_t size) : buffer_(buffer), size_(size) { buffer_[0] = '\0'; }

    void Append(std::string_view text) {
        if (overflow_ || text.size() > size_ - 1 - length_) {
            overflow_ = true;
            return;
        }
        std::memcpy(buffer_ + length_, text.data(), text.size());
        length_ += text.size();
        buffer_[length_] = '\0';
    }
    void AppendTabs(int count) {
        for (int i = 0; i < count && !overflow_; ++i) Append("\t");
    }
    // Marks the text as not fitting, as when a value could not be escaped.
    void Invalidate() { overflow_ = true; }
    bool Overflowed() const { return overflow_; }
    // Leaves an empty text behind a line that was refused.
    void Clear() {
        length_ = 0;
        buffer_[0] = '\0';
    }

private:
    char* buffer_;
    std::size_t size_;
    std::size_t length_ = 0;
    bool overflow_ = false;
};

bool Given(const char* text) { return text != nullptr; }

// " name=\"escaped value\"".
void AppendAttribute(BoundedText& out, XmlLineWriter& writer, const char* name, const char* value) {
    const char* escaped = writer.EscapeText(value);
    if (escaped == nullptr) {
        out.Invalidate();
        return;
    }
    out.Append(" ");
    out.Append(name);
    out.Append("=\"");
    out.Append(escaped);
    out.Append("\"");
}

// depth × TAB, "<", the name and the attributes, ">". The second attribute
// only follows a first one.
void AppendOpening(BoundedText& out, XmlLineWriter& writer, const char* name, int depth, const char* attrName1,
                   const char* attrValue1, const char* attrName2, const char* attrValue2) {
    out.AppendTabs(depth);
    out.Append("<");
    out.Append(name);
    if (Given(attrName1) && Given(attrValue1)) {
        AppendAttribute(out, writer, attrName1, attrValue1);
        if (Given(attrName2) && Given(attrValue2)) AppendAttribute(out, writer, attrName2, attrValue2);
    }
    out.Append(">");
}

}  // namespace

std::int16_t XmlLineWriter::Attach(OutputFile* file, const char* path) {
    if (file == nullptr || path == nullptr) return -1;
    file_ = file;
    path_ = path;
    file_->Open(path_.c_str());
    return 0;
}

bool XmlLineWriter::WriteText(const char* text) {
    if (file_ == nullptr) return false;
    if (file_->Write(text, text == nullptr ? 0 : std::strlen(text))) return true;
    file_->Close();
    return false;
}

bool XmlLineWriter::WriteStartTag(LineBuffer& line, const char* name, int depth, const char* attrName1,
                                  const char* attrValue1, const char* attrName2, const char* attrValue2) {
    BoundedText composed(line, kLineSize);
    if (!Given(name) || depth < 0) return false;
    AppendOpening(composed, *this, name, depth, attrName1, attrValue1, attrName2, attrValue2);
    composed.Append(kLineEnd);
    return WriteComposed(!composed.Overflowed(), line);
}

bool XmlLineWriter::WriteElement(LineBuffer& line, const char* name, const char* text, int depth,
                                 const char* attrName1, const char* attrValue1, const char* attrName2,
                                 const char* attrValue2) {
    BoundedText composed(line, kLineSize);
    if (!Given(name) || depth < 0) return false;
    AppendOpening(composed, *this, name, depth, attrName1, attrValue1, attrName2, attrValue2);
    const char* escaped = EscapeText(Given(text) ? text : "");
    if (escaped == nullptr) composed.Invalidate();
    else composed.Append(escaped);
    composed.Append("</");
    composed.Append(name);
    composed.Append(">");
    composed.Append(kLineEnd);
    return WriteComposed(!composed.Overflowed(), line);
}

bool XmlLineWriter::WriteEndTag(LineBuffer& line, const char* name, int depth) {
    BoundedText composed(line, kLineSize);
    if (!Given(name) || depth < 0) return false;
    composed.AppendTabs(depth);
    composed.Append("</");
    composed.Append(name);
    composed.Append(">");
    composed.Append(kLineEnd);
    return WriteComposed(!composed.Overflowed(), line);
}

std::int16_t XmlLineWriter::Detach() {
    const bool closed = file_ == nullptr || file_->Close();
    file_ = nullptr;
    return closed ? 0 : -1;
}

const char* XmlLineWriter::EscapeText(const char* text) {
    BoundedText out(escaped_, kEscapeSize);
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        std::string_view entity = EntityOf(*p);
        out.Append(entity.empty() ? std::string_view(p, 1) : entity);
        if (out.Overflowed()) {
            out.Clear();
            return nullptr;
        }
    }
    return escaped_;
}

std::string_view XmlLineWriter::LongestFittingText(const char* name, int depth, std::string_view text) {
    // depth × TAB, "<" name ">", "</" name ">", CR LF around the text.
    const std::size_t nameLength = name == nullptr ? 0 : std::strlen(name);
    const std::size_t frame = static_cast<std::size_t>(depth < 0 ? 0 : depth) + 2 * nameLength + 5 + kLineEnd.size();
    if (frame > kMaxLineBytes) return text.substr(0, 0);
    const std::size_t room = std::min(kMaxLineBytes - frame, kMaxEscapedBytes);
    std::size_t end = 0;
    std::size_t used = 0;
    while (end < text.size()) {
        std::size_t length = Cp932::CharLengthAt(text, end);
        std::size_t escaped = length == 1 ? EscapedLength(text[end]) : length;
        // A NUL would end the text the writer is given.
        if (text[end] == '\0' || used + escaped > room) break;
        used += escaped;
        end += length;
    }
    return text.substr(0, end);
}

bool XmlLineWriter::WriteComposed(bool composedWhole, LineBuffer& line) {
    if (!composedWhole) {
        line[0] = '\0';
        return false;
    }
    return WriteText(line);
}
