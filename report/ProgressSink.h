#pragma once

#include <cstdint>

// What the aggregation and the report writer tell the progress window. The
// overall scale runs from 0 to 1000 (aggregation 0-500, report 500-1000).
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Steps the overall bar once for every value from `from` to `to`, both
    // ends included; nothing when from > to.
    virtual void AdvanceProgress(std::int16_t from, std::int16_t to) = 0;
    // One refill of the activity bar: a unit of work inside a step.
    virtual void PulseActivity() = 0;
    // count refills in a row, the same as that many PulseActivity calls. The
    // aggregation reports the mapping entries it examines for each account
    // this way: on large books they run into the millions, which a window
    // may want to show without one repaint each.
    virtual void PulseActivities(std::int64_t count) {
        for (std::int64_t i = 0; i < count; ++i) PulseActivity();
    }
};
