#pragma once

#include <string_view>

class BooksDatabase;
class ClSysUser;
class FaultTable;

// The set manager: the road of the set objects and summation rules to the
// books of the session, and the choice of the data set they work on.
class ClSetMgr {
public:
    explicit ClSetMgr(ClSysUser& user) : user_(user) {}

    // The books of the connection, nullptr when not connected.
    BooksDatabase* Books() const;
    // The forced results of the connection, nullptr when not connected.
    const FaultTable* Faults() const;

    // The number of the data set a data ID names (code page 932), or, for an
    // empty ID, of the data set the session's user has selected.
    // kNotConnected without books, kNoDataSet when there is no such data set.
    int ResolveDataSet(std::string_view dataId, int* number) const;

private:
    int SelectedDataSet(int* number) const;

    ClSysUser& user_;
};
