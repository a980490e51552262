#pragma once

#include <cstdint>
#include <string>

// The data set the books' current user has selected: the run shows the sheet
// of that one. Each call opens its own session with the accounting core and
// ends it again, so that the run that follows connects as it always does.
class SelectedDataSet {
public:
    // The user's selected number (0 when the user has no row yet).
    bool Read(std::int32_t& number);
    // Makes number the user's selection, both numbers of the row alike, as
    // the accounting application keeps them.
    bool Select(std::int32_t number);

    const std::string& Error() const { return error_; }

private:
    bool Connect();
    static void Disconnect();
    bool Fail(const std::string& why);

    std::string error_;
};
