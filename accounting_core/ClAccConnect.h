#pragma once

#include <cstdint>
#include <string>

#include "accounting_core/BooksDatabase.h"
#include "accounting_core/FaultTable.h"

class MessageBoxes;

// The connection to the accounting books, one per program (Inst). The link
// program writes the caption and owner-window members directly; they are the
// first two data members after the virtual table and are used by DispMsg
// when a call gives no caption or owner of its own.
//
// Session: Initiate opens $MZN_ROOT/books.sqlite3 (it must exist and carry
// the current schema), reads the forced results (FaultTable) and logs the
// current user in: the books' setting 'current_user' when set, otherwise the
// login name of the process. LogOut ends the user's session, Terminate closes
// the books, Release frees the instance (the next Inst makes a fresh,
// unconnected one). The program's shut-down releases the folder and data
// managers (ClFileMgr, ClDataMgr) before it closes the books.
class ClAccConnect {
public:
    char Caption[256] = {};           // code page 932, NUL-terminated
    std::uintptr_t OwnerWindow = 0;   // the caller's window, 0 for none

    virtual ~ClAccConnect();
    ClAccConnect(const ClAccConnect&) = delete;
    ClAccConnect& operator=(const ClAccConnect&) = delete;

    static ClAccConnect* Inst();
    // The instance when one exists and is connected, otherwise nullptr.
    // The other classes of the core reach the books through it.
    static ClAccConnect* Connection();
    // Terminates the session and frees the instance. Static, so that both
    // ClAccConnect::Release() and Inst()->Release() read as the caller means.
    static void Release();

    void SetAppType(int appType) { appType_ = appType; }
    void SetUseDataType(int useDataType) { useDataType_ = useDataType; }
    int AppType() const { return appType_; }
    int UseDataType() const { return useDataType_; }

    // 0 when connected (also when already connected); kNoBooks, kBooksUnusable
    // or the forced result of "Initiate" otherwise, the books closed again.
    int Initiate();
    // 0 = go on, unless "ExpSysLink" is forced; kNotConnected without books.
    int ExpSysLink();
    // 0, or kNotConnected when no user was logged in.
    int LogOut();
    // 0, or kNotConnected when the books were not open.
    int Terminate();

    // The seam through which DispMsg shows its boxes; not owned.
    void SetMessageBoxes(MessageBoxes* boxes) { boxes_ = boxes; }
    // Shows text as a modal message box and returns the answer. A null
    // caption means the caption member, an owner of 0 the owner member.
    // Returns 0 (nothing shown) without a seam or without text.
    int DispMsg(std::uintptr_t owner, const char* text, const char* caption, unsigned style);

    BooksDatabase* Books() { return books_.IsOpen() ? &books_ : nullptr; }
    const FaultTable& Faults() const { return faults_; }
    // The logged-in user's ID, code page 932, at most 64 bytes; empty when
    // no session is open.
    const std::string& SessionUser() const { return sessionUser_; }
    // Why the last Initiate failed.
    const std::string& LastError() const { return error_; }

private:
    ClAccConnect() = default;

    int Fail(int result, const std::string& why);
    bool LogIn();

    int appType_ = 0;
    int useDataType_ = 0;
    BooksDatabase books_;
    FaultTable faults_;
    std::string sessionUser_;
    std::string error_;
    MessageBoxes* boxes_ = nullptr;
};
