#pragma once

#include <string>
#include <string_view>

// Small helpers the tests share for real files.
namespace testfiles {

// UTF-8 bytes of a u8 literal: host file names and SQLite text are UTF-8,
// while narrow literals in this code base are code page 932.
inline std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// Writes the bytes exactly (binary); false when the file cannot be written.
bool WriteFile(const std::string& hostPath, std::string_view bytes);
// The whole file; empty when it cannot be read.
std::string ReadFile(const std::string& hostPath);

}  // namespace testfiles
