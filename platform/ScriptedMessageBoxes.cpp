#include "platform/ScriptedMessageBoxes.h"

int ScriptedMessageBoxes::Show(MessageOwner owner, const char* text, const char* caption, unsigned style) {
    int answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else {
        ++unscripted_;
        answer = (style & mb::kButtonMask) == mb::kYesNo ? mb::kIdNo : mb::kIdOk;
    }
    shown_.push_back(Shown{owner, text != nullptr ? text : "", caption != nullptr ? caption : "", style, answer});
    return answer;
}

void ScriptedMessageBoxes::Clear() {
    answers_.clear();
    shown_.clear();
    unscripted_ = 0;
}
