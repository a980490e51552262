#pragma once

#include <array>
#include <string>

// The large books of the benchmarks, made in the books of the current
// MZN_ROOT: one data set (selected by the current user 'bench') of
// kAccounts accounts spread over a small class hierarchy with the ten
// statement totals, each account with sums for the opening, the twelve
// months and the closing adjustments.
class BenchBooks {
public:
    static constexpr int kAccounts = 10000;

    // Makes the books; throws std::runtime_error when they cannot be made.
    static void Make();
    // The identifier of account n (0-based).
    static std::array<unsigned char, 16> AccountId(int n);
    // Throws std::runtime_error with what unless ok.
    static void Require(bool ok, const std::string& what);
};
