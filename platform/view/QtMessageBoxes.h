#pragma once

#include "platform/MessageBoxes.h"

class QString;

// Message boxes of the GUI: a modal QMessageBox with the caption, text, icon
// and buttons asked for. The owner's widget, when there is one, is the
// parent; a caller's foreign window cannot parent a Qt window, so such a box
// is shown on its own, centred.
class QtMessageBoxes : public MessageBoxes {
public:
    int Show(MessageOwner owner, const char* text, const char* caption, unsigned style) override;

    // Code page 932 text as Qt shows it; undecodable bytes become U+FFFD.
    static QString FromCp932(const char* text);
};
