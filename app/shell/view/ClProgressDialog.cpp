#include "app/shell/view/ClProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <cstdio>

#include "platform/view/DialogUnits.h"
#include "platform/view/QtText.h"

namespace {

constexpr const char* kCaption = "集計中";
// The caption is built in a buffer of this size.
constexpr std::size_t kCaptionSize = 64;

// Template 133, in dialog units.
constexpr int kWidth = 221;
constexpr int kHeight = 45;
struct ControlRect {
    int left, top, width, height;
};
constexpr ControlRect kOverallRect{5, 6, 211, 22};   // control 1000
constexpr ControlRect kActivityRect{5, 29, 211, 10};  // control 1001

// The activity bar is drawn in blocks, as a bar without the smooth style is.
const char* const kSegmentedStyle =
    "QProgressBar { border: 1px solid palette(mid); background: palette(base); padding: 1px; }"
    "QProgressBar::chunk { background-color: palette(highlight); width: 6px; margin-right: 2px; }";

QProgressBar* MakeBar(QWidget* parent, const char* name, const DialogUnits& units, const ControlRect& rect) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setTextVisible(false);
    bar->setGeometry(units.Rect(rect.left, rect.top, rect.width, rect.height));
    // A new bar of the template stands at the start of its default range.
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

}  // namespace

ClProgressDialog::ClProgressDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setModal(false);
    // Platforms without windows on a screen (offscreen, minimal) have no
    // stacking order to change and complain at every raise.
    const QString platform = QGuiApplication::platformName();
    hasWindowStack_ = platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
    setFont(DialogUnits::DialogFont());
    setWindowTitle(QtText::FromCp932(kCaption));
    BuildControls();
    CentreOnScreen();
}

void ClProgressDialog::BuildControls() {
    const DialogUnits units(font());
    setFixedSize(units.Size(kWidth, kHeight));
    overall_ = MakeBar(this, "progress1000", units, kOverallRect);
    activity_ = MakeBar(this, "progress1001", units, kActivityRect);
    activity_->setStyleSheet(QString::fromLatin1(kSegmentedStyle));
}

void ClProgressDialog::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void ClProgressDialog::ShowExposed() {
    show();
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < kExposeTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!windowHandle()->isExposed()) QThread::msleep(5);
    }
}

void ClProgressDialog::ResetProgress() {
    overall_->setRange(0, kOverallMaximum);
    overall_->setValue(0);
    ShowSteps(true);
}

void ClProgressDialog::AdvanceProgress(std::int16_t from, std::int16_t to) {
    for (int value = from; value <= to; ++value) {
        if (value % 10 == 0) SetCaptionPercent(value / 10);
        StepBar(overall_);
        PulseActivity();
        ShowSteps(false);
    }
    if (from <= to) ShowSteps(true);
}

void ClProgressDialog::PulseActivity() {
    activity_->setRange(0, kActivityMaximum);
    activity_->setValue(0);
    for (int step = 0; step <= kActivityMaximum; ++step) {
        StepBar(activity_);
        ShowSteps(false);
    }
}

void ClProgressDialog::ShowSteps(bool force) {
    if (!force && lastPaint_.isValid() && lastPaint_.elapsed() < kPaintIntervalMs) return;
    BringToTop();
    // A bar repaints itself at every change of its value; between the
    // window's paints those repaints are held back (from ResetProgress to
    // EndProgress), and the window paints the bars with itself.
    overall_->setUpdatesEnabled(true);
    activity_->setUpdatesEnabled(true);
    repaint();
    overall_->setUpdatesEnabled(false);
    activity_->setUpdatesEnabled(false);
    lastPaint_.restart();
}

void ClProgressDialog::EndProgress() {
    overall_->setUpdatesEnabled(true);
    activity_->setUpdatesEnabled(true);
    done(1);
}

void ClProgressDialog::BringToTop() {
    if (!hasWindowStack_) return;
    raise();
    // Asking for activation again while active would only send the window
    // system a request per activity step.
    if (!isActiveWindow()) activateWindow();
}

void ClProgressDialog::reject() {}

void ClProgressDialog::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ClProgressDialog::SetCaptionPercent(int percent) {
    char caption[kCaptionSize];
    std::snprintf(caption, sizeof caption, "集計中 %d％", percent);
    setWindowTitle(QtText::FromCp932(caption));
}

void ClProgressDialog::StepBar(QProgressBar* bar) {
    if (bar->value() < bar->maximum()) bar->setValue(bar->value() + 1);
}

void ClProgressDialog::PulseActivities(std::int64_t count) {
    if (count > 0) PulseActivity();
}
