#include "wizard/view/ClConditionEntrySheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "platform/view/DialogUnits.h"
#include "wizard/view/ClCEPage1.h"
#include "wizard/view/ClCEPage2.h"
#include "wizard/view/ClCEPage2UG30.h"
#include "wizard/view/ClCEPage3.h"
#include "wizard/view/ClCEPage3UG30.h"
#include "wizard/ItemControls.h"
#include "platform/view/QtText.h"
#include "wizard/SheetButtonLayout.h"

namespace {

// Dialog units of the frame: the margin around the tabs and the height of
// a standard push button.
constexpr int kMarginUnits = 4;
constexpr int kButtonHeightUnits = 14;

using Key = ConditionSheetModel::Key;

Key KeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Escape: return Key::Escape;
        case Qt::Key_F4: return Key::F4;
        case Qt::Key_F5: return Key::F5;
        case Qt::Key_F6: return Key::F6;
        case Qt::Key_F12: return Key::F12;
        default: return Key::Other;
    }
}

unsigned ModifiersOf(Qt::KeyboardModifiers modifiers) {
    unsigned held = 0;
    if (modifiers & Qt::ShiftModifier) held |= ConditionSheetModel::kShift;
    if (modifiers & Qt::ControlModifier) held |= ConditionSheetModel::kCtrl;
    if (modifiers & Qt::AltModifier) held |= ConditionSheetModel::kAlt;
    return held;
}

// The id of a control from its object name "c<id>"; 0 for other widgets.
int ControlIdOf(const QObject* widget) {
    const QString name = widget->objectName();
    if (!name.startsWith(QLatin1Char('c'))) return 0;
    bool ok = false;
    const int id = name.mid(1).toInt(&ok);
    return ok ? id : 0;
}

QString ControlName(int controlId) { return QStringLiteral("c%1").arg(controlId); }

QRect ToQRect(const SheetButtonLayout::Rect& rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

}  // namespace

ClConditionEntrySheet::ClConditionEntrySheet(const char* caption, QWidget* parent, int initialPage,
                                             std::int32_t targetVersion, MappingList& mapping, ItemList& items,
                                             MessageBoxes& boxes, FileDialogs& fileDialogs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      model_(targetVersion, mapping, items, boxes, fileDialogs) {
    setObjectName(QStringLiteral("ConditionEntrySheet"));
    setWindowTitle(QtText::FromCp932(caption != nullptr ? caption : ""));
    setFont(DialogUnits::DialogFont());
    model_.SetView(this);

    BuildPages(initialPage);
    backButton_ = MakeButton(ConditionSheetModel::kBackButton, "前へ(F5)");
    nextButton_ = MakeButton(ConditionSheetModel::kNextButton, "次へ(F6)");
    executeButton_ = MakeButton(ConditionSheetModel::kExecuteButton, "実行(F12)");
    cancelButton_ = MakeButton(ConditionSheetModel::kCancelButton, "キャンセル(Esc)");
    SizeSheet();

    // The sheet sees every key before the focused control does.
    qApp->installEventFilter(this);
}

ClConditionEntrySheet::~ClConditionEntrySheet() { qApp->removeEventFilter(this); }

void ClConditionEntrySheet::BuildPages(int initialPage) {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    page1_ = new ClCEPage1(this);
    if (model_.IsUg30()) {
        page2Ug30_ = new ClCEPage2UG30(this);
        page2_ = page2Ug30_;
        page3_ = new ClCEPage3UG30(this);
    } else {
        page2_ = new ClCEPage2(this);
        page3_ = new ClCEPage3(this);
    }
    page1_->setObjectName(QStringLiteral("page1"));
    page2_->setObjectName(QStringLiteral("page2"));
    page3_->setObjectName(QStringLiteral("page3"));
    tabs_->addTab(page1_, QtText::FromCp932("集計条件"));
    tabs_->addTab(page2_, QtText::FromCp932("主要科目"));
    tabs_->addTab(page3_, QtText::FromCp932("月別売上等"));
    tabs_->setCurrentIndex(initialPage);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { model_.PageActivated(page); });
}

QPushButton* ClConditionEntrySheet::MakeButton(int controlId, const char* text) {
    auto* button = new QPushButton(QtText::FromCp932(text), this);
    button->setObjectName(ControlName(controlId));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    connect(button, &QPushButton::clicked, this, [this, controlId]() {
        switch (controlId) {
            case ConditionSheetModel::kExecuteButton: Finish(model_.Execute()); break;
            case ConditionSheetModel::kCancelButton: Finish(model_.ConfirmCancel()); break;
            case ConditionSheetModel::kBackButton: model_.GoBack(); break;
            case ConditionSheetModel::kNextButton: model_.GoNext(); break;
            default: break;
        }
    });
    return button;
}

// The tabs take the size of the largest page; the client area is the tabs
// with a margin, and tall enough that the button row below them fits. The
// row sits at H - H / 21, so it needs a client area of some height whatever
// the pages; the tabs then grow down to just above it.
void ClConditionEntrySheet::SizeSheet() {
    const DialogUnits units(font());
    const int margin = units.X(kMarginUnits);
    const int gap = units.Y(kMarginUnits);
    buttonHeight_ = units.Y(kButtonHeightUnits);
    const QSize tabsSize = tabs_->sizeHint().expandedTo(tabs_->minimumSizeHint());
    tabs_->setGeometry(QRect(QPoint(margin, margin), tabsSize));
    const int width = tabs_->geometry().right() + 1 + margin;
    const int height = SheetButtonLayout::ClientHeightFor(tabs_->geometry().bottom() + 1, buttonHeight_, gap);
    setFixedSize(width, height);
    const int rowTop = SheetButtonLayout::Place(width, height, buttonHeight_).back.top;
    tabs_->resize(tabsSize.width(), rowTop - gap - margin);
}

int ClConditionEntrySheet::exec() {
    Initialise();
    return QDialog::exec();
}

bool ClConditionEntrySheet::Initialise() { return model_.Initialise(); }

void ClConditionEntrySheet::showEvent(QShowEvent* event) {
    Initialise();
    QDialog::showEvent(event);
}

QPushButton* ClConditionEntrySheet::Button(int controlId) const {
    switch (controlId) {
        case ConditionSheetModel::kBackButton: return backButton_;
        case ConditionSheetModel::kNextButton: return nextButton_;
        case ConditionSheetModel::kExecuteButton: return executeButton_;
        case ConditionSheetModel::kCancelButton: return cancelButton_;
        default: return nullptr;
    }
}

void ClConditionEntrySheet::Finish(int result) {
    if (result != ConditionSheetModel::kStaysOpen) done(result);
}

bool ClConditionEntrySheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Keys of the message boxes and dialogs opened over the sheet are
    // theirs.
    if (widget == nullptr || widget->window() != this) return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const Key key = KeyOf(keyEvent->key());
    const unsigned modifiers = ModifiersOf(keyEvent->modifiers());
    if (event->type() == QEvent::KeyRelease) return ConditionSheetModel::SwallowsKey(key, modifiers);
    const ConditionSheetModel::KeyOutcome outcome = model_.HandleKey(key, modifiers, ControlIdOf(widget));
    Finish(outcome.result);
    return outcome.consumed;
}

void ClConditionEntrySheet::closeEvent(QCloseEvent* event) {
    // The window manager's close request (the close box, Alt+F4) is refused.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ClConditionEntrySheet::reject() {}

void ClConditionEntrySheet::ConnectPages() {
    page1_->SetSheet(&model_);
    page2_->SetSheet(&model_);
    page3_->SetSheet(&model_);
}

void ClConditionEntrySheet::ActivatePage(int page) {
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(page);
}

void ClConditionEntrySheet::ShowButtonStates(bool backEnabled, bool nextEnabled) {
    backButton_->setEnabled(backEnabled);
    nextButton_->setEnabled(nextEnabled);
}

void ClConditionEntrySheet::ShowSheetValues(bool locked) { page1_->ShowSheetValues(locked); }

void ClConditionEntrySheet::ShowOutputPath() { page1_->ShowOutputPath(); }

void ClConditionEntrySheet::FocusControl(int controlId, bool selectAll) {
    QWidget* control = Button(controlId);
    if (control == nullptr && tabs_->currentWidget() != nullptr)
        control = tabs_->currentWidget()->findChild<QWidget*>(ControlName(controlId));
    if (control == nullptr) return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control); edit != nullptr && selectAll) edit->selectAll();
}

ItemButtonsPage* ClConditionEntrySheet::ItemPage(int page) const {
    if (page == ItemControls::kMainItemsPage) return page2_;
    if (page == ItemControls::kMonthlySalesPage) return page3_;
    return nullptr;
}

void ClConditionEntrySheet::ApplyItemCaptions() { ApplyCaptionsOf(model_.Items()); }

void ClConditionEntrySheet::DisableItemControls() {
    // No item definitions: the pages' own texts, the version's arrangement,
    // and not one item button to press or to read a placeholder on.
    ApplyCaptionsOf(ItemList{});
    page2_->DisableItemControls();
    page3_->DisableItemControls();
}

void ClConditionEntrySheet::ApplyCaptionsOf(const ItemList& items) {
    const bool netAssets = model_.Values.NetAssetsCaption != 0;
    for (const ItemControls::Caption& caption : ItemControls::Captions(items, model_.IsUg30(), netAssets)) {
        ItemButtonsPage* page = ItemPage(caption.page);
        QWidget* control = page != nullptr ? page->Control(caption.controlId) : nullptr;
        if (control == nullptr) continue;
        const QSignalBlocker block(control);
        const QString text = QtText::FromCp932(caption.text);
        if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
        if (caption.kind == ItemControls::Kind::Button) control->setEnabled(caption.enabled);
    }
    if (page2Ug30_ != nullptr) page2Ug30_->RelayoutMainItemsUG30();
}

void ClConditionEntrySheet::CreateItemTips() {
    page2_->CreateItemTips();
    page3_->CreateItemTips();
}

void ClConditionEntrySheet::LayOutButtons() {
    const SheetButtonLayout::Placement placement = SheetButtonLayout::Place(width(), height(), buttonHeight_);
    cancelButton_->setGeometry(ToQRect(placement.cancel));
    executeButton_->setGeometry(ToQRect(placement.execute));
    backButton_->setGeometry(ToQRect(placement.back));
    nextButton_->setGeometry(ToQRect(placement.next));
    for (QPushButton* button : {cancelButton_, executeButton_, backButton_, nextButton_}) button->show();
}

void ClConditionEntrySheet::PressItemButton(int controlId) {
    if (ItemButtonsPage* page = ItemPage(model_.ActivePage())) page->PressItemButton(controlId);
}

// The seams take the owner as a QWidget behind a void pointer: the pointer
// must be the QWidget's, not the sheet's (which has a second base).
MessageOwner ClConditionEntrySheet::BoxOwner() const {
    MessageOwner owner;
    owner.widget = static_cast<QWidget*>(const_cast<ClConditionEntrySheet*>(this));
    return owner;
}

void* ClConditionEntrySheet::DialogOwner() const { return static_cast<QWidget*>(page1_); }
