#include "wizard/view/AccountMappingDialog.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QStringList>
#include <QTreeWidgetItem>

#include <cstring>
#include <string>

#include "platform/view/DialogUnits.h"
#include "platform/view/QtText.h"
#include "ui_AccountMappingDialog.h"
#include "wizard/AccountMappingModel.h"

namespace {

constexpr const char* kCaption = "集約科目対応設定";
constexpr const char* kAllAccountsText = "全ての科目から選択する。(&A)";
constexpr const char* kApplyText = "設定(F12)";
constexpr const char* kCancelText = "キャンセル(Esc)";
constexpr const char* kCodeColumn = "コード";
constexpr const char* kNameColumn = "科目名";

// The list's width is shared out in fourteenths: three for the code, the
// rest (and what the division leaves) for the name.
constexpr int kWidthParts = 14;
constexpr int kCodeParts = 3;
constexpr int kNameParts = 11;

QString Text(const char* cp932) {
    return QtText::FromCp932(cp932);
}

// The .ui file holds the template's dialog units.
void ToPixels(QWidget* control, const DialogUnits& units) {
    const QRect drawn = control->geometry();
    control->setGeometry(units.Rect(drawn.x(), drawn.y(), drawn.width(), drawn.height()));
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

AccountMappingDialog::AccountMappingDialog(const ReportItem& item, MappingList& mapping, const MappingList& defaults,
                                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::AccountMappingDialog>()),
      model_(std::make_unique<AccountMappingModel>(item, mapping, defaults)) {
    ui_->setupUi(this);
    SetUpControls(item);
    SetUpColumns();
    SetUpContextMenu();
    model_->Initialise();
    ShowModel();
    ConnectControls();
    ui_->c1030->setFocus();
}

AccountMappingDialog::~AccountMappingDialog() = default;

void AccountMappingDialog::SetUpControls(const ReportItem& item) {
    setFont(DialogUnits::DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.Size(width(), height()));
    for (QWidget* control :
         {static_cast<QWidget*>(ui_->c1030), static_cast<QWidget*>(ui_->c1031), static_cast<QWidget*>(ui_->c1032),
          static_cast<QWidget*>(ui_->c1033), static_cast<QWidget*>(ui_->c1034)})
        ToPixels(control, units);

    setWindowTitle(Text(kCaption));
    ui_->c1034->setText(Text(std::string(item.Caption, strnlen(item.Caption, sizeof item.Caption)).c_str()));
    ui_->c1031->setText(Text(kAllAccountsText));
    ui_->c1032->setText(Text(kApplyText));
    ui_->c1033->setText(Text(kCancelText));
}

void AccountMappingDialog::SetUpColumns() {
    QTreeWidget* list = ui_->c1030;
    list->setHeaderLabels({Text(kCodeColumn), Text(kNameColumn)});
    QHeaderView* header = list->header();
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The client area as it is before any row makes a scroll bar appear.
    const int width = list->maximumViewportSize().width();
    list->setColumnWidth(0, kCodeParts * (width / kWidthParts));
    list->setColumnWidth(1, kNameParts * (width / kWidthParts) + width % kWidthParts);
}

void AccountMappingDialog::SetUpContextMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("contextMenu"));
    for (int command = 1; command <= AccountMappingModel::kCommandCount; ++command) {
        QAction* action = menu_->addAction(Text(AccountMappingModel::CommandText(command)));
        action->setObjectName(QStringLiteral("menu%1").arg(command));
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
}

void AccountMappingDialog::ConnectControls() {
    connect(ui_->c1030, &QTreeWidget::itemChanged, this, &AccountMappingDialog::RowChanged);
    connect(ui_->c1031, &QCheckBox::clicked, this, &AccountMappingDialog::AllAccountsBoxClicked);
    connect(ui_->c1032, &QPushButton::clicked, this, &AccountMappingDialog::ApplyMapping);
    connect(ui_->c1033, &QPushButton::clicked, this, &AccountMappingDialog::reject);
    for (QObject* control : {static_cast<QObject*>(ui_->c1030), static_cast<QObject*>(ui_->c1031),
                             static_cast<QObject*>(ui_->c1032), static_cast<QObject*>(ui_->c1033)})
        control->installEventFilter(this);
    ui_->c1030->viewport()->installEventFilter(this);
}

int AccountMappingDialog::exec() {
    return QDialog::exec() == kApplied ? kApplied : kCancelled;
}

void AccountMappingDialog::reject() {
    done(kCancelled);
}

void AccountMappingDialog::ShowModel() {
    showing_ = true;
    QTreeWidget* list = ui_->c1030;
    const auto& rows = model_->Rows();
    if (shownGeneration_ != model_->ListGeneration()) {
        list->clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(rows.size()));
        for (const AccountMappingModel::Row& row : rows) {
            auto* item = new QTreeWidgetItem(QStringList{Text(row.code.c_str()), Text(row.name.c_str())});
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
                           Qt::ItemNeverHasChildren);
            item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
            items.append(item);
        }
        list->addTopLevelItems(items);
        shownGeneration_ = model_->ListGeneration();
    } else {
        for (std::size_t index = 0; index < rows.size(); ++index)
            list->topLevelItem(static_cast<int>(index))
                ->setCheckState(0, rows[index].ticked ? Qt::Checked : Qt::Unchecked);
    }
    ui_->c1031->setChecked(model_->AllAccounts());
    showing_ = false;
}

void AccountMappingDialog::RowChanged(QTreeWidgetItem* row, int column) {
    if (showing_ || column != 0) return;
    const int index = ui_->c1030->indexOfTopLevelItem(row);
    if (index >= 0) model_->SetTicked(static_cast<std::size_t>(index), row->checkState(0) == Qt::Checked);
}

void AccountMappingDialog::AllAccountsBoxClicked(bool ticked) {
    model_->AllAccountsBoxClicked(ticked);
    ShowModel();
}

void AccountMappingDialog::RunCommand(int command) {
    model_->RunCommand(command);
    ShowModel();
}

// The space bar ticks or unticks the focused row, whichever of its columns
// holds the focus after a click.
void AccountMappingDialog::ToggleCurrentRow() {
    QTreeWidgetItem* row = ui_->c1030->currentItem();
    if (row == nullptr) return;
    row->setCheckState(0, row->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void AccountMappingDialog::OpenContextMenu(const QPoint& globalPosition) {
    menu_->exec(globalPosition);
}

void AccountMappingDialog::ApplyMapping() {
    model_->ApplyMapping();
    done(kApplied);
}

bool AccountMappingDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (plain && HandleKey(watched, key->key())) return true;
        if (plain && watched == ui_->c1030 && key->key() == Qt::Key_Space) {
            ToggleCurrentRow();
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu && watched == ui_->c1030->viewport()) {
        // Only a right click opens the menu; the keyboard's menu key does not.
        const auto* request = static_cast<QContextMenuEvent*>(event);
        if (request->reason() == QContextMenuEvent::Mouse) {
            OpenContextMenu(request->globalPos());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool AccountMappingDialog::HandleKey(QObject* watched, int key) {
    if (key == Qt::Key_F12) {
        ApplyMapping();
        return true;
    }
    if (!IsEnter(key)) return false;
    if (watched == ui_->c1030) {
        ui_->c1031->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (watched == ui_->c1031) {
        ui_->c1032->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (watched == ui_->c1032) {
        ApplyMapping();
        return true;
    }
    return false;
}
