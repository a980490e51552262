#include "app/shell/UserSelection.h"

#include "accounting_core/ClDataMgr.h"

UserSelection UserSelection::Read() {
    UserSelection selection;
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    user->GetCurUserID(selection.UserId);
    user->GetSelectedNo(selection.UserId, &selection.SelectedNo1, &selection.SelectedNo2);
    return selection;
}
