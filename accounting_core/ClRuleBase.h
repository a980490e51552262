#pragma once

#include "accounting_core/DataSetTarget.h"

class ClOptLink;
class ClSetMgr;

// Base of the summation rules, which the link program creates itself and
// therefore attaches: to the set manager (the road to the books), to a data
// set (SetCurDataID; the selected one while none is set) and to the link
// options.
class ClRuleBase {
public:
    virtual ~ClRuleBase();
    ClRuleBase(const ClRuleBase&) = delete;
    ClRuleBase& operator=(const ClRuleBase&) = delete;

    int AttachSetMgr(ClSetMgr* mgr) { return target_.Attach(mgr); }
    // See DataSetTarget::SetDataId.
    int SetCurDataID(const char* dataId) { return target_.SetDataId(dataId); }
    // 0, or kBadArgument for null (which detaches).
    int AttachOptLink(const ClOptLink* optLink);

protected:
    ClRuleBase() = default;

    const DataSetTarget& Target() const { return target_; }
    const ClOptLink* OptLink() const { return optLink_; }

private:
    DataSetTarget target_;
    const ClOptLink* optLink_ = nullptr;
};
