#include "wizard/SheetButtonLayout.h"

SheetButtonLayout::Placement SheetButtonLayout::Place(int clientWidth, int clientHeight, int buttonHeight) {
    const int w = clientWidth;
    const int q = (w - 20) / 4;
    const int y = clientHeight - clientHeight / 21;
    const int width = q - 10;
    Placement placement;
    placement.back = {8, y, width, buttonHeight};
    placement.next = {q + 2, y, width, buttonHeight};
    placement.execute = {w - 2 * q + 8, y, width, buttonHeight};
    placement.cancel = {w - q + 2, y, width, buttonHeight};
    return placement;
}

int SheetButtonLayout::ClientHeightFor(int contentBottom, int buttonHeight, int gap) {
    int height = contentBottom + buttonHeight + 2 * gap;
    for (;;) {
        const int y = height - height / 21;
        if (y >= contentBottom + gap && height - (y + buttonHeight) >= gap) return height;
        ++height;
    }
}
