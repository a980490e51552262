#include "tools/mzn-books/MappingCoverage.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editions/Edition.h"
#include "settings/DefaultMappingFile.h"
#include "tools/mzn-books/MessageTemplate.h"
#include "tools/mzn-books/StandardChart.h"

namespace fs = std::filesystem;

std::set<std::int32_t> MappingCoverage::NamedStandardCodes(const std::string& folder) {
    std::set<std::int32_t> named;
    // A token is a code as users see it (below 10000) or as the books keep
    // it (code x 10000 + sub).
    const DefaultMappingFile::KeyOfCode record = [&named](std::int32_t code, char*) {
        if (code < 10000)
            named.insert(code);
        else if (code % 10000 == 0)
            named.insert(code / 10000);
        return false;  // only the codes are wanted, no entries
    };
    for (EditionId id : Edition::All()) {
        for (bool ug30 : {false, true}) {
            std::ifstream in(fs::path(folder) / DefaultMappingFile::FileName(Edition::Of(id), ug30), std::ios::binary);
            if (!in) continue;
            std::ostringstream bytes;
            bytes << in.rdbuf();
            MappingList ignored;
            DefaultMappingFile::Read(bytes.str(), ignored, record);
        }
    }
    std::set<std::int32_t> standard;
    for (const AccountsFile::Row& account : StandardChart::Accounts())
        if (account.sub == 0 && named.count(account.code) != 0) standard.insert(account.code);
    return standard;
}

std::string MappingCoverage::Hint(const std::set<std::int32_t>& named, const std::vector<AccountsFile::Row>& accounts) {
    std::set<std::int32_t> present;
    for (const AccountsFile::Row& account : accounts)
        if (account.sub == 0) present.insert(account.code);
    std::size_t missing = 0;
    for (std::int32_t code : named) missing += present.count(code) == 0 ? 1 : 0;
    if (named.empty() || missing * 2 <= named.size()) return std::string();
    return MessageTemplate::Fill(
        "%1 of the %2 standard accounts that the link program's default mapping uses are not in this chart, so most "
        "items start without accounts. Choose the accounts of each item with its button on the condition sheet, "
        "or import again with --code-map FILE to give your accounts the standard chart's numbers "
        "(docs/books-formats.md).",
        {std::to_string(missing), std::to_string(named.size())});
}

std::string MappingCoverage::ProgramFolder() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : program.parent_path().string();
}
