#pragma once

#include <memory>

#include "wizard/view/ItemButtonsPage.h"

namespace Ui {
class ClCEPage3;
}

// The monthly-sales page "月別売上等" of UG16 (template 132): eight buttons
// in one column, button 1029 + k bound to item MonthlyItemBase + k.
class ClCEPage3 : public ItemButtonsPage {
    Q_OBJECT
public:
    explicit ClCEPage3(QWidget* parent = nullptr);
    ~ClCEPage3() override;

protected:
    ClCEPage3(bool ug30, QWidget* parent);

private:
    std::unique_ptr<Ui::ClCEPage3> ui_;
};
