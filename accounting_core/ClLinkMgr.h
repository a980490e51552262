#pragma once

#include "accounting_core/ClOptLink.h"

// The link manager of the session: hands out the link options that the
// summation rules are attached to (ClRuleBase::AttachOptLink).
class ClLinkMgr {
public:
    static ClLinkMgr* Inst();

    ClOptLink* GetOptLink() { return &optLink_; }

private:
    ClLinkMgr() = default;

    ClOptLink optLink_;
};
