#include "wizard/view/ClCEPage2.h"

#include "platform/view/DialogUnits.h"
#include "ui_ClCEPage2.h"
#include "wizard/ItemControls.h"
#include "wizard/view/TemplateGeometry.h"

ClCEPage2::ClCEPage2(QWidget* parent) : ClCEPage2(false, parent) {}

ClCEPage2::ClCEPage2(bool ug30, QWidget* parent)
    : ItemButtonsPage(ItemControls::kMainItemsPage, ug30, parent), ui_(std::make_unique<Ui::ClCEPage2>()) {
    setFont(DialogUnits::DialogFont());
    ui_->setupUi(this);
    TemplateGeometry::ToPixels(this, DialogUnits(font()));
    BindItemButtons();
}

ClCEPage2::~ClCEPage2() = default;
