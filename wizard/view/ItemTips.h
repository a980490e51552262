#pragma once

#include <QString>

// The tips of the item buttons: the names of the accounts an item is fed
// by, at most 800 pixels wide, longer texts wrapping onto further lines.
class ItemTips {
public:
    static constexpr int kMaxWidth = 800;

    // The tool-tip text for names in code page 932. Qt's tips wrap rich
    // text at a width of their own choosing, so a text that fits in one
    // line is kept from wrapping, and a longer one is given a box exactly
    // as wide as the tip may be.
    static QString Text(const char* names);
    // The tip's text as the user reads it, without the markup.
    static QString PlainText(const QString& tip);
};
