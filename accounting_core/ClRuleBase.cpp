#include "accounting_core/ClRuleBase.h"

#include "accounting_core/CoreResult.h"

ClRuleBase::~ClRuleBase() = default;

int ClRuleBase::AttachOptLink(const ClOptLink* optLink) {
    optLink_ = optLink;
    return optLink != nullptr ? core_result::kOk : core_result::kBadArgument;
}
