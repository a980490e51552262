#include "wizard/view/ClCEPage2UG30.h"

ClCEPage2UG30::ClCEPage2UG30(QWidget* parent) : ClCEPage2(true, parent) {}

void ClCEPage2UG30::RelayoutMainItemsUG30() {
    for (int id : {1025, 1034}) {
        QWidget* text = Control(id);
        text->setVisible(true);
        text->setEnabled(true);
    }
    QWidget* specialResult = Control(1047);
    specialResult->setVisible(false);
    specialResult->setEnabled(false);

    QWidget* beforeTax = Control(1024);
    beforeTax->move(Control(1045)->x(), Control(1048)->y());

    const int d = Control(1049)->y() - Control(1060)->y();
    for (int id : {1060, 1062, 1035, 1044, 1053, 1045, 1054, 1048, 1049, 1050, 1051, 1052, 1055, 1056, 1057, 1058,
                   1061, 1063, 1064, 1065}) {
        QWidget* control = Control(id);
        control->move(control->x(), control->y() + d);
    }
}
