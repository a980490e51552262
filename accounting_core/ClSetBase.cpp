#include "accounting_core/ClSetBase.h"

#include <algorithm>

#include "accounting_core/CoreResult.h"

ClSetBase::ClSetBase() = default;

ClSetBase::~ClSetBase() = default;

SetCursor* ClSetBase::NewCursor() {
    cursors_.push_back(std::make_unique<SetCursor>());
    return cursors_.back().get();
}

bool ClSetBase::Owns(const SetCursor* cursor) const {
    return cursor != nullptr && std::any_of(cursors_.begin(), cursors_.end(),
                                            [cursor](const auto& owned) { return owned.get() == cursor; });
}

int ClSetBase::DropCursor(SetCursor* cursor) {
    auto found = std::find_if(cursors_.begin(), cursors_.end(),
                              [cursor](const auto& owned) { return owned.get() == cursor; });
    if (cursor == nullptr || found == cursors_.end()) return core_result::kBadArgument;
    cursors_.erase(found);
    return core_result::kOk;
}
