#include "settings/DefaultMappingFile.h"

#include <cstring>
#include <memory>
#include <new>

#include "accounting_core/StKAMOKUINFO.h"
#include "report/AccountKey.h"
#include "report/AccountLookup.h"
#include "platform/LeadingNumber.h"
#include "settings/MappingFileSection.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kMaxKeyText = MappedAccount::kKeySize - 1;

bool KeyOfCodeInBooks(std::int32_t code, char* key) {
    StKAMOKUINFO account;
    std::memset(&account, 0, sizeof account);
    if (!AccountLookup::FindAccountByCode(code, &account)) return false;
    AccountKey::Text(account.Id, key);
    return true;
}

// The key a token names into key (zeroed, 35 bytes); false when it names
// none.
bool KeyOfToken(std::string_view token, const DefaultMappingFile::KeyOfCode& keyOfCode, char* key) {
    if (token.empty() || token.find('\0') != npos) return false;
    const std::int32_t code = LeadingNumber::ReadInt32(token);
    if (code != 0) return keyOfCode(code, key);
    if (token.size() > kMaxKeyText) return false;
    std::memcpy(key, token.data(), token.size());
    return true;
}

// The entries of one line appended to defaults. ',' and '/' are never the
// second byte of a double-byte character, so plain byte searches split it.
void ReadLine(std::string_view line, const DefaultMappingFile::KeyOfCode& keyOfCode, MappingList& defaults) {
    if (line.size() > MappingFileSection::kMaxLineBytes) return;
    const std::size_t slash = line.find('/');
    if (slash == npos) return;
    const std::int32_t itemNo = LeadingNumber::ReadInt32(line.substr(0, slash));
    if (itemNo < INT16_MIN || itemNo > INT16_MAX) return;
    for (std::size_t start = slash + 1, comma = line.find(',', start); comma != npos;
         start = comma + 1, comma = line.find(',', start)) {
        auto entry = std::make_unique<MappedAccount>();
        if (!KeyOfToken(line.substr(start, comma - start), keyOfCode, entry->AccountKey)) continue;
        entry->ItemNo = static_cast<std::int16_t>(itemNo);
        defaults.push_back(std::move(entry));
    }
}

}  // namespace

std::string DefaultMappingFile::FileName(const Edition& edition, bool ug30) {
    return MappingFileSection::DataFileName(edition, ug30, "DefKmk");
}

bool DefaultMappingFile::LoadDefaultMapping(MappingList& defaults, const Edition& edition, bool ug30) {
    std::string file;
    if (!MappingFileSection::ReadFile(FileName(edition, ug30), file)) return false;
    return Read(file, defaults);
}

std::vector<std::int32_t> DefaultMappingFile::NamedAccountCodes(const Edition& edition, bool ug30) {
    std::vector<std::int32_t> codes;
    std::string file;
    if (!MappingFileSection::ReadFile(FileName(edition, ug30), file)) return codes;
    MappingList none;
    Read(file, none, [&codes](std::int32_t code, char*) {
        codes.push_back(code);
        return false;
    });
    return codes;
}

bool DefaultMappingFile::Read(std::string_view file, MappingList& defaults) {
    return Read(file, defaults, KeyOfCodeInBooks);
}

bool DefaultMappingFile::Read(std::string_view file, MappingList& defaults, const KeyOfCode& keyOfCode) {
    std::string_view body;
    if (MappingFileSection::FindBody(file, &body) != MappingFileSection::Find::kFound) return false;

    MappingList read;
    try {
        for (std::string_view line : MappingFileSection::Lines(body)) ReadLine(line, keyOfCode, read);
    } catch (const std::bad_alloc&) {
        defaults = std::move(read);
        return false;
    }
    defaults = std::move(read);
    return true;
}
