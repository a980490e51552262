// mzn-caller: plays the tax-form application that starts a link program and
// waits for its completion message. See CallerOptions::Usage().

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "platform/MessageCatalogue.h"
#include "tools/mzn-caller/CallerOptions.h"
#include "tools/mzn-caller/CallerSession.h"

int main(int argc, char** argv) {
    // What a person types (--output) is in the locale's encoding.
    std::setlocale(LC_CTYPE, "");
    const MessageCatalogue& catalogue = MessageCatalogue::Current();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CallerOptions options = CallerOptions::Parse(arguments);
    switch (options.action) {
        case CallerOptions::Action::Help:
            std::cout << catalogue.Text(CallerOptions::Usage());
            return 0;
        case CallerOptions::Action::Version:
            std::cout << "mzn-caller " << MZN_VERSION << "\n";
            return 0;
        case CallerOptions::Action::Error:
            std::cerr << catalogue.Text("mzn-caller: " + options.error + "\n" +
                                        "Try 'mzn-caller --help' for more information.\n");
            return CallerSession::kUsage;
        case CallerOptions::Action::Run:
            break;
    }
    CallerSession session(options);
    return session.Run();
}
