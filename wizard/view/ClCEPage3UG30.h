#pragma once

#include "wizard/view/ClCEPage3.h"

// The monthly-sales page of UG30: the same eight buttons, bound one item
// higher (button 1029 stands for item 37).
class ClCEPage3UG30 : public ClCEPage3 {
    Q_OBJECT
public:
    explicit ClCEPage3UG30(QWidget* parent = nullptr);
};
