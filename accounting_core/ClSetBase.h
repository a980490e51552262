#pragma once

#include <memory>
#include <vector>

#include "accounting_core/DataSetTarget.h"
#include "accounting_core/SetCursor.h"

class ClSetMgr;

// Base of the set objects that ClDataMgr hands out. They come attached to
// the data manager's set manager; AttachSetMgr attaches again. Cursors of
// their walks are owned here until released, and the ones a caller forgets
// are freed with the object.
class ClSetBase {
public:
    ClSetBase();
    virtual ~ClSetBase();
    ClSetBase(const ClSetBase&) = delete;
    ClSetBase& operator=(const ClSetBase&) = delete;

    int AttachSetMgr(ClSetMgr* mgr) { return target_.Attach(mgr); }
    // See DataSetTarget::SetDataId.
    int SetCurDataID(const char* dataId) { return target_.SetDataId(dataId); }

    // Cursors handed out and not yet released.
    int OpenCursors() const { return static_cast<int>(cursors_.size()); }

protected:
    const DataSetTarget& Target() const { return target_; }
    SetCursor* NewCursor();
    bool Owns(const SetCursor* cursor) const;
    // 0, or kBadArgument for a cursor this object did not hand out.
    int DropCursor(SetCursor* cursor);

private:
    DataSetTarget target_;
    std::vector<std::unique_ptr<SetCursor>> cursors_;
};
