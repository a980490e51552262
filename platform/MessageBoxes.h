#pragma once

#include <cstdint>

// Window message-box styles and answers, with the values the system passes
// and tests for (the accounting core's DispMsg passes 0x30 raw).
namespace mb {
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;  // the exclamation icon
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kButtonMask = 0x0F;
inline constexpr unsigned kIconMask = 0xF0;

inline constexpr unsigned kWarningOk = kIconWarning | kOk;
inline constexpr unsigned kQuestionYesNo = kIconQuestion | kYesNo;
inline constexpr unsigned kInformationOk = kIconInformation | kOk;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// The owner of a message box: a window of this program (a QWidget in the Qt
// view; opaque elsewhere) or a caller's foreign window handle, or neither.
struct MessageOwner {
    void* widget = nullptr;
    std::uintptr_t callerWindow = 0;
};

// The one way the system shows a message box. Texts and captions are code
// page 932, shown byte for byte; "\n" in a text is a line break.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and returns the answer (mb::kIdOk, mb::kIdYes, mb::kIdNo).
    virtual int Show(MessageOwner owner, const char* text, const char* caption, unsigned style) = 0;
};
