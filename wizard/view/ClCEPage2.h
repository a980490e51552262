#pragma once

#include <memory>

#include "wizard/view/ItemButtonsPage.h"

namespace Ui {
class ClCEPage2;
}

// The main-items page "主要科目" of UG16 (template 131): the statement's
// main items laid out like the statement, sales and costs on the left,
// assets and liabilities on the right; 27 buttons bound to items, the
// totals as texts.
class ClCEPage2 : public ItemButtonsPage {
    Q_OBJECT
public:
    explicit ClCEPage2(QWidget* parent = nullptr);
    ~ClCEPage2() override;

protected:
    // The page of a version: UG30's differs only in the items behind the
    // buttons and in its arrangement.
    ClCEPage2(bool ug30, QWidget* parent);

private:
    std::unique_ptr<Ui::ClCEPage2> ui_;
};
