// The link program: MznAld20ToUg16_G, MznBrc20ToUg16_G or MznCdr20ToUg16_G,
// as the edition library it is linked with says.
#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/BatchFrontEnd.h"
#include "app/ClLinkApp.h"
#include "app/GuiFrontEnd.h"
#include "app/shell/CompletionNotice.h"
#include "app/shell/LaunchOptions.h"
#include "editions/Edition.h"
#include "platform/MessageCatalogue.h"

namespace {

// The caller's text of the run, for a refusal before the run could link.
std::string gCallerText;

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// A line on standard error, in the catalogue's language.
void Say(const std::string& message) {
    std::fputs(MessageCatalogue::Current().Text(message + "\n").c_str(), stderr);
}

// Refused before the run: the reason on standard error, the caller told.
int Refuse(const std::string& reason) {
    Say(std::string(Edition::Current().ProgramName()) + ": " + reason);
    CompletionNotice::SendBeforeRun(gCallerText, ClLinkApp::kFailed);
    return LaunchOptions::kUsageExitCode;
}

const char* const kNoDisplay = "no display to show the condition sheet on; run with --batch instead";

// While the application connects to its display, Qt's own lines stay
// unsaid; a display that cannot be reached (no server behind DISPLAY, a
// Wayland socket that is gone, no platform plugin) ends the program the way
// no display at all does, instead of Qt's abort.
void QuietStartupHandler(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) return;
    Refuse(kNoDisplay);
    std::fflush(stderr);
    std::_Exit(LaunchOptions::kUsageExitCode);
}

int Run(ClLinkApp& app) {
    app.InitInstance();
    const int resultCode = app.ExitInstance();
    if (!app.Connected()) {
        // Nothing ran and the caller is not notified; the exit status must
        // still not say that a report was written.
        Say(std::string(Edition::Current().ProgramName()) + ": " + app.ConnectionError());
        return ClLinkApp::kFailed;
    }
    return resultCode;
}

}  // namespace

int main(int argc, char** argv) {
    // What a person types (--output) is in the locale's encoding.
    std::setlocale(LC_CTYPE, "");
    const char* program = Edition::Current().ProgramName();
    const LaunchOptions options = LaunchOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
    gCallerText = options.callerText;
    switch (options.action) {
        case LaunchOptions::Action::Help:
            std::fputs(MessageCatalogue::Current().Text(LaunchOptions::Usage(program)).c_str(), stdout);
            return 0;
        case LaunchOptions::Action::Version:
            std::printf("%s %s\n", program, MZN_VERSION);
            return 0;
        case LaunchOptions::Action::Error:
            Say(std::string(program) + ": " + options.error + "\nTry '" + program + " --help'.");
            CompletionNotice::SendBeforeRun(options.callerText, ClLinkApp::kFailed);
            return LaunchOptions::kUsageExitCode;
        case LaunchOptions::Action::Run:
            break;
    }

    if (options.batch) {
        BatchFrontEnd frontEnd(options);
        ClLinkApp app(frontEnd, options.callerText);
        return Run(app);
    }
    if (!HasDisplay()) return Refuse(kNoDisplay);
    const QtMessageHandler previous = qInstallMessageHandler(&QuietStartupHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    GuiFrontEnd frontEnd;
    ClLinkApp app(frontEnd, options.callerText);
    return Run(app);
}
