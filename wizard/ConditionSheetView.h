#pragma once

#include "platform/MessageBoxes.h"

// What the condition sheet's model asks of the window that shows it. The
// Qt sheet implements it; a batch run has no window and uses this class as
// it is: every call does nothing, and message boxes have no owner.
class ConditionSheetView {
public:
    virtual ~ConditionSheetView() = default;

    // Gives the pages of the variant their back pointer to the sheet.
    virtual void ConnectPages() {}
    // Brings page 0 (conditions), 1 (main items) or 2 (monthly sales) to the
    // front.
    virtual void ActivatePage(int /*page*/) {}
    // Enables the back and next buttons as the active page wants them.
    virtual void ShowButtonStates(bool /*backEnabled*/, bool /*nextEnabled*/) {}
    // Puts the sheet's values into the conditions page's controls without
    // running their change handlers; locked disables the path controls.
    virtual void ShowSheetValues(bool /*locked*/) {}
    // Puts OutputPath into the path edit, again without change handlers.
    virtual void ShowOutputPath() {}
    // Focuses a control of the active page or one of the sheet's own
    // buttons, selecting an edit's whole text when asked.
    virtual void FocusControl(int /*controlId*/, bool /*selectAll*/) {}
    // Captions and enabled states of the item controls (and the UG30
    // arrangement of the main-items page), from the loaded ItemList.
    virtual void ApplyItemCaptions() {}
    // Disables every item control: there are no item definitions to map.
    virtual void DisableItemControls() {}
    // The tips of the item buttons, once.
    virtual void CreateItemTips() {}
    // Size, place and show the sheet's own four buttons.
    virtual void LayOutButtons() {}
    // Presses the item button of the active page (Enter on it).
    virtual void PressItemButton(int /*controlId*/) {}
    // The owner of the sheet's message boxes.
    virtual MessageOwner BoxOwner() const { return {}; }
    // The owner of the save-file dialog: the conditions page.
    virtual void* DialogOwner() const { return nullptr; }
};
