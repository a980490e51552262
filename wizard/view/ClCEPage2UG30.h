#pragma once

#include "wizard/view/ClCEPage2.h"

// The main-items page of UG30: the template of UG16 with 26 buttons bound
// one item higher from the special gains on, and rearranged, because UG30
// reports special gains and special losses as two totals: the special gains
// take the place of UG16's button 1047 (text 1025), and the special losses
// (text 1034) and the result before tax (text 1024) head the right column,
// whose balance-sheet items move down to make room.
class ClCEPage2UG30 : public ClCEPage2 {
    Q_OBJECT
public:
    explicit ClCEPage2UG30(QWidget* parent = nullptr);

    // Shows and enables the texts 1025 and 1034 and hides and disables
    // button 1047; moves text 1024 to the right column (its top to the top
    // of button 1048, its left edge to that of group box 1045, its size
    // kept); then moves the balance-sheet column down by D, the distance
    // from the top of text 1060 to the top of button 1049, keeping sizes.
    void RelayoutMainItemsUG30();
};
