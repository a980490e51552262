#include "tools/mzn-screenshots/ScreenshotRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <system_error>

#include "app/ClLinkApp.h"
#include "app/GuiFrontEnd.h"
#include "app/shell/view/ClProgressDialog.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/TextCodec.h"
#include "tools/mzn-screenshots/SelectedDataSet.h"
#include "wizard/view/AccountMappingDialog.h"
#include "wizard/view/ClConditionEntrySheet.h"
#include "wizard/ScriptedFileDialogs.h"

namespace {

// How often, and how many times, the run is looked at for its sheet: a sheet
// that is not on screen within ten seconds is not coming.
constexpr int kWatchIntervalMs = 10;
constexpr int kWatchTries = 1000;

// Where the progress window is grabbed: 420 of the run's 1000 steps.
constexpr std::int16_t kProgressShown = 420;

bool IsOnScreen(const QWidget& widget) {
    return widget.isVisible() && widget.windowHandle() != nullptr && widget.windowHandle()->isExposed();
}

// A box's text on one line of standard error.
std::string OneLine(const std::string& cp932) {
    std::string text = TextCodec::Cp932ToUtf8(cp932, TextCodec::Invalid::Replace).text;
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    return line;
}

}  // namespace

ScreenshotRun::ScreenshotRun(const std::filesystem::path& folder) {
    std::error_code ignored;
    folder_ = std::filesystem::absolute(folder, ignored);
}

bool ScreenshotRun::ShootConditionSheet(std::int32_t dataSetNo, bool expectUg30, const std::vector<PageShot>& shots) {
    SelectedDataSet selection;
    if (!selection.Select(dataSetNo)) return Fail(selection.Error());

    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs fileDialogs;
    GuiFrontEnd frontEnd(boxes, fileDialogs);
    ClLinkApp app(frontEnd, std::string());

    // The sheet is shown modally inside InitInstance: it is shot from a
    // timer on the event loop of its exec.
    bool shot = false;
    std::string failure;
    int tries = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&]() {
        ClConditionEntrySheet* sheet = frontEnd.Sheet();
        if (sheet == nullptr) return;
        if (!IsOnScreen(*sheet) && ++tries < kWatchTries) return;
        watcher.stop();
        if (IsOnScreen(*sheet)) {
            failure = ShootOpenSheet(*sheet, expectUg30, shots);
            shot = failure.empty();
        } else {
            failure = "the condition sheet did not come on screen";
        }
        sheet->done(ConditionSheetModel::kCancelled);
    });
    watcher.start(kWatchIntervalMs);
    app.InitInstance();
    watcher.stop();
    app.ExitInstance();

    if (shot) return true;
    if (!failure.empty()) return Fail("data set " + std::to_string(dataSetNo) + ": " + failure);
    if (!app.Connected()) return Fail("cannot open the books: " + app.ConnectionError());
    std::string why = "data set " + std::to_string(dataSetNo) + ": the run ended before its condition sheet";
    if (!boxes.Boxes().empty()) why += ": " + OneLine(boxes.Boxes().front().text);
    return Fail(why);
}

std::string ScreenshotRun::ShootOpenSheet(ClConditionEntrySheet& sheet, bool expectUg30,
                                          const std::vector<PageShot>& shots) {
    if (sheet.Model().IsUg30() != expectUg30)
        return std::string("its sheet is the ") + (sheet.Model().IsUg30() ? "UG30" : "UG16") + " one, not the " +
               (expectUg30 ? "UG30" : "UG16") + " one (are these the demo books?)";
    for (const PageShot& shot : shots) {
        // As a click on the page's tab: the model follows the page.
        sheet.Tabs()->setCurrentIndex(shot.page);
        QCoreApplication::processEvents();
        const bool saved = shot.mappingItem != 0 ? ShootMappingDialog(sheet, shot.mappingItem, shot.fileName)
                                                 : Save(sheet, shot.fileName);
        if (!saved) return error_;
    }
    return std::string();
}

bool ScreenshotRun::ShootMappingDialog(ClConditionEntrySheet& sheet, int itemNo, const std::string& fileName) {
    const ReportItem* item = sheet.Model().FindItem(itemNo);
    if (item == nullptr) return Fail("the sheet has no item " + std::to_string(itemNo));
    AccountMappingDialog dialog(*item, sheet.Model().Mapping(), sheet.Model().DefaultMapping(), &sheet);
    dialog.show();
    for (int tries = 0; !IsOnScreen(dialog) && tries < kWatchTries; ++tries) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const bool saved = Save(dialog, fileName);
    dialog.reject();
    return saved;
}

bool ScreenshotRun::ShootProgressWindow(const std::string& fileName) {
    ClProgressDialog progress;
    progress.ShowExposed();
    progress.ResetProgress();
    progress.AdvanceProgress(0, kProgressShown);
    QCoreApplication::processEvents();
    const bool saved = Save(progress, fileName);
    progress.EndProgress();
    return saved;
}

bool ScreenshotRun::Save(QWidget& widget, const std::string& fileName) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) return Fail("cannot make the folder " + folder_.string() + ": " + error.message());
    const std::filesystem::path path = folder_ / fileName;
    const QPixmap image = widget.grab();
    if (image.isNull() || !image.save(QFile::decodeName(QByteArray::fromStdString(path.string())), "PNG"))
        return Fail("cannot write " + path.string());
    written_.push_back(path);
    return true;
}

bool ScreenshotRun::Fail(const std::string& why) {
    error_ = why;
    return false;
}
