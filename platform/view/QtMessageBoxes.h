#pragma once

#include "platform/MessageBoxes.h"

// Message boxes of the GUI: a modal QMessageBox with the caption, text, icon
// and buttons asked for. The owner's widget, when there is one, is the
// parent; a caller's foreign window cannot parent a Qt window, so such a box
// is shown on its own, centred.
class QtMessageBoxes : public MessageBoxes {
public:
    int Show(MessageOwner owner, const char* text, const char* caption, unsigned style) override;
};
