#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "wizard/FileDialogs.h"

// File dialogs without a dialog: answers come from a queue and every
// request is recorded. With nothing queued every request is cancelled,
// which is what a batch run, with nobody to ask, needs.
class ScriptedFileDialogs : public FileDialogs {
public:
    // The next dialog confirms this Windows path (code page 932).
    void QueueChoice(const std::string& windowsPath) { answers_.emplace_back(windowsPath); }
    // The next dialog is cancelled.
    void QueueCancel() { answers_.emplace_back(std::nullopt); }

    bool AskSaveFile(void* owner, const SaveFileRequest& request, std::string& chosen) override;

    const std::vector<SaveFileRequest>& Requests() const { return requests_; }
    std::size_t PendingAnswers() const { return answers_.size(); }

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<SaveFileRequest> requests_;
};
