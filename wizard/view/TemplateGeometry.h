#pragma once

class DialogUnits;
class QWidget;

// The .ui files of the dialog templates keep every control's rectangle in
// dialog units, as the templates were drawn, so that the numbers can be
// read against them and moved as the UG30 page requires. A page loaded from
// one converts them once into pixels of its font.
class TemplateGeometry {
public:
    // Converts the rectangle of every control of the page (the named child
    // widgets, and the controls inside a group box relative to it) and the
    // page's own size, which becomes its minimum size.
    static void ToPixels(QWidget* page, const DialogUnits& units);
};
