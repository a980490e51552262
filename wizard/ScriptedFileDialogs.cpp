#include "wizard/ScriptedFileDialogs.h"

bool ScriptedFileDialogs::AskSaveFile(void* /*owner*/, const SaveFileRequest& request, std::string& chosen) {
    requests_.push_back(request);
    if (answers_.empty()) return false;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    if (!answer) return false;
    chosen = *answer;
    return true;
}
