#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>

#include "report/ProgressSink.h"

class QCloseEvent;
class QProgressBar;

// The window in front while a run aggregates the accounts and writes the
// report file (dialog template 133): caption "集計中", 221 x 45 dialog units
// in the dialog font, no close box, topmost, centred on the screen when it is
// made. Two bars: the overall bar (control 1000, objectName "progress1000",
// continuous) covers the whole run from 0 to 1000; the activity bar below it
// (control 1001, "progress1001", segmented) refills at every unit of work so
// that the user sees movement while the overall bar stands still.
//
// The run works on the GUI thread without an event loop, so nothing paints
// by itself: the window repaints itself and keeps itself raised as the run
// steps it. A large run makes some 150,000 calls standing for 900,000
// activity steps; the calls only count, in plain integers, and the bars and
// the caption are set from the counts when the window is painted: at most
// once every kPaintIntervalMs, at the end of each range and at the reset.
// Each paint shows exactly the state the calls so far describe.
class ClProgressDialog : public QDialog, public ProgressSink {
public:
    static constexpr int kOverallMaximum = 1000;
    static constexpr int kActivityMaximum = 5;
    // The least time between two paints of the window while a run steps it.
    static constexpr int kPaintIntervalMs = 15;
    static constexpr int kExposeTimeoutMs = 2000;

    // Milliseconds since any fixed start, never going back.
    using Clock = std::function<std::int64_t()>;

    // clock: the time the paints are spaced by; the steady clock unless given.
    explicit ClProgressDialog(QWidget* parent = nullptr, Clock clock = {});

    // Shows the window and waits until the window system has exposed it
    // (at most kExposeTimeoutMs, dispatching no user input): the run that
    // follows dispatches no events, so a window not yet exposed would never
    // show the repaints of the run.
    void ShowExposed();
    // Overall bar: range 0 to 1000, position 0.
    void ResetProgress();
    // For each value i from `from` to `to` (none when from > to): caption
    // "集計中 %d％" with i / 10 when i is a multiple of 10, one overall step
    // (the bar stays at its maximum once there), a pulse; then a paint.
    void AdvanceProgress(std::int16_t from, std::int16_t to) override;
    // Activity bar: range 0 to 5, position 0, then six steps (the sixth finds
    // it full); a paint when the last one is kPaintIntervalMs old.
    void PulseActivity() override;
    // A run of pulses (the aggregation reports one per mapping entry and
    // account, millions on large books): one refill ends as they all do.
    void PulseActivities(std::int64_t count) override;
    // Sets the bars to their final state and ends the dialog with result 1,
    // which hides it.
    void EndProgress();

    QProgressBar* OverallBar() const { return overall_; }
    QProgressBar* ActivityBar() const { return activity_; }

protected:
    // The user cannot close the window: Esc and the window manager's close
    // request are refused. EndProgress ends it.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A bar's range (from 0) and position as the calls so far describe them.
    struct BarState {
        int maximum = 100;  // a new bar of the template: 0 to 100
        int value = 0;
    };
    // The activity bar after a pulse: range 0 to 5, position 0, then six
    // steps, the sixth finding it full.
    static constexpr BarState kRefilled{kActivityMaximum, kActivityMaximum};

    void BuildControls();
    void CentreOnScreen();
    // The bars and the caption set from the counts.
    void ShowState();
    void BringToTop();
    // Paints the window with the state so far, unless it was painted less
    // than kPaintIntervalMs ago; force paints whatever the time.
    void Paint(bool force);

    QProgressBar* activity_ = nullptr;  // control 1001
    QProgressBar* overall_ = nullptr;   // control 1000
    bool hasWindowStack_ = true;
    Clock clock_;
    std::int64_t lastPaintMs_ = 0;
    bool painted_ = false;
    BarState overallState_;
    BarState activityState_;
    std::optional<int> captionPercent_;  // none yet: the caption without a percentage
};
