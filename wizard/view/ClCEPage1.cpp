#include "wizard/view/ClCEPage1.h"

#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <algorithm>

#include "platform/view/DialogUnits.h"
#include "ui_ClCEPage1.h"
#include "wizard/ConditionSheetModel.h"
#include "platform/view/QtText.h"
#include "wizard/view/TemplateGeometry.h"

namespace {

constexpr const char* kLockedGroupTitle = "出力先";
// What the user may type into the path edit; the program may put in more.
constexpr int kTypedPathLimit = 255;

}  // namespace

ClCEPage1::ClCEPage1(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::ClCEPage1>()) {
    setFont(DialogUnits::DialogFont());
    ui_->setupUi(this);
    TemplateGeometry::ToPixels(this, DialogUnits(font()));
    ui_->c1002->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    connect(ui_->c1002, &QLineEdit::textChanged, this, &ClCEPage1::OnEndMonthEdited);
    connect(ui_->c1003, &QCheckBox::clicked, this, &ClCEPage1::OnTaxIncludedClicked);
    connect(ui_->c1008, &QLineEdit::textChanged, this, &ClCEPage1::OnPathEdited);
    connect(ui_->c1007, &QPushButton::clicked, this, &ClCEPage1::OnBrowseClicked);
}

ClCEPage1::~ClCEPage1() = default;

void ClCEPage1::ShowSheetValues(bool locked) {
    if (sheet_ == nullptr) return;
    const ConditionSheetValues& values = sheet_->Values;
    ui_->c1010->setText(QtText::FromCp932(values.CompanyNameText));
    ui_->c1012->setText(QtText::FromCp932(values.PeriodText));
    ui_->c1014->setText(QString::number(values.StartMonth));
    {
        const QSignalBlocker blockMonth(ui_->c1002);
        const QSignalBlocker blockTax(ui_->c1003);
        ui_->c1002->setText(QString::number(values.EndMonth));
        ui_->c1003->setChecked(values.TaxIncluded != 0);
    }
    if (locked) {
        ui_->c1008->setEnabled(false);
        ui_->c1007->setEnabled(false);
        ui_->c1019->setTitle(QtText::FromCp932(kLockedGroupTitle));
    }
    ShowOutputPath();
}

void ClCEPage1::ShowOutputPath() {
    if (sheet_ == nullptr) return;
    const QString path = QtText::FromCp932(sheet_->Values.OutputPath);
    const QSignalBlocker block(ui_->c1008);
    // A longer path (from the caller) is shown whole, as the limit only
    // holds for typing.
    ui_->c1008->setMaxLength(std::max<int>(kTypedPathLimit, static_cast<int>(path.size())));
    ui_->c1008->setText(path);
}

void ClCEPage1::OnEndMonthEdited(const QString& text) {
    if (sheet_ != nullptr) sheet_->EndMonthTextChanged(QtText::ToCp932(text));
}

void ClCEPage1::OnTaxIncludedClicked(bool checked) {
    if (sheet_ != nullptr) sheet_->TaxIncludedClicked(checked);
}

void ClCEPage1::OnPathEdited(const QString& text) {
    if (sheet_ != nullptr) sheet_->OutputPathTextChanged(QtText::ToCp932(text));
}

void ClCEPage1::OnBrowseClicked() {
    if (sheet_ != nullptr) sheet_->BrowseOutputFile();
}
