#pragma once

#include <string>
#include <string_view>

// Replaces a file whole, so that a crash, a full disk or a write error never
// leaves it half written: the bytes go to a new file beside it (same folder,
// so the rename below stays on one file system), are flushed to the disk,
// and only then take the old file's place in one rename. Until that rename
// the old file is untouched. A save that is killed leaves its new file
// "<name>.new-<pid>-<n>" behind: each Write first removes those of the
// folder whose process no longer exists.
class AtomicFileWriter {
public:
    // Writes bytes as the file at hostPath. True when the new file is in
    // place; false (errno set by the failing call) when anything failed, the
    // previous file then being unchanged and the new one removed. A
    // replaced file keeps its permission bits; a new one gets 0666 less the
    // umask.
    static bool Write(const std::string& hostPath, std::string_view bytes);
};
