#include "xml/SupportInfoFile.h"

#include "platform/Cp932.h"
#include "report/BusinessOverview.h"

#include <cstdio>
#include <cstring>

void* SupportInfoFile::SystemAllocate(std::size_t count, std::size_t size) { return std::calloc(count, size); }

SupportInfoFile::SupportInfoFile(MessageBoxes* boxes, Allocator allocate) : boxes_(boxes), allocate_(allocate) {}

SupportInfoFile::~SupportInfoFile() { std::free(block_); }

std::string SupportInfoFile::Lookup(std::string_view marker) {
    if (block_ == nullptr && !Load()) return {};
    return std::string(FindValue(std::string_view(block_, loaded_), marker));
}

bool SupportInfoFile::Load() {
    block_ = static_cast<char*>(allocate_(kBlockSize, 1));
    if (block_ == nullptr) {
        if (boxes_ != nullptr) boxes_->Show(MessageOwner{}, kOutOfMemoryText, BusinessOverview::kCaption, mb::kOk);
        return false;
    }
    std::memset(block_, 0xFF, kBlockSize);
    // By bare name: the file lies in the current folder.
    std::FILE* file = std::fopen(kFileName, "rb");
    if (file == nullptr) return true;
    loaded_ = std::fread(block_, 1, kBlockSize, file);
    std::fclose(file);
    EndLines(block_, loaded_);
    return true;
}

void SupportInfoFile::EndLines(char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            bytes[i] = '\0';
            bytes[++i] = '\0';
        } else if (bytes[i] == '\x1A') {
            bytes[i] = '\0';
        }
    }
}

std::string_view SupportInfoFile::FindValue(std::string_view loaded, std::string_view marker) {
    if (marker.empty()) return {};
    std::size_t at = Cp932::FindString(loaded, marker);
    if (at == Cp932::npos) return {};
    std::string_view value = loaded.substr(at + marker.size());
    return value.substr(0, value.find('\0'));
}
