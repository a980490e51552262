#pragma once

// The link options of the session: which optional ledgers take part in the
// summation rules. These books keep no department ledgers, so a summation
// by department is never available; ClRuleKamoku refuses one.
class ClOptLink {
public:
    bool DepartmentLedgers() const { return false; }
};
