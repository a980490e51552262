// The condition file reader on damaged bytes: paths and keys stay NUL-terminated in their fields, the
// fields beside the remembered path stay untouched, and what it accepts reads back unchanged. The file's
// name made from the first two lines as user IDs: a name Windows allows, another for another user.

#include "settings/ConditionFile.h"
#include "settings/ConditionText.h"
#include "platform/Cp932.h"
#include "tests/fuzz/FuzzSupport.h"

static std::string FileNameOf(const std::string& user) {
    ConditionValues values;
    user.copy(values.UserId, sizeof values.UserId - 1);
    const std::string name = ConditionFile::FileName(values);
    Require(name.starts_with("UG16_G_") && name.ends_with("_0_0.env") &&
                Cp932::FindAnyChar(name, "\\/:*?\"<>|") == Cp932::npos &&
                std::none_of(name.begin(), name.end(), [](char byte) { return byte >= 0 && byte < 0x20; }),
            "a condition file name no folder can hold");
    return name;
}

static ConditionValues GuardedValues() {
    ConditionValues values;
    std::strcpy(values.UserId, "guard-user");
    values.SelectedNo1 = values.SelectedNo2 = values.TargetVersion = values.OutputPathLocked = 0x5A5A5A5A;
    std::memset(values.SavedOutputPath, 'x', sizeof values.SavedOutputPath);  // reading clears it all first
    return values;
}

MZN_FUZZ_TARGET(input) {
    const auto users = Split(input.Text(), '\n', 3);
    const auto idOf = [](const std::string& user) { return user.substr(0, user.find('\0')).substr(0, 64); };
    if (users.size() > 2)
        Require((FileNameOf(users[0]) == FileNameOf(users[1])) == (idOf(users[0]) == idOf(users[1])),
                "two users share a condition file, or one user has two");
    ConditionValues values = GuardedValues(), back = GuardedValues();
    const ConditionValues guard = GuardedValues();
    MappingList mapping, backMapping;
    mapping.push_back(std::make_unique<MappedAccount>());
    const bool read = ConditionText::Parse(input.Text(), values, mapping);
    Require(std::memchr(values.SavedOutputPath, '\0', sizeof values.SavedOutputPath), "a path without its NUL");
    Require(std::strcmp(values.UserId, guard.UserId) == 0 && values.SelectedNo1 == guard.SelectedNo1 &&
                values.SelectedNo2 == guard.SelectedNo2 && values.TargetVersion == guard.TargetVersion &&
                values.OutputPathLocked == guard.OutputPathLocked && values.OutputPath == values.SavedOutputPath,
            "a field beside the remembered path was written");
    for (const auto& entry : mapping)
        Require(IsCleanField({entry->AccountKey, sizeof entry->AccountKey}), "a key outside its field");
    if (!read) return;
    Require(values.Reserved == 0, "the third field was not read as 0");
    Require(ConditionText::Parse(ConditionText::Format(values, mapping), back, backMapping), "no read back");
    Require(back.EndMonth == values.EndMonth && back.TaxIncluded == values.TaxIncluded && back.Reserved == 0 &&
                std::strcmp(back.SavedOutputPath, values.SavedOutputPath) == 0 && backMapping.size() == mapping.size(),
            "values changed on the way back");
    for (auto entry = mapping.begin(), other = backMapping.begin(); entry != mapping.end(); ++entry, ++other)
        Require((*other)->ItemNo == (*entry)->ItemNo && std::memcmp((*other)->AccountKey, (*entry)->AccountKey,
                    sizeof (*entry)->AccountKey) == 0, "an entry changed on the way back");
}
