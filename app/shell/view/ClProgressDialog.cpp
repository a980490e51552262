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

#include <algorithm>
#include <chrono>
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
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

void SetBar(QProgressBar* bar, int maximum, int value) {
    if (bar->maximum() != maximum) bar->setRange(0, maximum);
    if (bar->value() != value) bar->setValue(value);
}

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ClProgressDialog::ClProgressDialog(QWidget* parent, Clock clock)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      clock_(clock ? std::move(clock) : Clock(SteadyMs)) {
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
    overallState_ = {kOverallMaximum, 0};
    Paint(true);
}

void ClProgressDialog::AdvanceProgress(std::int16_t from, std::int16_t to) {
    if (from > to) return;
    // Every value steps the overall bar once (it stays at its maximum once
    // there) and pulses; the caption follows the last tenth value of the range.
    const int steps = to - from + 1;
    overallState_.value = std::max(overallState_.value, std::min(overallState_.maximum, overallState_.value + steps));
    const int lastTenth = to - ((to % 10) + 10) % 10;
    if (lastTenth >= from) captionPercent_ = lastTenth / 10;
    activityState_ = kRefilled;
    Paint(true);
}

void ClProgressDialog::PulseActivity() {
    activityState_ = kRefilled;
    Paint(false);
}

void ClProgressDialog::PulseActivities(std::int64_t count) {
    if (count > 0) PulseActivity();
}

void ClProgressDialog::ShowState() {
    SetBar(overall_, overallState_.maximum, overallState_.value);
    SetBar(activity_, activityState_.maximum, activityState_.value);
    if (!captionPercent_) return;
    char caption[kCaptionSize];
    std::snprintf(caption, sizeof caption, "集計中 %d％", *captionPercent_);
    const QString title = QtText::FromCp932(caption);
    if (windowTitle() != title) setWindowTitle(title);
}

void ClProgressDialog::Paint(bool force) {
    const std::int64_t now = clock_();
    if (!force && painted_ && now - lastPaintMs_ < kPaintIntervalMs) return;
    BringToTop();
    // A bar repaints itself at every change of its value; those repaints are
    // held back (from the first paint to EndProgress) and the window paints
    // the bars with itself.
    overall_->setUpdatesEnabled(false);
    activity_->setUpdatesEnabled(false);
    ShowState();
    overall_->setUpdatesEnabled(true);
    activity_->setUpdatesEnabled(true);
    repaint();
    lastPaintMs_ = now;
    painted_ = true;
}

void ClProgressDialog::EndProgress() {
    ShowState();
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
