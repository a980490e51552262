#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The check of the definition file "KumotoriDef.ini" in the program's folder
// (the current folder by then): its program level says whether the installed
// accounting package and this link component fit together.
//
//   [ProgramLevel]
//   UG16_G=2
//
// Level 2 is this program's. The same section and key are read for every
// report version. A missing file or an empty value means a broken
// installation; a lower level, a missing section or key and text without
// digits mean an older package; a higher level means an older link
// component.
class EnvironmentCheck {
public:
    static constexpr const char* kFileName = "KumotoriDef.ini";
    static constexpr int kProgramLevel = 2;

    // The outcome codes: 0 the run may go on, otherwise the message to show.
    static constexpr int kBrokenInstallation = -1;
    static constexpr int kPackageTooOld = 1;
    static constexpr int kComponentTooOld = 2;

    // True when the definition file allows the run. Otherwise shows the
    // code's text through the connection's DispMsg, owned by the caller's
    // window (0 when the command line named none), with the caption
    // "事業概況書" and a warning icon, and returns false.
    static bool CheckEnvironment(std::uintptr_t ownerWindow);

    // The level code for the current folder's definition file. A current
    // folder that no drive holds, or that is too long to name, counts as a
    // folder without the file.
    static int LevelCode();
    // The level code for the definition file at a Windows path.
    static int LevelCodeOf(const std::string& definitionPath);
    // The Windows path of the definition file in a folder: "\" is appended
    // unless the folder already ends in a separator; a 0x5C that is the
    // second byte of a double-byte character is no separator.
    static std::string DefinitionPath(std::string_view folder);
    // The message for a code other than 0, byte for byte as the package's
    // other programs show it, token "ES_APRPACKAGENAME" included; nullptr
    // for 0 or an unknown code.
    static const char* MessageFor(int code);
};
