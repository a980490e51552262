#pragma once

// What the fuzz targets share: a broken invariant aborts with its reason, and inputs and outputs live in
// allocations of exactly their size, so that the address sanitizer sees any read or write past them.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

inline void Require(bool condition, const char* what) {
    if (!condition) std::fprintf(stderr, "fuzz invariant broken: %s\n", what), std::abort();
}

// A text field that ends in a NUL with nothing but NULs behind it.
inline bool IsCleanField(std::string_view field) {
    return field.find('\0') != field.npos && field.find_first_not_of('\0', field.find('\0')) == field.npos;
}

// The input bytes in an exact-size heap copy.
struct Input {
    Input(const uint8_t* data, size_t size) : bytes(data, data + size) {}
    std::string_view Text() const { return {bytes.data(), bytes.size()}; }
    std::vector<char> bytes;
};

// An output buffer of size bytes followed by 16 guard bytes "Z", which must stay.
struct Guarded {
    explicit Guarded(std::size_t size) : size(size), bytes(size + 16, 'Z') {}
    char* Data() { return bytes.data(); }
    bool Intact(std::size_t from) const { return bytes.find_first_not_of('Z', from) == std::string::npos; }
    std::size_t size;
    std::string bytes;
};
