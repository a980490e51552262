#include "wizard/view/ClCEPage3UG30.h"

ClCEPage3UG30::ClCEPage3UG30(QWidget* parent) : ClCEPage3(true, parent) {}
