#pragma once

#include <array>
#include <cstdint>
#include <string>

struct StFINDINFO;

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
    // The summation walk the aggregation makes over the books, doing
    // nothing with the records but adding up one amount into checksum (so
    // that no compiler drops the walk); the number of records, or -1 when
    // the summation is not ready.
    static std::int64_t WalkSums(const StFINDINFO* criteria, std::int64_t& checksum);
    // Throws std::runtime_error with what unless ok.
    static void Require(bool ok, const std::string& what);
};
