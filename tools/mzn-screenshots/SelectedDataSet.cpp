#include "tools/mzn-screenshots/SelectedDataSet.h"

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
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
    bool selected = false;
    std::string why;
    {
        // Finalised before the session closes the books.
        BooksStatement upsert(connection->Books()->Handle(),
                              "INSERT INTO users (user_id, selected_no1, selected_no2) VALUES (?1, ?2, ?2) "
                              "ON CONFLICT (user_id) DO UPDATE SET selected_no1 = excluded.selected_no1, "
                              "selected_no2 = excluded.selected_no2");
        upsert.BindText(1, user.text).Bind(2, number);
        selected = upsert.Run();
        why = upsert.Error();
    }
    Disconnect();
    if (!selected) return Fail("cannot select data set " + std::to_string(number) + ": " + why);
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
    ClAccConnect* connection = ClAccConnect::Inst();
    connection->LogOut();
    connection->Terminate();
    ClAccConnect::Release();
}

bool SelectedDataSet::Fail(const std::string& why) {
    error_ = why;
    return false;
}
