// mzn-screenshots: renders the condition sheet of the demo books' UG30 and
// UG16 data sets, the account mapping dialog and the progress window into
// PNG files, the pictures of the README and the user guide
// (docs/screenshots). The windows are drawn by the offscreen platform unless
// QT_QPA_PLATFORM names another, so the pictures do not depend on a
// desktop's theme or window manager.
#include <QApplication>
#include <QFontDatabase>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/mzn-screenshots/ScreenshotRun.h"
#include "tools/mzn-screenshots/SelectedDataSet.h"

namespace {

// The demo books (mzn-books demo): data set 1 is an April-March year of the
// UG30 format, data set 2 a year of the UG16 format.
constexpr std::int32_t kUg30DataSet = 1;
constexpr std::int32_t kUg16DataSet = 2;
// The item whose mapping dialog is shown: 売掛金 of the UG30 form, fed by
// three accounts of the demo chart.
constexpr int kMappedItem = 24;
// The dialogs' font; without it the Japanese texts would be drawn in
// whatever the system falls back to, or not at all.
constexpr const char* kDialogFont = "IPAPGothic";

const char* const kUsage =
    "Usage: mzn-screenshots OUTPUT_FOLDER\n"
    "Renders the link program's windows on the books of $MZN_ROOT (the demo books\n"
    "of 'mzn-books demo') into OUTPUT_FOLDER: conditions-page-ug30.png,\n"
    "main-items-page-ug30.png, monthly-sales-page-ug30.png, account-mapping-dialog.png,\n"
    "conditions-page-ug16.png and progress-window.png. The books' selected data set is put back afterwards.\n";

bool ShootAll(ScreenshotRun& run) {
    return run.ShootConditionSheet(kUg30DataSet, true,
                                   {{0, "conditions-page-ug30.png"},
                                    {1, "main-items-page-ug30.png"},
                                    {2, "monthly-sales-page-ug30.png"},
                                    {1, "account-mapping-dialog.png", kMappedItem}}) &&
           run.ShootConditionSheet(kUg16DataSet, false, {{0, "conditions-page-ug16.png"}}) &&
           run.ShootProgressWindow("progress-window.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!QFontDatabase::hasFamily(QString::fromLatin1(kDialogFont))) {
        std::fprintf(stderr, "mzn-screenshots: the font %s is not installed (Debian: fonts-ipafont-gothic)\n",
                     kDialogFont);
        return 1;
    }

    SelectedDataSet selection;
    std::int32_t selected = 0;
    if (!selection.Read(selected)) {
        std::fprintf(stderr, "mzn-screenshots: %s\n", selection.Error().c_str());
        return 1;
    }
    ScreenshotRun run(argv[1]);
    const bool shot = ShootAll(run);
    const bool restored = selection.Select(selected);

    for (const auto& path : run.Written()) std::printf("%s\n", path.c_str());
    if (!shot) std::fprintf(stderr, "mzn-screenshots: %s\n", run.Error().c_str());
    if (!restored) std::fprintf(stderr, "mzn-screenshots: %s\n", selection.Error().c_str());
    return shot && restored ? 0 : 1;
}
