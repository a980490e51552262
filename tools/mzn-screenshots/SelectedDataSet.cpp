#include "tools/mzn-screenshots/SelectedDataSet.h"

#include "accounting_core/ClAccConnect.h"
#include "accounting_core/ClDataMgr.h"
#include "accounting_core/ClFileMgr.h"
#include "accounting_core/UserStore.h"
#include "app/shell/UserSelection.h"
#include "platform/TextCodec.h"

bool SelectedDataSet::Read(std::int32_t& number) {
    if (!Connect()) return false;
    number = UserSelection::Read().SelectedNo2;
    Disconnect();
    return true;
}

bool SelectedDataSet::Select(std::int32_t number) {
    if (!Connect()) return false;
    ClAccConnect* connection = ClAccConnect::Inst();
    // The session's user is code page 932; the books keep text as UTF-8.
    const TextCodec::Result<std::string> user = TextCodec::Cp932ToUtf8(connection->SessionUser());
    if (!user.ok || user.text.empty()) {
        Disconnect();
        return Fail("the books' current user has no usable name");
    }
    UserStore users(*connection->Books());
    const bool selected = users.Select(user.text, number);
    Disconnect();
    if (!selected) return Fail(users.Error());
    return true;
}

bool SelectedDataSet::Connect() {
    ClAccConnect* connection = ClAccConnect::Inst();
    if (connection->Initiate() == 0) return true;
    const std::string why = connection->LastError();
    ClAccConnect::Release();
    return Fail("cannot open the books: " + why);
}

void SelectedDataSet::Disconnect() {
    ClFileMgr::Release();
    ClDataMgr::Release();
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->LogOut();
    connection->Terminate();
    ClAccConnect::Release();
}

bool SelectedDataSet::Fail(const std::string& why) {
    error_ = why;
    return false;
}
