#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog units of a dialog template turned into pixels as Windows does it
// for a dialog with that font (MapDialogRect): the horizontal base unit is
// the average width of the letters "A".."Z" and "a".."z", rounded
// ((width of the 52 letters / 26 + 1) / 2); the vertical base unit is the
// font's height (ascent + descent). A horizontal dialog unit is a quarter of
// the horizontal base, a vertical one an eighth of the vertical base, each
// product rounded to the nearest pixel, halves away from zero (MulDiv).
// The dialog templates' coordinates can so be kept as they were drawn.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }
    // A control's rectangle; left and top are converted on their own, as
    // are width and height, as Windows converts a template's items.
    QRect Rect(int left, int top, int width, int height) const {
        return QRect(X(left), Y(top), X(width), Y(height));
    }

    // The font of the system's dialogs: "IPAPGothic" 9 point, the stand-in
    // for the templates' proportional Gothic, when it is installed; the
    // application's font otherwise.
    static QFont DialogFont();

private:
    int baseX_;
    int baseY_;
};
