#pragma once

// Result codes of the accounting core's calls. 0 is success everywhere; the
// link program tests only for 0, for ExpSysLink's 1 and for the end of a
// summation walk (5000). The other values tell a reader of a log or a test
// why a call failed.
namespace core_result {
inline constexpr int kOk = 0;
inline constexpr int kEndOfSet = 1;        // a walk of data sets or accounts has no record left
inline constexpr int kNotConnected = 2;    // no open books: Initiate has not succeeded, or Terminate ran
inline constexpr int kNotReady = 3;        // a cursor or summation used before it was readied, or no set manager
inline constexpr int kBadArgument = 4;     // null record, foreign cursor, unknown kind, type or option
inline constexpr int kBadCriteria = 5;     // find or summation conditions this core does not know
inline constexpr int kNoDataSet = 6;       // no data set has that data ID, or the user has selected none
inline constexpr int kNotFound = 7;        // the looked-up row does not exist
inline constexpr int kBooksError = 8;      // a statement on the books failed, or they hold an unusable value
inline constexpr int kOverflow = 9;        // a total's sum leaves the 64-bit range
inline constexpr int kNoBooks = 10;        // Initiate: no books under MZN_ROOT
inline constexpr int kBooksUnusable = 11;  // Initiate: not books, damaged, or another schema version
inline constexpr int kEndOfSums = 5000;    // MoveNext: no summary record left
}  // namespace core_result
