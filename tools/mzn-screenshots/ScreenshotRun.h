#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class ClConditionEntrySheet;
class QWidget;

// Renders the link program's windows into PNG files of one folder. The
// condition sheet is the one a real run shows: the run sequence itself
// (ClLinkApp with the GUI front end) connects to the books, finds the
// selected data set, fills and initialises the sheet; once the sheet is on
// screen its pages are grabbed and it is closed as cancelled, so nothing is
// aggregated, written or remembered. Message boxes and file dialogs are
// scripted: nothing modal but the sheet can open.
class ScreenshotRun {
public:
    // One page of the sheet (0 conditions, 1 main items, 2 monthly sales)
    // and the file it goes to; with an item number, the account mapping
    // dialog that the item's button on that page opens instead.
    struct PageShot {
        int page = 0;
        std::string fileName;
        int mappingItem = 0;
    };

    // folder: the host folder of the PNG files, made when missing. It is
    // taken as absolute now: the run moves to the program's folder.
    explicit ScreenshotRun(const std::filesystem::path& folder);

    // Selects data set dataSetNo for the books' current user, runs up to
    // the sheet and saves the pages asked for. The data set's format version
    // must be the one expected (UG30 or UG16), or nothing is saved.
    bool ShootConditionSheet(std::int32_t dataSetNo, bool expectUg30, const std::vector<PageShot>& shots);
    // The progress window as the run shows it at 42 per cent (caption
    // "集計中 42％", which a grab of the client area does not include).
    bool ShootProgressWindow(const std::string& fileName);

    // Host paths of the files written so far, in order.
    const std::vector<std::filesystem::path>& Written() const { return written_; }
    const std::string& Error() const { return error_; }

private:
    // Waits for the sheet of the run on the event loop of its exec, grabs
    // the pages and cancels it. Empty result on success, otherwise why not.
    std::string ShootOpenSheet(ClConditionEntrySheet& sheet, bool expectUg30, const std::vector<PageShot>& shots);
    bool Save(QWidget& widget, const std::string& fileName);
    // The mapping dialog of an item of the open sheet, as its button opens it.
    bool ShootMappingDialog(ClConditionEntrySheet& sheet, int itemNo, const std::string& fileName);
    bool Fail(const std::string& why);

    std::filesystem::path folder_;
    std::vector<std::filesystem::path> written_;
    std::string error_;
};
