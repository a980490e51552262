#include "wizard/view/ClCEPage3.h"

#include "platform/view/DialogUnits.h"
#include "ui_ClCEPage3.h"
#include "wizard/ItemControls.h"
#include "wizard/view/TemplateGeometry.h"

ClCEPage3::ClCEPage3(QWidget* parent) : ClCEPage3(false, parent) {}

ClCEPage3::ClCEPage3(bool ug30, QWidget* parent)
    : ItemButtonsPage(ItemControls::kMonthlySalesPage, ug30, parent), ui_(std::make_unique<Ui::ClCEPage3>()) {
    setFont(DialogUnits::DialogFont());
    ui_->setupUi(this);
    TemplateGeometry::ToPixels(this, DialogUnits(font()));
    BindItemButtons();
}

ClCEPage3::~ClCEPage3() = default;
