#include "settings/ItemDefinitionFile.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "platform/LeadingNumber.h"
#include "settings/MappingFileSection.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::optional<std::int16_t> Read16(std::string_view field) {
    const std::int32_t value = LeadingNumber::ReadInt32(field);
    if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

// Field 3: one code, or several joined by "+", into the ten slots in order.
bool ReadClassCodes(std::string_view field, ReportItem& item) {
    int slot = 0;
    for (std::size_t start = 0;; ++slot) {
        if (slot == ReportItem::kClassCodes) return false;
        const std::size_t plus = field.find('+', start);
        item.ClassCodes[slot] = MappingFileSection::ReadHex(field.substr(start, plus - start));
        if (plus == npos) return true;
        start = plus + 1;
    }
}

// A text field into its NUL-terminated record field.
bool CopyText(std::string_view text, char* out, std::size_t maxBytes) {
    if (text.size() > maxBytes || text.find('\0') != npos) return false;
    std::memcpy(out, text.data(), text.size());
    return true;
}

// One definition line into a zero-filled item; false when the line does not
// fit the record. '/', ';' and '+' are never the second byte of a
// double-byte character, so plain byte searches split the fields.
bool ReadItem(std::string_view line, ReportItem& item) {
    if (line.size() > MappingFileSection::kMaxLineBytes) return false;
    std::size_t slash[4];
    for (std::size_t i = 0, from = 0; i < 4; from = slash[i] + 1, ++i) {
        slash[i] = line.find('/', from);
        if (slash[i] == npos) return false;
    }
    const std::size_t semicolon = line.find(';', slash[3] + 1);
    if (semicolon == npos) return false;

    const auto itemNo = Read16(line.substr(0, slash[0]));
    const auto side = Read16(line.substr(slash[0] + 1, slash[1] - slash[0] - 1));
    if (!itemNo || !side) return false;
    item.ItemNo = *itemNo;
    item.BalanceSide = *side;
    return ReadClassCodes(line.substr(slash[1] + 1, slash[2] - slash[1] - 1), item) &&
           CopyText(line.substr(slash[2] + 1, slash[3] - slash[2] - 1), item.Caption,
                    ItemDefinitionFile::kMaxCaptionBytes) &&
           CopyText(line.substr(slash[3] + 1, semicolon - slash[3] - 1), item.TagName,
                    ItemDefinitionFile::kMaxTagBytes);
}

}  // namespace

std::string ItemDefinitionFile::FileName(const Edition& edition, bool ug30) {
    return MappingFileSection::DataFileName(edition, ug30, "GaiKmk");
}

bool ItemDefinitionFile::LoadItemDefinitions(ItemList& items, const Edition& edition, bool ug30) {
    std::string file;
    if (!MappingFileSection::ReadFile(FileName(edition, ug30), file)) return false;
    return Read(file, items);
}

bool ItemDefinitionFile::Read(std::string_view file, ItemList& items) {
    std::string_view body;
    if (MappingFileSection::FindBody(file, &body) != MappingFileSection::Find::kFound) return false;

    ItemList read;
    try {
        for (std::string_view line : MappingFileSection::Lines(body)) {
            if (MappingFileSection::WithoutCr(line).empty()) continue;
            auto item = std::make_unique<ReportItem>();
            if (!ReadItem(line, *item)) return false;
            read.push_back(std::move(item));
        }
    } catch (const std::bad_alloc&) {
        items = std::move(read);
        return false;
    }
    if (read.empty()) return false;
    items = std::move(read);
    return true;
}
