#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <cstdint>

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
// steps it. The bars follow every step exactly, but the window is painted
// at most once every kPaintIntervalMs (and at the end of each range): a
// synchronous paint per activity step, as the steps come, would cost a
// large run minutes of painting (some 900,000 paints on 10,000 accounts)
// for pictures no eye can tell apart.
class ClProgressDialog : public QDialog, public ProgressSink {
public:
    static constexpr int kOverallMaximum = 1000;
    static constexpr int kActivityMaximum = 5;
    // The least time between two paints of the window while a run steps it.
    static constexpr int kPaintIntervalMs = 15;
    static constexpr int kExposeTimeoutMs = 2000;

    explicit ClProgressDialog(QWidget* parent = nullptr);

    // Shows the window and waits until the window system has exposed it
    // (at most kExposeTimeoutMs, dispatching no user input): the run that
    // follows dispatches no events, so a window not yet exposed would never
    // show the repaints of the run.
    void ShowExposed();
    // Overall bar: range 0 to 1000, position 0.
    void ResetProgress();
    // For each value i from `from` to `to` (none when from > to): caption
    // "集計中 %d％" with i / 10 when i is a multiple of 10, one overall step
    // (the bar stays at its maximum once there), a pulse, a repaint.
    void AdvanceProgress(std::int16_t from, std::int16_t to) override;
    // Activity bar: range 0 to 5, position 0, then six steps (the sixth finds
    // it full), each raising the window and repainting it.
    void PulseActivity() override;
    // A run of pulses (the aggregation reports one per mapping entry and
    // account, millions on large books) shows as one refill: six repaints
    // each would keep the user waiting on the display, not on the work.
    void PulseActivities(std::int64_t count) override;
    // Ends the dialog with result 1, which hides it.
    void EndProgress();

    QProgressBar* OverallBar() const { return overall_; }
    QProgressBar* ActivityBar() const { return activity_; }

protected:
    // The user cannot close the window: Esc and the window manager's close
    // request are refused. EndProgress ends it.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void CentreOnScreen();
    void SetCaptionPercent(int percent);
    static void StepBar(QProgressBar* bar);
    void BringToTop();
    // Paints the window and raises it, unless it was painted less than
    // kPaintIntervalMs ago; force paints whatever the time.
    void ShowSteps(bool force);

    QProgressBar* activity_ = nullptr;  // control 1001
    QProgressBar* overall_ = nullptr;   // control 1000
    bool hasWindowStack_ = true;
    QElapsedTimer lastPaint_;
};
