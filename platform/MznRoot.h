#pragma once

#include <string>

// The folder of the stand-in accounting installation: the books, the drive
// table and the caller endpoints live below it.
class MznRoot {
public:
    // $MZN_ROOT when set and not empty, otherwise
    // ${XDG_DATA_HOME:-$HOME/.local/share}/mizunara. Host path, no trailing slash.
    static std::string Path();
};
