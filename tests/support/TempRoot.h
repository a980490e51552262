#pragma once

#include <string>

// A fresh temporary folder made the process's MZN_ROOT for the life of the
// object; the previous value comes back and the folder is removed afterwards.
class TempRoot {
public:
    TempRoot();
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    // Host path of the folder, no trailing slash.
    const std::string& Path() const { return path_; }
    // Host path of a name below the folder.
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
    std::string previous_;
    bool hadPrevious_ = false;
};
