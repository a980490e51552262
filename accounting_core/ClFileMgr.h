#pragma once

#include <map>
#include <string>

// The application folders of the installation (table app_folders), as
// Windows paths: type 0 the default folder of the report file, type 1 the
// folder of the condition files. The paths are read from the books of the
// connection once per instance; Release frees the instance and with it what
// was read.
class ClFileMgr {
public:
    enum Type { kReportFolder = 0, kConditionFolder = 1 };

    static ClFileMgr* Inst();
    static void Release();

    ClFileMgr(const ClFileMgr&) = delete;
    ClFileMgr& operator=(const ClFileMgr&) = delete;

    // Fills path (WinPathText::kPathSize bytes, code page 932) with the folder, ending in a
    // backslash. Empty, with kNotFound, when the books name no such folder;
    // kBadArgument for another type; kNotConnected without books;
    // kBooksError when the folder with its backslash is longer than 260 bytes.
    int GetAppFolderPath(int type, char* path);

private:
    ClFileMgr() = default;

    int ReadFolder(int type, std::string& folder);

    std::map<int, std::string> folders_;  // type -> path read, with its backslash
};
