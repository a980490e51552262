#include "settings/MappingFileSection.h"

#include "editions/Edition.h"
#include "platform/PlainText.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr std::string_view kSectionLine = "[共通様式]";
constexpr std::string_view kEndLine = "[終了]";
constexpr std::size_t npos = std::string_view::npos;

// The first marker at or behind from that starts a line. Behind a LF a
// character always begins, so the byte comparison cannot match the second
// half of a double-byte character.
std::size_t FindAtLineStart(std::string_view text, std::string_view marker, std::size_t from) {
    for (std::size_t at = text.find(marker, from); at != npos; at = text.find(marker, at + 1)) {
        if (at == 0 || text[at - 1] == '\n') return at;
    }
    return npos;
}

}  // namespace

std::string MappingFileSection::DataFileName(const Edition& edition, bool ug30, std::string_view kind) {
    return std::string(edition.FilePrefix()) + (ug30 ? "ToUg30_G_" : "ToUg16_G_") + std::string(kind) + ".dat";
}

bool MappingFileSection::ReadFile(const std::string& bareName, std::string& bytes) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(bareName, ignored)) return false;
    std::ifstream in(bareName, std::ios::binary);
    if (!in) return false;
    std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    bytes = std::move(read);
    return true;
}

MappingFileSection::Find MappingFileSection::FindBody(std::string_view file, std::string_view* body) {
    const std::size_t section = FindAtLineStart(file, kSectionLine, 0);
    if (section == npos) return Find::kMissing;
    // The section line is the marker and whatever stands behind it up to
    // its LF; the body begins on the next line.
    const std::size_t sectionLineEnd = file.find('\n', section + kSectionLine.size());
    if (sectionLineEnd == npos) return Find::kMissing;
    const std::size_t bodyStart = sectionLineEnd + 1;
    const std::size_t end = FindAtLineStart(file, kEndLine, bodyStart);
    if (end == npos) return Find::kMissing;
    if (end - section > kMaxSectionBytes) return Find::kTooLarge;
    *body = file.substr(bodyStart, end - bodyStart);
    return Find::kFound;
}

std::vector<std::string_view> MappingFileSection::Lines(std::string_view body) {
    std::vector<std::string_view> lines;
    // Only text ended by a LF is a line; the body always ends in one.
    for (std::size_t start = 0, lf = body.find('\n'); lf != npos; start = lf + 1, lf = body.find('\n', start))
        lines.push_back(body.substr(start, lf - start));
    return lines;
}

std::string_view MappingFileSection::WithoutCr(std::string_view line) {
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::uint32_t MappingFileSection::ReadHex(std::string_view text) {
    text = PlainText::TrimStart(text, PlainText::kCBlanks);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // "0x" is a prefix only when a digit follows; "0xg" reads as 0.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        PlainText::HexDigit(text[i + 2]) >= 0)
        i += 2;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && PlainText::HexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<std::uint64_t>(PlainText::HexDigit(text[i]));
        if (value > UINT32_MAX) {
            overflow = true;
            value = UINT32_MAX;
        }
    }
    if (overflow) return UINT32_MAX;
    const auto code = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - code) : code;
}
