#include "accounting_core/ClSysUser.h"

#include "accounting_core/BooksStatement.h"
#include "accounting_core/ClAccConnect.h"
#include "accounting_core/CoreResult.h"
#include "accounting_core/RecordText.h"

int ClSysUser::GetCurUserID(char* userId) {
    if (userId == nullptr) return core_result::kBadArgument;
    ClAccConnect* connection = ClAccConnect::Connection();
    const std::string user = connection != nullptr ? connection->SessionUser() : std::string();
    RecordText::CopyCp932(userId, kUserIdSize, user);
    return user.empty() ? core_result::kNotConnected : core_result::kOk;
}

int ClSysUser::GetSelectedNo(const char* userId, std::int32_t* selectedNo1, std::int32_t* selectedNo2) {
    if (selectedNo1 != nullptr) *selectedNo1 = 0;
    if (selectedNo2 != nullptr) *selectedNo2 = 0;
    if (userId == nullptr || selectedNo1 == nullptr || selectedNo2 == nullptr) return core_result::kBadArgument;
    ClAccConnect* connection = ClAccConnect::Connection();
    if (connection == nullptr) return core_result::kNotConnected;

    BooksStatement select(connection->Books()->Handle(),
                          "SELECT selected_no1, selected_no2 FROM users WHERE user_id = ?1");
    select.BindText(1, RecordText::ToUtf8(RecordText::FieldText(userId, kUserIdSize)));
    if (int result = select.StepToRow(core_result::kNotFound); result != core_result::kOk) return result;
    *selectedNo1 = static_cast<std::int32_t>(select.Int(0));
    *selectedNo2 = static_cast<std::int32_t>(select.Int(1));
    return core_result::kOk;
}
