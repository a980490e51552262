#pragma once

// Where the condition sheet puts its four own buttons: one row near the
// bottom of the client area, back and next at the left, execute and cancel
// at the right. W and H are the client area's width and height, h the
// height of a standard button; q = (W - 20) / 4 and y = H - H / 21
// (integer divisions). Each button is q - 10 wide and h high, at height y.
class SheetButtonLayout {
public:
    struct Rect {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool operator==(const Rect&) const = default;
    };

    struct Placement {
        Rect back;     // left edge 8
        Rect next;     // left edge q + 2
        Rect execute;  // left edge W - 2q + 8
        Rect cancel;   // left edge W - q + 2
    };

    static Placement Place(int clientWidth, int clientHeight, int buttonHeight);

    // The smallest client height whose button row starts at least gap below
    // contentBottom and ends at least gap above the bottom edge: y moves down
    // by H / 21 as H grows, so the row needs a certain height to fit at all.
    static int ClientHeightFor(int contentBottom, int buttonHeight, int gap);
};
