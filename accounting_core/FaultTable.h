#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

class BooksDatabase;

// Forced results of the core's calls, kept in the books' table
// faults(call, result, after), so that every failure path of the link
// program can be walked through the real classes. The connection reads the
// table once, straight after opening the books in Initiate; rows added later
// take effect at the next Initiate.
//
// A row makes the named call return `result` instead of doing its work.
// A result of 0 forces nothing. The calls that can be forced:
//   "Initiate"              the books are closed again and Initiate returns result
//   "ExpSysLink"            1 ends the link quietly, other values as a failure
//   "ClSetShohizei::Get"    the record stays zeroed
//   "MoveReady", "GetSumCount", "SetMovePos"
//   "MoveNext"              after = how many records each walk delivers
//                           normally before every further call returns result
//   "ClRuleKamoku::Create", "ClAccPeriod::Create"
//                           any nonzero result: Create returns nullptr
// `after` counts only for "MoveNext"; other calls fail from their first call.
class FaultTable {
public:
    struct Fault {
        int result = 0;
        int after = 0;
    };

    // False when the table cannot be read; the table is then empty.
    bool Load(BooksDatabase& books);
    void Clear() { faults_.clear(); }

    // The fault of a call, when one with a nonzero result is set.
    std::optional<Fault> Find(std::string_view call) const;
    // The forced result of a call, 0 when none is set.
    int Forced(std::string_view call) const;

private:
    std::map<std::string, Fault, std::less<>> faults_;
};
