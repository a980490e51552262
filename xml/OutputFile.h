#pragma once

#include <cstddef>

#include <unistd.h>

// The file object a report is written to, named by a Windows path. Writes go
// straight to the operating system, unbuffered, so that the write that hits
// a full disk is the one that reports it; what the file system reports only
// when the file is flushed and closed fails the close.
class OutputFile {
public:
    // The calls that end a file, so that tests can make them fail the way
    // network file systems and quotas do.
    struct SystemCalls {
        int (*fsync)(int) = ::fsync;
        int (*close)(int) = ::close;
    };

    OutputFile() = default;
    explicit OutputFile(SystemCalls calls) : calls_(calls) {}
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file, or truncates it when it exists, for binary writing.
    // False when the path maps to no host path, when WinFileSystem::
    // MayWriteFile refuses it, or the file cannot be created; the object
    // then stays closed.
    bool Open(const char* windowsPath);
    // Writes all bytes at the end of what was written; false when the file
    // is not open or the system refuses any part of them.
    bool Write(const char* bytes, std::size_t size);
    // Flushes the file to its device and closes it; true when both
    // succeeded, and when it was not open. Network file systems and quotas
    // may report a failed write only here.
    bool Close();
    bool IsOpen() const { return descriptor_ >= 0; }

private:
    SystemCalls calls_;
    int descriptor_ = -1;
};
