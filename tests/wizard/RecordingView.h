#pragma once

#include <string>
#include <vector>

#include "wizard/ConditionSheetModel.h"
#include "wizard/ConditionSheetView.h"

// A view that writes down what the model asks of it, with the model's state
// where the order matters: what ShowSheetValues shows and whether the items
// were loaded when the captions were asked for.
class RecordingView : public ConditionSheetView {
public:
    explicit RecordingView(ConditionSheetModel& model) : model_(model) { model.SetView(this); }

    void ConnectPages() override { calls.push_back("ConnectPages"); }
    void ActivatePage(int page) override { calls.push_back("ActivatePage " + std::to_string(page)); }
    void ShowButtonStates(bool back, bool next) override {
        calls.push_back(std::string("Buttons ") + (back ? "back" : "-") + " " + (next ? "next" : "-"));
    }
    void ShowSheetValues(bool locked) override {
        calls.push_back(std::string("ShowSheetValues ") + (locked ? "locked " : "") +
                        std::to_string(model_.Values.StartMonth) + "-" + std::to_string(model_.Values.EndMonth) +
                        " " + model_.Values.OutputPath);
    }
    void ShowOutputPath() override { calls.push_back("ShowOutputPath " + model_.Values.OutputPath); }
    void FocusControl(int id, bool selectAll) override {
        calls.push_back("Focus " + std::to_string(id) + (selectAll ? " all" : ""));
    }
    void ApplyItemCaptions() override {
        calls.push_back("ApplyItemCaptions " + std::to_string(model_.Items().size()));
    }
    void DisableItemControls() override { calls.push_back("DisableItemControls"); }
    void CreateItemTips() override { calls.push_back("CreateItemTips"); }
    void LayOutButtons() override { calls.push_back("LayOutButtons"); }
    void PressItemButton(int id) override { calls.push_back("Press " + std::to_string(id)); }
    void* DialogOwner() const override { return const_cast<RecordingView*>(this); }

    // The calls since the last Take, and forgets them.
    std::vector<std::string> Take() {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }

    std::vector<std::string> calls;

private:
    ConditionSheetModel& model_;
};
