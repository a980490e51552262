#pragma once

#include "report/MappedAccount.h"
#include "settings/ConditionValues.h"

#include <string>

// The condition file: what a user entered in the condition sheet the last
// time, per user, selected data set and target version. It lies in the
// application folder of type 1 (ClFileMgr) under the name
// "UG16_G_<UserId>_<SelectedNo1>_<SelectedNo2>.env", or "UG30_G_..." for
// UG30; its bytes are those of ConditionText. The accounting core must be
// connected (ClAccConnect) for the folder to be known.
class ConditionFile {
public:
    enum class SaveResult {
        Saved,
        // The folder is not named by the books or could not be created;
        // nothing was written. The sheet goes on as if saved.
        NoFolder,
        // The file could not be written; the previous file is unchanged. The
        // sheet reports it and stays open.
        WriteFailed,
    };

    // Clears SavedOutputPath, then reads the file of the values' user, data
    // set and target version (ConditionText::Parse). True when the file
    // exists and both sections were read. False without a folder, without a
    // file, when the file cannot be read, for a path over 260 bytes, and for
    // anything but a regular file of at most 16 MiB.
    static bool LoadConditions(ConditionValues& values, MappingList& mapping);

    // Writes the file whole, creating its folder chain when it is missing
    // (the folders made are removed again when the chain cannot be
    // completed). The old file is replaced only by a complete new one, and
    // never when it is no condition file (as LoadConditions): WriteFailed.
    static SaveResult SaveConditions(const ConditionValues& values, const MappingList& mapping);

    // "UG16_G_%s_%d_%d.env" or "UG30_G_%s_%d_%d.env" of the values; in the
    // user ID, "%" and each byte a file name cannot hold become "%XX".
    static std::string FileName(const ConditionValues& values);
    // The folder of type 1, as the books give it with its trailing
    // backslash, followed by FileName. Empty when the books name no folder
    // or the path would be over 260 bytes.
    static std::string FilePath(const ConditionValues& values);
};
