// The link program: MznAld20ToUg16_G, MznBrc20ToUg16_G or MznCdr20ToUg16_G,
// as the edition library it is linked with says.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/BatchFrontEnd.h"
#include "app/ClLinkApp.h"
#include "app/GuiFrontEnd.h"
#include "app/shell/LaunchOptions.h"
#include "editions/Edition.h"

namespace {

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

int Run(ClLinkApp& app) {
    app.InitInstance();
    const int resultCode = app.ExitInstance();
    if (!app.Connected()) {
        // Nothing ran and the caller is not notified; the exit status must
        // still not say that a report was written.
        std::fprintf(stderr, "%s: %s\n", Edition::Current().ProgramName(), app.ConnectionError().c_str());
        return ClLinkApp::kFailed;
    }
    return resultCode;
}

}  // namespace

int main(int argc, char** argv) {
    const char* program = Edition::Current().ProgramName();
    const LaunchOptions options = LaunchOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case LaunchOptions::Action::Help:
            std::fputs(LaunchOptions::Usage(program).c_str(), stdout);
            return 0;
        case LaunchOptions::Action::Version:
            std::printf("%s %s\n", program, MZN_VERSION);
            return 0;
        case LaunchOptions::Action::Error:
            std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program, options.error.c_str(), program);
            return LaunchOptions::kUsageExitCode;
        case LaunchOptions::Action::Run:
            break;
    }

    if (options.batch) {
        BatchFrontEnd frontEnd(options);
        ClLinkApp app(frontEnd, options.callerText);
        return Run(app);
    }
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s: no display to show the condition sheet on; run with --batch instead\n", program);
        return LaunchOptions::kUsageExitCode;
    }
    QApplication application(argc, argv);
    GuiFrontEnd frontEnd;
    ClLinkApp app(frontEnd, options.callerText);
    return Run(app);
}
